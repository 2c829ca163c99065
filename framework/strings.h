// Text conversions between the framework's wide strings (UTF-16 on Windows)
// and UTF-8, which the core and stored descriptions use.
#pragma once

#include <string>
#include <string_view>

namespace fw {

// Invalid UTF-8 sequences become U+FFFD.
std::wstring Utf8ToWide(std::string_view text);
// Unpaired surrogates become U+FFFD.
std::string WideToUtf8(std::wstring_view text);

}  // namespace fw
