#include "framework/comctrls.h"

#include <commctrl.h>

#include <algorithm>

namespace fw {

// --- TStatusPanel, TStatusPanels -------------------------------------------------

const TClassInfo& TStatusPanel::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TStatusPanel>("TStatusPanel", TPersistent::StaticClassInfo())
          .Str("Text", &TStatusPanel::Text, &TStatusPanel::SetText)
          .Int("Width", &TStatusPanel::Width, &TStatusPanel::SetWidth)
          .Enum("Alignment", {"taLeftJustify", "taRightJustify", "taCenter"},
                &TStatusPanel::Alignment, &TStatusPanel::SetAlignment)
          .Enum("Style", {"psText", "psOwnerDraw"}, &TStatusPanel::Style, &TStatusPanel::SetStyle)
          .Enum("Bevel", {"pbNone", "pbLowered", "pbRaised"}, &TStatusPanel::Bevel,
                &TStatusPanel::SetBevel)
          .Enum("BiDiMode",
                {"bdLeftToRight", "bdRightToLeft", "bdRightToLeftNoAlign",
                 "bdRightToLeftReadingOnly"},
                &TStatusPanel::BiDiMode, &TStatusPanel::SetBiDiMode)
          .Bool("ParentBiDiMode", &TStatusPanel::ParentBiDiMode, &TStatusPanel::SetParentBiDiMode)
          .Build();
  return info;
}

TBiDiMode TStatusPanel::BiDiMode() const {
  return parent_bidi_mode_ ? bar_.BiDiMode() : bidi_mode_;
}

void TStatusPanel::SetBiDiMode(TBiDiMode v) {
  bidi_mode_ = v;
  parent_bidi_mode_ = false;
  bar_.UpdatePanels();
}

void TStatusPanel::SetParentBiDiMode(bool v) {
  parent_bidi_mode_ = v;
  bar_.UpdatePanels();
}

TAlignment TStatusPanel::ShownAlignment() const {
  return BiDiAlignment(alignment_, BiDiMode());
}

void TStatusPanel::SetText(const std::wstring& v) {
  text_ = v;
  bar_.UpdatePanels();
}
void TStatusPanel::SetWidth(int32_t v) {
  width_ = std::max(v, 0);
  bar_.UpdatePanels();
}
void TStatusPanel::SetAlignment(TAlignment v) {
  alignment_ = v;
  bar_.UpdatePanels();
}
void TStatusPanel::SetStyle(TStatusPanelStyle v) {
  style_ = v;
  bar_.UpdatePanels();
}
void TStatusPanel::SetBevel(TStatusPanelBevel v) {
  bevel_ = v;
  bar_.UpdatePanels();
}

int TStatusPanel::Index() const {
  TStatusPanels* panels = bar_.Panels();
  for (int i = 0; i < panels->Count(); ++i) {
    if (panels->Items(i) == this) return i;
  }
  return -1;
}

const TClassInfo& TStatusPanels::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TStatusPanels>("TStatusPanels", TPersistent::StaticClassInfo()).Build();
  return info;
}

TStatusPanel* TStatusPanels::Add() {
  items_.push_back(std::make_unique<TStatusPanel>(bar_));
  bar_.UpdatePanels();
  return items_.back().get();
}

void TStatusPanels::Delete(int index) {
  if (index < 0 || index >= Count()) throw Exception("List index out of bounds");
  items_.erase(items_.begin() + index);
  bar_.UpdatePanels();
}

void TStatusPanels::Clear() {
  items_.clear();
  bar_.UpdatePanels();
}

// --- TCustomStatusBar ------------------------------------------------------------

TCustomStatusBar::TCustomStatusBar(TComponent* owner) : TWinControl(owner) {
  height_ = 19;
}

const TClassInfo& TCustomStatusBar::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TCustomStatusBar>("TCustomStatusBar", TWinControl::StaticClassInfo())
          .Str("SimpleText", &TCustomStatusBar::SimpleText, &TCustomStatusBar::SetSimpleText)
          .Bool("SimplePanel", &TCustomStatusBar::SimplePanel, &TCustomStatusBar::SetSimplePanel)
          .Bool("SizeGrip", &TCustomStatusBar::SizeGrip, &TCustomStatusBar::SetSizeGrip)
          .Obj("Panels", &TCustomStatusBar::Panels)
          .Event<void(TObject*, TStatusPanel*, const RECT&)>("OnDrawPanel",
                                                             &TCustomStatusBar::OnDrawPanel)
          .Build();
  return info;
}

