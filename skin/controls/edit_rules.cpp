#include "skin/controls/edit_rules.h"

#include "skin/controls/button_rules.h"

namespace skin {

bool EditHasBorder(int client_w, int client_h, int window_w, int window_h, bool line_inside) {
  return line_inside || (client_w != window_w && client_h != window_h);
}

bool EditPrintHasBorder(int client_w, int client_h, int window_w, int window_h) {
  return client_w + 2 < window_w && client_h + 2 < window_h;
}

int ComboFrame(const TComboLook& look) {
  if ((look.MouseState & kLookPressed) != 0) return 2;
  if (look.Focused || (look.MouseState & kLookMouseInside) != 0) return 4;
  return look.Enabled ? 1 : 3;
}

TUpDownLayout UpDownLayout(int client_w, int client_h, bool embedded, bool horizontal) {
  TUpDownLayout l;
  l.Horizontal = horizontal;
  TRect c{0, 0, client_w, client_h};
  if (embedded) c = {1, 1, client_w - 1, client_h - 1};
  if (horizontal) {
    const int half = c.Width() / 2;
    l.First = {c.Left, c.Top, c.Left + half, c.Bottom};
    l.Second = {c.Left + half, c.Top, c.Right, c.Bottom};
  } else {
    const int half = c.Height() / 2;
    l.First = {c.Left, c.Top, c.Right, c.Top + half};
    l.Second = {c.Left, c.Top + half, c.Right, c.Bottom};
  }
  l.CopyW = c.Right;
  l.CopyH = c.Bottom;
  return l;
}

int UpDownHalfAt(const TUpDownLayout& l, int x, int y) {
  auto inside = [x, y](const TRect& r) {
    return x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom;
  };
  if (inside(l.First)) return 0;
  if (inside(l.Second)) return 1;
  return -1;
}

int UpDownHalfState(bool under_cursor, uint8_t mouse_state, bool enabled) {
  if (!enabled) return 3;
  if (!under_cursor) return 1;
  if ((mouse_state & kLookPressed) != 0) return 2;
  if ((mouse_state & kLookMouseInside) != 0) return 4;
  return 1;
}

int UpDownFrame(int state, int direction) {
  return state + 4 * direction;
}

TRect UpDownGlyphPlace(const TRect& half, int gw, int gh) {
  const int x = half.Left + (half.Width() - gw) / 2;
  const int y = half.Top + (half.Height() - gh) / 2;
  return {x, y, x + gw, y + gh};
}

std::vector<TSegment> ClassicArrow(TUpDownArrow arrow, const TRect& half) {
  const int x = half.Left + half.Width() / 2;
  int y = half.Top + half.Height() / 2;
  switch (arrow) {
    case udaUp:
      y -= 2;
      return {{x, y, x, y - 1},         {x + 1, y + 1, x + 4, y + 4}, {x, y + 1, x + 3, y + 4},
              {x, y + 2, x + 2, y + 4}, {x - 1, y + 1, x - 4, y + 4}, {x, y + 2, x - 3, y + 4},
              {x, y + 1, x - 2, y + 4}};
    case udaDown:
      y -= 2;
      return {{x, y + 3, x, y + 4}, {x + 1, y + 2, x + 4, y - 1}, {x, y + 2, x + 3, y - 1},
              {x, y + 1, x + 2, y}, {x - 1, y + 2, x - 4, y - 1}, {x, y + 2, x - 3, y - 1},
              {x, y + 1, x - 2, y}};
    case udaLeft:
      // A closed path: (x, y), (x+1, y+2), (x+1, y-2), (x-1, y), (x+1, y+2).
      return {{x, y, x + 1, y + 2},
              {x + 1, y + 2, x + 1, y - 2},
              {x + 1, y - 2, x - 1, y},
              {x - 1, y, x + 1, y + 2}};
    case udaRight:
      return {{x, y, x - 1, y + 2},
              {x - 1, y + 2, x - 1, y - 2},
              {x - 1, y - 2, x + 1, y},
              {x + 1, y, x - 1, y + 2}};
  }
  return {};
}

bool ClassicHalfShaded(int state) {
  return state == 2 || state == 4;
}

}  // namespace skin
