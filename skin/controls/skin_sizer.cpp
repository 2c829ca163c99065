#include "skin/controls/skin_sizer.h"

namespace skin::win {

const fw::TClassInfo& TSkinSizer::StaticClassInfo() {
  static const fw::TClassInfo info =
      fw::TClassBuilder<TSkinSizer>("TSkinSizer", TSkinControl::StaticClassInfo()).Build();
  return info;
}

void TSkinSizer::PaintTo(HDC dc, const RECT& rect) {
  FillSkinColour(dc, rect);
}

}  // namespace skin::win
