#include "framework/forms.h"

#include <commctrl.h>
#include <objbase.h>

#include <algorithm>

#include "framework/menus.h"
#include "framework/reader.h"
#include "framework/registry.h"
#include "framework/strings.h"

namespace fw {

namespace {

TApplication* g_application = nullptr;

}  // namespace

// --- TCustomForm, TForm ----------------------------------------------------------

TCustomForm::TCustomForm(TComponent* owner) : TScrollingWinControl(owner) {
  SetAutoScroll(false);
}

const TClassInfo& TCustomForm::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TCustomForm>("TCustomForm", TScrollingWinControl::StaticClassInfo()).Build();
  return info;
}

TForm::TForm(TComponent* owner) : TCustomForm(owner) {
  visible_ = false;
  color_ = clBtnFace;
  Screen().forms_.push_back(this);
}

TForm::~TForm() {
  // A form not freed through Free() still tells its handler, as whole as it
  // is by now.
  DoDestroy();
  DestroyComponents();
  // The window goes here, where the form's own DestroyWnd still runs (the
  // menu detached first, an MDI child through its client).
  DestroyHandle();
  auto& forms = Screen().forms_;
  forms.erase(std::remove(forms.begin(), forms.end(), this), forms.end());
}

void TForm::BeforeDestruction() {
  // OnDestroy first, with every component of the form still there.
  SetComponentState(csDestroying);
  DoDestroy();
  // The menu leaves the window before its items go.
  DetachMenu();
  TCustomForm::BeforeDestruction();
}

void TForm::DoDestroy() {
  if (destroy_fired_) return;
  destroy_fired_ = true;
  if (OnDestroy) {
    try {
      OnDestroy(this);
    } catch (...) {
      HandleCallbackException();
    }
  }
}

const TClassInfo& TForm::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TForm>("TForm", TCustomForm::StaticClassInfo())
          .Enum("BorderStyle",
                {"bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow", "bsSizeToolWin"},
                &TForm::BorderStyle, &TForm::SetBorderStyle)
          .Set("BorderIcons", {"biSystemMenu", "biMinimize", "biMaximize", "biHelp"},
               &TForm::BorderIcons, &TForm::SetBorderIcons)
          .Enum("Position",
                {"poDesigned", "poDefault", "poDefaultPosOnly", "poDefaultSizeOnly",
                 "poScreenCenter", "poDesktopCenter", "poMainFormCenter", "poOwnerFormCenter"},
                &TForm::Position, &TForm::SetPosition)
          .Enum("FormStyle", {"fsNormal", "fsMDIChild", "fsMDIForm", "fsStayOnTop"},
                &TForm::FormStyle, &TForm::SetFormStyle)
          .Bool("KeyPreview", &TForm::KeyPreview, &TForm::SetKeyPreview)
          .Enum("WindowState", {"wsNormal", "wsMinimized", "wsMaximized"}, &TForm::WindowState,
                &TForm::SetWindowState)
          .Obj("WindowMenu", &TForm::WindowMenuObject, &TForm::SetWindowMenuObject)
          .Enum("TileMode", {"tbHorizontal", "tbVertical"}, &TForm::TileMode, &TForm::SetTileMode)
          .Obj("ActiveControl", &TForm::ActiveControlObject, &TForm::SetActiveControlObject)
          .Obj("Menu", &TForm::MenuObject, &TForm::SetMenuObject)
          .Event<void(TObject*)>("OnCreate", &TForm::OnCreate)
          .Event<void(TObject*)>("OnShow", &TForm::OnShow)
          .Event<void(TObject*)>("OnDestroy", &TForm::OnDestroy)
          .Event<void(TObject*, TCloseAction&)>("OnClose", &TForm::OnClose)
          .Event<void(TObject*, bool&)>("OnCloseQuery", &TForm::OnCloseQuery)
          .Build();
  return info;
}

void TForm::ReadDescription(const std::wstring& resource_name) {
  RegisterFrameworkClasses();
  auto [data, size] = FindResourceData(GetModuleHandleW(nullptr), resource_name,
                                       MAKEINTRESOURCEW(10) /* RT_RCDATA */);
  ReadComponent(*this, std::string_view(static_cast<const char*>(data), size));
}

void TForm::DoCreate() {
  if (OnCreate) OnCreate(this);
}

