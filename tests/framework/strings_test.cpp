#include "framework/strings.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(FrameworkStrings, IllFormedUtf8ShowsAsReplacementCharacters) {
  struct Case {
    const char* what;
    std::string utf8;
    std::wstring wide;
  };
  const Case kCases[] = {
      {"well-formed", "Jo\xC3\xA3o \xE2\x82\xAC", L"Jo\u00e3o \u20ac"},
      {"overlong", "<\xC0\xBC>", L"<\uFFFD\uFFFD>"},
      {"encoded surrogate", "\xED\xB2\x80!", L"\uFFFD\uFFFD\uFFFD!"},
      {"cut short",
       "\xE2\x82"
       "a\xF0\x9F\x98",
       L"\uFFFDa\uFFFD"},
      {"above U+10FFFF and past F4", "\xF4\x90\x80\x80\xF7", L"\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD"},
  };
  for (const Case& c : kCases)
    EXPECT_EQ(fw::Utf8ToWide(c.utf8), c.wide) << c.what;
}

TEST(FrameworkStrings, WideTextBackToUtf8) {
  EXPECT_EQ(fw::WideToUtf8(fw::Utf8ToWide("a\xF0\x9F\x98\x80z")), "a\xF0\x9F\x98\x80z");
  const std::wstring unpaired = {static_cast<wchar_t>(0xD800), L'x'};
  EXPECT_EQ(fw::WideToUtf8(unpaired), "\xEF\xBF\xBDx");
}

}  // namespace
