#include "skin/controls/skin_tab.h"

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "framework/dc.h"
#include "framework/string_list.h"
#include "skin/controls/painting_helpers.h"
#include "skin/controls/skin_up_down.h"
#include "skin/controls/tab_rules.h"
#include "skin/data/skin_draw.h"
#include "skin/window/skin_surface.h"

namespace skin::win {

namespace {

// The border around the page: its bands, never its centre.
constexpr skin::TRect kBorderMargins{4, 5, 4, 4};

// Frame `frame` of the skin's tab image (as `tabs`, turned or not) into
// `rect` of `work`, with the element's margins, tiling and transparency.
void DrawTab(fw::TBitmap& work, const skin::TRect& rect, fw::TBitmap& tabs,
             const skin::TDataSkinBorder& element, int frame) {
  skin::TBitmapView surface = ViewOf(work);
  const skin::TBitmapView image = ViewOf(tabs);
  skin::DrawSkinElement(surface, rect, image, /*vertical=*/false, element.Tile != 0,
                        element.Trans == 1, std::max(element.FrameCount, 1), frame,
                        element.Margins);
}

COLORREF TabTextColour(const skin::TDataSkinBorder& element, int frame) {
  return fw::ColorToRGB(frame == 2 ? element.MouseOverColour2 : element.NormalColour2);
}

bool Visible(HWND wnd) {
  return wnd != nullptr && (GetWindowLongW(wnd, GWL_STYLE) & WS_VISIBLE) != 0;
}

}  // namespace

// --- TSkinTab --------------------------------------------------------------------

const fw::TClassInfo& TSkinTab::StaticClassInfo() {
  static const fw::TClassInfo info =
      fw::TClassBuilder<TSkinTab>("TSkinTab", TSkinControl::StaticClassInfo()).Build();
  return info;
}

TSkinTab::~TSkinTab() {
  // The scroller's skinner goes first, while this one is whole.
  DestroyComponents();
}

void TSkinTab::AttachHandle(HWND wnd, TSkinData* data, ISkinForm* form, fw::TCanvas* canvas) {
  TSkinControl::AttachHandle(wnd, data, form, canvas);
  RefreshState();
  Caption = WindowText();
  PrepareTabs();
  FindScroller();
}

void TSkinTab::SkinChanged() {
  PrepareTabs();
  TSkinControl::SkinChanged();
}

void TSkinTab::WindowRecreated() {
  // A new window may put the tabs on another side, with a scroller of its own.
  PrepareTabs();
  FindScroller();
}

void TSkinTab::Notification(fw::TComponent* component, fw::TOperation operation) {
  if (operation == fw::TOperation::opRemove && component == UpDown) UpDown = nullptr;
  TSkinControl::Notification(component, operation);
}

void TSkinTab::PrepareTabs() {
  Orientation = static_cast<uint8_t>(skin::TabOrientation(
      Handle != nullptr ? static_cast<uint32_t>(GetWindowLongW(Handle, GWL_STYLE)) : 0));
  const skin::TDataSkinBorder* tabs = SkinData != nullptr ? Data().Tabs.get() : nullptr;
  skin::TBitmap tab;
  skin::TBitmap border;
  if (tabs != nullptr) {
    tab = skin::TBitmap::CopyOf(tabs->Bitmap);
    border = skin::TBitmap::CopyOf(tabs->Bitmap2);
  }
  switch (Orientation) {
    case skin::kTabsBottom:
      skin::FlipBitmap(tab);
      skin::FlipBitmap(border);
      break;
    case skin::kTabsLeft:
      border = skin::RotatedLeft(border);
      break;
    case skin::kTabsRight:
      border = skin::RotatedRight(border);
      break;
    default:
      break;
  }
  CopyPixels(tab, TabBitmap);
  CopyPixels(border, BorderBitmap);
}

// The scroller (an up-down the control shows when its tabs do not fit) gets
// a skinner of its own the first time it is found; a new one replaces one
// whose window has gone.
void TSkinTab::FindScroller() {
  if (Handle == nullptr) return;
  if (UpDown != nullptr && UpDown->Status != ssnDestroyed) return;
  HWND scroller = FindWindowExW(Handle, nullptr, UPDOWN_CLASSW, nullptr);
  if (scroller == nullptr) return;
  if (UpDown != nullptr) UpDown->Free();
  UpDown = new TSkinUpDown(this);
  UpDown->AttachHandle(scroller, SkinData, SkinForm, Canvas);
}

void TSkinTab::PaintTo(HDC dc, const RECT& rect) {
  const skin::TDataSkinBorder* element = Data().Tabs.get();
  if (!Drawable(element) || TabBitmap.Empty()) return;
  FindScroller();
  RefreshState();
  // Item rectangles are the client area's; `rect` is the window's.
  POINT client{0, 0};
  ClientToScreen(Handle, &client);
  const int dx = client.x - WindowRect.left;
  const int dy = client.y - WindowRect.top;

  RECT display = rect;
  OffsetRect(&display, -dx, -dy);
  SendMessageW(Handle, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
  OffsetRect(&display, dx, dy);
  const int side = Orientation;
  const skin::TRect window = ToSkinRect(rect);
  const skin::TRect page = skin::TabPageRect(ToSkinRect(display), side);
  const skin::TRect strip = skin::TabStripRect(window, page, side);
  const skin::TWorkSize size = skin::TabWorkSize(strip, side);

  if (size.W > 0 && size.H > 0) {
    SizeBuffer(Work, size.W, size.H);
    HDC mem = Work.Canvas()->Handle();
    FillParentColour(mem, RECT{0, 0, size.W, size.H});
    const fw::TSelectObject font(mem, ControlFont(*this));
    const auto images = reinterpret_cast<HIMAGELIST>(SendMessageW(Handle, TCM_GETIMAGELIST, 0, 0));
    const int count = static_cast<int>(SendMessageW(Handle, TCM_GETITEMCOUNT, 0, 0));
    const int focus = static_cast<int>(SendMessageW(Handle, TCM_GETCURFOCUS, 0, 0));
    for (int i = 0; i < count; ++i) {
      wchar_t text[81] = {};
      TCITEMW item{};
      item.mask = TCIF_TEXT | TCIF_IMAGE;
      item.pszText = text;
      item.cchTextMax = 80;
      item.iImage = -1;
      if (SendMessageW(Handle, TCM_GETITEMW, static_cast<WPARAM>(i),
                       reinterpret_cast<LPARAM>(&item)) == 0) {
        continue;
      }
      RECT r{};
      if (SendMessageW(Handle, TCM_GETITEMRECT, static_cast<WPARAM>(i),
                       reinterpret_cast<LPARAM>(&r)) == 0) {
        continue;
      }
      OffsetRect(&r, dx, dy);
      const skin::TRect at = skin::TabItemInWork(ToSkinRect(r), strip, side);
      const int frame = i == focus ? 2 : 1;
      DrawTab(Work, at, TabBitmap, *element, frame);
      SetTextColor(mem, TabTextColour(*element, frame));
      DrawImageAndText(mem, ToRECT(at), images, item.iImage, item.pszText, DT_CENTER, Enabled);
    }

    const fw::TSavedDC saved(dc);
    if (UpDown != nullptr && UpDown->Status != ssnDestroyed && Visible(UpDown->Handle)) {
      RECT scroller;
      GetWindowRect(UpDown->Handle, &scroller);
      OffsetRect(&scroller, -WindowRect.left, -WindowRect.top);
      ExcludeClipRect(dc, scroller.left, scroller.top, scroller.right, scroller.bottom);
    }
    if (side == skin::kTabsLeft || side == skin::kTabsRight) {
      const skin::TBitmapView work = ViewOf(Work);
      const skin::TBitmap turned =
          side == skin::kTabsLeft ? skin::RotatedLeft(work) : skin::RotatedRight(work);
      DrawSkinBitmap(dc, strip.Left, strip.Top, turned);
    } else {
      BitBlt(dc, strip.Left, strip.Top, size.W, size.H, mem, 0, 0, SRCCOPY);
    }
  }

  if (!BorderBitmap.Empty()) {
    PaintPixels(dc, ToRECT(page), [&](skin::TPixels& surface, const skin::TRect& target) {
      const skin::TBitmapView border = ViewOf(BorderBitmap);
      skin::DrawSkinBorderOnly(surface, target, border, /*vertical=*/false, 1, 1, kBorderMargins);
    });
  }
}

// --- TSkinTab31 ------------------------------------------------------------------

const fw::TClassInfo& TSkinTab31::StaticClassInfo() {
  static const fw::TClassInfo info =
      fw::TClassBuilder<TSkinTab31>("TSkinTab31", TSkinControl::StaticClassInfo()).Build();
  return info;
}

TSkinTab31::~TSkinTab31() {
  if (ScrollerControl != nullptr) ScrollerControl->RemoveFreeNotification(this);
  DestroyComponents();
}

// A tab set is subclassed by its window; its scroller, when the set's first
// component is one, gets an up-down skinner laid out left and right.
void TSkinTab31::Attach(ISkinForm* form, TSkinData* data, bool use_skin_colour,
                        fw::TCanvas* canvas) {
  if (Attached) return;
  auto* control = dynamic_cast<fw::TWinControl*>(Owner());
  if (control == nullptr) return;
  UseSkinColour = use_skin_colour;
  AttachHandle(control->Handle(), data, form, canvas);
  PrepareTabs();
  if (control->ComponentCount() > 0) {
    if (auto* scroller = dynamic_cast<fw::TWinControl*>(control->Components(0))) {
      ScrollerControl = scroller;
      scroller->FreeNotification(this);
      UpDown = new TSkinUpDown(this);
      UpDown->Horizontal = 1;
      UpDown->AttachHandle(scroller->Handle(), data, form, canvas);
    }
  }
}

void TSkinTab31::SkinChanged() {
  PrepareTabs();
  TSkinControl::SkinChanged();
}

void TSkinTab31::Notification(fw::TComponent* component, fw::TOperation operation) {
  if (operation == fw::TOperation::opRemove) {
    if (component == UpDown) UpDown = nullptr;
    if (component == ScrollerControl) ScrollerControl = nullptr;
  }
  TSkinControl::Notification(component, operation);
}

// The tabs hang below the set: the skin's tab image upside down.
void TSkinTab31::PrepareTabs() {
  const skin::TDataSkinBorder* tabs = SkinData != nullptr ? Data().Tabs.get() : nullptr;
  skin::TBitmap tab;
  if (tabs != nullptr) tab = skin::TBitmap::CopyOf(tabs->Bitmap);
  skin::FlipBitmap(tab);
  CopyPixels(tab, TabBitmap);
}

bool TSkinTab31::BeforeMessage(fw::TMessage& m) {
  switch (m.Msg) {
    case WM_PAINT:
      PaintClient(m);
      return false;
    case WM_ERASEBKGND:
      m.Result = 1;
      return false;
    default:
      return TSkinControl::BeforeMessage(m);
  }
}

void TSkinTab31::PaintTo(HDC dc, const RECT& rect) {
  const skin::TDataSkinBorder* element = Data().Tabs.get();
  if (!Drawable(element) || TabBitmap.Empty()) return;
  RefreshState();
  const int w = rect.right - rect.left;
  const int h = rect.bottom - rect.top;
  fw::TBitmap& scratch = ScratchBitmap();
  SizeBuffer(scratch, w, h);
  if (scratch.Empty()) return;
  HDC mem = scratch.Canvas()->Handle();
  FillSkinColour(mem, RECT{0, 0, w, h});
  const fw::TSelectObject font(mem, ControlFont(*this));

  std::vector<std::wstring> texts;
  if (auto* tabs = dynamic_cast<fw::TStrings*>(GetObjectProp("Tabs"))) {
    for (int i = 0; i < tabs->Count(); ++i)
      texts.push_back(tabs->Strings(i));
  }
  skin::TTabSetInput in;
  in.Width = w;
  in.StartMargin = static_cast<int>(GetIntProp("StartMargin"));
  in.EndMargin = static_cast<int>(GetIntProp("EndMargin"));
  in.FirstIndex = static_cast<int>(GetIntProp("FirstIndex"));
  in.ScrollerVisible =
      UpDown != nullptr && UpDown->Status != ssnDestroyed && Visible(UpDown->Handle);
  for (const std::wstring& text : texts) {
    SIZE size{0, 0};
    GetTextExtentPoint32W(mem, text.c_str(), static_cast<int>(text.size()), &size);
    in.TextWidths.push_back(size.cx);
  }
  const int selected = static_cast<int>(GetIntProp("TabIndex"));
  for (const skin::TTabSetTab& tab : skin::TabSetLayout(in)) {
    const int frame = tab.Index == selected ? 2 : 1;
    const skin::TRect at{tab.Left, 0, tab.Right, h};
    DrawTab(scratch, at, TabBitmap, *element, frame);
    SetTextColor(mem, TabTextColour(*element, frame));
    DrawImageAndText(mem, ToRECT(at), nullptr, -1, texts[static_cast<size_t>(tab.Index)], DT_CENTER,
                     Enabled);
  }
  BitBlt(dc, rect.left, rect.top, w, h, mem, 0, 0, SRCCOPY);
}

}  // namespace skin::win
