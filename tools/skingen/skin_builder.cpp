#include "tools/skingen/skin_builder.h"

#include <algorithm>
#include <array>
#include <sstream>
#include <utility>

namespace skingen {

namespace {

constexpr Rgb kWhite{255, 255, 255};

Shape Rect(double l, double t, double r, double b) {
  return RoundRect(l, t, r, b, 0);
}

std::string ColourText(Rgb c) {
  return std::to_string(c.r) + " " + std::to_string(c.g) + " " + std::to_string(c.b);
}

// A rounded box: a border of one pixel and a fill, both antialiased against
// whatever the canvas holds beneath (the caller paints the background first).
void Box(Canvas& c, double l, double t, double r, double b, double radius, Rgb border,
         const std::function<Rgb(int)>& fill) {
  c.Fill(RoundRect(l, t, r, b, radius), border);
  c.FillRows(RoundRect(l + 1, t + 1, r - 1, b - 1, std::max(radius - 1, 0.0)), fill);
}

std::function<Rgb(int)> Flat(Rgb c) {
  return [c](int) { return c; };
}

std::function<Rgb(int)> Gradient(Rgb top, Rgb bottom, int height) {
  return [=](int y) { return Mix(top, bottom, static_cast<double>(y) / std::max(height - 1, 1)); };
}

// Collects images and description lines.
class Builder {
 public:
  explicit Builder(const SkinDesign& design) : d_(design), p_(design.palette) {}

  GeneratedSkin Build();

 private:
  std::string Add(const std::string& name, Canvas image, int frames, bool vertical,
                  const std::string& label) {
    const std::string file = d_.file_prefix + name + ".bmp";
    skin_.images.push_back({file, std::move(image), frames, vertical, label});
    return file;
  }
  void Section(const std::string& name) { ini_ << "\n[" << name << "]\n"; }
  template <typename T>
  void Key(const std::string& key, const T& value) {
    ini_ << key << "=" << value << "\n";
  }
  void Margins(int l, int t, int r, int b) {
    Key("LeftWidth", l);
    Key("TopHeight", t);
    Key("RightWidth", r);
    Key("BottomHeight", b);
  }

  Rgb Caption(bool active, int y) const {
    const int h = d_.caption_height;
    return active ? Mix(p_.caption_top, p_.caption_bottom, static_cast<double>(y) / (h - 1))
                  : Mix(p_.caption_inactive_top, p_.caption_inactive_bottom,
                        static_cast<double>(y) / (h - 1));
  }

  void WindowFrame();
  void TitleText();
  void MenuBar();
  void CaptionButtons();
  void MdiButtons();
  void Colours();
  void PushButtons();
  void CheckAndRadio(std::string& check_file, std::string& radio_file, int& check_frames,
                     int& radio_frames);
  void Progress();
  void GroupBoxes();
  void Toolbars();
  void Tabs();
  void StatusBar();
  void Combo();
  void Header();
  void Menus();
  void ScrollBars();
  void TrackBar();
  void UpDown();

  Canvas CaptionButtonFrame(int glyph, int state, int y0) const;
  Shape CaptionGlyph(int glyph, double cx, double cy, double size) const;

