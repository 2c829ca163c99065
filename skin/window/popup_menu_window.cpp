#include "skin/window/popup_menu_window.h"

#include "skin/window/win_skin_form.h"

namespace skin::win {

TWinSkinPopMenu*& PendingPopup() {
  static TWinSkinPopMenu* pending = nullptr;
  return pending;
}

void TWinSkinPopMenu::Attach(HWND wnd, TSkinData* data, HMENU menu) {
  Handle = wnd;
  SkinData = data;
  Menu = menu;
  FromMenuBar = false;
  subclass_.Install(wnd, fw::TWndMethod::Bind<&TWinSkinPopMenu::WndProc>(this));
}

void TWinSkinPopMenu::Detach() {
  subclass_.Remove();
  Background.SetSize(0, 0);
}

void TWinSkinPopMenu::WndProc(fw::TMessage& m) {
  if (m.Msg == WM_SKINQUERY) {
    m.Result = 1;
    return;
  }
  subclass_.CallPrevious(m);
}

void TWinSkinPopMenu::PaintPopupFrame(fw::TMessage& m) {
  subclass_.CallPrevious(m);
}

void TWinSkinPopMenu::PrintPopup(fw::TMessage& m) {
  subclass_.CallPrevious(m);
}

}  // namespace skin::win
