// The package reader on name lists. The input is the list, placed in an
// otherwise valid package (version 20000, a zero size for each of up to 1,001
// names, no data). Whatever the list, reading it may take no more heap than a
// small multiple of the package: names past the entry limit, however many
// line breaks the list holds, must cost nothing.
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "fuzz/heap_limit.h"
#include "skin/data/lzh_encoder.h"
#include "skin/data/skin_reader.h"

namespace {
void PutLe32(std::vector<uint8_t>& out, uint32_t v) {
  for (int i = 0; i < 4; i++)
    out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<uint8_t> unpacked;
  PutLe32(unpacked, skin::TSkinReader::kVersion);
  PutLe32(unpacked, static_cast<uint32_t>(size));
  PutLe32(unpacked, 0);
  PutLe32(unpacked, 0);
  unpacked.insert(unpacked.end(), data, data + size);
  unpacked.resize(unpacked.size() + 4 * skin::TSkinReader::kMaxEntries, 0);
  // Written as literals only: much quicker than searching for matches, and
  // the reader decodes it all the same.
  skin::TLzhSymbolWriter writer;
  for (const uint8_t byte : unpacked)
    writer.Literal(byte);
  std::vector<uint8_t> compressed;
  PutLe32(compressed, static_cast<uint32_t>(unpacked.size()));
  const std::vector<uint8_t> bits = writer.Finish();
  compressed.insert(compressed.end(), bits.begin(), bits.end());
  skin::TMemoryStream stream(std::move(compressed));

  skin::TSkinReader reader([](const std::string&) {});
  {
    const fuzz::THeapLimit limit(4 * unpacked.size() + 48 * 1024);
    try {
      if (!reader.LoadPackage(stream)) return 0;
    } catch (const skin::ESkinPackageError&) {
      return 0;
    }
  }
  // A few lookups: each one walks the list, so all of them would only cost
  // time (at most 1,001 squared comparisons).
  skin::TMemoryStream entry;
  for (size_t i = 0; i < reader.Names().size() && i < 16; i++)
    reader.ExtractEntry(reader.Names()[reader.Names().size() - 1 - i], entry);
  std::string found;
  reader.ExtractEntryContaining(".ini", entry, found);
  return 0;
}
