// Hand-made .xls workbooks for the reader's tests: BIFF records, a workbook
// stream with its sheet list and sheets, a shared-string table split into
// CONTINUE records of any size, and the compound document around a stream.
// Each case builds only what it needs, so a fixture shows its fault.
//
//   xls_test::TBook book;
//   book.sheets.push_back({"Clientes", xls_test::Number(0, 0, 1.5)});
//   std::string file = xls_test::CompoundFile("Workbook", book.Stream());
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace xls_test {

inline std::string U16(uint16_t v) {
  return {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)};
}

inline std::string U32(uint32_t v) {
  return U16(static_cast<uint16_t>(v & 0xFFFF)) + U16(static_cast<uint16_t>(v >> 16));
}

inline std::string F64(double v) {
  std::string bytes(8, '\0');
  std::memcpy(bytes.data(), &v, 8);
  return bytes;
}

inline std::string Record(uint16_t type, std::string_view data) {
  return U16(type) + U16(static_cast<uint16_t>(data.size())) + std::string(data);
}

// The first three fields of every cell record: row, column, format.
inline std::string Place(uint16_t row, uint16_t column) {
  return U16(row) + U16(column) + U16(15);
}

inline std::string Number(uint16_t row, uint16_t column, double v) {
  return Record(0x0203, Place(row, column) + F64(v));
}

inline std::string Rk(uint16_t row, uint16_t column, uint32_t rk) {
  return Record(0x027E, Place(row, column) + U32(rk));
}

inline std::string LabelSst(uint16_t row, uint16_t column, uint32_t index) {
  return Record(0x00FD, Place(row, column) + U32(index));
}

inline std::string Blank(uint16_t row, uint16_t column) {
  return Record(0x0201, Place(row, column));
}

// BIFF8 text of one byte a character (all below U+0100) or UTF-16LE.
inline std::string Biff8Chars(std::u16string_view text, bool wide) {
  std::string bytes;
  for (char16_t c : text)
    bytes += wide ? U16(c) : std::string(1, static_cast<char>(c));
  return bytes;
}

inline bool NeedsWide(std::u16string_view text) {
  for (char16_t c : text) {
    if (c > 0xFF) return true;
  }
  return false;
}

// A BIFF8 string with a 16-bit character count (LABEL, STRING).
inline std::string Biff8String(std::u16string_view text) {
  const bool wide = NeedsWide(text);
  return U16(static_cast<uint16_t>(text.size())) + std::string(1, wide ? '\1' : '\0') +
         Biff8Chars(text, wide);
}

// A shared string with optional rich-text runs and phonetic data, and the
// shared-string table written as Excel writes it, except that no record
// holds more than `capacity` bytes: fields and runs are cut anywhere, and
// characters that go on in the next record are preceded by a new flags
// byte there (with at least one character after it).
struct TSharedString {
  std::u16string text;
  uint16_t runs = 0;
  uint32_t phonetic_bytes = 0;
};

class TSstWriter {
 public:
  explicit TSstWriter(size_t capacity) : capacity_(capacity) {}

  std::string Table(const std::vector<TSharedString>& strings) {
    records_.clear();
    current_.clear();
    const auto count = static_cast<uint32_t>(strings.size());
    Raw(U32(count) + U32(count));
    for (const TSharedString& s : strings) {
      uint8_t flags = NeedsWide(s.text) ? 1 : 0;
      if (s.runs > 0) flags |= 8;
      if (s.phonetic_bytes > 0) flags |= 4;
      Raw(U16(static_cast<uint16_t>(s.text.size())) + std::string(1, static_cast<char>(flags)));
      if (s.runs > 0) Raw(U16(s.runs));
      if (s.phonetic_bytes > 0) Raw(U32(s.phonetic_bytes));
      Chars(s.text, (flags & 1) != 0);
      Raw(std::string(4u * s.runs, '\x07'));
      Raw(std::string(s.phonetic_bytes, '\x09'));
    }
    Close();
    std::string out;
    for (size_t i = 0; i < records_.size(); ++i)
      out += Record(i == 0 ? 0x00FC : 0x003C, records_[i]);
    return out;
  }

 private:
  void Raw(std::string_view bytes) {
    for (char c : bytes) {
      if (current_.size() == capacity_) Close();
      current_.push_back(c);
    }
  }

  // Characters: the first part in the width the header's flags give; each
  // further record starts with its own flags, one byte a character when its
  // share allows it, so one text may switch width from record to record.
  void Chars(std::u16string_view text, bool wide) {
    bool first = true;
    while (!text.empty()) {
      if (!first) {
        Close();
        wide = NeedsWide(text.substr(0, capacity_ > 1 ? capacity_ - 1 : 1));
        current_.push_back(wide ? '\1' : '\0');
      }
      const size_t width = wide ? 2 : 1;
      size_t room = capacity_ > current_.size() ? (capacity_ - current_.size()) / width : 0;
      if (!first && room == 0) room = 1;
      const size_t take = std::min(text.size(), room);
      current_ += Biff8Chars(text.substr(0, take), wide);
      text.remove_prefix(take);
      first = false;
    }
  }

  void Close() {
    records_.push_back(current_);
    current_.clear();
  }

  size_t capacity_;
  std::vector<std::string> records_;
  std::string current_;
};

