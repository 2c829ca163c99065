#include "framework/strings.h"

#include "unicode/utf8.h"

namespace fw {

std::wstring Utf8ToWide(std::string_view text) {
  return unicode::Utf8ToWide(text);
}

std::string WideToUtf8(std::wstring_view text) {
  return unicode::WideToUtf8(text);
}

}  // namespace fw
