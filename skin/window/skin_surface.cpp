#include "skin/window/skin_surface.h"

#include "framework/dc.h"
#include "framework/graphics.h"

namespace skin::win {

void PaintPixels(
    HDC dc, const RECT& rect,
    const std::function<void(skin::TPixels& surface, const skin::TRect& target)>& paint) {
  const int w = rect.right - rect.left;
  const int h = rect.bottom - rect.top;
  if (w <= 0 || h <= 0) return;
  // The pixels go through a DIB of known orientation: a DIB section
  // selected into `dc` cannot tell its own (GetObject reports a positive
  // height for top-down sections too, as the framework's bitmaps are).
  fw::TBitmap copy;
  copy.SetSize(w, h);
  HDC mem = copy.Canvas()->Handle();
  BitBlt(mem, 0, 0, w, h, dc, rect.left, rect.top, SRCCOPY);
  skin::TBitmapView view = ViewOf(copy);
  paint(view, {0, 0, w, h});
  BitBlt(dc, rect.left, rect.top, w, h, mem, 0, 0, SRCCOPY);
}

skin::TBitmapView ViewOf(fw::TBitmap& bitmap) {
  GdiFlush();
  return skin::TBitmapView::WrapDib(reinterpret_cast<uint8_t*>(bitmap.Pixels()), bitmap.Width(),
                                    bitmap.Height(), /*bottom_up=*/false,
                                    skin::PixelFormat::k32Bit);
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
