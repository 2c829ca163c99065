#include "skin/data/skin_package_writer.h"

#include <limits>
#include <stdexcept>

#include "skin/data/lzh_encoder.h"

namespace skin {

namespace {
void PutLe32(std::vector<uint8_t>& out, uint32_t v) {
  for (int i = 0; i < 4; i++)
    out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
}  // namespace

std::vector<uint8_t> BuildSkinPackage(const std::vector<TSkinPackageEntry>& entries,
                                      int32_t version) {
  std::string list;
  for (size_t i = 0; i < entries.size(); i++) {
    if (entries[i].Name.find_first_of(std::string("\r\n\0", 3)) != std::string::npos) {
      throw std::invalid_argument("skin package entry name holds a line break or NUL: " +
                                  entries[i].Name);
    }
    if (i > 0) list += "\r\n";
    list += entries[i].Name;
  }
  std::vector<uint8_t> out;
  PutLe32(out, static_cast<uint32_t>(version));
  PutLe32(out, static_cast<uint32_t>(list.size()));
  PutLe32(out, 0);
  PutLe32(out, 0);
  out.insert(out.end(), list.begin(), list.end());
  for (const auto& e : entries) {
    if (e.Data.size() > static_cast<size_t>(std::numeric_limits<int32_t>::max())) {
      throw std::invalid_argument("skin package entry too large: " + e.Name);
    }
    PutLe32(out, static_cast<uint32_t>(e.Data.size()));
  }
  for (const auto& e : entries)
    out.insert(out.end(), e.Data.begin(), e.Data.end());
  return out;
}

std::vector<uint8_t> CompressSkinPackage(std::span<const uint8_t> unpacked) {
  if (unpacked.size() > static_cast<size_t>(std::numeric_limits<int32_t>::max())) {
    throw std::invalid_argument("skin package too large");
  }
  std::vector<uint8_t> out;
  PutLe32(out, static_cast<uint32_t>(unpacked.size()));
  const auto bits = LzhEncode(unpacked);
  out.insert(out.end(), bits.begin(), bits.end());
  return out;
}

std::vector<uint8_t> WriteSkinPackage(const std::vector<TSkinPackageEntry>& entries,
                                      int32_t version) {
  return CompressSkinPackage(BuildSkinPackage(entries, version));
}

}  // namespace skin
