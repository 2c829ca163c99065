// TSkinStatusBar: a status bar drawn from the skin's "StatusBarEdges"
// element (frames: 1 lowered, 2 raised, 3 without bevel), its simple text or
// its panels' texts on top, and the size grip from frame 5 of
// "ExtraImages".
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
};

}  // namespace skin::win
