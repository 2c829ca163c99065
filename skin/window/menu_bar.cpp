// The skinned menu bar: its items read from the framework menu or the menu
// handle, the band painted from the skin, hit tests and drop-downs.
#include "skin/window/menu_bar.h"

#include <algorithm>
#include <cstring>

#include "framework/dc.h"
#include "skin/controls/skin_manage.h"
#include "skin/data/skin_draw.h"
#include "skin/data/win/skin_text.h"
#include "skin/window/menu_bar_layout.h"
#include "skin/window/menu_hook.h"
#include "skin/window/skin_surface.h"

namespace skin::win {

namespace {

// Clears a flag however the scope is left.
class TFlagScope {
 public:
  explicit TFlagScope(bool& flag) : flag_(flag) { flag_ = true; }
  ~TFlagScope() { flag_ = false; }
  TFlagScope(const TFlagScope&) = delete;
  TFlagScope& operator=(const TFlagScope&) = delete;

 private:
  bool& flag_;
};

}  // namespace

// --- TMenuBtn -------------------------------------------------------------------

void TMenuBtn::Paint() {
  if (Bar.Background.Empty() || Rect.right <= Rect.left || Rect.bottom <= Rect.top) return;
  fw::TWindowDC dc(Form.Handle);
  if (dc.Get() == nullptr) return;
  fw::TCanvas& canvas = Form.WindowCanvas;
  canvas.SetHandle(dc.Get());
  // The band behind the item as the last full paint left it, then the frame
  // of a hot or pressed item, then the caption.
  BitBlt(dc.Get(), Rect.left, Rect.top, Rect.right - Rect.left, Rect.bottom - Rect.top,
         Bar.Background.Canvas()->Handle(), Rect.left - Bar.BarRect.left,
         Rect.top - Bar.BarRect.top, SRCCOPY);
  if (MouseState == 2 || MouseState == 3) {
    canvas.Brush()->SetColor(Form.Data().ButtonHilightColour);
    canvas.FrameRect(Rect);
  }
  Bar.DrawItemCaption(dc.Get(), *this, Rect);
  canvas.SetHandle(nullptr);
}

// --- TWinSkinMenu ---------------------------------------------------------------

TWinSkinMenu::TWinSkinMenu(TWinSkinForm& form) : fw::TComponent(&form), Form(form) {}

TWinSkinMenu::~TWinSkinMenu() {
  // A window destroyed while its drop-down is open takes its band along:
  // the menu loop must not come back to it.
  ForgetMenuLoopBar(this);
  ClearItems();
  SetMenuFramework(nullptr);
}

const fw::TClassInfo& TWinSkinMenu::StaticClassInfo() {
  static const fw::TClassInfo info =
      fw::TClassBuilder<TWinSkinMenu>("TWinSkinMenu", fw::TComponent::StaticClassInfo()).Build();
  return info;
}

void TWinSkinMenu::Notification(fw::TComponent* component, fw::TOperation operation) {
  fw::TComponent::Notification(component, operation);
  if (operation != fw::TOperation::opRemove || component != Menu) return;
  // The menu went with its items and their drop-downs.
  Menu = nullptr;
  for (auto& item : Items) {
    item->MenuItem = nullptr;
    item->SubMenu = nullptr;
  }
}

void TWinSkinMenu::SetMenuFramework(fw::TMainMenu* menu) {
  if (Menu == menu) return;
  if (Menu != nullptr) Menu->RemoveFreeNotification(this);
  Menu = menu;
  if (Menu != nullptr) Menu->FreeNotification(this);
}

void TWinSkinMenu::ClearItems() {
  for (auto& item : Items) {
    if (Form.HotObject == item.get()) Form.HotObject = nullptr;
  }
  Items.clear();
}

void TWinSkinMenu::ReadFrameworkMenu() {
  if (HMENU menu = GetMenu(Form.Handle)) MenuHandle = menu;
  if (MenuHandle == nullptr || Form.Form == nullptr) return;
  SetMenuFramework(Form.Form->Menu());
  if (Menu == nullptr) return;

  ClearItems();
  // The entries the menu shows, in order, each with the framework item it
  // carries: the form's own items and, in an MDI frame, those merged in
  // from the active child. The form's items the menu does not show (hidden,
  // or replaced by a merged one) keep their place on the band, hidden.
  std::vector<fw::TMenuItem*> shown;
  const int count = GetMenuItemCount(MenuHandle);
  for (int i = 0; i < count; ++i) {
    MENUITEMINFOW mii{};
    mii.cbSize = sizeof(mii);
    mii.fMask = MIIM_DATA;
    const bool read = GetMenuItemInfoW(MenuHandle, static_cast<UINT>(i), TRUE, &mii) != FALSE;
    shown.push_back(read && fw::IsMenuItem(mii.dwItemData)
                        ? reinterpret_cast<fw::TMenuItem*>(mii.dwItemData)
                        : nullptr);
  }
  size_t next = 0;  // the first shown entry not on the band yet
  auto add_shown_until = [&](size_t end) {
    for (; next < end; ++next) {
      if (shown[next] != nullptr) {
        AddFrameworkItem(shown[next], true);
      } else {
        Items.push_back(EntryOfHandle(static_cast<int>(next), false));
      }
    }
  };
  fw::TMenuItem* root = Menu->Items();
  for (int i = 0; i < root->Count(); ++i) {
    fw::TMenuItem* own = root->Items(i);
    const auto at = std::find(shown.begin() + static_cast<ptrdiff_t>(next), shown.end(), own);
    if (at == shown.end()) {
      AddFrameworkItem(own, false);
      continue;
    }
    add_shown_until(static_cast<size_t>(at - shown.begin()));
    AddFrameworkItem(own, true);
    ++next;
  }
  add_shown_until(shown.size());
  for (size_t i = 0; i < Items.size(); ++i)
    Items[i]->Index = static_cast<int32_t>(i);
  ItemCount = static_cast<int32_t>(Items.size());
  RightToLeft = ReadRightToLeft();
  read_entries_ = EntriesOf(MenuHandle);
  SetMenu(Form.Handle, nullptr);
}

void TWinSkinMenu::AddFrameworkItem(fw::TMenuItem* source, bool shown) {
  auto item = std::make_unique<TMenuBtn>(Form, *this);
  item->Visible = shown;
  item->Enabled = source->Enabled();
  item->Command = source->Command();
  item->Caption = source->Caption();
  item->MenuItem = source;
  item->SubMenu = source->Count() > 0 ? source->Handle() : nullptr;
  Items.push_back(std::move(item));
}

void TWinSkinMenu::ReadMenuMerged() {
  if (HMENU menu = GetMenu(Form.Handle)) MenuHandle = menu;
  ReadFromHandle(false);
}

void TWinSkinMenu::ReadMenuHandle(HMENU menu) {
  if (menu == nullptr) menu = GetMenu(Form.Handle);
  if (menu != nullptr) MenuHandle = menu;
  ReadFromHandle(true);
}

void TWinSkinMenu::ReadFromHandle(bool by_command) {
  if (MenuHandle == nullptr) return;
  ClearItems();
  ItemCount = GetMenuItemCount(MenuHandle);
  if (ItemCount <= 0) return;
  for (int i = 0; i < ItemCount; ++i)
    Items.push_back(EntryOfHandle(i, by_command));
  RightToLeft = ReadRightToLeft();
  read_entries_ = EntriesOf(MenuHandle);
  SetMenu(Form.Handle, nullptr);
}

std::vector<TWinSkinMenu::TEntryMark> TWinSkinMenu::EntriesOf(HMENU menu) {
  std::vector<TEntryMark> entries;
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    wchar_t text[80] = {};
    MENUITEMINFOW mii{};
    mii.cbSize = sizeof(mii);
    mii.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_DATA | MIIM_STRING;
    mii.dwTypeData = text;
    mii.cch = 80;
    if (GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &mii) == FALSE) mii = {};
    entries.push_back(
        {mii.fType, mii.fState, mii.wID, mii.hSubMenu, mii.dwItemData, std::wstring(text)});
  }
  return entries;
}

