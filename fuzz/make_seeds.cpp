// Writes seed inputs for the fuzz targets into the folder given: a sample
// skin package (compressed and unpacked), its description and bitmaps.
#include <filesystem>
#include <fstream>
#include <iostream>

#include "skin/data/lzh_encoder.h"
#include "skin/data/skin_package_writer.h"
#include "tests/skin/data/sample_skin.h"

namespace fs = std::filesystem;

static void Put(const fs::path& path, const std::vector<uint8_t>& bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream f(path, std::ios::binary);
  f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: make_seeds DIR\n";
    return 2;
  }
  const fs::path dir = argv[1];
  const auto entries = skin::testing::SampleEntries();
  // Small packages keep the decoder fast enough for many runs per second.
  Put(dir / "skin_package" / "sample.skn",
      skin::WriteSkinPackage({entries.begin(), entries.begin() + 4}));
  Put(dir / "skin_package" / "small.skn",
      skin::WriteSkinPackage({{"a.ini", {'[', 'x', ']'}}, {"b.bmp", {'B', 'M'}}}));
  // The load target gets smaller packages: the description and a few images.
  std::vector<skin::TSkinPackageEntry> small(entries.begin(), entries.begin() + 4);
  Put(dir / "load_skin" / "sample.pkg", skin::BuildSkinPackage(small));
  Put(dir / "load_skin" / "ini_only.pkg", skin::BuildSkinPackage({entries[0]}));
  Put(dir / "quick_ini" / "sample.ini", entries[0].Data);
  const std::vector<uint8_t> text(entries[0].Data.begin(), entries[0].Data.begin() + 600);
  auto lzh = skin::LzhEncode(text);
  lzh.insert(lzh.begin(), {static_cast<uint8_t>(600 & 0xFF), static_cast<uint8_t>(600 >> 8)});
  Put(dir / "lzh" / "text.lzh", lzh);
  for (size_t i = 1; i < entries.size() && i < 8; i++) {
    Put(dir / "bmp" / entries[i].Name, entries[i].Data);
  }
  return 0;
}
