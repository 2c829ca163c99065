// TWinSkinMenu: the menu bar of a skinned window. The window's menu is
// detached (SetMenu(window, 0)) and its top-level items are painted in the
// menu band below the caption; each item is a TMenuBtn, a clickable
// non-client object that opens its drop-down with TrackPopupMenu. While a
// drop-down is open a message-filter hook lets the arrow keys and the mouse
// move to the neighbouring drop-down, as on a native menu bar; Alt+letter
// opens an item from the keyboard.
//
//   auto* bar = new TWinSkinMenu(controller);    // owned by the controller
//   bar->ReadFrameworkMenu();                    // a raw window: ReadMenuHandle(GetMenu(wnd))
//   bar->Paint(dc, band);                        // the frame painter, band in window coordinates
//   if (TMenuBtn* item = bar->HitTest(p)) bar->OpenMenu(*item);   // p in window coordinates
//
// Skinning switched off: RestoreMenu() gives the window its menu back.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/component.h"
#include "framework/forms.h"
#include "framework/graphics.h"
#include "framework/menus.h"
#include "skin/window/menu_keyboard.h"
#include "skin/window/win_skin_form.h"

namespace skin::win {

class TWinSkinMenu;

// One top-level item of the menu bar.
class TMenuBtn : public TNCObject {
 public:
  TMenuBtn(TWinSkinForm& form, TWinSkinMenu& bar) : TNCObject(form), Bar(bar) {}
  // Repaints the item straight on the window in its MouseState: the band's
  // background, a frame while hot or pressed, the caption.
  void Paint() override;

  TWinSkinMenu& Bar;
  fw::TMenuItem* MenuItem = nullptr;  // the framework item, or nullptr
  int32_t Index = 0;                  // position in the bar's items
  std::wstring Caption;
  bool Enabled = true;
  HMENU SubMenu = nullptr;  // the drop-down; nullptr for an item without one
  UINT Command = 0;
};

class TWinSkinMenu : public fw::TComponent {
  FW_CLASS_INFO(TWinSkinMenu)

 public:
  explicit TWinSkinMenu(TWinSkinForm& form);
  ~TWinSkinMenu() override;

  // Items from the form's framework main menu, in the order its handle shows
  // them (items merged in from an MDI child included); the window's menu is
  // detached.
  void ReadFrameworkMenu();
  // Items from the window's menu handle (owner-drawn entries completed from
  // the framework menu by position); the window's menu is detached.
  void ReadMenuMerged();
  // Items from `menu` (the window's menu when it is 0), owner-drawn entries
  // completed from the framework menu's top-level item of the same command;
  // the window's menu is detached. A raw window's menu is read this way.
  void ReadMenuHandle(HMENU menu);
  // Paints the band into `band` (window coordinates) of `dc`.
  void Paint(HDC dc, const RECT& band);
  // The first item with a caption whose rectangle holds `p` (window
  // coordinates); nullptr when none.
  TMenuBtn* HitTest(POINT p) const;
  // Posts the item's command, then shows its drop-down below it (aligned
  // with the item's left edge, or its right edge right to left) and returns
  // when it closes; false for an item without a drop-down. When the arrow
  // keys or the mouse moved on to another item, that item opens next.
  bool OpenMenu(TMenuBtn& item);
  // Opens an item as a click on it would, once the message loop gets to it.
  void OpenMenuButton(TMenuBtn& item);
  // The first enabled, visible item whose caption has `key` as its
  // accelerator; nullptr when none.
  TMenuBtn* FindAccelerator(wchar_t key);
  // The item the arrow keys move to from the open one, wrapping at both ends.
  TMenuBtn* NextMenuButton(bool forward);
  // The framework item's children show no separator first, last or twice in
  // a row (their Visible flags change).
  void HideRedundantSeparators(fw::TMenuItem* item);
  // Every entry of `menu`, at any depth, becomes owner-drawn: the window's
  // controller measures and paints it from the skin. RestoreMenu undoes it.
  void MarkOwnerDraw(HMENU menu);
  // CM_DIALOGCHAR: Alt+letter opens the item of that accelerator; true when
  // it did (the form's controls do not get the character).
  bool DialogChar(wchar_t key);
  // SC_KEYMENU: true when the command is answered here (no native menu mode).
  bool KeyMenu(WPARAM command, LPARAM key);
  // WM_MENUSELECT of the window while one of its drop-downs is open.
  void MenuSelect(WPARAM wparam, LPARAM lparam);
  // The items as the keyboard rules read them.
  std::vector<skin::TMenuBarKey> Keys() const;
  // True while separators are being hidden: the menu changes this causes
  // are the drop-down's, not the band's.
  bool HidingSeparators() const { return hiding_separators_; }
  // Whether `menu` is the menu the band read last and still holds the
  // entries it held then (a menu changed in place keeps its handle).
  bool ShowsMenu(HMENU menu) const;
  // Skinning switched off: the window shows its own menu again.
  void RestoreMenu();
  // The window is being destroyed: a raw window's detached menu is destroyed
  // with it, as the menu it showed would have been.
  void DropMenu();

