// The controller's lifecycle (attach, detach, size and style bookkeeping)
// and its window procedure's dispatch.
#include "skin/window/win_skin_form.h"

#include <algorithm>

#include "framework/dc.h"
#include "skin/controls/skin_manage.h"
#include "skin/data/win/skin_text.h"
#include "skin/window/menu_bar.h"
#include "skin/window/menu_keyboard.h"

namespace skin::win {

namespace {

std::wstring ClassNameOf(HWND wnd) {
  wchar_t name[101] = {};
  GetClassNameW(wnd, name, 101);
  return name;
}

bool Has(uint32_t set, TSkinControlType type) {
  return (set & SkinControlBit(type)) != 0;
}

// Puts a value back however the scope is left (an exception included).
template <class T>
class TRestoreOnExit {
 public:
  TRestoreOnExit(T& place, T value) : place_(place), saved_(place) { place_ = value; }
  ~TRestoreOnExit() { place_ = saved_; }
  TRestoreOnExit(const TRestoreOnExit&) = delete;
  TRestoreOnExit& operator=(const TRestoreOnExit&) = delete;

 private:
  T& place_;
  T saved_;
};

}  // namespace

// --- Construction ---------------------------------------------------------------

TWinSkinForm::TWinSkinForm(fw::TComponent* owner) : fw::TComponent(owner) {
  DoubleClickTime = GetDoubleClickTime();
  IconSize = GetSystemMetrics(SM_CXSMICON);
  NONCLIENTMETRICSW ncm{};
  ncm.cbSize = sizeof(ncm);
  if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0)) {
    caption_font_.reset(CreateFontIndirectW(&ncm.lfCaptionFont));
  }
  if (!caption_font_) {
    LOGFONTW lf{};
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
    caption_font_.reset(CreateFontIndirectW(&lf));
  }
}

TWinSkinForm::~TWinSkinForm() {
  // Menu items still holding a handler of this controller no longer reach it.
  life_.reset();
  // Owned components (the timer, the system menu) go first, while the
  // controller is whole; then what the controller holds itself.
  DestroyComponents();
  HoverTimer = nullptr;
  SystemMenu = nullptr;
  ReleaseSkinners();
  FreeSysButtons();
  form_hook_.Unhook();
  UnhookMDIClient();
  subclass_.Remove();
  if (TSkinManage* manager = TSkinManage::Instance()) {
    manager->RemoveSkinForm(Handle);
    // The children's controllers must not reach a frame form that is gone.
    if (MDIKind == mkFrame && MDIClient != nullptr && manager->MDIClient() == MDIClient) {
      manager->SetMDIClient(nullptr, nullptr);
    }
  }
}

const fw::TClassInfo& TWinSkinForm::StaticClassInfo() {
  static const fw::TClassInfo info =
      fw::TClassBuilder<TWinSkinForm>("TWinSkinForm", fw::TComponent::StaticClassInfo())
          .Int("DisableTag", &TWinSkinForm::DisableTag, &TWinSkinForm::SetDisableTag)
          .Build();
  return info;
}

void TWinSkinForm::Notification(fw::TComponent* component, fw::TOperation operation) {
  fw::TComponent::Notification(component, operation);
  if (operation != fw::TOperation::opRemove) return;
  if (component == HoverTimer) HoverTimer = nullptr;
  if (component == SystemMenu) SystemMenu = nullptr;
  if (component == MenuBarSkinner) MenuBarSkinner = nullptr;
  painted_bars_.erase(std::remove(painted_bars_.begin(), painted_bars_.end(), component),
                      painted_bars_.end());
}

void TWinSkinForm::RepaintWindow(HWND wnd) {
  InvalidateRect(wnd, nullptr, TRUE);
  UpdateWindow(wnd);
}

// --- Attach ----------------------------------------------------------------------

