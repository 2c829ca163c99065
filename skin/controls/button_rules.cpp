#include "skin/controls/button_rules.h"

namespace skin {

namespace {

// Pressed beats hot, and a disabled button shows the disabled frame whatever
// the mouse does.
int ApplyMouse(int frame, const TPushLook& look) {
  if ((look.MouseState & kLookPressed) != 0) {
    frame = 2;
  } else if ((look.MouseState & kLookMouseInside) != 0) {
    frame = 4;
  }
  return look.Enabled ? frame : 3;
}

}  // namespace

int PushButtonFrame(const TPushLook& look) {
  int frame = 1;
  if (look.Focused) frame = 4;
  if (look.Default) frame = 5;
  return ApplyMouse(frame, look);
}

int BitButtonFrame(const TPushLook& look) {
  int frame = 1;
  if (look.Default) frame = 5;
  if (look.Focused) frame = 4;
  return ApplyMouse(frame, look);
}

int SpeedButtonFrame(const TSpeedLook& look) {
  int state = 1;
  if ((look.MouseState & kLookPressed) != 0) {
    state = 2;
  } else if ((look.MouseState & kLookMouseInside) != 0) {
    state = 4;
  }
  if (look.Down) return 2;
  return look.Enabled ? state : 3;
}

bool SpeedButtonDrawsFrame(int frame, bool flat) {
  return !(frame == 1 && flat);
}

int GlyphImageOfFrame(int frame) {
  switch (frame) {
    case 2:
      return 3;
    case 3:
      return 2;
    default:
      return 1;
  }
}

TButtonTextColour ButtonTextColourOf(int frame) {
  switch (frame) {
    case 1:
      return TButtonTextColour::kNormal;
    case 2:
      return TButtonTextColour::kPressed;
    case 3:
      return TButtonTextColour::kDisabled;
    case 4:
      return TButtonTextColour::kMouseOver;
    default:
      return TButtonTextColour::kFont;
  }
}

namespace {

bool Horizontal(TGlyphLayoutKind k) {
  return k == glLeft || k == glRight;
}

// The shared part of both layouts; `speed` selects the speed button's
// differences.
TGlyphLayout Layout(const TGlyphLayoutInput& in, bool speed) {
  TGlyphLayout out;
  out.Format = speed ? 0 : kLayoutWordBreak;
  const bool horizontal = Horizontal(in.Layout);
  // The cross axis: both centred, rounding up by one.
  if (horizontal) {
    out.GlyphY = (in.ClientH - in.GlyphH + 1) / 2;
    out.TextY = (in.ClientH - in.TextH + 1) / 2;
  } else {
    out.GlyphX = (in.ClientW - in.GlyphW + 1) / 2;
    out.TextX = (in.ClientW - in.TextW + 1) / 2;
  }
  int margin = in.Margin;
  int spacing = in.Spacing;
  if (in.TextW == 0 || in.GlyphW == 0) spacing = 0;
  const int client = horizontal ? in.ClientW : in.ClientH;
  const int glyph = horizontal ? in.GlyphW : in.GlyphH;
  const int text = horizontal ? in.TextW : in.TextH;
  const bool centred = margin == -1 || (!speed && in.AlignCenter);
  if (centred) {
    if (spacing == -1) {
      margin = (client - glyph - text) / 3;
      spacing = margin;
    } else {
      margin = (client - glyph - spacing - text) / 2 + (speed ? 1 : 0);
    }
  } else if (spacing == -1) {
    spacing = (client - margin - glyph - text) / 2;
  }
  switch (in.Layout) {
    case glLeft:
      out.GlyphX = margin;
      out.TextX = margin + in.GlyphW + spacing;
      break;
    case glRight:
      out.GlyphX = in.ClientW - margin - in.GlyphW;
      out.TextX = out.GlyphX - spacing - in.TextW;
      out.Format |= kLayoutRight;
      break;
    case glTop:
      out.GlyphY = margin;
      out.TextY = margin + in.GlyphH + spacing;
      out.Format |= kLayoutCenter;
      break;
    case glBottom:
      out.GlyphY = in.ClientH - margin - in.GlyphH;
      out.TextY = out.GlyphY - spacing - in.TextH;
      out.Format |= kLayoutCenter;
      break;
  }
  out.Margin = margin;
  out.Spacing = spacing;
  return out;
}

}  // namespace

TGlyphLayout BitButtonLayout(const TGlyphLayoutInput& in) {
  return Layout(in, false);
}

TGlyphLayout SpeedButtonLayout(const TGlyphLayoutInput& in) {
  return Layout(in, true);
}

TBlockPlace CaptionBlockPlace(int w, int h, int bw, int bh, bool centre) {
  TBlockPlace p;
  p.Y = (h - bh) / 2 - 1;
  p.X = centre ? (w - bw) / 2 : 0;
  return p;
}

}  // namespace skin
