// The BMP decoder on arbitrary files; a decoded bitmap is written back.
#include <cstddef>
#include <cstdint>

#include "skin/data/bmp_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  try {
    const skin::TBitmap b = skin::DecodeBmp(std::span(data, size));
    if (b.Width() * b.Height() <= 1 << 16) skin::EncodeBmp(b);
  } catch (const skin::EBitmapError&) {
  }
  return 0;
}
