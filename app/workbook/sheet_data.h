// TSheetData: the cells of one worksheet as the file engine holds them after
// reading the file: 16 bytes per cell with a value plus the text, rows
// indexed for lookups by (column, row). Filled in any order, then Finish()
// sorts (in place) and indexes; a later cell replaces an earlier one with a
// value at the same place. A cell present without a value (a formatted
// blank) takes no entry: it only widens the used area, whose bottom-right
// corner is that of every cell present.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/big_buffer.h"
#include "app/spreadsheet_engine.h"

namespace app {

class TSheetData {
 public:
  // `shared` is the workbook's shared-string table; it must outlive the sheet.
  explicit TSheetData(const std::vector<std::string_view>* shared = nullptr) : shared_(shared) {}
  // The text the shared-string table's views point into, when it stays
  // unchanged while held (nullptr until given).
  void SetSharedText(std::shared_ptr<const std::string> text) { shared_text_ = std::move(text); }
  const std::shared_ptr<const std::string>& SharedText() const { return shared_text_; }

  void AddEmpty(int32_t row, int32_t column);
  void AddNumber(int32_t row, int32_t column, double value);
  void AddBoolean(int32_t row, int32_t column, bool value);
  void AddText(int32_t row, int32_t column, std::string_view text);
  void AddError(int32_t row, int32_t column, std::string_view text);
  void AddShared(int32_t row, int32_t column, uint32_t index);
  // While the shared-string table is still being read elsewhere, AddShared
  // takes any index; CheckSharedIndexes, once the table is whole (before
  // Finish), throws what AddShared would have thrown for the first cell, in
  // the order added, whose index the table does not hold.
  void ExpectSharedLater() { shared_later_ = true; }
  void CheckSharedIndexes();
  // Room for about this many cells and bytes of text, so that reading a
  // large sheet does not copy what it has read so far.
  void Reserve(size_t cells, size_t text_bytes);
  // Every cell added, with a value or not (the readers' bound counts them all).
  size_t CellCount() const { return added_; }
  size_t TextBytes() const { return text_.size(); }

  void Finish();
  // Widens the used area to at least this corner (formats without cell
  // records for formatted empty cells keep the area separately).
  void ExtendUsedArea(int32_t last_row, int32_t last_column);
  int32_t LastRow() const { return last_row_; }
  int32_t LastColumn() const { return last_column_; }
  TCellValue Get(int32_t column, int32_t row) const;
  // False when no text of the sheet holds a NUL character (worked out on
  // the first call), so that a reader of many cells need not look at each.
  bool TextMayHoldNul() const;
  // The cells of columns 1..columns of rows first..last, a row at a time
  // (TSpreadsheetEngine::ReadRows); the range is checked by the caller.
  void ReadRows(int32_t first_row, int32_t last_row, int32_t columns, const TRowSink& sink) const;

 private:
  enum Kind : uint8_t { kEmpty, kNumber, kBoolean, kText, kError, kShared };
  struct Cell {
    uint32_t row;
    uint16_t column;
    uint8_t kind;
    uint8_t unused;
    union {
      double number;
      struct {
        uint32_t offset;
        uint32_t length;
      } text;
      uint32_t shared;
    };
  };
  static_assert(sizeof(Cell) == 16);
  Cell& Push(int32_t row, int32_t column, Kind kind);
  TCellValue Value(const Cell& cell) const;
  uint32_t Store(std::string_view text);
  [[noreturn]] static void NoSuchShared(uint32_t index);

  const std::vector<std::string_view>* shared_;
  std::shared_ptr<const std::string> shared_text_;
  TBigVector<Cell> cells_;
  TBigString text_;
  std::vector<uint32_t> row_start_;  // row r's cells: [row_start_[r], row_start_[r + 1])
  bool sorted_ = true;
  bool shared_later_ = false;
  size_t added_ = 0;
  int32_t empty_last_row_ = 1;  // the used area of the cells without a value
  int32_t empty_last_column_ = 1;
  int32_t last_row_ = 1;
  int32_t last_column_ = 1;
  int32_t max_cell_column_ = 1;  // of the cells with a value
  enum class TNul : uint8_t { kUnknown, kNone, kSome };
  mutable TNul nul_ = TNul::kUnknown;
};

}  // namespace app
