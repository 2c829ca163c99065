#include "skin/controls/skin_status_bar.h"

#include <commctrl.h>

#include <algorithm>

#include "framework/comctrls.h"
#include "framework/dc.h"
#include "skin/controls/painting_helpers.h"
#include "skin/controls/status_bar_rules.h"
#include "skin/data/skin_draw.h"
#include "skin/data/win/skin_text.h"
#include "skin/window/skin_surface.h"

namespace skin::win {

namespace {

// A one-pixel bevel: `top_left` along the top and left edges, `bottom_right`
// along the bottom and right ones (which take the corners they share).
void Frame3D(HDC dc, const RECT& r, COLORREF top_left, COLORREF bottom_right) {
  const fw::TGdiHandle<HBRUSH> light(CreateSolidBrush(top_left));
  const fw::TGdiHandle<HBRUSH> dark(CreateSolidBrush(bottom_right));
  const RECT top{r.left, r.top, r.right - 1, r.top + 1};
  const RECT left{r.left, r.top, r.left + 1, r.bottom - 1};
  const RECT right{r.right - 1, r.top, r.right, r.bottom};
  const RECT bottom{r.left, r.bottom - 1, r.right, r.bottom};
  FillRect(dc, &top, light.get());
  FillRect(dc, &left, light.get());
  FillRect(dc, &right, dark.get());
  FillRect(dc, &bottom, dark.get());
}

// A panel's frame: the skin's "StatusBarEdges" frame nine-sliced and opaque,
// or, without that image, a classic one-pixel bevel (none for frame 3).
void DrawPanelFrame(fw::TBitmap& target, const RECT& r, int frame,
                    const skin::TDataSkinObject* edges) {
  if (Drawable(edges)) {
    skin::TBitmapView view = ViewOf(target);
    skin::DrawSkinElement(view, ToSkinRect(r), edges->Bitmap, /*vertical=*/false, edges->Tile != 0,
                          /*transparent=*/false, 3, frame, edges->Margins);
    return;
  }
  const COLORREF shadow = fw::ColorToRGB(fw::clBtnShadow);
  const COLORREF highlight = fw::ColorToRGB(fw::clBtnHighlight);
  HDC dc = target.Canvas()->Handle();
  if (frame == 1) Frame3D(dc, r, shadow, highlight);
  if (frame == 2) Frame3D(dc, r, highlight, shadow);
}

// The text of a panel: two pixels in from its sides, one pixel above its
// vertical centre, aligned as asked.
void DrawPanelText(HDC dc, const RECT& panel, const std::wstring& text, skin::TTextAlign align) {
  const UINT flag = skin::DrawTextAlignFlag(align);
  RECT measured{panel.left + 2, panel.top, panel.right - 2, panel.bottom};
  SkinDrawText(dc, text, measured, DT_CALCRECT | DT_NOCLIP | DT_EXPANDTABS | flag);
  const skin::TRect place = skin::StatusTextRect(ToSkinRect(panel), measured.right - measured.left,
                                                 measured.bottom - measured.top, align);
  RECT r = ToRECT(place);
  SkinDrawText(dc, text, r, DT_EXPANDTABS | flag);
}

}  // namespace

const fw::TClassInfo& TSkinStatusBar::StaticClassInfo() {
  static const fw::TClassInfo info =
      fw::TClassBuilder<TSkinStatusBar>("TSkinStatusBar", TSkinControl::StaticClassInfo()).Build();
  return info;
}

bool TSkinStatusBar::BeforeMessage(fw::TMessage& m) {
  switch (m.Msg) {
    case WM_ERASEBKGND:
      m.Result = 1;
      return false;
    case WM_PAINT:
      PaintWhole(m);
      return false;
    default:
      return TSkinControl::BeforeMessage(m);
  }
}

// The bar is painted here alone: the control's own painting, which the
// skinned picture covers entirely, never reaches the screen, so a text set
// for every row of a run shows at once in the skin's look.
void TSkinStatusBar::PaintWhole(fw::TMessage& m) {
  m.Result = 0;
  if (m.WParam != 0) {
    Paint(reinterpret_cast<HDC>(m.WParam));
    return;
  }
  RECT client;
  RECT window;
  GetClientRect(Handle, &client);
  GetWindowRect(Handle, &window);
  if (client.right == window.right - window.left && client.bottom == window.bottom - window.top) {
    // No frame: the paint DC (clipped to what needs it) serves.
    PaintClient(m);
    return;
  }
  { const fw::TPaintDC validated(Handle); }
  Paint(nullptr);
}

void TSkinStatusBar::PaintTo(HDC dc, const RECT& rect) {
  const skin::TSkinData& d = Data();
  const int w = rect.right - rect.left;
  const int h = rect.bottom - rect.top;
  fw::TBitmap& scratch = ScratchBitmap();
  SizeBuffer(scratch, w, h);
  if (scratch.Empty()) return;
  HDC mem = scratch.Canvas()->Handle();
  const RECT whole{0, 0, w, h};
  FillSkinColour(mem, whole);

  // The bar's font without its style, in the panels' text colour.
  fw::TFont font;
  if (auto* own = dynamic_cast<fw::TFont*>(GetObjectProp("Font"))) font.Assign(*own);
  font.SetStyle(0);
  const skin::TDataSkinObject* edges = d.StatusBarEdges.get();
  if (edges != nullptr) font.SetColor(static_cast<fw::TColor>(edges->NormalColour2));
  HFONT handle = Served() != nullptr ? font.Handle() : ControlFont(*this);
  const fw::TSelectObject selected(mem, handle);
  SetTextColor(mem, fw::ColorToRGB(font.Color()));
  SetBkMode(mem, TRANSPARENT);

  auto* panels = dynamic_cast<fw::TStatusPanels*>(GetObjectProp("Panels"));
  const int n = panels != nullptr ? panels->Count() : 0;
  const bool simple = PropTrue("SimplePanel") || n == 0;
  if (simple) {
    DrawPanelFrame(scratch, whole, 1, edges);
    const std::wstring text = Served() != nullptr ? GetTextProp("SimpleText") : WindowText();
    DrawPanelText(mem, whole, skin::StatusPanelText(text), skin::TTextAlign::kLeft);
  } else {
    for (int i = 0; i < n; ++i) {
      const fw::TStatusPanel* panel = panels->Items(i);
      const skin::TTextAlign align =
          skin::PanelTextAlign(skin::TextAlignOfName(LowerEnumName(panel, "Alignment")),
                               skin::MirrorsAlignment(LowerEnumName(panel, "BiDiMode")));
      const int frame =
          skin::StatusPanelFrame(skin::PanelBevelOfName(LowerEnumName(panel, "Bevel")));
      RECT part{};
      if (SendMessageW(Handle, SB_GETRECT, static_cast<WPARAM>(i),
                       reinterpret_cast<LPARAM>(&part)) == 0) {
        continue;
      }
      const RECT r = ToRECT(skin::StatusPanelRect(ToSkinRect(part), i == n - 1, whole.right));
      DrawPanelFrame(scratch, r, frame, edges);
      if (LowerEnumName(panel, "Style") == "pstext") {
        DrawPanelText(mem, r, skin::StatusPanelText(fw::GetTextProp(panel, "Text")), align);
      }
    }
  }

  // The size grip, when the bar has one.
  const skin::TDataSkinObject* extra = d.ExtraImages.get();
  if ((GetWindowLongW(Handle, GWL_STYLE) & SBARS_SIZEGRIP) != 0 && Drawable(extra)) {
    const int count = std::max(extra->FrameCount, 1);
    const skin::TRect grip =
        skin::SizeGripRect(ToSkinRect(whole), extra->Bitmap.Width(), extra->Bitmap.Height(), count);
    if (grip.Width() > 0) DrawStripFrame(scratch, ToRECT(grip), count, 5, extra->Bitmap);
  }
  BitBlt(dc, rect.left, rect.top, w, h, mem, 0, 0, SRCCOPY);

  // The program's own panel painting goes on top, one pixel inside each
  // panel (only when the panels show: a simple text covers them).
  auto* bar = dynamic_cast<fw::TCustomStatusBar*>(Served());
  if (simple || bar == nullptr || !bar->OnDrawPanel) return;
  for (int i = 0; i < n; ++i) {
    RECT part{};
    if (SendMessageW(Handle, SB_GETRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&part)) ==
        0) {
      continue;
    }
    InflateRect(&part, -1, -1);
    OffsetRect(&part, rect.left, rect.top);
    bar->DrawPanel(panels->Items(i), part, dc);
  }
}

}  // namespace skin::win
