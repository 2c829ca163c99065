// Standard controls: labels, edit boxes and memos, combo boxes, list boxes
// and scroll bars.
#pragma once

#include <string>
#include <vector>

#include "framework/controls.h"
#include "framework/panels.h"
#include "framework/string_list.h"

namespace fw {

// A text painted by its parent.
class TLabel : public TGraphicControl {
 public:
  explicit TLabel(TComponent* owner);
  FW_CLASS_INFO(TLabel)
  void Loaded() override;

  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment v);
  bool AutoSize() const { return auto_size_; }
  void SetAutoSize(bool v);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool v);
  bool WordWrap() const { return word_wrap_; }
  void SetWordWrap(bool v);
  bool ShowAccelChar() const { return show_accel_char_; }
  void SetShowAccelChar(bool v);

 protected:
  void Paint() override;
  void SetTextValue(const std::wstring& text) override;
  void FontChanged() override;

 private:
  UINT DrawFlags() const;
  void AdjustBounds();

  TAlignment alignment_ = taLeftJustify;
  bool auto_size_ = true;
  bool transparent_ = false;
  bool word_wrap_ = false;
  bool show_accel_char_ = true;
};

// A one-line edit box.
class TCustomEdit : public TWinControl {
 public:
  explicit TCustomEdit(TComponent* owner);
  FW_CLASS_INFO(TCustomEdit)

  int32_t MaxLength() const { return max_length_; }
  void SetMaxLength(int32_t v);
  bool ReadOnly() const { return read_only_; }
  void SetReadOnly(bool v);

  TNotifyEvent OnChange;

 protected:
  void CreateParams(TCreateParams& params) override;
  void HandleCreated() override;
  void WndProc(TMessage& message) override;

 private:
  int32_t max_length_ = 0;
  bool read_only_ = false;
};

enum TComboBoxStyle { csDropDown, csSimple, csDropDownList };

class TCustomComboBox;

// The items of a combo box, kept in the window when it exists.
class TComboBoxStrings : public TStrings {
 public:
  explicit TComboBoxStrings(TCustomComboBox& combo) : combo_(combo) {}
  int Count() const override { return static_cast<int>(items_.size()); }
  std::wstring Strings(int index) const override { return items_.at(static_cast<size_t>(index)); }
  int Add(const std::wstring& s) override;
  void Delete(int index) override;
  void Clear() override;
  // Puts the items into a newly created window.
  void Fill();

 private:
  TCustomComboBox& combo_;
  std::vector<std::wstring> items_;
};

// A drop-down box with an edit part (csDropDown) or without (csDropDownList).
class TCustomComboBox : public TWinControl {
 public:
  explicit TCustomComboBox(TComponent* owner);
  ~TCustomComboBox() override;
  FW_CLASS_INFO(TCustomComboBox)

  TStrings* Items() { return &items_; }
  int32_t ItemIndex() const;
  void SetItemIndex(int32_t index);
  TComboBoxStyle Style() const { return style_; }
  void SetStyle(TComboBoxStyle v) { style_ = v; }
  int32_t ItemHeight() const { return item_height_; }
  void SetItemHeight(int32_t v) { item_height_ = v; }
  int32_t DropDownCount() const { return drop_down_count_; }
  void SetDropDownCount(int32_t v) { drop_down_count_ = v; }
  TBevelKind BevelKind() const { return bevel_kind_; }
  void SetBevelKind(TBevelKind v) { bevel_kind_ = v; }
  bool DroppedDown() const;
  // The edit part's window (csDropDown), else nullptr.
  HWND EditHandle() const { return edit_; }

  TNotifyEvent OnChange;

 protected:
  void CreateParams(TCreateParams& params) override;
  void HandleCreated() override;
  void WndProc(TMessage& message) override;
  bool WantSpecialKey(WORD key) override;

 private:
  // The edit part's messages: keys and focus are the combo box's.
  void EditWndProc(TMessage& message);

  TComboBoxStrings items_{*this};
  int32_t item_index_ = -1;
  TComboBoxStyle style_ = csDropDown;
  int32_t item_height_ = 13;
  int32_t drop_down_count_ = 8;
  TBevelKind bevel_kind_ = bkNone;
  HWND edit_ = nullptr;
  TSubclass edit_subclass_;

  friend class TComboBoxStrings;
};

class TEdit : public TCustomEdit {
  FW_CLASS_INFO(TEdit)

 public:
  using TCustomEdit::TCustomEdit;
};

class TComboBox : public TCustomComboBox {
  FW_CLASS_INFO(TComboBox)

