// Menu handles that stay: a change to one item updates its entry in place
// (the bar's handle and every popup handle stay the same, even for a menu
// open on screen), each change reaches the form's window as CM_MENUCHANGED,
// the end of a form does not rebuild its menu item by item, and command
// identifiers of freed items are given again.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "framework/forms.h"
#include "framework/menus.h"
#include "framework/reader.h"
#include "framework/registry.h"
#include "framework/timers.h"
#include "tests/support/win/live_counts.h"
#include "tests/support/win/message_sequence.h"

namespace fw {
namespace {

std::wstring EntryText(HMENU menu, int position) {
  wchar_t text[64] = {};
  GetMenuStringW(menu, static_cast<UINT>(position), text, 64, MF_BYPOSITION);
  return text;
}

class MenuHandlesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterFrameworkClasses();
    app_ = std::make_unique<TApplication>();
    form_ = new TForm(app_.get());
    app_->SetMainForm(form_);
    ReadComponent(*form_, R"(object Janela: TForm
  ClientWidth = 300
  ClientHeight = 120
  Menu = MainMenu1
  object MainMenu1: TMainMenu
    object Arquivo: TMenuItem
      Caption = '&Arquivo'
      object Abrir: TMenuItem
        Caption = '&Abrir'
      end
      object Recentes: TMenuItem
        Caption = '&Recentes'
        object Primeiro: TMenuItem
          Caption = 'primeiro.xlsx'
        end
      end
      object Sair: TMenuItem
        Caption = '&Sair'
      end
    end
    object Ajuda: TMenuItem
      Caption = 'A&juda'
      object Sobre: TMenuItem
        Caption = '&Sobre'
      end
    end
  end
end
)");
    menu_ = Find<TMainMenu>("MainMenu1");
    form_->Show();
  }
  void TearDown() override { app_.reset(); }

  template <class T>
  T* Find(const char* name) {
    return static_cast<T*>(form_->FindComponent(name));
  }

  std::unique_ptr<TApplication> app_;
  TForm* form_ = nullptr;
  TMainMenu* menu_ = nullptr;
};

TEST_F(MenuHandlesTest, AChangeToOneItemUpdatesItsEntryAndKeepsEveryHandle) {
  auto* arquivo = Find<TMenuItem>("Arquivo");
  auto* abrir = Find<TMenuItem>("Abrir");
  auto* recentes = Find<TMenuItem>("Recentes");
  auto* sair = Find<TMenuItem>("Sair");
  auto* ajuda = Find<TMenuItem>("Ajuda");
  const HMENU bar = menu_->Handle();
  const HMENU file = arquivo->Handle();
  const HMENU recent = recentes->Handle();
  const HMENU help = ajuda->Handle();
  ASSERT_EQ(GetMenu(form_->Handle()), bar);
  ASSERT_NE(file, nullptr);
  ASSERT_NE(recent, nullptr);

  struct TCase {
    const char* name;
    std::function<void()> change;
    std::function<void()> check;
  } cases[] = {
      {"caption", [&] { abrir->SetCaption(L"&Carregar"); },
       [&] { EXPECT_EQ(EntryText(file, 0), L"&Carregar"); }},
      {"enabled", [&] { sair->SetEnabled(false); },
       [&] { EXPECT_TRUE(GetMenuState(file, 2, MF_BYPOSITION) & MF_GRAYED); }},
      {"checked", [&] { abrir->SetChecked(true); },
       [&] { EXPECT_TRUE(GetMenuState(file, 0, MF_BYPOSITION) & MF_CHECKED); }},
      {"shortcut", [&] { abrir->SetShortCut(scCtrl | 'O'); },
       [&] { EXPECT_EQ(EntryText(file, 0), L"&Carregar\tCtrl+O"); }},
      {"hidden", [&] { abrir->SetVisible(false); },
       [&] {
         EXPECT_EQ(GetMenuItemCount(file), 2);
         EXPECT_EQ(GetSubMenu(file, 0), recent);
       }},
      {"shown again", [&] { abrir->SetVisible(true); },
       [&] {
         EXPECT_EQ(GetMenuItemCount(file), 3);
         EXPECT_EQ(EntryText(file, 0), L"&Carregar\tCtrl+O");
         EXPECT_EQ(GetSubMenu(file, 1), recent);
       }},
      {"top-level caption", [&] { arquivo->SetCaption(L"&Planilha"); },
       [&] { EXPECT_EQ(EntryText(bar, 0), L"&Planilha"); }},
      {"top-level hidden", [&] { arquivo->SetVisible(false); },
       [&] {
         EXPECT_EQ(GetMenuItemCount(bar), 1);
         EXPECT_EQ(GetSubMenu(bar, 0), help);
       }},
      {"top-level shown again", [&] { arquivo->SetVisible(true); },
       [&] {
         EXPECT_EQ(GetMenuItemCount(bar), 2);
         EXPECT_EQ(GetSubMenu(bar, 0), file);
       }},
      {"item added",
       [&] {
         auto* novo = new TMenuItem(form_);
         novo->SetCaption(L"&Novo");
         arquivo->Add(novo);
       },
       [&] {
         EXPECT_EQ(GetMenuItemCount(file), 4);
         EXPECT_EQ(EntryText(file, 3), L"&Novo");
       }},
      {"item freed", [&] { Find<TMenuItem>("Primeiro")->Free(); },
       [&] {
         // The last child gone, the item is a plain command again.
         EXPECT_EQ(recentes->Handle(), nullptr);
         EXPECT_EQ(GetSubMenu(file, 1), nullptr);
         EXPECT_FALSE(IsMenu(recent));
       }},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.name);
    c.change();
    c.check();
    EXPECT_EQ(GetMenu(form_->Handle()), bar);
    EXPECT_EQ(menu_->Handle(), bar);
    EXPECT_EQ(arquivo->Handle(), file);
    EXPECT_TRUE(IsMenu(file));
    EXPECT_EQ(ajuda->Handle(), help);
    EXPECT_EQ(GetSubMenu(bar, GetMenuItemCount(bar) - 1), help);
  }
}

