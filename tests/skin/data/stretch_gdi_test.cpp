// Compares the core stretch with GDI's StretchBlt (COLORONCOLOR) pixel by
// pixel, so that a painter gets the same picture whichever way it draws.
#include <windows.h>

#include <gtest/gtest.h>

#include <random>

#include "skin/data/skin_draw.h"

namespace skin {
namespace {

// A 32-bit bottom-up DIB section selected into a memory DC, seen through a view.
class DibSurface {
 public:
  DibSurface(int w, int h) {
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = h;  // bottom-up, the common case
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    dc_ = CreateCompatibleDC(nullptr);
    void* bits = nullptr;
    bmp_ = CreateDIBSection(dc_, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    old_ = SelectObject(dc_, bmp_);
    view_ = TBitmapView::WrapDib(static_cast<uint8_t*>(bits), w, h, true, PixelFormat::k32Bit);
  }
  ~DibSurface() {
    SelectObject(dc_, old_);
    DeleteObject(bmp_);
    DeleteDC(dc_);
  }
  DibSurface(const DibSurface&) = delete;
  DibSurface& operator=(const DibSurface&) = delete;
  HDC dc() const { return dc_; }
  TBitmapView& view() { return view_; }

 private:
  HDC dc_ = nullptr;
  HBITMAP bmp_ = nullptr;
  HGDIOBJ old_ = nullptr;
  TBitmapView view_;
};

void CompareWithGdi(int mode, StretchMode core_mode) {
  struct Size {
    int sw, sh, dw, dh;
  } sizes[] = {
      {47, 22, 142, 30},  // enlarge both ways
      {47, 22, 10, 10},   // shrink both ways
      {15, 15, 40, 7},    // enlarge across, shrink down
      {60, 14, 20, 50},   // shrink across, enlarge down
      {13, 9, 13, 9},    {1, 1, 9, 4}, {9, 4, 1, 1}, {31, 17, 600, 30}, {5, 200, 3, 7},
  };
  std::mt19937 rng(42);
  for (const Size& s : sizes) {
    SCOPED_TRACE(testing::Message() << s.sw << "x" << s.sh << " -> " << s.dw << "x" << s.dh);
    DibSurface src(s.sw, s.sh), gdi(s.dw, s.dh);
    for (int y = 0; y < s.sh; y++) {
      for (int x = 0; x < s.sw; x++)
        src.view().SetPixel(x, y, rng() & 0xFFFFFF);
    }
    GdiFlush();
    SetStretchBltMode(gdi.dc(), mode);
    ASSERT_TRUE(StretchBlt(gdi.dc(), 0, 0, s.dw, s.dh, src.dc(), 0, 0, s.sw, s.sh, SRCCOPY));
    GdiFlush();
    TBitmap core(s.dw, s.dh);
    StretchCopy(core, {0, 0, s.dw, s.dh}, src.view(), {0, 0, s.sw, s.sh}, core_mode);
    int mismatches = 0;
    for (int y = 0; y < s.dh; y++) {
      for (int x = 0; x < s.dw; x++) {
        if (core.Pixel(x, y) != gdi.view().Pixel(x, y) && mismatches++ < 5) {
          ADD_FAILURE() << "pixel " << x << "," << y;
        }
      }
    }
    EXPECT_EQ(mismatches, 0);
  }
}

TEST(StretchGdiTest, CoreStretchMatchesStretchBltColorOnColor) {
  CompareWithGdi(COLORONCOLOR, StretchMode::kColorOnColor);
}

// The default mode of a fresh DC: eliminated pixels are ANDed together.
TEST(StretchGdiTest, CoreStretchMatchesStretchBltBlackOnWhite) {
  CompareWithGdi(BLACKONWHITE, StretchMode::kBlackOnWhite);
}

TEST(StretchGdiTest, StretchIntoOffsetRectangleOfADib) {
  // A piece of a frame stretched into the middle of a surface, as the nine-slice
  // painter does.
  DibSurface src(20, 10), gdi(50, 40);
  for (int y = 0; y < 10; y++) {
    for (int x = 0; x < 20; x++)
      src.view().SetPixel(x, y, MakeColour(x * 12, y * 25, 99));
  }
  GdiFlush();
  SetStretchBltMode(gdi.dc(), COLORONCOLOR);
  StretchBlt(gdi.dc(), 7, 5, 33, 21, src.dc(), 3, 2, 12, 6, SRCCOPY);
  GdiFlush();
  TBitmap core(50, 40, PixelFormat::k32Bit);
  StretchCopy(core, {7, 5, 40, 26}, src.view(), {3, 2, 15, 8});
  EXPECT_TRUE(core.SameImage(gdi.view()));
}

}  // namespace
}  // namespace skin