// A workbook stream: the global part (BOF, CODEPAGE when given, what
// `globals` adds, the sheet list, EOF), then each sheet's BOF, cells, EOF.
struct TSheet {
  std::string name;  // as stored: bytes after the length (BIFF8: flags byte first)
  std::string cells;
  uint8_t type = 0;  // 0 worksheet, 2 chart
};

struct TBook {
  bool biff8 = true;
  int code_page = -1;  // no CODEPAGE record
  std::string globals;
  std::vector<TSheet> sheets;
  bool wrong_sheet_offsets = false;

  static std::string Bof(bool biff8, uint16_t kind) {
    return Record(0x0809, U16(biff8 ? 0x0600 : 0x0500) + U16(kind) + U16(0x0DBB) + U16(0x07CC) +
                              (biff8 ? U32(0) + U32(0) : ""));
  }

  // An ASCII sheet name in the form of the book's version.
  std::string Name(std::string_view ascii) const {
    return biff8 ? std::string(1, '\0') + std::string(ascii) : std::string(ascii);
  }

  std::string Stream() const {
    std::string head = Bof(biff8, 0x0005);
    if (code_page >= 0) head += Record(0x0042, U16(static_cast<uint16_t>(code_page)));
    head += globals;
    size_t list_size = 4;  // the global part's EOF
    for (const TSheet& s : sheets)
      list_size += 4 + 6 + 1 + s.name.size();
    std::string list, body;
    size_t offset = head.size() + list_size;
    for (const TSheet& s : sheets) {
      const std::string count(1, static_cast<char>(biff8 ? s.name.size() - 1 : s.name.size()));
      const auto at = static_cast<uint32_t>(wrong_sheet_offsets ? offset + 1 : offset);
      list += Record(0x0085, U32(at) + std::string(1, '\0') +
                                 std::string(1, static_cast<char>(s.type)) + count + s.name);
      const std::string sheet =
          Bof(biff8, s.type == 2 ? 0x0020 : 0x0010) + s.cells + Record(0x000A, "");
      body += sheet;
      offset += sheet.size();
    }
    return head + list + Record(0x000A, "") + body;
  }
};

// A compound document (version 3, 512-byte sectors) whose root storage holds
// one stream. Streams shorter than 4096 bytes are padded with zero bytes
// (empty records of type 0) so that they live in ordinary sectors.
// `name_bytes` overrides the stored length of the stream's name.
inline std::string CompoundFile(std::string_view name, std::string stream, int name_bytes = -1) {
  constexpr uint32_t kEnd = 0xFFFFFFFE, kFree = 0xFFFFFFFF, kFatSector = 0xFFFFFFFD;
  if (stream.size() < 4096) stream.resize(4096, '\0');
  const size_t stream_sectors = (stream.size() + 511) / 512;
  size_t fat_sectors = 1;
  while (fat_sectors * 128 < fat_sectors + 1 + stream_sectors)
    ++fat_sectors;
  std::vector<uint32_t> fat(fat_sectors * 128, kFree);
  for (size_t i = 0; i < fat_sectors; ++i)
    fat[i] = kFatSector;
  const auto directory = static_cast<uint32_t>(fat_sectors);
  fat[directory] = kEnd;
  for (size_t i = 0; i < stream_sectors; ++i)
    fat[directory + 1 + i] =
        i + 1 < stream_sectors ? static_cast<uint32_t>(directory + 2 + i) : kEnd;

  std::string header("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
  header += std::string(16, '\0') + U16(0x3E) + U16(3) + U16(0xFFFE) + U16(9) + U16(6) +
            std::string(6, '\0') + U32(0) + U32(static_cast<uint32_t>(fat_sectors)) +
            U32(directory) + U32(0) + U32(4096) + U32(kEnd) + U32(0) + U32(kEnd) + U32(0);
  for (size_t i = 0; i < 109; ++i)
    header += U32(i < fat_sectors ? static_cast<uint32_t>(i) : kFree);

  const auto entry = [](std::u16string_view entry_name, int stored_bytes, uint8_t type,
                        uint32_t child, uint32_t start, uint32_t size) {
    std::string e;
    for (char16_t c : entry_name)
      e += U16(c);
    e.resize(64, '\0');
    e += U16(static_cast<uint16_t>(stored_bytes >= 0 ? stored_bytes : 2 * (entry_name.size() + 1)));
    e += std::string(1, static_cast<char>(type)) + std::string(1, '\1');
    e += U32(0xFFFFFFFF) + U32(0xFFFFFFFF) + U32(child);
    e += std::string(16 + 4 + 16, '\0');
    e += U32(start) + U32(size) + U32(0);
    return e;
  };
  std::u16string wide_name;
  for (char c : name)
    wide_name.push_back(static_cast<char16_t>(c));
  std::string dir = entry(u"Root Entry", -1, 5, 1, kEnd, 0) +
                    entry(wide_name, name_bytes, 2, 0xFFFFFFFF, directory + 1,
                          static_cast<uint32_t>(stream.size()));
  dir.resize(512, '\0');

  std::string fat_bytes;
  for (uint32_t v : fat)
    fat_bytes += U32(v);
  stream.resize(stream_sectors * 512, '\0');
  return header + fat_bytes + dir + stream;
}

}  // namespace xls_test
