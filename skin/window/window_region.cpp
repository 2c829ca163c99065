#include "skin/window/window_region.h"

#include <cstring>
#include <vector>

#include "skin/window/frame_geometry.h"

namespace skin::win {

namespace {

// One batch of rectangles as a region.
fw::TGdiHandle<HRGN> RegionOfBatch(const std::vector<skin::TRect>& rects,
                                   const skin::TRect& bounds) {
  std::vector<uint8_t> buffer(sizeof(RGNDATAHEADER) + rects.size() * sizeof(RECT));
  RGNDATAHEADER header{};
  header.dwSize = sizeof(RGNDATAHEADER);
  header.iType = RDH_RECTANGLES;
  header.nCount = static_cast<DWORD>(rects.size());
  header.nRgnSize = static_cast<DWORD>(rects.size() * sizeof(RECT));
  header.rcBound = {bounds.Left, bounds.Top, bounds.Right, bounds.Bottom};
  std::memcpy(buffer.data(), &header, sizeof(header));
  uint8_t* out = buffer.data() + sizeof(RGNDATAHEADER);
  for (const skin::TRect& r : rects) {
    const RECT rect{r.Left, r.Top, r.Right, r.Bottom};
    std::memcpy(out, &rect, sizeof(rect));
    out += sizeof(rect);
  }
  return fw::TGdiHandle<HRGN>(ExtCreateRegion(nullptr, static_cast<DWORD>(buffer.size()),
                                              reinterpret_cast<const RGNDATA*>(buffer.data())));
}

}  // namespace

fw::TGdiHandle<HRGN> RegionFromBitmap(const skin::TPixels& bitmap, int x, int y, int tol_blue,
                                      int tol_green, int tol_red, uint32_t key) {
  fw::TGdiHandle<HRGN> result;
  const skin::TRegionKey region_key{key, tol_blue, tol_green, tol_red};
  skin::CollectOpaqueRuns(bitmap, x, y, region_key,
                          [&](const std::vector<skin::TRect>& rects, const skin::TRect& bounds) {
                            fw::TGdiHandle<HRGN> part = RegionOfBatch(rects, bounds);
                            if (!part) return;
                            if (!result) {
                              result = std::move(part);
                            } else {
                              CombineRgn(result.get(), result.get(), part.get(), RGN_OR);
                            }
                          });
  return result;
}

}  // namespace skin::win
