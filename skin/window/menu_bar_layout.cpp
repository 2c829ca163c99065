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

std::vector<bool> HideRedundantSeparators(const std::vector<TDropDownEntry>& entries) {
  std::vector<bool> visible;
  visible.reserve(entries.size());
  for (const TDropDownEntry& e : entries)
    visible.push_back(e.Visible);
  const size_t n = entries.size();
  auto shown_entry = [&](size_t i) { return !entries[i].Separator && visible[i]; };

  // Separators before the first shown entry go; `last` is that entry.
  size_t last = 0;
  size_t i = 0;
  for (; i < n && !shown_entry(i); ++i) {
    if (entries[i].Separator) visible[i] = false;
  }
  if (i < n) last = i;

  // Between shown entries one separator shows: the last of a run.
  bool pending = false;
  size_t separator = 0;
  for (i = last; i < n; ++i) {
    if (entries[i].Separator) {
      if (pending) visible[separator] = false;
      pending = true;
      separator = i;
    } else if (visible[i]) {
      if (pending) visible[separator] = true;
      pending = false;
      last = i;
    }
  }

  // Separators after the last shown entry go.
  for (i = n; i-- > last;) {
    if (shown_entry(i)) break;
    if (entries[i].Separator) visible[i] = false;
  }
  return visible;
}

}  // namespace skin
