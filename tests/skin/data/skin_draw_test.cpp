#include "skin/data/skin_draw.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "tests/skin/data/letter_pictures.h"

namespace skin {
namespace {

TEST(SkinDrawTest, StretchPicksTheSourcePixelsGdiPicks) {
  // Source indices StretchBlt (COLORONCOLOR) chose, recorded under Wine.
  struct Case {
    int src, dst;
    std::vector<int> picked;
  } cases[] = {
      {3, 7, {0, 0, 1, 1, 1, 2, 2}},
      {7, 3, {1, 4, 6}},
      {10, 4, {2, 4, 7, 9}},
      {4, 10, {0, 0, 0, 1, 1, 2, 2, 2, 3, 3}},
      {2, 3, {0, 0, 1}},
      {3, 2, {1, 2}},
      {6, 4, {1, 2, 4, 5}},
      {4, 6, {0, 0, 1, 2, 2, 3}},
      {16, 9, {1, 3, 4, 6, 8, 10, 11, 13, 15}},
      {4, 1, {2}},
      {2, 1, {0}},
      {1, 4, {0, 0, 0, 0}},
      {5, 5, {0, 1, 2, 3, 4}},
      {47, 10, {4, 8, 13, 18, 23, 27, 32, 37, 41, 46}},
  };
  for (const auto& c : cases) {
    std::vector<int> got;
    for (int i = 0; i < c.dst; i++)
      got.push_back(StretchSourceIndex(i, c.src, c.dst, false));
    EXPECT_EQ(got, c.picked) << c.src << " -> " << c.dst;
  }
  // Rows shrink differently from columns.
  struct Case2 {
    int src, dst;
    std::vector<int> picked;
  } rows[] = {{7, 3, {0, 2, 5}},
              {10, 4, {0, 3, 5, 8}},
              {4, 1, {0}},
              {22, 10, {0, 2, 4, 7, 9, 11, 13, 15, 18, 20}},
              {3, 7, {0, 0, 1, 1, 1, 2, 2}}};
  for (const auto& c : rows) {
    std::vector<int> got;
    for (int i = 0; i < c.dst; i++)
      got.push_back(StretchSourceIndex(i, c.src, c.dst, true));
    EXPECT_EQ(got, c.picked) << c.src << " -> " << c.dst << " rows";
  }
}

TEST(SkinDrawTest, FramesAreLocatedSideBySideOrStacked) {
  EXPECT_EQ(SkinFrameRect(235, 22, false, 5, 3), (TRect{94, 0, 141, 22}));
  EXPECT_EQ(SkinFrameRect(15, 60, true, 4, 2), (TRect{0, 15, 15, 30}));
  EXPECT_EQ(SkinFrameRect(30, 10, false, 0, 1), (TRect{0, 0, 30, 10}));  // count < 1 is 1
}

TEST(SkinDrawTest, NineSliceGeometryCollapsesMarginsThatDoNotFit) {
  // 10 x 10 target with the 10/9/10/10 push-button margins: one stretched piece.
  auto pieces = SkinImagePieces(10, 10, 47, 22, {10, 9, 10, 10});
  ASSERT_EQ(pieces.size(), 1u);
  EXPECT_EQ(pieces[0].src, (TRect{0, 0, 47, 22}));
  EXPECT_EQ(pieces[0].dst, (TRect{0, 0, 10, 10}));
  // Exactly as wide as the margins: the margins stay, the centre is empty.
  pieces = SkinImagePieces(20, 30, 47, 22, {10, 9, 10, 10});
  ASSERT_EQ(pieces.size(), 9u);
  EXPECT_EQ(pieces[5].kind, TSkinPiece::kCentre);
  EXPECT_EQ(pieces[5].dst, (TRect{10, 9, 10, 20}));
  const TSkinPiece::Kind order[] = {
      TSkinPiece::kTopLeft,     TSkinPiece::kBottomLeft, TSkinPiece::kTopRight,
      TSkinPiece::kLeft,        TSkinPiece::kTop,        TSkinPiece::kCentre,
      TSkinPiece::kBottomRight, TSkinPiece::kRight,      TSkinPiece::kBottom};
  for (int i = 0; i < 9; i++)
    EXPECT_EQ(pieces[i].kind, order[i]);
}

// Frame 2 of a 2-frame 5 x 5 bitmap: corners R, edges G, centre B.
const TBitmap& NineSlice() {
  static const TBitmap b =
      Picture({"KKKKKRGGGR", "KKKKKGBBBG", "KKKKKGBBBG", "KKKKKGBBBG", "KKKKKRGGGR"});
  return b;
}

TEST(SkinDrawTest, BuildSkinImageKeepsCornersAndStretchesBandsAndCentre) {
  const TBitmap img = BuildSkinImage({3, 4, 10, 8}, NineSlice(), {1, 1, 1, 1}, false, false, 2, 2);
  EXPECT_EQ(Letters(img), (std::vector<std::string>{"RGGGGGR", "GBBBBBG", "GBBBBBG", "RGGGGGR"}));
  EXPECT_TRUE(BuildSkinImage({5, 5, 4, 4}, NineSlice(), {1, 1, 1, 1}, false, false, 2, 2).Empty());
}

TEST(SkinDrawTest, TiledCentreOverrunIsCoveredByTheRightBand) {
  // Frame: left band W (1 px), centre 10 px R..Y pattern, right band G (1 px).
  const TBitmap b = Picture({"WRYYYYYYYYYG"});
  const TBitmap img = BuildSkinImage({0, 0, 27, 1}, b, {1, 0, 1, 0}, false, true, 1, 1);
  // Tiles at 1, 11, 21 (the third runs 5 px under the right band).
  EXPECT_EQ(Letters(img)[0], "WRYYYYYYYYYRYYYYYYYYYRYYYYG");
}

TEST(SkinDrawTest, DrawSkinElementOpaqueTransparentAndInverted) {
  TBitmap face = Picture({"MRM", "RMR", "MRM"});
  TBitmap dc(5, 3);
  dc.Fill(kW);
  DrawSkinElement(dc, {1, 0, 4, 3}, face, false, false, true, 1, 1, {0, 0, 0, 0});
  EXPECT_EQ(Letters(dc), (std::vector<std::string>{"WWRWW", "WRWRW", "WWRWW"}));
  DrawSkinElement(dc, {1, 0, 4, 3}, face, false, false, false, 1, 1, {0, 0, 0, 0});
  EXPECT_EQ(Letters(dc)[0], "WMRMW");
  const TBitmap before = dc;
  DrawSkinElement(dc, {4, 0, 1, 3}, face, false, false, false, 1, 1, {0, 0, 0, 0});
  // An all-magenta frame changes nothing when transparent.
  DrawSkinElement(dc, {0, 0, 5, 3}, Picture({"MM", "MM"}), false, false, true, 1, 1, {});
  EXPECT_TRUE(dc.SameImage(before));
  // Painting past the surface is clipped.
  DrawSkinElement(dc, {-2, -2, 8, 8}, face, false, false, false, 1, 1, {});
}

TEST(SkinDrawTest, BorderOnlyLeavesTheCentreUntouched) {
  TBitmap dc(7, 4);
  dc.Fill(kY);
  DrawSkinBorderOnly(dc, {0, 0, 7, 4}, NineSlice(), false, 2, 2, {1, 1, 1, 1});
  EXPECT_EQ(Letters(dc), (std::vector<std::string>{"RGGGGGR", "GYYYYYG", "GYYYYYG", "RGGGGGR"}));
}

TEST(SkinDrawTest, ThreePartRepeatsTheMiddleAtItsOwnWidth) {
  const TBitmap b = Picture({"WRBG", "WRBG"});  // caps W and G, middle RB
  TBitmap dc(8, 4);
  DrawSkinThreePart(dc, {0, 0, 8, 4}, b, false, false, 1, 1, {1, 0, 1, 0});
  EXPECT_EQ(Letters(dc)[0], "WRBRBRBG");
  EXPECT_EQ(Letters(dc)[3], "WRBRBRBG");
  // Caps as wide as the frame: no middle, no endless loop.
  TBitmap dc2(6, 1);
  DrawSkinThreePart(dc2, {0, 0, 6, 1}, b, false, false, 1, 1, {2, 0, 2, 0});
  EXPECT_EQ(Letters(dc2)[0], "WRKKBG");
}

TEST(SkinDrawTest, FrameStretchedAndGlyphCentered) {
  const TBitmap b = Picture({"RGBW", "RGBW"});  // 4 frames of 1 x 2
  TBitmap dc(3, 4);
  DrawSkinFrameStretched(dc, {0, 0, 3, 4}, b, false, 4, 3);
  EXPECT_EQ(Letters(dc), (std::vector<std::string>{"BBB", "BBB", "BBB", "BBB"}));

  // A 16-pixel glyph in a 15-pixel target starts at the target's left edge.
  TBitmap glyph(16, 1);
  glyph.Fill(kR);
  glyph.SetPixel(0, 0, kG);
  TBitmap dc2(20, 1);
  DrawSkinGlyphCentered(dc2, {2, 0, 17, 1}, glyph, false, 1, 1);
  EXPECT_EQ(dc2.Pixel(2, 0), kG);
  EXPECT_EQ(dc2.Pixel(1, 0), kK);
  EXPECT_EQ(dc2.Pixel(17, 0), kR);  // overhangs on the right
  TBitmap dc3(5, 5);
  DrawSkinGlyphCentered(dc3, {0, 0, 5, 5}, Picture({"MGM"}), true, 1, 1);
  EXPECT_EQ(Letters(dc3)[2], "KKGKK");
}

TEST(SkinDrawTest, TileBitmapRectDoesNotClipAtTheTarget) {
  const TBitmap b = Picture({"RG", "BW"});
  TBitmap dc(5, 3);
  TileBitmapRect(dc, {0, 0, 3, 1}, b, {0, 0, 2, 2});
  EXPECT_EQ(Letters(dc), (std::vector<std::string>{"RGRGK", "BWBWK", "KKKKK"}));
  TBitmap untouched(2, 2);
  TileBitmapRect(untouched, {0, 0, 2, 2}, b, {0, 0, 0, 2});
  TileBitmapRect(untouched, {0, 0, 2, 2}, b, {1, 0, 0, 2});
  EXPECT_EQ(Letters(untouched)[0], "KK");
}

TEST(SkinDrawTest, TilingCostsOnlyWhatReachesTheCanvas) {
  const TBitmap b = Picture({"RG", "BW"});
  // A target spanning every int: only the tiles on the canvas are painted,
  // still aligned to the target's corner.
  TBitmap dc(5, 3);
  TileBitmapRect(dc, {INT_MIN, INT_MIN, INT_MAX, INT_MAX}, b, {0, 0, 2, 2});
  EXPECT_EQ(Letters(dc), (std::vector<std::string>{"RGRGR", "BWBWB", "RGRGR"}));
  // Source pixels outside the bitmap are black, however far the source reaches.
  dc.Fill(kY);
  TileBitmapRect(dc, {0, 0, 5, 2}, b, {-1, 0, 2, 2});
  EXPECT_EQ(Letters(dc), (std::vector<std::string>{"KRGKR", "KBWKB", "YYYYY"}));
  TileBitmapRect(dc, {1, 1, 5, 3}, b, {-1000000000, -1000000000, 1000000000, 1000000000});
  EXPECT_EQ(Letters(dc), (std::vector<std::string>{"KRGKR", "KKKKK", "YKKKK"}));
}

// Two nine-slice piece lists are the same.
void ExpectSamePieces(const std::vector<TSkinPiece>& a, const std::vector<TSkinPiece>& b) {
  ASSERT_EQ(a.size(), b.size());
  for (size_t i = 0; i < a.size(); i++) {
    EXPECT_EQ(a[i].kind, b[i].kind);
    EXPECT_EQ(a[i].src, b[i].src);
    EXPECT_EQ(a[i].dst, b[i].dst);
  }
}

TEST(SkinDrawTest, MarginsBeyondTheFrameAreClampedToIt) {
  // Frame 2 of NineSlice() is 5 x 5. Any margins a description may hold paint
  // exactly as the same margins clamped to 0 .. 5, without overflow and with
  // no work or memory beyond the target's size.
  struct Case {
    TRect margins, clamped;
  } cases[] = {
      {{INT_MAX, 0, INT_MAX, 0}, {5, 0, 5, 0}},
      {{2000000000, 2000000000, 2000000000, 2000000000}, {5, 5, 5, 5}},
      {{-5, -1, INT_MIN, -2000000000}, {0, 0, 0, 0}},
      {{-10000000, -10000000, 1, 1}, {0, 0, 1, 1}},
      {{3, INT_MAX, -3, 1}, {3, 5, 0, 1}},
  };
  const TRect targets[] = {{0, 0, 12, 11}, {2, 1, 9, 4}, {0, 0, 3, 2}};
  for (const Case& c : cases) {
    EXPECT_EQ(ClampMargins(c.margins, 5, 5), c.clamped);
    for (const TRect& t : targets) {
      SCOPED_TRACE(testing::Message()
                   << c.margins.Left << "," << c.margins.Top << "," << c.margins.Right << ","
                   << c.margins.Bottom << " in " << t.Width() << "x" << t.Height());
      ExpectSamePieces(SkinImagePieces(t.Width(), t.Height(), 5, 5, c.margins),
                       SkinImagePieces(t.Width(), t.Height(), 5, 5, c.clamped));
      for (bool tile : {false, true}) {
        EXPECT_TRUE(BuildSkinImage(t, NineSlice(), c.margins, false, tile, 2, 2)
                        .SameImage(BuildSkinImage(t, NineSlice(), c.clamped, false, tile, 2, 2)));
      }
      TBitmap got(14, 12), want(14, 12);
      DrawSkinBorderOnly(got, t, NineSlice(), false, 2, 2, c.margins);
      DrawSkinBorderOnly(want, t, NineSlice(), false, 2, 2, c.clamped);
      DrawSkinThreePart(got, t, NineSlice(), false, false, 2, 2, c.margins);
      DrawSkinThreePart(want, t, NineSlice(), false, false, 2, 2, c.clamped);
      EXPECT_TRUE(got.SameImage(want));
    }
  }
  // Frame numbers and counts of any size locate a frame without overflow; one
  // far outside the bitmap paints nothing from it.
  for (int index : {INT_MIN, -1, 0, INT_MAX}) {
    const TRect f = SkinFrameRect(INT_MAX, 5, false, 1, index);
    EXPECT_TRUE(f.Right <= 0 || f.Left >= INT_MAX / 2) << index;
    TBitmap dc(4, 4);
    DrawSkinElement(dc, {0, 0, 4, 4}, NineSlice(), false, true, false, 1, index, {1, 1, 1, 1});
    DrawSkinElement(dc, {0, 0, 4, 4}, NineSlice(), true, false, false, INT_MIN, index, {});
  }
}

TEST(SkinDrawTest, WholeBitmapUtilities) {
  // Greying keeps the pixel format (and a 32-bit pixel's fourth byte): it
  // writes into the pixels it is given.
  TBitmap g(1, 1, PixelFormat::k32Bit);
  g.SetPixel(0, 0, MakeColour(31, 20, 10));
  g.Row(0)[3] = 0x5A;
  GrayBitmap(g);
  EXPECT_EQ(g.Format(), PixelFormat::k32Bit);
  EXPECT_EQ(g.Pixel(0, 0), MakeColour(20, 20, 20));
  EXPECT_EQ(g.Row(0)[3], 0x5A);

  const TBitmap orig = Picture({"RGB", "WKY"});
  TBitmap b = RotatedLeft(orig);  // the old top-right corner becomes the top-left
  EXPECT_EQ(Letters(b), (std::vector<std::string>{"BY", "GK", "RW"}));
  b = RotatedRight(b);
  EXPECT_TRUE(b.SameImage(orig));
  b = RotatedRight(b);  // the old bottom-left corner becomes the top-left
  EXPECT_EQ(Letters(b), (std::vector<std::string>{"WR", "KG", "YB"}));
  b = orig;
  MirrorBitmap(b);
  EXPECT_EQ(Letters(b), (std::vector<std::string>{"BGR", "YKW"}));
  MirrorBitmap(b);
  EXPECT_TRUE(b.SameImage(orig));
  FlipBitmap(b);
  EXPECT_EQ(Letters(b), (std::vector<std::string>{"WKY", "RGB"}));
  FlipBitmap(b);
  EXPECT_TRUE(b.SameImage(orig));
}

// The memory of a 32-bit bottom-up DIB holding a letter picture, seen through
// views as the painters see their surfaces.
class DibMemory {
 public:
  explicit DibMemory(const std::vector<std::string>& rows)
      : width_(static_cast<int>(rows[0].size())),
        height_(static_cast<int>(rows.size())),
        bits_(static_cast<size_t>(TPixels::DibStride(width_, PixelFormat::k32Bit)) * height_) {
    const TBitmap picture = Picture(rows);
    TBitmapView v = View();
    for (int y = 0; y < height_; y++) {
      for (int x = 0; x < width_; x++)
        v.SetPixel(x, y, picture.Pixel(x, y));
    }
  }
  TBitmapView View() {
    return TBitmapView::WrapDib(bits_.data(), width_, height_, true, PixelFormat::k32Bit);
  }

