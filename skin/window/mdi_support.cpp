// MDI frames and children. A frame's "MDIClient" window gets the
// controller's procedure in front of its own: children it creates are
// skinned, the frame's menu band follows the menus the children bring, and
// the manager's MDI-maximized flag follows tiling, cascading and closing. A
// maximized active child shows its minimize, restore and close buttons on
// the frame's menu band.
#include <string>

#include "skin/controls/skin_manage.h"
#include "skin/data/skin_draw.h"
#include "skin/window/menu_bar.h"
#include "skin/window/skin_surface.h"
#include "skin/window/win_skin_form.h"

namespace skin::win {

namespace {

// The visibility code of the title buttons that sit on the menu band.
constexpr int32_t kMenuBandButton = 100;

std::wstring ClassNameOf(HWND wnd) {
  wchar_t name[101] = {};
  GetClassNameW(wnd, name, 101);
  return name;
}

}  // namespace

void TWinSkinForm::DetectMDI() {
  MDIKind = mkNone;
  for (HWND child = GetTopWindow(Handle); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    if (ClassNameOf(child) == L"MDIClient") {
      MDIKind = mkFrame;
      MDIClient = child;
      if (TSkinManage* manager = TSkinManage::Instance()) manager->SetMDIClient(child, Form);
      break;
    }
  }
  if ((GetWindowLongW(Handle, GWL_EXSTYLE) & WS_EX_MDICHILD) != 0) MDIKind = mkChild;
}

void TWinSkinForm::HookMDIClient() {
  if (MDIKind != mkFrame || MDIClient == nullptr || client_subclass_.Installed()) return;
  client_subclass_.Install(MDIClient, fw::TWndMethod::Bind<&TWinSkinForm::MDIClientWndProc>(this));
}

void TWinSkinForm::UnhookMDIClient() {
  client_subclass_.Remove();
}

bool TWinSkinForm::ActiveChildMaximized() const {
  if (MDIKind != mkFrame || MDIClient == nullptr) return false;
  BOOL maximized = FALSE;
  const auto child = reinterpret_cast<HWND>(
      SendMessageW(MDIClient, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximized)));
  return child != nullptr && maximized != FALSE;
}

void TWinSkinForm::PaintMDIButtons(HDC band) {
  if (!ActiveChildMaximized()) return;
  // Placed as the caption places every title button (the visibility of the
  // band's buttons follows the active child).
  LayoutSysButtons();
  for (const auto& button : TitleButtons) {
    const TDataSkinSysButton& element = *button->Element;
    if (element.Visibility != kMenuBandButton || element.Bitmap.Empty() || !button->Visible) {
      continue;
    }
    RECT r = button->Rect;
    OffsetRect(&r, -BorderLeft, -BorderTop);
    PaintPixels(band, r, [&](skin::TPixels& surface, const skin::TRect& target) {
      skin::DrawSkinFrameStretched(surface, target, element.Bitmap, /*transparent=*/true,
                                   element.FrameCount, 1);
    });
  }
  TSkinManage* manager = TSkinManage::Instance();
  if (manager != nullptr && !manager->MDIMaximized()) manager->SetMDIMaximized(true);
}

void TWinSkinForm::ClearMDIMaximizedWhenNone() {
  TSkinManage* manager = TSkinManage::Instance();
  if (MDIKind != mkChild || manager == nullptr || !manager->MDIMaximized()) return;
  BOOL maximized = FALSE;
  const auto active = reinterpret_cast<HWND>(
      SendMessageW(GetParent(Handle), WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximized)));
  if (active == nullptr || maximized == FALSE) manager->SetMDIMaximized(false);
}

