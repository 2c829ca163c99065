// Geometry of the skinned menu bar band, apart from painting: where the first
// item starts, how wide an item is, and the cell and window rectangle of
// every item, left to right or right to left; and which separators of a
// drop-down show.
//
//   const int start = skin::MenuBarStartX(data.MenuBar.get(), false, band.Width());   // 5
//   auto items = skin::LayoutMenuBar(band, start, false, {{true, 24}, {true, 40}});
//   // items[0].Rect: (band.Left + 5, band.Top, band.Left + 39, band.Bottom - 1)
#pragma once

#include <vector>

#include "skin/data/bitmap.h"
#include "skin/data/skin_elements.h"

namespace skin {

// The x of the first item inside a band_width-wide band: after the menu-bar
// image's left cap (its right cap for a right-to-left menu, counted from the
// right edge), 12 when that does not fit the band, 6 without a menu-bar image.
int MenuBarStartX(const TDataSkinObject* menu_bar, bool right_to_left, int band_width);

// An item is its caption's width plus 10 pixels; an empty caption gives 0.
int MenuBarItemWidth(int text_width);

struct TMenuBarItemInput {
  bool Visible = true;
  int TextWidth = 0;
};

// Cell: the item's place in the band's own bitmap (origin at the band's
// top-left); Rect: the same place in window coordinates. Both leave out the
// band's last row. A hidden item gets empty rectangles at the origin.
struct TMenuBarItemPlace {
  TRect Cell;
  TRect Rect;
};

std::vector<TMenuBarItemPlace> LayoutMenuBar(const TRect& band, int start_x, bool right_to_left,
                                             const std::vector<TMenuBarItemInput>& items);

// An entry of a drop-down, for separator hiding.
struct TDropDownEntry {
  bool Separator = false;
  bool Visible = true;
};

// The Visible flags that leave a drop-down without a separator before its
// first shown entry, after its last one, or right after another shown
// separator; a separator between two groups of shown entries shows, even
// one that was hidden. Entries that are not separators keep their flag.
std::vector<bool> HideRedundantSeparators(const std::vector<TDropDownEntry>& entries);

}  // namespace skin
