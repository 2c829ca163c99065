// The skinned window when things go wrong under Wine: an error inside the
// window hook opens no error box, a menu window left unskinned does not
// make the next menu count as a system menu, CM_MENUCHANGED turns frame
// painting back on however the change was handled, menu items never reach
// a controller that is gone (a form whose window is made again), and a
// window destroyed while its drop-down is open ends the menu loop cleanly.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "framework/menus.h"
#include "skin/controls/skin_manage.h"
#include "skin/window/menu_bar.h"
#include "tests/skin/window/skinned_window.h"
#include "tests/skin/window/skinned_window_fixture.h"
#include "tests/support/win/lambda_hooks.h"
#include "tests/support/win/pump.h"

namespace skin_test {
namespace {

using skin::win::MenuHandlerOwner;
using skin::win::MenuLoopState;
using skin::win::TSkinManage;
using skin::win::TWinSkinForm;
using test_support::PumpUntil;

class RobustnessTest : public SkinnedWindowTest {
 protected:
  void SetUp() override {
    SkinnedWindowTest::SetUp();
    if (HasFatalFailure()) return;
    // An error box would wait for a click: errors are counted instead.
    app_->OnException = [this](const std::exception& e) { errors_.push_back(e.what()); };
  }
  TSkinManage& Manager() { return *TSkinManage::Instance(); }
  std::vector<std::string> errors_;
};

// The manager's hook runs inside the system's creation and activation of
// windows: an error there (here the skin data's OnFormSkin handler) leaves
// the window unskinned and reaches no error box; the next window is skinned.
TEST_F(RobustnessTest, AnErrorInsideTheWindowHookOpensNoErrorBox) {
  int calls = 0;
  Data().OnFormSkin = [&calls](fw::TObject*, const std::wstring&, bool&) {
    ++calls;
    throw std::runtime_error("falha no evento");
  };
  HWND first = CreateRawWindow(WS_OVERLAPPEDWINDOW);
  SetForegroundWindow(first);
  ASSERT_TRUE(PumpUntil([&] { return calls > 0; }));
  test_support::PumpPending();
  EXPECT_EQ(Manager().FindSkinForm(first), nullptr);
  EXPECT_TRUE(errors_.empty()) << errors_.front();

  Data().OnFormSkin = nullptr;
  HWND second = CreateRawWindow(WS_OVERLAPPEDWINDOW);
  EXPECT_NE(Skin(second), nullptr);
  EXPECT_TRUE(errors_.empty());
}

// Without xcSystemMenu the native system menu is left unskinned; once it
// has closed, the next ordinary popup menu is skinned as one (it is not
// judged as a system menu).
TEST_F(RobustnessTest, AMenuWindowLeftUnskinnedEndsItsMenuSource) {
  Data().Data().SkinControls &= ~skin::SkinControlBit(skin::xcSystemMenu);
  HWND wnd = CreateRawWindow(WS_OVERLAPPEDWINDOW);
  TWinSkinForm* c = Skin(wnd);
  ASSERT_NE(c, nullptr);
  bool system_menu_skinned = true;
  {
    TMenuCloser closer;
    closer.OnOpen = [&](HWND menu) { system_menu_skinned = Manager().IsPopupSkinned(menu); };
    RECT wr;
    GetWindowRect(wnd, &wr);
    c->ShowSystemMenu(wr.left + 10, wr.top + 10);
    ASSERT_EQ(closer.Seen(), 1);
  }
  EXPECT_FALSE(system_menu_skinned);
  EXPECT_EQ(Manager().MenuSource(), 0);

  HMENU popup = CreatePopupMenu();
  AppendMenuW(popup, MF_STRING, 7001, L"Copiar");
  bool popup_skinned = false;
  {
    TMenuCloser closer;
    closer.OnOpen = [&](HWND menu) { popup_skinned = Manager().IsPopupSkinned(menu); };
    TrackPopupMenu(popup, TPM_RIGHTBUTTON, 200, 200, 0, wnd, nullptr);
    ASSERT_EQ(closer.Seen(), 1);
  }
  EXPECT_TRUE(popup_skinned);
  DestroyMenu(popup);
}

constexpr const char* kMenus = R"(  Menu = MainMenu1
  object MainMenu1: TMainMenu
    object Arquivo: TMenuItem
      Caption = '&Arquivo'
      object Abrir: TMenuItem
        Caption = '&Abrir'
      end
    end
  end
  object Menu1: TPopupMenu
    object Copiar: TMenuItem
      Caption = '&Copiar'
    end
  end
)";

// The band reads a changed menu with frame painting off, and frame
// painting comes back on even when the form's own handling of the change
// fails; the failure reaches the application's error path.
TEST_F(RobustnessTest, AMenuChangeTurnsFramePaintingBackOnWhateverHappens) {
  fw::TForm* form = CreateForm(skin::win::fixtures::FormDescription(kMenus));
  TWinSkinForm* c = Skin(form->Handle());
  ASSERT_NE(c, nullptr);
  static_cast<fw::TMenuItem*>(form->FindComponent("Arquivo"))->SetCaption(L"&Planilha");
  bool painting_during = true;
  test_support::TLambdaHook failing(*form, [&](fw::TMessage& m, const fw::TWindowProcHook& h) {
    if (m.Msg == fw::CM_MENUCHANGED) {
      painting_during = Data().Data().NCPaintEnabled;
      throw std::runtime_error("falha ao refazer o menu");
    }
    h.CallPrevious(m);
  });
  SendMessageW(form->Handle(), fw::CM_MENUCHANGED, 0, 0);
  EXPECT_FALSE(painting_during);
  EXPECT_TRUE(Data().Data().NCPaintEnabled);
  ASSERT_EQ(errors_.size(), 1u);
  EXPECT_EQ(errors_[0], "falha ao refazer o menu");
  // The band shows the new caption all the same.
  ASSERT_EQ(c->MenuBarSkinner->Items.size(), 1u);
  EXPECT_EQ(c->MenuBarSkinner->Items[0]->Caption, L"&Planilha");
}

// A form whose window is made again gets a new controller; its menu items
// lose the old controller's handlers when the old window goes, and take the
// new controller's.
TEST_F(RobustnessTest, MenuItemHandlersNeverReachAControllerThatIsGone) {
  // Main menu items and popup menus both drawn from the skin.
  Data().Data().SkinControls |=
      skin::SkinControlBit(skin::xcMenuItem) | skin::SkinControlBit(skin::xcPopupMenu);
  fw::TForm* form = CreateForm(skin::win::fixtures::FormDescription(kMenus));
  TWinSkinForm* first = Skin(form->Handle());
  ASSERT_NE(first, nullptr);
  auto* abrir = static_cast<fw::TMenuItem*>(form->FindComponent("Abrir"));
  auto* copiar = static_cast<fw::TMenuItem*>(form->FindComponent("Copiar"));
  ASSERT_EQ(MenuHandlerOwner(copiar->OnDrawItem), first);
  ASSERT_EQ(MenuHandlerOwner(abrir->OnDrawItem), first);

  // The window is made again while the manager skins nothing: the old
  // controller is left in its destroyed state, still in memory until the
  // manager's next purge, and nothing of the form leads to it.
  Manager().SetActive(false);
  form->RecreateWnd();
  ASSERT_EQ(Manager().FindSkinForm(form->Handle()), nullptr);
  EXPECT_EQ(first->State, skin::win::ssDestroyed);
  for (fw::TMenuItem* item : {abrir, copiar}) {
    EXPECT_EQ(MenuHandlerOwner(item->OnDrawItem), nullptr);
    EXPECT_EQ(MenuHandlerOwner(item->OnMeasureItem), nullptr);
  }
  // Skinned again: a new controller (the old one is freed first), whose
  // handlers the items now carry.
  Manager().SetActive(true);
  ASSERT_TRUE(Manager().SkinWindowHandle(form->Handle()));  // as the next activation would
  TWinSkinForm* second = Manager().FindSkinForm(form->Handle());
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(Manager().SkinForms().size(), 1u);
  EXPECT_EQ(MenuHandlerOwner(copiar->OnDrawItem), second);
  EXPECT_EQ(MenuHandlerOwner(abrir->OnDrawItem), second);
  MEASUREITEMSTRUCT mis{};
  abrir->DoMeasureItem(mis);
  EXPECT_GT(mis.itemWidth, 0u);
}

// The window goes while its drop-down is open (a timer of the program closes
// it): the loop ends, the hook is removed and nothing of the band is touched
// after it went.
TEST_F(RobustnessTest, AWindowDestroyedWithItsDropDownOpenEndsTheLoop) {
  HMENU menu = CreateMenu();
  HMENU sub = CreatePopupMenu();
  AppendMenuW(sub, MF_STRING, 5001, L"&Novo");
  AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), L"&Arquivo");
  HWND wnd = CreateRawWindow(WS_OVERLAPPEDWINDOW);
  SetMenu(wnd, menu);
  TWinSkinForm* c = Skin(wnd);
  ASSERT_NE(c, nullptr);
  ASSERT_NE(c->MenuBarSkinner, nullptr);
  TMenuCloser closer;
  closer.OnOpen = [&](HWND) {
    ASSERT_NE(MenuLoopState().HookHandle, nullptr);
    DestroyWindow(wnd);
  };
  c->MenuBarSkinner->OpenMenuButton(*c->MenuBarSkinner->Items[0]);
  ASSERT_TRUE(PumpUntil([&] { return closer.Seen() == 1 && !IsWindow(wnd); }));
  test_support::PumpPending();
  EXPECT_EQ(MenuLoopState().HookHandle, nullptr);
  EXPECT_EQ(MenuLoopState().Bar, nullptr);
  EXPECT_EQ(MenuLoopState().CurrentIndex, -1);
  EXPECT_EQ(Manager().MenuSource(), 0);
}

