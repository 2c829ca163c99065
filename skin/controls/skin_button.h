// Push-button skinners, drawn from the skin's "Buttons" element (five
// frames: normal, pressed, disabled, hot or focused, default):
// - TSkinButton: plain push buttons (framework TButton, raw "Button" windows
//   of dialog boxes);
// - TSkinBitButton: buttons with a glyph (TBitBtn and any control with the
//   same published properties);
// - TSkinSpeedButton: speed buttons, graphic controls without a window.
// Each paints into its own off-screen buffer and copies it in one step,
// tracks the mouse itself and raises the click itself: the button's own
// procedure never sees the left button go down, so it never captures the
// mouse, and a press released outside the button clicks nothing.
#pragma once

#include <windows.h>

#include "framework/graphics.h"
#include "skin/controls/skin_control.h"

namespace skin::win {

class TSkinButton : public TSkinControl {
  FW_CLASS_INFO(TSkinButton)

 public:
  using TSkinControl::TSkinControl;

  fw::TBitmap Buffer;  // resized to the button at each paint

 protected:
  bool BeforeMessage(fw::TMessage& m) override;
  void AfterMessage(fw::TMessage& m) override;
  void PaintTo(HDC dc, const RECT& rect) override;

  // The push-button part of AfterMessage (mouse, space bar, the click).
  bool ButtonAfterMessage(fw::TMessage& m);
  void BecomeHot();
  void Click();
};

class TSkinBitButton : public TSkinButton {
  FW_CLASS_INFO(TSkinBitButton)

 public:
  using TSkinButton::TSkinButton;

 protected:
  void PaintTo(HDC dc, const RECT& rect) override;
};

class TSkinSpeedButton : public TSkinBitButton {
  FW_CLASS_INFO(TSkinSpeedButton)

 public:
  using TSkinBitButton::TSkinBitButton;
  ~TSkinSpeedButton() override;

  // Paints at once through a DC of the parent window (nullptr: as the
  // control sits there now).
  void Paint(HDC dc) override;
  // Draws the skinned button into `dc` within `rect`.
  void DrawSpeedButton(HDC dc, const RECT& rect);

 protected:
  bool BeforeMessage(fw::TMessage& m) override;
  void AfterMessage(fw::TMessage& m) override;
};

}  // namespace skin::win
