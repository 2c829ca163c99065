// Turning a skin description and the bitmaps of its package into the skin
// elements and colours of a TSkinData.
#include <algorithm>
#include <cctype>
#include <map>

#include "skin/data/bmp_codec.h"
#include "skin/data/quick_ini.h"
#include "skin/data/skin_data.h"
#include "skin/data/skin_draw.h"
#include "skin/data/skin_reader.h"

namespace skin {

namespace {

std::string AsciiUpper(std::string s) {
  for (char& c : s) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return s;
}

// The pixels all the images of one skin may hold together (16 megapixels,
// some hundred times what a complete skin uses).
constexpr int64_t kMaxSkinPixels = int64_t{1} << 24;

// Bands wider than the element's picture mean nothing, and a description may
// hold any number there: each margin is kept between 0 and the bitmap's width
// (Left, Right) or height (Top, Bottom), the largest frame a painter can cut
// from it, side by side or stacked. An element without a picture has no bands.
void FitMargins(TDataSkinObject& e) {
  e.Margins = ClampMargins(e.Margins, e.Bitmap.Width(), e.Bitmap.Height());
}

// Reads the keys shared by image elements (margins, Trans, Tile), after the
// element's bitmap.
void ReadFrameKeys(const TQuickIni& ini, const std::string& section, TDataSkinObject& e) {
  e.Margins.Left = ini.ReadInteger(section, "LeftWidth", 0);
  e.Margins.Right = ini.ReadInteger(section, "RightWidth", 0);
  e.Margins.Top = ini.ReadInteger(section, "TopHeight", 0);
  e.Margins.Bottom = ini.ReadInteger(section, "BottomHeight", 0);
  FitMargins(e);
  e.Trans = ini.ReadInteger(section, "Trans", 0);
  e.Tile = ini.ReadInteger(section, "Tile", 0);
}

// The package entry an image value names (its file part, lower-cased as the
// entry lookup compares), or "" when the value does not name a ".bmp" file.
std::string BitmapEntryName(const std::string& file_name) {
  const size_t cut = file_name.find_last_of("\\:");
  const std::string file = cut == std::string::npos ? file_name : file_name.substr(cut + 1);
  const size_t dot = file.rfind('.');
  const std::string ext = dot == std::string::npos ? std::string() : file.substr(dot);
  return file.empty() || ext != ".bmp" ? std::string() : AsciiLower(file);
}

void ReadTextColours(const TQuickIni& ini, const std::string& section, TColour fallback,
                     TDataSkinObject& e) {
  e.NormalColour2 = ParseSkinColour(ini.ReadString(section, "NormalColour2", ""), fallback);
  e.MouseOverColour2 = ParseSkinColour(ini.ReadString(section, "MouseOverColour2", ""), fallback);
  e.PressedColour2 = ParseSkinColour(ini.ReadString(section, "PressedColour2", ""), fallback);
}

}  // namespace

void LoadSkinBitmap(const TSkinReader& reader, TBitmap& bitmap, const std::string& file_name) {
  const std::string file = BitmapEntryName(file_name);
  if (file.empty()) {
    bitmap.Clear();
    return;
  }
  TMemoryStream entry;
  reader.ExtractEntry(file, entry);
  if (entry.Size() == 0) {
    bitmap.Clear();
    return;
  }
  bitmap = DecodeBmp(entry.Bytes());
}

void ReadRGBKeys(const TQuickIni& ini, const std::string& section, const std::string& prefix,
                 TColour& colour) {
  const int32_t r = ini.ReadInteger(section, prefix + "R", -1);
  const int32_t g = ini.ReadInteger(section, prefix + "G", -1);
  const int32_t b = ini.ReadInteger(section, prefix + "B", -1);
  if (r >= 0 && g >= 0 && b >= 0) colour = MakeColour(r & 0xFF, g & 0xFF, b & 0xFF);
}

namespace {

// The readers, sharing the description, the package and the component.
class Loader {
 public:
  Loader(TSkinData& d, const TQuickIni& ini, const TSkinReader& reader)
      : d_(d), ini_(ini), reader_(reader) {}

