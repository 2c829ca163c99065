#include "tools/skingen/preview.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>

#include "skin/data/skin_data.h"
#include "skin/data/skin_draw.h"
#include "skin/data/skin_package_writer.h"
#include "tools/skingen/image_files.h"
#include "unicode/utf8.h"

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

  // Draws text with its top at y (line height px); '&' underlines the next
  // letter. blend(x, y, alpha) puts one pixel of the text colour.
  template <typename BlendFn>
  void DrawWith(int x0, int y0, const std::string& text, double px, BlendFn blend) const {
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
            blend(static_cast<int>(x) + bx0 + xx, baseline + by0 + y,
                  bitmap[static_cast<size_t>(y) * gw + xx] / 255.0);
      }
      if (underline) {
        for (int ux = static_cast<int>(x); ux < static_cast<int>(x + advance * scale); ++ux)
          blend(ux, baseline + 2, 1.0);
        underline = false;
      }
      x += advance * scale;
    }
  }

  void Draw(Canvas& c, int x0, int y0, const std::string& text, double px, Rgb colour) const {
    DrawWith(x0, y0, text, px, [&](int x, int y, double a) { c.Blend(x, y, colour, a); });
  }

 private:
  static std::vector<int> Decode(const std::string& s) {
    std::vector<int> out;
    for (size_t i = 0; i < s.size();)
      out.push_back(static_cast<int>(unicode::DecodeUtf8(s, i)));
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

// The mock windows are painted with the engine's own pieces: the skin is
// packed, loaded by the skin data component, and every element is cut and
// scaled by the shared drawing routines, the way the frame and control
// painters use them. Only the text (and the window icon) is drawn here.
class ToolHost : public skin::ISkinDataHost {
 public:
  skin::ISkinManager* Manager(bool) override { return nullptr; }
  void ShowMessage(const std::string&) override {}
  void* OwnerWindow() override { return nullptr; }
  int HorzScrollArrowWidth() override { return 17; }
};

using skin::TBitmap;
using skin::TDataSkinObject;
using skin::TRect;

uint32_t Colour(Rgb c) {
  return skin::MakeColour(c.r, c.g, c.b);
}

class Mock {
 public:
  explicit Mock(const GeneratedSkin& skin) : data_(&host_) {
    std::vector<skin::TSkinPackageEntry> entries;
    entries.push_back({skin.ini_file, std::vector<uint8_t>(skin.ini.begin(), skin.ini.end())});
    for (const SkinImage& image : skin.images)
      entries.push_back({image.file, BmpFile(image.image)});
    data_.SkinStream = skin::TMemoryStream(skin::WriteSkinPackage(entries));
    loaded_ = data_.LoadSkin();
  }
  bool loaded() const { return loaded_; }

  void Window(TBitmap& out, int x0, int y0, int w, int h, bool active, bool full) const;
  void PopupMenu(TBitmap& out, int x0, int y0) const;
  void ButtonStrip(TBitmap& out, int x0, int y0) const;

 private:
  static void Text(TBitmap& b, int x, int y, int h, const std::string& text, uint32_t colour,
                   bool centre = false, int w = 0) {
    const int tw = UiFont().Width(text, 13) -
                   (text.find('&') != std::string::npos ? UiFont().Width("&", 13) : 0);
    const int tx = centre ? x + (w - tw) / 2 : x;
    const Rgb c{skin::RedOf(colour), skin::GreenOf(colour), skin::BlueOf(colour)};
    UiFont().DrawWith(tx, y + (h - 15) / 2, text, 13, [&](int px, int py, double a) {
      if (!b.Contains(px, py) || a <= 0) return;
      const uint32_t d = b.Pixel(px, py);
      const Rgb mixed = Mix(Rgb{skin::RedOf(d), skin::GreenOf(d), skin::BlueOf(d)}, c, a);
      b.SetPixel(px, py, Colour(mixed));
    });
  }
  static int TextWidth(const std::string& text) { return UiFont().Width(text, 13); }
  static void Blit(TBitmap& dst, int x, int y, const TBitmap& src, bool trans) {
    for (int yy = 0; yy < src.Height(); ++yy)
      for (int xx = 0; xx < src.Width(); ++xx) {
        const uint32_t c = src.Pixel(xx, yy);
        if ((trans && c == skin::kSkinTransparent) || !dst.Contains(x + xx, y + yy)) continue;
        dst.SetPixel(x + xx, y + yy, c);
      }
  }
  // DrawElement of the control painters: nine-slice, side-by-side frames.
  static void Element(TBitmap& b, const TDataSkinObject* e, int frame, const TRect& r) {
    if (!e || e->Bitmap.Empty()) return;
    skin::DrawSkinElement(b, r, e->Bitmap, false, e->Tile == 1, e->Trans == 1, e->FrameCount, frame,
                          e->Margins);
  }
  static void Icon(TBitmap& b, int x, int y) {
    Canvas icon(16, 16);
    for (int yy = 0; yy < 16; ++yy)
      for (int xx = 0; xx < 16; ++xx) {
        const uint32_t d = b.Contains(x + xx, y + yy) ? b.Pixel(x + xx, y + yy) : 0;
        icon.Set(xx, yy, {skin::RedOf(d), skin::GreenOf(d), skin::BlueOf(d)});
      }
    icon.Fill(RoundRect(0, 2, 16, 14, 2), Rgb{236, 196, 84});
    icon.Fill(Stroke({{1.5, 3.5}, {8.0, 9.0}, {14.5, 3.5}}, 1.2), Rgb{150, 110, 30});
    Blit(b, x, y, ToBitmap(icon), false);
  }

  ToolHost host_;
  skin::TSkinData data_;
  bool loaded_ = false;
};

void Mock::Window(TBitmap& out, int x0, int y0, int w, int h, bool active, bool full) const {
  const skin::TSkinData& d = data_;
  TBitmap win(w, h);
  win.Fill(d.ButtonFaceColour);
  const int frame = active ? 1 : 2;
  const auto& left = *d.Borders[1];
  const auto& right = *d.Borders[2];
  const auto& top = *d.Borders[3];
  const auto& bottom = *d.Borders[4];
  const int bl = left.Bitmap.Width() / left.FrameCount,
            br = right.Bitmap.Width() / right.FrameCount;
  const int bt = top.Bitmap.Height() / top.FrameCount;
  const int bb = bottom.Bitmap.Height() / bottom.FrameCount;
  const int mh = full ? 19 : 0;
  // DrawBorder: frames stacked for top and bottom, tiled unless Stretch is 1.
  auto border = [&](const skin::TDataSkinBorder& e, bool vertical, const TRect& r) {
    Blit(win, r.Left, r.Top,
         skin::BuildSkinImage({0, 0, r.Width(), r.Height()}, e.Bitmap, e.Margins, vertical,
                              e.Tile != 1, e.FrameCount, e.FrameCount > 1 ? frame : 1),
         false);
  };
  border(left, false, {0, 0, bl, h});
  border(right, false, {w - br, 0, w, h});
  border(bottom, true, {bl, h - bb, w - br, h});
  border(top, true, {bl, 0, w - br, bt});

  // Caption text over its text background (left alignment).
  const skin::TDataSkinTitle& title = *d.Title;
  const std::string text =
      std::string("  ") + (full ? "Atualiza E-mails de Clientes" : "Aviso") + " ";
  const int text_w = TextWidth(text) + title.TextBackLeft + title.TextBackRight;
  TRect t{bl + title.Margins.Left, 0, bl + title.Margins.Left + text_w, bt};
  if (t.Right > w - br - title.Margins.Right) t.Right = w - br - title.Margins.Right;
  if (!title.Bitmap.Empty())
    skin::DrawSkinThreePart(win, {t.Left, 0, t.Right, bt}, title.Bitmap, true, true, 2, frame,
                            {title.TextBackLeft, 0, title.TextBackRight, 0});
  Text(win, t.Left + title.TextBackLeft, 0, bt, text,
       active ? d.TitleTextActiveColour : d.TitleTextNoActiveColour);

  // Title-bar buttons that show on a normal (not maximized) window.
  for (const auto& b : d.SysButtons) {
    if (b->Visibility == 1 || b->Visibility == 100) continue;
    if (b->Action == 3 || b->Action == 11) {
      Icon(win, b->XCoord, b->YCoord);  // the window icon, whatever the image
      continue;
    }
    if (b->Bitmap.Empty()) continue;
    const int bw = b->Bitmap.Width() / b->FrameCount, bh = b->Bitmap.Height();
    int x = 0;
    switch (b->Align) {
      case 0:
        x = b->XCoord;
        break;
      case 1:
        x = w - b->XCoord;
        break;
      case 2:
      case 8:
        x = t.Left - bw - b->XCoord;
        break;
      case 3:
      case 9:
        x = t.Right + b->XCoord;
        break;
      default:
        break;
    }
    skin::DrawSkinFrameStretched(win, {x, b->YCoord, x + bw, b->YCoord + bh}, b->Bitmap, true,
                                 b->FrameCount, active || b->FrameCount < 4 ? 1 : 4);
  }

  // Menu bar: three-part background, items with a hot one.
  if (full && d.MenuBar) {
    const TRect band{bl, bt, w - br, bt + mh};
    TBitmap bar(band.Width(), band.Height());
    if (d.MenuBar->Tile == 1)
      skin::DrawSkinElement(bar, {0, 0, bar.Width(), mh}, d.MenuBar->Bitmap, true, false, false, 2,
                            frame, d.MenuBar->Margins);
    else
      skin::DrawSkinThreePart(bar, {0, 0, bar.Width(), mh}, d.MenuBar->Bitmap, true, false, 2,
                              frame, d.MenuBar->Margins);
    Blit(win, band.Left, band.Top, bar, false);
    int mx = band.Left + d.MenuBar->Margins.Left + 4;
    for (const char* item : {"&Arquivo", "&Editar", "A&juda"}) {
      const int iw = TextWidth(item) - TextWidth("&") + 10;
      if (std::string(item) == "&Editar" && active)
        for (int x = mx; x < mx + iw; ++x)
          for (int y : {band.Top, band.Bottom - 2})
            win.SetPixel(x, y, d.ButtonHilightColour);
      if (std::string(item) == "&Editar" && active)
        for (int y = band.Top; y < band.Bottom - 1; ++y)
          for (int x : {mx, mx + iw - 1})
            win.SetPixel(x, y, d.ButtonHilightColour);
      Text(win, mx, band.Top, mh - 1, item, d.MenuBarTextColour, true, iw);
      mx += iw;
    }
  }

  const int cx = bl, cy = bt + mh, cw = w - bl - br;
  const uint32_t text_colour = d.ButtonTextColour;
  if (!full) {
    Text(win, cx + 16, cy + 14, 18, "Atualização concluída: 118 clientes.", d.WindowTextColour);
    Element(win, d.Buttons.get(), 5, {cx + cw - 100, h - bb - 38, cx + cw - 16, h - bb - 13});
    Text(win, cx + cw - 100, h - bb - 38, 25, "OK", text_colour, true, 84);
  } else {
    // Edit box with its two-colour border, and the push buttons in every frame.
    Text(win, cx + 14, cy + 10, 18, "Banco de dados:", text_colour);
    const int ex = cx + 120, ey = cy + 9, ew = cw - 120 - 110;
    win.FillRect({ex, ey, ex + ew, ey + 21}, d.ButtonShadowColour);
    win.FillRect({ex + 1, ey + 1, ex + ew - 1, ey + 20}, 0xFFFFFF);
    Text(win, ex + 5, ey, 21, "C:\\Vortana\\Dados\\VORTANA.FDB", skin::MakeColour(110, 116, 124));
    Element(win, d.Buttons.get(), 1, {ex + ew + 10, ey - 2, ex + ew + 94, ey + 23});
    Text(win, ex + ew + 10, ey - 2, 25, "&Abrir", d.Buttons->NormalColour2, true, 84);
    const char* captions[5] = {"", "Pressionado", "Desativado", "Em foco", "&Efetuar"};
    const uint32_t colours[5] = {0, d.Buttons->PressedColour2, d.ButtonShadowColour,
                                 d.Buttons->MouseOverColour2, text_colour};
    for (int f = 2; f <= 5; ++f) {
      const int bx = cx + 14 + (f - 2) * 100, by = cy + 44;
      Element(win, d.Buttons.get(), f, {bx, by, bx + 92, by + 25});
      Text(win, bx, by, 25, captions[f - 1], colours[f - 1], true, 92);
    }

    // Check boxes and radio buttons (their frame tables).
    const skin::TDataSkinButton& buttons = *d.Buttons;
    const bool twelve = buttons.CheckFrameCount == 12, eight = buttons.RadioFrameCount == 8;
    auto box = [&](const TBitmap& image, int frames, int f, int x, int y) {
      const int bw = image.Width() / frames, bh = image.Height();
      const int top_y = y + (18 - bh) / 2;
      skin::DrawSkinFrameStretched(win, {x, top_y, x + bw, top_y + bh}, image, true, frames, f);
      return bw;
    };
    const std::pair<int, const char*> checks[4] = {{1, "Ignorar vazios"},
                                                   {twelve ? 5 : 2, "Somente ativos"},
                                                   {twelve ? 4 : 3, "Desativado"},
                                                   {twelve ? 8 : 4, "Marcado, desativado"}};
    for (int i = 0; i < 4; ++i) {
      const int bx = cx + 14 + (i % 2) * 170, by = cy + 80 + (i / 2) * 22;
      const int bw = box(buttons.CheckBitmap, buttons.CheckFrameCount, checks[i].first, bx + 1, by);
      Text(win, bx + bw + 7, by, 18, checks[i].second, i >= 2 ? d.ButtonShadowColour : text_colour);
    }
    const std::pair<int, const char*> radios[2] = {{1, "Planilha"}, {eight ? 5 : 2, "Arquivo CSV"}};
    for (int i = 0; i < 2; ++i) {
      const int bx = cx + 354, by = cy + 80 + i * 22;
      const int bw = box(buttons.RadioBitmap, buttons.RadioFrameCount, radios[i].first, bx, by);
      Text(win, bx + bw + 7, by, 18, radios[i].second, text_colour);
    }

    // Combo boxes from the composite the loader builds (normal and focused).
    Text(win, cx + 14, cy + 128, 21, "Planilha:", text_colour);
    for (int state = 0; state < 2; ++state) {
      const int bx = cx + 120 + state * 190, by = cy + 128;
      win.FillRect({bx, by, bx + 180, by + 21}, 0xFFFFFF);
      Text(win, bx + 5, by, 21, state == 0 ? "Clientes 2024" : "Em foco", d.WindowTextColour);
      const auto& combo = *d.ComboButton;
      skin::DrawSkinElement(win, {bx, by, bx + 180, by + 21}, combo.Bitmap, false, false, true,
                            combo.FrameCount, state == 0 ? 1 : 4, combo.Margins);
    }

    // Progress bar at 60 %, and a track bar.
    const auto& progress = *d.Progress;
    const int px = cx + 14, py = cy + 162, pw = cw - 28 - 160;
    if (progress.Style == 1) {
      skin::DrawSkinElement(win, {px, py, px + pw, py + 17}, progress.Bitmap, false, false, true, 1,
                            1, progress.Margins);
      const int chunk = progress.Bitmap2.Width(), filled = pw * 6 / 10;
      for (int x = 0; x + chunk <= filled; x += chunk)
        Blit(win, px + progress.Margins.Left + x, py + (17 - progress.Bitmap2.Height()) / 2,
             progress.Bitmap2, false);
    } else {
      skin::DrawSkinElement(win, {px, py, px + pw, py + 17}, progress.Bitmap, false, false, true, 2,
                            1, progress.Margins);
      skin::DrawSkinElement(win, {px, py, px + pw * 6 / 10, py + 17}, progress.Bitmap, false, false,
                            true, 2, 2, progress.Margins);
    }
    const int tx0 = px + pw + 14;
    win.FillRect({tx0, py + 7, tx0 + 130, py + 10}, d.ButtonShadowColour);
    skin::DrawSkinFrameStretched(win, {tx0 + 80, py - 2, tx0 + 91, py + 18},
                                 d.TrackbarThumbHorz->Bitmap, true, 5, 2);

    // Tabs over a page framed by the tab border, a list with a header and a
    // vertical scroll bar.
    const auto& tabs = *d.Tabs;
    const int gx = cx + 14, gy = cy + 196;
    const int page_w = cw - 28, page_top = gy + 23, page_bottom = h - bb - 30;
    skin::DrawSkinBorderOnly(win, {gx, page_top, gx + page_w, page_bottom}, tabs.Bitmap2, false, 1,
                             1, {4, 5, 4, 4});
    const char* names[3] = {"Clientes", "Resumo", "Erros"};
    int tabx = gx + 2;
    for (int i = 0; i < 3; ++i) {
      const int tw = TextWidth(names[i]) + 20, f = i == 0 ? 2 : 1;
      const TRect r{tabx, gy + (i == 0 ? 0 : 2), tabx + tw, page_top + (i == 0 ? 1 : 0)};
      Element(win, &tabs, f, r);
      Text(win, r.Left, r.Top + 1, 20, names[i],
           f == 2 ? tabs.MouseOverColour2 : tabs.NormalColour2, true, tw);
      tabx += tw;
    }
    const int lx = gx + 10, ly = gy + 34, lw = page_w - 20, lh = page_bottom - ly - 10;
    win.FillRect({lx, ly, lx + lw, ly + lh}, d.ButtonShadowColour);
    win.FillRect({lx + 1, ly + 1, lx + lw - 1, ly + lh - 1}, 0xFFFFFF);
    const int a = 17;
    skin::DrawSkinElement(win, {lx + 1, ly + 1, lx + 91, ly + 21}, d.Headerbar->Bitmap, false,
                          false, false, 5, 1, d.Headerbar->Margins);
    skin::DrawSkinElement(win, {lx + 91, ly + 1, lx + lw - 1 - a, ly + 21}, d.Headerbar->Bitmap,
                          false, false, false, 5, 1, d.Headerbar->Margins);
    Text(win, lx + 5, ly + 1, 20, "Código", text_colour);
    Text(win, lx + 95, ly + 1, 20, "E-mail", text_colour);
    const char* codes[4] = {"00000118", "00000231", "00000307", "00000415"};
    const char* mails[4] = {"contato@padaria.com.br", "financeiro@oficina.com",
                            "ana.souza@clinica.med.br", "compras@mercado.com.br"};
    for (int i = 0; i < 4 && ly + 22 + (i + 1) * 18 < ly + lh; ++i) {
      const int ry = ly + 22 + i * 18;
      const bool sel = i == 1;
      if (sel) win.FillRect({lx + 1, ry, lx + lw - 1 - a, ry + 18}, d.HilightColour);
      const uint32_t rc = sel ? d.HilightTextColour : d.WindowTextColour;
      Text(win, lx + 5, ry, 18, codes[i], rc);
      Text(win, lx + 95, ry, 18, mails[i], rc);
    }
    // The scroll bar overlay: track, arrows (frames 9 and 13), thumb.
    const int sx = lx + lw - 1 - a, sy = ly + 1, sh = lh - 2;
    win.FillRect({sx, sy, sx + a, sy + sh}, d.ButtonFaceColour);
    Element(win, d.VertScroll.get(), 1, {sx, sy + a, sx + a, sy + sh - a});
    skin::DrawSkinFrameStretched(win, {sx, sy, sx + a, sy + a}, d.Scrollbar->Bitmap, true, 23, 9);
    skin::DrawSkinFrameStretched(win, {sx, sy + sh - a, sx + a, sy + sh}, d.Scrollbar->Bitmap, true,
                                 23, 13);
    Element(win, d.VertScrollThumb.get(), 1, {sx, sy + a + 6, sx + a, sy + a + 6 + sh / 2});

    // Status bar, simple text over frame 1, with the size grip.
    const auto& status = *d.StatusBarEdges;
    const int sby = h - bb - 22;
    Blit(win, cx, sby,
         skin::BuildSkinImage({0, 0, cw, 22}, status.Bitmap, status.Margins, false,
                              status.Tile == 1, 3, 1),
         false);
    Text(win, cx + 2, sby, 21, "Processando Registro 37 de 118", status.NormalColour2);
    const auto& extra = *d.ExtraImages;
    const int gw = extra.Bitmap.Width() / extra.FrameCount, gh = extra.Bitmap.Height();
    skin::DrawSkinFrameStretched(win, {cx + cw - 1 - gw, h - bb - 1 - gh, cx + cw - 1, h - bb - 1},
                                 extra.Bitmap, true, 5, 5);
  }
  // The window region leaves out the magenta pixels of the frame.
  Blit(out, x0, y0, win, true);
}

void Mock::PopupMenu(TBitmap& out, int x0, int y0) const {
  const skin::TSkinData& d = data_;
  const int w = 190, ih = 20;
  const char* items[5] = {" Restaurar ", " Maximizar ", " Minimizar ", "-", " Fechar "};
  const int h = 6 + 4 * ih + 8;
  TBitmap menu =
      skin::BuildSkinImage({0, 0, w, h}, d.MenuBackground->Bitmap, d.MenuBackground->Margins, false,
                           d.MenuBackground->Tile == 1, 1, 1);
  const auto& item = *d.MenuItem;
  int y = 3;
  for (int i = 0; i < 5; ++i) {
    const bool sep = std::string(items[i]) == "-";
    const int rh = sep ? 8 : ih;
    const TRect r{3, y, w - 3, y + rh};
    if (sep) {
      // DrawSeparator: the bottom rows of frame 2 in three slices.
      const int fw = item.Bitmap.Width() / 5, fh = item.Bitmap.Height();
      const int sy = fh > rh ? fh - rh : 0;
      TBitmap strip(r.Width(), rh);
      strip.Fill(skin::kSkinTransparent);
      skin::StretchCopy(strip, {0, 0, item.Margins.Left, rh}, item.Bitmap,
                        {fw, sy, fw + item.Margins.Left, sy + rh});
      skin::StretchCopy(strip, {item.Margins.Left, 0, r.Width() - item.Margins.Right, rh},
                        item.Bitmap,
                        {fw + item.Margins.Left, sy, 2 * fw - item.Margins.Right, sy + rh});
      skin::StretchCopy(strip, {r.Width() - item.Margins.Right, 0, r.Width(), rh}, item.Bitmap,
                        {2 * fw - item.Margins.Right, sy, 2 * fw, sy + rh});
      Blit(menu, r.Left, r.Top, strip, true);
    } else {
      const bool selected = i == 1;
      skin::DrawSkinElement(menu, r, item.Bitmap, false, item.Tile == 1, item.Trans == 1, 5,
                            selected ? 4 : 1, item.Margins);
      const uint32_t colour = i == 0     ? d.ButtonShadowColour
                              : selected ? d.HilightTextColour
                                         : d.MenuTextColour;
      const int tx = r.Left + 1 + item.Margins.Left + 16 + 3;
      Text(menu, tx, y, rh, items[i], colour);
      if (i == 4) Text(menu, w - 3 - 11 - TextWidth("Shift+F4"), y, rh, "Shift+F4", colour);
    }
    y += rh;
  }
  Blit(out, x0, y0, menu, false);
}

// Title-bar buttons in every frame, on the caption band, twice the size.
void Mock::ButtonStrip(TBitmap& out, int x0, int y0) const {
  const skin::TSkinData& d = data_;
  const auto& top = *d.Borders[3];
  const int band = top.Bitmap.Height() / top.FrameCount;
  int y = y0;
  for (const auto& b : d.SysButtons) {
    if (b->Action < 0 || b->Visibility == 100 || b->Bitmap.Empty() || b->FrameCount < 3) continue;
    const int bw = b->Bitmap.Width() / b->FrameCount, bh = b->Bitmap.Height();
    for (int f = 1; f <= b->FrameCount; ++f) {
      TBitmap cell = skin::BuildSkinImage({0, 0, bw + 8, band}, top.Bitmap, top.Margins, true,
                                          false, top.FrameCount, f == 4 ? 2 : 1);
      skin::DrawSkinFrameStretched(cell, {4, b->YCoord, 4 + bw, b->YCoord + bh}, b->Bitmap, true,
                                   b->FrameCount, f);
      const int cx = x0 + (f - 1) * (2 * (bw + 8) + 6);
      skin::StretchCopy(out, {cx, y, cx + 2 * (bw + 8), y + 2 * bh}, cell,
                        {0, b->YCoord, bw + 8, b->YCoord + bh});
    }
    y += 2 * bh + 6;
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
  const Mock mock(skin);
  skin::TBitmap screen(1000, 640);
  screen.Fill(Colour(kDesktop));
  if (mock.loaded()) {
    mock.Window(screen, 20, 20, 640, 600, true, true);
    mock.PopupMenu(screen, 690, 40);
    mock.Window(screen, 680, 220, 300, 130, false, false);
    mock.ButtonStrip(screen, 680, 380);
  }
  Canvas out(screen.Width(), screen.Height());
  for (int y = 0; y < screen.Height(); ++y)
    for (int x = 0; x < screen.Width(); ++x) {
      const uint32_t c = screen.Pixel(x, y);
      out.Set(x, y, {skin::RedOf(c), skin::GreenOf(c), skin::BlueOf(c)});
    }
  return out;
}

}  // namespace skingen
