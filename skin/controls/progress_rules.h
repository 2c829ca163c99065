// The rules of the progress-bar, gauge and track-bar skinners apart from
// any window: how much of a bar is filled, the pictures of a bar in the
// plain and the chunked style of the skin's "Progress" element, and the
// answers a track bar's custom-draw notifications get.
//
//   skin::TProgressState s{.Pos = 30, .Min = 0, .Max = 120};
//   skin::TBitmap bar = skin::ProgressImage(progress_element, 200, 16, s, false, face);
//   skin::TCustomDrawAnswer a = skin::TrackBarCustomDraw(0x10001, 2);   // the thumb
#pragma once

#include <cstdint>

#include "skin/data/bitmap.h"
#include "skin/data/skin_elements.h"

namespace skin {

struct TProgressState {
  int Pos = 0;
  int Min = 0;
  int Max = 100;
};

// The filled part of a bar `length` pixels long: length * (Pos - Min) /
// (Max - Min), rounded to the nearest pixel as MulDiv rounds, within 0 and
// `length`. Nothing is filled at or below Min, or when the range is empty.
int ProgressFilled(int length, const TProgressState& state);

// The plain style: a w x h picture on `background` holding frame 1 of the
// element's two (the trough) over all of it and frame 2 (the filled part)
// over the filled length, both nine-sliced with the element's margins and
// magenta transparent. A vertical bar is drawn lying (its length along x)
// and turned a quarter to the left, so it fills from the bottom up. An
// element without a bitmap leaves the background alone.
TBitmap ProgressImage(const TDataSkinObject& element, int w, int h, const TProgressState& state,
                      bool vertical, uint32_t background);

// The chunked style (the element's Style 1): the trough (its first and only
// frame) over a w x h picture on `background`, then the chunk image (the
// element's second bitmap) repeated side by side over the filled length,
// starting the element's left margin in and centred vertically, magenta
// transparent; the chunks stop at the trough's right margin. Without a chunk
// image only the trough shows.
TBitmap ChunkedProgressImage(const TDataSkinBorder& element, int w, int h,
                             const TProgressState& state, uint32_t background);

// The picture of a bar in the element's style: chunked for Style 1, else
// plain. A vertical bar, in either style, is drawn lying and turned a
// quarter to the left (it fills from the bottom up).
TBitmap BarImage(const TDataSkinBorder& element, int w, int h, const TProgressState& state,
                 bool vertical, uint32_t background);

// What a skinned track bar answers to NM_CUSTOMDRAW: at CDDS_PREPAINT it asks
// for item notifications (CDRF_NOTIFYITEMDRAW); the channel and the tick
// marks are drawn by the control (CDRF_DODEFAULT); the thumb is drawn by the
// skinner, which tells the control to skip it (CDRF_SKIPDEFAULT). Other
// stages are not answered (Handled false).
struct TCustomDrawAnswer {
  bool Handled = false;
  int32_t Result = 0;
  bool DrawThumb = false;
};
TCustomDrawAnswer TrackBarCustomDraw(uint32_t draw_stage, uintptr_t item_spec);

}  // namespace skin