 public:
  using TCustomComboBox::TCustomComboBox;
};

enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

// A multi-line edit box; Lines are the lines of its text.
class TCustomMemo : public TCustomEdit {
  FW_CLASS_INFO(TCustomMemo)

 public:
  explicit TCustomMemo(TComponent* owner);

  TStrings* Lines() { return &lines_; }
  TScrollStyle ScrollBars() const { return scroll_bars_; }
  void SetScrollBars(TScrollStyle v);
  bool WordWrap() const { return word_wrap_; }
  void SetWordWrap(bool v);

 protected:
  void CreateParams(TCreateParams& params) override;
  bool WantSpecialKey(WORD key) override;

 private:
  // The memo's text seen as lines (CR LF between them).
  class TMemoLines : public TStrings {
   public:
    explicit TMemoLines(TCustomMemo& memo) : memo_(memo) {}
    int Count() const override;
    std::wstring Strings(int index) const override;
    int Add(const std::wstring& s) override;
    void Delete(int index) override;
    void Clear() override;

   private:
    std::vector<std::wstring> Split() const;
    void Join(const std::vector<std::wstring>& lines);
    TCustomMemo& memo_;
  };

  TMemoLines lines_{*this};
  TScrollStyle scroll_bars_ = ssNone;
  bool word_wrap_ = true;
};

class TMemo : public TCustomMemo {
  FW_CLASS_INFO(TMemo)

 public:
  using TCustomMemo::TCustomMemo;
};

class TCustomListBox;

// The items of a list box, kept in the window when it exists.
class TListBoxStrings : public TStrings {
 public:
  explicit TListBoxStrings(TCustomListBox& list) : list_(list) {}
  int Count() const override { return static_cast<int>(items_.size()); }
  std::wstring Strings(int index) const override { return items_.at(static_cast<size_t>(index)); }
  int Add(const std::wstring& s) override;
  void Delete(int index) override;
  void Clear() override;
  void Fill();

 private:
  TCustomListBox& list_;
  std::vector<std::wstring> items_;
};

class TCustomListBox : public TWinControl {
  FW_CLASS_INFO(TCustomListBox)

 public:
  explicit TCustomListBox(TComponent* owner);

  TStrings* Items() { return &items_; }
  int32_t ItemIndex() const;
  void SetItemIndex(int32_t index);
  int32_t ItemHeight() const { return item_height_; }
  void SetItemHeight(int32_t v) { item_height_ = v; }

 protected:
  void CreateParams(TCreateParams& params) override;
  void HandleCreated() override;
  void WndProc(TMessage& message) override;

 private:
  friend class TListBoxStrings;
  TListBoxStrings items_{*this};
  int32_t item_index_ = -1;
  int32_t item_height_ = 13;
};

class TListBox : public TCustomListBox {
  FW_CLASS_INFO(TListBox)

 public:
  using TCustomListBox::TCustomListBox;
};

enum TScrollBarKind { sbHorizontal, sbVertical };

// A scroll bar control; OnChange follows Position.
class TScrollBar : public TWinControl {
  FW_CLASS_INFO(TScrollBar)

 public:
  explicit TScrollBar(TComponent* owner);

  TScrollBarKind Kind() const { return kind_; }
  void SetKind(TScrollBarKind v);
  int32_t Min() const { return min_; }
  void SetMin(int32_t v) { SetParams(position_, v, max_); }
  int32_t Max() const { return max_; }
  void SetMax(int32_t v) { SetParams(position_, min_, v); }
  int32_t Position() const { return position_; }
  void SetPosition(int32_t v) { SetParams(v, min_, max_); }
  int32_t PageSize() const { return page_size_; }
  void SetPageSize(int32_t v);
  int32_t SmallChange() const { return small_change_; }
  void SetSmallChange(int32_t v) { small_change_ = v; }
  int32_t LargeChange() const { return large_change_; }
  void SetLargeChange(int32_t v) { large_change_ = v; }
  void SetParams(int32_t position, int32_t min, int32_t max);

  TNotifyEvent OnChange;

 protected:
  void CreateParams(TCreateParams& params) override;
  void HandleCreated() override;
  void WndProc(TMessage& message) override;

 private:
  void UpdateInfo();

  TScrollBarKind kind_ = sbHorizontal;
  int32_t min_ = 0;
  int32_t max_ = 100;
  int32_t position_ = 0;
  int32_t page_size_ = 0;
  int32_t small_change_ = 1;
  int32_t large_change_ = 1;
};

}  // namespace fw
