#include "skin/data/skin_elements.h"

#include <optional>

#include "skin/data/quick_ini.h"

namespace skin {

namespace {
// A run of decimal digits as a signed 32-bit number, or nothing on overflow.
std::optional<int32_t> RunValue(const std::string& run) {
  int64_t v = 0;
  for (char c : run) {
    v = v * 10 + (c - '0');
    if (v > INT32_MAX) return std::nullopt;
  }
  return static_cast<int32_t>(v);
}
}  // namespace

TColour ParseSkinColour(const std::string& text, TColour default_colour) {
  if (text.empty()) return default_colour;
  const std::string s = TQuickIni::Trim(text);
  int32_t numbers[3] = {0, 0, 0};
  int stored = 0;
  std::string run;
  for (char c : s) {
    if (c >= '0' && c <= '9') {
      run += c;
      continue;
    }
    if (run.empty()) continue;
    // A run too large to convert is kept, so later digits join it and no
    // later number is stored.
    const auto value = RunValue(run);
    if (!value) continue;
    if (stored < 3) numbers[stored++] = *value;
    run.clear();
  }
  if (!run.empty() && stored == 2) {
    if (const auto value = RunValue(run)) numbers[stored++] = *value;
  }
  return (static_cast<uint32_t>(numbers[0]) & 0xFF) |
         ((static_cast<uint32_t>(numbers[1]) & 0xFF) << 8) |
         ((static_cast<uint32_t>(numbers[2]) & 0xFF) << 16);
}

}  // namespace skin
