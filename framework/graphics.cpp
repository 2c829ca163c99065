#include "framework/graphics.h"

#include <png.h>

#include <cstring>
#include <vector>

#include "framework/reader.h"

namespace fw {

COLORREF ColorToRGB(TColor color) {
  if ((color & 0xFF000000u) == clSystemColor) return GetSysColor(static_cast<int>(color & 0xFF));
  return color & 0x00FFFFFFu;
}

void RegisterColorConstants() {
  static const std::pair<const char*, TColor> kColors[] = {
      {"clBlack", clBlack},
      {"clWhite", clWhite},
      {"clRed", clRed},
      {"clNone", clNone},
      {"clDefault", clDefault},
      {"clWindow", clWindow},
      {"clWindowText", clWindowText},
      {"clBtnFace", clBtnFace},
      {"clBtnShadow", clBtnShadow},
      {"clBtnText", clBtnText},
      {"clBtnHighlight", clBtnHighlight},
      {"clActiveBorder", clActiveBorder},
      {"clGrayText", clGrayText},
      {"clMaroon", 0x000080},
      {"clGreen", 0x008000},
      {"clNavy", 0x800000},
      {"clGray", 0x808080},
      {"clSilver", 0xC0C0C0},
      {"clBlue", 0xFF0000},
      {"clYellow", 0x00FFFF},
      {"clFuchsia", 0xFF00FF},
      {"clPurple", 0x800080},
  };
  for (const auto& [name, value] : kColors)
    RegisterIntegerConstant(name, value);
}

// --- TFont -------------------------------------------------------------------

const TClassInfo& TFont::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TFont>("TFont", TPersistent::StaticClassInfo())
          .Str("Name", &TFont::Name, &TFont::SetName)
          .Int("Height", &TFont::Height, &TFont::SetHeight)
          .Int("Size", &TFont::Size, &TFont::SetSize)
          .Set("Style", {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"}, &TFont::Style,
               &TFont::SetStyle)
          .Int("Color", &TFont::Color, &TFont::SetColor)
          .Build();
  return info;
}

void TFont::Assign(const TPersistent& source) {
  const auto* f = dynamic_cast<const TFont*>(&source);
  if (f == nullptr) return TPersistent::Assign(source);
  name_ = f->name_;
  height_ = f->height_;
  style_ = f->style_;
  color_ = f->color_;
  Changed();
}

void TFont::SetName(const std::wstring& name) {
  if (name != name_) {
    name_ = name;
    Changed();
  }
}
void TFont::SetHeight(int32_t height) {
  if (height != height_) {
    height_ = height;
    Changed();
  }
}
int32_t TFont::Size() const {
  return -MulDiv(height_, 72, 96);
}
void TFont::SetSize(int32_t points) {
  SetHeight(-MulDiv(points, 96, 72));
}
void TFont::SetStyle(uint32_t style) {
  if (style != style_) {
    style_ = style;
    Changed();
  }
}
void TFont::SetColor(TColor color) {
  if (color != color_) {
    color_ = color;
    Changed();
  }
}

void TFont::Changed() {
  handle_.reset();
  if (OnChange) OnChange();
}

LOGFONTW TFont::LogFont() const {
  LOGFONTW lf{};
  lf.lfHeight = height_;
  lf.lfWeight = (style_ & fsBold) ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = (style_ & fsItalic) ? TRUE : FALSE;
  lf.lfUnderline = (style_ & fsUnderline) ? TRUE : FALSE;
  lf.lfStrikeOut = (style_ & fsStrikeOut) ? TRUE : FALSE;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfQuality = DEFAULT_QUALITY;
  lstrcpynW(lf.lfFaceName, name_.c_str(), LF_FACESIZE);
  return lf;
}

HFONT TFont::Handle() {
  if (!handle_) {
    const LOGFONTW lf = LogFont();
    handle_.reset(CreateFontIndirectW(&lf));
  }
  return handle_.get();
}

// --- TBrush, TPen --------------------------------------------------------------

const TClassInfo& TBrush::StaticClassInfo() {
  static const TClassInfo info = TClassBuilder<TBrush>("TBrush", TPersistent::StaticClassInfo())
                                     .Int("Color", &TBrush::Color, &TBrush::SetColor)
                                     .Build();
  return info;
}
void TBrush::SetColor(TColor color) {
  if (color != color_) {
    color_ = color;
    handle_.reset();
  }
}
HBRUSH TBrush::Handle() {
  if (!handle_) handle_.reset(CreateSolidBrush(ColorToRGB(color_)));
  return handle_.get();
}

const TClassInfo& TPen::StaticClassInfo() {
  static const TClassInfo info = TClassBuilder<TPen>("TPen", TPersistent::StaticClassInfo())
                                     .Int("Color", &TPen::Color, &TPen::SetColor)
                                     .Int("Width", &TPen::Width, &TPen::SetWidth)
                                     .Build();
  return info;
}
void TPen::SetColor(TColor color) {
  if (color != color_) {
    color_ = color;
    handle_.reset();
  }
}
void TPen::SetWidth(int32_t width) {
  if (width != width_) {
    width_ = width;
    handle_.reset();
  }
}
HPEN TPen::Handle() {
  if (!handle_) handle_.reset(CreatePen(PS_SOLID, width_, ColorToRGB(color_)));
  return handle_.get();
}

// --- TCanvas -------------------------------------------------------------------

const TClassInfo& TCanvas::StaticClassInfo() {
  static const TClassInfo info = TClassBuilder<TCanvas>("TCanvas", TPersistent::StaticClassInfo())
                                     .Obj("Font", &TCanvas::Font)
                                     .Obj("Brush", &TCanvas::Brush)
                                     .Obj("Pen", &TCanvas::Pen)
                                     .Build();
  return info;
}

void TCanvas::FillRect(const RECT& r) {
  ::FillRect(dc_, &r, brush_.Handle());
}

void TCanvas::FrameRect(const RECT& r) {
  ::FrameRect(dc_, &r, brush_.Handle());
}

void TCanvas::Rectangle(const RECT& r) {
  TSelectObject pen(dc_, pen_.Handle());
  TSelectObject brush(dc_, brush_.Handle());
  ::Rectangle(dc_, r.left, r.top, r.right, r.bottom);
}

void TCanvas::TextOut(int x, int y, const std::wstring& text) {
  TSelectObject font(dc_, font_.Handle());
  SetTextColor(dc_, ColorToRGB(font_.Color()));
  SetBkMode(dc_, TRANSPARENT);
  ExtTextOutW(dc_, x, y, 0, nullptr, text.c_str(), static_cast<UINT>(text.size()), nullptr);
}

int TCanvas::DrawText(const std::wstring& text, RECT& r, UINT format) {
  TSelectObject font(dc_, font_.Handle());
  SetTextColor(dc_, ColorToRGB(font_.Color()));
  SetBkMode(dc_, TRANSPARENT);
  return ::DrawTextW(dc_, text.c_str(), static_cast<int>(text.size()), &r, format);
}

SIZE TCanvas::TextExtent(const std::wstring& text) {
  SIZE size{};
  TSelectObject font(dc_, font_.Handle());
  GetTextExtentPoint32W(dc_, text.c_str(), static_cast<int>(text.size()), &size);
  return size;
}

void TCanvas::Draw(int x, int y, TBitmap& bitmap) {
  RECT r{x, y, x + bitmap.Width(), y + bitmap.Height()};
  StretchDraw(r, bitmap);
}

void TCanvas::StretchDraw(const RECT& r, TBitmap& bitmap) {
  HDC src = bitmap.Canvas()->Handle();
  SetStretchBltMode(dc_, COLORONCOLOR);
  StretchBlt(dc_, r.left, r.top, r.right - r.left, r.bottom - r.top, src, 0, 0, bitmap.Width(),
             bitmap.Height(), SRCCOPY);
}

// --- TBitmap -------------------------------------------------------------------

TBitmap::TBitmap() = default;

TBitmap::~TBitmap() {
  ReleaseDC();
}

const TClassInfo& TBitmap::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TBitmap>("TBitmap", TPersistent::StaticClassInfo())
          .Int("Width", &TBitmap::Width)
          .Int("Height", &TBitmap::Height)
          .Enum("PixelFormat",
                {"pfDevice", "pf1bit", "pf4bit", "pf8bit", "pf15bit", "pf16bit", "pf24bit",
                 "pf32bit"},
                &TBitmap::PixelFormat, &TBitmap::SetPixelFormat)
          .Str("ResourceName", &TBitmap::ResourceName, &TBitmap::SetResourceName)
          .Build();
  return info;
}