const TClassInfo& TStatusBar::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TStatusBar>("TStatusBar", TCustomStatusBar::StaticClassInfo()).Build();
  return info;
}

void TCustomStatusBar::SetSimpleText(const std::wstring& text) {
  simple_text_ = text;
  if (HandleAllocated() && (simple_panel_ || panels_.Count() == 0)) {
    SendMessageW(handle_, SB_SETTEXTW, SB_SIMPLEID, reinterpret_cast<LPARAM>(simple_text_.c_str()));
    UpdateWindow(handle_);
  }
}

void TCustomStatusBar::SetSimplePanel(bool v) {
  simple_panel_ = v;
  UpdatePanels();
}

void TCustomStatusBar::SetSizeGrip(bool v) {
  if (v == size_grip_) return;
  size_grip_ = v;
  RecreateWnd();
}

void TCustomStatusBar::UpdatePanels() {
  if (!HandleAllocated()) return;
  if (simple_panel_ || panels_.Count() == 0) {
    // One simple part showing SimpleText.
    SendMessageW(handle_, SB_SIMPLE, TRUE, 0);
    SendMessageW(handle_, SB_SETTEXTW, SB_SIMPLEID, reinterpret_cast<LPARAM>(simple_text_.c_str()));
    return;
  }
  SendMessageW(handle_, SB_SIMPLE, FALSE, 0);
  std::vector<int> edges;
  int x = 0;
  for (int i = 0; i < panels_.Count(); ++i) {
    x += panels_.Items(i)->Width();
    // The last panel takes the rest of the bar.
    edges.push_back(i + 1 == panels_.Count() ? -1 : x);
  }
  SendMessageW(handle_, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
  for (int i = 0; i < panels_.Count(); ++i) {
    const TStatusPanel* p = panels_.Items(i);
    std::wstring text = p->Text();
    // The control aligns a part's text after tabs: one centres, two align right.
    if (p->ShownAlignment() == taCenter) text = L"\t" + text;
    if (p->ShownAlignment() == taRightJustify) text = L"\t\t" + text;
    WPARAM flags = static_cast<WPARAM>(i);
    if (p->BiDiMode() != bdLeftToRight) flags |= SBT_RTLREADING;
    if (p->Style() == psOwnerDraw) flags |= SBT_OWNERDRAW;
    if (p->Bevel() == pbNone) flags |= SBT_NOBORDERS;
    if (p->Bevel() == pbRaised) flags |= SBT_POPOUT;
    SendMessageW(handle_, SB_SETTEXTW, flags, reinterpret_cast<LPARAM>(text.c_str()));
  }
}

void TCustomStatusBar::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.ClassName = STATUSCLASSNAMEW;
  p.SystemClass = true;
  // The framework places the bar (aligned to the bottom); the control must
  // not move itself.
  p.Style |= CCS_NOPARENTALIGN | CCS_NORESIZE;
  if (size_grip_) p.Style |= SBARS_SIZEGRIP;
}

void TCustomStatusBar::HandleCreated() {
  SendMessageW(handle_, SB_SETBKCOLOR, 0, static_cast<LPARAM>(ColorToRGB(color_)));
  UpdatePanels();
}

void TCustomStatusBar::DrawPanel(TStatusPanel* panel, const RECT& rect, HDC dc) {
  if (!OnDrawPanel || panel == nullptr) return;
  struct TRelease {
    TCanvas& canvas;
    HDC previous;
    ~TRelease() { canvas.SetHandle(previous); }
  } release{canvas_, canvas_.Handle()};
  canvas_.SetHandle(dc);
  canvas_.Font()->Assign(font_);
  canvas_.Brush()->SetColor(color_);
  OnDrawPanel(this, panel, rect);
}

