#include "framework/controls.h"

#include <windowsx.h>

#include <algorithm>
#include <exception>
#include <map>
#include <utility>

#include "framework/dc.h"
#include "framework/forms.h"

namespace fw {

WNDPROC FrameworkWndProc();

namespace {

constexpr wchar_t kControlProp[] = L"FwControl";

// A framework message that Perform sent through a control's window: the
// control's dispatch takes it (once) and keeps what WindowProc threw, for
// Perform to throw again once SendMessage has returned. Nested calls stack.
struct TPerformCall {
  const TWinControl* control;
  UINT msg;
  WPARAM wparam;
  LPARAM lparam;
  bool taken = false;
  std::exception_ptr error;
  TPerformCall* outer = nullptr;
};
thread_local TPerformCall* t_perform = nullptr;

bool IsFrameworkMessage(UINT msg) {
  return msg >= CM_BASE && msg < 0xC000;
}

// The control whose window of a framework class is being created: its first
// messages arrive before CreateWindowEx returns the handle. A window created
// while another is being created (from a hook, say) saves and restores it.
thread_local TWinControl* t_creating = nullptr;

TShiftState KeyboardShift() {
  TShiftState s = 0;
  if (GetKeyState(VK_SHIFT) < 0) s |= ssShift;
  if (GetKeyState(VK_CONTROL) < 0) s |= ssCtrl;
  if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
  return s;
}

void RegisterFrameworkClass(const TCreateParams& p) {
  static std::map<std::wstring, bool> registered;
  if (registered[p.ClassName]) return;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.style = p.ClassStyle;
  wc.lpfnWndProc = FrameworkWndProc();
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512) /* IDC_ARROW */);
  wc.lpszClassName = p.ClassName.c_str();
  wc.hIcon = LoadIconW(GetModuleHandleW(nullptr), L"MAINICON");
  registered[p.ClassName] = true;
  if (RegisterClassExW(&wc) == 0) {
    registered[p.ClassName] = false;
    throw Exception("Cannot register the window class");
  }
}

bool IsMouseMessage(UINT msg) {
  return msg >= WM_MOUSEFIRST && msg <= WM_MBUTTONDBLCLK && msg != WM_MOUSEWHEEL;
}

}  // namespace

TAlignment BiDiAlignment(TAlignment alignment, TBiDiMode mode) {
  if (mode != bdRightToLeft) return alignment;
  switch (alignment) {
    case taLeftJustify:
      return taRightJustify;
    case taRightJustify:
      return taLeftJustify;
    default:
      return alignment;
  }
}

UINT BiDiDrawTextFlags(TAlignment alignment, TBiDiMode mode) {
  const TAlignment shown = BiDiAlignment(alignment, mode);
  UINT flags = shown == taCenter ? DT_CENTER : shown == taRightJustify ? DT_RIGHT : DT_LEFT;
  if (mode != bdLeftToRight) flags |= DT_RTLREADING;
  return flags;
}

// --- TControl ------------------------------------------------------------------

TControl::TControl(TComponent* owner) : TComponent(owner) {
  WindowProc = TWndMethod::Bind<&TControl::WndProc>(this);
  font_.OnChange = [this] {
    parent_font_ = false;
    Perform(CM_FONTCHANGED);
    FontChanged();
  };
}

TControl::~TControl() {
  DestroyComponents();
  if (parent_ != nullptr) parent_->RemoveControl(this);
  // Hooks still in place end here; a link whose call is running is freed
  // when that call returns.
  for (auto& link : hook_links_) {
    if (link->owner != nullptr) {
      link->owner->link_ = nullptr;
      link->owner->previous_ = {};
    }
    if (link->running > 0) {
      link->control = nullptr;
      link->dead = true;
      (void)link.release();
    }
  }
}

void TControl::FreeHookLink(TWindowProcLink* link) {
  auto it = std::find_if(hook_links_.begin(), hook_links_.end(),
                         [link](const auto& l) { return l.get() == link; });
  if (it != hook_links_.end()) hook_links_.erase(it);
}

TWindowProcLink* TControl::FindHookLink(const TWndMethod& method) const {
  for (const auto& link : hook_links_) {
    if (link->Method() == method) return link.get();
  }
  return nullptr;
}

void TControl::UnchainHook(TWindowProcLink* top) {
  // The top link leaves; pass-throughs it uncovers go too, unless the top
  // link's own call is running (its handler may still call what was below).
  const bool top_running = top->running > 0;
  TWindowProcLink* link = top;
  while (link != nullptr) {
    WindowProc = link->previous;
    link->dead = true;
    TWindowProcLink* below = FindHookLink(link->previous);
    bool pass_through = below != nullptr && below->owner == nullptr && !below->dead && !top_running;
    if (link->running == 0) FreeHookLink(link);  // may free `top`
    link = pass_through ? below : nullptr;
  }
}

const TClassInfo& TControl::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TControl>("TControl", TComponent::StaticClassInfo())
          .Int("Left", &TControl::Left, &TControl::SetLeft)
          .Int("Top", &TControl::Top, &TControl::SetTop)
          .Int("Width", &TControl::Width, &TControl::SetWidth)
          .Int("Height", &TControl::Height, &TControl::SetHeight)
          .Int("ClientWidth", &TControl::ClientWidth, &TControl::SetClientWidth)
          .Int("ClientHeight", &TControl::ClientHeight, &TControl::SetClientHeight)
          .Enum("Align", {"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient"},
                &TControl::Align, &TControl::SetAlign)
          .Bool("Visible", &TControl::Visible, &TControl::SetVisible)
          .Bool("Enabled", &TControl::Enabled, &TControl::SetEnabled)
          .Int("Color", &TControl::Color, &TControl::SetColor)
          .Bool("ParentColor", &TControl::ParentColor, &TControl::SetParentColor)
          .Obj("Font", &TControl::Font)
          .Bool("ParentFont", &TControl::ParentFont, &TControl::SetParentFont)
          .Enum("BiDiMode",
                {"bdLeftToRight", "bdRightToLeft", "bdRightToLeftNoAlign",
                 "bdRightToLeftReadingOnly"},
                &TControl::BiDiMode, &TControl::SetBiDiMode)
          .Bool("ParentBiDiMode", &TControl::ParentBiDiMode, &TControl::SetParentBiDiMode)
          .Str("Caption", &TControl::Caption, &TControl::SetCaption)
          .Str("Text", &TControl::Text, &TControl::SetText)
          .Event<void(TObject*)>("OnClick", &TControl::OnClick)
          .Build();
  return info;
}

