// TSpreadsheetEngine: what the spreadsheet controller (TDMCotrolaExcel) needs
// from whatever reads a workbook. Two engines stand behind it: the file engine
// of app/workbook/ (CreateFileEngine: .xlsx, .xls and .csv read directly, no
// spreadsheet program needed) and, on Windows, an Excel automation engine.
//
// Contract, for every engine:
//   - Open(file) opens a workbook (UTF-8 path). On failure it throws
//     EPlanilhaError with a Portuguese message and the previously opened
//     workbook stays open and current.
//   - Worksheets are addressed by 1-based position in workbook order (chart
//     sheets are not worksheets). SheetCount() counts them.
//   - AttachSheet(k) makes worksheet k current; CurrentSheetName() names it;
//     ActivateCurrentSheet() also makes it the application's active sheet (a
//     no-op for the file engine). A position outside 1..SheetCount() throws.
//   - LastRow()/LastColumn(): the bottom-right corner of the current
//     worksheet's used area (a cell present in the file counts even when it
//     is only formatted); an empty worksheet gives 1 and 1.
//   - ReadCell(column, row): the cell's underlying value (numbers and dates
//     as numbers, formulas by their last computed value). Text is UTF-8 and
//     the view stays valid until the next call on the engine. Columns run
//     1..16384, rows 1..1048576; outside that ReadCell throws.
//   - ReadRows(first, last, columns, sink): the values ReadCell gives for
//     columns 1..columns of rows first..last, handed over a row at a time in
//     row order as sink(row, values) with values.size() == columns; the
//     views stay valid during that call. Engines read the block in as few
//     steps as they can (the default reads cell by cell). An error of the
//     engine or of the sink ends the read; the rows given so far stay given.
//   - TextMayHoldNul(): false when no text of the current worksheet can
//     hold a NUL character, so that whoever reads many cells may skip
//     looking for one in each; true when the engine cannot tell.
//   - LastingText(): text of the current worksheet that the views ReadCell
//     and ReadRows give may point into and that stays unchanged while
//     anyone holds it (the workbook's shared strings), so that whoever
//     keeps many values may keep views into it instead of copies; nullptr
//     when there is none.
//   - Every method but Open throws EPlanilhaError when no workbook is open.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace app {

inline constexpr int32_t kMaxSheetRows = 1048576;
inline constexpr int32_t kMaxSheetColumns = 16384;

enum class TCellKind : uint8_t { ckEmpty, ckText, ckNumber, ckBoolean, ckError };

struct TCellValue {
  TCellKind Kind = TCellKind::ckEmpty;
  double Number = 0;      // ckNumber; ckBoolean: 0 (false) or 1 (true)
  std::string_view Text;  // ckText; ckError: the error as shown ("#N/A")
};

using TRowSink = std::function<void(int32_t row, std::span<const TCellValue> values)>;

class TSpreadsheetEngine {
 public:
  virtual ~TSpreadsheetEngine() = default;

  virtual void Open(const std::string& file_name) = 0;
  virtual int32_t SheetCount() = 0;
  virtual void AttachSheet(int32_t position) = 0;
  virtual std::string CurrentSheetName() = 0;
  virtual void ActivateCurrentSheet() {}
  virtual int32_t LastRow() = 0;
  virtual int32_t LastColumn() = 0;
  virtual TCellValue ReadCell(int32_t column, int32_t row) = 0;
  virtual void ReadRows(int32_t first_row, int32_t last_row, int32_t columns, const TRowSink& sink);
  virtual bool TextMayHoldNul() { return true; }
  virtual std::shared_ptr<const std::string> LastingText() { return nullptr; }
};

// Throws EPlanilhaError unless rows first..last and columns 1..columns lie
// within a worksheet's limits (an empty range, last < first, is allowed).
void CheckRowBlock(int32_t first_row, int32_t last_row, int32_t columns);

}  // namespace app
