#include "skin/window/frame_geometry.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace skin {
namespace {

constexpr uint32_t kRed = 0x0000FF, kGreen = 0x00FF00, kBlue = 0xFF0000;

std::string Str(const TRect& r) {
  return "(" + std::to_string(r.Left) + ", " + std::to_string(r.Top) + ", " +
         std::to_string(r.Right) + ", " + std::to_string(r.Bottom) + ")";
}

// A bitmap of `frames` equal frames in the given colours, side by side or
// stacked.
TBitmap Frames(int fw, int fh, bool vertical, const std::vector<uint32_t>& colours) {
  const int n = static_cast<int>(colours.size());
  TBitmap b(vertical ? fw : fw * n, vertical ? fh * n : fh);
  for (int i = 0; i < n; ++i) {
    b.FillRect(vertical ? TRect{0, fh * i, fw, fh * (i + 1)} : TRect{fw * i, 0, fw * (i + 1), fh},
               colours[static_cast<size_t>(i)]);
  }
  return b;
}

// Borders of 4 / 24 / 4 / 4 pixels (left, top, right, bottom), two frames
// each: red when active, green when not.
void SetBorders(TSkinData& d) {
  d.Borders[kBorderLeft]->Bitmap = Frames(4, 40, false, {kRed, kGreen});
  d.Borders[kBorderRight]->Bitmap = Frames(4, 40, false, {kRed, kGreen});
  d.Borders[kBorderTop]->Bitmap = Frames(30, 24, true, {kRed, kGreen});
  d.Borders[kBorderBottom]->Bitmap = Frames(30, 4, true, {kRed, kGreen});
  for (int i = kBorderLeft; i <= kBorderBottom; ++i) {
    d.Borders[static_cast<size_t>(i)]->FrameCount = 2;
    d.Borders[static_cast<size_t>(i)]->Tile = 1;
  }
}

TEST(FrameGeometry, BorderSizesAreOneFrameOfEachImage) {
  TSkinData d;
  SetBorders(d);
  EXPECT_EQ(FrameBordersOf(d), (TFrameBorders{4, 24, 4, 4}));
  // A frame count below 1 counts as one frame.
  d.Borders[kBorderTop]->FrameCount = 0;
  EXPECT_EQ(FrameBordersOf(d).Top, 48);
}

TEST(FrameGeometry, ClientRectangleOfAProposedWindowPosition) {
  const TFrameBorders b{4, 24, 4, 4};
  // A window at (100, 100) sized 400 x 300 with a 19-pixel menu band.
  EXPECT_EQ(SkinnedClientRect(100, 100, 400, 300, b, 19), (TRect{104, 143, 496, 396}));
  EXPECT_EQ(SkinnedClientRect(0, 0, 400, 300, b, 0), (TRect{4, 24, 396, 296}));
  // Smaller than its frame: empty at the frame's inner edge, not inverted.
  EXPECT_EQ(SkinnedClientRect(10, 10, 6, 20, b, 19), (TRect{14, 53, 14, 53}));

  const TFrameLayout l = LayoutFrame(400, 300, b, 19);
  EXPECT_EQ(l.Left, (TRect{0, 0, 4, 300}));
  EXPECT_EQ(l.Right, (TRect{396, 0, 400, 300}));
  EXPECT_EQ(l.Bottom, (TRect{4, 296, 396, 300}));
  EXPECT_EQ(l.Caption, (TRect{4, 0, 396, 24}));
  EXPECT_EQ(l.MenuBand, (TRect{4, 24, 396, 43}));
  EXPECT_EQ(l.Client, (TRect{4, 43, 396, 296}));
}

TEST(FrameGeometry, CaptionBandHitTestByRow) {
  const struct {
    int y;
    TCaptionHit hit;
  } cases[] = {
      {0, TCaptionHit::kNative},  {2, TCaptionHit::kNative},   {3, TCaptionHit::kNative},
      {4, TCaptionHit::kCaption}, {10, TCaptionHit::kCaption}, {24, TCaptionHit::kCaption},
      {25, TCaptionHit::kMenu},   {30, TCaptionHit::kMenu},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ClassifyCaptionHit(c.y, 24), c.hit) << "y " << c.y;
}

TEST(FrameGeometry, BorderImagesTakeTheActiveOrInactiveFrame) {
  const struct {
    int index;
    bool active;
    uint32_t colour;
  } cases[] = {
      {kBorderLeft, true, kRed},   {kBorderLeft, false, kGreen},   {kBorderTop, true, kRed},
      {kBorderTop, false, kGreen}, {kBorderBottom, false, kGreen}, {kBorderRight, false, kGreen},
  };
  for (const auto& c : cases) {
    TSkinData d;
    SetBorders(d);
    const TBitmap image = BuildBorderImage(d, c.index, 50, 60, c.active);
    ASSERT_EQ(image.Width(), 50);
    ASSERT_EQ(image.Height(), 60);
    EXPECT_EQ(image.Pixel(0, 0), c.colour) << c.index << " " << c.active;
    EXPECT_EQ(image.Pixel(49, 59), c.colour) << c.index << " " << c.active;
  }
  // An image of one frame serves the inactive window too.
  TSkinData d;
  SetBorders(d);
  d.Borders[kBorderRight]->Bitmap = Frames(4, 40, false, {kBlue});
  d.Borders[kBorderRight]->FrameCount = 1;
  EXPECT_EQ(BuildBorderImage(d, kBorderRight, 4, 60, false).Pixel(3, 59), kBlue);
  EXPECT_TRUE(BuildBorderImage(d, kBorderLeft, -1, 10, true).Empty());
}

TEST(FrameGeometry, BorderCentreIsTiledUnlessStretchIsOne) {
  // One frame: a 1-pixel red cap, then blue, green; the cap is a margin.
  TSkinData d;
  SetBorders(d);
  TDataSkinBorder& top = *d.Borders[kBorderTop];
  top.Bitmap = TBitmap(3, 2);
  top.Bitmap.SetPixel(0, 0, kRed);
  top.Bitmap.SetPixel(0, 1, kRed);
  top.Bitmap.FillRect({1, 0, 2, 2}, kBlue);
  top.Bitmap.FillRect({2, 0, 3, 2}, kGreen);
  top.FrameCount = 1;
  top.Margins = {1, 0, 0, 0};
  top.Tile = 0;  // Stretch=0: tiled
  TBitmap tiled = BuildBorderImage(d, kBorderTop, 7, 2, true);
  std::string row;
  for (int x = 0; x < 7; ++x)
    row += tiled.Pixel(x, 0) == kRed ? 'R' : tiled.Pixel(x, 0) == kBlue ? 'B' : 'G';
  EXPECT_EQ(row, "RBGBGBG");
  top.Tile = 1;  // Stretch=1: stretched
  TBitmap stretched = BuildBorderImage(d, kBorderTop, 7, 2, true);
  row.clear();
  for (int x = 0; x < 7; ++x)
    row += stretched.Pixel(x, 0) == kRed ? 'R' : stretched.Pixel(x, 0) == kBlue ? 'B' : 'G';
  EXPECT_EQ(row, "RBBBGGG");
}

TEST(FrameGeometry, OnlyTransparentBordersShapeTheWindow) {
  TSkinData d;
  for (int i = kBorderLeft; i <= kBorderBottom; ++i)
    d.Borders[static_cast<size_t>(i)]->Trans = 0;
  EXPECT_FALSE(AnyBorderTransparent(d));
  d.Borders[kBorderBottom]->Trans = 1;
  EXPECT_TRUE(AnyBorderTransparent(d));
}

TEST(FrameGeometry, CaptionTextPlace) {
  // A 300-pixel band at x 4; text 81 x 15 plus 10 + 10 of text background.
  const TRect band{4, 0, 304, 24};
  TDataSkinTitle title("Title");
  title.Margins = {28, 0, 40, 0};  // TextShift, TextShiftVert, TextRightClip
  title.TextBackLeft = 10;
  title.TextBackRight = 10;
  const struct {
    const char* what;
    int alignment;
    int shift_vert;
    TCaptionWindow window;
    TRect back;
  } cases[] = {
      {"left", 0, 0, {}, {32, 4, 133, 19}},
      {"centre", 1, 0, {}, {103, 4, 204, 19}},  // 99 pixels right of the band's edge
      {"right", 2, 0, {}, {163, 4, 264, 19}},
      {"unknown alignment", 5, 0, {}, {4, 4, 105, 19}},
      {"right to left", 0, 0, {.RightToLeft = true}, {163, 4, 264, 19}},
      {"vertical shift", 0, 5, {}, {32, 6, 133, 21}},
      {"negative vertical shift", 0, -3, {}, {32, 3, 133, 18}},
      {"dialog", 0, 0, {.Dialog = true}, {16, 4, 133, 19}},
      {"centred dialog", 1, 0, {.Dialog = true}, {103, 4, 204, 19}},
      {"popup", 0, 0, {.Popup = true, .RightButtonsLeft = 100}, {32, 4, 95, 19}},
      {"popup, buttons right of the text",
       0,
       0,
       {.Popup = true, .RightButtonsLeft = 200},
       {32, 4, 133, 19}},
      {"popup without buttons", 0, 0, {.Popup = true, .RightButtonsLeft = 5}, {32, 4, 133, 19}},
  };
  for (const auto& c : cases) {
    title.TextAlignment = c.alignment;
    title.Margins.Top = c.shift_vert;
    const TCaptionTextPlace place = PlaceCaptionText(band, 81, 15, title, c.window);
    EXPECT_EQ(Str(place.Back), Str(c.back)) << c.what;
    EXPECT_EQ(Str(place.Text),
              Str({c.back.Left + 10, c.back.Top, c.back.Right - 10, c.back.Bottom}))
        << c.what;
  }
  // A long caption stops TextRightClip short of the band's right edge.
  title.TextAlignment = 0;
  title.Margins.Top = 0;
  EXPECT_EQ(PlaceCaptionText(band, 400, 15, title, {}).Back.Right, 264);
}

// Rows of letters: '.' magenta, 'o' an opaque colour, '1' magenta with green
// 1, '2' magenta with green 2, 'r' magenta with red 254.
TBitmap RegionPicture(const std::vector<std::string>& rows) {
  TBitmap b(static_cast<int>(rows[0].size()), static_cast<int>(rows.size()));
  for (int y = 0; y < b.Height(); ++y) {
    for (int x = 0; x < b.Width(); ++x) {
      const char c = rows[static_cast<size_t>(y)][static_cast<size_t>(x)];
      b.SetPixel(x, y,
                 c == '.'   ? MakeColour(255, 0, 255)
                 : c == '1' ? MakeColour(255, 1, 255)
                 : c == '2' ? MakeColour(255, 2, 255)
                 : c == 'r' ? MakeColour(254, 0, 255)
                            : MakeColour(40, 50, 60));
    }
  }
  return b;
}

TEST(FrameGeometry, RegionRunsSkipMagentaWithinTheTolerance) {
  const TBitmap corner = RegionPicture({
      "..1oooo.",
      ".2ooooo1",
      "roooooor",
      "oo....oo",
      "........",
  });
  for (const PixelFormat format : {PixelFormat::k24Bit, PixelFormat::k32Bit}) {
    TBitmap b = corner;
    b.SetFormat(format);
    std::vector<TRect> runs;
    int calls = 0;
    const int n = CollectOpaqueRuns(b, 10, 20, TRegionKey{},
                                    [&](const std::vector<TRect>& rects, const TRect& bounds) {
                                      ++calls;
                                      runs.insert(runs.end(), rects.begin(), rects.end());
                                      EXPECT_EQ(bounds, (TRect{10, 20, 18, 24}));
                                    });
    std::vector<std::string> got;
    for (const TRect& r : runs)
      got.push_back(Str(r));
    const std::vector<std::string> expected = {
        "(13, 20, 17, 21)",  // green 1 is inside the tolerance of 1
        "(11, 21, 17, 22)",  // green 2 is not
        "(10, 22, 18, 23)",  // red 254 is below the key
        "(10, 23, 12, 24)", "(16, 23, 18, 24)",
    };
    EXPECT_EQ(got, expected);
    EXPECT_EQ(n, 5);
    EXPECT_EQ(calls, 1);
  }
  // Tolerance 0 keeps green 1 opaque.
  TRegionKey exact;
  exact.TolGreen = 0;
  std::vector<TRect> first_row;
  CollectOpaqueRuns(RegionPicture({"..1oo."}), 0, 0, exact,
                    [&](const std::vector<TRect>& rects, const TRect&) { first_row = rects; });
  ASSERT_EQ(first_row.size(), 1u);
  EXPECT_EQ(first_row[0], (TRect{2, 0, 5, 1}));
  EXPECT_FALSE(IsRegionKeyPixel(MakeColour(254, 0, 255), TRegionKey{}));
  EXPECT_TRUE(IsRegionKeyPixel(MakeColour(255, 1, 255), TRegionKey{}));
  EXPECT_TRUE(IsRegionKeyPixel(MakeColour(255, 0, 255), exact));
}

TEST(FrameGeometry, RegionRunsComeInBatches) {
  // 4 x 1001 runs (every other pixel opaque) in batches of 2000.
  TBitmap b(2002, 4);
  b.Fill(kSkinTransparent);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 2002; x += 2)
      b.SetPixel(x, y, kBlue);
  std::vector<size_t> sizes;
  std::vector<TRect> bounds;
  const int n = CollectOpaqueRuns(b, 0, 0, TRegionKey{},
                                  [&](const std::vector<TRect>& rects, const TRect& box) {
                                    sizes.push_back(rects.size());
                                    bounds.push_back(box);
                                  });
  EXPECT_EQ(n, 4004);
  EXPECT_EQ(sizes, (std::vector<size_t>{2000, 2000, 4}));
  ASSERT_EQ(bounds.size(), 3u);
  EXPECT_EQ(bounds[0], (TRect{0, 0, 2001, 2}));  // row 0 and most of row 1
  EXPECT_EQ(bounds[1], (TRect{0, 1, 2001, 4}));
  EXPECT_EQ(bounds[2], (TRect{1994, 3, 2001, 4}));

  int calls = 0;
  TBitmap clear(8, 8);
  clear.Fill(kSkinTransparent);
  EXPECT_EQ(CollectOpaqueRuns(clear, 0, 0, TRegionKey{},
                              [&](const std::vector<TRect>&, const TRect&) { ++calls; }),
            0);
  EXPECT_EQ(calls, 0);
}

}  // namespace
}  // namespace skin
