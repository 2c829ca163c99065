// Text in .xls records. TBiffCursor reads a record's data, and where the
// format lets a record go on in the CONTINUE records after it (the
// shared-string table, a formula's text result), those too, as one run of
// bytes that knows where each record starts: a BIFF8 text whose characters
// run into the next record starts it with its flags byte again (one or two
// bytes a character), which Characters() reads. TBiffText turns the strings
// of either version into UTF-8: BIFF8 stores compressed (Latin-1) or UTF-16
// characters, BIFF5 bytes in the workbook's code page (CODEPAGE record).
//
//   app::TBiffCursor cursor(stream, sst_offset, /*continued=*/true, "clientes.xls");
//   const app::TBiffText text{.biff8 = true};
//   std::string first = text.Read(cursor, /*long_count=*/true);
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace app {

class TBiffCursor {
 public:
  // Starts at the data of the record at `offset` (which must exist); with
  // `continued`, the CONTINUE records after it go on where it ends.
  // Reading past the end throws EPlanilhaError.
  TBiffCursor(std::string_view stream, size_t offset, bool continued,
              const std::string& display_name);

  // True when no byte is left, in this record or a CONTINUE after it.
  bool AtEnd();
  // The offset of the record after the last one the cursor has entered.
  size_t Next() const { return next_; }

  uint8_t U8();
  uint16_t U16();
  uint32_t U32();
  void Skip(uint64_t count);
  // `count` characters of a BIFF8 text, two bytes each when `wide`, as
  // UTF-16 code units; at the start of each further record a new flags byte
  // says the width of the characters there.
  void Characters(size_t count, bool wide, std::u16string& out);
  // `count` bytes (BIFF5 text), crossing records as they are.
  void Bytes(size_t count, std::string& out);

 private:
  // Enters the CONTINUE record that follows; false when there is none.
  bool NextRecord();
  // Makes sure a byte is there to read, entering the next record if needed.
  void Need();
  [[noreturn]] void Damaged() const;

  std::string_view stream_;
  std::string_view data_;  // the current record's data
  size_t at_ = 0;          // position in data_
  size_t next_ = 0;
  bool continued_;
  const std::string& display_name_;
};

struct TBiffText {
  bool biff8 = true;
  uint16_t code_page = 1252;  // BIFF5 only: BIFF8 text says its own encoding

  // A string as BIFF8 or BIFF5 stores it, after its character count (16
  // bits when `long_count`, else 8): BIFF8's flags, compressed or UTF-16
  // characters and any rich-text runs and phonetic data after them (skipped);
  // BIFF5's bytes in the code page. As UTF-8.
  std::string Read(TBiffCursor& cursor, bool long_count) const;
  // BIFF5 bytes in the workbook's code page, as UTF-8.
  void Decode(std::string_view bytes, std::string& out) const;
};

}  // namespace app
