// The frame and caption of a skinned window: non-client metrics, hit tests,
// borders, the caption band and its text, the window region.
#include "skin/window/win_skin_form.h"

#include <windowsx.h>

#include <optional>

#include "framework/dc.h"
#include "skin/controls/skin_manage.h"
#include "skin/data/skin_draw.h"
#include "skin/data/win/skin_text.h"
#include "skin/window/frame_geometry.h"
#include "skin/window/menu_bar.h"
#include "skin/window/skin_surface.h"
#include "skin/window/window_region.h"

namespace skin::win {

namespace {

skin::TFrameBorders BordersOf(const TWinSkinForm& f) {
  return {f.BorderLeft, f.BorderTop, f.BorderRight, f.BorderBottom};
}

// An MDI child that is maximized or minimized (or shown maximized by the
// MDI frame) keeps the native frame.
bool MDIChildNotNormal(const TWinSkinForm& f) {
  if (f.MDIKind != mkChild) return false;
  TSkinManage* manager = TSkinManage::Instance();
  return (manager != nullptr && manager->MDIMaximized()) || f.WindowState != wsNormal;
}

// Region tolerance: each channel may exceed magenta's by 1.
constexpr int kRegionTolerance = 1;

fw::TGdiHandle<HRGN> BorderRegion(const skin::TPixels& image, int x, int y) {
  return RegionFromBitmap(image, x, y, kRegionTolerance, kRegionTolerance, kRegionTolerance,
                          skin::kSkinTransparent);
}

fw::TGdiHandle<HRGN> RectRegion(int left, int top, int right, int bottom) {
  return fw::TGdiHandle<HRGN>(CreateRectRgn(left, top, right, bottom));
}

// a becomes the union of a and b; an empty part adds nothing.
void Unite(fw::TGdiHandle<HRGN>& a, const fw::TGdiHandle<HRGN>& b) {
  if (!b) return;
  if (!a) {
    a.reset(CreateRectRgn(0, 0, 0, 0));
    if (!a) return;
  }
  CombineRgn(a.get(), a.get(), b.get(), RGN_OR);
}

}  // namespace

// --- Metrics and non-client messages ---------------------------------------------

void TWinSkinForm::LoadFrameMetrics() {
  if (Data().NotLoaded) return;
  if (FrameKind == fkNone) {
    BorderLeft = BorderTop = BorderRight = BorderBottom = MenuBarHeight = 0;
  } else {
    const skin::TFrameBorders b = skin::FrameBordersOf(Data());
    BorderLeft = b.Left;
    BorderTop = b.Top;
    BorderRight = b.Right;
    BorderBottom = b.Bottom;
  }
  // The caption composed with the previous metrics (or skin) no longer
  // describes the window's shape.
  CaptionBitmap.SetSize(0, 0);
  CreateSysButtons();
}

POINT TWinSkinForm::ToWindowPoint(int screen_x, int screen_y) const {
  POINT p{screen_x, screen_y};
  ScreenToClient(Handle, &p);
  if (WindowState != wsMinimized) {
    p.x += BorderLeft;
    p.y += BorderTop + MenuBarHeight;
  }
  return p;
}

void TWinSkinForm::NCCalcSize(fw::TMessage& m) {
  PassOn(m);
  if (m.WParam == FALSE) {
    m.Result = 0;
    return;
  }
  auto* params = reinterpret_cast<NCCALCSIZE_PARAMS*>(m.LParam);
  if (MDIChildNotNormal(*this) || FrameKind == fkNone || params->lppos == nullptr) {
    params->rgrc[1] = params->rgrc[0];
  } else {
    const WINDOWPOS& pos = *params->lppos;
    params->rgrc[0] = ToRECT(
        skin::SkinnedClientRect(pos.x, pos.y, pos.cx, pos.cy, BordersOf(*this), MenuBarHeight));
    params->rgrc[1] = params->rgrc[0];
  }
  m.Result = WVR_VALIDRECTS;
}

void TWinSkinForm::NCHitTest(fw::TMessage& m) {
  PassOn(m);
  if (m.Result != HTNOWHERE && m.Result != HTCAPTION) return;
  const POINT p = ToWindowPoint(GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam));
  switch (skin::ClassifyCaptionHit(p.y, BorderTop)) {
    case skin::TCaptionHit::kCaption:
      m.Result = HTCAPTION;
      break;
    case skin::TCaptionHit::kMenu:
      m.Result = HTMENU;
      break;
    case skin::TCaptionHit::kNative:
      break;
  }
}

