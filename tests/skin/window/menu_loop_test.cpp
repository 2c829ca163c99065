// The menu band driven as a native menu bar under Wine: Alt+letter opens its
// drop-down (Ctrl with it does not), SC_KEYMENU answered without the native
// menu mode, the arrow keys wrap from the last drop-down to the first and
// back (swapped right to left), the mouse slides from one open drop-down to
// the next, redundant separators hidden, and the messages of the menu loop
// in their order.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <initializer_list>
#include <iterator>
#include <string>
#include <vector>

#include "framework/menus.h"
#include "framework/timers.h"
#include "skin/controls/skin_manage.h"
#include "skin/window/menu_bar.h"
#include "tests/skin/window/skinned_window.h"
#include "tests/skin/window/skinned_window_fixture.h"
#include "tests/support/win/keys.h"
#include "tests/support/win/lambda_hooks.h"
#include "tests/support/win/message_sequence.h"
#include "tests/support/win/pump.h"
#include "tests/support/win/thread_windows.h"

namespace skin_test {
namespace {

using skin::win::MenuLoopState;
using skin::win::TMenuBtn;
using skin::win::TWinSkinForm;
using skin::win::TWinSkinMenu;
using test_support::PumpUntil;

// Three items, each with a drop-down; the first one's has separators in
// every awkward place and a nested sub-menu.
constexpr const char* kThreeMenus = R"(  Menu = MainMenu1
  object MainMenu1: TMainMenu
    object Arquivo: TMenuItem
      Caption = '&Arquivo'
      object Linha0: TMenuItem
        Caption = '-'
      end
      object Abrir: TMenuItem
        Caption = '&Abrir'
      end
      object Linha1: TMenuItem
        Caption = '-'
      end
      object Linha2: TMenuItem
        Caption = '-'
      end
      object Recentes: TMenuItem
        Caption = '&Recentes'
        object Recente1: TMenuItem
          Caption = 'Planilha1.xlsx'
        end
      end
      object Linha3: TMenuItem
        Caption = '-'
      end
      object Oculto: TMenuItem
        Caption = 'Oculto'
        Visible = False
      end
      object Linha4: TMenuItem
        Caption = '-'
      end
    end
    object Editar: TMenuItem
      Caption = '&Editar'
      object Copiar: TMenuItem
        Caption = '&Copiar'
      end
    end
    object Ajuda: TMenuItem
      Caption = 'A&juda'
      object Sobre: TMenuItem
        Caption = '&Sobre'
      end
    end
  end
)";

// The open drop-down's window of this thread, or nullptr.
HWND OpenMenuWindow() {
  return test_support::ShownThreadWindow(L"#32768");
}

// Watches from inside the menu loops which drop-downs open, in order, and
// lets the test act on each once; a drop-down left open too long is closed.
class TDropDownWatch {
 public:
  // `act(n, menu_window)` runs once for the n-th drop-down seen (from 0).
  explicit TDropDownWatch(std::function<void(size_t, HWND)> act) : act_(std::move(act)) {
    timer_.Start(30, [this] { Tick(); });
  }
  std::vector<HMENU> Shown;
  // Which band item each drop-down belonged to when it showed (-1: none).
  std::vector<int> Items;
  std::function<int(HMENU)> ItemOf = [](HMENU) { return 0; };

 private:
  void Tick() {
    // The band's drop-down, not a nested sub-menu's window.
    const std::vector<HWND> windows = test_support::ShownThreadWindows(L"#32768");
    HWND wnd = nullptr;
    HMENU menu = nullptr;
    for (HWND w : windows) {
      const auto m = reinterpret_cast<HMENU>(SendMessageW(w, MN_GETHMENU, 0, 0));
      if (ItemOf(m) >= 0) {
        wnd = w;
        menu = m;
      }
    }
    if (wnd == nullptr) {
      last_ = nullptr;
      // A menu mode with nothing of the band open (the system's own, which
      // a failing test may start) ends too.
      GUITHREADINFO info{};
      info.cbSize = sizeof(info);
      const bool in_menu =
          GetGUIThreadInfo(GetCurrentThreadId(), &info) && (info.flags & GUI_INMENUMODE) != 0;
      stray_ = in_menu ? stray_ + 1 : 0;
      if (stray_ > 60) EndMenu();
      return;
    }
    if (wnd != last_ || Shown.empty() || menu != Shown.back()) {
      last_ = wnd;
      waited_ = 0;
      Shown.push_back(menu);
      Items.push_back(ItemOf(menu));
      act_(Shown.size() - 1, wnd);
      return;
    }
    if (++waited_ > 60) EndMenu();  // nothing moved on: the test has failed already
  }