TEST_F(MenuHandlesTest, EveryChangeReachesTheFormsWindowAsCmMenuChanged) {
  test_support::TMessageRecorder rec({form_->Handle()});
  rec.KeepOnly({CM_MENUCHANGED});
  auto* abrir = Find<TMenuItem>("Abrir");
  auto* arquivo = Find<TMenuItem>("Arquivo");
  abrir->SetCaption(L"&Carregar");
  abrir->SetEnabled(false);
  abrir->SetEnabled(false);  // no change, nothing to tell
  abrir->SetVisible(false);
  abrir->SetChecked(true);
  auto* novo = new TMenuItem(form_);
  arquivo->Add(novo);
  novo->Free();
  using test_support::kSent;
  const test_support::TExpectedMessage kSixChanges[] = {
      {CM_MENUCHANGED, kSent}, {CM_MENUCHANGED, kSent}, {CM_MENUCHANGED, kSent},
      {CM_MENUCHANGED, kSent}, {CM_MENUCHANGED, kSent}, {CM_MENUCHANGED, kSent},
  };
  EXPECT_TRUE(test_support::MatchesSequence(rec.Seen(), kSixChanges, "menu changes"));
}

TEST_F(MenuHandlesTest, TheWindowShowsTheMenuAgainAfterAChange) {
  // Someone took the menu off the window (a skinned frame draws it
  // itself): a change puts it back, for that someone to read it again.
  const HMENU bar = menu_->Handle();
  ::SetMenu(form_->Handle(), nullptr);
  Find<TMenuItem>("Sair")->SetEnabled(false);
  EXPECT_EQ(GetMenu(form_->Handle()), bar);
}

