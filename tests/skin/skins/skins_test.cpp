// Reads the two generated skin packages back (package reader, INI reader, BMP
// decoder) and checks them against the rules the element loader and the
// painters apply: every slot named and filled, frame counts agreeing with the
// image sizes, the window region cut along the rounded corners, and no
// antialiasing against the magenta key anywhere.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "skin/data/bitmap.h"
#include "skin/data/bmp_codec.h"
#include "skin/data/memory_stream.h"
#include "skin/data/quick_ini.h"
#include "skin/data/skin_draw.h"
#include "skin/data/skin_reader.h"

namespace {

struct Package {
  skin::TSkinReader reader;
  skin::TQuickIni ini;
  std::map<std::string, skin::TBitmap> images;  // by lower-case entry name
};

std::unique_ptr<Package> LoadPackage(const std::string& file) {
  std::ifstream in(std::string(PROJECT_BINARY_DIR) + "/skins/" + file, std::ios::binary);
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
  if (bytes.empty()) return nullptr;
  auto p = std::make_unique<Package>();
  skin::TMemoryStream compressed(std::move(bytes));
  if (!p->reader.LoadPackage(compressed)) return nullptr;
  skin::TMemoryStream description;
  std::string name;
  if (!p->reader.ExtractEntryContaining(".ini", description, name)) return nullptr;
  p->ini.LoadFromStream(&description);
  for (const std::string& entry : p->reader.Names()) {
    if (entry.size() < 4 || entry.substr(entry.size() - 4) != ".bmp") continue;
    skin::TMemoryStream data;
    p->reader.ExtractEntry(entry, data);
    p->images[entry] = skin::DecodeBmp(data.Bytes());
  }
  return p;
}

// The image an INI value names, as the loader finds it: the file part of the
// value, with a lower-case ".bmp" extension, looked up in the package.
const skin::TBitmap* Image(const Package& p, const std::string& value) {
  const size_t cut = value.find_last_of("\\:");
  const std::string file = cut == std::string::npos ? value : value.substr(cut + 1);
  if (file.size() < 4 || file.substr(file.size() - 4) != ".bmp") return nullptr;
  const auto it = p.images.find(skin::AsciiLower(file));
  return it == p.images.end() ? nullptr : &it->second;
}

// Element slots: section, image key, frames, frames stacked.
struct Slot {
  const char* section;
  const char* key;
  int frames;
  bool vertical;
};

const Slot kSlots[] = {
    {"Personality", "TextBack", 2, true},
    {"Personality", "menuBar", 2, true},
    {"Buttons", "Bitmap", 5, false},
    {"Progress", "Bitmap", 2, false},
    {"Progress", "Chunk", 1, false},
    {"GroupBoxEdge", "Image", 2, false},
    {"GroupBox", "Image", 1, false},
    {"Toolbars", "Image", 5, false},
    {"Tabs", "Image", 5, false},
    {"Tabs", "Border", 1, false},
    {"StatusBarEdges", "Image", 3, false},
    {"ComboButton", "Image", 4, false},
    {"SunkEdge", "Image", 4, false},
    {"ExtraImages", "Image", 5, false},
    {"Headerbar", "Image", 5, false},
    {"MenuItem", "Image", 5, false},
    {"MenuBackground", "Image", 1, false},
    {"Scrollbar", "Image", 23, false},
    {"HorzScroll", "Image", 4, false},
    {"VertScroll", "Image", 4, false},
    {"HorzScrollThumb", "Image", 0, false},  // FrameCount key
    {"VertScrollThumb", "Image", 0, false},
    {"Trackbar.ThumbHorz", "Image", 5, false},
    {"Trackbar.ThumbVert", "Image", 5, false},
    {"Trackbar.ThumbLeft", "Image", 5, false},
    {"Trackbar.ThumbRight", "Image", 5, false},
    {"Trackbar.ThumbUp", "Image", 5, false},
    {"Trackbar.ThumbDown", "Image", 5, false},
    {"UpDown.Horz", "Image", 8, false},
    {"UpDown.Horz", "GlyphImage", 8, false},
    {"UpDown.Vert", "Image", 8, false},
    {"UpDown.Vert", "GlyphImage", 8, false},
    {"MDICONTROLS", "Image", 12, false},
};

void ExpectFrames(const skin::TBitmap& image, int frames, bool vertical, const std::string& what) {
  ASSERT_GT(frames, 0) << what;
  const int length = vertical ? image.Height() : image.Width();
  EXPECT_EQ(length % frames, 0) << what << ": " << length << " pixels for " << frames << " frames";
  EXPECT_GT(length / frames, 0) << what;
}

// Runs of opaque pixels per row, as the window region is built from a border
// image: a pixel is transparent when red and blue are 255 and green is 0 or 1.
struct Span {
  int from, to;
};
std::vector<std::vector<Span>> RegionSpans(const skin::TBitmap& b) {
  std::vector<std::vector<Span>> rows(b.Height());
  for (int y = 0; y < b.Height(); ++y) {
    int start = -1;
    for (int x = 0; x <= b.Width(); ++x) {
      bool opaque = false;
      if (x < b.Width()) {
        const uint32_t c = b.Pixel(x, y);
        opaque = !(skin::RedOf(c) == 255 && skin::BlueOf(c) == 255 && skin::GreenOf(c) <= 1);
      }
      if (opaque && start < 0) start = x;
      if (!opaque && start >= 0) {
        rows[y].push_back({start, x});
        start = -1;
      }
    }
  }
  return rows;
}

class SkinPackageTest : public testing::TestWithParam<const char*> {
 protected:
  void SetUp() override {
    package_ = LoadPackage(GetParam());
    ASSERT_NE(package_, nullptr) << "cannot read " << GetParam();
  }
  std::string Str(const std::string& section, const std::string& key) const {
    return package_->ini.ReadString(section, key, "");
  }
  int Int(const std::string& section, const std::string& key, int fallback = 0) const {
    return package_->ini.ReadInteger(section, key, fallback);
  }
  skin::TRect TopMargins() const {
    return {Int("Personality", "TopTopHeight"), 0, Int("Personality", "TopBotHeight"), 0};
  }
  std::unique_ptr<Package> package_;
};

TEST_P(SkinPackageTest, EveryElementSlotIsFilledWithFramesThatDivideItsImage) {
  for (const Slot& slot : kSlots) {
    const std::string what = std::string(slot.section) + "/" + slot.key;
    const skin::TBitmap* image = Image(*package_, Str(slot.section, slot.key));
    ASSERT_NE(image, nullptr) << what << " names no .bmp entry of the package";
    int frames = slot.frames ? slot.frames : Int(slot.section, "FrameCount", 3);
    if (std::string(slot.section) == "Progress" && std::string(slot.key) == "Bitmap" &&
        Int("Progress", "Style") == 1)
      frames = 1;  // the chunked form paints the trough as one frame
    ExpectFrames(*image, frames, slot.vertical, what);
  }
  EXPECT_FALSE(Str("TitlebarSkin", "SkinName").empty());
  // Caption text colours: three integers each, as the title reader takes them.
  for (const char* prefix : {"ActiveText", "InActiveText"})
    for (const char* channel : {"R", "G", "B"}) {
      const int value = Int("Personality", std::string(prefix) + channel, -1);
      EXPECT_TRUE(value >= 0 && value <= 255) << prefix << channel;
    }
  EXPECT_GT(Int("Fonts", "FontHeight"), 0);
  for (const char* key :
       {"WindowText", "ButtonFace", "Scrollbar", "HilightText", "Hilight", "Menubar", "Menu",
        "MenuText", "ButtonText", "ButtonHilight", "Buttonlight", "ButtonShadow", "ButtonDkShadow",
        "MenuBarText", "TitleTextActive", "TitleTextNoActive"})
    EXPECT_FALSE(Str("Colours", key).empty()) << "Colours/" << key;
}

TEST_P(SkinPackageTest, BordersGiveTheFrameSizesAndTheirMarginsFit) {
  for (const char* name : {"Left", "Right", "Top", "Bottom"}) {
    const skin::TBitmap* image = Image(*package_, Str("Personality", name));
    ASSERT_NE(image, nullptr) << name;
    const int frames = Int("Personality", std::string(name) + "Frame", 1);
    EXPECT_EQ(frames, 2) << name << ": active and inactive frames";
    const bool stacked = std::string(name) == "Top" || std::string(name) == "Bottom";
    ExpectFrames(*image, frames, stacked, name);
    // Fixed bands must fit in one frame, leaving a middle to stretch.
    const int along = stacked ? image->Width() : image->Height();
    EXPECT_LT(Int("Personality", std::string(name) + "TopHeight") +
                  Int("Personality", std::string(name) + "BotHeight"),
              along)
        << name;
  }
  const skin::TBitmap* left = Image(*package_, Str("Personality", "Left"));
  const skin::TBitmap* top = Image(*package_, Str("Personality", "Top"));
  // The side borders' fixed top band is exactly the caption band.
  EXPECT_EQ(Int("Personality", "LeftTopHeight"), top->Height() / 2);
  EXPECT_GT(left->Width() / 2, 0);
  EXPECT_EQ(Int("Personality", "TopTrans"), 1);
}

// The region built from the top border (as the frame painter renders it for a
// 300-pixel band) cuts both upper corners and keeps the full width lower down.
TEST_P(SkinPackageTest, RegionFromTheTopBorderCutsTheCorners) {
  const skin::TBitmap* top = Image(*package_, Str("Personality", "Top"));
  const skin::TBitmap* left = Image(*package_, Str("Personality", "Left"));
  ASSERT_NE(top, nullptr);
  ASSERT_NE(left, nullptr);
  const int band = top->Height() / 2, width = 300;
  for (int frame = 1; frame <= 2; ++frame) {
    const skin::TBitmap caption =
        skin::BuildSkinImage({0, 0, width, band}, *top, TopMargins(), true, false, 2, frame);
    const auto rows = RegionSpans(caption);
    ASSERT_EQ(rows[0].size(), 1u) << "frame " << frame;
    EXPECT_GT(rows[0][0].from, 0) << "top-left corner not cut, frame " << frame;
    EXPECT_LT(rows[0][0].to, width) << "top-right corner not cut, frame " << frame;
    // The cut narrows row by row and ends inside the band.
    for (int y = 1; y < band; ++y) {
      ASSERT_EQ(rows[y].size(), 1u) << "row " << y;
      EXPECT_LE(rows[y][0].from, rows[y - 1][0].from) << "row " << y;
      EXPECT_GE(rows[y][0].to, rows[y - 1][0].to) << "row " << y;
    }
    EXPECT_EQ(rows[band - 1][0].from, 0);
    EXPECT_EQ(rows[band - 1][0].to, width);
    // The corner continues in the side border: its outer top pixel is cut too.
    const skin::TBitmap side = skin::BuildSkinImage(
        {0, 0, left->Width() / 2, 200}, *left,
        {0, Int("Personality", "LeftTopHeight"), 0, Int("Personality", "LeftBotHeight")}, false,
        false, 2, frame);
    const auto side_rows = RegionSpans(side);
    EXPECT_TRUE(side_rows[0].empty() || side_rows[0][0].from > 0);
    EXPECT_EQ(side_rows[100].size(), 1u);
  }
}

// Antialiased edges were blended with real colours only: no image holds a
// colour between a surface colour and magenta (a pink fringe).
TEST_P(SkinPackageTest, NoPixelIsBlendedWithTheTransparentColour) {
  for (const auto& [name, image] : package_->images) {
    int fringe = 0;
    for (int y = 0; y < image.Height(); ++y)
      for (int x = 0; x < image.Width(); ++x) {
        const uint32_t c = image.Pixel(x, y);
        if (c == skin::kSkinTransparent) continue;
        const int r = skin::RedOf(c), g = skin::GreenOf(c), b = skin::BlueOf(c);
        if (r - g > 90 && b - g > 90) ++fringe;
      }
    EXPECT_EQ(fringe, 0) << name;
  }
}

// Title-bar buttons: the frame count the loader settles on divides the image;
// exactly one of maximize and restore shows in each window state.
TEST_P(SkinPackageTest, TitleButtonsHaveUsableImages) {
  std::vector<std::string> sections;
  package_->ini.ReadSections(sections);
  int maximize = 0, restore = 0, close = 0, minimize = 0, system = 0, user = 0, four = 0;
  for (const std::string& s : sections) {
    const std::string upper = [&] {
      std::string u = s;
      for (char& ch : u)
        ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
      return u;
    }();
    if (upper.rfind("BUTTON", 0) != 0 || upper == "BUTTONS" || upper == "BUTTON" ||
        upper == "BUTTON.RADIO" || upper == "BUTTON.CHECKBOX")
      continue;
    const int action = Int(s, "Action");
    if (action == -1 && Int(s, "Visibility", -1) != 0) continue;  // dropped by the loader
    const int frame_key = Int(s, "frame");
    const skin::TBitmap* image = Image(*package_, Str(s, "ButtonImage"));
    if ((action == 3 || action == 11) && frame_key == 0) {
      EXPECT_EQ(image, nullptr) << s << ": the icon button shows the window icon";
      ++system;
      continue;
    }
    ASSERT_NE(image, nullptr) << s;
    int frames = frame_key;
    if (frames == 0) {
      frames = static_cast<double>(image->Width()) / image->Height() <= 3.8 ? 3 : 6;
      if (action < 0) frames = 6;
    }
    ExpectFrames(*image, frames, false, s);
    four += frames == 4;
    // A hovered button is painted straight over its previous state: frames
    // with transparent pixels would leave the old state showing through.
    int transparent = 0;
    for (int y = 0; y < image->Height(); ++y)
      for (int x = 0; x < image->Width(); ++x)
        transparent += image->Pixel(x, y) == skin::kSkinTransparent;
    if (action >= 0 && action != 3 && action != 11) {  // icon buttons draw the icon
      EXPECT_EQ(transparent, 0) << s;
    }
    const int visibility = Int(s, "Visibility");
    if (action == 0) ++close;
    if (action == 2) ++minimize;
    if (action == 3 || action == 11) ++system;
    if (action >= 40) ++user;
    if (action == 1 && visibility == 2) ++maximize;
    if (action == 1 && visibility == 1) ++restore;
  }
  const skin::TBitmap* mdi = Image(*package_, Str("MDICONTROLS", "Image"));
  ASSERT_NE(mdi, nullptr);
  for (int y = 0; y < mdi->Height(); ++y)
    for (int x = 0; x < mdi->Width(); ++x)
      ASSERT_NE(mdi->Pixel(x, y), skin::kSkinTransparent) << "MDI buttons, " << x << "," << y;
  EXPECT_EQ(close, 1);
  EXPECT_EQ(minimize, 1);
  EXPECT_EQ(maximize, 1);
  EXPECT_EQ(restore, 1);
  EXPECT_EQ(system, 1);
  EXPECT_GE(user, 1);
  EXPECT_GE(four, 1) << "no button with an inactive frame";
}

// Check and radio images: the frame count given, or derived as the loader does.
TEST_P(SkinPackageTest, CheckAndRadioFrameCounts) {
  for (const char* key : {"CheckButton", "RadioButton"}) {
    const skin::TBitmap* image = Image(*package_, Str("Buttons", key));
    ASSERT_NE(image, nullptr) << key;
    int frames = Int("Buttons", std::string(key) + "Frame");
    if (frames == 0) frames = image->Width() / (image->Height() < 16 ? 13 : 16);
    ExpectFrames(*image, frames, false, key);
    EXPECT_EQ(image->Width() / frames, image->Height()) << key << ": square frames";
  }
}

INSTANTIATE_TEST_SUITE_P(GeneratedSkins, SkinPackageTest,
                         testing::Values("default.skn", "test.skn"), [](const auto& info) {
                           return std::string(info.param).substr(0, 4) == "defa" ? "Default"
                                                                                 : "Test";
                         });

// The test skin exercises the rules the default skin leaves alone.
TEST(TestSkin, UsesTheLessCommonDescriptionRules) {
  auto test = LoadPackage("test.skn");
  auto def = LoadPackage("default.skn");
  ASSERT_NE(test, nullptr);
  ASSERT_NE(def, nullptr);
  const auto& t = test->ini;
  for (const char* name : {"Left", "Right", "Top", "Bottom"})
    EXPECT_EQ(t.ReadInteger("Personality", std::string(name) + "Trans", 0), 1) << name;
  EXPECT_EQ(def->ini.ReadInteger("Personality", "BottomTrans", 1), 0);
  EXPECT_NE(Image(*test, t.ReadString("Personality", "Left", ""))->Width(),
            Image(*def, def->ini.ReadString("Personality", "Left", ""))->Width());
  EXPECT_EQ(t.ReadInteger("Buttons", "CheckButtonFrame", 0), 12);
  EXPECT_EQ(Image(*test, t.ReadString("Buttons", "RadioButton", ""))->Width() / 16, 8);
  EXPECT_GE(t.FindSection("Button.Push"), 0);
  EXPECT_EQ(t.ReadInteger("Progress", "Style", 0), 1);
  EXPECT_EQ(t.ReadInteger("MenuBackground", "Tile", 0), 1);
  EXPECT_EQ(t.ReadInteger("Button.SysMenu", "frame", 0), 1);
  EXPECT_NE(Image(*test, t.ReadString("Button.SysMenu", "ButtonImage", "")), nullptr);
  // The bottom border's region cuts its lower corners too.
  const skin::TBitmap* bottom = Image(*test, t.ReadString("Personality", "Bottom", ""));
  const int band = bottom->Height() / 2;
  const skin::TBitmap edge =
      skin::BuildSkinImage({0, 0, 200, band}, *bottom,
                           {t.ReadInteger("Personality", "BottomTopHeight", 0), 0,
                            t.ReadInteger("Personality", "BottomBotHeight", 0), 0},
                           true, false, 2, 1);
  const auto rows = RegionSpans(edge);
  ASSERT_EQ(rows[band - 1].size(), 1u);
  EXPECT_GT(rows[band - 1][0].from, 0);
  EXPECT_LT(rows[band - 1][0].to, 200);
}

}  // namespace