  void Run() {
    d_.SkinName = ini_.ReadString("TitlebarSkin", "SkinName", "");
    ReadFrameBorders();
    ReadSkinColours();
    ReadSysButtons();
    ReadButtons();
    ReadTitle();
    ReadBitmapElement(d_.Progress, "Progress");
    ReadMenuBar(d_.MenuBar, "Personality");
    ReadImageElement(d_.GroupBoxEdge, "GroupBoxEdge");
    ReadBoxLabelElement(d_.GroupBox, "GroupBox");
    ReadImageElement(d_.Toolbars, "Toolbars");
    ReadBorderElement(d_.Tabs, "Tabs", "Border");
    ReadImageElement(d_.StatusBarEdges, "StatusBarEdges");
    ReadBorderElement(d_.ComboButton, "ComboButton", "****");
    if (d_.ComboButton && !d_.ComboButton->Bitmap.Empty()) {
      d_.ComboButton->Bitmap2 = d_.ComboButton->Bitmap;
      d_.ComboButton->Bitmap2.SetFormat(PixelFormat::k24Bit);
      MirrorBitmap(d_.ComboButton->Bitmap2);
    }
    const std::pair<std::unique_ptr<TDataSkinObject>*, const char*> images[] = {
        {&d_.SunkEdge, "SunkEdge"},
        {&d_.ExtraImages, "ExtraImages"},
        {&d_.Headerbar, "Headerbar"},
        {&d_.MenuItem, "MenuItem"},
        {&d_.MenuBackground, "MenuBackground"},
        {&d_.Scrollbar, "Scrollbar"},
        {&d_.HorzScroll, "HorzScroll"},
        {&d_.VertScroll, "VertScroll"},
        {&d_.HorzScrollThumb, "HorzScrollThumb"},
        {&d_.VertScrollThumb, "VertScrollThumb"},
        {&d_.TrackbarThumbHorz, "Trackbar.ThumbHorz"},
        {&d_.TrackbarThumbVert, "Trackbar.ThumbVert"},
        {&d_.TrackbarThumbLeft, "Trackbar.ThumbLeft"},
        {&d_.TrackbarThumbRight, "Trackbar.ThumbRight"},
        {&d_.TrackbarThumbUp, "Trackbar.ThumbUp"},
        {&d_.TrackbarThumbDown, "Trackbar.ThumbDown"},
    };
    for (const auto& [slot, section] : images)
      ReadImageElement(*slot, section);
    ReadBorderElement(d_.UpDownHorz, "UpDown.Horz", "GlyphImage");
    ReadBorderElement(d_.UpDownVert, "UpDown.Vert", "GlyphImage");
    SetFrameCounts();
  }

  void BuildComboImage(int scroll_arrow_width);

 private:
  // Every image is decoded once, however many keys name it, and the pixels
  // handed to the elements are counted: a description that names one large
  // image from thousands of sections cannot multiply it without bound.
  void Bitmap(TBitmap& b, const std::string& value) {
    const std::string entry = BitmapEntryName(value);
    if (entry.empty()) {
      b.Clear();
      return;
    }
    auto it = decoded_.find(entry);
    if (it == decoded_.end()) {
      TBitmap image;
      LoadSkinBitmap(reader_, image, value);
      it = decoded_.emplace(entry, std::move(image)).first;
    }
    pixels_ += int64_t{it->second.Width()} * it->second.Height();
    if (pixels_ > kMaxSkinPixels) throw EBitmapError("skin images too large");
    b = it->second;
  }

  void ReadFrameBorders() {
    const std::string section = "Personality";
    for (int i = 1; i <= 4; i++) {
      TDataSkinBorder& b = *d_.Borders[i];
      const std::string& n = b.Name;
      const int32_t first = ini_.ReadInteger(section, n + "TopHeight", 0);
      const int32_t second = ini_.ReadInteger(section, n + "BotHeight", 0);
      if (i <= 2) {
        b.Margins = {0, first, 0, second};
      } else {
        b.Margins = {first, 0, second, 0};
      }
      b.FrameCount = ini_.ReadInteger(section, n + "Frame", 1);
      b.Tile = ini_.ReadInteger(section, n + "Stretch", 1);
      b.Trans = ini_.ReadInteger(section, n + "Trans", 1);
      Bitmap(b.Bitmap, ini_.ReadString(section, n, ""));
      FitMargins(b);
    }
  }

