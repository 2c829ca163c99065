// Common controls: the status bar (one simple text, or panels), the progress
// bar, the track bar and the up-down buttons.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/controls.h"

namespace fw {

enum TStatusPanelStyle { psText, psOwnerDraw };
enum TStatusPanelBevel { pbNone, pbLowered, pbRaised };

class TCustomStatusBar;

// One part of a status bar.
class TStatusPanel : public TPersistent {
  FW_CLASS_INFO(TStatusPanel)

 public:
  explicit TStatusPanel(TCustomStatusBar& bar) : bar_(bar) {}
  const std::wstring& Text() const { return text_; }
  void SetText(const std::wstring& v);
  int32_t Width() const { return width_; }
  void SetWidth(int32_t v);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment v);
  TStatusPanelStyle Style() const { return style_; }
  void SetStyle(TStatusPanelStyle v);
  TStatusPanelBevel Bevel() const { return bevel_; }
  void SetBevel(TStatusPanelBevel v);
  // Right to left reads the text that way and mirrors the alignment. With
  // ParentBiDiMode (the default) a panel follows its status bar.
  TBiDiMode BiDiMode() const;
  void SetBiDiMode(TBiDiMode v);
  bool ParentBiDiMode() const { return parent_bidi_mode_; }
  void SetParentBiDiMode(bool v);
  // The alignment the text is shown with (Alignment, mirrored by BiDiMode).
  TAlignment ShownAlignment() const;
  int Index() const;

 private:
  TCustomStatusBar& bar_;
  std::wstring text_;
  int32_t width_ = 50;
  TAlignment alignment_ = taLeftJustify;
  TStatusPanelStyle style_ = psText;
  TStatusPanelBevel bevel_ = pbLowered;
  TBiDiMode bidi_mode_ = bdLeftToRight;
  bool parent_bidi_mode_ = true;
};

class TStatusPanels : public TPersistent {
  FW_CLASS_INFO(TStatusPanels)

 public:
  explicit TStatusPanels(TCustomStatusBar& bar) : bar_(bar) {}
  int Count() const { return static_cast<int>(items_.size()); }
  TStatusPanel* Items(int index) const { return items_.at(static_cast<size_t>(index)).get(); }
  TStatusPanel* Add();
  void Delete(int index);
  void Clear();

 private:
  TCustomStatusBar& bar_;
  std::vector<std::unique_ptr<TStatusPanel>> items_;
};

// Paints a panel of style psOwnerDraw: `rect` is the panel's place in the
// bar, the bar's Canvas draws on the DC meanwhile.
using TDrawPanelEvent =
    std::function<void(TObject* status_bar, TStatusPanel* panel, const RECT& rect)>;

class TCustomStatusBar : public TWinControl {
  FW_CLASS_INFO(TCustomStatusBar)

 public:
  explicit TCustomStatusBar(TComponent* owner);

  const std::wstring& SimpleText() const { return simple_text_; }
  void SetSimpleText(const std::wstring& text);
  bool SimplePanel() const { return simple_panel_; }
  void SetSimplePanel(bool v);
  // A size grip needs a new window: changing it creates the window again.
  bool SizeGrip() const { return size_grip_; }
  void SetSizeGrip(bool v);
  TStatusPanels* Panels() { return &panels_; }

  // Puts the panels (or the simple text) into the window.
  void UpdatePanels();

  // Raised for panels of style psOwnerDraw when the bar paints them.
  TDrawPanelEvent OnDrawPanel;
  // Raises OnDrawPanel for `panel` with the Canvas on `dc` (the bar's own
  // owner-draw does this; a painter that draws the whole bar calls it too).
  void DrawPanel(TStatusPanel* panel, const RECT& rect, HDC dc);
  // The DC of the panel being drawn while OnDrawPanel runs.
  TCanvas* Canvas() { return &canvas_; }

 protected:
  void CreateParams(TCreateParams& params) override;
  void HandleCreated() override;
  void WndProc(TMessage& message) override;

 private:
  std::wstring simple_text_;
  bool simple_panel_ = false;
  bool size_grip_ = false;
  TStatusPanels panels_{*this};
  TCanvas canvas_;
};

class TStatusBar : public TCustomStatusBar {
  FW_CLASS_INFO(TStatusBar)

 public:
  using TCustomStatusBar::TCustomStatusBar;
};