void TBitmap::ReleaseDC() {
  if (dc_ != nullptr) {
    if (canvas_) canvas_->SetHandle(nullptr);
    SelectObject(dc_, old_bitmap_);
    DeleteDC(dc_);
    dc_ = nullptr;
  }
}

void TBitmap::SetSize(int32_t w, int32_t h) {
  if (w < 0 || h < 0) throw Exception("Invalid bitmap size");
  ReleaseDC();
  bitmap_.reset();
  bits_ = nullptr;
  width_ = w;
  height_ = h;
  if (w > 0 && h > 0) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;  // top-down
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP hbm = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (hbm == nullptr) throw Exception("Out of system resources (bitmap)");
    bitmap_.reset(hbm);
    bits_ = static_cast<uint32_t*>(bits);
    std::memset(bits_, 0, static_cast<size_t>(w) * h * 4);
  }
  Changed();
}

TCanvas* TBitmap::Canvas() {
  if (!canvas_) canvas_ = std::make_unique<TCanvas>();
  if (dc_ == nullptr && bitmap_) {
    GdiFlush();
    dc_ = CreateCompatibleDC(nullptr);
    old_bitmap_ = SelectObject(dc_, bitmap_.get());
    canvas_->SetHandle(dc_);
  }
  return canvas_.get();
}

