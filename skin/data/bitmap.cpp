#include "skin/data/bitmap.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace skin {

namespace {
// Keeps width x height x 4 comfortably inside every integer type used here.
constexpr int64_t kMaxPixels = int64_t{1} << 28;
}  // namespace

// --- TPixels -------------------------------------------------------------------

ptrdiff_t TPixels::DibStride(int width, PixelFormat format) {
  const ptrdiff_t bytes = static_cast<ptrdiff_t>(width) * (format == PixelFormat::k32Bit ? 4 : 3);
  return (bytes + 3) & ~ptrdiff_t{3};
}

void TPixels::Point(uint8_t* top_row, int width, int height, ptrdiff_t stride, PixelFormat format) {
  if (width < 0 || height < 0 || int64_t{width} * height > kMaxPixels) {
    throw std::length_error("bitmap size out of range");
  }
  format_ = format;
  if (top_row == nullptr || width == 0 || height == 0) {
    Forget();
    return;
  }
  top_ = top_row;
  width_ = width;
  height_ = height;
  stride_ = stride;
}

void TPixels::Forget() {
  top_ = nullptr;
  width_ = height_ = 0;
  stride_ = 0;
}

uint32_t TPixels::Pixel(int x, int y) const {
  const uint8_t* p = PixelAddress(x, y);
  return MakeColour(p[2], p[1], p[0]);
}

void TPixels::SetPixel(int x, int y, uint32_t colour) {
  uint8_t* p = PixelAddress(x, y);
  p[0] = BlueOf(colour);
  p[1] = GreenOf(colour);
  p[2] = RedOf(colour);
  if (format_ == PixelFormat::k32Bit) p[3] = 0xFF;
}

void TPixels::Fill(uint32_t colour) {
  FillRect({0, 0, width_, height_}, colour);
}

void TPixels::FillRect(const TRect& rect, uint32_t colour) {
  const int l = std::max(rect.Left, 0), t = std::max(rect.Top, 0);
  const int r = std::min(rect.Right, width_), b = std::min(rect.Bottom, height_);
  for (int y = t; y < b; y++) {
    for (int x = l; x < r; x++)
      SetPixel(x, y, colour);
  }
}

bool TPixels::SameImage(const TPixels& other) const {
  if (width_ != other.width_ || height_ != other.height_) return false;
  for (int y = 0; y < height_; y++) {
    for (int x = 0; x < width_; x++) {
      if (Pixel(x, y) != other.Pixel(x, y)) return false;
    }
  }
  return true;
}

// --- TBitmap -------------------------------------------------------------------

TBitmap::TBitmap(int width, int height, PixelFormat format) {
  Allocate(width, height, format);
}

void TBitmap::Allocate(int width, int height, PixelFormat format) {
  // Checked before the allocation: Point would only refuse it afterwards.
  if (width < 0 || height < 0 || int64_t{width} * height > kMaxPixels) {
    throw std::length_error("bitmap size out of range");
  }
  const ptrdiff_t stride = DibStride(width, format);
  std::vector<uint8_t> storage(static_cast<size_t>(stride) * height, 0);
  owned_ = std::move(storage);
  Point(owned_.empty() ? nullptr : owned_.data(), width, height, stride, format);
}

TBitmap TBitmap::CopyOf(const TPixels& source) {
  TBitmap copy(source.Width(), source.Height(), source.Format());
  const size_t row_bytes = static_cast<size_t>(copy.Width()) * copy.BytesPerPixel();
  for (int y = 0; y < copy.Height(); y++)
    std::memcpy(copy.Row(y), source.Row(y), row_bytes);
  return copy;
}

TBitmap::TBitmap(const TBitmap& other) : TBitmap(CopyOf(other)) {}

TBitmap& TBitmap::operator=(const TBitmap& other) {
  if (this != &other) *this = CopyOf(other);
  return *this;
}

TBitmap::TBitmap(TBitmap&& other) noexcept : TPixels() {
  *this = std::move(other);
}

TBitmap& TBitmap::operator=(TBitmap&& other) noexcept {
  if (this == &other) return *this;
  // Moving a vector keeps its buffer, so the moved pixel pointer stays valid.
  TPixels::operator=(other);
  owned_ = std::move(other.owned_);
  other.owned_.clear();
  other.Forget();
  return *this;
}

void TBitmap::Clear() {
  Allocate(0, 0, Format());
}

void TBitmap::SetSize(int width, int height) {
  Allocate(width, height, Format());
}

void TBitmap::SetFormat(PixelFormat format) {
  if (format == Format()) return;
  TBitmap converted(Width(), Height(), format);
  for (int y = 0; y < Height(); y++) {
    for (int x = 0; x < Width(); x++)
      converted.SetPixel(x, y, Pixel(x, y));
  }
  *this = std::move(converted);
}

// --- TBitmapView ---------------------------------------------------------------

TBitmapView TBitmapView::Wrap(uint8_t* top_row, int width, int height, ptrdiff_t stride,
                              PixelFormat format) {
  TBitmapView v;
  if (width <= 0 || height <= 0 || top_row == nullptr) return v;
  v.Point(top_row, width, height, stride, format);
  return v;
}

TBitmapView TBitmapView::WrapDib(uint8_t* bits, int width, int height, bool bottom_up,
                                 PixelFormat format) {
  const ptrdiff_t stride = DibStride(width, format);
  // Wrapping top-down first checks the size before any pointer arithmetic.
  TBitmapView top_down = Wrap(bits, width, height, stride, format);
  if (!bottom_up || top_down.Empty()) return top_down;
  return Wrap(bits + (height - 1) * stride, width, height, -stride, format);
}

}  // namespace skin
