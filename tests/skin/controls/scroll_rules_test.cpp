// The scroll-bar overlays apart from windows: arrow, track and thumb frames,
// the layout of a bar (a bar shorter than two arrows included), a dragged
// thumb, the hit test and the thumb of a scroll-bar control, and the
// header items' alignment.
#include "skin/controls/scroll_rules.h"

#include <gtest/gtest.h>

namespace skin {
namespace {

TEST(ScrollRules, ArrowFramesFollowThePressedPart) {
  const struct {
    bool vertical, pressed;
    int hit;
    TArrowFrames expected;
  } cases[] = {
      {false, false, kHitFirstArrow, {1, 5}}, {false, true, kHitFirstArrow, {2, 5}},
      {false, true, kHitSecondArrow, {1, 6}}, {true, false, kHitSecondArrow, {9, 13}},
      {true, true, kHitFirstArrow, {10, 13}}, {true, true, kHitSecondArrow, {9, 14}},
      {true, true, kHitThumb, {9, 13}},       {true, true, kHitTrackBefore, {9, 13}},
      {true, true, kHitEnd, {9, 13}},         {false, true, kHitTrackAfter, {1, 5}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ScrollArrowFrames(c.vertical, c.pressed, c.hit), c.expected)
        << c.vertical << c.pressed << " hit " << c.hit;
  }
  EXPECT_EQ(ScrollTrackFrame(true), 1);
  EXPECT_EQ(ScrollTrackFrame(false), 3);
  EXPECT_EQ(ScrollThumbFrame(true, kHitThumb, 3), 2);
  EXPECT_EQ(ScrollThumbFrame(false, kHitThumb, 3), 1);  // the last code alone is no press
  EXPECT_EQ(ScrollThumbFrame(true, kHitSecondArrow, 3), 1);
  EXPECT_EQ(ScrollThumbFrame(true, kHitThumb, 1), 1);  // a one-frame image
  EXPECT_EQ(ScrollThumbFrame(true, kHitThumb, 0), 1);
}

TEST(ScrollRules, LayoutOfBarsLongAndShort) {
  // A vertical bar 17 x 100 with 17-pixel arrows drawn from a 17-high image.
  TScrollBarLayout v = ScrollBarLayout(
      {.Width = 17, .Height = 100, .Vertical = true, .ArrowSize = 17, .ArrowImageHeight = 17});
  EXPECT_EQ(v.Length, 100);
  EXPECT_EQ(v.Cross, 17);
  EXPECT_EQ(v.Arrow, 17);
  EXPECT_EQ(v.FirstArrow, (TRect{0, 0, 17, 17}));
  EXPECT_EQ(v.SecondArrow, (TRect{0, 83, 17, 100}));
  EXPECT_EQ(v.Track, (TRect{0, 17, 17, 83}));

  // Shorter than two arrows: two arrows of half its length, no track.
  TScrollBarLayout s = ScrollBarLayout(
      {.Width = 17, .Height = 31, .Vertical = true, .ArrowSize = 17, .ArrowImageHeight = 17});
  EXPECT_EQ(s.Arrow, 15);
  EXPECT_EQ(s.FirstArrow, (TRect{0, 0, 17, 15}));
  EXPECT_EQ(s.SecondArrow, (TRect{0, 16, 17, 31}));
  EXPECT_LE(s.Track.Height(), 0);

  // Horizontal; an arrow image 3 pixels thinner than the arrows keeps its
  // own height, 4 pixels thinner takes the system's.
  TScrollBarLayout h = ScrollBarLayout(
      {.Width = 120, .Height = 17, .Vertical = false, .ArrowSize = 17, .ArrowImageHeight = 14});
  EXPECT_EQ(h.Cross, 14);
  EXPECT_EQ(h.FirstArrow, (TRect{0, 0, 17, 14}));
  EXPECT_EQ(h.SecondArrow, (TRect{103, 0, 120, 14}));
  EXPECT_EQ(h.Track, (TRect{17, 0, 103, 14}));
  EXPECT_EQ(
      ScrollBarLayout({.Width = 120, .Height = 17, .ArrowSize = 17, .ArrowImageHeight = 13}).Cross,
      17);
  // A thicker image is cut by the bar, not squeezed.
  EXPECT_EQ(
      ScrollBarLayout({.Width = 120, .Height = 15, .ArrowSize = 17, .ArrowImageHeight = 21}).Cross,
      21);
  // Nothing at all: no negative sizes.
  TScrollBarLayout z =
      ScrollBarLayout({.Width = 0, .Height = 0, .Vertical = true, .ArrowSize = 17});
  EXPECT_EQ(z.Arrow, 0);
  EXPECT_LE(z.Track.Height(), 0);

  EXPECT_EQ(ScrollThumbRect(true, 17, 30, 50), (TRect{0, 30, 17, 50}));
  EXPECT_EQ(ScrollThumbRect(false, 15, 30, 50), (TRect{30, 0, 50, 15}));
}

TEST(ScrollRules, ADraggedThumbFollowsTheCursorBetweenTheArrows) {
  // Bar of 100, arrows of 17, a thumb of 20 that was at 40.
  const struct {
    int travel;
    TThumbSpan expected;
  } cases[] = {{0, {40, 60}}, {10, {50, 70}}, {-10, {30, 50}}, {-100, {17, 37}}, {100, {63, 83}}};
  for (const auto& c : cases) {
    EXPECT_EQ(DraggedThumb(40, c.travel, 20, 100, 17), c.expected) << c.travel;
  }
  // No room for the thumb: it stays at the first arrow.
  EXPECT_EQ(DraggedThumb(17, 5, 20, 40, 17), (TThumbSpan{17, 37}));
}

TEST(ScrollRules, HitTestAlongAStandaloneBar) {
  // Length 100, arrows 17, thumb from 40 to 60.
  const struct {
    int p, expected;
  } cases[] = {{0, kHitFirstArrow},   {16, kHitFirstArrow}, {17, kHitTrackBefore},
               {39, kHitTrackBefore}, {40, kHitThumb},      {59, kHitThumb},
               {60, kHitTrackAfter},  {82, kHitTrackAfter}, {83, kHitSecondArrow},
               {99, kHitSecondArrow}};
  for (const auto& c : cases)
    EXPECT_EQ(ScrollHitTest(c.p, 17, 40, 60, 100), c.expected) << c.p;
}

// The thumb of a 200-pixel scroll-bar control with 17-pixel arrows and
// thumbs at least 8 long: the figures the system gives for the same
// controls (GetScrollBarInfo).
TEST(ScrollRules, ThumbOfAScrollBarControl) {
  const struct {
    TScrollRange range;
    TThumbSpan expected;
  } cases[] = {
      {{0, 100, 0, 0}, {17, 34}},       // no page: a thumb as long as an arrow
      {{0, 100, 0, 50}, {92, 109}},     // half way: 17 + 149 * 50 / 100, rounded
      {{0, 100, 10, 50}, {99, 115}},    // a page of 10 of 101: 16 long
      {{0, 100, 50, 100}, {101, 183}},  // the position past the last page is the last page
      {{0, 9, 0, 5}, {100, 117}},
      {{0, 1000, 1, 500}, {96, 104}},  // a tiny page gives the shortest thumb
      {{5, 5, 0, 5}, {17, 34}},        // nothing to scroll: against the first arrow
      {{0, 100, 0, -20}, {17, 34}},    // positions outside the range are clamped
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ControlThumb(200, 17, 17, 8, c.range), c.expected)
        << c.range.Min << ".." << c.range.Max << " page " << c.range.Page << " pos " << c.range.Pos;
  }
  EXPECT_EQ(ControlThumb(38, 17, 17, 8, {0, 100, 0, 0}), (TThumbSpan{}));  // 4 pixels between
  EXPECT_EQ(ControlThumb(45, 17, 17, 8, {0, 100, 0, 0}), (TThumbSpan{}));  // thumb does not fit
  EXPECT_EQ(ControlThumb(51, 17, 17, 8, {0, 100, 0, 100}), (TThumbSpan{17, 34}));
  EXPECT_TRUE(ScrollRangeUsable({0, 100, 0, 0}));
  EXPECT_FALSE(ScrollRangeUsable({0, 10, 11, 0}));
  EXPECT_FALSE(ScrollRangeUsable({5, 5, 0, 5}));
}

TEST(ScrollRules, ABarIsEnabledUnlessTheSystemSaysOtherwise) {
  EXPECT_TRUE(ScrollBarEnabled(0, 0, 0));
  EXPECT_FALSE(ScrollBarEnabled(0x1, 0, 0));  // the bar unavailable
  EXPECT_TRUE(ScrollBarEnabled(0, 0x1, 0));   // one arrow off
  EXPECT_TRUE(ScrollBarEnabled(0, 0, 0x1));
  EXPECT_FALSE(ScrollBarEnabled(0, 0x1, 0x1));   // both arrows off
  EXPECT_TRUE(ScrollBarEnabled(0x8, 0x8, 0x8));  // pressed is no state of availability
  EXPECT_EQ(ScrollCorner({183, 2, 200, 83}, {2, 83, 183, 100}), (TRect{183, 83, 200, 100}));
}

TEST(ScrollRules, HeaderItemsAlignAndShowImagesByTheirFormat) {
  EXPECT_EQ(HeaderTextAlignment(0x0), 0u);           // HDF_LEFT
  EXPECT_EQ(HeaderTextAlignment(0x1), 2u);           // HDF_RIGHT
  EXPECT_EQ(HeaderTextAlignment(0x2), 1u);           // HDF_CENTER
  EXPECT_EQ(HeaderTextAlignment(0x4000 | 0x2), 1u);  // HDF_STRING | HDF_CENTER
  EXPECT_TRUE(HeaderShowsImage(0x800));
  EXPECT_TRUE(HeaderShowsImage(0x8000));
  EXPECT_FALSE(HeaderShowsImage(0x4000 | 0x2000));  // string and bitmap only
}

}  // namespace
}  // namespace skin
