#include "skin/controls/scroll_rules.h"

#include <algorithm>
#include <cstdint>

namespace skin {

namespace {

// a * b / c rounded to the nearest, halves away from zero, as the system
// scales its scroll bars (MulDiv); 0 for c == 0.
int MulDivRound(int a, int b, int c) {
  if (c == 0) return 0;
  const int64_t n = static_cast<int64_t>(a) * b;
  const int64_t half = (c < 0 ? -c : c) / 2;
  const bool negative = (n < 0) != (c < 0);
  const int64_t q = ((n < 0 ? -n : n) + half) / (c < 0 ? -c : c);
  return static_cast<int>(negative ? -q : q);
}

}  // namespace

TArrowFrames ScrollArrowFrames(bool vertical, bool pressed, int hit_part) {
  TArrowFrames f = vertical ? TArrowFrames{9, 13} : TArrowFrames{1, 5};
  if (pressed && hit_part == kHitFirstArrow) ++f.First;
  if (pressed && hit_part == kHitSecondArrow) ++f.Second;
  return f;
}

int ScrollTrackFrame(bool enabled) {
  return enabled ? 1 : 3;
}

int ScrollThumbFrame(bool pressed, int hit_part, int frame_count) {
  const int frame = pressed && hit_part == kHitThumb ? 2 : 1;
  return std::min(frame, std::max(frame_count, 1));
}

TScrollBarLayout ScrollBarLayout(const TScrollBarInput& in) {
  TScrollBarLayout l;
  const int w = std::max(in.Width, 0);
  const int h = std::max(in.Height, 0);
  l.Length = in.Vertical ? h : w;
  // Wider than the bar is cut by the bar's edge, not squeezed.
  l.Cross = in.ArrowImageHeight + 3 < in.ArrowSize ? in.ArrowSize : in.ArrowImageHeight;
  // The track takes the full arrow length off each end, so a bar shorter
  // than two arrows has no track left.
  const int a = in.ArrowSize;
  l.Arrow = l.Length < 2 * a ? l.Length / 2 : a;
  if (in.Vertical) {
    l.Track = {0, a, l.Cross, std::max(l.Length - a, a)};
    l.FirstArrow = {0, 0, l.Cross, l.Arrow};
    l.SecondArrow = {0, l.Length - l.Arrow, l.Cross, l.Length};
  } else {
    l.Track = {a, 0, std::max(l.Length - a, a), l.Cross};
    l.FirstArrow = {0, 0, l.Arrow, l.Cross};
    l.SecondArrow = {l.Length - l.Arrow, 0, l.Length, l.Cross};
  }
  return l;
}

TRect ScrollThumbRect(bool vertical, int cross, int start, int end) {
  return vertical ? TRect{0, start, cross, end} : TRect{start, 0, end, cross};
}

TThumbSpan DraggedThumb(int drag_thumb, int cursor_travel, int thumb_length, int length,
                        int arrow) {
  const int highest = length - arrow - thumb_length;
  int start = drag_thumb + cursor_travel;
  // Upper bound first: a bar too short for its thumb keeps it at the arrow.
  start = std::max(std::min(start, highest), arrow);
  return {start, start + thumb_length};
}

int ScrollHitTest(int p, int arrow, int thumb_start, int thumb_end, int length) {
  if (p < arrow) return kHitFirstArrow;
  if (p < thumb_start) return kHitTrackBefore;
  if (p < thumb_end) return kHitThumb;
  if (p < length - arrow) return kHitTrackAfter;
  return kHitSecondArrow;
}

bool ScrollRangeUsable(const TScrollRange& r) {
  return r.Min < r.Max - std::max(r.Page - 1, 0);
}

TThumbSpan ControlThumb(int length, int arrow, int thumb_size, int min_thumb,
                        const TScrollRange& r) {
  // A bar with no more than 4 pixels between its arrows has no thumb.
  if (length <= 2 * arrow + 4) return {};
  int room = length - 2 * arrow;
  int thumb = thumb_size;
  if (r.Page > 0) {
    thumb = std::max(MulDivRound(room, r.Page, r.Max - r.Min + 1), min_thumb);
  }
  room -= thumb;
  if (room < 0) return {};
  const int top = r.Max - std::max(r.Page - 1, 0);
  int start = arrow;
  if (r.Min < top) {
    const int pos = std::clamp(r.Pos, r.Min, top);
    start = arrow + MulDivRound(room, pos - r.Min, top - r.Min);
  }
  return {start, start + thumb};
}

bool ScrollBarEnabled(uint32_t bar_state, uint32_t first_arrow_state, uint32_t second_arrow_state) {
  constexpr uint32_t kUnavailable = 0x1;  // STATE_SYSTEM_UNAVAILABLE
  if ((bar_state & kUnavailable) != 0) return false;
  return (first_arrow_state & kUnavailable) == 0 || (second_arrow_state & kUnavailable) == 0;
}

TRect ScrollCorner(const TRect& vertical_bar, const TRect& horizontal_bar) {
  return {vertical_bar.Left, horizontal_bar.Top, vertical_bar.Right, horizontal_bar.Bottom};
}

uint32_t HeaderTextAlignment(int format) {
  constexpr int kRight = 0x1;               // HDF_RIGHT
  constexpr int kCenter = 0x2;              // HDF_CENTER
  if ((format & kRight) != 0) return 0x2;   // DT_RIGHT
  if ((format & kCenter) != 0) return 0x1;  // DT_CENTER
  return 0;                                 // DT_LEFT
}

bool HeaderShowsImage(int format) {
  return (format & (0x800 | 0x8000)) != 0;  // HDF_IMAGE, HDF_OWNERDRAW
}

}  // namespace skin
