#include "skin/controls/skin_button.h"

#include <algorithm>

#include "framework/dc.h"
#include "framework/imglist.h"
#include "skin/controls/button_rules.h"
#include "skin/data/win/skin_text.h"

namespace skin::win {

namespace {

bool Drawable(const skin::TDataSkinObject* e) {
  return e != nullptr && !e->Bitmap.Empty();
}

skin::TPushLook LookOf(const TSkinControl& s, bool is_default) {
  return skin::TPushLook{.Enabled = s.Enabled,
                         .Focused = s.Focused,
                         .Default = is_default,
                         .MouseState = s.MouseState};
}

// The text colour of a frame: the skin's colour for it when the skin names
// one, clBtnShadow when disabled, else `font_colour`.
COLORREF FrameTextColour(const skin::TDataSkinButton& b, int frame, COLORREF font_colour) {
  switch (skin::ButtonTextColourOf(frame)) {
    case skin::TButtonTextColour::kNormal:
      return b.HasNormalColour2 ? fw::ColorToRGB(b.NormalColour2) : font_colour;
    case skin::TButtonTextColour::kMouseOver:
      return b.HasMouseOverColour2 ? fw::ColorToRGB(b.MouseOverColour2) : font_colour;
    case skin::TButtonTextColour::kPressed:
      return b.HasPressedColour2 ? fw::ColorToRGB(b.PressedColour2) : font_colour;
    case skin::TButtonTextColour::kDisabled:
      return fw::ColorToRGB(fw::clBtnShadow);
    case skin::TButtonTextColour::kFont:
      break;
  }
  return font_colour;
}

// A raw button's text colour: the skin's button text, then the frame's
// colour whether or not the skin named it, grey when disabled.
COLORREF RawTextColour(const skin::TSkinData& d, int frame) {
  const skin::TDataSkinButton& b = *d.Buttons;
  switch (frame) {
    case 1:
      return fw::ColorToRGB(b.NormalColour2);
    case 2:
      return fw::ColorToRGB(b.PressedColour2);
    case 3:
      return 0x808080;
    case 4:
      return fw::ColorToRGB(b.MouseOverColour2);
    default:
      return fw::ColorToRGB(d.ButtonTextColour);
  }
}

fw::TFont* FontOf(const TSkinControl& s) {
  return dynamic_cast<fw::TFont*>(s.GetObjectProp("Font"));
}

// The font a button's text is drawn in: its framework Font, or the font
// the window was given.
HFONT TextFont(const TSkinControl& s) {
  if (fw::TFont* font = FontOf(s)) return font->Handle();
  if (s.Handle != nullptr) {
    return reinterpret_cast<HFONT>(SendMessageW(s.Handle, WM_GETFONT, 0, 0));
  }
  return nullptr;
}

// Selects `font` for the guard's life (nothing for nullptr).
class TFontScope {
 public:
  TFontScope(HDC dc, HFONT font)
      : dc_(dc), old_(font != nullptr ? SelectObject(dc, font) : nullptr) {}
  ~TFontScope() {
    if (old_ != nullptr && old_ != HGDI_ERROR) SelectObject(dc_, old_);
  }
  TFontScope(const TFontScope&) = delete;
  TFontScope& operator=(const TFontScope&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

std::wstring WithLineBreaks(std::wstring text) {
  for (size_t at = text.find(L"||"); at != std::wstring::npos; at = text.find(L"||", at + 2)) {
    text.replace(at, 2, L"\r\n");
  }
  return text;
}

skin::TGlyphLayoutKind LayoutOf(const std::string& name) {
  if (name == "blglyphright") return skin::glRight;
  if (name == "blglyphtop") return skin::glTop;
  if (name == "blglyphbottom") return skin::glBottom;
  return skin::glLeft;
}

// The size of a text block as DrawText measures it in a w x h rectangle.
SIZE MeasureText(HDC dc, const std::wstring& text, int w, int h, UINT format) {
  if (text.empty()) return SIZE{0, 0};
  RECT r{0, 0, w, h};
  SkinDrawText(dc, text, r, format | DT_CALCRECT);
  return SIZE{r.right - r.left, r.bottom - r.top};
}

}  // namespace

// --- TSkinButton -----------------------------------------------------------------

const fw::TClassInfo& TSkinButton::StaticClassInfo() {
  static const fw::TClassInfo info =
      fw::TClassBuilder<TSkinButton>("TSkinButton", TSkinControl::StaticClassInfo()).Build();
  return info;
}

bool TSkinButton::BeforeMessage(fw::TMessage& m) {
  switch (m.Msg) {
    case WM_PAINT:
      PaintClient(m);
      return false;
    case WM_ERASEBKGND:
      m.Result = 1;
      return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (!Focused && Handle != nullptr) SetFocus(Handle);
      MouseState |= kMousePressed;
      Paint(nullptr);
      m.Result = 0;
      return false;
    default:
      return TSkinControl::BeforeMessage(m);
  }
}

void TSkinButton::BecomeHot() {
  if (SkinForm != nullptr) SkinForm->SetHotButton(this);
}

void TSkinButton::Click() {
  if (Control != nullptr) {
    Control->Click();
  } else if (GraphicControl != nullptr) {
    GraphicControl->Click();
  } else if (Handle != nullptr) {
    PostMessageW(GetParent(Handle), WM_COMMAND, static_cast<WPARAM>(GetDlgCtrlID(Handle)),
                 reinterpret_cast<LPARAM>(Handle));
  }
}

bool TSkinButton::ButtonAfterMessage(fw::TMessage& m) {
  switch (m.Msg) {
    case WM_KEYDOWN:
    case WM_KEYUP:
      if (m.WParam == VK_SPACE) {
        TrackMouseState(m);
        Repaint();
      }
      return true;
    case WM_MOUSEMOVE: {
      if ((MouseState & kMouseInside) != 0) return true;
      MouseState |= kMouseInside;
      TSkinControl* hot = SkinForm != nullptr ? SkinForm->GetHotButton() : nullptr;
      if (hot != nullptr && hot != this) {
        fw::TMessage leave{CM_MOUSELEAVE, 0, 0, 0};
        hot->WndProc(leave);
      }
      if (SkinForm == nullptr || SkinForm->GetHotButton() != this) {
        Repaint();
        BecomeHot();
      }
      return true;
    }
    case WM_LBUTTONUP:
      if ((MouseState & kMousePressed) != 0) {
        MouseState &= static_cast<uint8_t>(~kMousePressed);
        Repaint();
        Click();
      }
      return true;
    case CM_MOUSEENTER:
      if (Enabled) {
        MouseState |= kMouseInside;
        Repaint();
        BecomeHot();
      }
      return true;
    case CM_MOUSELEAVE:
      if (Enabled) {
        MouseState &= static_cast<uint8_t>(~(kMouseInside | kMousePressed));
        Repaint();
        if (SkinForm != nullptr && SkinForm->GetHotButton() == this) {
          SkinForm->SetHotButton(nullptr);
        }
      }
      return true;
    default:
      return false;
  }
}

void TSkinButton::AfterMessage(fw::TMessage& m) {
  if (!ButtonAfterMessage(m)) TSkinControl::AfterMessage(m);
}

void TSkinButton::PaintTo(HDC dc, const RECT& rect) {
  const skin::TSkinData& d = Data();
  if (!Drawable(d.Buttons.get())) return;
  const LONG style = GetWindowLongW(Handle, GWL_STYLE);
  RefreshState();
  Caption = Control != nullptr ? GetTextProp("Caption") : WindowText();
  const bool is_default = (style & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
  const int frame = skin::PushButtonFrame(LookOf(*this, is_default));

  const int w = rect.right - rect.left;
  const int h = rect.bottom - rect.top;
  SizeBuffer(Buffer, w, h);
  if (Buffer.Empty()) return;
  HDC mem = Buffer.Canvas()->Handle();
  const RECT whole{0, 0, w, h};
  FillSkinColour(mem, whole);
  DrawElement(Buffer, whole, 5, frame, d.Buttons.get());

  const TFontScope font(mem, TextFont(*this));
  COLORREF colour;
  if (Control != nullptr) {
    const fw::TFont* f = FontOf(*this);
    colour = FrameTextColour(*d.Buttons, frame,
                             fw::ColorToRGB(f != nullptr ? f->Color() : fw::clBtnText));
  } else {
    colour = RawTextColour(d, frame);
  }
  SetTextColor(mem, colour);
  DrawCaption(mem, whole, DT_CENTER, Caption);
  BitBlt(dc, rect.left, rect.top, w, h, mem, 0, 0, SRCCOPY);
}

// --- TSkinBitButton --------------------------------------------------------------

const fw::TClassInfo& TSkinBitButton::StaticClassInfo() {
  static const fw::TClassInfo info =
      fw::TClassBuilder<TSkinBitButton>("TSkinBitButton", TSkinButton::StaticClassInfo()).Build();
  return info;
}

void TSkinBitButton::PaintTo(HDC dc, const RECT& rect) {
  const skin::TSkinData& d = Data();
  if (!Drawable(d.Buttons.get())) return;
  RefreshState();
  Caption = Served() != nullptr ? GetTextProp("Caption") : WindowText();
  const int frame = skin::BitButtonFrame(LookOf(*this, PropTrue("Default")));
  const int glyph_image = skin::GlyphImageOfFrame(frame);

  const int w = rect.right - rect.left;
  const int h = rect.bottom - rect.top;
  SizeBuffer(Buffer, w, h);
  if (Buffer.Empty()) return;
  HDC mem = Buffer.Canvas()->Handle();
  const RECT whole{0, 0, w, h};
  FillSkinColour(mem, whole);
  DrawElement(Buffer, whole, std::max(d.Buttons->FrameCount, 1), frame, d.Buttons.get());

  auto* glyph = dynamic_cast<fw::TBitmap*>(GetObjectProp("Glyph"));
  auto* images = dynamic_cast<fw::TImageList*>(GetObjectProp("Images"));
  const int num_glyphs = std::max<int>(static_cast<int>(GetIntProp("NumGlyphs")), 1);
  const auto image_index = static_cast<int32_t>(GetIntProp("ImageIndex"));
  const auto disabled_index = static_cast<int32_t>(GetIntProp("DisabledIndex"));

  SIZE glyph_size{0, 0};
  if (glyph != nullptr && !glyph->Empty()) {
    glyph_size = SIZE{glyph->Width() / num_glyphs, glyph->Height()};
  } else if (images != nullptr && image_index != -1) {
    glyph_size = SIZE{images->Width(), images->Height()};
  }

  const TFontScope font(mem, TextFont(*this));
  Caption = WithLineBreaks(Caption);
  const SIZE text = MeasureText(mem, Caption, w, h, DT_WORDBREAK);
  skin::TGlyphLayoutInput in;
  in.ClientW = w;
  in.ClientH = h;
  in.GlyphW = glyph_size.cx;
  in.GlyphH = glyph_size.cy;
  in.TextW = text.cx;
  in.TextH = text.cy;
  in.Margin = static_cast<int>(GetIntProp("Margin"));
  in.Spacing = static_cast<int>(GetIntProp("Spacing"));
  in.Layout = LayoutOf(GetEnumName("Layout"));
  in.AlignCenter = GetEnumName("Alignment") == "tacenter";
  const skin::TGlyphLayout layout = skin::BitButtonLayout(in);

  if (glyph != nullptr && !glyph->Empty()) {
    const RECT at{layout.GlyphX, layout.GlyphY, layout.GlyphX + glyph_size.cx,
                  layout.GlyphY + glyph_size.cy};
    DrawGlyph(mem, at, num_glyphs, glyph_image, *glyph);
  } else if (images != nullptr) {
    int32_t index = image_index;
    if (!Enabled && disabled_index != -1) index = disabled_index;
    if (index != -1) {
      fw::TCanvas canvas;
      canvas.SetHandle(mem);
      images->Draw(canvas, layout.GlyphX, layout.GlyphY, index, Enabled);
      canvas.SetHandle(nullptr);
    }
  }

  const fw::TFont* f = FontOf(*this);
  SetTextColor(mem, FrameTextColour(*d.Buttons, frame,
                                    fw::ColorToRGB(f != nullptr ? f->Color() : fw::clBtnText)));
  SetBkMode(mem, TRANSPARENT);
  RECT text_rect{layout.TextX, layout.TextY, layout.TextX + text.cx, layout.TextY + text.cy};
  SkinDrawText(mem, Caption, text_rect, layout.Format);
  BitBlt(dc, rect.left, rect.top, w, h, mem, 0, 0, SRCCOPY);
}

// --- TSkinSpeedButton ------------------------------------------------------------

const fw::TClassInfo& TSkinSpeedButton::StaticClassInfo() {
  static const fw::TClassInfo info =
      fw::TClassBuilder<TSkinSpeedButton>("TSkinSpeedButton", TSkinBitButton::StaticClassInfo())
          .Build();
  return info;
}

TSkinSpeedButton::~TSkinSpeedButton() {
  UnhookWindowProc();
}

bool TSkinSpeedButton::BeforeMessage(fw::TMessage& m) {
  switch (m.Msg) {
    case WM_PAINT: {
      if (GraphicControl != nullptr && m.WParam != 0) {
        const RECT r = GraphicControl->ClientRect();
        try {
          DrawSpeedButton(reinterpret_cast<HDC>(m.WParam), r);
        } catch (...) {  // NOLINT(bugprone-empty-catch): painting errors leave what was drawn
        }
      }
      m.Result = 1;
      return false;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      CallOldProc(m);
      MouseState |= kMousePressed;
      Paint(nullptr);
      return false;
    default:
      return TSkinButton::BeforeMessage(m);
  }
}

void TSkinSpeedButton::AfterMessage(fw::TMessage& m) {
  switch (m.Msg) {
    case WM_NCDESTROY:
    case CM_RELEASE:
      UnhookWindowProc();
      return;
    case WM_KEYDOWN:
    case WM_KEYUP:
      if (m.WParam == VK_SPACE) {
        TrackMouseState(m);
        Paint(nullptr);
      }
      return;
    case WM_LBUTTONUP:
      MouseState &= static_cast<uint8_t>(~kMousePressed);
      Paint(nullptr);
      return;
    case CM_MOUSEENTER:
      MouseState |= kMouseInside;
      Paint(nullptr);
      return;
    case CM_MOUSELEAVE:
      MouseState &= static_cast<uint8_t>(~(kMouseInside | kMousePressed));
      if (GraphicControl != nullptr && GraphicControl->Showing()) Paint(nullptr);
      return;
    default:
      TSkinButton::AfterMessage(m);
      return;
  }
}

void TSkinSpeedButton::Paint(HDC dc) {
  auto* graphic = dynamic_cast<fw::TGraphicControl*>(GraphicControl);
  if (graphic == nullptr) return;
  const RECT bounds = graphic->BoundsRect();
  const RECT r{0, 0, bounds.right - bounds.left, bounds.bottom - bounds.top};
  try {
    if (dc != nullptr) {
      DrawSpeedButton(dc, r);
      return;
    }
    // At once, through the parent's window at the button's place.
    const fw::TControlDC at(*graphic);
    if (at.Get() != nullptr) DrawSpeedButton(at.Get(), r);
  } catch (...) {  // NOLINT(bugprone-empty-catch): painting errors leave what was drawn
  }
}

void TSkinSpeedButton::DrawSpeedButton(HDC dc, const RECT& rect) {
  const skin::TSkinData& d = Data();
  if (!Drawable(d.Buttons.get())) return;
  const bool enabled = PropTrue("Enabled");
  const skin::TSpeedLook look{
      .Enabled = enabled, .Down = PropTrue("Down"), .MouseState = MouseState};
  const int frame = skin::SpeedButtonFrame(look);
  const int glyph_image = skin::GlyphImageOfFrame(frame);
  Caption = GetTextProp("Caption");
  auto* glyph = dynamic_cast<fw::TBitmap*>(GetObjectProp("Glyph"));
  const int num_glyphs = std::max<int>(static_cast<int>(GetIntProp("NumGlyphs")), 1);
  const bool flat = PropTrue("Flat");

  const int w = rect.right - rect.left;
  const int h = rect.bottom - rect.top;
  SizeBuffer(Buffer, w, h);
  if (Buffer.Empty()) return;
  HDC mem = Buffer.Canvas()->Handle();
  const RECT whole{0, 0, w, h};
  const TFontScope font(mem, TextFont(*this));
  FillSkinColour(mem, whole);
  if (skin::SpeedButtonDrawsFrame(frame, flat)) {
    DrawElement(Buffer, whole, std::max(d.Buttons->FrameCount, 1), frame, d.Buttons.get());
  }
  const fw::TFont* f = FontOf(*this);
  const COLORREF colour =
      FrameTextColour(*d.Buttons, frame, fw::ColorToRGB(f != nullptr ? f->Color() : fw::clBtnText));
  SetTextColor(mem, colour);
  if (glyph == nullptr || glyph->Empty()) {
    Caption = DrawCaption(mem, whole, DT_CENTER, Caption);
  } else {
    const SIZE text = MeasureText(mem, Caption, w, h, 0);
    skin::TGlyphLayoutInput in;
    in.ClientW = w;
    in.ClientH = h;
    in.GlyphW = glyph->Width() / num_glyphs;
    in.GlyphH = glyph->Height();
    in.TextW = text.cx;
    in.TextH = text.cy;
    in.Margin = static_cast<int>(GetIntProp("Margin"));
    in.Spacing = static_cast<int>(GetIntProp("Spacing"));
    in.Layout = LayoutOf(GetEnumName("Layout"));
    const skin::TGlyphLayout layout = skin::SpeedButtonLayout(in);
    const RECT at{layout.GlyphX, layout.GlyphY, layout.GlyphX + in.GlyphW,
                  layout.GlyphY + in.GlyphH};
    DrawGlyph(mem, at, num_glyphs, glyph_image, *glyph);
    SetBkMode(mem, TRANSPARENT);
    RECT text_rect{layout.TextX, layout.TextY, layout.TextX + text.cx, layout.TextY + text.cy};
    SkinDrawText(mem, Caption, text_rect, layout.Format);
  }
  BitBlt(dc, rect.left, rect.top, w, h, mem, 0, 0, SRCCOPY);
}

}  // namespace skin::win
