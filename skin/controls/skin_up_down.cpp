#include "skin/controls/skin_up_down.h"

#include <algorithm>

#include "framework/graphics.h"
#include "skin/controls/edit_rules.h"

namespace skin::win {

namespace {

constexpr LONG kUdsHorz = 0x40;  // UDS_HORZ

RECT ToWin(const skin::TRect& r) {
  return {r.Left, r.Top, r.Right, r.Bottom};
}

// The classic form of one half: a rectangle in the face or shadow colour
// outlined in the dark shadow colour, and the arrow drawn with that pen.
void DrawClassicHalf(HDC dc, const skin::TSkinData& d, const skin::TRect& half, int state,
                     skin::TUpDownArrow arrow) {
  const fw::TGdiHandle<HBRUSH> brush(CreateSolidBrush(
      fw::ColorToRGB(skin::ClassicHalfShaded(state) ? d.ButtonShadowColour : d.ButtonFaceColour)));
  const fw::TGdiHandle<HPEN> pen(CreatePen(PS_SOLID, 1, fw::ColorToRGB(d.ButtonDkShadowColour)));
  const fw::TSelectObject select_brush(dc, brush.get());
  const fw::TSelectObject select_pen(dc, pen.get());
  Rectangle(dc, half.Left, half.Top, half.Right, half.Bottom);
  for (const skin::TSegment& s : skin::ClassicArrow(arrow, half)) {
    MoveToEx(dc, s.X1, s.Y1, nullptr);
    LineTo(dc, s.X2, s.Y2);
  }
}

}  // namespace

const fw::TClassInfo& TSkinUpDown::StaticClassInfo() {
  static const fw::TClassInfo info =
      fw::TClassBuilder<TSkinUpDown>("TSkinUpDown", TSkinControl::StaticClassInfo()).Build();
  return info;
}

bool TSkinUpDown::BeforeMessage(fw::TMessage& m) {
  switch (m.Msg) {
    case WM_PAINT:
      PaintClient(m);
      return false;
    case WM_ERASEBKGND:
      if (Control == nullptr) {
        RECT r;
        GetClientRect(Handle, &r);
        FillRect(reinterpret_cast<HDC>(m.WParam), &r,
                 static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
      }
      m.Result = 1;
      return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      // The control starts its own repeat and capture first.
      CallOldProc(m);
      MouseState |= kMousePressed;
      Paint(nullptr);
      return false;
    case WM_LBUTTONUP:
      MouseState &= static_cast<uint8_t>(~kMousePressed);
      CallOldProc(m);
      Paint(nullptr);
      return false;
    default:
      return TSkinControl::BeforeMessage(m);
  }
}

void TSkinUpDown::AfterMessage(fw::TMessage& m) {
  switch (m.Msg) {
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
      TrackMouseState(m);
      Paint(nullptr);
      return;
    case WM_MOUSEMOVE:
      // The hot half follows the mouse from one half to the other.
      if ((MouseState & kMouseInside) != 0 && HalfUnderCursor() != painted_half_) Paint(nullptr);
      return;
    default:
      TSkinControl::AfterMessage(m);
      return;
  }
}

int TSkinUpDown::HalfUnderCursor() const {
  RECT c;
  POINT p;
  if (!GetClientRect(Handle, &c) || !GetCursorPos(&p) || !ScreenToClient(Handle, &p)) return -1;
  return skin::UpDownHalfAt(skin::UpDownLayout(c.right, c.bottom, Embedded, IsHorizontal()), p.x,
                            p.y);
}

bool TSkinUpDown::IsHorizontal() const {
  return Horizontal == 1 || (GetWindowLongW(Handle, GWL_STYLE) & kUdsHorz) != 0;
}

void TSkinUpDown::PaintTo(HDC dc, const RECT& rect) {
  const skin::TSkinData& d = Data();
  RECT client;
  if (!GetClientRect(Handle, &client)) return;
  SizeBuffer(Buffer, client.right, client.bottom);
  if (Buffer.Empty()) return;
  HDC mem = Buffer.Canvas()->Handle();
  FillSkinColour(mem, client);

  Enabled = (GetWindowLongW(Handle, GWL_STYLE) & WS_DISABLED) == 0;
  const bool horizontal = IsHorizontal();
  const skin::TUpDownLayout l =
      skin::UpDownLayout(client.right, client.bottom, Embedded, horizontal);
  painted_half_ = HalfUnderCursor();
  const skin::TDataSkinBorder* e = horizontal ? d.UpDownHorz.get() : d.UpDownVert.get();
  for (int direction = 0; direction < 2; ++direction) {
    const skin::TRect& half = direction == 0 ? l.First : l.Second;
    const int state = skin::UpDownHalfState(painted_half_ == direction, MouseState, Enabled);
    if (e != nullptr && !e->Bitmap.Empty()) {
      const int frame = skin::UpDownFrame(state, direction);
      DrawStripFrame(Buffer, ToWin(half), 8, frame, e->Bitmap);
      if (!e->Bitmap2.Empty()) {
        const skin::TRect glyph =
            skin::UpDownGlyphPlace(half, e->Bitmap2.Width() / 8, e->Bitmap2.Height());
        DrawStripFrame(Buffer, ToWin(glyph), 8, frame, e->Bitmap2);
      }
    } else {
      const skin::TUpDownArrow arrow = horizontal
                                           ? (direction == 0 ? skin::udaLeft : skin::udaRight)
                                           : (direction == 0 ? skin::udaUp : skin::udaDown);
      DrawClassicHalf(mem, d, half, state, arrow);
    }
  }
  GdiFlush();
  BitBlt(dc, rect.left, rect.top, std::max(l.CopyW, 0), std::max(l.CopyH, 0), mem, 0, 0, SRCCOPY);
}

}  // namespace skin::win
