// The skin core's pixel bitmaps on GDI surfaces: painting a device context's
// pixels with the shared drawing routines, and copying a skin bitmap to a
// device context.
//
//   PaintPixels(caption.Canvas()->Handle(), back, [&](skin::TPixels& s, const skin::TRect& r) {
//     skin::DrawSkinThreePart(s, r, title.Bitmap, true, true, 2, 1, margins);
//   });
//   DrawSkinBitmap(window_dc, 0, 0, skin::BuildBorderImage(data, skin::kBorderLeft, 4, h, true));
#pragma once

#include <windows.h>

#include <functional>

#include "framework/graphics.h"
#include "skin/data/bitmap.h"

namespace skin::win {

// Runs `paint` on the pixels of `rect` of `dc`: they are copied out into a
// rect-sized surface (`target` at its origin) and copied back afterwards.
// Nothing happens for an empty or inverted rectangle.
void PaintPixels(
    HDC dc, const RECT& rect,
    const std::function<void(skin::TPixels& surface, const skin::TRect& target)>& paint);

// A view of a framework bitmap's pixels (a top-down 32-bit DIB section) for
// the skin routines; GDI's queued drawing is flushed first.
skin::TBitmapView ViewOf(fw::TBitmap& bitmap);

// Copies `bitmap` to `dc` at (x, y), as BitBlt with SRCCOPY would.
void DrawSkinBitmap(HDC dc, int x, int y, const skin::TPixels& bitmap);

inline skin::TRect ToSkinRect(const RECT& r) {
  return {r.left, r.top, r.right, r.bottom};
}
inline RECT ToRECT(const skin::TRect& r) {
  return {r.Left, r.Top, r.Right, r.Bottom};
}

}  // namespace skin::win
