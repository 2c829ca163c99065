// MDI forms: the frame (fsMDIForm) with its "MDIClient" window, the
// children (fsMDIChild) inside it, the menu merging between them, the
// window state of a form, and the screen's menu font.
#include <algorithm>

#include "framework/forms.h"
#include "framework/menus.h"

namespace fw {

namespace {

// The identifier of the first MDI child in the window menu: above every
// command identifier of the menus (see TMenuItem::Command) and below the
// system commands.
constexpr UINT kFirstMDIChild = 0xFF00;

}  // namespace

bool TForm::IsMDIChildWindow() const {
  return handle_ != nullptr && form_style_ == fsMDIChild &&
         (GetWindowLongW(handle_, GWL_EXSTYLE) & WS_EX_MDICHILD) != 0;
}

TForm* TForm::MDIFrame() const {
  if (form_style_ != fsMDIChild) return nullptr;
  // The frame whose client holds the window; before the window exists, the
  // application's main form if it is an MDI form, else the first one.
  HWND client = handle_ != nullptr ? GetParent(handle_) : nullptr;
  auto fits = [client](const TForm* f) {
    return f != nullptr && f->form_style_ == fsMDIForm &&
           (client == nullptr || (f->client_handle_ != nullptr && f->client_handle_ == client));
  };
  if (TApplication* app = Application(); app != nullptr && fits(app->MainForm())) {
    return app->MainForm();
  }
  for (TForm* f : Screen().forms_) {
    if (fits(f)) return f;
  }
  return nullptr;
}

void TForm::MDIChildParams(TCreateParams& p) {
  TForm* frame = MDIFrame();
  if (frame == nullptr) throw Exception("Cannot create the MDI child " + Name() + ": no MDI form");
  frame->HandleNeeded();
  if (frame->client_handle_ == nullptr) {
    throw Exception("Cannot create the MDI child " + Name() + ": the MDI form has no client");
  }
  p.Style &= ~static_cast<DWORD>(WS_POPUP);
  p.Style |= WS_CHILD;
  if (visible_) p.Style |= WS_VISIBLE;
  p.ExStyle |= WS_EX_MDICHILD;
  p.WndParent = frame->client_handle_;
  // Default places and sizes are the client's to choose (cascading).
  if (position_ == poDefault || position_ == poDefaultPosOnly) p.X = p.Y = CW_USEDEFAULT;
  if (position_ == poDefault || position_ == poDefaultSizeOnly) p.Width = p.Height = CW_USEDEFAULT;
}

HWND TForm::CreateWindowHandle(const TCreateParams& p) {
  if (form_style_ != fsMDIChild || p.WndParent == nullptr)
    return TCustomForm::CreateWindowHandle(p);
  // An MDI child is made by its MDI client, as MDI programs make theirs:
  // the client gives it its place, its system menu and its window-menu
  // entry, and whoever watches the client sees the child come.
  MDICREATESTRUCTW mcs{};
  mcs.szClass = p.ClassName.c_str();
  mcs.szTitle = text_.c_str();
  mcs.hOwner = GetModuleHandleW(nullptr);
  mcs.x = p.X;
  mcs.y = p.Y;
  mcs.cx = p.Width;
  mcs.cy = p.Height;
  mcs.style = p.Style & ~static_cast<DWORD>(WS_CHILD);
  auto h = reinterpret_cast<HWND>(
      SendMessageW(p.WndParent, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
  if (h != nullptr) SendMessageW(p.WndParent, WM_MDIREFRESHMENU, 0, 0);
  return h;
}

void TForm::CreateClient() {
  if (client_handle_ != nullptr) return;
  CLIENTCREATESTRUCT ccs{};
  ccs.hWindowMenu = window_menu_ != nullptr ? window_menu_->Handle() : nullptr;
  ccs.idFirstChild = kFirstMDIChild;
  RECT r = ClientRect();
  client_handle_ = CreateWindowExW(
      WS_EX_CLIENTEDGE, L"MDIClient", nullptr,
      WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_VSCROLL | WS_HSCROLL, 0, 0,
      r.right, r.bottom, handle_, nullptr, GetModuleHandleW(nullptr), &ccs);
  if (client_handle_ == nullptr) {
    throw Exception("Error creating the MDI client of " + Name() + " (" +
                    std::to_string(GetLastError()) + ")");
  }
  AlignControls();
}

TForm::TKeptWindow TForm::KeepWindow(HWND wnd) {
  TKeptWindow kept;
  kept.Placement.length = sizeof(kept.Placement);
  GetWindowPlacement(wnd, &kept.Placement);
  kept.Visible = (GetWindowLongW(wnd, GWL_STYLE) & WS_VISIBLE) != 0;
  kept.Foreground = GetForegroundWindow() == wnd;
  return kept;
}

void TForm::ShowAsKept(HWND wnd, TKeptWindow kept) {
  const UINT show = kept.Placement.showCmd;
  kept.Placement.showCmd = SW_HIDE;
  SetWindowPlacement(wnd, &kept.Placement);
  if (!kept.Visible) return;
  if (show == SW_SHOWMAXIMIZED) {
    ShowWindow(wnd, SW_SHOWMAXIMIZED);
  } else if (show == SW_SHOWMINIMIZED) {
    ShowWindow(wnd, SW_SHOWMINNOACTIVE);
  } else {
    ShowWindow(wnd, kept.Foreground ? SW_SHOWNORMAL : SW_SHOWNOACTIVATE);
  }
  if (kept.Foreground) SetForegroundWindow(wnd);
}

void TForm::KeepChildrenForNewClient() {
  kept_children_.clear();
  kept_active_ = ActiveMDIChild();
  // From the bottom child up, so that making them again in this order gives
  // the same stacking.
  std::vector<TForm*> children;
  for (HWND w = GetWindow(client_handle_, GW_CHILD); w != nullptr; w = GetWindow(w, GW_HWNDNEXT)) {
    if (auto* f = dynamic_cast<TForm*>(FindControl(w)); f != nullptr && f->IsMDIChildWindow()) {
      children.insert(children.begin(), f);
    }
  }
  for (TForm* child : children) {
    kept_children_.emplace_back(child, KeepWindow(child->handle_));
    // The caption lives in the window while it has one.
    child->text_ = child->GetTextValue();
    child->DestroyHandle();
  }
}

void TForm::RemakeKeptChildren() {
  if (client_handle_ == nullptr || kept_children_.empty()) return;
  std::vector<std::pair<TForm*, TKeptWindow>> kept;
  kept.swap(kept_children_);
  TForm* active = kept_active_;
  kept_active_ = nullptr;
  for (auto& [child, window] : kept) {
    window.Foreground = false;  // the active child is activated last
    if (HWND h = child->Handle()) ShowAsKept(h, window);
  }
  if (active != nullptr && active->HandleAllocated()) {
    SendMessageW(client_handle_, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(active->handle_), 0);
  }
}

void TForm::AlignedRemainder(const RECT& rest) {
  // The MDI client takes what the aligned controls leave.
  if (client_handle_ != nullptr) {
    MoveWindow(client_handle_, rest.left, rest.top, std::max<LONG>(rest.right - rest.left, 0),
               std::max<LONG>(rest.bottom - rest.top, 0), TRUE);
  }
}

void TForm::DefaultHandler(TMessage& m) {
  const bool framework_message = m.Msg >= CM_BASE && m.Msg < 0xC000;
  if (handle_ != nullptr && !framework_message) {
    // A frame's WM_SIZE is not the frame procedure's: it would stretch the
    // client over the aligned controls (AlignedRemainder places it).
    if (client_handle_ != nullptr && m.Msg != WM_SIZE) {
      m.Result = DefFrameProcW(handle_, client_handle_, m.Msg, m.WParam, m.LParam);
      return;
    }
    if (IsMDIChildWindow()) {
      m.Result = DefMDIChildProcW(handle_, m.Msg, m.WParam, m.LParam);
      return;
    }
  }
  TCustomForm::DefaultHandler(m);
}

TForm* TForm::ActiveMDIChild() const {
  if (client_handle_ == nullptr) return nullptr;
  auto active = reinterpret_cast<HWND>(SendMessageW(client_handle_, WM_MDIGETACTIVE, 0, 0));
  return dynamic_cast<TForm*>(FindControl(active));
}

int TForm::MDIChildCount() const {
  int n = 0;
  if (client_handle_ == nullptr) return 0;
  for (HWND w = GetWindow(client_handle_, GW_CHILD); w != nullptr; w = GetWindow(w, GW_HWNDNEXT)) {
    if (auto* f = dynamic_cast<TForm*>(FindControl(w));
        f != nullptr && f->form_style_ == fsMDIChild)
      ++n;
  }
  return n;
}

TForm* TForm::MDIChildren(int index) const {
  int n = 0;
  if (client_handle_ != nullptr) {
    for (HWND w = GetWindow(client_handle_, GW_CHILD); w != nullptr;
         w = GetWindow(w, GW_HWNDNEXT)) {
      auto* f = dynamic_cast<TForm*>(FindControl(w));
      if (f == nullptr || f->form_style_ != fsMDIChild) continue;
      if (n++ == index) return f;
    }
  }
  throw Exception("MDI child index out of range");
}

void TForm::SetWindowMenu(TMenuItem* item) {
  if (item == window_menu_) return;
  if (window_menu_ != nullptr) RemoveFreeNotification(window_menu_);
  window_menu_ = item;
  if (item != nullptr) FreeNotification(item);
  if (client_handle_ != nullptr && menu_ != nullptr) AttachMenu(true);
}

TObject* TForm::WindowMenuObject() const {
  return window_menu_;
}

void TForm::SetWindowMenuObject(TObject* item) {
  SetWindowMenu(dynamic_cast<TMenuItem*>(item));
}

void TForm::Tile() {
  if (client_handle_ == nullptr) return;
  SendMessageW(client_handle_, WM_MDITILE,
               tile_mode_ == tbHorizontal ? MDITILE_HORIZONTAL : MDITILE_VERTICAL, 0);
}

void TForm::Cascade() {
  if (client_handle_ != nullptr) SendMessageW(client_handle_, WM_MDICASCADE, 0, 0);
}

void TForm::ArrangeIcons() {
  if (client_handle_ != nullptr) SendMessageW(client_handle_, WM_MDIICONARRANGE, 0, 0);
}

void TForm::Next() {
  if (client_handle_ != nullptr) SendMessageW(client_handle_, WM_MDINEXT, 0, 0);
}

void TForm::Previous() {
  if (client_handle_ != nullptr) SendMessageW(client_handle_, WM_MDINEXT, 0, 1);
}

void TForm::MergeChildMenu(TForm* child) {
  if (menu_ == nullptr) return;
  menu_->Merge(child != nullptr ? child->menu_ : nullptr);
  // The client is told of the frame's menu as it now is, as MDI programs do
  // when the active child changes it: the handle stays, its entries do not.
  if (client_handle_ != nullptr && handle_ != nullptr && menu_->HandleAllocated()) {
    TellClientMenus();
    DrawMenuBar(handle_);
  }
}

void TForm::TellClientMenus() {
  HMENU window_menu = window_menu_ != nullptr ? window_menu_->Handle() : nullptr;
  SendMessageW(client_handle_, WM_MDISETMENU, reinterpret_cast<WPARAM>(menu_->Handle()),
               reinterpret_cast<LPARAM>(window_menu));
}

TWindowState TForm::WindowState() const {
  if (handle_ != nullptr && IsWindowVisible(handle_)) {
    if (IsIconic(handle_)) return wsMinimized;
    if (IsZoomed(handle_)) return wsMaximized;
    return wsNormal;
  }
  return window_state_;
}

void TForm::SetWindowState(TWindowState v) {
  window_state_ = v;
  if (handle_ == nullptr || !IsWindowVisible(handle_) || WindowState() == v) return;
  if (IsMDIChildWindow()) {
    // Through the child's system commands, as its own buttons do (the
    // client keeps its maximized state and the frame's menu bar in step).
    const WPARAM command = v == wsMaximized   ? SC_MAXIMIZE
                           : v == wsMinimized ? SC_MINIMIZE
                                              : SC_RESTORE;
    SendMessageW(handle_, WM_SYSCOMMAND, command, 0);
    return;
  }
  ShowWindow(handle_, v == wsMaximized ? SW_MAXIMIZE : v == wsMinimized ? SW_MINIMIZE : SW_RESTORE);
}

void TForm::BiDiModeChanged() {
  TCustomForm::BiDiModeChanged();
  // The form's menus follow it (those with ParentBiDiMode).
  for (int i = 0; i < ComponentCount(); ++i) {
    if (auto* menu = dynamic_cast<TMenu*>(Components(i))) menu->ParentBiDiModeChanged();
  }
}

// --- TScreen: the menu font ------------------------------------------------------------

namespace {

void AssignMenuFont(TFont& font) {
  NONCLIENTMETRICSW ncm{};
  ncm.cbSize = sizeof(ncm);
  LOGFONTW lf{};
  if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0)) {
    lf = ncm.lfMenuFont;
  } else {
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
  }
  font.SetName(lf.lfFaceName);
  font.SetHeight(lf.lfHeight);
  uint32_t style = 0;
  if (lf.lfWeight >= FW_BOLD) style |= fsBold;
  if (lf.lfItalic) style |= fsItalic;
  if (lf.lfUnderline) style |= fsUnderline;
  font.SetStyle(style);
}

}  // namespace

TFont* TScreen::MenuFont() {
  if (!menu_font_) {
    menu_font_ = std::make_unique<TFont>();
    AssignMenuFont(*menu_font_);
  }
  return menu_font_.get();
}

void TScreen::SettingsChanged() {
  if (menu_font_) AssignMenuFont(*menu_font_);
}

}  // namespace fw
