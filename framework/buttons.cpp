#include "framework/buttons.h"

#include <cwctype>

#include "framework/forms.h"

namespace fw {

bool IsAccel(wchar_t ch, const std::wstring& text) {
  for (size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] == L'&') {
      if (text[i + 1] == L'&') {
        ++i;
        continue;
      }
      return std::towupper(static_cast<wint_t>(text[i + 1])) ==
             std::towupper(static_cast<wint_t>(ch));
    }
  }
  return false;
}

TBitBtn::TBitBtn(TComponent* owner) : TWinControl(owner) {
  SetTabStop(true);
  glyph_.OnChange = [this] {
    // A strip of square images tells how many it holds.
    if (glyph_.Height() > 0 && glyph_.Width() % glyph_.Height() == 0) {
      int32_t n = glyph_.Width() / glyph_.Height();
      if (n >= 1 && n <= 4) num_glyphs_ = n;
    }
    Invalidate();
  };
}

const TClassInfo& TBitBtn::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TBitBtn>("TBitBtn", TWinControl::StaticClassInfo())
          .Obj("Glyph", &TBitBtn::Glyph)
          .Int("NumGlyphs", &TBitBtn::NumGlyphs, &TBitBtn::SetNumGlyphs)
          .Enum("Layout", {"blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom"},
                &TBitBtn::Layout, &TBitBtn::SetLayout)
          .Int("Margin", &TBitBtn::Margin, &TBitBtn::SetMargin)
          .Int("Spacing", &TBitBtn::Spacing, &TBitBtn::SetSpacing)
          .Bool("Default", &TBitBtn::Default, &TBitBtn::SetDefault)
          .Bool("Cancel", &TBitBtn::Cancel, &TBitBtn::SetCancel)
          .Build();
  return info;
}

void TBitBtn::SetNumGlyphs(int32_t v) {
  num_glyphs_ = v < 1 ? 1 : v > 4 ? 4 : v;
  Invalidate();
}
void TBitBtn::SetLayout(TButtonLayout v) {
  layout_ = v;
  Invalidate();
}
void TBitBtn::SetMargin(int32_t v) {
  margin_ = v;
  Invalidate();
}
void TBitBtn::SetSpacing(int32_t v) {
  spacing_ = v;
  Invalidate();
}
void TBitBtn::SetDefault(bool v) {
  default_ = v;
  Invalidate();
}

void TBitBtn::Click() {
  if (TForm* form = GetParentForm(); form != nullptr && CanFocus() && !Focused()) SetFocus();
  TWinControl::Click();
}

void TBitBtn::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.ClassName = L"BUTTON";
  p.SystemClass = true;
  p.Style &= ~WS_CLIPCHILDREN;
  p.Style |= BS_OWNERDRAW;
}

bool TBitBtn::IsActive() const {
  // The focused button is the one Enter presses; with no button focused,
  // the default button is.
  if (Focused()) return true;
  if (!default_) return false;
  TWinControl* focus = FindControl(GetFocus());
  return focus == nullptr || dynamic_cast<TBitBtn*>(focus) == nullptr;
}

TBitBtn::TLayoutResult TBitBtn::CalcLayout(const RECT& client, SIZE glyph, SIZE text,
                                           TButtonLayout layout, int32_t margin, int32_t spacing) {
  LONG cw = client.right - client.left;
  LONG ch = client.bottom - client.top;
  bool horizontal = layout == blGlyphLeft || layout == blGlyphRight;
  if (glyph.cx == 0 || glyph.cy == 0 || text.cx == 0) spacing = 0;
  LONG avail = horizontal ? cw : ch;
  LONG glyph_extent = horizontal ? glyph.cx : glyph.cy;
  LONG text_extent = horizontal ? text.cx : text.cy;
  LONG m = margin;
  LONG s = spacing;
  if (m == -1) {
    if (s == -1) {
      LONG total = glyph_extent + text_extent;
      m = (avail - total) / 3;
      s = m;
    } else {
      LONG total = glyph_extent + s + text_extent;
      m = (avail - total) / 2;
    }
  } else if (s == -1) {
    s = (avail - m - glyph_extent - text_extent) / 2;
  }
  TLayoutResult r{};
  LONG gx = client.left + (cw - glyph.cx) / 2;
  LONG gy = client.top + (ch - glyph.cy) / 2;
  LONG tx = client.left + (cw - text.cx) / 2;
  LONG ty = client.top + (ch - text.cy) / 2;
  switch (layout) {
    case blGlyphLeft:
      gx = client.left + m;
      tx = gx + glyph.cx + s;
      break;
    case blGlyphRight:
      gx = client.right - m - glyph.cx;
      tx = gx - s - text.cx;
      break;
    case blGlyphTop:
      gy = client.top + m;
      ty = gy + glyph.cy + s;
      break;
    case blGlyphBottom:
      gy = client.bottom - m - glyph.cy;
      ty = gy - s - text.cy;
      break;
  }
  r.GlyphPos = POINT{gx, gy};
  r.TextRect = RECT{tx, ty, tx + text.cx, ty + text.cy};
  return r;
}

