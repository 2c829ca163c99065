// Title-bar buttons of skinned windows under Wine: which buttons a window
// shows (pixels of the caption band's buttons), their hover and press
// frames on the window, every action of a click, the double click on the
// caption, the system menu with its double-click close, and the icon.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "framework/dc.h"
#include "skin/controls/skin_manage.h"
#include "skin/data/skin_draw.h"
#include "skin/window/menu_bar.h"
#include "tests/skin/window/skinned_window.h"
#include "tests/skin/window/skinned_window_fixture.h"
#include "tests/support/win/lambda_hooks.h"
#include "tests/support/win/pump.h"

namespace skin_test {
namespace {

using skin::win::TWinSkinForm;
using skin::win::TWinSysButton;
using skin::win::fixtures::CaptureWindow;
using skin::win::fixtures::SamePixels;

constexpr uint32_t kSentinel = 0x00563412;  // a colour no skin image holds

class TitleButtonsTest : public SkinnedWindowTest {
 protected:
  void TearDown() override {
    SkinnedWindowTest::TearDown();
    guards_.clear();
  }

  // A skinned raw window with a small icon, its buttons laid out as the
  // caption painting lays them out.
  TWinSkinForm* SkinnedWindow(DWORD style, DWORD ex_style = 0) {
    HWND wnd = CreateRawWindow(style, ex_style);
    Guard(wnd);
    SendMessageW(wnd, WM_SETICON, ICON_SMALL,
                 reinterpret_cast<LPARAM>(LoadIconW(nullptr, MAKEINTRESOURCEW(32512))));
    TWinSkinForm* c = Skin(wnd);
    if (c != nullptr) Layout(c);
    return c;
  }

  // Below the controller: the mouse presses it passes on are recorded and
  // kept from the system, whose move loops and menus would wait for a real
  // mouse.
  void Guard(HWND wnd) {
    guards_.push_back(std::make_unique<test_support::TLambdaSubclass>(
        wnd, [this](fw::TMessage& m, const fw::TSubclass& sub) {
          if (m.Msg == WM_NCLBUTTONDOWN || m.Msg == WM_NCLBUTTONDBLCLK ||
              m.Msg == WM_NCRBUTTONDOWN) {
            passed_.push_back(m);
            return;
          }
          sub.CallPrevious(m);
        }));
  }

