#include "app/text_encoding.h"

#include <cstdint>

#include "unicode/utf8.h"

namespace app {

namespace {

// Unicode code points of Windows-1252 bytes 0x80..0x9F (0 where undefined:
// those bytes map to the C1 control with the same value, as Windows does).
constexpr uint16_t kHigh[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

}  // namespace

bool Utf8ToWin1252(std::string_view utf8, std::string& out) {
  out.clear();
  out.reserve(utf8.size());
  size_t i = 0;
  while (i < utf8.size()) {
    char32_t cp;
    if (!unicode::TryDecodeUtf8(utf8, i, cp)) return false;
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
      out.push_back(static_cast<char>(cp));
      continue;
    }
    bool found = false;
    for (int k = 0; k < 32; ++k) {
      if ((kHigh[k] != 0 && kHigh[k] == cp) || (kHigh[k] == 0 && cp == 0x80u + k)) {
        out.push_back(static_cast<char>(0x80 + k));
        found = true;
        break;
      }
    }
    if (!found) return false;
  }
  return true;
}

void Win1252ToUtf8(std::string_view bytes, std::string& out) {
  out.clear();
  out.reserve(bytes.size());
  for (char ch : bytes) {
    const auto c = static_cast<unsigned char>(ch);
    if (c < 0x80) {
      out.push_back(ch);
    } else if (c < 0xA0) {
      unicode::AppendUtf8(kHigh[c - 0x80] != 0 ? kHigh[c - 0x80] : c, out);
    } else {
      unicode::AppendUtf8(c, out);
    }
  }
}

}  // namespace app
