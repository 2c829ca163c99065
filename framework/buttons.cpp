#include "framework/buttons.h"

#include <cwctype>

#include "framework/forms.h"
#include "framework/imglist.h"

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

TBitBtn::TBitBtn(TComponent* owner) : TButton(owner) {
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
      TClassBuilder<TBitBtn>("TBitBtn", TButton::StaticClassInfo())
          .Obj("Glyph", &TBitBtn::Glyph)
          .Int("NumGlyphs", &TBitBtn::NumGlyphs, &TBitBtn::SetNumGlyphs)
          .Enum("Layout", {"blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom"},
                &TBitBtn::Layout, &TBitBtn::SetLayout)
          .Int("Margin", &TBitBtn::Margin, &TBitBtn::SetMargin)
          .Int("Spacing", &TBitBtn::Spacing, &TBitBtn::SetSpacing)
          .Obj("Images", &TBitBtn::ImagesObject, &TBitBtn::SetImagesObject)
          .Int("ImageIndex", &TBitBtn::ImageIndex, &TBitBtn::SetImageIndex)
          .Int("DisabledIndex", &TBitBtn::DisabledIndex, &TBitBtn::SetDisabledIndex)
          .Enum("Alignment", {"taLeftJustify", "taRightJustify", "taCenter"}, &TBitBtn::Alignment,
                &TBitBtn::SetAlignment)
          .Build();
  return info;
}

void TBitBtn::SetImages(TImageList* v) {
  if (v == images_) return;
  if (images_ != nullptr) images_->RemoveFreeNotification(this);
  images_ = v;
  if (images_ != nullptr) images_->FreeNotification(this);
  Invalidate();
}

TObject* TBitBtn::ImagesObject() const {
  return images_;
}

void TBitBtn::SetImagesObject(TObject* v) {
  SetImages(dynamic_cast<TImageList*>(v));
}

void TBitBtn::SetImageIndex(int32_t v) {
  image_index_ = v;
  Invalidate();
}

void TBitBtn::SetDisabledIndex(int32_t v) {
  disabled_index_ = v;
  Invalidate();
}

void TBitBtn::SetAlignment(TAlignment v) {
  alignment_ = v;
  Invalidate();
}

void TBitBtn::Notification(TComponent* component, TOperation operation) {
  TButton::Notification(component, operation);
  if (operation == TOperation::opRemove && component == images_) images_ = nullptr;
}

void TBitBtn::UpdateDefaultStyle() {
  // Drawn by the button itself: the default one draws the active frame
  // only while no other push button has the focus.
  if (Default()) Invalidate();
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
void TBitBtn::CreateParams(TCreateParams& p) {
  TButton::CreateParams(p);
  p.Style = (p.Style & ~BS_TYPEMASK) | BS_OWNERDRAW;
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
  // Without a glyph bitmap, an image of the image list takes its place.
  int32_t list_index = -1;
  if (glyph_.Empty() && images_ != nullptr) {
    list_index = !enabled_ && disabled_index_ != -1 ? disabled_index_ : image_index_;
    if (list_index >= 0 && list_index < images_->Count()) {
      glyph = SIZE{images_->Width(), images_->Height()};
    } else {
      list_index = -1;
    }
  }
  if (!glyph_.Empty()) glyph = SIZE{glyph_.Width() / num_glyphs_, glyph_.Height()};
  TLayoutResult layout = CalcLayout(client, glyph, text, layout_, margin_, spacing_);

  if (list_index >= 0) {
    TCanvas canvas;
    canvas.SetHandle(dc);
    // No disabled image: the normal one, dimmed.
    images_->Draw(canvas, layout.GlyphPos.x, layout.GlyphPos.y, list_index,
                  enabled_ || disabled_index_ != -1);
  }
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
    case CN_DRAWITEM:
      DrawItem(*reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam));
      m.Result = TRUE;
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
  TButton::WndProc(m);
}

// --- TSpeedButton ------------------------------------------------------------------

TSpeedButton::TSpeedButton(TComponent* owner) : TGraphicControl(owner) {
  width_ = 23;
  height_ = 22;
  glyph_.OnChange = [this] {
    if (glyph_.Height() > 0 && glyph_.Width() % glyph_.Height() == 0) {
      int32_t n = glyph_.Width() / glyph_.Height();
      if (n >= 1 && n <= 4) num_glyphs_ = n;
    }
    Invalidate();
  };
}

const TClassInfo& TSpeedButton::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TSpeedButton>("TSpeedButton", TGraphicControl::StaticClassInfo())
          .Obj("Glyph", &TSpeedButton::Glyph)
          .Int("NumGlyphs", &TSpeedButton::NumGlyphs, &TSpeedButton::SetNumGlyphs)
          .Enum("Layout", {"blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom"},
                &TSpeedButton::Layout, &TSpeedButton::SetLayout)
          .Int("Margin", &TSpeedButton::Margin, &TSpeedButton::SetMargin)
          .Int("Spacing", &TSpeedButton::Spacing, &TSpeedButton::SetSpacing)
          .Bool("Flat", &TSpeedButton::Flat, &TSpeedButton::SetFlat)
          .Bool("Down", &TSpeedButton::Down, &TSpeedButton::SetDown)
          .Int("GroupIndex", &TSpeedButton::GroupIndex, &TSpeedButton::SetGroupIndex)
          .Bool("AllowAllUp", &TSpeedButton::AllowAllUp, &TSpeedButton::SetAllowAllUp)
          .Build();
  return info;
}

