#include "app/workbook/excel_escapes.h"

#include <cstdint>

#include "unicode/utf8.h"

namespace app {

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// True when text[at..] starts with an escape "_xHHHH_"; its code unit in
// `unit`.
bool EscapeAt(const std::string& text, size_t at, uint32_t& unit) {
  constexpr size_t kLength = 7;
  if (text.size() - at < kLength || text[at] != '_' || text[at + 1] != 'x' || text[at + 6] != '_') {
    return false;
  }
  unit = 0;
  for (size_t k = at + 2; k < at + 6; ++k) {
    const int digit = HexDigit(text[k]);
    if (digit < 0) return false;
    unit = unit * 16 + static_cast<uint32_t>(digit);
  }
  return true;
}

}  // namespace

bool DecodeExcelEscapes(std::string& text, size_t from) {
  size_t in = text.find("_x", from);
  if (in == std::string::npos) return true;
  size_t out = in;
  std::string character;
  while (in < text.size()) {
    uint32_t unit = 0;
    if (!EscapeAt(text, in, unit)) {
      text[out++] = text[in++];
      continue;
    }
    in += 7;
    if (unit == 0) return false;
    char32_t cp = unit;
    if (unit >= 0xD800 && unit <= 0xDBFF) {
      uint32_t low = 0;
      if (EscapeAt(text, in, low) && low >= 0xDC00 && low <= 0xDFFF) {
        cp = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
        in += 7;
      }
    }
    // A surrogate left on its own is written as U+FFFD by the encoder.
    character.clear();
    unicode::AppendUtf8(cp, character);
    text.replace(out, character.size(), character);
    out += character.size();
  }
  text.resize(out);
  return true;
}

}  // namespace app
