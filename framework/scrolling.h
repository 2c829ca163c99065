// Windows whose contents scroll: TScrollingWinControl (the scroll bars of the
// window itself, ranges from the children's extent when AutoScroll is on),
// TScrollBox (a bordered scrolling container). Forms are scrolling windows
// too (TCustomForm), with AutoScroll off unless asked for.
#pragma once

#include "framework/controls.h"

namespace fw {

// One of the window's own scroll bars.
class TControlScrollBar : public TPersistent {
  FW_CLASS_INFO(TControlScrollBar)

 public:
  // Extent of the contents along this axis (pixels); 0: no bar.
  int32_t Range() const { return range_; }
  void SetRange(int32_t v);
  // How far the contents are scrolled.
  int32_t Position() const { return position_; }
  void SetPosition(int32_t v);
  int32_t Increment() const { return increment_; }
  void SetIncrement(int32_t v) { increment_ = v; }
  // Whether the bar shows now.
  bool IsScrollBarVisible() const { return shown_; }

 private:
  friend class TScrollingWinControl;
  TControlScrollBar(class TScrollingWinControl& owner, int bar) : owner_(owner), bar_(bar) {}
  TScrollingWinControl& owner_;
  int bar_;
  int32_t range_ = 0;
  int32_t position_ = 0;
  int32_t increment_ = 8;
  bool shown_ = false;
};

class TScrollingWinControl : public TWinControl {
  FW_CLASS_INFO(TScrollingWinControl)

 public:
  explicit TScrollingWinControl(TComponent* owner);

  bool AutoScroll() const { return auto_scroll_; }
  void SetAutoScroll(bool v);
  TControlScrollBar* HorzScrollBar() { return &horz_; }
  TControlScrollBar* VertScrollBar() { return &vert_; }
  // Scrolls so the control is in view.
  void ScrollInView(TControl* control);

 protected:
  void WndProc(TMessage& message) override;
  void AlignControls() override;
  void HandleCreated() override;
  void ControlBoundsChanged(TControl* control) override;

 private:
  friend class TControlScrollBar;
  // Ranges from the children (AutoScroll), then the bars shown or hidden.
  void UpdateScrollBars();
  void ScrollBy(int dx, int dy);
  void ScrollMessage(TControlScrollBar& bar, WPARAM code);

  TControlScrollBar horz_{*this, SB_HORZ};
  TControlScrollBar vert_{*this, SB_VERT};
  bool auto_scroll_ = true;
  bool updating_ = false;
};

class TScrollBox : public TScrollingWinControl {
  FW_CLASS_INFO(TScrollBox)

 public:
  explicit TScrollBox(TComponent* owner);
  bool IsContainer() const override { return true; }
  // bsSingle: a sunken edge around the box.
  bool BorderSingle() const { return border_single_; }
  void SetBorderSingle(bool v);

 protected:
  void CreateParams(TCreateParams& params) override;

 private:
  bool border_single_ = true;
};

}  // namespace fw
