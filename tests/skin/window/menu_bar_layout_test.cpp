#include "skin/window/menu_bar_layout.h"

#include <gtest/gtest.h>

namespace skin {
namespace {

TEST(MenuBarLayout, FirstItemStartsAfterTheBandsCap) {
  TDataSkinObject bar("MenuBar");
  bar.Margins = {1, 0, 1, 0};  // TileLeftMenu, TileRightMenu (the default skin's)
  EXPECT_EQ(MenuBarStartX(&bar, false, 400), 5);
  EXPECT_EQ(MenuBarStartX(&bar, true, 400), 9);
  EXPECT_EQ(MenuBarStartX(nullptr, false, 400), 6);
  EXPECT_EQ(MenuBarStartX(nullptr, true, 400), 6);
  bar.Margins = {40, 0, 1, 0};
  EXPECT_EQ(MenuBarStartX(&bar, false, 30), 12);  // does not fit the band
}

TEST(MenuBarLayout, ItemsLeftToRightAndRightToLeft) {
  const TRect band{4, 30, 404, 49};  // 400 x 19 in window coordinates
  const std::vector<TMenuBarItemInput> items = {
      {true, 24},  // 34 wide
      {false, 50},
      {true, 0},  // an empty caption: no width
      {true, 40},
  };
  const auto ltr = LayoutMenuBar(band, 5, false, items);
  ASSERT_EQ(ltr.size(), 4u);
  EXPECT_EQ(ltr[0].Cell, (TRect{5, 0, 39, 18}));
  EXPECT_EQ(ltr[0].Rect, (TRect{9, 30, 43, 48}));
  EXPECT_EQ(ltr[1].Rect, TRect{});
  EXPECT_EQ(ltr[2].Rect, (TRect{43, 30, 43, 48}));
  EXPECT_EQ(ltr[3].Cell, (TRect{39, 0, 89, 18}));
  EXPECT_EQ(ltr[3].Rect, (TRect{43, 30, 93, 48}));

  const auto rtl = LayoutMenuBar(band, 9, true, items);
  EXPECT_EQ(rtl[0].Cell, (TRect{357, 0, 391, 18}));
  EXPECT_EQ(rtl[0].Rect, (TRect{361, 30, 395, 48}));
  EXPECT_EQ(rtl[1].Rect, TRect{});
  EXPECT_EQ(rtl[3].Rect, (TRect{311, 30, 361, 48}));
  EXPECT_EQ(MenuBarItemWidth(0), 0);
  EXPECT_EQ(MenuBarItemWidth(7), 17);
}

// A picture of a drop-down: "-" a shown separator, "_" a hidden one, "A" a
// shown entry, "a" a hidden one.
std::vector<TDropDownEntry> Entries(const std::string& picture) {
  std::vector<TDropDownEntry> entries;
  for (char c : picture)
    entries.push_back({c == '-' || c == '_', c == '-' || c == 'A'});
  return entries;
}
std::string Picture(const std::vector<TDropDownEntry>& entries, const std::vector<bool>& visible) {
  std::string s;
  for (size_t i = 0; i < entries.size(); ++i) {
    s += entries[i].Separator ? (visible[i] ? '-' : '_') : (visible[i] ? 'A' : 'a');
  }
  return s;
}

TEST(MenuBarLayout, RedundantSeparatorsAreHidden) {
  const struct {
    const char* before;
    const char* after;
  } cases[] = {
      {"-A--A-", "_A_-A_"},  // first, doubled, last: only the middle one shows
      {"A-A", "A-A"},
      {"A_A", "A-A"},      // a separator between two groups shows again
      {"A-a-A", "A_a-A"},  // around a hidden entry: one of the two
      {"A-a", "A_a"},      // before a hidden last entry
      {"a-A", "a_A"},      // after a hidden first entry
      {"---", "___"},      // nothing but separators
      {"", ""},
      {"A", "A"},
      {"A--_-A--", "A___-A__"},
      {"aaA-aa-aaA", "aaA_aa-aaA"},
  };
  for (const auto& c : cases) {
    const auto entries = Entries(c.before);
    EXPECT_EQ(Picture(entries, HideRedundantSeparators(entries)), c.after) << c.before;
  }
}

}  // namespace
}  // namespace skin
