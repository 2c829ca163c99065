#include "tools/skingen/preview.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>

#define STB_TRUETYPE_IMPLEMENTATION
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wunused-parameter"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wunused-function"
#endif
#include <stb/stb_truetype.h>
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

namespace skingen {

namespace {

constexpr Rgb kDesktop{118, 132, 148};
constexpr Rgb kSheetBack{250, 250, 250};

// Text for the pictures, from the DejaVu Sans font when the machine has it
// (the skin itself contains no text; without the font the labels are left out).
class Font {
 public:
  explicit Font(const char* path) {
    std::ifstream in(path, std::ios::binary);
    data_.assign(std::istreambuf_iterator<char>(in), {});
    ok_ = !data_.empty() && stbtt_InitFont(&info_, data_.data(), 0) != 0;
  }

  int Width(const std::string& text, double px) const {
    if (!ok_) return static_cast<int>(text.size() * px / 2);
    const float scale = stbtt_ScaleForPixelHeight(&info_, static_cast<float>(px));
    double x = 0;
    for (int cp : Decode(text)) {
      int advance, lsb;
      stbtt_GetCodepointHMetrics(&info_, cp, &advance, &lsb);
      x += advance * scale;
    }
    return static_cast<int>(x + 0.5);
  }

  // Draws text with its top at y (line height px); '&' underlines the next letter.
  void Draw(Canvas& c, int x0, int y0, const std::string& text, double px, Rgb colour) const {
    if (!ok_) return;
    const float scale = stbtt_ScaleForPixelHeight(&info_, static_cast<float>(px));
    int ascent, descent, gap;
    stbtt_GetFontVMetrics(&info_, &ascent, &descent, &gap);
    const int baseline = y0 + static_cast<int>(ascent * scale + 0.5);
    double x = x0;
    bool underline = false;
    for (int cp : Decode(text)) {
      if (cp == '&') {
        underline = true;
        continue;
      }
      int advance, lsb, bx0, by0, bx1, by1;
      stbtt_GetCodepointHMetrics(&info_, cp, &advance, &lsb);
      const float shift = static_cast<float>(x - static_cast<int>(x));
      stbtt_GetCodepointBitmapBoxSubpixel(&info_, cp, scale, scale, shift, 0, &bx0, &by0, &bx1,
                                          &by1);
      const int gw = bx1 - bx0, gh = by1 - by0;
      if (gw > 0 && gh > 0) {
        std::vector<unsigned char> bitmap(static_cast<size_t>(gw) * gh);
        stbtt_MakeCodepointBitmapSubpixel(&info_, bitmap.data(), gw, gh, gw, scale, scale, shift, 0,
                                          cp);
        for (int y = 0; y < gh; ++y)
          for (int xx = 0; xx < gw; ++xx)
            c.Blend(static_cast<int>(x) + bx0 + xx, baseline + by0 + y, colour,
                    bitmap[static_cast<size_t>(y) * gw + xx] / 255.0);
      }
      if (underline) {
        c.HLine(static_cast<int>(x), static_cast<int>(x + advance * scale), baseline + 2, colour);
        underline = false;
      }
      x += advance * scale;
    }
  }

 private:
  static std::vector<int> Decode(const std::string& s) {
    std::vector<int> out;
    for (size_t i = 0; i < s.size(); ++i) {
      const unsigned char b = static_cast<unsigned char>(s[i]);
      if (b >= 0xC0 && i + 1 < s.size()) {
        out.push_back(((b & 0x1F) << 6) | (static_cast<unsigned char>(s[i + 1]) & 0x3F));
        ++i;
      } else {
        out.push_back(b);
      }
    }
    return out;
  }

