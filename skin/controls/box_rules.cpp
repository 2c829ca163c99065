#include "skin/controls/box_rules.h"

#include "skin/data/skin_draw.h"

namespace skin {

TGroupBoxLines GroupBoxLines(const TRect& r, int text_h) {
  const int top = text_h / 2 - 1;
  TGroupBoxLines g;
  g.Erase = {0, top, r.Right, r.Bottom};
  g.EraseInner = {1, top + 1, r.Right - 1, r.Bottom - 1};
  g.Line = {1, top, r.Right - 1, r.Bottom - 1};
  g.CaptionX = r.Left + 9;
  g.CaptionY = r.Top;
  return g;
}

int CheckGlyphSource(int cell, int frame_count) {
  constexpr int kSource[9] = {0, 1, -1, 0, 1, -1, 2, 3, -1};
  if (cell < 0 || cell >= 9) return -1;
  int source = kSource[cell];
  if (source < 0 && frame_count == 5) source = 4;
  return source < frame_count ? source : -1;
}

TBitmap CheckGlyphStrip(const TPixels& check_image, int frame_count) {
  if (check_image.Empty() || frame_count < 1) return {};
  const int w = check_image.Width() / frame_count;
  const int h = check_image.Height();
  if (w <= 0) return {};
  TBitmap strip(w * 9, h);
  strip.Fill(kSkinTransparent);
  for (int cell = 0; cell < 9; ++cell) {
    const int source = CheckGlyphSource(cell, frame_count);
    if (source < 0) continue;
    StretchCopy(strip, {cell * w, 0, cell * w + w, h}, check_image,
                {source * w, 0, source * w + w, h});
  }
  return strip;
}

}  // namespace skin
