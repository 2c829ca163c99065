#include "skin/data/quick_ini.h"

#include "skin/data/skin_reader.h"

namespace skin {

namespace {

bool IsHeader(const std::string& line) {
  return line.size() >= 2 && line.front() == '[' && line.back() == ']';
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::string TQuickIni::Trim(const std::string& s) {
  size_t b = 0, e = s.size();
  while (b < e && static_cast<unsigned char>(s[b]) <= 32)
    b++;
  while (e > b && static_cast<unsigned char>(s[e - 1]) <= 32)
    e--;
  return s.substr(b, e - b);
}

void TQuickIni::LoadFromStream(TMemoryStream* stream) {
  if (stream == nullptr) return;
  std::string text;
  if (stream->Position() < stream->Size()) {
    text.resize(stream->Size() - stream->Position());
    stream->Read(text.data(), text.size());
  }
  lines_.clear();
  sections_.clear();
  size_t i = 0;
  const size_t n = text.size();
  while (i < n && text[i] != '\0') {
    const size_t start = i;
    while (i < n && text[i] != '\r' && text[i] != '\n' && text[i] != '\0')
      i++;
    std::string line = Trim(text.substr(start, i - start));
    if (!line.empty() && line[0] != ';') {
      lines_.push_back(line);
      if (IsHeader(line)) sections_.emplace_back(line, static_cast<int>(lines_.size()) - 1);
    }
    if (i < n && text[i] == '\r') i++;
    if (i < n && text[i] == '\n') i++;
  }
  BuildIndex();
}

void TQuickIni::BuildIndex() {
  index_.clear();
  // Lines before the first header, and the lines of a section whose name came
  // earlier, are never looked up.
  TSectionIndex* current = nullptr;
  for (size_t i = 0; i < lines_.size(); i++) {
    const std::string& line = lines_[i];
    if (IsHeader(line)) {
      const auto [it, first] = index_.try_emplace(AsciiLower(line));
      current = first ? &it->second : nullptr;
      if (current) current->line = static_cast<int>(i);
      continue;
    }
    const size_t eq = line.find('=');
    if (current == nullptr || eq == std::string::npos) continue;
    current->keys.try_emplace(AsciiLower(Trim(line.substr(0, eq))), i);
  }
}

int TQuickIni::FindSection(const std::string& name) const {
  const auto it = index_.find(AsciiLower("[" + name + "]"));
  return it == index_.end() ? -1 : it->second.line;
}

std::string TQuickIni::ReadString(const std::string& section, const std::string& key,
                                  const std::string& default_value) const {
  const std::string wanted = AsciiLower(key);
  if (wanted.empty()) return default_value;
  const auto it = index_.find(AsciiLower("[" + section + "]"));
  if (it == index_.end()) return default_value;
  const auto found = it->second.keys.find(wanted);
  if (found == it->second.keys.end()) return default_value;
  const std::string& line = lines_[found->second];
  std::string value = Trim(line.substr(line.find('=') + 1));
  return value.empty() ? default_value : value;
}

std::optional<int32_t> TQuickIni::ParseInteger(std::string s) {
  if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
    s.erase(0, 1);
    s[0] = '$';
  }
  size_t i = 0;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  if (i >= s.size()) return std::nullopt;
  int64_t value = 0;
  if (s[i] == '$') {
    if (++i >= s.size()) return std::nullopt;
    uint64_t bits = 0;
    for (; i < s.size(); i++) {
      const int d = HexDigit(s[i]);
      if (d < 0) return std::nullopt;
      bits = (bits << 4) | static_cast<uint64_t>(d);
      if (bits > 0xFFFFFFFFu) return std::nullopt;
    }
    // The digits are a 32-bit pattern: $FFFFFFFF is -1.
    value = static_cast<int32_t>(static_cast<uint32_t>(bits));
    if (negative) value = static_cast<int32_t>(0u - static_cast<uint32_t>(value));
    return static_cast<int32_t>(value);
  }
  for (; i < s.size(); i++) {
    if (s[i] < '0' || s[i] > '9') return std::nullopt;
    value = value * 10 + (s[i] - '0');
    if (value > int64_t{2147483648}) return std::nullopt;
  }
  if (negative) value = -value;
  if (value > 2147483647) return std::nullopt;
  return static_cast<int32_t>(value);
}

int32_t TQuickIni::ReadInteger(const std::string& section, const std::string& key,
                               int32_t default_value) const {
  return ParseInteger(ReadString(section, key, "")).value_or(default_value);
}

void TQuickIni::ReadSections(std::vector<std::string>& list) const {
  list.clear();
  for (const auto& entry : sections_) {
    const std::string t = Trim(entry.first);
    list.push_back(Trim(t.size() >= 2 ? t.substr(1, t.size() - 2) : std::string()));
  }
}

}  // namespace skin
