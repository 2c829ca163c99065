// Painting one owner-drawn menu entry from the skin: the entry is composed in
// an off-screen bitmap whose background is the popup window's own background
// at the entry's place (so entries blend into the skinned popup), the skin's
// MenuItem image (frame 1, or 4 when selected) laid over it, then the glyph,
// the caption and the shortcut.
//
//   TMenuItemPainter painter(skin_data);
//   painter.DrawSkinned(EntryOfItem(*item, false), popup_menu, dc, rect, selected, true);
//
// Without a MenuItem element the entries are painted flat (DrawPlain).
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "framework/graphics.h"
#include "framework/imglist.h"
#include "framework/menus.h"
#include "skin/data/skin_data.h"

namespace skin::win {

// What one entry shows, from a framework item or from a native menu's entry.
struct TMenuEntry {
  std::wstring Caption;   // "-" for a separator
  std::wstring ShortCut;  // the shortcut's text; empty for none
  bool Enabled = true;
  bool Checked = false;
  bool Default = false;  // the menu's default entry: bold
  bool SubMenu = false;  // opens a sub-menu
  int32_t ImageIndex = -1;
  fw::TImageList* Images = nullptr;
  bool RightToLeft = false;

  bool IsLine() const { return Caption == L"-"; }
  // A right-to-left entry with a sub-menu gets its arrow from the skin, on
  // its left side; the system's own arrow must be kept off it.
  bool OwnArrow() const { return RightToLeft && SubMenu && !IsLine(); }
};

// A framework item; its images are those of its menu, or of `fallback` (the
// window's menu bar) for an item outside any menu. It reads right to left
// when `right_to_left` says so (the window does) or its menu does.
TMenuEntry EntryOfItem(fw::TMenuItem& item, fw::TMenu* fallback, bool right_to_left);
// An entry of a native menu, by command: its text (at most 80 characters,
// "-" when it has none) and its state. It reads right to left when
// `right_to_left` says so or the entry is marked MFT_RIGHTORDER.
TMenuEntry EntryOfHandle(HMENU menu, UINT id, bool right_to_left);

class TMenuItemPainter {
 public:
  explicit TMenuItemPainter(const skin::TSkinData& data) : data_(data) {}

  // The entry on the background of the popup window showing `menu` (the
  // menu colour when no skinned popup shows it), the MenuItem image over it,
  // then its content. With `line_image` a separator is the MenuItem image's
  // separator frame; otherwise an etched line over the entry's image.
  void DrawSkinned(const TMenuEntry& entry, HMENU menu, HDC dc, const RECT& rect, bool selected,
                   bool line_image) const;
  // Skins without a MenuItem element: the highlight or menu colour, then the
  // content.
  void DrawPlain(const TMenuEntry& entry, HDC dc, const RECT& rect, bool selected) const;

 private:
  // Glyph (image or check mark), caption and shortcut inside `rect` of `bitmap`.
  void DrawContent(const TMenuEntry& entry, fw::TBitmap& bitmap, bool selected,
                   const RECT& rect) const;
  // Measures (DT_CALCRECT) or draws a text of the entry; "-" draws an etched line.
  void DrawText(const TMenuEntry& entry, HDC dc, UINT flags, bool selected, RECT& rect,
                std::wstring text) const;
  void DrawCheckMark(HDC dc, const RECT& cell, COLORREF colour) const;
  void DrawArrow(HDC dc, const RECT& cell, COLORREF colour) const;
  COLORREF TextColour(const TMenuEntry& entry, bool selected) const;
  int LeftMargin() const;

  const skin::TSkinData& data_;
};

// The system's menu font (bold for default entries), owned by the caller.
fw::TGdiHandle<HFONT> CreateMenuFont(bool bold);

}  // namespace skin::win
