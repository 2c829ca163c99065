// Writes seed inputs for the fuzz targets into the folder given: a sample
// skin package (compressed and unpacked), its description and bitmaps, and
// hand-made .xls workbooks with the records the corpus files lack.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "skin/data/lzh_encoder.h"
#include "skin/data/skin_package_writer.h"
#include "tests/app/workbook/xls_builder.h"
#include "tests/skin/data/sample_skin.h"

namespace fs = std::filesystem;

static void PutFile(const fs::path& path, const std::string& bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
}

// A shared-string table cut into tiny CONTINUE records, cells of every kind
// (BIFF8), and a Mac Roman BIFF5 sheet with rich text.
static void PutXlsSeeds(const fs::path& dir) {
  using namespace xls_test;
  TBook biff8;
  biff8.globals = TSstWriter(3).Table({{u"código", 2}, {u"日本語", 0, 4}, {u""}});
  biff8.sheets.push_back(
      {biff8.Name("Um"),
       Number(0, 0, 1.5) + Rk(0, 1, 0x3FF00001) + LabelSst(1, 0, 0) + LabelSst(1, 1, 1) +
           Blank(9, 4) +
           Record(0x00BD, U16(2) + U16(0) + U16(15) + U32(6) + U16(15) + U32(10) + U16(1))});
  biff8.sheets.push_back({biff8.Name("Grafico"), "", 2});
  PutFile(dir / "biff8.xls", CompoundFile("Workbook", biff8.Stream()));
  TBook biff5;
  biff5.biff8 = false;
  biff5.code_page = 10000;
  biff5.sheets.push_back(
      {"Gr\x9A\xA7"
       "e",
       Record(0x00D6, Place(0, 0) + U16(3) + "ol\x87" + "\x01" + U16(0) + U16(1)) +
           Record(0x0204, Place(1, 0) + U16(2) + "\x8D\x8B")});
  PutFile(dir / "biff5.xls", CompoundFile("Book", biff5.Stream()));
}

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
  // Records of the painting target (section, key, value; see its indices):
  // none, which paints the sample skin as it is, and a few ordinary values.
  Put(dir / "skin_paint" / "none.bin", {});
  Put(dir / "skin_paint" / "records.bin",
      {1, 0, 12, 0, 0, 0, 14, 4, 1, 0, 0, 0, 5, 28, 3, 0, 0, 0, 5, 2, 4, 0, 0, 0});
  // Name lists: the sample's, and the longest a package may hold, with names
  // and with empty names (one line break each).
  std::string names;
  for (const auto& e : entries)
    names += e.Name + "\r\n";
  Put(dir / "skin_names" / "sample.txt", {names.begin(), names.end()});
  names.clear();
  for (int i = 0; i < 1001; i++)
    names += "e" + std::to_string(i) + "\r\n";
  Put(dir / "skin_names" / "longest.txt", {names.begin(), names.end()});
  Put(dir / "skin_names" / "empty_names.txt", std::vector<uint8_t>(1001, '\n'));
  const std::vector<uint8_t> text(entries[0].Data.begin(), entries[0].Data.begin() + 600);
  auto lzh = skin::LzhEncode(text);
  lzh.insert(lzh.begin(), {static_cast<uint8_t>(600 & 0xFF), static_cast<uint8_t>(600 >> 8)});
  Put(dir / "lzh" / "text.lzh", lzh);
  for (size_t i = 1; i < entries.size() && i < 8; i++) {
    Put(dir / "bmp" / entries[i].Name, entries[i].Data);
  }
  PutXlsSeeds(dir / "xls_stream");
  return 0;
}