  std::function<void(size_t, HWND)> act_;
  HWND last_ = nullptr;
  int waited_ = 0;
  int stray_ = 0;
  fw::TTimerHandle timer_;
};

class MenuLoopTest : public SkinnedWindowTest {
 protected:
  void SetUp() override {
    SkinnedWindowTest::SetUp();
    if (HasFatalFailure()) return;
    form_ = CreateForm(skin::win::fixtures::FormDescription(kThreeMenus));
    controller_ = Skin(form_->Handle());
    ASSERT_NE(controller_, nullptr);
    bar_ = controller_->MenuBarSkinner;
    ASSERT_NE(bar_, nullptr);
    ASSERT_EQ(bar_->Items.size(), 3u);
    // Nothing under the band: no item is hot when a drop-down opens.
    SetCursorPos(1000, 760);
  }

  HMENU DropDown(int i) { return bar_->Items[static_cast<size_t>(i)]->MenuItem->Handle(); }
  // The band item whose drop-down `menu` is now.
  int ItemOf(HMENU menu) {
    for (size_t i = 0; i < bar_->Items.size(); ++i) {
      if (bar_->Items[i]->MenuItem->Count() > 0 && DropDown(static_cast<int>(i)) == menu) {
        return static_cast<int>(i);
      }
    }
    return -1;
  }
  void Watch(TDropDownWatch& watch) {
    watch.ItemOf = [this](HMENU menu) { return ItemOf(menu); };
  }

  // Every drop-down the loops opened has closed and the hook is gone.
  bool LoopsOver() const {
    return OpenMenuWindow() == nullptr && MenuLoopState().HookHandle == nullptr &&
           !controller_->MenuLoopActive;
  }

