// LZHUF encoder: produces bit streams that TLZH decodes (same constants, same
// adaptive Huffman tree, the same prefix codes for positions). Used by the
// skin package writer and tools; the engine itself only decodes.
//
//   std::vector<uint8_t> bits = skin::LzhEncode(data);   // bit stream only
//   auto back = skin::LzhDecode(bits, int32_t(data.size()));
//
// TLzhSymbolWriter writes chosen symbols (literals and matches) with the
// adaptive tree, for building streams by hand.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "skin/data/lzh.h"

namespace skin {

class TLzhSymbolWriter {
 public:
  TLzhSymbolWriter();
  ~TLzhSymbolWriter();
  TLzhSymbolWriter(const TLzhSymbolWriter&) = delete;
  TLzhSymbolWriter& operator=(const TLzhSymbolWriter&) = delete;

  void Literal(uint8_t byte);
  // A match of `length` (3..60) bytes starting `distance` (1..4096) bytes
  // before the current ring position.
  void Match(int length, int distance);
  // Flushes the last partial byte (zero-padded) and returns the stream.
  std::vector<uint8_t> Finish();
  // Symbols written so far.
  int64_t SymbolCount() const { return symbols_; }

 private:
  void EncodeChar(int c);
  void PutBits(uint32_t bits, int count);  // the low `count` bits, MSB first

  std::unique_ptr<lzh::HuffTree> tree_;
  std::vector<uint8_t> out_;
  uint32_t bitbuf_ = 0;
  int bitcount_ = 0;
  int64_t symbols_ = 0;
};

// Compresses `data` with the standard LZHUF match finder.
std::vector<uint8_t> LzhEncode(std::span<const uint8_t> data);

}  // namespace skin
