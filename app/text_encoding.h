// Text conversions between UTF-8 (the program's strings) and Windows-1252
// (the code page of the business system's data and of older CSV files).
// UTF-8 itself is handled by unicode/utf8.h.
#pragma once

#include <string>
#include <string_view>

namespace app {

// False if `utf8` is not well-formed UTF-8 or a character has no
// Windows-1252 form (out is then incomplete): such text is refused, never
// replaced.
bool Utf8ToWin1252(std::string_view utf8, std::string& out);
void Win1252ToUtf8(std::string_view bytes, std::string& out);

}  // namespace app