LRESULT TControl::Perform(UINT msg, WPARAM wparam, LPARAM lparam) {
  if (IsFrameworkMessage(msg)) {
    if (auto* w = dynamic_cast<TWinControl*>(this); w != nullptr && w->RoutesThroughWindow()) {
      return w->PerformThroughWindow(msg, wparam, lparam);
    }
  }
  TMessage m{msg, wparam, lparam, 0};
  WindowProc(m);
  return m.Result;
}

void TControl::SetParentComponent(TComponent* parent) {
  if (auto* w = dynamic_cast<TWinControl*>(parent)) SetParent(w);
}

void TControl::SetParent(TWinControl* parent) {
  if (parent == parent_) return;
  if (parent == this) throw Exception("A control cannot have itself as its parent");
  if (parent_ != nullptr) parent_->RemoveControl(this);
  if (parent != nullptr) {
    parent->InsertControl(this);
    if (parent_font_) {
      auto keep = std::move(font_.OnChange);
      font_.Assign(parent->font_);
      font_.OnChange = std::move(keep);
    }
    if (parent_color_) color_ = parent->color_;
    if (parent_bidi_mode_) TakeParentBiDiMode();
  }
}

void TControl::SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) {
  if (left == left_ && top == top_ && width == width_ && height == height_) return;
  if (parent_ != nullptr && parent_->HandleAllocated()) Invalidate();
  left_ = left;
  top_ = top;
  width_ = std::max(width, 0);
  height_ = std::max(height, 0);
  if (parent_ != nullptr && parent_->HandleAllocated()) Invalidate();
  BoundsChanged();
  if (parent_ != nullptr) {
    // An aligned control that changes its own size moves its neighbours.
    if (align_ != alNone) parent_->RequestAlign();
    parent_->ControlBoundsChanged(this);
  }
}

void TControl::SetAlign(TAlign align) {
  align_ = align;
  if (parent_ != nullptr) parent_->AlignControls();
}

void TControl::SetVisible(bool visible) {
  if (visible == visible_) return;
  if (!visible) Invalidate();
  visible_ = visible;
  Perform(CM_VISIBLECHANGED, visible ? 1 : 0);
  if (visible) Invalidate();
  if (align_ != alNone && parent_ != nullptr) parent_->AlignControls();
}

bool TControl::Showing() const {
  for (const TControl* c = this; c != nullptr; c = c->parent_) {
    if (!c->visible_) return false;
  }
  return true;
}

void TControl::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Perform(CM_ENABLEDCHANGED);
  Invalidate();
}

void TControl::SetColor(TColor color) {
  parent_color_ = false;
  if (color == color_) return;
  color_ = color;
  Perform(CM_COLORCHANGED);
  ColorChanged();
}

void TControl::SetParentColor(bool v) {
  if (v == parent_color_) return;
  parent_color_ = v;
  if (v) TakeParentColor();
}

void TControl::TakeParentColor() {
  if (parent_ == nullptr || color_ == parent_->color_) return;
  color_ = parent_->color_;
  Perform(CM_COLORCHANGED);
  ColorChanged();
}

void TControl::RestoreColour(const TControlColour& saved) {
  SetColor(saved.Color);
  if (saved.ParentColor) SetParentColor(true);
}

void TControl::SetParentFont(bool v) {
  if (v && parent_ != nullptr) {
    auto keep = std::move(font_.OnChange);
    font_.Assign(parent_->font_);
    font_.OnChange = std::move(keep);
    FontChanged();
  }
  parent_font_ = v;
}

void TControl::SetBiDiMode(TBiDiMode v) {
  parent_bidi_mode_ = false;
  if (v == bidi_mode_) return;
  bidi_mode_ = v;
  Perform(CM_BIDIMODECHANGED);
  BiDiModeChanged();
}

void TControl::SetParentBiDiMode(bool v) {
  if (v == parent_bidi_mode_) return;
  parent_bidi_mode_ = v;
  if (v) TakeParentBiDiMode();
}

void TControl::TakeParentBiDiMode() {
  if (parent_ == nullptr || bidi_mode_ == parent_->bidi_mode_) return;
  bidi_mode_ = parent_->bidi_mode_;
  Perform(CM_BIDIMODECHANGED);
  BiDiModeChanged();
}

DWORD TControl::BiDiExStyle() const {
  DWORD ex = 0;
  if (UseRightToLeftReading()) ex |= WS_EX_RTLREADING;
  if (UseRightToLeftScrollBar()) ex |= WS_EX_LEFTSCROLLBAR;
  if (UseRightToLeftAlignment()) ex |= WS_EX_RIGHT;
  return ex;
}

void TControl::SetTextValue(const std::wstring& text) {
  if (text == text_) return;
  text_ = text;
  Perform(CM_TEXTCHANGED);
  Invalidate();
}

void TControl::Invalidate() {
  if (parent_ != nullptr && parent_->HandleAllocated()) {
    RECT r = BoundsRect();
    InvalidateRect(parent_->handle_, &r, TRUE);
  }
}

void TControl::Repaint() {
  Invalidate();
  if (parent_ != nullptr && parent_->HandleAllocated()) UpdateWindow(parent_->handle_);
}

void TControl::Click() {
  if (OnClick) OnClick(this);
}

bool TControl::IsInside(const TControl* control) const {
  for (const TControl* c = this; c != nullptr; c = c->parent_) {
    if (c == control) return true;
  }
  return false;
}

TForm* TControl::GetParentForm() const {
  const TControl* c = this;
  while (c->parent_ != nullptr)
    c = c->parent_;
  return const_cast<TForm*>(dynamic_cast<const TForm*>(c));
}

