// The skinned menu bar under Wine: the band painted from the skin with the
// framework menu's items, hit tests, an item repainted hot, and a drop-down
// opened below its item whose command reaches the framework.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "framework/dc.h"
#include "framework/forms.h"
#include "framework/menus.h"
#include "framework/reader.h"
#include "framework/registry.h"
#include "skin/controls/skin_manage.h"
#include "skin/data/skin_draw.h"
#include "skin/window/frame_geometry.h"
#include "skin/window/menu_bar.h"
#include "skin/window/menu_bar_layout.h"
#include "tests/skin/window/skinned_window.h"
#include "tests/skin/window/skinned_window_fixture.h"
#include "tests/support/win/pump.h"
#include "tests/support/win/thread_windows.h"

namespace skin::win {
namespace {

using fixtures::AttachController;
using fixtures::CaptureWindow;
using fixtures::LoadSkin;
using fixtures::SamePixels;

class MenuBarTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fw::RegisterFrameworkClasses();
    app_ = std::make_unique<fw::TApplication>();
    app_->Initialize();
    form_ = new fw::TForm(app_.get());
    app_->SetMainForm(form_);
    fw::ReadComponent(*form_, fixtures::FormDescription(fixtures::kMenuDescription));
    form_->Show();
    test_support::PumpPending();
    data_ = LoadSkin("default.skn");
    controller_ = AttachController(form_->Handle(), *data_, form_);
    bar_ = controller_->MenuBarSkinner;
  }
  void TearDown() override {
    app_.reset();
    data_.reset();
    ShutdownSkinManager();
    SetSkinManagerProvider(nullptr);
  }

  // Whether some pixel of `rect` (window coordinates) has exactly `colour`.
  static bool HasColour(const skin::TPixels& shot, const RECT& rect, COLORREF colour) {
    for (int y = rect.top; y < rect.bottom; ++y)
      for (int x = rect.left; x < rect.right; ++x)
        if (shot.Pixel(x, y) == colour) return true;
    return false;
  }

  std::unique_ptr<fw::TApplication> app_;
  fw::TForm* form_ = nullptr;
  fw::TOwned<TSkinData> data_;
  TWinSkinForm* controller_ = nullptr;
  TWinSkinMenu* bar_ = nullptr;
};

TEST_F(MenuBarTest, BandShowsTheItemsOnTheSkinsMenuBar) {
  ASSERT_NE(bar_, nullptr);
  EXPECT_EQ(GetMenu(form_->Handle()), nullptr);
  ASSERT_EQ(bar_->Items.size(), 3u);
  const TMenuBtn& arquivo = *bar_->Items[0];
  const TMenuBtn& editar = *bar_->Items[1];
  const TMenuBtn& ajuda = *bar_->Items[2];
  EXPECT_EQ(arquivo.Caption, L"&Arquivo");
  EXPECT_NE(arquivo.SubMenu, nullptr);
  EXPECT_FALSE(editar.Visible);
  EXPECT_FALSE(ajuda.Enabled);

  const skin::TSkinData& d = data_->Data();
  const int left = controller_->BorderLeft;
  const int top = controller_->BorderTop;
  // The first item after the menu bar image's left cap (TileLeftMenu 1).
  EXPECT_EQ(arquivo.Rect.left, left + 5);
  EXPECT_EQ(arquivo.Rect.top, top);
  EXPECT_EQ(arquivo.Rect.bottom, top + controller_->MenuBarHeight - 1);
  EXPECT_TRUE(IsRectEmpty(&editar.Rect));
  EXPECT_EQ(ajuda.Rect.left, arquivo.Rect.right);

  for (const bool active : {true, false}) {
    SendMessageW(form_->Handle(), WM_NCACTIVATE, active ? TRUE : FALSE, 0);
    const skin::TBitmap shot = CaptureWindow(form_->Handle());
    const int band_width = shot.Width() - left - controller_->BorderRight;
    skin::TBitmap band(band_width, controller_->MenuBarHeight);
    skin::DrawSkinThreePart(band, {0, 0, band.Width(), band.Height()}, d.MenuBar->Bitmap, true,
                            false, 2, active ? 1 : 2, d.MenuBar->Margins);
    // Right of the last item the band is the skin's image alone.
    const int free_from = ajuda.Rect.right - left;
    skin::TBitmap free_band(band_width - free_from, band.Height());
    for (int y = 0; y < band.Height(); ++y)
      for (int x = free_from; x < band_width; ++x)
        free_band.SetPixel(x - free_from, y, band.Pixel(x, y));
    EXPECT_TRUE(SamePixels(shot, ajuda.Rect.right, top, free_band,
                           active ? "menu band active" : "menu band inactive"));
    // Captions: the enabled one in the menu bar text colour, the disabled
    // one in the button-shadow colour.
    EXPECT_TRUE(HasColour(shot, arquivo.Rect, fw::ColorToRGB(d.MenuBarTextColour)));
    EXPECT_TRUE(HasColour(shot, ajuda.Rect, GetSysColor(COLOR_BTNSHADOW)));
    EXPECT_FALSE(HasColour(shot, ajuda.Rect, fw::ColorToRGB(d.MenuBarTextColour)));
  }
}

