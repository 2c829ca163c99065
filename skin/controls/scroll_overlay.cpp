#include "skin/controls/scroll_overlay.h"

#include <windowsx.h>

#include <algorithm>
#include <cctype>
#include <string>

#include "skin/controls/scroll_rules.h"
#include "skin/data/skin_draw.h"
#include "skin/window/skin_surface.h"

namespace skin::win {

namespace {

constexpr uint8_t kKindHorizontal = 0;
constexpr uint8_t kKindVertical = 1;
constexpr uint8_t kKindControl = 2;

bool Drawable(const skin::TDataSkinObject* e) {
  return e != nullptr && !e->Bitmap.Empty();
}

RECT ToWin(const skin::TRect& r) {
  return {r.Left, r.Top, r.Right, r.Bottom};
}

bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// An element's frame nine-sliced into `rect` of `target` without tiling,
// magenta kept out when the element has Trans.
void DrawUntiled(fw::TBitmap& target, const RECT& rect, int frame_count, int frame,
                 const skin::TDataSkinObject& e) {
  if (rect.right <= rect.left || rect.bottom <= rect.top || target.Empty()) return;
  skin::TBitmapView view = ViewOf(target);
  skin::DrawSkinElement(view, ToSkinRect(rect), e.Bitmap, /*vertical=*/false, /*tile=*/false,
                        e.Trans == 1, std::max(frame_count, 1), frame, e.Margins);
}

}  // namespace

bool TWScrollbar::TShown::operator==(const TShown& o) const {
  return SameRect(Bar, o.Bar) && ThumbTop == o.ThumbTop && ThumbBottom == o.ThumbBottom &&
         State == o.State && FirstArrow == o.FirstArrow && SecondArrow == o.SecondArrow;
}

const fw::TClassInfo& TWScrollbar::StaticClassInfo() {
  static const fw::TClassInfo info =
      fw::TClassBuilder<TWScrollbar>("TWScrollbar", fw::TCustomControl::StaticClassInfo()).Build();
  return info;
}

TWScrollbar::TWScrollbar(TSkinControl* manager) : fw::TCustomControl(manager), Manager(manager) {
  ArrowSize = GetSystemMetrics(SM_CXHSCROLL);
  SetVisible(false);  // shown over the bar by Update
}

TWScrollbar::~TWScrollbar() {
  // The window goes while the object is whole.
  DestroyComponents();
  if (HandleAllocated()) DestroyWnd();
}

void TWScrollbar::AttachControl(fw::TWinControl* control, int kind) {
  TargetControl = control;
  Kind = static_cast<uint8_t>(kind);
  HWND target = control != nullptr ? control->Handle() : nullptr;
  if (Kind == kKindControl) {
    // A scroll-bar control says its orientation in its Kind property.
    std::string name = fw::GetEnumName(control, "Kind");
    for (char& c : name)
      c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    Vertical = name == "sbhorizontal" ? 0 : 1;
  } else {
    Vertical = Kind == kKindVertical ? 1 : 0;
  }
  Target = target;
  Update();
}

void TWScrollbar::AttachHandle(HWND target, int kind) {
  TargetControl = nullptr;
  Kind = static_cast<uint8_t>(kind);
  Target = target;
  if (Kind == kKindControl) {
    Vertical = target != nullptr && (GetWindowLongW(target, GWL_STYLE) & SBS_VERT) != 0 ? 1 : 0;
  } else {
    Vertical = Kind == kKindVertical ? 1 : 0;
  }
  Update();
}

bool TWScrollbar::SkinHasArrows() const {
  return Manager != nullptr && Manager->SkinData != nullptr &&
         Drawable(Manager->SkinData->Data().Scrollbar.get());
}

bool TWScrollbar::ReadInfo(SCROLLBARINFO& info) const {
  info = SCROLLBARINFO{};
  info.cbSize = sizeof(info);
  if (Target == nullptr || !IsWindow(Target)) return false;
  if (Kind != kKindControl) {
    return GetScrollBarInfo(Target, Kind == kKindVertical ? OBJID_VSCROLL : OBJID_HSCROLL, &info) !=
           FALSE;
  }
  // A scroll-bar control: the whole window is the bar; the thumb is laid
  // out from the control's own range, page and position (the position the
  // system tracks while the thumb is dragged).
  if (!GetWindowRect(Target, &info.rcScrollBar)) return false;
  SCROLLINFO si{};
  si.cbSize = sizeof(si);
  si.fMask = SIF_ALL;
  if (!GetScrollInfo(Target, SB_CTL, &si)) return false;
  const bool tracking = Pressed && HitPart == skin::kHitThumb;
  const skin::TScrollRange range{si.nMin, si.nMax, static_cast<int>(si.nPage),
                                 tracking ? si.nTrackPos : si.nPos};
  const int length = Vertical != 0 ? info.rcScrollBar.bottom - info.rcScrollBar.top
                                   : info.rcScrollBar.right - info.rcScrollBar.left;
  const int thumb = GetSystemMetrics(Vertical != 0 ? SM_CYVTHUMB : SM_CXHTHUMB);
  const skin::TThumbSpan span = skin::ControlThumb(length, ArrowSize, thumb, thumb / 2, range);
  info.xyThumbTop = span.Start;
  info.xyThumbBottom = span.End;
  info.dxyLineButton = ArrowSize;
  if ((GetWindowLongW(Target, GWL_STYLE) & WS_VISIBLE) == 0) {
    info.rgstate[0] |= STATE_SYSTEM_INVISIBLE;
  }
  if (!IsWindowEnabled(Target) || !skin::ScrollRangeUsable(range)) {
    info.rgstate[0] |= STATE_SYSTEM_UNAVAILABLE;
  }
  return true;
}

void TWScrollbar::Hide() {
  BarVisible = false;
  if (Visible()) SetVisible(false);
}

void TWScrollbar::Update() {
  SCROLLBARINFO info;
  if (!ReadInfo(info)) {
    Hide();
    return;
  }
  RECT bar = info.rcScrollBar;
  const bool shown = (info.rgstate[0] & (STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_OFFSCREEN)) == 0 &&
                     (GetWindowLongW(Target, GWL_STYLE) & WS_VISIBLE) != 0 &&
                     bar.right > bar.left && bar.bottom > bar.top && SkinHasArrows();
  if (!shown) {
    Hide();
    return;
  }
  BarRect = bar;
  MapWindowPoints(nullptr, Target, reinterpret_cast<POINT*>(&BarRect), 2);
  ScreenOrigin = POINT{bar.left, bar.top};
  Length = Vertical != 0 ? bar.bottom - bar.top : bar.right - bar.left;

  // The overlay lives on the covered window's parent (a raw window, maybe
  // the desktop for a combo box's dropped list), and follows the covered
  // window to another parent.
  HWND parent = GetAncestor(Target, GA_PARENT);
  SetParentWindow(parent);
  if (HandleAllocated() && GetAncestor(Handle(), GA_PARENT) != parent) DestroyWnd();
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&bar), 2);
  HWND wnd = Handle();
  RECT now{};
  GetWindowRect(wnd, &now);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&now), 2);
  // Directly above the covered window (the other overlays of the same
  // window may lie between): whatever lies above the covered window lies
  // above the overlay too, as it does above the real bar.
  UINT flags = SWP_NOACTIVATE;
  HWND insert_after = HWND_TOP;
  for (HWND above = GetWindow(Target, GW_HWNDPREV); above != nullptr;
       above = GetWindow(above, GW_HWNDPREV)) {
    if (above == wnd) {
      flags |= SWP_NOZORDER;
      break;
    }
    const auto* other = dynamic_cast<const TWScrollbar*>(fw::TWinControl::FindControl(above));
    if (other == nullptr || other->Target != Target) {
      insert_after = above;
      break;
    }
  }
  // A covered window kept above the others (a dropped list) takes its
  // overlay into that band; one that leaves it takes it out.
  const bool target_topmost = (GetWindowLongW(Target, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
  if (target_topmost != ((GetWindowLongW(wnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0)) {
    flags &= ~static_cast<UINT>(SWP_NOZORDER);
    insert_after = target_topmost ? HWND_TOPMOST : HWND_NOTOPMOST;
  }
  if ((flags & SWP_NOZORDER) == 0 || !SameRect(now, bar) || !Visible()) {
    SetWindowPos(wnd, insert_after, bar.left, bar.top, bar.right - bar.left, bar.bottom - bar.top,
                 flags);
    if (!SameRect(now, bar)) Invalidate();
  }
  BarVisible = true;
  if (!Visible()) SetVisible(true);
}

void TWScrollbar::Sync() {
  Update();
  if (!BarVisible || !HandleAllocated()) return;
  SCROLLBARINFO info;
  if (!ReadInfo(info)) return;
  const TShown now{info.rcScrollBar, info.xyThumbTop, info.xyThumbBottom,
                   info.rgstate[0],  info.rgstate[1], info.rgstate[5]};
  if (!(now == shown_)) Invalidate();
}

void TWScrollbar::RepaintNow() {
  if (!HandleAllocated()) return;
  InvalidateRect(Handle(), nullptr, FALSE);
  UpdateWindow(Handle());
}

void TWScrollbar::BeginPress() {
  GetCursorPos(&DragCursor);
  SCROLLBARINFO info;
  if (ReadInfo(info)) DragThumb = info.xyThumbTop;
  Pressed = true;
}

void TWScrollbar::EndPress() {
  Pressed = false;
  RepaintNow();
}

// --- Mouse -----------------------------------------------------------------------

void TWScrollbar::WndProc(fw::TMessage& m) {
  switch (m.Msg) {
    case WM_ERASEBKGND:
      m.Result = 1;
      return;
    case WM_MOUSEACTIVATE:
      // A click on the bar leaves activation (and focus) where they are.
      m.Result = MA_NOACTIVATE;
      return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      fw::TCustomControl::WndProc(m);
      MouseDown(m.LParam);
      return;
    case WM_LBUTTONUP:
      fw::TCustomControl::WndProc(m);
      MouseUp(m.LParam);
      return;
    default:
      fw::TCustomControl::WndProc(m);
      return;
  }
}

void TWScrollbar::MouseDown(LPARAM lparam) {
  if (Target == nullptr) return;
  POINT p{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
  if (Kind != kKindControl) {
    // The window's own bar takes the click in screen coordinates.
    p.x += ScreenOrigin.x;
    p.y += ScreenOrigin.y;
  }
  BeginPress();
  if (Kind == kKindControl) {
    SCROLLBARINFO info;
    if (ReadInfo(info)) {
      ThumbStart = info.xyThumbTop;
      ThumbEnd = info.xyThumbBottom;
    }
    HitPart =
        skin::ScrollHitTest(Vertical != 0 ? p.y : p.x, ArrowSize, ThumbStart, ThumbEnd, Length);
    RepaintNow();
  }
  ReleaseCapture();
  // The system's own tracking of the press runs inside this call and
  // returns when the button is released; the overlay may be gone by then.
  const std::weak_ptr<char> alive = life_;
  const HWND target = Target;
  if (Kind == kKindControl) {
    SendMessageW(target, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
  } else {
    SendMessageW(target, WM_NCLBUTTONDOWN, Kind == kKindVertical ? HTVSCROLL : HTHSCROLL,
                 MAKELPARAM(p.x, p.y));
  }
  if (alive.expired()) return;
  ReleaseCapture();
  EndPress();
}

void TWScrollbar::MouseUp(LPARAM lparam) {
  if (Target == nullptr) return;
  POINT p{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
  if (Kind != kKindControl) {
    p.x += ScreenOrigin.x;
    p.y += ScreenOrigin.y;
  }
  Pressed = false;
  ReleaseCapture();
  if (Kind == kKindControl) {
    PostMessageW(Target, WM_LBUTTONUP, MK_LBUTTON, MAKELPARAM(p.x, p.y));
  } else {
    PostMessageW(Target, WM_NCLBUTTONUP, Kind == kKindVertical ? HTVSCROLL : HTHSCROLL,
                 MAKELPARAM(p.x, p.y));
  }
  RepaintNow();
}

// --- Painting --------------------------------------------------------------------

void TWScrollbar::Paint() {
  // The overlay's one painting path: what painting throws leaves the
  // overlay as it was, as a skinner's painting does.
  try {
    PaintBar();
  } catch (...) {  // NOLINT(bugprone-empty-catch): painting errors leave what was drawn
  }
}

void TWScrollbar::PaintBar() {
  if (Manager == nullptr || Manager->SkinData == nullptr) return;
  const skin::TSkinData& d = Manager->SkinData->Data();
  if (!Drawable(d.Scrollbar.get())) return;
  SCROLLBARINFO info;
  if (!ReadInfo(info) || (info.rgstate[0] & STATE_SYSTEM_INVISIBLE) != 0) return;
  shown_ = TShown{info.rcScrollBar, info.xyThumbTop, info.xyThumbBottom,
                  info.rgstate[0],  info.rgstate[1], info.rgstate[5]};
  const bool enabled = skin::ScrollBarEnabled(info.rgstate[0], info.rgstate[1], info.rgstate[5]);
  const bool vertical = Vertical != 0;
  const int w = info.rcScrollBar.right - info.rcScrollBar.left;
  const int h = info.rcScrollBar.bottom - info.rcScrollBar.top;
  const skin::TScrollBarLayout l =
      skin::ScrollBarLayout({.Width = w,
                             .Height = h,
                             .Vertical = vertical,
                             .ArrowSize = ArrowSize,
                             .ArrowImageHeight = d.Scrollbar->Bitmap.Height()});
  Length = l.Length;
  SizeBuffer(buffer_, w, h);
  if (buffer_.Empty()) return;
  {
    const fw::TGdiHandle<HBRUSH> face(CreateSolidBrush(fw::ColorToRGB(d.ButtonFaceColour)));
    const RECT all{0, 0, w, h};
    FillRect(buffer_.Canvas()->Handle(), &all, face.get());
  }

  // Track, then the two arrows over its ends.
  const skin::TDataSkinObject* track = vertical ? d.VertScroll.get() : d.HorzScroll.get();
  DrawElement(buffer_, ToWin(l.Track), 4, skin::ScrollTrackFrame(enabled), track);
  const skin::TArrowFrames arrows = skin::ScrollArrowFrames(vertical, Pressed, HitPart);
  const int arrow_frames = std::max(d.Scrollbar->FrameCount, 1);
  DrawStripFrame(buffer_, ToWin(l.FirstArrow), arrow_frames, arrows.First, d.Scrollbar->Bitmap);
  DrawStripFrame(buffer_, ToWin(l.SecondArrow), arrow_frames, arrows.Second, d.Scrollbar->Bitmap);

  // The thumb: where the system has it, or under the cursor while the
  // system tracks a drag of a window's bar.
  ThumbStart = info.xyThumbTop;
  ThumbEnd = info.xyThumbBottom;
  if (Kind != kKindControl && Pressed && HitPart == skin::kHitThumb) {
    POINT cursor;
    GetCursorPos(&cursor);
    const int travel = vertical ? cursor.y - DragCursor.y : cursor.x - DragCursor.x;
    const skin::TThumbSpan span =
        skin::DraggedThumb(DragThumb, travel, ThumbEnd - ThumbStart, Length, l.Arrow);
    ThumbStart = span.Start;
    ThumbEnd = span.End;
  }
  const skin::TDataSkinObject* thumb = vertical ? d.VertScrollThumb.get() : d.HorzScrollThumb.get();
  if (enabled && Drawable(thumb) && ThumbEnd > ThumbStart) {
    DrawUntiled(buffer_, ToWin(skin::ScrollThumbRect(vertical, l.Cross, ThumbStart, ThumbEnd)),
                thumb->FrameCount, skin::ScrollThumbFrame(Pressed, HitPart, thumb->FrameCount),
                *thumb);
  }
  GdiFlush();
  BitBlt(Canvas()->Handle(), 0, 0, w, h, buffer_.Canvas()->Handle(), 0, 0, SRCCOPY);
}

}  // namespace skin::win
