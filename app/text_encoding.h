// Text conversions between UTF-8 (the program's strings) and Windows-1252
// (the code page of the business system's data and of older CSV files).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace app {

bool IsValidUtf8(std::string_view text);
// False if a character has no Windows-1252 form (out is then incomplete).
bool Utf8ToWin1252(std::string_view utf8, std::string& out);
void Win1252ToUtf8(std::string_view bytes, std::string& out);
// Byte length of the first `count` characters (code points) of UTF-8 text.
size_t Utf8PrefixBytes(std::string_view text, int32_t count);
// Appends the UTF-8 form of code point `cp` (at most U+10FFFF).
void AppendUtf8(uint32_t cp, std::string& out);

}  // namespace app
