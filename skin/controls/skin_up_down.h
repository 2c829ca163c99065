// TSkinUpDown: the two arrow buttons of an up-down (spin) control drawn from
// the skin's "UpDown.Vert" or "UpDown.Horz" element (8 frames: four states
// of the first direction, then four of the second), or in a classic form
// with arrows of lines when the skin has no such element.
#pragma once

#include <windows.h>

#include <cstdint>

#include "framework/graphics.h"
#include "skin/controls/skin_control.h"

namespace skin::win {

class TSkinUpDown : public TSkinControl {
  FW_CLASS_INFO(TSkinUpDown)

 public:
  using TSkinControl::TSkinControl;

  // The up-down lies inside an edit box: drawn one pixel inside its client
  // area.
  bool Embedded = false;
  // 1 forces the left/right layout (the scroller of a tab set).
  int32_t Horizontal = 0;

 protected:
  bool BeforeMessage(fw::TMessage& m) override;
  void AfterMessage(fw::TMessage& m) override;
  void PaintTo(HDC dc, const RECT& rect) override;

 private:
  bool IsHorizontal() const;
  // The half under the mouse: 0 first, 1 second, -1 none.
  int HalfUnderCursor() const;

  fw::TBitmap Buffer;      // the work bitmap, sized to the client area
  int painted_half_ = -1;  // the half shown under the mouse at the last paint
};

}  // namespace skin::win
