// Drawing objects over GDI: colours, fonts, brushes, canvases, bitmaps on
// 32-bit DIB sections and pictures decoded from PNG.
//
// A TBitmap always holds a top-down 32-bit DIB section, so its pixels can be
// used directly (Pixels(), ScanLine()) by the core drawing routines; the
// format it was loaded from is kept in PixelFormat. The skin core's pixel
// bitmap paints the same surface through a view:
//
//   auto view = skin::TBitmapView::WrapDib(bmp.Pixels(), bmp.Width(), bmp.Height(),
//                                      /*bottom_up=*/false, skin::PixelFormat::k32Bit);
//
// (call GdiFlush() between GDI drawing and direct pixel access).
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>

#include "framework/component.h"

namespace fw {

// 0x00BBGGRR; 0xFF0000nn is system colour nn; clNone is no colour.
using TColor = uint32_t;
inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clNone = 0x1FFFFFFF;
inline constexpr TColor clDefault = 0x20000000;
inline constexpr TColor clSystemColor = 0xFF000000;
inline constexpr TColor clWindow = clSystemColor | COLOR_WINDOW;
inline constexpr TColor clWindowText = clSystemColor | COLOR_WINDOWTEXT;
inline constexpr TColor clBtnFace = clSystemColor | COLOR_BTNFACE;
inline constexpr TColor clBtnShadow = clSystemColor | COLOR_BTNSHADOW;
inline constexpr TColor clBtnText = clSystemColor | COLOR_BTNTEXT;
inline constexpr TColor clBtnHighlight = clSystemColor | COLOR_BTNHIGHLIGHT;
inline constexpr TColor clActiveBorder = clSystemColor | COLOR_ACTIVEBORDER;
inline constexpr TColor clGrayText = clSystemColor | COLOR_GRAYTEXT;

COLORREF ColorToRGB(TColor color);
// Makes the colour names usable in stored descriptions.
void RegisterColorConstants();

// GDI objects held by TGdiHandle owners in the process (leak checks).
inline int& LiveGdiHandles() {
  static int count = 0;
  return count;
}

// Owner of one GDI object; DeleteObject when it goes.
template <class H>
class TGdiHandle {
 public:
  TGdiHandle() = default;
  explicit TGdiHandle(H h) { reset(h); }
  TGdiHandle(TGdiHandle&& o) noexcept : h_(std::exchange(o.h_, nullptr)) {}
  TGdiHandle& operator=(TGdiHandle&& o) noexcept {
    if (this != &o) {
      reset();
      h_ = std::exchange(o.h_, nullptr);
    }
    return *this;
  }
  ~TGdiHandle() { reset(); }
  H get() const { return h_; }
  explicit operator bool() const { return h_ != nullptr; }
  void reset(H h = nullptr) {
    if (h_ != nullptr) {
      DeleteObject(h_);
      --LiveGdiHandles();
    }
    h_ = h;
    if (h_ != nullptr) ++LiveGdiHandles();
  }
  // Gives the object up (to the system, say, after SetWindowRgn succeeded).
  H release() {
    if (h_ != nullptr) --LiveGdiHandles();
    return std::exchange(h_, nullptr);
  }

