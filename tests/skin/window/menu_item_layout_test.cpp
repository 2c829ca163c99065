// Menu entries apart from windows: the glyph, caption and shortcut places
// left to right and right to left, the widths the skin adds, and the
// separator cut from the menu item image.
#include "skin/window/menu_item_layout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "skin/data/skin_draw.h"
#include "tests/skin/data/letter_pictures.h"

namespace skin {
namespace {

TEST(MenuItemLayout, GlyphCaptionShortcutAndArrowBothWays) {
  const TRect item{0, 20, 150, 40};  // 20 high; caption 40 x 12 centres at 24
  // Left to right the sub-menu arrow is the system's (no cell); right to
  // left it sits 4 pixels inside the left edge, its 7 rows centred.
  const struct {
    const char* name;
    bool separator, rtl;
    int margin;
    TMenuEntryLayout expected;
  } cases[] = {
      {"left to right",
       false,
       false,
       5,
       {{6, 21, 22, 37}, {25, 24, 65, 36}, {65, 24, 139, 36}, {}}},
      {"no element", false, false, 0, {{1, 21, 17, 37}, {20, 24, 60, 36}, {60, 24, 139, 36}, {}}},
      {"separator", true, false, 5, {{6, 21, 6, 37}, {9, 24, 49, 36}, {49, 24, 139, 36}, {}}},
      {"right to left",
       false,
       true,
       5,
       {{128, 21, 144, 37}, {85, 24, 125, 36}, {11, 24, 85, 36}, {4, 26, 8, 33}}},
      {"right to left separator",
       true,
       true,
       5,
       {{150, 21, 150, 37}, {107, 24, 147, 36}, {11, 24, 107, 36}, {4, 26, 8, 33}}},
  };
  for (const auto& c : cases) {
    const TMenuEntryLayout l = LayoutMenuEntry(item, 16, c.margin, c.separator, c.rtl, 40, 12);
    EXPECT_EQ(l.Glyph, c.expected.Glyph) << c.name;
    EXPECT_EQ(l.Caption, c.expected.Caption) << c.name;
    EXPECT_EQ(l.ShortCut, c.expected.ShortCut) << c.name;
    EXPECT_EQ(l.Arrow, c.expected.Arrow) << c.name;
  }
}

TEST(MenuItemLayout, WidthsTheSkinAdds) {
  // Popup entries with 16-pixel images: 12 more than the menu's own
  // measure, plus the menu item's left margin; without images 35 more.
  EXPECT_EQ(PopupItemExtraWidth(5, true), 17);
  EXPECT_EQ(PopupItemExtraWidth(0, false), 35);
  EXPECT_EQ(MenuBarItemExtraWidth(5, true), 15);
  EXPECT_EQ(MenuBarItemExtraWidth(5, false), 40);
  // Native entries measured by their text; a separator is 8 high (12 on
  // the Windows 95 family).
  const struct {
    int text_width;
    bool empty, win9x;
    TTextEntrySize expected;
  } cases[] = {
      {50, false, false, {81, 23}},
      {50, false, true, {81, 27}},
      {0, true, false, {31, 8}},
      {0, true, true, {31, 12}},
  };
  for (const auto& c : cases) {
    const TTextEntrySize s = MeasureTextEntry(c.text_width, c.empty, 5, 19, c.win9x);
    EXPECT_EQ(s.Width, c.expected.Width);
    EXPECT_EQ(s.Height, c.expected.Height);
  }
}

TEST(MenuItemLayout, SeparatorFromTheSecondFrame) {
  // Five 4-pixel frames; frame 2 (columns 4-7) holds the separator: a red
  // left margin, green middle, blue right margin, one row per shade.
  TDataSkinObject item("MenuItem");
  item.Bitmap = Picture({
      "WWWWRGGBWWWWWWWWWWWW",
      "WWWWMGGMWWWWWWWWWWWW",
      "WWWWRWWBWWWWWWWWWWWW",
  });
  item.Margins = TRect{1, 0, 1, 0};
  // As tall as the image: the middle stretches, the margins keep their width.
  EXPECT_EQ(Letters(BuildMenuSeparator(item, 7, 3)),
            (std::vector<std::string>{"RGGGGGB", "MGGGGGM", "RWWWWWB"}));
  // Shorter than the image: its bottom rows.
  EXPECT_EQ(Letters(BuildMenuSeparator(item, 5, 2)), (std::vector<std::string>{"MGGGM", "RWWWB"}));
  // Taller: the whole image stretched down.
  EXPECT_EQ(Letters(BuildMenuSeparator(item, 4, 6)),
            (std::vector<std::string>{"RGGB", "RGGB", "MGGM", "MGGM", "RWWB", "RWWB"}));
  // Narrower than its margins: no middle; the right margin is painted last.
  item.Margins = TRect{2, 0, 2, 0};
  EXPECT_EQ(Letters(BuildMenuSeparator(item, 3, 3)),
            (std::vector<std::string>{"RGB", "MGM", "RWB"}));
  EXPECT_TRUE(BuildMenuSeparator(item, 0, 3).Empty());
  TDataSkinObject empty("MenuItem");
  EXPECT_TRUE(BuildMenuSeparator(empty, 10, 3).Empty());
}

}  // namespace
}  // namespace skin
