// The LZHUF decoder on arbitrary bit streams; the first two bytes choose the
// output size (up to 64 KiB). A stream that ends too early is refused.
#include <cstddef>
#include <cstdint>

#include "skin/data/lzh.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const int32_t out_size = data[0] | (data[1] << 8);
  try {
    const auto out = skin::LzhDecode(std::span(data + 2, size - 2), out_size);
    if (out.size() < static_cast<size_t>(out_size)) __builtin_trap();
  } catch (const skin::ElzhException&) {
  }
  return 0;
}
