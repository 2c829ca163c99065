// TWScrollbar: a small window of the skin engine laid exactly over a system
// scroll bar (a window's horizontal or vertical bar, or a scroll-bar
// control). It paints the skin's scroll bar and hands every click back to
// the covered window as a click on the real bar, so the system still does
// all scrolling. It is a child of the covered window's parent, so it moves
// with it.
//
//   auto* bar = new TWScrollbar(manager);      // owned by the managing skinner
//   bar->AttachControl(memo, 1);               // over the memo's vertical bar
//   ... the manager calls bar->Update() when the memo moves or changes
//
// The overlay is shown only while the bar is there to cover: the covered
// window visible with that bar, and the skin holding scroll-bar images (a
// skin without them leaves the system's own bar in sight). Its window is
// made the first time it is shown, on the covered window's parent window
// (SetParentWindow: the parent may be a raw window), and follows the
// covered window to another parent.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>

#include "framework/controls.h"
#include "framework/graphics.h"
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
  // Update, then a repaint when what the bar shows (its thumb, its state)
  // is no longer what the overlay painted.
  void Sync();
  // Paints the overlay again at once.
  void RepaintNow();
  // A press on the covered bar that reached it another way than through
  // the overlay (a dropped combo box's list handles its own clicks): the
  // pressed part shows while the system tracks it.
  void BeginPress();
  void EndPress();

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

 private:
  // The bar's place, thumb and states: the system's for a window's bar,
  // worked out from the control's range, page and position for a
  // scroll-bar control. False when there is none to read.
  bool ReadInfo(SCROLLBARINFO& info) const;
  void PaintBar();
  void Hide();
  void MouseDown(LPARAM lparam);
  void MouseUp(LPARAM lparam);
  bool SkinHasArrows() const;

  fw::TBitmap buffer_;
  // What the last paint showed, so Sync repaints only on a change.
  struct TShown {
    RECT Bar{};
    LONG ThumbTop = 0, ThumbBottom = 0;
    DWORD State = 0, FirstArrow = 0, SecondArrow = 0;
    bool operator==(const TShown&) const;
  };
  TShown shown_{};
  // Expires with the overlay: a press handed to the target runs the
  // system's tracking loop, inside which the overlay may be freed.
  std::shared_ptr<char> life_ = std::make_shared<char>();

  friend class TSkinScrollbar;
};

}  // namespace skin::win