  fw::TForm* form_ = nullptr;
  TWinSkinForm* controller_ = nullptr;
  TWinSkinMenu* bar_ = nullptr;
};

// The menu loop as the window sees it: the click that opens an item, its
// command, the selection of the first entry, the close, and the same again
// for the item the right arrow moved to.
TEST_F(MenuLoopTest, MessagesOfTheMenuLoop) {
  using test_support::kLParam;
  using test_support::kOptional;
  using test_support::kPosted;
  using test_support::kSent;
  using test_support::kWParam;
  test_support::TMessageRecorder rec({form_->Handle()});
  rec.KeepOnly({WM_NCLBUTTONDOWN, WM_COMMAND, WM_ENTERMENULOOP, WM_INITMENUPOPUP, WM_MENUSELECT,
                WM_EXITMENULOOP, WM_SYSCOMMAND});
  TDropDownWatch watch([](size_t n, HWND menu) {
    PostMessageW(menu, WM_KEYDOWN, n == 0 ? VK_RIGHT : VK_ESCAPE, 0);
  });
  Watch(watch);
  bar_->OpenMenuButton(*bar_->Items[0]);
  ASSERT_TRUE(PumpUntil([&] { return watch.Shown.size() == 2 && LoopsOver(); }));
  EXPECT_EQ(watch.Items, (std::vector<int>{0, 1}));
  const WPARAM arquivo = bar_->Items[0]->Command;
  const WPARAM editar = bar_->Items[1]->Command;
  const test_support::TExpectedMessage kLoop[] = {
      {WM_NCLBUTTONDOWN, kPosted | kWParam, HTCLIENT},  // the item opens as a click would
      {WM_COMMAND, kPosted | kWParam, arquivo},
      {WM_ENTERMENULOOP, kSent | kOptional},
      {WM_INITMENUPOPUP, kSent | kOptional},
      {WM_MENUSELECT, kSent},  // the first entry, selected when the drop-down opens
      {WM_MENUSELECT, kSent | kWParam | kLParam, 0xFFFF0000, 0},  // closed by the right arrow
      {WM_EXITMENULOOP, kSent},
      {WM_NCLBUTTONDOWN, kPosted | kWParam, HTCLIENT},  // then the next item opens
      {WM_COMMAND, kPosted | kWParam, editar},
      {WM_ENTERMENULOOP, kSent | kOptional},
      {WM_INITMENUPOPUP, kSent | kOptional},
      {WM_MENUSELECT, kSent},
      {WM_MENUSELECT, kSent | kWParam | kLParam, 0xFFFF0000, 0},  // closed by Escape
      {WM_EXITMENULOOP, kSent},
  };
  EXPECT_TRUE(test_support::MatchesSequence(rec.Seen(), kLoop, "menu loop"));
}

// Right from the last item opens the first one's drop-down, left from the
// first the last one's; hidden items are passed over.
TEST_F(MenuLoopTest, ArrowKeysWrapFromTheLastDropDownToTheFirstAndBack) {
  {
    TDropDownWatch watch([](size_t n, HWND menu) {
      const WPARAM keys[] = {VK_RIGHT, VK_LEFT, VK_LEFT, VK_ESCAPE};
      PostMessageW(menu, WM_KEYDOWN, keys[std::min<size_t>(n, 3)], 0);
    });
    Watch(watch);
    bar_->OpenMenuButton(*bar_->Items[2]);
    ASSERT_TRUE(PumpUntil([&] { return watch.Shown.size() == 4 && LoopsOver(); }));
    EXPECT_EQ(watch.Items, (std::vector<int>{2, 0, 2, 1}));
  }

  // With the middle item hidden, right from the first goes to the last.
  static_cast<fw::TMenuItem*>(form_->FindComponent("Editar"))->SetVisible(false);
  SendMessageW(form_->Handle(), fw::CM_MENUCHANGED, 0, 0);
  ASSERT_FALSE(bar_->Items[1]->Visible);
  TDropDownWatch hidden([](size_t n, HWND menu) {
    PostMessageW(menu, WM_KEYDOWN, n == 0 ? VK_RIGHT : VK_ESCAPE, 0);
  });
  Watch(hidden);
  bar_->OpenMenuButton(*bar_->Items[0]);
  ASSERT_TRUE(PumpUntil([&] { return hidden.Shown.size() == 2 && LoopsOver(); }));
  EXPECT_EQ(hidden.Items, (std::vector<int>{0, 2}));
}

// Inside a drop-down the arrows first serve its nested sub-menu: right opens
// it, left closes it; only then do they move along the band.
TEST_F(MenuLoopTest, ArrowKeysOpenAndCloseANestedSubMenuFirst) {
  std::vector<int> nested_seen;
  TDropDownWatch watch([&](size_t n, HWND menu) {
    if (n > 0) {
      PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
      return;
    }
    // Down to "&Recentes" (the first entry is selected on opening), right
    // opens its sub-menu, left closes it, left again moves to the last item.
    for (WPARAM key : {VK_DOWN, VK_RIGHT, VK_LEFT, VK_LEFT})
      PostMessageW(menu, WM_KEYDOWN, key, 0);
  });
  Watch(watch);
  bar_->OpenMenuButton(*bar_->Items[0]);
  ASSERT_TRUE(PumpUntil([&] { return watch.Shown.size() == 2 && LoopsOver(); }));
  EXPECT_EQ(watch.Items, (std::vector<int>{0, 2}));
}

// Moving the mouse over another item while a drop-down is open opens that
// item's drop-down; moving within the open item does not.
TEST_F(MenuLoopTest, TheMouseSlidesFromOneOpenDropDownToTheNext) {
  auto move_to = [this](const RECT& item) {
    const POINT p = ScreenPoint(*controller_, Centre(item));
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = MulDiv(p.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    in.mi.dy = MulDiv(p.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &in, sizeof(in));
  };
  TDropDownWatch watch([&](size_t n, HWND menu) {
    if (n == 0) {
      move_to(bar_->Items[0]->Rect);  // within the open item: nothing
      move_to(bar_->Items[2]->Rect);
    } else {
      PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    }
  });
  Watch(watch);
  bar_->OpenMenuButton(*bar_->Items[0]);
  ASSERT_TRUE(PumpUntil([&] { return watch.Shown.size() == 2 && LoopsOver(); }));
  EXPECT_EQ(watch.Items, (std::vector<int>{0, 2}));
  SetCursorPos(1000, 760);
}

// The drop-down shows no separator first, last, twice in a row or around a
// hidden entry: only the one between "&Abrir" and "&Recentes".
TEST_F(MenuLoopTest, RedundantSeparatorsAreHiddenWhenTheDropDownOpens) {
  TDropDownWatch watch([](size_t, HWND menu) { PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0); });
  bar_->OpenMenuButton(*bar_->Items[0]);
  ASSERT_TRUE(PumpUntil([&] { return watch.Shown.size() == 1 && LoopsOver(); }));
  std::string shown;
  for (const char* name :
       {"Linha0", "Abrir", "Linha1", "Linha2", "Recentes", "Linha3", "Oculto", "Linha4"}) {
    auto* item = static_cast<fw::TMenuItem*>(form_->FindComponent(name));
    shown += item->Visible() ? (item->IsLine() ? '-' : 'A') : '.';
  }
  EXPECT_EQ(shown, ".A.-A...");
  EXPECT_EQ(GetMenu(form_->Handle()), nullptr);  // the band alone shows the menu
  HMENU menu = DropDown(0);
  ASSERT_EQ(GetMenuItemCount(menu), 3);
  MENUITEMINFOW mii{};
  mii.cbSize = sizeof(mii);
  mii.fMask = MIIM_FTYPE;
  ASSERT_TRUE(GetMenuItemInfoW(menu, 1, TRUE, &mii));
  EXPECT_NE(mii.fType & MFT_SEPARATOR, 0u);
}

// Real keys through the application's message loop: Alt+letter opens the
// item of that accelerator; with Ctrl down too, or Ctrl alone, nothing opens;
// Alt alone starts no native menu mode.
TEST_F(MenuLoopTest, AltLetterOpensItsDropDownAndCtrlLetterDoesNot) {
  auto pump_app = [this](const std::function<bool()>& done, DWORD ms) {
    const DWORD start = GetTickCount();
    while (!done() && GetTickCount() - start < ms) {
      app_->ProcessMessages();
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return done();
  };
  test_support::TMessageRecorder rec({form_->Handle()});
  rec.KeepOnly({WM_ENTERMENULOOP, WM_SYSCOMMAND, WM_KEYUP});
  // Keys are handled in the order they were typed: once a last F24 has
  // come up, everything before it was handled (a click the band posted
  // included).
  auto settle = [&] {
    test_support::PressKeys({VK_F24});
    ASSERT_TRUE(pump_app(
        [&] {
          return std::any_of(rec.Seen().begin(), rec.Seen().end(),
                             [](const auto& m) { return m.Msg == WM_KEYUP && m.WParam == VK_F24; });
        },
        3000));
    app_->ProcessMessages();
  };
  TDropDownWatch watch([](size_t, HWND menu) { PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0); });
  Watch(watch);

  test_support::PressKeys({VK_MENU, 'J'});  // "A&juda"
  ASSERT_TRUE(pump_app([&] { return watch.Shown.size() == 1 && LoopsOver(); }, 3000));
  EXPECT_EQ(watch.Items, (std::vector<int>{2}));

  // Neither with Ctrl: the keys pass, no drop-down opens.
  for (auto keys : {std::initializer_list<WORD>{VK_CONTROL, VK_MENU, 'E'},
                    std::initializer_list<WORD>{VK_CONTROL, 'E'}}) {
    rec.Clear();
    test_support::PressKeys(keys);
    settle();
  }
  EXPECT_EQ(watch.Shown.size(), 1u);

  // Alt alone: answered by the window, no native menu loop starts.
  rec.Clear();
  test_support::PressKeys({VK_MENU});
  settle();
  EXPECT_EQ(watch.Shown.size(), 1u);
  bool keymenu = false;
  for (const auto& m : rec.Seen()) {
    EXPECT_NE(m.Msg, static_cast<UINT>(WM_ENTERMENULOOP));
    keymenu = keymenu || (m.Msg == WM_SYSCOMMAND && (m.WParam & 0xFFF0) == SC_KEYMENU);
  }
  EXPECT_TRUE(keymenu);
}

// The CM_DIALOGCHAR rule as the form's controls offer a character to the
// form: only Alt alone down lets the band take it, and then the controls do
// not see it.
TEST_F(MenuLoopTest, TheBandTakesAnAltLetterBeforeTheFormsControls) {
  BYTE saved[256];
  GetKeyboardState(saved);
  auto with_keys = [&](std::initializer_list<int> down) {
    BYTE keys[256] = {};
    for (int k : down)
      keys[k] = 0x80;
    SetKeyboardState(keys);
  };
  const struct {
    std::initializer_list<int> keys;
    wchar_t ch;
    LRESULT answer;
  } cases[] = {
      {{VK_MENU}, L'e', 1},  // "&Editar" opens
      {{VK_MENU}, L'E', 1},
      {{VK_MENU, VK_CONTROL}, L'e', 0},  // Ctrl+Alt: the controls get it
      {{VK_MENU, VK_SHIFT}, L'e', 0},
      {{}, L'e', 0},
      {{VK_MENU}, L'z', 0},  // no such accelerator
  };
  for (const auto& c : cases) {
    with_keys(c.keys);
    EXPECT_EQ(form_->Perform(fw::CM_DIALOGCHAR, c.ch, 0), c.answer) << int(c.ch);
    MSG click{};
    const bool posted = TakePosted(form_->Handle(), WM_NCLBUTTONDOWN, &click);
    EXPECT_EQ(posted, c.answer == 1) << int(c.ch);
    if (posted) {
      // A click on the item's top-left corner.
      const RECT& r = bar_->Items[1]->Rect;
      RECT wr;
      GetWindowRect(form_->Handle(), &wr);
      EXPECT_EQ(click.lParam, MAKELPARAM(wr.left + r.left + 1, wr.top + r.top + 1));
    }
  }
  SetKeyboardState(saved);
}

// SC_KEYMENU reaches the window's own procedure only for what the band does
// not answer: Alt+space (the system menu), Alt+"-" (an MDI child's system
// menu), a key that is no accelerator, and anything while a drop-down is
// open or the mouse is captured.
TEST_F(MenuLoopTest, TheKeyMenuCommandIsAnsweredWithoutTheNativeMenuMode) {
  constexpr UINT kProbe = WM_APP + 7;
  std::vector<LPARAM> passed;
  HMENU menu = CreateMenu();
  HMENU sub = CreatePopupMenu();
  AppendMenuW(sub, MF_STRING, 5001, L"&Novo");
  AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), L"&Arquivo");
  AppendMenuW(menu, MF_STRING | MF_GRAYED, 5002, L"&Desativado");
  HWND wnd = CreateRawWindow(WS_OVERLAPPEDWINDOW);
  SetMenu(wnd, menu);
  // Below the controller: what it passes on.
  test_support::TLambdaSubclass below(wnd, [&](fw::TMessage& m, const fw::TSubclass& sub_) {
    if (m.Msg == WM_SYSCOMMAND && (m.WParam & 0xFFF0) == SC_KEYMENU) {
      passed.push_back(m.LParam);  // and kept from the system's menu mode
      m.Result = 0;
      return;
    }
    if (m.Msg == kProbe) return;
    sub_.CallPrevious(m);
  });
  TWinSkinForm* c = Skin(wnd);
  ASSERT_NE(c, nullptr);
  ASSERT_NE(c->MenuBarSkinner, nullptr);
  const struct {
    LPARAM key;
    bool loop_active, capture;
    LRESULT answer;
    bool opens;
  } cases[] = {
      {0, false, false, 1, false},                                     // Alt alone
      {L'a', false, false, 1, true},                                   // "&Arquivo"
      {L'A', false, false, 1, true},  {L'd', false, false, 0, false},  // a disabled item's letter
      {L'x', false, false, 0, false}, {L' ', false, false, 0, false},
      {L'-', false, false, 0, false}, {0, true, false, 0, false},
      {L'a', true, false, 0, false},  {0, false, true, 0, false},
  };
  for (const auto& k : cases) {
    passed.clear();
    c->MenuLoopActive = k.loop_active;
    if (k.capture) SetCapture(wnd);
    EXPECT_EQ(SendMessageW(wnd, WM_SYSCOMMAND, SC_KEYMENU, k.key), k.answer) << k.key;
    if (k.capture) ReleaseCapture();
    c->MenuLoopActive = false;
    EXPECT_EQ(passed.size(), k.answer == 0 ? 1u : 0u) << k.key;
    EXPECT_EQ(TakePosted(wnd, WM_NCLBUTTONDOWN), k.opens) << k.key;
  }
}

