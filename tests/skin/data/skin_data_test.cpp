#include "skin/data/skin_data.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <map>

#include "skin/data/skin_reader.h"
#include "tests/skin/data/sample_skin.h"

namespace skin {
namespace {

// Records every manager call as text.
class FakeManager : public ISkinManager {
 public:
  void AddSkinData(TSkinData*) override { calls.push_back("Add"); }
  void RemoveSkinData(TSkinData*) override { calls.push_back("Remove"); }
  void InstallHook() override { calls.push_back("InstallHook"); }
  void ScheduleAction(int action, int delay) override {
    calls.push_back("Schedule " + std::to_string(action) + " " + std::to_string(delay));
  }
  void SkinWindow(void*) override { calls.push_back("SkinWindow"); }
  void ReloadForms() override { calls.push_back("ReloadForms"); }
  void SetPendingSkinData(TSkinData* d) override {
    pending = d;
    calls.push_back("Pending");
  }
  int StartState() const override { return start_state; }
  void SetStartState(int s) override { start_state = s; }
  void SetActive(bool a) override { active = a; }

  std::vector<std::string> calls;
  TSkinData* pending = nullptr;
  int start_state = 0;
  bool active = false;
};

class FakeHost : public ISkinDataHost {
 public:
  ISkinManager* Manager(bool create) override {
    if (create) exists = true;
    return exists ? &manager : nullptr;
  }
  void ShowMessage(const std::string& text) override { messages.push_back(text); }
  void* OwnerWindow() override { return owner; }
  int HorzScrollArrowWidth() override { return 17; }