void TForm::SetMenu(TMainMenu* menu) {
  if (menu == menu_) return;
  if (menu_ != nullptr) {
    DetachMenu();
    RemoveFreeNotification(menu_);
  }
  menu_ = menu;
  if (menu_ != nullptr) FreeNotification(menu_);
  if (handle_ != nullptr) {
    AttachMenu(true);
    if (client_handle_ != nullptr) MergeChildMenu(ActiveMDIChild());
    if (!IsMDIChildWindow()) AdjustSize();
  }
}

void TForm::AttachMenu(bool tell_client) {
  if (handle_ == nullptr) return;
  if (IsMDIChildWindow()) {
    // No menu bar on a child window: CM_MENUCHANGED still comes here, and
    // the frame shows the menu while this child is active.
    if (menu_ != nullptr) menu_->SetWindowHandle(handle_);
    if (TForm* frame = MDIFrame(); frame != nullptr && frame->ActiveMDIChild() == this) {
      frame->MergeChildMenu(this);
    }
    return;
  }
  if (menu_ == nullptr) {
    if (GetMenu(handle_) != nullptr) ::SetMenu(handle_, nullptr);
    return;
  }
  menu_->SetWindowHandle(handle_);
  HMENU bar = menu_->Handle();
  if (client_handle_ != nullptr && tell_client) {
    // The MDI client keeps the frame's menu (a maximized child's buttons go
    // into it) and lists the children in the window menu. It is told when
    // either menu becomes another; the handles stay the same after changes.
    TellClientMenus();
  }
  if (GetMenu(handle_) != bar) ::SetMenu(handle_, bar);
  DrawMenuBar(handle_);
}

void TForm::DetachMenu() {
  if (menu_ == nullptr) return;
  if (handle_ != nullptr && IsWindow(handle_)) {
    if (IsMDIChildWindow()) {
      if (TForm* frame = MDIFrame();
          frame != nullptr && frame->menu_ != nullptr && frame->menu_->Merged() == menu_) {
        frame->MergeChildMenu(nullptr);
      }
    } else if (menu_->HandleAllocated() && GetMenu(handle_) == menu_->Handle()) {
      ::SetMenu(handle_, nullptr);
    }
  }
  if (menu_->WindowHandle() == handle_) menu_->SetWindowHandle(nullptr);
}

TMainMenu* TForm::MenuBar() const {
  if (form_style_ == fsMDIChild) {
    if (TForm* frame = MDIFrame()) return frame->menu_;
  }
  return menu_;
}

bool TForm::IsMenuAccelerator(wchar_t key) const {
  TMainMenu* bar = MenuBar();
  return bar != nullptr && bar->FindAccelerator(key) != nullptr;
}

bool TForm::IsShortCut(const TMessage& m) {
  const auto key = static_cast<WORD>(m.WParam);
  if (key == 0 || key == VK_SHIFT || key == VK_CONTROL || key == VK_MENU) return false;
  TShortCut shortcut = key & 0xFF;
  if (GetKeyState(VK_SHIFT) < 0) shortcut |= scShift;
  if (GetKeyState(VK_CONTROL) < 0) shortcut |= scCtrl;
  if (GetKeyState(VK_MENU) < 0 || (HIWORD(m.LParam) & KF_ALTDOWN) != 0) shortcut |= scAlt;
  if (client_handle_ != nullptr) {
    if (TForm* child = ActiveMDIChild();
        child != nullptr && child->menu_ != nullptr && child->menu_->IsShortCut(shortcut)) {
      return true;
    }
  }
  if (menu_ != nullptr && menu_->IsShortCut(shortcut)) return true;
  if (form_style_ == fsMDIChild) {
    if (TForm* frame = MDIFrame();
        frame != nullptr && frame->menu_ != nullptr && frame->menu_->IsShortCut(shortcut)) {
      return true;
    }
  }
  return false;
}

TObject* TForm::MenuObject() const {
  return menu_;
}

void TForm::SetMenuObject(TObject* menu) {
  SetMenu(dynamic_cast<TMainMenu*>(menu));
}

void TForm::DestroyWnd() {
  // The menu belongs to its menu component, not to the window: detached
  // first, it is not destroyed with the window (and then again).
  DetachMenu();
  if (Recreating() && handle_ != nullptr && !Embedded()) {
    kept_self_ = KeepWindow(handle_);
    if (client_handle_ != nullptr) KeepChildrenForNewClient();
  }
  if (handle_ != nullptr && IsMDIChildWindow()) {
    // An MDI child leaves through its client (the window menu, the next
    // active child).
    HWND h = handle_;
    SendMessageW(GetParent(h), WM_MDIDESTROY, reinterpret_cast<WPARAM>(h), 0);
    if (IsWindow(h)) DestroyWindow(h);
    handle_ = nullptr;
    return;
  }
  TCustomForm::DestroyWnd();
}

