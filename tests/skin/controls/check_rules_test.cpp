// The check-box and radio-button rules apart from windows: the frame tables
// for each frame count, the check value of a framework State, and where the
// box goes.
#include "skin/controls/check_rules.h"

#include <gtest/gtest.h>

namespace skin {
namespace {

TEST(CheckRules, CheckBoxFrameTables) {
  const struct {
    TCheckLook look;
    int other, twelve;
  } cases[] = {
      {{.Check = 1}, 1, 1},
      {{.Check = 2}, 2, 5},
      {{.Check = 1, .Disabled = true}, 3, 4},
      {{.Check = 2, .Disabled = true}, 4, 8},
      {{.Check = 1, .Indeterminate = true}, 4, 9},
      {{.Check = 2, .Indeterminate = true}, 4, 9},
      {{.Check = 1, .Indeterminate = true, .Disabled = true}, 4, 12},
  };
  for (const auto& c : cases) {
    for (int f : {4, 5, 6, 8})
      EXPECT_EQ(CheckBoxFrame(c.look, f), c.other) << f;
    EXPECT_EQ(CheckBoxFrame(c.look, 12), c.twelve);
  }
}

TEST(CheckRules, RadioButtonFrameTables) {
  const struct {
    TCheckLook look;
    int other, eight;
  } cases[] = {
      {{.Check = 1}, 1, 1},
      {{.Check = 2}, 2, 5},
      {{.Check = 1, .Disabled = true}, 3, 4},
      {{.Check = 2, .Disabled = true}, 4, 8},
  };
  for (const auto& c : cases) {
    for (int f : {4, 5, 12})
      EXPECT_EQ(RadioButtonFrame(c.look, f), c.other) << f;
    EXPECT_EQ(RadioButtonFrame(c.look, 8), c.eight);
  }
}

TEST(CheckRules, StateNamesGiveTheCheckValue) {
  EXPECT_EQ(CheckValueOfStateName("cbunchecked"), 1);
  EXPECT_EQ(CheckValueOfStateName("cbchecked"), 2);
  EXPECT_EQ(CheckValueOfStateName("cbgrayed"), 4);
  EXPECT_EQ(CheckValueOfStateName("other"), 0);
  EXPECT_EQ(CheckValueOfStateName(nullptr), 0);
}

TEST(CheckRules, BoxPlaces) {
  // A 13-pixel image: the check box's at left + 1, the radio's at left.
  EXPECT_EQ(CheckBoxPlace(0, 0, 120, 17, 13, 13, false).BoxLeft, 1);
  EXPECT_EQ(RadioButtonPlace(0, 0, 120, 17, 13, 13, false).BoxLeft, 0);
  // Vertically centred, rounding toward zero.
  EXPECT_EQ(CheckBoxPlace(0, 0, 120, 17, 13, 13, false).BoxTop, 2);
  // Wide images: left + 2 and left.
  EXPECT_EQ(CheckBoxPlace(0, 0, 120, 17, 16, 16, false).BoxLeft, 2);
  EXPECT_EQ(RadioButtonPlace(0, 0, 120, 17, 16, 16, false).BoxLeft, 0);
  // The cell cleared behind: 16 pixels at the left.
  const TBoxPlace left = CheckBoxPlace(0, 0, 120, 17, 13, 13, false);
  EXPECT_EQ(left.CellLeft, 0);
  EXPECT_EQ(left.CellRight, 16);
  EXPECT_EQ(left.BoxRight - left.BoxLeft, 13);
  // A box right of its caption: an 18-pixel cell at the right edge, and the
  // check box's threshold of 15 against the radio's 14.
  const TBoxPlace right = CheckBoxPlace(0, 0, 120, 17, 15, 13, true);
  EXPECT_EQ(right.CellLeft, 102);
  EXPECT_EQ(right.CellRight, 120);
  EXPECT_EQ(right.BoxRight, 120);  // 15 is not wider than 15: 120 - 0
  EXPECT_EQ(RadioButtonPlace(0, 0, 120, 17, 15, 13, true).BoxRight, 119);
  EXPECT_EQ(CheckBoxPlace(0, 0, 120, 17, 13, 13, true).BoxRight, 119);  // 120 - 2 / 2
}

}  // namespace
}  // namespace skin
