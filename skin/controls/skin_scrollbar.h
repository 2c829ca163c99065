// The managers of scroll-bar overlays (TWScrollbar):
// - TSkinScrollbar: the two bars of a framework control;
// - TSkinScrollbarH: the two bars of a raw window (a combo box's list);
// - TSkinListView: a list view's bars and its header;
// - TSkinScControl: a standalone scroll-bar control.
// The overlays follow the covered window (moved, sized, shown, hidden,
// created again, a bar shown or taken away), and show the pressed arrow
// while the system scrolls.
//
//   auto* s = new skin::win::TSkinScrollbar(memo);   // owned by the control
//   s->AttachScroll(memo, skin_data, form_link, &controller->ControlCanvas);
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
  void SkinChanged() override;

  TWScrollbar* HBar = nullptr;  // owned
  TWScrollbar* VBar = nullptr;  // owned

 protected:
  bool BeforeMessage(fw::TMessage& m) override;
  void AfterMessage(fw::TMessage& m) override;
  void PaintTo(HDC dc, const RECT& rect) override;
  void WindowRecreated() override;
  void Notification(fw::TComponent* component, fw::TOperation operation) override;
  // Makes the two overlays over the bars of the window served.
  void CreateBars();
  void FreeBars();
  // Both overlays follow their bars; with `repaint_changed`, one whose bar
  // changed since it was painted is painted again.
  void UpdateBars(bool repaint_changed);

 private:
  bool updating_ = false;  // the overlays are being moved (no nested update)
};

class TSkinScrollbarH : public TSkinScrollbar {
  FW_CLASS_INFO(TSkinScrollbarH)

 public:
  using TSkinScrollbar::TSkinScrollbar;

  void AttachHandle(HWND wnd, TSkinData* data, ISkinForm* form, fw::TCanvas* canvas) override;
};

class TSkinListView : public TSkinScrollbar {
  FW_CLASS_INFO(TSkinListView)

 public:
  using TSkinScrollbar::TSkinScrollbar;
  ~TSkinListView() override;

  void AttachScroll(fw::TWinControl* control, TSkinData* data, ISkinForm* form,
                    fw::TCanvas* canvas) override;

  TSkinHeader* Header = nullptr;  // owned by the list view's owner

 protected:
  void WindowRecreated() override;
  void Notification(fw::TComponent* component, fw::TOperation operation) override;

 private:
  // Skins the list view's header window, when it has one.
  void AttachHeader();
};

class TSkinScControl : public TSkinControl {
  FW_CLASS_INFO(TSkinScControl)

 public:
  using TSkinControl::TSkinControl;
  ~TSkinScControl() override;

  void AttachScroll(fw::TWinControl* control, TSkinData* data, ISkinForm* form,
                    fw::TCanvas* canvas);
  void Detach() override;
  void SkinChanged() override;

  TWScrollbar* Bar = nullptr;  // owned

 protected:
  void AfterMessage(fw::TMessage& m) override;
  void PaintTo(HDC dc, const RECT& rect) override;
  void WindowRecreated() override;
  void Notification(fw::TComponent* component, fw::TOperation operation) override;

 private:
  void FreeBar();
};

}  // namespace skin::win
