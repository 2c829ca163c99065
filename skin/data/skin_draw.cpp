#include "skin/data/skin_draw.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <utility>

namespace skin {

namespace {

// Rectangle sizes in 64 bits: a rectangle from a caller may span more than an
// int can hold.
int64_t Width64(const TRect& r) {
  return int64_t{r.Right} - r.Left;
}
int64_t Height64(const TRect& r) {
  return int64_t{r.Bottom} - r.Top;
}

// A target the routines paint: not inverted, and with a width and height an
// int holds (no bitmap can be larger).
bool Drawable(const TRect& r) {
  return r.Right >= r.Left && r.Bottom >= r.Top && Width64(r) <= INT_MAX && Height64(r) <= INT_MAX;
}

// Copies one pixel between bitmaps of any of the two formats. A 32-bit
// destination fed from 24 bits gets 0 in its fourth byte, as GDI leaves it.
inline void CopyPixel(uint8_t* d, int dbpp, const uint8_t* s, int sbpp) {
  d[0] = s[0];
  d[1] = s[1];
  d[2] = s[2];
  if (dbpp == 4) d[3] = sbpp == 4 ? s[3] : 0;
}

inline bool IsKey(const uint8_t* s, uint32_t key) {
  return s[0] == BlueOf(key) && s[1] == GreenOf(key) && s[2] == RedOf(key);
}

// Copies a w x h block 1:1, clipped to both bitmaps; key-coloured source
// pixels are skipped when `keyed`. Positions and sizes are 64-bit so that the
// clipping itself cannot overflow, whatever rectangle a caller passed.
void Blit(TPixels& dst, int64_t dx, int64_t dy, const TPixels& src, int64_t sx, int64_t sy,
          int64_t w, int64_t h, bool keyed, uint32_t key) {
  if (dst.Empty() || src.Empty()) return;
  // Clip against the source, then the destination.
  if (sx < 0) dx -= sx, w += sx, sx = 0;
  if (sy < 0) dy -= sy, h += sy, sy = 0;
  if (dx < 0) sx -= dx, w += dx, dx = 0;
  if (dy < 0) sy -= dy, h += dy, dy = 0;
  w = std::min({w, src.Width() - sx, dst.Width() - dx});
  h = std::min({h, src.Height() - sy, dst.Height() - dy});
  if (w <= 0 || h <= 0) return;
  const int dbpp = dst.BytesPerPixel(), sbpp = src.BytesPerPixel();
  for (int64_t y = 0; y < h; y++) {
    uint8_t* d = dst.PixelAddress(static_cast<int>(dx), static_cast<int>(dy + y));
    const uint8_t* s = src.PixelAddress(static_cast<int>(sx), static_cast<int>(sy + y));
    if (!keyed && dbpp == sbpp) {
      std::memmove(d, s, static_cast<size_t>(w) * dbpp);
      continue;
    }
    for (int64_t x = 0; x < w; x++, d += dbpp, s += sbpp) {
      if (!keyed || !IsKey(s, key)) CopyPixel(d, dbpp, s, sbpp);
    }
  }
}

// Zero bytes (black, fourth byte 0) over the part of `rect` inside `dst`.
void ZeroRect(TPixels& dst, int64_t left, int64_t top, int64_t right, int64_t bottom) {
  left = std::max<int64_t>(left, 0);
  top = std::max<int64_t>(top, 0);
  right = std::min<int64_t>(right, dst.Width());
  bottom = std::min<int64_t>(bottom, dst.Height());
  if (left >= right) return;
  for (int64_t y = top; y < bottom; y++) {
    std::memset(dst.PixelAddress(static_cast<int>(left), static_cast<int>(y)), 0,
                static_cast<size_t>(right - left) * dst.BytesPerPixel());
  }
}

// Paints a whole image with its top-left corner at (x, y).
void PaintAt(TPixels& dc, int64_t x, int64_t y, const TPixels& image, bool transparent) {
  Blit(dc, x, y, image, 0, 0, image.Width(), image.Height(), transparent, kSkinTransparent);
}

TRect Offset(const TRect& r, int dx, int dy) {
  return {r.Left + dx, r.Top + dy, r.Right + dx, r.Bottom + dy};
}

}  // namespace

int StretchSourceIndex(int i, int src_len, int dst_len, bool vertical) {
  // Closed forms of GDI's Bresenham stepping. Enlarging samples the pixel
  // under (i + 1/2) * src/dst rounded down. Shrinking differs by axis: rows
  // take i * src/dst rounded half up; columns take the mirror image of that
  // (the pixel before the end of each destination pixel's span), except that
  // a single destination column takes src - 2.
  if (dst_len >= src_len) {
    return static_cast<int>((2 * int64_t{i} * src_len + src_len - 1) / (2 * int64_t{dst_len}));
  }
  if (vertical) {
    return static_cast<int>((2 * int64_t{i} * src_len + dst_len) / (2 * int64_t{dst_len}));
  }
  const int64_t k = dst_len == 1 ? src_len - 2 : src_len - (dst_len + 1) / 2;
  return static_cast<int>(((int64_t{i} * src_len) + k) / dst_len);
}

namespace {

// The source span [first, last] that destination pixel i of a shrink covers:
// the pixels from just after the previous pick up to this column's pick, or
// from this row's pick up to just before the next one.
std::pair<int, int> ShrinkSpan(int i, int src_len, int dst_len, bool vertical) {
  if (src_len <= dst_len) {
    const int p = StretchSourceIndex(i, src_len, dst_len, vertical);
    return {p, p};
  }
  if (vertical) {
    const int last =
        i + 1 < dst_len ? StretchSourceIndex(i + 1, src_len, dst_len, true) - 1 : src_len - 1;
    return {StretchSourceIndex(i, src_len, dst_len, true), last};
  }
  const int first = i > 0 ? StretchSourceIndex(i - 1, src_len, dst_len, false) + 1 : 0;
  return {first, StretchSourceIndex(i, src_len, dst_len, false)};
}

// The destination pixels [first, last) of a `len`-pixel run starting at
// `origin` that fall inside 0 .. `limit`, relative to `origin`.
std::pair<int, int> VisibleRun(int origin, int len, int limit) {
  const int64_t first = std::max<int64_t>(0, -int64_t{origin});
  const int64_t last = std::min<int64_t>(len, int64_t{limit} - origin);
  return {static_cast<int>(first), static_cast<int>(std::max(first, last))};
}

// Black-on-white shrinking: every destination pixel is the AND of the source
// pixels of its spans (only those inside the source are visited).
void StretchAnd(TPixels& dst, const TRect& dst_rect, const TPixels& src, const TRect& src_rect) {
  const int dw = dst_rect.Width(), dh = dst_rect.Height();
  const int sw = src_rect.Width(), sh = src_rect.Height();
  const auto [x0, x1] = VisibleRun(dst_rect.Left, dw, dst.Width());
  const auto [y0, y1] = VisibleRun(dst_rect.Top, dh, dst.Height());
  for (int y = y0; y < y1; y++) {
    const auto [sy0, sy1] = ShrinkSpan(y, sh, dh, true);
    const int top = std::max(src_rect.Top + sy0, 0);
    const int bottom = std::min(src_rect.Top + sy1, src.Height() - 1);
    for (int x = x0; x < x1; x++) {
      const auto [sx0, sx1] = ShrinkSpan(x, sw, dw, false);
      const int left = std::max(src_rect.Left + sx0, 0);
      const int right = std::min(src_rect.Left + sx1, src.Width() - 1);
      if (left > right || top > bottom) continue;
      uint32_t v = 0xFFFFFF;
      for (int sy = top; sy <= bottom; sy++) {
        for (int sx = left; sx <= right; sx++)
          v &= src.Pixel(sx, sy);
      }
      dst.SetPixel(dst_rect.Left + x, dst_rect.Top + y, v);
    }
  }
}

}  // namespace

void StretchCopy(TPixels& dst, const TRect& dst_rect, const TPixels& src, const TRect& src_rect,
                 StretchMode mode) {
  if (dst.Empty() || src.Empty()) return;
  if (Width64(dst_rect) <= 0 || Height64(dst_rect) <= 0 || Width64(src_rect) <= 0 ||
      Height64(src_rect) <= 0 || !Drawable(dst_rect) || !Drawable(src_rect)) {
    return;
  }
  const int dw = dst_rect.Width(), dh = dst_rect.Height();
  const int sw = src_rect.Width(), sh = src_rect.Height();
  if (dw == sw && dh == sh) {
    Blit(dst, dst_rect.Left, dst_rect.Top, src, src_rect.Left, src_rect.Top, sw, sh, false, 0);
    return;
  }
  if (mode == StretchMode::kBlackOnWhite && (sw > dw || sh > dh)) {
    StretchAnd(dst, dst_rect, src, src_rect);
    return;
  }
  // Only destination columns and rows inside the surface are computed.
  const auto [x0, x1] = VisibleRun(dst_rect.Left, dw, dst.Width());
  const auto [y0, y1] = VisibleRun(dst_rect.Top, dh, dst.Height());
  if (x0 >= x1 || y0 >= y1) return;
  std::vector<int> columns(static_cast<size_t>(x1 - x0));
  for (int x = x0; x < x1; x++)
    columns[x - x0] = src_rect.Left + StretchSourceIndex(x, sw, dw, false);
  const int dbpp = dst.BytesPerPixel(), sbpp = src.BytesPerPixel();
  for (int y = y0; y < y1; y++) {
    const int sy = src_rect.Top + StretchSourceIndex(y, sh, dh, true);
    if (sy < 0 || sy >= src.Height()) continue;
    uint8_t* d = dst.PixelAddress(dst_rect.Left + x0, dst_rect.Top + y);
    const uint8_t* srow = src.Row(sy);
    for (int x = x0; x < x1; x++, d += dbpp) {
      const int sx = columns[x - x0];
      if (sx >= 0 && sx < src.Width()) CopyPixel(d, dbpp, srow + sx * sbpp, sbpp);
    }
  }
}

TRect SkinFrameRect(int width, int height, bool vertical, int frame_count, int frame_index) {
  // Computed in 64 bits and kept within +-2^30: a frame index far outside the
  // bitmap gives a frame far outside it, which paints nothing, and offsets
  // within that frame still fit an int.
  static constexpr int64_t kFar = int64_t{1} << 30;
  auto saturate = [](int64_t v) { return static_cast<int>(std::clamp(v, -kFar, kFar)); };
  const int64_t n = std::max(frame_count, 1);
  const int64_t step = (vertical ? height : width) / n;
  const int64_t start = step * (int64_t{frame_index} - 1);
  if (vertical) return {0, saturate(start), width, saturate(start + step)};
  return {saturate(start), 0, saturate(start + step), height};
}

TRect ClampMargins(const TRect& margins, int width, int height) {
  const int w = std::max(width, 0), h = std::max(height, 0);
  return {std::clamp(margins.Left, 0, w), std::clamp(margins.Top, 0, h),
          std::clamp(margins.Right, 0, w), std::clamp(margins.Bottom, 0, h)};
}

std::vector<TSkinPiece> SkinImagePieces(int w, int h, int fw, int fh, TRect m) {
  fw = std::max(fw, 0);
  fh = std::max(fh, 0);
  m = ClampMargins(m, fw, fh);
  int L = m.Left, T = m.Top, R = m.Right, B = m.Bottom;
  // Each margin is at most the frame's size, but two of them may still add up
  // to more than an int holds.
  if (w < int64_t{L} + R) L = R = 0;
  if (h < int64_t{T} + B) T = B = 0;
  std::vector<TSkinPiece> p;
  if (L > 0 && T > 0) p.push_back({TSkinPiece::kTopLeft, {0, 0, L, T}, {0, 0, L, T}});
  if (L > 0 && B > 0) {
    p.push_back({TSkinPiece::kBottomLeft, {0, fh - B, L, fh}, {0, h - B, L, h}});
  }
  if (R > 0 && T > 0) p.push_back({TSkinPiece::kTopRight, {fw - R, 0, fw, T}, {w - R, 0, w, T}});
  if (L > 0) p.push_back({TSkinPiece::kLeft, {0, T, L, fh - B}, {0, T, L, h - B}});
  if (T > 0) p.push_back({TSkinPiece::kTop, {L, 0, fw - R, T}, {L, 0, w - R, T}});
  p.push_back({TSkinPiece::kCentre, {L, T, fw - R, fh - B}, {L, T, w - R, h - B}});
  if (R > 0 && B > 0) {
    p.push_back({TSkinPiece::kBottomRight, {fw - R, fh - B, fw, fh}, {w - R, h - B, w, h}});
  }
  if (R > 0) p.push_back({TSkinPiece::kRight, {fw - R, T, fw, fh - B}, {w - R, T, w, h - B}});
  if (B > 0) p.push_back({TSkinPiece::kBottom, {L, fh - B, fw - R, fh}, {L, h - B, w - R, h}});
  return p;
}

TBitmap BuildSkinImage(const TRect& target, const TPixels& bitmap, const TRect& margins,
                       bool vertical, bool tile, int frame_count, int frame_index) {
  if (!Drawable(target)) return {};
  const TRect frame =
      SkinFrameRect(bitmap.Width(), bitmap.Height(), vertical, frame_count, frame_index);
  const int w = target.Width(), h = target.Height();
  TBitmap result(w, h, bitmap.Format());
  for (const TSkinPiece& piece : SkinImagePieces(w, h, frame.Width(), frame.Height(), margins)) {
    const TRect src = Offset(piece.src, frame.Left, frame.Top);
    if (piece.kind == TSkinPiece::kCentre && tile) {
      TileBitmapRect(result, piece.dst, bitmap, src);
    } else {
      StretchCopy(result, piece.dst, bitmap, src);
    }
  }
  return result;
}

void DrawSkinElement(TPixels& dc, const TRect& target, const TPixels& bitmap, bool vertical,
                     bool tile, bool transparent, int frame_count, int frame_index,
                     const TRect& margins) {
  if (!Drawable(target)) return;
  const TBitmap image =
      BuildSkinImage(target, bitmap, margins, vertical, tile, frame_count, frame_index);
  PaintAt(dc, target.Left, target.Top, image, transparent);
}

void DrawSkinBorderOnly(TPixels& dc, const TRect& target, const TPixels& bitmap, bool vertical,
                        int frame_count, int frame_index, const TRect& margins) {
  if (!Drawable(target)) return;
  const TRect frame =
      SkinFrameRect(bitmap.Width(), bitmap.Height(), vertical, frame_count, frame_index);
  for (const TSkinPiece& piece :
       SkinImagePieces(target.Width(), target.Height(), frame.Width(), frame.Height(), margins)) {
    if (piece.kind == TSkinPiece::kCentre) continue;
    StretchCopy(dc, Offset(piece.dst, target.Left, target.Top), bitmap,
                Offset(piece.src, frame.Left, frame.Top));
  }
}

void DrawSkinThreePart(TPixels& canvas, const TRect& target, const TPixels& bitmap, bool vertical,
                       bool transparent, int frame_count, int frame_index, const TRect& margins) {
  if (!Drawable(target)) return;
  const TRect f =
      SkinFrameRect(bitmap.Width(), bitmap.Height(), vertical, frame_count, frame_index);
  const int w = target.Width(), h = target.Height(), fw = std::max(f.Width(), 0);
  const TRect m = ClampMargins(margins, fw, f.Height());
  const int L = m.Left, R = m.Right;
  TBitmap work(w, h, bitmap.Format());
  // Nothing to paint; this also keeps the loop below within a real bitmap's width.
  if (work.Empty()) return;
  StretchCopy(work, {0, 0, L, h}, bitmap, {f.Left, f.Top, f.Left + L, f.Bottom});
  // The middle repeats at its own width; a frame no wider than its caps has no
  // middle to repeat.
  const int mw = fw - L - R;
  if (mw > 0) {
    for (int x = L; x < w - R; x += mw) {
      StretchCopy(work, {x, 0, x + mw, h}, bitmap, {f.Left + L, f.Top, f.Left + L + mw, f.Bottom});
    }
  }
  StretchCopy(work, {w - R, 0, w, h}, bitmap, {f.Left + fw - R, f.Top, f.Left + fw, f.Bottom});
  PaintAt(canvas, target.Left, target.Top, work, transparent);
}

void DrawSkinFrameStretched(TPixels& dc, const TRect& target, const TPixels& bitmap,
                            bool transparent, int frame_count, int frame_index) {
  if (!Drawable(target)) return;
  const TRect f = SkinFrameRect(bitmap.Width(), bitmap.Height(), false, frame_count, frame_index);
  // A fresh work bitmap keeps GDI's default black-on-white stretch mode.
  TBitmap work(target.Width(), target.Height(), bitmap.Format());
  StretchCopy(work, {0, 0, target.Width(), target.Height()}, bitmap, f, StretchMode::kBlackOnWhite);
  PaintAt(dc, target.Left, target.Top, work, transparent);
}

void DrawSkinGlyphCentered(TPixels& dc, const TRect& target, const TPixels& bitmap,
                           bool transparent, int frame_count, int frame_index) {
  if (!Drawable(target)) return;
  const TRect f = SkinFrameRect(bitmap.Width(), bitmap.Height(), false, frame_count, frame_index);
  const int fw = f.Width(), fh = bitmap.Height();
  if (fw <= 0 || fh <= 0) return;
  TBitmap work(fw, fh, bitmap.Format());
  Blit(work, 0, 0, bitmap, f.Left, 0, fw, fh, false, 0);
  // Division truncates toward zero, so an oversized glyph overhangs both sides.
  const int64_t x = target.Left + (int64_t{target.Width()} - fw) / 2;
  const int64_t y = target.Top + (int64_t{target.Height()} - fh) / 2;
  PaintAt(dc, x, y, work, transparent);
}

void DrawTransparentBitmap(TPixels& dc, const TRect& target, const TPixels& bitmap,
                           uint32_t key_colour) {
  if (!Drawable(target)) return;
  Blit(dc, target.Left, target.Top, bitmap, 0, 0, target.Width(), target.Height(), true,
       key_colour);
}

namespace {
// The first of the positions start, start + step, ... whose run of `step`
// pixels reaches past 0 (earlier ones lie wholly before the canvas).
int64_t FirstReaching(int64_t start, int64_t step) {
  return start + step > 0 ? start : start + ((-start - step) / step + 1) * step;
}
}  // namespace

void TileBitmapRect(TPixels& canvas, const TRect& target, const TPixels& bitmap,
                    const TRect& source) {
  const int64_t sw = Width64(source), sh = Height64(source);
  if (sw <= 0 || sh <= 0) return;
  // Tiles are painted straight from the bitmap; where the source reaches
  // outside it, each tile is first cleared to black, as a tile cut out of the
  // bitmap would be. Only tiles that reach the canvas are visited, so neither
  // the size of the source nor that of the target costs anything beyond it.
  const bool padded = source.Left < 0 || source.Top < 0 || source.Right > bitmap.Width() ||
                      source.Bottom > bitmap.Height();
  const int64_t right = std::min<int64_t>(target.Right, canvas.Width());
  const int64_t bottom = std::min<int64_t>(target.Bottom, canvas.Height());
  for (int64_t x = FirstReaching(target.Left, sw); x < right; x += sw) {
    for (int64_t y = FirstReaching(target.Top, sh); y < bottom; y += sh) {
      if (padded) ZeroRect(canvas, x, y, x + sw, y + sh);
      Blit(canvas, x, y, bitmap, source.Left, source.Top, sw, sh, false, 0);
    }
  }
}

void GrayBitmap(TPixels& pixels) {
  const int bpp = pixels.BytesPerPixel();
  for (int y = 0; y < pixels.Height(); y++) {
    uint8_t* p = pixels.Row(y);
    for (int x = 0; x < pixels.Width(); x++, p += bpp) {
      const uint8_t g = static_cast<uint8_t>((p[0] + p[1] + p[2]) / 3);
      p[0] = p[1] = p[2] = g;
    }
  }
}

void MirrorBitmap(TPixels& pixels) {
  const int bpp = pixels.BytesPerPixel(), w = pixels.Width();
  for (int y = 0; y < pixels.Height(); y++) {
    uint8_t* row = pixels.Row(y);
    for (int a = 0, b = w - 1; a < b; a++, b--) {
      std::swap_ranges(row + a * bpp, row + a * bpp + bpp, row + b * bpp);
    }
  }
}

void FlipBitmap(TPixels& pixels) {
  const size_t bytes = static_cast<size_t>(pixels.Width()) * pixels.BytesPerPixel();
  for (int a = 0, b = pixels.Height() - 1; a < b; a++, b--) {
    std::swap_ranges(pixels.Row(a), pixels.Row(a) + bytes, pixels.Row(b));
  }
}

namespace {
template <typename SourceOf>
TBitmap Rotated(const TPixels& source, SourceOf source_of) {
  const int w = source.Width(), h = source.Height(), bpp = source.BytesPerPixel();
  TBitmap rotated(h, w, source.Format());
  for (int r = 0; r < w; r++) {
    for (int c = 0; c < h; c++) {
      const auto [x, y] = source_of(c, r, w, h);
      std::memcpy(rotated.PixelAddress(c, r), source.PixelAddress(x, y), bpp);
    }
  }
  return rotated;
}
}  // namespace

TBitmap RotatedLeft(const TPixels& source) {
  return Rotated(source, [](int c, int r, int w, int) { return std::pair{w - 1 - r, c}; });
}

TBitmap RotatedRight(const TPixels& source) {
  return Rotated(source, [](int c, int r, int, int h) { return std::pair{r, h - 1 - c}; });
}

}  // namespace skin
