#include "skin/data/bmp_codec.h"

#include <gtest/gtest.h>

#include <string>

namespace skin {
namespace {

// Assembles a BMP file: info header of 40 bytes, the palette (BGRA quads),
// then `rows` exactly as given (each already padded to 4 bytes).
std::vector<uint8_t> MakeBmp(int width, int height, int bpp, const std::vector<uint32_t>& palette,
                             std::vector<std::vector<uint8_t>> rows, uint32_t compression = 0,
                             const std::vector<uint32_t>& masks = {}) {
  std::vector<uint8_t> f;
  auto p16 = [&](uint32_t v) {
    f.push_back(v & 0xFF);
    f.push_back((v >> 8) & 0xFF);
  };
  auto p32 = [&](uint32_t v) {
    p16(v & 0xFFFF);
    p16(v >> 16);
  };
  size_t pixels = 0;
  for (auto& r : rows)
    pixels += r.size();
  const uint32_t offset = static_cast<uint32_t>(54 + 4 * (palette.size() + masks.size()));
  f.push_back('B');
  f.push_back('M');
  p32(static_cast<uint32_t>(offset + pixels));
  p32(0);
  p32(offset);
  p32(40);
  p32(static_cast<uint32_t>(width));
  p32(static_cast<uint32_t>(height));
  p16(1);
  p16(static_cast<uint32_t>(bpp));
  p32(compression);
  p32(static_cast<uint32_t>(pixels));
  p32(0);
  p32(0);
  p32(static_cast<uint32_t>(palette.size()));
  p32(0);
  for (uint32_t m : masks)
    p32(m);
  for (uint32_t c : palette)
    p32(c);
  for (auto& r : rows)
    f.insert(f.end(), r.begin(), r.end());
  return f;
}

// Colours as 0x00BBGGRR of the 2 x 2 picture every case below encodes:
// top row red, green; bottom row blue, white.
constexpr uint32_t kRed = MakeColour(255, 0, 0), kGreen = MakeColour(0, 255, 0),
                   kBlue = MakeColour(0, 0, 255), kWhite = MakeColour(255, 255, 255);

void ExpectPicture(const TBitmap& b) {
  ASSERT_EQ(b.Width(), 2);
  ASSERT_EQ(b.Height(), 2);
  EXPECT_EQ(b.Pixel(0, 0), kRed);
  EXPECT_EQ(b.Pixel(1, 0), kGreen);
  EXPECT_EQ(b.Pixel(0, 1), kBlue);
  EXPECT_EQ(b.Pixel(1, 1), kWhite);
}

TEST(BmpCodecTest, DecodesEveryBitDepthBottomUpAndTopDown) {
  // Palette quads are 0x00RRGGBB as stored (blue first in memory).
  const std::vector<uint32_t> pal = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};
  struct Case {
    const char* name;
    int bpp;
    std::vector<uint32_t> palette;
    std::vector<uint8_t> top, bottom;
    uint32_t compression = 0;
    std::vector<uint32_t> masks = {};
  };
  const Case cases[] = {
      // 1 bit: two palettes would be needed for four colours, so index 0/1 map
      // red/green on top and the bottom row reuses a second file below.
      {"4-bit", 4, pal, {0x01, 0, 0, 0}, {0x23, 0, 0, 0}},
      {"8-bit", 8, pal, {0, 1, 0, 0}, {2, 3, 0, 0}},
      {"16-bit 555", 16, {}, {0x00, 0x7C, 0xE0, 0x03}, {0x1F, 0x00, 0xFF, 0x7F}},
      {"16-bit 565 fields",
       16,
       {},
       {0x00, 0xF8, 0xE0, 0x07},
       {0x1F, 0x00, 0xFF, 0xFF},
       3,
       {0xF800, 0x07E0, 0x001F}},
      {"24-bit", 24, {}, {0, 0, 255, 0, 255, 0, 0, 0}, {255, 0, 0, 255, 255, 255, 0, 0}},
      {"32-bit", 32, {}, {0, 0, 255, 0, 0, 255, 0, 0}, {255, 0, 0, 0, 255, 255, 255, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ExpectPicture(
        DecodeBmp(MakeBmp(2, 2, c.bpp, c.palette, {c.bottom, c.top}, c.compression, c.masks)));
    ExpectPicture(
        DecodeBmp(MakeBmp(2, -2, c.bpp, c.palette, {c.top, c.bottom}, c.compression, c.masks)));
  }
  EXPECT_EQ(DecodeBmp(MakeBmp(2, 2, 32, {}, {{1, 2, 3, 4, 1, 2, 3, 4}, {1, 2, 3, 4, 1, 2, 3, 4}}))
                .Format(),
            PixelFormat::k32Bit);
  EXPECT_EQ(DecodeBmp(MakeBmp(2, 2, 8, pal, {{0, 1, 0, 0}, {0, 0, 0, 0}})).Format(),
            PixelFormat::k24Bit);
}

TEST(BmpCodecTest, DecodesOneBitWithPalette) {
  // 10 pixels wide: bits 1011000001 on the only row.
  const auto f = MakeBmp(10, 1, 1, {0x000000, 0xFFFFFF}, {{0xB0, 0x40, 0, 0}});
  const TBitmap b = DecodeBmp(f);
  const std::string expect = "1011000001";
  for (int x = 0; x < 10; x++)
    EXPECT_EQ(b.Pixel(x, 0), expect[x] == '1' ? kWhite : 0u) << x;
}

TEST(BmpCodecTest, MalformedFilesRaiseClearErrors) {
  auto good = MakeBmp(2, 2, 24, {}, {{0, 0, 255, 0, 255, 0, 0, 0}, {1, 2, 3, 4, 5, 6, 0, 0}});
  struct Case {
    const char* name;
    size_t at;
    uint8_t value;
    const char* reason;
  };
  const Case cases[] = {
      {"signature", 0, 'X', "signature"},
      {"header size", 14, 41, "header size"},
      {"planes", 26, 2, "planes"},
      {"bits per pixel", 28, 7, "bits per pixel"},
      {"compression (RLE8)", 30, 1, "compression"},
      {"huge width", 21, 0x7F, "too large"},
      {"offset past end", 11, 0x10, "pixel data"},
  };
  for (const Case& c : cases) {
    auto f = good;
    f[c.at] = c.value;
    try {
      DecodeBmp(f);
      ADD_FAILURE() << c.name << " accepted";
    } catch (const EBitmapError& e) {
      EXPECT_NE(std::string(e.what()).find(c.reason), std::string::npos) << e.what();
    }
  }
  for (size_t cut : {size_t{0}, size_t{10}, size_t{40}, good.size() - 1}) {
    EXPECT_THROW(DecodeBmp(std::span(good.data(), cut)), EBitmapError) << cut;
  }
}

TEST(BmpCodecTest, WriterRoundTripsBothFormats) {
  for (PixelFormat format : {PixelFormat::k24Bit, PixelFormat::k32Bit}) {
    TBitmap b(5, 3, format);  // odd width: rows need padding in 24 bits
    for (int y = 0; y < 3; y++) {
      for (int x = 0; x < 5; x++)
        b.SetPixel(x, y, MakeColour(x * 40, y * 80, 7));
    }
    const auto file = EncodeBmp(b);
    EXPECT_EQ(file.size(), 54u + (format == PixelFormat::k24Bit ? 16u : 20u) * 3);
    const TBitmap back = DecodeBmp(file);
    EXPECT_EQ(back.Format(), format);
    EXPECT_TRUE(back.SameImage(b));
  }
}

}  // namespace
}  // namespace skin
