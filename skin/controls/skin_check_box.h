// Check-box and radio-button skinners: the box of the control is replaced by
// the "CheckButton" or "RadioButton" image of the skin's "Buttons" element
// (a strip of frames, one per state); the control draws its own caption.
// Both serve framework controls (Attach) and the raw check boxes and radio
// buttons of dialog boxes (AttachHandle). The control paints first, then the
// skinner paints the box over it.
#pragma once

#include <windows.h>

#include "skin/controls/check_rules.h"
#include "skin/controls/skin_control.h"

namespace skin::win {

class TSkinCheckBox : public TSkinControl {
  FW_CLASS_INFO(TSkinCheckBox)

 public:
  using TSkinControl::TSkinControl;

 protected:
  void AfterMessage(fw::TMessage& m) override;
  void PaintTo(HDC dc, const RECT& rect) override;
  // Where the button draws its own box: on the right with its text on the
  // left (BS_LEFTTEXT) or laid out right to left (WS_EX_RIGHT). The skin's
  // box covers it there.
  bool BoxOnTheRight() const;
  // The part of the control cleared behind the skin's box: the cell of
  // `p`, narrowed right to left to the button's own box and the skin's.
  RECT ClearedCell(HDC dc, const skin::TBoxPlace& p, const RECT& rect) const;
};

class TSkinRadioButton : public TSkinCheckBox {
  FW_CLASS_INFO(TSkinRadioButton)

 public:
  using TSkinCheckBox::TSkinCheckBox;

 protected:
  void PaintTo(HDC dc, const RECT& rect) override;
};

}  // namespace skin::win
