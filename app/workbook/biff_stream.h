// TBiffStream: what the workbook stream of an .xls file (BIFF5 or BIFF8)
// says that the general reader (FreeXL) leaves out: the kind of each sheet
// (worksheet, chart, macro sheet), boolean and error cells told apart, and
// the results formulas had when the file was saved, which FreeXL does not
// read at all. Records are walked with every length checked.
//
//   app::TBiffStream biff(std::move(workbook_stream), "clientes.xls");
//   for (const auto& sheet : biff.Sheets()) ... sheet.IsWorksheet() ...
//   for (const auto& cell : biff.SpecialCells(0)) ...
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace app {

struct TBiffSheet {
  uint32_t offset = 0;  // of the sheet's BOF record in the stream
  uint8_t type = 0;     // 0 worksheet (or dialog), 1 macro sheet, 2 chart, 6 module
  bool IsWorksheet() const { return type == 0; }
};

struct TBiffCell {
  enum class TKind : uint8_t { Boolean, Error, Number, Text };
  uint16_t row = 0;     // 0-based
  uint16_t column = 0;  // 0-based
  TKind kind = TKind::Number;
  double number = 0;  // Number; Boolean: 0 or 1
  std::string text;   // Text (UTF-8); Error: as shown, "#DIV/0!"
};

class TBiffStream {
 public:
  // Throws EPlanilhaError when the stream's global part is unreadable.
  TBiffStream(std::string stream, std::string display_name);

  const std::vector<TBiffSheet>& Sheets() const { return sheets_; }
  // Boolean and error cells and formula results of sheet `index` (0-based,
  // in stream order), in the order they are stored.
  std::vector<TBiffCell> SpecialCells(size_t index) const;

 private:
  struct Record {
    uint16_t type;
    std::string_view data;
  };
  // The record at `offset`, or false at the end of the stream.
  bool RecordAt(size_t offset, Record& record) const;
  [[noreturn]] void Damaged(const std::string& why) const;
  // A formula's string result: the STRING record at `offset` and the
  // CONTINUE records its text runs into; `offset` moves past them.
  std::string StringResult(size_t& offset) const;
  void AppendText(std::string_view bytes, bool wide, std::string& out) const;

  std::string stream_;
  std::string display_name_;
  bool biff8_ = true;
  std::vector<TBiffSheet> sheets_;
};

}  // namespace app
