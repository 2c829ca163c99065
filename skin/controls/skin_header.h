// TSkinHeader: the header of a list view, its items drawn with frame 1 of
// the skin's "Headerbar" element and their text and image on top.
#pragma once

#include <windows.h>

#include "framework/graphics.h"
#include "skin/controls/skin_control.h"

namespace skin::win {

class TSkinHeader : public TSkinControl {
  FW_CLASS_INFO(TSkinHeader)

 public:
  using TSkinControl::TSkinControl;

 protected:
  bool BeforeMessage(fw::TMessage& m) override;
  void PaintTo(HDC dc, const RECT& rect) override;

 private:
  fw::TBitmap Buffer;  // the work bitmap, sized to the header
};

}  // namespace skin::win
