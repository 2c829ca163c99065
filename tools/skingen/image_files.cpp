#include "tools/skingen/image_files.h"

#include <fstream>

#include "skin/data/bmp_codec.h"

#define STB_IMAGE_WRITE_IMPLEMENTATION
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wunused-parameter"
#pragma GCC diagnostic ignored "-Wsign-compare"
#endif
#include <stb/stb_image_write.h>
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

namespace skingen {

skin::TBitmap ToBitmap(const Canvas& canvas) {
  skin::TBitmap bitmap(canvas.width(), canvas.height());
  for (int y = 0; y < canvas.height(); ++y)
    for (int x = 0; x < canvas.width(); ++x) {
      const Rgb c = canvas.Exported(x, y);
      bitmap.SetPixel(x, y, skin::MakeColour(c.r, c.g, c.b));
    }
  return bitmap;
}

std::vector<uint8_t> BmpFile(const Canvas& canvas) {
  return skin::EncodeBmp(ToBitmap(canvas));
}

bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

bool WritePng(const std::string& path, const Canvas& canvas) {
  std::vector<uint8_t> rgb;
  rgb.reserve(static_cast<size_t>(canvas.width()) * canvas.height() * 3);
  for (int y = 0; y < canvas.height(); ++y)
    for (int x = 0; x < canvas.width(); ++x) {
      const Rgb c = canvas.Exported(x, y);
      rgb.insert(rgb.end(), {c.r, c.g, c.b});
    }
  return stbi_write_png(path.c_str(), canvas.width(), canvas.height(), 3, rgb.data(),
                        canvas.width() * 3) != 0;
}

}  // namespace skingen
