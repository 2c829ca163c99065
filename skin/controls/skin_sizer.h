// TSkinSizer: a raw scroll bar or size grip of a dialog box, shown as a
// plain area of the skin's background.
#pragma once

#include <windows.h>

#include "skin/controls/skin_control.h"

namespace skin::win {

class TSkinSizer : public TSkinControl {
  FW_CLASS_INFO(TSkinSizer)

 public:
  using TSkinControl::TSkinControl;

 protected:
  void PaintTo(HDC dc, const RECT& rect) override;
};

}  // namespace skin::win
