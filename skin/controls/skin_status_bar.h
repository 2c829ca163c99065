// TSkinStatusBar: a status bar drawn from the skin's "StatusBarEdges"
// element (frames: 1 lowered, 2 raised, 3 without bevel), its simple text or
// its panels' texts on top, and the size grip from frame 5 of
// "ExtraImages". The bar paints only the skinned picture (its own painting
// and erasing are skipped): a text set for every row of a run never shows
// the system's look first.
#pragma once

#include <windows.h>

#include "skin/controls/skin_control.h"

namespace skin::win {

class TSkinStatusBar : public TSkinControl {
  FW_CLASS_INFO(TSkinStatusBar)

 public:
  using TSkinControl::TSkinControl;

 protected:
  bool BeforeMessage(fw::TMessage& m) override;
  void PaintTo(HDC dc, const RECT& rect) override;

 private:
  // WM_PAINT: the skinned picture alone, the update region validated.
  void PaintWhole(fw::TMessage& m);
};

}  // namespace skin::win
