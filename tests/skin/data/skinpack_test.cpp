// The skinpack tool's commands, run in-process.
#include "tools/skinpack/skinpack.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "skin/data/skin_package_writer.h"
#include "tests/skin/data/sample_skin.h"

namespace skinpack {
namespace {

namespace fs = std::filesystem;

struct Result {
  int status;
  std::string out, err;
};

Result Tool(const std::vector<std::string>& args) {
  std::ostringstream out, err;
  const int status = RunSkinpack(args, out, err);
  return {status, out.str(), err.str()};
}

class SkinpackTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::path(PROJECT_BINARY_DIR) / "skinpack_test" /
           ::testing::UnitTest::GetInstance()->current_test_info()->name();
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  std::string Path(const std::string& name) const { return (dir_ / name).string(); }
  void Write(const std::string& name, const std::vector<uint8_t>& bytes) const {
    std::ofstream f(Path(name), std::ios::binary);
    f.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  }
  void Write(const std::string& name, const std::string& text) const {
    Write(name, std::vector<uint8_t>(text.begin(), text.end()));
  }
  std::string Read(const std::string& name) const {
    std::ifstream f(Path(name), std::ios::binary);
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
  }
  fs::path dir_;
};

TEST_F(SkinpackTest, PacksFilesInOrderAndListsThem) {
  fs::create_directories(dir_ / "src");
  Write("src/B.bmp", "bb");
  Write("src/skin.ini", "[x]");
  ASSERT_EQ(Tool({"pack", Path("out.skn"), Path("src/B.bmp"), Path("src/skin.ini")}).status, 0);
  const Result r = Tool({"list", Path("out.skn")});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "2 b.bmp\n3 skin.ini\n");
}

TEST_F(SkinpackTest, PacksADirectoryIniFirstThenByName) {
  fs::create_directories(dir_ / "src");
  Write("src/z.bmp", "1");
  Write("src/a.bmp", "22");
  Write("src/desc.ini", "[x]\n");
  ASSERT_EQ(Tool({"pack", Path("out.skn"), Path("src")}).status, 0);
  EXPECT_EQ(Tool({"list", Path("out.skn")}).out, "4 desc.ini\n2 a.bmp\n1 z.bmp\n");
}

TEST_F(SkinpackTest, ExtractAndUnpack) {
  Write("in.skn", skin::WriteSkinPackage({{"A.ini", {'1'}}, {"x.bmp", {'2'}}, {"X.BMP", {'3'}}}));
  EXPECT_EQ(Tool({"extract", Path("in.skn"), "X.bmp", Path("x.out")}).status, 0);
  EXPECT_EQ(Read("x.out"), "2");  // first occurrence
  const Result none = Tool({"extract", Path("in.skn"), "nothing.bmp", Path("n.out")});
  EXPECT_EQ(none.status, 1);
  EXPECT_NE(none.err.find("no entry named nothing.bmp"), std::string::npos);
  EXPECT_FALSE(fs::exists(Path("n.out")));

  ASSERT_EQ(Tool({"unpack", Path("in.skn"), Path("out")}).status, 0);
  EXPECT_EQ(Read("out/a.ini"), "1");
  EXPECT_EQ(Read("out/x.bmp"), "2");
}

TEST_F(SkinpackTest, UnpackRefusesNamesThatLeaveTheFolder) {
  for (const char* name : {"../evil.bmp", "sub/x.bmp", "c:x.bmp", ".."}) {
    Write("in.skn", skin::WriteSkinPackage({{"ok.ini", {'1'}}, {name, {'2'}}}));
    const Result r = Tool({"unpack", Path("in.skn"), Path("out")});
    EXPECT_EQ(r.status, 1) << name;
    EXPECT_NE(r.err.find("unsafe entry name"), std::string::npos);
    EXPECT_FALSE(fs::exists(Path("out/ok.ini")));
    EXPECT_FALSE(fs::exists(dir_ / "evil.bmp"));
  }
}

