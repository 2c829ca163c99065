// Skin elements: the objects the skin loader fills from a skin description and
// that every painter reads (a bitmap of FrameCount equal frames, Margins for
// nine-slice drawing, Trans, Tile, Style and text colours).
//
//   const skin::TDataSkinObject* e = skin_data.Scrollbar.get();   // may be null
//   if (e && !e->Bitmap.Empty()) skin::DrawSkinElement(surface, r, e->Bitmap, false,
//       e->Tile != 0, e->Trans != 0, e->FrameCount, 1, e->Margins);
//
// Colours (TColour) are 32-bit: 0x00BBGGRR is an RGB colour (red in the low
// byte), 0xFF0000nn the system colour with index nn, kNoColour means none.
#pragma once

#include <cstdint>
#include <string>

#include "skin/data/bitmap.h"

namespace skin {

using TColour = uint32_t;
inline constexpr TColour kNoColour = 0x1FFFFFFF;
constexpr TColour SystemColour(int index) {
  return 0xFF000000u | static_cast<uint32_t>(index);
}

class TDataSkinObject {
 public:
  explicit TDataSkinObject(std::string name) : Name(std::move(name)) {}
  virtual ~TDataSkinObject() = default;
  TDataSkinObject(const TDataSkinObject&) = delete;
  TDataSkinObject& operator=(const TDataSkinObject&) = delete;

  // Left, Top, Right, Bottom band widths of one frame; after loading, each is
  // within 0 and Bitmap's width (Left, Right) or height (Top, Bottom).
  TRect Margins;
  TBitmap Bitmap;
  int32_t Trans = 0;
  int32_t Tile = 0;
  std::string Name;
  int32_t FrameCount = 0;
  int32_t Style = 0;
  TColour NormalColour2 = 0;
  TColour MouseOverColour2 = 0;
  TColour PressedColour2 = 0;
};

class TDataSkinBorder : public TDataSkinObject {
 public:
  using TDataSkinObject::TDataSkinObject;
  TBitmap Bitmap2;
};

class TDataSkinButton : public TDataSkinObject {
 public:
  using TDataSkinObject::TDataSkinObject;
  TBitmap CheckBitmap;
  TBitmap RadioBitmap;
  int32_t RadioFrameCount = 0;
  int32_t CheckFrameCount = 0;
  bool HasNormalColour2 = false;
  bool HasMouseOverColour2 = false;
  bool HasPressedColour2 = false;
};

// Margins hold TextShift (Left), TextShiftVert (Top), TextRightClip (Right);
// Bitmap holds the TextBack image.
class TDataSkinTitle : public TDataSkinObject {
 public:
  using TDataSkinObject::TDataSkinObject;
  int32_t TextAlignment = 0;
  int32_t TextBackground = 0;
  int32_t FontHeight = 0;
  int32_t TextBackLeft = 0;
  int32_t TextBackRight = 0;
  TColour ActiveTextColour = 0;
  TColour InactiveTextColour = 0;
};

// One title-bar button; Bitmap holds its ButtonImage.
class TDataSkinSysButton : public TDataSkinObject {
 public:
  using TDataSkinObject::TDataSkinObject;
  int32_t Action = 0;
  int32_t Align = 0;
  int32_t XCoord = 0;
  int32_t YCoord = 0;
  int32_t CombineOp = 0;
  int32_t Visibility = 0;
  int32_t Visibility1 = 0;
};

class TDataSkinBoxLabel : public TDataSkinObject {
 public:
  using TDataSkinObject::TDataSkinObject;
  int32_t BackgroundLeftShift = 0;
  int32_t BackgroundRightShift = 0;
  int32_t BackgroundAlignment = 0;
};

// The colour written in `text` as red, green and blue decimal numbers, or
// `default_colour` when the text is empty. Never fails: missing numbers are 0.
TColour ParseSkinColour(const std::string& text, TColour default_colour);

}  // namespace skin
