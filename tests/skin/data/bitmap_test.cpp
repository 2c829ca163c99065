#include "skin/data/bitmap.h"

#include <gtest/gtest.h>

namespace skin {
namespace {

TEST(BitmapTest, OwnedStorageIsTopDownWithRowsPaddedToFourBytes) {
  TBitmap b(5, 2);
  EXPECT_EQ(b.Stride(), 16);
  EXPECT_EQ(TBitmap::DibStride(5, PixelFormat::k32Bit), 20);
  EXPECT_EQ(b.Pixel(4, 1), 0u);
  b.SetPixel(1, 1, MakeColour(1, 2, 3));
  EXPECT_EQ(b.Row(1)[3], 3);  // blue first
  EXPECT_EQ(b.Row(1)[5], 1);
}

TEST(BitmapTest, WrapsBottomUpAndTopDownDibMemory) {
  // 3 x 2, 24 bits: stride 12. In a bottom-up DIB the first row in memory is
  // the bottom row of the picture.
  std::vector<uint8_t> bits(24, 0);
  bits[0] = 0xAA;   // bottom-left blue byte
  bits[12] = 0xBB;  // top-left blue byte
  TBitmap up = TBitmap::WrapDib(bits.data(), 3, 2, true, PixelFormat::k24Bit);
  EXPECT_FALSE(up.OwnsPixels());
  EXPECT_EQ(up.Pixel(0, 0), MakeColour(0, 0, 0xBB));
  EXPECT_EQ(up.Pixel(0, 1), MakeColour(0, 0, 0xAA));
  up.SetPixel(2, 0, MakeColour(9, 8, 7));  // writes through to the external memory
  EXPECT_EQ(bits[12 + 6], 7);
  TBitmap down = TBitmap::WrapDib(bits.data(), 3, 2, false, PixelFormat::k24Bit);
  EXPECT_EQ(down.Pixel(0, 0), MakeColour(0, 0, 0xAA));

  // A copy is owned and independent; SetSize detaches from the memory.
  TBitmap copy = up;
  EXPECT_TRUE(copy.OwnsPixels());
  EXPECT_TRUE(copy.SameImage(up));
  up.SetSize(1, 1);
  EXPECT_TRUE(up.OwnsPixels());
  EXPECT_EQ(bits[12 + 6], 7);
}

TEST(BitmapTest, FormatConversionKeepsColours) {
  TBitmap b(2, 1, PixelFormat::k32Bit);
  b.SetPixel(0, 0, 0xFF00FF);
  b.SetFormat(PixelFormat::k24Bit);
  EXPECT_EQ(b.Format(), PixelFormat::k24Bit);
  EXPECT_EQ(b.Pixel(0, 0), 0xFF00FFu);
  b.FillRect({1, -5, 9, 9}, 0x123456);  // clipped to the bitmap
  EXPECT_EQ(b.Pixel(1, 0), 0x123456u);
  EXPECT_EQ(b.Pixel(0, 0), 0xFF00FFu);
}

}  // namespace
}  // namespace skin
