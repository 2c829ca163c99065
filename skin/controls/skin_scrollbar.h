// The managers of scroll-bar overlays (TWScrollbar):
// - TSkinScrollbar: the two bars of a framework control;
// - TSkinScrollbarH: the two bars of a raw window (a combo box's list);
// - TSkinListView: a list view's bars and its header;
// - TSkinScControl: a standalone scroll-bar control.
// The overlays follow the covered window on every WM_SIZE and WM_NCPAINT,
// and show the pressed arrow while the system scrolls.
#pragma once

#include <windows.h>

#include "skin/controls/skin_control.h"

namespace skin::win {

class TWScrollbar;
class TSkinHeader;

class TSkinScrollbar : public TSkinControl {
  FW_CLASS_INFO(TSkinScrollbar)

 public:
  using TSkinControl::TSkinControl;
  ~TSkinScrollbar() override;

  // Covers the bars of `control` and hooks its WindowProc.
  virtual void AttachScroll(fw::TWinControl* control, TSkinData* data, ISkinForm* form,
                            fw::TCanvas* canvas);
  void Detach() override;

  TWScrollbar* HBar = nullptr;  // owned
  TWScrollbar* VBar = nullptr;  // owned

 protected:
  void AfterMessage(fw::TMessage& m) override;
  void PaintTo(HDC dc, const RECT& rect) override;
  void WindowRecreated() override;
  void FreeBars();
};

class TSkinScrollbarH : public TSkinScrollbar {
  FW_CLASS_INFO(TSkinScrollbarH)

 public:
  using TSkinScrollbar::TSkinScrollbar;

  void AttachHandle(HWND wnd, TSkinData* data, ISkinForm* form, fw::TCanvas* canvas) override;

 protected:
  void AfterMessage(fw::TMessage& m) override;
};

class TSkinListView : public TSkinScrollbar {
  FW_CLASS_INFO(TSkinListView)

 public:
  using TSkinScrollbar::TSkinScrollbar;

  void AttachScroll(fw::TWinControl* control, TSkinData* data, ISkinForm* form,
                    fw::TCanvas* canvas) override;

  TSkinHeader* Header = nullptr;  // owned by the list view's owner
};

class TSkinScControl : public TSkinControl {
  FW_CLASS_INFO(TSkinScControl)

 public:
  using TSkinControl::TSkinControl;
  ~TSkinScControl() override;

  void AttachScroll(fw::TWinControl* control, TSkinData* data, ISkinForm* form,
                    fw::TCanvas* canvas);
  void Detach() override;

  TWScrollbar* Bar = nullptr;  // owned

 protected:
  void AfterMessage(fw::TMessage& m) override;
  void PaintTo(HDC dc, const RECT& rect) override;
};

}  // namespace skin::win
