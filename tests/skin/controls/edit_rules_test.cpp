// Edits, combo boxes and up-down controls apart from windows: when an edit
// has a border to draw, the combo box's frame for every state, the up-down
// halves (an odd size rounds the first half down), their frames and glyph
// places, and the classic arrows.
#include "skin/controls/edit_rules.h"

#include <gtest/gtest.h>

#include "skin/controls/button_rules.h"

namespace skin {
namespace {

TEST(EditRules, OnlyAnEditWithABorderGetsOne) {
  EXPECT_TRUE(EditHasBorder(98, 17, 100, 19));    // a flat edit: one-pixel border
  EXPECT_TRUE(EditHasBorder(96, 15, 100, 19));    // a sunken edit: two pixels
  EXPECT_FALSE(EditHasBorder(100, 19, 100, 19));  // no border
  EXPECT_FALSE(EditHasBorder(100, 17, 100, 19));  // as wide as its window
  EXPECT_FALSE(EditHasBorder(98, 19, 100, 19));
  // A flat edit whose line the system draws inside a client area as large
  // as the window.
  EXPECT_TRUE(EditHasBorder(100, 19, 100, 19, /*line_inside=*/true));
  // The printing form wants more than a one-pixel border.
  EXPECT_FALSE(EditPrintHasBorder(98, 17, 100, 19));
  EXPECT_TRUE(EditPrintHasBorder(96, 15, 100, 19));
  EXPECT_FALSE(EditPrintHasBorder(96, 17, 100, 19));
}

TEST(EditRules, ComboFrameForEveryState) {
  constexpr uint8_t in = kLookMouseInside;
  constexpr uint8_t down = kLookPressed;
  const struct {
    bool enabled, focused;
    uint8_t mouse;
    int expected;
  } cases[] = {
      {true, false, 0, 1},    {true, true, 0, 4},         {true, false, in, 4},
      {true, false, down, 2}, {true, true, in | down, 2}, {false, false, 0, 3},
      {false, false, in, 4},  // the mouse bit is only ever set while enabled
      {true, true, in, 4},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ComboFrame({.Enabled = c.enabled, .Focused = c.focused, .MouseState = c.mouse}),
              c.expected)
        << c.enabled << c.focused << int(c.mouse);
  }
}

TEST(EditRules, UpDownHalves) {
  // 17 high, vertical: the top half 8, the bottom 9.
  TUpDownLayout v = UpDownLayout(16, 17, false, false);
  EXPECT_FALSE(v.Horizontal);
  EXPECT_EQ(v.First, (TRect{0, 0, 16, 8}));
  EXPECT_EQ(v.Second, (TRect{0, 8, 16, 17}));
  EXPECT_EQ(v.CopyW, 16);
  EXPECT_EQ(v.CopyH, 17);
  // Wider than high without the horizontal style: still split top and bottom.
  TUpDownLayout wide = UpDownLayout(40, 17, false, false);
  EXPECT_EQ(wide.First, (TRect{0, 0, 40, 8}));
  // Horizontal, odd width.
  TUpDownLayout h = UpDownLayout(31, 16, false, true);
  EXPECT_EQ(h.First, (TRect{0, 0, 15, 16}));
  EXPECT_EQ(h.Second, (TRect{15, 0, 31, 16}));
  // Inside an edit: one pixel in, and one pixel less copied on each axis.
  TUpDownLayout e = UpDownLayout(16, 20, true, false);
  EXPECT_EQ(e.First, (TRect{1, 1, 15, 10}));
  EXPECT_EQ(e.Second, (TRect{1, 10, 15, 19}));
  EXPECT_EQ(e.CopyW, 15);
  EXPECT_EQ(e.CopyH, 19);

  EXPECT_EQ(UpDownHalfAt(v, 3, 7), 0);
  EXPECT_EQ(UpDownHalfAt(v, 3, 8), 1);
  EXPECT_EQ(UpDownHalfAt(v, 3, 17), -1);
  EXPECT_EQ(UpDownHalfAt(v, -1, 3), -1);
}

TEST(EditRules, UpDownStatesAndFrames) {
  constexpr uint8_t in = kLookMouseInside;
  constexpr uint8_t down = kLookPressed;
  const struct {
    bool under, enabled;
    uint8_t mouse;
    int expected;
  } cases[] = {
      {true, true, 0, 1},         {true, true, in, 4},         {true, true, down, 2},
      {true, true, in | down, 2}, {false, true, in | down, 1}, {true, false, down, 3},
      {false, false, 0, 3},
  };
  for (const auto& c : cases)
    EXPECT_EQ(UpDownHalfState(c.under, c.mouse, c.enabled), c.expected) << c.under << int(c.mouse);
  // Frames 1 to 4 are the first direction, 5 to 8 the second.
  EXPECT_EQ(UpDownFrame(1, 0), 1);
  EXPECT_EQ(UpDownFrame(4, 0), 4);
  EXPECT_EQ(UpDownFrame(1, 1), 5);
  EXPECT_EQ(UpDownFrame(2, 1), 6);
  EXPECT_EQ(UpDownFrame(3, 1), 7);
  // A 9 x 5 glyph centred in a 16 x 8 half: offsets round toward zero.
  EXPECT_EQ(UpDownGlyphPlace({0, 8, 16, 17}, 9, 5), (TRect{3, 10, 12, 15}));
  EXPECT_EQ(UpDownGlyphPlace({0, 0, 4, 4}, 9, 5), (TRect{-2, 0, 7, 5}));
  EXPECT_TRUE(ClassicHalfShaded(2));
  EXPECT_TRUE(ClassicHalfShaded(4));
  EXPECT_FALSE(ClassicHalfShaded(1));
  EXPECT_FALSE(ClassicHalfShaded(3));
}

TEST(EditRules, ClassicArrowsAroundTheCentre) {
  // A half of 16 x 8 at the top: centre (8, 4), two pixels higher: (8, 2).
  const std::vector<TSegment> up = ClassicArrow(udaUp, {0, 0, 16, 8});
  ASSERT_EQ(up.size(), 7u);
  EXPECT_EQ(up[0], (TSegment{8, 2, 8, 1}));
  EXPECT_EQ(up[1], (TSegment{9, 3, 12, 6}));
  EXPECT_EQ(up[6], (TSegment{8, 3, 6, 6}));
  const std::vector<TSegment> down = ClassicArrow(udaDown, {0, 8, 16, 17});
  ASSERT_EQ(down.size(), 7u);
  EXPECT_EQ(down[0], (TSegment{8, 13, 8, 14}));  // centre (8, 12) less 2: y 10
  EXPECT_EQ(down[1], (TSegment{9, 12, 12, 9}));
  // Left and right arrows are closed paths around the centre itself.
  const std::vector<TSegment> left = ClassicArrow(udaLeft, {0, 0, 15, 16});
  ASSERT_EQ(left.size(), 4u);
  EXPECT_EQ(left[0], (TSegment{7, 8, 8, 10}));
  EXPECT_EQ(left[3], (TSegment{6, 8, 8, 10}));
  const std::vector<TSegment> right = ClassicArrow(udaRight, {15, 0, 31, 16});
  EXPECT_EQ(right[2], (TSegment{22, 6, 24, 8}));
}

}  // namespace
}  // namespace skin
