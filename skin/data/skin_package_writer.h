// Writing skin packages (for tools and tests; the engine only reads them).
//
//   std::vector<skin::TSkinPackageEntry> entries = {{"skin.ini", ini_bytes},
//                                                   {"buttons.bmp", bmp_bytes}};
//   std::vector<uint8_t> file = skin::WriteSkinPackage(entries);  // a .skn file
//
// BuildSkinPackage gives the unpacked layout (version, name-list length, two
// zero words, the names joined by CR LF, the sizes, the data);
// CompressSkinPackage prefixes the unpacked size and LZHUF-compresses it.
// Names must not contain CR, LF or NUL (std::invalid_argument).
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace skin {

struct TSkinPackageEntry {
  std::string Name;
  std::vector<uint8_t> Data;
};

std::vector<uint8_t> BuildSkinPackage(const std::vector<TSkinPackageEntry>& entries,
                                      int32_t version = 20000);
std::vector<uint8_t> CompressSkinPackage(std::span<const uint8_t> unpacked);
std::vector<uint8_t> WriteSkinPackage(const std::vector<TSkinPackageEntry>& entries,
                                      int32_t version = 20000);

}  // namespace skin