  const SkinDesign& d_;
  const Palette& p_;
  GeneratedSkin skin_;
  std::ostringstream ini_;
};

// ---------------------------------------------------------------------------
// Window frame: one virtual window corner-to-corner is painted per state and
// cut into the four border images, so the pieces meet without seams. The
// outer edge of the rounded corners is a hard cut (those pixels leave the
// window region), the inner edge of the outline is antialiased against the
// caption and body colours.

void Builder::WindowFrame() {
  const int bl = d_.side_border, br = d_.side_border, bb = d_.bottom_border;
  const int ch = d_.caption_height, r = d_.corner_radius, rb = d_.bottom_radius;
  const int cap = std::max(r, rb) + 2;  // corner part of the top and bottom images
  const int tw = 2 * cap + 8;
  const int vw = bl + tw + br, vh = ch + 8 + bb;

  std::array<Canvas, 2> win;
  for (int state = 0; state < 2; ++state) {
    const bool active = state == 0;
    Canvas c(vw, vh, active ? p_.outline : p_.outline_inactive);
    const double ri = std::max(r - 1, 0), rbi = std::max(rb - 1, 0);
    const Shape inner = RoundRect4(1, 1, vw - 1, vh - 1, ri, ri, rbi, rbi);
    c.FillRows(inner, [&](int y) { return y < ch ? Caption(active, y) : p_.face; });
    // A faint highlight along the top edge of the caption, following the curve.
    const Shape lower = RoundRect4(1, 2, vw - 1, vh, ri, ri, rbi, rbi);
    c.Fill(Subtract(inner, lower), Shade(Caption(active, 1), active ? 0.10 : 0.45));
    c.CutOutsideHard(RoundRect4(0, 0, vw, vh, r, r, rb, rb));
    win[state] = std::move(c);
  }

  const bool bottom_trans = d_.all_borders_trans;
  const int side_bot = std::max(bb, rb);
  const auto side = [&](const std::string& name, int x, int w) {
    const std::string file =
        Add(name, Canvas::Join({win[0].Crop(x, 0, w, vh), win[1].Crop(x, 0, w, vh)}), 2, false,
            "Personality " + name);
    const std::string key = name == "left" ? "Left" : "Right";
    Key(key, file);
    Key(key + "Frame", 2);
    Key(key + "TopHeight", ch);
    Key(key + "BotHeight", side_bot);
    Key(key + "Stretch", d_.tiled_centres ? 0 : 1);
    Key(key + "Trans", 1);
  };
  Section("Personality");
  side("left", 0, bl);
  side("right", vw - br, br);

  const std::string top =
      Add("top", Canvas::Join({win[0].Crop(bl, 0, tw, ch), win[1].Crop(bl, 0, tw, ch)}, true), 2,
          true, "Personality Top");
  Key("Top", top);
  Key("TopFrame", 2);
  Key("TopTopHeight", cap);
  Key("TopBotHeight", cap);
  Key("TopStretch", 1);
  Key("TopTrans", 1);

  const std::string bottom =
      Add("bottom",
          Canvas::Join({win[0].Crop(bl, vh - bb, tw, bb), win[1].Crop(bl, vh - bb, tw, bb)}, true),
          2, true, "Personality Bottom");
  Key("Bottom", bottom);
  Key("BottomFrame", 2);
  Key("BottomTopHeight", cap);
  Key("BottomBotHeight", cap);
  Key("BottomStretch", d_.tiled_centres ? 0 : 1);
  Key("BottomTrans", bottom_trans ? 1 : 0);
}

// Caption text: left aligned after the window icon. The text background is
// a soft capsule a shade lighter than the caption behind the title of the
// active window (transparent around it, so the caption shows through); the
// inactive frame is fully transparent.
void Builder::TitleText() {
  const int ch = d_.caption_height;
  const int caps = 10, w = 2 * caps + 4;
  const int pill = std::min(ch - 8, 20), top = (ch - pill) / 2;
  std::array<Canvas, 2> frames;
  for (int state = 0; state < 2; ++state) {
    const bool active = state == 0;
    Canvas c(w, ch);
    for (int y = 0; y < ch; ++y)
      c.HLine(0, w, y, Caption(active, y));
    const Shape capsule = RoundRect(0, top, w, top + pill, pill / 2.0);
    if (active) c.FillRows(capsule, [&](int y) { return Shade(Caption(true, y), 0.06); });
    c.CutOutside(active ? capsule : Rect(0, 0, 0, 0));
    frames[state] = std::move(c);
  }
  const std::string file =
      Add("textback", Canvas::Join({frames[0], frames[1]}, true), 2, true, "Personality TextBack");
  const int right_buttons = d_.side_border + 4 + 4 * d_.caption_button_width + 3 * 2 + 8;
  Key("TextBack", file);
  Key("TXTBackleft", caps);
  Key("TXTBackRight", caps);
  Key("Textbackground", 1);
  Key("TextShift", 28);
  Key("TextShiftVert", 0);
  Key("TextRightClip", right_buttons + 6 - d_.side_border);
  Key("TextAlignment", 0);
  Key("ActiveTextR", static_cast<int>(p_.caption_text.r));
  Key("ActiveTextG", static_cast<int>(p_.caption_text.g));
  Key("ActiveTextB", static_cast<int>(p_.caption_text.b));
  Key("InActiveTextR", static_cast<int>(p_.caption_text_inactive.r));
  Key("InActiveTextG", static_cast<int>(p_.caption_text_inactive.g));
  Key("InActiveTextB", static_cast<int>(p_.caption_text_inactive.b));
}

// Menu bar band: uniform rows (the band is stretched to the system menu
// height), active and inactive frames stacked.
void Builder::MenuBar() {
  const int h = 20, w = 16;
  Canvas active(w, h, p_.menubar), inactive(w, h, Mix(p_.menubar, p_.face, 0.6));
  const std::string file =
      Add("menubar", Canvas::Join({active, inactive}, true), 2, true, "Personality menuBar");
  Key("menuBar", file);
  Key("TileMenu", 0);
  Key("TileLeftMenu", 1);
  Key("TileRightMenu", 1);
}

// ---------------------------------------------------------------------------
// Title-bar buttons. Glyph numbers: 0 close, 1 maximize, 2 restore,
// 3 minimize, 4 "more" (three dots), 5 pin (ring).

Shape Builder::CaptionGlyph(int glyph, double cx, double cy, double size) const {
  const double h = size / 2;
  switch (glyph) {
    case 0:
      return Union(Stroke({{cx - h + 0.5, cy - h + 0.5}, {cx + h - 0.5, cy + h - 0.5}}, 1.35),
                   Stroke({{cx - h + 0.5, cy + h - 0.5}, {cx + h - 0.5, cy - h + 0.5}}, 1.35));
    case 1:
      return RectOutline(cx - h, cy - h, cx + h, cy + h);
    case 2: {
      const Shape front = RectOutline(cx - h, cy - h + 2, cx + h - 2, cy + h);
      const Shape back = Subtract(RectOutline(cx - h + 2, cy - h, cx + h, cy + h - 2),
                                  Rect(cx - h, cy - h + 2, cx + h - 2, cy + h));
      return Union(front, back);
    }
    case 3:
      return Rect(cx - h, cy, cx + h, cy + 1);
    case 4:
      return Union(Union(Circle(cx - 3.5, cy + 0.5, 1.2), Circle(cx + 0.5, cy + 0.5, 1.2)),
                   Circle(cx + 4.5, cy + 0.5, 1.2));
    default:
      return Subtract(Circle(cx + 0.5, cy + 0.5, h - 0.5), Circle(cx + 0.5, cy + 0.5, h - 2));
  }
}

// state: 1 normal, 2 pressed, 3 hot, 4 inactive window. y0 is the row of the
// caption where the button sits, so that antialiased pixels blend with the
// caption gradient exactly where they will be shown.
Canvas Builder::CaptionButtonFrame(int glyph, int state, int y0) const {
  const int w = d_.caption_button_width, h = d_.caption_button_height;
  const bool active = state != 4;
  Canvas c(w, h);
  for (int y = 0; y < h; ++y)
    c.HLine(0, w, y, Caption(active, y0 + y));
  const Shape bg = RoundRect(0, 0, w, h, 4);
  const Shape g = CaptionGlyph(glyph, w / 2, h / 2, 10);
  const bool close = glyph == 0;
  if (state == 2 || state == 3) {
    c.FillRows(bg, [&](int y) {
      if (close) return state == 3 ? p_.close_hot : p_.close_pressed;
      return Shade(Caption(true, y0 + y), state == 3 ? 0.16 : -0.35);
    });
    c.Fill(g, close ? kWhite : p_.caption_text);
  } else {
    c.Fill(g, active ? p_.caption_text : p_.caption_text_inactive, active ? 0.9 : 1.0);
  }
  // Opaque on purpose: a hovered button is repainted straight over its
  // previous state, so every frame carries the caption behind it.
  return c;
}

void Builder::CaptionButtons() {
  const int bw = d_.caption_button_width, bh = d_.caption_button_height;
  const int y0 = (d_.caption_height - bh) / 2;
  const int close_x = d_.side_border + 4 + bw;
  const int max_x = close_x + bw + 2, min_x = max_x + bw + 2, more_x = min_x + bw + 8;

  auto image = [&](const std::string& name, int glyph) {
    std::vector<Canvas> frames;
    for (int state = 1; state <= 4; ++state)
      frames.push_back(CaptionButtonFrame(glyph, state, y0));
    return Add(name, Canvas::Join(frames), 4, false, "Button." + name + " ButtonImage");
  };
  auto button = [&](const std::string& section, const std::string& file, int action, int align,
                    int x, int y, int visibility, int visibility1, int frames) {
    Section(section);
    Key("ButtonImage", file);
    Key("Action", action);
    Key("Align", align);
    Key("Xcoord", x);
    Key("Ycoord", y);
    Key("Visibility", visibility);
    if (visibility1 >= 0) Key("Visibility1", visibility1);
    if (frames > 0) Key("frame", frames);
  };

  const std::string close = image("close", 0), max = image("maximize", 1),
                    restore = image("restore", 2), min = image("minimize", 3),
                    more = image("more", 4);
  button("Button.Close", close, 0, 1, close_x, y0, 0, -1, 4);
  button("Button.Maximize", max, 1, 1, max_x, y0, 2, 6, 4);
  button("Button.Restore", restore, 1, 1, max_x, y0, 1, 6, 4);
  button("Button.Minimize", min, 2, 1, min_x, y0, 8, 8, 4);

  // The system-menu button shows the window icon: its image key names no
  // bitmap unless the test skin supplies one explicitly (kept thanks to frame=1).
  const int icon_y = (d_.caption_height - 16) / 2;
  if (d_.explicit_icon_image) {
    Canvas icon(16, 16);
    for (int y = 0; y < 16; ++y)
      icon.HLine(0, 16, y, Caption(true, icon_y + y));
    icon.Fill(RoundRect(1, 1, 15, 15, 3), p_.accent);
    icon.Fill(RoundRect(4, 4, 12, 12, 1), kWhite);
    icon.CutOutside(RoundRect(1, 1, 15, 15, 3));
    const std::string file = Add("icon", icon, 1, false, "Button.SysMenu ButtonImage");
    button("Button.SysMenu", file, 3, 0, d_.side_border + 6, icon_y, 0, -1, 1);
  } else {
    button("Button.SysMenu", "windowicon", 3, 0, d_.side_border + 6, icon_y, 0, -1, 0);
  }

  if (d_.align_after_caption)
    button("Button.More", more, 40, 3, 4, y0, 201, -1, 4);
  else
    button("Button.More", more, 40, 1, more_x, y0, 201, -1, 4);

  if (d_.push_section) {
    std::vector<Canvas> frames;
    for (int state = 1; state <= 3; ++state)
      frames.push_back(CaptionButtonFrame(5, state, y0));
    const std::string pin = Add("pin", Canvas::Join(frames), 3, false, "Button.Push ButtonImage");
    button("Button.Push", pin, 41, 1, more_x, y0, 201, -1, 3);
  }
  if (d_.decoration_button) {
    // Kept: Action -1 with Visibility 0 (a decoration, drawn but never hit).
    Canvas dot(6, 6);
    const int dy = (d_.caption_height - 6) / 2;
    for (int y = 0; y < 6; ++y)
      dot.HLine(0, 6, y, Caption(true, dy + y));
    dot.Fill(Circle(3, 3, 2.5), Mix(p_.accent, kWhite, 0.3));
    dot.CutOutside(Circle(3, 3, 2.5));
    const std::string file = Add("dot", dot, 1, false, "Button.Mark ButtonImage");
    button("Button.Mark", file, -1, 2, 2, dy, 0, -1, 1);
    // Dropped by the loader: Action -1 without a Visibility key.
    Section("Button.Dropped");
    Key("ButtonImage", file);
    Key("Action", -1);
  }
}

// MDI child buttons on the menu bar: minimize, restore, close, each in four
// states (normal, pressed, hot, hot).
void Builder::MdiButtons() {
  const int w = 16, h = 14;
  std::vector<Canvas> frames;
  for (int glyph : {3, 2, 0}) {
    for (int state = 1; state <= 4; ++state) {
      Canvas c(w, h, p_.menubar);
      if (state >= 2) {
        Box(c, 0, 0, w, h, 3, state == 2 ? p_.accent : p_.border,
            Flat(state == 2 ? p_.accent_pressed : Mix(p_.menubar, kWhite, 0.7)));
      }
      const Shape g = CaptionGlyph(glyph, w / 2, h / 2 - (glyph == 3 ? -2 : 0), 8);
      c.Fill(g, p_.text);  // opaque, like the caption buttons
      frames.push_back(std::move(c));
    }
  }
  const std::string file = Add("mdi", Canvas::Join(frames), 12, false, "MDICONTROLS Image");
  Section("MDICONTROLS");
  Key("Image", file);
}

void Builder::Colours() {
  Section("Colours");
  Key("WindowText", ColourText(p_.text));
  Key("ButtonFace", ColourText(p_.face));
  Key("Scrollbar", ColourText(p_.track));
  Key("HilightText", ColourText(kWhite));
  Key("Hilight", ColourText(p_.accent));
  Key("Menubar", ColourText(p_.menubar));
  Key("Menu", ColourText(p_.menu));
  Key("MenuText", ColourText(p_.text));
  Key("ButtonText", ColourText(p_.text));
  Key("ButtonHilight", ColourText(p_.menubar_hot_frame));
  Key("Buttonlight", ColourText(kWhite));
  Key("ButtonShadow", ColourText(p_.shadow));
  Key("ButtonDkShadow", ColourText(p_.dk_shadow));
  Key("MenuBarText", ColourText(p_.menubar_text));
  Key("TitleTextActive", ColourText(p_.caption_text));
  Key("TitleTextNoActive", ColourText(p_.caption_text_inactive));
}

// ---------------------------------------------------------------------------
// Controls.

void Builder::PushButtons() {
  const int w = 32, h = 24;
  struct Look {
    Rgb border, top, bottom, ring;
    bool has_ring;
  };
  const Look looks[5] = {
      {p_.border, kWhite, Mix(p_.face, kWhite, 0.45), {}, false},  // normal
      {p_.accent_dark, p_.accent_pressed, Mix(p_.accent_pressed, kWhite, 0.3), {}, false},
      {p_.border_disabled, p_.field_disabled, p_.field_disabled, {}, false},     // disabled
      {p_.accent, Mix(p_.accent_soft, kWhite, 0.5), p_.accent_soft, {}, false},  // hot/focus
      {p_.accent, kWhite, Mix(p_.face, kWhite, 0.45), p_.accent_ring, true},     // default
  };
  std::vector<Canvas> frames;
  for (const Look& look : looks) {
    Canvas c(w, h, p_.face);
    const Shape outer = RoundRect(0, 0, w, h, 4);
    c.Fill(outer, look.border);
    if (look.has_ring) {
      c.Fill(RoundRect(1, 1, w - 1, h - 1, 3), look.ring);
      c.FillRows(RoundRect(2, 2, w - 2, h - 2, 2), Gradient(look.top, look.bottom, h));
    } else {
      c.FillRows(RoundRect(1, 1, w - 1, h - 1, 3), Gradient(look.top, look.bottom, h));
    }
    c.CutOutside(outer);
    frames.push_back(std::move(c));
  }
  const std::string file = Add("button", Canvas::Join(frames), 5, false, "Buttons Bitmap");
  std::string check, radio;
  int check_frames = 0, radio_frames = 0;
  CheckAndRadio(check, radio, check_frames, radio_frames);

  Section("Buttons");
  Key("Bitmap", file);
  Margins(5, 5, 5, 5);
  Key("Trans", 1);
  Key("Tile", d_.tiled_centres ? 2 : 0);  // 2 stays 2 here (no limit on Tile)
  Key("CheckButton", check);
  Key("RadioButton", radio);
  if (check_frames) Key("CheckButtonFrame", check_frames);
  if (radio_frames) Key("RadioButtonFrame", radio_frames);
  Key("NormalColour2", ColourText(p_.text));
  Key("MouseOverColour2", ColourText(Mix(p_.accent_dark, p_.text, 0.35)));
  Key("PressedColour2", ColourText(Mix(p_.accent_dark, p_.text, 0.6)));
}

// Check and radio boxes: 13 x 13 (16 x 16 in the test skin). Looks, by
// index: unchecked normal/hot/pressed/disabled, checked ..., mixed ...
void Builder::CheckAndRadio(std::string& check_file, std::string& radio_file, int& check_frames,
                            int& radio_frames) {
  const int s = d_.twelve_frame_check ? 16 : 13;
  const double k = s / 13.0;
  enum Mark { kNone, kCheck, kMixed, kDot };
  auto box = [&](bool round, Mark mark, int look /*0 normal,1 hot,2 pressed,3 disabled*/) {
    Canvas c(s, s, p_.face);
    const Shape outer = round ? Circle(s / 2.0, s / 2.0, s / 2.0) : RoundRect(0, 0, s, s, 2.5 * k);
    const Shape inner = Inset(outer, 1);
    const bool disabled = look == 3;
    const bool filled = !round && mark != kNone;
    Rgb border = disabled ? p_.border_disabled : look == 0 ? p_.shadow : p_.accent;
    Rgb fill = disabled    ? p_.field_disabled
               : look == 1 ? p_.accent_soft
               : look == 2 ? p_.accent_pressed
                           : p_.field;
    if (filled) {
      border = disabled ? Mix(p_.shadow, p_.face, 0.45) : look == 2 ? p_.accent_dark : p_.accent;
      fill = disabled    ? Mix(p_.shadow, p_.face, 0.45)
             : look == 1 ? Shade(p_.accent, 0.12)
             : look == 2 ? p_.accent_dark
                         : p_.accent;
    }
    if (round && mark != kNone && !disabled) border = p_.accent;
    c.Fill(outer, border);
    c.Fill(inner, fill);
    const Rgb ink = filled ? kWhite : disabled ? Mix(p_.shadow, p_.face, 0.3) : p_.accent;
    if (mark == kCheck)
      c.Fill(Stroke({{3.3 * k, 6.9 * k}, {5.6 * k, 9.2 * k}, {9.9 * k, 3.9 * k}}, 1.7 * k), ink);
    else if (mark == kMixed)
      c.Fill(RoundRect(3.5 * k, 5.5 * k, 9.5 * k, 7.5 * k, 0.5), ink);
    else if (mark == kDot)
      c.Fill(Circle(s / 2.0, s / 2.0, 2.6 * k), ink);
    c.CutOutside(outer);
    return c;
  };

  std::vector<Canvas> checks, radios;
  if (d_.twelve_frame_check) {
    for (Mark m : {kNone, kCheck, kMixed})
      for (int look = 0; look < 4; ++look)
        checks.push_back(box(false, m, look));
    for (Mark m : {kNone, kDot})
      for (int look = 0; look < 4; ++look)
        radios.push_back(box(true, m, look));
    check_frames = 12;  // given; the radio count (8) is left to the loader to derive
    radio_frames = 0;
  } else {
    // 1 unchecked, 2 checked, 3 unchecked disabled, 4 checked disabled (also
    // the indeterminate state), 5 indeterminate.
    checks = {box(false, kNone, 0), box(false, kCheck, 0), box(false, kNone, 3),
              box(false, kCheck, 3), box(false, kMixed, 0)};
    radios = {box(true, kNone, 0), box(true, kDot, 0), box(true, kNone, 3), box(true, kDot, 3),
              box(true, kNone, 1)};
    check_frames = radio_frames = 0;  // derived by the loader from the 13-pixel height
  }
  check_file = Add("check", Canvas::Join(checks), static_cast<int>(checks.size()), false,
                   "Buttons CheckButton");
  radio_file = Add("radio", Canvas::Join(radios), static_cast<int>(radios.size()), false,
                   "Buttons RadioButton");
}

void Builder::Progress() {
  const int w = 20, h = 14;
  auto trough = [&] {
    Canvas c(w, h, p_.face);
    Box(c, 0, 0, w, h - 1, 3.5, p_.border, Flat(Mix(p_.track, p_.field, 0.3)));
    c.CutOutside(RoundRect(0, 0, w, h - 1, 3.5));
    return c;
  };
  // The bar is one row shorter than its image: the painter copies its work
  // bitmap one row short of the control, so the last row stays transparent.
  Canvas fill(w, h, p_.face);
  Box(fill, 0, 0, w, h - 1, 3.5, p_.accent_dark,
      Gradient(Mix(p_.accent, kWhite, 0.2), p_.accent, h - 1));
  fill.CutOutside(RoundRect(0, 0, w, h - 1, 3.5));

  const int cw = 8, chh = h - 6;
  Canvas chunk(cw, chh, Mix(p_.track, p_.field, 0.3));
  chunk.FillRect(0, 0, cw - 2, chh, p_.accent);

  const bool chunks = d_.chunked_progress;
  const std::string file =
      chunks ? Add("progress", trough(), 1, false, "Progress Bitmap")
             : Add("progress", Canvas::Join({trough(), fill}), 2, false, "Progress Bitmap");
  const std::string chunk_file = Add("chunk", chunk, 1, false, "Progress Chunk");
  Section("Progress");
  Key("Bitmap", file);
  Key("Chunk", chunk_file);
  Key("Style", chunks ? 1 : 0);
  Margins(4, 4, 4, 5);
  Key("Trans", 1);
  Key("Tile", 0);
}

void Builder::GroupBoxes() {
  std::vector<Canvas> edges;
  for (Rgb line : {p_.shadow, p_.border_disabled}) {
    Canvas c(16, 16, p_.face);
    c.Fill(Subtract(RoundRect(0, 0, 16, 16, 3), RoundRect(1, 1, 15, 15, 2)), line);
    c.MakeTransparent(4, 4, 12, 12);
    c.CutOutside(RoundRect(0, 0, 16, 16, 3));
    edges.push_back(std::move(c));
  }
  Section("GroupBoxEdge");
  Key("Image", Add("groupedge", Canvas::Join(edges), 2, false, "GroupBoxEdge Image"));
  Margins(4, 4, 4, 4);
  Key("Trans", 1);
  Key("Tile", 0);

  Canvas label(16, 16, p_.face);
  Section("GroupBox");
  Key("Image", Add("grouplabel", label, 1, false, "GroupBox Image"));
  Margins(4, 0, 4, 0);
  Key("BackgroundAlignment", 0);
  Key("BackgroundLeftShift", 4);
  Key("BackgroundRightShift", 4);
}

void Builder::Toolbars() {
  const int s = 22;
  std::vector<Canvas> frames;
  for (int state = 1; state <= 5; ++state) {
    Canvas c(s, s, p_.face);
    const Shape outer = RoundRect(0, 0, s, s, 3);
    if (state == 1 || state == 3) {
      c.MakeTransparent(0, 0, s, s);
    } else {
      const Rgb border = state == 4 ? p_.accent_ring : p_.accent;
      const Rgb fill = state == 4 ? p_.accent_soft : p_.accent_pressed;
      Box(c, 0, 0, s, s, 3, border, Flat(fill));
      c.CutOutside(outer);
    }
    frames.push_back(std::move(c));
  }
  Section("Toolbars");
  Key("Image", Add("toolbar", Canvas::Join(frames), 5, false, "Toolbars Image"));
  Margins(4, 4, 4, 4);
  Key("Trans", 1);
  Key("Tile", d_.tiled_centres ? 2 : 0);  // 2 in an image section reads as 0
}

// Tabs: 1 other tab, 2 the focused tab (joins the page), 3 disabled, 4 hot,
// 5 as 2. The "Border" image frames the page (its bands are opaque).
void Builder::Tabs() {
  const int w = 24, h = 24;
  std::vector<Canvas> frames;
  for (int state = 1; state <= 5; ++state) {
    const bool current = state == 2 || state == 5;
    Canvas c(w, h, p_.face);
    const Shape outer = RoundRect4(0, 0, w, h + 4, 4, 4, 0, 0);
    const Rgb fill = current      ? p_.face
                     : state == 4 ? Mix(p_.accent_soft, p_.face, 0.3)
                     : state == 3 ? Mix(p_.face, p_.track, 0.3)
                                  : Mix(p_.track, p_.hairline, 0.35);
    c.Fill(outer, p_.hairline);
    c.FillRows(RoundRect4(1, 1, w - 1, h + 4, 3, 3, 0, 0), Flat(fill));
    if (current) c.Fill(RoundRect4(1, 1, w - 1, 3, 3, 3, 0, 0), p_.accent);
    if (!current) c.HLine(0, w, h - 1, p_.hairline);
    c.CutOutside(outer);
    frames.push_back(std::move(c));
  }
  Canvas border(16, 16, p_.face);
  border.Fill(RectOutline(0, 0, 16, 16), p_.hairline);
  Section("Tabs");
  Key("Image", Add("tabs", Canvas::Join(frames), 5, false, "Tabs Image"));
  Key("Border", Add("tabborder", border, 1, false, "Tabs Border"));
  Margins(5, 5, 5, 2);
  Key("Trans", 1);
  Key("Tile", 0);
  Key("NormalColour2", ColourText(p_.text_soft));
  Key("MouseOverColour2", ColourText(p_.text));
}

// Status bar panels: 1 lowered, 2 raised, 3 no bevel. A hairline on top
// separates the bar from the window body.
void Builder::StatusBar() {
  const int s = 12;
  const Rgb bar = Mix(p_.face, p_.track, 0.5);
  std::vector<Canvas> frames;
  for (int state = 1; state <= 3; ++state) {
    Canvas c(s, s, state == 2 ? Mix(bar, kWhite, 0.4) : bar);
    c.HLine(0, s, 0, p_.hairline);
    if (state == 2) c.HLine(0, s, 1, kWhite);
    frames.push_back(std::move(c));
  }
  Section("StatusBarEdges");
  Key("Image", Add("statusbar", Canvas::Join(frames), 3, false, "StatusBarEdges Image"));
  Margins(2, 2, 2, 2);
  Key("Trans", 0);
  Key("Tile", d_.tiled_centres ? 1 : 0);
  Key("NormalColour2", ColourText(p_.text_soft));
}

// Combo box: the sunken field (4 frames), the drop-down button (4 frames,
// mostly transparent) and the arrow glyphs (ExtraImages 1 to 4, plus the
// size grip as frame 5). The loader composes them into one image.
void Builder::Combo() {
  const int bw = d_.combo_button_width, bh = 21;
  const Rgb interiors[4] = {p_.field, p_.field, p_.field_disabled, p_.field};
  const Rgb button_fill[4] = {p_.field, p_.accent_pressed, p_.field_disabled, p_.accent_soft};
  const Rgb edges[4] = {p_.shadow, p_.accent, p_.border_disabled, p_.accent};

  std::vector<Canvas> sunk;
  for (int f = 0; f < 4; ++f) {
    Canvas c(12, 12, p_.face);
    Box(c, 0, 0, 12, 12, 3, edges[f], Flat(interiors[f]));
    c.CutOutside(RoundRect(0, 0, 12, 12, 3));
    sunk.push_back(std::move(c));
  }
  Section("SunkEdge");
  Key("Image", Add("sunkedge", Canvas::Join(sunk), 4, false, "SunkEdge Image"));
  Margins(3, 3, 3, 3);
  Key("Trans", 1);
  Key("Tile", 0);

  std::vector<Canvas> buttons;
  for (int f = 0; f < 4; ++f) {
    Canvas c(bw, bh, interiors[f]);
    c.MakeTransparent(0, 0, bw, bh);
    if (f == 1 || f == 3) {
      const Shape fill = RoundRect(1, 2, bw - 2, bh - 2, 2);
      c.Fill(fill, button_fill[f]);
      c.CutOutside(fill);
      c.MakeTransparent(0, 0, 1, bh);
    }
    c.VLine(0, 4, bh - 4, f == 2 ? p_.border_disabled : p_.hairline);
    buttons.push_back(std::move(c));
  }
  Section("ComboButton");
  Key("Image", Add("combobutton", Canvas::Join(buttons), 4, false, "ComboButton Image"));
  Margins(0, 0, 0, 0);
  Key("Trans", 1);
  Key("Tile", 0);

  const int g = 12;
  const Rgb ink[4] = {p_.text_soft, p_.text, p_.border, p_.accent};
  std::vector<Canvas> extras;
  for (int f = 0; f < 4; ++f) {
    Canvas c(g, g, button_fill[f]);
    const Shape chevron = Stroke({{3.0, 4.8}, {6.0, 7.8}, {9.0, 4.8}}, 1.5);
    c.Fill(chevron, ink[f]);
    c.CutOutside(chevron);
    extras.push_back(std::move(c));
  }
  Canvas grip(g, g, Mix(p_.face, p_.track, 0.5));
  grip.MakeTransparent(0, 0, g, g);
  for (auto [x, y] :
       std::initializer_list<std::pair<int, int>>{{9, 9}, {9, 6}, {6, 9}, {9, 3}, {6, 6}, {3, 9}})
    grip.FillRect(x, y, x + 2, y + 2, p_.shadow);
  extras.push_back(std::move(grip));
  Section("ExtraImages");
  Key("Image", Add("extra", Canvas::Join(extras), 5, false, "ExtraImages Image"));
  Key("Trans", 1);
}

void Builder::Header() {
  const int w = 12, h = 20;
  std::vector<Canvas> frames;
  for (int state = 1; state <= 5; ++state) {
    Canvas c(w, h);
    const Rgb top = state == 2 ? p_.accent_pressed : state == 4 ? p_.accent_soft : kWhite;
    const Rgb bottom = state == 2 ? p_.accent_pressed : Mix(p_.face, kWhite, 0.2);
    c.VGradient(0, 0, w, h, top, bottom);
    c.HLine(0, w, h - 1, p_.hairline);
    c.VLine(w - 1, 3, h - 4, p_.hairline);
    frames.push_back(std::move(c));
  }
  Section("Headerbar");
  Key("Image", Add("header", Canvas::Join(frames), 5, false, "Headerbar Image"));
  Margins(2, 2, 2, 2);
  Key("Trans", 0);
  Key("Tile", 0);
}

// Popup menus: the background with its 3-pixel frame, and the item image:
// 1 normal (transparent), 2 separator, 3 disabled, 4 selected, 5 as 1.
void Builder::Menus() {
  Canvas back(16, 16, p_.menu);
  back.Fill(RectOutline(0, 0, 16, 16), p_.menu_border);
  Section("MenuBackground");
  Key("Image", Add("menuback", back, 1, false, "MenuBackground Image"));
  Margins(3, 3, 3, 3);
  Key("Trans", 0);
  Key("Tile", d_.tiled_centres ? 1 : 0);

  const int w = 24, h = 20;
  std::vector<Canvas> frames;
  for (int state = 1; state <= 5; ++state) {
    Canvas c(w, h, p_.menu);
    c.MakeTransparent(0, 0, w, h);
    if (state == 2) {
      c.HLine(4, w - 4, h - 5, p_.hairline);
    } else if (state == 4 || state == 3) {
      const Shape sel = RoundRect(2, 1, w - 2, h - 1, 3);
      c.Fill(sel, state == 4 ? p_.accent : Mix(p_.menu, p_.track, 0.7));
      c.CutOutside(sel);
    }
    frames.push_back(std::move(c));
  }
  Section("MenuItem");
  Key("Image", Add("menuitem", Canvas::Join(frames), 5, false, "MenuItem Image"));
  Margins(5, 4, 5, 4);
  Key("Trans", 1);
  Key("Tile", 0);
}

// Scroll bars: 23 arrow frames (left 1-4, right 5-8, up 9-12, down 13-16,
// each normal, pressed, hot, disabled; 17-23 plain track squares), the two
// tracks (1 enabled, 3 disabled) and the thumbs (1 normal, 2 pressed, 3 hot).
void Builder::ScrollBars() {
  const int a = d_.scroll_size;
  const double m = a / 2.0;
  std::vector<Canvas> arrows;
  const PointF dirs[4][3] = {
      {{m + 1.5, m - 3.5}, {m - 2.0, m}, {m + 1.5, m + 3.5}},  // left
      {{m - 1.5, m - 3.5}, {m + 2.0, m}, {m - 1.5, m + 3.5}},  // right
      {{m - 3.5, m + 1.5}, {m, m - 2.0}, {m + 3.5, m + 1.5}},  // up
      {{m - 3.5, m - 1.5}, {m, m + 2.0}, {m + 3.5, m - 1.5}},  // down
  };
  for (const auto& dir : dirs) {
    for (int state = 1; state <= 4; ++state) {
      const Rgb bg = state == 2   ? Mix(p_.track, p_.thumb, 0.6)
                     : state == 3 ? Mix(p_.track, p_.thumb, 0.3)
                     : state == 4 ? p_.track_disabled
                                  : p_.track;
      Canvas c(a, a, bg);
      const Rgb ink = state == 4 ? p_.border_disabled : state == 2 ? p_.text : p_.arrow;
      c.Fill(Stroke({dir[0], dir[1], dir[2]}, 1.6), ink);
      arrows.push_back(std::move(c));
    }
  }
  while (arrows.size() < 23)
    arrows.emplace_back(a, a, p_.track);
  Section("Scrollbar");
  Key("Image", Add("scrollarrows", Canvas::Join(arrows), 23, false, "Scrollbar Image"));
  Key("Trans", 1);

  for (bool vertical : {false, true}) {
    std::vector<Canvas> tracks;
    for (int state = 1; state <= 4; ++state)
      tracks.emplace_back(a, a, state == 3 ? p_.track_disabled : p_.track);
    const std::string name = vertical ? "VertScroll" : "HorzScroll";
    Section(name);
    Key("Image",
        Add(vertical ? "vscroll" : "hscroll", Canvas::Join(tracks), 4, false, name + " Image"));
    Margins(0, 0, 0, 0);
    Key("Trans", 0);
    Key("Tile", d_.tiled_centres ? 1 : 0);
  }

  const int len = 24;
  for (bool vertical : {false, true}) {
    std::vector<Canvas> thumbs;
    for (Rgb colour : {p_.thumb, p_.thumb_pressed, p_.thumb_hot}) {
      Canvas c(vertical ? a : len, vertical ? len : a, p_.track);
      const Shape pill = vertical ? RoundRect(4, 1, a - 4, len - 1, (a - 8) / 2.0)
                                  : RoundRect(1, 4, len - 1, a - 4, (a - 8) / 2.0);
      c.Fill(pill, colour);
      c.CutOutside(pill);
      thumbs.push_back(std::move(c));
    }
    const std::string name = vertical ? "VertScrollThumb" : "HorzScrollThumb";
    Section(name);
    Key("Image",
        Add(vertical ? "vthumb" : "hthumb", Canvas::Join(thumbs), 3, false, name + " Image"));
    if (vertical)
      Margins(0, 6, 0, 6);
    else
      Margins(6, 0, 6, 0);
    Key("Trans", 1);
    Key("Tile", 0);
    Key("FrameCount", 3);
  }
}

// Track-bar thumbs (frame 2 is the one shown): a plain rounded block for
// both orientations, and four pointed variants.
void Builder::TrackBar() {
  struct Kind {
    const char* section;
    const char* file;
    int w, h, point;  // point: -1 none, 0 left, 1 right, 2 up, 3 down
  };
  const Kind kinds[6] = {{"Trackbar.ThumbHorz", "trackhorz", 11, 20, -1},
                         {"Trackbar.ThumbVert", "trackvert", 20, 11, -1},
                         {"Trackbar.ThumbLeft", "trackleft", 20, 11, 0},
                         {"Trackbar.ThumbRight", "trackright", 20, 11, 1},
                         {"Trackbar.ThumbUp", "trackup", 11, 20, 2},
                         {"Trackbar.ThumbDown", "trackdown", 11, 20, 3}};
  for (const Kind& k : kinds) {
    const double w = k.w, h = k.h, t = 5.5;
    Shape shape = RoundRect(0, 0, w, h, 3);
    switch (k.point) {
      case 0:
        shape = Polygon({{0, h / 2}, {t, 0}, {w, 0}, {w, h}, {t, h}});
        break;
      case 1:
        shape = Polygon({{0, 0}, {w - t, 0}, {w, h / 2}, {w - t, h}, {0, h}});
        break;
      case 2:
        shape = Polygon({{w / 2, 0}, {w, t}, {w, h}, {0, h}, {0, t}});
        break;
      case 3:
        shape = Polygon({{0, 0}, {w, 0}, {w, h - t}, {w / 2, h}, {0, h - t}});
        break;
      default:
        break;
    }
    std::vector<Canvas> frames;
    for (int state = 1; state <= 5; ++state) {
      const Rgb fill = state == 3   ? p_.border_disabled
                       : state == 4 ? Shade(p_.accent, 0.15)
                       : state == 5 ? p_.accent_dark
                                    : p_.accent;
      Canvas c(k.w, k.h, p_.face);
      c.Fill(shape, state == 3 ? p_.border : p_.accent_dark);
      c.Fill(Inset(shape, 1), fill);
      c.CutOutside(shape);
      frames.push_back(std::move(c));
    }
    Section(k.section);
    Key("Image", Add(k.file, Canvas::Join(frames), 5, false, std::string(k.section) + " Image"));
    Key("Trans", 1);
  }
}

// Up-down buttons: 8 frames (first direction normal, pressed, disabled, hot;
// then the second direction) and a strip of 8 matching chevrons.
void Builder::UpDown() {
  for (bool horizontal : {false, true}) {
    const int w = horizontal ? 11 : 16, h = horizontal ? 16 : 11;
    const int gw = horizontal ? 5 : 9, gh = horizontal ? 9 : 5;
    const Rgb fills[4] = {Mix(p_.face, kWhite, 0.5), p_.accent_pressed, p_.field_disabled,
                          p_.accent_soft};
    const Rgb inks[4] = {p_.text_soft, p_.text, p_.border, p_.accent};
    std::vector<Canvas> frames, glyphs;
    for (int dir = 0; dir < 2; ++dir) {
      for (int state = 0; state < 4; ++state) {
        Canvas c(w, h, fills[state]);
        if (horizontal)
          c.VLine(dir == 0 ? w - 1 : 0, 0, h, p_.hairline);
        else
          c.HLine(0, w, dir == 0 ? h - 1 : 0, p_.hairline);
        c.VLine(0, 0, h, p_.hairline);
        frames.push_back(std::move(c));

        Canvas g(gw, gh, fills[state]);
        std::vector<PointF> pts;
        if (horizontal)
          pts = dir == 0 ? std::vector<PointF>{{3.5, 1}, {1.2, 4.5}, {3.5, 8}}
                         : std::vector<PointF>{{1.5, 1}, {3.8, 4.5}, {1.5, 8}};
        else
          pts = dir == 0 ? std::vector<PointF>{{1, 3.5}, {4.5, 1.2}, {8, 3.5}}
                         : std::vector<PointF>{{1, 1.5}, {4.5, 3.8}, {8, 1.5}};
        const Shape chevron = Stroke(pts, 1.4);
        g.Fill(chevron, inks[state]);
        g.CutOutside(chevron);
        glyphs.push_back(std::move(g));
      }
    }
    const std::string section = horizontal ? "UpDown.Horz" : "UpDown.Vert";
    Section(section);
    Key("Image", Add(horizontal ? "updownh" : "updownv", Canvas::Join(frames), 8, false,
                     section + " Image"));
    Key("GlyphImage", Add(horizontal ? "updownhglyph" : "updownvglyph", Canvas::Join(glyphs), 8,
                          false, section + " GlyphImage"));
    Margins(0, 0, 0, 0);
    Key("Trans", 1);
    Key("Tile", 0);
  }
}

GeneratedSkin Builder::Build() {
  ini_ << "; " << d_.name << ": generated by skingen, do not edit by hand.\n";
  Section("TitlebarSkin");
  Key("SkinName", d_.name);
  Section("Fonts");
  Key("FontHeight", d_.font_height);
  WindowFrame();
  TitleText();
  MenuBar();
  Colours();
  CaptionButtons();
  MdiButtons();
  PushButtons();
  Progress();
  GroupBoxes();
  Toolbars();
  Tabs();
  StatusBar();
  Combo();
  Header();
  Menus();
  ScrollBars();
  TrackBar();
  UpDown();
  skin_.ini_file = d_.file_prefix + "skin.ini";
  skin_.ini = ini_.str();
  return std::move(skin_);
}

}  // namespace

const SkinImage* GeneratedSkin::Find(const std::string& file) const {
  for (const SkinImage& image : images)
    if (image.file == file) return &image;
  return nullptr;
}

GeneratedSkin BuildSkin(const SkinDesign& design) {
  return Builder(design).Build();
}

}  // namespace skingen
