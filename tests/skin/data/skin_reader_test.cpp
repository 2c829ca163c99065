#include "skin/data/skin_reader.h"

#include <gtest/gtest.h>

#include "skin/data/lzh_encoder.h"
#include "skin/data/skin_package_writer.h"

namespace skin {
namespace {

std::vector<uint8_t> Bytes(const std::string& s) {
  return {s.begin(), s.end()};
}
std::string Text(const TMemoryStream& s) {
  return {s.Data().begin(), s.Data().end()};
}

TMemoryStream Package(const std::vector<TSkinPackageEntry>& entries, int32_t version = 20000) {
  return TMemoryStream(WriteSkinPackage(entries, version));
}

// An unpacked package with a hand-written name list and size table.
TMemoryStream RawPackage(int32_t version, const std::string& list,
                         const std::vector<int32_t>& sizes, const std::string& data) {
  std::vector<uint8_t> u;
  auto put = [&](int32_t v) {
    for (int i = 0; i < 4; i++)
      u.push_back(static_cast<uint8_t>(static_cast<uint32_t>(v) >> (8 * i)));
  };
  put(version);
  put(static_cast<int32_t>(list.size()));
  put(0x12345678);  // skipped words may hold anything
  put(-1);
  u.insert(u.end(), list.begin(), list.end());
  for (int32_t s : sizes)
    put(s);
  u.insert(u.end(), data.begin(), data.end());
  return TMemoryStream(CompressSkinPackage(u));
}

TEST(SkinReaderTest, SplitsNameListsByTheLineRules) {
  struct Case {
    std::string list;
    std::vector<std::string> names;
  } cases[] = {
      {"A.INI\r\nb.bmp", {"a.ini", "b.bmp"}},
      {"a\rb\nc\r\nd", {"a", "b", "c", "d"}},
      {"a\r\n", {"a"}},                // a final break adds no empty name
      {"a\r\n\r\nb", {"a", "", "b"}},  // an empty line is a name of its own
      {"a\n\nb\n", {"a", "", "b"}},
      {std::string("a\r\nb\0c", 6), {"a", "b"}},  // NUL ends the list
      {"", {}},
      {"\r\n", {""}},
      {"X\xC9Y", {"x\xC9y"}},  // only A..Z are lowered
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TSkinReader::SplitNames(c.list), c.names) << c.list;
  }
  EXPECT_EQ(TSkinReader::SplitNames(std::string("a\r\nb\0c", 6)),
            (std::vector<std::string>{"a", "b"}));
}

TEST(SkinReaderTest, LoadsEntriesAndFindsThemByNameAndFragment) {
  auto pkg = Package({{"Skin.INI", Bytes("[x]")},
                      {"BUTTONS.bmp", Bytes("buttons!")},
                      {"minibar.bmp", Bytes("first")},
                      {"minibar.bmp", Bytes("second")}});
  TSkinReader reader;
  ASSERT_TRUE(reader.LoadPackage(pkg));
  EXPECT_EQ(reader.Names(),
            (std::vector<std::string>{"skin.ini", "buttons.bmp", "minibar.bmp", "minibar.bmp"}));
  TMemoryStream out;
  reader.ExtractEntry("buttons.BMP", out);
  EXPECT_EQ(Text(out), "buttons!");
  EXPECT_EQ(out.Position(), 0u);
  reader.ExtractEntry("MINIBAR.bmp", out);
  EXPECT_EQ(Text(out), "first");  // first occurrence wins
  reader.ExtractEntry("none.bmp", out);
  EXPECT_EQ(out.Size(), 0u);

  std::string name = "unchanged";
  EXPECT_TRUE(reader.ExtractEntryContaining(".ini", out, name));
  EXPECT_EQ(name, "skin.ini");
  EXPECT_EQ(Text(out), "[x]");
  // Fragments match inside names and are not lower-cased.
  EXPECT_TRUE(reader.ExtractEntryContaining("ni", out, name));
  EXPECT_EQ(name, "skin.ini");
  EXPECT_TRUE(reader.ExtractEntryContaining("bar", out, name));
  EXPECT_EQ(Text(out), "first");
  name = "unchanged";
  EXPECT_FALSE(reader.ExtractEntryContaining(".INI", out, name));
  EXPECT_EQ(name, "unchanged");
  EXPECT_EQ(out.Size(), 0u);
}

TEST(SkinReaderTest, EmptyNameInListHasItsOwnSize) {
  auto pkg = RawPackage(20000, "a\r\n\r\nb\r\n", {1, 2, 3}, "ABBCCC");
  TSkinReader reader;
  ASSERT_TRUE(reader.LoadPackage(pkg));
  ASSERT_EQ(reader.Count(), 3);
  TMemoryStream out;
  reader.ExtractEntry("b", out);
  EXPECT_EQ(Text(out), "CCC");
  reader.ExtractEntry("", out);
  EXPECT_EQ(Text(out), "BB");
}

TEST(SkinReaderTest, WrongVersionShowsTheMessageAndLoadsNothing) {
  for (int32_t version : {19999, 20001, 0}) {
    std::vector<std::string> shown;
    TSkinReader reader([&](const std::string& t) { shown.push_back(t); });
    auto pkg = Package({{"a.ini", Bytes("x")}}, version);
    EXPECT_FALSE(reader.LoadPackage(pkg));
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], "This is Older Skin File\rPlease update to new version !");
    EXPECT_EQ(reader.Count(), 0);
  }
}

