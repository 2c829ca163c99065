// The rules of the button skinners apart from any window: which frame of the
// skin's button images a state shows, and where a glyph and a caption go.
// Each rule takes a plain snapshot of what it reads, filled once at the
// start of painting.
//
//   skin::TPushLook look{.Enabled = true, .Focused = true, .Default = true};
//   int frame = skin::PushButtonFrame(look);          // 5: default beats focused
//   skin::TGlyphLayout l = skin::BitButtonLayout({.ClientW = 142, ...});
#pragma once

#include <cstdint>

namespace skin {

// MouseState bits of a skinner.
inline constexpr uint8_t kLookMouseInside = 1;
inline constexpr uint8_t kLookPressed = 2;

struct TPushLook {
  bool Enabled = true;
  bool Focused = false;
  bool Default = false;
  uint8_t MouseState = 0;
};

// Frames of the "Buttons" image: 1 normal, 2 pressed, 3 disabled, 4 hot or
// focused, 5 default. A plain push button lets "default" win over
// "focused"; a glyph button lets "focused" win over "default".
int PushButtonFrame(const TPushLook& look);
int BitButtonFrame(const TPushLook& look);

// A speed button: pressed, hot or normal by the mouse; "down" shows the
// pressed frame, a disabled one the disabled frame.
struct TSpeedLook {
  bool Enabled = true;
  bool Down = false;
  uint8_t MouseState = 0;
};
int SpeedButtonFrame(const TSpeedLook& look);
// A flat speed button at rest shows only the background.
bool SpeedButtonDrawsFrame(int frame, bool flat);

// The glyph image a frame shows: 1 normal, 2 disabled, 3 clicked.
int GlyphImageOfFrame(int frame);

// Text colour of a push-button frame, when the skin names one: which of the
// "Buttons" element's colours applies (frame 5 and the disabled frame use
// the button's own and clBtnShadow).
enum class TButtonTextColour { kFont, kNormal, kMouseOver, kPressed, kDisabled };
TButtonTextColour ButtonTextColourOf(int frame);

enum TGlyphLayoutKind { glLeft = 0, glRight = 1, glTop = 2, glBottom = 3 };

// What the glyph and caption layout reads from a button.
struct TGlyphLayoutInput {
  int ClientW = 0, ClientH = 0;
  int GlyphW = 0, GlyphH = 0;
  int TextW = 0, TextH = 0;
  int Margin = 0;   // -1: centred
  int Spacing = 0;  // -1: shared out evenly
  TGlyphLayoutKind Layout = glLeft;
  bool AlignCenter = false;  // the button's Alignment is taCenter
};

// Draw-text format bits the layout adds.
inline constexpr uint32_t kLayoutWordBreak = 0x10;  // DT_WORDBREAK
inline constexpr uint32_t kLayoutCenter = 0x1;      // DT_CENTER
inline constexpr uint32_t kLayoutRight = 0x2;       // DT_RIGHT

struct TGlyphLayout {
  int GlyphX = 0, GlyphY = 0;
  int TextX = 0, TextY = 0;
  int Margin = 0, Spacing = 0;
  uint32_t Format = 0;
};

// A glyph button's layout; divisions round toward zero. Centred (Margin -1
// or taCenter): with Spacing -1 margin and spacing share what is left in
// three, else the margins share it in two.
TGlyphLayout BitButtonLayout(const TGlyphLayoutInput& in);
// A speed button's layout: no Alignment test, one pixel more margin when
// centred with a given spacing, and no word break.
TGlyphLayout SpeedButtonLayout(const TGlyphLayoutInput& in);

// Where DrawCaption puts a text block of bw x bh in a rectangle of w x h:
// one pixel above the vertical centre, and horizontally centred only when
// `centre` (else at the left edge). Offsets from the rectangle's top-left.
struct TBlockPlace {
  int X = 0, Y = 0;
};
TBlockPlace CaptionBlockPlace(int w, int h, int bw, int bh, bool centre);

}  // namespace skin
