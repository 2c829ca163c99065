#include "framework/menus.h"

#include <algorithm>
#include <unordered_set>

#include "framework/buttons.h"
#include "framework/dc.h"
#include "framework/forms.h"

namespace fw {

namespace {

// The menu items that exist: an owner-draw message carries an item data
// value, and only one of ours may be taken for a TMenuItem (menus of other
// code use item data for their own purposes).
std::unordered_set<const TMenuItem*>& LiveItems() {
  static std::unordered_set<const TMenuItem*> items;
  return items;
}

}  // namespace

// --- TMenuItem -----------------------------------------------------------------

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner), command_(AcquireMenuCommand()) {
  LiveItems().insert(this);
}

TMenuItem::~TMenuItem() {
  // Leaving the parent takes the entry out of its menu and destroys this
  // item's popup (with the popups below it); the children stay, on their own.
  if (parent_ != nullptr) parent_->Remove(this);
  DestroyPopup();
  for (TMenuItem* child : items_)
    child->parent_ = nullptr;
  LiveItems().erase(this);
  ReleaseMenuCommand(command_);
}

const TClassInfo& TMenuItem::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TMenuItem>("TMenuItem", TComponent::StaticClassInfo())
          .Str("Caption", &TMenuItem::Caption, &TMenuItem::SetCaption)
          .Bool("Checked", &TMenuItem::Checked, &TMenuItem::SetChecked)
          .Bool("Enabled", &TMenuItem::Enabled, &TMenuItem::SetEnabled)
          .Bool("Visible", &TMenuItem::Visible, &TMenuItem::SetVisible)
          .Bool("Default", &TMenuItem::Default, &TMenuItem::SetDefault)
          .Int("ImageIndex", &TMenuItem::ImageIndex, &TMenuItem::SetImageIndex)
          .Int("ShortCut", &TMenuItem::ShortCut, &TMenuItem::SetShortCut)
          .Bool("RadioItem", &TMenuItem::RadioItem, &TMenuItem::SetRadioItem)
          .Int("GroupIndex", &TMenuItem::GroupIndex, &TMenuItem::SetGroupIndex)
          .Event<void(TObject*)>("OnClick", &TMenuItem::OnClick)
          .Event<void(TObject*, TCanvas*, RECT, bool)>("OnDrawItem", &TMenuItem::OnDrawItem)
          .Event<void(TObject*, TCanvas*, int&, int&)>("OnMeasureItem", &TMenuItem::OnMeasureItem)
          .Build();
  return info;
}

void TMenuItem::SetParentComponent(TComponent* parent) {
  if (auto* menu = dynamic_cast<TMenu*>(parent)) {
    menu->Items()->Add(this);
  } else if (auto* item = dynamic_cast<TMenuItem*>(parent)) {
    item->Add(this);
  }
}

void TMenuItem::SetCaption(const std::wstring& v) {
  if (v == caption_) return;
  caption_ = v;
  EntryChanged();
}
void TMenuItem::SetChecked(bool v) {
  if (v == checked_) return;
  checked_ = v;
  EntryChanged();
}
void TMenuItem::SetEnabled(bool v) {
  if (v == enabled_) return;
  enabled_ = v;
  EntryChanged();
}
void TMenuItem::SetVisible(bool v) {
  if (v == visible_) return;
  TMenuItem* parent = parent_;
  const bool teardown = InTeardown();
  const int index = parent != nullptr ? parent->ShownIndex(this) : 0;
  visible_ = v;
  if (parent == nullptr || teardown) return;
  if (v) {
    parent->ChildShown(this);
  } else {
    parent->ChildHidden(index);
  }
  if (TMenu* menu = GetParentMenu(); menu != nullptr && !IsLoading()) {
    menu->MenuChanged(parent->menu_ != nullptr);
  }
}
void TMenuItem::SetDefault(bool v) {
  if (v == default_) return;
  default_ = v;
  EntryChanged();
}
void TMenuItem::SetImageIndex(int32_t v) {
  if (v == image_index_) return;
  image_index_ = v;
  EntryChanged();
}
void TMenuItem::SetShortCut(TShortCut v) {
  if (v == shortcut_) return;
  shortcut_ = v;
  EntryChanged();
}
void TMenuItem::SetRadioItem(bool v) {
  if (v == radio_item_) return;
  radio_item_ = v;
  EntryChanged();
}
void TMenuItem::SetGroupIndex(int32_t v) {
  if (v == group_index_) return;
  group_index_ = v;
  // Merging places top-level items by their group.
  TMenu* menu = GetParentMenu();
  if (menu == nullptr || InTeardown() || parent_ == nullptr || parent_->menu_ == nullptr) return;
  menu->LayoutTopLevel();
  if (!IsLoading()) menu->MenuChanged(true);
}