  void ReadSkinColours() {
    auto read = [&](const char* key, TColour fallback) {
      return ParseSkinColour(ini_.ReadString("Colours", key, ""), fallback);
    };
    d_.WindowTextColour = read("WindowText", SystemColour(8));
    d_.ButtonFaceColour = read("ButtonFace", SystemColour(15));
    d_.ScrollbarColour = read("Scrollbar", SystemColour(0));
    d_.HilightTextColour = read("HilightText", SystemColour(14));
    d_.HilightColour = read("Hilight", SystemColour(13));
    d_.MenubarColour = read("Menubar", d_.ButtonFaceColour);
    d_.MenuColour = read("Menu", SystemColour(4));
    d_.MenuTextColour = read("MenuText", SystemColour(7));
    d_.ButtonTextColour = read("ButtonText", SystemColour(18));
    d_.ButtonHilightColour = read("ButtonHilight", SystemColour(20));
    d_.ButtonlightColour = read("Buttonlight", SystemColour(20));
    d_.ButtonShadowColour = read("ButtonShadow", SystemColour(16));
    d_.ButtonDkShadowColour = read("ButtonDkShadow", SystemColour(21));
    d_.MenuBarTextColour = read("MenuBarText", SystemColour(7));
    d_.TitleTextActiveColour = read("TitleTextActive", SystemColour(9));
    d_.TitleTextNoActiveColour = read("TitleTextNoActive", SystemColour(19));
  }

  void ReadSysButtons() {
    d_.SysButtons.clear();
    std::vector<std::string> sections;
    ini_.ReadSections(sections);
    std::vector<std::string> kept;
    for (auto it = sections.rbegin(); it != sections.rend(); ++it) {
      const std::string upper = AsciiUpper(*it);
      if (upper == "BUTTONS" || upper == "BUTTON.RADIO" || upper == "BUTTON.CHECKBOX" ||
          upper == "BUTTON" || upper.rfind("BUTTON", 0) != 0) {
        continue;
      }
      if (ini_.ReadInteger(*it, "Action", 0) == -1 &&
          ini_.ReadInteger(*it, "Visibility", -1) != 0) {
        continue;
      }
      kept.push_back(upper);
    }
    std::reverse(kept.begin(), kept.end());
    for (const std::string& name : kept) {
      auto b = std::make_unique<TDataSkinSysButton>(name);
      b->Action = ini_.ReadInteger(name, "Action", 0);
      b->Align = ini_.ReadInteger(name, "Align", 0);
      b->XCoord = ini_.ReadInteger(name, "Xcoord", 0);
      b->YCoord = ini_.ReadInteger(name, "Ycoord", 0);
      b->Visibility = ini_.ReadInteger(name, "Visibility", 0);
      b->Visibility1 = ini_.ReadInteger(name, "Visibility1", b->Action == -1 ? -1 : 0);
      b->CombineOp = ini_.ReadInteger(name, "CombineOp", -1);
      b->FrameCount = ini_.ReadInteger(name, "frame", 0);
      Bitmap(b->Bitmap, ini_.ReadString(name, "ButtonImage", ""));
      if (b->FrameCount == 0) {
        b->FrameCount = 6;
        if (!b->Bitmap.Empty()) {
          const double ratio = static_cast<double>(b->Bitmap.Width()) / b->Bitmap.Height();
          b->FrameCount = ratio <= 3.8 ? 3 : 6;
          if (b->Action < 0) b->FrameCount = 6;
        }
        // These buttons paint the window icon instead of an image.
        if (b->Action == 3 || b->Action == 11) b->Bitmap.Clear();
      }
      d_.SysButtons.push_back(std::move(b));
    }
    const size_t k = d_.SysButtons.size();
    for (int action = 7; action <= 9; action++) {
      auto b = std::make_unique<TDataSkinSysButton>("MDICONTROLS");
      b->Action = action;
      b->Align = 100;
      b->Visibility = 100;
      b->Visibility1 = 100;
      b->FrameCount = 4;
      d_.SysButtons.push_back(std::move(b));
    }
    CutMdiButtons(k);
  }

  void CutMdiButtons(size_t k) {
    TBitmap source;
    Bitmap(source, ini_.ReadString("MDICONTROLS", "Image", ""));
    if (source.Empty()) return;
    const int a = source.Width() / 12, h = source.Height();
    for (int i = 0; i < 3; i++) {
      TDataSkinSysButton& b = *d_.SysButtons[k + i];
      b.Bitmap = TBitmap(4 * a, h, source.Format());
      StretchCopy(b.Bitmap, {0, 0, 4 * a, h}, source, {4 * a * i, 0, 4 * a * (i + 1), h});
      b.XCoord = (a + 4) * (3 - i);
    }
  }