bool TWinSkinMenu::ShowsMenu(HMENU menu) const {
  return menu == MenuHandle && EntriesOf(menu) == read_entries_;
}

std::unique_ptr<TMenuBtn> TWinSkinMenu::EntryOfHandle(int i, bool by_command) {
  wchar_t text[80] = {};
  MENUITEMINFOW mii{};
  mii.cbSize = sizeof(mii);
  mii.fMask = MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_TYPE;
  mii.dwTypeData = text;
  mii.cch = 80;
  GetMenuItemInfoW(MenuHandle, static_cast<UINT>(i), TRUE, &mii);
  auto item = std::make_unique<TMenuBtn>(Form, *this);
  item->Index = i;
  item->SubMenu = mii.hSubMenu;
  item->Enabled = (mii.fState & (MFS_GRAYED | MFS_DISABLED)) == 0;
  item->Visible = true;
  item->Command = mii.wID;
  item->Caption = (mii.fType & (MFT_BITMAP | MFT_SEPARATOR)) != 0 ? L"" : text;
  // An owner-drawn entry has no text: the framework item in its place, or
  // the top-level one of the same command, gives what it shows.
  fw::TMenuItem* source = nullptr;
  if (item->Caption.empty() && Menu != nullptr) {
    fw::TMenuItem* root = Menu->Items();
    if (!by_command && i < root->Count()) source = root->Items(i);
    for (int j = 0; by_command && j < root->Count(); ++j) {
      if (root->Items(j)->Command() == mii.wID) source = root->Items(j);
    }
  }
  if (source != nullptr) {
    item->Caption = source->Caption();
    item->Enabled = source->Enabled();
    item->Command = by_command ? source->Command() : GetMenuItemID(MenuHandle, i);
    item->MenuItem = source;
    item->SubMenu = source->Count() > 0 ? source->Handle() : nullptr;
  }
  return item;
}

