// Title-bar buttons (their mouse states, layout, drawing and actions) and the
// skinned system menu.
#include "skin/window/win_skin_form.h"

namespace skin::win {

void TNCObject::MouseDown() {}
void TNCObject::MouseUp() {}
void TNCObject::MouseEnter() {}
void TNCObject::MouseLeave() {}
void TWinSysButton::Paint() {}

void TWinSkinForm::CreateSysButtons() {}
void TWinSkinForm::FreeSysButtons() {
  HotObject = nullptr;
  TitleButtons.clear();
  SysButtonCount = 0;
}
void TWinSkinForm::LoadIcon() {}
void TWinSkinForm::DrawIcon(HDC /*dc*/, int /*x*/, int /*y*/) {}
bool TWinSkinForm::IsButtonVisible(size_t /*index*/) {
  return false;
}
void TWinSkinForm::LayoutSysButtons() {}
void TWinSkinForm::DrawSysButtons(fw::TCanvas& /*canvas*/) {}
void TWinSkinForm::DrawSysButton(TWinSysButton& /*button*/, int32_t /*state*/) {}
TNCObject* TWinSkinForm::HitTestButtons(POINT /*p*/) {
  return nullptr;
}
void TWinSkinForm::ButtonClick(int /*x*/, int /*y*/) {}
void TWinSkinForm::ToggleMaximize() {}
void TWinSkinForm::Restore() {}
void TWinSkinForm::ToggleMinimize() {}
void TWinSkinForm::MDIChildCommand(UINT /*command*/) {}
void TWinSkinForm::BuildSystemMenu() {}
void TWinSkinForm::ShowSystemMenu(int /*x*/, int /*y*/) {}
void TWinSkinForm::HoverCheck() {}
void TWinSkinForm::SystemMenuClick(fw::TObject* /*sender*/) {}
bool TWinSkinForm::NCMouseMove(fw::TMessage& /*m*/) {
  return false;
}
bool TWinSkinForm::NCLButtonDown(fw::TMessage& /*m*/) {
  return false;
}
bool TWinSkinForm::NCLButtonUp(fw::TMessage& /*m*/) {
  return false;
}
bool TWinSkinForm::NCLButtonDblClk(fw::TMessage& /*m*/) {
  return false;
}
bool TWinSkinForm::NCRButtonDown(fw::TMessage& /*m*/) {
  return false;
}

}  // namespace skin::win
