// The skin description reader on arbitrary text, with lookups of the
// sections and keys it finds.
#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "skin/data/quick_ini.h"
#include "skin/data/skin_elements.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  skin::TMemoryStream stream(std::vector<uint8_t>(data, data + size));
  skin::TQuickIni ini;
  ini.LoadFromStream(&stream);
  std::vector<std::string> sections;
  ini.ReadSections(sections);
  // A bounded number of lookups keeps each input fast.
  const size_t lines = std::min<size_t>(ini.Lines().size(), 64);
  for (size_t i = 0; i < lines; i++) {
    const std::string& line = ini.Lines()[i];
    const auto eq = line.find('=');
    const std::string key = eq == std::string::npos ? line : line.substr(0, eq);
    for (size_t j = 0; j < sections.size() && j < 8; j++) {
      const std::string& s = sections[j];
      const std::string value = ini.ReadString(s, key, "");
      ini.ReadInteger(s, key, 0);
      skin::ParseSkinColour(value, 0);
    }
  }
  return 0;
}
