#include "skin/data/bitmap.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <type_traits>

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
  TBitmapView up = TBitmapView::WrapDib(bits.data(), 3, 2, true, PixelFormat::k24Bit);
  EXPECT_EQ(up.Pixel(0, 0), MakeColour(0, 0, 0xBB));
  EXPECT_EQ(up.Pixel(0, 1), MakeColour(0, 0, 0xAA));
  up.SetPixel(2, 0, MakeColour(9, 8, 7));  // writes through to the external memory
  EXPECT_EQ(bits[12 + 6], 7);
  TBitmapView down = TBitmapView::WrapDib(bits.data(), 3, 2, false, PixelFormat::k24Bit);
  EXPECT_EQ(down.Pixel(0, 0), MakeColour(0, 0, 0xAA));

  // A copy of a view is the same memory; an owned copy is made only on request
  // and is independent of it.
  TBitmapView alias = up;
  alias.SetPixel(1, 1, MakeColour(0, 0, 0x44));
  EXPECT_EQ(bits[3], 0x44);
  TBitmap copy = TBitmap::CopyOf(up);
  EXPECT_TRUE(copy.SameImage(up));
  copy.SetPixel(2, 0, MakeColour(1, 1, 1));
  copy.SetSize(1, 1);
  EXPECT_EQ(bits[12 + 6], 7);
  EXPECT_EQ(up.Pixel(2, 0), MakeColour(9, 8, 7));

  EXPECT_TRUE(TBitmapView::WrapDib(nullptr, 3, 2, true, PixelFormat::k24Bit).Empty());
  EXPECT_THROW(TBitmapView::WrapDib(bits.data(), 1 << 15, 1 << 15, true, PixelFormat::k32Bit),
               std::length_error);
}

// What the types allow: a view can be neither resized nor turned into an owned
// bitmap by a plain copy, and the shared pixel grid cannot be copied on its own.
template <typename T>
concept Resizable = requires(T b) {
  b.SetSize(1, 1);
};
static_assert(Resizable<TBitmap> && !Resizable<TBitmapView>);
static_assert(!std::is_constructible_v<TBitmap, const TBitmapView&>);
static_assert(!std::is_assignable_v<TBitmap&, const TBitmapView&>);
static_assert(!std::is_copy_constructible_v<TPixels> && !std::is_copy_assignable_v<TPixels>);

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