TEST_F(MenuBarTest, HitTestFindsCaptionedItems) {
  ASSERT_NE(bar_, nullptr);
  const TMenuBtn& arquivo = *bar_->Items[0];
  const TMenuBtn& ajuda = *bar_->Items[2];
  const POINT centre{(arquivo.Rect.left + arquivo.Rect.right) / 2,
                     (arquivo.Rect.top + arquivo.Rect.bottom) / 2};
  EXPECT_EQ(bar_->HitTest(centre), bar_->Items[0].get());
  EXPECT_EQ(bar_->HitTest({ajuda.Rect.left, ajuda.Rect.top}), bar_->Items[2].get());
  EXPECT_EQ(bar_->HitTest({ajuda.Rect.right, ajuda.Rect.top}), nullptr);  // right of the items
  EXPECT_EQ(bar_->HitTest({arquivo.Rect.left, arquivo.Rect.bottom}), nullptr);  // the last row
  // The screen point of the item answers HTMENU.
  RECT wr;
  GetWindowRect(form_->Handle(), &wr);
  EXPECT_EQ(SendMessageW(form_->Handle(), WM_NCHITTEST, 0,
                         MAKELPARAM(wr.left + centre.x, wr.top + centre.y)),
            HTMENU);
}

TEST_F(MenuBarTest, ItemRepaintedHotThenNormal) {
  ASSERT_NE(bar_, nullptr);
  TMenuBtn& arquivo = *bar_->Items[0];
  const COLORREF hilight = fw::ColorToRGB(data_->Data().ButtonHilightColour);
  const skin::TBitmap before = CaptureWindow(form_->Handle());
  arquivo.MouseState = 3;
  arquivo.Paint();
  const skin::TBitmap hot = CaptureWindow(form_->Handle());
  // A one-pixel frame in the highlight colour around the item.
  for (int x = arquivo.Rect.left; x < arquivo.Rect.right; ++x) {
    EXPECT_EQ(hot.Pixel(x, arquivo.Rect.top), hilight) << x;
    EXPECT_EQ(hot.Pixel(x, arquivo.Rect.bottom - 1), hilight) << x;
  }
  arquivo.MouseState = 1;
  arquivo.Paint();
  const skin::TBitmap normal = CaptureWindow(form_->Handle());
  skin::TBitmap item(arquivo.Rect.right - arquivo.Rect.left,
                     arquivo.Rect.bottom - arquivo.Rect.top);
  for (int y = 0; y < item.Height(); ++y)
    for (int x = 0; x < item.Width(); ++x)
      item.SetPixel(x, y, before.Pixel(arquivo.Rect.left + x, arquivo.Rect.top + y));
  EXPECT_TRUE(SamePixels(normal, arquivo.Rect.left, arquivo.Rect.top, item, "menu item normal"));
}

