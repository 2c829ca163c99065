#include "framework/comctrls.h"

#include <commctrl.h>

namespace fw {

TStatusBar::TStatusBar(TComponent* owner) : TWinControl(owner) {}

const TClassInfo& TStatusBar::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TStatusBar>("TStatusBar", TWinControl::StaticClassInfo())
          .Str("SimpleText", &TStatusBar::SimpleText, &TStatusBar::SetSimpleText)
          .Bool("SimplePanel", &TStatusBar::SimplePanel, &TStatusBar::SetSimplePanel)
          .Bool("SizeGrip", &TStatusBar::SizeGrip, &TStatusBar::SetSizeGrip)
          .Build();
  return info;
}

void TStatusBar::SetSimpleText(const std::wstring& text) {
  simple_text_ = text;
  if (HandleAllocated()) {
    SendMessageW(handle_, SB_SETTEXTW, 255, reinterpret_cast<LPARAM>(simple_text_.c_str()));
    UpdateWindow(handle_);
  }
}

void TStatusBar::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.ClassName = STATUSCLASSNAMEW;
  p.SystemClass = true;
  // The framework places the bar (aligned to the bottom); the control must
  // not move itself.
  p.Style |= CCS_NOPARENTALIGN | CCS_NORESIZE;
  if (size_grip_) p.Style |= SBARS_SIZEGRIP;
}

void TStatusBar::HandleCreated() {
  SendMessageW(handle_, SB_SETBKCOLOR, 0, static_cast<LPARAM>(ColorToRGB(color_)));
  // No panels: the bar is one simple part showing SimpleText.
  SendMessageW(handle_, SB_SIMPLE, TRUE, 0);
  SendMessageW(handle_, SB_SETTEXTW, 255, reinterpret_cast<LPARAM>(simple_text_.c_str()));
}

void TStatusBar::WndProc(TMessage& m) {
  if (m.Msg == CM_COLORCHANGED && HandleAllocated()) {
    SendMessageW(handle_, SB_SETBKCOLOR, 0, static_cast<LPARAM>(ColorToRGB(color_)));
  }
  TWinControl::WndProc(m);
}

}  // namespace fw
