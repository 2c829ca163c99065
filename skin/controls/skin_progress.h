// TSkinProgress: a progress bar drawn from the skin's "Progress" element
// (frame 1 the trough, frame 2 the filled part, or chunks of its second
// image in the chunked style). TSkinTrackBar: a track bar whose thumb is
// drawn from "Trackbar.ThumbHorz" or "Trackbar.ThumbVert" through the
// control's custom-draw notifications.
#pragma once

#include <windows.h>

#include "skin/controls/skin_control.h"

namespace skin::win {

class TSkinProgress : public TSkinControl {
  FW_CLASS_INFO(TSkinProgress)

 public:
  using TSkinControl::TSkinControl;

 protected:
  bool BeforeMessage(fw::TMessage& m) override;
  void PaintTo(HDC dc, const RECT& rect) override;
};

class TSkinTrackBar : public TSkinControl {
  FW_CLASS_INFO(TSkinTrackBar)

 public:
  using TSkinControl::TSkinControl;

  void SkinChanged() override;

 protected:
  bool BeforeMessage(fw::TMessage& m) override;
};

}  // namespace skin::win
