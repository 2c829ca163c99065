// Window regions cut from skin images: the opaque pixels of a bitmap as a
// GDI region, the key colour (magenta) and the pixels near it left out.
//
//   fw::TGdiHandle<HRGN> left = RegionFromBitmap(image, 0, 0, 1, 1, 1, skin::kSkinTransparent);
//   if (left) CombineRgn(whole.get(), whole.get(), left.get(), RGN_OR);
#pragma once

#include <windows.h>

#include <cstdint>

#include "framework/graphics.h"
#include "skin/data/bitmap.h"

namespace skin::win {

// The region of the pixels of `bitmap` that are not within the tolerances
// of `key` (0x00BBGGRR), placed at (x, y); empty (no handle) when no pixel is
// opaque. The rectangles are handed to the system in batches, so a large
// image never needs one huge region description.
fw::TGdiHandle<HRGN> RegionFromBitmap(const skin::TPixels& bitmap, int x, int y, int tol_blue,
                                      int tol_green, int tol_red, uint32_t key);

}  // namespace skin::win