void TCustomStatusBar::WndProc(TMessage& m) {
  if (m.Msg == CN_DRAWITEM) {
    // A part drawn by its owner: the panel of that index.
    const auto& dis = *reinterpret_cast<const DRAWITEMSTRUCT*>(m.LParam);
    const int index = static_cast<int>(dis.itemID);
    if (index >= 0 && index < panels_.Count() && panels_.Items(index)->Style() == psOwnerDraw) {
      DrawPanel(panels_.Items(index), dis.rcItem, dis.hDC);
    }
    m.Result = TRUE;
    return;
  }
  if (m.Msg == CM_COLORCHANGED && HandleAllocated()) {
    SendMessageW(handle_, SB_SETBKCOLOR, 0, static_cast<LPARAM>(ColorToRGB(color_)));
  }
  if (m.Msg == WM_SIZE) {
    TWinControl::WndProc(m);
    UpdatePanels();
    return;
  }
  TWinControl::WndProc(m);
}

// --- TProgressBar ----------------------------------------------------------------

TProgressBar::TProgressBar(TComponent* owner) : TWinControl(owner) {
  width_ = 150;
  height_ = 16;
}

const TClassInfo& TProgressBar::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TProgressBar>("TProgressBar", TWinControl::StaticClassInfo())
          .Int("Min", &TProgressBar::Min, &TProgressBar::SetMin)
          .Int("Max", &TProgressBar::Max, &TProgressBar::SetMax)
          .Int("Position", &TProgressBar::Position, &TProgressBar::SetPosition)
          .Int("Step", &TProgressBar::Step, &TProgressBar::SetStep)
          .Enum("Orientation", {"pbHorizontal", "pbVertical"}, &TProgressBar::Orientation,
                &TProgressBar::SetOrientation)
          .Bool("Smooth", &TProgressBar::Smooth, &TProgressBar::SetSmooth)
          .Build();
  return info;
}

void TProgressBar::SetMin(int32_t v) {
  min_ = v;
  if (HandleAllocated()) SendMessageW(handle_, PBM_SETRANGE32, min_, max_);
}
void TProgressBar::SetMax(int32_t v) {
  max_ = v;
  if (HandleAllocated()) SendMessageW(handle_, PBM_SETRANGE32, min_, max_);
}
int32_t TProgressBar::Position() const {
  if (handle_ != nullptr) return static_cast<int32_t>(SendMessageW(handle_, PBM_GETPOS, 0, 0));
  return position_;
}
void TProgressBar::SetPosition(int32_t v) {
  position_ = std::clamp(v, min_, std::max(min_, max_));
  if (HandleAllocated()) SendMessageW(handle_, PBM_SETPOS, static_cast<WPARAM>(position_), 0);
}
void TProgressBar::SetStep(int32_t v) {
  step_ = v;
  if (HandleAllocated()) SendMessageW(handle_, PBM_SETSTEP, static_cast<WPARAM>(step_), 0);
}
void TProgressBar::StepIt() {
  SetPosition(Position() + step_);
}
void TProgressBar::SetOrientation(TProgressBarOrientation v) {
  if (v == orientation_) return;
  orientation_ = v;
  RecreateWnd();
}
void TProgressBar::SetSmooth(bool v) {
  if (v == smooth_) return;
  smooth_ = v;
  RecreateWnd();
}

void TProgressBar::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.ClassName = PROGRESS_CLASSW;
  p.SystemClass = true;
  if (orientation_ == pbVertical) p.Style |= PBS_VERTICAL;
  if (smooth_) p.Style |= PBS_SMOOTH;
}

void TProgressBar::HandleCreated() {
  SendMessageW(handle_, PBM_SETRANGE32, min_, max_);
  SendMessageW(handle_, PBM_SETSTEP, static_cast<WPARAM>(step_), 0);
  SendMessageW(handle_, PBM_SETPOS, static_cast<WPARAM>(position_), 0);
}

// --- TTrackBar -------------------------------------------------------------------

TTrackBar::TTrackBar(TComponent* owner) : TWinControl(owner) {
  width_ = 150;
  height_ = 45;
  SetTabStop(true);
}