// What the drop-down looked like while it was open.
struct TDropDownProbe {
  TWinSkinForm* controller = nullptr;
  RECT menu{};
  bool seen = false;
  bool loop_active = false;
  int menu_source = -1;
  bool menu_bar_popups = false;
  int step = 0;
};
TDropDownProbe* g_probe = nullptr;

void CALLBACK ProbeDropDown(HWND, UINT, UINT_PTR timer, DWORD) {
  TDropDownProbe& p = *g_probe;
  HWND menu = test_support::ShownThreadWindow(L"#32768");
  if (menu == nullptr) return;
  if (p.step++ == 0) {
    p.seen = true;
    GetWindowRect(menu, &p.menu);
    p.loop_active = p.controller->MenuLoopActive;
    if (TSkinManage* manager = TSkinManage::Instance()) {
      p.menu_source = manager->MenuSource();
      p.menu_bar_popups = manager->MenuBarPopups();
    }
    // Choose the first entry.
    PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
    return;
  }
  if (p.step > 50) {  // still open after a second and a half: close it
    KillTimer(nullptr, timer);
    EndMenu();
  }
}

TEST_F(MenuBarTest, DropDownOpensBelowItsItemAndSendsItsCommand) {
  ASSERT_NE(bar_, nullptr);
  UseSkinManager();
  ASSERT_NE(data_->Data().Host()->Manager(true), nullptr);
  TSkinManage* manager = TSkinManage::Instance();
  ASSERT_NE(manager, nullptr);

  int top_clicks = 0;
  int chosen = 0;
  auto* arquivo_item = static_cast<fw::TMenuItem*>(form_->FindComponent("Arquivo"));
  auto* abrir = static_cast<fw::TMenuItem*>(form_->FindComponent("Abrir"));
  arquivo_item->OnClick = [&](fw::TObject*) { ++top_clicks; };
  abrir->OnClick = [&](fw::TObject*) { ++chosen; };

  TDropDownProbe probe;
  probe.controller = controller_;
  g_probe = &probe;
  const UINT_PTR timer = SetTimer(nullptr, 0, 30, &ProbeDropDown);
  TMenuBtn& arquivo = *bar_->Items[0];
  EXPECT_TRUE(bar_->OpenMenu(arquivo));
  KillTimer(nullptr, timer);
  g_probe = nullptr;
  test_support::PumpUntil([&] { return chosen > 0 && top_clicks > 0; }, 1000);

  ASSERT_TRUE(probe.seen) << "no drop-down window";
  RECT wr;
  GetWindowRect(form_->Handle(), &wr);
  EXPECT_EQ(probe.menu.left, wr.left + arquivo.Rect.left);
  EXPECT_EQ(probe.menu.top, wr.top + arquivo.Rect.bottom);
  EXPECT_TRUE(probe.loop_active);
  EXPECT_EQ(probe.menu_source, 1);
  EXPECT_TRUE(probe.menu_bar_popups);
  EXPECT_EQ(top_clicks, 1);
  EXPECT_EQ(chosen, 1);
  // Closed: the loop is over and no popup flag is left for the next menu.
  EXPECT_FALSE(controller_->MenuLoopActive);
  EXPECT_EQ(manager->MenuSource(), 0);
  EXPECT_FALSE(manager->MenuBarPopups());

  // An item without a drop-down only posts its command.
  TMenuBtn plain(*controller_, *bar_);
  plain.Command = 4242;
  EXPECT_FALSE(bar_->OpenMenu(plain));
  MSG posted{};
  EXPECT_TRUE(PeekMessageW(&posted, form_->Handle(), WM_COMMAND, WM_COMMAND, PM_REMOVE));
  EXPECT_EQ(posted.wParam, 4242u);
}

