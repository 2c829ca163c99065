// Tab skinners apart from windows: the side of the tabs, the page and the
// strip, tabs placed in the work bitmap so that turning it brings them back
// onto their items, and the old-style tab set's row.
#include "skin/controls/tab_rules.h"

#include <gtest/gtest.h>

#include "skin/data/skin_draw.h"

namespace skin {
namespace {

TEST(TabRules, OrientationFromTheStyle) {
  EXPECT_EQ(TabOrientation(0), kTabsTop);
  EXPECT_EQ(TabOrientation(0x2), kTabsBottom);               // TCS_BOTTOM
  EXPECT_EQ(TabOrientation(0x80), kTabsLeft);                // TCS_VERTICAL
  EXPECT_EQ(TabOrientation(0x82), kTabsRight);               // both
  EXPECT_EQ(TabOrientation(0x50010000 | 0x2), kTabsBottom);  // other bits do not count
}

TEST(TabRules, PageAndStripOnEachSide) {
  // A 200 x 150 control whose display area is (4, 26, 196, 146) for top tabs.
  const TRect window{0, 0, 200, 150};
  const struct {
    int side;
    TRect display, page, strip;
  } cases[] = {
      {kTabsTop, {4, 26, 196, 146}, {0, 23, 200, 150}, {0, 0, 200, 23}},
      {kTabsBottom, {4, 4, 196, 124}, {0, 0, 200, 127}, {0, 127, 200, 150}},
      {kTabsLeft, {26, 4, 196, 146}, {23, 0, 200, 150}, {0, 0, 23, 150}},
      {kTabsRight, {4, 4, 174, 146}, {0, 0, 177, 150}, {177, 0, 200, 150}},
  };
  for (const auto& c : cases) {
    const TRect page = TabPageRect(c.display, c.side);
    EXPECT_EQ(page, c.page) << c.side;
    EXPECT_EQ(TabStripRect(window, page, c.side), c.strip) << c.side;
  }
  EXPECT_EQ(TabWorkSize({0, 0, 200, 23}, kTabsTop).W, 200);
  EXPECT_EQ(TabWorkSize({0, 0, 23, 150}, kTabsLeft).W, 150);
  EXPECT_EQ(TabWorkSize({0, 0, 23, 150}, kTabsLeft).H, 23);
  EXPECT_EQ(TabWorkSize({0, 30, 23, 10}, kTabsTop).H, 0);  // inverted: nothing to draw
}

// Paints the item's place in the unturned work, turns the work as the
// skinner does, and checks that exactly the item's pixels (strip
// coordinates) are painted.
void ExpectTurnedOntoItem(const TRect& item, const TRect& strip, int side) {
  const TWorkSize size = TabWorkSize(strip, side);
  TBitmap work(size.W, size.H);
  work.FillRect(TabItemInWork(item, strip, side), 0xFFFFFF);
  const TBitmap shown = side == kTabsLeft    ? RotatedLeft(work)
                        : side == kTabsRight ? RotatedRight(work)
                                             : work;
  ASSERT_EQ(shown.Width(), strip.Width());
  ASSERT_EQ(shown.Height(), strip.Height());
  int wrong = 0;
  for (int y = 0; y < shown.Height(); ++y) {
    for (int x = 0; x < shown.Width(); ++x) {
      const bool inside = x + strip.Left >= item.Left && x + strip.Left < item.Right &&
                          y + strip.Top >= item.Top && y + strip.Top < item.Bottom;
      if ((shown.Pixel(x, y) == 0xFFFFFF) != inside) ++wrong;
    }
  }
  EXPECT_EQ(wrong, 0) << "side " << side;
}

TEST(TabRules, TabsLandOnTheirItemsAfterTheTurn) {
  ExpectTurnedOntoItem({2, 2, 60, 21}, {0, 0, 200, 23}, kTabsTop);
  ExpectTurnedOntoItem({62, 129, 130, 148}, {0, 127, 200, 150}, kTabsBottom);
  ExpectTurnedOntoItem({2, 5, 21, 70}, {0, 0, 23, 150}, kTabsLeft);
  ExpectTurnedOntoItem({179, 70, 198, 149}, {177, 0, 200, 150}, kTabsRight);
}

TEST(TabRules, LeftTabsAreDrawnAsTopTabsOpeningTowardsThePage) {
  // A left tab's edge next to the page (its right) is the bottom of the
  // unturned work, where a top tab meets its page.
  const TRect strip{0, 0, 23, 150};
  const TRect at = TabItemInWork({2, 5, 21, 70}, strip, kTabsLeft);
  EXPECT_EQ(at, (TRect{80, 2, 145, 21}));
  const TRect right = TabItemInWork({179, 70, 198, 149}, {177, 0, 200, 150}, kTabsRight);
  EXPECT_EQ(right, (TRect{70, 2, 149, 21}));
}

TEST(TabRules, TabSetRowStopsAtTheFirstTabThatDoesNotFit) {
  TTabSetInput in;
  in.Width = 200;
  in.StartMargin = 5;
  in.EndMargin = 10;
  in.TextWidths = {30, 40, 50, 60};
  // Tabs 39, 49, 59 wide from 5; the limit is 200 - 10 - 9 = 181.
  EXPECT_EQ(TabSetLayout(in), (std::vector<TTabSetTab>{{0, 5, 44}, {1, 44, 93}, {2, 93, 152}}));
  in.FirstIndex = 1;  // scrolled: the row starts at the second tab
  EXPECT_EQ(TabSetLayout(in), (std::vector<TTabSetTab>{{1, 5, 54}, {2, 54, 113}}));
  in.FirstIndex = 0;
  in.Width = 152 + 19;  // limit 152: the third tab ends exactly on it
  EXPECT_EQ(TabSetLayout(in).size(), 3u);
  in.ScrollerVisible = true;  // 12 pixels more to spare
  EXPECT_EQ(TabSetLayout(in).size(), 2u);
  in.TextWidths = {500, 10};  // a first tab too wide ends the row at once
  EXPECT_TRUE(TabSetLayout(in).empty());
  in.FirstIndex = 7;  // past the end
  EXPECT_TRUE(TabSetLayout(in).empty());
}

}  // namespace
}  // namespace skin
