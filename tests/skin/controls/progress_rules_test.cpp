// Progress bars, gauges and track bars apart from windows: the filled
// length, the plain and the chunked pictures (in letters), and the
// custom-draw answers of a track bar.
#include "skin/controls/progress_rules.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/skin/data/letter_pictures.h"

namespace skin {
namespace {

using Rows = std::vector<std::string>;

TEST(ProgressRules, FilledLength) {
  const struct {
    int length, pos, min, max, filled;
  } cases[] = {
      {200, 0, 0, 100, 0},     // at the start: only the trough
      {200, 50, 0, 100, 100},  //
      {200, 100, 0, 100, 200},
      {200, 1, 0, 3, 67},       // rounded to the nearest pixel, as MulDiv rounds
      {200, 1, 0, 400, 1},      // half a pixel rounds up
      {200, 5, 0, 0, 0},        // a range of 0: only the trough
      {200, 5, 10, 10, 0},      //
      {200, 150, 0, 100, 200},  // past the end: full, never wider
      {200, -5, 0, 100, 0},
      {200, 100, 50, 150, 100},  // the range's start counts
      {200, 50, 50, 150, 0},
      {200, 0, -100, 100, 100},
      {0, 50, 0, 100, 0},
      {1000, 2000000000, 0, 2000000000, 1000},  // no overflow
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ProgressFilled(c.length, {c.pos, c.min, c.max}), c.filled)
        << c.pos << " of " << c.min << ".." << c.max << " in " << c.length;
  }
}

// A progress element of two 8 x 3 frames: the trough (grey with a magenta
// corner) and the filled part (blue), no margins.
std::unique_ptr<TDataSkinObject> PlainElement() {
  auto e = std::make_unique<TDataSkinObject>("Progress");
  e->Bitmap = Picture({"LLLLLLLMBBBBBBBB", "LLLLLLLLBBBBBBBB", "LLLLLLLLBBBBBBBB"});
  e->FrameCount = 2;
  return e;
}

TEST(ProgressRules, PlainPictureFillsFromTheLeftOnTheBackground) {
  const auto e = PlainElement();
  EXPECT_EQ(Letters(ProgressImage(*e, 8, 3, {0, 0, 8}, false, kW)),
            (Rows{"LLLLLLLW", "LLLLLLLL", "LLLLLLLL"}));  // magenta shows the background
  EXPECT_EQ(Letters(ProgressImage(*e, 8, 3, {3, 0, 8}, false, kW)),
            (Rows{"BBBLLLLW", "BBBLLLLL", "BBBLLLLL"}));
  EXPECT_EQ(Letters(ProgressImage(*e, 8, 3, {3, 0, 0}, false, kW)),
            (Rows{"LLLLLLLW", "LLLLLLLL", "LLLLLLLL"}));  // a range of 0: the trough only
  EXPECT_EQ(Letters(ProgressImage(*e, 8, 3, {8, 0, 8}, false, kW)),
            (Rows{"BBBBBBBB", "BBBBBBBB", "BBBBBBBB"}));
}

TEST(ProgressRules, VerticalPictureFillsFromTheBottom) {
  const auto e = PlainElement();
  // Drawn lying (8 long, 3 thick), then turned a quarter to the left.
  EXPECT_EQ(Letters(ProgressImage(*e, 3, 8, {3, 0, 8}, true, kW)),
            (Rows{"WLL", "LLL", "LLL", "LLL", "LLL", "BBB", "BBB", "BBB"}));
}

TEST(ProgressRules, PlainPictureKeepsTheMarginsOfTheElement) {
  TDataSkinObject e("Progress");
  e.Bitmap = Picture({"RLLGRBBG"});  // trough: red cap, grey middle, green cap
  e.FrameCount = 2;
  e.Margins = {1, 0, 1, 0};
  EXPECT_EQ(Letters(ProgressImage(e, 10, 1, {5, 0, 10}, false, kW)), (Rows{"RBBBGLLLLG"}));
}

// The chunked style: a 12 x 3 trough with 2-pixel side bands and a 3 x 1
// chunk whose last column is magenta.
std::unique_ptr<TDataSkinBorder> ChunkedElement() {
  auto e = std::make_unique<TDataSkinBorder>("Progress");
  e->Bitmap = Picture({"DDLLLLLLLLDD", "DDLLLLLLLLDD", "DDLLLLLLLLDD"});
  e->Bitmap2 = Picture({"BBM"});
  e->FrameCount = 1;
  e->Style = 1;
  e->Margins = {2, 0, 2, 0};
  return e;
}

TEST(ProgressRules, ChunksStartInsideTheTroughAndStopAtItsRightBand) {
  const auto e = ChunkedElement();
  EXPECT_EQ(Letters(ChunkedProgressImage(*e, 12, 3, {0, 0, 100}, kW)),
            (Rows{"DDLLLLLLLLDD", "DDLLLLLLLLDD", "DDLLLLLLLLDD"}));
  // Half: 6 pixels of chunks from the left band on, centred vertically.
  EXPECT_EQ(Letters(ChunkedProgressImage(*e, 12, 3, {50, 0, 100}, kW)),
            (Rows{"DDLLLLLLLLDD", "DDBBLBBLLLDD", "DDLLLLLLLLDD"}));
  // Full: the right band stays.
  EXPECT_EQ(Letters(ChunkedProgressImage(*e, 12, 3, {100, 0, 100}, kW)),
            (Rows{"DDLLLLLLLLDD", "DDBBLBBLBBDD", "DDLLLLLLLLDD"}));
  const auto bare = ChunkedElement();
  bare->Bitmap2 = TBitmap();  // no chunk image: the trough only
  EXPECT_EQ(Letters(ChunkedProgressImage(*bare, 12, 3, {100, 0, 100}, kW)),
            (Rows{"DDLLLLLLLLDD", "DDLLLLLLLLDD", "DDLLLLLLLLDD"}));
}

TEST(ProgressRules, EmptyOrTinyBarsGiveEmptyOrPlainPictures) {
  const auto plain = PlainElement();
  EXPECT_TRUE(ProgressImage(*plain, 0, 5, {1, 0, 2}, false, kW).Empty());
  EXPECT_TRUE(ChunkedProgressImage(*ChunkedElement(), 5, 0, {1, 0, 2}, kW).Empty());
  // Narrower than the trough's bands: no room for chunks.
  EXPECT_TRUE(ChunkedProgressImage(*ChunkedElement(), 3, 3, {100, 0, 100}, kW)
                  .SameImage(ChunkedProgressImage(*ChunkedElement(), 3, 3, {0, 0, 100}, kW)));
  TDataSkinObject empty("Progress");
  EXPECT_EQ(Letters(ProgressImage(empty, 2, 1, {1, 0, 2}, false, kW)), (Rows{"WW"}));
}

TEST(ProgressRules, TrackBarCustomDrawAnswers) {
  const struct {
    uint32_t stage;
    uintptr_t item;
    bool handled;
    int32_t result;
    bool thumb;
  } cases[] = {
      {0x1, 0, true, 0x20, false},    // CDDS_PREPAINT: CDRF_NOTIFYITEMDRAW
      {0x10001, 1, true, 0, false},   // tics: CDRF_DODEFAULT
      {0x10001, 3, true, 0, false},   // channel: CDRF_DODEFAULT
      {0x10001, 2, true, 4, true},    // thumb: drawn here, CDRF_SKIPDEFAULT
      {0x10001, 7, false, 0, false},  // an unknown part
      {0x2, 0, false, 0, false},      // CDDS_POSTPAINT
      {0x10002, 2, false, 0, false},  // CDDS_ITEMPOSTPAINT
  };
  for (const auto& c : cases) {
    const TCustomDrawAnswer a = TrackBarCustomDraw(c.stage, c.item);
    EXPECT_EQ(a.Handled, c.handled) << std::hex << c.stage << " " << c.item;
    EXPECT_EQ(a.Result, c.result) << std::hex << c.stage << " " << c.item;
    EXPECT_EQ(a.DrawThumb, c.thumb) << std::hex << c.stage << " " << c.item;
  }
}

}  // namespace
}  // namespace skin