bool TWinSkinMenu::ReadRightToLeft() const {
  if (Form.RightToLeft) return true;
  // A right-to-left menu marks its entries (the framework does so for a
  // menu whose BiDiMode is right to left).
  if (MenuHandle == nullptr || GetMenuItemCount(MenuHandle) <= 0) return false;
  MENUITEMINFOW mii{};
  mii.cbSize = sizeof(mii);
  mii.fMask = MIIM_FTYPE;
  return GetMenuItemInfoW(MenuHandle, 0, TRUE, &mii) && (mii.fType & MFT_RIGHTORDER) != 0;
}

void TWinSkinMenu::DrawItemCaption(HDC dc, const TMenuBtn& item, const RECT& cell) {
  if (item.Caption.empty()) return;
  fw::TSavedDC saved(dc);
  SelectObject(dc, MenuFont());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, item.Enabled ? fw::ColorToRGB(Form.Data().MenuBarTextColour)
                                : GetSysColor(COLOR_BTNSHADOW));
  // Measured on one line, centred both ways; "&" underlines the accelerator.
  RECT measured = cell;
  SkinDrawText(dc, item.Caption, measured, DT_CALCRECT | DT_SINGLELINE);
  const int text_height = measured.bottom - measured.top;
  RECT r = cell;
  r.top = cell.top + (cell.bottom - cell.top - text_height) / 2;
  r.bottom = r.top + text_height;
  SkinDrawText(dc, item.Caption, r, DT_SINGLELINE | DT_EXPANDTABS | DT_CENTER);
}

