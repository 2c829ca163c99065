// A damaged compressed skin package must never read or write outside its
// buffers: decode, load and extract every entry.
#include <cstddef>
#include <cstdint>

#include "skin/data/lzh.h"
#include "skin/data/skin_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Declared sizes above 1 MiB only cost time: the reader's own limits for
  // them are covered by the tests.
  if (size >= 4 && (data[3] != 0 || data[2] > 0x10)) return 0;
  skin::TMemoryStream stream(std::vector<uint8_t>(data, data + size));
  skin::TSkinReader reader([](const std::string&) {});
  try {
    if (!reader.LoadPackage(stream)) return 0;
  } catch (const skin::ESkinPackageError&) {
    return 0;
  } catch (const skin::ElzhException&) {
    return 0;
  }
  skin::TMemoryStream entry;
  for (const auto& name : reader.Names())
    reader.ExtractEntry(name, entry);
  std::string found;
  reader.ExtractEntryContaining(".ini", entry, found);
  return 0;
}
