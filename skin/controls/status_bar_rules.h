// The rules of the status-bar skinner apart from any window: the frame of
// the skin's "StatusBarEdges" image a panel shows, the alignment its text is
// drawn with, where the text goes, the rectangle a panel covers, the text
// shown for an empty one and where the size grip goes.
//
//   int f = skin::StatusPanelFrame(skin::PanelBevelOfName("pbraised"));       // 2
//   skin::TTextAlign a = skin::PanelTextAlign(skin::TTextAlign::kLeft, true);  // kRight
//   skin::TRect t = skin::StatusTextRect({0, 0, 584, 19}, 120, 13, a);
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "skin/data/bitmap.h"

namespace skin {

// A status panel's bevel, by the value names of its "Bevel" property.
enum class TPanelBevel { kNone, kLowered, kRaised };
// "pbnone", "pblowered", "pbraised" (lower-cased); anything else is lowered,
// a panel's default.
TPanelBevel PanelBevelOfName(std::string_view lower_name);
// Frames of "StatusBarEdges": 1 lowered, 2 raised, 3 without bevel. The
// simple text of a bar always shows frame 1.
int StatusPanelFrame(TPanelBevel bevel);

enum class TTextAlign { kLeft, kRight, kCenter };
// "taleftjustify", "tarightjustify", "tacenter" (lower-cased); else left.
TTextAlign TextAlignOfName(std::string_view lower_name);
// A panel read right to left ("bdrighttoleft") swaps left and right; the
// other BiDi values ("bdrighttoleftnoalign", "bdrighttoleftreadingonly")
// keep the alignment.
bool MirrorsAlignment(std::string_view lower_bidi_name);
TTextAlign PanelTextAlign(TTextAlign alignment, bool mirrored);
// The DrawText flag of an alignment: DT_LEFT 0, DT_RIGHT 2, DT_CENTER 1.
uint32_t DrawTextAlignFlag(TTextAlign alignment);

// Where a text block of text_w x text_h (as DrawText measures it) is drawn
// in `panel`: the panel narrowed by 2 pixels on the left and the right, the
// block one pixel above the vertical centre; centred horizontally with
// kCenter, otherwise spanning the narrowed panel (DrawText aligns it there).
// Divisions round toward zero.
TRect StatusTextRect(const TRect& panel, int text_w, int text_h, TTextAlign alignment);

// The rectangle a panel covers: its part of the bar, the last one reaching
// the bar's right edge whatever its width.
TRect StatusPanelRect(const TRect& part, bool last, int bar_right);

// An empty text is drawn as a single space (the panel is not skipped).
std::wstring StatusPanelText(const std::wstring& text);

// The size grip: frame 5 of "ExtraImages" (`image_w` wide holding
// `frame_count` frames, `image_h` high), its rectangle ending one pixel in
// from the bar's bottom-right corner. Empty (0, 0, 0, 0) when the image has
// no fifth frame.
TRect SizeGripRect(const TRect& bar, int image_w, int image_h, int frame_count);

}  // namespace skin
