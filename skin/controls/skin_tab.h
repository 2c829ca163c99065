// Tab skinners:
// - TSkinTab: tab and page controls (SysTabControl32), the tabs drawn from
//   the skin's "Tabs" element (frame 2 the focused tab, 1 the others) for
//   tabs on any side, the page framed with the element's "Border" image;
// - TSkinTab31: old-style tab sets, the tabs drawn below the set.
#pragma once

#include <windows.h>

#include <cstdint>

#include "framework/graphics.h"
#include "skin/controls/skin_control.h"

namespace skin::win {

class TSkinUpDown;

class TSkinTab : public TSkinControl {
  FW_CLASS_INFO(TSkinTab)

 public:
  using TSkinControl::TSkinControl;

  void AttachHandle(HWND wnd, TSkinData* data, ISkinForm* form, fw::TCanvas* canvas) override;
  void SkinChanged() override;

  uint8_t Orientation = 0;  // 0 top, 1 bottom, 2 left, 3 right
  fw::TBitmap TabBitmap;
  fw::TBitmap BorderBitmap;
  fw::TBitmap Work;
  TSkinUpDown* UpDown = nullptr;  // the scroller's skinner, once found

 protected:
  void PaintTo(HDC dc, const RECT& rect) override;
  void Notification(fw::TComponent* component, fw::TOperation operation) override;
  // Orientation and the bitmaps turned for it.
  void PrepareTabs();
};

class TSkinTab31 : public TSkinControl {
  FW_CLASS_INFO(TSkinTab31)

 public:
  using TSkinControl::TSkinControl;

  void Attach(ISkinForm* form, TSkinData* data, bool use_skin_colour, fw::TCanvas* canvas) override;

  fw::TBitmap TabBitmap;
  fw::TWinControl* ScrollerControl = nullptr;
  TSkinUpDown* UpDown = nullptr;

 protected:
  bool BeforeMessage(fw::TMessage& m) override;
  void PaintTo(HDC dc, const RECT& rect) override;
};

}  // namespace skin::win
