// Drawing routines shared by every skin painter: cutting a frame out of an
// element bitmap and painting it (nine-slice, three-part, stretched, centred),
// the colour-keyed transparent copy, tiling, and five whole-bitmap utilities.
//
//   auto surface = skin::TBitmapView::WrapDib(bits, w, h, true, skin::PixelFormat::k32Bit);
//   skin::DrawSkinElement(surface, {10, 10, 152, 40}, element_bitmap, /*vertical=*/false,
//                         /*tile=*/false, /*transparent=*/true, 5, 1, {10, 9, 10, 10});
//
// The "device context" of these routines is a TPixels surface (an owned
// TBitmap or a TBitmapView of a DIB): painting is clipped to it and always
// lands in its pixels. Frames are 1-based; frame i of n side-by-side frames
// starts at x = (W div n) * (i - 1) (stacked: y). Margins are (Left, Top,
// Right, Bottom) band widths of one frame; each is taken as 0 when negative
// and as the frame's width (or height) when larger, so any margins a skin
// description holds are safe to paint. Stretching picks source pixels exactly
// as GDI's StretchBlt does in COLORONCOLOR mode, so a painter gets the same
// picture from these routines as from GDI. Transparent paints skip source
// pixels of the key colour (kSkinTransparent, magenta). A frame count below 1
// counts as 1.
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
void StretchCopy(TPixels& dst, const TRect& dst_rect, const TPixels& src, const TRect& src_rect,
                 StretchMode mode = StretchMode::kColorOnColor);

// The frame rectangle of frame `frame_index` within a bitmap.
TRect SkinFrameRect(int width, int height, bool vertical, int frame_count, int frame_index);

// `margins` with each band limited to 0 .. width (Left, Right) or 0 .. height
// (Top, Bottom).
TRect ClampMargins(const TRect& margins, int width, int height);

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
// a fw x fh frame (margins clamped to the frame, then collapsed when the
// target is too small for them).
std::vector<TSkinPiece> SkinImagePieces(int w, int h, int fw, int fh, TRect margins);

// A new w x h bitmap holding the nine-slice scaled frame; empty for an
// inverted target.
TBitmap BuildSkinImage(const TRect& target, const TPixels& bitmap, const TRect& margins,
                       bool vertical, bool tile, int frame_count, int frame_index);

void DrawSkinElement(TPixels& dc, const TRect& target, const TPixels& bitmap, bool vertical,
                     bool tile, bool transparent, int frame_count, int frame_index,
                     const TRect& margins);
void DrawSkinBorderOnly(TPixels& dc, const TRect& target, const TPixels& bitmap, bool vertical,
                        int frame_count, int frame_index, const TRect& margins);
void DrawSkinThreePart(TPixels& canvas, const TRect& target, const TPixels& bitmap, bool vertical,
                       bool transparent, int frame_count, int frame_index, const TRect& margins);
void DrawSkinFrameStretched(TPixels& dc, const TRect& target, const TPixels& bitmap,
                            bool transparent, int frame_count, int frame_index);
void DrawSkinGlyphCentered(TPixels& dc, const TRect& target, const TPixels& bitmap,
                           bool transparent, int frame_count, int frame_index);
// Copies `bitmap` from its origin into `target`, skipping key-coloured pixels.
void DrawTransparentBitmap(TPixels& dc, const TRect& target, const TPixels& bitmap,
                           uint32_t key_colour);
// Repeats `source` (a rectangle of `bitmap`; parts outside it are black) over
// `target`; tiles are not clipped at the target's right and bottom edges (only
// at the canvas's).
void TileBitmapRect(TPixels& canvas, const TRect& target, const TPixels& bitmap,
                    const TRect& source);

// In place: these write into the pixels they are given, in their own format.
// Every pixel becomes the unweighted mean of its blue, green and red (a
// 32-bit pixel's fourth byte is kept).
void GrayBitmap(TPixels& pixels);
void MirrorBitmap(TPixels& pixels);  // left-right
void FlipBitmap(TPixels& pixels);    // top-bottom
// A turn swaps width and height, so these return a new bitmap and leave the
// source as it is.
TBitmap RotatedLeft(const TPixels& source);   // 90 degrees counter-clockwise
TBitmap RotatedRight(const TPixels& source);  // 90 degrees clockwise

}  // namespace skin
