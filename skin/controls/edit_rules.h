// The rules of the edit, combo-box and up-down skinners apart from any
// window: whether an edit has a border to draw, the combo box's button
// frame, and the two halves of an up-down control with their frames, glyph
// places and classic arrows.
//
//   skin::TUpDownLayout l = skin::UpDownLayout(16, 17, /*embedded=*/false, /*horizontal=*/false);
//   // l.First is 8 pixels high, l.Second 9: an odd size rounds the first half down
//   int frame = skin::UpDownFrame(skin::UpDownHalfState(true, skin::kLookPressed, true), 1);  // 6
#pragma once

#include <cstdint>
#include <vector>

#include "skin/data/bitmap.h"

namespace skin {

// An edit box's border is drawn only when it has one: its client area is
// narrower and lower than its window, or it is a flat edit whose one-pixel
// line the system draws inside the client area (`line_inside`; some
// systems give such an edit no non-client area at all).
bool EditHasBorder(int client_w, int client_h, int window_w, int window_h,
                   bool line_inside = false);
// The printing form (WM_PRINT) wants a border wider than 1 pixel on both
// axes: client + 2 below the window's size.
bool EditPrintHasBorder(int client_w, int client_h, int window_w, int window_h);

// The combo box's "ComboButton" frame: 2 pressed; else 4 focused or the
// mouse on it; else 1 enabled; else 3.
struct TComboLook {
  bool Enabled = true;
  bool Focused = false;
  uint8_t MouseState = 0;  // kLookMouseInside, kLookPressed (button_rules.h)
};
int ComboFrame(const TComboLook& look);

// The two halves of an up-down control in its client area (at origin 0,0).
struct TUpDownLayout {
  bool Horizontal = false;
  TRect First;   // up, or left
  TRect Second;  // down, or right
  // The size copied from the work bitmap to the window: the client size,
  // one pixel less on each axis for an up-down inside an edit.
  int CopyW = 0;
  int CopyH = 0;
};
// An up-down inside an edit is drawn one pixel inside its client area. The
// halves split the width (horizontal) or the height (otherwise, whatever
// the control's proportions); an odd size gives the first half the smaller
// part.
TUpDownLayout UpDownLayout(int client_w, int client_h, bool embedded, bool horizontal);
// Which half the point (x, y) is in: 0 first, 1 second, -1 neither.
int UpDownHalfAt(const TUpDownLayout& l, int x, int y);

// The state (1 normal, 2 pressed, 3 disabled, 4 mouse over) of one half:
// the half under the cursor follows the mouse; the other is normal; a
// disabled control shows both disabled.
int UpDownHalfState(bool under_cursor, uint8_t mouse_state, bool enabled);
// The frame of "UpDown.Vert" or "UpDown.Horz" (8 frames): the state, in the
// first four frames for the first direction (up, left) and the last four
// for the second (down, right).
int UpDownFrame(int state, int direction);
// Where a glyph of gw x gh goes in a half: centred (offsets round toward
// zero).
TRect UpDownGlyphPlace(const TRect& half, int gw, int gh);

// The classic up-down, drawn with lines when the skin has no up-down
// image: the arrow's lines around the point (x, y) of a half (its centre,
// 2 pixels higher for up and down arrows), each drawn as MoveTo/LineTo.
enum TUpDownArrow { udaUp = 0, udaDown = 1, udaLeft = 2, udaRight = 3 };
struct TSegment {
  int X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
  bool operator==(const TSegment&) const = default;
};
std::vector<TSegment> ClassicArrow(TUpDownArrow arrow, const TRect& half);
// The state of a half names the classic fill: the face colour for 1 and 3,
// the shadow colour for 2 and 4.
bool ClassicHalfShaded(int state);

}  // namespace skin