TEST_F(SkinpackTest, InspectPrintsEverySlotAndColour) {
  Write("in.skn", skin::testing::SamplePackage());
  const Result r = Tool({"inspect", Path("in.skn")});
  ASSERT_EQ(r.status, 0) << r.err;
  std::vector<std::string> lines;
  std::istringstream s(r.out);
  for (std::string l; std::getline(s, l);)
    lines.push_back(l);
  ASSERT_GT(lines.size(), 10u);
  EXPECT_EQ(lines[0], "SkinName Sample Skin");
  EXPECT_EQ(lines[1],
            "Borders[1] TDataSkinBorder name=Left frames=2 bitmap=4x60 margins=0,25,0,5 trans=1 "
            "tile=1 style=0 bitmap2=0x0");
  EXPECT_EQ(lines[2], "  NormalColour2 0x00000000");
  auto find = [&](const std::string& prefix) -> std::string {
    for (const auto& l : lines) {
      if (l.rfind(prefix, 0) == 0) return l;
    }
    return "";
  };
  EXPECT_EQ(find("Title "),
            "Title TDataSkinTitle name=Title frames=2 bitmap=40x20 margins=4,2,60,0 trans=0 tile=0 "
            "style=0 textalign=1 textbackground=0 fontheight=16 backleft=0 backright=0 "
            "active=0x0000FFFF inactive=0x1FFFFFFF");
  EXPECT_EQ(find("SysButtons[0] "),
            "SysButtons[0] TDataSkinSysButton name=BUTTONCLOSE frames=3 bitmap=51x14 "
            "margins=0,0,0,0 trans=0 tile=0 style=0 action=0 align=1 x=20 y=5 vis=0 vis1=0 "
            "combine=-1");
  EXPECT_EQ(find("Buttons "),
            "Buttons TDataSkinButton name=Buttons frames=5 bitmap=235x22 margins=10,9,10,10 "
            "trans=0 tile=2 style=0 check=65x13 checkframes=5 radio=65x13 radioframes=5");
  EXPECT_EQ(find("GroupBox "),
            "GroupBox TDataSkinBoxLabel name=GroupBox frames=1 bitmap=30x30 margins=0,0,0,0 "
            "trans=0 tile=0 style=0 bgalign=2 bgleft=3 bgright=4");
  EXPECT_EQ(find("Toolbars"), "Toolbars empty");
  EXPECT_EQ(find("Colour ButtonFaceColour"), "Colour ButtonFaceColour 0x00C8D0D4");
  EXPECT_EQ(find("Colour MenuColour"), "Colour MenuColour 0xFF000004");
  EXPECT_EQ(lines.back(), "Colour TitleTextNoActiveColour 0xFF000013");
  // Slot order: the table's, then the 16 colours.
  std::vector<std::string> slots;
  for (const auto& l : lines) {
    if (l[0] != ' ' && l.rfind("Colour ", 0) != 0 && l.rfind("SkinName", 0) != 0) {
      slots.push_back(l.substr(0, l.find(' ')));
    }
  }
  EXPECT_EQ(slots.size(), 4u + 1 + 7 + 27);
  EXPECT_EQ(slots[12], "Buttons");
  EXPECT_EQ(slots.back(), "UpDownVert");
}

TEST_F(SkinpackTest, IniCommands) {
  Write("s.ini", "[A]\nk = v\nn=0x1F\n[ B ]\n");
  EXPECT_EQ(Tool({"ini", Path("s.ini"), "string", "a", "K", "d"}).out, "v\n");
  EXPECT_EQ(Tool({"ini", Path("s.ini"), "string", "A", "none", "d"}).out, "d\n");
  EXPECT_EQ(Tool({"ini", Path("s.ini"), "int", "A", "n", "0"}).out, "31\n");
  EXPECT_EQ(Tool({"ini", Path("s.ini"), "int", "A", "k", "-4"}).out, "-4\n");
  EXPECT_EQ(Tool({"ini", Path("s.ini"), "sections"}).out, "A\nB\n");
  EXPECT_EQ(Tool({"ini", Path("s.ini"), "int", "A", "k", "x"}).status, 1);
}

TEST_F(SkinpackTest, RenderWritesAPng) {
  Write("in.skn", skin::testing::SamplePackage());
  ASSERT_EQ(Tool({"render", Path("in.skn"), Path("sheet.png")}).status, 0);
  EXPECT_EQ(Read("sheet.png").substr(1, 3), "PNG");
}

TEST_F(SkinpackTest, BadInputGivesAMessageAndNonZeroStatus) {
  Write("old.skn", skin::WriteSkinPackage({{"a.ini", {}}}, 19999));
  auto entries = skin::testing::SampleEntries();
  entries[1].Data = {'B', 'M', 0};
  Write("badbmp.skn", skin::WriteSkinPackage(entries));
  auto corrupt = skin::testing::SamplePackage();
  corrupt.resize(corrupt.size() / 3);
  Write("corrupt.skn", corrupt);
  Write("tiny.skn", std::vector<uint8_t>{1, 2});
  Write("empty.skn", std::vector<uint8_t>{});
  struct Case {
    std::vector<std::string> args;
    const char* message;
  } cases[] = {
      {{"list", Path("old.skn")}, "This is Older Skin File Please update to new version !"},
      {{"inspect", Path("old.skn")}, "This is Older Skin File"},
      {{"inspect", Path("badbmp.skn")}, "invalid BMP file"},
      {{"render", Path("badbmp.skn"), Path("x.png")}, "invalid BMP file"},
      // Cut short: refused, not decoded as zeros.
      {{"inspect", Path("corrupt.skn")},
       "corrupt.skn: LZH : Compressed data ends before the unpacked size is reached"},
      {{"list", Path("corrupt.skn")}, "Compressed data ends before the unpacked size"},
      {{"inspect", Path("empty.skn")}, "empty.skn: empty file, not a skin package"},
      {{"render", Path("empty.skn"), Path("x.png")}, "empty file, not a skin package"},
      {{"list", Path("tiny.skn")}, "skin package is damaged"},
      {{"list", Path("missing.skn")}, "no such file"},
  };
  for (const auto& c : cases) {
    const Result r = Tool(c.args);
    EXPECT_EQ(r.status, 1) << c.args[0] << " " << c.args[1];
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
  }
  EXPECT_FALSE(fs::exists(Path("x.png")));
  EXPECT_EQ(Tool({}).status, 2);
  EXPECT_EQ(Tool({"frobnicate"}).status, 2);
  EXPECT_EQ(Tool({"list"}).status, 2);
}

}  // namespace
}  // namespace skinpack
