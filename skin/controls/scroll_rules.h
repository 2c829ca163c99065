// The rules of the scroll-bar overlays apart from any window: where the
// arrows, the track and the thumb of a bar go, which frames of the skin's
// images they show, where a dragged thumb is, what a click on a scroll-bar
// control hits, and where the thumb of a scroll-bar control lies for its
// range, page and position. Also the two small rules of a list view's
// header items.
//
//   skin::TScrollBarLayout l = skin::ScrollBarLayout({.Width = 17, .Height = 30,
//                                                     .Vertical = true, .ArrowSize = 17,
//                                                     .ArrowImageHeight = 17});
//   // l.Arrow == 15: two arrows of half the bar, no track between them
//   skin::TArrowFrames f = skin::ScrollArrowFrames(true, /*pressed=*/true, skin::kHitSecondArrow);
//   // f.Second == 14
#pragma once

#include <cstdint>

#include "skin/data/bitmap.h"

namespace skin {

// The part of a bar a press is on, numbered as the scroll codes of
// WM_HSCROLL and WM_VSCROLL (the overlay also takes the last scroll code it
// was told as its pressed part: SB_THUMBTRACK is 5, SB_ENDSCROLL 8 is none).
inline constexpr int kHitFirstArrow = 0;   // left or up arrow (SB_LINEUP)
inline constexpr int kHitSecondArrow = 1;  // right or down arrow (SB_LINEDOWN)
inline constexpr int kHitTrackBefore = 2;  // SB_PAGEUP
inline constexpr int kHitTrackAfter = 3;   // SB_PAGEDOWN
inline constexpr int kHitThumb = 5;        // SB_THUMBTRACK
inline constexpr int kHitEnd = 8;          // SB_ENDSCROLL

// Frames of the "Scrollbar" image (23 frames) for the two arrows of a bar:
// horizontal 1 and 5, vertical 9 and 13; the arrow pressed (the press is on
// it) shows the next frame.
struct TArrowFrames {
  int First = 0;
  int Second = 0;
  bool operator==(const TArrowFrames&) const = default;
};
TArrowFrames ScrollArrowFrames(bool vertical, bool pressed, int hit_part);
// The track ("HorzScroll", "VertScroll", 4 frames): 1 enabled, 3 disabled.
int ScrollTrackFrame(bool enabled);
// The thumb: 2 while it is pressed, else 1; an image of one frame shows
// that one.
int ScrollThumbFrame(bool pressed, int hit_part, int frame_count);

// What a bar's layout reads.
struct TScrollBarInput {
  int Width = 0;  // the bar's rectangle
  int Height = 0;
  bool Vertical = false;
  int ArrowSize = 0;         // the system's arrow length (SM_CXHSCROLL)
  int ArrowImageHeight = 0;  // the height of the "Scrollbar" image
};

// The pieces of a bar, at origin 0,0 of the bar.
struct TScrollBarLayout {
  int Length = 0;  // along the axis
  // Thickness painted across the axis: the arrow image's height, or the
  // system's arrow size when the image is more than 3 pixels thinner
  // (a thicker one is cut by the bar's edge).
  int Cross = 0;
  // The track between the two arrows (empty when the bar is shorter than
  // two arrows).
  TRect Track;
  // Each arrow's length: the system's, or half the bar when the bar is
  // shorter than two of them.
  int Arrow = 0;
  TRect FirstArrow;
  TRect SecondArrow;
};
TScrollBarLayout ScrollBarLayout(const TScrollBarInput& in);

// The thumb's rectangle in a bar of thickness `cross`, from its edges along
// the axis.
TRect ScrollThumbRect(bool vertical, int cross, int start, int end);

// A thumb's edges along the axis.
struct TThumbSpan {
  int Start = 0;
  int End = 0;
  bool operator==(const TThumbSpan&) const = default;
};

// Where a thumb being dragged is drawn: where it was when the button went
// down (`drag_thumb`) moved by the cursor's travel along the axis, kept
// between the arrows, as long as it was.
TThumbSpan DraggedThumb(int drag_thumb, int cursor_travel, int thumb_length, int length, int arrow);

// The part of a scroll-bar control under the point `p` along its axis:
// first arrow, track before the thumb, thumb, track after it, second arrow.
int ScrollHitTest(int p, int arrow, int thumb_start, int thumb_end, int length);

// A scroll-bar control's range, page and position (SCROLLINFO).
struct TScrollRange {
  int Min = 0;
  int Max = 0;
  int Page = 0;
  int Pos = 0;
};
// Whether the range leaves anything to scroll.
bool ScrollRangeUsable(const TScrollRange& r);

// The thumb of a scroll-bar control of `length` pixels, laid out as the
// system lays out its own: arrows of `arrow` pixels at both ends; a thumb
// of `thumb_size` pixels without a page, else as long as the page's share
// of the range and at least `min_thumb`; placed in the room left by the
// arrows and the thumb in proportion to the position within the range less
// the page. No thumb ({0, 0}) when the bar has no more than 4 pixels
// between its arrows or the thumb does not fit between them; a range with
// nothing to scroll keeps the thumb against the first arrow.
TThumbSpan ControlThumb(int length, int arrow, int thumb_size, int min_thumb,
                        const TScrollRange& r);

// Whether a window's bar is drawn enabled, from the states the system gives
// (bit 0 "unavailable"): the bar itself is available and its two arrows
// are not both unavailable (a bar switched off with ESB_DISABLE_BOTH).
bool ScrollBarEnabled(uint32_t bar_state, uint32_t first_arrow_state, uint32_t second_arrow_state);

// The square between a vertical and a horizontal bar of one window (the
// system's size box): across the vertical bar, along the horizontal one.
TRect ScrollCorner(const TRect& vertical_bar, const TRect& horizontal_bar);

// --- A list view's header ---

// The draw-text alignment of a header item from its format: HDF_RIGHT (1)
// right, HDF_CENTER (2) centre, else left (DT_RIGHT 2, DT_CENTER 1, DT_LEFT
// 0).
uint32_t HeaderTextAlignment(int format);
// Whether the item's image is shown: its format has HDF_IMAGE (0x800) or
// HDF_OWNERDRAW (0x8000).
bool HeaderShowsImage(int format);

}  // namespace skin
