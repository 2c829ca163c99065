#include "skin/data/bitmap.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace skin {

namespace {
// Keeps width x height x 4 comfortably inside every integer type used here.
constexpr int64_t kMaxPixels = int64_t{1} << 28;
}  // namespace

ptrdiff_t TBitmap::DibStride(int width, PixelFormat format) {
  const ptrdiff_t bytes = static_cast<ptrdiff_t>(width) * (format == PixelFormat::k32Bit ? 4 : 3);
  return (bytes + 3) & ~ptrdiff_t{3};
}

TBitmap::TBitmap(int width, int height, PixelFormat format) {
  Allocate(width, height, format);
}

void TBitmap::Allocate(int width, int height, PixelFormat format) {
  if (width < 0 || height < 0 || int64_t{width} * height > kMaxPixels) {
    throw std::length_error("bitmap size out of range");
  }
  format_ = format;
  if (width == 0 || height == 0) {
    owned_.clear();
    top_ = nullptr;
    width_ = height_ = 0;
    stride_ = 0;
    return;
  }
  stride_ = DibStride(width, format);
  owned_.assign(static_cast<size_t>(stride_) * height, 0);
  top_ = owned_.data();
  width_ = width;
  height_ = height;
}

TBitmap TBitmap::Wrap(uint8_t* top_row, int width, int height, ptrdiff_t stride,
                      PixelFormat format) {
  TBitmap b;
  if (width <= 0 || height <= 0 || top_row == nullptr) return b;
  b.top_ = top_row;
  b.width_ = width;
  b.height_ = height;
  b.stride_ = stride;
  b.format_ = format;
  return b;
}

TBitmap TBitmap::WrapDib(uint8_t* bits, int width, int height, bool bottom_up, PixelFormat format) {
  const ptrdiff_t stride = DibStride(width, format);
  if (bottom_up && height > 0)
    return Wrap(bits + (height - 1) * stride, width, height, -stride, format);
  return Wrap(bits, width, height, stride, format);
}

TBitmap::TBitmap(const TBitmap& other) {
  *this = other;
}

TBitmap& TBitmap::operator=(const TBitmap& other) {
  if (this == &other) return *this;
  Allocate(other.width_, other.height_, other.format_);
  const size_t row_bytes = static_cast<size_t>(width_) * BytesPerPixel();
  for (int y = 0; y < height_; y++)
    std::memcpy(Row(y), other.Row(y), row_bytes);
  return *this;
}

TBitmap::TBitmap(TBitmap&& other) noexcept {
  *this = std::move(other);
}

TBitmap& TBitmap::operator=(TBitmap&& other) noexcept {
  if (this == &other) return *this;
  const bool owned = other.OwnsPixels();
  owned_ = std::move(other.owned_);
  top_ = owned ? (owned_.empty() ? nullptr : owned_.data()) : other.top_;
  width_ = other.width_;
  height_ = other.height_;
  stride_ = other.stride_;
  format_ = other.format_;
  other.owned_.clear();
  other.top_ = nullptr;
  other.width_ = other.height_ = 0;
  other.stride_ = 0;
  return *this;
}

uint32_t TBitmap::Pixel(int x, int y) const {
  const uint8_t* p = PixelAddress(x, y);
  return MakeColour(p[2], p[1], p[0]);
}

void TBitmap::SetPixel(int x, int y, uint32_t colour) {
  uint8_t* p = PixelAddress(x, y);
  p[0] = BlueOf(colour);
  p[1] = GreenOf(colour);
  p[2] = RedOf(colour);
  if (format_ == PixelFormat::k32Bit) p[3] = 0xFF;
}

void TBitmap::Clear() {
  Allocate(0, 0, format_);
}

void TBitmap::SetSize(int width, int height) {
  Allocate(width, height, format_);
}

void TBitmap::SetFormat(PixelFormat format) {
  if (format == format_) return;
  TBitmap converted(width_, height_, format);
  for (int y = 0; y < height_; y++) {
    for (int x = 0; x < width_; x++)
      converted.SetPixel(x, y, Pixel(x, y));
  }
  *this = std::move(converted);
}

void TBitmap::Fill(uint32_t colour) {
  FillRect({0, 0, width_, height_}, colour);
}

void TBitmap::FillRect(const TRect& rect, uint32_t colour) {
  const int l = std::max(rect.Left, 0), t = std::max(rect.Top, 0);
  const int r = std::min(rect.Right, width_), b = std::min(rect.Bottom, height_);
  for (int y = t; y < b; y++) {
    for (int x = l; x < r; x++)
      SetPixel(x, y, colour);
  }
}

bool TBitmap::SameImage(const TBitmap& other) const {
  if (width_ != other.width_ || height_ != other.height_) return false;
  for (int y = 0; y < height_; y++) {
    for (int x = 0; x < width_; x++) {
      if (Pixel(x, y) != other.Pixel(x, y)) return false;
    }
  }
  return true;
}

}  // namespace skin
