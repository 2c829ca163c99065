// The menu handles behind TMenu and TMenuItem: built once, then kept up to
// date entry by entry. Every item with children owns its popup; the menu
// owns the handle of the menu itself. The entries of our items sit in a
// popup in the order of the visible children, from its first position (the
// window menu of an MDI frame lists the children after them); in a menu
// bar, after the entries of others at its start (the system menu of a
// maximized MDI child) and in the order ShownTopLevel gives.
#include <algorithm>
#include <vector>

#include "framework/menus.h"

namespace fw {

namespace {

// Command identifiers: WM_COMMAND carries the low 16 bits, and the values
// from 0xF000 are system commands (a maximized MDI child's buttons in the
// frame's menu bar send them as WM_COMMAND). Identifiers of freed items are
// given again, the least recently freed first, so a command still queued
// for a freed item is unlikely to reach its successor at once.
constexpr UINT kFirstCommand = 0x100;
constexpr UINT kLastCommand = 0xEFFF;

class TCommandPool {
 public:
  UINT Acquire() {
    for (UINT tries = 0; tries <= kLastCommand - kFirstCommand; ++tries) {
      const UINT id = next_;
      next_ = next_ == kLastCommand ? kFirstCommand : next_ + 1;
      if (!used_[id]) {
        used_[id] = true;
        return id;
      }
    }
    throw Exception("Too many menu items: no command identifier is free");
  }
  void Release(UINT id) {
    if (id >= kFirstCommand && id <= kLastCommand) used_[id] = false;
  }

 private:
  std::vector<bool> used_ = std::vector<bool>(kLastCommand + 1, false);
  UINT next_ = kFirstCommand;
};

TCommandPool& Commands() {
  static TCommandPool pool;
  return pool;
}

ULONG_PTR EntryData(HMENU menu, int position) {
  MENUITEMINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_DATA;
  return GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &info) ? info.dwItemData : 0;
}

// Detaches every entry (the popups they show are not destroyed).
void RemoveAllEntries(HMENU menu) {
  for (int i = GetMenuItemCount(menu) - 1; i >= 0; --i)
    RemoveMenu(menu, static_cast<UINT>(i), MF_BYPOSITION);
}

// The entries of others at the start of a menu bar, before ours (the
// system menu of a maximized MDI child); the buttons such a child puts at
// the right end (right-justified) are not counted.
int ForeignLead(HMENU menu) {
  const int n = GetMenuItemCount(menu);
  int i = 0;
  for (; i < n; ++i) {
    if (IsMenuItem(EntryData(menu, i))) break;
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE;
    if (GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info) &&
        (info.fType & MFT_RIGHTJUSTIFY) != 0) {
      break;
    }
  }
  return i;
}

bool IsMenuBar(const TMenu& menu) {
  return dynamic_cast<const TMainMenu*>(&menu) != nullptr;
}

}  // namespace

UINT AcquireMenuCommand() {
  return Commands().Acquire();
}

void ReleaseMenuCommand(UINT command) {
  Commands().Release(command);
}

void FillMenuEntry(const TMenuItem& item, const TMenu& menu, bool top_level, TMenuEntryInfo& e) {
  MENUITEMINFOW& mii = e.Info;
  mii = MENUITEMINFOW{};
  mii.cbSize = sizeof(mii);
  mii.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_DATA | MIIM_SUBMENU;
  mii.wID = item.Command();
  // The item itself travels as the item data (owner-drawn items get it in
  // WM_MEASUREITEM and WM_DRAWITEM).
  mii.dwItemData = reinterpret_cast<ULONG_PTR>(&item);
  mii.hSubMenu = item.handle_;
  if (item.IsLine()) {
    mii.fType = MFT_SEPARATOR;
  } else {
    if (!item.Enabled()) mii.fState |= MFS_GRAYED;
    if (item.Checked()) mii.fState |= MFS_CHECKED;
    if (item.Default()) mii.fState |= MFS_DEFAULT;
    if (item.RadioItem()) mii.fType |= MFT_RADIOCHECK;
  }
  if (menu.IsRightToLeft()) {
    mii.fType |= MFT_RIGHTORDER;
    if (top_level) mii.fType |= MFT_RIGHTJUSTIFY;
  }
  if (menu.OwnerDraw()) {
    mii.fType |= MFT_OWNERDRAW;
  } else if (!item.IsLine()) {
    e.Text = item.MenuText();
    mii.fMask |= MIIM_STRING;
    mii.dwTypeData = e.Text.data();
    mii.cch = static_cast<UINT>(e.Text.size());
  }
}

// --- TMenuItem ---------------------------------------------------------------------

HMENU TMenuItem::BuiltHandle() const {
  return menu_ != nullptr ? menu_->handle_ : handle_;
}

