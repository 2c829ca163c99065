#include "skin/controls/status_bar_rules.h"

namespace skin {

TPanelBevel PanelBevelOfName(std::string_view lower_name) {
  if (lower_name == "pbnone") return TPanelBevel::kNone;
  if (lower_name == "pbraised") return TPanelBevel::kRaised;
  return TPanelBevel::kLowered;
}

int StatusPanelFrame(TPanelBevel bevel) {
  switch (bevel) {
    case TPanelBevel::kRaised:
      return 2;
    case TPanelBevel::kNone:
      return 3;
    case TPanelBevel::kLowered:
      break;
  }
  return 1;
}

TTextAlign TextAlignOfName(std::string_view lower_name) {
  if (lower_name == "tarightjustify") return TTextAlign::kRight;
  if (lower_name == "tacenter") return TTextAlign::kCenter;
  return TTextAlign::kLeft;
}

bool MirrorsAlignment(std::string_view lower_bidi_name) {
  return lower_bidi_name == "bdrighttoleft";
}

TTextAlign PanelTextAlign(TTextAlign alignment, bool mirrored) {
  if (!mirrored) return alignment;
  switch (alignment) {
    case TTextAlign::kLeft:
      return TTextAlign::kRight;
    case TTextAlign::kRight:
      return TTextAlign::kLeft;
    case TTextAlign::kCenter:
      break;
  }
  return alignment;
}

uint32_t DrawTextAlignFlag(TTextAlign alignment) {
  switch (alignment) {
    case TTextAlign::kRight:
      return 2;
    case TTextAlign::kCenter:
      return 1;
    case TTextAlign::kLeft:
      break;
  }
  return 0;
}

TRect StatusTextRect(const TRect& panel, int text_w, int text_h, TTextAlign alignment) {
  TRect r{panel.Left + 2, panel.Top, panel.Right - 2, panel.Bottom};
  r.Top = panel.Top + (panel.Height() - text_h) / 2 - 1;
  r.Bottom = r.Top + text_h;
  if (alignment == TTextAlign::kCenter) {
    r.Left += (r.Width() - text_w) / 2;
    r.Right = r.Left + text_w;
  }
  return r;
}

TRect StatusPanelRect(const TRect& part, bool last, int bar_right) {
  TRect r = part;
  if (last) r.Right = bar_right;
  return r;
}

std::wstring StatusPanelText(const std::wstring& text) {
  return text.empty() ? std::wstring(L" ") : text;
}

TRect SizeGripRect(const TRect& bar, int image_w, int image_h, int frame_count) {
  if (frame_count < 5 || image_w < frame_count || image_h <= 0) return {};
  const int right = bar.Right - 1;
  const int bottom = bar.Bottom - 1;
  return {right - image_w / frame_count, bottom - image_h, right, bottom};
}

}  // namespace skin
