#include "skin/data/quick_ini.h"

#include <gtest/gtest.h>

namespace skin {
namespace {

TQuickIni Load(const std::string& text) {
  TMemoryStream s(std::vector<uint8_t>(text.begin(), text.end()));
  TQuickIni ini;
  ini.LoadFromStream(&s);
  return ini;
}

TEST(QuickIniTest, KeepsTrimmedLinesAndDropsBlankAndCommentLines) {
  const auto ini = Load("  ; comment\r\n\r\n  \t \n[A]\rKey = v \r\n  ;x\n\x01z=1\x02");
  EXPECT_EQ(ini.Lines(), (std::vector<std::string>{"[A]", "Key = v", "z=1"}));
  ASSERT_EQ(ini.Sections().size(), 1u);
  EXPECT_EQ(ini.Sections()[0].second, 0);
}

TEST(QuickIniTest, ReadStringFollowsTheLookupRules) {
  const auto ini = Load(
      "orphan=1\n"
      "[Buttons]\n"
      "  LeftWidth  =  10  \n"
      "Twice=9\nTwice=12\n"
      "Empty=\nEmpty=5\n"
      "Eq=a=b\n"
      "noequals\n"
      "[buttons]\nOther=1\n"
      "[Next]\nLeftWidth=99\n"
      "[ Spaced ]\nk=s\n");
  struct Case {
    const char* section;
    const char* key;
    const char* expected;
  } cases[] = {
      {"Buttons", "leftwidth", "10"}, {"BUTTONS", "LEFTWIDTH", "10"}, {"Buttons", "Twice", "9"},
      {"Buttons", "Empty", "def"},                                  // first wins even empty
      {"Buttons", "Eq", "a=b"},       {"Buttons", "Other", "def"},  // only first section
      {"Buttons", "", "def"},         {"Next", "LeftWidth", "99"},    {"Missing", "k", "def"},
      {"Spaced", "k", "def"},         {" Spaced ", "k", "s"},         {"", "orphan", "def"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ini.ReadString(c.section, c.key, "def"), c.expected) << c.section << "/" << c.key;
  }
  std::vector<std::string> sections;
  ini.ReadSections(sections);
  EXPECT_EQ(sections, (std::vector<std::string>{"Buttons", "buttons", "Next", "Spaced"}));
  EXPECT_EQ(ini.FindSection("Spaced"), -1);
}

TEST(QuickIniTest, ReadIntegerParsesDecimalAndHexOrGivesTheDefault) {
  struct Case {
    const char* text;
    int32_t expected;
  } cases[] = {
      {"31", 31},
      {"0x1F", 31},
      {"0X1f", 31},
      {"$1F", 31},
      {"-7", -7},
      {"+7", 7},
      {"$FFFFFFFF", -1},
      {"2147483647", 2147483647},
      {"-2147483648", INT32_MIN},
      {"2147483648", -5},
      {"$100000000", -5},
      {"1 2 3", -5},
      {"5 ;comment", -5},
      {"0x", -5},
      {"$", -5},
      {"-", -5},
      {"12a", -5},
      {"", -5},
      {"00000000000012", 12},
  };
  for (const auto& c : cases) {
    const auto ini = Load(std::string("[S]\nk=") + c.text + "\n");
    EXPECT_EQ(ini.ReadInteger("S", "k", -5), c.expected) << c.text;
  }
}

TEST(QuickIniTest, NulEndsTheTextAndNullStreamKeepsContent) {
  const std::string text("[S]\na=1\n\0b=2\n", 13);
  auto ini = Load(text);
  EXPECT_EQ(ini.ReadString("S", "a", ""), "1");
  EXPECT_EQ(ini.ReadString("S", "b", "none"), "none");
  ini.LoadFromStream(nullptr);
  EXPECT_EQ(ini.ReadString("S", "a", ""), "1");
  // Reading starts at the stream's position; earlier content is discarded.
  TMemoryStream s(std::vector<uint8_t>{'x', '\n', '[', 'T', ']', '\n', 'c', '=', '3'});
  s.SetPosition(2);
  ini.LoadFromStream(&s);
  EXPECT_EQ(ini.Lines().size(), 2u);
  EXPECT_EQ(ini.ReadInteger("T", "c", 0), 3);
  EXPECT_EQ(ini.ReadString("S", "a", "gone"), "gone");
}

}  // namespace
}  // namespace skin