bool TMenuItem::InTeardown() const {
  const TMenu* menu = GetParentMenu();
  return menu != nullptr &&
         (menu->IsDestroying() || (menu->Owner() != nullptr && menu->Owner()->IsDestroying()));
}

int TMenuItem::ShownIndex(const TMenuItem* child) const {
  int index = 0;
  for (const TMenuItem* c : items_) {
    if (c == child) break;
    if (c->visible_) ++index;
  }
  return index;
}

void TMenuItem::WriteEntry() {
  TMenu* menu = GetParentMenu();
  if (menu == nullptr || parent_ == nullptr) return;
  if (parent_->menu_ != nullptr) {
    menu->WriteTopLevelEntry(this);
  } else if (parent_->handle_ != nullptr && visible_) {
    TMenuEntryInfo e;
    FillMenuEntry(*this, *menu, false, e);
    SetMenuItemInfoW(parent_->handle_, static_cast<UINT>(parent_->ShownIndex(this)), TRUE, &e.Info);
  }
}

void TMenuItem::EntryChanged() {
  if (InTeardown()) return;
  WriteEntry();
  if (TMenu* menu = GetParentMenu(); menu != nullptr && !IsLoading()) {
    menu->MenuChanged(parent_ != nullptr && parent_->menu_ != nullptr);
  }
}

void TMenuItem::ChildShown(TMenuItem* child) {
  if (menu_ != nullptr) {
    menu_->LayoutTopLevel();
  } else if (handle_ != nullptr) {
    TMenuEntryInfo e;
    FillMenuEntry(*child, *GetParentMenu(), false, e);
    InsertMenuItemW(handle_, static_cast<UINT>(ShownIndex(child)), TRUE, &e.Info);
  }
}

void TMenuItem::ChildHidden(int shown_index) {
  if (menu_ != nullptr) {
    menu_->LayoutTopLevel();
  } else if (handle_ != nullptr) {
    RemoveMenu(handle_, static_cast<UINT>(shown_index), MF_BYPOSITION);
  }
}

void TMenuItem::BuildPopup() {
  if (items_.empty() || handle_ != nullptr) return;
  handle_ = CreatePopupMenu();
  TMenu* menu = GetParentMenu();
  for (TMenuItem* c : items_) {
    c->BuildPopup();
    if (!c->visible_ || menu == nullptr) continue;
    TMenuEntryInfo e;
    FillMenuEntry(*c, *menu, false, e);
    InsertMenuItemW(handle_, static_cast<UINT>(GetMenuItemCount(handle_)), TRUE, &e.Info);
  }
}

void TMenuItem::DestroyPopup() {
  if (handle_ != nullptr) RemoveAllEntries(handle_);
  DestroyChildPopups();
  if (handle_ != nullptr) {
    DestroyMenu(handle_);
    handle_ = nullptr;
  }
}

void TMenuItem::DestroyChildPopups() {
  for (TMenuItem* c : items_)
    c->DestroyPopup();
}

void TMenuItem::UpdateEntries() {
  TMenu* menu = GetParentMenu();
  if (menu == nullptr) return;
  if (menu_ != nullptr) {
    menu_->LayoutTopLevel();
  } else if (handle_ != nullptr) {
    int index = 0;
    for (TMenuItem* c : items_) {
      if (!c->visible_) continue;
      TMenuEntryInfo e;
      FillMenuEntry(*c, *menu, false, e);
      SetMenuItemInfoW(handle_, static_cast<UINT>(index++), TRUE, &e.Info);
    }
  }
  for (TMenuItem* c : items_)
    c->UpdateEntries();
}

void TMenuItem::Add(TMenuItem* item) {
  if (item->parent_ != nullptr) item->parent_->Remove(item);
  items_.push_back(item);
  item->parent_ = this;
  const bool teardown = InTeardown();
  if (teardown) return;
  if (menu_ == nullptr && handle_ == nullptr && parent_ != nullptr &&
      parent_->BuiltHandle() != nullptr) {
    // The first child of a built item: its popup comes (with the new child
    // in it) and its entry shows it.
    BuildPopup();
    WriteEntry();
  } else if (BuiltHandle() != nullptr) {
    item->BuildPopup();
    if (item->visible_) ChildShown(item);
  }
  if (TMenu* menu = GetParentMenu(); menu != nullptr && !item->IsLoading()) {
    menu->MenuChanged(menu_ != nullptr);
  }
}

