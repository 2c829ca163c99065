// TSkinComBox: a combo box's border, drop-down button and arrow drawn from
// the skin's "ComboButton" element (normally the composite of border,
// button and arrow the skin data builds, magenta inside, so the text area
// stays as the control painted it). A drop-down combo box has its edit part
// hooked, so a press there shows the pressed button; one that shows or
// drops a list gets the list's scroll bar skinned.
#pragma once

#include <windows.h>

#include <cstdint>

#include "framework/subclass.h"
#include "skin/controls/skin_control.h"

namespace skin::win {

class TSkinScrollbarH;

class TSkinComBox : public TSkinControl {
  FW_CLASS_INFO(TSkinComBox)

 public:
  using TSkinControl::TSkinControl;
  ~TSkinComBox() override;

  void Attach(ISkinForm* form, TSkinData* data, bool use_skin_colour, fw::TCanvas* canvas) override;
  void Detach() override;

  uint32_t ComboStyle = 0;
  uint32_t ComboExStyle = 0;
  HWND ListHandle = nullptr;                 // the list of a simple or drop-down-list combo box
  HWND EditHandle = nullptr;                 // the edit part while it is hooked
  TSkinScrollbarH* ListScrollbar = nullptr;  // owned by this skinner
  COMBOBOXINFO Info{};

 protected:
  void AfterMessage(fw::TMessage& m) override;
  void PaintTo(HDC dc, const RECT& rect) override;
  void WindowRecreated() override;
  void Notification(fw::TComponent* component, fw::TOperation operation) override;

 private:
  // The edit part's procedure: the edit first, then the combo's look.
  void EditWndProc(fw::TMessage& m);
  // Hooks the edit part of a drop-down combo box, or skins the list's
  // scroll bar of a simple or drop-down-list one.
  void HookParts();
  void UnhookParts();
  void FreeListScrollbar();
  // The button image in the frame the DC's brush draws (a skin without the
  // composite image).
  void PaintClassic(HDC dc, const RECT& r, int frame);

  fw::TSubclass edit_subclass_;
};

}  // namespace skin::win
