// The rules of the container skinners apart from any window: the lines of a
// skinned group box, and the check-box glyph strip a control that takes
// custom glyphs is given, built from the skin's check-box image.
//
//   skin::TGroupBoxLines g = skin::GroupBoxLines({0, 0, 185, 105}, 13);   // top 5
//   skin::TBitmap glyphs = skin::CheckGlyphStrip(check_image, 5);        // 9 cells
#pragma once

#include "skin/data/bitmap.h"

namespace skin {

// A group box of rectangle `r` (origin 0, 0) whose font's "0" is `text_h`
// high: the control's own frame is erased by framing Erase and EraseInner in
// the skin's background, a rounded rectangle (corners 5 x 5) is drawn along
// Line in the shadow colour, and the caption starts at (CaptionX, CaptionY)
// on the background colour, interrupting the line. The line runs through
// the middle of the caption's first line: its top is text_h div 2 - 1.
struct TGroupBoxLines {
  TRect Erase;
  TRect EraseInner;
  TRect Line;
  int CaptionX = 0;
  int CaptionY = 0;
};
TGroupBoxLines GroupBoxLines(const TRect& r, int text_h);

// The nine cells of a custom check-box glyph strip (three groups of
// unchecked, checked and greyed; the last group disabled) take these frames
// of the skin's check-box image (0-based): cells 0 and 3 its frame 0
// (unchecked), 1 and 4 its frame 1 (checked), 6 its frame 2 (unchecked,
// disabled), 7 its frame 3 (checked, disabled) and, only when the image has
// exactly five frames, 2, 5 and 8 its frame 4. -1: the cell has no source
// (or the image has no such frame) and stays transparent.
int CheckGlyphSource(int cell, int frame_count);

// The strip: nine cells of the image's frame size (its width div
// `frame_count`, its height) side by side, magenta where a cell has no
// source. Empty for an empty image or a frame count below 1.
TBitmap CheckGlyphStrip(const TPixels& check_image, int frame_count);

}  // namespace skin