void TControl::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CM_MOUSEENTER:
      mouse_in_control_ = true;
      break;
    case CM_MOUSELEAVE:
      mouse_in_control_ = false;
      break;
    case CM_PARENTCOLORCHANGED:
      if (parent_color_) TakeParentColor();
      break;
    case CM_PARENTBIDIMODECHANGED:
      if (parent_bidi_mode_) TakeParentBiDiMode();
      break;
    case WM_CANCELMODE:
      mouse_down_ = false;
      break;
    default:
      break;
  }
  // Graphic controls and framework windows raise OnClick themselves; system
  // controls (buttons) report clicks through their notifications instead.
  const auto* win = dynamic_cast<const TWinControl*>(this);
  bool own_clicks = win == nullptr || !win->system_class_;
  if (own_clicks && enabled_) {
    if (m.Msg == WM_LBUTTONDOWN || m.Msg == WM_LBUTTONDBLCLK) {
      mouse_down_ = true;
    } else if (m.Msg == WM_LBUTTONUP) {
      bool was_down = mouse_down_;
      mouse_down_ = false;
      POINT pt{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
      RECT r = ClientRect();
      if (was_down && PtInRect(&r, pt)) Click();
    }
  }
  DefaultHandler(m);
}

// --- TWinControl ---------------------------------------------------------------

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl() {
  // Owned components (skinners) go while the control and its window are whole.
  DestroyComponents();
  if (TForm* form = GetParentForm(); form != nullptr && form != this) form->DefocusControl(this);
  DestroyHandle();
  // A windowed control frees its children, whoever owns them.
  while (!controls_.empty()) {
    controls_.back()->Free();  // leaves controls_ and its owner's list
  }
}

