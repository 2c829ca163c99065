#include "app/text_encoding.h"

namespace app {

namespace {

// Unicode code points of Windows-1252 bytes 0x80..0x9F (0 where undefined:
// those bytes map to the C1 control with the same value, as Windows does).
constexpr uint16_t kHigh[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// Decodes one code point at `i` (advanced past it); false if malformed.
bool DecodeUtf8(std::string_view s, size_t& i, uint32_t& cp) {
  const auto c = static_cast<unsigned char>(s[i]);
  int extra;
  uint32_t min;
  if (c < 0x80) {
    cp = c;
    ++i;
    return true;
  } else if ((c & 0xE0) == 0xC0) {
    extra = 1, cp = c & 0x1F, min = 0x80;
  } else if ((c & 0xF0) == 0xE0) {
    extra = 2, cp = c & 0x0F, min = 0x800;
  } else if ((c & 0xF8) == 0xF0) {
    extra = 3, cp = c & 0x07, min = 0x10000;
  } else {
    return false;
  }
  if (s.size() - i <= static_cast<size_t>(extra)) return false;
  for (int k = 1; k <= extra; ++k) {
    const auto d = static_cast<unsigned char>(s[i + static_cast<size_t>(k)]);
    if ((d & 0xC0) != 0x80) return false;
    cp = (cp << 6) | (d & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
  i += static_cast<size_t>(extra) + 1;
  return true;
}

}  // namespace

void AppendUtf8(uint32_t cp, std::string& out) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

bool IsValidUtf8(std::string_view text) {
  size_t i = 0;
  uint32_t cp;
  while (i < text.size()) {
    if (static_cast<unsigned char>(text[i]) < 0x80) {
      ++i;
      continue;
    }
    if (!DecodeUtf8(text, i, cp)) return false;
  }
  return true;
}

bool Utf8ToWin1252(std::string_view utf8, std::string& out) {
  out.clear();
  out.reserve(utf8.size());
  size_t i = 0;
  while (i < utf8.size()) {
    uint32_t cp;
    if (!DecodeUtf8(utf8, i, cp)) return false;
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
      AppendUtf8(kHigh[c - 0x80] != 0 ? kHigh[c - 0x80] : c, out);
    } else {
      AppendUtf8(c, out);
    }
  }
}

size_t Utf8PrefixBytes(std::string_view text, int32_t count) {
  if (count < 0) count = 0;
  if (text.size() <= static_cast<size_t>(count)) return text.size();
  int32_t seen = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
      if (seen == count) return i;
      ++seen;
    }
  }
  return text.size();
}

}  // namespace app
