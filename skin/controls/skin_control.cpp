#include "skin/controls/skin_control.h"

#include <algorithm>

#include <commctrl.h>

#include "framework/dc.h"
#include "skin/controls/button_rules.h"
#include "skin/data/skin_draw.h"
#include "skin/data/win/skin_text.h"
#include "skin/window/skin_surface.h"

namespace skin::win {

namespace {

std::string LowerAscii(std::string s) {
  for (char& c : s) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return s;
}

bool Inverted(const RECT& r) {
  return r.right < r.left || r.bottom < r.top;
}

RECT AtOrigin(RECT r) {
  OffsetRect(&r, -r.left, -r.top);
  return r;
}

}  // namespace

// --- Construction ----------------------------------------------------------------

TSkinControl::TSkinControl(fw::TComponent* owner) : fw::TComponent(owner) {}

TSkinControl::~TSkinControl() {
  // The hooks go with their members; the controller forgets the skinner.
  hook_.Unhook();
  watcher_.Unhook();
  subclass_.Remove();
  if (SkinForm != nullptr) {
    if (SkinForm->GetHotButton() == this) SkinForm->SetHotButton(nullptr);
    SkinForm->UnregisterSkinner(this);
  }
}

const fw::TClassInfo& TSkinControl::StaticClassInfo() {
  static const fw::TClassInfo info =
      fw::TClassBuilder<TSkinControl>("TSkinControl", fw::TComponent::StaticClassInfo()).Build();
  return info;
}

// --- Attach and detach -----------------------------------------------------------

void TSkinControl::Attach(ISkinForm* form, TSkinData* data, bool use_skin_colour,
                          fw::TCanvas* canvas) {
  if (Attached) return;
  auto* control = dynamic_cast<fw::TWinControl*>(Owner());
  if (control == nullptr) return;
  UseSkinColour = use_skin_colour;
  Bind(*control, data, form, canvas);
  hook_.Hook(*control, fw::TWndMethod::Bind<&TSkinControl::WndProc>(this));
  control->SetDoubleBuffered(true);
  if (SkinForm != nullptr) SkinForm->RegisterSkinner(this);
  RefreshState();
  Caption = WindowText();
  if (UseSkinColour) {
    SavedColour = control->SaveColour();
    control->SetColor(static_cast<fw::TColor>(SkinColour()));
  }
  control->Invalidate();
  Attached = true;
  Status = ssnAttached;
}

void TSkinControl::Bind(fw::TWinControl& control, TSkinData* data, ISkinForm* form,
                        fw::TCanvas* canvas) {
  SkinData = data;
  SkinForm = form;
  Canvas = canvas;
  Control = &control;
  Handle = control.Handle();
}

bool TSkinControl::AttachGraphic(ISkinForm* form, TSkinData* data, fw::TCanvas* canvas) {
  auto* control = dynamic_cast<fw::TControl*>(Owner());
  SkinData = data;
  Canvas = canvas;
  GraphicControl = control;
  SkinForm = form;
  if (control != nullptr) HookWindowProc(*control);
  const bool known = form != nullptr && form->RegisterSkinner(this);
  Attached = true;
  Status = ssnAttached;
  if (control != nullptr) control->Invalidate();
  return known;
}

void TSkinControl::AttachHandle(HWND wnd, TSkinData* data, ISkinForm* form, fw::TCanvas* canvas) {
  SkinData = data;
  Canvas = canvas;
  SkinForm = form;
  Handle = wnd;
  Enabled = true;
  if (SkinForm != nullptr) SkinForm->RegisterSkinner(this);
  Caption = WindowText();
  subclass_.Install(wnd, fw::TWndMethod::Bind<&TSkinControl::WndProc>(this));
  // A framework control's window attached by handle: the control may create
  // its window again, and only its WindowProc hears of the new one.
  if (fw::TWinControl* c = fw::TWinControl::FindControl(wnd);
      c != nullptr && c->HandleAllocated() && c->Handle() == wnd && !watcher_.Hooked()) {
    watched_ = c;
    watcher_.Hook(*c, fw::TWndMethod::Bind<&TSkinControl::WatchProc>(this));
  }
  InvalidateRect(wnd, nullptr, TRUE);
  Attached = true;
  Status = ssnAttached;
}

void TSkinControl::HookWindowProc(fw::TControl& control) {
  hook_.Hook(control, fw::TWndMethod::Bind<&TSkinControl::WndProc>(this));
}

void TSkinControl::Detach() {
  if (UseSkinColour && Control != nullptr) Control->RestoreColour(SavedColour);
}

void TSkinControl::SkinChanged() {
  if (UseSkinColour && Control != nullptr) {
    Control->SetColor(static_cast<fw::TColor>(SkinColour()));
  }
  if (Handle != nullptr) {
    InvalidateRect(Handle, nullptr, TRUE);
  } else if (GraphicControl != nullptr) {
    GraphicControl->Invalidate();
  }
}

fw::TControl* TSkinControl::Served() const {
  if (Control != nullptr) return Control;
  if (GraphicControl != nullptr) return GraphicControl;
  return watched_;
}

// --- Messages --------------------------------------------------------------------

void TSkinControl::WndProc(fw::TMessage& m) {
  if (!SkinEnabled) {
    if (m.Msg == WM_SKINENABLE) {
      SkinEnabled = m.WParam > 0;
      m.Result = 0;
      if (SkinEnabled) Repaint();
      return;
    }
    CallOldProc(m);
    return;
  }
  if (BeforeMessage(m)) {
    CallOldProc(m);
    AfterMessage(m);
  }
}

void TSkinControl::CallOldProc(fw::TMessage& m) {
  if (hook_.Hooked() || hook_.Previous()) {
    hook_.CallPrevious(m);
  } else {
    subclass_.CallPrevious(m);
  }
}

bool TSkinControl::Recreating() const {
  const fw::TWinControl* c = Control != nullptr ? Control : watched_;
  return c != nullptr && c->Recreating();
}

bool TSkinControl::BeforeMessage(fw::TMessage& m) {
  if (m.Msg == WM_NCDESTROY) {
    CallOldProc(m);
    // A window the framework creates again is no end of the control: the
    // skinner stays and hooks the new window (CM_RECREATEWND).
    if (Recreating()) return false;
    Status = ssnDestroyed;
    Detach();
    return false;
  }
  if (m.Msg == CM_RECREATEWND && Control != nullptr) {
    CallOldProc(m);
    AfterRecreate();
    return false;
  }
  return true;
}

void TSkinControl::AfterMessage(fw::TMessage& m) {
  switch (m.Msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case CM_ENABLEDCHANGED:
      Repaint();
      break;
    case WM_SETTEXT:
      Caption = WindowText();
      Repaint();
      break;
    case WM_PAINT:
      Paint(reinterpret_cast<HDC>(m.WParam));
      break;
    case WM_SKINENABLE:
      SkinEnabled = m.WParam > 0;
      if (!SkinEnabled) Repaint();
      break;
    default:
      break;
  }
}

void TSkinControl::WatchProc(fw::TMessage& m) {
  watcher_.CallPrevious(m);
  if (m.Msg == CM_RECREATEWND) AfterRecreate();
}

void TSkinControl::AfterRecreate() {
  const fw::TWinControl* c = Control != nullptr ? Control : watched_;
  if (c == nullptr || Status == ssnDestroyed) return;
  HWND wnd = const_cast<fw::TWinControl*>(c)->Handle();
  if (wnd == nullptr) return;
  if (watched_ != nullptr) {
    subclass_.Remove();
    subclass_.Install(wnd, fw::TWndMethod::Bind<&TSkinControl::WndProc>(this));
  }
  Handle = wnd;
  WindowRecreated();
  Repaint();
}

bool TSkinControl::TrackMouseState(const fw::TMessage& m) {
  const uint8_t before = MouseState;
  switch (m.Msg) {
    case CM_MOUSEENTER:
      MouseState |= kMouseInside;
      break;
    case CM_MOUSELEAVE:
      MouseState &= static_cast<uint8_t>(~(kMouseInside | kMousePressed));
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      MouseState |= kMousePressed;
      break;
    case WM_LBUTTONUP:
      MouseState &= static_cast<uint8_t>(~kMousePressed);
      break;
    case WM_KEYDOWN:
      if (m.WParam == VK_SPACE) MouseState |= kMousePressed;
      break;
    case WM_KEYUP:
      if (m.WParam == VK_SPACE) MouseState &= static_cast<uint8_t>(~kMousePressed);
      break;
    default:
      break;
  }
  return MouseState != before;
}

void TSkinControl::RefreshState() {
  if (Handle == nullptr) return;
  Focused = GetFocus() == Handle;
  Enabled = (GetWindowLongW(Handle, GWL_STYLE) & WS_DISABLED) == 0;
}

std::wstring TSkinControl::WindowText() const {
  if (Handle == nullptr) return {};
  if (IsWinNT()) {
    const int n = GetWindowTextLengthW(Handle);
    std::wstring text(static_cast<size_t>(std::max(n, 0)) + 1, L'\0');
    const int got = GetWindowTextW(Handle, text.data(), n + 1);
    text.resize(static_cast<size_t>(std::max(got, 0)));
    return text;
  }
  char buffer[1001] = {};
  SendMessageA(Handle, WM_GETTEXT, 1000, reinterpret_cast<LPARAM>(buffer));
  return AnsiToWide(buffer);
}

// --- Painting --------------------------------------------------------------------

void TSkinControl::Repaint() {
  if (Control != nullptr) {
    Control->Invalidate();
  } else if (GraphicControl != nullptr) {
    GraphicControl->Invalidate();
  } else if (Handle != nullptr) {
    InvalidateRect(Handle, nullptr, TRUE);
    UpdateWindow(Handle);
  }
}

void TSkinControl::Paint(HDC dc) {
  if (Handle == nullptr) return;
  RECT r;
  if (!GetWindowRect(Handle, &r)) return;
  WindowRect = r;
  r = AtOrigin(r);
  try {
    if (dc != nullptr) {
      PaintTo(dc, r);
    } else {
      const fw::TWindowDC window_dc(Handle);
      if (window_dc.Get() != nullptr) PaintTo(window_dc.Get(), r);
    }
  } catch (...) {  // NOLINT(bugprone-empty-catch): painting errors leave what was drawn
  }
}

void TSkinControl::PaintClient(fw::TMessage& m) {
  m.Result = 0;
  auto paint = [this](HDC dc) {
    RECT r;
    if (!GetWindowRect(Handle, &r)) return;
    WindowRect = r;
    r = AtOrigin(r);
    try {
      PaintTo(dc, r);
    } catch (...) {  // NOLINT(bugprone-empty-catch): painting errors leave what was drawn
    }
  };
  if (m.WParam != 0) {
    paint(reinterpret_cast<HDC>(m.WParam));
  } else {
    const fw::TPaintDC dc(Handle);
    paint(dc.Get());
  }
}

void TSkinControl::PaintTo(HDC /*dc*/, const RECT& /*rect*/) {}

COLORREF TSkinControl::SkinColour() const {
  return fw::ColorToRGB(SkinData != nullptr ? Data().ButtonFaceColour : fw::clBtnFace);
}

void TSkinControl::FillSkinColour(HDC dc, const RECT& r) const {
  const fw::TGdiHandle<HBRUSH> brush(CreateSolidBrush(SkinColour()));
  FillRect(dc, &r, brush.get());
}

void TSkinControl::FillParentColour(HDC dc, const RECT& r) const {
  COLORREF colour = SkinColour();
  if (const fw::TControl* c = Served(); c != nullptr && c->Parent() != nullptr) {
    colour = fw::ColorToRGB(c->Parent()->Color());
  }
  const fw::TGdiHandle<HBRUSH> brush(CreateSolidBrush(colour));
  FillRect(dc, &r, brush.get());
}

// --- Properties by name ----------------------------------------------------------

int64_t TSkinControl::GetIntProp(std::string_view name) const {
  return fw::GetIntProp(Served(), name);
}

std::string TSkinControl::GetEnumName(std::string_view name) const {
  return LowerAscii(fw::GetEnumName(Served(), name));
}

std::wstring TSkinControl::GetTextProp(std::string_view name) const {
  return fw::GetTextProp(Served(), name);
}

fw::TObject* TSkinControl::GetObjectProp(std::string_view name) const {
  return fw::GetObjectProp(Served(), name);
}

bool TSkinControl::HasProp(std::string_view name) const {
  return fw::IsPublishedProp(Served(), name);
}

// --- Shared drawing routines -----------------------------------------------------

namespace {

bool Drawable(const skin::TDataSkinObject* e) {
  return e != nullptr && !e->Bitmap.Empty();
}

void PaintElement(skin::TPixels& surface, const skin::TRect& target, int frame_count, int frame,
                  const skin::TDataSkinObject& e) {
  skin::DrawSkinElement(surface, target, e.Bitmap, /*vertical=*/false, e.Tile != 0, e.Trans == 1,
                        frame_count, frame, e.Margins);
}

}  // namespace

void DrawElement(HDC dc, const RECT& rect, int frame_count, int frame,
                 const skin::TDataSkinObject* element) {
  if (Inverted(rect) || !Drawable(element)) return;
  PaintPixels(dc, rect, [&](skin::TPixels& surface, const skin::TRect& target) {
    PaintElement(surface, target, frame_count, frame, *element);
  });
}

void DrawElement(fw::TBitmap& target, const RECT& rect, int frame_count, int frame,
                 const skin::TDataSkinObject* element) {
  if (Inverted(rect) || !Drawable(element) || target.Empty()) return;
  skin::TBitmapView view = ViewOf(target);
  PaintElement(view, ToSkinRect(rect), frame_count, frame, *element);
}

void DrawStripFrame(HDC dc, const RECT& rect, int frame_count, int frame,
                    const skin::TPixels& bitmap) {
  if (Inverted(rect) || bitmap.Empty()) return;
  PaintPixels(dc, rect, [&](skin::TPixels& surface, const skin::TRect& target) {
    skin::DrawSkinFrameStretched(surface, target, bitmap, /*transparent=*/true, frame_count, frame);
  });
}

void DrawStripFrame(fw::TBitmap& target, const RECT& rect, int frame_count, int frame,
                    const skin::TPixels& bitmap) {
  if (Inverted(rect) || bitmap.Empty() || target.Empty()) return;
  skin::TBitmapView view = ViewOf(target);
  skin::DrawSkinFrameStretched(view, ToSkinRect(rect), bitmap, /*transparent=*/true, frame_count,
                               frame);
}

void DrawGlyph(HDC dc, const RECT& rect, int num_glyphs, int glyph_image, fw::TBitmap& glyph) {
  if (glyph.Empty()) return;
  const int n = std::max(num_glyphs, 1);
  const int w = glyph.Width() / n;
  const int h = glyph.Height();
  if (w <= 0) return;
  const int index = n == 4 ? std::clamp(glyph_image - 1, 0, 3) : 0;
  const bool grey = glyph_image == 2;
  const skin::TBitmapView source = ViewOf(glyph);
  const uint32_t key = source.Pixel(0, h - 1);
  const RECT place{rect.left, rect.top, rect.left + w, rect.top + h};
  PaintPixels(dc, place, [&](skin::TPixels& surface, const skin::TRect& /*target*/) {
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        uint32_t c = source.Pixel(index * w + x, y);
        if (c == key) continue;
        if (grey) {
          const uint32_t v = ((c & 0xFF) + ((c >> 8) & 0xFF) + ((c >> 16) & 0xFF)) / 3;
          c = v | (v << 8) | (v << 16);
        }
        surface.SetPixel(x, y, c);
      }
    }
  });
}