const TClassInfo& TWinControl::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TWinControl>("TWinControl", TControl::StaticClassInfo())
          .Int("TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder)
          .Bool("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop)
          .Bool("Ctl3D", &TWinControl::Ctl3D, &TWinControl::SetCtl3D)
          .Bool("DoubleBuffered", &TWinControl::DoubleBuffered, &TWinControl::SetDoubleBuffered)
          .Event<void(TObject*, WORD&, TShiftState)>("OnKeyDown", &TWinControl::OnKeyDown)
          .Event<void(TObject*, wchar_t&)>("OnKeyPress", &TWinControl::OnKeyPress)
          .Event<void(TObject*)>("OnEnter", &TWinControl::OnEnter)
          .Event<void(TObject*)>("OnExit", &TWinControl::OnExit)
          .Build();
  return info;
}

void TWinControl::DestroyHandle() {
  if (handle_ != nullptr) DestroyWnd();
}

void TWinControl::DestroyWnd() {
  HWND h = handle_;
  DestroyWindow(h);  // WM_NCDESTROY clears handle_ and ends the subclass
  handle_ = nullptr;
}

HWND TWinControl::Handle() {
  if (handle_ == nullptr) {
    if (parent_ != nullptr) parent_->Handle();
    if (handle_ == nullptr) CreateWnd();
  }
  return handle_;
}

bool TWinControl::Recreating() const {
  for (const TWinControl* c = this; c != nullptr; c = c->parent_) {
    if (c->recreating_) return true;
  }
  return false;
}

void TWinControl::GetWindowedDescendants(std::vector<TWinControl*>& list) const {
  for (TControl* c : controls_) {
    if (auto* w = dynamic_cast<TWinControl*>(c)) {
      list.push_back(w);
      w->GetWindowedDescendants(list);
    }
  }
}

void TWinControl::RecreateWnd() {
  if (handle_ == nullptr) return;
  // The focus comes back to the control that had it, this one or one inside.
  TWinControl* focused = nullptr;
  if (HWND f = GetFocus(); f != nullptr && (f == handle_ || IsChild(handle_, f))) {
    focused = FindControl(f);
  }
  // The text lives in the window: keep it for the new one.
  text_ = GetTextValue();
  {
    recreating_ = true;
    struct TDone {
      bool& flag;
      ~TDone() { flag = false; }
    } done{recreating_};
    DestroyHandle();
    Handle();
  }
  std::vector<TWinControl*> inside;
  GetWindowedDescendants(inside);
  if (focused != nullptr &&
      (focused == this || std::find(inside.begin(), inside.end(), focused) != inside.end())) {
    if (focused->CanFocus() && focused->HandleAllocated()) ::SetFocus(focused->handle_);
  }
  Perform(CM_RECREATEWND);
  // A handler may free controls inside: each one is looked for again first.
  for (TWinControl* w : inside) {
    std::vector<TWinControl*> now;
    GetWindowedDescendants(now);
    if (std::find(now.begin(), now.end(), w) != now.end() && w->HandleAllocated()) {
      w->Perform(CM_RECREATEWND);
    }
  }
}

bool TWinControl::RoutesThroughWindow() const {
  return handle_ != nullptr && !window_closing_ && !IsDestroying();
}

LRESULT TWinControl::PerformThroughWindow(UINT msg, WPARAM wparam, LPARAM lparam) {
  TPerformCall call{this, msg, wparam, lparam, false, nullptr, t_perform};
  t_perform = &call;
  struct TPop {
    TPerformCall& call;
    ~TPop() { t_perform = call.outer; }
  };
  LRESULT result = 0;
  {
    TPop pop{call};
    // The control may be freed while the message is handled (CM_RELEASE):
    // nothing of it is touched after this call.
    result = SendMessageW(handle_, msg, wparam, lparam);
  }
  if (call.error) std::rethrow_exception(call.error);
  return result;
}

TWinControl* TWinControl::FindControl(HWND wnd) {
  if (wnd == nullptr) return nullptr;
  if (auto* c = static_cast<TWinControl*>(GetPropW(wnd, kControlProp))) return c;
  // The edit part of a combo box belongs to the combo box.
  wchar_t cls[32] = {};
  GetClassNameW(wnd, cls, 32);
  if (lstrcmpiW(cls, L"Edit") == 0) {
    HWND parent = GetParent(wnd);
    GetClassNameW(parent, cls, 32);
    if (lstrcmpiW(cls, L"ComboBox") == 0) {
      return static_cast<TWinControl*>(GetPropW(parent, kControlProp));
    }
  }
  return nullptr;
}

void TWinControl::CreateParams(TCreateParams& p) {
  p.ClassName = L"FwWinControl";
  p.Style = WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
  if (visible_) p.Style |= WS_VISIBLE;
  if (!enabled_) p.Style |= WS_DISABLED;
  if (tab_stop_) p.Style |= WS_TABSTOP;
  p.ExStyle |= BiDiExStyle();
  p.X = left_;
  p.Y = top_;
  p.Width = width_;
  p.Height = height_;
  if (parent_ != nullptr) {
    p.WndParent = parent_->Handle();
  } else if (parent_window_ != nullptr) {
    p.WndParent = parent_window_;
  }
}

void TWinControl::SetParent(TWinControl* parent) {
  // A window on a raw parent window cannot stay when a Parent control comes:
  // it is created again under the new parent on use.
  if (parent != nullptr && parent != parent_ && parent_ == nullptr && handle_ != nullptr) {
    DestroyHandle();
  }
  TControl::SetParent(parent);
}

void TWinControl::SetParentWindow(HWND wnd) {
  if (wnd == parent_window_) return;
  parent_window_ = wnd;
  if (parent_ != nullptr || handle_ == nullptr) return;
  if (wnd != nullptr && IsWindow(wnd)) {
    ::SetParent(handle_, wnd);
  } else {
    DestroyHandle();  // a child window cannot stand alone
  }
}

HWND TWinControl::CreateWindowHandle(const TCreateParams& p) {
  return CreateWindowExW(p.ExStyle, p.ClassName.c_str(), text_.c_str(), p.Style, p.X, p.Y, p.Width,
                         p.Height, p.WndParent, nullptr, GetModuleHandleW(nullptr), nullptr);
}

void TWinControl::CreateWnd() {
  TCreateParams p;
  CreateParams(p);
  system_class_ = p.SystemClass;
  if (!p.SystemClass) RegisterFrameworkClass(p);
  TWinControl* outer = t_creating;
  t_creating = p.SystemClass ? nullptr : this;
  HWND h = nullptr;
  try {
    h = CreateWindowHandle(p);
  } catch (...) {
    t_creating = outer;
    throw;
  }
  t_creating = outer;
  if (h == nullptr) {
    throw Exception("Error creating window " + Name() + " (" + std::to_string(GetLastError()) +
                    ")");
  }
  if (p.SystemClass) {
    BindHandle(h);
    if (!subclass_.Install(h, TWndMethod::Bind<&TWinControl::SystemClassProc>(this))) {
      DestroyWindow(h);
      throw Exception("Error creating window " + Name() + ": too many subclassed windows");
    }
  } else if (handle_ == nullptr) {
    BindHandle(h);  // a class whose first messages came before ours could bind
  }
  // Later siblings lie above earlier ones.
  if (parent_ != nullptr) {
    HWND after = HWND_TOP;
    auto& list = parent_->controls_;
    auto it = std::find(list.begin(), list.end(), this);
    for (++it; it != list.end(); ++it) {
      auto* w = dynamic_cast<TWinControl*>(*it);
      if (w != nullptr && w->handle_ != nullptr) {
        after = w->handle_;
        break;
      }
    }
    SetWindowPos(h, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Handle()), FALSE);
  HandleCreated();
  // The children's windows; creating one calls out (hooks, handlers), which
  // may add children (they get their windows as they come) or take some away.
  TListWalk<TControl> walk(controls_, control_walks_);
  for (TControl* c : walk) {
    if (auto* w = dynamic_cast<TWinControl*>(c)) w->Handle();
  }
}

void TWinControl::BindHandle(HWND wnd) {
  handle_ = wnd;
  SetPropW(wnd, kControlProp, this);
}

void TWinControl::InsertControl(TControl* control) {
  controls_.push_back(control);
  control->parent_ = this;
  if (auto* w = dynamic_cast<TWinControl*>(control)) {
    tab_list_.push_back(w);
    if (handle_ != nullptr) w->Handle();
  }
  AlignControls();
  control->Invalidate();
}

void TWinControl::RemoveControl(TControl* control) {
  // A control that leaves its form is no longer its focused or active one.
  if (auto* w = dynamic_cast<TWinControl*>(control)) {
    if (TForm* form = GetParentForm(); form != nullptr && form != w) form->DefocusControl(w);
  }
  if (mouse_capture_ == control) mouse_capture_ = nullptr;
  if (mouse_control_ == control) mouse_control_ = nullptr;
  control->Invalidate();
  TListWalk<TControl>::Forget(control_walks_, control);
  controls_.erase(std::remove(controls_.begin(), controls_.end(), control), controls_.end());
  tab_list_.erase(std::remove(tab_list_.begin(), tab_list_.end(), control), tab_list_.end());
  if (auto* w = dynamic_cast<TWinControl*>(control); w != nullptr && w->handle_ != nullptr) {
    // A window without its parent cannot stay: it is created again on use.
    w->DestroyHandle();
  }
  control->parent_ = nullptr;
}

int32_t TWinControl::TabOrder() const {
  if (parent_ == nullptr) return -1;
  if (IsLoading() && stored_tab_order_ >= 0) return stored_tab_order_;
  auto& list = parent_->tab_list_;
  auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : static_cast<int32_t>(it - list.begin());
}

void TWinControl::SetTabOrder(int32_t order) {
  stored_tab_order_ = order;
  if (IsLoading() || parent_ == nullptr) return;  // sorted when loading ends
  auto& list = parent_->tab_list_;
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
  size_t pos =
      std::clamp<size_t>(order < 0 ? list.size() : static_cast<size_t>(order), 0, list.size());
  list.insert(list.begin() + static_cast<ptrdiff_t>(pos), this);
}

void TWinControl::SetCtl3D(bool v) {
  ctl3d_ = v;
}

bool TWinControl::Focused() const {
  return handle_ != nullptr && GetFocus() == handle_;
}

bool TWinControl::CanFocus() const {
  for (const TControl* c = this; c != nullptr; c = c->parent_) {
    if (!c->visible_ || !c->enabled_) return false;
  }
  return true;
}

void TWinControl::SetFocus() {
  if (TForm* form = GetParentForm(); form != nullptr && form != this) {
    form->SetActiveControl(this);
  } else {
    ::SetFocus(Handle());
  }
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& list) {
  for (TWinControl* w : tab_list_) {
    list.push_back(w);
    w->GetTabOrderList(list);
  }
}

TWinControl* TWinControl::FindNextControl(TWinControl* current, bool forward, bool check_tab_stop,
                                          bool check_parent) {
  std::vector<TWinControl*> list;
  GetTabOrderList(list);
  if (list.empty()) return nullptr;
  auto found = std::find(list.begin(), list.end(), current);
  size_t start = found != list.end() ? static_cast<size_t>(found - list.begin())
                                     : (forward ? list.size() - 1 : 0);
  size_t i = start;
  do {
    if (forward) {
      i = (i + 1) % list.size();
    } else {
      i = (i == 0 ? list.size() : i) - 1;
    }
    TWinControl* c = list[i];
    if (c != current && c->CanFocus() && (!check_tab_stop || c->tab_stop_) &&
        (!check_parent || c->parent_ == this)) {
      return c;
    }
  } while (i != start);
  return nullptr;
}

void TWinControl::Invalidate() {
  if (handle_ != nullptr) InvalidateRect(handle_, nullptr, TRUE);
}

void TWinControl::SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  if (left == left_ && top == top_ && width == width_ && height == height_) return;
  bool resized = width != width_ || height != height_;
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  if (handle_ != nullptr) {
    // WM_WINDOWPOSCHANGED reads the bounds back (the system may adjust them).
    SetWindowPos(handle_, nullptr, left_, top_, width_, height_, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (resized) AlignControls();
  BoundsChanged();
  if (parent_ != nullptr) {
    if (align_ != alNone) parent_->RequestAlign();
    parent_->ControlBoundsChanged(this);
  }
}

void TWinControl::UpdateBoundsFromWindow() {
  if (handle_ == nullptr || IsIconic(handle_)) return;  // a minimized window has no useful place
  RECT r;
  if (!GetWindowRect(handle_, &r)) return;
  if ((GetWindowLongW(handle_, GWL_STYLE) & WS_CHILD) != 0) {
    MapWindowPoints(HWND_DESKTOP, GetParent(handle_), reinterpret_cast<POINT*>(&r), 2);
  }
  int32_t w = r.right - r.left;
  int32_t h = r.bottom - r.top;
  const bool moved = r.left != left_ || r.top != top_;
  const bool resized = w != width_ || h != height_;
  left_ = r.left;
  top_ = r.top;
  width_ = w;
  height_ = h;
  // The client area may change at the same window size (a frame drawn by
  // someone else, scroll bars shown): the children are laid out again then.
  RECT client = ClientRect();
  const bool client_changed = client.right - client.left != aligned_client_.cx ||
                              client.bottom - client.top != aligned_client_.cy;
  if (resized || client_changed) AlignControls();
  if (!moved && !resized) return;
  BoundsChanged();
  if (parent_ != nullptr) {
    if (resized && align_ != alNone) parent_->RequestAlign();
    parent_->ControlBoundsChanged(this);
  }
}

RECT TWinControl::ClientRect() const {
  RECT r{0, 0, width_, height_};
  if (handle_ != nullptr) GetClientRect(handle_, &r);
  return r;
}

void TWinControl::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  if (!enabled) {
    // The focus leaves a control that is switched off (to its form).
    if (TForm* form = GetParentForm(); form != nullptr && form != this) form->DefocusControl(this);
  }
  enabled_ = enabled;
  if (handle_ != nullptr) EnableWindow(handle_, enabled ? TRUE : FALSE);
  Perform(CM_ENABLEDCHANGED);
  Invalidate();
}

RECT TWinControl::AlignRect() {
  return ClientRect();
}

void TWinControl::AlignControls() {
  // The aligned children share the client area: top ones are stacked from
  // the top edge and bottom ones from the bottom edge (in the order of their
  // positions), then left and right ones in what is left, and a client one
  // takes the rest.
  static thread_local int depth = 0;
  if (depth > 32) return;  // a layout that keeps triggering itself
  ++depth;
  struct TLeave {
    ~TLeave() { --depth; }
  } leave;
  const bool was_aligning = aligning_;
  aligning_ = true;
  struct TDone {
    bool& flag;
    bool was;
    ~TDone() { flag = was; }
  } done{aligning_, was_aligning};
  {
    RECT client = ClientRect();
    aligned_client_ = SIZE{client.right - client.left, client.bottom - client.top};
  }
  RECT rect = AlignRect();
  auto aligned = [&](TAlign align) {
    std::vector<TControl*> list;
    for (TControl* c : controls_) {
      if (c->align_ == align && c->visible_) list.push_back(c);
    }
    auto key = [align](const TControl* c) {
      switch (align) {
        case alTop:
          return c->top_;
        case alBottom:
          return -(c->top_ + c->height_);
        case alLeft:
          return c->left_;
        case alRight:
          return -(c->left_ + c->width_);
        default:
          return 0;
      }
    };
    std::stable_sort(list.begin(), list.end(),
                     [&](const TControl* a, const TControl* b) { return key(a) < key(b); });
    return list;
  };
  // Placing a child calls out (its handlers may take children away, or free
  // them): one that has left is neither placed nor measured.
  {
    TListWalk<TControl> walk(aligned(alTop), control_walks_);
    for (TControl* c : walk) {
      c->SetBounds(rect.left, rect.top, rect.right - rect.left, c->height_);
      if (walk.Has(c)) rect.top += c->height_;
    }
  }
  {
    TListWalk<TControl> walk(aligned(alBottom), control_walks_);
    for (TControl* c : walk) {
      c->SetBounds(rect.left, rect.bottom - c->height_, rect.right - rect.left, c->height_);
      if (walk.Has(c)) rect.bottom -= c->height_;
    }
  }
  {
    TListWalk<TControl> walk(aligned(alLeft), control_walks_);
    for (TControl* c : walk) {
      c->SetBounds(rect.left, rect.top, c->width_, rect.bottom - rect.top);
      if (walk.Has(c)) rect.left += c->width_;
    }
  }
  {
    TListWalk<TControl> walk(aligned(alRight), control_walks_);
    for (TControl* c : walk) {
      c->SetBounds(rect.right - c->width_, rect.top, c->width_, rect.bottom - rect.top);
      if (walk.Has(c)) rect.right -= c->width_;
    }
  }
  {
    TListWalk<TControl> walk(aligned(alClient), control_walks_);
    for (TControl* c : walk)
      c->SetBounds(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
  }
  AlignedRemainder(rect);
}

void TWinControl::RequestAlign() {
  // Not while this control is placing its children: that placement is the
  // one being asked for.
  if (!aligning_) AlignControls();
}

std::wstring TWinControl::GetTextValue() const {
  if (handle_ == nullptr) return text_;
  int n = GetWindowTextLengthW(handle_);
  std::wstring s(static_cast<size_t>(n) + 1, L'\0');
  n = GetWindowTextW(handle_, s.data(), n + 1);
  s.resize(static_cast<size_t>(std::max(n, 0)));
  return s;
}

void TWinControl::SetTextValue(const std::wstring& text) {
  if (handle_ != nullptr) {
    if (GetTextValue() == text) return;
    text_ = text;
    SetWindowTextW(handle_, text.c_str());
  } else {
    if (text == text_) return;
    text_ = text;
  }
  Perform(CM_TEXTCHANGED);
}

void TWinControl::BiDiModeChanged() {
  // The window takes its reading order and scroll bar side from styles it
  // is created with: a new window, then the children that follow.
  if (handle_ != nullptr) {
    const DWORD ex = static_cast<DWORD>(GetWindowLongW(handle_, GWL_EXSTYLE));
    constexpr DWORD kBiDi = WS_EX_RTLREADING | WS_EX_LEFTSCROLLBAR | WS_EX_RIGHT;
    if ((ex & kBiDi) != BiDiExStyle()) RecreateWnd();
  }
  TListWalk<TControl> walk(controls_, control_walks_);
  for (TControl* c : walk)
    c->Perform(CM_PARENTBIDIMODECHANGED);
  Invalidate();
}

void TWinControl::ColorChanged() {
  brush_.reset();
  Invalidate();
}

void TWinControl::FontChanged() {
  if (handle_ != nullptr) {
    SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Handle()), TRUE);
  }
  TListWalk<TControl> walk(controls_, control_walks_);
  for (TControl* c : walk) {
    if (c->parent_font_) c->SetParentFont(true);
  }
  Invalidate();
}

