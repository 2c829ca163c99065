#include "framework/extctrls.h"

namespace fw {

TImage::TImage(TComponent* owner) : TGraphicControl(owner) {
  picture_.OnChange = [this] { Invalidate(); };
}

const TClassInfo& TImage::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TImage>("TImage", TGraphicControl::StaticClassInfo())
          .Obj("Picture", &TImage::Picture)
          .Bool("Stretch", &TImage::Stretch, &TImage::SetStretch)
          .Bool("Center", &TImage::Center, &TImage::SetCenter)
          .Bool("Transparent", &TImage::Transparent, &TImage::SetTransparent)
          .Build();
  return info;
}

void TImage::SetStretch(bool v) {
  stretch_ = v;
  Invalidate();
}
void TImage::SetCenter(bool v) {
  center_ = v;
  Invalidate();
}
void TImage::SetTransparent(bool v) {
  transparent_ = v;
  Invalidate();
}

void TImage::Paint() {
  RECT r = ClientRect();
  if (!stretch_) {
    LONG x = center_ ? (r.right - picture_.Width()) / 2 : 0;
    LONG y = center_ ? (r.bottom - picture_.Height()) / 2 : 0;
    r = RECT{x, y, x + picture_.Width(), y + picture_.Height()};
  }
  picture_.StretchDraw(canvas_.Handle(), r);
}

}  // namespace fw