// A program that puts another menu on its window after it was skinned (a
// raw window through SetMenu, as programs switching modes do; a form given
// another main menu): the band shows the new menu, drawn in the skin's text
// colour, and the window keeps no native menu. The menu a raw window gave
// up stays the program's.
TEST_F(RobustnessTest, AMenuSetOnTheWindowAfterSkinningIsShownByTheBand) {
  const COLORREF text = fw::ColorToRGB(Data().Data().MenuBarTextColour);
  auto captions = [](const TWinSkinForm& c) {
    std::vector<std::wstring> shown;
    for (const auto& item : c.MenuBarSkinner->Items) {
      if (item->Visible) shown.push_back(item->Caption);
    }
    return shown;
  };
  auto drawn = [&](HWND wnd, const RECT& rect) {
    const skin::TBitmap shot = skin::win::fixtures::CaptureWindow(wnd);
    for (int y = rect.top; y < rect.bottom; ++y)
      for (int x = rect.left; x < rect.right; ++x)
        if (shot.Pixel(x, y) == text) return true;
    return false;
  };

  HMENU first = CreateMenu();
  AppendMenuW(first, MF_STRING, 1, L"&Arquivo");
  HWND raw = CreateRawWindow(WS_OVERLAPPEDWINDOW);
  SetMenu(raw, first);
  TWinSkinForm* c = Skin(raw);
  ASSERT_NE(c->MenuBarSkinner, nullptr);
  HMENU second = CreateMenu();
  AppendMenuW(second, MF_STRING, 2, L"&Planilha");
  AppendMenuW(second, MF_STRING, 3, L"&Banco de dados");
  SetMenu(raw, second);
  test_support::PumpPending();
  EXPECT_EQ(captions(*c), (std::vector<std::wstring>{L"&Planilha", L"&Banco de dados"}));
  EXPECT_EQ(c->MenuBarSkinner->MenuHandle, second);
  EXPECT_EQ(GetMenu(raw), nullptr);
  EXPECT_TRUE(drawn(raw, c->MenuBarSkinner->Items[1]->Rect));
  DestroyWindow(raw);
  EXPECT_FALSE(IsMenu(second));  // gone with the window it was shown for
  EXPECT_TRUE(IsMenu(first));
  DestroyMenu(first);

  fw::TForm* form =
      CreateForm(skin::win::fixtures::FormDescription(skin::win::fixtures::kMenuDescription));
  TWinSkinForm* fc = Skin(form->Handle());
  ASSERT_NE(fc->MenuBarSkinner, nullptr);
  auto* other = new fw::TMainMenu(form);
  for (const wchar_t* caption : {L"&Clientes", L"&Relat\u00f3rios"}) {
    auto* item = new fw::TMenuItem(form);
    item->SetCaption(caption);
    other->Items()->Add(item);
  }
  form->SetMenu(other);
  test_support::PumpPending();
  EXPECT_EQ(captions(*fc), (std::vector<std::wstring>{L"&Clientes", L"&Relat\u00f3rios"}));
  EXPECT_EQ(fc->MenuBarSkinner->Menu, other);
  EXPECT_EQ(GetMenu(form->Handle()), nullptr);
  EXPECT_TRUE(drawn(form->Handle(), fc->MenuBarSkinner->Items[1]->Rect));
  EXPECT_TRUE(errors_.empty());
}

}  // namespace
}  // namespace skin_test
