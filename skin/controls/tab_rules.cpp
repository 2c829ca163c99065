#include "skin/controls/tab_rules.h"

#include <algorithm>

namespace skin {

int TabOrientation(uint32_t style) {
  const bool bottom = (style & 0x2) != 0;
  const bool vertical = (style & 0x80) != 0;
  if (vertical) return bottom ? kTabsRight : kTabsLeft;
  return bottom ? kTabsBottom : kTabsTop;
}

TRect TabPageRect(const TRect& display, int orientation) {
  TRect page{display.Left - 4, display.Top - 4, display.Right + 4, display.Bottom + 4};
  switch (orientation) {
    case kTabsBottom:
      page.Bottom -= 1;
      break;
    case kTabsLeft:
      page.Left += 1;
      break;
    case kTabsRight:
      page.Right -= 1;
      break;
    default:
      page.Top += 1;
      break;
  }
  return page;
}

TRect TabStripRect(const TRect& window, const TRect& page, int orientation) {
  switch (orientation) {
    case kTabsBottom:
      return {window.Left, page.Bottom, window.Right, window.Bottom};
    case kTabsLeft:
      return {window.Left, window.Top, page.Left, window.Bottom};
    case kTabsRight:
      return {page.Right, window.Top, window.Right, window.Bottom};
    default:
      return {window.Left, window.Top, window.Right, page.Top};
  }
}

TWorkSize TabWorkSize(const TRect& strip, int orientation) {
  const int w = std::max(strip.Width(), 0);
  const int h = std::max(strip.Height(), 0);
  if (orientation == kTabsLeft || orientation == kTabsRight) return {h, w};
  return {w, h};
}

TRect TabItemInWork(const TRect& item, const TRect& strip, int orientation) {
  const TRect r{item.Left - strip.Left, item.Top - strip.Top, item.Right - strip.Left,
                item.Bottom - strip.Top};
  const TWorkSize work = TabWorkSize(strip, orientation);
  switch (orientation) {
    case kTabsLeft:
      // Turning left takes the work's pixel (W - 1 - y, x) to (x, y).
      return {work.W - r.Bottom, r.Left, work.W - r.Top, r.Right};
    case kTabsRight:
      // Turning right takes the work's pixel (y, H - 1 - x) to (x, y).
      return {r.Top, work.H - r.Right, r.Bottom, work.H - r.Left};
    default:
      return r;
  }
}

std::vector<TTabSetTab> TabSetLayout(const TTabSetInput& in) {
  std::vector<TTabSetTab> tabs;
  const int limit = in.Width - in.EndMargin - (in.ScrollerVisible ? 21 : 9);
  int x = in.StartMargin;
  const int count = static_cast<int>(in.TextWidths.size());
  for (int i = std::max(in.FirstIndex, 0); i < count; ++i) {
    const int w = in.TextWidths[static_cast<size_t>(i)] + 9;
    if (x + w > limit) break;
    tabs.push_back({i, x, x + w});
    x += w;
  }
  return tabs;
}

}  // namespace skin