void TWinSkinForm::AttachForm(TSkinData* data, fw::TForm* form) {
  Form = form;
  form->SetAutoScroll(false);
  if (Has(data->Data().SkinControls, xcMainMenu)) {
    form_hook_.Hook(*form, fw::TWndMethod::Bind<&TWinSkinForm::FormWindowProc>(this));
  }
  Attach(data);
  SavedFormColor = form->SaveColour();
  form->SetColor(fw::ColorToRGB(data->Data().ButtonFaceColour));
  if (Has(data->Data().SkinControls, xcPopupMenu)) SetPopupMenusOwnerDraw(form, true);
  if (Has(data->Data().SkinControls, xcMenuItem)) SetMainMenusOwnerDraw(form, true);
}

void TWinSkinForm::Attach(TSkinData* data) {
  if (subclass_.Installed() || Handle == nullptr) return;
  if (TSkinManage* manager = TSkinManage::Instance()) manager->SetStartState(1);
  SkinData = data;
  const uint32_t controls = data->Data().SkinControls;

  HoverTimer = new fw::TTimer(this);
  HoverTimer->SetEnabled(false);
  HoverTimer->SetInterval(250);
  HoverTimer->SetOnTimer([this](fw::TObject*) { HoverCheck(); });

  FrameSkinned = Has(controls, xcMainMenu);

  WindowStyle = GetWindowLongW(Handle, GWL_STYLE);
  const LONG ex_style = GetWindowLongW(Handle, GWL_EXSTYLE);
  RightToLeft = (ex_style & WS_EX_LEFTSCROLLBAR) != 0;
  UnskinOnDestroy = true;
  NativeSystemMenu = GetSystemMenu(Handle, FALSE);

  LoadIcon();
  WindowClassName = ClassNameOf(Handle);
  OwnerWindow = GetWindow(Handle, GW_OWNER);
  RECT wr;
  GetWindowRect(Handle, &wr);
  GetClientRect(Handle, &ClientRect);
  NativeFrameSize =
      RECT{0, 0, (wr.right - wr.left) - ClientRect.right, (wr.bottom - wr.top) - ClientRect.bottom};

  BorderIcons = 0;
  if ((WindowStyle & WS_SYSMENU) != 0 || NativeSystemMenu != nullptr) BorderIcons |= biSysMenu;
  if ((WindowStyle & WS_MINIMIZEBOX) != 0) BorderIcons |= biMinBox;
  if ((WindowStyle & WS_MAXIMIZEBOX) != 0) BorderIcons |= biMaxBox;

  BuildSystemMenu();
  UpdateWindowState();
  DetectMDI();

  FrameKind = fkFixed;
  if ((WindowStyle & WS_POPUP) != 0 && (WindowStyle & WS_CAPTION) != WS_CAPTION) {
    FrameKind = fkNone;
  } else if ((WindowStyle & WS_THICKFRAME) != 0) {
    FrameKind = fkSizeable;
  } else if ((WindowStyle & DS_MODALFRAME) != 0) {
    FrameKind = fkDialog;
  }
  if ((ex_style & WS_EX_DLGMODALFRAME) != 0) FrameKind = fkDialog;

  UnicodeWindow = WindowClassName.find(L".UnicodeClass") != std::wstring::npos;
  IsDialogClass = WindowClassName == L"#32770" || WindowClassName == L"TMessageForm";
  if (IsDialogClass) FrameKind = fkDialog;

  if (MDIKind == mkFrame) {
    SavedMenuUpdate = Data().MenuUpdate ? 1 : 0;
    HookMDIClient();
  }

  if (Has(controls, xcMainMenu)) {
    MainMenuHandle = GetMenu(Handle);
    if (MainMenuHandle != nullptr && MDIKind != mkChild) {
      // The menu bar is painted in a band of the skinned frame; the window's
      // own menu is detached.
      MenuBarHeight = GetSystemMetrics(SM_CYMENU);
      MenuBarSkinner = new TWinSkinMenu(*this);
      if (Form != nullptr) {
        MenuBarSkinner->ReadFrameworkMenu();
      } else {
        MenuBarSkinner->ReadMenuHandle(MainMenuHandle);
      }
    }
    TSkinManage* manager = TSkinManage::Instance();
    const bool mdi_max = manager != nullptr && manager->MDIMaximized();
    if (!(MDIKind == mkChild && mdi_max) && WindowState != wsMinimized) SetNativeCaption(false);
    LoadFrameMetrics();
  } else {
    State = ssReady;  // the frame stays native
  }

  subclass_.Install(Handle, fw::TWndMethod::Bind<&TWinSkinForm::WndProc>(this));

  if (MDIKind == mkChild && WindowState == wsMaximized) {
    if (TSkinManage* manager = TSkinManage::Instance(); manager && !manager->MDIMaximized()) {
      manager->SetMDIMaximized(true);
    }
  }

  if (Form != nullptr) {
    SkinChildren(Form);
  } else {
    SkinChildWindows();
  }
  InvalidateRect(Handle, nullptr, TRUE);
}

