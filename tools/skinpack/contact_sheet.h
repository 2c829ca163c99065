// The contact sheet picture of a loaded skin's elements (skinpack render).
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

// Every element's frames (and second images), labelled, on a neutral grey.
skin::TBitmap DrawContactSheet(const skin::TSkinData& d);
std::vector<uint8_t> EncodePng(const skin::TBitmap& b);

}  // namespace skinpack