  std::vector<unsigned char> data_;
  stbtt_fontinfo info_{};
  bool ok_ = false;
};

const Font& UiFont() {
  static const Font font("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");
  return font;
}

// A minimal reading of the generated description: section -> key -> value,
// names compared in lower case.
class Ini {
 public:
  explicit Ini(const std::string& text) {
    std::istringstream in(text);
    std::string line, section;
    while (std::getline(in, line)) {
      if (line.empty() || line[0] == ';') continue;
      if (line[0] == '[') {
        section = Lower(line.substr(1, line.find(']') - 1));
        order_.push_back(section);
        continue;
      }
      const size_t eq = line.find('=');
      if (eq != std::string::npos)
        values_[section][Lower(line.substr(0, eq))] = line.substr(eq + 1);
    }
  }
  std::string Str(const std::string& section, const std::string& key) const {
    const auto s = values_.find(Lower(section));
    if (s == values_.end()) return {};
    const auto k = s->second.find(Lower(key));
    return k == s->second.end() ? std::string() : k->second;
  }
  int Int(const std::string& section, const std::string& key, int fallback = 0) const {
    const std::string v = Str(section, key);
    return v.empty() ? fallback : std::stoi(v);
  }
  Rgb Colour(const std::string& key) const {
    std::istringstream in(Str("Colours", key));
    int r = 0, g = 0, b = 0;
    in >> r >> g >> b;
    return {static_cast<uint8_t>(r), static_cast<uint8_t>(g), static_cast<uint8_t>(b)};
  }
  const std::vector<std::string>& Sections() const { return order_; }

 private:
  static std::string Lower(std::string s) {
    for (char& ch : s)
      ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    return s;
  }
  std::map<std::string, std::map<std::string, std::string>> values_;
  std::vector<std::string> order_;
};

struct Element {
  const Canvas* image = nullptr;
  int frames = 1;
  bool vertical = false;
  int l = 0, t = 0, r = 0, b = 0;
  bool trans = false;
  bool tile = false;
};

// Copies src[sx, sx+sw) x [sy, sy+sh) stretched to dst rectangle, dropping
// rows and columns like the colour-on-colour stretch mode.
void Stretch(Canvas& dst, int dx, int dy, int dw, int dh, const Canvas& src, int sx, int sy, int sw,
             int sh) {
  if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return;
  for (int y = 0; y < dh; ++y)
    for (int x = 0; x < dw; ++x)
      dst.Blit(src, sx + x * sw / dw, sy + y * sh / dh, 1, 1, dx + x, dy + y);
}

// Nine-slice scaling of one frame, as the element painters do it.
Canvas BuildImage(const Element& e, int frame, int w, int h) {
  Canvas out(w, h);
  if (!e.image || w <= 0 || h <= 0) return out;
  const int fw = e.vertical ? e.image->width() : e.image->width() / e.frames;
  const int fh = e.vertical ? e.image->height() / e.frames : e.image->height();
  const int ox = e.vertical ? 0 : fw * (frame - 1), oy = e.vertical ? fh * (frame - 1) : 0;
  int l = e.l, r = e.r, t = e.t, b = e.b;
  if (w < l + r) l = r = 0;
  if (h < t + b) t = b = 0;
  auto piece = [&](int sx, int sy, int sw, int sh, int dx, int dy, int dw, int dh) {
    Stretch(out, dx, dy, dw, dh, *e.image, ox + sx, oy + sy, sw, sh);
  };
  piece(0, 0, l, t, 0, 0, l, t);
  piece(0, fh - b, l, b, 0, h - b, l, b);
  piece(fw - r, 0, r, t, w - r, 0, r, t);
  piece(0, t, l, fh - t - b, 0, t, l, h - t - b);
  piece(l, 0, fw - l - r, t, l, 0, w - l - r, t);
  if (e.tile) {
    const int tw = fw - l - r, th = fh - t - b;
    for (int y = t; tw > 0 && th > 0 && y < h - b; y += th)
      for (int x = l; x < w - r; x += tw)
        out.Blit(*e.image, ox + l, oy + t, tw, th, x, y);
  } else {
    piece(l, t, fw - l - r, fh - t - b, l, t, w - l - r, h - t - b);
  }
  piece(fw - r, fh - b, r, b, w - r, h - b, r, b);
  piece(fw - r, t, r, fh - t - b, w - r, t, r, h - t - b);
  piece(l, fh - b, fw - l - r, b, l, h - b, w - l - r, b);
  return out;
}

// Paints src at (x, y); with trans, magenta pixels leave the target alone.
void Paint(Canvas& dst, int x, int y, const Canvas& src, bool trans) {
  for (int yy = 0; yy < src.height(); ++yy)
    for (int xx = 0; xx < src.width(); ++xx) {
      if (trans && src.Transparent(xx, yy)) continue;
      dst.Set(x + xx, y + yy, src.Exported(xx, yy));
    }
}

// Left cap, middle repeated at its own width, right cap; each stretched to h.
Canvas ThreePart(const Element& e, int frame, int w, int h) {
  Canvas out(w, h);
  const int fw = e.image->width(), fh = e.image->height() / e.frames, oy = fh * (frame - 1);
  const int mw = fw - e.l - e.r;
  Stretch(out, 0, 0, e.l, h, *e.image, 0, oy, e.l, fh);
  for (int x = e.l; mw > 0 && x < w - e.r; x += mw)
    Stretch(out, x, 0, mw, h, *e.image, e.l, oy, mw, fh);
  Stretch(out, w - e.r, 0, e.r, h, *e.image, fw - e.r, oy, e.r, fh);
  return out;
}

// The window region: magenta pixels of the frame images fall outside it.
void CutRegion(const Canvas& window, Canvas& out, int x0, int y0) {
  for (int y = 0; y < window.height(); ++y)
    for (int x = 0; x < window.width(); ++x)
      if (window.At(x, y) != kMagenta) out.Set(x0 + x, y0 + y, window.At(x, y));
}

Canvas FrameOf(const Canvas& image, int frames, int frame) {
  const int fw = image.width() / frames;
  return image.Crop(fw * (frame - 1), 0, fw, image.height());
}

class Mock {
 public:
  explicit Mock(const GeneratedSkin& skin) : skin_(skin), ini_(skin.ini) {}

