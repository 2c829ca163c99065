#include "skin/data/bmp_codec.h"

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#define STBI_ONLY_BMP
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
#define STBI_NO_FAILURE_STRINGS
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#include <stb_image.h>

namespace skin {

namespace {

constexpr int64_t kMaxBmpPixels = int64_t{1} << 26;  // 64 Mpixel: far above any skin image

uint32_t Le32(std::span<const uint8_t> b, size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}
uint16_t Le16(std::span<const uint8_t> b, size_t at) {
  return static_cast<uint16_t>(b[at] | (b[at + 1] << 8));
}

[[noreturn]] void Fail(const std::string& why) {
  throw EBitmapError("invalid BMP file: " + why);
}

struct StbFree {
  void operator()(stbi_uc* p) const { stbi_image_free(p); }
};

}  // namespace

TBitmap DecodeBmp(std::span<const uint8_t> file) {
  // The header is checked here so that every malformed file gets a precise
  // reason and the pixel decoder only ever sees consistent sizes.
  if (file.size() < 26) Fail("file too short");
  if (file[0] != 'B' || file[1] != 'M') Fail("no BM signature");
  const uint32_t offset = Le32(file, 10);
  const uint32_t header_size = Le32(file, 14);
  int64_t width = 0, height = 0;
  unsigned bpp = 0, compression = 0;
  if (header_size == 12) {
    width = Le16(file, 18);
    height = static_cast<int16_t>(Le16(file, 20));
    if (Le16(file, 22) != 1) Fail("planes must be 1");
    bpp = Le16(file, 24);
  } else if (header_size == 40 || header_size == 52 || header_size == 56 || header_size == 108 ||
             header_size == 124) {
    if (file.size() < 14u + header_size) Fail("truncated info header");
    width = static_cast<int32_t>(Le32(file, 18));
    height = static_cast<int32_t>(Le32(file, 22));
    if (Le16(file, 26) != 1) Fail("planes must be 1");
    bpp = Le16(file, 28);
    compression = Le32(file, 30);
  } else {
    Fail("unknown info header size " + std::to_string(header_size));
  }
  if (width <= 0 || height == 0) Fail("empty or negative width/height");
  const int64_t rows = height < 0 ? -height : height;
  if (width * rows > kMaxBmpPixels) Fail("image too large");
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) {
    Fail("unsupported bits per pixel " + std::to_string(bpp));
  }
  if (compression == 3) {
    if (bpp != 16 && bpp != 32) Fail("bit fields need 16 or 32 bits per pixel");
  } else if (compression != 0) {
    Fail("unsupported compression " + std::to_string(compression));
  }
  const int64_t stride = ((width * bpp + 31) / 32) * 4;
  if (offset < 14u + header_size || offset > file.size() ||
      static_cast<int64_t>(file.size() - offset) < stride * rows) {
    Fail("pixel data truncated or misplaced");
  }

  const int want = bpp == 32 ? 4 : 3;
  int w = 0, h = 0, channels = 0;
  std::unique_ptr<stbi_uc, StbFree> pixels(
      stbi_load_from_memory(file.data(), static_cast<int>(file.size()), &w, &h, &channels, want));
  if (!pixels || w != width || h != rows) Fail("undecodable pixel data");

  TBitmap out(w, h, want == 4 ? PixelFormat::k32Bit : PixelFormat::k24Bit);
  const stbi_uc* src = pixels.get();
  for (int y = 0; y < h; y++) {
    uint8_t* dst = out.Row(y);
    for (int x = 0; x < w; x++, src += want, dst += want) {
      dst[0] = src[2];
      dst[1] = src[1];
      dst[2] = src[0];
      if (want == 4) dst[3] = src[3];
    }
  }
  return out;
}

std::vector<uint8_t> EncodeBmp(const TBitmap& bitmap) {
  const int w = bitmap.Width(), h = bitmap.Height();
  const int bpp = bitmap.BytesPerPixel();
  const size_t stride = static_cast<size_t>(TBitmap::DibStride(w, bitmap.Format()));
  const size_t image = stride * h;
  const size_t total = 14 + 40 + image;
  std::vector<uint8_t> out(total, 0);
  auto put16 = [&](size_t at, uint32_t v) {
    out[at] = v & 0xFF;
    out[at + 1] = (v >> 8) & 0xFF;
  };
  auto put32 = [&](size_t at, uint32_t v) {
    put16(at, v & 0xFFFF);
    put16(at + 2, v >> 16);
  };
  out[0] = 'B';
  out[1] = 'M';
  put32(2, static_cast<uint32_t>(total));
  put32(10, 54);
  put32(14, 40);
  put32(18, static_cast<uint32_t>(w));
  put32(22, static_cast<uint32_t>(h));
  put16(26, 1);
  put16(28, static_cast<uint32_t>(bpp * 8));
  put32(34, static_cast<uint32_t>(image));
  put32(38, 2835);  // 72 dpi
  put32(42, 2835);
  for (int y = 0; y < h; y++) {
    std::memcpy(out.data() + 54 + stride * (h - 1 - y), bitmap.Row(y),
                static_cast<size_t>(w) * bpp);
  }
  return out;
}

}  // namespace skin