// The band's geometry: the first item after the band image's left cap (5
// with the default skin), every item its caption's width in the menu font
// plus 10; without a band image the first item starts at 6.
TEST_F(MenuBarTest, ItemWidthsAndTheFirstItemsX) {
  ASSERT_NE(bar_, nullptr);
  NONCLIENTMETRICSW ncm{};
  ncm.cbSize = sizeof(ncm);
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0);
  fw::TGdiHandle<HFONT> font(CreateFontIndirectW(&ncm.lfMenuFont));
  auto width_of = [&](const std::wstring& caption) {
    fw::TClientDC dc(nullptr);
    fw::TSelectObject selected(dc.Get(), font.get());
    SIZE size{};
    GetTextExtentPoint32W(dc.Get(), caption.c_str(), static_cast<int>(caption.size()), &size);
    return size.cx + 10;
  };
  const int left = controller_->BorderLeft;
  const TMenuBtn& arquivo = *bar_->Items[0];
  const TMenuBtn& ajuda = *bar_->Items[2];
  EXPECT_EQ(arquivo.Rect.left, left + data_->Data().MenuBar->Margins.Left + 4);
  EXPECT_EQ(arquivo.Rect.right - arquivo.Rect.left, width_of(L"&Arquivo"));
  EXPECT_EQ(ajuda.Rect.right - ajuda.Rect.left, width_of(L"A&juda"));
  EXPECT_EQ(ajuda.Rect.left, arquivo.Rect.right);  // the hidden item takes no room

  data_->Data().MenuBar.reset();
  controller_->PaintFrame(nullptr);
  EXPECT_EQ(bar_->Items[0]->Rect.left, left + 6);
}

// A click on an item shows it pressed while its drop-down is open: the band
// image under it from the skin, framed in the highlight colour.
TEST_F(MenuBarTest, AnItemIsFramedPressedWhileItsDropDownIsOpen) {
  ASSERT_NE(bar_, nullptr);
  UseSkinManager();
  const TMenuBtn& arquivo = *bar_->Items[0];
  const RECT r = arquivo.Rect;
  const skin::TSkinData& d = data_->Data();
  skin::TBitmap pressed;
  int state = 0;
  {
    skin_test::TMenuCloser closer;
    closer.OnOpen = [&](HWND) {
      pressed = CaptureWindow(form_->Handle());
      state = arquivo.MouseState;
    };
    skin_test::SendNCMouse(*controller_, WM_NCLBUTTONDOWN, HTMENU, skin_test::Centre(r));
    ASSERT_EQ(closer.Seen(), 1);
  }
  EXPECT_EQ(state, 2);
  const COLORREF hilight = fw::ColorToRGB(d.ButtonHilightColour);
  for (int x = r.left; x < r.right; ++x) {
    EXPECT_EQ(pressed.Pixel(x, r.top), hilight) << x;
    EXPECT_EQ(pressed.Pixel(x, r.bottom - 1), hilight) << x;
  }
  for (int y = r.top; y < r.bottom; ++y) {
    EXPECT_EQ(pressed.Pixel(r.left, y), hilight) << y;
    EXPECT_EQ(pressed.Pixel(r.right - 1, y), hilight) << y;
  }
  // Inside the frame, left of the caption, the band's own image (frame 1:
  // the window is active).
  const int band_width = pressed.Width() - controller_->BorderLeft - controller_->BorderRight;
  skin::TBitmap band(band_width, controller_->MenuBarHeight);
  skin::DrawSkinThreePart(band, {0, 0, band.Width(), band.Height()}, d.MenuBar->Bitmap, true, false,
                          2, 1, d.MenuBar->Margins);
  const int x = r.left + 1 - controller_->BorderLeft;
  for (int y = r.top + 1; y < r.bottom - 1; ++y) {
    EXPECT_EQ(pressed.Pixel(r.left + 1, y), band.Pixel(x, y - controller_->BorderTop)) << y;
  }
}