void TForm::UpdateBoundsFromWindow() {
  if (handle_ != nullptr && !IsIconic(handle_)) {
    RECT r;
    GetClientRect(handle_, &r);
    client_width_ = r.right;
    client_height_ = r.bottom;
  }
  TCustomForm::UpdateBoundsFromWindow();
}

void TForm::Notification(TComponent* component, TOperation operation) {
  TCustomForm::Notification(component, operation);
  if (operation != TOperation::opRemove) return;
  if (component == menu_) {
    DetachMenu();
    menu_ = nullptr;
  }
  if (component == window_menu_) window_menu_ = nullptr;
}

RECT TForm::ClientRect() const {
  if (handle_ != nullptr) {
    RECT r;
    GetClientRect(handle_, &r);
    return r;
  }
  return RECT{0, 0, client_width_, client_height_};
}

void TForm::SetClientWidth(int32_t v) {
  client_width_ = v;
  AdjustSize();
}

void TForm::SetClientHeight(int32_t v) {
  client_height_ = v;
  AdjustSize();
}

void TForm::AdjustSize() {
  // The window is the client size plus the frame: the frame the window has
  // now once it exists (it may be drawn by someone else than the system),
  // else the one its styles give.
  int frame_w = 0;
  int frame_h = 0;
  if (handle_ != nullptr && !IsIconic(handle_)) {
    RECT w;
    RECT c;
    GetWindowRect(handle_, &w);
    GetClientRect(handle_, &c);
    frame_w = (w.right - w.left) - c.right;
    frame_h = (w.bottom - w.top) - c.bottom;
  } else {
    TCreateParams p;
    CreateParams(p);
    RECT r{0, 0, 0, 0};
    AdjustWindowRectEx(&r, p.Style, menu_ != nullptr ? TRUE : FALSE, p.ExStyle);
    frame_w = r.right - r.left;
    frame_h = r.bottom - r.top;
  }
  width_ = client_width_ + frame_w;
  height_ = client_height_ + frame_h;
  if (handle_ != nullptr) {
    SetWindowPos(handle_, nullptr, 0, 0, width_, height_,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  AlignControls();
}

void TForm::CreateParams(TCreateParams& p) {
  p.ClassName = L"FwForm";
  p.Style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
  p.ExStyle = BiDiExStyle();
  if (Embedded()) {
    // A form placed inside a control: a plain child window, no caption or
    // frame of its own, where its bounds say in its parent's client area.
    p.Style |= WS_CHILD;
    if (visible_) p.Style |= WS_VISIBLE;
    if (!enabled_) p.Style |= WS_DISABLED;
    p.ExStyle |= WS_EX_CONTROLPARENT;
    p.X = left_;
    p.Y = top_;
    p.Width = width_;
    p.Height = height_;
    p.WndParent = parent_ != nullptr ? parent_->Handle() : ParentWindow();
    return;
  }
  switch (border_style_) {
    case bsNone:
      p.Style |= WS_POPUP;
      break;
    case bsSingle:
      p.Style |= WS_CAPTION | WS_BORDER;
      break;
    case bsSizeable:
      p.Style |= WS_CAPTION | WS_THICKFRAME;
      break;
    case bsDialog:
      p.Style |= WS_CAPTION | WS_POPUP;
      p.ExStyle |= WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
      break;
    case bsToolWindow:
      p.Style |= WS_CAPTION;
      p.ExStyle |= WS_EX_TOOLWINDOW;
      break;
    case bsSizeToolWin:
      p.Style |= WS_CAPTION | WS_THICKFRAME;
      p.ExStyle |= WS_EX_TOOLWINDOW;
      break;
  }
  if (border_style_ != bsNone && (border_icons_ & biSystemMenu)) {
    p.Style |= WS_SYSMENU;
    if (border_style_ != bsDialog && border_style_ != bsToolWindow &&
        border_style_ != bsSizeToolWin) {
      if (border_icons_ & biMinimize) p.Style |= WS_MINIMIZEBOX;
      if (border_icons_ & biMaximize) p.Style |= WS_MAXIMIZEBOX;
    }
  }
  if (form_style_ == fsStayOnTop) p.ExStyle |= WS_EX_TOPMOST;
  if (!enabled_) p.Style |= WS_DISABLED;
  p.X = left_;
  p.Y = top_;
  p.Width = width_;
  p.Height = height_;
  if (form_style_ == fsMDIChild) {
    MDIChildParams(p);
    return;
  }
  TApplication* app = Application();
  if (app != nullptr && app->MainForm() != nullptr && app->MainForm() != this &&
      app->MainForm()->HandleAllocated()) {
    p.WndParent = app->MainForm()->Handle();
  }
}

void TForm::CreateWnd() {
  // An embedded form keeps the bounds it was given (or its alignment).
  if (!Embedded()) AdjustSize();
  if (!Embedded() && form_style_ != fsMDIChild &&
      (position_ == poScreenCenter || position_ == poDesktopCenter)) {
    left_ = (Screen().Width() - width_) / 2;
    top_ = (Screen().Height() - height_) / 2;
  }
  TCustomForm::CreateWnd();
  if (form_style_ == fsMDIForm) CreateClient();
  if (menu_ != nullptr) AttachMenu(true);
  // A window made again shows as the old one did (a form is shown by Show,
  // not by its creation), an MDI frame with its children.
  if (kept_self_.has_value()) {
    const TKeptWindow kept = *kept_self_;
    kept_self_.reset();
    ShowAsKept(handle_, kept);
  }
  RemakeKeptChildren();
}

void TForm::SetActiveControl(TWinControl* control) {
  if (control != nullptr && (control == this || !control->IsInside(this))) {
    throw Exception("Invalid active control");
  }
  active_control_ = control;
  if (control != nullptr && handle_ != nullptr && IsWindowVisible(handle_)) {
    if (!control->CanFocus()) throw Exception("Cannot focus a disabled or invisible window");
    ::SetFocus(control->Handle());  // CM_EXIT and CM_ENTER come with the focus
  }
}

void TForm::SetActiveControlObject(TObject* control) {
  SetActiveControl(dynamic_cast<TWinControl*>(control));
}

void TForm::FocusChanged(TWinControl* control) {
  // The control that had the focus hears CM_EXIT (and raises OnExit), the
  // one that has it now CM_ENTER (OnEnter), each through its own message
  // handling; the active control may have been chosen before the focus came.
  if (focused_control_ == control) {
    active_control_ = control;
    return;
  }
  if (TWinControl* old = focused_control_; old != nullptr) {
    focused_control_ = nullptr;  // told once, whatever its handlers do
    old->Perform(CM_EXIT);
    if (focused_control_ != nullptr) return;  // a handler moved the focus on
  }
  active_control_ = control;
  focused_control_ = control;
  // Every control hears where the focus is now (push buttons show which
  // one Enter presses).
  Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(control));
  if (focused_control_ == control) control->Perform(CM_ENTER);
}

void TForm::DefocusControl(TWinControl* control) {
  // A control that goes (or is switched off) is no longer the one that had
  // the focus; it hears no CM_EXIT.
  if (focused_control_ != nullptr && focused_control_->IsInside(control))
    focused_control_ = nullptr;
  if (active_control_ == nullptr || !active_control_->IsInside(control)) return;
  active_control_ = nullptr;
  if (handle_ != nullptr && control->HandleAllocated()) {
    HWND focus = GetFocus();
    if (focus != nullptr && (focus == control->Handle() || IsChild(control->Handle(), focus))) {
      ::SetFocus(handle_);
    }
  }
}

void TForm::SelectNext(TWinControl* current, bool forward, bool check_tab_stop) {
  TWinControl* container = current != nullptr && current->Parent() != nullptr && !check_tab_stop
                               ? current->Parent()
                               : this;
  TWinControl* next = container->FindNextControl(current, forward, check_tab_stop, !check_tab_stop);
  if (next != nullptr) next->SetFocus();
}

void TForm::SelectFirst() {
  TWinControl* first = FindNextControl(nullptr, true, true, false);
  if (first != nullptr) SetActiveControl(first);
}

void TForm::Show() {
  if (Embedded()) {
    // Shown in its place; the focus stays where it is.
    SetVisible(true);
    Handle();
    if (OnShow) OnShow(this);
    return;
  }
  visible_ = true;
  HWND h = Handle();
  if (IsMDIChildWindow()) {
    // Inside the frame's client: shown and made the active child there.
    if (!IsWindowVisible(h)) ShowWindow(h, SW_SHOW);
    SetWindowState(window_state_);
    SendMessageW(GetParent(h), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(h), 0);
  } else {
    ShowWindow(h, window_state_ == wsMaximized   ? SW_SHOWMAXIMIZED
                  : window_state_ == wsMinimized ? SW_SHOWMINIMIZED
                                                 : SW_SHOWNORMAL);
    SetForegroundWindow(h);
  }
  if (active_control_ == nullptr) {
    SelectFirst();
  } else if (active_control_->CanFocus()) {
    ::SetFocus(active_control_->Handle());
  }
  UpdateWindow(h);
  if (OnShow) OnShow(this);
}

void TForm::Hide() {
  visible_ = false;
  if (handle_ != nullptr) ShowWindow(handle_, SW_HIDE);
}

bool TForm::CloseQuery() {
  bool can_close = true;
  if (OnCloseQuery) OnCloseQuery(this, can_close);
  return can_close;
}

void TForm::DoClose(TCloseAction& action) {
  if (OnClose) OnClose(this, action);
}

void TForm::Close() {
  if (!CloseQuery()) return;
  // An MDI child cannot be hidden in its client: closing frees it.
  TCloseAction action = form_style_ == fsMDIChild ? caFree : caHide;
  DoClose(action);
  if (action == caNone) return;
  TApplication* app = Application();
  if (app != nullptr && app->MainForm() == this) {
    app->Terminate();
  } else if (action == caHide) {
    Hide();
  } else if (action == caMinimize) {
    if (handle_ != nullptr) ShowWindow(handle_, SW_MINIMIZE);
  } else {
    Release();
  }
}

void TForm::Release() {
  if (handle_ != nullptr) {
    PostMessageW(handle_, CM_RELEASE, 0, 0);
  }
}

void TForm::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_CLOSE:
      Close();
      m.Result = 0;
      return;
    case WM_COMMAND:
      // A menu bar command (no control, not an accelerator): the form's own
      // item, or, in an MDI frame, one of the active child's merged items.
      if (m.LParam == 0 && HIWORD(m.WParam) == 0) {
        const UINT command = LOWORD(m.WParam);
        if (menu_ != nullptr && menu_->DispatchCommand(command)) {
          m.Result = 0;
          return;
        }
        if (TForm* child = ActiveMDIChild();
            child != nullptr && child->menu_ != nullptr && child->menu_->DispatchCommand(command)) {
          m.Result = 0;
          return;
        }
      }
      break;
    case CM_MENUCHANGED:
      // The menu was updated: shown on the window again (someone may have
      // taken it off) and the bar redrawn.
      if (!IsMDIChildWindow()) AttachMenu(false);
      m.Result = 0;
      return;
    case WM_MDIACTIVATE:
      TCustomForm::WndProc(m);
      // The active child's menu shows in the frame's menu bar; when the
      // last child goes, the frame's own menu again.
      if (TForm* frame = MDIFrame(); frame != nullptr && handle_ != nullptr) {
        if (reinterpret_cast<HWND>(m.LParam) == handle_) {
          frame->MergeChildMenu(this);
        } else if (reinterpret_cast<HWND>(m.WParam) == handle_ && m.LParam == 0) {
          frame->MergeChildMenu(nullptr);
        }
      }
      return;
    case WM_DESTROY:
      DetachMenu();
      break;
    case WM_NCDESTROY:
      client_handle_ = nullptr;
      break;
    case WM_SETTINGCHANGE:
      Screen().SettingsChanged();
      break;
    case WM_MEASUREITEM:
    case WM_DRAWITEM:
      if (HandleMenuDrawMessage(m.Msg, m.WParam, m.LParam)) {
        m.Result = TRUE;
        return;
      }
      break;
    case WM_ACTIVATE:
      if (LOWORD(m.WParam) != WA_INACTIVE && HIWORD(m.WParam) == 0) {
        // Give the focus back to the control that had it.
        if (active_control_ != nullptr && active_control_->CanFocus()) {
          ::SetFocus(active_control_->Handle());
          m.Result = 0;
          return;
        }
      }
      break;
    case WM_SETFOCUS:
      if (active_control_ != nullptr && active_control_->CanFocus()) {
        ::SetFocus(active_control_->Handle());
        return;
      }
      break;
    case CM_DIALOGCHAR:
      // Alt with a letter of the menu bar opens that menu: the controls do
      // not get it (the window's own menu handling does, once the message
      // goes on unanswered).
      if (GetKeyState(VK_MENU) < 0 && IsMenuAccelerator(static_cast<wchar_t>(m.WParam))) {
        m.Result = 0;
        return;
      }
      break;
    case CM_DIALOGKEY:
      if (GetKeyState(VK_MENU) >= 0) {
        switch (m.WParam) {
          case VK_TAB:
            if (GetKeyState(VK_CONTROL) >= 0) {
              SelectNext(active_control_, GetKeyState(VK_SHIFT) >= 0, true);
              m.Result = 1;
              return;
            }
            break;
          case VK_LEFT:
          case VK_RIGHT:
          case VK_UP:
          case VK_DOWN:
            if (active_control_ != nullptr) {
              SelectNext(active_control_, m.WParam == VK_RIGHT || m.WParam == VK_DOWN, false);
              m.Result = 1;
            }
            return;
          default:
            break;
        }
      }
      break;
    default:
      break;
  }
  TCustomForm::WndProc(m);
}