void TWinSkinForm::NCPaint(fw::TMessage& m) {
  if (Data().NCPaintEnabled) {
    if (MDIChildNotNormal(*this) || FrameKind == fkNone) {
      PassOn(m);
    } else {
      PaintFrame(nullptr);
    }
  }
  m.Result = 0;
}

void TWinSkinForm::NCActivate(fw::TMessage& m) {
  Active = m.WParam != 0;
  if (HoverTimer != nullptr) {
    const bool was_enabled = HoverTimer->Enabled();
    HoverTimer->SetEnabled(Active);
    // The push button shown hot loses that look with the activation (its
    // skinner restores its own state).
    if (was_enabled && !Active) ResetHotButton();
  }
  if (MDIKind == mkFrame && MDIClient != nullptr) {
    SendMessageW(MDIClient, WM_NCACTIVATE, m.WParam, 0);
  }
  if (!MDIChildNotNormal(*this)) PaintFrame(nullptr);
  // Answered here: the native caption is never painted.
  m.Result = TRUE;
}

// --- Painting -------------------------------------------------------------------

void TWinSkinForm::PaintFrame(HDC dc) {
  if (State != ssReady && State != ssColours) return;
  if (FrameKind == fkNone || MDIChildNotNormal(*this)) return;
  std::optional<fw::TWindowDC> own;
  if (dc == nullptr) {
    own.emplace(Handle);
    dc = own->Get();
    if (dc == nullptr) return;
  }
  try {
    GetWindowRect(Handle, &WindowRect);
    WindowWidth = WindowRect.right - WindowRect.left;
    WindowHeight = WindowRect.bottom - WindowRect.top;
    const skin::TFrameLayout layout =
        skin::LayoutFrame(WindowWidth, WindowHeight, BordersOf(*this), MenuBarHeight);
    DrawBorder(skin::kBorderLeft, ToRECT(layout.Left), dc);
    DrawBorder(skin::kBorderRight, ToRECT(layout.Right), dc);
    DrawBorder(skin::kBorderBottom, ToRECT(layout.Bottom), dc);
    PaintCaption(dc);
    if (MenuBarSkinner != nullptr) MenuBarSkinner->Paint(dc, ToRECT(layout.MenuBand));
  } catch (...) {
    // A frame left partly painted is better than a window that stops
    // working: the next paint tries again.
  }
  // Every title and menu button now shows its normal look.
  HotObject = nullptr;
}

void TWinSkinForm::DrawBorder(int index, const RECT& rect, HDC dc) {
  if (rect.right < rect.left || rect.bottom < rect.top) return;
  DrawSkinBitmap(dc, rect.left, rect.top,
                 skin::BuildBorderImage(Data(), index, rect.right - rect.left,
                                        rect.bottom - rect.top, Active));
}