  // Draws an item's caption centred in `cell` of `dc`.
  void DrawItemCaption(HDC dc, const TMenuBtn& item, const RECT& cell);

  std::vector<std::unique_ptr<TMenuBtn>> Items;
  fw::TMainMenu* Menu = nullptr;  // the form's framework main menu, or nullptr
  RECT BarRect{};                 // the band at the last paint (window coordinates)
  TWinSkinForm& Form;
  fw::TBitmap Background;  // the band without captions, from the last paint
  int32_t ItemCount = 0;
  bool Painting = false;
  HMENU MenuHandle = nullptr;  // the window's menu, detached from the window
  bool RightToLeft = false;    // the items run from right to left

  // The message-filter hook of an open drop-down (menu_hook.cpp).
  void InstallMenuHook();
  static void RemoveMenuHook();
  static LRESULT CALLBACK MenuHookProc(int code, WPARAM wparam, LPARAM lparam);

 protected:
  void Notification(fw::TComponent* component, fw::TOperation operation) override;

 private:
  void ClearItems();
  void SetMenuFramework(fw::TMainMenu* menu);
  // Items from the menu handle; owner-drawn entries are completed from the
  // framework item at the same position, or with the same command.
  void ReadFromHandle(bool by_command);
  // The band item of the menu handle's entry at `position`.
  std::unique_ptr<TMenuBtn> EntryOfHandle(int position, bool by_command);
  // A band item for a framework item; `shown`: the menu shows its entry.
  void AddFrameworkItem(fw::TMenuItem* source, bool shown);
  // Whether the menu's entries run right to left (or the window does).
  bool ReadRightToLeft() const;
  // The drop-down an item opens now (a framework item is asked: its handle
  // may have been made again since the items were read).
  HMENU DropDownOf(const TMenuBtn& item) const;
  // MarkOwnerDraw's walk over the entries.
  void MarkEntries(HMENU menu);

  // The program's one menu font (the system's, kept by the screen).
  static HFONT MenuFont() { return fw::Screen().MenuFont()->Handle(); }
  bool hiding_separators_ = false;
  // What one top-level entry of a menu was when the band read it.
  struct TEntryMark {
    UINT Type = 0;
    UINT State = 0;
    UINT Id = 0;
    HMENU SubMenu = nullptr;
    ULONG_PTR Data = 0;
    std::wstring Text;
    bool operator==(const TEntryMark&) const = default;
  };
  static std::vector<TEntryMark> EntriesOf(HMENU menu);
  std::vector<TEntryMark> read_entries_;  // MenuHandle's entries at the last read
  // Entries MarkOwnerDraw made owner-drawn: their menu, position and id.
  struct TMarkedEntry {
    HMENU Menu;
    UINT Position;
    UINT Id;
  };
  std::vector<TMarkedEntry> marked_;
};

// The state of the one drop-down of a menu band that can be open at a time
// (the menu loop runs on the GUI thread).
struct TMenuLoopState {
  TWinSkinMenu* Bar = nullptr;     // the band whose drop-down is open
  int32_t CurrentIndex = -1;       // its item; -1 when none is open
  skin::TMenuSelection Selection;  // the entry selected at the last arrow key
  POINT LastPoint{};               // the last mouse position the hook saw
  bool DownPosted = false;         // the first entry was selected
  bool KeyNavigating = false;      // a move to another item is under way
  int32_t SwitchTo = -1;           // the item to open once this drop-down closed
  HHOOK HookHandle = nullptr;
};
const TMenuLoopState& MenuLoopState();

}  // namespace skin::win
