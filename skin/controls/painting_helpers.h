// Small helpers the panel, status-bar, progress and tab skinners share: the
// font a control's text is drawn in, enumeration values of objects other
// than the control (status panels), copies of skin pixels into framework
// bitmaps, and the test for an element that can be drawn.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "framework/graphics.h"
#include "skin/controls/skin_control.h"
#include "skin/data/bitmap.h"
#include "skin/data/skin_elements.h"

namespace skin::win {

// An element with a bitmap to draw.
inline bool Drawable(const skin::TDataSkinObject* e) {
  return e != nullptr && !e->Bitmap.Empty();
}

// The font a skinner draws the control's text in: the framework control's
// Font, or the font the window was given (nullptr: the DC's own).
HFONT ControlFont(const TSkinControl& skinner);

// A published enumeration value of any framework object, lower-cased ("" when
// the object or the property is missing).
std::string LowerEnumName(const fw::TObject* object, std::string_view name);

// `target` becomes a copy of `source` (same size and colours).
void CopyPixels(const skin::TPixels& source, fw::TBitmap& target);

}  // namespace skin::win