void TWinSkinForm::PaintCaption(HDC dc) {
  const int w = WindowWidth;
  const int h = BorderTop;
  if (w <= 0 || h <= 0) return;
  // The band is composed off-screen and shown in one copy, so text and
  // buttons never flicker over it. It starts as what the window shows there:
  // the corners the side borders painted.
  if (CaptionBitmap.Width() != w || CaptionBitmap.Height() != h) CaptionBitmap.SetSize(w, h);
  fw::TCanvas& canvas = *CaptionBitmap.Canvas();
  HDC band_dc = canvas.Handle();
  BitBlt(band_dc, 0, 0, w, h, dc, 0, 0, SRCCOPY);
  const RECT band{BorderLeft, 0, w - BorderRight, BorderTop};
  DrawBorder(skin::kBorderTop, band, band_dc);
  DrawCaptionText(canvas, band);
  LayoutSysButtons();
  DrawSysButtons(canvas);
  GdiFlush();
  BitBlt(dc, 0, 0, w, h, band_dc, 0, 0, SRCCOPY);
  SetBkMode(dc, OPAQUE);
}

std::wstring TWinSkinForm::CaptionText() const {
  std::wstring text;
  // The text of a window that keeps it in wide characters is read wide, so
  // characters outside the ANSI code page survive.
  if (UnicodeWindow || IsWindowUnicode(Handle)) {
    if (IsWinNT()) {
      const int n = GetWindowTextLengthW(Handle);
      text.assign(static_cast<size_t>(n) + 1, L'\0');
      text.resize(static_cast<size_t>(GetWindowTextW(Handle, text.data(), n + 1)));
    } else {
      wchar_t buffer[1000] = {};
      SendMessageW(Handle, WM_GETTEXT, 1000, reinterpret_cast<LPARAM>(buffer));
      text = buffer;
    }
  } else {
    char buffer[1000] = {};
    SendMessageA(Handle, WM_GETTEXT, 1000, reinterpret_cast<LPARAM>(buffer));
    text = AnsiToWide(buffer);
  }
  return CaptionPrefix + text + CaptionSuffix;
}

void TWinSkinForm::DrawCaptionText(fw::TCanvas& canvas, const RECT& rect) {
  HDC dc = canvas.Handle();
  const std::wstring text = CaptionText();
  const TDataSkinTitle& title = *Data().Title;
  fw::TSelectObject font(dc, CaptionFont());
  const int old_mode = SetBkMode(dc, TRANSPARENT);
  SetTextColor(
      dc, fw::ColorToRGB(Active ? Data().TitleTextActiveColour : Data().TitleTextNoActiveColour));

  RECT measured = rect;
  SkinDrawText(dc, text, measured, DT_CALCRECT | DT_NOCLIP);
  skin::TCaptionWindow window;
  window.RightToLeft = RightToLeft;
  window.Popup = (WindowStyle & WS_POPUP) != 0;
  window.Dialog = FrameKind == fkDialog;
  window.RightButtonsLeft = RightButtonsLeft;
  const skin::TCaptionTextPlace place =
      skin::PlaceCaptionText(ToSkinRect(rect), measured.right - measured.left,
                             measured.bottom - measured.top, title, window);
  CaptionTextRect = ToRECT(place.Back);

  if (!title.Bitmap.Empty()) {
    // The text background: two frames stacked (active, inactive), its caps
    // the TXTBack margins.
    const RECT back{place.Back.Left, rect.top, place.Back.Right, rect.bottom};
    const int frame = Active ? 1 : 2;
    const skin::TRect caps{title.TextBackLeft, 0, title.TextBackRight, 0};
    PaintPixels(dc, back, [&](skin::TPixels& surface, const skin::TRect& target) {
      skin::DrawSkinThreePart(surface, target, title.Bitmap, true, true, 2, frame, caps);
    });
  }
  RECT text_rect = ToRECT(place.Text);
  SkinDrawText(dc, text, text_rect,
               DT_SINGLELINE | DT_END_ELLIPSIS | (RightToLeft ? DT_RIGHT : 0u));
  SetBkMode(dc, old_mode);
}

// --- Region ---------------------------------------------------------------------