HBRUSH TWinControl::ColorBrush() {
  if (!brush_) brush_.reset(CreateSolidBrush(ColorToRGB(color_)));
  return brush_.get();
}

void TWinControl::KeyDown(WORD& key, TShiftState shift) {
  if (OnKeyDown) OnKeyDown(this, key, shift);
}

void TWinControl::KeyPress(wchar_t& key) {
  if (OnKeyPress) OnKeyPress(this, key);
}

bool TWinControl::DoKeyDown(TMessage& m) {
  TForm* form = GetParentForm();
  if (form != nullptr && form != this && form->KeyPreview() && form->DoKeyDown(m)) return true;
  WORD key = static_cast<WORD>(m.WParam);
  KeyDown(key, KeyboardShift());
  if (key == 0) return true;
  m.WParam = key;
  return false;
}

bool TWinControl::DoKeyPress(TMessage& m) {
  TForm* form = GetParentForm();
  if (form != nullptr && form != this && form->KeyPreview() && form->DoKeyPress(m)) return true;
  auto key = static_cast<wchar_t>(m.WParam);
  KeyPress(key);
  if (key == 0) return true;
  m.WParam = key;
  return false;
}

void TWinControl::PaintWindow(HDC /*dc*/) {}

void TWinControl::PaintControls(HDC dc) {
  RECT clip{};
  GetClipBox(dc, &clip);
  // A child's painting may add or take away children: the ones there at the
  // start are painted while they are still there.
  TListWalk<TControl> walk(controls_, control_walks_);
  for (TControl* c : walk) {
    if (dynamic_cast<TWinControl*>(c) != nullptr || !c->visible_) continue;
    RECT r = c->BoundsRect();
    RECT x{};
    if (!IntersectRect(&x, &r, &clip)) continue;
    TSavedDC saved(dc);
    OffsetViewportOrgEx(dc, c->left_, c->top_, nullptr);
    IntersectClipRect(dc, 0, 0, c->width_, c->height_);
    c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
  }
}