void TWinSkinMenu::Paint(HDC dc, const RECT& band) {
  BarRect = band;
  const int w = band.right - band.left;
  const int h = band.bottom - band.top;
  if (w <= 0 || h <= 0) return;
  TFlagScope painting(Painting);
  fw::TBitmap& scratch = ScratchBitmap();
  if (scratch.Width() != w || scratch.Height() != h) scratch.SetSize(w, h);
  HDC surface = scratch.Canvas()->Handle();

  const skin::TSkinData& data = Form.Data();
  const skin::TDataSkinObject* bar =
      data.MenuBar && !data.MenuBar->Bitmap.Empty() ? data.MenuBar.get() : nullptr;
  PaintPixels(surface, RECT{0, 0, w, h}, [&](skin::TPixels& s, const skin::TRect& target) {
    if (bar == nullptr) {
      s.FillRect(target, fw::ColorToRGB(data.MenubarColour));
      return;
    }
    // Two frames stacked: active, inactive.
    const int frame = Form.Active ? 1 : 2;
    if (bar->Tile == 1) {
      skin::DrawSkinElement(s, target, bar->Bitmap, true, false, false, 2, frame, bar->Margins);
    } else {
      skin::DrawSkinThreePart(s, target, bar->Bitmap, true, false, 2, frame, bar->Margins);
    }
  });

  // The band without captions, for repainting one item later.
  if (Background.Width() != w || Background.Height() != h) Background.SetSize(w, h);
  GdiFlush();
  std::memcpy(Background.Pixels(), scratch.Pixels(), static_cast<size_t>(w) * h * 4);

  std::vector<skin::TMenuBarItemInput> inputs;
  inputs.reserve(Items.size());
  {
    fw::TSelectObject font(surface, MenuFont());
    for (const auto& item : Items) {
      SIZE size{};
      if (item->Visible && !item->Caption.empty()) {
        GetTextExtentPoint32W(surface, item->Caption.c_str(),
                              static_cast<int>(item->Caption.size()), &size);
      }
      inputs.push_back({item->Visible, size.cx});
    }
  }
  const bool rtl = RightToLeft;
  const auto places =
      skin::LayoutMenuBar(ToSkinRect(band), skin::MenuBarStartX(bar, rtl, w), rtl, inputs);
  for (size_t i = 0; i < Items.size(); ++i) {
    TMenuBtn& item = *Items[i];
    item.Rect = ToRECT(places[i].Rect);
    if (item.Visible) DrawItemCaption(surface, item, ToRECT(places[i].Cell));
  }
  // An MDI frame whose active child is maximized: the child's buttons.
  Form.PaintMDIButtons(surface);
  BitBlt(dc, band.left, band.top, w, h, surface, 0, 0, SRCCOPY);
}

TMenuBtn* TWinSkinMenu::HitTest(POINT p) const {
  for (const auto& item : Items) {
    if (!item->Caption.empty() && PtInRect(&item->Rect, p)) return item.get();
  }
  return nullptr;
}

HMENU TWinSkinMenu::DropDownOf(const TMenuBtn& item) const {
  if (item.MenuItem == nullptr) return item.SubMenu;
  return item.MenuItem->Count() > 0 ? item.MenuItem->Handle() : nullptr;
}

