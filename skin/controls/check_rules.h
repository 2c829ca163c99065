// The rules of the check-box and radio-button skinners apart from any
// window: the frame of the skin's box image for a state (tables by the
// image's frame count), and where the box goes in the control.
//
//   int f = skin::CheckBoxFrame({.Check = 2, .Disabled = true}, 12);   // 8
//   skin::TBoxPlace p = skin::CheckBoxPlace(0, 0, 120, 17, 13, 13, false);
#pragma once

namespace skin {

struct TCheckLook {
  int Check = 1;  // 1 unchecked, 2 checked
  bool Indeterminate = false;
  bool Disabled = false;
};

// Frame of the "CheckButton" image of `frame_count` frames.
//   state               other  12 frames
//   unchecked             1      1
//   checked               2      5
//   unchecked, disabled   3      4
//   checked, disabled     4      8
//   indeterminate         4      9
//   indeterminate, dis.   4     12
int CheckBoxFrame(const TCheckLook& look, int frame_count);
// Frame of the "RadioButton" image (8 frames: 1, 5, 4, 8).
int RadioButtonFrame(const TCheckLook& look, int frame_count);

// The check value a framework check box's "State" value name gives
// (lower-cased): "uncheck..." 1, "check..." 2, "gray..." 4, else 0 (no
// answer: the window's state decides).
int CheckValueOfStateName(const char* lower_name);

// Where a box image of w x h goes in a control of rectangle (left, top,
// right, bottom), and the cell cleared behind it (16 pixels at the left, 18
// at the right for a box right of its caption). The check box's image sits
// one pixel further right than the radio button's, and its threshold for a
// right-hand box is 15 pixels instead of 14.
struct TBoxPlace {
  int BoxLeft = 0, BoxTop = 0, BoxRight = 0, BoxBottom = 0;
  int CellLeft = 0, CellTop = 0, CellRight = 0, CellBottom = 0;
};
TBoxPlace CheckBoxPlace(int left, int top, int right, int bottom, int w, int h, bool left_text);
TBoxPlace RadioButtonPlace(int left, int top, int right, int bottom, int w, int h, bool left_text);

}  // namespace skin