  void ReadButtons() {
    const std::string section = "Buttons";
    TDataSkinButton& b = *d_.Buttons;
    Bitmap(b.Bitmap, ini_.ReadString(section, "Bitmap", ""));
    ReadFrameKeys(ini_, section, b);
    Bitmap(b.CheckBitmap, ini_.ReadString(section, "CheckButton", ""));
    Bitmap(b.RadioBitmap, ini_.ReadString(section, "RadioButton", ""));
    b.RadioFrameCount = ini_.ReadInteger(section, "RadioButtonFrame", 0);
    b.CheckFrameCount = ini_.ReadInteger(section, "CheckButtonFrame", 0);
    b.HasNormalColour2 = !ini_.ReadString(section, "NormalColour2", "").empty();
    b.HasMouseOverColour2 = !ini_.ReadString(section, "MouseOverColour2", "").empty();
    b.HasPressedColour2 = !ini_.ReadString(section, "PressedColour2", "").empty();
    ReadTextColours(ini_, section, d_.ButtonTextColour, b);
  }

  void ReadTitle() {
    const std::string section = "Personality";
    TDataSkinTitle& t = *d_.Title;
    Bitmap(t.Bitmap, ini_.ReadString(section, "TextBack", ""));
    t.Margins = {ini_.ReadInteger(section, "TextShift", 0),
                 ini_.ReadInteger(section, "TextShiftVert", 0),
                 ini_.ReadInteger(section, "TextRightClip", 0), 0};
    t.TextAlignment = ini_.ReadInteger(section, "TextAlignment", 0);
    t.TextBackground = ini_.ReadInteger(section, "Textbackground", 0);
    t.TextBackLeft = ini_.ReadInteger(section, "TXTBackleft", 0);
    t.TextBackRight = ini_.ReadInteger(section, "TXTBackRight", 0);
    t.FontHeight = ini_.ReadInteger("Fonts", "FontHeight", 14);
    t.ActiveTextColour = kNoColour;
    t.InactiveTextColour = kNoColour;
    ReadRGBKeys(ini_, section, "ActiveText", t.ActiveTextColour);
    ReadRGBKeys(ini_, section, "InActiveText", t.InactiveTextColour);
  }

  template <typename Element>
  Element* Start(std::unique_ptr<Element>& slot, const std::string& section,
                 const std::string& key) {
    slot.reset();
    const std::string value = ini_.ReadString(section, key, "");
    if (value.empty()) return nullptr;
    slot = std::make_unique<Element>(section);
    Bitmap(slot->Bitmap, value);
    return slot.get();
  }

  void ReadImageElement(std::unique_ptr<TDataSkinObject>& slot, const std::string& section) {
    TDataSkinObject* e = Start(slot, section, "Image");
    if (!e) return;
    e->Style = ini_.ReadInteger(section, "Style", 0);
    ReadFrameKeys(ini_, section, *e);
    ReadTextColours(ini_, section, d_.ButtonTextColour, *e);
    if (e->Tile > 1) e->Tile = 0;
  }

  void ReadBorderElement(std::unique_ptr<TDataSkinBorder>& slot, const std::string& section,
                         const std::string& second_key) {
    TDataSkinBorder* e = Start(slot, section, "Image");
    if (!e) return;
    const std::string second = ini_.ReadString(section, second_key, "");
    if (!second.empty()) Bitmap(e->Bitmap2, second);
    ReadFrameKeys(ini_, section, *e);
    ReadTextColours(ini_, section, d_.ButtonTextColour, *e);
    if (e->Tile > 1) e->Tile = 0;
  }

  void ReadBitmapElement(std::unique_ptr<TDataSkinBorder>& slot, const std::string& section) {
    TDataSkinBorder* e = Start(slot, section, "Bitmap");
    if (!e) return;
    const std::string chunk = ini_.ReadString(section, "Chunk", "");
    if (!chunk.empty()) Bitmap(e->Bitmap2, chunk);
    e->Style = ini_.ReadInteger(section, "Style", 0);
    ReadFrameKeys(ini_, section, *e);
  }

