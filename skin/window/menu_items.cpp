// Owner-drawn menu items of skinned windows: framework menus through their
// events, native menus through WM_MEASUREITEM and WM_DRAWITEM.
#include "skin/window/win_skin_form.h"

namespace skin::win {

void TWinSkinForm::SetMenuItemHooks(fw::TMenuItem* /*item*/, bool /*on*/) {}
void TWinSkinForm::SetPopupMenusOwnerDraw(fw::TForm* /*form*/, bool /*on*/) {}
void TWinSkinForm::SetMainMenusOwnerDraw(fw::TForm* /*form*/, bool /*on*/) {}
void TWinSkinForm::MeasureMenuItem(fw::TObject* /*sender*/, fw::TCanvas* /*canvas*/, int& /*width*/,
                                   int& /*height*/) {}
void TWinSkinForm::MeasurePopupItem(fw::TObject* /*sender*/, fw::TCanvas* /*canvas*/,
                                    int& /*width*/, int& /*height*/) {}
void TWinSkinForm::DrawMenuItem(fw::TObject* /*sender*/, fw::TCanvas* /*canvas*/, RECT /*rect*/,
                                bool /*selected*/) {}
bool TWinSkinForm::MeasureItem(fw::TMessage& /*m*/) {
  return false;
}
bool TWinSkinForm::DrawItem(fw::TMessage& /*m*/) {
  return false;
}

}  // namespace skin::win