std::wstring DrawCaption(HDC dc, const RECT& rect, UINT alignment, const std::wstring& text) {
  std::wstring shown = text;
  for (size_t at = shown.find(L"||"); at != std::wstring::npos; at = shown.find(L"||", at + 2)) {
    shown.replace(at, 2, L"\r\n");
  }
  SetBkMode(dc, TRANSPARENT);
  RECT block = rect;
  SkinDrawText(dc, shown, block,
               alignment | DT_CALCRECT | DT_NOCLIP | DT_EXPANDTABS | DT_WORDBREAK);
  const int block_w = block.right - block.left;
  const int block_h = block.bottom - block.top;
  const bool centre = (alignment & DT_CENTER) != 0;
  const skin::TBlockPlace at = skin::CaptionBlockPlace(
      rect.right - rect.left, rect.bottom - rect.top, block_w, block_h, centre);
  RECT place = rect;
  place.top = rect.top + at.Y;
  place.bottom = place.top + block_h;
  if (centre) {
    place.left = rect.left + at.X;
    place.right = place.left + block_w;
  }
  SkinDrawText(dc, shown, place, alignment | DT_EXPANDTABS | DT_WORDBREAK);
  return shown;
}

void DrawImageAndText(HDC dc, const RECT& rect, HIMAGELIST images, int image_index,
                      const std::wstring& text, UINT alignment, bool enabled) {
  constexpr UINT kFormat = DT_END_ELLIPSIS | DT_SINGLELINE | DT_EXPANDTABS;  // 0x8060
  const int w = rect.right - rect.left;
  const int h = rect.bottom - rect.top;
  int icon_w = 0;
  int icon_h = 0;
  if (images != nullptr) ImageList_GetIconSize(images, &icon_w, &icon_h);
  const bool icon = image_index != -1 && images != nullptr && icon_w < w;
  if (!icon) icon_w = 0;
  RECT measured = rect;
  SkinDrawText(dc, text, measured, kFormat | DT_CALCRECT | DT_NOCLIP);
  const int text_w = measured.right - measured.left;
  const int text_h = measured.bottom - measured.top;
  int x = 2;
  if ((alignment & DT_CENTER) != 0) {
    x = (w - icon_w - text_w) / 2;
  } else if ((alignment & DT_RIGHT) != 0) {
    x = w - icon_w - text_w - 2;
  }
  x = std::max(x, 2);
  if (icon) {
    // The icon's width also centres it vertically, as square icons are.
    ImageList_Draw(images, image_index, dc, rect.left + x, rect.top + (h - icon_w) / 2,
                   ILD_TRANSPARENT);
  }
  RECT place{rect.left + x + (icon ? icon_w + 1 : 0), rect.top + (h - text_h) / 2, rect.right,
             rect.top + (h - text_h) / 2 + text_h};
  place.left = std::max(place.left, rect.left);
  SetBkMode(dc, TRANSPARENT);
  if (!enabled) SetTextColor(dc, fw::ColorToRGB(fw::clBtnShadow));
  SkinDrawText(dc, text, place, kFormat);
}

fw::TBitmap& ScratchBitmap() {
  static fw::TBitmap scratch;
  return scratch;
}

void SizeBuffer(fw::TBitmap& bitmap, int w, int h) {
  w = std::max(w, 0);
  h = std::max(h, 0);
  if (bitmap.Width() != w || bitmap.Height() != h) bitmap.SetSize(w, h);
}

}  // namespace skin::win
