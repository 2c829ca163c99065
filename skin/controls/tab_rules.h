// The rules of the tab skinners apart from any window: the side the tabs
// are on, the page rectangle framed with the skin's border, the strip the
// tabs are drawn in, where a tab lands in the strip's work bitmap (drawn as
// top tabs and turned for tabs on the left or the right), and the layout of
// an old-style tab set.
//
//   int side = skin::TabOrientation(TCS_BOTTOM);                 // 1
//   skin::TRect page = skin::TabPageRect(adjusted, side);
//   skin::TRect strip = skin::TabStripRect(window, page, side);
//   skin::TRect at = skin::TabItemInWork(item, strip, side);
#pragma once

#include <cstdint>
#include <vector>

#include "skin/data/bitmap.h"

namespace skin {

// 0 tabs on top, 1 at the bottom, 2 on the left, 3 on the right.
enum : int { kTabsTop = 0, kTabsBottom = 1, kTabsLeft = 2, kTabsRight = 3 };

// From a tab control's style: TCS_BOTTOM (0x2) alone 1, TCS_VERTICAL (0x80)
// alone 2, both 3, neither 0.
int TabOrientation(uint32_t style);

// The page the "Border" image frames: the display rectangle the control
// reports (TCM_ADJUSTRECT of the window rectangle) grown by 4 on each side,
// its edge on the tabs' side then one pixel further in.
TRect TabPageRect(const TRect& display, int orientation);

// The part of the window between its edge and the page, on the tabs' side.
TRect TabStripRect(const TRect& window, const TRect& page, int orientation);

// The size of the work bitmap the strip is drawn in: the strip's own for
// tabs on top or at the bottom, turned (width and height exchanged) for tabs
// on the left or the right, which are drawn as top tabs and turned after.
struct TWorkSize {
  int W = 0;
  int H = 0;
};
TWorkSize TabWorkSize(const TRect& strip, int orientation);

// Where a tab (`item`, window coordinates) lies in the unturned work bitmap:
// moved to the strip's origin, and for left tabs (the work is turned a
// quarter left afterwards) or right tabs (turned a quarter right) placed so
// that the turn brings it back onto the item.
TRect TabItemInWork(const TRect& item, const TRect& strip, int orientation);

// An old-style tab set: the tabs from the first visible one, each its
// text's width plus 9 wide, laid side by side from the start margin; a tab
// is shown only when it ends before the end margin with 9 pixels to spare
// (21 when the scroller is shown, which sits there), and the first that does
// not fit ends the row.
struct TTabSetInput {
  int Width = 0;
  int StartMargin = 0;
  int EndMargin = 0;
  bool ScrollerVisible = false;
  int FirstIndex = 0;
  std::vector<int> TextWidths;  // one per tab, all tabs
};
struct TTabSetTab {
  int Index = 0;
  int Left = 0;
  int Right = 0;
  bool operator==(const TTabSetTab&) const = default;
};
std::vector<TTabSetTab> TabSetLayout(const TTabSetInput& in);

}  // namespace skin
