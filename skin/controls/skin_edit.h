// TSkinEdit: an edit box's border drawn in the skin's colours (a shadow line
// outside a white one), painted through the window DC after the edit has
// painted itself; an up-down button found inside the edit is skinned too.
// Attached by handle, on framework edits as on the edits of dialog boxes.
#pragma once

#include <windows.h>

#include "skin/controls/skin_control.h"

namespace skin::win {

class TSkinUpDown;

class TSkinEdit : public TSkinControl {
  FW_CLASS_INFO(TSkinEdit)

 public:
  using TSkinControl::TSkinControl;
  ~TSkinEdit() override;

  // The skinner of an up-down button inside the edit, once found (owned by
  // the edit's owner).
  TSkinUpDown* UpDown = nullptr;

 protected:
  void AfterMessage(fw::TMessage& m) override;
  void PaintTo(HDC dc, const RECT& rect) override;
  void Notification(fw::TComponent* component, fw::TOperation operation) override;

 private:
  // Looks for an up-down among the edit's child windows (at every paint
  // until one is found) and skins it.
  void FindUpDown();
  // A framework edit drawn flat (Ctl3D off).
  bool FlatFrameworkEdit() const;

  bool printing_ = false;  // painting for WM_PRINT
};

}  // namespace skin::win
