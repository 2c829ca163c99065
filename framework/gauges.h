// TGauge: a progress gauge painted by its parent, with its percentage
// ("%d%%") in the middle.
#pragma once

#include "framework/controls.h"

namespace fw {

enum TGaugeKind { gkText, gkHorizontalBar, gkVerticalBar, gkPie, gkNeedle };
enum TGaugeBorderStyle { gbsNone, gbsSingle };

class TGauge : public TGraphicControl {
 public:
  explicit TGauge(TComponent* owner);
  FW_CLASS_INFO(TGauge)

  TGaugeKind Kind() const { return kind_; }
  void SetKind(TGaugeKind v);
  bool ShowText() const { return show_text_; }
  void SetShowText(bool v);
  TColor ForeColor() const { return fore_color_; }
  void SetForeColor(TColor v);
  TColor BackColor() const { return back_color_; }
  void SetBackColor(TColor v);
  TGaugeBorderStyle BorderStyle() const { return border_style_; }
  void SetBorderStyle(TGaugeBorderStyle v);
  int32_t MinValue() const { return min_value_; }
  void SetMinValue(int32_t v);
  int32_t MaxValue() const { return max_value_; }
  void SetMaxValue(int32_t v);
  int32_t Progress() const { return progress_; }
  void SetProgress(int32_t v);
  void AddProgress(int32_t v) { SetProgress(progress_ + v); }
  // 0..100, rounded down; 0 when the range is empty.
  int32_t PercentDone() const;

 protected:
  void Paint() override;

 private:
  TGaugeKind kind_ = gkHorizontalBar;
  bool show_text_ = true;
  TColor fore_color_ = clBlack;
  TColor back_color_ = clWhite;
  TGaugeBorderStyle border_style_ = gbsSingle;
  int32_t min_value_ = 0;
  int32_t max_value_ = 100;
  int32_t progress_ = 0;
};

}  // namespace fw
