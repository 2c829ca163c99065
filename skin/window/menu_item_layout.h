// Geometry of one owner-drawn menu entry, apart from painting: the glyph
// cell, where the caption and the shortcut go (left to right, or mirrored for
// a right-to-left menu), the widths the skin adds when entries are measured,
// and the separator image cut from the skin's menu item element.
//
//   skin::TMenuEntryLayout l = skin::LayoutMenuEntry(item, 16, 5, false, false, 40, 13);
//   // l.Glyph (6, 1)-(22, 17), l.Caption from x = 25, l.ShortCut up to item.Right - 11
#pragma once

#include "skin/data/bitmap.h"
#include "skin/data/skin_elements.h"

namespace skin {

// Frames of the skin's MenuItem image: 1 normal, 2 separator, 4 selected.
inline constexpr int kMenuItemFrames = 5;
inline constexpr int kMenuItemNormalFrame = 1;
inline constexpr int kMenuItemSeparatorFrame = 2;
inline constexpr int kMenuItemSelectedFrame = 4;
// The frame band of a skinned popup menu window, in pixels.
inline constexpr int kPopupFrameWidth = 3;
// The sub-menu arrow the skin draws on a right-to-left entry: a triangle
// pointing left, its tip one pixel in the middle row, each column to its
// right one row longer at both ends.
inline constexpr int kMenuArrowWidth = 4;
inline constexpr int kMenuArrowHeight = 2 * kMenuArrowWidth - 1;

struct TMenuEntryLayout {
  TRect Glyph;     // glyph_size square; no width for a separator
  TRect Caption;   // the measured caption, centred vertically in the entry
  TRect ShortCut;  // between the caption and the entry's far edge
  TRect Arrow;     // right to left: the sub-menu arrow's cell; empty left to right
};

// `item` is the entry's rectangle; `left_margin` the MenuItem element's left
// margin (0 without the element); caption_width and caption_height the
// caption's measured size. Left to right the glyph starts 1 pixel (plus the
// margin) inside the left edge and the caption 3 pixels after it, the
// shortcut ends 11 pixels before the right edge; right to left mirrors it.
// The sub-menu arrow of a left-to-right entry is the system's, at the right
// edge; right to left the skin draws it 4 pixels inside the left edge,
// centred vertically.
TMenuEntryLayout LayoutMenuEntry(const TRect& item, int glyph_size, int left_margin, bool separator,
                                 bool right_to_left, int caption_width, int caption_height);

// Extra width the skin gives an entry over the menu's own measure: the menu
// item element's left margin, plus 12 (popup menus) or 10 (menu-bar
// drop-downs) with an image list, 35 without one.
int PopupItemExtraWidth(int left_margin, bool has_images);
int MenuBarItemExtraWidth(int left_margin, bool has_images);

// A native entry measured by its text: the text's width plus 26 and the
// margin; its height 4 more than the menu's, or 8 for an empty text (a
// separator), and 4 more again on the Windows 95 family.
struct TTextEntrySize {
  int Width = 0;
  int Height = 0;
};
TTextEntrySize MeasureTextEntry(int text_width, bool empty_text, int left_margin, int menu_height,
                                bool win9x);

// A width x height separator from frame 2 of the menu item image: its left
// and right margins kept, the middle stretched between them, the image's
// bottom rows when it is taller than the entry. Pixels no slice covers are
// magenta (transparent). Empty when the image is empty or the size is not
// positive.
TBitmap BuildMenuSeparator(const TDataSkinObject& menu_item, int width, int height);

}  // namespace skin
