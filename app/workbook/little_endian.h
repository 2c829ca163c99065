// Little-endian integers read from a byte buffer (the binary workbook
// formats store them so); the caller checks that they lie inside it.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace app {

// The integers are copied as they lie.
static_assert(std::endian::native == std::endian::little);

inline uint16_t ReadU16(std::string_view bytes, size_t at) {
  uint16_t v;
  std::memcpy(&v, bytes.data() + at, 2);
  return v;
}

inline uint32_t ReadU32(std::string_view bytes, size_t at) {
  uint32_t v;
  std::memcpy(&v, bytes.data() + at, 4);
  return v;
}

}  // namespace app
