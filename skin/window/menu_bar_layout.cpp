#include "skin/window/menu_bar_layout.h"

namespace skin {

int MenuBarStartX(const TDataSkinObject* menu_bar, bool right_to_left, int band_width) {
  if (menu_bar == nullptr) return 6;
  // The menu-bar element keeps TileLeftMenu and TileRightMenu in its margins.
  const int x = right_to_left ? menu_bar->Margins.Right + 8 : menu_bar->Margins.Left + 4;
  return x > band_width ? 12 : x;
}

int MenuBarItemWidth(int text_width) {
  return text_width > 0 ? text_width + 10 : 0;
}

std::vector<TMenuBarItemPlace> LayoutMenuBar(const TRect& band, int start_x, bool right_to_left,
                                             const std::vector<TMenuBarItemInput>& items) {
  std::vector<TMenuBarItemPlace> places;
  places.reserve(items.size());
  const int cell_bottom = band.Height() - 1;
  int x = right_to_left ? band.Width() - start_x : start_x;
  for (const TMenuBarItemInput& item : items) {
    TMenuBarItemPlace place;
    if (item.Visible) {
      const int w = MenuBarItemWidth(item.TextWidth);
      const int left = right_to_left ? x - w : x;
      place.Cell = {left, 0, left + w, cell_bottom};
      place.Rect = {band.Left + left, band.Top, band.Left + left + w, band.Bottom - 1};
      x = right_to_left ? x - w : x + w;
    }
    places.push_back(place);
  }
  return places;
}

}  // namespace skin
