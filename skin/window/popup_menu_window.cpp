#include "skin/window/popup_menu_window.h"

#include "framework/dc.h"
#include "framework/menus.h"
#include "skin/controls/skin_manage.h"
#include "skin/data/skin_draw.h"
#include "skin/window/menu_item_layout.h"
#include "skin/window/skin_surface.h"
#include "skin/window/win_skin_form.h"

namespace skin::win {

namespace {

// Asks a menu window which menu it shows (0 when the system does not say).
constexpr UINT kGetMenuHandle = 0x01E1;  // MN_GETHMENU

// The framework popup menu whose items `menu` shows, or nullptr.
fw::TPopupMenu* FrameworkPopupOf(HMENU menu) {
  MENUITEMINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_DATA;
  if (menu == nullptr || !GetMenuItemInfoW(menu, 0, TRUE, &info)) return nullptr;
  if (!fw::IsMenuItem(info.dwItemData)) return nullptr;
  return dynamic_cast<fw::TPopupMenu*>(
      reinterpret_cast<fw::TMenuItem*>(info.dwItemData)->GetParentMenu());
}

// Wine's menu code reads bit 0x2000 of an entry's type as MF_SYSMENU, whose
// value MFT_RIGHTORDER shares, and paints the window's icon in place of such
// an entry instead of asking the owner to draw it: a right-to-left menu's
// owner-drawn entries would stay empty. Windows draws them as asked.
bool RightOrderReadAsSystemMenu() {
  static const bool read_so =
      GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
  return read_so;
}

}  // namespace

TWinSkinPopMenu*& PendingPopup() {
  static TWinSkinPopMenu* pending = nullptr;
  return pending;
}

void TWinSkinPopMenu::Attach(HWND wnd, TSkinData* data, HMENU menu) {
  Handle = wnd;
  SkinData = data;
  Menu = menu;
  FromMenuBar = false;
  subclass_.Install(wnd, fw::TWndMethod::Bind<&TWinSkinPopMenu::WndProc>(this));
}

void TWinSkinPopMenu::Detach() {
  GiveRightOrderBack();
  subclass_.Remove();
  Background.SetSize(0, 0);
  if (PendingPopup() == this) PendingPopup() = nullptr;
}

void TWinSkinPopMenu::WndProc(fw::TMessage& m) {
  if (m.Msg == WM_SKINQUERY) {
    m.Result = 1;
    return;
  }
  TSkinManage* manager = TSkinManage::Instance();
  if (manager == nullptr || !manager->Active()) {
    subclass_.CallPrevious(m);
    return;
  }
  switch (m.Msg) {
    case WM_CREATE:
      subclass_.CallPrevious(m);
      TakeRightOrder();
      return;
    case WM_DESTROY:
      Detach();
      subclass_.CallPrevious(m);
      return;
    case WM_NCPAINT:
      PaintPopupFrame(m);
      return;
    case WM_PAINT:
      TakeRightOrder();
      subclass_.CallPrevious(m);
      if (BandInClientArea() && Skinned()) PaintBand();
      return;
    case WM_PRINT:
      TakeRightOrder();
      PrintPopup(m);
      return;
    default:
      subclass_.CallPrevious(m);
      return;
  }
}

bool TWinSkinPopMenu::Skinned() {
  if (SkinData == nullptr) return false;
  const skin::TSkinData& data = SkinData->Data();
  if (data.NotLoaded || !data.MenuBackground || data.MenuBackground->Bitmap.Empty()) return false;
  if (!exempt_checked_) {
    // A framework popup menu tagged with the exemption tag keeps its native
    // look, window included.
    exempt_checked_ = true;
    const auto menu = reinterpret_cast<HMENU>(SendMessageW(Handle, kGetMenuHandle, 0, 0));
    const fw::TPopupMenu* popup = FrameworkPopupOf(menu);
    exempt_ = popup != nullptr && popup->Tag() % 100 == data.DisableTag;
  }
  return !exempt_;
}

void TWinSkinPopMenu::LearnMenu() {
  if (Menu != nullptr) return;
  Menu = reinterpret_cast<HMENU>(SendMessageW(Handle, kGetMenuHandle, 0, 0));
  if (Menu == nullptr) PendingPopup() = this;
}

void TWinSkinPopMenu::TakeRightOrder() {
  if (right_order_checked_ || !RightOrderReadAsSystemMenu()) return;
  const auto menu = reinterpret_cast<HMENU>(SendMessageW(Handle, kGetMenuHandle, 0, 0));
  if (menu == nullptr) return;  // asked again before the window paints
  right_order_checked_ = true;
  right_order_menu_ = menu;
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    MENUITEMINFOW mii{};
    mii.cbSize = sizeof(mii);
    mii.fMask = MIIM_FTYPE | MIIM_ID;
    if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &mii)) continue;
    constexpr UINT kBoth = MFT_OWNERDRAW | MFT_RIGHTORDER;
    if ((mii.fType & kBoth) != kBoth) continue;
    const UINT id = mii.wID;
    mii.fMask = MIIM_FTYPE;
    mii.fType &= ~static_cast<UINT>(MFT_RIGHTORDER);
    if (SetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &mii)) {
      right_order_taken_.push_back({static_cast<UINT>(i), id});
    }
  }
}

