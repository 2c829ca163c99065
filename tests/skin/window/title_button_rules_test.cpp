// Title-bar buttons apart from windows: the action of a button, the
// visibility table, the layout offsets and the frames painted.
#include "skin/window/title_button_rules.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace skin {
namespace {

// Elements are not copied: each case gets its own.
std::unique_ptr<TDataSkinSysButton> Button(int action, int visibility, int visibility1) {
  auto b = std::make_unique<TDataSkinSysButton>("BUTTON.TEST");
  b->Action = action;
  b->Visibility = visibility;
  b->Visibility1 = visibility1;
  return b;
}

TEST(TitleButtonRules, ActionsByNumber) {
  const struct {
    int action;
    TTitleAction expected;
  } cases[] = {
      {0, TTitleAction::kClose},        {1, TTitleAction::kMaximize},
      {22, TTitleAction::kMaximize},    {2, TTitleAction::kMinimize},
      {23, TTitleAction::kMinimize},    {3, TTitleAction::kSystemMenu},
      {11, TTitleAction::kSystemMenu},  {12, TTitleAction::kSystemMenu},
      {7, TTitleAction::kMDIMinimize},  {60, TTitleAction::kMDIMinimize},
      {8, TTitleAction::kMDIRestore},   {61, TTitleAction::kMDIRestore},
      {9, TTitleAction::kMDIClose},     {62, TTitleAction::kMDIClose},
      {4, TTitleAction::kUser},         {40, TTitleAction::kUser},
      {13, TTitleAction::kUser},        {-1, TTitleAction::kDecoration},
      {-40, TTitleAction::kDecoration},
  };
  for (const auto& c : cases)
    EXPECT_EQ(TitleActionOf(c.action), c.expected) << c.action;
  EXPECT_TRUE(ShowsWindowIcon(3));
  EXPECT_TRUE(ShowsWindowIcon(11));
  EXPECT_FALSE(ShowsWindowIcon(12));  // a system-menu button with an image of its own
}

// Every visibility code, alone in Visibility (Visibility1 0 lets it pass)
// and alone in Visibility1 (Visibility 201 lets it pass), against windows
// that differ in the one property the code reads.
TEST(TitleButtonRules, EveryVisibilityCodeInBothPlaces) {
  const TTitleButtonWindow plain{};  // no system menu, no boxes, normal, active
  const TTitleButtonWindow sys{.SysMenu = true};
  const TTitleButtonWindow max{.SysMenu = true, .Maximized = true};
  const TTitleButtonWindow inactive{.SysMenu = true, .Active = false};
  const TTitleButtonWindow maxbox_only{.MaxBox = true};
  const TTitleButtonWindow maxbox{.SysMenu = true, .MaxBox = true};
  const TTitleButtonWindow minbox_only{.MinBox = true};
  const TTitleButtonWindow minbox{.SysMenu = true, .MinBox = true};
  const TTitleButtonWindow mdi_max{.SysMenu = true, .MDIMaximized = true, .MenuBarHeight = 19};
  const TTitleButtonWindow mdi_max_no_bar{.SysMenu = true, .MDIMaximized = true};
  const TTitleButtonWindow dialog{.SysMenu = true, .Dialog = true};
  const TTitleButtonWindow message_box{.SysMenu = true, .Dialog = true, .DialogClass = true};

  const struct {
    const char* name;
    int code;
    const TTitleButtonWindow& window;
    bool as_first;   // Visibility = code, Visibility1 = 0
    bool as_second;  // Visibility = 201, Visibility1 = code
  } cases[] = {
      {"0 without system menu", 0, plain, false, true},
      {"0 with system menu", 0, sys, true, true},
      {"1 normal", 1, sys, false, false},
      {"1 maximized", 1, max, true, true},
      {"2 normal", 2, sys, true, true},
      {"2 maximized", 2, max, false, false},
      {"3 active", 3, sys, true, true},
      {"3 inactive", 3, inactive, false, false},
      {"4 active", 4, sys, false, false},
      {"4 inactive", 4, inactive, true, true},
      {"5 is no code", 5, sys, false, false},
      {"6 without maximize box", 6, sys, false, false},
      {"6 maximize box without system menu", 6, maxbox_only, false, true},
      {"6 maximize box and system menu", 6, maxbox, true, true},
      {"7 without maximize box", 7, sys, true, true},
      {"7 with maximize box", 7, maxbox, false, false},
      {"8 without minimize box", 8, sys, false, false},
      {"8 minimize box without system menu", 8, minbox_only, false, true},
      {"8 minimize box and system menu", 8, minbox, true, true},
      {"9 without minimize box", 9, sys, true, true},
      {"9 with minimize box", 9, minbox, false, false},
      {"100 no maximized MDI child", 100, sys, false, false},
      {"100 maximized MDI child", 100, mdi_max, true, true},
      {"100 maximized MDI child, no menu bar", 100, mdi_max_no_bar, false, false},
      {"200 ordinary window", 200, sys, false, false},
      {"200 dialog frame", 200, dialog, true, true},
      {"200 message box", 200, message_box, false, false},
      {"201", 201, plain, true, true},
      {"2000", 2000, plain, true, true},
      {"2001", 2001, sys, false, false},
      {"-1", -1, sys, false, false},
  };
  for (const auto& c : cases) {
    // A close button: no action rule hides it, and code 0 asks it for a
    // system menu.
    EXPECT_EQ(TitleButtonVisible(*Button(0, c.code, 0), c.window), c.as_first)
        << "Visibility " << c.name;
    EXPECT_EQ(TitleButtonVisible(*Button(0, 201, c.code), c.window), c.as_second)
        << "Visibility1 " << c.name;
  }
}

TEST(TitleButtonRules, ActionRulesWinOverTheCodes) {
  const TTitleButtonWindow sys{.SysMenu = true};
  const TTitleButtonWindow bare{};  // no WS_SYSMENU, no system menu
  // A close button of a window without a system menu is hidden; a user
  // button with the same code shows.
  EXPECT_FALSE(TitleButtonVisible(*Button(0, 0, 0), bare));
  EXPECT_TRUE(TitleButtonVisible(*Button(5, 0, 0), bare));
  EXPECT_TRUE(TitleButtonVisible(*Button(0, 0, 201), sys));
  // Maximize and minimize need their boxes, whatever the codes say.
  EXPECT_FALSE(TitleButtonVisible(*Button(1, 201, 201), sys));
  EXPECT_FALSE(TitleButtonVisible(*Button(2, 201, 201), sys));
  const TTitleButtonWindow boxes{.SysMenu = true, .MaxBox = true, .MinBox = true};
  EXPECT_TRUE(TitleButtonVisible(*Button(1, 201, 201), boxes));
  EXPECT_TRUE(TitleButtonVisible(*Button(2, 201, 201), boxes));
  // Actions 22 and 23 are not held to the boxes.
  EXPECT_TRUE(TitleButtonVisible(*Button(22, 201, 201), sys));
  EXPECT_TRUE(TitleButtonVisible(*Button(23, 201, 201), sys));
  // A dialog frame shows no system-menu button.
  const TTitleButtonWindow dialog{.SysMenu = true, .Dialog = true};
  for (int action : {3, 11, 12}) {
    EXPECT_TRUE(TitleButtonVisible(*Button(action, 0, 0), sys)) << action;
    EXPECT_FALSE(TitleButtonVisible(*Button(action, 0, 0), dialog)) << action;
  }
  // A decoration whose Visibility1 was left at its default (-1) never shows.
  EXPECT_FALSE(TitleButtonVisible(*Button(-1, 0, -1), sys));
}

TEST(TitleButtonRules, LayoutByAlign) {
  TTitleButtonPlace place;
  place.WindowWidth = 400;
  place.CaptionText = TRect{30, 5, 150, 20};
  place.BorderLeft = 4;
  place.BorderTop = 30;
  place.BorderRight = 5;
  place.MenuBarHeight = 20;
  place.MenuBarLeftMargin = 2;
  const struct {
    int align;
    bool rtl;
    TRect expected;  // for a 3-frame 84 x 22 image: 28 x 22
  } cases[] = {
      {0, false, {10, 4, 38, 26}},       // (XCoord, YCoord) from the left edge
      {1, false, {390, 4, 418, 26}},     // WindowWidth - XCoord
      {2, false, {-8, 4, 20, 26}},       // caption left - w - XCoord
      {8, false, {-8, 4, 20, 26}},       //
      {3, false, {160, 4, 188, 26}},     // caption right + XCoord
      {9, false, {160, 4, 188, 26}},     //
      {100, false, {383, 29, 411, 51}},  // 400 - 10 - 5 - 2; (20 - 22) / 2 + 30
      {100, true, {16, 29, 44, 51}},     // 10 + 4 + 2
      {5, false, {0, 0, 28, 22}},        // unknown: the origin
  };
  for (const auto& c : cases) {
    TDataSkinSysButton b("BUTTON.X");
    b.Bitmap = TBitmap(84, 22);
    b.FrameCount = 3;
    b.Align = c.align;
    b.XCoord = 10;
    b.YCoord = 4;
    place.RightToLeft = c.rtl;
    EXPECT_EQ(TitleButtonRect(b, place), c.expected) << "Align " << c.align << " rtl " << c.rtl;
  }
  // A frame count below 1 counts as one frame.
  TDataSkinSysButton one("BUTTON.ICON");
  one.Bitmap = TBitmap(16, 16);
  one.FrameCount = 0;
  EXPECT_EQ(TitleButtonWidth(one), 16);
}

TEST(TitleButtonRules, FramesPainted) {
  // The caption band: inactive windows use frame 4 only when there is one.
  EXPECT_EQ(CaptionButtonFrame(true, 4), 1);
  EXPECT_EQ(CaptionButtonFrame(false, 4), 4);
  EXPECT_EQ(CaptionButtonFrame(false, 3), 1);
  EXPECT_EQ(CaptionButtonFrame(false, 1), 1);
  // Mouse states paint their own frame; a hot menu-band button frame 4.
  const auto caption = Button(0, 0, 0);
  const auto band = Button(7, 100, 100);
  for (int state : {1, 2, 3}) {
    EXPECT_EQ(MouseStateFrame(*caption, state), state);
    EXPECT_EQ(MouseStateFrame(*band, state), state == 3 ? 4 : state);
  }
}

}  // namespace
}  // namespace skin