// A menu changed after the band read it (a caption, an item enabled, an item
// added) is read again on CM_MENUCHANGED and the band repainted.
TEST_F(MenuBarTest, AMenuChangedAfterAttachIsReadAndRepainted) {
  ASSERT_NE(bar_, nullptr);
  auto* arquivo = static_cast<fw::TMenuItem*>(form_->FindComponent("Arquivo"));
  auto* ajuda = static_cast<fw::TMenuItem*>(form_->FindComponent("Ajuda"));
  arquivo->SetCaption(L"&Planilhas de clientes");
  ajuda->SetEnabled(true);
  auto* novo = new fw::TMenuItem(form_);
  novo->SetCaption(L"&Novo");
  static_cast<fw::TMainMenu*>(form_->FindComponent("MainMenu1"))->Items()->Add(novo);
  SendMessageW(form_->Handle(), fw::CM_MENUCHANGED, 0, 0);
  test_support::PumpPending();

  ASSERT_EQ(bar_->Items.size(), 4u);
  EXPECT_EQ(bar_->Items[0]->Caption, L"&Planilhas de clientes");
  EXPECT_TRUE(bar_->Items[2]->Enabled);
  EXPECT_EQ(bar_->Items[3]->Caption, L"&Novo");
  EXPECT_EQ(bar_->Items[3]->MenuItem, novo);
  EXPECT_EQ(GetMenu(form_->Handle()), nullptr);  // still drawn by the band only
  const skin::TBitmap shot = CaptureWindow(form_->Handle());
  const COLORREF text = fw::ColorToRGB(data_->Data().MenuBarTextColour);
  // The wider first item pushed the others right; "A&juda" is drawn in the
  // enabled colour now, and the new item is on the band.
  EXPECT_EQ(bar_->Items[2]->Rect.left, bar_->Items[0]->Rect.right);
  EXPECT_TRUE(HasColour(shot, bar_->Items[2]->Rect, text));
  EXPECT_FALSE(HasColour(shot, bar_->Items[2]->Rect, GetSysColor(COLOR_BTNSHADOW)));
  EXPECT_FALSE(IsRectEmpty(&bar_->Items[3]->Rect));
  EXPECT_TRUE(HasColour(shot, bar_->Items[3]->Rect, text));
}

// The band shows the menu as its handle does: an entry merged in from
// another framework menu (as an MDI frame shows its active child's items)
// takes its place between the form's own items; a hidden own item keeps
// its place, hidden.
TEST_F(MenuBarTest, ItemsMergedIntoTheMenuShowInTheHandlesOrder) {
  ASSERT_NE(bar_, nullptr);
  auto* child_menu = new fw::TMainMenu(form_);
  auto* janela = new fw::TMenuItem(form_);
  janela->SetCaption(L"&Janela");
  auto* cascata = new fw::TMenuItem(form_);
  cascata->SetCaption(L"&Cascata");
  child_menu->Items()->Add(janela);
  janela->Add(cascata);
  MENUITEMINFOW mii{};
  mii.cbSize = sizeof(mii);
  mii.fMask = MIIM_STRING | MIIM_ID | MIIM_SUBMENU | MIIM_DATA;
  std::wstring text = janela->Caption();
  mii.dwTypeData = text.data();
  mii.wID = janela->Command();
  mii.hSubMenu = janela->Handle();
  mii.dwItemData = reinterpret_cast<ULONG_PTR>(janela);
  ASSERT_TRUE(InsertMenuItemW(bar_->MenuHandle, 1, TRUE, &mii));
  SendMessageW(form_->Handle(), fw::CM_MENUCHANGED, 0, 0);

  ASSERT_EQ(bar_->Items.size(), 4u);
  const wchar_t* captions[] = {L"&Arquivo", L"&Editar", L"&Janela", L"A&juda"};
  const bool visible[] = {true, false, true, true};
  for (size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(bar_->Items[i]->Caption, captions[i]) << i;
    EXPECT_EQ(bar_->Items[i]->Visible, visible[i]) << i;
    EXPECT_EQ(bar_->Items[i]->Index, static_cast<int32_t>(i));
  }
  EXPECT_EQ(bar_->Items[2]->MenuItem, janela);
  EXPECT_EQ(bar_->Items[2]->SubMenu, janela->Handle());
  EXPECT_EQ(bar_->Items[2]->Rect.left, bar_->Items[0]->Rect.right);
  EXPECT_EQ(bar_->Items[3]->Rect.left, bar_->Items[2]->Rect.right);
  RemoveMenu(bar_->MenuHandle, 1, MF_BYPOSITION);
}

}  // namespace
}  // namespace skin::win