  FakeManager manager;
  bool exists = false;
  void* owner = nullptr;
  std::vector<std::string> messages;
};

TMemoryStream Stored(const std::vector<uint8_t>& package) {
  TMemoryStream s;
  const uint32_t n = static_cast<uint32_t>(package.size());
  const uint8_t len[4] = {static_cast<uint8_t>(n), static_cast<uint8_t>(n >> 8),
                          static_cast<uint8_t>(n >> 16), static_cast<uint8_t>(n >> 24)};
  s.Write(len, 4);
  s.Write(package);
  s.SetPosition(0);
  return s;
}

TEST(SkinDataTest, DefaultsAtCreation) {
  TSkinData d;
  EXPECT_FALSE(d.Active());
  EXPECT_EQ(d.DisableTag, 99);
  EXPECT_EQ(d.SkinControls, 0x0007FFFBu);
  EXPECT_EQ(d.SkinFormtype, sfMainform);
  EXPECT_TRUE(d.MenuUpdate);
  EXPECT_FALSE(d.MenuMerge);
  EXPECT_TRUE(d.NotLoaded);
  EXPECT_TRUE(d.NCPaintEnabled);
  EXPECT_TRUE(d.DefaultIcon.Empty());
  EXPECT_EQ(d.Buttons->Name, "Buttons");
  EXPECT_EQ(d.Borders[4]->Name, "Bottom");
  EXPECT_TRUE(d.Title);
  EXPECT_FALSE(d.Scrollbar);
  EXPECT_EQ(d.ButtonFaceColour, SystemColour(15));

  d.SetVersion("9");
  d.SetSkinStore("(Good)");
  EXPECT_EQ(d.Version(), "3.01.02.21");
  EXPECT_EQ(d.SkinStore(), "(none)");
  d.SkinStream.Write(std::vector<uint8_t>{1});
  EXPECT_EQ(d.SkinStore(), "(none)");  // run time, even with a skin
  d.DesignMode = true;
  EXPECT_EQ(d.SkinStore(), "(Good)");
}

TEST(SkinDataTest, DefaultSkin3rdHas110LinesByKind) {
  const auto lines = TSkinData::DefaultSkin3rd();
  ASSERT_EQ(lines.size(), 110u);
  EXPECT_EQ(lines.front(), "TAdvPanelGroup=embedscrollbar");
  EXPECT_EQ(lines[1], "TComboboxex=combobox");
  EXPECT_EQ(lines[2], "TRxSpeedButton=speedbutton");
  EXPECT_EQ(lines[3], "TControlBar=Panel");
  EXPECT_EQ(lines[108], "TOVCNUMERICFIELD=edit");
  EXPECT_EQ(lines.back(), "TOVCDBNUMERICFIELD=Edit");
  std::map<std::string, int> kinds;
  for (const auto& l : lines)
    kinds[AsciiLower(l.substr(l.find('=') + 1))]++;
  const std::map<std::string, int> expected = {
      {"combobox", 39},   {"edit", 26},          {"panel", 13},      {"radiogroup", 7},
      {"checkbox", 7},    {"scrollbar", 4},      {"bitbtn", 3},      {"checkgroup", 3},
      {"radiobutton", 3}, {"embedscrollbar", 1}, {"speedbutton", 1}, {"nil", 1},
      {"button", 1},      {"groupbox", 1}};
  EXPECT_EQ(kinds, expected);
  EXPECT_EQ(TSkinData().Skin3rd(), lines);
}

TEST(SkinDataTest, MenuGlyphsAreFourBlackShapesOnWhite) {
  const TBitmap strip = TSkinData::SkinMenuGlyphs();
  ASSERT_EQ(strip.Width(), 64);
  ASSERT_EQ(strip.Height(), 16);
  int black[4] = {0, 0, 0, 0};
  for (int y = 0; y < 16; y++) {
    for (int x = 0; x < 64; x++) {
      const uint32_t c = strip.Pixel(x, y);
      ASSERT_TRUE(c == 0 || c == 0xFFFFFF);
      if (c == 0) black[x / 16]++;
    }
  }
  for (int i = 0; i < 4; i++)
    EXPECT_GT(black[i], 10) << i;
  EXPECT_EQ(black[2], 14);  // minimize: a 7 x 2 bar
  TSkinData d;
  ASSERT_EQ(d.MenuImages.size(), 4u);
  EXPECT_EQ(d.MenuImages[3].Width(), 16);
  EXPECT_EQ(d.MenuImages[2].Pixel(4, 11), 0u);
}

TEST(SkinDataTest, StoredSkinStreamLoadsAndWritesBack) {
  FakeHost host;
  TSkinData d(&host);
  const auto package = testing::SamplePackage();
  TMemoryStream in = Stored(package);
  d.ReadSkinStream(in);
  EXPECT_FALSE(d.NotLoaded);
  EXPECT_EQ(d.SkinStream.Data(), package);
  TMemoryStream out;
  d.WriteSkinStream(out);
  EXPECT_EQ(out.Data(), in.Data());

  // No stored skin (length 0): nothing to load, and no error.
  TSkinData empty(&host);
  TMemoryStream none(std::vector<uint8_t>{0, 0, 0, 0});
  empty.ReadSkinStream(none);
  EXPECT_TRUE(empty.NotLoaded);
  EXPECT_FALSE(empty.LoadSkin());
  EXPECT_EQ(host.messages.size(), 0u);
  TMemoryStream out2;
  empty.WriteSkinStream(out2);
  EXPECT_EQ(out2.Data(), (std::vector<uint8_t>{0, 0, 0, 0}));
  // A stored length larger than what follows is refused.
  TMemoryStream cut = Stored(package);
  cut.Data().resize(cut.Size() - 1);
  TSkinData d2;
  EXPECT_THROW(d2.ReadSkinStream(cut), ESkinPackageError);
}

TEST(SkinDataTest, WrongVersionShowsMessageAndLoadedSwitchesActiveOff) {
  FakeHost host;
  TSkinData d(&host);
  d.Reading = true;
  d.SetActive(true);
  TMemoryStream in = Stored(WriteSkinPackage({{"a.ini", {}}}, 19999));
  d.ReadSkinStream(in);
  EXPECT_TRUE(d.NotLoaded);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0], "This is Older Skin File\rPlease update to new version !");
  d.Reading = false;
  d.Loaded();
  EXPECT_FALSE(d.Active());
  EXPECT_EQ(host.manager.calls, (std::vector<std::string>{"Add", "InstallHook"}));
}

TEST(SkinDataTest, LoadedSchedulesStartAndAdjustsSkinControls) {
  FakeHost host;
  TSkinData d(&host);
  TMemoryStream in = Stored(testing::SamplePackage());
  d.Reading = true;
  d.SetActive(true);
  d.ReadSkinStream(in);
  d.Reading = false;
  d.Loaded();
  EXPECT_TRUE(d.Active());
  EXPECT_EQ(host.manager.calls, (std::vector<std::string>{"Add", "InstallHook", "Schedule 1 250"}));
  EXPECT_EQ(d.SkinControls, kDefaultSkinControls);

  struct Case {
    TSkinControlTypes before, after;
  } cases[] = {
      {SkinControlBit(xcMainMenu) | SkinControlBit(xcMenuItem), SkinControlBit(xcMainMenu)},
      {SkinControlBit(xcSystemMenu) | SkinControlBit(xcMenuItem), SkinControlBit(xcMenuItem)},
  };
  for (const auto& c : cases) {
    TSkinData e(&host);
    e.SkinControls = c.before;
    e.Loaded();
    EXPECT_EQ(e.SkinControls, c.after);
  }
}

