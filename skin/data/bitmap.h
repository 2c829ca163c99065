// Pixel bitmaps of the skin core: 24-bit (blue, green, red) or 32-bit (blue,
// green, red, unused/alpha) pixels, rows `Stride()` bytes apart.
//
// Two kinds, and the type says which one you hold:
//
//   skin::TBitmap bmp(47, 22);         // owns its pixels (24-bit, black)
//   bmp.SetPixel(0, 0, 0xFF00FF);      // colours are 0x00BBGGRR
//   // pixels owned by someone else, e.g. a bottom-up DIB section's bits:
//   auto view = skin::TBitmapView::WrapDib(bits, w, h, true, skin::PixelFormat::k32Bit);
//
// The rule: a routine that takes `TPixels&` writes into the very pixels it is
// given and never changes their size or format, so painting, greying or
// mirroring a view lands in the wrapped memory. Only a TBitmap can be resized,
// converted or replaced (SetSize, SetFormat, Clear, assignment), and routines
// that produce a different size (the rotations) return a new TBitmap.
// Copying a TBitmap copies its pixels; copying a TBitmapView gives another view
// of the same pixels; an owned copy of a view is made only on request, with
// TBitmap::CopyOf. Owned storage is top-down with the stride rounded up to 4
// bytes, the layout of a top-down DIB.
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

// The pixel grid that TBitmap and TBitmapView share: reading and writing
// pixels, never reallocating them. Not constructible or copyable on its own,
// so it cannot be sliced off a bitmap by accident.
class TPixels {
 public:
  bool Empty() const { return width_ <= 0 || height_ <= 0; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  PixelFormat Format() const { return format_; }
  int BytesPerPixel() const { return format_ == PixelFormat::k32Bit ? 4 : 3; }
  ptrdiff_t Stride() const { return stride_; }

  uint8_t* Row(int y) { return top_ + y * stride_; }
  const uint8_t* Row(int y) const { return top_ + y * stride_; }
  uint8_t* PixelAddress(int x, int y) { return Row(y) + x * BytesPerPixel(); }
  const uint8_t* PixelAddress(int x, int y) const { return Row(y) + x * BytesPerPixel(); }

  // Colour of a pixel as 0x00BBGGRR (the fourth byte of 32-bit pixels is ignored).
  uint32_t Pixel(int x, int y) const;
  // Sets blue, green and red; a 32-bit pixel's fourth byte becomes 0xFF.
  void SetPixel(int x, int y, uint32_t colour);
  bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

  void Fill(uint32_t colour);
  // Fills the part of `rect` inside the pixels.
  void FillRect(const TRect& rect, uint32_t colour);
  // Pixel-exact comparison of size and colours (format and padding ignored).
  bool SameImage(const TPixels& other) const;

  // Bytes per row of a DIB of this width and format.
  static ptrdiff_t DibStride(int width, PixelFormat format);

 protected:
  TPixels() = default;
  TPixels(const TPixels&) = default;
  TPixels& operator=(const TPixels&) = default;
  ~TPixels() = default;

  // Points at `width` x `height` pixels whose top row starts at `top_row`;
  // throws std::length_error for sizes no bitmap may have.
  void Point(uint8_t* top_row, int width, int height, ptrdiff_t stride, PixelFormat format);
  void Forget();

 private:
  uint8_t* top_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  ptrdiff_t stride_ = 0;
  PixelFormat format_ = PixelFormat::k24Bit;
};

// A bitmap that owns its pixels.
class TBitmap final : public TPixels {
 public:
  TBitmap() = default;
  // An owned bitmap filled with black (zero bytes).
  TBitmap(int width, int height, PixelFormat format = PixelFormat::k24Bit);
  // An owned copy of any pixels, a view's included, in the same format.
  static TBitmap CopyOf(const TPixels& source);

  TBitmap(const TBitmap& other);
  TBitmap& operator=(const TBitmap& other);
  TBitmap(TBitmap&& other) noexcept;
  TBitmap& operator=(TBitmap&& other) noexcept;
  ~TBitmap() = default;

  // Empties the bitmap (0 x 0).
  void Clear();
  // New storage of the given size, black; the old pixels are dropped.
  void SetSize(int width, int height);
  // Converts the pixels to `format`.
  void SetFormat(PixelFormat format);

 private:
  void Allocate(int width, int height, PixelFormat format);

  std::vector<uint8_t> owned_;
};

// Pixels owned by someone else (for example a DIB section's bits, so that GDI
// text and these routines paint one surface). Never frees, resizes or detaches
// from that memory; the owner must outlive the view.
class TBitmapView final : public TPixels {
 public:
  TBitmapView() = default;
  // `top_row` is the first byte of the top row and `stride` the signed
  // distance from one row to the next one below. A null pointer or a size
  // below 1 gives an empty view.
  static TBitmapView Wrap(uint8_t* top_row, int width, int height, ptrdiff_t stride,
                          PixelFormat format);
  // DIB pixels (`bits` as CreateDIBSection returns them; rows padded to 4
  // bytes; bottom-up unless the DIB was created with a negative height).
  static TBitmapView WrapDib(uint8_t* bits, int width, int height, bool bottom_up,
                             PixelFormat format);
  // Copies and assignments are views of the same pixels.
};

}  // namespace skin
