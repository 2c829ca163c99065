// TWinSkinPopMenu: the skinner of one popup menu window (class "#32768",
// made by the system for every drop-down, context menu and system menu). It
// paints the window's background and 3-pixel frame from the skin's
// MenuBackground image; the entries are owner-drawn by the window's skin
// controller (menu_items.cpp), on a background copied from this one.
#pragma once

#include <windows.h>

#include <vector>

#include "framework/graphics.h"
#include "framework/subclass.h"
#include "skin/data/win/skin_data_component.h"

namespace skin::win {

class TWinSkinPopMenu {
 public:
  TWinSkinPopMenu() = default;
  ~TWinSkinPopMenu() { Detach(); }
  TWinSkinPopMenu(const TWinSkinPopMenu&) = delete;
  TWinSkinPopMenu& operator=(const TWinSkinPopMenu&) = delete;

  void Attach(HWND wnd, TSkinData* data, HMENU menu);
  void Detach();

  HWND Handle = nullptr;
  TSkinData* SkinData = nullptr;
  fw::TBitmap Background;  // the whole background of the last paint
  HMENU Menu = nullptr;    // learned from the first entry drawn
  bool FromMenuBar = false;

  // Whether the skinner took the right-to-left mark off `menu`'s entries
  // while its window shows (see TakeRightOrder): they read right to left.
  bool TookRightOrder(HMENU menu) const;

 private:
  void WndProc(fw::TMessage& m);
  void PaintPopupFrame(fw::TMessage& m);
  void PrintPopup(fw::TMessage& m);
  // Whether the window is painted from the skin: a loaded skin with a
  // MenuBackground image, and a menu that is not exempted by its tag.
  bool Skinned();
  // Background := the MenuBackground image at the window's size.
  void BuildBackground(int width, int height);
  // Copies the frame band of Background to the window.
  void PaintBand();
  // Whether the system paints the menu's frame inside the client area (the
  // client area is the whole window): the band is then painted again after
  // the menu's own painting.
  bool BandInClientArea() const;
  // The menu shown, asked of the window; the skinner waits for the first
  // entry drawn to learn it when the system does not answer.
  void LearnMenu();
  // On a system that reads an entry's MFT_RIGHTORDER as the system-menu
  // mark (the same bit), the owner-drawn entries of the menu shown lose the
  // mark until the window goes, so that they reach their owner to be drawn
  // (the skin draws them right to left itself); GiveRightOrderBack puts it
  // back on the entries that still hold the same command.
  void TakeRightOrder();
  void GiveRightOrderBack();

  struct TTakenEntry {
    UINT Position;
    UINT Id;
  };

  fw::TSubclass subclass_;
  bool exempt_checked_ = false;
  bool exempt_ = false;
  bool right_order_checked_ = false;
  HMENU right_order_menu_ = nullptr;  // the menu whose entries lost the mark
  std::vector<TTakenEntry> right_order_taken_;
};

// The popup skinner that has painted its background but does not know its
// menu yet (one per process: menus open one at a time in the GUI thread).
TWinSkinPopMenu*& PendingPopup();

}  // namespace skin::win
