#include "framework/controls.h"

#include <windowsx.h>

#include <algorithm>
#include <map>

#include "framework/forms.h"

namespace fw {

WNDPROC FrameworkWndProc();

namespace {

constexpr wchar_t kControlProp[] = L"FwControl";

// The control whose window of a framework class is being created: its first
// messages arrive before CreateWindowEx returns the handle.
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

// --- TControl ------------------------------------------------------------------

TControl::TControl(TComponent* owner) : TComponent(owner) {
  WindowProc = [this](TMessage& m) { WndProc(m); };
  font_.OnChange = [this] {
    parent_font_ = false;
    Perform(CM_FONTCHANGED);
    FontChanged();
  };
}

TControl::~TControl() {
  if (parent_ != nullptr) parent_->RemoveControl(this);
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
          .Str("Caption", &TControl::Caption, &TControl::SetCaption)
          .Str("Text", &TControl::Text, &TControl::SetText)
          .Event<void(TObject*)>("OnClick", &TControl::OnClick)
          .Build();
  return info;
}

LRESULT TControl::Perform(UINT msg, WPARAM wparam, LPARAM lparam) {
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
  parent_color_ = v;
  if (v && parent_ != nullptr) {
    color_ = parent_->color_;
    ColorChanged();
  }
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

TForm* TControl::GetParentForm() const {
  const TControl* c = this;
  while (c->parent_ != nullptr)
    c = c->parent_;
  return const_cast<TForm*>(dynamic_cast<const TForm*>(c));
}

void TControl::WndProc(TMessage& m) {
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
  if (TForm* form = GetParentForm(); form != nullptr && form != this) form->DefocusControl(this);
  DestroyHandle();
  // A windowed control frees its children, whoever owns them.
  while (!controls_.empty()) {
    TControl* c = controls_.back();
    delete c;  // leaves controls_ and its owner's list
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
  if (handle_ != nullptr) {
    HWND h = handle_;
    DestroyWindow(h);  // WM_NCDESTROY clears handle_
    handle_ = nullptr;
  }
}

HWND TWinControl::Handle() {
  if (handle_ == nullptr) {
    if (parent_ != nullptr) parent_->Handle();
    if (handle_ == nullptr) CreateWnd();
  }
  return handle_;
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
  p.X = left_;
  p.Y = top_;
  p.Width = width_;
  p.Height = height_;
  if (parent_ != nullptr) p.WndParent = parent_->Handle();
}

void TWinControl::CreateWnd() {
  TCreateParams p;
  CreateParams(p);
  system_class_ = p.SystemClass;
  if (!p.SystemClass) RegisterFrameworkClass(p);
  t_creating = p.SystemClass ? nullptr : this;
  HWND h =
      CreateWindowExW(p.ExStyle, p.ClassName.c_str(), text_.c_str(), p.Style, p.X, p.Y, p.Width,
                      p.Height, p.WndParent, nullptr, GetModuleHandleW(nullptr), nullptr);
  t_creating = nullptr;
  if (h == nullptr) {
    throw Exception("Error creating window " + Name() + " (" + std::to_string(GetLastError()) +
                    ")");
  }
  if (p.SystemClass) {
    handle_ = h;
    SetPropW(h, kControlProp, this);
    def_wnd_proc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&StdWndProc)));
  } else {
    def_wnd_proc_ = DefWindowProcW;
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
  for (TControl* c : controls_) {
    if (auto* w = dynamic_cast<TWinControl*>(c)) w->Handle();
  }
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
  if (mouse_capture_ == control) mouse_capture_ = nullptr;
  control->Invalidate();
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
  if (left == left_ && top == top_ && width == width_ && height == height_) return;
  left_ = left;
  top_ = top;
  width_ = std::max(width, 0);
  height_ = std::max(height, 0);
  if (handle_ != nullptr) {
    SetWindowPos(handle_, nullptr, left_, top_, width_, height_, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  AlignControls();
  BoundsChanged();
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

void TWinControl::AlignControls() {
  // Aligned controls keep the offsets stored in the description and take the
  // parent's width (top/bottom) or height (left/right); the windows laid out
  // here never resize, so the stored positions already hold the stacking.
  RECT client = ClientRect();
  for (TControl* c : controls_) {
    switch (c->align_) {
      case alTop:
      case alBottom:
        if (c->left_ != 0 || c->width_ != client.right)
          c->SetBounds(0, c->top_, client.right, c->height_);
        break;
      case alLeft:
      case alRight:
        if (c->top_ != 0 || c->height_ != client.bottom)
          c->SetBounds(c->left_, 0, c->width_, client.bottom);
        break;
      case alClient:
        c->SetBounds(0, 0, client.right, client.bottom);
        break;
      case alNone:
        break;
    }
  }
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

void TWinControl::FontChanged() {
  if (handle_ != nullptr) {
    SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Handle()), TRUE);
  }
  for (TControl* c : controls_) {
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
  for (TControl* c : controls_) {
    if (dynamic_cast<TWinControl*>(c) != nullptr || !c->visible_) continue;
    RECT r = c->BoundsRect();
    RECT x{};
    if (!IntersectRect(&x, &r, &clip)) continue;
    int saved = SaveDC(dc);
    POINT org{};
    OffsetViewportOrgEx(dc, c->left_, c->top_, &org);
    IntersectClipRect(dc, 0, 0, c->width_, c->height_);
    c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    RestoreDC(dc, saved);
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

void TWinControl::RouteMouse(TMessage& m) {
  POINT pt{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
  TControl* target = mouse_capture_ != nullptr ? mouse_capture_ : GraphicControlAt(pt);
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
      std::vector<TControl*> list = controls_;
      for (TControl* c : list) {
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
    case CM_COLORCHANGED:
      brush_.reset();
      for (TControl* c : controls_) {
        if (c->parent_color_) c->SetParentColor(true);
      }
      Invalidate();
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
        auto dc = reinterpret_cast<HDC>(m.WParam);
        PAINTSTRUCT ps{};
        if (dc == nullptr) dc = BeginPaint(handle_, &ps);
        PaintWindow(dc);
        PaintControls(dc);
        if (m.WParam == 0) EndPaint(handle_, &ps);
        m.Result = 0;
        return;
      }
      break;
    default:
      if (IsMouseMessage(m.Msg) && (mouse_capture_ != nullptr || !controls_.empty())) {
        RouteMouse(m);
        return;
      }
      break;
  }
  TControl::WndProc(m);
}

void TWinControl::DefaultHandler(TMessage& m) {
  if (handle_ == nullptr) return;
  // Framework messages never reach the window class.
  if (m.Msg >= CM_BASE && m.Msg < 0xC000) return;
  m.Result = CallWindowProcW(def_wnd_proc_ != nullptr ? def_wnd_proc_ : DefWindowProcW, handle_,
                             m.Msg, m.WParam, m.LParam);
}

LRESULT CALLBACK TWinControl::StdWndProc(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  auto* c = static_cast<TWinControl*>(GetPropW(wnd, kControlProp));
  if (c == nullptr) {
    c = t_creating;
    if (c == nullptr) return DefWindowProcW(wnd, msg, wparam, lparam);
    t_creating = nullptr;
    c->handle_ = wnd;
    SetPropW(wnd, kControlProp, c);
  }
  if (msg == CM_RELEASE) {
    // A form asked to be freed once the message that asked has been handled:
    // freed here, outside every handler of its own.
    if (auto* form = dynamic_cast<TForm*>(c)) {
      form->Free();
      return 0;
    }
  }
  TMessage m{msg, wparam, lparam, 0};
  try {
    c->WindowProc(m);
  } catch (const std::exception& e) {
    if (TApplication* app = Application()) app->HandleException(e);
  } catch (...) {
    if (TApplication* app = Application()) app->HandleException(Exception("Unknown error"));
  }
  if (msg == WM_NCDESTROY) {
    RemovePropW(wnd, kControlProp);
    if (c->handle_ == wnd) c->handle_ = nullptr;
  }
  return m.Result;
}

WNDPROC FrameworkWndProc() {
  return &TWinControl::StdWndProc;
}

// --- TGraphicControl -----------------------------------------------------------

TGraphicControl::TGraphicControl(TComponent* owner) : TControl(owner) {}

const TClassInfo& TGraphicControl::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TGraphicControl>("TGraphicControl", TControl::StaticClassInfo()).Build();
  return info;
}

void TGraphicControl::WndProc(TMessage& m) {
  if (m.Msg == WM_PAINT) {
    canvas_.SetHandle(reinterpret_cast<HDC>(m.WParam));
    canvas_.Font()->Assign(font_);
    Paint();
    canvas_.SetHandle(nullptr);
    return;
  }
  TControl::WndProc(m);
}

}  // namespace fw