bool TMenuItem::IsAccelerator(wchar_t key) const {
  return IsAccel(key, caption_);
}

TMenuItem* TMenuItem::FindShortCut(TShortCut shortcut) {
  if (!enabled_) return nullptr;
  if (shortcut_ == shortcut && menu_ == nullptr && !IsLine()) return this;
  for (TMenuItem* c : items_) {
    if (TMenuItem* found = c->FindShortCut(shortcut)) return found;
  }
  return nullptr;
}

std::wstring TMenuItem::MenuText() const {
  std::wstring key = ShortCutToText(shortcut_);
  return key.empty() ? caption_ : caption_ + L"\t" + key;
}

HMENU TMenuItem::Handle() {
  if (menu_ != nullptr) return menu_->Handle();
  return handle_;
}

int TMenuItem::MenuIndex() const {
  if (parent_ == nullptr) return -1;
  auto& list = parent_->items_;
  return static_cast<int>(std::find(list.begin(), list.end(), this) - list.begin());
}

TMenu* TMenuItem::GetParentMenu() const {
  const TMenuItem* root = this;
  while (root->parent_ != nullptr)
    root = root->parent_;
  return root->menu_;
}

void TMenuItem::Click() {
  if (OnClick) OnClick(this);
}

namespace {

// A canvas on a borrowed DC for the guard's life.
class TBorrowedCanvas {
 public:
  explicit TBorrowedCanvas(HDC dc) {
    canvas_.SetHandle(dc);
    // Owner-drawn items are measured and drawn in the system's menu font.
    canvas_.Font()->Assign(*Screen().MenuFont());
  }
  ~TBorrowedCanvas() { canvas_.SetHandle(nullptr); }
  TBorrowedCanvas(const TBorrowedCanvas&) = delete;
  TBorrowedCanvas& operator=(const TBorrowedCanvas&) = delete;
  TCanvas& Get() { return canvas_; }

 private:
  TCanvas canvas_;
};

}  // namespace

void TMenuItem::DoMeasureItem(MEASUREITEMSTRUCT& mis) {
  TClientDC dc(nullptr);
  TBorrowedCanvas borrowed(dc.Get());
  TCanvas& canvas = borrowed.Get();
  int width = 0;
  int height = GetSystemMetrics(SM_CYMENU);
  if (IsLine()) {
    height = 8;
  } else {
    width = canvas.TextExtent(MenuText()).cx + 32;
  }
  if (OnMeasureItem) OnMeasureItem(this, &canvas, width, height);
  mis.itemWidth = static_cast<UINT>(std::max(width, 0));
  mis.itemHeight = static_cast<UINT>(std::max(height, 0));
}

void TMenuItem::DoDrawItem(const DRAWITEMSTRUCT& dis) {
  TSavedDC saved(dis.hDC);
  TBorrowedCanvas borrowed(dis.hDC);
  TCanvas& canvas = borrowed.Get();
  bool selected = (dis.itemState & ODS_SELECTED) != 0;
  RECT r = dis.rcItem;
  if (OnDrawItem) {
    OnDrawItem(this, &canvas, r, selected);
  } else {
    // Plain drawing: highlight, image, text.
    canvas.Brush()->SetColor(selected ? (clSystemColor | COLOR_HIGHLIGHT)
                                      : (clSystemColor | COLOR_MENU));
    canvas.FillRect(r);
    if (IsLine()) {
      RECT line{r.left, (r.top + r.bottom) / 2 - 1, r.right, (r.top + r.bottom) / 2 + 1};
      DrawEdge(dis.hDC, &line, EDGE_ETCHED, BF_TOP);
    } else {
      TMenu* menu = GetParentMenu();
      if (menu != nullptr && menu->Images() != nullptr && image_index_ >= 0) {
        menu->Images()->Draw(canvas, r.left + 2,
                             r.top + (r.bottom - r.top - menu->Images()->Height()) / 2,
                             image_index_, enabled_);
      }
      canvas.Font()->SetColor(!enabled_  ? clGrayText
                              : selected ? (clSystemColor | COLOR_HIGHLIGHTTEXT)
                                         : (clSystemColor | COLOR_MENUTEXT));
      RECT tr = r;
      tr.left += 24;
      canvas.DrawText(caption_, tr, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
      std::wstring key = ShortCutToText(shortcut_);
      if (!key.empty()) {
        tr.right -= 12;
        canvas.DrawText(key, tr, DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
      }
    }
  }
}

// --- TMenu ---------------------------------------------------------------------

TMenu::TMenu(TComponent* owner) : TComponent(owner) {
  items_.menu_ = this;
}

TMenu::~TMenu() {
  DestroyHandle();
  items_.menu_ = nullptr;
}

const TClassInfo& TMenu::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TMenu>("TMenu", TComponent::StaticClassInfo())
          .Bool("OwnerDraw", &TMenu::OwnerDraw, &TMenu::SetOwnerDraw)
          .Obj("Images", &TMenu::ImagesObject, &TMenu::SetImagesObject)
          .Enum("BiDiMode",
                {"bdLeftToRight", "bdRightToLeft", "bdRightToLeftNoAlign",
                 "bdRightToLeftReadingOnly"},
                &TMenu::BiDiMode, &TMenu::SetBiDiMode)
          .Bool("ParentBiDiMode", &TMenu::ParentBiDiMode, &TMenu::SetParentBiDiMode)
          .Build();
  return info;
}

void TMenu::SetOwnerDraw(bool v) {
  if (v == owner_draw_) return;
  owner_draw_ = v;
  UpdateItems();
}

void TMenu::SetImages(TImageList* images) {
  if (images_ != nullptr) images_->RemoveFreeNotification(this);
  images_ = images;
  if (images_ != nullptr) images_->FreeNotification(this);
}

void TMenu::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == TOperation::opRemove && component == images_) images_ = nullptr;
}

