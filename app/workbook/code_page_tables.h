// The single-byte code pages of .xls workbooks (scripts/make-code-pages.py
// writes their tables): bytes below 0x80 are ASCII in all of them.
#pragma once

#include <cstdint>

namespace app {

// The 128 UTF-16 code units of bytes 0x80..0xFF in `code_page` (Excel's
// number: 1252, 10000 for Mac Roman...), or null for a code page without a
// table here.
const char16_t* CodePageUpperHalf(uint16_t code_page);

}  // namespace app
