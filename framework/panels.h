// Containers that paint their own frame: panels (bevels and a centred
// caption), group boxes (an etched frame with the caption in its top edge)
// and radio groups (a group box holding one radio button per item).
//
//   auto* group = new fw::TRadioGroup(form);
//   group->Items()->SetText(L"Um\r\nDois\r\nTrês");
//   group->SetItemIndex(1);        // checks "Dois"
#pragma once

#include <string>
#include <vector>

#include "framework/controls.h"
#include "framework/string_list.h"

namespace fw {

class TRadioButton;

enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };
enum TBevelKind { bkNone, bkTile, bkSoft, bkFlat };

class TCustomPanel : public TCustomControl {
  FW_CLASS_INFO(TCustomPanel)

 public:
  explicit TCustomPanel(TComponent* owner);
  bool IsContainer() const override { return true; }

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
  void Paint() override;
  void WndProc(TMessage& message) override;

 private:
  TBevelCut bevel_outer_ = bvRaised;
  TBevelCut bevel_inner_ = bvNone;
  int32_t bevel_width_ = 1;
  TAlignment alignment_ = taCenter;
};

class TPanel : public TCustomPanel {
  FW_CLASS_INFO(TPanel)

 public:
  using TCustomPanel::TCustomPanel;
};

class TCustomGroupBox : public TCustomControl {
  FW_CLASS_INFO(TCustomGroupBox)

 public:
  explicit TCustomGroupBox(TComponent* owner);
  bool IsContainer() const override { return true; }

 protected:
  void CreateParams(TCreateParams& params) override;
  void Paint() override;
  void WndProc(TMessage& message) override;
  // Below the caption, inside the frame.
  RECT AlignRect() override;
  // Height of the caption's line in the control's font.
  int CaptionHeight();
};

class TGroupBox : public TCustomGroupBox {
  FW_CLASS_INFO(TGroupBox)

 public:
  using TCustomGroupBox::TCustomGroupBox;
};

class TCustomRadioGroup : public TCustomGroupBox {
  FW_CLASS_INFO(TCustomRadioGroup)

 public:
  explicit TCustomRadioGroup(TComponent* owner);

  TStrings* Items() { return &items_; }
  int32_t ItemIndex() const { return item_index_; }
  void SetItemIndex(int32_t index);
  int32_t Columns() const { return columns_; }
  void SetColumns(int32_t v);
  // The radio buttons, one per item (owned by the group).
  int ButtonCount() const { return static_cast<int>(buttons_.size()); }
  TRadioButton* Buttons(int index) const { return buttons_.at(static_cast<size_t>(index)); }

  void Loaded() override;

 protected:
  void BoundsChanged() override;
  void Notification(TComponent* component, TOperation operation) override;

 private:
  void UpdateButtons();
  void ArrangeButtons();
  void ButtonClicked(TObject* sender);

  TStringList items_;
  std::vector<TRadioButton*> buttons_;
  int32_t item_index_ = -1;
  int32_t columns_ = 1;
  bool updating_ = false;
};

class TRadioGroup : public TCustomRadioGroup {
  FW_CLASS_INFO(TRadioGroup)

 public:
  using TCustomRadioGroup::TCustomRadioGroup;
};

}  // namespace fw
