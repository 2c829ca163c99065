// Group boxes and custom check glyphs apart from windows.
#include "skin/controls/box_rules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/skin/data/letter_pictures.h"

namespace skin {
namespace {

TEST(BoxRules, GroupBoxLineRunsThroughTheCaption) {
  const TGroupBoxLines g = GroupBoxLines({0, 0, 185, 105}, 13);
  EXPECT_EQ(g.Erase, (TRect{0, 5, 185, 105}));  // 13 div 2 - 1
  EXPECT_EQ(g.EraseInner, (TRect{1, 6, 184, 104}));
  EXPECT_EQ(g.Line, (TRect{1, 5, 184, 104}));
  EXPECT_EQ(g.CaptionX, 9);
  EXPECT_EQ(g.CaptionY, 0);
  EXPECT_EQ(GroupBoxLines({0, 0, 50, 40}, 16).Line.Top, 7);
  EXPECT_EQ(GroupBoxLines({0, 0, 50, 40}, 1).Line.Top, -1);
}

TEST(BoxRules, CheckGlyphCellsBySourceFrame) {
  const struct {
    int frame_count;
    std::vector<int> sources;  // cells 0 to 8
  } cases[] = {
      {5, {0, 1, 4, 0, 1, 4, 2, 3, 4}},      {4, {0, 1, -1, 0, 1, -1, 2, 3, -1}},
      {12, {0, 1, -1, 0, 1, -1, 2, 3, -1}},  // the fifth frame only for exactly five
      {2, {0, 1, -1, 0, 1, -1, -1, -1, -1}}, {1, {0, -1, -1, 0, -1, -1, -1, -1, -1}},
  };
  for (const auto& c : cases) {
    std::vector<int> got;
    for (int cell = 0; cell < 9; ++cell)
      got.push_back(CheckGlyphSource(cell, c.frame_count));
    EXPECT_EQ(got, c.sources) << c.frame_count << " frames";
  }
  EXPECT_EQ(CheckGlyphSource(9, 5), -1);
  EXPECT_EQ(CheckGlyphSource(-1, 5), -1);
}

TEST(BoxRules, CheckGlyphStripCopiesCells) {
  // Five 1 x 2 frames.
  const TBitmap check = Picture({"RGBWY", "RGBWY"});
  EXPECT_EQ(Letters(CheckGlyphStrip(check, 5)),
            (std::vector<std::string>{"RGYRGYBWY", "RGYRGYBWY"}));
  // Four frames of 2 x 1: cells without a source stay magenta.
  EXPECT_EQ(Letters(CheckGlyphStrip(Picture({"RRGGBBWW"}), 4)),
            (std::vector<std::string>{"RRGGMMRRGGMMBBWWMM"}));
  EXPECT_TRUE(CheckGlyphStrip(TBitmap(), 5).Empty());
  EXPECT_TRUE(CheckGlyphStrip(check, 0).Empty());
  EXPECT_TRUE(CheckGlyphStrip(check, 6).Empty());  // frames narrower than a pixel
}

}  // namespace
}  // namespace skin
