#include "skin/controls/skin_box.h"

#include <algorithm>

#include "skin/controls/box_rules.h"
#include "skin/controls/painting_helpers.h"
#include "skin/data/win/skin_text.h"
#include "skin/window/skin_surface.h"

namespace skin::win {

// --- TSkinBox --------------------------------------------------------------------

const fw::TClassInfo& TSkinBox::StaticClassInfo() {
  static const fw::TClassInfo info =
      fw::TClassBuilder<TSkinBox>("TSkinBox", TSkinControl::StaticClassInfo()).Build();
  return info;
}

// A container is skinned by its colour alone: nothing is hooked. A second
// attach would save the skin colour as the control's own, so it does nothing.
void TSkinBox::Attach(ISkinForm* form, TSkinData* data, bool use_skin_colour, fw::TCanvas* canvas) {
  if (Attached) return;
  auto* control = dynamic_cast<fw::TWinControl*>(Owner());
  if (control == nullptr) return;
  UseSkinColour = use_skin_colour;
  Bind(*control, data, form, canvas);
  if (SkinForm != nullptr) SkinForm->RegisterSkinner(this);
  if (UseSkinColour) {
    SavedColour = control->SaveColour();
    control->SetColor(static_cast<fw::TColor>(SkinColour()));
  }
  Attached = true;
  Status = ssnAttached;
}

void TSkinBox::Detach() {
  if (UseSkinColour && Control != nullptr && Status != ssnDetached) {
    Control->RestoreColour(SavedColour);
  }
  Status = ssnDetached;
}

// --- TSkinGroupBox ---------------------------------------------------------------

const fw::TClassInfo& TSkinGroupBox::StaticClassInfo() {
  static const fw::TClassInfo info =
      fw::TClassBuilder<TSkinGroupBox>("TSkinGroupBox", TSkinControl::StaticClassInfo()).Build();
  return info;
}

// Over the box's own painting: its frame erased in the skin's background, a
// rounded line in the skin's shadow colour, the caption on the background.
void TSkinGroupBox::PaintTo(HDC dc, const RECT& rect) {
  const skin::TSkinData& d = Data();
  std::wstring caption = WindowText();
  if (caption.empty()) caption = GetTextProp("Caption");
  Caption = caption;
  const fw::TSelectObject font(dc, ControlFont(*this));
  SIZE zero{0, 0};
  GetTextExtentPoint32A(dc, "0", 1, &zero);
  const skin::TGroupBoxLines g = skin::GroupBoxLines(ToSkinRect(rect), zero.cy);

  HBRUSH face = SkinData->ButtonFaceBrush();
  const fw::TGdiHandle<HBRUSH> own_face(face == nullptr ? CreateSolidBrush(SkinColour()) : nullptr);
  if (face == nullptr) face = own_face.get();
  const RECT erase = ToRECT(g.Erase);
  const RECT inner = ToRECT(g.EraseInner);
  FrameRect(dc, &erase, face);
  FrameRect(dc, &inner, face);

  const fw::TGdiHandle<HPEN> pen(CreatePen(PS_SOLID, 1, fw::ColorToRGB(d.ButtonShadowColour)));
  const fw::TSelectObject with_pen(dc, pen.get());
  const fw::TSelectObject no_brush(dc, GetStockObject(NULL_BRUSH));
  RoundRect(dc, g.Line.Left, g.Line.Top, g.Line.Right, g.Line.Bottom, 5, 5);

  if (!caption.empty()) {
    auto* own_font = dynamic_cast<fw::TFont*>(GetObjectProp("Font"));
    SetTextColor(dc, fw::ColorToRGB(own_font != nullptr ? own_font->Color() : d.ButtonTextColour));
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, SkinColour());
    RECT at{g.CaptionX, g.CaptionY, rect.right, rect.bottom};
    SkinDrawText(dc, caption, at, DT_EXPANDTABS);
  }
}

// --- TSkinObjImage ---------------------------------------------------------------

const fw::TClassInfo& TSkinObjImage::StaticClassInfo() {
  static const fw::TClassInfo info =
      fw::TClassBuilder<TSkinObjImage>("TSkinObjImage", TSkinControl::StaticClassInfo()).Build();
  return info;
}

void TSkinObjImage::Attach(ISkinForm* form, TSkinData* data, bool /*use_skin_colour*/,
                           fw::TCanvas* canvas) {
  if (Attached) return;
  auto* control = dynamic_cast<fw::TWinControl*>(Owner());
  if (control == nullptr) return;
  Bind(*control, data, form, canvas);
  if (SkinForm != nullptr) SkinForm->RegisterSkinner(this);
  ApplyGlyphs();
  Attached = true;
  Status = ssnAttached;
}

void TSkinObjImage::Detach() {
  if (Kind == 1) fw::SetPropByName(Control, "UseCustomGlyphs", "false");
}

void TSkinObjImage::SkinChanged() {
  ApplyGlyphs();
}

// The control takes the strip as its custom glyphs (magenta transparent)
// and reloads them: its "UseCustomGlyphs" goes off and on again.
void TSkinObjImage::ApplyGlyphs() {
  if (Kind != 1 || SkinData == nullptr) return;
  const skin::TDataSkinButton* buttons = Data().Buttons.get();
  if (buttons == nullptr || buttons->CheckBitmap.Empty()) return;
  auto* target = dynamic_cast<fw::TBitmap*>(GetObjectProp("CustomGlyphs"));
  if (target == nullptr) return;
  const skin::TBitmap strip =
      skin::CheckGlyphStrip(buttons->CheckBitmap, std::max(buttons->CheckFrameCount, 1));
  if (strip.Empty()) return;
  fw::TBitmap glyphs;
  CopyPixels(strip, glyphs);
  target->Assign(glyphs);
  fw::SetPropByName(Control, "TransparentColor", "16711935");  // 0xFF00FF
  fw::SetPropByName(Control, "UseCustomGlyphs", "false");
  fw::SetPropByName(Control, "UseCustomGlyphs", "true");
}

}  // namespace skin::win