// --- TApplication --------------------------------------------------------------

TApplication::TApplication() : TComponent(nullptr) {
  g_application = this;
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring name = path;
  size_t slash = name.find_last_of(L"\\/");
  if (slash != std::wstring::npos) name = name.substr(slash + 1);
  size_t dot = name.find_last_of(L'.');
  if (dot != std::wstring::npos) name = name.substr(0, dot);
  title_ = name;
  RegisterColorConstants();
}

TApplication::~TApplication() {
  // The forms go before COM does: they may hold automation objects.
  while (ComponentCount() > 0)
    Components(ComponentCount() - 1)->Free();
  if (com_initialized_) CoUninitialize();
  if (g_application == this) g_application = nullptr;
}

const TClassInfo& TApplication::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TApplication>("TApplication", TComponent::StaticClassInfo()).Build();
  return info;
}

void TApplication::Initialize() {
  HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  com_initialized_ = SUCCEEDED(hr);
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&icc);
}

void TApplication::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == TOperation::opRemove && component == main_form_) {
    main_form_ = nullptr;
    Terminate();
  }
}

void TApplication::Run() {
  if (main_form_ == nullptr) return;
  main_form_->Show();
  while (!terminated_)
    HandleMessage();
}

void TApplication::HandleMessage() {
  if (!ProcessMessage()) WaitMessage();
}

