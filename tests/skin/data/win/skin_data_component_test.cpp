// The skin data component's Windows side: the button-face brush survives
// failed loads, the menu glyphs as an image list, the component found from
// its portable data, the manager reached through its provider, the events.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "framework/forms.h"
#include "skin/data/win/skin_data_component.h"

namespace skin::win {
namespace {

std::vector<uint8_t> ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)),
                              std::istreambuf_iterator<char>());
}

const std::filesystem::path kSkins = std::filesystem::path(PROJECT_BINARY_DIR) / "skins";

COLORREF BrushColour(HBRUSH brush) {
  LOGBRUSH lb{};
  if (GetObjectW(brush, sizeof(lb), &lb) == 0) return CLR_INVALID;
  return lb.lbColor;
}

TEST(SkinDataComponent, AFailedLoadKeepsTheBrushOfTheSkinBefore) {
  TSkinData c(nullptr);
  EXPECT_EQ(c.ButtonFaceBrush(), nullptr);
  const std::vector<uint8_t> first = ReadFile(kSkins / "default.skn");
  ASSERT_FALSE(first.empty());
  c.ReadSkinPackage(first.data(), first.size());
  HBRUSH brush = c.ButtonFaceBrush();
  ASSERT_NE(brush, nullptr);
  const COLORREF face = fw::ColorToRGB(c.Data().ButtonFaceColour);
  EXPECT_EQ(BrushColour(brush), face);

  // A missing file: the skin before stays in use and the windows keep
  // their look.
  c.SetSkinFile(L"C:\\nao-existe\\nenhum.skn");
  EXPECT_FALSE(c.Data().NotLoaded);
  EXPECT_EQ(c.ButtonFaceBrush(), brush);
  EXPECT_EQ(BrushColour(brush), face);

  // A completed load builds the brush of the new skin.
  const std::vector<uint8_t> second = ReadFile(kSkins / "test.skn");
  c.ReadSkinPackage(second.data(), second.size());
  EXPECT_FALSE(c.Data().NotLoaded);
  EXPECT_EQ(BrushColour(c.ButtonFaceBrush()), fw::ColorToRGB(c.Data().ButtonFaceColour));
}

TEST(SkinDataComponent, MenuGlyphsAsAnImageList) {
  TSkinData c(nullptr);
  fw::TImageList* images = c.MenuImages();
  ASSERT_NE(images, nullptr);
  EXPECT_EQ(images->Count(), 4);
  EXPECT_EQ(images->Width(), 16);
  EXPECT_EQ(images->Height(), 16);
  EXPECT_EQ(c.MenuImages(), images);  // built once
  // Each glyph drawn on red: black where the glyph is, red (masked white)
  // elsewhere.
  for (int i = 0; i < 4; ++i) {
    fw::TBitmap target;
    target.SetSize(16, 16);
    target.Canvas()->Brush()->SetColor(fw::clRed);
    RECT all{0, 0, 16, 16};
    target.Canvas()->FillRect(all);
    images->Draw(*target.Canvas(), 0, 0, i);
    GdiFlush();
    int black = 0;
    int red = 0;
    for (int p = 0; p < 256; ++p) {
      uint32_t px = target.Pixels()[p] & 0xFFFFFF;
      black += px == 0;
      red += px == 0xFF0000;  // 0xRRGGBB
    }
    EXPECT_GT(black, 8) << i;
    EXPECT_EQ(black + red, 256) << i;
    const TBitmap& glyph = c.Data().MenuImages[static_cast<size_t>(i)];
    for (int y = 0; y < 16; ++y) {
      for (int x = 0; x < 16; ++x) {
        bool ink = glyph.Pixel(x, y) == 0;
        EXPECT_EQ((target.Pixels()[y * 16 + x] & 0xFFFFFF) == 0, ink) << i << " " << x << "," << y;
      }
    }
  }
}

// A stand-in manager that records the component's requests.
class TRecordingManager : public ISkinManager {
 public:
  std::vector<std::string> calls;
  void AddSkinData(skin::TSkinData*) override { calls.push_back("add"); }
  void RemoveSkinData(skin::TSkinData*) override { calls.push_back("remove"); }
  void InstallHook() override { calls.push_back("hook"); }
  void ScheduleAction(int action, int delay) override {
    calls.push_back("schedule " + std::to_string(action) + " " + std::to_string(delay));
  }
  void SkinWindow(void*) override { calls.push_back("skin"); }
  void ReloadForms() override { calls.push_back("reload"); }
  void SetPendingSkinData(skin::TSkinData*) override { calls.push_back("pending"); }
  int StartState() const override { return 0; }
  void SetStartState(int) override {}
  void SetActive(bool) override {}
};

TRecordingManager* g_manager = nullptr;
ISkinManager* Provide(bool /*create*/) {
  return g_manager;
}

TEST(SkinDataComponent, ReachesTheManagerThroughItsProviderAndIsFoundFromItsData) {
  TRecordingManager manager;
  g_manager = &manager;
  SetSkinManagerProvider(&Provide);
  {
    TSkinData c(nullptr);
    EXPECT_EQ(TSkinData::FromData(&c.Data()), &c);
    const std::vector<uint8_t> skin = ReadFile(kSkins / "default.skn");
    c.SetComponentState(fw::csLoading | fw::csReading);
    c.SetActive(true);
    c.ReadSkinPackage(skin.data(), skin.size());
    c.ClearComponentState(fw::csReading);
    c.Loaded();
  }
  SetSkinManagerProvider(nullptr);
  g_manager = nullptr;
  EXPECT_EQ(manager.calls, (std::vector<std::string>{"add", "hook", "schedule 1 250", "remove"}));
  skin::TSkinData portable;
  EXPECT_EQ(TSkinData::FromData(&portable), nullptr);
  EXPECT_EQ(TSkinData::FromData(nullptr), nullptr);
}

TEST(SkinDataComponent, EventsArePublishedAndTheFormSkinRuleFollowsTheHandler) {
  TSkinData c(nullptr);
  for (const char* name : {"OnFormSkin", "OnSkinChanged", "OnSkinControl"})
    EXPECT_TRUE(fw::IsPublishedProp(&c, name)) << name;
  EXPECT_FALSE(fw::IsPublishedProp(&c, "OnWindowCreate"));

  bool do_skin = true;
  c.MaySkinClass("SysMonthCal32", do_skin);
  EXPECT_FALSE(do_skin);  // the built-in exclusion without a handler
  std::wstring asked;
  c.OnFormSkin = [&](fw::TObject* sender, const std::wstring& name, bool&) {
    EXPECT_EQ(sender, &c);
    asked = name;
  };
  do_skin = true;
  c.MaySkinClass("SysMonthCal32", do_skin);
  EXPECT_TRUE(do_skin);  // the handler decides alone
  EXPECT_EQ(asked, L"SysMonthCal32");

  int changed = 0;
  c.OnSkinChanged = [&](fw::TObject*) { ++changed; };
  c.SkinChanged();
  EXPECT_EQ(changed, 1);

  c.OnWindowCreate = [](TSkinData*, HWND, const std::wstring&) {
    throw std::runtime_error("no hook");
  };
  EXPECT_NO_THROW(c.WindowCreated(nullptr, "#32770"));
}

}  // namespace
}  // namespace skin::win
