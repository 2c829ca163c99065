// Menus and image lists: a menu bar read from a description, commands
// reaching the item's OnClick, owner-drawn items asking their events, and
// images kept with their transparent colour.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>

#include "framework/dc.h"
#include "framework/forms.h"
#include "framework/imglist.h"
#include "framework/menus.h"
#include "framework/reader.h"
#include "framework/registry.h"
#include "framework/timers.h"
#include "tests/support/win/message_sequence.h"

namespace fw {
namespace {

class MenusTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterFrameworkClasses();
    app_ = std::make_unique<TApplication>();
    app_->Initialize();
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
      object Linha: TMenuItem
        Caption = '-'
      end
      object Sair: TMenuItem
        Caption = '&Sair'
        Enabled = False
      end
    end
  end
end
)");
    menu_ = static_cast<TMainMenu*>(form_->FindComponent("MainMenu1"));
    abrir_ = static_cast<TMenuItem*>(form_->FindComponent("Abrir"));
    form_->Show();
  }
  void TearDown() override { app_.reset(); }

  std::unique_ptr<TApplication> app_;
  TForm* form_ = nullptr;
  TMainMenu* menu_ = nullptr;
  TMenuItem* abrir_ = nullptr;
};

TEST_F(MenusTest, MenuBarFromTheDescriptionWithCommandsToTheItems) {
  ASSERT_NE(menu_, nullptr);
  EXPECT_EQ(form_->Menu(), menu_);
  HMENU bar = GetMenu(form_->Handle());
  ASSERT_EQ(bar, menu_->Handle());
  ASSERT_EQ(GetMenuItemCount(bar), 1);
  HMENU sub = GetSubMenu(bar, 0);
  ASSERT_EQ(GetMenuItemCount(sub), 3);
  wchar_t text[32] = {};
  GetMenuStringW(sub, 0, text, 32, MF_BYPOSITION);
  EXPECT_STREQ(text, L"&Abrir");
  EXPECT_TRUE(GetMenuState(sub, 2, MF_BYPOSITION) & MF_GRAYED);
  EXPECT_TRUE(GetMenuState(sub, 1, MF_BYPOSITION) & MF_SEPARATOR);
  RECT client{};
  GetClientRect(form_->Handle(), &client);
  EXPECT_EQ(client.right, 300);
  EXPECT_EQ(client.bottom, 120);  // the menu bar is outside the client area

  int clicks = 0;
  abrir_->OnClick = [&](TObject* sender) {
    EXPECT_EQ(sender, abrir_);
    ++clicks;
  };
  SendMessageW(form_->Handle(), WM_COMMAND, MAKEWPARAM(abrir_->Command(), 0), 0);
  EXPECT_EQ(clicks, 1);

  // A changed item shows in the same menu handle.
  abrir_->SetCaption(L"&Carregar");
  GetMenuStringW(GetSubMenu(GetMenu(form_->Handle()), 0), 0, text, 32, MF_BYPOSITION);
  EXPECT_STREQ(text, L"&Carregar");
}

TEST_F(MenusTest, OwnerDrawnItemsAskTheirEvents) {
  menu_->SetOwnerDraw(true);
  HMENU sub = GetSubMenu(menu_->Handle(), 0);
  MENUITEMINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_FTYPE | MIIM_DATA;
  ASSERT_TRUE(GetMenuItemInfoW(sub, 0, TRUE, &info));
  EXPECT_TRUE(info.fType & MFT_OWNERDRAW);
  EXPECT_EQ(info.dwItemData, reinterpret_cast<ULONG_PTR>(abrir_));

  abrir_->OnMeasureItem = [](TObject*, TCanvas* canvas, int& w, int& h) {
    EXPECT_NE(canvas->Handle(), nullptr);
    w = 120;
    h = 22;
  };
  MEASUREITEMSTRUCT mis{};
  mis.CtlType = ODT_MENU;
  mis.itemID = abrir_->Command();
  mis.itemData = info.dwItemData;
  SendMessageW(form_->Handle(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis));
  EXPECT_EQ(mis.itemWidth, 120u);
  EXPECT_EQ(mis.itemHeight, 22u);

  TBitmap target;
  target.SetSize(120, 22);
  bool drawn_selected = false;
  abrir_->OnDrawItem = [&](TObject*, TCanvas* canvas, RECT r, bool selected) {
    drawn_selected = selected;
    canvas->Brush()->SetColor(clRed);
    canvas->FillRect(r);
  };
  DRAWITEMSTRUCT dis{};
  dis.CtlType = ODT_MENU;
  dis.itemID = abrir_->Command();
  dis.itemState = ODS_SELECTED;
  dis.hDC = target.Canvas()->Handle();
  dis.rcItem = RECT{0, 0, 120, 22};
  dis.itemData = info.dwItemData;
  SendMessageW(form_->Handle(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis));
  GdiFlush();
  EXPECT_TRUE(drawn_selected);
  EXPECT_EQ(target.Pixels()[5 * 120 + 60] & 0xFFFFFF, 0xFF0000u);  // red in 0xRRGGBB
}

