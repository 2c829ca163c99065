#include "unicode/utf8.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace {

std::u32string DecodeAll(std::string_view text) {
  std::u32string out;
  for (size_t i = 0; i < text.size();)
    out.push_back(unicode::DecodeUtf8(text, i));
  return out;
}

std::string Hex(std::string_view bytes) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string out;
  for (char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    out += {kDigits[b >> 4], kDigits[b & 15], ' '};
  }
  return out;
}

constexpr char32_t R = unicode::kReplacementCharacter;

TEST(Utf8, WellFormedTextDecodesValidatesAndRoundTrips) {
  const std::u32string chars = {U'A',      U'\u00e7',     U'\u00e3',     U'\u0800',     U'\u20ac',
                                U'\uFFFD', U'\U00010000', U'\U0001F600', U'\U0010FFFF', U'\0'};
  std::string text;
  for (char32_t c : chars)
    unicode::AppendUtf8(c, text);
  EXPECT_EQ(text, std::string("A\xC3\xA7\xC3\xA3\xE0\xA0\x80\xE2\x82\xAC\xEF\xBF\xBD"
                              "\xF0\x90\x80\x80\xF0\x9F\x98\x80\xF4\x8F\xBF\xBF") +
                      '\0');
  EXPECT_TRUE(unicode::IsValidUtf8(text));
  EXPECT_EQ(DecodeAll(text), chars);
  EXPECT_EQ(unicode::CountUtf8Characters(text), chars.size());
  EXPECT_EQ(unicode::Utf8PrefixBytes(text, 3), 5u);
  EXPECT_EQ(unicode::Utf8PrefixBytes(text, 100), text.size());
  EXPECT_EQ(unicode::WideToUtf8(unicode::Utf8ToWide(text)), text);
}

TEST(Utf8, EachMaximalIllFormedPartIsOneReplacementAndIsRefused) {
  // Ill-formed text and what decoding for display makes of it: one U+FFFD for
  // each maximal ill-formed part, the characters around it untouched.
  struct Malformed {
    const char* what;
    std::string_view bytes;
    std::u32string decoded;
  };
  const Malformed kMalformed[] = {
      {"overlong slash, two bytes", "\xC0\xAF", {R, R}},
      {"overlong, highest two-byte", "\xC1\xBF", {R, R}},
      {"overlong slash, three bytes", "\xE0\x80\xAF", {R, R, R}},
      {"overlong slash, four bytes", "\xF0\x80\x80\xAF", {R, R, R, R}},
      {"first high surrogate", "\xED\xA0\x80", {R, R, R}},
      {"last low surrogate", "\xED\xBF\xBF", {R, R, R}},
      {"surrogate pair, each encoded",
       "a\xED\xA0\xBD\xED\xB8\x80z",
       {U'a', R, R, R, R, R, R, U'z'}},
      {"two-byte sequence cut at the end", "a\xC3", {U'a', R}},
      {"three-byte sequence cut before a letter",
       "\xE2\x82"
       "A",
       {R, U'A'}},
      {"four-byte sequence cut at the end", "\xF0\x9F\x98", {R}},
      {"cut sequence before a whole one", "\xF0\x9F\xC3\xA9", {R, U'\u00e9'}},
      {"continuation byte on its own",
       "a\x80"
       "b\xBF",
       {U'a', R, U'b', R}},
      {"lead F4 above U+10FFFF", "\xF4\x90\x80\x80", {R, R, R, R}},
      {"lead F5", "\xF5\x80\x80\x80", {R, R, R, R}},
      {"lead F8, once a five-byte form", "\xF8\x88\x80\x80\x80", {R, R, R, R, R}},
      {"bytes FE and FF", "\xFE\xFF", {R, R}},
  };
  for (const Malformed& m : kMalformed) {
    SCOPED_TRACE(std::string(m.what) + ": " + Hex(m.bytes));
    EXPECT_FALSE(unicode::IsValidUtf8(m.bytes));
    EXPECT_EQ(DecodeAll(m.bytes), m.decoded);
    EXPECT_EQ(unicode::CountUtf8Characters(m.bytes), m.decoded.size());
    // The strict decoder stops at the first ill-formed part and leaves it there.
    size_t i = 0;
    char32_t cp = 0;
    size_t good = 0;
    while (unicode::TryDecodeUtf8(m.bytes, i, cp))
      ++good;
    ASSERT_LT(i, m.bytes.size());
    EXPECT_EQ(m.decoded[good], R);
  }
}

TEST(Utf8, PrefixesCountIllFormedPartsAsDisplayed) {
  const std::string_view text =
      "\xC0\xAF"
      "ab\xE2\x82"
      "c";  // R R a b R c
  const size_t expected[] = {0, 1, 2, 3, 4, 6, 7};
  for (size_t count = 0; count < std::size(expected); ++count)
    EXPECT_EQ(unicode::Utf8PrefixBytes(text, count), expected[count]) << count;
}

TEST(Utf8, WideStringsBothWays) {
  // Ill-formed UTF-8 becomes U+FFFD in the wide form too.
  EXPECT_EQ(unicode::Utf8ToWide("a\xE2\x82"
                                "b\xED\xA0\x80"),
            L"a\uFFFDb\uFFFD\uFFFD\uFFFD");
  const std::wstring astral = unicode::Utf8ToWide("\xF0\x9F\x98\x80");
  if constexpr (sizeof(wchar_t) == 2) {
    EXPECT_EQ(astral, std::wstring({static_cast<wchar_t>(0xD83D), static_cast<wchar_t>(0xDE00)}));
  } else {
    EXPECT_EQ(astral, std::wstring(1, static_cast<wchar_t>(0x1F600)));
  }
  // Unpaired surrogates and values beyond Unicode are no characters.
  const std::wstring lone = {L'x', static_cast<wchar_t>(0xDC00), static_cast<wchar_t>(0xD800)};
  EXPECT_EQ(unicode::WideToUtf8(lone), "x\xEF\xBF\xBD\xEF\xBF\xBD");

  std::string out;
  unicode::AppendUtf16AsUtf8(u"\u00e9\xD83D\xDE00\xDE00z", out);
  EXPECT_EQ(out, "\xC3\xA9\xF0\x9F\x98\x80\xEF\xBF\xBDz");
  out.clear();
  for (char32_t bad : {U'\xD800', U'\xDFFF', static_cast<char32_t>(0x110000)})
    unicode::AppendUtf8(bad, out);
  EXPECT_EQ(out, "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD");
}

}  // namespace
