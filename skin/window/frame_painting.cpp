// The frame and caption of a skinned window: non-client metrics, hit tests,
// borders, the caption band and its text, the window region.
#include "skin/window/win_skin_form.h"

namespace skin::win {

void TWinSkinForm::LoadFrameMetrics() {
  if (Data().NotLoaded) return;
  if (FrameKind == fkNone) {
    BorderLeft = BorderTop = BorderRight = BorderBottom = MenuBarHeight = 0;
  } else {
    auto frames = [](const TDataSkinObject& e) { return e.FrameCount > 0 ? e.FrameCount : 1; };
    BorderTop = Data().Borders[3]->Bitmap.Height() / frames(*Data().Borders[3]);
    BorderLeft = Data().Borders[1]->Bitmap.Width() / frames(*Data().Borders[1]);
    BorderRight = Data().Borders[2]->Bitmap.Width() / frames(*Data().Borders[2]);
    BorderBottom = Data().Borders[4]->Bitmap.Height() / frames(*Data().Borders[4]);
  }
  CreateSysButtons();
}

POINT TWinSkinForm::ToWindowPoint(int screen_x, int screen_y) const {
  POINT p{screen_x, screen_y};
  ScreenToClient(Handle, &p);
  if (WindowState != wsMinimized) {
    p.x += BorderLeft;
    p.y += BorderTop + MenuBarHeight;
  }
  return p;
}

void TWinSkinForm::NCCalcSize(fw::TMessage& m) {
  PassOn(m);
}
void TWinSkinForm::NCHitTest(fw::TMessage& m) {
  PassOn(m);
}
void TWinSkinForm::NCPaint(fw::TMessage& m) {
  PassOn(m);
}
void TWinSkinForm::NCActivate(fw::TMessage& m) {
  PassOn(m);
}
void TWinSkinForm::PaintFrame(HDC /*dc*/) {}
void TWinSkinForm::DrawBorder(int /*index*/, const RECT& /*rect*/, HDC /*dc*/) {}
void TWinSkinForm::PaintCaption(HDC /*dc*/) {}
void TWinSkinForm::DrawCaptionText(fw::TCanvas& /*canvas*/, const RECT& /*rect*/) {}
std::wstring TWinSkinForm::CaptionText() const {
  return {};
}
void TWinSkinForm::UpdateRegion() {}
void TWinSkinForm::RemoveRegion() {}

}  // namespace skin::win