TControl* TWinControl::GraphicControlAt(POINT pt) {
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
    TControl* c = *it;
    if (dynamic_cast<TWinControl*>(c) != nullptr || !c->visible_ || !c->enabled_) continue;
    RECT r = c->BoundsRect();
    if (PtInRect(&r, pt)) return c;
  }
  return nullptr;
}

void TWinControl::SetMouseControl(TControl* control) {
  if (control == mouse_control_) return;
  TControl* old = mouse_control_;
  mouse_control_ = control;
  if (old != nullptr) old->Perform(CM_MOUSELEAVE);
  if (control != nullptr) control->Perform(CM_MOUSEENTER);
}

void TWinControl::MouseMoved() {
  // The system tells when the mouse leaves (WM_MOUSELEAVE) once asked for
  // every entry.
  if (!tracking_leave_ && handle_ != nullptr) {
    TRACKMOUSEEVENT tme{sizeof(tme), TME_LEAVE, handle_, 0};
    tracking_leave_ = TrackMouseEvent(&tme) != FALSE;
  }
  if (!mouse_in_control_) Perform(CM_MOUSEENTER);
}

void TWinControl::MouseLeft() {
  tracking_leave_ = false;
  SetMouseControl(nullptr);
  if (mouse_in_control_) Perform(CM_MOUSELEAVE);
}