void TSpeedButton::SetNumGlyphs(int32_t v) {
  num_glyphs_ = v < 1 ? 1 : v > 4 ? 4 : v;
  Invalidate();
}
void TSpeedButton::SetLayout(TButtonLayout v) {
  layout_ = v;
  Invalidate();
}
void TSpeedButton::SetMargin(int32_t v) {
  margin_ = v;
  Invalidate();
}
void TSpeedButton::SetSpacing(int32_t v) {
  spacing_ = v;
  Invalidate();
}
void TSpeedButton::SetFlat(bool v) {
  flat_ = v;
  Invalidate();
}

void TSpeedButton::SetDown(bool v) {
  if (group_index_ == 0) v = false;  // only grouped buttons stay down
  if (v == down_) return;
  if (!v && !allow_all_up_) {
    // The last button of a group stays down unless all may be up.
    bool other_down = false;
    if (parent_ != nullptr) {
      for (int i = 0; i < parent_->ControlCount(); ++i) {
        auto* b = dynamic_cast<TSpeedButton*>(parent_->Controls(i));
        if (b != nullptr && b != this && b->group_index_ == group_index_ && b->down_)
          other_down = true;
      }
    }
    if (!other_down) return;
  }
  down_ = v;
  if (v && parent_ != nullptr) {
    for (int i = 0; i < parent_->ControlCount(); ++i) {
      auto* b = dynamic_cast<TSpeedButton*>(parent_->Controls(i));
      if (b != nullptr && b != this && b->group_index_ == group_index_ && b->down_) {
        b->down_ = false;
        b->Invalidate();
      }
    }
  }
  Invalidate();
}

void TSpeedButton::Click() {
  if (group_index_ != 0) {
    if (!down_) {
      SetDown(true);
    } else if (allow_all_up_) {
      down_ = false;
      Invalidate();
    }
  }
  TGraphicControl::Click();
}

void TSpeedButton::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (enabled_) {
        pressed_ = true;
        Invalidate();
      }
      break;
    case WM_LBUTTONUP:
    case WM_CANCELMODE:
      if (pressed_) {
        pressed_ = false;
        Invalidate();
      }
      break;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
      TGraphicControl::WndProc(m);
      if (flat_) Invalidate();
      return;
    default:
      break;
  }
  TGraphicControl::WndProc(m);
}

void TSpeedButton::Paint() {
  HDC dc = canvas_.Handle();
  RECT r = ClientRect();
  TGdiHandle<HBRUSH> face(CreateSolidBrush(ColorToRGB(color_)));
  FillRect(dc, &r, face.get());
  bool sunken = pressed_ || down_;
  if (!flat_) {
    DrawEdge(dc, &r, sunken ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
  } else if (sunken || (MouseInControl() && enabled_)) {
    DrawEdge(dc, &r, sunken ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
  }
  RECT client = r;
  InflateRect(&client, -2, -2);
  if (sunken) OffsetRect(&client, 1, 1);
  std::wstring caption = text_;
  SIZE text{};
  {
    TSelectObject font(dc, font_.Handle());
    RECT calc{0, 0, client.right - client.left, 0};
    if (!caption.empty()) {
      DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &calc,
                DT_CALCRECT | DT_SINGLELINE);
      text = SIZE{calc.right, calc.bottom};
    }
  }
  SIZE glyph{};
  if (!glyph_.Empty()) glyph = SIZE{glyph_.Width() / num_glyphs_, glyph_.Height()};
  TBitBtn::TLayoutResult layout =
      TBitBtn::CalcLayout(client, glyph, text, layout_, margin_, spacing_);
  if (!glyph_.Empty()) {
    // Images: normal, disabled, pressed, down (as many as the strip has).
    int index = 0;
    if (!enabled_ && num_glyphs_ >= 2) {
      index = 1;
    } else if (pressed_ && num_glyphs_ >= 3) {
      index = 2;
    } else if (down_ && num_glyphs_ >= 4) {
      index = 3;
    }
    TransparentBlt(dc, layout.GlyphPos.x, layout.GlyphPos.y, glyph.cx, glyph.cy,
                   glyph_.Canvas()->Handle(), index * glyph.cx, 0, glyph.cx, glyph.cy,
                   ColorToRGB(glyph_.TransparentColor()));
  }
  if (!caption.empty()) {
    TSelectObject font(dc, font_.Handle());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColorToRGB(enabled_ ? font_.Color() : clGrayText));
    RECT tr = layout.TextRect;
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &tr,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  }
}

}  // namespace fw