  void ReadBoxLabelElement(std::unique_ptr<TDataSkinBoxLabel>& slot, const std::string& section) {
    TDataSkinBoxLabel* e = Start(slot, section, "Image");
    if (!e) return;
    e->Style = ini_.ReadInteger(section, "Style", 0);
    ReadFrameKeys(ini_, section, *e);
    ReadTextColours(ini_, section, d_.ButtonTextColour, *e);
    if (e->Tile > 1) e->Tile = 0;
    e->BackgroundAlignment = ini_.ReadInteger(section, "BackgroundAlignment", 0);
    e->BackgroundLeftShift = ini_.ReadInteger(section, "BackgroundLeftShift", 0);
    e->BackgroundRightShift = ini_.ReadInteger(section, "BackgroundRightShift", 0);
  }

  void ReadMenuBar(std::unique_ptr<TDataSkinObject>& slot, const std::string& section) {
    TDataSkinObject* e = Start(slot, section, "menuBar");
    if (!e) return;
    e->Margins.Top = e->Margins.Bottom = 0;
    e->Tile = ini_.ReadInteger(section, "TileMenu", 0);
    e->Margins.Left = ini_.ReadInteger(section, "TileLeftMenu", 1);
    e->Margins.Right = ini_.ReadInteger(section, "TileRightMenu", 1);
    FitMargins(*e);
  }

  void SetFrameCounts() {
    auto set = [](auto& slot, int32_t n) {
      if (slot) slot->FrameCount = n;
    };
    set(d_.Title, 2);
    set(d_.Buttons, 5);
    set(d_.Progress, 2);
    set(d_.MenuBar, 2);
    set(d_.GroupBoxEdge, 2);
    set(d_.GroupBox, 1);
    set(d_.Toolbars, 5);
    set(d_.Tabs, 5);
    set(d_.StatusBarEdges, 3);
    set(d_.ComboButton, 4);
    set(d_.SunkEdge, 4);
    set(d_.ExtraImages, 5);
    set(d_.Headerbar, 5);
    set(d_.MenuItem, 5);
    set(d_.MenuBackground, 1);
    set(d_.Scrollbar, 23);
    set(d_.HorzScroll, 4);
    set(d_.VertScroll, 4);
    set(d_.HorzScrollThumb, ini_.ReadInteger("HorzScrollThumb", "FrameCount", 3));
    set(d_.VertScrollThumb, ini_.ReadInteger("VertScrollThumb", "FrameCount", 3));
    for (auto* slot : {&d_.TrackbarThumbHorz, &d_.TrackbarThumbVert, &d_.TrackbarThumbLeft,
                       &d_.TrackbarThumbRight, &d_.TrackbarThumbUp, &d_.TrackbarThumbDown}) {
      set(*slot, 5);
    }
    set(d_.UpDownHorz, 8);
    set(d_.UpDownVert, 8);
    TDataSkinButton& b = *d_.Buttons;
    auto frames = [](const TBitmap& bmp) {
      const int d = bmp.Height() < 16 ? 13 : 16;
      return std::max(bmp.Width() / d, 4);
    };
    if (b.RadioFrameCount == 0) b.RadioFrameCount = frames(b.RadioBitmap);
    if (b.CheckFrameCount == 0) b.CheckFrameCount = frames(b.CheckBitmap);
  }

