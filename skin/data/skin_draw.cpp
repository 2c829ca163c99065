#include "skin/data/skin_draw.h"

#include <algorithm>
#include <cstring>

namespace skin {

namespace {

bool Inverted(const TRect& r) {
  return r.Right < r.Left || r.Bottom < r.Top;
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
// pixels are skipped when `keyed`.
void Blit(TPixels& dst, int dx, int dy, const TPixels& src, int sx, int sy, int w, int h,
          bool keyed, uint32_t key) {
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
  for (int y = 0; y < h; y++) {
    uint8_t* d = dst.PixelAddress(dx, dy + y);
    const uint8_t* s = src.PixelAddress(sx, sy + y);
    if (!keyed && dbpp == sbpp) {
      std::memmove(d, s, static_cast<size_t>(w) * dbpp);
      continue;
    }
    for (int x = 0; x < w; x++, d += dbpp, s += sbpp) {
      if (!keyed || !IsKey(s, key)) CopyPixel(d, dbpp, s, sbpp);
    }
  }
}

void Paint(TPixels& dc, const TRect& target, const TPixels& image, bool transparent) {
  if (transparent) {
    DrawTransparentBitmap(dc, target, image, kSkinTransparent);
  } else {
    Blit(dc, target.Left, target.Top, image, 0, 0, image.Width(), image.Height(), false, 0);
  }
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

// Black-on-white shrinking: every destination pixel is the AND of the source
// pixels of its spans.
void StretchAnd(TPixels& dst, const TRect& dst_rect, const TPixels& src, const TRect& src_rect) {
  const int dw = dst_rect.Width(), dh = dst_rect.Height();
  const int sw = src_rect.Width(), sh = src_rect.Height();
  for (int y = std::max(0, -dst_rect.Top); y < dh && dst_rect.Top + y < dst.Height(); y++) {
    const auto [y0, y1] = ShrinkSpan(y, sh, dh, true);
    for (int x = std::max(0, -dst_rect.Left); x < dw && dst_rect.Left + x < dst.Width(); x++) {
      const auto [x0, x1] = ShrinkSpan(x, sw, dw, false);
      uint32_t v = 0xFFFFFF;
      bool any = false;
      for (int sy = src_rect.Top + y0; sy <= src_rect.Top + y1; sy++) {
        for (int sx = src_rect.Left + x0; sx <= src_rect.Left + x1; sx++) {
          if (!src.Contains(sx, sy)) continue;
          v &= src.Pixel(sx, sy);
          any = true;
        }
      }
      if (any) dst.SetPixel(dst_rect.Left + x, dst_rect.Top + y, v);
    }
  }
}

}  // namespace

void StretchCopy(TPixels& dst, const TRect& dst_rect, const TPixels& src, const TRect& src_rect,
                 StretchMode mode) {
  const int dw = dst_rect.Width(), dh = dst_rect.Height();
  const int sw = src_rect.Width(), sh = src_rect.Height();
  if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0 || dst.Empty() || src.Empty()) return;
  if (dw == sw && dh == sh) {
    Blit(dst, dst_rect.Left, dst_rect.Top, src, src_rect.Left, src_rect.Top, sw, sh, false, 0);
    return;
  }
  if (mode == StretchMode::kBlackOnWhite && (sw > dw || sh > dh)) {
    StretchAnd(dst, dst_rect, src, src_rect);
    return;
  }
  // Only destination columns and rows inside the surface are computed.
  const int x0 = std::max(0, -dst_rect.Left), x1 = std::min(dw, dst.Width() - dst_rect.Left);
  const int y0 = std::max(0, -dst_rect.Top), y1 = std::min(dh, dst.Height() - dst_rect.Top);
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
  const int n = std::max(frame_count, 1);
  if (vertical) {
    const int fh = height / n;
    return {0, fh * (frame_index - 1), width, fh * frame_index};
  }
  const int fw = width / n;
  return {fw * (frame_index - 1), 0, fw * frame_index, height};
}

std::vector<TSkinPiece> SkinImagePieces(int w, int h, int fw, int fh, TRect m) {
  int L = m.Left, T = m.Top, R = m.Right, B = m.Bottom;
  if (w < L + R) L = R = 0;
  if (h < T + B) T = B = 0;
  std::vector<TSkinPiece> p;
  if (L * T > 0) p.push_back({TSkinPiece::kTopLeft, {0, 0, L, T}, {0, 0, L, T}});
  if (L * B > 0) p.push_back({TSkinPiece::kBottomLeft, {0, fh - B, L, fh}, {0, h - B, L, h}});
  if (R * T > 0) p.push_back({TSkinPiece::kTopRight, {fw - R, 0, fw, T}, {w - R, 0, w, T}});
  if (L > 0) p.push_back({TSkinPiece::kLeft, {0, T, L, fh - B}, {0, T, L, h - B}});
  if (T > 0) p.push_back({TSkinPiece::kTop, {L, 0, fw - R, T}, {L, 0, w - R, T}});
  p.push_back({TSkinPiece::kCentre, {L, T, fw - R, fh - B}, {L, T, w - R, h - B}});
  if (R * B > 0) {
    p.push_back({TSkinPiece::kBottomRight, {fw - R, fh - B, fw, fh}, {w - R, h - B, w, h}});
  }
  if (R > 0) p.push_back({TSkinPiece::kRight, {fw - R, T, fw, fh - B}, {w - R, T, w, h - B}});
  if (B > 0) p.push_back({TSkinPiece::kBottom, {L, fh - B, fw - R, fh}, {L, h - B, w - R, h}});
  return p;
}

TBitmap BuildSkinImage(const TRect& target, const TPixels& bitmap, const TRect& margins,
                       bool vertical, bool tile, int frame_count, int frame_index) {
  if (Inverted(target)) return {};
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
  if (Inverted(target)) return;
  const TBitmap image =
      BuildSkinImage(target, bitmap, margins, vertical, tile, frame_count, frame_index);
  Paint(dc, target, image, transparent);
}

void DrawSkinBorderOnly(TPixels& dc, const TRect& target, const TPixels& bitmap, bool vertical,
                        int frame_count, int frame_index, const TRect& margins) {
  if (Inverted(target)) return;
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
  if (Inverted(target)) return;
  const TRect f =
      SkinFrameRect(bitmap.Width(), bitmap.Height(), vertical, frame_count, frame_index);
  const int w = target.Width(), h = target.Height();
  const int L = margins.Left, R = margins.Right, fw = f.Width();
  TBitmap work(w, h, bitmap.Format());
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
  Paint(canvas, target, work, transparent);
}

void DrawSkinFrameStretched(TPixels& dc, const TRect& target, const TPixels& bitmap,
                            bool transparent, int frame_count, int frame_index) {
  if (Inverted(target)) return;
  const TRect f = SkinFrameRect(bitmap.Width(), bitmap.Height(), false, frame_count, frame_index);
  // A fresh work bitmap keeps GDI's default black-on-white stretch mode.
  TBitmap work(target.Width(), target.Height(), bitmap.Format());
  StretchCopy(work, {0, 0, target.Width(), target.Height()}, bitmap, f, StretchMode::kBlackOnWhite);
  Paint(dc, target, work, transparent);
}

void DrawSkinGlyphCentered(TPixels& dc, const TRect& target, const TPixels& bitmap,
                           bool transparent, int frame_count, int frame_index) {
  if (Inverted(target)) return;
  const TRect f = SkinFrameRect(bitmap.Width(), bitmap.Height(), false, frame_count, frame_index);
  const int fw = f.Width(), fh = bitmap.Height();
  if (fw <= 0 || fh <= 0) return;
  TBitmap work(fw, fh, bitmap.Format());
  Blit(work, 0, 0, bitmap, f.Left, 0, fw, fh, false, 0);
  // Division truncates toward zero, so an oversized glyph overhangs both sides.
  const int x = target.Left + (target.Width() - fw) / 2;
  const int y = target.Top + (target.Height() - fh) / 2;
  Paint(dc, {x, y, x + fw, y + fh}, work, transparent);
}

void DrawTransparentBitmap(TPixels& dc, const TRect& target, const TPixels& bitmap,
                           uint32_t key_colour) {
  if (Inverted(target)) return;
  Blit(dc, target.Left, target.Top, bitmap, 0, 0, target.Width(), target.Height(), true,
       key_colour);
}

void TileBitmapRect(TPixels& canvas, const TRect& target, const TPixels& bitmap,
                    const TRect& source) {
  const int sw = source.Width(), sh = source.Height();
  if (sw < 0 || sh < 0 || int64_t{sw} * sh == 0) return;
  // The tile starts black; source pixels outside the bitmap stay so.
  TBitmap tile(sw, sh, bitmap.Format());
  Blit(tile, 0, 0, bitmap, source.Left, source.Top, sw, sh, false, 0);
  for (int x = target.Left; x < target.Right; x += sw) {
    for (int y = target.Top; y < target.Bottom; y += sh) {
      Blit(canvas, x, y, tile, 0, 0, sw, sh, false, 0);
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
