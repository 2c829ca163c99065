// TBiffStream: the workbook stream of an .xls file (BIFF5 or BIFF8) and what
// its global part says: the version, the code page of BIFF5 text, the sheets
// in workbook order with their names, kinds and where each one's records
// start, and the shared-string table of BIFF8 (Excel writes one; a workbook
// with a second is refused as damaged). Records are walked with every
// length checked; nothing is reserved for what a record claims, only for
// what the stream holds. The cells of a sheet are read by ReadBiffSheet
// (biff_sheet.h).
//
//   app::TBiffStream biff(std::move(workbook_stream), "clientes.xls");
//   for (const auto& sheet : biff.Sheets()) ... sheet.name, sheet.IsWorksheet() ...
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/workbook/biff_text.h"

namespace app {

struct TBiffSheet {
  std::string name;     // UTF-8
  uint32_t offset = 0;  // of the sheet's BOF record in the stream
  uint8_t type = 0;     // 0 worksheet (or dialog), 1 macro sheet, 2 chart, 6 module
  bool IsWorksheet() const { return type == 0; }
};

class TBiffStream {
 public:
  // Throws EPlanilhaError when the stream's global part is unreadable, and
  // when the workbook is encrypted (saved with a password to open it).
  TBiffStream(std::string stream, std::string display_name);
  // The shared strings are views of the object's own text.
  TBiffStream(const TBiffStream&) = delete;
  TBiffStream& operator=(const TBiffStream&) = delete;

  const std::string& Stream() const { return stream_; }
  const std::string& DisplayName() const { return display_name_; }
  const TBiffText& Text() const { return text_; }
  const std::vector<TBiffSheet>& Sheets() const { return sheets_; }
  // The shared-string table (BIFF8; empty in BIFF5), as UTF-8.
  const std::vector<std::string_view>& SharedStrings() const { return shared_; }

 private:
  void ReadSharedStrings(size_t offset);
  // Points each sheet at its records: where the sheet list says when a sheet
  // starts there, else at the sheet of the same place in stream order.
  void LocateSheets(size_t globals_end);

  std::string stream_;
  std::string display_name_;
  TBiffText text_;
  std::vector<TBiffSheet> sheets_;
  std::string shared_text_;
  std::vector<std::string_view> shared_;
};

}  // namespace app