TColor TBitmap::TransparentColor() const {
  if (Empty()) return clNone;
  GdiFlush();
  uint32_t p = bits_[static_cast<size_t>(height_ - 1) * width_];
  return ((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF);
}

void TBitmap::Assign(const TPersistent& source) {
  const auto* b = dynamic_cast<const TBitmap*>(&source);
  if (b == nullptr) return TPersistent::Assign(source);
  GdiFlush();
  SetSize(b->width_, b->height_);
  if (bits_ != nullptr) std::memcpy(bits_, b->bits_, static_cast<size_t>(width_) * height_ * 4);
  format_ = b->format_;
  Changed();
}

void TBitmap::LoadFromHandle(HBITMAP source) {
  BITMAP bm{};
  if (GetObjectW(source, sizeof(bm), &bm) == 0) throw Exception("Invalid bitmap");
  SetSize(bm.bmWidth, bm.bmHeight);
  switch (bm.bmBitsPixel) {
    case 1:
      format_ = pf1bit;
      break;
    case 4:
      format_ = pf4bit;
      break;
    case 8:
      format_ = pf8bit;
      break;
    case 16:
      format_ = pf16bit;
      break;
    case 24:
      format_ = pf24bit;
      break;
    default:
      format_ = pf32bit;
      break;
  }
  HDC src = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(src, source);
  BitBlt(Canvas()->Handle(), 0, 0, width_, height_, src, 0, 0, SRCCOPY);
  SelectObject(src, old);
  DeleteDC(src);
  GdiFlush();
  // GDI leaves alpha at 0; an opaque bitmap says so in its pixels.
  if (format_ != pf32bit) {
    for (size_t i = 0, n = static_cast<size_t>(width_) * height_; i < n; ++i)
      bits_[i] |= 0xFF000000u;
  }
  Changed();
}

void TBitmap::LoadFromResourceName(HINSTANCE instance, const std::wstring& name) {
  auto* h = static_cast<HBITMAP>(
      LoadImageW(instance, name.c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  if (h == nullptr) {
    throw Exception("Resource " + std::string(name.begin(), name.end()) + " not found");
  }
  TGdiHandle<HBITMAP> guard(h);
  LoadFromHandle(h);
}

void TBitmap::SetResourceName(const std::wstring& name) {
  resource_ = name;
  if (!name.empty()) LoadFromResourceName(GetModuleHandleW(nullptr), name);
}

void TBitmap::Changed() {
  if (OnChange) OnChange();
}

// --- TPicture ------------------------------------------------------------------

const TClassInfo& TPicture::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TPicture>("TPicture", TPersistent::StaticClassInfo())
          .Int("Width", &TPicture::Width)
          .Int("Height", &TPicture::Height)
          .Str("ResourceName", &TPicture::ResourceName, &TPicture::SetResourceName)
          .Build();
  return info;
}

void TPicture::LoadPng(const void* data, size_t size) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, data, size)) {
    throw Exception(std::string("Invalid PNG image: ") + image.message);
  }
  image.format = PNG_FORMAT_BGRA;
  if (image.width == 0 || image.height == 0 || image.width > 16384 || image.height > 16384) {
    png_image_free(&image);
    throw Exception("Invalid PNG image size");
  }
  std::vector<uint32_t> pixels(static_cast<size_t>(image.width) * image.height);
  if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) {
    std::string message = image.message;
    png_image_free(&image);
    throw Exception("Invalid PNG image: " + message);
  }
  bitmap_.SetSize(static_cast<int32_t>(image.width), static_cast<int32_t>(image.height));
  // AlphaBlend wants colours premultiplied by alpha.
  uint32_t* out = bitmap_.Pixels();
  for (size_t i = 0; i < pixels.size(); ++i) {
    uint32_t p = pixels[i];
    uint32_t a = p >> 24;
    uint32_t b = (p & 0xFF) * a / 255;
    uint32_t g = ((p >> 8) & 0xFF) * a / 255;
    uint32_t r = ((p >> 16) & 0xFF) * a / 255;
    out[i] = (a << 24) | (r << 16) | (g << 8) | b;
  }
  bitmap_.SetPixelFormat(pf32bit);
  if (OnChange) OnChange();
}

void TPicture::LoadFromResourceName(HINSTANCE instance, const std::wstring& name) {
  auto [data, size] = FindResourceData(instance, name, MAKEINTRESOURCEW(10) /* RT_RCDATA */);
  LoadPng(data, size);
}

void TPicture::SetResourceName(const std::wstring& name) {
  resource_ = name;
  if (!name.empty()) LoadFromResourceName(GetModuleHandleW(nullptr), name);
}

void TPicture::StretchDraw(HDC dc, const RECT& r) {
  if (bitmap_.Empty()) return;
  BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  AlphaBlend(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, bitmap_.Canvas()->Handle(), 0,
             0, bitmap_.Width(), bitmap_.Height(), blend);
}

std::pair<const void*, size_t> FindResourceData(HINSTANCE instance, const std::wstring& name,
                                                LPCWSTR type) {
  HRSRC info = FindResourceW(instance, name.c_str(), type);
  HGLOBAL global = info != nullptr ? LoadResource(instance, info) : nullptr;
  const void* data = global != nullptr ? LockResource(global) : nullptr;
  if (data == nullptr) {
    throw Exception("Resource " + std::string(name.begin(), name.end()) + " not found");
  }
  return {data, SizeofResource(instance, info)};
}

}  // namespace fw
