// Drawing routines shared by every skin painter: cutting a frame out of an
// element bitmap and painting it (nine-slice, three-part, stretched, centred),
// the colour-keyed transparent copy, tiling, and five whole-bitmap utilities.
//
//   skin::TBitmap surface = skin::TBitmap::WrapDib(bits, w, h, true, skin::PixelFormat::k32Bit);
//   skin::DrawSkinElement(surface, {10, 10, 152, 40}, element_bitmap, /*vertical=*/false,
//                         /*tile=*/false, /*transparent=*/true, 5, 1, {10, 9, 10, 10});
//
// The "device context" of these routines is a TBitmap surface: painting is
// clipped to it. Frames are 1-based; frame i of n side-by-side frames starts at
// x = (W div n) * (i - 1) (stacked: y). Margins are (Left, Top, Right, Bottom)
// band widths of one frame. Stretching picks source pixels exactly as GDI's
// StretchBlt does in COLORONCOLOR mode, so a painter gets the same picture
// from these routines as from GDI. Transparent paints skip source pixels of
// the key colour (kSkinTransparent, magenta). A frame count below 1 counts as 1.
#pragma once

#include <cstdint>
#include <vector>

#include "skin/data/bitmap.h"

namespace skin {

inline constexpr uint32_t kSkinTransparent = 0xFF00FF;

// Source coordinate that StretchBlt (COLORONCOLOR) uses for destination
// column (or row, when `vertical`) `i`, 0-based and relative, when `src_len`
// pixels become `dst_len`.
int StretchSourceIndex(int i, int src_len, int dst_len, bool vertical);

// The stretch modes of GDI that the skin routines use: colour-on-colour drops
// eliminated rows and columns; black-on-white (a fresh surface's default)
// ANDs every eliminated pixel into the one kept.
enum class StretchMode { kColorOnColor, kBlackOnWhite };

// Stretches src_rect of `src` onto dst_rect of `dst` (both sizes positive; a
// zero or negative size paints nothing). Source pixels outside `src` and
// destination pixels outside `dst` are skipped.
void StretchCopy(TBitmap& dst, const TRect& dst_rect, const TBitmap& src, const TRect& src_rect,
                 StretchMode mode = StretchMode::kColorOnColor);

// The frame rectangle of frame `frame_index` within a bitmap.
TRect SkinFrameRect(int width, int height, bool vertical, int frame_count, int frame_index);

// One piece of a nine-slice paint: source relative to the frame origin,
// destination relative to the target origin.
struct TSkinPiece {
  enum Kind {
    kTopLeft,
    kBottomLeft,
    kTopRight,
    kLeft,
    kTop,
    kCentre,
    kBottomRight,
    kRight,
    kBottom
  };
  Kind kind;
  TRect src;
  TRect dst;
};
// The pieces BuildSkinImage paints, in painting order, for a w x h target and
// a fw x fh frame (margins collapsed when the target is too small for them).
std::vector<TSkinPiece> SkinImagePieces(int w, int h, int fw, int fh, TRect margins);

// A new w x h bitmap holding the nine-slice scaled frame; empty for an
// inverted target.
TBitmap BuildSkinImage(const TRect& target, const TBitmap& bitmap, const TRect& margins,
                       bool vertical, bool tile, int frame_count, int frame_index);

void DrawSkinElement(TBitmap& dc, const TRect& target, const TBitmap& bitmap, bool vertical,
                     bool tile, bool transparent, int frame_count, int frame_index,
                     const TRect& margins);
void DrawSkinBorderOnly(TBitmap& dc, const TRect& target, const TBitmap& bitmap, bool vertical,
                        int frame_count, int frame_index, const TRect& margins);
void DrawSkinThreePart(TBitmap& canvas, const TRect& target, const TBitmap& bitmap, bool vertical,
                       bool transparent, int frame_count, int frame_index, const TRect& margins);
void DrawSkinFrameStretched(TBitmap& dc, const TRect& target, const TBitmap& bitmap,
                            bool transparent, int frame_count, int frame_index);
void DrawSkinGlyphCentered(TBitmap& dc, const TRect& target, const TBitmap& bitmap,
                           bool transparent, int frame_count, int frame_index);
// Copies `bitmap` from its origin into `target`, skipping key-coloured pixels.
void DrawTransparentBitmap(TBitmap& dc, const TRect& target, const TBitmap& bitmap,
                           uint32_t key_colour);
// Repeats `source` (a rectangle of `bitmap`) over `target`; tiles are not
// clipped at the target's right and bottom edges (only at the canvas's).
void TileBitmapRect(TBitmap& canvas, const TRect& target, const TBitmap& bitmap,
                    const TRect& source);

// Converts to 24 bits; every pixel becomes the unweighted mean of its channels.
void GrayBitmap(TBitmap& bitmap);
void MirrorBitmap(TBitmap& bitmap);       // left-right
void FlipBitmap(TBitmap& bitmap);         // top-bottom
void RotateBitmapLeft(TBitmap& bitmap);   // 90 degrees counter-clockwise
void RotateBitmapRight(TBitmap& bitmap);  // 90 degrees clockwise

}  // namespace skin
