#include "app/database/tabela_temp.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>

#include "app/errors.h"
#include "unicode/utf8.h"

namespace app {

namespace {
// With its terminator a block takes exactly 4 MiB.
constexpr size_t kBlock = (size_t{4} << 20) - 1;
// A reference takes the offset and the length of the text it refers to; a
// text no longer than that is copied (it costs no more and reads directly).
constexpr size_t kReferenceBytes = 2 * sizeof(uint32_t);

// memcpy, without a call for the few bytes most cells hold: two fixed-size
// copies that overlap cover any length between their size and twice it.
inline void CopyShort(char* out, const char* in, size_t n) {
  if (n > 32) {
    std::memcpy(out, in, n);
  } else if (n >= 16) {
    char a[16], b[16];
    std::memcpy(a, in, 16);
    std::memcpy(b, in + n - 16, 16);
    std::memcpy(out, a, 16);
    std::memcpy(out + n - 16, b, 16);
  } else if (n >= 8) {
    char a[8], b[8];
    std::memcpy(a, in, 8);
    std::memcpy(b, in + n - 8, 8);
    std::memcpy(out, a, 8);
    std::memcpy(out + n - 8, b, 8);
  } else if (n >= 4) {
    char a[4], b[4];
    std::memcpy(a, in, 4);
    std::memcpy(b, in + n - 4, 4);
    std::memcpy(out, a, 4);
    std::memcpy(out + n - 4, b, 4);
  } else {
    for (size_t i = 0; i < n; ++i)
      out[i] = in[i];
  }
}
}  // namespace

TTabelaTemp::TTabelaTemp(std::string name) : name_(std::move(name)) {}

void TTabelaTemp::Close() {
  active_ = false;
  direct_ = false;
  pending_end_.clear();
  appending_ = false;
  eof_ = true;
  current_ = -1;
  row_count_ = 0;
  fields_.clear();
  edit_.clear();
  shared_text_.reset();
  refers_ = false;
  // Give the memory back: a table can hold a large worksheet.
  blocks_.clear();
  std::vector<uint64_t>().swap(row_base_);
  TBigVector<uint32_t>().swap(cell_end_);
}

void TTabelaTemp::ClearFields() {
  defs_.clear();
}

void TTabelaTemp::AddFieldDef(std::string name, int32_t size) {
  defs_.push_back({std::move(name), size});
}

void TTabelaTemp::CreateDataSet() {
  Close();
  fields_ = defs_;
  edit_.assign(fields_.size(), std::string());
  active_ = true;
}

void TTabelaTemp::RequireActive() const {
  if (!active_) throw EDatabaseError(name_ + ": Cannot perform this operation on a closed dataset");
}

int32_t TTabelaTemp::FieldIndex(std::string_view name) const {
  for (size_t i = 0; i < fields_.size(); ++i) {
    if (fields_[i].name.size() == name.size() &&
        std::equal(name.begin(), name.end(), fields_[i].name.begin(), [](char a, char b) {
          auto up = [](char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; };
          return up(a) == up(b);
        })) {
      return static_cast<int32_t>(i);
    }
  }
  throw EDatabaseError(name_ + ": Field '" + std::string(name) + "' not found");
}

void TTabelaTemp::ReserveRows(int64_t rows) {
  if (rows <= 0) return;
  // In 64 bits: rows x columns can pass what size_t holds on a 32-bit system.
  const uint64_t cells = static_cast<uint64_t>(rows) * fields_.size();
  if (cells > std::numeric_limits<size_t>::max() / sizeof(uint32_t)) throw std::bad_alloc();
  row_base_.reserve(static_cast<size_t>(rows));
  cell_end_.reserve(static_cast<size_t>(cells));
}

void TTabelaTemp::Append() {
  RequireActive();
  if (appending_) Post();
  for (auto& v : edit_)
    v.clear();
  appending_ = true;
  // Fields set in column order (as the import sets them) go straight into
  // the text block; anything else switches the row to the edit buffer.
  direct_ = true;
  next_field_ = 0;
  pending_end_.clear();
  if (blocks_.empty()) blocks_.emplace_back().reserve(kBlock);
  row_start_ = blocks_.back().size();
}

void TTabelaTemp::SetField(int32_t index, std::string_view value) {
  RequireActive();
  if (!appending_) throw EDatabaseError(name_ + ": Dataset not in edit or insert mode");
  if (index < 0 || static_cast<size_t>(index) >= fields_.size()) {
    throw EDatabaseError(name_ + ": Field index out of range");
  }
  value = Cut(static_cast<size_t>(index), value);
  if (direct_ && index >= next_field_) {
    TBigString* block = &blocks_.back();
    if (block->size() - row_start_ + value.size() >= kReference) RowTooLong();
    if (block->capacity() - block->size() < value.size()) {
      // The row begun so far moves to a fresh block, so that it stays whole.
      const size_t partial = block->size() - row_start_;
      TBigString fresh;
      fresh.reserve(std::max(kBlock, 2 * (partial + value.size())));
      fresh.append(*block, row_start_, partial);
      block->resize(row_start_);
      blocks_.push_back(std::move(fresh));
      block = &blocks_.back();
      row_start_ = 0;
    }
    const auto before = static_cast<uint32_t>(block->size() - row_start_);
    for (; next_field_ < index; ++next_field_)
      pending_end_.push_back(before);
    block->append(value);
    pending_end_.push_back(static_cast<uint32_t>(block->size() - row_start_));
    ++next_field_;
    return;
  }
  if (direct_) LeaveDirect();
  edit_[static_cast<size_t>(index)].assign(value);
}

void TTabelaTemp::RowTooLong() {
  // A row of a worksheet holds at most 16,384 x 100 characters x 4 bytes,
  // far below this; only a table built by hand with huge columns gets here.
  throw std::bad_alloc();
}

void TTabelaTemp::LeaveDirect() {
  TBigString& block = blocks_.back();
  uint32_t begin = 0;
  for (int32_t k = 0; k < next_field_; ++k) {
    const uint32_t end = pending_end_[static_cast<size_t>(k)];
    edit_[static_cast<size_t>(k)].assign(block.data() + row_start_ + begin, end - begin);
    begin = end;
  }
  block.resize(row_start_);
  pending_end_.clear();
  direct_ = false;
}

void TTabelaTemp::SetFieldByName(std::string_view name, std::string_view value) {
  SetField(FieldIndex(name), value);
}

void TTabelaTemp::Post() {
  RequireActive();
  if (!appending_) return;
  if (direct_) {
    const uint32_t end = pending_end_.empty() ? 0 : pending_end_.back();
    for (; static_cast<size_t>(next_field_) < fields_.size(); ++next_field_) {
      pending_end_.push_back(end);
    }
    cell_end_.insert(cell_end_.end(), pending_end_.begin(), pending_end_.end());
    direct_ = false;
    RowPosted((static_cast<uint64_t>(blocks_.size() - 1) << 32) | row_start_);
    return;
  }
  size_t row_bytes = 0;
  for (const auto& v : edit_)
    row_bytes += v.size();
  if (row_bytes >= kReference) RowTooLong();
  TBigString& block = BlockFor(row_bytes);
  const uint64_t base = (static_cast<uint64_t>(blocks_.size() - 1) << 32) | block.size();
  uint32_t end = 0;
  for (const auto& v : edit_) {
    end += static_cast<uint32_t>(v.size());
    block.append(v);
    cell_end_.push_back(end);
  }
  RowPosted(base);
}

std::string_view TTabelaTemp::Cut(size_t index, std::string_view value) const {
  // Values are cut to the column's size in characters; one that has no more
  // bytes than that fits without counting.
  const size_t size = static_cast<size_t>(std::max(fields_[index].size, 0));
  if (value.size() <= size) return value;
  return value.substr(0, unicode::Utf8PrefixBytes(value, size));
}

TBigString& TTabelaTemp::BlockFor(size_t bytes) {
  if (blocks_.empty() || blocks_.back().capacity() - blocks_.back().size() < bytes) {
    blocks_.emplace_back().reserve(std::max(kBlock, bytes));
  }
  return blocks_.back();
}

void TTabelaTemp::RowPosted(uint64_t base) {
  row_base_.push_back(base);
  ++row_count_;
  appending_ = false;
  current_ = row_count_ - 1;
  eof_ = false;
}

void TTabelaTemp::ShareText(std::shared_ptr<const std::string> text) {
  if (refers_) return;
  // Offsets and lengths of four bytes reach all of it.
  if (text && text->size() > std::numeric_limits<uint32_t>::max()) text.reset();
  shared_text_ = std::move(text);
}

void TTabelaTemp::AppendRow(std::span<const std::string_view> values) {
  RequireActive();
  if (appending_) Post();
  if (values.size() > fields_.size()) throw EDatabaseError(name_ + ": Field index out of range");
  // Values inside the shared text, whole (not cut) and longer than a
  // reference, are referred to; the others copied, cut to their columns'
  // sizes. First the cells' ends, so that the row is known to fit its
  // block before any of it is written.
  const uintptr_t shared =
      shared_text_ ? reinterpret_cast<uintptr_t>(shared_text_->data()) : uintptr_t{0};
  const size_t shared_size = shared_text_ ? shared_text_->size() : 0;
  pending_end_.resize(values.size());
  uint64_t end = 0;
  for (size_t k = 0; k < values.size(); ++k) {
    const std::string_view v = values[k];
    const std::string_view cut = Cut(k, v);
    // (Unsigned: an address before the text's start wraps far past it.)
    if (shared_text_ && cut.size() > kReferenceBytes && cut.size() == v.size() &&
        reinterpret_cast<uintptr_t>(v.data()) - shared <= shared_size - v.size()) {
      end += kReferenceBytes;
      pending_end_[k] = static_cast<uint32_t>(end) | kReference;
    } else {
      end += cut.size();
      pending_end_[k] = static_cast<uint32_t>(end);
    }
    if (end >= kReference) RowTooLong();
  }
  TBigString& block = BlockFor(end);
  const uint64_t base = (static_cast<uint64_t>(blocks_.size() - 1) << 32) | block.size();
  // The row's room at once, then each value written into it.
  block.resize(block.size() + end);
  char* const out = block.data() + (block.size() - end);
  uint32_t begin = 0;
  for (size_t k = 0; k < values.size(); ++k) {
    const uint32_t cell_end = pending_end_[k] & ~kReference;
    if ((pending_end_[k] & kReference) != 0) {
      const uint32_t at[2] = {
          static_cast<uint32_t>(reinterpret_cast<uintptr_t>(values[k].data()) - shared),
          static_cast<uint32_t>(values[k].size())};
      std::memcpy(out + begin, at, kReferenceBytes);
      refers_ = true;
    } else {
      CopyShort(out + begin, values[k].data(), cell_end - begin);
    }
    begin = cell_end;
  }
  cell_end_.insert(cell_end_.end(), pending_end_.begin(), pending_end_.end());
  cell_end_.insert(cell_end_.end(), fields_.size() - values.size(), static_cast<uint32_t>(end));
  pending_end_.clear();
  RowPosted(base);
}

void TTabelaTemp::Cancel() {
  if (appending_ && direct_) blocks_.back().resize(row_start_);
  direct_ = false;
  pending_end_.clear();
  appending_ = false;
  for (auto& s : edit_)
    s.clear();
}

std::string_view TTabelaTemp::Stored(int64_t row, int32_t index) const {
  const size_t cols = fields_.size();
  const size_t at = static_cast<size_t>(row) * cols + static_cast<size_t>(index);
  const uint32_t end = cell_end_[at] & ~kReference;
  const uint32_t begin = index == 0 ? 0 : cell_end_[at - 1] & ~kReference;
  const uint64_t base = row_base_[static_cast<size_t>(row)];
  const TBigString& block = blocks_[static_cast<size_t>(base >> 32)];
  const std::string_view stored =
      std::string_view(block).substr((base & 0xFFFFFFFFu) + begin, end - begin);
  if ((cell_end_[at] & kReference) == 0) return stored;
  uint32_t offset = 0, length = 0;
  std::memcpy(&offset, stored.data(), sizeof offset);
  std::memcpy(&length, stored.data() + sizeof offset, sizeof length);
  return std::string_view(*shared_text_).substr(offset, length);
}

std::string_view TTabelaTemp::Field(int32_t index) const {
  RequireActive();
  if (index < 0 || static_cast<size_t>(index) >= fields_.size()) {
    throw EDatabaseError(name_ + ": Field index out of range");
  }
  if (appending_ && direct_) {
    if (index >= next_field_) return {};
    const uint32_t begin = index == 0 ? 0 : pending_end_[static_cast<size_t>(index) - 1];
    return std::string_view(blocks_.back())
        .substr(row_start_ + begin, pending_end_[static_cast<size_t>(index)] - begin);
  }
  if (appending_) return edit_[static_cast<size_t>(index)];
  if (current_ < 0 || current_ >= row_count_) return {};
  return Stored(current_, index);
}

std::string TTabelaTemp::FieldByName(std::string_view name) const {
  return std::string(Field(FieldIndex(name)));
}

void TTabelaTemp::First() {
  RequireActive();
  if (appending_) Post();
  current_ = row_count_ > 0 ? 0 : -1;
  eof_ = row_count_ == 0;
}

void TTabelaTemp::Next() {
  RequireActive();
  if (appending_) Post();
  if (current_ + 1 < row_count_) {
    ++current_;
    eof_ = false;
  } else {
    eof_ = true;
  }
}

size_t TTabelaTemp::MemoryUsage() const {
  size_t text = 0;
  for (const auto& b : blocks_)
    text += b.capacity();
  if (refers_) text += shared_text_->capacity();
  return text + row_base_.capacity() * sizeof(uint64_t) + cell_end_.capacity() * sizeof(uint32_t);
}

}  // namespace app
