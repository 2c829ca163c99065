// UTF-16 text as a file holds it, for the readers' tests: little- or
// big-endian, with or without a byte-order mark.
#pragma once

#include <string>
#include <string_view>

#include "unicode/utf8.h"

namespace app_test {

inline std::string Utf16Bytes(std::u16string_view text, bool little_endian, bool mark = true) {
  std::string out;
  if (mark) out = little_endian ? "\xFF\xFE" : "\xFE\xFF";
  for (char16_t unit : text) {
    const char low = static_cast<char>(unit & 0xFF), high = static_cast<char>(unit >> 8);
    out.push_back(little_endian ? low : high);
    out.push_back(little_endian ? high : low);
  }
  return out;
}

// The same from UTF-8 text.
inline std::string Utf8AsUtf16Bytes(std::string_view utf8, bool little_endian) {
  std::u16string units;
  for (size_t i = 0; i < utf8.size();) {
    const char32_t cp = unicode::DecodeUtf8(utf8, i);
    if (cp >= 0x10000) {
      units.push_back(static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10)));
      units.push_back(static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF)));
    } else {
      units.push_back(static_cast<char16_t>(cp));
    }
  }
  return Utf16Bytes(units, little_endian);
}

}  // namespace app_test