TBiDiMode TMenu::BiDiMode() const {
  if (parent_bidi_mode_) {
    if (const auto* control = dynamic_cast<const TControl*>(Owner())) return control->BiDiMode();
  }
  return bidi_mode_;
}

void TMenu::SetBiDiMode(TBiDiMode v) {
  const bool was_rtl = IsRightToLeft();
  bidi_mode_ = v;
  parent_bidi_mode_ = false;
  if (IsRightToLeft() != was_rtl) UpdateItems();
}

void TMenu::SetParentBiDiMode(bool v) {
  if (v == parent_bidi_mode_) return;
  const bool was_rtl = IsRightToLeft();
  parent_bidi_mode_ = v;
  if (IsRightToLeft() != was_rtl) UpdateItems();
}

void TMenu::ParentBiDiModeChanged() {
  if (parent_bidi_mode_) UpdateItems();
}

void TMenu::MenuChanged(bool /*top_level*/) {}

TMenuItem* TMenu::FindItem(UINT command) {
  std::vector<TMenuItem*> stack{&items_};
  while (!stack.empty()) {
    TMenuItem* item = stack.back();
    stack.pop_back();
    if (item != &items_ && item->command_ == command) return item;
    for (TMenuItem* child : item->items_)
      stack.push_back(child);
  }
  return nullptr;
}

bool TMenu::DispatchCommand(UINT command) {
  TMenuItem* item = FindItem(command);
  if (item == nullptr) return false;
  item->Click();
  return true;
}

bool TMenu::IsShortCut(TShortCut shortcut) {
  if (shortcut == 0) return false;
  TMenuItem* item = items_.FindShortCut(shortcut);
  if (item == nullptr) return false;
  item->Click();
  return true;
}

TMenuItem* TMenu::FindAccelerator(wchar_t key) const {
  for (TMenuItem* item : ShownTopLevel()) {
    if (item->Enabled() && item->IsAccelerator(key)) return item;
  }
  return nullptr;
}

// --- TMainMenu, TPopupMenu -----------------------------------------------------

TMainMenu::TMainMenu(TComponent* owner) : TMenu(owner) {}

TMainMenu::~TMainMenu() {
  // Whoever asked hears of the end first (the form lets go of the menu, the
  // frame it is merged into takes its items out).
  DestroyComponents();
  if (merged_ != nullptr) {
    merged_->shown_in_ = nullptr;
    merged_ = nullptr;
  }
  if (handle_ != nullptr && window_ != nullptr && IsWindow(window_) &&
      GetMenu(window_) == handle_) {
    ::SetMenu(window_, nullptr);
  }
  window_ = nullptr;
}

const TClassInfo& TMainMenu::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TMainMenu>("TMainMenu", TMenu::StaticClassInfo()).Build();
  return info;
}

void TMainMenu::Notification(TComponent* component, TOperation operation) {
  TMenu::Notification(component, operation);
  if (operation != TOperation::opRemove) return;
  if (component == shown_in_) shown_in_ = nullptr;
  if (component == merged_) {
    // The merged menu is going: its entries leave while its popups exist.
    merged_ = nullptr;
    LayoutTopLevel();
    MenuChanged(true);
  }
}

void TMainMenu::MenuChanged(bool top_level) {
  if (IsDestroying() || (Owner() != nullptr && Owner()->IsDestroying())) return;
  if (window_ != nullptr && IsWindow(window_)) SendMessageW(window_, CM_MENUCHANGED, 0, 0);
  if (shown_in_ != nullptr) shown_in_->MenuChanged(top_level);
}

