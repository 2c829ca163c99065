#include "framework/menus.h"

#include <algorithm>

namespace fw {

namespace {

UINT NextCommand() {
  // Command identifiers are unique in the program (menus share WM_COMMAND).
  static UINT next = 0x100;
  return next++;
}

}  // namespace

// --- TMenuItem -----------------------------------------------------------------

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner), command_(NextCommand()) {}

TMenuItem::~TMenuItem() {
  for (TMenuItem* child : items_)
    child->parent_ = nullptr;
  if (parent_ != nullptr) parent_->Remove(this);
  if (handle_ != nullptr) DestroyMenu(handle_);
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
  caption_ = v;
  Changed();
}
void TMenuItem::SetChecked(bool v) {
  checked_ = v;
  Changed();
}
void TMenuItem::SetEnabled(bool v) {
  enabled_ = v;
  Changed();
}
void TMenuItem::SetVisible(bool v) {
  visible_ = v;
  Changed();
}
void TMenuItem::SetDefault(bool v) {
  default_ = v;
  Changed();
}
void TMenuItem::SetImageIndex(int32_t v) {
  image_index_ = v;
  Changed();
}

int TMenuItem::MenuIndex() const {
  if (parent_ == nullptr) return -1;
  auto& list = parent_->items_;
  return static_cast<int>(std::find(list.begin(), list.end(), this) - list.begin());
}

void TMenuItem::Add(TMenuItem* item) {
  if (item->parent_ != nullptr) item->parent_->Remove(item);
  items_.push_back(item);
  item->parent_ = this;
  Changed();
}

void TMenuItem::Remove(TMenuItem* item) {
  items_.erase(std::remove(items_.begin(), items_.end(), item), items_.end());
  item->parent_ = nullptr;
  Changed();
}

TMenu* TMenuItem::GetParentMenu() const {
  const TMenuItem* root = this;
  while (root->parent_ != nullptr)
    root = root->parent_;
  return root->menu_;
}

void TMenuItem::Changed() {
  if (TMenu* menu = GetParentMenu(); menu != nullptr && !IsLoading()) menu->RebuildHandle();
}

void TMenuItem::Click() {
  if (OnClick) OnClick(this);
}

void TMenuItem::DestroyHandles() {
  for (TMenuItem* child : items_)
    child->DestroyHandles();
  handle_ = nullptr;  // destroyed with the menu that holds it
}

void TMenuItem::BuildInto(HMENU menu, bool owner_draw) {
  for (TMenuItem* item : items_) {
    if (!item->visible_) continue;
    UINT flags = 0;
    UINT_PTR id = item->command_;
    if (item->IsLine()) {
      flags |= MF_SEPARATOR;
    } else {
      if (!item->enabled_) flags |= MF_GRAYED;
      if (item->checked_) flags |= MF_CHECKED;
    }
    if (!item->items_.empty()) {
      item->handle_ = CreatePopupMenu();
      item->BuildInto(item->handle_, owner_draw);
      flags |= MF_POPUP;
      id = reinterpret_cast<UINT_PTR>(item->handle_);
    }
    if (owner_draw) {
      // The item itself travels as the item data of WM_MEASUREITEM/WM_DRAWITEM.
      AppendMenuW(menu, flags | MF_OWNERDRAW, id, reinterpret_cast<LPCWSTR>(item));
    } else {
      AppendMenuW(menu, flags | (item->IsLine() ? 0 : MF_STRING), id,
                  item->IsLine() ? nullptr : item->caption_.c_str());
    }
    if (item->default_)
      SetMenuDefaultItem(menu, static_cast<UINT>(GetMenuItemCount(menu) - 1), TRUE);
  }
}