TEST_F(MenusTest, PopupMenuRunsTheChosenItem) {
  auto* popup = new TPopupMenu(form_);
  auto* first = new TMenuItem(form_);
  auto* second = new TMenuItem(form_);
  first->SetCaption(L"Primeiro");
  second->SetCaption(L"Segundo");
  popup->Items()->Add(first);
  popup->Items()->Add(second);
  bool shown = false;
  popup->OnPopup = [&](TObject*) { shown = true; };
  TObject* clicked = nullptr;
  second->OnClick = [&](TObject* sender) { clicked = sender; };
  // The menu runs its own modal loop: a second thread chooses the second
  // item with the keyboard once the menu window is up.
  std::atomic<bool> stop{false};
  std::thread chooser([&] {
    for (int i = 0; i < 200 && !stop && FindWindowW(L"#32768", nullptr) == nullptr; ++i)
      Sleep(20);
    Sleep(200);
    for (WORD vk : {WORD(VK_DOWN), WORD(VK_DOWN), WORD(VK_RETURN)}) {
      INPUT in[2] = {};
      in[0].type = in[1].type = INPUT_KEYBOARD;
      in[0].ki.wVk = in[1].ki.wVk = vk;
      in[1].ki.dwFlags = KEYEVENTF_KEYUP;
      SendInput(2, in, sizeof(INPUT));
      Sleep(100);
    }
  });
  RECT r{};
  GetWindowRect(form_->Handle(), &r);
  popup->Popup(r.left + 40, r.top + 60);
  stop = true;
  chooser.join();
  EXPECT_TRUE(shown);
  EXPECT_EQ(clicked, second);
}

TEST_F(MenusTest, TheMenuBelongsToItsComponentNotToTheWindow) {
  HMENU bar = menu_->Handle();
  HMENU sub = GetSubMenu(bar, 0);
  // Every item with a menu has its handle, the root item included.
  EXPECT_EQ(menu_->Items()->Handle(), bar);
  EXPECT_EQ(static_cast<TMenuItem*>(form_->FindComponent("Arquivo"))->Handle(), sub);
  EXPECT_EQ(abrir_->Handle(), nullptr);
  // A new window takes the same menu: the old one did not destroy it.
  form_->RecreateWnd();
  EXPECT_TRUE(IsMenu(bar));
  EXPECT_EQ(GetMenu(form_->Handle()), bar);
  // The form's end is the menu's end, once.
  form_->Free();
  EXPECT_FALSE(IsMenu(bar));
  EXPECT_FALSE(IsMenu(sub));
}

TEST_F(MenusTest, ShortcutsAndRadioItemsShowInTheMenu) {
  abrir_->SetShortCut(scCtrl | 'A');
  auto* sair = static_cast<TMenuItem*>(form_->FindComponent("Sair"));
  sair->SetRadioItem(true);
  sair->SetChecked(true);
  HMENU sub = GetSubMenu(menu_->Handle(), 0);
  wchar_t text[32] = {};
  GetMenuStringW(sub, 0, text, 32, MF_BYPOSITION);
  EXPECT_STREQ(text, L"&Abrir\tCtrl+A");
  MENUITEMINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_FTYPE | MIIM_STATE;
  ASSERT_TRUE(GetMenuItemInfoW(sub, 2, TRUE, &info));
  EXPECT_TRUE(info.fType & MFT_RADIOCHECK);
  EXPECT_TRUE(info.fState & MFS_CHECKED);
  struct TCase {
    TShortCut key;
    const wchar_t* text;
  } cases[] = {{0, L""},
               {scCtrl | 'S', L"Ctrl+S"},
               {scShift | VK_F5, L"Shift+F5"},
               {scAlt | VK_RETURN, L"Alt+Enter"},
               {scCtrl | scShift | VK_DELETE, L"Ctrl+Shift+Del"}};
  for (const auto& c : cases)
    EXPECT_EQ(ShortCutToText(c.key), c.text);
}

