#include "tests/skin/data/sample_skin.h"

#include "skin/data/bmp_codec.h"

namespace skin::testing {

std::vector<uint8_t> FramedBmp(int w, int h, int frames) {
  TBitmap b(w, h);
  const int fw = frames > 0 ? w / frames : w;
  for (int y = 0; y < h; y++) {
    for (int x = 0; x < w; x++) {
      const int f = fw > 0 ? x / fw : 0;
      // Magenta border pixels make transparency visible in pictures.
      const bool edge = y == 0 || (fw > 0 && x % fw == 0);
      b.SetPixel(x, y,
                 edge ? 0xFF00FF : MakeColour(40 * f + 30, 200 - 20 * f, (x * 7 + y * 3) & 0xFF));
    }
  }
  return EncodeBmp(b);
}

std::string SampleIni() {
  return R"([TitlebarSkin]
SkinName=Sample Skin

[Personality]
Left=left.bmp
LeftTopHeight=25
LeftBotHeight=5
LeftFrame=2
Right=right.bmp
Top=top.bmp
TopTopHeight=30
TopBotHeight=85
TopStretch=0
Bottom=bottom.bmp
TextBack=textback.bmp
TextShift=4
TextShiftVert=2
TextRightClip=60
TextAlignment=1
ActiveTextR=255
ActiveTextG=255
ActiveTextB=0
InActiveTextR=10
InActiveTextG=-1
InActiveTextB=10
menuBar=menubar.bmp
TileMenu=1

[Fonts]
FontHeight=16

[Colours]
ButtonFace=212 208 200
ButtonText=1 2 3
WindowText=7
Hilight=10 20

[Buttons]
Bitmap=skin\buttons.bmp
LeftWidth=10
TopHeight=9
RightWidth=10
BottomHeight=10
Tile=2
CheckButton=check.bmp
RadioButton=radio.bmp
NormalColour2=99 234 0

[ButtonClose]
Action=0
ButtonImage=close.bmp
Align=1
Xcoord=20
Ycoord=5

[ButtonIcon]
Action=3
ButtonImage=icon.ico

[ButtonHidden]
Action=-1
ButtonImage=close.bmp

[ButtonKept]
Action=-1
Visibility=0
ButtonImage=close.bmp

[Button.Push]
ButtonImage=wide.bmp

[Button.Radio]
Action=1
[Button.Checkbox]
Action=1
[Button]
Action=1

[MDICONTROLS]
Image=mdi.bmp

[Progress]
Bitmap=progress.bmp
Chunk=chunk.bmp
Tile=2
Style=1

[GroupBox]
Image=groupbox.bmp
BackgroundAlignment=2
BackgroundLeftShift=3
BackgroundRightShift=4

[Tabs]
Image=tabs.bmp
Border=tabborder.bmp
Tile=2

[ComboButton]
Image=combo.bmp
Trans=1

[SunkEdge]
Image=sunk.bmp
LeftWidth=2
TopHeight=2
RightWidth=2
BottomHeight=2

[ExtraImages]
Image=extra.bmp
Trans=1

[Scrollbar]
Image=scrollbar.bmp
MouseOverColour2=5 6 7

[HorzScrollThumb]
Image=hthumb.bmp
FrameCount=4

[VertScrollThumb]
Image=vthumb.BMP

[MenuItem]
Image=menuitem.tga

[UpDown.Horz]
Image=updown.bmp
GlyphImage=glyphs.bmp
)";
}

void AddToSection(std::string& ini, const std::string& section, const std::string& lines) {
  const std::string header = "[" + section + "]\n";
  const size_t at = ini.find(header);
  if (at == std::string::npos) {
    ini += header + lines;
  } else {
    ini.insert(at + header.size(), lines);
  }
}

std::vector<TSkinPackageEntry> SampleEntries() {
  const std::string ini = SampleIni();
  std::vector<TSkinPackageEntry> e = {{"sample.ini", {ini.begin(), ini.end()}}};
  auto add = [&](const char* name, int w, int h, int frames) {
    e.push_back({name, FramedBmp(w, h, frames)});
  };
  add("left.bmp", 4, 60, 1);
  add("right.bmp", 4, 60, 1);
  add("top.bmp", 200, 30, 2);
  add("bottom.bmp", 200, 4, 1);
  add("textback.bmp", 40, 20, 2);
  add("menubar.bmp", 30, 20, 2);
  add("BUTTONS.BMP", 235, 22, 5);
  add("check.bmp", 65, 13, 5);
  add("radio.bmp", 65, 13, 5);
  add("close.bmp", 51, 14, 3);
  add("wide.bmp", 120, 14, 6);
  add("mdi.bmp", 180, 14, 12);
  add("progress.bmp", 40, 12, 2);
  add("chunk.bmp", 8, 10, 1);
  add("groupbox.bmp", 30, 30, 1);
  add("tabs.bmp", 150, 20, 5);
  add("tabborder.bmp", 20, 20, 1);
  add("combo.bmp", 68, 21, 4);
  add("sunk.bmp", 80, 21, 4);
  add("extra.bmp", 35, 7, 5);
  add("scrollbar.bmp", 345, 15, 23);
  add("hthumb.bmp", 60, 15, 4);
  add("vthumb.bmp", 45, 15, 3);
  add("menuitem.tga", 10, 10, 1);
  add("updown.bmp", 128, 16, 8);
  add("glyphs.bmp", 32, 8, 4);
  add("buttons.bmp", 10, 10, 1);  // a second entry of the same name: never used
  return e;
}

std::vector<uint8_t> SamplePackage() {
  return WriteSkinPackage(SampleEntries());
}

}  // namespace skin::testing
