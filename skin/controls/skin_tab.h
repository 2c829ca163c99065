// Tab skinners:
// - TSkinTab: tab and page controls (SysTabControl32), the tabs drawn from
//   the skin's "Tabs" element (frame 2 the focused tab, 1 the others) for
//   tabs on any side, the page framed with the element's "Border" image;
// - TSkinTab31: old-style tab sets, the tabs hanging below the set's edge
//   (the skin's tab image upside down), laid out from the set's first visible
//   tab.
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
  ~TSkinTab() override;

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
  void WindowRecreated() override;
  // Orientation and the bitmaps turned for it.
  void PrepareTabs();

 private:
  // Attaches the up-down skinner to the control's scroller once it exists.
  void FindScroller();
};

class TSkinTab31 : public TSkinControl {
  FW_CLASS_INFO(TSkinTab31)

 public:
  using TSkinControl::TSkinControl;
  ~TSkinTab31() override;

  // Subclasses the set's window (the set's published "Tabs", "TabIndex",
  // "FirstIndex", "StartMargin", "EndMargin" and "Font" are read at each
  // paint) and skins its scroller, the set's first component when it is a
  // windowed control.
  void Attach(ISkinForm* form, TSkinData* data, bool use_skin_colour, fw::TCanvas* canvas) override;
  void SkinChanged() override;

  fw::TBitmap TabBitmap;
  fw::TWinControl* ScrollerControl = nullptr;
  TSkinUpDown* UpDown = nullptr;

 protected:
  bool BeforeMessage(fw::TMessage& m) override;
  void PaintTo(HDC dc, const RECT& rect) override;
  void Notification(fw::TComponent* component, fw::TOperation operation) override;

 private:
  void PrepareTabs();
};

}  // namespace skin::win
