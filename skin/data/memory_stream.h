// TMemoryStream: a growable byte buffer with a read/write position, the stream
// type that the skin package reader, the INI reader and the skin data component
// exchange.
//
//   TMemoryStream s;
//   s.Write(bytes, n);       // writes at Position, growing the buffer
//   s.SetPosition(0);
//   size_t got = s.Read(out, n);  // reads at most what is left
//
// Data() gives the whole buffer; Clear() empties it and rewinds.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace skin {

class TMemoryStream {
 public:
  TMemoryStream() = default;
  explicit TMemoryStream(std::vector<uint8_t> data) : data_(std::move(data)) {}

  size_t Size() const { return data_.size(); }
  size_t Position() const { return position_; }
  // Positions past the end are allowed; reads there deliver nothing.
  void SetPosition(size_t position) { position_ = position; }
  void Clear() {
    data_.clear();
    position_ = 0;
  }
  // Reads up to count bytes at the position; returns the number delivered.
  size_t Read(void* buffer, size_t count);
  // Writes count bytes at the position, growing the buffer as needed.
  void Write(const void* buffer, size_t count);
  void Write(std::span<const uint8_t> bytes) { Write(bytes.data(), bytes.size()); }

  std::vector<uint8_t>& Data() { return data_; }
  const std::vector<uint8_t>& Data() const { return data_; }
  std::span<const uint8_t> Bytes() const { return data_; }

 private:
  std::vector<uint8_t> data_;
  size_t position_ = 0;
};

}  // namespace skin
