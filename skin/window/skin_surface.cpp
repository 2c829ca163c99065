#include "skin/window/skin_surface.h"

#include "framework/dc.h"
#include "framework/graphics.h"

namespace skin::win {

namespace {

// A view of the 24- or 32-bit DIB section selected into `dc`; empty when
// there is none (a window DC, a device-dependent bitmap).
skin::TBitmapView SelectedDib(HDC dc) {
  auto* bitmap = static_cast<HBITMAP>(GetCurrentObject(dc, OBJ_BITMAP));
  DIBSECTION dib{};
  if (bitmap == nullptr || GetObjectW(bitmap, sizeof(dib), &dib) != sizeof(dib) ||
      dib.dsBm.bmBits == nullptr) {
    return {};
  }
  const int bits = dib.dsBm.bmBitsPixel;
  if ((bits != 24 && bits != 32) || dib.dsBmih.biCompression != BI_RGB) return {};
  return skin::TBitmapView::WrapDib(
      static_cast<uint8_t*>(dib.dsBm.bmBits), dib.dsBm.bmWidth, dib.dsBm.bmHeight,
      dib.dsBmih.biHeight > 0, bits == 32 ? skin::PixelFormat::k32Bit : skin::PixelFormat::k24Bit);
}

}  // namespace

void PaintPixels(
    HDC dc, const RECT& rect,
    const std::function<void(skin::TPixels& surface, const skin::TRect& target)>& paint) {
  const int w = rect.right - rect.left;
  const int h = rect.bottom - rect.top;
  if (w <= 0 || h <= 0) return;
  // Direct pixel access waits for the drawing GDI still has queued.
  GdiFlush();
  skin::TBitmapView surface = SelectedDib(dc);
  if (!surface.Empty()) {
    paint(surface, ToSkinRect(rect));
    return;
  }
  fw::TBitmap copy;
  copy.SetSize(w, h);
  HDC mem = copy.Canvas()->Handle();
  BitBlt(mem, 0, 0, w, h, dc, rect.left, rect.top, SRCCOPY);
  GdiFlush();
  skin::TBitmapView view =
      skin::TBitmapView::WrapDib(reinterpret_cast<uint8_t*>(copy.Pixels()), w, h,
                                 /*bottom_up=*/false, skin::PixelFormat::k32Bit);
  paint(view, {0, 0, w, h});
  BitBlt(dc, rect.left, rect.top, w, h, mem, 0, 0, SRCCOPY);
}

void DrawSkinBitmap(HDC dc, int x, int y, const skin::TPixels& bitmap) {
  if (bitmap.Empty()) return;
  const ptrdiff_t dib_stride = skin::TPixels::DibStride(bitmap.Width(), bitmap.Format());
  // A bitmap laid out as a DIB (owned storage, or a view of one) goes as it
  // is; any other layout is copied into owned storage first.
  const skin::TPixels* source = &bitmap;
  skin::TBitmap owned;
  if (bitmap.Stride() != dib_stride && bitmap.Stride() != -dib_stride) {
    owned = skin::TBitmap::CopyOf(bitmap);
    source = &owned;
  }
  const bool top_down = source->Stride() > 0;
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
  bi.bmiHeader.biWidth = source->Width();
  bi.bmiHeader.biHeight = top_down ? -source->Height() : source->Height();
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = static_cast<WORD>(source->BytesPerPixel() * 8);
  bi.bmiHeader.biCompression = BI_RGB;
  const uint8_t* bits = top_down ? source->Row(0) : source->Row(source->Height() - 1);
  SetDIBitsToDevice(dc, x, y, static_cast<DWORD>(source->Width()),
                    static_cast<DWORD>(source->Height()), 0, 0, 0,
                    static_cast<UINT>(source->Height()), bits, &bi, DIB_RGB_COLORS);
}

}  // namespace skin::win
