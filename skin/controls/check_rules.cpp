#include "skin/controls/check_rules.h"

#include <string_view>

namespace skin {

int CheckBoxFrame(const TCheckLook& look, int frame_count) {
  int frame = look.Check;
  if (look.Indeterminate) {
    frame = 4;
  } else if (look.Disabled) {
    frame = look.Check + 2;
  }
  if (frame_count != 12) return frame;
  if (look.Indeterminate) return look.Disabled ? 12 : 9;
  switch (frame) {
    case 2:
      return 5;
    case 3:
      return 4;
    case 4:
      return 8;
    default:
      return frame;
  }
}

int RadioButtonFrame(const TCheckLook& look, int frame_count) {
  const int frame = look.Disabled ? look.Check + 2 : look.Check;
  if (frame_count != 8) return frame;
  switch (frame) {
    case 2:
      return 5;
    case 3:
      return 4;
    case 4:
      return 8;
    default:
      return frame;
  }
}

int CheckValueOfStateName(const char* lower_name) {
  const std::string_view name = lower_name != nullptr ? lower_name : "";
  if (name.find("uncheck") != std::string_view::npos) return 1;
  if (name.find("check") != std::string_view::npos) return 2;
  if (name.find("gray") != std::string_view::npos) return 4;
  return 0;
}

namespace {

TBoxPlace Place(int left, int top, int right, int bottom, int w, int h, bool left_text,
                int wide_shift, int narrow_shift, int right_threshold) {
  TBoxPlace p;
  p.BoxTop = top + ((bottom - top) - h) / 2;
  p.BoxBottom = p.BoxTop + h;
  p.CellTop = top;
  p.CellBottom = bottom;
  if (!left_text) {
    p.BoxLeft = w > 14 ? left + wide_shift : left + (14 - w) / 2 + narrow_shift;
    p.CellLeft = left;
    p.CellRight = left + 16;
  } else {
    p.BoxRight = w > right_threshold ? right - 1 : right - (right_threshold - w) / 2;
    p.BoxLeft = p.BoxRight - w;
    p.CellLeft = right - 18;
    p.CellRight = right;
  }
  if (!left_text) p.BoxRight = p.BoxLeft + w;
  return p;
}

}  // namespace

TBoxPlace CheckBoxPlace(int left, int top, int right, int bottom, int w, int h, bool left_text) {
  // Check box: left + 2 for a wide image, else centred in 14 and one more.
  return Place(left, top, right, bottom, w, h, left_text, 2, 1, 15);
}

TBoxPlace RadioButtonPlace(int left, int top, int right, int bottom, int w, int h, bool left_text) {
  // Radio button: left for a wide image, else centred in 14.
  return Place(left, top, right, bottom, w, h, left_text, 0, 0, 14);
}

}  // namespace skin