  TSkinData& d_;
  const TQuickIni& ini_;
  const TSkinReader& reader_;
  std::map<std::string, TBitmap> decoded_;  // by entry name
  int64_t pixels_ = 0;
};

void Loader::BuildComboImage(int scroll_arrow_width) {
  if (!d_.SunkEdge || !d_.ComboButton) return;
  const TDataSkinObject& sunk = *d_.SunkEdge;
  TDataSkinBorder& combo = *d_.ComboButton;
  const int n = std::max(sunk.FrameCount, 1);
  const int bw = scroll_arrow_width + 2;
  TBitmap result(50 * n, 21);
  result.Fill(kSkinTransparent);
  TBitmap work(50, 21);
  const TRect button = {50 - bw, 0, 50, 21};
  for (int f = 1; f <= n; f++) {
    work.Fill(kSkinTransparent);
    DrawSkinElement(work, {0, 0, 50, 21}, sunk.Bitmap, false, false, sunk.Trans != 0, n, f,
                    sunk.Margins);
    DrawSkinElement(work, button, combo.Bitmap, false, false, true, combo.FrameCount, f,
                    combo.Margins);
    if (d_.ExtraImages) {
      DrawSkinGlyphCentered(work, button, d_.ExtraImages->Bitmap, true, d_.ExtraImages->FrameCount,
                            f);
    }
    work.FillRect({2, 2, 49 - bw, 18}, kSkinTransparent);
    StretchCopy(result, {50 * (f - 1), 0, 50 * f, 21}, work, {0, 0, 50, 21});
  }
  combo.Style = 2;
  combo.Margins = sunk.Margins;
  combo.Margins.Left = 2;
  combo.Margins.Right = bw + 2;
  combo.Bitmap = std::move(result);
  FitMargins(combo);
}

}  // namespace

void TSkinData::LoadSkinElements(const TQuickIni& ini, const TSkinReader& reader) {
  // Windows are painted from the current elements until the new set is
  // complete: a bad image halfway leaves them untouched.
  TSkinData fresh(nullptr);
  Loader loader(fresh, ini, reader);
  loader.Run();
  loader.BuildComboImage(host_ ? host_->HorzScrollArrowWidth() : 17);
  fresh.DefaultIcon = DefaultIcon;
  SwapElements(fresh);
  NotLoaded = false;
  // The old elements go with `fresh`: what windows keep of them goes first.
  if (ISkinManager* m = Manager(false)) m->ElementsReplaced(this);
  if (host_) host_->SkinLoaded();
}

void TSkinData::SwapElements(TSkinData& o) {
  using std::swap;
  swap(Borders, o.Borders);
  swap(Title, o.Title);
  swap(SysButtons, o.SysButtons);
  swap(Buttons, o.Buttons);
  swap(Progress, o.Progress);
  swap(MenuBar, o.MenuBar);
  swap(GroupBoxEdge, o.GroupBoxEdge);
  swap(GroupBox, o.GroupBox);
  swap(Toolbars, o.Toolbars);
  swap(Tabs, o.Tabs);
  swap(StatusBarEdges, o.StatusBarEdges);
  swap(ComboButton, o.ComboButton);
  swap(SunkEdge, o.SunkEdge);
  swap(ExtraImages, o.ExtraImages);
  swap(Headerbar, o.Headerbar);
  swap(MenuItem, o.MenuItem);
  swap(MenuBackground, o.MenuBackground);
  swap(Scrollbar, o.Scrollbar);
  swap(HorzScroll, o.HorzScroll);
  swap(VertScroll, o.VertScroll);
  swap(HorzScrollThumb, o.HorzScrollThumb);
  swap(VertScrollThumb, o.VertScrollThumb);
  swap(TrackbarThumbHorz, o.TrackbarThumbHorz);
  swap(TrackbarThumbVert, o.TrackbarThumbVert);
  swap(TrackbarThumbLeft, o.TrackbarThumbLeft);
  swap(TrackbarThumbRight, o.TrackbarThumbRight);
  swap(TrackbarThumbUp, o.TrackbarThumbUp);
  swap(TrackbarThumbDown, o.TrackbarThumbDown);
  swap(UpDownHorz, o.UpDownHorz);
  swap(UpDownVert, o.UpDownVert);
  swap(WindowTextColour, o.WindowTextColour);
  swap(ButtonFaceColour, o.ButtonFaceColour);
  swap(ScrollbarColour, o.ScrollbarColour);
  swap(HilightTextColour, o.HilightTextColour);
  swap(HilightColour, o.HilightColour);
  swap(MenubarColour, o.MenubarColour);
  swap(MenuColour, o.MenuColour);
  swap(MenuTextColour, o.MenuTextColour);
  swap(ButtonTextColour, o.ButtonTextColour);
  swap(ButtonHilightColour, o.ButtonHilightColour);
  swap(ButtonlightColour, o.ButtonlightColour);
  swap(ButtonShadowColour, o.ButtonShadowColour);
  swap(ButtonDkShadowColour, o.ButtonDkShadowColour);
  swap(MenuBarTextColour, o.MenuBarTextColour);
  swap(TitleTextActiveColour, o.TitleTextActiveColour);
  swap(TitleTextNoActiveColour, o.TitleTextNoActiveColour);
  swap(SkinName, o.SkinName);
}

}  // namespace skin
