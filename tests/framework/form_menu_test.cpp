// A form and its menu bar: the menu leaves the window before the window
// goes (whoever owns the menu), shortcuts run their items before the focused
// control sees the key, Alt with a letter of the menu bar opens the menu
// instead of pressing a button with the same accelerator, and the screen's
// menu font is one object.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <initializer_list>
#include <memory>
#include <utility>

#include "framework/forms.h"
#include "framework/menus.h"
#include "framework/registry.h"
#include "framework/std_buttons.h"
#include "framework/stdctrls.h"
#include "framework/timers.h"
#include "tests/support/win/live_counts.h"
#include "tests/support/win/message_sequence.h"

namespace fw {
namespace {

// Real key presses (down in order, up in reverse order).
void PressKeys(std::initializer_list<WORD> keys) {
  std::vector<INPUT> in;
  for (WORD vk : keys) {
    INPUT i{};
    i.type = INPUT_KEYBOARD;
    i.ki.wVk = vk;
    in.push_back(i);
  }
  for (auto it = std::rbegin(keys); it != std::rend(keys); ++it) {
    INPUT i{};
    i.type = INPUT_KEYBOARD;
    i.ki.wVk = *it;
    i.ki.dwFlags = KEYEVENTF_KEYUP;
    in.push_back(i);
  }
  SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
}

// Handles messages the way the application does (key messages offered to
// the focused control first) until `done`.
bool RunUntil(TApplication& app, const std::function<bool()>& done, DWORD timeout_ms = 3000) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > timeout_ms) return false;
    if (!app.ProcessMessage()) MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  return true;
}

void Settle(TApplication& app) {
  RunUntil(
      app, [] { return false; }, 300);
}

class FormMenuTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterFrameworkClasses();
    app_ = std::make_unique<TApplication>();
    app_->Initialize();
  }
  void TearDown() override { app_.reset(); }

  // A menu "&Arquivo" with "&Abrir" (Ctrl+O) in it, owned by `owner`.
  TMainMenu* MakeMenu(TComponent* owner) {
    auto* menu = new TMainMenu(owner);
    arquivo_ = new TMenuItem(owner);
    arquivo_->SetCaption(L"&Arquivo");
    abrir_ = new TMenuItem(owner);
    abrir_->SetCaption(L"&Abrir");
    abrir_->SetShortCut(scCtrl | 'O');
    menu->Items()->Add(arquivo_);
    arquivo_->Add(abrir_);
    return menu;
  }

  std::unique_ptr<TApplication> app_;
  TMenuItem* arquivo_ = nullptr;
  TMenuItem* abrir_ = nullptr;
};

TEST_F(FormMenuTest, AMenuTheFormDoesNotOwnLeavesTheWindowBeforeItGoes) {
  const test_support::TLiveCounts before = test_support::Live();
  // The window goes in each of the ways a form's window can go; the menu,
  // owned by the application, survives each and serves the next form.
  auto* main = new TForm(app_.get());
  app_->SetMainForm(main);
  main->SetClientWidth(200);
  main->SetClientHeight(100);
  main->Show();
  TMainMenu* menu = MakeMenu(app_.get());
  const HMENU bar = menu->Handle();
  const HMENU file = arquivo_->Handle();
  struct TCase {
    const char* name;
    std::function<void(TForm*)> end;
  } cases[] = {
      {"form freed", [](TForm* f) { f->Free(); }},
      {"window recreated", [](TForm* f) { f->RecreateWnd(); }},
      {"owner window destroyed", [main](TForm*) { DestroyWindow(main->Handle()); }},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.name);
    auto* form = new TForm(app_.get());
    form->SetMenu(menu);
    form->Show();
    ASSERT_EQ(GetMenu(form->Handle()), bar);
    c.end(form);
    EXPECT_TRUE(IsMenu(bar));
    EXPECT_TRUE(IsMenu(file));
    EXPECT_EQ(GetSubMenu(bar, 0), file);
    if (std::string(c.name) == "window recreated") {
      EXPECT_EQ(GetMenu(form->Handle()), bar);
      EXPECT_EQ(menu->WindowHandle(), form->Handle());
      form->Free();
    }
    EXPECT_EQ(menu->WindowHandle(), nullptr);
  }
  menu->Free();
  EXPECT_FALSE(IsMenu(bar));
  main->Free();
  app_.reset();
  EXPECT_EQ(test_support::Live(), before);
}

TEST_F(FormMenuTest, AMenuFreedFirstLeavesTheWindowItShowsOn) {
  auto* form = new TForm(app_.get());
  app_->SetMainForm(form);
  TMainMenu* menu = MakeMenu(app_.get());
  form->SetMenu(menu);
  form->Show();
  menu->Free();
  EXPECT_EQ(form->Menu(), nullptr);
  EXPECT_EQ(GetMenu(form->Handle()), nullptr);
}