bool TWinSkinMenu::OpenMenu(TMenuBtn& item) {
  PostMessageW(Form.Handle, WM_COMMAND, item.Command, 0);
  item.SubMenu = DropDownOf(item);
  if (item.SubMenu == nullptr) return false;
  if (item.MenuItem != nullptr) {
    HideRedundantSeparators(item.MenuItem);
    item.SubMenu = DropDownOf(item);  // hiding entries may have made the menu again
    if (item.SubMenu == nullptr) return false;
  }
  // What the drop-down needs of the item, read now: the menu loop may read
  // the band again (a command that changes the menu) and free the item.
  const int32_t index = item.Index;
  const HMENU drop_down = item.SubMenu;
  const bool enabled = item.Enabled;
  const RECT rect = item.Rect;

  TMenuLoopState& loop = MenuLoop();
  loop.Bar = this;
  loop.CurrentIndex = index;
  GetWindowRect(Form.Handle, &Form.WindowRect);
  // Windows NT 4.0 draws the drop-down's entries itself.
  const bool nt4 = IsWinNT() && (WinVersion() & 0xFF) == 4;
  if (!nt4) MarkOwnerDraw(drop_down);
  Form.MenuLoopActive = true;
  TSkinManage* manager = TSkinManage::Instance();
  if (manager != nullptr) {
    // The drop-down's window is skinned as one opened from a menu bar.
    manager->SetMenuSource(1);
    manager->SetMenuBarPopups(true);
  }
  Form.OpenSubmenu = drop_down;
  InstallMenuHook();
  if (enabled) {
    // Below the item: from its left edge, or for a right-to-left band
    // ending at its right edge.
    const UINT align = RightToLeft ? TPM_RIGHTALIGN : TPM_LEFTALIGN;
    const int x = (RightToLeft ? rect.right : rect.left) + Form.WindowRect.left;
    TrackPopupMenu(drop_down, TPM_NONOTIFY | TPM_RIGHTBUTTON | align, x,
                   rect.bottom + Form.WindowRect.top, 0, Form.Handle, nullptr);
  }
  // The window may have been destroyed while its drop-down was open; this
  // band went with it and only the loop's own state is left to reset.
  const bool alive = loop.Bar == this;
  const int32_t next = loop.SwitchTo;
  RemoveMenuHook();
  if (!alive) return true;
  Form.MenuLoopActive = false;
  // The manager clears both when it releases the last popup skinner; a
  // drop-down that was never skinned must not leave them set for the next
  // ordinary popup menu.
  if (manager != nullptr && manager->PopupCount() == 0) {
    manager->SetMenuBarPopups(false);
    manager->SetMenuSource(0);
  }
  // The arrow keys or the mouse moved on: that item opens as a click on it
  // would, once this click's handling is over.
  if (next >= 0 && next < static_cast<int32_t>(Items.size())) OpenMenuButton(*Items[next]);
  return true;
}

void TWinSkinMenu::OpenMenuButton(TMenuBtn& item) {
  RECT wr;
  GetWindowRect(Form.Handle, &wr);
  const int x = item.Rect.left + wr.left + 1;
  const int y = item.Rect.top + wr.top + 1;
  PostMessageW(Form.Handle, WM_NCLBUTTONDOWN, HTCLIENT,
               MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)));
}

std::vector<skin::TMenuBarKey> TWinSkinMenu::Keys() const {
  std::vector<skin::TMenuBarKey> keys;
  keys.reserve(Items.size());
  for (const auto& item : Items)
    keys.push_back({item->Caption, item->Enabled, item->Visible});
  return keys;
}

TMenuBtn* TWinSkinMenu::FindAccelerator(wchar_t key) {
  const int i = skin::FindAccelerator(Keys(), key);
  return i >= 0 ? Items[static_cast<size_t>(i)].get() : nullptr;
}

TMenuBtn* TWinSkinMenu::NextMenuButton(bool forward) {
  const int i = skin::NextMenuButton(Keys(), MenuLoop().CurrentIndex, forward);
  return i >= 0 ? Items[static_cast<size_t>(i)].get() : nullptr;
}

bool TWinSkinMenu::DialogChar(wchar_t key) {
  skin::TKeyboardState keys;
  keys.Alt = GetKeyState(VK_MENU) < 0;
  keys.Ctrl = GetKeyState(VK_CONTROL) < 0;
  keys.Shift = GetKeyState(VK_SHIFT) < 0;
  const int i = skin::DialogCharItem(Keys(), key, keys);
  if (i < 0) return false;
  OpenMenuButton(*Items[static_cast<size_t>(i)]);
  return true;
}