void TWinSkinPopMenu::GiveRightOrderBack() {
  if (right_order_menu_ != nullptr && IsMenu(right_order_menu_)) {
    for (const TTakenEntry& e : right_order_taken_) {
      MENUITEMINFOW mii{};
      mii.cbSize = sizeof(mii);
      mii.fMask = MIIM_FTYPE | MIIM_ID;
      if (!GetMenuItemInfoW(right_order_menu_, e.Position, TRUE, &mii) || mii.wID != e.Id) {
        continue;
      }
      mii.fMask = MIIM_FTYPE;
      mii.fType |= MFT_RIGHTORDER;
      SetMenuItemInfoW(right_order_menu_, e.Position, TRUE, &mii);
    }
  }
  right_order_taken_.clear();
  right_order_menu_ = nullptr;
}

bool TWinSkinPopMenu::TookRightOrder(HMENU menu) const {
  return menu != nullptr && menu == right_order_menu_ && !right_order_taken_.empty();
}

void TWinSkinPopMenu::BuildBackground(int width, int height) {
  const skin::TDataSkinObject& image = *SkinData->Data().MenuBackground;
  Background.SetSize(width, height);
  DrawSkinBitmap(Background.Canvas()->Handle(), 0, 0,
                 skin::BuildSkinImage(skin::TRect{0, 0, width, height}, image.Bitmap, image.Margins,
                                      /*vertical=*/false, image.Tile != 0, 1, 1));
  GdiFlush();
}

void TWinSkinPopMenu::PaintPopupFrame(fw::TMessage& m) {
  if (!Skinned()) {
    subclass_.CallPrevious(m);
    return;
  }
  RECT wr;
  GetWindowRect(Handle, &wr);
  const int w = wr.right - wr.left;
  const int h = wr.bottom - wr.top;
  BuildBackground(w, h);
  LearnMenu();
  PaintBand();
  m.Result = 0;
}

void TWinSkinPopMenu::PaintBand() {
  RECT wr;
  GetWindowRect(Handle, &wr);
  if (Background.Width() != wr.right - wr.left || Background.Height() != wr.bottom - wr.top) {
    BuildBackground(wr.right - wr.left, wr.bottom - wr.top);
  }
  if (Background.Empty()) return;
  // Only the frame band: the menu paints its entries (owner-drawn on this
  // background) inside it.
  const int w = Background.Width();
  const int h = Background.Height();
  constexpr int band = skin::kPopupFrameWidth;
  fw::TWindowDC dc(Handle);
  HDC src = Background.Canvas()->Handle();
  BitBlt(dc.Get(), 0, 0, w, band, src, 0, 0, SRCCOPY);
  BitBlt(dc.Get(), 0, h - band, w, band, src, 0, h - band, SRCCOPY);
  BitBlt(dc.Get(), 0, 0, band, h, src, 0, 0, SRCCOPY);
  BitBlt(dc.Get(), w - band, 0, band, h, src, w - band, 0, SRCCOPY);
}

bool TWinSkinPopMenu::BandInClientArea() const {
  RECT wr{};
  GetWindowRect(Handle, &wr);
  POINT origin{0, 0};
  ClientToScreen(Handle, &origin);
  return origin.x == wr.left && origin.y == wr.top;
}

void TWinSkinPopMenu::PrintPopup(fw::TMessage& m) {
  if (!Skinned()) {
    subclass_.CallPrevious(m);
    return;
  }
  LearnMenu();
  RECT wr;
  GetWindowRect(Handle, &wr);
  const int w = wr.right - wr.left;
  const int h = wr.bottom - wr.top;
  BuildBackground(w, h);
  const auto dc = reinterpret_cast<HDC>(m.WParam);
  BitBlt(dc, 0, 0, w, h, Background.Canvas()->Handle(), 0, 0, SRCCOPY);
  // The menu prints its entries over the background, inside the frame band;
  // the DC gets its clipping and background mode back afterwards.
  fw::TSavedDC saved(dc);
  constexpr int band = skin::kPopupFrameWidth;
  fw::TGdiHandle<HRGN> clip(CreateRectRgn(band, band, w - band, h - band));
  SelectClipRgn(dc, clip.get());
  SetBkMode(dc, TRANSPARENT);
  subclass_.CallPrevious(m);
}

}  // namespace skin::win
