// Menus: trees of TMenuItem under a TMainMenu (a form's menu bar) or a
// TPopupMenu. Owner-drawn items ask OnMeasureItem and OnDrawItem (with a
// canvas on the menu's DC); items carry an image index into the menu's
// image list.
//
// Menu handles are built once and then kept: a change to an item (Caption,
// Enabled, Visible, Checked, ...) rewrites that item's entry with the menu
// API, an item added or removed inserts or removes its entry, so the handle
// of the menu and the popup handle of every item with children stay the
// same for their whole life (a menu open on screen is not destroyed under
// the user, and whoever holds a handle may keep it). After each change a
// main menu sends CM_MENUCHANGED (SendMessage) to the window it is shown on;
// a menu whose owner is being freed changes and tells nothing.
//
//   item->SetEnabled(false);   // EnableMenuItem-like update + CM_MENUCHANGED
//   HMENU file = fileItem->Handle();   // the same before and after
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

#include "framework/component.h"
#include "framework/controls.h"
#include "framework/graphics.h"
#include "framework/imglist.h"

namespace fw {

class TMenu;
class TMainMenu;
struct TMenuEntryInfo;

// A keyboard shortcut: the virtual key in the low byte, scShift, scCtrl and
// scAlt above it (0: none).
using TShortCut = uint16_t;
inline constexpr TShortCut scShift = 0x2000;
inline constexpr TShortCut scCtrl = 0x4000;
inline constexpr TShortCut scAlt = 0x8000;
// "Ctrl+S", "Shift+F5", "Alt+Enter" ...; empty for 0.
std::wstring ShortCutToText(TShortCut shortcut);

using TMenuDrawItemEvent =
    std::function<void(TObject* sender, TCanvas* canvas, RECT rect, bool selected)>;
using TMenuMeasureItemEvent =
    std::function<void(TObject* sender, TCanvas* canvas, int& width, int& height)>;

class TMenuItem : public TComponent {
  FW_CLASS_INFO(TMenuItem)

 public:
  explicit TMenuItem(TComponent* owner);
  ~TMenuItem() override;
  void SetParentComponent(TComponent* parent) override;

  const std::wstring& Caption() const { return caption_; }
  void SetCaption(const std::wstring& v);
  bool Checked() const { return checked_; }
  void SetChecked(bool v);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v);
  bool Visible() const { return visible_; }
  void SetVisible(bool v);
  bool Default() const { return default_; }
  void SetDefault(bool v);
  int32_t ImageIndex() const { return image_index_; }
  void SetImageIndex(int32_t v);
  TShortCut ShortCut() const { return shortcut_; }
  void SetShortCut(TShortCut v);
  // Checked items of a group show a radio mark (items of one GroupIndex).
  bool RadioItem() const { return radio_item_; }
  void SetRadioItem(bool v);
  int32_t GroupIndex() const { return group_index_; }
  void SetGroupIndex(int32_t v);
  bool IsLine() const { return caption_ == L"-"; }
  // The text the menu shows: the caption, a tab and the shortcut's text.
  std::wstring MenuText() const;

  int Count() const { return static_cast<int>(items_.size()); }
  TMenuItem* Items(int index) const { return items_.at(static_cast<size_t>(index)); }
  int MenuIndex() const;
  TMenuItem* Parent() const { return parent_; }
  // Adds an item (owned by its owner; the tree only links it).
  void Add(TMenuItem* item);
  void Remove(TMenuItem* item);
  // The menu that holds this tree; nullptr when none.
  TMenu* GetParentMenu() const;
  // The command identifier sent in WM_COMMAND for this item: unique among
  // the items that exist, below 0xF000 (WM_COMMAND carries 16 bits; system
  // commands start there), and given again once its item is freed.
  UINT Command() const { return command_; }
  // Whether `key` (a character) is this item's accelerator, the letter after
  // a single "&" in the Caption (letter case ignored).
  bool IsAccelerator(wchar_t key) const;
  // The menu of this item's children: the popup menu of an item with
  // children, the whole menu's handle for the root item (Items of a menu);
  // nullptr for an item without children or before the menu was built.
  HMENU Handle();