// A right-to-left window's band runs from the right edge, and in its
// drop-downs the left arrow moves to the next item, the right arrow to the
// previous one.
TEST_F(MenuLoopTest, RightToLeftSwapsTheItemsAndTheArrowKeys) {
  HMENU menu = CreateMenu();
  for (const wchar_t* caption : {L"&Um", L"&Dois", L"&Tres"}) {
    HMENU sub = CreatePopupMenu();
    AppendMenuW(sub, MF_STRING, 6000 + GetMenuItemCount(menu), L"Item");
    AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), caption);
  }
  HWND wnd = CreateRawWindow(WS_OVERLAPPEDWINDOW, WS_EX_LEFTSCROLLBAR);
  SetMenu(wnd, menu);
  TWinSkinForm* c = Skin(wnd);
  ASSERT_NE(c, nullptr);
  TWinSkinMenu* bar = c->MenuBarSkinner;
  ASSERT_NE(bar, nullptr);
  EXPECT_TRUE(bar->RightToLeft);
  ASSERT_EQ(bar->Items.size(), 3u);
  // The first item at the band's right edge (after the band image's right
  // cap), the others to its left.
  RECT wr;
  GetWindowRect(wnd, &wr);
  const skin::TDataSkinObject* image = Data().Data().MenuBar.get();
  const int start = image != nullptr ? image->Margins.Right + 8 : 6;
  EXPECT_EQ(bar->Items[0]->Rect.right, (wr.right - wr.left) - c->BorderRight - start);
  EXPECT_EQ(bar->Items[1]->Rect.right, bar->Items[0]->Rect.left);
  EXPECT_EQ(bar->Items[2]->Rect.right, bar->Items[1]->Rect.left);

  SetCursorPos(1000, 760);
  TDropDownWatch watch([](size_t n, HWND popup) {
    const WPARAM keys[] = {VK_LEFT, VK_RIGHT, VK_RIGHT, VK_ESCAPE};
    PostMessageW(popup, WM_KEYDOWN, keys[std::min<size_t>(n, 3)], 0);
  });
  watch.ItemOf = [&](HMENU m) {
    for (size_t i = 0; i < bar->Items.size(); ++i)
      if (bar->Items[i]->SubMenu == m) return static_cast<int>(i);
    return -1;
  };
  bar->OpenMenuButton(*bar->Items[0]);
  ASSERT_TRUE(PumpUntil([&] {
    return watch.Shown.size() == 4 && OpenMenuWindow() == nullptr &&
           MenuLoopState().HookHandle == nullptr;
  }));
  EXPECT_EQ(watch.Items, (std::vector<int>{0, 1, 0, 2}));
}

