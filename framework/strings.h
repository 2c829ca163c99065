// Text conversions between the framework's wide strings (UTF-16 on Windows)
// and UTF-8, which the core and stored descriptions use. Both go through the
// one codec of unicode/utf8.h and follow its rule for malformed input.
#pragma once

#include <string>
#include <string_view>

namespace fw {

// Each maximal ill-formed part of the UTF-8 text becomes one U+FFFD.
std::wstring Utf8ToWide(std::string_view text);
// Unpaired surrogates become U+FFFD.
std::string WideToUtf8(std::wstring_view text);

}  // namespace fw