  // Paints the frame again: the caption painting lays the buttons out after
  // the caption text.
  static void Layout(TWinSkinForm* c) {
    RedrawWindow(c->Handle, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  }

  static TWinSysButton* Button(TWinSkinForm* c, const std::string& name) {
    for (auto& b : c->TitleButtons) {
      if (b->Element->Name == name) return b.get();
    }
    ADD_FAILURE() << "no button " << name;
    return nullptr;
  }

  static std::set<std::string> VisibleButtons(TWinSkinForm* c) {
    std::set<std::string> names;
    for (auto& b : c->TitleButtons) {
      if (b->Visible) names.insert(b->Element->Name);
    }
    return names;
  }

  std::vector<std::unique_ptr<test_support::TLambdaSubclass>> guards_;
  std::vector<fw::TMessage> passed_;

  // Another window takes the activation.
  void Deactivate(TWinSkinForm* c) {
    HWND other = CreateRawWindow(WS_OVERLAPPEDWINDOW);
    SetForegroundWindow(other);
    test_support::PumpUntil([&] { return !c->Active; });
  }
};

// `under` with frame `frame` of the button's image painted over it, magenta
// left out: what the window should show at the button.
skin::TBitmap WithFrame(skin::TBitmap under, const skin::TDataSkinSysButton& e, int frame) {
  skin::DrawSkinFrameStretched(under, skin::TRect{0, 0, under.Width(), under.Height()}, e.Bitmap,
                               true, e.FrameCount, frame);
  return under;
}

// The window's icon drawn at the small-icon size over `under`.
skin::TBitmap WithIcon(const skin::TPixels& under, HICON icon) {
  fw::TBitmap target;
  target.SetSize(under.Width(), under.Height());
  skin::TBitmapView view = ViewOf(target);
  skin::StretchCopy(view, skin::TRect{0, 0, under.Width(), under.Height()}, under,
                    skin::TRect{0, 0, under.Width(), under.Height()});
  const int size = GetSystemMetrics(SM_CXSMICON);
  auto* copy = static_cast<HICON>(CopyImage(icon, IMAGE_ICON, size, size, LR_COPYFROMRESOURCE));
  DrawIconEx(target.Canvas()->Handle(), 0, 0, copy, size, size, 0, nullptr, DI_NORMAL);
  DestroyIcon(copy);
  return Crop(ViewOf(target), RECT{0, 0, under.Width(), under.Height()});
}

TEST_F(TitleButtonsTest, TheWindowsStateChoosesTheButtonsDrawnOnTheCaption) {
  constexpr DWORD kNoBoxes = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
  constexpr DWORD kNoSystemMenu =
      WS_OVERLAPPED | WS_CAPTION | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
  constexpr DWORD kDialog = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
  // The test skin: close (visibility 0), maximize (2 / 6), restore (1 / 6),
  // minimize (8 / 8), the icon (0, action 3), a user button right of the
  // caption text (201) and one on the right (201, 3 frames), a decoration
  // (action -1, visibility 0, Visibility1 left at -1: never shown).
  const struct {
    const char* name;
    DWORD style;
    bool maximized;
    bool inactive;
    std::map<std::string, int> drawn;  // button -> frame
  } cases[] = {
      {"overlapped window",
       WS_OVERLAPPEDWINDOW,
       false,
       false,
       {{"BUTTON.CLOSE", 1},
        {"BUTTON.MAXIMIZE", 1},
        {"BUTTON.MINIMIZE", 1},
        {"BUTTON.SYSMENU", 0},
        {"BUTTON.MORE", 1},
        {"BUTTON.PUSH", 1}}},
      {"maximized: restore instead of maximize",
       WS_OVERLAPPEDWINDOW,
       true,
       false,
       {{"BUTTON.CLOSE", 1},
        {"BUTTON.RESTORE", 1},
        {"BUTTON.MINIMIZE", 1},
        {"BUTTON.SYSMENU", 0},
        {"BUTTON.MORE", 1},
        {"BUTTON.PUSH", 1}}},
      {"inactive: the fourth frame where there is one",
       WS_OVERLAPPEDWINDOW,
       false,
       true,
       {{"BUTTON.CLOSE", 4},
        {"BUTTON.MAXIMIZE", 4},
        {"BUTTON.MINIMIZE", 4},
        {"BUTTON.SYSMENU", 0},
        {"BUTTON.MORE", 4},
        {"BUTTON.PUSH", 1}}},
      {"no minimize or maximize box",
       kNoBoxes,
       false,
       false,
       {{"BUTTON.CLOSE", 1}, {"BUTTON.SYSMENU", 0}, {"BUTTON.MORE", 1}, {"BUTTON.PUSH", 1}}},
      {"no system menu: no close, and minimize asks for one",
       kNoSystemMenu,
       false,
       false,
       {{"BUTTON.MAXIMIZE", 1}, {"BUTTON.SYSMENU", 0}, {"BUTTON.MORE", 1}, {"BUTTON.PUSH", 1}}},
      {"dialog frame: no icon",
       kDialog,
       false,
       false,
       {{"BUTTON.CLOSE", 1}, {"BUTTON.MORE", 1}, {"BUTTON.PUSH", 1}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TWinSkinForm* form = SkinnedWindow(c.style);
    ASSERT_NE(form, nullptr);
    if (c.maximized) {
      ShowWindow(form->Handle, SW_MAXIMIZE);
      test_support::PumpPending();
    }
    if (c.inactive) Deactivate(form);
    Layout(form);
    std::set<std::string> expected;
    for (const auto& [name, frame] : c.drawn)
      expected.insert(name);
    EXPECT_EQ(VisibleButtons(form), expected);

    // The caption band's buttons, drawn on a band of one colour.
    fw::TBitmap band;
    band.SetSize(form->WindowWidth, form->BorderTop + 4);
    band.Canvas()->Brush()->SetColor(kSentinel);
    band.Canvas()->FillRect(RECT{0, 0, band.Width(), band.Height()});
    form->DrawSysButtons(*band.Canvas());
    GdiFlush();
    skin::TBitmap blank(band.Width(), band.Height(), skin::PixelFormat::k32Bit);
    blank.Fill(kSentinel);
    skin::TBitmap want = blank;
    for (auto& b : form->TitleButtons) {
      const auto it = c.drawn.find(b->Element->Name);
      if (it == c.drawn.end()) continue;
      const skin::TBitmap under = Crop(blank, b->Rect);
      const skin::TBitmap look =
          it->second == 0 ? WithIcon(under, form->Icon) : WithFrame(under, *b->Element, it->second);
      skin::StretchCopy(want, skin::TRect{b->Rect.left, b->Rect.top, b->Rect.right, b->Rect.bottom},
                        look, skin::TRect{0, 0, look.Width(), look.Height()});
    }
    EXPECT_TRUE(SamePixels(ViewOf(band), 0, 0, want, "caption buttons"));
  }
}

TEST_F(TitleButtonsTest, HoverAndPressShowTheirFramesOnTheWindow) {
  TWinSkinForm* c = SkinnedWindow(WS_OVERLAPPEDWINDOW);
  ASSERT_NE(c, nullptr);
  TWinSysButton* close = Button(c, "BUTTON.CLOSE");
  TWinSysButton* maximize = Button(c, "BUTTON.MAXIMIZE");
  TWinSysButton* push = Button(c, "BUTTON.PUSH");
  ASSERT_TRUE(close && maximize && push);
  const POINT caption{c->WindowWidth / 2, c->BorderTop / 2};  // no button there

  // Each step: what happens, the button looked at, its state and frame.
  const struct {
    const char* name;
    UINT msg;
    POINT at;
    TWinSysButton* button;
    int state;
    bool hot;  // the button is the controller's HotObject
  } steps[] = {
      {"enter close", WM_NCMOUSEMOVE, Centre(close->Rect), close, 3, true},
      {"press close", WM_NCLBUTTONDOWN, Centre(close->Rect), close, 2, true},
      {"leave close", WM_NCMOUSEMOVE, caption, close, 1, false},
      {"enter maximize", WM_NCMOUSEMOVE, Centre(maximize->Rect), maximize, 3, true},
      {"maximize left by entering the next", WM_NCMOUSEMOVE, Centre(push->Rect), maximize, 1,
       false},
      {"three frames: hot is the third", WM_NCMOUSEMOVE, Centre(push->Rect), push, 3, true},
      {"leave", WM_NCMOUSEMOVE, caption, push, 1, false},
  };
  for (const auto& s : steps) {
    SCOPED_TRACE(s.name);
    const skin::TBitmap before = Crop(CaptureWindow(c->Handle), s.button->Rect);
    SendNCMouse(*c, s.msg, HTCAPTION, s.at);
    EXPECT_EQ(s.button->MouseState, s.state);
    EXPECT_EQ(c->HotObject == s.button, s.hot);
    EXPECT_TRUE(SamePixels(CaptureWindow(c->Handle), s.button->Rect.left, s.button->Rect.top,
                           WithFrame(before, *s.button->Element, s.state), s.name));
  }

  // An inactive window's buttons do not light up.
  Deactivate(c);
  SendNCMouse(*c, WM_NCMOUSEMOVE, HTCAPTION, Centre(close->Rect));
  EXPECT_EQ(close->MouseState, 1);
  EXPECT_EQ(c->HotObject, nullptr);
}

TEST_F(TitleButtonsTest, TheHoverTimerLetsGoOfAButtonTheCursorLeft) {
  TWinSkinForm* c = SkinnedWindow(WS_OVERLAPPEDWINDOW);
  ASSERT_NE(c, nullptr);
  TWinSysButton* close = Button(c, "BUTTON.CLOSE");
  const POINT centre = ScreenPoint(*c, Centre(close->Rect));
  SetCursorPos(centre.x, centre.y);
  SendNCMouse(*c, WM_NCMOUSEMOVE, HTCAPTION, Centre(close->Rect));
  ASSERT_EQ(c->HotObject, close);
  c->HoverCheck();  // still over it
  EXPECT_EQ(c->HotObject, close);
  SetCursorPos(centre.x, centre.y + 200);
  c->HoverCheck();
  EXPECT_EQ(c->HotObject, nullptr);
  EXPECT_EQ(close->MouseState, 1);
}

TEST_F(TitleButtonsTest, EveryActionOfAClick) {
  const struct {
    const char* button;
    bool maximized;
    UINT msg;
    WPARAM wparam;
    skin::win::TWindowState state;  // afterwards, as the controller sees it
  } cases[] = {
      {"BUTTON.CLOSE", false, WM_SYSCOMMAND, SC_CLOSE, skin::win::wsNormal},
      {"BUTTON.MAXIMIZE", false, WM_SYSCOMMAND, SC_MAXIMIZE, skin::win::wsMaximized},
      {"BUTTON.RESTORE", true, WM_SYSCOMMAND, SC_RESTORE, skin::win::wsNormal},
      {"BUTTON.MINIMIZE", false, WM_SYSCOMMAND, SC_MINIMIZE, skin::win::wsMinimized},
      {"BUTTON.MORE", false, skin::win::WM_SKINBUTTONACTION, 40, skin::win::wsNormal},
      {"BUTTON.PUSH", false, skin::win::WM_SKINBUTTONACTION, 41, skin::win::wsNormal},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.button);
    TWinSkinForm* c = SkinnedWindow(WS_OVERLAPPEDWINDOW);
    ASSERT_NE(c, nullptr);
    if (k.maximized) {
      ShowWindow(c->Handle, SW_MAXIMIZE);
      test_support::PumpPending();
      Layout(c);
    }
    TWinSysButton* b = Button(c, k.button);
    ASSERT_TRUE(b && b->Visible);
    SendNCMouse(*c, WM_NCLBUTTONDOWN, HTCAPTION, Centre(b->Rect));
    SendNCMouse(*c, WM_NCLBUTTONUP, HTCAPTION, Centre(b->Rect));
    MSG posted{};
    ASSERT_TRUE(TakePosted(c->Handle, k.msg, &posted));
    EXPECT_EQ(posted.wParam, k.wparam);
    EXPECT_EQ(posted.lParam, 0);
    EXPECT_FALSE(TakePosted(c->Handle, k.msg)) << "posted once";
    EXPECT_EQ(c->WindowState, k.state);
    if (k.msg == WM_SYSCOMMAND && k.wparam == SC_CLOSE) {
      ASSERT_NE(c->HoverTimer, nullptr);
      EXPECT_FALSE(c->HoverTimer->Enabled());
    }
  }
}

TEST_F(TitleButtonsTest, APressReleasedOnAnotherButtonIsNoClick) {
  TWinSkinForm* c = SkinnedWindow(WS_OVERLAPPEDWINDOW);
  ASSERT_NE(c, nullptr);
  TWinSysButton* close = Button(c, "BUTTON.CLOSE");
  TWinSysButton* maximize = Button(c, "BUTTON.MAXIMIZE");
  SendNCMouse(*c, WM_NCLBUTTONDOWN, HTCAPTION, Centre(close->Rect));
  SendNCMouse(*c, WM_NCLBUTTONUP, HTCAPTION, Centre(maximize->Rect));
  EXPECT_FALSE(TakePosted(c->Handle, WM_SYSCOMMAND));
  // A decoration is drawn but never hit; the caption is no button.
  EXPECT_EQ(c->HitTestButtons(POINT{c->WindowWidth / 2, c->BorderTop / 2}), nullptr);
}

TEST_F(TitleButtonsTest, DoubleClickOnTheCaptionMaximizesAndRestores) {
  TWinSkinForm* c = SkinnedWindow(WS_OVERLAPPEDWINDOW);
  ASSERT_NE(c, nullptr);
  const POINT caption{c->WindowWidth / 2, c->BorderTop / 2};
  SendNCMouse(*c, WM_NCLBUTTONDBLCLK, HTCAPTION, caption);
  MSG posted{};
  ASSERT_TRUE(TakePosted(c->Handle, WM_SYSCOMMAND, &posted));
  EXPECT_EQ(posted.wParam, static_cast<WPARAM>(SC_MAXIMIZE));
  SendNCMouse(*c, WM_NCLBUTTONDBLCLK, HTCAPTION, caption);
  ASSERT_TRUE(TakePosted(c->Handle, WM_SYSCOMMAND, &posted));
  EXPECT_EQ(posted.wParam, static_cast<WPARAM>(SC_RESTORE));
  // Without a maximize box a double click does nothing.
  TWinSkinForm* fixed = SkinnedWindow(WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU);
  SendNCMouse(*fixed, WM_NCLBUTTONDBLCLK, HTCAPTION, caption);
  EXPECT_FALSE(TakePosted(fixed->Handle, WM_SYSCOMMAND));
}

TEST_F(TitleButtonsTest, AMaximizedWindowCannotBeDraggedByItsCaption) {
  TWinSkinForm* c = SkinnedWindow(WS_OVERLAPPEDWINDOW);
  ASSERT_NE(c, nullptr);
  SendNCMouse(*c, WM_NCLBUTTONDOWN, HTCAPTION, POINT{c->WindowWidth / 2, c->BorderTop / 2});
  ShowWindow(c->Handle, SW_MAXIMIZE);
  test_support::PumpPending();
  Layout(c);
  SendNCMouse(*c, WM_NCLBUTTONDOWN, HTCAPTION, POINT{c->WindowWidth / 2, c->BorderTop / 2});
  std::vector<WPARAM> hits;
  for (const fw::TMessage& m : passed_)
    hits.push_back(m.WParam);
  EXPECT_EQ(hits, (std::vector<WPARAM>{HTCAPTION, HTMENU}));
}

TEST_F(TitleButtonsTest, TheIconButtonOpensTheSystemMenuAndASecondClickCloses) {
  TWinSkinForm* c = SkinnedWindow(WS_OVERLAPPEDWINDOW);
  ASSERT_NE(c, nullptr);
  // The double-click time, made long enough that the test's own pace never
  // decides.
  c->DoubleClickTime = 60000;
  TWinSysButton* icon = Button(c, "BUTTON.SYSMENU");
  ASSERT_TRUE(icon && icon->Visible);
  TMenuCloser closer;
  auto click = [&] {
    SendNCMouse(*c, WM_NCLBUTTONDOWN, HTCAPTION, Centre(icon->Rect));
    SendNCMouse(*c, WM_NCLBUTTONUP, HTCAPTION, Centre(icon->Rect));
  };
  click();
  EXPECT_EQ(closer.Seen(), 1) << "the first click opens the menu";
  EXPECT_FALSE(TakePosted(c->Handle, WM_CLOSE));
  click();
  EXPECT_EQ(closer.Seen(), 1) << "the second one does not";
  EXPECT_TRUE(TakePosted(c->Handle, WM_CLOSE));
  // Past the double-click time a click opens the menu again.
  c->LastSysMenuTick = GetTickCount() - c->DoubleClickTime - 1;
  click();
  EXPECT_EQ(closer.Seen(), 2);
  EXPECT_FALSE(TakePosted(c->Handle, WM_CLOSE));
}

TEST_F(TitleButtonsTest, ARightClickOnTheCaptionOpensTheSystemMenu) {
  TWinSkinForm* c = SkinnedWindow(WS_OVERLAPPEDWINDOW);
  ASSERT_NE(c, nullptr);
  TMenuCloser closer;
  SendNCMouse(*c, WM_NCRBUTTONDOWN, HTCAPTION, POINT{c->WindowWidth / 2, 10});
  EXPECT_EQ(closer.Seen(), 1);
  // Elsewhere (a border) the click is the system's.
  SendNCMouse(*c, WM_NCRBUTTONDOWN, HTLEFT, POINT{1, 40});
  EXPECT_EQ(closer.Seen(), 1);
}

TEST_F(TitleButtonsTest, TheSystemMenuFollowsTheWindowsBoxesAndState) {
  const struct {
    DWORD style;
    std::vector<std::wstring> captions;
  } cases[] = {
      {WS_OVERLAPPEDWINDOW, {L" Restore ", L" Maximize ", L" Minimize ", L"-", L" Close "}},
      {WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, {L" Restore ", L"-", L" Close "}},
  };
  for (const auto& k : cases) {
    TWinSkinForm* c = SkinnedWindow(k.style);
    ASSERT_NE(c, nullptr);
    fw::TPopupMenu* menu = c->SystemMenu;
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->Tag(), 33333);
    EXPECT_TRUE(menu->OwnerDraw());
    EXPECT_EQ(menu->Images(), Data().MenuImages());
    std::vector<std::wstring> captions;
    for (int i = 0; i < menu->Items()->Count(); ++i) {
      fw::TMenuItem* item = menu->Items()->Items(i);
      captions.push_back(item->Caption());
      // The tag names the action and the glyph.
      EXPECT_EQ(item->ImageIndex(), item->Tag());
      EXPECT_TRUE(item->OnDrawItem && item->OnMeasureItem && item->OnClick);
      if (item->Caption() == L" Close ") {
        EXPECT_EQ(fw::ShortCutToText(item->ShortCut()), L"Shift+F4");
        EXPECT_EQ(item->Tag(), 3);
      }
    }
    EXPECT_EQ(captions, k.captions);
  }

  // Opening it enables what the window's state allows.
  TWinSkinForm* c = SkinnedWindow(WS_OVERLAPPEDWINDOW);
  TMenuCloser closer;
  auto enabled = [&] {
    std::vector<bool> on;
    for (int i = 0; i < 3; ++i)
      on.push_back(c->SystemMenu->Items()->Items(i)->Enabled());
    return on;
  };
  c->ShowSystemMenu(100, 100);
  EXPECT_EQ(enabled(), (std::vector<bool>{false, true, true}));
  ShowWindow(c->Handle, SW_MAXIMIZE);
  test_support::PumpPending();
  c->LastSysMenuTick = GetTickCount() - c->DoubleClickTime - 1;
  c->ShowSystemMenu(100, 100);
  EXPECT_EQ(enabled(), (std::vector<bool>{true, false, true}));
  EXPECT_EQ(closer.Seen(), 2);

  // Its items act on the window.
  const struct {
    int item;
    UINT msg;
    WPARAM wparam;
  } clicks[] = {{0, WM_SYSCOMMAND, SC_RESTORE}, {2, WM_SYSCOMMAND, SC_MINIMIZE}, {4, WM_CLOSE, 0}};
  for (const auto& k : clicks) {
    c->SystemMenu->Items()->Items(k.item)->Click();
    MSG posted{};
    ASSERT_TRUE(TakePosted(c->Handle, k.msg, &posted)) << k.item;
    EXPECT_EQ(posted.wParam, k.wparam);
  }
}

TEST_F(TitleButtonsTest, TheMenuBandsItemsAnswerTheMouseAfterTheTitleButtons) {
  fw::TForm* form =
      CreateForm(skin::win::fixtures::FormDescription(skin::win::fixtures::kMenuDescription));
  TWinSkinForm* c = Skin(form->Handle());
  ASSERT_NE(c, nullptr);
  ASSERT_NE(c->MenuBarSkinner, nullptr);
  Layout(c);
  skin::win::TMenuBtn* arquivo = c->MenuBarSkinner->Items[0].get();
  SendNCMouse(*c, WM_NCMOUSEMOVE, HTMENU, Centre(arquivo->Rect));
  EXPECT_EQ(c->HotObject, arquivo);
  EXPECT_EQ(arquivo->MouseState, 3);
  // A press opens the item's drop-down.
  TMenuCloser closer;
  SendNCMouse(*c, WM_NCLBUTTONDOWN, HTMENU, Centre(arquivo->Rect));
  EXPECT_EQ(closer.Seen(), 1);
  // Its release is no click of a title button.
  SendNCMouse(*c, WM_NCLBUTTONUP, HTMENU, Centre(arquivo->Rect));
  EXPECT_FALSE(TakePosted(c->Handle, WM_SYSCOMMAND));
}

TEST_F(TitleButtonsTest, AWindowWithoutAnIconShowsTheDefaultIcon) {
  // The first window skinned gives the skin its fallback icon.
  TWinSkinForm* first = SkinnedWindow(WS_OVERLAPPEDWINDOW);
  ASSERT_NE(first, nullptr);
  const skin::TPixels& fallback = Data().Data().DefaultIcon;
  ASSERT_FALSE(fallback.Empty());
  EXPECT_TRUE(fallback.SameImage(ViewOf(first->IconBitmap)));
  // A window with no icon of its own (nor of its class) shows it.
  HWND wnd = CreateRawWindow(WS_OVERLAPPEDWINDOW);
  TWinSkinForm* c = Skin(wnd);
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(c->Icon, nullptr);
  EXPECT_TRUE(ViewOf(c->IconBitmap).SameImage(fallback));
  fw::TBitmap target;
  target.SetSize(fallback.Width(), fallback.Height());
  target.Canvas()->Brush()->SetColor(kSentinel);
  target.Canvas()->FillRect(RECT{0, 0, target.Width(), target.Height()});
  c->DrawIcon(target.Canvas()->Handle(), 0, 0);
  GdiFlush();
  skin::TBitmap want(fallback.Width(), fallback.Height(), skin::PixelFormat::k32Bit);
  want.Fill(kSentinel);
  skin::DrawTransparentBitmap(want, skin::TRect{0, 0, want.Width(), want.Height()}, fallback,
                              skin::kSkinTransparent);
  EXPECT_TRUE(SamePixels(ViewOf(target), 0, 0, want, "drawn default icon"));
}

}  // namespace
}  // namespace skin_test
