#include "skin/controls/skin_header.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

#include "framework/graphics.h"
#include "skin/controls/scroll_rules.h"
#include "skin/data/skin_draw.h"
#include "skin/window/skin_surface.h"

namespace skin::win {

namespace {

bool Drawable(const skin::TDataSkinObject* e) {
  return e != nullptr && !e->Bitmap.Empty();
}

// Frame 1 of "Headerbar" over `r` of the work bitmap, opaque.
void DrawHeaderFrame(fw::TBitmap& target, const RECT& r, const skin::TDataSkinObject& e) {
  if (r.right <= r.left || r.bottom <= r.top) return;
  const skin::TBitmap image =
      skin::BuildSkinImage({0, 0, r.right - r.left, r.bottom - r.top}, e.Bitmap, e.Margins, false,
                           e.Tile != 0, std::max(e.FrameCount, 1), 1);
  DrawSkinBitmap(target.Canvas()->Handle(), r.left, r.top, image);
}

}  // namespace

const fw::TClassInfo& TSkinHeader::StaticClassInfo() {
  static const fw::TClassInfo info =
      fw::TClassBuilder<TSkinHeader>("TSkinHeader", TSkinControl::StaticClassInfo()).Build();
  return info;
}

bool TSkinHeader::BeforeMessage(fw::TMessage& m) {
  switch (m.Msg) {
    case WM_ERASEBKGND:
      if (!Drawable(Data().Headerbar.get())) return TSkinControl::BeforeMessage(m);
      m.Result = 1;
      return false;
    default:
      return TSkinControl::BeforeMessage(m);
  }
}

void TSkinHeader::PaintTo(HDC dc, const RECT& rect) {
  const skin::TSkinData& d = Data();
  const skin::TDataSkinObject* e = d.Headerbar.get();
  if (!Drawable(e)) return;
  const int w = rect.right - rect.left;
  const int h = rect.bottom - rect.top;
  SizeBuffer(Buffer, w, h);
  if (Buffer.Empty()) return;
  HDC mem = Buffer.Canvas()->Handle();
  const auto font = reinterpret_cast<HFONT>(SendMessageW(Handle, WM_GETFONT, 0, 0));
  const fw::TSelectObject select_font(
      mem, font != nullptr ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(mem, TRANSPARENT);
  SetTextColor(mem, fw::ColorToRGB(d.ButtonTextColour));
  const auto images = reinterpret_cast<HIMAGELIST>(SendMessageW(Handle, HDM_GETIMAGELIST, 0, 0));
  const bool enabled = (GetWindowLongW(Handle, GWL_STYLE) & WS_DISABLED) == 0;

  const int count = static_cast<int>(SendMessageW(Handle, HDM_GETITEMCOUNT, 0, 0));
  int right = 0;
  for (int i = 0; i < count; ++i) {
    RECT item{};
    if (SendMessageW(Handle, HDM_GETITEMRECT, static_cast<WPARAM>(i),
                     reinterpret_cast<LPARAM>(&item)) == 0) {
      continue;
    }
    wchar_t text[201] = {};
    HDITEMW hd{};
    hd.mask = HDI_TEXT | HDI_FORMAT | HDI_IMAGE;
    hd.pszText = text;
    hd.cchTextMax = 201;
    SendMessageW(Handle, HDM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&hd));
    DrawHeaderFrame(Buffer, item, *e);
    right = std::max(right, static_cast<int>(item.right));
    const std::wstring caption(text);
    if (!caption.empty()) {
      const int image = skin::HeaderShowsImage(hd.fmt) ? hd.iImage : -1;
      DrawImageAndText(mem, item, images, image, caption, skin::HeaderTextAlignment(hd.fmt),
                       enabled);
    }
  }
  // The space right of the last item.
  DrawHeaderFrame(Buffer, RECT{right, 0, w, h}, *e);
  GdiFlush();
  BitBlt(dc, rect.left, rect.top, w, h, mem, 0, 0, SRCCOPY);
}

}  // namespace skin::win