TPopupMenu::TPopupMenu(TComponent* owner) : TMenu(owner) {}

const TClassInfo& TPopupMenu::StaticClassInfo() {
  static const TClassInfo info = TClassBuilder<TPopupMenu>("TPopupMenu", TMenu::StaticClassInfo())
                                     .Event<void(TObject*)>("OnPopup", &TPopupMenu::OnPopup)
                                     .Build();
  return info;
}

namespace {

// A hidden window that owns popup menus while they show: it receives their
// owner-draw messages.
LRESULT CALLBACK PopupListProc(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  try {
    if (HandleMenuDrawMessage(msg, wparam, lparam)) return TRUE;
  } catch (...) {
    HandleCallbackException();
    return TRUE;
  }
  return DefWindowProcW(wnd, msg, wparam, lparam);
}

HWND PopupListWindow() {
  static HWND wnd = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = PopupListProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"FwPopupList";
    RegisterClassW(&wc);
    return CreateWindowExW(0, L"FwPopupList", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
  }();
  return wnd;
}

}  // namespace

void TPopupMenu::Popup(int x, int y) {
  if (OnPopup) OnPopup(this);
  // A window of ours that is active owns the menu (its owner-draw messages
  // go there and it stays active); otherwise a hidden window does, brought
  // to the foreground so the menu closes when the user clicks elsewhere,
  // and the window that was in the foreground gets it back afterwards.
  HWND active = GetActiveWindow();
  HWND owner = active != nullptr && TWinControl::FindControl(active) != nullptr ? active : nullptr;
  HWND foreground = nullptr;
  if (owner == nullptr) {
    owner = PopupListWindow();
    foreground = GetForegroundWindow();
    SetForegroundWindow(owner);
  }
  UINT command = static_cast<UINT>(TrackPopupMenu(
      Handle(),
      (IsRightToLeft() ? TPM_RIGHTALIGN : TPM_LEFTALIGN) | TPM_RETURNCMD | TPM_RIGHTBUTTON, x, y, 0,
      owner, nullptr));
  PostMessageW(owner, WM_NULL, 0, 0);
  if (foreground != nullptr && GetForegroundWindow() == owner) SetForegroundWindow(foreground);
  if (command != 0) DispatchCommand(command);
}

std::wstring ShortCutToText(TShortCut shortcut) {
  WORD key = shortcut & 0xFF;
  if (key == 0) return {};
  std::wstring text;
  if (shortcut & scCtrl) text += L"Ctrl+";
  if (shortcut & scShift) text += L"Shift+";
  if (shortcut & scAlt) text += L"Alt+";
  if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) {
    text += static_cast<wchar_t>(key);
  } else if (key >= VK_F1 && key <= VK_F24) {
    text += L"F" + std::to_wstring(key - VK_F1 + 1);
  } else {
    static const std::pair<WORD, const wchar_t*> kNames[] = {
        {VK_BACK, L"BkSp"},   {VK_TAB, L"Tab"},    {VK_RETURN, L"Enter"}, {VK_ESCAPE, L"Esc"},
        {VK_SPACE, L"Space"}, {VK_PRIOR, L"PgUp"}, {VK_NEXT, L"PgDn"},    {VK_END, L"End"},
        {VK_HOME, L"Home"},   {VK_LEFT, L"Left"},  {VK_UP, L"Up"},        {VK_RIGHT, L"Right"},
        {VK_DOWN, L"Down"},   {VK_INSERT, L"Ins"}, {VK_DELETE, L"Del"},
    };
    const wchar_t* name = nullptr;
    for (const auto& [vk, n] : kNames) {
      if (vk == key) name = n;
    }
    if (name == nullptr) return {};
    text += name;
  }
  return text;
}

bool IsMenuItem(ULONG_PTR item_data) {
  return item_data != 0 && LiveItems().count(reinterpret_cast<const TMenuItem*>(item_data)) != 0;
}

bool HandleMenuDrawMessage(UINT msg, WPARAM /*wparam*/, LPARAM lparam) {
  if (msg == WM_MEASUREITEM) {
    auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lparam);
    if (mis->CtlType != ODT_MENU || !IsMenuItem(mis->itemData)) return false;
    reinterpret_cast<TMenuItem*>(mis->itemData)->DoMeasureItem(*mis);
    return true;
  }
  if (msg == WM_DRAWITEM) {
    auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(lparam);
    if (dis->CtlType != ODT_MENU || !IsMenuItem(dis->itemData)) return false;
    reinterpret_cast<TMenuItem*>(dis->itemData)->DoDrawItem(*dis);
    return true;
  }
  return false;
}

}  // namespace fw