  Element Get(const std::string& section, const std::string& key = "Image", int frames = 1) const {
    Element e;
    const SkinImage* image = skin_.Find(ini_.Str(section, key));
    if (!image) return e;
    e.image = &image->image;
    e.frames = frames;
    e.vertical = image->vertical;
    e.l = ini_.Int(section, "LeftWidth");
    e.t = ini_.Int(section, "TopHeight");
    e.r = ini_.Int(section, "RightWidth");
    e.b = ini_.Int(section, "BottomHeight");
    e.trans = ini_.Int(section, "Trans") != 0;
    e.tile = ini_.Int(section, "Tile") == 1;
    return e;
  }

  void Element9(Canvas& c, const Element& e, int frame, int x, int y, int w, int h) const {
    if (e.image) Paint(c, x, y, BuildImage(e, frame, w, h), e.trans);
  }
  void Glyph(Canvas& c, const Element& e, int frame, int x, int y, int w, int h) const {
    if (!e.image) return;
    const Canvas g = FrameOf(*e.image, e.frames, frame);
    Paint(c, x + (w - g.width()) / 2, y + (h - g.height()) / 2, g, true);
  }
  void Text(Canvas& c, int x, int y, int h, const std::string& text, Rgb colour,
            bool centre_w = false, int w = 0) const {
    const double px = 13;
    const int tw = UiFont().Width(text, px);
    const int tx = centre_w ? x + (w - tw) / 2 : x;
    UiFont().Draw(c, tx, y + (h - 15) / 2, text, px, colour);
  }

  void Window(Canvas& c, int x0, int y0, int w, int h, bool active, bool full) const;
  void PopupMenu(Canvas& c, int x0, int y0) const;
  void ButtonStrip(Canvas& c, int x0, int y0) const;

