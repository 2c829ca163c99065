// TLZH: the LZHUF decoder of skin packages (LZSS over a 4,096-byte ring buffer,
// literals and match lengths coded with one adaptive Huffman tree, match
// positions with a fixed prefix table plus six verbatim bits).
//
//   skin::TLZH lzh;
//   lzh.LZHUnpack(size, write_cb, read_cb);          // callback form
//   auto bytes = skin::LzhDecode(bit_stream, size);  // buffer form
//
// The output length is not part of the bit stream; the caller passes it. Input
// that ends before that many bytes are decoded (a package cut short) throws
// ElzhException kLzhTruncatedMessage; decoding never touches memory outside
// its own tables, whatever the input. ElzhException also reports table failures.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace skin {

class ElzhException : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

inline constexpr const char* kLzhNoMemoryMessage = "LZH : Cannot get memory for dictionary tables";
inline constexpr const char* kLzhFreeErrorMessage =
    "LZH : Error freeing memory for dictionary tables";
inline constexpr const char* kLzhTruncatedMessage =
    "LZH : Compressed data ends before the unpacked size is reached";

// Format constants shared by the decoder and the encoder.
namespace lzh {
inline constexpr int N = 4096;
inline constexpr int F = 60;
inline constexpr int THRESHOLD = 2;
inline constexpr int N_CHAR = 256 - THRESHOLD + F;  // 314
inline constexpr int T = N_CHAR * 2 - 1;            // 627
inline constexpr int R = T - 1;                     // 626
inline constexpr unsigned MAX_FREQ = 0x8000;

extern const uint8_t d_code[256];
extern const uint8_t d_len[256];

// The adaptive Huffman tree, identical in encoder and decoder.
struct HuffTree {
  uint16_t freq[T + 1];
  int16_t prnt[T + N_CHAR];
  int16_t son[T + 1];  // one spare slot: son[T] is never a real node

  void StartHuff();
  void Reconst();
  void Update(int c);
};
}  // namespace lzh

class TLZH {
 public:
  // Delivers up to `count` bytes into `buffer`; sets `delivered`.
  using ReadBytesFn = std::function<void(uint8_t* buffer, uint16_t count, uint16_t& delivered)>;
  // Consumes `count` bytes of `buffer`; sets `written`.
  using WriteBytesFn =
      std::function<void(const uint8_t* buffer, uint16_t count, uint16_t& written)>;

  TLZH() = default;

  // Decodes until at least OutputSize bytes were written (a final match is
  // always copied whole). Nothing is read or written when OutputSize <= 0.
  // Throws ElzhException when the input ends first; what was written before
  // stays written.
  void LZHUnpack(int32_t OutputSize, const WriteBytesFn& WriteBytes, const ReadBytesFn& ReadBytes);
};

// Decodes `input` (the bit stream alone) into exactly the bytes the decoder
// writes for `output_size`.
std::vector<uint8_t> LzhDecode(std::span<const uint8_t> input, int32_t output_size);

}  // namespace skin
