// The element slots of a loaded skin in inspection order, and the contact
// sheet picture of them (skinpack inspect / render).
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "skin/data/bitmap.h"
#include "skin/data/skin_data.h"

namespace skinpack {

// SM_CXHSCROLL of a standard Windows desktop at 96 dpi, used outside Windows.
inline constexpr int kHorzScrollArrowWidth = 17;

// Borders[1]..Borders[4], Title, SysButtons[i]..., Buttons, Progress, ... UpDownVert.
std::vector<std::pair<std::string, const skin::TDataSkinObject*>> SkinSlots(
    const skin::TSkinData& d);
// Every element's frames (and second images), labelled, on a neutral grey.
skin::TBitmap DrawContactSheet(const skin::TSkinData& d);
std::vector<uint8_t> EncodePng(const skin::TBitmap& b);

}  // namespace skinpack
