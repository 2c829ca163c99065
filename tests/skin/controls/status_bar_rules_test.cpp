// The status-bar skinner apart from windows: frames by bevel, alignment and
// its right-to-left mirror, where the text goes, the panel rectangles, the
// empty text and the size grip.
#include "skin/controls/status_bar_rules.h"

#include <gtest/gtest.h>

namespace skin {
namespace {

TEST(StatusBarRules, BevelNamesAndFrames) {
  const struct {
    const char* name;
    int frame;
  } cases[] = {{"pbnone", 3}, {"pblowered", 1}, {"pbraised", 2}, {"", 1}, {"pbother", 1}};
  for (const auto& c : cases)
    EXPECT_EQ(StatusPanelFrame(PanelBevelOfName(c.name)), c.frame) << c.name;
}

TEST(StatusBarRules, RightToLeftPanelsSwapLeftAndRight) {
  const struct {
    const char* alignment;
    const char* bidi;
    uint32_t flag;  // DT_LEFT 0, DT_CENTER 1, DT_RIGHT 2
  } cases[] = {
      {"taleftjustify", "bdlefttoright", 0},
      {"tarightjustify", "bdlefttoright", 2},
      {"tacenter", "bdlefttoright", 1},
      {"taleftjustify", "bdrighttoleft", 2},
      {"tarightjustify", "bdrighttoleft", 0},
      {"tacenter", "bdrighttoleft", 1},
      // Only full right-to-left mirrors the alignment.
      {"taleftjustify", "bdrighttoleftnoalign", 0},
      {"tarightjustify", "bdrighttoleftreadingonly", 2},
      {"", "", 0},
  };
  for (const auto& c : cases) {
    const TTextAlign a = PanelTextAlign(TextAlignOfName(c.alignment), MirrorsAlignment(c.bidi));
    EXPECT_EQ(DrawTextAlignFlag(a), c.flag) << c.alignment << " " << c.bidi;
  }
}

TEST(StatusBarRules, TextTwoPixelsInAndOnePixelAboveTheCentre) {
  // The updater's bar: 584 x 19, simple text 13 pixels high, left-aligned.
  EXPECT_EQ(StatusTextRect({0, 0, 584, 19}, 210, 13, TTextAlign::kLeft), (TRect{2, 2, 582, 15}));
  // Right-aligned text spans the narrowed panel too (DrawText aligns it).
  EXPECT_EQ(StatusTextRect({100, 0, 200, 19}, 40, 13, TTextAlign::kRight),
            (TRect{102, 2, 198, 15}));
  // Centred: (96 - 40) div 2 = 28 in from the narrowed left edge.
  EXPECT_EQ(StatusTextRect({100, 0, 200, 19}, 40, 13, TTextAlign::kCenter),
            (TRect{130, 2, 170, 15}));
  // An odd gap: (20 - 13) div 2 - 1 = 2.
  EXPECT_EQ(StatusTextRect({0, 0, 50, 20}, 10, 13, TTextAlign::kLeft).Top, 2);
  // Taller than the panel: the division rounds toward zero.
  EXPECT_EQ(StatusTextRect({0, 0, 50, 10}, 10, 13, TTextAlign::kLeft).Top, -2);
}

TEST(StatusBarRules, TheLastPanelReachesTheRightEdge) {
  EXPECT_EQ(StatusPanelRect({0, 2, 100, 19}, false, 584), (TRect{0, 2, 100, 19}));
  EXPECT_EQ(StatusPanelRect({102, 2, 250, 19}, true, 584), (TRect{102, 2, 584, 19}));
  // Even when the part reported ends further right.
  EXPECT_EQ(StatusPanelRect({102, 2, 700, 19}, true, 584), (TRect{102, 2, 584, 19}));
}

TEST(StatusBarRules, AnEmptyTextIsASpace) {
  EXPECT_EQ(StatusPanelText(L""), L" ");
  EXPECT_EQ(StatusPanelText(L"Processando Registro 7 de 250"), L"Processando Registro 7 de 250");
}

TEST(StatusBarRules, SizeGripEndsOnePixelInFromTheCorner) {
  // Five 12 x 12 frames.
  EXPECT_EQ(SizeGripRect({0, 0, 584, 19}, 60, 12, 5), (TRect{571, 6, 583, 18}));
  EXPECT_EQ(SizeGripRect({0, 0, 300, 30}, 100, 17, 5), (TRect{279, 12, 299, 29}));
  // No fifth frame, or no image: no grip.
  EXPECT_EQ(SizeGripRect({0, 0, 584, 19}, 48, 12, 4), (TRect{}));
  EXPECT_EQ(SizeGripRect({0, 0, 584, 19}, 0, 0, 5), (TRect{}));
}

}  // namespace
}  // namespace skin