void TWinControl::RouteMouse(TMessage& m) {
  POINT pt{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
  TControl* under = GraphicControlAt(pt);
  if (m.Msg == WM_MOUSEMOVE) SetMouseControl(under);
  TControl* target = mouse_capture_ != nullptr ? mouse_capture_ : under;
  if (target == nullptr) {
    TControl::WndProc(m);
    return;
  }
  LPARAM lp = MAKELPARAM(pt.x - target->left_, pt.y - target->top_);
  bool down = m.Msg == WM_LBUTTONDOWN || m.Msg == WM_LBUTTONDBLCLK;
  bool up = m.Msg == WM_LBUTTONUP;
  if (down) {
    mouse_capture_ = target;
    SetCapture(handle_);
  }
  m.Result = target->Perform(m.Msg, m.WParam, lp);
  if (up && mouse_capture_ != nullptr) {
    mouse_capture_ = nullptr;
    ReleaseCapture();
  }
}

void TWinControl::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_SETFOCUS:
      if (TForm* form = GetParentForm(); form != nullptr && form != this) form->FocusChanged(this);
      break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      if (DoKeyDown(m)) return;
      break;
    case WM_CHAR:
      if (DoKeyPress(m)) return;
      break;
    case CN_KEYDOWN:
    case CN_SYSKEYDOWN: {
      // Menu shortcuts first: the form's menus run the item whose ShortCut
      // the key makes, and the control never sees that key.
      if (TForm* form = GetParentForm(); form != nullptr && form->IsShortCut(m)) {
        m.Result = 1;
        return;
      }
      // Dialog keys: a key the focused window does not want goes to the form
      // (tab, arrows between controls, Enter to the active button).
      m.Result = 0;
      WORD key = static_cast<WORD>(m.WParam);
      UINT mask = 0;
      switch (key) {
        case VK_TAB:
          mask = DLGC_WANTTAB;
          break;
        case VK_LEFT:
        case VK_RIGHT:
        case VK_UP:
        case VK_DOWN:
          mask = DLGC_WANTARROWS;
          break;
        case VK_RETURN:
        case VK_EXECUTE:
        case VK_ESCAPE:
        case VK_CANCEL:
          mask = DLGC_WANTALLKEYS;
          break;
        default:
          break;
      }
      if (mask != 0 && !WantSpecialKey(key)) {
        HWND focus = GetFocus();
        LRESULT code = SendMessageW(focus != nullptr ? focus : handle_, WM_GETDLGCODE, 0, 0);
        TForm* form = GetParentForm();
        if ((code & mask) == 0 && form != nullptr &&
            form->Perform(CM_DIALOGKEY, key, m.LParam) != 0) {
          m.Result = 1;
        }
      }
      return;
    }
    case CN_CHAR:
    case CN_SYSCHAR: {
      m.Result = 0;
      HWND focus = GetFocus();
      LRESULT code = SendMessageW(focus != nullptr ? focus : handle_, WM_GETDLGCODE, 0, 0);
      TForm* form = GetParentForm();
      if ((m.Msg == CN_SYSCHAR || (code & DLGC_WANTCHARS) == 0) && form != nullptr &&
          form->Perform(CM_DIALOGCHAR, m.WParam, m.LParam) != 0) {
        m.Result = 1;
      }
      return;
    }
    case CM_DIALOGKEY:
    case CM_DIALOGCHAR: {
      // Offered to every child until one takes it.
      TListWalk<TControl> walk(controls_, control_walks_);
      for (TControl* c : walk) {
        if (c->Perform(m.Msg, m.WParam, m.LParam) != 0) {
          m.Result = 1;
          return;
        }
      }
      m.Result = 0;
      return;
    }
    case WM_COMMAND:
      if (m.LParam != 0) {
        if (TWinControl* c = FindControl(reinterpret_cast<HWND>(m.LParam));
            c != nullptr && c != this) {
          m.Result = c->Perform(CN_COMMAND, m.WParam, m.LParam);
          return;
        }
      }
      break;
    case WM_NOTIFY: {
      auto* hdr = reinterpret_cast<NMHDR*>(m.LParam);
      if (TWinControl* c = FindControl(hdr->hwndFrom); c != nullptr && c != this) {
        m.Result = c->Perform(CN_NOTIFY, m.WParam, m.LParam);
        return;
      }
      break;
    }
    case WM_DRAWITEM: {
      auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
      if (dis->CtlType != ODT_MENU) {
        if (TWinControl* c = FindControl(dis->hwndItem); c != nullptr && c != this) {
          m.Result = c->Perform(CN_DRAWITEM, m.WParam, m.LParam);
          return;
        }
      }
      break;
    }
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
      if (TWinControl* c = FindControl(reinterpret_cast<HWND>(m.LParam));
          c != nullptr && c != this) {
        m.Result = c->Perform(CN_BASE + m.Msg, m.WParam, m.LParam);
        return;
      }
      break;
    case CN_CTLCOLORSCROLLBAR:
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORSTATIC:
    case CN_CTLCOLORLISTBOX:
    case CN_CTLCOLORBTN: {
      auto dc = reinterpret_cast<HDC>(m.WParam);
      SetTextColor(dc, ColorToRGB(enabled_ ? font_.Color() : clGrayText));
      SetBkColor(dc, ColorToRGB(color_));
      m.Result = reinterpret_cast<LRESULT>(ColorBrush());
      return;
    }
    case CM_FOCUSCHANGED: {
      TListWalk<TControl> walk(controls_, control_walks_);
      for (TControl* c : walk)
        c->Perform(CM_FOCUSCHANGED, m.WParam, m.LParam);
      break;
    }
    case CM_COLORCHANGED: {
      brush_.reset();
      TListWalk<TControl> walk(controls_, control_walks_);
      for (TControl* c : walk)
        c->Perform(CM_PARENTCOLORCHANGED);
      Invalidate();
      break;
    }
    case WM_WINDOWPOSCHANGED:
      UpdateBoundsFromWindow();
      break;
    case CM_VISIBLECHANGED:
      if (handle_ != nullptr && (GetWindowLongW(handle_, GWL_STYLE) & WS_CHILD) != 0) {
        ShowWindow(handle_, m.WParam != 0 ? SW_SHOWNA : SW_HIDE);
      }
      break;
    case WM_MOUSELEAVE:
      MouseLeft();
      break;
    case CM_ENTER:
      if (OnEnter) OnEnter(this);
      break;
    case CM_EXIT:
      if (OnExit) OnExit(this);
      break;
    case WM_CONTEXTMENU:
      if (OnContextPopup && reinterpret_cast<HWND>(m.WParam) == handle_) {
        POINT at{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
        if (m.LParam == -1) {  // from the keyboard: the control's middle
          RECT r;
          GetWindowRect(handle_, &r);
          at = POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        }
        OnContextPopup(this, at);
        m.Result = 0;
        return;
      }
      break;
    case WM_CAPTURECHANGED:
      // Capture taken away (a message box, another window): the graphic child
      // that had it is told, and mouse messages are routed by position again.
      if (reinterpret_cast<HWND>(m.LParam) != handle_) {
        mouse_down_ = false;
        if (TControl* c = std::exchange(mouse_capture_, nullptr)) c->Perform(WM_CANCELMODE);
      }
      break;
    case WM_ERASEBKGND:
      if (OwnPaint()) {
        RECT r;
        GetClientRect(handle_, &r);
        FillRect(reinterpret_cast<HDC>(m.WParam), &r, ColorBrush());
        m.Result = 1;
        return;
      }
      break;
    case WM_PAINT:
      if (OwnPaint()) {
        m.Result = 0;
        if (m.WParam != 0) {
          // A DC handed over (WM_PRINTCLIENT-like painting): borrowed.
          auto dc = reinterpret_cast<HDC>(m.WParam);
          TSavedDC saved(dc);
          PaintWindow(dc);
          PaintControls(dc);
        } else {
          // EndPaint runs however painting ends, so a failing paint does not
          // leave the window invalid (and painting again forever).
          TPaintDC paint(handle_);
          PaintWindow(paint.Get());
          PaintControls(paint.Get());
        }
        return;
      }
      break;
    default:
      if (IsMouseMessage(m.Msg)) {
        if (m.Msg == WM_MOUSEMOVE) MouseMoved();
        if (mouse_capture_ != nullptr || !controls_.empty()) {
          RouteMouse(m);
          return;
        }
      }
      break;
  }
  TControl::WndProc(m);
}

