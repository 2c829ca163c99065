#include "skin/data/memory_stream.h"

#include <algorithm>
#include <cstring>

namespace skin {

size_t TMemoryStream::Read(void* buffer, size_t count) {
  if (position_ >= data_.size()) return 0;
  const size_t n = std::min(count, data_.size() - position_);
  if (n > 0) std::memcpy(buffer, data_.data() + position_, n);
  position_ += n;
  return n;
}

void TMemoryStream::Write(const void* buffer, size_t count) {
  if (count == 0) return;
  if (position_ + count > data_.size()) data_.resize(position_ + count);
  std::memcpy(data_.data() + position_, buffer, count);
  position_ += count;
}

}  // namespace skin