TEST_F(MenuHandlesTest, AMenuOpenOnScreenIsNotDestroyedByAChange) {
  auto* popup = new TPopupMenu(form_);
  auto* item = new TMenuItem(form_);
  auto* sub = new TMenuItem(form_);
  item->SetCaption(L"Item");
  sub->SetCaption(L"Sub");
  popup->Items()->Add(item);
  item->Add(sub);
  const HMENU shown = popup->Handle();
  const HMENU nested = item->Handle();
  bool changed_while_open = false;
  bool still_menus = false;
  TTimerHandle closer;
  closer.Start(100, [&] {
    if (FindWindowW(L"#32768", nullptr) == nullptr) return;
    if (!changed_while_open) {
      changed_while_open = true;
      item->SetCaption(L"Outro");
      sub->SetEnabled(false);
      still_menus = IsMenu(shown) && IsMenu(nested) && GetSubMenu(shown, 0) == nested;
    }
    EndMenu();
  });
  SetForegroundWindow(form_->Handle());
  RECT r{};
  GetWindowRect(form_->Handle(), &r);
  popup->Popup(r.left + 40, r.top + 60);
  closer.Stop();
  ASSERT_TRUE(changed_while_open);
  EXPECT_TRUE(still_menus);
  EXPECT_EQ(EntryText(shown, 0), L"Outro");
  EXPECT_TRUE(GetMenuState(nested, 0, MF_BYPOSITION) & MF_GRAYED);
}

TEST(MenuTeardown, AFormsEndDoesNotRebuildItsMenuItemByItem) {
  const test_support::TLiveCounts before = test_support::Live();
  {
    RegisterFrameworkClasses();
    auto app = std::make_unique<TApplication>();
    auto* form = new TForm(app.get());
    app->SetMainForm(form);
    auto* menu = new TMainMenu(form);
    for (int top = 0; top < 5; ++top) {
      auto* item = new TMenuItem(form);
      item->SetCaption(L"Menu " + std::to_wstring(top));
      menu->Items()->Add(item);
      for (int i = 0; i < 40; ++i) {
        auto* child = new TMenuItem(form);
        child->SetCaption(L"Item " + std::to_wstring(i));
        item->Add(child);
      }
    }
    form->SetMenu(menu);
    form->Show();
    const HWND wnd = form->Handle();
    test_support::TMessageRecorder rec({wnd});
    rec.KeepOnly({CM_MENUCHANGED, WM_NCCALCSIZE});
    form->Free();
    // The menu leaves the window once (one new frame), then goes quietly.
    int menu_changed = 0;
    int frame_changes = 0;
    for (const auto& seen : rec.Seen()) {
      if (seen.Msg == CM_MENUCHANGED) ++menu_changed;
      if (seen.Msg == WM_NCCALCSIZE) ++frame_changes;
    }
    EXPECT_EQ(menu_changed, 0);
    EXPECT_LE(frame_changes, 1);
  }
  EXPECT_EQ(test_support::Live(), before);
}

TEST(MenuCommands, IdentifiersOfFreedItemsAreGivenAgain) {
  // WM_COMMAND carries 16 bits: far more items than that are made and freed
  // in one process, and every identifier still fits below the system
  // commands.
  for (int i = 0; i < 70000; ++i) {
    auto* item = new TMenuItem(nullptr);
    const UINT command = item->Command();
    item->Free();
    ASSERT_GE(command, 0x100u) << "item " << i;
    ASSERT_LT(command, 0xF000u) << "item " << i;
  }
  // Items that live at once have identifiers of their own.
  std::vector<TOwned<TMenuItem>> live;
  std::set<UINT> commands;
  for (int i = 0; i < 2000; ++i) {
    live.emplace_back(new TMenuItem(nullptr));
    commands.insert(live.back()->Command());
  }
  EXPECT_EQ(commands.size(), 2000u);

  // And the item made now still gets its command through the form.
  RegisterFrameworkClasses();
  auto app = std::make_unique<TApplication>();
  auto* form = new TForm(app.get());
  app->SetMainForm(form);
  auto* menu = new TMainMenu(form);
  auto* item = new TMenuItem(form);
  item->SetCaption(L"&Abrir");
  menu->Items()->Add(item);
  form->SetMenu(menu);
  form->Show();
  int clicks = 0;
  item->OnClick = [&](TObject*) { ++clicks; };
  SendMessageW(form->Handle(), WM_COMMAND, MAKEWPARAM(item->Command(), 0), 0);
  EXPECT_EQ(clicks, 1);
}

}  // namespace
}  // namespace fw
