// Standard controls: panels, labels, edit boxes and combo boxes.
#pragma once

#include <string>
#include <vector>

#include "framework/controls.h"
#include "framework/string_list.h"

namespace fw {

enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };
enum TBevelKind { bkNone, bkTile, bkSoft, bkFlat };

// A container window with optional bevels and a centred caption.
class TPanel : public TWinControl {
 public:
  explicit TPanel(TComponent* owner);
  FW_CLASS_INFO(TPanel)

  TBevelCut BevelOuter() const { return bevel_outer_; }
  void SetBevelOuter(TBevelCut v);
  TBevelCut BevelInner() const { return bevel_inner_; }
  void SetBevelInner(TBevelCut v);
  int32_t BevelWidth() const { return bevel_width_; }
  void SetBevelWidth(int32_t v);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment v);

 protected:
  void CreateParams(TCreateParams& params) override;
  void PaintWindow(HDC dc) override;
  void WndProc(TMessage& message) override;

 private:
  TBevelCut bevel_outer_ = bvRaised;
  TBevelCut bevel_inner_ = bvNone;
  int32_t bevel_width_ = 1;
  TAlignment alignment_ = taCenter;
};

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
class TEdit : public TWinControl {
 public:
  explicit TEdit(TComponent* owner);
  FW_CLASS_INFO(TEdit)

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

class TComboBox;

// The items of a combo box, kept in the window when it exists.
class TComboBoxStrings : public TStrings {
 public:
  explicit TComboBoxStrings(TComboBox& combo) : combo_(combo) {}
  int Count() const override { return static_cast<int>(items_.size()); }
  std::wstring Strings(int index) const override { return items_.at(static_cast<size_t>(index)); }
  int Add(const std::wstring& s) override;
  void Delete(int index) override;
  void Clear() override;
  // Puts the items into a newly created window.
  void Fill();

 private:
  TComboBox& combo_;
  std::vector<std::wstring> items_;
};

// A drop-down box with an edit part (csDropDown) or without (csDropDownList).
class TComboBox : public TWinControl {
 public:
  explicit TComboBox(TComponent* owner);
  ~TComboBox() override;
  FW_CLASS_INFO(TComboBox)

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

}  // namespace fw
