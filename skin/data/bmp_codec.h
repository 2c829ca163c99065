// Windows BMP files to and from TBitmap.
//
//   skin::TBitmap b = skin::DecodeBmp(bytes);      // throws EBitmapError
//   std::vector<uint8_t> file = skin::EncodeBmp(b); // bottom-up, uncompressed
//
// DecodeBmp reads 1, 4 and 8 bits per pixel with a palette, 16 bits (5-5-5 or
// bit fields), 24 and 32 bits, stored bottom-up or top-down. 32-bit files give
// a 32-bit bitmap, all others a 24-bit one. Anything malformed (bad signature,
// header, size, compression, truncated pixels) raises EBitmapError with the
// reason; nothing is read outside the given bytes.
//
// EncodeBmp writes the bitmap's own format (24 or 32 bits per pixel) with a
// 40-byte info header, rows padded to 4 bytes, bottom-up.
#pragma once

#include <cstdint>
#include <span>
#include <stdexcept>
#include <vector>

#include "skin/data/bitmap.h"

namespace skin {

class EBitmapError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

TBitmap DecodeBmp(std::span<const uint8_t> file);
std::vector<uint8_t> EncodeBmp(const TBitmap& bitmap);

}  // namespace skin
