// TBitmap: the pixel bitmap of the skin core. 24-bit (blue, green, red) or
// 32-bit (blue, green, red, unused/alpha) pixels, rows `Stride()` bytes apart.
//
//   skin::TBitmap bmp(47, 22);                 // owned, 24-bit, black
//   bmp.SetPixel(0, 0, 0xFF00FF);              // colours are 0x00BBGGRR
//   uint8_t* row = bmp.Row(5);                 // first byte of row 5 (top = 0)
//
// Wrapping memory owned by someone else (for example a DIB section's bits, so
// that GDI text and these routines paint one surface):
//
//   // bottom-up DIB (positive biHeight): row 0 is the last row in memory
//   auto view = skin::TBitmap::WrapDib(bits, w, h, /*bottom_up=*/true, skin::PixelFormat::k32Bit);
//
// A wrapping bitmap never frees the memory; operations that change the size or
// the pixel format (SetSize, SetFormat, the rotations) give it storage of its
// own. Copies are always deep and owned. Owned storage is top-down with the
// stride rounded up to 4 bytes, the layout of a top-down DIB.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace skin {

enum class PixelFormat { k24Bit = 24, k32Bit = 32 };

// A rectangle as (left, top, right, bottom); right and bottom are exclusive.
struct TRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;

  int Width() const { return Right - Left; }
  int Height() const { return Bottom - Top; }
  bool operator==(const TRect&) const = default;
};

// Colour helpers for the 0x00BBGGRR layout.
constexpr uint32_t MakeColour(uint8_t r, uint8_t g, uint8_t b) {
  return r | (static_cast<uint32_t>(g) << 8) | (static_cast<uint32_t>(b) << 16);
}
constexpr uint8_t RedOf(uint32_t c) {
  return c & 0xFF;
}
constexpr uint8_t GreenOf(uint32_t c) {
  return (c >> 8) & 0xFF;
}
constexpr uint8_t BlueOf(uint32_t c) {
  return (c >> 16) & 0xFF;
}

class TBitmap {
 public:
  TBitmap() = default;
  // An owned bitmap filled with black (zero bytes).
  TBitmap(int width, int height, PixelFormat format = PixelFormat::k24Bit);

  // A view of external pixels: `top_row` is the first byte of the top row and
  // `stride` the signed distance from one row to the next one below.
  static TBitmap Wrap(uint8_t* top_row, int width, int height, ptrdiff_t stride,
                      PixelFormat format);
  // A view of DIB pixels (`bits` as CreateDIBSection returns them; rows padded
  // to 4 bytes; bottom-up unless the DIB was created with a negative height).
  static TBitmap WrapDib(uint8_t* bits, int width, int height, bool bottom_up, PixelFormat format);
  // Bytes per row of a DIB of this width and format.
  static ptrdiff_t DibStride(int width, PixelFormat format);

  TBitmap(const TBitmap& other);
  TBitmap& operator=(const TBitmap& other);
  TBitmap(TBitmap&& other) noexcept;
  TBitmap& operator=(TBitmap&& other) noexcept;
  ~TBitmap() = default;

  bool Empty() const { return width_ <= 0 || height_ <= 0; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  PixelFormat Format() const { return format_; }
  int BytesPerPixel() const { return format_ == PixelFormat::k32Bit ? 4 : 3; }
  ptrdiff_t Stride() const { return stride_; }
  bool OwnsPixels() const { return top_ == nullptr || top_ == owned_.data(); }

  uint8_t* Row(int y) { return top_ + y * stride_; }
  const uint8_t* Row(int y) const { return top_ + y * stride_; }
  uint8_t* PixelAddress(int x, int y) { return Row(y) + x * BytesPerPixel(); }
  const uint8_t* PixelAddress(int x, int y) const { return Row(y) + x * BytesPerPixel(); }

  // Colour of a pixel as 0x00BBGGRR (the fourth byte of 32-bit pixels is ignored).
  uint32_t Pixel(int x, int y) const;
  // Sets blue, green and red; a 32-bit pixel's fourth byte becomes 0xFF.
  void SetPixel(int x, int y, uint32_t colour);
  bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

  // Empties the bitmap (0 x 0, owned).
  void Clear();
  // New owned storage of the given size, black; the old pixels are dropped.
  void SetSize(int width, int height);
  // Converts the pixels to `format` (owned storage when the format changes).
  void SetFormat(PixelFormat format);
  void Fill(uint32_t colour);
  // Fills the part of `rect` inside the bitmap.
  void FillRect(const TRect& rect, uint32_t colour);
  // Pixel-exact comparison of size and colours (format and padding ignored).
  bool SameImage(const TBitmap& other) const;

 private:
  void Allocate(int width, int height, PixelFormat format);

  std::vector<uint8_t> owned_;
  uint8_t* top_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  ptrdiff_t stride_ = 0;
  PixelFormat format_ = PixelFormat::k24Bit;
};

}  // namespace skin
