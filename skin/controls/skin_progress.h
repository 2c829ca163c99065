// TSkinProgress: a progress bar drawn from the skin's "Progress" element
// (frame 1 the trough, frame 2 the filled part, or chunks of its second
// image in the chunked style); it paints only the skinned picture, so the
// bar never shows the system's look first. It serves gauges too (graphic
// controls), through AttachGraphic. TSkinTrackBar: a track bar whose thumb is
// drawn from "Trackbar.ThumbHorz" or "Trackbar.ThumbVert" through the
// control's custom-draw notifications.
#pragma once

#include <windows.h>

#include "framework/graphics.h"
#include "skin/controls/skin_control.h"

namespace skin::win {

class TSkinProgress : public TSkinControl {
  FW_CLASS_INFO(TSkinProgress)

 public:
  using TSkinControl::TSkinControl;

  // Serves a gauge too (a graphic control publishing "Kind", "Progress",
  // "MinValue", "MaxValue" and "ShowText", attached with AttachGraphic):
  // its bars are drawn from the same element, its percentage on top.
  // A gauge paints only within its parent's painting (`dc` is then the DC
  // it hands over); a progress bar as every skinner does.
  void Paint(HDC dc) override;

 protected:
  bool BeforeMessage(fw::TMessage& m) override;
  void PaintTo(HDC dc, const RECT& rect) override;

 private:
  // Whether the bar's own painting shows in the skinned picture (the last
  // row of the plain style, when it lies in the client area).
  bool NeedsOwnPicture() const;
  // WM_PAINT: the skinned picture, put on the screen in one piece.
  void PaintWhole(fw::TMessage& m);
  // A gauge of a bar kind, with the skin's element to draw it.
  bool PaintsGauge() const;
  void PaintGauge(HDC dc, const RECT& rect);

  fw::TBitmap buffer_;  // the picture before it goes to the screen
};

class TSkinTrackBar : public TSkinControl {
  FW_CLASS_INFO(TSkinTrackBar)

 public:
  using TSkinControl::TSkinControl;

  void SkinChanged() override;

 protected:
  bool BeforeMessage(fw::TMessage& m) override;
  void AfterMessage(fw::TMessage& m) override;
  // Draws the thumb (the only part skinned) into `dc`.
  void PaintTo(HDC dc, const RECT& rect) override;
};

}  // namespace skin::win
