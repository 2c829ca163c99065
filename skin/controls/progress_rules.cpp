#include "skin/controls/progress_rules.h"

#include <algorithm>

#include "skin/data/skin_draw.h"

namespace skin {

namespace {

constexpr uint32_t kPrePaint = 0x1;          // CDDS_PREPAINT
constexpr uint32_t kItemPrePaint = 0x10001;  // CDDS_ITEMPREPAINT
constexpr uintptr_t kTics = 1;               // TBCD_TICS
constexpr uintptr_t kThumb = 2;              // TBCD_THUMB
constexpr uintptr_t kChannel = 3;            // TBCD_CHANNEL
constexpr int32_t kNotifyItemDraw = 0x20;    // CDRF_NOTIFYITEMDRAW
constexpr int32_t kDoDefault = 0;            // CDRF_DODEFAULT
constexpr int32_t kSkipDefault = 4;          // CDRF_SKIPDEFAULT
}  // namespace

int ProgressFilled(int length, const TProgressState& state) {
  const int64_t range = static_cast<int64_t>(state.Max) - state.Min;
  if (length <= 0 || range <= 0 || state.Pos <= state.Min) return 0;
  const int64_t done = std::min<int64_t>(static_cast<int64_t>(state.Pos) - state.Min, range);
  const int64_t filled = (static_cast<int64_t>(length) * done + range / 2) / range;
  return static_cast<int>(std::clamp<int64_t>(filled, 0, length));
}

TBitmap ProgressImage(const TDataSkinObject& element, int w, int h, const TProgressState& state,
                      bool vertical, uint32_t background) {
  if (w <= 0 || h <= 0) return {};
  // Lying down: the length along x.
  const int len = vertical ? h : w;
  const int thick = vertical ? w : h;
  TBitmap bar(len, thick);
  bar.Fill(background);
  if (element.Bitmap.Empty()) return vertical ? RotatedLeft(bar) : bar;
  const bool tile = element.Tile != 0;
  DrawSkinElement(bar, {0, 0, len, thick}, element.Bitmap, /*vertical=*/false, tile,
                  /*transparent=*/true, 2, 1, element.Margins);
  if (const int filled = ProgressFilled(len, state); filled > 0) {
    DrawSkinElement(bar, {0, 0, filled, thick}, element.Bitmap, /*vertical=*/false, tile,
                    /*transparent=*/true, 2, 2, element.Margins);
  }
  if (vertical) return RotatedLeft(bar);
  return bar;
}

TBitmap ChunkedProgressImage(const TDataSkinBorder& element, int w, int h,
                             const TProgressState& state, uint32_t background) {
  if (w <= 0 || h <= 0) return {};
  TBitmap bar(w, h);
  bar.Fill(background);
  if (element.Bitmap.Empty()) return bar;
  DrawSkinElement(bar, {0, 0, w, h}, element.Bitmap, /*vertical=*/false, element.Tile != 0,
                  /*transparent=*/true, 1, 1, element.Margins);
  const TPixels& chunk = element.Bitmap2;
  const int filled = ProgressFilled(w, state);
  if (chunk.Empty() || filled <= 0) return bar;
  const int cw = chunk.Width();
  const int ch = chunk.Height();
  const TRect margins =
      ClampMargins(element.Margins, element.Bitmap.Width(), element.Bitmap.Height());
  const int left = margins.Left;
  // The chunks end where the trough's right band begins.
  const int width = std::min(filled, w - margins.Right - left);
  if (width <= 0) return bar;
  TBitmap strip(width, ch);
  for (int x = 0, n = filled / cw + 1; n > 0 && x < width; --n, x += cw) {
    StretchCopy(strip, {x, 0, x + cw, ch}, chunk, {0, 0, cw, ch});
  }
  const int top = (h - ch) / 2;
  DrawTransparentBitmap(bar, {left, top, left + width, top + ch}, strip, kSkinTransparent);
  return bar;
}

TBitmap BarImage(const TDataSkinBorder& element, int w, int h, const TProgressState& state,
                 bool vertical, uint32_t background) {
  if (element.Style != 1) return ProgressImage(element, w, h, state, vertical, background);
  if (!vertical) return ChunkedProgressImage(element, w, h, state, background);
  const TBitmap lying = ChunkedProgressImage(element, h, w, state, background);
  return lying.Empty() ? lying : RotatedLeft(lying);
}

TCustomDrawAnswer TrackBarCustomDraw(uint32_t draw_stage, uintptr_t item_spec) {
  if (draw_stage == kPrePaint) return {true, kNotifyItemDraw, false};
  if (draw_stage == kItemPrePaint) {
    if (item_spec == kThumb) return {true, kSkipDefault, true};
    if (item_spec == kTics || item_spec == kChannel) return {true, kDoDefault, false};
  }
  return {};
}

}  // namespace skin
