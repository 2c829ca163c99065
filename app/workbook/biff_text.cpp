#include "app/workbook/biff_text.h"

#include "app/workbook/biff_records.h"
#include "app/workbook/code_page_tables.h"
#include "app/workbook/little_endian.h"
#include "unicode/utf8.h"

namespace app {

namespace {

constexpr uint8_t kWide = 0x01;      // two bytes a character
constexpr uint8_t kPhonetic = 0x04;  // phonetic data after the characters
constexpr uint8_t kRich = 0x08;      // formatting runs after the characters

// The code page numbers Excel writes for the same page under another name.
uint16_t TablePage(uint16_t code_page) {
  switch (code_page) {
    case 367:    // US-ASCII: only the lower half is used
    case 32769:  // Windows-1252 in the numbering of BIFF2 to BIFF4
      return 1252;
    case 32768:  // Mac Roman, as Mac Excel 5 writes it
      return 10000;
    default:
      return code_page;
  }
}

// Code page 1200 (UTF-16) is no code page for BIFF5's one-byte text, but
// Gnumeric declares it when no Windows code page holds the workbook's text
// and then stores text of plain ASCII as bytes and any other text as UTF-16LE,
// its length counted in bytes. Those bytes are told apart by what plain ASCII
// never has: a byte outside 0x20..0x7E.
bool LooksLikeUtf16(std::string_view bytes) {
  if (bytes.size() % 2 != 0) return false;
  for (char ch : bytes) {
    const auto c = static_cast<uint8_t>(ch);
    if (c < 0x20 || c > 0x7E) return true;
  }
  return false;
}

}  // namespace

TBiffCursor::TBiffCursor(std::string_view stream, size_t offset, bool continued,
                         const std::string& display_name)
    : stream_(stream), continued_(continued), display_name_(display_name) {
  TBiffRecord record;
  if (!ReadBiffRecord(stream_, offset, display_name_, record)) Damaged();
  data_ = record.data;
  next_ = record.next;
}

bool TBiffCursor::NextRecord() {
  TBiffRecord record;
  if (!continued_ || !ReadBiffRecord(stream_, next_, display_name_, record) ||
      record.type != biff::kContinue) {
    return false;
  }
  data_ = record.data;
  at_ = 0;
  next_ = record.next;
  return true;
}

bool TBiffCursor::AtEnd() {
  while (at_ == data_.size()) {
    if (!NextRecord()) return true;
  }
  return false;
}

void TBiffCursor::Need() {
  if (AtEnd()) Damaged();
}

uint8_t TBiffCursor::U8() {
  Need();
  return static_cast<uint8_t>(data_[at_++]);
}

uint16_t TBiffCursor::U16() {
  const uint16_t low = U8();
  return static_cast<uint16_t>(low | U8() << 8);
}

uint32_t TBiffCursor::U32() {
  const uint32_t low = U16();
  return low | uint32_t{U16()} << 16;
}

void TBiffCursor::Skip(uint64_t count) {
  while (count > 0) {
    Need();
    const size_t step =
        count < data_.size() - at_ ? static_cast<size_t>(count) : data_.size() - at_;
    at_ += step;
    count -= step;
  }
}

void TBiffCursor::Characters(size_t count, bool wide, std::u16string& out) {
  while (count > 0) {
    if (at_ == data_.size()) {
      if (!NextRecord()) Damaged();
      wide = (U8() & kWide) != 0;
    }
    const size_t width = wide ? 2 : 1;
    const size_t fits = (data_.size() - at_) / width;
    // A character is never split between two records.
    if (fits == 0) Damaged();
    const size_t take = count < fits ? count : fits;
    for (size_t k = 0; k < take; ++k) {
      out.push_back(wide ? static_cast<char16_t>(ReadU16(data_, at_ + 2 * k))
                         : static_cast<char16_t>(static_cast<uint8_t>(data_[at_ + k])));
    }
    at_ += take * width;
    count -= take;
  }
}

void TBiffCursor::Bytes(size_t count, std::string& out) {
  while (count > 0) {
    Need();
    const size_t take = count < data_.size() - at_ ? count : data_.size() - at_;
    out.append(data_.substr(at_, take));
    at_ += take;
    count -= take;
  }
}

void TBiffCursor::Damaged() const {
  ThrowDamagedWorkbook(display_name_, "texto cortado");
}

std::string TBiffText::Read(TBiffCursor& cursor, bool long_count) const {
  const size_t count = long_count ? cursor.U16() : cursor.U8();
  std::string out;
  if (!biff8) {
    std::string bytes;
    cursor.Bytes(count, bytes);
    Decode(bytes, out);
    return out;
  }
  const uint8_t flags = cursor.U8();
  const uint16_t runs = (flags & kRich) != 0 ? cursor.U16() : 0;
  const uint32_t phonetic = (flags & kPhonetic) != 0 ? cursor.U32() : 0;
  std::u16string units;
  units.reserve(count);
  cursor.Characters(count, (flags & kWide) != 0, units);
  cursor.Skip(uint64_t{runs} * 4);
  cursor.Skip(phonetic);
  unicode::AppendUtf16AsUtf8(units, out);
  return out;
}

void TBiffText::Decode(std::string_view bytes, std::string& out) const {
  if (code_page == 1200 && LooksLikeUtf16(bytes)) {
    std::u16string units(bytes.size() / 2, u'\0');
    for (size_t k = 0; k < units.size(); ++k)
      units[k] = static_cast<char16_t>(ReadU16(bytes, 2 * k));
    unicode::AppendUtf16AsUtf8(units, out);
    return;
  }
  // A code page without a table here (the double-byte pages of East Asian
  // Excel) keeps its ASCII; its other bytes cannot be read and say so.
  const uint16_t page = code_page == 1200 ? uint16_t{1252} : TablePage(code_page);
  const char16_t* upper = CodePageUpperHalf(page);
  for (char ch : bytes) {
    const auto c = static_cast<uint8_t>(ch);
    if (c < 0x80) {
      out.push_back(ch);
    } else {
      unicode::AppendUtf8(upper != nullptr ? upper[c - 0x80] : unicode::kReplacementCharacter, out);
    }
  }
}

}  // namespace app