void TMenuItem::Remove(TMenuItem* item) {
  auto it = std::find(items_.begin(), items_.end(), item);
  if (it == items_.end()) return;
  const bool teardown = InTeardown();
  const bool shown = BuiltHandle() != nullptr && item->visible_;
  const int index = ShownIndex(item);
  TMenu* menu = GetParentMenu();
  items_.erase(it);
  item->parent_ = nullptr;
  // Going with the whole menu: the entries stay until the menu goes (which
  // detaches them all), and only the popup of the item goes now.
  if (shown && !teardown) ChildHidden(index);
  item->DestroyPopup();
  if (teardown) return;
  if (items_.empty() && menu_ == nullptr && handle_ != nullptr) {
    // The last child gone: the item becomes a plain command again.
    DestroyPopup();
    WriteEntry();
  }
  if (menu != nullptr) menu->MenuChanged(menu_ != nullptr);
}

// --- TMenu -------------------------------------------------------------------------

HMENU TMenu::Handle() {
  if (handle_ == nullptr) {
    handle_ = CreateMenuHandle();
    for (TMenuItem* c : items_.items_)
      c->BuildPopup();
    LayoutTopLevel();
  }
  return handle_;
}

void TMenu::DestroyHandle() {
  if (handle_ == nullptr) return;
  if (shown_in_ != nullptr) shown_in_->Unmerge(static_cast<TMainMenu*>(this));
  RemoveAllEntries(handle_);
  items_.DestroyChildPopups();
  DestroyMenu(handle_);
  handle_ = nullptr;
}

std::vector<TMenuItem*> TMenu::ShownTopLevel() const {
  std::vector<TMenuItem*> list;
  for (TMenuItem* c : items_.items_) {
    if (c->visible_) list.push_back(c);
  }
  return list;
}

void TMenu::LayoutTopLevel() {
  if (handle_ != nullptr) {
    // Our entries out, the others' (a maximized MDI child's) stay where
    // they are; then ours in again, in order.
    for (int i = GetMenuItemCount(handle_) - 1; i >= 0; --i) {
      if (IsMenuItem(EntryData(handle_, i)))
        RemoveMenu(handle_, static_cast<UINT>(i), MF_BYPOSITION);
    }
    int position = ForeignLead(handle_);
    const bool bar = IsMenuBar(*this);
    for (TMenuItem* item : ShownTopLevel()) {
      TMenuEntryInfo e;
      FillMenuEntry(*item, *this, bar, e);
      InsertMenuItemW(handle_, static_cast<UINT>(position++), TRUE, &e.Info);
    }
  }
  if (shown_in_ != nullptr) shown_in_->LayoutTopLevel();
}

void TMenu::WriteTopLevelEntry(TMenuItem* item) {
  if (handle_ != nullptr) {
    const std::vector<TMenuItem*> shown = ShownTopLevel();
    auto it = std::find(shown.begin(), shown.end(), item);
    if (it != shown.end()) {
      TMenuEntryInfo e;
      FillMenuEntry(*item, *this, IsMenuBar(*this), e);
      const auto position = static_cast<UINT>(ForeignLead(handle_) + (it - shown.begin()));
      SetMenuItemInfoW(handle_, position, TRUE, &e.Info);
    }
  }
  if (shown_in_ != nullptr) shown_in_->WriteTopLevelEntry(item);
}

void TMenu::UpdateItems() {
  if (handle_ == nullptr) return;
  items_.UpdateEntries();
  MenuChanged(true);
}

// --- TMainMenu: merging --------------------------------------------------------------

std::vector<TMenuItem*> TMainMenu::ShownTopLevel() const {
  std::vector<TMenuItem*> list;
  const std::vector<TMenuItem*> merged =
      merged_ != nullptr ? merged_->ShownTopLevel() : std::vector<TMenuItem*>{};
  auto replaced = [&](const TMenuItem* item) {
    return std::any_of(merged.begin(), merged.end(), [item](const TMenuItem* m) {
      return m->GroupIndex() == item->GroupIndex();
    });
  };
  for (TMenuItem* c : items_.items_) {
    if (c->visible_ && !replaced(c)) list.push_back(c);
  }
  // Each merged item after the last one of lower or equal GroupIndex.
  for (TMenuItem* m : merged) {
    auto at = std::find_if(list.rbegin(), list.rend(), [m](const TMenuItem* c) {
                return c->GroupIndex() <= m->GroupIndex();
              }).base();
    list.insert(at, m);
  }
  return list;
}

void TMainMenu::Merge(TMainMenu* menu) {
  if (menu == this) menu = nullptr;
  if (menu == merged_) return;
  if (merged_ != nullptr) {
    merged_->shown_in_ = nullptr;
    RemoveFreeNotification(merged_);
  }
  merged_ = menu;
  if (menu != nullptr) {
    if (menu->shown_in_ != nullptr) menu->shown_in_->Unmerge(menu);
    menu->shown_in_ = this;
    FreeNotification(menu);
    menu->Handle();  // its items' popups are shown here
  }
  LayoutTopLevel();
  MenuChanged(true);
}

void TMainMenu::Unmerge(TMainMenu* menu) {
  if (menu != nullptr && menu == merged_) Merge(nullptr);
}

}  // namespace fw
