// TWinSkinMenu: the menu bar of a skinned window. The window's menu is
// detached (SetMenu(window, 0)) and its top-level items are painted in the
// menu band below the caption; each item is a TMenuBtn, a clickable
// non-client object that opens its drop-down with TrackPopupMenu.
//
//   auto* bar = new TWinSkinMenu(controller);    // owned by the controller
//   bar->ReadFrameworkMenu();                    // a raw window: ReadMenuMerged()
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
#include "framework/graphics.h"
#include "framework/menus.h"
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

  // Items from the form's framework main menu; the window's menu is detached.
  void ReadFrameworkMenu();
  // Items from the window's menu handle (owner-drawn entries completed from
  // the framework menu by position); the window's menu is detached.
  void ReadMenuMerged();
  // Items from `menu` (nullptr: the menu read last); owner-drawn entries are completed
  // from the framework item with the same command. The window's menu is
  // detached.
  void ReadMenuHandle(HMENU menu);
  // Paints the band into `band` (window coordinates) of `dc`.
  void Paint(HDC dc, const RECT& band);
  // The first item with a caption whose rectangle holds `p` (window
  // coordinates); nullptr when none.
  TMenuBtn* HitTest(POINT p) const;
  // Posts the item's command, then shows its drop-down below it and returns
  // when it closes; false for an item without a drop-down.
  bool OpenMenu(TMenuBtn& item);
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

 protected:
  void Notification(fw::TComponent* component, fw::TOperation operation) override;

 private:
  void ClearItems();
  void SetMenuFramework(fw::TMainMenu* menu);

  fw::TGdiHandle<HFONT> menu_font_;
};

}  // namespace skin::win