const TClassInfo& TTrackBar::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TTrackBar>("TTrackBar", TWinControl::StaticClassInfo())
          .Int("Min", &TTrackBar::Min, &TTrackBar::SetMin)
          .Int("Max", &TTrackBar::Max, &TTrackBar::SetMax)
          .Int("Position", &TTrackBar::Position, &TTrackBar::SetPosition)
          .Int("Frequency", &TTrackBar::Frequency, &TTrackBar::SetFrequency)
          .Enum("Orientation", {"trHorizontal", "trVertical"}, &TTrackBar::Orientation,
                &TTrackBar::SetOrientation)
          .Enum("TickMarks", {"tmBottomRight", "tmTopLeft", "tmBoth"}, &TTrackBar::TickMarks,
                &TTrackBar::SetTickMarks)
          .Enum("TickStyle", {"tsNone", "tsAuto", "tsManual"}, &TTrackBar::TickStyle,
                &TTrackBar::SetTickStyle)
          .Event<void(TObject*)>("OnChange", &TTrackBar::OnChange)
          .Build();
  return info;
}

void TTrackBar::SetMin(int32_t v) {
  min_ = v;
  if (HandleAllocated()) SendMessageW(handle_, TBM_SETRANGEMIN, TRUE, min_);
}
void TTrackBar::SetMax(int32_t v) {
  max_ = v;
  if (HandleAllocated()) SendMessageW(handle_, TBM_SETRANGEMAX, TRUE, max_);
}
int32_t TTrackBar::Position() const {
  if (handle_ != nullptr) return static_cast<int32_t>(SendMessageW(handle_, TBM_GETPOS, 0, 0));
  return position_;
}
void TTrackBar::SetPosition(int32_t v) {
  position_ = std::clamp(v, min_, std::max(min_, max_));
  if (HandleAllocated()) SendMessageW(handle_, TBM_SETPOS, TRUE, position_);
}
void TTrackBar::SetFrequency(int32_t v) {
  frequency_ = v;
  if (HandleAllocated()) SendMessageW(handle_, TBM_SETTICFREQ, static_cast<WPARAM>(v), 0);
}
void TTrackBar::SetOrientation(TTrackBarOrientation v) {
  if (v == orientation_) return;
  orientation_ = v;
  if (!IsLoading()) SetBounds(left_, top_, height_, width_);
  RecreateWnd();
}
void TTrackBar::SetTickMarks(TTickMark v) {
  if (v == tick_marks_) return;
  tick_marks_ = v;
  RecreateWnd();
}
void TTrackBar::SetTickStyle(TTickStyle v) {
  if (v == tick_style_) return;
  tick_style_ = v;
  RecreateWnd();
}

void TTrackBar::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.ClassName = TRACKBAR_CLASSW;
  p.SystemClass = true;
  p.Style |= orientation_ == trVertical ? TBS_VERT : TBS_HORZ;
  if (tick_style_ == tsNone) p.Style |= TBS_NOTICKS;
  if (tick_style_ == tsAuto) p.Style |= TBS_AUTOTICKS;
  if (tick_marks_ == tmBoth) p.Style |= TBS_BOTH;
  if (tick_marks_ == tmTopLeft) p.Style |= TBS_TOP;
}

void TTrackBar::HandleCreated() {
  SendMessageW(handle_, TBM_SETRANGEMIN, FALSE, min_);
  SendMessageW(handle_, TBM_SETRANGEMAX, FALSE, max_);
  SendMessageW(handle_, TBM_SETTICFREQ, static_cast<WPARAM>(frequency_), 0);
  SendMessageW(handle_, TBM_SETPOS, TRUE, position_);
}

void TTrackBar::WndProc(TMessage& m) {
  if (m.Msg == CN_HSCROLL || m.Msg == CN_VSCROLL) {
    position_ = Position();
    if (OnChange) OnChange(this);
    m.Result = 0;
    return;
  }
  TWinControl::WndProc(m);
}

// --- TCustomUpDown ---------------------------------------------------------------

TCustomUpDown::TCustomUpDown(TComponent* owner) : TWinControl(owner) {
  width_ = 17;
  height_ = 25;
}