 private:
  int width_, height_;
  std::vector<uint8_t> bits_;
};

TEST(SkinDrawTest, EveryRoutinePaintsIntoTheMemoryAViewWraps) {
  const TBitmap face = Picture({"RGGR", "GBBG", "RGGR"});
  using Paint = void (*)(TPixels & surface, const TPixels& face);
  struct Case {
    const char* what;
    std::vector<std::string> before;
    Paint paint;
    std::vector<std::string> after;
  } cases[] = {
      {"grey", {"RGB", "WKY"}, [](TPixels& s, const TPixels&) { GrayBitmap(s); }, {"DDD", "WKL"}},
      {"mirror",
       {"RGB", "WKY"},
       [](TPixels& s, const TPixels&) { MirrorBitmap(s); },
       {"BGR", "YKW"}},
      {"flip", {"RGB", "WKY"}, [](TPixels& s, const TPixels&) { FlipBitmap(s); }, {"WKY", "RGB"}},
      {"element",
       {"WWWW", "WWWW"},
       [](TPixels& s, const TPixels& f) {
         DrawSkinElement(s, {0, 0, 4, 2}, f, false, false, false, 1, 1, {1, 1, 1, 1});
       },
       {"RGGR", "RGGR"}},
      {"border only",
       {"WWWWWW", "WWWWWW", "WWWWWW"},
       [](TPixels& s, const TPixels& f) {
         DrawSkinBorderOnly(s, {0, 0, 6, 3}, f, false, 1, 1, {1, 1, 1, 1});
       },
       {"RGGGGR", "GWWWWG", "RGGGGR"}},
      {"three part",
       {"WWWW", "WWWW"},
       [](TPixels& s, const TPixels& f) {
         DrawSkinThreePart(s, {0, 0, 4, 2}, f, false, false, 1, 1, {1, 0, 1, 0});
       },
       {"RGGR", "RGGR"}},
      {"stretched",
       {"WWWW", "WWWW"},
       [](TPixels& s, const TPixels& f) {
         DrawSkinFrameStretched(s, {0, 0, 4, 2}, f, false, 1, 1);
       },
       {"KKKK", "RGGR"}},
      {"glyph",
       {"WWWW", "WWWW"},
       [](TPixels& s, const TPixels& f) {
         DrawSkinGlyphCentered(s, {0, 0, 4, 1}, f, false, 1, 1);
       },
       {"GBBG", "RGGR"}},
      {"transparent",
       {"WWWW", "WWWW"},
       [](TPixels& s, const TPixels& f) {
         DrawTransparentBitmap(s, {0, 0, 4, 2}, f, kSkinTransparent);
       },
       {"RGGR", "GBBG"}},
      {"stretch",
       {"WWWW", "WWWW"},
       [](TPixels& s, const TPixels& f) {
         StretchCopy(s, {0, 0, 4, 2}, f, {0, 0, 4, 3});
       },
       {"RGGR", "RGGR"}},
      {"tile",
       {"WWWW", "WWWW"},
       [](TPixels& s, const TPixels& f) {
         TileBitmapRect(s, {0, 0, 4, 2}, f, {1, 1, 3, 2});
       },
       {"BBBB", "BBBB"}},
  };
  for (const Case& c : cases) {
    DibMemory memory(c.before);
    TBitmapView surface = memory.View();
    c.paint(surface, face);
    // Read back through a fresh view: only the wrapped memory is compared.
    EXPECT_EQ(Letters(memory.View()), c.after) << c.what;
  }
  // A turn cannot happen in place: it gives a new bitmap and leaves the
  // memory as it was.
  DibMemory memory({"RGB", "WKY"});
  const TBitmap turned = RotatedLeft(memory.View());
  EXPECT_EQ(Letters(turned), (std::vector<std::string>{"BY", "GK", "RW"}));
  EXPECT_EQ(Letters(memory.View()), (std::vector<std::string>{"RGB", "WKY"}));
}

}  // namespace
}  // namespace skin