// --- Styles, size, state ---------------------------------------------------------

void TWinSkinForm::SetNativeCaption(bool on) {
  TSkinManage* manager = TSkinManage::Instance();
  if (!on && MDIKind == mkChild && manager != nullptr && manager->MDIMaximized()) return;
  LONG style = GetWindowLongW(Handle, GWL_STYLE);
  if (on) {
    if (BorderIcons & biSysMenu) style |= WS_SYSMENU;
    if (BorderIcons & biMinBox) style |= WS_MINIMIZEBOX;
    if (BorderIcons & biMaxBox) style |= WS_MAXIMIZEBOX;
    if (BorderIcons & biCaptionRemoved) style |= WS_CAPTION;
  } else if (OwnerWindow != nullptr || MDIKind == mkChild) {
    style &= ~(WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX);
  } else {
    BorderIcons |= biCaptionRemoved;
    style &= ~WS_CAPTION;
  }
  SetWindowLongW(Handle, GWL_STYLE, style);
}

void TWinSkinForm::RefreshFrame() {
  SetWindowPos(Handle, nullptr, 0, 0, 0, 0,
               SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TWinSkinForm::AdjustWindowSize(bool refetch) {
  if (WindowState == wsMaximized) {
    RefreshFrame();
    return;
  }
  RECT wr;
  GetWindowRect(Handle, &wr);
  int32_t w = ClientRect.right + BorderLeft + BorderRight;
  if (refetch) {
    GetClientRect(Handle, &ClientRect);
    w = ClientRect.right + BorderLeft + BorderRight;
  } else if (Form != nullptr) {
    // The window still has its native size here: less the native frame
    // measured at attach (whatever its kind: sizeable, single, dialog) it
    // leaves the client height the form had.
    ClientRect.bottom = (wr.bottom - wr.top) - NativeFrameSize.bottom;
    w = Form->ClientWidth() + BorderLeft + BorderRight;
  }
  const int32_t h = ClientRect.bottom + BorderTop + BorderBottom + MenuBarHeight;
  if (!refetch && (WindowClassName == L"TMessageForm" || WindowClassName == L"#32770")) {
    // A dialog is widened until its caption fits.
    const int n = GetWindowTextLengthW(Handle);
    DialogCaption.assign(static_cast<size_t>(n) + 1, L'\0');
    DialogCaption.resize(static_cast<size_t>(GetWindowTextW(Handle, DialogCaption.data(), n + 1)));
    {
      fw::TWindowDC dc(Handle);
      fw::TSelectObject font(dc.Get(), caption_font_.get());
      SIZE size{};
      GetTextExtentPoint32W(dc.Get(), DialogCaption.c_str(), static_cast<int>(DialogCaption.size()),
                            &size);
      DialogCaptionWidth = size.cx;
    }
    const TDataSkinTitle& title = *Data().Title;
    const int32_t needed = title.Margins.Left + DialogCaptionWidth + title.Margins.Right;
    if (w < needed) {
      const int32_t shift = (needed - w) / 2;
      for (HWND child = GetWindow(Handle, GW_CHILD); child != nullptr;
           child = GetWindow(child, GW_HWNDNEXT)) {
        RECT cr;
        GetWindowRect(child, &cr);
        MapWindowPoints(HWND_DESKTOP, Handle, reinterpret_cast<POINT*>(&cr), 2);
        SetWindowPos(child, nullptr, cr.left + shift, cr.top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      }
      w = needed;
    }
  }
  SetWindowPos(Handle, nullptr, wr.left, wr.top, w, h,
               SWP_FRAMECHANGED | SWP_NOZORDER | SWP_NOMOVE);
}

void TWinSkinForm::UpdateWindowState() {
  WINDOWPLACEMENT wp{};
  wp.length = sizeof(wp);
  if (!GetWindowPlacement(Handle, &wp)) return;
  switch (wp.showCmd) {
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE:
      WindowState = wsMinimized;
      break;
    case SW_SHOWMAXIMIZED:
      WindowState = wsMaximized;
      break;
    default:
      WindowState = wsNormal;
      break;
  }
}

void TWinSkinForm::ApplySkinColours() {
  bool had_focus = false;
  fw::TWinControl* active = nullptr;
  if (Form != nullptr) {
    const auto face = static_cast<fw::TColor>(fw::ColorToRGB(Data().ButtonFaceColour));
    Form->SetColor(face);
    for (int i = 0; i < Form->ComponentCount(); ++i) {
      if (auto* owned = dynamic_cast<fw::TForm*>(Form->Components(i))) owned->SetColor(face);
    }
    active = Form->ActiveControl();
    had_focus = active != nullptr && active->Focused();
  }
  // Every control skinner takes the new skin.
  State = ssColours;
  const std::vector<TSkinControl*> skinners = Skinners;
  for (TSkinControl* skinner : skinners) {
    if (std::find(Skinners.begin(), Skinners.end(), skinner) != Skinners.end()) {
      skinner->SkinChanged();
    }
  }
  if (FrameSkinned && Form != nullptr) {
    SetPopupMenusOwnerDraw(Form, true);
    AdjustWindowSize(true);
    Form->SetHeight(Form->Height() + 1);
    Form->SetHeight(Form->Height() - 1);
  }
  if (had_focus && active->CanFocus()) active->SetFocus();
  State = ssReady;
}

// --- Detach ----------------------------------------------------------------------

void TWinSkinForm::Unskin() {
  if (!FrameSkinned) {
    UnskinControls();
    return;
  }
  if (SystemMenu != nullptr) {
    SystemMenu->Free();
    SystemMenu = nullptr;
  }
  if (HoverTimer != nullptr) HoverTimer->SetEnabled(false);
  if (!subclass_.Installed()) return;
  form_hook_.Unhook();
  subclass_.Remove();
  ReleaseSkinners();
  if (Form != nullptr) {
    SetPopupMenusOwnerDraw(Form, false);
    if (Has(Data().SkinControls, xcMenuItem)) SetMainMenusOwnerDraw(Form, false);
    ReleaseMenuHandlers();
    if (State != ssNCDestroy) Form->RestoreColour(SavedFormColor);
  }
  SetNativeCaption(true);
  if (MenuBarSkinner != nullptr) {
    MenuBarSkinner->RestoreMenu();
    MenuBarSkinner->Free();
    MenuBarSkinner = nullptr;
  }
  UnhookMDIClient();
  CaptionBitmap.SetSize(0, 0);
  if (State != ssNCDestroy &&
      (MDIKind == mkChild || (GetWindowLongW(Handle, GWL_STYLE) & WS_CHILD) == 0)) {
    RECT wr;
    GetWindowRect(Handle, &wr);
    POINT origin{wr.left, wr.top};
    if (MDIKind == mkChild) ScreenToClient(GetParent(Handle), &origin);
    SetWindowPos(
        Handle, nullptr, origin.x, origin.y,
        (wr.right - wr.left) - BorderLeft - BorderRight + NativeFrameSize.right,
        (wr.bottom - wr.top) - BorderTop - MenuBarHeight - BorderBottom + NativeFrameSize.bottom,
        SWP_FRAMECHANGED | SWP_NOACTIVATE | SWP_NOZORDER);
  }
  SetWindowRgn(Handle, nullptr, TRUE);  // the window deletes the region it held
  Region = nullptr;
  HasRegion = false;
}

void TWinSkinForm::UnskinOnNCDestroy() {
  if (!FrameSkinned) {
    UnskinControls();
    return;
  }
  if (SystemMenu != nullptr) {
    SystemMenu->Free();
    SystemMenu = nullptr;
  }
  if (HoverTimer != nullptr) HoverTimer->SetEnabled(false);
  if (!subclass_.Installed()) return;
  form_hook_.Unhook();
  subclass_.Remove();
  ReleaseSkinners();
  // The form may live on (its window made again): its menu items must not
  // keep handlers that lead here.
  ReleaseMenuHandlers();
  if (MenuBarSkinner != nullptr) {
    MenuBarSkinner->DropMenu();
    MenuBarSkinner->Free();
    MenuBarSkinner = nullptr;
  }
  CaptionBitmap.SetSize(0, 0);
  // The window takes its region with it.
  Region = nullptr;
  HasRegion = false;
}

void TWinSkinForm::UnskinControls() {
  if (HoverTimer != nullptr) HoverTimer->SetEnabled(false);
  ReleaseSkinners();
  if (Form != nullptr) {
    SetPopupMenusOwnerDraw(Form, false);
    if (SkinData != nullptr && Has(Data().SkinControls, xcMenuItem)) {
      SetMainMenusOwnerDraw(Form, false);
    }
    ReleaseMenuHandlers();
    if (State != ssNCDestroy) Form->RestoreColour(SavedFormColor);
  }
  form_hook_.Unhook();
  subclass_.Remove();
  UnhookMDIClient();
  if (Form != nullptr && State != ssNCDestroy) {
    for (int i = 0; i < Form->ComponentCount(); ++i) {
      if (auto* control = dynamic_cast<fw::TControl*>(Form->Components(i))) control->Invalidate();
    }
  }
}

// --- Control skinners (filled by control discovery) ------------------------------

bool TWinSkinForm::RegisterSkinner(TSkinControl* skinner) {
  if (std::find(Skinners.begin(), Skinners.end(), skinner) != Skinners.end()) return true;
  Skinners.push_back(skinner);
  return false;
}

void TWinSkinForm::UnregisterSkinner(TSkinControl* skinner) {
  auto it = std::find(Skinners.rbegin(), Skinners.rend(), skinner);
  if (it != Skinners.rend()) Skinners.erase(std::next(it).base());
}

// --- The window procedure --------------------------------------------------------

void TWinSkinForm::WndProc(fw::TMessage& m) {
  if (Phase1(m)) return;
  if (!FrameSkinned) {
    PassOn(m);
    return;
  }
  if (Phase2(m)) return;
  Phase3(m);
}

bool TWinSkinForm::Phase1(fw::TMessage& m) {
  switch (m.Msg) {
    case WM_ERASEBKGND:
      PassOn(m);
      if (Form == nullptr && SkinData->ButtonFaceBrush() != nullptr) {
        RECT r;
        GetClientRect(Handle, &r);
        FillRect(reinterpret_cast<HDC>(m.WParam), &r, SkinData->ButtonFaceBrush());
        m.Result = 1;
      }
      return true;
    case WM_NCDESTROY: {
      State = ssNCDestroy;
      if (UnskinOnDestroy) UnskinOnNCDestroy();
      PassOn(m);
      State = ssDestroyed;
      return true;
    }
    case WM_INITMENUPOPUP:
      if (TSkinManage* manager = TSkinManage::Instance()) {
        manager->SetMenuSource(reinterpret_cast<HMENU>(m.WParam) == NativeSystemMenu ? 2 : 1);
      }
      PassOn(m);
      return true;
    case WM_CTLCOLORBTN:
      PassOn(m);
      if (Form == nullptr) SetBkMode(reinterpret_cast<HDC>(m.WParam), TRANSPARENT);
      return true;
    case WM_CTLCOLORSTATIC:
      PassOn(m);
      if (Form == nullptr) {
        SetBkMode(reinterpret_cast<HDC>(m.WParam), TRANSPARENT);
        if (HBRUSH brush = SkinData->ButtonFaceBrush()) m.Result = reinterpret_cast<LRESULT>(brush);
      }
      return true;
    case WM_SKINQUERY:
      m.Result = 1;
      return true;
    default:
      return false;
  }
}

bool TWinSkinForm::Phase2(fw::TMessage& m) {
  // A child window (not an MDI child) keeps its native non-client behaviour.
  if ((GetWindowLongW(Handle, GWL_STYLE) & WS_CHILD) != 0 && MDIKind != mkChild) {
    PassOn(m);
    return true;
  }
  TSkinManage* manager = TSkinManage::Instance();
  switch (m.Msg) {
    case WM_SIZE:
      SizeHandler(m);
      return true;
    case WM_ACTIVATE:
    case WM_NCACTIVATE:
      Active = (m.WParam & 0xFF) != 0;
      return false;
    case WM_GETMINMAXINFO: {
      PassOn(m);
      UpdateWindowState();
      if (WindowState == wsMinimized) {
        SetNativeCaption(true);
      } else if (MDIKind != mkChild || WindowState == wsNormal) {
        SetNativeCaption(false);
      } else {
        SetNativeCaption(true);
      }
      if (FrameKind == fkSizeable) {
        auto* info = reinterpret_cast<MINMAXINFO*>(m.LParam);
        info->ptMaxTrackSize.x = GetSystemMetrics(SM_CXMAXIMIZED);
        info->ptMaxTrackSize.y = GetSystemMetrics(SM_CYMAXIMIZED);
      }
      return true;
    }
    case WM_WINDOWPOSCHANGED:
      UpdateWindowState();
      PassOn(m);
      // SetMenu changes the frame: a menu the program put on the window
      // after the band read its own is shown by the band instead.
      if ((reinterpret_cast<const WINDOWPOS*>(m.LParam)->flags & SWP_FRAMECHANGED) != 0) {
        AdoptWindowMenu();
      }
      return true;
    case WM_COMMAND:
      SysCommandRelay(m);
      return true;
    case WM_SYSCOMMAND:
      SysCommandHandler(m);
      return true;
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
      return Phase1(m);
    case WM_SKINATTACHED:
      if (State == ssCreated) {
        if (MDIKind == mkChild && manager != nullptr && manager->MDIMaximized()) {
          SetNativeCaption(true);
          RefreshFrame();
        } else if (WindowState != wsMinimized && FrameKind != fkNone) {
          State = ssAdjusting;
          AdjustWindowSize(false);
          State = ssReady;
          UpdateRegion();
          // An MDI child's client moved inside its window: pixels the system
          // kept from before are not all repainted by themselves, so the
          // whole client is.
          if (MDIKind == mkChild) InvalidateRect(Handle, nullptr, TRUE);
        }
      }
      State = ssReady;
      if (HoverTimer != nullptr) HoverTimer->SetEnabled(Active);
      m.Result = 0;
      return true;
    case WM_MENUSELECT:
      if (MenuBarSkinner != nullptr) MenuBarSkinner->MenuSelect(m.WParam, m.LParam);
      PassOn(m);
      return true;
    case fw::CM_MENUCHANGED:
      MenuChanged(m);
      return true;
    default:
      return false;
  }
}

void TWinSkinForm::Phase3(fw::TMessage& m) {
  TSkinManage* manager = TSkinManage::Instance();
  const bool mdi_child_not_normal =
      MDIKind == mkChild &&
      ((manager != nullptr && manager->MDIMaximized()) || WindowState != wsNormal);
  if (State == ssCreated || WindowState == wsMinimized || mdi_child_not_normal) {
    PassOn(m);
    return;
  }
  switch (m.Msg) {
    case WM_MEASUREITEM:
      if (!MeasureItem(m)) PassOn(m);
      return;
    case WM_DRAWITEM:
      if (!DrawItem(m)) PassOn(m);
      return;
    case WM_NCCALCSIZE:
      NCCalcSize(m);
      return;
    case WM_NCHITTEST:
      NCHitTest(m);
      return;
    case WM_NCPAINT:
      NCPaint(m);
      return;
    case WM_NCACTIVATE:
      NCActivate(m);
      return;
    case WM_NCMOUSEMOVE:
      if (!NCMouseMove(m)) PassOn(m);
      return;
    case WM_NCLBUTTONDOWN:
      if (!NCLButtonDown(m)) PassOn(m);
      return;
    case WM_NCLBUTTONUP:
      if (!NCLButtonUp(m)) PassOn(m);
      return;
    case WM_NCLBUTTONDBLCLK:
      if (!NCLButtonDblClk(m)) PassOn(m);
      return;
    case WM_NCRBUTTONDOWN:
      if (!NCRButtonDown(m)) PassOn(m);
      return;
    case WM_SKINREPAINTFRAME:
      PaintFrame(nullptr);
      m.Result = 0;
      return;
    default:
      PassOn(m);
      return;
  }
}

void TWinSkinForm::SizeHandler(fw::TMessage& m) {
  PassOn(m);
  switch (m.WParam) {
    case SIZE_MINIMIZED:
      WindowState = wsMinimized;
      return;
    case SIZE_MAXIMIZED:
      WindowState = wsMaximized;
      break;
    case SIZE_RESTORED:
      WindowState = wsNormal;
      break;
    default:
      break;
  }
  TSkinManage* manager = TSkinManage::Instance();
  if (MDIKind == mkChild &&
      ((manager != nullptr && manager->MDIMaximized()) || WindowState != wsNormal)) {
    return;
  }
  if (State == ssReady || State == ssColours) UpdateRegion();
}

void TWinSkinForm::SysCommandRelay(fw::TMessage& m) {
  // A choice of the native system menu shown by TrackPopupMenu arrives as
  // WM_COMMAND: it goes on as the system command it is.
  const UINT code = LOWORD(m.WParam) & 0xFFF0;
  if (LOWORD(m.WParam) >= 0xF000 && LOWORD(m.WParam) < 0xFF00) {
    switch (code) {
      case SC_SIZE:
      case SC_MOVE:
      case SC_MINIMIZE:
      case SC_MAXIMIZE:
      case SC_NEXTWINDOW:
      case SC_PREVWINDOW:
      case SC_CLOSE:
      case SC_RESTORE:
        PostMessageW(Handle, WM_SYSCOMMAND, LOWORD(m.WParam), 0);
        m.Result = 0;
        return;
      default:
        break;
    }
  }
  PassOn(m);
}

void TWinSkinForm::MenuChanged(fw::TMessage& m) {
  {
    // The native menu bar the form may put back while it handles the change
    // is not painted over the skinned frame.
    TRestoreOnExit<bool> no_frame_painting(Data().NCPaintEnabled, false);
    PassOn(m);
  }
  if (MenuBarSkinner == nullptr) return;
  HMENU menu = GetMenu(Handle);
  if (!Data().MenuUpdate) {
    // The band keeps what it shows; the menu the form put back on the
    // window comes off again, as the band stands in for it.
    if (menu != nullptr && menu == MenuBarSkinner->MenuHandle) SetMenu(Handle, nullptr);
    return;
  }
  if (MenuBarSkinner->HidingSeparators()) {
    // Only a drop-down's entries changed: the band stays as it is, and a
    // menu the form put back on the window comes off again.
    if (menu != nullptr) SetMenu(Handle, nullptr);
    return;
  }
  // The menu is read again from the window, or from the handle the band
  // keeps when the form changed its menu in place.
  if (menu == nullptr &&
      (MenuBarSkinner->MenuHandle == nullptr || !IsMenu(MenuBarSkinner->MenuHandle)))
    return;
  ReadWindowMenu(menu);
  if (State == ssReady || State == ssColours) PaintFrame(nullptr);
}

void TWinSkinForm::ReadWindowMenu(HMENU menu) {
  if (menu != nullptr) MenuBarSkinner->MenuHandle = menu;
  if (Data().MenuMerge) {
    MenuBarSkinner->ReadMenuMerged();
  } else if (Form != nullptr) {
    MenuBarSkinner->ReadFrameworkMenu();
  } else {
    MenuBarSkinner->ReadMenuHandle(nullptr);
  }
}

void TWinSkinForm::AdoptWindowMenu() {
  // Not while a menu change is being handled (it reads the menu itself),
  // nor while menu updates are off (an MDI frame with children).
  if (MenuBarSkinner == nullptr || !Data().MenuUpdate || !Data().NCPaintEnabled) return;
  if (State != ssReady && State != ssColours) return;
  HMENU menu = GetMenu(Handle);
  if (menu == nullptr) return;
  ReadWindowMenu(menu);
  PaintFrame(nullptr);
}

void TWinSkinForm::SysCommandHandler(fw::TMessage& m) {
  // Alt alone or Alt with an item's accelerator: the skinned band answers,
  // the native menu mode (tracking a menu the band does not show) never starts.
  if ((m.WParam & 0xFFF0) == SC_KEYMENU) {
    const bool handled =
        MenuBarSkinner != nullptr
            ? MenuBarSkinner->KeyMenu(m.WParam, m.LParam)
            : skin::KeyMenuRule({static_cast<uint32_t>(m.WParam), static_cast<uint32_t>(m.LParam),
                                 MenuLoopActive, GetCapture() != nullptr},
                                {})
                  .Handled;
    if (handled) {
      m.Result = 1;
      return;
    }
  }
  switch (m.WParam & 0xFFF0) {
    case SC_MINIMIZE:
      WindowState = wsMinimized;
      if (MDIKind == mkChild) SetNativeCaption(true);
      break;
    case SC_MAXIMIZE:
      WindowState = wsMaximized;
      break;
    case SC_RESTORE:
      WindowState = wsNormal;
      if (MDIKind == mkChild) SetNativeCaption(false);
      break;
    default:
      break;
  }
  PassOn(m);
  // A maximized child restored or minimized by a command of its own (its
  // system menu, the keyboard, the program) leaves the others maximized no
  // longer, as the band's buttons do.
  const UINT command = m.WParam & 0xFFF0;
  if (command == SC_RESTORE || command == SC_MINIMIZE) ClearMDIMaximizedWhenNone();
}

void TWinSkinForm::FormWindowProc(fw::TMessage& m) {
  switch (m.Msg) {
    case WM_SETTEXT:
      form_hook_.CallPrevious(m);
      RefreshFrame();
      return;
    case WM_SKINCOLOURS:
      ApplySkinColours();
      m.Result = 0;
      return;
    case fw::CM_DIALOGCHAR:
      DialogChar(m);
      return;
    default:
      form_hook_.CallPrevious(m);
      return;
  }
}

void TWinSkinForm::DialogChar(fw::TMessage& m) {
  // The menu band has the first claim on Alt+letter, before the form's
  // controls (a button "&File ..." does not take Alt+F from the "&File" menu).
  if (MenuBarSkinner != nullptr && MenuBarSkinner->DialogChar(static_cast<wchar_t>(m.WParam))) {
    m.Result = 1;
    return;
  }
  // An MDI child's band is its frame's.
  if (MDIKind == mkChild) {
    TSkinManage* manager = TSkinManage::Instance();
    fw::TForm* frame = manager != nullptr ? manager->MDIForm() : nullptr;
    if (frame != nullptr && frame != Form) {
      const LRESULT answer = frame->Perform(fw::CM_DIALOGCHAR, m.WParam, m.LParam);
      if (answer != 0) {
        m.Result = answer;
        return;
      }
    }
  }
  m.Result = 0;
  form_hook_.CallPrevious(m);
}

}  // namespace skin::win