void TApplication::ProcessMessages() {
  while (ProcessMessage()) {
  }
}

bool TApplication::IsKeyMsg(MSG& msg) {
  if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN && msg.message != WM_CHAR &&
      msg.message != WM_SYSCHAR) {
    return false;
  }
  TWinControl* c = TWinControl::FindControl(msg.hwnd);
  if (c == nullptr) return false;
  return c->Perform(CN_BASE + msg.message, msg.wParam, msg.lParam) != 0;
}

bool TApplication::ProcessMessage() {
  MSG msg;
  if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
  if (msg.message == WM_QUIT) {
    terminated_ = true;
    return true;
  }
  try {
    if (!IsKeyMsg(msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  } catch (const std::exception& e) {
    HandleException(e);
  }
  return true;
}

void TApplication::Terminate() {
  if (!terminated_) PostQuitMessage(0);
}

void TApplication::HandleException(const std::exception& e) {
  if (OnException) {
    OnException(e);
    return;
  }
  std::wstring text = Utf8ToWide(e.what());
  MessageBoxW(GetActiveWindow(), text.c_str(), title_.c_str(), MB_OK | MB_ICONSTOP);
}

TApplication* Application() {
  return g_application;
}

void HandleCallbackException() noexcept {
  try {
    try {
      throw;
    } catch (const std::exception& e) {
      if (g_application != nullptr) g_application->HandleException(e);
    } catch (...) {
      if (g_application != nullptr) g_application->HandleException(Exception("Unknown error"));
    }
  } catch (...) {
    // An error handler that fails itself: nothing more can be done here.
  }
}

// --- TScreen -------------------------------------------------------------------

TForm* TScreen::ActiveForm() const {
  HWND active = GetActiveWindow();
  for (TForm* f : forms_) {
    if (f->HandleAllocated() && f->Handle() == active) return f;
  }
  return nullptr;
}

TWinControl* TScreen::ActiveControl() const {
  TForm* f = ActiveForm();
  return f != nullptr ? f->ActiveControl() : nullptr;
}

TScreen& Screen() {
  static TScreen screen;
  return screen;
}

}  // namespace fw
