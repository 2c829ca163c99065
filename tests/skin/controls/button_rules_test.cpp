// The button skinners' rules apart from windows: every state of a push
// button and a glyph button against its frame, the speed button, and the
// glyph and caption layouts with their worked examples.
#include "skin/controls/button_rules.h"

#include <gtest/gtest.h>

namespace skin {
namespace {

// Every combination of the four inputs, with the frame each kind shows:
// pressed beats hot, disabled beats everything, and the two kinds differ
// only where a button is both default and focused.
TEST(ButtonRules, EveryPushButtonStateHasItsFrame) {
  for (int bits = 0; bits < 32; ++bits) {
    const TPushLook look{.Enabled = (bits & 1) != 0,
                         .Focused = (bits & 2) != 0,
                         .Default = (bits & 4) != 0,
                         .MouseState = static_cast<uint8_t>((bits >> 3) & 3)};
    int plain = 1;
    int glyph = 1;
    if (!look.Enabled) {
      plain = glyph = 3;
    } else if ((look.MouseState & kLookPressed) != 0) {
      plain = glyph = 2;
    } else if ((look.MouseState & kLookMouseInside) != 0) {
      plain = glyph = 4;
    } else {
      plain = look.Default ? 5 : look.Focused ? 4 : 1;
      glyph = look.Focused ? 4 : look.Default ? 5 : 1;
    }
    EXPECT_EQ(PushButtonFrame(look), plain) << "bits " << bits;
    EXPECT_EQ(BitButtonFrame(look), glyph) << "bits " << bits;
  }
  // The documented difference: a focused default button.
  EXPECT_EQ(PushButtonFrame({.Enabled = true, .Focused = true, .Default = true}), 5);
  EXPECT_EQ(BitButtonFrame({.Enabled = true, .Focused = true, .Default = true}), 4);
}

TEST(ButtonRules, SpeedButtonFramesAndFlatRest) {
  const struct {
    TSpeedLook look;
    int frame;
  } cases[] = {
      {{.Enabled = true}, 1},
      {{.Enabled = true, .MouseState = kLookMouseInside}, 4},
      {{.Enabled = true, .MouseState = kLookMouseInside | kLookPressed}, 2},
      {{.Enabled = true, .Down = true}, 2},
      {{.Enabled = false}, 3},
      {{.Enabled = false, .MouseState = kLookMouseInside}, 3},
      {{.Enabled = false, .Down = true}, 2},  // down wins even when disabled
  };
  for (const auto& c : cases)
    EXPECT_EQ(SpeedButtonFrame(c.look), c.frame);
  EXPECT_FALSE(SpeedButtonDrawsFrame(1, /*flat=*/true));
  EXPECT_TRUE(SpeedButtonDrawsFrame(4, /*flat=*/true));
  EXPECT_TRUE(SpeedButtonDrawsFrame(1, /*flat=*/false));
}

TEST(ButtonRules, GlyphImageAndTextColourFollowTheFrame) {
  const int images[] = {0, 1, 3, 2, 1, 1};  // by frame 1..5
  for (int frame = 1; frame <= 5; ++frame)
    EXPECT_EQ(GlyphImageOfFrame(frame), images[frame]);
  EXPECT_EQ(ButtonTextColourOf(1), TButtonTextColour::kNormal);
  EXPECT_EQ(ButtonTextColourOf(2), TButtonTextColour::kPressed);
  EXPECT_EQ(ButtonTextColourOf(3), TButtonTextColour::kDisabled);
  EXPECT_EQ(ButtonTextColourOf(4), TButtonTextColour::kMouseOver);
  EXPECT_EQ(ButtonTextColourOf(5), TButtonTextColour::kFont);
}

TEST(ButtonRules, GlyphLayoutWorkedExamples) {
  // Width 142, a 16-pixel glyph and a text 100 pixels wide, both centred
  // with spacing shared: (142 - 16 - 100) / 3 = 8 on each side and between.
  TGlyphLayoutInput in{.ClientW = 142,
                       .ClientH = 30,
                       .GlyphW = 16,
                       .GlyphH = 16,
                       .TextW = 100,
                       .TextH = 13,
                       .Margin = -1,
                       .Spacing = -1};
  TGlyphLayout l = BitButtonLayout(in);
  EXPECT_EQ(l.Margin, 8);
  EXPECT_EQ(l.Spacing, 8);
  EXPECT_EQ(l.GlyphX, 8);
  EXPECT_EQ(l.TextX, 32);
  EXPECT_EQ(l.GlyphY, 7);  // (30 - 16 + 1) / 2
  EXPECT_EQ(l.TextY, 9);   // (30 - 13 + 1) / 2
  EXPECT_EQ(l.Format, kLayoutWordBreak);

  // The updater's buttons: Margin -1, Spacing 4: the margins share the rest.
  in.Spacing = 4;
  l = BitButtonLayout(in);
  EXPECT_EQ(l.Margin, 11);  // (142 - 16 - 4 - 100) / 2
  EXPECT_EQ(l.TextX, 31);
  // A speed button centres one pixel further in.
  EXPECT_EQ(SpeedButtonLayout(in).Margin, 12);
  EXPECT_EQ(SpeedButtonLayout(in).Format, 0u);

  // taCenter centres a button whose Margin is set; a speed button ignores it.
  in.Margin = 2;
  in.AlignCenter = true;
  EXPECT_EQ(BitButtonLayout(in).Margin, 11);
  EXPECT_EQ(SpeedButtonLayout(in).Margin, 2);

  // A given margin with Spacing -1: the space left is shared in two.
  in.AlignCenter = false;
  in.Spacing = -1;
  EXPECT_EQ(BitButtonLayout(in).Spacing, 12);  // (142 - 2 - 16 - 100) / 2
}

TEST(ButtonRules, GlyphLayoutSidesAndFormats) {
  const TGlyphLayoutInput base{.ClientW = 100,
                               .ClientH = 60,
                               .GlyphW = 16,
                               .GlyphH = 16,
                               .TextW = 40,
                               .TextH = 13,
                               .Margin = 4,
                               .Spacing = 2};
  TGlyphLayoutInput in = base;
  in.Layout = glRight;
  TGlyphLayout l = BitButtonLayout(in);
  EXPECT_EQ(l.GlyphX, 80);  // 100 - 4 - 16
  EXPECT_EQ(l.TextX, 38);   // 80 - 2 - 40
  EXPECT_EQ(l.Format, kLayoutWordBreak | kLayoutRight);
  in.Layout = glTop;
  l = BitButtonLayout(in);
  EXPECT_EQ(l.GlyphY, 4);
  EXPECT_EQ(l.TextY, 22);   // 4 + 16 + 2
  EXPECT_EQ(l.GlyphX, 42);  // (100 - 16 + 1) / 2
  EXPECT_EQ(l.Format, kLayoutWordBreak | kLayoutCenter);
  in.Layout = glBottom;
  l = BitButtonLayout(in);
  EXPECT_EQ(l.GlyphY, 40);  // 60 - 4 - 16
  EXPECT_EQ(l.TextY, 25);   // 40 - 2 - 13
  // No text or no glyph: no spacing.
  in = base;
  in.TextW = 0;
  EXPECT_EQ(BitButtonLayout(in).Spacing, 0);
  in = base;
  in.GlyphW = 0;
  EXPECT_EQ(BitButtonLayout(in).TextX, 4);
}

TEST(ButtonRules, CaptionBlockSitsOnePixelAboveCentre) {
  EXPECT_EQ(CaptionBlockPlace(100, 25, 40, 13, true).X, 30);
  EXPECT_EQ(CaptionBlockPlace(100, 25, 40, 13, true).Y, 5);  // (25 - 13) / 2 - 1
  EXPECT_EQ(CaptionBlockPlace(100, 25, 40, 13, false).X, 0);
  EXPECT_EQ(CaptionBlockPlace(100, 24, 41, 13, true).X, 29);  // rounds toward zero
  EXPECT_EQ(CaptionBlockPlace(100, 10, 40, 13, true).Y, -2);  // (10 - 13) / 2 - 1: toward zero
}

}  // namespace
}  // namespace skin
