#include "skin/controls/skin_progress.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

#include "framework/dc.h"
#include "skin/controls/painting_helpers.h"
#include "skin/controls/progress_rules.h"
#include "skin/data/win/skin_text.h"
#include "skin/window/skin_surface.h"

namespace skin::win {

// --- TSkinProgress ---------------------------------------------------------------

const fw::TClassInfo& TSkinProgress::StaticClassInfo() {
  static const fw::TClassInfo info =
      fw::TClassBuilder<TSkinProgress>("TSkinProgress", TSkinControl::StaticClassInfo()).Build();
  return info;
}

bool TSkinProgress::NeedsOwnPicture() const {
  if (Data().Progress->Style == 1) return false;
  // The plain bar stops one row short of the window: when that row is the
  // bar's own (no frame around the client area), the bar paints it.
  RECT window;
  RECT client;
  GetWindowRect(Handle, &window);
  GetClientRect(Handle, &client);
  return client.right == window.right - window.left && client.bottom == window.bottom - window.top;
}

bool TSkinProgress::BeforeMessage(fw::TMessage& m) {
  switch (m.Msg) {
    case WM_ERASEBKGND:
      if (GraphicControl != nullptr || !Drawable(Data().Progress.get())) break;
      m.Result = 1;
      return false;
    case WM_PAINT:
      if (GraphicControl != nullptr) {
        if (!PaintsGauge()) break;
        m.Result = 0;
        if (m.WParam != 0) Paint(reinterpret_cast<HDC>(m.WParam));
        return false;
      }
      if (!Drawable(Data().Progress.get()) || Handle == nullptr) break;
      PaintWhole(m);
      return false;
    default:
      break;
  }
  return TSkinControl::BeforeMessage(m);
}

// The skinned picture reaches the screen in one piece, never the bar's own
// first: where the bar's own painting shows through (the last row of the
// plain style), the bar paints off screen and the skin goes over it there.
void TSkinProgress::PaintWhole(fw::TMessage& m) {
  m.Result = 0;
  auto target = reinterpret_cast<HDC>(m.WParam);
  if (!NeedsOwnPicture()) {
    if (target == nullptr) {
      const fw::TPaintDC validated(Handle);
    }
    Paint(target);
    return;
  }
  RECT client;
  GetClientRect(Handle, &client);
  SizeBuffer(buffer_, client.right, client.bottom);
  if (buffer_.Empty()) return;
  HDC mem = buffer_.Canvas()->Handle();
  FillSkinColour(mem, client);
  fw::TMessage own{WM_PAINT, reinterpret_cast<WPARAM>(mem), 0, 0};
  CallOldProc(own);
  Paint(mem);
  if (target != nullptr) {
    BitBlt(target, 0, 0, client.right, client.bottom, mem, 0, 0, SRCCOPY);
    return;
  }
  const fw::TPaintDC paint(Handle);
  BitBlt(paint.Get(), 0, 0, client.right, client.bottom, mem, 0, 0, SRCCOPY);
}

bool TSkinProgress::PaintsGauge() const {
  const std::string kind = GetEnumName("Kind");
  return Drawable(Data().Progress.get()) && (kind == "gkhorizontalbar" || kind == "gkverticalbar");
}

void TSkinProgress::Paint(HDC dc) {
  if (GraphicControl == nullptr) {
    TSkinControl::Paint(dc);
    return;
  }
  // A gauge is painted in its parent's painting, which hands over a DC set
  // to the gauge's origin and clip.
  if (dc == nullptr) return;
  const RECT r = GraphicControl->ClientRect();
  try {
    PaintGauge(dc, r);
  } catch (...) {  // NOLINT(bugprone-empty-catch): painting errors leave what was drawn
  }
}

void TSkinProgress::PaintTo(HDC dc, const RECT& rect) {
  const skin::TDataSkinBorder* e = Data().Progress.get();
  if (!Drawable(e)) return;
  const int w = rect.right - rect.left;
  const int h = rect.bottom - rect.top;
  skin::TProgressState s;
  s.Pos = static_cast<int>(SendMessageW(Handle, PBM_GETPOS, 0, 0));
  s.Min = static_cast<int>(SendMessageW(Handle, PBM_GETRANGE, TRUE, 0));
  s.Max = static_cast<int>(SendMessageW(Handle, PBM_GETRANGE, FALSE, 0));
  const bool vertical = (GetWindowLongW(Handle, GWL_STYLE) & PBS_VERTICAL) != 0;
  skin::TBitmap bar = skin::BarImage(*e, w, h, s, vertical, SkinColour());
  if (bar.Empty()) return;
  if (e->Style == 1) {
    DrawSkinBitmap(dc, rect.left, rect.top, bar);
    return;
  }
  // The plain bar stops one row short of the window (on the control's own
  // bottom edge).
  const skin::TBitmapView shown = skin::TBitmapView::Wrap(bar.Row(0), bar.Width(), bar.Height() - 1,
                                                          bar.Stride(), bar.Format());
  DrawSkinBitmap(dc, rect.left, rect.top, shown);
}

// A gauge: the bar of the skin's progress element, and, when the gauge shows
// its percentage, that text centred on it in the skin's button text colour
// over the trough and its highlighted text colour over the filled part.
void TSkinProgress::PaintGauge(HDC dc, const RECT& rect) {
  const skin::TSkinData& d = Data();
  const skin::TDataSkinBorder* e = d.Progress.get();
  if (!Drawable(e)) return;
  const int w = rect.right - rect.left;
  const int h = rect.bottom - rect.top;
  skin::TProgressState s;
  s.Pos = static_cast<int>(GetIntProp("Progress"));
  s.Min = static_cast<int>(GetIntProp("MinValue"));
  s.Max = static_cast<int>(GetIntProp("MaxValue"));
  const bool vertical = GetEnumName("Kind") == "gkverticalbar";
  const skin::TBitmap bar = skin::BarImage(*e, w, h, s, vertical, SkinColour());
  if (bar.Empty()) return;
  CopyPixels(bar, buffer_);
  HDC mem = buffer_.Canvas()->Handle();
  if (PropTrue("ShowText")) {
    const int64_t range = static_cast<int64_t>(s.Max) - s.Min;
    const int64_t done = std::clamp<int64_t>(static_cast<int64_t>(s.Pos) - s.Min, 0, range);
    const int percent = range > 0 ? static_cast<int>(done * 100 / range) : 0;
    const std::wstring text = std::to_wstring(percent) + L"%";
    const int filled = skin::ProgressFilled(vertical ? h : w, s);
    const RECT fill = vertical ? RECT{0, h - filled, w, h} : RECT{0, 0, filled, h};
    const fw::TSelectObject font(mem, ControlFont(*this));
    SetBkMode(mem, TRANSPARENT);
    for (const bool over_fill : {false, true}) {
      const fw::TSavedDC saved(mem);
      if (over_fill) {
        IntersectClipRect(mem, fill.left, fill.top, fill.right, fill.bottom);
        SetTextColor(mem, fw::ColorToRGB(d.HilightTextColour));
      } else {
        ExcludeClipRect(mem, fill.left, fill.top, fill.right, fill.bottom);
        SetTextColor(mem, fw::ColorToRGB(d.ButtonTextColour));
      }
      RECT r{0, 0, w, h};
      SkinDrawText(mem, text, r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
  }
  BitBlt(dc, rect.left, rect.top, w, h, mem, 0, 0, SRCCOPY);
}

// --- TSkinTrackBar ---------------------------------------------------------------

const fw::TClassInfo& TSkinTrackBar::StaticClassInfo() {
  static const fw::TClassInfo info =
      fw::TClassBuilder<TSkinTrackBar>("TSkinTrackBar", TSkinControl::StaticClassInfo()).Build();
  return info;
}

bool TSkinTrackBar::BeforeMessage(fw::TMessage& m) {
  switch (m.Msg) {
    case WM_ERASEBKGND:
      m.Result = 1;
      return false;
    case WM_NOTIFY:
    case CN_NOTIFY: {
      auto* cd = reinterpret_cast<NMCUSTOMDRAW*>(m.LParam);
      if (cd == nullptr || cd->hdr.hwndFrom != Handle || cd->hdr.code != NM_CUSTOMDRAW) break;
      const skin::TCustomDrawAnswer answer =
          skin::TrackBarCustomDraw(cd->dwDrawStage, cd->dwItemSpec);
      if (!answer.Handled) break;
      if (answer.DrawThumb) Paint(cd->hdc);
      m.Result = answer.Result;
      return false;
    }
    default:
      break;
  }
  return TSkinControl::BeforeMessage(m);
}

void TSkinTrackBar::AfterMessage(fw::TMessage& m) {
  // The thumb is drawn while the control paints (its custom-draw
  // notification); nothing is painted over the control afterwards.
  if (m.Msg == WM_PAINT) return;
  TSkinControl::AfterMessage(m);
}

// The thumb, into the control's painting DC: frame 2 of the skin's thumb
// for the bar's direction, or a plain rectangle without one.
void TSkinTrackBar::PaintTo(HDC dc, const RECT& /*rect*/) {
  const skin::TSkinData& d = Data();
  RECT thumb{};
  SendMessageW(Handle, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
  const bool vertical = (GetWindowLongW(Handle, GWL_STYLE) & TBS_VERT) != 0;
  const skin::TDataSkinObject* e = vertical && Drawable(d.TrackbarThumbVert.get())
                                       ? d.TrackbarThumbVert.get()
                                       : d.TrackbarThumbHorz.get();
  if (Drawable(e)) {
    const int count = std::max(e->FrameCount, 1);
    DrawStripFrame(dc, thumb, count, std::min(2, count), e->Bitmap);
    return;
  }
  const fw::TGdiHandle<HPEN> pen(CreatePen(PS_SOLID, 1, fw::ColorToRGB(d.ButtonShadowColour)));
  const fw::TGdiHandle<HBRUSH> brush(CreateSolidBrush(SkinColour()));
  const fw::TSelectObject with_pen(dc, pen.get());
  const fw::TSelectObject with_brush(dc, brush.get());
  Rectangle(dc, thumb.left, thumb.top, thumb.right, thumb.bottom);
}

// A new skin: the control paints again (and draws the new thumb). Focus
// stays where it is.
void TSkinTrackBar::SkinChanged() {
  TSkinControl::SkinChanged();
}

}  // namespace skin::win
