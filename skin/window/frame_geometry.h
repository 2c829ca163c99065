// Geometry of a skinned window's frame, apart from painting: the border sizes
// a skin gives, where each part of the non-client area lies, the client
// rectangle the frame leaves, the caption band's hit-test rule, where the
// caption text and its background go, the border images, and the runs of
// opaque pixels a window region is built from. Window coordinates (origin at
// the window's top-left corner) throughout.
//
//   skin::TFrameBorders b = skin::FrameBordersOf(data);               // 4, 30, 4, 4
//   skin::TFrameLayout l = skin::LayoutFrame(592, 313, b, 19);        // l.Caption, l.MenuBand ...
//   skin::TBitmap left = skin::BuildBorderImage(data, skin::kBorderLeft, 4, 313, /*active=*/true);
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "skin/data/bitmap.h"
#include "skin/data/skin_data.h"
#include "skin/data/skin_draw.h"

namespace skin {

// Indices of TSkinData::Borders.
enum TBorderIndex { kBorderLeft = 1, kBorderRight = 2, kBorderTop = 3, kBorderBottom = 4 };

struct TFrameBorders {
  int Left = 0;
  int Top = 0;  // the caption band's height
  int Right = 0;
  int Bottom = 0;
  bool operator==(const TFrameBorders&) const = default;
};

// One frame of each border image: the side images hold their frames side by
// side (a frame's width is the border's), the top and bottom images stacked
// (a frame's height is the border's).
TFrameBorders FrameBordersOf(const TSkinData& data);

// The non-client parts of a width x height window. The side borders run the
// full height; the caption band, the menu band (empty without a menu bar) and
// the bottom border lie between them.
struct TFrameLayout {
  TRect Left;
  TRect Right;
  TRect Bottom;
  TRect Caption;
  TRect MenuBand;
  TRect Client;
};
TFrameLayout LayoutFrame(int width, int height, const TFrameBorders& borders, int menu_bar_height);

// The client rectangle of a window proposed at (x, y) with size cx x cy, in
// the coordinates of x and y. A window smaller than its frame gets an empty
// client rectangle at the frame's inner edge, never an inverted one.
TRect SkinnedClientRect(int x, int y, int cx, int cy, const TFrameBorders& borders,
                        int menu_bar_height);

// Where the native hit test found nothing (or the caption), the skinned band
// decides by the row: the top three rows keep the native answer, the caption
// band is caption, everything below it is the menu band.
enum class TCaptionHit { kNative, kCaption, kMenu };
TCaptionHit ClassifyCaptionHit(int window_y, int border_top);

// The frame a border is painted with: 1 while the window is active or when the
// image has one frame only, else 2 (the inactive look).
int BorderFrameIndex(bool active, int frame_count);

// Border `index` (TBorderIndex) as a width x height image: nine-slice scaled
// from its frame, tiled unless the border's Stretch key is 1. Empty for a
// negative size.
TBitmap BuildBorderImage(const TSkinData& data, int index, int width, int height, bool active);

// Whether any of the four borders has Trans set (else the window region is a
// plain rectangle).
bool AnyBorderTransparent(const TSkinData& data);

// What the caption text's place depends on besides the skin.
struct TCaptionWindow {
  bool RightToLeft = false;
  bool Popup = false;   // WS_POPUP: clipped at the right-aligned title buttons
  bool Dialog = false;  // a dialog frame: no icon, left-aligned text moves left
  int RightButtonsLeft = 0;
};

// Back: the text background (and the caption text rectangle the controller
// keeps); Text: where the text is drawn inside it.
struct TCaptionTextPlace {
  TRect Back;
  TRect Text;
};

// Places a caption measured as text_width x text_height (DT_CALCRECT) inside
// `band`, the caption band between the side borders, as the title element
// says: alignment, shifts, right clip and the text background's margins.
TCaptionTextPlace PlaceCaptionText(const TRect& band, int text_width, int text_height,
                                   const TDataSkinTitle& title, const TCaptionWindow& window);

// A pixel is transparent for a window region when each of its channels lies
// between the key's channel and that plus the channel's tolerance (at most 255).
struct TRegionKey {
  uint32_t Colour = kSkinTransparent;
  int TolBlue = 1;
  int TolGreen = 1;
  int TolRed = 1;
};
bool IsRegionKeyPixel(uint32_t colour, const TRegionKey& key);

// Rectangles of one region batch and their bounding box.
using TRunBatchSink = std::function<void(const std::vector<TRect>& rects, const TRect& bounds)>;
inline constexpr int kRegionBatchSize = 2000;

// Scans `bitmap` row by row; every maximal run of opaque pixels of a row
// becomes the rectangle (x0 + x, row + y, x1 + x, row + y + 1). The runs go
// to `sink` in batches of `batch_size` rectangles and once more at the end;
// a bitmap without opaque pixels never calls it. Returns the number of runs.
int CollectOpaqueRuns(const TPixels& bitmap, int x, int y, const TRegionKey& key,
                      const TRunBatchSink& sink, int batch_size = kRegionBatchSize);

}  // namespace skin