INT_PTR CALLBACK PlainDialogProc(HWND, UINT msg, WPARAM, LPARAM) {
  return msg == WM_INITDIALOG ? TRUE : FALSE;
}

// A plain dialog box (no framework object) with a native menu bar: the band
// reads its items from the menu, Alt+letter opens a drop-down whose entries
// the controller draws, and skinning switched off gives the dialog its menu
// back as it was.
TEST_F(MenuLoopTest, APlainDialogBoxWithAMenuIsDrivenFromTheBand) {
  alignas(4) WORD tpl[64] = {};
  auto* dlg = reinterpret_cast<DLGTEMPLATE*>(tpl);
  dlg->style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
  dlg->cx = 200;
  dlg->cy = 80;
  WORD* p = reinterpret_cast<WORD*>(dlg + 1);
  *p++ = 0;  // no menu resource
  *p++ = 0;  // the dialog class
  for (const wchar_t* t = L"Caixa com menu"; *t != 0; ++t)
    *p++ = static_cast<WORD>(*t);
  // The dialog activates itself when it is made: it is skinned once it has
  // its menu.
  skin::win::TSkinManage& manager = *skin::win::TSkinManage::Instance();
  manager.SetActive(false);
  HWND wnd =
      CreateDialogIndirectParamW(GetModuleHandleW(nullptr), dlg, nullptr, &PlainDialogProc, 0);
  ASSERT_NE(wnd, nullptr);
  windows_.push_back(wnd);
  HMENU menu = CreateMenu();
  HMENU arquivo = CreatePopupMenu();
  HMENU ajuda = CreatePopupMenu();
  AppendMenuW(arquivo, MF_STRING, 5001, L"&Novo");
  AppendMenuW(ajuda, MF_STRING, 5002, L"&Sobre");
  AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(arquivo), L"&Arquivo");
  AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(ajuda), L"A&juda");
  SetMenu(wnd, menu);
  ShowWindow(wnd, SW_SHOW);
  manager.SetActive(true);
  ASSERT_TRUE(manager.SkinWindowHandle(wnd));
  TWinSkinForm* c = manager.FindSkinForm(wnd);
  ASSERT_TRUE(PumpUntil([&] { return c->State == skin::win::ssReady; }));
  SetForegroundWindow(wnd);
  EXPECT_TRUE(c->IsDialogClass);
  TWinSkinMenu* bar = c->MenuBarSkinner;
  ASSERT_NE(bar, nullptr);
  ASSERT_EQ(bar->Items.size(), 2u);
  EXPECT_EQ(bar->Items[1]->Caption, L"A&juda");
  EXPECT_EQ(bar->Items[1]->SubMenu, ajuda);
  EXPECT_EQ(GetMenu(wnd), nullptr);

  auto owner_drawn = [](HMENU m) {
    MENUITEMINFOW mii{};
    mii.cbSize = sizeof(mii);
    mii.fMask = MIIM_FTYPE;
    GetMenuItemInfoW(m, 0, TRUE, &mii);
    return (mii.fType & MFT_OWNERDRAW) != 0;
  };
  bool drawn_by_controller = false;
  TDropDownWatch watch([&](size_t, HWND popup) {
    drawn_by_controller = owner_drawn(ajuda);
    PostMessageW(popup, WM_KEYDOWN, VK_ESCAPE, 0);
  });
  watch.ItemOf = [&](HMENU m) { return m == arquivo ? 0 : m == ajuda ? 1 : -1; };
  test_support::PressKeys({VK_MENU, 'J'});
  ASSERT_TRUE(PumpUntil([&] {
    return watch.Shown.size() == 1 && OpenMenuWindow() == nullptr &&
           MenuLoopState().HookHandle == nullptr;
  }));
  EXPECT_EQ(watch.Items, (std::vector<int>{1}));
  EXPECT_TRUE(drawn_by_controller);

  // Skinning off: the dialog's own menu, drawn by the system again.
  Data().SetActive(false);
  ASSERT_TRUE(PumpUntil([&] { return manager.SkinForms().empty(); }));
  EXPECT_EQ(GetMenu(wnd), menu);
  EXPECT_FALSE(owner_drawn(ajuda));
}

}  // namespace
}  // namespace skin_test
