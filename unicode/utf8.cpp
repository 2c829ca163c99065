#include "unicode/utf8.h"

#include <cstdint>
#include <type_traits>

namespace unicode {

namespace {

struct TSequence {
  char32_t cp;
  size_t length;  // of the sequence, or of the malformed part
  bool valid;
};

// The sequence at text[i], after the table of well-formed byte sequences in
// the Unicode standard: the lead byte fixes the length and the range its
// second byte may take (narrower after E0, ED, F0 and F4, which is what
// keeps out overlong forms, surrogates and values above U+10FFFF); later
// bytes are continuation bytes 80..BF. A malformed part ends before the
// first byte that does not fit, so it is never empty and never swallows a
// byte that may start the next character.
TSequence Sequence(std::string_view text, size_t i) {
  const auto lead = static_cast<unsigned char>(text[i]);
  if (lead < 0x80) return {lead, 1, true};
  size_t length;
  unsigned char low = 0x80, high = 0xBF;  // the second byte's range
  char32_t cp;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    cp = lead & 0x1Fu;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    cp = lead & 0x0Fu;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    cp = lead & 0x07u;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return {kReplacementCharacter, 1, false};
  }
  for (size_t k = 1; k < length; ++k) {
    if (i + k >= text.size()) return {kReplacementCharacter, k, false};
    const auto c = static_cast<unsigned char>(text[i + k]);
    if (c < (k == 1 ? low : 0x80) || c > (k == 1 ? high : 0xBF)) {
      return {kReplacementCharacter, k, false};
    }
    cp = (cp << 6) | (c & 0x3Fu);
  }
  return {cp, length, true};
}

// Code units to UTF-8: 16-bit units pair surrogates, wider units are code
// points.
template <class Unit>
void AppendUnitsAsUtf8(std::basic_string_view<Unit> text, std::string& out) {
  using Unsigned = std::make_unsigned_t<Unit>;
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t cp = static_cast<Unsigned>(text[i]);
    if constexpr (sizeof(Unit) == 2) {
      if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size()) {
        const char32_t low = static_cast<Unsigned>(text[i + 1]);
        if (low >= 0xDC00 && low <= 0xDFFF) {
          cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
          ++i;
        }
      }
    }
    AppendUtf8(cp, out);
  }
}

}  // namespace

char32_t DecodeUtf8(std::string_view text, size_t& i) {
  const TSequence s = Sequence(text, i);
  i += s.length;
  return s.cp;
}

bool TryDecodeUtf8(std::string_view text, size_t& i, char32_t& cp) {
  const TSequence s = Sequence(text, i);
  if (!s.valid) return false;
  cp = s.cp;
  i += s.length;
  return true;
}

bool IsValidUtf8(std::string_view text) {
  size_t i = 0;
  while (i < text.size()) {
    if (static_cast<unsigned char>(text[i]) < 0x80) {
      ++i;
      continue;
    }
    const TSequence s = Sequence(text, i);
    if (!s.valid) return false;
    i += s.length;
  }
  return true;
}

void AppendUtf8(char32_t cp, std::string& out) {
  if ((cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) cp = kReplacementCharacter;
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

size_t CountUtf8Characters(std::string_view text) {
  size_t count = 0;
  for (size_t i = 0; i < text.size(); ++count) {
    i += static_cast<unsigned char>(text[i]) < 0x80 ? 1 : Sequence(text, i).length;
  }
  return count;
}

size_t Utf8PrefixBytes(std::string_view text, size_t count) {
  // Every character takes at least one byte.
  if (text.size() <= count) return text.size();
  size_t i = 0;
  for (size_t seen = 0; seen < count && i < text.size(); ++seen) {
    i += static_cast<unsigned char>(text[i]) < 0x80 ? 1 : Sequence(text, i).length;
  }
  return i;
}

std::wstring Utf8ToWide(std::string_view text) {
  std::wstring out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    char32_t cp = DecodeUtf8(text, i);
    if constexpr (sizeof(wchar_t) == 2) {
      if (cp >= 0x10000) {
        cp -= 0x10000;
        out.push_back(static_cast<wchar_t>(0xD800 + (cp >> 10)));
        out.push_back(static_cast<wchar_t>(0xDC00 + (cp & 0x3FF)));
        continue;
      }
    }
    out.push_back(static_cast<wchar_t>(cp));
  }
  return out;
}

std::string WideToUtf8(std::wstring_view text) {
  std::string out;
  out.reserve(text.size());
  AppendUnitsAsUtf8(text, out);
  return out;
}

void AppendUtf16AsUtf8(std::u16string_view text, std::string& out) {
  AppendUnitsAsUtf8(text, out);
}

}  // namespace unicode