TEST_F(MenusTest, OwnerDrawnItemsAreMeasuredInTheMenuFont) {
  menu_->SetOwnerDraw(true);
  // What the item measures follows the system's menu font, not the DC's
  // default font.
  TClientDC dc(nullptr);
  SIZE in_default{};
  GetTextExtentPoint32W(dc.Get(), L"&Abrir", 6, &in_default);
  NONCLIENTMETRICSW ncm{};
  ncm.cbSize = sizeof(ncm);
  ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0));
  TGdiHandle<HFONT> menu_font(CreateFontIndirectW(&ncm.lfMenuFont));
  SIZE in_menu{};
  {
    TSelectObject sel(dc.Get(), menu_font.get());
    GetTextExtentPoint32W(dc.Get(), L"&Abrir", 6, &in_menu);
  }
  MEASUREITEMSTRUCT mis{};
  mis.CtlType = ODT_MENU;
  mis.itemData = reinterpret_cast<ULONG_PTR>(abrir_);
  SendMessageW(form_->Handle(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis));
  EXPECT_EQ(static_cast<LONG>(mis.itemWidth), in_menu.cx + 32) << "default font: " << in_default.cx;
  // Item data that is not one of ours is left alone.
  MEASUREITEMSTRUCT foreign{};
  foreign.CtlType = ODT_MENU;
  foreign.itemData = 0x12345;
  SendMessageW(form_->Handle(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&foreign));
  EXPECT_EQ(foreign.itemWidth, 0u);
}

TEST_F(MenusTest, APopupMenuLeavesItsFormActive) {
  auto* popup = new TPopupMenu(form_);
  auto* item = new TMenuItem(form_);
  item->SetCaption(L"Item");
  popup->Items()->Add(item);
  SetForegroundWindow(form_->Handle());
  ASSERT_EQ(GetActiveWindow(), form_->Handle());
  test_support::TMessageRecorder rec({form_->Handle()});
  rec.KeepOnly({WM_ENTERMENULOOP, WM_INITMENU, WM_INITMENUPOPUP, WM_UNINITMENUPOPUP,
                WM_EXITMENULOOP, WM_ACTIVATE, WM_NCACTIVATE});
  // Closed from inside its own loop once it is up.
  TTimerHandle closer;
  closer.Start(100, [] {
    if (FindWindowW(L"#32768", nullptr) != nullptr) EndMenu();
  });
  RECT r{};
  GetWindowRect(form_->Handle(), &r);
  popup->Popup(r.left + 40, r.top + 60);
  closer.Stop();
  EXPECT_EQ(GetActiveWindow(), form_->Handle());
  using test_support::kOptional;
  using test_support::kSent;
  const test_support::TExpectedMessage kPopup[] = {
      {WM_ENTERMENULOOP, kSent}, {WM_INITMENU, kSent},
      {WM_INITMENUPOPUP, kSent}, {WM_UNINITMENUPOPUP, kSent | kOptional},
      {WM_EXITMENULOOP, kSent},
  };
  EXPECT_TRUE(test_support::MatchesSequence(rec.Seen(), kPopup, "popup menu"));
}

TEST(ImageList, KeepsImagesWithTheirTransparentColour) {
  TImageList images(nullptr);
  TBitmap strip;
  strip.SetSize(32, 16);
  uint32_t* p = strip.Pixels();
  for (int i = 0; i < 32 * 16; ++i)
    p[i] = 0xFFFF00FF;  // magenta background
  for (int y = 4; y < 12; ++y) {
    for (int x = 4; x < 12; ++x)
      p[y * 32 + x] = 0xFF0000FF;  // a blue square in image 0
  }
  EXPECT_EQ(images.AddMasked(strip), 0);
  EXPECT_EQ(images.Count(), 2);
  TBitmap target;
  target.SetSize(16, 16);
  target.Canvas()->Brush()->SetColor(clWhite);
  RECT all{0, 0, 16, 16};
  target.Canvas()->FillRect(all);
  images.Draw(*target.Canvas(), 0, 0, 0);
  GdiFlush();
  EXPECT_EQ(target.Pixels()[0] & 0xFFFFFF, 0xFFFFFFu);           // transparent corner
  EXPECT_EQ(target.Pixels()[8 * 16 + 8] & 0xFFFFFF, 0x0000FFu);  // the square
}

}  // namespace
}  // namespace fw