void TMenuItem::DoMeasureItem(MEASUREITEMSTRUCT& mis) {
  HDC dc = GetDC(nullptr);
  TCanvas canvas;
  canvas.SetHandle(dc);
  NONCLIENTMETRICSW ncm{};
  ncm.cbSize = sizeof(ncm);
  int width = 0;
  int height = GetSystemMetrics(SM_CYMENU);
  if (IsLine()) {
    height = 8;
  } else {
    SIZE s = canvas.TextExtent(caption_);
    width = s.cx + 32;
  }
  if (OnMeasureItem) OnMeasureItem(this, &canvas, width, height);
  canvas.SetHandle(nullptr);
  ReleaseDC(nullptr, dc);
  mis.itemWidth = static_cast<UINT>(std::max(width, 0));
  mis.itemHeight = static_cast<UINT>(std::max(height, 0));
}

void TMenuItem::DoDrawItem(const DRAWITEMSTRUCT& dis) {
  TCanvas canvas;
  canvas.SetHandle(dis.hDC);
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
    }
  }
  canvas.SetHandle(nullptr);
}

// --- TMenu ---------------------------------------------------------------------

TMenu::TMenu(TComponent* owner) : TComponent(owner) {
  items_.menu_ = this;
}

TMenu::~TMenu() {
  items_.menu_ = nullptr;
  DestroyHandle();
}

const TClassInfo& TMenu::StaticClassInfo() {
  static const TClassInfo info = TClassBuilder<TMenu>("TMenu", TComponent::StaticClassInfo())
                                     .Bool("OwnerDraw", &TMenu::OwnerDraw, &TMenu::SetOwnerDraw)
                                     .Obj("Images", &TMenu::ImagesObject, &TMenu::SetImagesObject)
                                     .Build();
  return info;
}

void TMenu::SetOwnerDraw(bool v) {
  owner_draw_ = v;
  if (handle_ != nullptr) RebuildHandle();
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

void TMenu::DestroyHandle() {
  if (handle_ != nullptr) {
    items_.DestroyHandles();
    DestroyMenu(handle_);
    handle_ = nullptr;
  }
}

HMENU TMenu::Handle() {
  if (handle_ == nullptr) {
    handle_ = CreateMenuHandle();
    items_.BuildInto(handle_, owner_draw_);
  }
  return handle_;
}

void TMenu::RebuildHandle() {
  if (handle_ == nullptr) return;
  // Empties the existing handle and fills it again, so windows that show it
  // keep the same handle.
  while (GetMenuItemCount(handle_) > 0)
    DeleteMenu(handle_, 0, MF_BYPOSITION);
  items_.DestroyHandles();
  items_.BuildInto(handle_, owner_draw_);
}

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

// --- TMainMenu, TPopupMenu -----------------------------------------------------

TMainMenu::TMainMenu(TComponent* owner) : TMenu(owner) {}

const TClassInfo& TMainMenu::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TMainMenu>("TMainMenu", TMenu::StaticClassInfo()).Build();
  return info;
}

void TMainMenu::RebuildHandle() {
  TMenu::RebuildHandle();
  if (window_ != nullptr && IsWindow(window_)) DrawMenuBar(window_);
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
  if (HandleMenuDrawMessage(msg, wparam, lparam)) return TRUE;
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
  RebuildHandle();
  HWND owner = PopupListWindow();
  SetForegroundWindow(owner);
  UINT command = static_cast<UINT>(TrackPopupMenu(
      Handle(), TPM_LEFTALIGN | TPM_RETURNCMD | TPM_RIGHTBUTTON, x, y, 0, owner, nullptr));
  PostMessageW(owner, WM_NULL, 0, 0);
  if (command != 0) DispatchCommand(command);
}

bool HandleMenuDrawMessage(UINT msg, WPARAM /*wparam*/, LPARAM lparam) {
  if (msg == WM_MEASUREITEM) {
    auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lparam);
    if (mis->CtlType != ODT_MENU || mis->itemData == 0) return false;
    reinterpret_cast<TMenuItem*>(mis->itemData)->DoMeasureItem(*mis);
    return true;
  }
  if (msg == WM_DRAWITEM) {
    auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(lparam);
    if (dis->CtlType != ODT_MENU || dis->itemData == 0) return false;
    reinterpret_cast<TMenuItem*>(dis->itemData)->DoDrawItem(*dis);
    return true;
  }
  return false;
}

}  // namespace fw