bool TWinSkinMenu::KeyMenu(WPARAM command, LPARAM key) {
  skin::TKeyMenuInput input;
  input.Command = static_cast<uint32_t>(command);
  input.Key = static_cast<uint32_t>(key);
  input.MenuLoopActive = Form.MenuLoopActive;
  input.Captured = GetCapture() != nullptr;
  const skin::TKeyMenuAnswer answer = skin::KeyMenuRule(input, Keys());
  if (answer.Open >= 0) OpenMenuButton(*Items[static_cast<size_t>(answer.Open)]);
  return answer.Handled;
}

void TWinSkinMenu::HideRedundantSeparators(fw::TMenuItem* item) {
  if (item == nullptr) return;
  std::vector<skin::TDropDownEntry> entries;
  entries.reserve(static_cast<size_t>(item->Count()));
  for (int i = 0; i < item->Count(); ++i) {
    entries.push_back({item->Items(i)->IsLine(), item->Items(i)->Visible()});
  }
  const std::vector<bool> visible = skin::HideRedundantSeparators(entries);
  TFlagScope hiding(hiding_separators_);
  for (int i = 0; i < item->Count() && i < static_cast<int>(visible.size()); ++i) {
    fw::TMenuItem* child = item->Items(i);
    if (child->Visible() != visible[static_cast<size_t>(i)]) {
      child->SetVisible(visible[static_cast<size_t>(i)]);
    }
  }
}

void TWinSkinMenu::MarkOwnerDraw(HMENU menu) {
  // Menus made again since an earlier drop-down (a framework menu after a
  // change) are gone with their marks.
  std::erase_if(marked_, [](const TMarkedEntry& e) { return !IsMenu(e.Menu); });
  MarkEntries(menu);
}

void TWinSkinMenu::MarkEntries(HMENU menu) {
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    MENUITEMINFOW mii{};
    mii.cbSize = sizeof(mii);
    mii.fMask = MIIM_FTYPE | MIIM_SUBMENU | MIIM_ID;
    if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &mii)) continue;
    if ((mii.fType & MFT_OWNERDRAW) == 0) {
      // Only the type changes: the entry keeps its text, which the
      // controller measures and draws.
      const UINT id = mii.wID;
      mii.fMask = MIIM_FTYPE;
      mii.fType |= MFT_OWNERDRAW;
      if (SetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &mii)) {
        marked_.push_back({menu, static_cast<UINT>(i), id});
      }
    }
    if (mii.hSubMenu != nullptr) MarkEntries(mii.hSubMenu);
  }
}

void TWinSkinMenu::RestoreMenu() {
  // The entries this band made owner-drawn are drawn by the system again.
  for (const TMarkedEntry& e : marked_) {
    if (!IsMenu(e.Menu)) continue;
    MENUITEMINFOW mii{};
    mii.cbSize = sizeof(mii);
    mii.fMask = MIIM_FTYPE | MIIM_ID;
    if (!GetMenuItemInfoW(e.Menu, e.Position, TRUE, &mii) || mii.wID != e.Id) continue;
    mii.fMask = MIIM_FTYPE;
    mii.fType &= ~static_cast<UINT>(MFT_OWNERDRAW);
    SetMenuItemInfoW(e.Menu, e.Position, TRUE, &mii);
  }
  marked_.clear();
  if (MenuHandle != nullptr && IsMenu(MenuHandle)) SetMenu(Form.Handle, MenuHandle);
}

void TWinSkinMenu::DropMenu() {
  // A framework form's menu belongs to its menu component.
  if (Form.Form == nullptr && MenuHandle != nullptr && IsMenu(MenuHandle) &&
      GetMenu(Form.Handle) != MenuHandle) {
    DestroyMenu(MenuHandle);
  }
  MenuHandle = nullptr;
}

}  // namespace skin::win