void TBitBtn::DrawItem(const DRAWITEMSTRUCT& dis) {
  HDC dc = dis.hDC;
  RECT r = dis.rcItem;
  bool pressed = (dis.itemState & ODS_SELECTED) != 0;
  bool focused = (dis.itemState & ODS_FOCUS) != 0;
  bool active = IsActive();
  if (active) {
    // The active button has an extra dark frame.
    TGdiHandle<HBRUSH> black(CreateSolidBrush(ColorToRGB(clBlack)));
    FrameRect(dc, &r, black.get());
    InflateRect(&r, -1, -1);
  }
  DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
  RECT client = r;
  InflateRect(&client, -2, -2);
  if (pressed) OffsetRect(&client, 1, 1);

  std::wstring caption = GetTextValue();
  SIZE text{};
  {
    TSelectObject font(dc, font_.Handle());
    RECT calc{0, 0, client.right - client.left, 0};
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &calc,
              DT_CALCRECT | DT_SINGLELINE);
    text = SIZE{calc.right, calc.bottom};
  }
  SIZE glyph{};
  if (!glyph_.Empty()) glyph = SIZE{glyph_.Width() / num_glyphs_, glyph_.Height()};
  TLayoutResult layout = CalcLayout(client, glyph, text, layout_, margin_, spacing_);

  if (!glyph_.Empty()) {
    // Image 2 is the disabled one, 3 the pressed one, when the strip has them.
    int index = 0;
    if (!enabled_ && num_glyphs_ >= 2)
      index = 1;
    else if (pressed && num_glyphs_ >= 3)
      index = 2;
    HDC src = glyph_.Canvas()->Handle();
    TransparentBlt(dc, layout.GlyphPos.x, layout.GlyphPos.y, glyph.cx, glyph.cy, src,
                   index * glyph.cx, 0, glyph.cx, glyph.cy, ColorToRGB(glyph_.TransparentColor()));
  }
  TSelectObject font(dc, font_.Handle());
  SetBkMode(dc, TRANSPARENT);
  RECT tr = layout.TextRect;
  if (enabled_) {
    SetTextColor(dc, ColorToRGB(font_.Color()));
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &tr,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  } else {
    RECT shifted = tr;
    OffsetRect(&shifted, 1, 1);
    SetTextColor(dc, ColorToRGB(clBtnHighlight));
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &shifted,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SetTextColor(dc, ColorToRGB(clBtnShadow));
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &tr,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  }
  if (focused) {
    RECT fr = r;
    InflateRect(&fr, -3, -3);
    DrawFocusRect(dc, &fr);
  }
}

void TBitBtn::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CN_COMMAND:
      if (HIWORD(m.WParam) == BN_CLICKED) Click();
      return;
    case CN_DRAWITEM:
      DrawItem(*reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam));
      m.Result = TRUE;
      return;
    case CM_DIALOGKEY:
      if (((m.WParam == VK_RETURN && IsActive()) || (m.WParam == VK_ESCAPE && cancel_)) &&
          GetKeyState(VK_SHIFT) >= 0 && GetKeyState(VK_CONTROL) >= 0 && CanFocus()) {
        Click();
        m.Result = 1;
        return;
      }
      m.Result = 0;
      return;
    case CM_DIALOGCHAR:
      if (IsAccel(static_cast<wchar_t>(m.WParam), GetTextValue()) && CanFocus()) {
        Click();
        m.Result = 1;
        return;
      }
      m.Result = 0;
      return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      Invalidate();
      break;
    case WM_LBUTTONDBLCLK:
      // A double click is two clicks.
      m.Msg = WM_LBUTTONDOWN;
      break;
    default:
      break;
  }
  TWinControl::WndProc(m);
}

}  // namespace fw