void TWinControl::DefaultHandler(TMessage& m) {
  if (handle_ == nullptr) return;
  // Framework messages never reach the window class.
  if (m.Msg >= CM_BASE && m.Msg < 0xC000) return;
  if (system_class_) {
    subclass_.CallPrevious(m);
  } else {
    m.Result = DefWindowProcW(handle_, m.Msg, m.WParam, m.LParam);
  }
}

void TWinControl::DispatchToControl(TWinControl* c, HWND wnd, TMessage& m) {
  // A message that Perform sent through the window: what WindowProc throws
  // goes back to Perform's caller instead of the error box.
  TPerformCall* call = t_perform;
  if (call != nullptr && (call->taken || call->control != c || call->msg != m.Msg ||
                          call->wparam != m.WParam || call->lparam != m.LParam)) {
    call = nullptr;
  }
  if (call != nullptr) call->taken = true;
  if (m.Msg == WM_DESTROY) {
    if (c->handle_ == wnd) c->window_closing_ = true;
    if (c->system_class_ && !c->IsDestroying()) c->text_ = c->GetTextValue();  // for a new window
  }
  // A form asked to be freed once the message that asked has been handled:
  // its handlers see CM_RELEASE, then it is freed here, outside all of them.
  auto* released = m.Msg == CM_RELEASE ? dynamic_cast<TForm*>(c) : nullptr;
  try {
    TWndMethod proc = c->WindowProc;
    proc(m);
  } catch (...) {
    if (call != nullptr) {
      call->error = std::current_exception();
    } else {
      HandleCallbackException();
    }
  }
  if (released != nullptr) {
    released->Free();
    return;
  }
  if (m.Msg == WM_NCDESTROY) {
    RemovePropW(wnd, kControlProp);
    if (c->handle_ == wnd) {
      c->handle_ = nullptr;
      c->window_closing_ = false;
    }
    c->tracking_leave_ = false;
  }
}

void TWinControl::SystemClassProc(TMessage& m) {
  DispatchToControl(this, subclass_.Handle(), m);
}

LRESULT CALLBACK TWinControl::StdWndProc(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  auto* c = static_cast<TWinControl*>(GetPropW(wnd, kControlProp));
  if (c == nullptr) {
    c = t_creating;
    if (c == nullptr) return DefWindowProcW(wnd, msg, wparam, lparam);
    t_creating = nullptr;
    c->BindHandle(wnd);
  }
  TMessage m{msg, wparam, lparam, 0};
  DispatchToControl(c, wnd, m);
  return m.Result;
}

WNDPROC FrameworkWndProc() {
  return &TWinControl::StdWndProc;
}

// --- TCustomControl ------------------------------------------------------------

TCustomControl::TCustomControl(TComponent* owner) : TWinControl(owner) {}

TCustomControl::~TCustomControl() {
  DestroyComponents();
}

const TClassInfo& TCustomControl::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TCustomControl>("TCustomControl", TWinControl::StaticClassInfo()).Build();
  return info;
}

void TCustomControl::PaintWindow(HDC dc) {
  struct TRelease {
    TCanvas& canvas;
    ~TRelease() { canvas.SetHandle(nullptr); }
  } release{canvas_};
  canvas_.SetHandle(dc);
  canvas_.Font()->Assign(font_);
  canvas_.Brush()->SetColor(color_);
  Paint();
}

// --- TGraphicControl -----------------------------------------------------------

TGraphicControl::TGraphicControl(TComponent* owner) : TControl(owner) {}

const TClassInfo& TGraphicControl::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TGraphicControl>("TGraphicControl", TControl::StaticClassInfo()).Build();
  return info;
}

TGraphicControl::~TGraphicControl() {
  DestroyComponents();
}

TControlDC::TControlDC(TGraphicControl& control) : control_(control) {
  TWinControl* parent = control.Parent();
  if (parent == nullptr || !parent->HandleAllocated() || !control.Showing()) return;
  wnd_ = parent->Handle();
  dc_ = GetDC(wnd_);
  if (dc_ == nullptr) return;
  SetViewportOrgEx(dc_, control.Left(), control.Top(), nullptr);
  IntersectClipRect(dc_, 0, 0, control.Width(), control.Height());
  previous_ = control.canvas_.Handle();
  control.canvas_.SetHandle(dc_);
  control.canvas_.Font()->Assign(control.font_);
}

TControlDC::~TControlDC() {
  if (dc_ == nullptr) return;
  control_.canvas_.SetHandle(previous_);
  ReleaseDC(wnd_, dc_);
}

void TGraphicControl::WndProc(TMessage& m) {
  if (m.Msg == WM_PAINT) {
    // The canvas holds the parent's DC only while painting, on every path
    // (then the DC it had before, if a TControlDC lives around the paint).
    struct TRelease {
      TCanvas& canvas;
      HDC previous;
      ~TRelease() { canvas.SetHandle(previous); }
    } release{canvas_, canvas_.Handle()};
    canvas_.SetHandle(reinterpret_cast<HDC>(m.WParam));
    canvas_.Font()->Assign(font_);
    Paint();
    return;
  }
  TControl::WndProc(m);
}

}  // namespace fw
