// UTF-8, the text of every string in the program, and its one codec:
// decoding, validating, encoding, counting characters, and converting to and
// from the wide strings of Win32 (UTF-16; UTF-32 where wchar_t has 32 bits).
//
//   std::string s;
//   unicode::AppendUtf8(U'\u00e9', s);                       // "é"
//   for (size_t i = 0; i < s.size();) use(unicode::DecodeUtf8(s, i));
//   if (!unicode::IsValidUtf8(bytes)) ...;                    // take another code page
//
// Malformed input has one rule everywhere. Well-formed UTF-8 is what Unicode
// defines: no overlong form, no encoded surrogate (U+D800..U+DFFF), nothing
// above U+10FFFF (so never the bytes C0, C1 or F5..FF), no sequence cut
// short, no continuation byte on its own.
//   - Decoding for display and counting never fail: each maximal ill-formed
//     part (a bad byte, or the longest start of a sequence that cannot be
//     completed) is one character, U+FFFD. "\xE2\x82" followed by "A" gives
//     U+FFFD then "A"; "\xC0\xAF" gives two U+FFFD.
//   - Validation (IsValidUtf8, TryDecodeUtf8) rejects: callers that must not
//     store damaged text refuse it or take the bytes as another code page.
//   - Encoding writes U+FFFD for a value that is no character: a surrogate
//     code point, an unpaired UTF-16 surrogate, a value above U+10FFFF.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace unicode {

inline constexpr char32_t kReplacementCharacter = U'\uFFFD';

// The character at text[i] (i < text.size()), moving i past it; a malformed
// part gives U+FFFD and moves i past that part.
char32_t DecodeUtf8(std::string_view text, size_t& i);
// The character at text[i], moving i past it; false, i unchanged, when a
// malformed part starts there.
bool TryDecodeUtf8(std::string_view text, size_t& i, char32_t& cp);
bool IsValidUtf8(std::string_view text);

// Appends the UTF-8 form of `cp`.
void AppendUtf8(char32_t cp, std::string& out);

// Characters as decoding counts them.
size_t CountUtf8Characters(std::string_view text);
// Byte length of the first `count` characters of `text`.
size_t Utf8PrefixBytes(std::string_view text, size_t count);

std::wstring Utf8ToWide(std::string_view text);
std::string WideToUtf8(std::wstring_view text);
// Appends UTF-16 text as UTF-8 (a surrogate pair is one character).
void AppendUtf16AsUtf8(std::u16string_view text, std::string& out);

}  // namespace unicode