  virtual void Click();
  TNotifyEvent OnClick;
  // The enabled item of this tree (itself or below, through enabled items)
  // whose ShortCut is `shortcut`; nullptr when none.
  TMenuItem* FindShortCut(TShortCut shortcut);
  TMenuDrawItemEvent OnDrawItem;
  TMenuMeasureItemEvent OnMeasureItem;

  // Owner-drawn items: called by the window that received the messages.
  void DoMeasureItem(MEASUREITEMSTRUCT& mis);
  void DoDrawItem(const DRAWITEMSTRUCT& dis);

 private:
  friend class TMenu;
  friend class TMainMenu;
  friend void FillMenuEntry(const TMenuItem& item, const TMenu& menu, bool top_level,
                            TMenuEntryInfo& entry);
  // Where this item's children live once built: the popup of an item, the
  // menu's handle for the root item; nullptr while not built.
  HMENU BuiltHandle() const;
  // The menu is going with its owner: its entries are not kept up.
  bool InTeardown() const;
  // Writes this item's entry where it is shown.
  void WriteEntry();
  // The entry's attributes changed: rewrite it, then tell the menu.
  void EntryChanged();
  // A child came into view (shown or added) or left it (hidden).
  void ChildShown(TMenuItem* child);
  void ChildHidden(int shown_index);
  // The position of a child's entry: the visible children before it.
  int ShownIndex(const TMenuItem* child) const;
  // Builds this item's popup (when it has children) and the entries in it.
  void BuildPopup();
  // Destroys this item's popup and the ones below; the entries that refer
  // to them are detached first, so each popup is destroyed exactly once.
  void DestroyPopup();
  void DestroyChildPopups();
  // Writes every entry below this item again.
  void UpdateEntries();

  std::wstring caption_;
  bool checked_ = false;
  bool enabled_ = true;
  bool visible_ = true;
  bool default_ = false;
  int32_t image_index_ = -1;
  TShortCut shortcut_ = 0;
  bool radio_item_ = false;
  int32_t group_index_ = 0;
  UINT command_ = 0;
  HMENU handle_ = nullptr;  // the popup of an item with children, once built
  TMenuItem* parent_ = nullptr;
  TMenu* menu_ = nullptr;  // set on the root item only
  std::vector<TMenuItem*> items_;
};

// The attributes of a menu entry for an item, as the menu API takes them.
struct TMenuEntryInfo {
  MENUITEMINFOW Info{};
  std::wstring Text;
};
// Fills the entry of `item`, shown in `menu` (owner draw, right to left);
// `top_level`: an entry of the menu bar itself.
void FillMenuEntry(const TMenuItem& item, const TMenu& menu, bool top_level, TMenuEntryInfo& entry);

class TMenu : public TComponent {
 public:
  explicit TMenu(TComponent* owner);
  ~TMenu() override;
  FW_CLASS_INFO(TMenu)

  TMenuItem* Items() { return &items_; }
  bool OwnerDraw() const { return owner_draw_; }
  void SetOwnerDraw(bool v);
  TImageList* Images() const { return images_; }
  void SetImages(TImageList* images);
  TObject* ImagesObject() const { return images_; }
  void SetImagesObject(TObject* v) { SetImages(dynamic_cast<TImageList*>(v)); }

  // The menu handle, built from the items on first use and kept.
  HMENU Handle();
  bool HandleAllocated() const { return handle_ != nullptr; }
  // Writes every entry again from its item (after a change that concerns
  // them all); the handles stay the same.
  void UpdateItems();
  TMenuItem* FindItem(UINT command);
  // Runs the item's Click; false when no item has that command.
  bool DispatchCommand(UINT command);
  // Runs the Click of the enabled item whose ShortCut is `shortcut`; false
  // when none has it.
  bool IsShortCut(TShortCut shortcut);
  // The first top-level item shown here (merged ones included), enabled,
  // whose accelerator is `key`; nullptr when none.
  TMenuItem* FindAccelerator(wchar_t key) const;