 private:
  H h_ = nullptr;
};

// Selects an object into a DC for the guard's life.
class TSelectObject {
 public:
  TSelectObject(HDC dc, HGDIOBJ obj) : dc_(dc), old_(SelectObject(dc, obj)) {}
  ~TSelectObject() {
    if (old_ != nullptr && old_ != HGDI_ERROR) SelectObject(dc_, old_);
  }
  TSelectObject(const TSelectObject&) = delete;
  TSelectObject& operator=(const TSelectObject&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

enum TFontStyle : uint32_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

class TFont : public TPersistent {
 public:
  FW_CLASS_INFO(TFont)
  void Assign(const TPersistent& source) override;

  const std::wstring& Name() const { return name_; }
  void SetName(const std::wstring& name);
  // Character height in pixels when negative, cell height when positive
  // (as LOGFONT's lfHeight).
  int32_t Height() const { return height_; }
  void SetHeight(int32_t height);
  // Size in points at 96 dots per inch.
  int32_t Size() const;
  void SetSize(int32_t points);
  uint32_t Style() const { return style_; }
  void SetStyle(uint32_t style);
  TColor Color() const { return color_; }
  void SetColor(TColor color);

  HFONT Handle();
  // What Handle() creates the font from (without creating it).
  LOGFONTW LogFont() const;
  std::function<void()> OnChange;

 private:
  void Changed();

  std::wstring name_ = L"MS Sans Serif";
  int32_t height_ = -11;
  uint32_t style_ = 0;
  TColor color_ = clWindowText;
  TGdiHandle<HFONT> handle_;
};

class TBrush : public TPersistent {
 public:
  FW_CLASS_INFO(TBrush)
  TColor Color() const { return color_; }
  void SetColor(TColor color);
  HBRUSH Handle();

 private:
  TColor color_ = clWhite;
  TGdiHandle<HBRUSH> handle_;
};

class TPen : public TPersistent {
 public:
  FW_CLASS_INFO(TPen)
  TColor Color() const { return color_; }
  void SetColor(TColor color);
  int32_t Width() const { return width_; }
  void SetWidth(int32_t width);
  HPEN Handle();

 private:
  TColor color_ = clBlack;
  int32_t width_ = 1;
  TGdiHandle<HPEN> handle_;
};

class TBitmap;

// A canvas draws on a DC it is given (borrowed) with its own font, brush and
// pen, selected while a drawing call runs.
class TCanvas : public TPersistent {
 public:
  FW_CLASS_INFO(TCanvas)

  HDC Handle() const { return dc_; }
  void SetHandle(HDC dc) { dc_ = dc; }
  TFont* Font() { return &font_; }
  TBrush* Brush() { return &brush_; }
  TPen* Pen() { return &pen_; }

  void FillRect(const RECT& r);
  void FrameRect(const RECT& r);
  void Rectangle(const RECT& r);
  void TextOut(int x, int y, const std::wstring& text);
  // DrawTextW with the canvas font; transparent background.
  int DrawText(const std::wstring& text, RECT& r, UINT format);
  SIZE TextExtent(const std::wstring& text);
  void Draw(int x, int y, TBitmap& bitmap);
  void StretchDraw(const RECT& r, TBitmap& bitmap);

 private:
  HDC dc_ = nullptr;
  TFont font_;
  TBrush brush_;
  TPen pen_;
};

enum TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit };

class TBitmap : public TPersistent {
 public:
  TBitmap();
  ~TBitmap() override;
  FW_CLASS_INFO(TBitmap)
  void Assign(const TPersistent& source) override;

  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }
  bool Empty() const { return width_ == 0 || height_ == 0; }
  // Resizes to w x h (contents are cleared to black, alpha 0).
  void SetSize(int32_t w, int32_t h);
  TPixelFormat PixelFormat() const { return format_; }
  void SetPixelFormat(TPixelFormat f) { format_ = f; }

  HBITMAP Handle() const { return bitmap_.get(); }
  // Pixels as 0xAARRGGBB, top row first, Width() per row.
  uint32_t* Pixels() { return bits_; }
  const uint32_t* Pixels() const { return bits_; }
  uint32_t* ScanLine(int32_t y) { return bits_ + static_cast<size_t>(y) * width_; }
  // A canvas on a memory DC holding this bitmap.
  TCanvas* Canvas();

  // Transparent colour: that of the bottom-left pixel (0x00BBGGRR).
  TColor TransparentColor() const;

  // Loads a BMP resource of the program (any bit depth).
  void LoadFromResourceName(HINSTANCE instance, const std::wstring& name);
  const std::wstring& ResourceName() const { return resource_; }
  void SetResourceName(const std::wstring& name);
  // Copies a GDI bitmap into this one.
  void LoadFromHandle(HBITMAP bitmap);

  std::function<void()> OnChange;

 private:
  void Changed();
  void ReleaseDC();

  int32_t width_ = 0;
  int32_t height_ = 0;
  TPixelFormat format_ = pf32bit;
  uint32_t* bits_ = nullptr;
  TGdiHandle<HBITMAP> bitmap_;
  HDC dc_ = nullptr;
  HGDIOBJ old_bitmap_ = nullptr;
  std::unique_ptr<TCanvas> canvas_;
  std::wstring resource_;
};

// A picture with an alpha channel, decoded from PNG (libpng); held as a
// premultiplied 32-bit bitmap ready for AlphaBlend.
class TPicture : public TPersistent {
 public:
  FW_CLASS_INFO(TPicture)

  // Throws Exception with a clear message when the data is no PNG.
  void LoadPng(const void* data, size_t size);
  void LoadFromResourceName(HINSTANCE instance, const std::wstring& name);
  const std::wstring& ResourceName() const { return resource_; }
  void SetResourceName(const std::wstring& name);

  int32_t Width() const { return bitmap_.Width(); }
  int32_t Height() const { return bitmap_.Height(); }
  TBitmap& Bitmap() { return bitmap_; }
  // Draws the picture stretched to r, blended with what is below.
  void StretchDraw(HDC dc, const RECT& r);

  std::function<void()> OnChange;

 private:
  TBitmap bitmap_;
  std::wstring resource_;
};

// Finds a resource of the program and returns its bytes (they live as long
// as the module); throws Exception naming the resource when it is missing.
std::pair<const void*, size_t> FindResourceData(HINSTANCE instance, const std::wstring& name,
                                                LPCWSTR type);

}  // namespace fw