TEST(SkinDataTest, OnlyThisFormAndDialogKinds) {
  FakeHost host;
  int window = 0;
  host.owner = &window;
  TSkinData d(&host);
  d.SkinFormtype = sfOnlyThisForm;
  d.SkinControls = SkinControlBit(xcSystemMenu);
  d.Loaded();
  EXPECT_TRUE(host.manager.active);
  EXPECT_EQ(host.manager.start_state, 1);
  EXPECT_EQ(host.manager.calls, (std::vector<std::string>{"Add", "SkinWindow"}));
  EXPECT_EQ(d.SkinControls, SkinControlBit(xcSystemMenu));  // not adjusted

  host.manager.calls.clear();
  d.SetActive(true);  // not loaded: only marks itself pending
  EXPECT_EQ(host.manager.calls, (std::vector<std::string>{"Pending"}));
  host.manager.calls.clear();
  d.SetActive(false);
  EXPECT_EQ(host.manager.calls, (std::vector<std::string>{"Pending", "Schedule 2 250"}));

  TSkinData dialog(&host);
  dialog.SkinFormtype = sfDialog;
  host.manager.calls.clear();
  dialog.SetActive(true);
  EXPECT_TRUE(host.manager.calls.empty());
}

TEST(SkinDataTest, MainFormSetActive) {
  FakeHost host;
  TSkinData d(&host);
  d.Loaded();
  host.manager.calls.clear();
  d.SetActive(true);  // not loaded: nothing
  EXPECT_TRUE(host.manager.calls.empty());
  d.SetActive(false);
  d.NotLoaded = false;
  d.SetActive(true);
  EXPECT_EQ(host.manager.calls,
            (std::vector<std::string>{"Schedule 2 250", "Pending", "Schedule 1 250", "Pending"}));
  EXPECT_EQ(host.manager.start_state, 1);
  EXPECT_EQ(host.manager.pending, &d);
}

TEST(SkinDataTest, SkinFileLoadsAndAppliesOrChangesNothingWhenMissing) {
  FakeHost host;
  TSkinData d(&host);
  d.Loaded();
  host.manager.start_state = 1;
  host.manager.calls.clear();
  const std::string path = std::string(PROJECT_BINARY_DIR) + "/skin_data_test.skn";
  {
    const auto package = testing::SamplePackage();
    std::ofstream f(path, std::ios::binary);
    f.write(reinterpret_cast<const char*>(package.data()),
            static_cast<std::streamsize>(package.size()));
  }
  d.SetSkinFile(path);
  EXPECT_FALSE(d.NotLoaded);
  EXPECT_EQ(d.SkinFile(), path);
  EXPECT_EQ(host.manager.calls,
            (std::vector<std::string>{"Pending", "ReloadForms", "Schedule 3 250"}));
  std::remove(path.c_str());

  host.manager.calls.clear();
  const size_t stored = d.SkinStream.Size();
  d.SetSkinFile(path + ".missing");
  EXPECT_FALSE(d.NotLoaded);  // the skin in use stays
  EXPECT_EQ(d.SkinStream.Size(), stored);
  EXPECT_TRUE(host.manager.calls.empty());
}

TEST(SkinDataTest, MaySkinClassRules) {
  TSkinData d;
  bool skin = true;
  d.MaySkinClass("SysMonthCal32", skin);
  EXPECT_FALSE(skin);
  skin = true;
  d.MaySkinClass("TfrPreview", skin);
  EXPECT_TRUE(skin);  // xcFastReport is not in the default set
  d.SkinControls |= SkinControlBit(xcFastReport);
  d.MaySkinClass("TfrPreview", skin);
  EXPECT_FALSE(skin);
  // A handler replaces the built-in rules.
  d.OnFormSkin = [](TSkinData*, const std::string&, bool&) {};
  skin = true;
  d.MaySkinClass("SysMonthCal32", skin);
  EXPECT_TRUE(skin);
}

}  // namespace
}  // namespace skin