  // Right-to-left menus (entries with MFT_RIGHTORDER, menu bar items with
  // MFT_RIGHTJUSTIFY too). With ParentBiDiMode (the default) the menu
  // follows the control that owns it (its form).
  TBiDiMode BiDiMode() const;
  void SetBiDiMode(TBiDiMode v);
  bool ParentBiDiMode() const { return parent_bidi_mode_; }
  void SetParentBiDiMode(bool v);
  bool IsRightToLeft() const { return BiDiMode() != bdLeftToRight; }
  // The owner's BiDiMode changed (called by the form).
  void ParentBiDiModeChanged();

 protected:
  virtual HMENU CreateMenuHandle() = 0;
  void Notification(TComponent* component, TOperation operation) override;
  void DestroyHandle();
  // The menu's shown contents changed (called after the handle was
  // updated); `top_level`: the entries of the menu itself changed.
  virtual void MenuChanged(bool top_level);
  // Lays the top-level entries out again in the handle (after one of them
  // was shown, hidden, added or removed).
  void LayoutTopLevel();
  // The top-level items shown in the handle, in order.
  virtual std::vector<TMenuItem*> ShownTopLevel() const;
  // Writes a top-level item's entry (here and where this menu is merged).
  void WriteTopLevelEntry(TMenuItem* item);

  friend class TMenuItem;
  friend class TMainMenu;
  TMenuItem items_{nullptr};
  HMENU handle_ = nullptr;
  bool owner_draw_ = false;
  TImageList* images_ = nullptr;
  TBiDiMode bidi_mode_ = bdLeftToRight;
  bool parent_bidi_mode_ = true;
  TMainMenu* shown_in_ = nullptr;  // the menu this one is merged into
};

// A form's menu bar. An MDI frame's menu takes in the menu of its active
// child (Merge): the child's top-level items of a GroupIndex replace the
// frame's items of the same GroupIndex, and the others are placed among
// the frame's items by GroupIndex (after the items of lower or equal
// GroupIndex). The merged items keep their own popups and commands.
class TMainMenu : public TMenu {
 public:
  explicit TMainMenu(TComponent* owner);
  ~TMainMenu() override;
  FW_CLASS_INFO(TMainMenu)
  // The window whose menu bar shows this menu (set by the form), the one
  // CM_MENUCHANGED goes to.
  HWND WindowHandle() const { return window_; }
  void SetWindowHandle(HWND wnd) { window_ = wnd; }

  // Shows `menu`'s items in this menu by GroupIndex (nullptr: this menu's
  // own items only). The merged menu tells this one of its changes.
  void Merge(TMainMenu* menu);
  void Unmerge(TMainMenu* menu);
  TMainMenu* Merged() const { return merged_; }

 protected:
  HMENU CreateMenuHandle() override { return CreateMenu(); }
  void Notification(TComponent* component, TOperation operation) override;
  void MenuChanged(bool top_level) override;
  std::vector<TMenuItem*> ShownTopLevel() const override;

 private:
  HWND window_ = nullptr;
  TMainMenu* merged_ = nullptr;  // the menu shown in this one
};

class TPopupMenu : public TMenu {
 public:
  explicit TPopupMenu(TComponent* owner);
  FW_CLASS_INFO(TPopupMenu)
  // Shows the menu at the screen point and runs the chosen item's Click.
  void Popup(int x, int y);
  TNotifyEvent OnPopup;

 protected:
  HMENU CreateMenuHandle() override { return CreatePopupMenu(); }
};

// Command identifiers of menu items (see TMenuItem::Command).
UINT AcquireMenuCommand();
void ReleaseMenuCommand(UINT command);

// Whether a menu item's data value is one of our items (every item built
// by a TMenu carries its TMenuItem as item data).
bool IsMenuItem(ULONG_PTR item_data);

// Routes the owner-draw messages of menus (itemData is the TMenuItem); true
// when the message was a menu's.
bool HandleMenuDrawMessage(UINT msg, WPARAM wparam, LPARAM lparam);

}  // namespace fw
