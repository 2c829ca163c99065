#include "framework/string_list.h"

namespace fw {

const TClassInfo& TStrings::StaticClassInfo() {
  static const TClassInfo info = TClassBuilder<TStrings>("TStrings", TPersistent::StaticClassInfo())
                                     .Str("Text", &TStrings::Text, &TStrings::SetText)
                                     .Build();
  return info;
}

void TStrings::Assign(const TPersistent& source) {
  const auto* s = dynamic_cast<const TStrings*>(&source);
  if (s == nullptr) return TPersistent::Assign(source);
  Clear();
  for (int i = 0; i < s->Count(); ++i)
    Add(s->Strings(i));
}

int TStrings::IndexOf(const std::wstring& s) const {
  for (int i = 0; i < Count(); ++i) {
    if (Strings(i) == s) return i;
  }
  return -1;
}

std::wstring TStrings::Text() const {
  std::wstring out;
  for (int i = 0; i < Count(); ++i)
    out += Strings(i) + L"\r\n";
  return out;
}

void TStrings::SetText(const std::wstring& text) {
  Clear();
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find_first_of(L"\r\n", start);
    if (end == std::wstring::npos) end = text.size();
    Add(text.substr(start, end - start));
    if (end < text.size() && text[end] == L'\r' && end + 1 < text.size() &&
        text[end + 1] == L'\n') {
      ++end;
    }
    start = end + 1;
  }
}

const TClassInfo& TStringList::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TStringList>("TStringList", TStrings::StaticClassInfo()).Build();
  return info;
}

int TStringList::Add(const std::wstring& s) {
  items_.push_back(s);
  Changed();
  return static_cast<int>(items_.size()) - 1;
}

void TStringList::Delete(int index) {
  if (index < 0 || index >= Count()) throw Exception("List index out of bounds");
  items_.erase(items_.begin() + index);
  Changed();
}

void TStringList::Clear() {
  items_.clear();
  Changed();
}

}  // namespace fw
