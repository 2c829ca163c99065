// TWScrollbar: a small window of the skin engine laid exactly over a system
// scroll bar (a window's horizontal or vertical bar, or a scroll-bar
// control). It paints the skin's scroll bar and hands every click back to
// the covered window as a click on the real bar, so the system still does
// all scrolling. It is a child of the covered window's parent, so it moves
// with it.
#pragma once

#include <windows.h>

#include <cstdint>

#include "framework/controls.h"
#include "skin/controls/skin_control.h"

namespace skin::win {

class TWScrollbar : public fw::TCustomControl {
  FW_CLASS_INFO(TWScrollbar)

 public:
  // `manager`: the skinner that manages the overlay (its owner).
  explicit TWScrollbar(TSkinControl* manager);
  ~TWScrollbar() override;

  // Covers bar `kind` (0 horizontal, 1 vertical of the window, 2 a
  // scroll-bar control) of a framework control, or of a raw window.
  void AttachControl(fw::TWinControl* control, int kind);
  void AttachHandle(HWND target, int kind);
  // Follows the covered bar: shown over it while it is visible, hidden
  // otherwise.
  void Update();

  int32_t Length = 0;
  int32_t ThumbStart = 0;
  int32_t ThumbEnd = 0;
  POINT ScreenOrigin{};
  POINT DragCursor{};
  int32_t DragThumb = 0;
  uint8_t Vertical = 0;
  int32_t ArrowSize = 0;
  HWND Target = nullptr;
  fw::TWinControl* TargetControl = nullptr;
  TSkinControl* Manager = nullptr;
  uint8_t Kind = 0;
  RECT BarRect{};  // the bar in the target's client coordinates
  int32_t HitPart = 0;
  bool BarVisible = false;
  bool Pressed = false;

 protected:
  void Paint() override;
  void WndProc(fw::TMessage& m) override;
};

}  // namespace skin::win
