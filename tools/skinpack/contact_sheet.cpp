#include "tools/skinpack/contact_sheet.h"

#include <algorithm>

#include "skin/data/skin_draw.h"

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_easy_font.h>
#include <stb_image_write.h>

namespace skinpack {

using namespace skin;

namespace {

constexpr uint32_t kBackground = 0xA0A0A0;
constexpr int kPad = 10, kGap = 4, kLabel = 14;

struct Row {
  std::string label;
  const TBitmap* bitmap;
  int frames;
  bool trans;
  bool vertical;  // frames stacked (top and bottom borders, caption back, menu bar)
};

// The painters cut these elements' frames one above the other; every other
// image holds its frames side by side.
bool StackedSlot(const std::string& slot) {
  return slot == "Borders[3]" || slot == "Borders[4]" || slot == "Title" || slot == "MenuBar";
}

void DrawText(TBitmap& sheet, int x, int y, const std::string& text) {
  static char buffer[60000];
  unsigned char colour[4] = {0, 0, 0, 255};
  std::string copy = text;
  const int quads = stb_easy_font_print(static_cast<float>(x), static_cast<float>(y), copy.data(),
                                        colour, buffer, sizeof(buffer));
  const float* v = reinterpret_cast<const float*>(buffer);
  for (int q = 0; q < quads; q++, v += 16) {
    // Each vertex is x, y, z and four colour bytes; quads are axis-aligned.
    const int x0 = static_cast<int>(v[0]), y0 = static_cast<int>(v[1]);
    const int x1 = static_cast<int>(v[8]), y1 = static_cast<int>(v[9]);
    sheet.FillRect({x0, y0, x1, y1}, 0x000000);
  }
}

}  // namespace

TBitmap DrawContactSheet(const TSkinData& d) {
  std::vector<Row> rows;
  for (const auto& [slot, e] : SkinSlots(d)) {
    if (e == nullptr || e->Bitmap.Empty()) continue;
    rows.push_back({slot + " " + e->Name + " frames=" + std::to_string(e->FrameCount), &e->Bitmap,
                    std::max(e->FrameCount, 1), e->Trans != 0, StackedSlot(slot)});
    if (auto* b = dynamic_cast<const TDataSkinBorder*>(e); b && !b->Bitmap2.Empty()) {
      rows.push_back({slot + " Bitmap2", &b->Bitmap2, 1, e->Trans != 0, false});
    }
    if (auto* b = dynamic_cast<const TDataSkinButton*>(e)) {
      if (!b->CheckBitmap.Empty()) {
        rows.push_back(
            {slot + " CheckBitmap", &b->CheckBitmap, std::max(b->CheckFrameCount, 1), true, false});
      }
      if (!b->RadioBitmap.Empty()) {
        rows.push_back(
            {slot + " RadioBitmap", &b->RadioBitmap, std::max(b->RadioFrameCount, 1), true, false});
      }
    }
  }
  int width = 400, height = kPad;
  // Each frame's size on the sheet, whichever way the image holds them.
  auto frame_size = [](const Row& r) {
    return r.vertical ? std::pair{r.bitmap->Width(), r.bitmap->Height() / r.frames}
                      : std::pair{r.bitmap->Width() / r.frames, r.bitmap->Height()};
  };
  for (const Row& r : rows) {
    const auto [fw, fh] = frame_size(r);
    width = std::max(width, kPad * 2 + r.frames * (fw + kGap));
    width = std::max(width, kPad * 2 + static_cast<int>(r.label.size()) * 6);
    height += kLabel + fh + kPad;
  }
  TBitmap sheet(std::min(width, 4096), std::min(std::max(height, 40), 8192));  // at most 100 MB
  sheet.Fill(kBackground);
  int y = kPad;
  for (const Row& r : rows) {
    DrawText(sheet, kPad, y, r.label);
    y += kLabel;
    const auto [fw, fh] = frame_size(r);
    for (int f = 1; f <= r.frames; f++) {
      const int x = kPad + (f - 1) * (fw + kGap);
      const TRect target = {x, y, x + fw, y + fh};
      if (r.vertical) {
        DrawSkinElement(sheet, target, *r.bitmap, true, false, r.trans, r.frames, f, {0, 0, 0, 0});
      } else {
        DrawSkinFrameStretched(sheet, target, *r.bitmap, r.trans, r.frames, f);
      }
    }
    y += fh + kPad;
  }
  return sheet;
}

std::vector<uint8_t> EncodePng(const TBitmap& b) {
  std::vector<uint8_t> rgb(static_cast<size_t>(b.Width()) * b.Height() * 3);
  size_t i = 0;
  for (int y = 0; y < b.Height(); y++) {
    for (int x = 0; x < b.Width(); x++) {
      const uint32_t c = b.Pixel(x, y);
      rgb[i++] = RedOf(c);
      rgb[i++] = GreenOf(c);
      rgb[i++] = BlueOf(c);
    }
  }
  std::vector<uint8_t> png;
  stbi_write_png_to_func(
      [](void* ctx, void* data, int size) {
        auto* out = static_cast<std::vector<uint8_t>*>(ctx);
        const auto* bytes = static_cast<const uint8_t*>(data);
        out->insert(out->end(), bytes, bytes + size);
      },
      &png, b.Width(), b.Height(), 3, rgb.data(), b.Width() * 3);
  return png;
}

}  // namespace skinpack