void TWinSkinForm::UpdateRegion() {
  if (State == ssDestroyed) return;
  RECT wr;
  if (!GetWindowRect(Handle, &wr)) return;
  const int w = wr.right - wr.left;
  const int h = wr.bottom - wr.top;
  if (w <= 0 || h <= 0 || MDIChildNotNormal(*this)) return;
  if (RegionWidth == w && RegionHeight == h && MDIKind != mkChild && State != ssColours) return;

  const skin::TSkinData& data = Data();
  fw::TGdiHandle<HRGN> region;
  if (!skin::AnyBorderTransparent(data)) {
    // Size not recorded: the next WM_SIZE builds the rectangle again.
    region = RectRegion(0, 0, w, h);
  } else {
    RegionWidth = w;
    RegionHeight = h;
    region = RectRegion(BorderLeft, BorderTop, w - BorderRight, h - BorderBottom);
    if (FrameKind != fkNone) {
      const auto& borders = data.Borders;
      const int inner_w = w - BorderLeft - BorderRight;
      fw::TGdiHandle<HRGN> left;
      fw::TGdiHandle<HRGN> right;
      fw::TGdiHandle<HRGN> top;
      fw::TGdiHandle<HRGN> bottom;
      if (borders[skin::kBorderLeft]->Trans == 1 && h > 1) {
        left = BorderRegion(skin::BuildBorderImage(data, skin::kBorderLeft, BorderLeft, h, Active),
                            0, 0);
      } else {
        left = RectRegion(0, 0, BorderLeft, h);
      }
      if (borders[skin::kBorderRight]->Trans == 1 && h > 1) {
        right =
            BorderRegion(skin::BuildBorderImage(data, skin::kBorderRight, BorderRight, h, Active),
                         w - BorderRight, 0);
      } else {
        right = RectRegion(w - BorderRight, 0, w, h);
      }
      if (borders[skin::kBorderBottom]->Trans == 1 && BorderBottom >= 2) {
        bottom = BorderRegion(
            skin::BuildBorderImage(data, skin::kBorderBottom, inner_w, BorderBottom, Active),
            BorderLeft, h - BorderBottom);
      } else {
        bottom = RectRegion(BorderLeft, h - BorderBottom, w - BorderRight, h);
      }
      if (borders[skin::kBorderTop]->Trans == 1 && BorderTop > 1 && inner_w > 0) {
        // The caption as last composed, so pixels of its text and buttons
        // count too; but only while it is the caption of this size and skin
        // (after a resize it still holds the old width).
        if (CaptionBitmap.Width() == w && CaptionBitmap.Height() == BorderTop) {
          GdiFlush();
          auto* origin = reinterpret_cast<uint8_t*>(CaptionBitmap.ScanLine(0) + BorderLeft);
          const skin::TBitmapView caption = skin::TBitmapView::Wrap(
              origin, inner_w, BorderTop, static_cast<ptrdiff_t>(w) * 4, skin::PixelFormat::k32Bit);
          top = BorderRegion(caption, BorderLeft, 0);
        } else {
          top = BorderRegion(
              skin::BuildBorderImage(data, skin::kBorderTop, inner_w, BorderTop, Active),
              BorderLeft, 0);
        }
      } else {
        top = RectRegion(BorderLeft, 0, w - BorderRight, BorderTop);
      }
      Unite(left, right);
      Unite(top, bottom);
      Unite(left, top);
      Unite(region, left);
    }
  }
  if (!region) return;
  // From here the region is the window's: the system deletes the one it
  // replaces, and this one when a later region (or none) is set.
  if (SetWindowRgn(Handle, region.get(), TRUE) != 0) {
    Region = region.release();
    HasRegion = true;
  }
}

void TWinSkinForm::RemoveRegion() {
  if (!HasRegion) return;
  CaptionBitmap.SetSize(0, 0);
  // The window deletes the region it held.
  SetWindowRgn(Handle, nullptr, MDIKind == mkChild ? TRUE : FALSE);
  Region = nullptr;
  HasRegion = false;
}

}  // namespace skin::win
