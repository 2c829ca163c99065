// Loads the two generated packages with the skin data component and checks
// the elements it builds: no empty slot in the default skin, frame counts that
// divide the images, the combo composite, the title-bar buttons, and the
// window region of the top border.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "skin/data/skin_data.h"
#include "skin/data/skin_draw.h"

namespace {

class Host : public skin::ISkinDataHost {
 public:
  skin::ISkinManager* Manager(bool) override { return nullptr; }
  void ShowMessage(const std::string& text) override { messages.push_back(text); }
  void* OwnerWindow() override { return nullptr; }
  int HorzScrollArrowWidth() override { return 17; }
  std::vector<std::string> messages;
};

struct Loaded {
  Host host;
  skin::TSkinData data{&host};
};

std::unique_ptr<Loaded> Load(const std::string& file) {
  std::ifstream in(std::string(PROJECT_BINARY_DIR) + "/skins/" + file, std::ios::binary);
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
  auto loaded = std::make_unique<Loaded>();
  loaded->data.SkinStream = skin::TMemoryStream(std::move(bytes));
  if (!loaded->data.LoadSkin() || loaded->data.NotLoaded) return nullptr;
  return loaded;
}

// Frames laid side by side (or stacked) must divide the image exactly.
void ExpectElement(const skin::TDataSkinObject* e, const std::string& what, bool vertical = false) {
  ASSERT_NE(e, nullptr) << what << ": empty slot";
  ASSERT_FALSE(e->Bitmap.Empty()) << what << ": empty bitmap";
  ASSERT_GT(e->FrameCount, 0) << what;
  const int length = vertical ? e->Bitmap.Height() : e->Bitmap.Width();
  EXPECT_EQ(length % e->FrameCount, 0)
      << what << ": " << length << " pixels, " << e->FrameCount << " frames";
}

class LoadedSkinTest : public testing::TestWithParam<const char*> {
 protected:
  void SetUp() override {
    loaded_ = Load(GetParam());
    ASSERT_NE(loaded_, nullptr) << GetParam() << " did not load";
  }
  const skin::TSkinData& data() const { return loaded_->data; }
  std::unique_ptr<Loaded> loaded_;
};

TEST_P(LoadedSkinTest, EverySlotIsFilled) {
  const skin::TSkinData& d = data();
  const std::pair<const skin::TDataSkinObject*, const char*> slots[] = {
      {d.Progress.get(), "Progress"},
      {d.GroupBoxEdge.get(), "GroupBoxEdge"},
      {d.GroupBox.get(), "GroupBox"},
      {d.Toolbars.get(), "Toolbars"},
      {d.Tabs.get(), "Tabs"},
      {d.StatusBarEdges.get(), "StatusBarEdges"},
      {d.ComboButton.get(), "ComboButton"},
      {d.SunkEdge.get(), "SunkEdge"},
      {d.ExtraImages.get(), "ExtraImages"},
      {d.Headerbar.get(), "Headerbar"},
      {d.MenuItem.get(), "MenuItem"},
      {d.MenuBackground.get(), "MenuBackground"},
      {d.Scrollbar.get(), "Scrollbar"},
      {d.HorzScroll.get(), "HorzScroll"},
      {d.VertScroll.get(), "VertScroll"},
      {d.HorzScrollThumb.get(), "HorzScrollThumb"},
      {d.VertScrollThumb.get(), "VertScrollThumb"},
      {d.TrackbarThumbHorz.get(), "Trackbar.ThumbHorz"},
      {d.TrackbarThumbVert.get(), "Trackbar.ThumbVert"},
      {d.TrackbarThumbLeft.get(), "Trackbar.ThumbLeft"},
      {d.TrackbarThumbRight.get(), "Trackbar.ThumbRight"},
      {d.TrackbarThumbUp.get(), "Trackbar.ThumbUp"},
      {d.TrackbarThumbDown.get(), "Trackbar.ThumbDown"},
      {d.UpDownHorz.get(), "UpDown.Horz"},
      {d.UpDownVert.get(), "UpDown.Vert"},
      {d.Buttons.get(), "Buttons"},
  };
  for (const auto& [element, name] : slots) {
    // The chunked progress bar paints its trough as a single frame.
    if (std::string(name) == "Progress" && element && element->Style == 1) {
      ASSERT_FALSE(element->Bitmap.Empty());
      continue;
    }
    ExpectElement(element, name);
  }
  ExpectElement(d.MenuBar.get(), "MenuBar", true);
  ExpectElement(d.Title.get(), "Title (TextBack)", true);
  for (int i = 1; i <= 4; ++i) {
    ExpectElement(d.Borders[i].get(), "Border " + std::to_string(i), i >= 3);
    EXPECT_EQ(d.Borders[i]->FrameCount, 2) << "Border " << i;
  }
  EXPECT_FALSE(d.Progress->Bitmap2.Empty()) << "progress chunk";
  EXPECT_FALSE(d.Tabs->Bitmap2.Empty()) << "tab page border";
  EXPECT_FALSE(d.UpDownHorz->Bitmap2.Empty()) << "horizontal up-down glyphs";
  EXPECT_FALSE(d.UpDownVert->Bitmap2.Empty()) << "vertical up-down glyphs";
  EXPECT_FALSE(d.Buttons->CheckBitmap.Empty());
  EXPECT_FALSE(d.Buttons->RadioBitmap.Empty());
  EXPECT_EQ(d.Buttons->CheckBitmap.Width() % d.Buttons->CheckFrameCount, 0);
  EXPECT_EQ(d.Buttons->RadioBitmap.Width() % d.Buttons->RadioFrameCount, 0);
  EXPECT_NE(d.Title->ActiveTextColour, skin::kNoColour);
  EXPECT_NE(d.Title->InactiveTextColour, skin::kNoColour);
  EXPECT_FALSE(d.SkinName.empty());
  EXPECT_TRUE(loaded_->host.messages.empty());
}

TEST_P(LoadedSkinTest, ComboCompositeIsBuilt) {
  const skin::TDataSkinBorder& combo = *data().ComboButton;
  EXPECT_EQ(combo.Style, 2);
  EXPECT_EQ(combo.Bitmap.Width(), 50 * 4);
  EXPECT_EQ(combo.Bitmap.Height(), 21);
  EXPECT_EQ(combo.Margins.Right, 17 + 2 + 2);
  // The field interior is transparent, the border opaque.
  EXPECT_EQ(combo.Bitmap.Pixel(10, 10), skin::kSkinTransparent);
  EXPECT_NE(combo.Bitmap.Pixel(10, 0), skin::kSkinTransparent);
}

TEST_P(LoadedSkinTest, TitleButtonsAndMdiButtons) {
  const auto& buttons = data().SysButtons;
  ASSERT_GE(buttons.size(), 3u);
  const size_t k = buttons.size() - 3;
  bool close = false, minimize = false, icon = false, user = false, inactive_frame = false;
  int maximize_restore = 0;
  for (size_t i = 0; i < k; ++i) {
    const skin::TDataSkinSysButton& b = *buttons[i];
    if (b.Action == 3 || b.Action == 11) {
      icon = true;
      continue;  // shows the window icon, or its own image with frame=1
    }
    ExpectElement(&b, b.Name);
    EXPECT_LE(b.Bitmap.Height(), data().Borders[3]->Bitmap.Height() / 2) << b.Name;
    close |= b.Action == 0;
    minimize |= b.Action == 2;
    user |= b.Action >= 40;
    maximize_restore += b.Action == 1;
    inactive_frame |= b.FrameCount == 4;
  }
  EXPECT_TRUE(close && minimize && icon && user && inactive_frame);
  EXPECT_EQ(maximize_restore, 2);
  for (size_t i = k; i < buttons.size(); ++i) {
    ExpectElement(buttons[i].get(), "MDI button " + std::to_string(i - k));
    EXPECT_EQ(buttons[i]->FrameCount, 4);
  }
}

// Caption buttons sit inside the caption band, clear of the right border and
// of each other (maximize and restore share a place: only one shows at a
// time), and the caption text is clipped before the leftmost of them.
TEST_P(LoadedSkinTest, CaptionButtonsFitTheCaptionBand) {
  const skin::TSkinData& d = data();
  const int band = d.Borders[3]->Bitmap.Height() / d.Borders[3]->FrameCount;
  const int right_border = d.Borders[2]->Bitmap.Width() / d.Borders[2]->FrameCount;
  struct Placed {
    int from, to, visibility;
    std::string name;
  };
  std::vector<Placed> right;
  for (const auto& b : d.SysButtons) {
    if (b->Visibility == 100 || b->Bitmap.Empty()) continue;
    const int w = b->Bitmap.Width() / b->FrameCount;
    EXPECT_GE(b->YCoord, 0) << b->Name;
    EXPECT_LE(b->YCoord + b->Bitmap.Height(), band) << b->Name;
    if (b->Align != 1) continue;
    EXPECT_GE(b->XCoord - w, right_border) << b->Name << " runs into the right border";
    right.push_back({-b->XCoord, -b->XCoord + w, b->Visibility, b->Name});
  }
  ASSERT_FALSE(right.empty());
  int leftmost = 0;
  for (size_t i = 0; i < right.size(); ++i) {
    leftmost = std::min(leftmost, right[i].from);
    for (size_t j = i + 1; j < right.size(); ++j) {
      const bool overlap = right[i].from < right[j].to && right[j].from < right[i].to;
      const bool exclusive = right[i].visibility + right[j].visibility == 3 &&
                             right[i].visibility * right[j].visibility == 2;
      EXPECT_TRUE(!overlap || exclusive) << right[i].name << " overlaps " << right[j].name;
    }
  }
  // Text right edge: width - right border - TextRightClip, at most the
  // leftmost button's left edge (width - its XCoord).
  EXPECT_GE(right_border + d.Title->Margins.Right, -leftmost);
}

// The region taken from the top border, as the frame painter builds it for a
// 320-pixel caption band, leaves out both upper corners.
TEST_P(LoadedSkinTest, TopBorderRegionCutsTheCorners) {
  const skin::TDataSkinBorder& top = *data().Borders[3];
  ASSERT_EQ(top.Trans, 1);
  const int band = top.Bitmap.Height() / top.FrameCount, width = 320;
  for (int frame = 1; frame <= top.FrameCount; ++frame) {
    const skin::TBitmap caption = skin::BuildSkinImage({0, 0, width, band}, top.Bitmap, top.Margins,
                                                       true, false, top.FrameCount, frame);
    EXPECT_EQ(caption.Pixel(0, 0), skin::kSkinTransparent) << "frame " << frame;
    EXPECT_EQ(caption.Pixel(width - 1, 0), skin::kSkinTransparent) << "frame " << frame;
    EXPECT_NE(caption.Pixel(width / 2, 0), skin::kSkinTransparent) << "frame " << frame;
    for (int x = 0; x < width; ++x)
      EXPECT_NE(caption.Pixel(x, band - 1), skin::kSkinTransparent) << "bottom row, x " << x;
  }
}

INSTANTIATE_TEST_SUITE_P(GeneratedSkins, LoadedSkinTest, testing::Values("default.skn", "test.skn"),
                         [](const auto& info) {
                           return std::string(info.param) == "default.skn" ? "Default" : "Test";
                         });

// The rules only the test skin exercises, as the loader applies them.
TEST(LoadedTestSkin, LessCommonRules) {
  auto loaded = Load("test.skn");
  ASSERT_NE(loaded, nullptr);
  const skin::TSkinData& d = loaded->data;
  EXPECT_EQ(d.Buttons->CheckFrameCount, 12);
  EXPECT_EQ(d.Buttons->RadioFrameCount, 8);  // derived from the 16-pixel height
  EXPECT_EQ(d.Buttons->Tile, 2);             // no limit on Tile for Buttons
  EXPECT_EQ(d.Progress->Style, 1);
  EXPECT_EQ(d.MenuBackground->Tile, 1);
  EXPECT_EQ(d.Toolbars->Tile, 0);  // Tile=2 in an image section reads as 0
  for (int i = 1; i <= 4; ++i)
    EXPECT_EQ(d.Borders[i]->Trans, 1) << i;
  bool push = false, kept_decoration = false, dropped = false, icon_image = false;
  for (const auto& b : d.SysButtons) {
    push |= b->Name == "BUTTON.PUSH" && b->FrameCount == 3;
    kept_decoration |= b->Name == "BUTTON.MARK" && b->Action == -1 && b->Visibility1 == -1;
    dropped |= b->Name == "BUTTON.DROPPED";
    icon_image |= b->Action == 3 && b->FrameCount == 1 && !b->Bitmap.Empty();
  }
  EXPECT_TRUE(push);
  EXPECT_TRUE(kept_decoration);
  EXPECT_FALSE(dropped);
  EXPECT_TRUE(icon_image);
}

}  // namespace