enum TProgressBarOrientation { pbHorizontal, pbVertical };

class TProgressBar : public TWinControl {
  FW_CLASS_INFO(TProgressBar)

 public:
  explicit TProgressBar(TComponent* owner);

  int32_t Min() const { return min_; }
  void SetMin(int32_t v);
  int32_t Max() const { return max_; }
  void SetMax(int32_t v);
  int32_t Position() const;
  void SetPosition(int32_t v);
  int32_t Step() const { return step_; }
  void SetStep(int32_t v);
  void StepIt();
  TProgressBarOrientation Orientation() const { return orientation_; }
  void SetOrientation(TProgressBarOrientation v);
  bool Smooth() const { return smooth_; }
  void SetSmooth(bool v);

 protected:
  void CreateParams(TCreateParams& params) override;
  void HandleCreated() override;

 private:
  int32_t min_ = 0;
  int32_t max_ = 100;
  int32_t position_ = 0;
  int32_t step_ = 10;
  TProgressBarOrientation orientation_ = pbHorizontal;
  bool smooth_ = false;
};

enum TTrackBarOrientation { trHorizontal, trVertical };
enum TTickMark { tmBottomRight, tmTopLeft, tmBoth };
enum TTickStyle { tsNone, tsAuto, tsManual };

class TTrackBar : public TWinControl {
  FW_CLASS_INFO(TTrackBar)

 public:
  explicit TTrackBar(TComponent* owner);

  int32_t Min() const { return min_; }
  void SetMin(int32_t v);
  int32_t Max() const { return max_; }
  void SetMax(int32_t v);
  int32_t Position() const;
  void SetPosition(int32_t v);
  int32_t Frequency() const { return frequency_; }
  void SetFrequency(int32_t v);
  TTrackBarOrientation Orientation() const { return orientation_; }
  void SetOrientation(TTrackBarOrientation v);
  TTickMark TickMarks() const { return tick_marks_; }
  void SetTickMarks(TTickMark v);
  TTickStyle TickStyle() const { return tick_style_; }
  void SetTickStyle(TTickStyle v);

  TNotifyEvent OnChange;

 protected:
  void CreateParams(TCreateParams& params) override;
  void HandleCreated() override;
  void WndProc(TMessage& message) override;

 private:
  int32_t min_ = 0;
  int32_t max_ = 10;
  int32_t position_ = 0;
  int32_t frequency_ = 1;
  TTrackBarOrientation orientation_ = trHorizontal;
  TTickMark tick_marks_ = tmBottomRight;
  TTickStyle tick_style_ = tsAuto;
};

enum TUDOrientation { udHorizontal, udVertical };
enum TUDBtnType { btNext, btPrev };

class TCustomUpDown : public TWinControl {
  FW_CLASS_INFO(TCustomUpDown)

 public:
  explicit TCustomUpDown(TComponent* owner);

  int32_t Min() const { return min_; }
  void SetMin(int32_t v);
  int32_t Max() const { return max_; }
  void SetMax(int32_t v);
  int32_t Position() const;
  void SetPosition(int32_t v);
  int32_t Increment() const { return increment_; }
  void SetIncrement(int32_t v);
  TUDOrientation Orientation() const { return orientation_; }
  void SetOrientation(TUDOrientation v);
  bool Wrap() const { return wrap_; }
  void SetWrap(bool v);
  // The edit box whose number the buttons change (placed beside it).
  TWinControl* Associate() const { return associate_; }
  void SetAssociate(TWinControl* v);
  TObject* AssociateObject() const { return associate_; }
  void SetAssociateObject(TObject* v) { SetAssociate(dynamic_cast<TWinControl*>(v)); }

  std::function<void(TObject* sender, TUDBtnType button)> OnClickButton;

 protected:
  void CreateParams(TCreateParams& params) override;
  void HandleCreated() override;
  void WndProc(TMessage& message) override;
  void Notification(TComponent* component, TOperation operation) override;

 private:
  int32_t min_ = 0;
  int32_t max_ = 100;
  int32_t position_ = 0;
  int32_t increment_ = 1;
  TUDOrientation orientation_ = udVertical;
  bool wrap_ = false;
  TWinControl* associate_ = nullptr;
};

class TUpDown : public TCustomUpDown {
  FW_CLASS_INFO(TUpDown)

 public:
  using TCustomUpDown::TCustomUpDown;
};

}  // namespace fw