TEST_F(FormMenuTest, AShortCutRunsItsItemBeforeTheFocusedControlSeesTheKey) {
  auto* form = new TForm(app_.get());
  app_->SetMainForm(form);
  form->SetClientWidth(240);
  form->SetClientHeight(80);
  form->SetMenu(MakeMenu(form));
  auto* edit = new TEdit(form);
  edit->SetParent(form);
  edit->SetBounds(8, 8, 120, 24);
  edit->SetTabStop(true);
  auto* sair = new TMenuItem(form);
  sair->SetCaption(L"&Sair");
  sair->SetShortCut(scCtrl | 'Q');
  sair->SetEnabled(false);
  arquivo_->Add(sair);
  form->Show();
  edit->SetFocus();
  int opened = 0;
  int left = 0;
  abrir_->OnClick = [&](TObject*) { ++opened; };
  sair->OnClick = [&](TObject*) { ++left; };
  std::vector<WORD> keys_seen;
  edit->OnKeyDown = [&](TObject*, WORD& key, TShiftState) { keys_seen.push_back(key); };

  PressKeys({VK_CONTROL, 'O'});
  EXPECT_TRUE(RunUntil(*app_, [&] { return opened == 1; }));
  Settle(*app_);
  EXPECT_EQ(opened, 1);
  EXPECT_EQ(std::count(keys_seen.begin(), keys_seen.end(), WORD('O')), 0);

  // A disabled item's shortcut runs nothing: the key goes to the control.
  keys_seen.clear();
  PressKeys({VK_CONTROL, 'Q'});
  EXPECT_TRUE(RunUntil(
      *app_, [&] { return std::count(keys_seen.begin(), keys_seen.end(), WORD('Q')) == 1; }));
  EXPECT_EQ(left, 0);

  // Nor does an item under a disabled one.
  arquivo_->SetEnabled(false);
  keys_seen.clear();
  PressKeys({VK_CONTROL, 'O'});
  EXPECT_TRUE(RunUntil(
      *app_, [&] { return std::count(keys_seen.begin(), keys_seen.end(), WORD('O')) == 1; }));
  EXPECT_EQ(opened, 1);
}

TEST_F(FormMenuTest, AltWithALetterOfTheMenuBarOpensTheMenuNotAButton) {
  auto* form = new TForm(app_.get());
  app_->SetMainForm(form);
  form->SetClientWidth(240);
  form->SetClientHeight(80);
  form->SetMenu(MakeMenu(form));
  auto* button = new TButton(form);
  button->SetParent(form);
  button->SetBounds(8, 8, 120, 24);
  button->SetCaption(L"&Arquivo do dia");
  auto* other = new TButton(form);
  other->SetParent(form);
  other->SetBounds(8, 40, 120, 24);
  other->SetCaption(L"&Buscar");
  form->Show();
  SetForegroundWindow(form->Handle());
  int pressed = 0;
  int other_pressed = 0;
  button->OnClick = [&](TObject*) { ++pressed; };
  other->OnClick = [&](TObject*) { ++other_pressed; };
  test_support::TMessageRecorder rec({form->Handle()});
  rec.KeepOnly({WM_INITMENUPOPUP});
  bool menu_opened = false;
  TTimerHandle closer;
  closer.Start(50, [&] {
    if (FindWindowW(L"#32768", nullptr) != nullptr) {
      menu_opened = true;
      EndMenu();
    }
  });

  PressKeys({VK_MENU, 'A'});
  EXPECT_TRUE(RunUntil(*app_, [&] { return menu_opened; }));
  Settle(*app_);
  EXPECT_EQ(pressed, 0);
  EXPECT_FALSE(rec.Seen().empty());

  // A letter the menu bar does not have still presses its button.
  PressKeys({VK_MENU, 'B'});
  EXPECT_TRUE(RunUntil(*app_, [&] { return other_pressed == 1; }));
  closer.Stop();
}

TEST(ScreenMenuFont, IsOneObjectWithTheSystemsMenuFont) {
  NONCLIENTMETRICSW ncm{};
  ncm.cbSize = sizeof(ncm);
  ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0));
  TFont* font = Screen().MenuFont();
  ASSERT_NE(font, nullptr);
  EXPECT_EQ(font, Screen().MenuFont());
  EXPECT_EQ(font->Name(), std::wstring(ncm.lfMenuFont.lfFaceName));
  EXPECT_EQ(font->Height(), ncm.lfMenuFont.lfHeight);
  // A change of the system's settings reads it again into the same object.
  font->SetName(L"Courier New");
  Screen().SettingsChanged();
  EXPECT_EQ(Screen().MenuFont(), font);
  EXPECT_EQ(font->Name(), std::wstring(ncm.lfMenuFont.lfFaceName));
}

}  // namespace
}  // namespace fw
