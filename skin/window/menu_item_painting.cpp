#include "skin/window/menu_item_painting.h"

#include <algorithm>

#include "framework/dc.h"
#include "framework/forms.h"
#include "skin/controls/skin_manage.h"
#include "skin/data/skin_draw.h"
#include "skin/data/win/skin_text.h"
#include "skin/window/menu_item_layout.h"
#include "skin/window/skin_surface.h"

namespace skin::win {

namespace {

// The system's check-mark bitmap (OBM_CHECK).
constexpr int kCheckBitmap = 32760;

void Fill(fw::TBitmap& bitmap, COLORREF colour) {
  fw::TGdiHandle<HBRUSH> brush(CreateSolidBrush(colour));
  RECT all{0, 0, bitmap.Width(), bitmap.Height()};
  FillRect(bitmap.Canvas()->Handle(), &all, brush.get());
}

// Fills `rect` with the dithered pattern of button face and highlight that
// marks a checked entry's image.
void FillDithered(HDC dc, const RECT& rect) {
  static const WORD kPattern[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
  fw::TGdiHandle<HBITMAP> pattern(CreateBitmap(8, 8, 1, 1, kPattern));
  fw::TGdiHandle<HBRUSH> brush(CreatePatternBrush(pattern.get()));
  const COLORREF text = SetTextColor(dc, GetSysColor(COLOR_BTNFACE));
  const COLORREF back = SetBkColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
  FillRect(dc, &rect, brush.get());
  SetTextColor(dc, text);
  SetBkColor(dc, back);
}

// Where the client area of the window that `dc` paints starts inside that
// window: a popup menu's entries are drawn in client coordinates, inside its
// frame band (Windows puts the band in the non-client area; Wine draws it in
// the client area). A DC of no window is taken for a popup's with the band
// outside.
POINT ClientOrigin(HDC dc) {
  HWND wnd = WindowFromDC(dc);
  if (wnd == nullptr) return POINT{skin::kPopupFrameWidth, skin::kPopupFrameWidth};
  RECT wr{};
  GetWindowRect(wnd, &wr);
  POINT origin{0, 0};
  ClientToScreen(wnd, &origin);
  return POINT{origin.x - wr.left, origin.y - wr.top};
}

RECT Offset(RECT r, int dx, int dy) {
  OffsetRect(&r, dx, dy);
  return r;
}

}  // namespace

fw::TGdiHandle<HFONT> CreateMenuFont(bool bold) {
  // The screen's menu font (one object for the program), bold for a
  // default entry.
  LOGFONTW lf = fw::Screen().MenuFont()->LogFont();
  if (bold) lf.lfWeight = FW_BOLD;
  return fw::TGdiHandle<HFONT>(CreateFontIndirectW(&lf));
}

// --- Entries ---------------------------------------------------------------------------

TMenuEntry EntryOfItem(fw::TMenuItem& item, fw::TMenu* fallback, bool right_to_left) {
  TMenuEntry e;
  e.Caption = item.Caption();
  e.ShortCut = fw::ShortCutToText(item.ShortCut());
  e.Enabled = item.Enabled();
  e.Checked = item.Checked();
  e.Default = item.Default();
  e.ImageIndex = item.ImageIndex();
  e.SubMenu = item.Count() > 0;
  fw::TMenu* menu = item.GetParentMenu();
  if (menu == nullptr) menu = fallback;
  e.Images = menu != nullptr ? menu->Images() : nullptr;
  e.RightToLeft = right_to_left || (menu != nullptr && menu->IsRightToLeft());
  return e;
}

TMenuEntry EntryOfHandle(HMENU menu, UINT id, bool right_to_left) {
  TMenuEntry e;
  wchar_t text[81] = {};
  GetMenuStringW(menu, id, text, 80, MF_BYCOMMAND);
  e.Caption = text[0] != 0 ? text : L"-";
  MENUITEMINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_STATE | MIIM_FTYPE | MIIM_SUBMENU;
  bool right_order = false;
  if (GetMenuItemInfoW(menu, id, FALSE, &info)) {
    e.Enabled = (info.fState & (MFS_GRAYED | MFS_DISABLED)) == 0;
    e.Checked = (info.fState & MFS_CHECKED) != 0;
    e.Default = (info.fState & MFS_DEFAULT) != 0;
    e.SubMenu = info.hSubMenu != nullptr;
    right_order = (info.fType & MFT_RIGHTORDER) != 0;
  }
  e.RightToLeft = right_to_left || right_order;
  return e;
}

// --- Painting --------------------------------------------------------------------------

int TMenuItemPainter::LeftMargin() const {
  return data_.MenuItem ? data_.MenuItem->Margins.Left : 0;
}

COLORREF TMenuItemPainter::TextColour(const TMenuEntry& entry, bool selected) const {
  if (entry.Enabled) {
    return fw::ColorToRGB(selected ? data_.HilightTextColour : data_.MenuTextColour);
  }
  // A shadow colour that equals the text colour would not show the entry
  // as disabled.
  if (data_.ButtonShadowColour == data_.MenuTextColour) return GetSysColor(COLOR_BTNSHADOW);
  return fw::ColorToRGB(data_.ButtonShadowColour);
}

void TMenuItemPainter::DrawSkinned(const TMenuEntry& entry, HMENU menu, HDC dc, const RECT& rect,
                                   bool selected, bool line_image) const {
  const int w = rect.right - rect.left;
  const int h = rect.bottom - rect.top;
  if (w <= 0 || h <= 0) return;
  fw::TBitmap entry_bitmap;
  entry_bitmap.SetSize(w, h);
  HDC mem = entry_bitmap.Canvas()->Handle();
  // The popup's background where the entry lies.
  TSkinManage* manager = TSkinManage::Instance();
  fw::TBitmap* background =
      manager != nullptr && menu != nullptr ? manager->PopupBitmap(menu) : nullptr;
  if (background != nullptr && !background->Empty()) {
    const POINT origin = ClientOrigin(dc);
    BitBlt(mem, 0, 0, w, h, background->Canvas()->Handle(), rect.left + origin.x,
           rect.top + origin.y, SRCCOPY);
  } else {
    Fill(entry_bitmap, fw::ColorToRGB(data_.MenuColour));
  }
  const skin::TDataSkinObject& image = *data_.MenuItem;
  const skin::TRect all{0, 0, w, h};
  skin::TBitmapView surface = ViewOf(entry_bitmap);
  if (entry.IsLine() && line_image) {
    skin::DrawTransparentBitmap(surface, all, skin::BuildMenuSeparator(image, w, h),
                                skin::kSkinTransparent);
  } else {
    const int frame = selected ? skin::kMenuItemSelectedFrame : skin::kMenuItemNormalFrame;
    skin::DrawSkinElement(surface, all, image.Bitmap, /*vertical=*/false, image.Tile != 0,
                          image.Trans != 0, skin::kMenuItemFrames, frame, image.Margins);
    DrawContent(entry, entry_bitmap, selected, RECT{0, 0, w, h});
  }
  GdiFlush();
  BitBlt(dc, rect.left, rect.top, w, h, mem, 0, 0, SRCCOPY);
}

void TMenuItemPainter::DrawPlain(const TMenuEntry& entry, HDC dc, const RECT& rect,
                                 bool selected) const {
  const int w = rect.right - rect.left;
  const int h = rect.bottom - rect.top;
  if (w <= 0 || h <= 0) return;
  fw::TBitmap entry_bitmap;
  entry_bitmap.SetSize(w, h);
  Fill(entry_bitmap, fw::ColorToRGB(selected ? data_.HilightColour : data_.MenuColour));
  DrawContent(entry, entry_bitmap, selected, RECT{0, 0, w, h});
  GdiFlush();
  BitBlt(dc, rect.left, rect.top, w, h, entry_bitmap.Canvas()->Handle(), 0, 0, SRCCOPY);
}

void TMenuItemPainter::DrawContent(const TMenuEntry& entry, fw::TBitmap& bitmap, bool selected,
                                   const RECT& rect) const {
  HDC dc = bitmap.Canvas()->Handle();
  const bool line = entry.IsLine();
  int glyph = entry.Images != nullptr ? entry.Images->Width() : 16;
  if (entry.Checked) glyph = std::max(glyph, 16);
  // The caption's size decides where the shortcut goes; a separator's line
  // runs over the whole text area.
  RECT measured = rect;
  int caption_w = 0;
  int caption_h = rect.bottom - rect.top;
  const skin::TRect item = ToSkinRect(rect);
  if (line) {
    const skin::TMenuEntryLayout at =
        skin::LayoutMenuEntry(item, glyph, LeftMargin(), true, entry.RightToLeft, 0, caption_h);
    caption_w = entry.RightToLeft ? at.Glyph.Left - 3 - (rect.left + 1)
                                  : (rect.right - 1) - (at.Glyph.Right + 3);
  } else {
    DrawText(entry, dc, DT_CALCRECT | DT_NOCLIP | DT_EXPANDTABS | DT_SINGLELINE, selected, measured,
             entry.Caption);
    caption_w = measured.right - measured.left;
    caption_h = measured.bottom - measured.top;
  }
  const skin::TMenuEntryLayout at = skin::LayoutMenuEntry(item, glyph, LeftMargin(), line,
                                                          entry.RightToLeft, caption_w, caption_h);
  const RECT cell = ToRECT(at.Glyph);
  if (!line) {
    const bool has_image = entry.Images != nullptr && entry.ImageIndex >= 0 &&
                           entry.ImageIndex < entry.Images->Count();
    if (has_image) {
      if (entry.Checked) {
        FillDithered(dc, cell);
        RECT edge = cell;
        DrawEdge(dc, &edge, BDR_SUNKENOUTER, BF_RECT);
      }
      entry.Images->Draw(*bitmap.Canvas(), cell.left, cell.top, entry.ImageIndex, entry.Enabled);
    } else if (entry.Checked) {
      DrawCheckMark(dc, cell, TextColour(entry, selected));
    }
  }
  // Right to left the caption is right-aligned against the glyph and the
  // shortcut sits at the left edge.
  const UINT align = entry.RightToLeft ? DT_RIGHT : 0;
  RECT caption = ToRECT(at.Caption);
  DrawText(entry, dc, DT_SINGLELINE | DT_EXPANDTABS | align, selected, caption, entry.Caption);
  if (!line && !entry.ShortCut.empty()) {
    RECT shortcut = ToRECT(at.ShortCut);
    DrawText(entry, dc, DT_SINGLELINE | DT_EXPANDTABS | (entry.RightToLeft ? DT_LEFT : DT_RIGHT),
             selected, shortcut, entry.ShortCut);
  }
  if (entry.OwnArrow()) DrawArrow(dc, ToRECT(at.Arrow), TextColour(entry, selected));
}

void TMenuItemPainter::DrawText(const TMenuEntry& entry, HDC dc, UINT flags, bool selected,
                                RECT& rect, std::wstring text) const {
  const bool measuring = (flags & DT_CALCRECT) != 0;
  if (text == L"-") {
    if (measuring) return;
    RECT line = Offset(rect, 0, 4);
    DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
    return;
  }
  // An empty caption (or a lone accelerator mark) still has a height.
  if (measuring && (text.empty() || text == L"&")) text += L" ";
  fw::TGdiHandle<HFONT> font = CreateMenuFont(entry.Default);
  fw::TSelectObject selected_font(dc, font.get());
  const int mode = SetBkMode(dc, TRANSPARENT);
  const COLORREF colour = SetTextColor(dc, TextColour(entry, selected));
  SkinDrawText(dc, text, rect, flags);
  SetTextColor(dc, colour);
  SetBkMode(dc, mode);
}

void TMenuItemPainter::DrawCheckMark(HDC dc, const RECT& cell, COLORREF colour) const {
  fw::TGdiHandle<HBITMAP> check(LoadBitmapW(nullptr, MAKEINTRESOURCEW(kCheckBitmap)));
  BITMAP bm{};
  if (!check || GetObjectW(check.get(), sizeof(bm), &bm) == 0) return;
  const int x = cell.left + ((cell.right - cell.left) - bm.bmWidth) / 2 + 1;
  const int y = cell.top + ((cell.bottom - cell.top) - bm.bmHeight) / 2 + 1;
  fw::TMemoryDC mem(dc);
  fw::TSelectObject selected(mem.Get(), check.get());
  // The mark's black pixels become `colour`; its white ones leave the entry
  // as it is: first the mark is cut out in black, then the colour goes in.
  const COLORREF text = SetTextColor(dc, RGB(0, 0, 0));
  const COLORREF back = SetBkColor(dc, RGB(255, 255, 255));
  BitBlt(dc, x, y, bm.bmWidth, bm.bmHeight, mem.Get(), 0, 0, SRCAND);
  SetTextColor(dc, colour);
  SetBkColor(dc, RGB(0, 0, 0));
  BitBlt(dc, x, y, bm.bmWidth, bm.bmHeight, mem.Get(), 0, 0, SRCPAINT);
  SetTextColor(dc, text);
  SetBkColor(dc, back);
}

void TMenuItemPainter::DrawArrow(HDC dc, const RECT& cell, COLORREF colour) const {
  // Pointing left: the tip is the leftmost column's middle pixel, each
  // column to its right one pixel longer at both ends.
  fw::TGdiHandle<HBRUSH> brush(CreateSolidBrush(colour));
  const int middle = cell.top + (cell.bottom - cell.top) / 2;
  for (int i = 0; i < cell.right - cell.left; ++i) {
    const RECT column{cell.left + i, middle - i, cell.left + i + 1, middle + i + 1};
    FillRect(dc, &column, brush.get());
  }
}

}  // namespace skin::win