 private:
  const GeneratedSkin& skin_;
  Ini ini_;
};

void Mock::Window(Canvas& out, int x0, int y0, int w, int h, bool active, bool full) const {
  Canvas c(w, h, ini_.Colour("ButtonFace"));
  const int frame = active ? 1 : 2;
  Element left = Get("Personality", "Left", 2), right = Get("Personality", "Right", 2);
  Element top = Get("Personality", "Top", 2), bottom = Get("Personality", "Bottom", 2);
  left.t = ini_.Int("Personality", "LeftTopHeight");
  left.b = ini_.Int("Personality", "LeftBotHeight");
  right.t = ini_.Int("Personality", "RightTopHeight");
  right.b = ini_.Int("Personality", "RightBotHeight");
  top.l = ini_.Int("Personality", "TopTopHeight");
  top.r = ini_.Int("Personality", "TopBotHeight");
  bottom.l = ini_.Int("Personality", "BottomTopHeight");
  bottom.r = ini_.Int("Personality", "BottomBotHeight");
  left.tile = right.tile = top.tile = bottom.tile = false;
  const int bl = left.image->width() / 2, br = right.image->width() / 2;
  const int bt = top.image->height() / 2, bb = bottom.image->height() / 2;
  const int mh = full ? 19 : 0;
  Paint(c, 0, 0, BuildImage(left, frame, bl, h), false);
  Paint(c, w - br, 0, BuildImage(right, frame, br, h), false);
  Paint(c, bl, h - bb, BuildImage(bottom, frame, w - bl - br, bb), false);
  Paint(c, bl, 0, BuildImage(top, frame, w - bl - br, bt), false);

  // Caption text with its text background.
  const std::string title = full ? "  Atualiza E-mails de Clientes " : "  Informação ";
  const int tbl = ini_.Int("Personality", "TXTBackleft"),
            tbr = ini_.Int("Personality", "TXTBackRight");
  const int tw = UiFont().Width(title, 13) + tbl + tbr;
  const int tx = bl + ini_.Int("Personality", "TextShift");
  Element back = Get("Personality", "TextBack", 2);
  back.l = tbl;
  back.r = tbr;
  if (back.image) Paint(c, tx, 0, ThreePart(back, frame, tw, bt), true);
  const Rgb title_colour =
      active ? ini_.Colour("TitleTextActive") : ini_.Colour("TitleTextNoActive");
  Text(c, tx + tbl, 0, bt, title, title_colour);

  // Title-bar buttons, in the normal frame (or the inactive one).
  for (const std::string& section : ini_.Sections()) {
    if (section.rfind("button.", 0) != 0) continue;
    const int action = ini_.Int(section, "Action");
    const int visibility = ini_.Int(section, "Visibility");
    if (visibility == 1 || action < 0) continue;  // restore: window not maximized
    const int align = ini_.Int(section, "Align");
    const int bx = align == 1   ? w - ini_.Int(section, "Xcoord")
                   : align == 3 ? tx + tw + ini_.Int(section, "Xcoord")
                                : ini_.Int(section, "Xcoord");
    const int by = ini_.Int(section, "Ycoord");
    const SkinImage* image = skin_.Find(ini_.Str(section, "ButtonImage"));
    if (action == 3 && (!image || ini_.Int(section, "frame") == 0)) {
      // The window icon: a small envelope drawn here for the picture.
      c.Fill(RoundRect(bx, by + 2, bx + 16, by + 14, 2), Rgb{236, 196, 84});
      c.Fill(Stroke({{bx + 1.5, by + 3.5}, {bx + 8.0, by + 9.0}, {bx + 14.5, by + 3.5}}, 1.2),
             Rgb{150, 110, 30});
      continue;
    }
    if (!image) continue;
    const int frames = ini_.Int(section, "frame", 3);
    const int f = (active || frames < 4) ? 1 : 4;
    Paint(c, bx, by, FrameOf(image->image, frames, f), true);
  }

  if (full) {
    // Menu bar with a hot item.
    Element bar = Get("Personality", "menuBar", 2);
    bar.l = ini_.Int("Personality", "TileLeftMenu", 1);
    bar.r = ini_.Int("Personality", "TileRightMenu", 1);
    Paint(c, bl, bt, ThreePart(bar, frame, w - bl - br, mh), false);
    int mx = bl + bar.l + 4;
    for (const char* item : {"&Arquivo", "&Editar", "A&juda"}) {
      const int iw = UiFont().Width(item, 13) - UiFont().Width("&", 13) + 10;
      if (std::string(item) == "&Editar" && active)
        c.Fill(RectOutline(mx, bt, mx + iw, bt + mh - 1), ini_.Colour("ButtonHilight"));
      Text(c, mx, bt, mh - 1, item, ini_.Colour("MenuBarText"), true, iw);
      mx += iw;
    }
  }

  // Client area.
  const int cx = bl, cy = bt + mh, cw = w - bl - br;
  const Rgb text = ini_.Colour("ButtonText");
  if (!full) {
    Text(c, cx + 16, cy + 14, 18, "Atualização concluída: 118 clientes.", text);
    const Element buttons = Get("Buttons", "Bitmap", 5);
    Element9(c, buttons, 5, cx + cw - 100, h - bb - 38, 84, 25);
    Text(c, cx + cw - 100, h - bb - 38, 25, "OK", text, true, 84);
    CutRegion(c, out, x0, y0);
    return;
  }

  Text(c, cx + 14, cy + 10, 18, "Banco de dados:", text);
  // Edit: two-colour border as the edit painter draws it, disabled look.
  const int ex = cx + 120, ey = cy + 9, ew = cw - 120 - 110;
  c.FillRect(ex, ey, ex + ew, ey + 21, ini_.Colour("ButtonShadow"));
  c.FillRect(ex + 1, ey + 1, ex + ew - 1, ey + 20, Rgb{255, 255, 255});
  Text(c, ex + 5, ey, 21, "C:\\Vortana\\Dados\\VORTANA.FDB", Rgb{110, 116, 124});
  const Element buttons = Get("Buttons", "Bitmap", 5);
  const std::string captions[5] = {"&Abrir", "Pressionado", "Desativado", "Em foco", "&Efetuar"};
  const int frames_order[5] = {1, 2, 3, 4, 5};
  const Rgb button_text[5] = {ini_.Colour("ButtonText"), text, ini_.Colour("ButtonShadow"), text,
                              text};
  Element9(c, buttons, 1, ex + ew + 10, ey - 2, 84, 25);
  Text(c, ex + ew + 10, ey - 2, 25, "&Abrir", text, true, 84);
  for (int i = 1; i < 5; ++i) {
    const int bx = cx + 14 + (i - 1) * 100, by = cy + 44;
    Element9(c, buttons, frames_order[i], bx, by, 92, 25);
    Text(c, bx, by, 25, captions[i], button_text[i], true, 92);
  }

  // Check boxes and radio buttons.
  const SkinImage* check = skin_.Find(ini_.Str("Buttons", "CheckButton"));
  const SkinImage* radio = skin_.Find(ini_.Str("Buttons", "RadioButton"));
  const int cf = ini_.Int("Buttons", "CheckButtonFrame", check->image.width() / 13);
  const int rf = ini_.Int("Buttons", "RadioButtonFrame",
                          radio->image.width() / (radio->image.height() < 16 ? 13 : 16));
  const bool twelve = cf == 12;
  const std::pair<int, const char*> checks[4] = {{1, "Ignorar vazios"},
                                                 {twelve ? 5 : 2, "Somente ativos"},
                                                 {twelve ? 4 : 3, "Desativado"},
                                                 {twelve ? 8 : 4, "Marcado, desativado"}};
  for (int i = 0; i < 4; ++i) {
    const int bx = cx + 14 + (i % 2) * 170, by = cy + 80 + (i / 2) * 22;
    const Canvas box = FrameOf(check->image, cf, checks[i].first);
    Paint(c, bx, by + (18 - box.height()) / 2, box, true);
    Text(c, bx + box.width() + 6, by, 18, checks[i].second,
         i >= 2 ? ini_.Colour("ButtonShadow") : text);
  }
  const std::pair<int, const char*> radios[2] = {{1, "Planilha"}, {rf == 8 ? 5 : 2, "Arquivo CSV"}};
  for (int i = 0; i < 2; ++i) {
    const int bx = cx + 354, by = cy + 80 + i * 22;
    const Canvas box = FrameOf(radio->image, rf, radios[i].first);
    Paint(c, bx, by + (18 - box.height()) / 2, box, true);
    Text(c, bx + box.width() + 6, by, 18, radios[i].second, text);
  }

  // Combo box from the composite the loader builds.
  const int bw = 19;
  const Element sunk = Get("SunkEdge", "Image", 4);
  const Element combo_button = Get("ComboButton", "Image", 4);
  const Element extra = Get("ExtraImages", "Image", 5);
  Text(c, cx + 14, cy + 128, 21, "Planilha:", text);
  for (int state = 0; state < 2; ++state) {
    const int f = state == 0 ? 1 : 4;
    Canvas work(50, 21);
    work.MakeTransparent(0, 0, 50, 21);
    Element9(work, sunk, f, 0, 0, 50, 21);
    Element9(work, combo_button, f, 50 - bw, 0, bw, 21);
    Glyph(work, extra, f, 50 - bw, 0, bw, 21);
    work.MakeTransparent(2, 2, 49 - bw, 18);
    Element composite;
    composite.image = &work;
    composite.l = 2;
    composite.r = bw + 2;
    composite.t = sunk.t;
    composite.b = sunk.b;
    composite.trans = true;
    const int bx = cx + 120 + state * 190, by = cy + 128;
    c.FillRect(bx, by, bx + 180, by + 21, Rgb{255, 255, 255});
    Text(c, bx + 5, by, 21, state == 0 ? "Clientes 2024" : "Em foco", text);
    Element9(c, composite, 1, bx, by, 180, 21);
  }

  // Progress bar at 60 %.
  const Element progress = Get("Progress", "Bitmap", 2);
  const int px = cx + 14, py = cy + 162, pw = cw - 28 - 160;
  if (ini_.Int("Progress", "Style") == 1) {
    Element trough = progress;
    trough.frames = 1;
    Element9(c, trough, 1, px, py, pw, 17);
    const SkinImage* chunk = skin_.Find(ini_.Str("Progress", "Chunk"));
    for (int x = 0; x + chunk->image.width() <= pw * 6 / 10; x += chunk->image.width())
      Paint(c, px + progress.l + x, py + (17 - chunk->image.height()) / 2, chunk->image, false);
  } else {
    Element9(c, progress, 1, px, py, pw, 17);
    Paint(c, px, py, BuildImage(progress, 2, pw * 6 / 10, 17), true);
  }

  // Track bar with its thumb (frame 2).
  const int tx0 = px + pw + 14, tyy = py - 2;
  c.FillRect(tx0, tyy + 9, tx0 + 130, tyy + 12, ini_.Colour("ButtonShadow"));
  const Element thumb = Get("Trackbar.ThumbHorz", "Image", 5);
  Element9(c, thumb, 2, tx0 + 80, tyy, 11, 20);

  // Tabs over a page, with a header and a list with a vertical scroll bar.
  const Element tabs = Get("Tabs", "Image", 5);
  const int gx = cx + 14, gy = cy + 196;
  const char* tab_names[3] = {"Clientes", "Resumo", "Erros"};
  int tabx = gx + 2;
  for (int i = 0; i < 3; ++i) {
    const int twd = UiFont().Width(tab_names[i], 13) + 20;
    const int f = i == 0 ? 2 : 1;
    Element9(c, tabs, f, tabx, gy + (i == 0 ? 0 : 2), twd, i == 0 ? 24 : 22);
    Text(c, tabx, gy + (i == 0 ? 2 : 3), 20, tab_names[i], ini_.Colour("ButtonText"), true, twd);
    tabx += twd;
  }
  const Element border = Get("Tabs", "Border");
  const int page_w = cw - 28, page_h = h - bb - 24 - (gy + 23) - 8;
  Element border_el = border;
  border_el.l = 4;
  border_el.t = 5;
  border_el.r = 4;
  border_el.b = 4;
  {
    Canvas page = BuildImage(border_el, 1, page_w, page_h);
    for (int y = 5; y < page_h - 4; ++y)
      for (int x = 4; x < page_w - 4; ++x)
        page.Set(x, y, ini_.Colour("ButtonFace"));
    Paint(c, gx, gy + 23, page, false);
  }
  // Repaint the current tab over the page edge so it joins the page.
  Element9(c, tabs, 2, gx + 2, gy, UiFont().Width(tab_names[0], 13) + 20, 24);
  Text(c, gx + 2, gy + 2, 20, tab_names[0], text, true, UiFont().Width(tab_names[0], 13) + 20);

  const int lx = gx + 10, ly = gy + 34, lw = page_w - 20, lh = page_h - 20;
  c.FillRect(lx, ly, lx + lw, ly + lh, ini_.Colour("ButtonShadow"));
  c.FillRect(lx + 1, ly + 1, lx + lw - 1, ly + lh - 1, Rgb{255, 255, 255});
  const Element header = Get("Headerbar", "Image", 5);
  const int a = 17;
  Element9(c, header, 1, lx + 1, ly + 1, 90, 20);
  Element9(c, header, 1, lx + 91, ly + 1, lw - 2 - a - 90, 20);
  Text(c, lx + 5, ly + 1, 20, "Código", text);
  Text(c, lx + 95, ly + 1, 20, "E-mail", text);
  const char* rows[4] = {"00000118", "00000231", "00000307", "00000415"};
  const char* mails[4] = {"contato@padaria.com.br", "financeiro@oficina.com",
                          "ana.souza@clinica.med.br", "compras@mercado.com.br"};
  for (int i = 0; i < 4 && ly + 22 + (i + 1) * 18 < ly + lh; ++i) {
    const int ry = ly + 22 + i * 18;
    const bool sel = i == 1;
    if (sel) c.FillRect(lx + 1, ry, lx + lw - 1 - a, ry + 18, ini_.Colour("Hilight"));
    const Rgb rc = sel ? ini_.Colour("HilightText") : ini_.Colour("WindowText");
    Text(c, lx + 5, ry, 18, rows[i], rc);
    Text(c, lx + 95, ry, 18, mails[i], rc);
  }
  // Vertical scroll bar at the list's right edge.
  const int sx = lx + lw - 1 - a, sy = ly + 1, sh = lh - 2;
  const Element arrows = Get("Scrollbar", "Image", 23);
  const Element track = Get("VertScroll", "Image", 4);
  const Element vthumb = Get("VertScrollThumb", "Image", 3);
  Element9(c, track, 1, sx, sy + a, a, sh - 2 * a);
  Paint(c, sx, sy, FrameOf(*arrows.image, 23, 9), true);
  Paint(c, sx, sy + sh - a, FrameOf(*arrows.image, 23, 13), true);
  Element9(c, vthumb, 1, sx, sy + a + 6, a, std::max(sh - 2 * a - 30, 20));

  // Status bar with the size grip.
  const Element status = Get("StatusBarEdges", "Image", 3);
  const int sby = h - bb - 22;
  Element9(c, status, 1, cx, sby, cw, 22);
  Text(c, cx + 6, sby + 1, 21, "Processando Registro 37 de 118", ini_.Colour("ButtonText"));
  const Canvas grip = FrameOf(*extra.image, 5, 5);
  Paint(c, cx + cw - 1 - grip.width(), sby + 22 - 1 - grip.height(), grip, true);

  CutRegion(c, out, x0, y0);
}

void Mock::PopupMenu(Canvas& out, int x0, int y0) const {
  const Element back = Get("MenuBackground");
  const Element item = Get("MenuItem", "Image", 5);
  const int w = 190, ih = 20;
  const char* items[5] = {" Restaurar ", " Maximizar ", " Minimizar ", "-", " Fechar "};
  const int h = 6 + 4 * ih + 8;
  Canvas c = BuildImage(back, 1, w, h);
  int y = 3;
  for (int i = 0; i < 5; ++i) {
    const bool sep = std::string(items[i]) == "-";
    const int rh = sep ? 8 : ih;
    if (sep) {
      // Separator: frame 2 rows ending at the bottom of the image.
      const Canvas f2 = FrameOf(*item.image, 5, 2);
      Canvas s(w - 6, rh);
      Stretch(s, 0, 0, w - 6, rh, f2, 0, f2.height() - rh, f2.width(), rh);
      Paint(c, 3, y, s, true);
    } else {
      const bool selected = i == 1;
      Paint(c, 3, y, BuildImage(item, selected ? 4 : 1, w - 6, rh), true);
      const Rgb colour = i == 0     ? ini_.Colour("ButtonShadow")
                         : selected ? ini_.Colour("HilightText")
                                    : ini_.Colour("MenuText");
      Text(c, 3 + 1 + item.l + 16 + 3, y, rh, items[i], colour);
      if (i == 4) {
        const int sw = UiFont().Width("Shift+F4", 13);
        Text(c, w - 3 - 11 - sw, y, rh, "Shift+F4", colour);
      }
    }
    y += rh;
  }
  out.Blit(c, 0, 0, w, h, x0, y0);
}

// Title-bar buttons in every frame, on the caption band, twice the size.
void Mock::ButtonStrip(Canvas& out, int x0, int y0) const {
  int y = y0;
  for (const std::string& section : ini_.Sections()) {
    if (section.rfind("button.", 0) != 0) continue;
    const SkinImage* image = skin_.Find(ini_.Str(section, "ButtonImage"));
    const int frames = ini_.Int(section, "frame", 3);
    if (!image || frames < 3 || ini_.Int(section, "Action") < 0) continue;
    for (int f = 1; f <= frames; ++f) {
      const Canvas fr = FrameOf(image->image, frames, f);
      const int by = ini_.Int(section, "Ycoord");
      Element top = Get("Personality", "Top", 2);
      const Canvas band = BuildImage(top, f == 4 ? 2 : 1, fr.width() + 8, top.image->height() / 2)
                              .Crop(0, by, fr.width() + 8, fr.height() + 0);
      Canvas cell(fr.width() + 8, fr.height());
      Paint(cell, 0, 0, band, false);
      Paint(cell, 4, 0, fr, true);
      Stretch(out, x0 + (f - 1) * (2 * cell.width() + 6), y, 2 * cell.width(), 2 * cell.height(),
              cell, 0, 0, cell.width(), cell.height());
    }
    y += 2 * image->image.height() + 6;
  }
}

}  // namespace

Canvas ContactSheet(const GeneratedSkin& skin, const std::string& title) {
  const int width = 1280, pad = 12, zoom = 3, label = 16;
  // Flow layout: measure first, then paint.
  struct Place {
    const SkinImage* image;
    int x, y, zoom;
  };
  std::vector<Place> places;
  int x = pad, y = pad + 28, row_h = 0;
  for (const SkinImage& image : skin.images) {
    int z = zoom;
    while (z > 1 && image.image.width() * z > width - 2 * pad)
      --z;
    const int w = std::max(image.image.width() * z, UiFont().Width(image.label, 12));
    const int h = image.image.height() * z + label;
    if (x + w > width - pad) {
      x = pad;
      y += row_h + pad;
      row_h = 0;
    }
    places.push_back({&image, x, y, z});
    x += w + 2 * pad;
    row_h = std::max(row_h, h);
  }
  Canvas sheet(width, y + row_h + pad, kSheetBack);
  UiFont().Draw(sheet, pad, pad, title, 18, Rgb{30, 30, 30});
  for (const Place& p : places) {
    UiFont().Draw(sheet, p.x, p.y, p.image->label + "  (" + std::to_string(p.image->frames) + ")",
                  12, Rgb{70, 70, 70});
    const Canvas& img = p.image->image;
    for (int yy = 0; yy < img.height() * p.zoom; ++yy)
      for (int xx = 0; xx < img.width() * p.zoom; ++xx)
        sheet.Set(p.x + xx, p.y + label + yy, img.Exported(xx / p.zoom, yy / p.zoom));
    // Frame boundaries as thin ticks below the image.
    const int fw = p.image->vertical ? img.width() : img.width() / p.image->frames;
    if (!p.image->vertical)
      for (int f = 1; f < p.image->frames; ++f)
        sheet.VLine(p.x + f * fw * p.zoom, p.y + label + img.height() * p.zoom,
                    p.y + label + img.height() * p.zoom + 4, Rgb{0, 160, 0});
  }
  return sheet;
}

Canvas MockWindows(const GeneratedSkin& skin) {
  Mock mock(skin);
  Canvas out(1000, 640, kDesktop);
  mock.Window(out, 20, 20, 640, 600, true, true);
  mock.PopupMenu(out, 690, 40);
  mock.Window(out, 680, 220, 300, 130, false, false);
  mock.ButtonStrip(out, 680, 380);
  return out;
}

}  // namespace skingen
