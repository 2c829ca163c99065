#include "framework/gauges.h"

#include <algorithm>
#include <string>

namespace fw {

TGauge::TGauge(TComponent* owner) : TGraphicControl(owner) {}

const TClassInfo& TGauge::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TGauge>("TGauge", TGraphicControl::StaticClassInfo())
          .Enum("Kind", {"gkText", "gkHorizontalBar", "gkVerticalBar", "gkPie", "gkNeedle"},
                &TGauge::Kind, &TGauge::SetKind)
          .Bool("ShowText", &TGauge::ShowText, &TGauge::SetShowText)
          .Int("ForeColor", &TGauge::ForeColor, &TGauge::SetForeColor)
          .Int("BackColor", &TGauge::BackColor, &TGauge::SetBackColor)
          .Enum("BorderStyle", {"bsNone", "bsSingle"}, &TGauge::BorderStyle,
                &TGauge::SetBorderStyle)
          .Int("MinValue", &TGauge::MinValue, &TGauge::SetMinValue)
          .Int("MaxValue", &TGauge::MaxValue, &TGauge::SetMaxValue)
          .Int("Progress", &TGauge::Progress, &TGauge::SetProgress)
          .Build();
  return info;
}

void TGauge::SetKind(TGaugeKind v) {
  kind_ = v;
  Invalidate();
}
void TGauge::SetShowText(bool v) {
  show_text_ = v;
  Invalidate();
}
void TGauge::SetForeColor(TColor v) {
  fore_color_ = v;
  Invalidate();
}
void TGauge::SetBackColor(TColor v) {
  back_color_ = v;
  Invalidate();
}
void TGauge::SetBorderStyle(TGaugeBorderStyle v) {
  border_style_ = v;
  Invalidate();
}
// An unchanged bound repaints nothing (a run sets the maximum with every row).
void TGauge::SetMinValue(int32_t v) {
  if (v == min_value_) return;
  min_value_ = v;
  if (progress_ < v) progress_ = v;
  Invalidate();
}
void TGauge::SetMaxValue(int32_t v) {
  if (v == max_value_) return;
  max_value_ = v;
  if (progress_ > v) progress_ = v;
  Invalidate();
}
void TGauge::SetProgress(int32_t v) {
  v = std::clamp(v, min_value_, std::max(min_value_, max_value_));
  if (v == progress_) return;
  int32_t before = PercentDone();
  progress_ = v;
  if (PercentDone() != before || kind_ != gkText) Invalidate();
}

int32_t TGauge::PercentDone() const {
  int64_t range = static_cast<int64_t>(max_value_) - min_value_;
  if (range <= 0) return 0;
  return static_cast<int32_t>((static_cast<int64_t>(progress_) - min_value_) * 100 / range);
}

void TGauge::Paint() {
  HDC dc = canvas_.Handle();
  RECT r = ClientRect();
  if (border_style_ == gbsSingle) {
    TGdiHandle<HBRUSH> frame(CreateSolidBrush(ColorToRGB(clBlack)));
    FrameRect(dc, &r, frame.get());
    InflateRect(&r, -1, -1);
  }
  TGdiHandle<HBRUSH> back(CreateSolidBrush(ColorToRGB(back_color_)));
  TGdiHandle<HBRUSH> fore(CreateSolidBrush(ColorToRGB(fore_color_)));
  FillRect(dc, &r, back.get());
  RECT done = r;
  int64_t range = static_cast<int64_t>(max_value_) - min_value_;
  if (kind_ == gkVerticalBar) {
    LONG h =
        range > 0 ? static_cast<LONG>((r.bottom - r.top) * (progress_ - min_value_) / range) : 0;
    done.top = r.bottom - h;
  } else if (kind_ != gkText) {
    LONG w =
        range > 0 ? static_cast<LONG>((r.right - r.left) * (progress_ - min_value_) / range) : 0;
    done.right = r.left + w;
  } else {
    done.right = done.left;
  }
  FillRect(dc, &done, fore.get());
  if (!show_text_) return;
  // The text is drawn in the foreground colour over the empty part and in the
  // background colour over the filled part, so it reads on both.
  std::wstring text = std::to_wstring(PercentDone()) + L"%";
  TSelectObject font(dc, font_.Handle());
  SetBkMode(dc, TRANSPARENT);
  for (int pass = 0; pass < 2; ++pass) {
    int saved = SaveDC(dc);
    if (pass == 0) {
      ExcludeClipRect(dc, done.left, done.top, done.right, done.bottom);
      SetTextColor(dc, ColorToRGB(fore_color_));
    } else {
      IntersectClipRect(dc, done.left, done.top, done.right, done.bottom);
      SetTextColor(dc, ColorToRGB(back_color_));
    }
    RECT tr = r;
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &tr,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    RestoreDC(dc, saved);
  }
}

}  // namespace fw