void TWinSkinForm::RereadFrameMenu() {
  if (MenuBarSkinner == nullptr) return;
  if (Form != nullptr) {
    // The band last showed a child's menu: the frame's own is its
    // framework menu's handle again.
    if (Form->Menu() != nullptr) MenuBarSkinner->MenuHandle = Form->Menu()->Handle();
    MenuBarSkinner->ReadFrameworkMenu();
  } else {
    // A raw frame has no framework menu: its items come from the menu
    // handle it showed last.
    MenuBarSkinner->ReadMenuHandle(nullptr);
  }
  PaintFrame(nullptr);
}

void TWinSkinForm::MDIClientWndProc(fw::TMessage& m) {
  TSkinManage* manager = TSkinManage::Instance();
  const bool skinning = FrameSkinned;
  const auto pass_on = [this, &m] { client_subclass_.CallPrevious(m); };
  switch (m.Msg) {
    case WM_NCDESTROY: {
      pass_on();
      UnhookMDIClient();
      // The children went before their client: nothing is maximized any
      // more, and neither the client nor its frame may be used again.
      if (manager != nullptr) {
        manager->SetMDIMaximized(false);
        if (manager->MDIClient() == MDIClient) manager->SetMDIClient(nullptr, nullptr);
      }
      MDIClient = nullptr;
      PendingMDIChild = nullptr;
      return;
    }
    case WM_NCCALCSIZE:
      if (skinning && (Data().Options & (1u << xoMDIScrollbar)) == 0) {
        const LONG style = GetWindowLongW(MDIClient, GWL_STYLE);
        if ((style & (WS_HSCROLL | WS_VSCROLL)) != 0) {
          SetWindowLongW(MDIClient, GWL_STYLE, style & ~(WS_HSCROLL | WS_VSCROLL));
        }
      }
      pass_on();
      return;
    case WM_MDICREATE:
      Data().MenuUpdate = false;
      pass_on();
      PendingMDIChild = reinterpret_cast<HWND>(m.Result);
      return;
    case WM_MDIDESTROY: {
      // A child closed before it was skinned is not skinned afterwards.
      if (reinterpret_cast<HWND>(m.WParam) == PendingMDIChild) PendingMDIChild = nullptr;
      pass_on();
      if (!skinning) return;
      if (manager != nullptr) manager->SetMDIMaximized(ActiveChildMaximized());
      const bool none_active =
          MDIClient == nullptr || SendMessageW(MDIClient, WM_MDIGETACTIVE, 0, 0) == 0;
      if (MenuBarSkinner != nullptr && none_active) {
        Data().MenuUpdate = SavedMenuUpdate != 0;
        RereadFrameMenu();
      }
      return;
    }
    case WM_MDITILE:
    case WM_MDICASCADE:
      if (skinning && manager != nullptr && manager->MDIMaximized()) {
        manager->SetMDIMaximized(false);
      }
      pass_on();
      return;
    case WM_MDISETMENU: {
      pass_on();
      if (!skinning || MenuBarSkinner == nullptr) return;
      const auto menu = reinterpret_cast<HMENU>(m.WParam);
      const bool negative = static_cast<int32_t>(static_cast<uint32_t>(m.WParam)) < 0;
      // A menu merged in place keeps its handle: the band also reads it
      // again when its entries are no longer those it shows.
      if (menu != nullptr &&
          (negative || !MenuBarSkinner->ShowsMenu(menu) || PendingMDIChild != nullptr)) {
        MenuBarSkinner->ReadMenuHandle(GetMenu(Handle));
        PaintFrame(nullptr);
      }
      // The band shows the menu; the frame keeps none of its own.
      SetMenu(Handle, nullptr);
      return;
    }
    case WM_MDIREFRESHMENU:
      pass_on();
      if (PendingMDIChild != nullptr) {
        if (IsWindow(PendingMDIChild) && manager != nullptr) manager->SkinWindow(PendingMDIChild);
        PostMessageW(Handle, WM_SKINREPAINTFRAME, 0, 0);
        PendingMDIChild = nullptr;
      }
      return;
    default:
      pass_on();
      return;
  }
}

}  // namespace skin::win