const TClassInfo& TCustomUpDown::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TCustomUpDown>("TCustomUpDown", TWinControl::StaticClassInfo())
          .Int("Min", &TCustomUpDown::Min, &TCustomUpDown::SetMin)
          .Int("Max", &TCustomUpDown::Max, &TCustomUpDown::SetMax)
          .Int("Position", &TCustomUpDown::Position, &TCustomUpDown::SetPosition)
          .Int("Increment", &TCustomUpDown::Increment, &TCustomUpDown::SetIncrement)
          .Enum("Orientation", {"udHorizontal", "udVertical"}, &TCustomUpDown::Orientation,
                &TCustomUpDown::SetOrientation)
          .Bool("Wrap", &TCustomUpDown::Wrap, &TCustomUpDown::SetWrap)
          .Obj("Associate", &TCustomUpDown::AssociateObject, &TCustomUpDown::SetAssociateObject)
          .Build();
  return info;
}

const TClassInfo& TUpDown::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TUpDown>("TUpDown", TCustomUpDown::StaticClassInfo()).Build();
  return info;
}

void TCustomUpDown::SetMin(int32_t v) {
  min_ = v;
  if (HandleAllocated()) SendMessageW(handle_, UDM_SETRANGE32, min_, max_);
}
void TCustomUpDown::SetMax(int32_t v) {
  max_ = v;
  if (HandleAllocated()) SendMessageW(handle_, UDM_SETRANGE32, min_, max_);
}
int32_t TCustomUpDown::Position() const {
  if (handle_ != nullptr) return static_cast<int32_t>(SendMessageW(handle_, UDM_GETPOS32, 0, 0));
  return position_;
}
void TCustomUpDown::SetPosition(int32_t v) {
  position_ = std::clamp(v, std::min(min_, max_), std::max(min_, max_));
  if (HandleAllocated()) SendMessageW(handle_, UDM_SETPOS32, 0, position_);
}
void TCustomUpDown::SetIncrement(int32_t v) {
  increment_ = v;
  if (HandleAllocated()) {
    UDACCEL accel{0, static_cast<UINT>(std::max(v, 1))};
    SendMessageW(handle_, UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&accel));
  }
}
void TCustomUpDown::SetOrientation(TUDOrientation v) {
  if (v == orientation_) return;
  orientation_ = v;
  RecreateWnd();
}
void TCustomUpDown::SetWrap(bool v) {
  if (v == wrap_) return;
  wrap_ = v;
  RecreateWnd();
}

void TCustomUpDown::SetAssociate(TWinControl* v) {
  if (associate_ != nullptr) associate_->RemoveFreeNotification(this);
  associate_ = v;
  if (associate_ != nullptr) associate_->FreeNotification(this);
  if (HandleAllocated()) {
    SendMessageW(handle_, UDM_SETBUDDY,
                 reinterpret_cast<WPARAM>(associate_ != nullptr ? associate_->Handle() : nullptr),
                 0);
  }
}

void TCustomUpDown::Notification(TComponent* component, TOperation operation) {
  TWinControl::Notification(component, operation);
  if (operation == TOperation::opRemove && component == associate_) associate_ = nullptr;
}

void TCustomUpDown::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.ClassName = UPDOWN_CLASSW;
  p.SystemClass = true;
  p.Style |= UDS_SETBUDDYINT | UDS_ARROWKEYS | UDS_ALIGNRIGHT;
  if (orientation_ == udHorizontal) p.Style |= UDS_HORZ;
  if (wrap_) p.Style |= UDS_WRAP;
}

void TCustomUpDown::HandleCreated() {
  SendMessageW(handle_, UDM_SETRANGE32, min_, max_);
  SendMessageW(handle_, UDM_SETPOS32, 0, position_);
  SetIncrement(increment_);
  if (associate_ != nullptr) {
    SendMessageW(handle_, UDM_SETBUDDY, reinterpret_cast<WPARAM>(associate_->Handle()), 0);
  }
}

void TCustomUpDown::WndProc(TMessage& m) {
  if (m.Msg == CN_NOTIFY) {
    auto* nm = reinterpret_cast<NMUPDOWN*>(m.LParam);
    if (nm->hdr.code == UDN_DELTAPOS && OnClickButton) {
      OnClickButton(this, nm->iDelta > 0 ? btNext : btPrev);
    }
    m.Result = 0;
    return;
  }
  if (m.Msg == CN_HSCROLL || m.Msg == CN_VSCROLL) {
    position_ = Position();
    Click();
    m.Result = 0;
    return;
  }
  TWinControl::WndProc(m);
}

}  // namespace fw
