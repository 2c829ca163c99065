#include <gtest/gtest.h>

#include "skin/data/bmp_codec.h"
#include "skin/data/quick_ini.h"
#include "skin/data/skin_data.h"
#include "skin/data/skin_draw.h"
#include "skin/data/skin_reader.h"
#include "tests/skin/data/sample_skin.h"

namespace skin {
namespace {

using testing::SampleEntries;
using testing::SamplePackage;

class LoadedSample : public ::testing::Test {
 protected:
  void SetUp() override {
    data_.SkinStream.Write(SamplePackage());
    ASSERT_TRUE(data_.LoadSkin());
  }
  TSkinData data_;
};

TEST_F(LoadedSample, ImageElementsGetTheirFrameCountsAndMargins) {
  EXPECT_FALSE(data_.NotLoaded);
  EXPECT_EQ(data_.SkinName, "Sample Skin");
  ASSERT_TRUE(data_.Scrollbar);
  EXPECT_EQ(data_.Scrollbar->Bitmap.Width(), 345);
  EXPECT_EQ(data_.Scrollbar->FrameCount, 23);
  EXPECT_EQ(data_.Scrollbar->Name, "Scrollbar");
  EXPECT_EQ(data_.HorzScrollThumb->FrameCount, 4);  // its FrameCount key
  const TDataSkinButton& b = *data_.Buttons;
  EXPECT_EQ(b.Bitmap.Width(), 235);  // first of the two "buttons.bmp" entries
  EXPECT_EQ(b.FrameCount, 5);
  EXPECT_EQ(b.Margins, (TRect{10, 9, 10, 10}));
  EXPECT_EQ(b.CheckFrameCount, 5);  // 65 x 13 images
  EXPECT_EQ(b.RadioFrameCount, 5);
  EXPECT_EQ(b.Tile, 2);  // no limit on Tile for Buttons
  EXPECT_TRUE(b.HasNormalColour2);
  EXPECT_FALSE(b.HasPressedColour2);
  EXPECT_EQ(b.NormalColour2, MakeColour(99, 234, 0));
  EXPECT_EQ(b.PressedColour2, MakeColour(1, 2, 3));  // ButtonText is the default
  EXPECT_EQ(data_.Progress->Tile, 2);
  EXPECT_EQ(data_.Progress->Style, 1);
  EXPECT_EQ(data_.Progress->Bitmap2.Width(), 8);
  EXPECT_EQ(data_.Tabs->Tile, 0);  // Tile=2 in an Image section reads as 0
  EXPECT_EQ(data_.Tabs->Bitmap2.Width(), 20);
  EXPECT_EQ(data_.Scrollbar->MouseOverColour2, MakeColour(5, 6, 7));
  EXPECT_EQ(data_.UpDownHorz->FrameCount, 8);
  EXPECT_EQ(data_.UpDownHorz->Bitmap2.Width(), 32);
  const TDataSkinBoxLabel& g = *data_.GroupBox;
  EXPECT_EQ(g.BackgroundAlignment, 2);
  EXPECT_EQ(g.BackgroundLeftShift, 3);
  EXPECT_EQ(g.BackgroundRightShift, 4);
  EXPECT_EQ(data_.MenuBar->Margins, (TRect{1, 0, 1, 0}));
  EXPECT_EQ(data_.MenuBar->Tile, 1);
  EXPECT_EQ(data_.MenuBar->FrameCount, 2);
  // Missing sections leave their slots empty.
  EXPECT_FALSE(data_.Toolbars);
  EXPECT_FALSE(data_.TrackbarThumbHorz);
}

TEST_F(LoadedSample, ImageNamesOtherThanLowerCaseBmpGiveEmptyBitmaps) {
  ASSERT_TRUE(data_.VertScrollThumb);  // "vthumb.BMP"
  EXPECT_TRUE(data_.VertScrollThumb->Bitmap.Empty());
  ASSERT_TRUE(data_.MenuItem);  // "menuitem.tga"
  EXPECT_TRUE(data_.MenuItem->Bitmap.Empty());
  // A directory part is dropped ("skin\buttons.bmp").
  EXPECT_FALSE(data_.Buttons->Bitmap.Empty());
}

TEST_F(LoadedSample, BordersAndTitle) {
  const TDataSkinBorder& left = *data_.Borders[1];
  EXPECT_EQ(left.Name, "Left");
  EXPECT_EQ(left.Margins, (TRect{0, 25, 0, 5}));
  EXPECT_EQ(left.FrameCount, 2);
  EXPECT_EQ(left.Tile, 1);
  EXPECT_EQ(left.Trans, 1);
  const TDataSkinBorder& top = *data_.Borders[3];
  EXPECT_EQ(top.Margins, (TRect{30, 0, 85, 0}));
  EXPECT_EQ(top.Tile, 0);
  EXPECT_EQ(data_.Borders[4]->Bitmap.Width(), 200);
  const TDataSkinTitle& t = *data_.Title;
  EXPECT_EQ(t.Margins, (TRect{4, 2, 60, 0}));
  EXPECT_EQ(t.TextAlignment, 1);
  EXPECT_EQ(t.FontHeight, 16);
  EXPECT_EQ(t.FrameCount, 2);
  EXPECT_EQ(t.ActiveTextColour, MakeColour(255, 255, 0));
  EXPECT_EQ(t.InactiveTextColour, kNoColour);  // one key negative: unchanged
}

TEST_F(LoadedSample, ColoursWithTheirDefaults) {
  EXPECT_EQ(data_.ButtonFaceColour, MakeColour(212, 208, 200));
  EXPECT_EQ(data_.MenubarColour, MakeColour(212, 208, 200));  // follows ButtonFace
  EXPECT_EQ(data_.WindowTextColour, 0u);                      // one number: black
  EXPECT_EQ(data_.HilightColour, MakeColour(10, 0, 0));       // two numbers: red only
  EXPECT_EQ(data_.MenuColour, SystemColour(4));
  EXPECT_EQ(data_.ButtonlightColour, SystemColour(20));
  EXPECT_EQ(data_.TitleTextNoActiveColour, SystemColour(19));
}

TEST_F(LoadedSample, TitleBarButtonsAndMdiButtons) {
  std::vector<std::string> names;
  for (const auto& b : data_.SysButtons)
    names.push_back(b->Name);
  EXPECT_EQ(names,
            (std::vector<std::string>{"BUTTONCLOSE", "BUTTONICON", "BUTTONKEPT", "BUTTON.PUSH",
                                      "MDICONTROLS", "MDICONTROLS", "MDICONTROLS"}));
  const TDataSkinSysButton& close = *data_.SysButtons[0];
  EXPECT_EQ(close.FrameCount, 3);  // 51 x 14: ratio 3.64
  EXPECT_EQ(close.Align, 1);
  EXPECT_EQ(close.XCoord, 20);
  EXPECT_EQ(close.CombineOp, -1);
  EXPECT_EQ(close.Visibility1, 0);
  EXPECT_TRUE(data_.SysButtons[1]->Bitmap.Empty());  // Action 3 paints the icon
  EXPECT_EQ(data_.SysButtons[2]->Visibility1, -1);
  EXPECT_EQ(data_.SysButtons[2]->FrameCount, 6);  // negative Action
  EXPECT_EQ(data_.SysButtons[3]->FrameCount, 6);  // 120 x 14: ratio above 3.8
  const int xs[] = {57, 38, 19};
  for (int i = 0; i < 3; i++) {
    const TDataSkinSysButton& m = *data_.SysButtons[4 + i];
    EXPECT_EQ(m.Action, 7 + i);
    EXPECT_EQ(m.Align, 100);
    EXPECT_EQ(m.FrameCount, 4);
    EXPECT_EQ(m.Bitmap.Width(), 60);
    EXPECT_EQ(m.Bitmap.Height(), 14);
    EXPECT_EQ(m.XCoord, xs[i]);
  }
  // Each MDI button holds its own third of the image.
  const TBitmap mdi = DecodeBmp(testing::FramedBmp(180, 14, 12));
  EXPECT_EQ(data_.SysButtons[5]->Bitmap.Pixel(5, 5), mdi.Pixel(65, 5));
}

TEST_F(LoadedSample, ComboCompositeIsBuiltFromSunkEdgeAndButton) {
  const TDataSkinBorder& c = *data_.ComboButton;
  EXPECT_EQ(c.Style, 2);
  EXPECT_EQ(c.Bitmap.Width(), 200);
  EXPECT_EQ(c.Bitmap.Height(), 21);
  EXPECT_EQ(c.Margins, (TRect{2, 2, 17 + 2 + 2, 2}));  // SM_CXHSCROLL 17 without a host
  EXPECT_EQ(c.FrameCount, 4);
  // The mirrored copy of the original image.
  const TBitmap orig = DecodeBmp(testing::FramedBmp(68, 21, 4));
  ASSERT_EQ(c.Bitmap2.Width(), 68);
  EXPECT_EQ(c.Bitmap2.Pixel(0, 5), orig.Pixel(67, 5));
  // The inside of each frame is magenta; the button sits at the right.
  EXPECT_EQ(c.Bitmap.Pixel(10, 10), kSkinTransparent);
  EXPECT_EQ(c.Bitmap.Pixel(50 + 10, 10), kSkinTransparent);
  EXPECT_NE(c.Bitmap.Pixel(48, 19), kSkinTransparent);
}

TEST(SkinLoaderTest, ParseSkinColourRules) {
  struct Case {
    const char* text;
    TColour expected;
  } cases[] = {
      {"99 234 0", MakeColour(99, 234, 0)},
      {"  1,2,3  ", MakeColour(1, 2, 3)},
      {"5", 0},
      {"5 6", MakeColour(5, 0, 0)},
      {"1 2 3 4 5", MakeColour(1, 2, 3)},
      {"256 257 258", MakeColour(0, 1, 2)},  // low 8 bits
      {"-1 -2 -3", MakeColour(1, 2, 3)},     // a minus sign is a separator
      {"abc", 0},
      {"99999999999 1 2", 0},  // too large: later digits join it
      {"1 99999999999 2", MakeColour(1, 0, 0)},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ParseSkinColour(c.text, 0x123), c.expected) << c.text;
  EXPECT_EQ(ParseSkinColour("", 0x123), 0x123u);
}

TEST(SkinLoaderTest, DescriptionWithoutComboButtonOrIniEntry) {
  auto entries = SampleEntries();
  std::string ini = testing::SampleIni();
  ini.replace(ini.find("[ComboButton]"), 13, "[NoCombo]");
  entries[0].Data.assign(ini.begin(), ini.end());
  TSkinData data;
  data.SkinStream.Write(WriteSkinPackage(entries));
  ASSERT_TRUE(data.LoadSkin());
  EXPECT_FALSE(data.ComboButton);
  EXPECT_TRUE(data.SunkEdge);

  // No description at all: defaults everywhere, still loaded.
  entries.erase(entries.begin());
  TSkinData bare;
  bare.SkinStream.Write(WriteSkinPackage(entries));
  ASSERT_TRUE(bare.LoadSkin());
  EXPECT_FALSE(bare.NotLoaded);
  EXPECT_FALSE(bare.Scrollbar);
  EXPECT_EQ(bare.SysButtons.size(), 3u);  // only the MDI buttons
  EXPECT_EQ(bare.Title->FontHeight, 14);
  EXPECT_EQ(bare.Borders[2]->FrameCount, 1);
}

// The sample package with `keys` added at the top of each named section.
std::vector<TSkinPackageEntry> SampleWith(
    const std::vector<std::pair<std::string, std::string>>& keys) {
  auto entries = SampleEntries();
  std::string ini = testing::SampleIni();
  for (const auto& [section, lines] : keys)
    testing::AddToSection(ini, section, lines);
  entries[0].Data.assign(ini.begin(), ini.end());
  return entries;
}

TEST(SkinLoaderTest, MarginsAreKeptWithinTheElementsBitmap) {
  TSkinData data;
  data.SkinStream.Write(WriteSkinPackage(SampleWith({
      {"Scrollbar",  // 345 x 15
       "LeftWidth=2000000000\nRightWidth=$7FFFFFFF\nTopHeight=-7\nBottomHeight=16\n"},
      {"Buttons", "LeftWidth=-2147483648\n"},  // 235 x 22; first key wins
      {"Personality",
       "LeftTopHeight=99999\nTopBotHeight=-1\nTileLeftMenu=-3\nTileRightMenu=1000\n"
       "TextShift=-4\nTextRightClip=5000\n"},
      {"Toolbars", "Image=missing.bmp\nLeftWidth=5\n"},
  })));
  ASSERT_TRUE(data.LoadSkin());
  EXPECT_EQ(data.Scrollbar->Margins, (TRect{345, 0, 345, 15}));
  EXPECT_EQ(data.Buttons->Margins, (TRect{0, 9, 10, 10}));
  EXPECT_EQ(data.Borders[1]->Margins, (TRect{0, 60, 0, 5}));  // left.bmp is 4 x 60
  EXPECT_EQ(data.Borders[3]->Margins, (TRect{30, 0, 0, 0}));  // top.bmp is 200 x 30
  EXPECT_EQ(data.MenuBar->Margins, (TRect{0, 0, 30, 0}));     // menubar.bmp is 30 x 20
  EXPECT_EQ(data.Toolbars->Margins, (TRect{0, 0, 0, 0}));     // no picture, no bands
  // The title's margins are text positions, not bands of its image: kept.
  EXPECT_EQ(data.Title->Margins, (TRect{-4, 2, 5000, 0}));
}

// A 1-bit BMP file of w x h black pixels: small to store, large to decode.
std::vector<uint8_t> OneBitBmp(int w, int h) {
  const uint32_t stride = static_cast<uint32_t>((w + 31) / 32 * 4), offset = 14 + 40 + 8;
  std::vector<uint8_t> f;
  auto put = [&](uint32_t v, int bytes) {
    for (int i = 0; i < bytes; i++)
      f.push_back(static_cast<uint8_t>(v >> (8 * i)));
  };
  f = {'B', 'M'};
  put(offset + stride * h, 4);
  put(0, 4);
  put(offset, 4);
  put(40, 4);
  put(w, 4);
  put(h, 4);
  put(1, 2);  // planes
  put(1, 2);  // bits per pixel
  put(0, 4);  // no compression
  put(stride * h, 4);
  put(2835, 4);
  put(2835, 4);
  put(2, 4);
  put(0, 4);
  put(0, 4);         // palette: black
  put(0xFFFFFF, 4);  // and white
  f.resize(offset + stride * h, 0);
  return f;
}

TEST(SkinLoaderTest, OneImageNamedManyTimesCannotMultiplyWithoutBound) {
  // A 4-megapixel image named by a few elements loads; named by many, the
  // pixels the elements would hold together pass what any skin needs, and the
  // load fails like a bad image instead of taking gigabytes.
  auto load = [](int sections) {
    std::string ini;
    for (int i = 0; i < sections; i++)
      ini += "[Button" + std::to_string(i) + "]\nButtonImage=huge.bmp\nframe=1\n";
    TSkinData data;
    data.SkinStream.Write(WriteSkinPackage(
        {{"skin.ini", {ini.begin(), ini.end()}}, {"huge.bmp", OneBitBmp(2048, 2048)}}));
    return data.LoadSkin();
  };
  EXPECT_TRUE(load(3));
  EXPECT_THROW(load(5), EBitmapError);
}

TEST(SkinLoaderTest, BadBitmapEndsTheLoad) {
  auto entries = SampleEntries();
  for (auto& e : entries) {
    if (e.Name == "scrollbar.bmp") e.Data = {'B', 'M', 1, 2, 3};
  }
  TSkinData data;
  data.SkinStream.Write(WriteSkinPackage(entries));
  EXPECT_THROW(data.LoadSkin(), EBitmapError);
  EXPECT_TRUE(data.NotLoaded);
}

// A switch to a package whose button image is damaged, after a complete
// load: the load fails before anything the windows paint from is touched.
// Each element, its pixels and every colour stay as they were (the address
// sanitizer sees any read of freed elements in the tests that follow).
TEST_F(LoadedSample, AFailedSwitchLeavesTheLoadedSkinWhole) {
  const std::vector<std::pair<std::string, const TDataSkinObject*>> before = SkinSlots(data_);
  const uint32_t button_pixel = data_.Buttons->Bitmap.Pixel(3, 3);
  const TColour face = data_.ButtonFaceColour;
  auto entries = SampleEntries();
  for (auto& e : entries) {
    if (e.Name == "BUTTONS.BMP") e.Data = {'B', 'M', 9, 9, 9, 9};
    if (e.Name.find(".ini") != std::string::npos) {
      std::string ini(e.Data.begin(), e.Data.end());
      testing::AddToSection(ini, "Colours", "ButtonFaceR=1\nButtonFaceG=2\nButtonFaceB=3");
      e.Data.assign(ini.begin(), ini.end());
    }
  }
  TMemoryStream damaged;
  damaged.Write(WriteSkinPackage(entries));
  const std::vector<uint8_t> good(data_.SkinStream.Bytes().begin(), data_.SkinStream.Bytes().end());
  data_.SkinStream.Clear();
  data_.SkinStream.Write(damaged.Bytes());
  EXPECT_THROW(data_.LoadSkin(), EBitmapError);
  EXPECT_FALSE(data_.NotLoaded);
  EXPECT_EQ(SkinSlots(data_), before);
  EXPECT_EQ(data_.Buttons->Bitmap.Pixel(3, 3), button_pixel);
  EXPECT_EQ(data_.ButtonFaceColour, face);
  EXPECT_EQ(data_.SkinName, "Sample Skin");
  // The same through a stored stream: the package in use comes back too.
  data_.SkinStream.Clear();
  data_.SkinStream.Write(good);
  TMemoryStream stored;
  const auto n = static_cast<uint32_t>(damaged.Size());
  const uint8_t len[4] = {static_cast<uint8_t>(n), static_cast<uint8_t>(n >> 8),
                          static_cast<uint8_t>(n >> 16), static_cast<uint8_t>(n >> 24)};
  stored.Write(len, 4);
  stored.Write(damaged.Bytes());
  stored.SetPosition(0);
  EXPECT_THROW(data_.ReadSkinStream(stored), EBitmapError);
  EXPECT_FALSE(data_.NotLoaded);
  EXPECT_EQ(std::vector<uint8_t>(data_.SkinStream.Bytes().begin(), data_.SkinStream.Bytes().end()),
            good);
  EXPECT_EQ(SkinSlots(data_), before);
}

// A complete switch replaces the elements, and the manager hears of it while
// the old ones still exist.
TEST(SkinLoaderTest, ASuccessfulSwitchTellsTheManagerBeforeTheOldElementsGo) {
  struct TManager : ISkinManager {
    void AddSkinData(TSkinData*) override {}
    void RemoveSkinData(TSkinData*) override {}
    void InstallHook() override {}
    void ScheduleAction(int, int) override {}
    void SkinWindow(void*) override {}
    void ReloadForms() override {}
    void SetPendingSkinData(TSkinData*) override {}
    int StartState() const override { return 0; }
    void SetStartState(int) override {}
    void SetActive(bool) override {}
    void ElementsReplaced(TSkinData* d) override {
      ++calls;
      replaced_with = d->Buttons.get();
    }
    int calls = 0;
    const TDataSkinButton* replaced_with = nullptr;
  } manager;
  struct THost : ISkinDataHost {
    explicit THost(ISkinManager& m) : m_(m) {}
    ISkinManager* Manager(bool) override { return &m_; }
    void ShowMessage(const std::string&) override {}
    void* OwnerWindow() override { return nullptr; }
    int HorzScrollArrowWidth() override { return 17; }
    ISkinManager& m_;
  } host(manager);
  TSkinData data(&host);
  data.SkinStream.Write(SamplePackage());
  ASSERT_TRUE(data.LoadSkin());
  const TDataSkinButton* first = data.Buttons.get();
  ASSERT_TRUE(data.LoadSkin());
  EXPECT_EQ(manager.calls, 2);
  EXPECT_NE(data.Buttons.get(), first);
  EXPECT_EQ(manager.replaced_with, data.Buttons.get());
}

}  // namespace
}  // namespace skin