TEST(SkinReaderTest, AtMost1001EntriesElseTreatedAsWrongVersion) {
  for (int n : {1001, 1002}) {
    std::vector<TSkinPackageEntry> entries(n);
    for (int i = 0; i < n; i++)
      entries[i] = {"e" + std::to_string(i), Bytes("z")};
    auto pkg = Package(entries);
    int shown = 0;
    TSkinReader reader([&](const std::string&) { shown++; });
    EXPECT_EQ(reader.LoadPackage(pkg), n == 1001);
    EXPECT_EQ(shown, n == 1001 ? 0 : 1);
    EXPECT_EQ(reader.Count(), n == 1001 ? 1001 : 0);
  }
  // Two million line breaks (a package of a few kilobytes) end the same way;
  // the list is split only as far as one name past the limit.
  const std::string breaks(2000000, '\n');
  EXPECT_EQ(TSkinReader::SplitNames(breaks, 1002).size(), 1002u);
  EXPECT_EQ(TSkinReader::SplitNames("a\nb\nc", 2), (std::vector<std::string>{"a", "b"}));
  auto pkg = RawPackage(20000, breaks, {}, "");
  int shown = 0;
  TSkinReader reader([&](const std::string&) { shown++; });
  EXPECT_FALSE(reader.LoadPackage(pkg));
  EXPECT_EQ(shown, 1);
  EXPECT_EQ(reader.Count(), 0);
}

TEST(SkinReaderTest, DamagedPackagesRaiseClearErrors) {
  struct Case {
    const char* name;
    TMemoryStream pkg;
  };
  std::vector<uint8_t> huge_size = {0xFF, 0xFF, 0xFF, 0x7F, 0x00};
  Case cases[] = {
      {"sizes past the data", RawPackage(20000, "a\r\nb", {2, 5}, "abcde")},
      {"negative size", RawPackage(20000, "a", {-1}, "abc")},
      {"name list past the end", RawPackage(20000, std::string(2, 'a'), {}, "")},
      {"empty stream", TMemoryStream()},
      {"size no stream can give", TMemoryStream(huge_size)},
  };
  // Name-list length larger than what follows.
  {
    std::vector<uint8_t> u = {0x20, 0x4E, 0, 0, 100, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 'a'};
    cases[2].pkg = TMemoryStream(CompressSkinPackage(u));
  }
  for (auto& c : cases) {
    TSkinReader reader;
    EXPECT_THROW(reader.LoadPackage(c.pkg), ESkinPackageError) << c.name;
    EXPECT_EQ(reader.Count(), 0) << c.name;
  }
  // Sizes adding up to less than the data are accepted (trailing bytes unused).
  auto pkg = RawPackage(20000, "a", {2}, "abcdef");
  TSkinReader reader;
  EXPECT_TRUE(reader.LoadPackage(pkg));
}

}  // namespace
}  // namespace skin
