#include "app/workbook/biff_sheet.h"

#include <cmath>
#include <cstring>
#include <string>

#include "app/errors.h"
#include "app/workbook/biff_records.h"
#include "app/workbook/little_endian.h"
#include "app/workbook/workbook_reader.h"

namespace app {

namespace {

const char* ErrorName(uint8_t code) {
  switch (code) {
    case 0x00:
      return "#NULL!";
    case 0x07:
      return "#DIV/0!";
    case 0x0F:
      return "#VALUE!";
    case 0x17:
      return "#REF!";
    case 0x1D:
      return "#NAME?";
    case 0x24:
      return "#NUM!";
    case 0x2A:
      return "#N/A";
    default:
      return "#ERRO";
  }
}

// An RK number: 30 bits of either a signed integer or the high bits of a
// double, and a flag for "divided by 100".
double RkValue(uint32_t rk) {
  double value = 0;
  if ((rk & 2) != 0) {
    value = static_cast<double>(static_cast<int32_t>(rk) >> 2);
  } else {
    const uint64_t bits = uint64_t{rk & 0xFFFFFFFCu} << 32;
    std::memcpy(&value, &bits, sizeof value);
  }
  return (rk & 1) != 0 ? value / 100 : value;
}

class TSheetReader {
 public:
  TSheetReader(const TBiffStream& book, TSheetData& data)
      : book_(book), data_(data), name_(book.DisplayName()) {}

  void Read(size_t offset) {
    TBiffRecord r;
    if (!ReadBiffRecord(book_.Stream(), offset, name_, r) || r.type != biff::kBof) {
      ThrowDamagedWorkbook(name_, "aba sem início");
    }
    ReserveForCells(r.next);
    // Charts embedded in a worksheet nest their own BOF .. EOF.
    int depth = 1;
    for (size_t at = r.next; depth > 0 && ReadBiffRecord(book_.Stream(), at, name_, r);
         at = r.next) {
      if (r.type == biff::kBof) {
        ++depth;
      } else if (r.type == biff::kEof) {
        --depth;
      } else if (depth == 1) {
        Record(r, at);
      }
    }
    EndTextFormula();
  }

 private:
  // The cells with a value that the sheet's records hold, counted before
  // they are read: the table is made that size once instead of growing by
  // copies (which took several times the file). A sheet past the bound on
  // cells is refused here, as reading it would be.
  void ReserveForCells(size_t first) {
    uint64_t cells = 0;
    TBiffRecord r;
    int depth = 1;
    for (size_t at = first; depth > 0 && ReadBiffRecord(book_.Stream(), at, name_, r);
         at = r.next) {
      if (r.type == biff::kBof) {
        ++depth;
      } else if (r.type == biff::kEof) {
        --depth;
      } else if (depth == 1 && r.type == biff::kMulRk) {
        cells += r.data.size() >= 6 ? (r.data.size() - 6) / 6 : 0;
      } else if (depth == 1 && IsCell(r.type) && r.type != biff::kBlank &&
                 r.type != biff::kMulBlank) {
        ++cells;
      }
    }
    if (cells > kMaxSheetCells) TooManyCells();
    data_.Reserve(static_cast<size_t>(cells), 0);
  }

  [[noreturn]] static void TooManyCells() {
    throw EPlanilhaError("A planilha excede o número máximo de células aceito (" +
                         std::to_string(kMaxSheetCells) + ").");
  }

  void Record(const TBiffRecord& r, size_t at) {
    const std::string_view d = r.data;
    if (r.type == biff::kString) {
      // The text result of the formula just before.
      if (text_formula_) {
        TBiffCursor cursor(book_.Stream(), at, /*continued=*/true, name_);
        AddText(text_row_, text_column_, book_.Text().Read(cursor, /*long_count=*/true));
        text_formula_ = false;
      }
      return;
    }
    if (d.size() < 6 || !IsCell(r.type)) return;
    EndTextFormula();
    const int32_t row = ReadU16(d, 0) + 1;
    const int32_t column = ReadU16(d, 2) + 1;
    switch (r.type) {
      case biff::kNumber:
        if (d.size() >= 14) AddNumber(row, column, DoubleAt(d, 6));
        break;
      case biff::kRk:
        if (d.size() >= 10) AddNumber(row, column, RkValue(ReadU32(d, 6)));
        break;
      case biff::kMulRk:
        // Format and RK number for each column from `column`, then the last column.
        for (size_t k = 0; 4 + 6 * k + 6 <= d.size() - 2; ++k)
          AddNumber(row, column + static_cast<int32_t>(k), RkValue(ReadU32(d, 4 + 6 * k + 2)));
        break;
      case biff::kLabelSst:
        if (d.size() >= 10) {
          Count();
          data_.AddShared(row, column, ReadU32(d, 6));
        }
        break;
      case biff::kLabel:
      case biff::kRString: {
        // A text longer than a record (Gnumeric writes them in BIFF5) goes
        // on in CONTINUE records.
        TBiffCursor cursor(book_.Stream(), at, /*continued=*/true, name_);
        cursor.Skip(6);
        AddText(row, column, book_.Text().Read(cursor, /*long_count=*/true));
        break;
      }
      case biff::kBlank:
        AddEmpty(row, column);
        break;
      case biff::kMulBlank: {
        // A format for each column from `column`: only the first and the
        // last matter for the used area.
        const size_t count = (d.size() - 6) / 2;
        if (count > 0) AddEmpty(row, column);
        if (count > 1) AddEmpty(row, column + static_cast<int32_t>(count) - 1);
        break;
      }
      case biff::kBoolErr:
        if (d.size() >= 8) BoolErr(row, column, static_cast<uint8_t>(d[6]), d[7] != 0);
        break;
      case biff::kFormula:
        if (d.size() >= 14) Formula(row, column, d.substr(6, 8));
        break;
      default:
        break;
    }
  }

  static bool IsCell(uint16_t type) {
    switch (type) {
      case biff::kNumber:
      case biff::kRk:
      case biff::kMulRk:
      case biff::kLabelSst:
      case biff::kLabel:
      case biff::kRString:
      case biff::kBlank:
      case biff::kMulBlank:
      case biff::kBoolErr:
      case biff::kFormula:
        return true;
      default:
        return false;
    }
  }

  // The 8-byte result a formula had when the file was saved: a number, or
  // (marked by 0xFFFF in its last two bytes) text, a boolean, an error or
  // an empty text.
  void Formula(int32_t row, int32_t column, std::string_view result) {
    if (static_cast<uint8_t>(result[6]) != 0xFF || static_cast<uint8_t>(result[7]) != 0xFF) {
      AddNumber(row, column, DoubleAt(result, 0));
      return;
    }
    switch (result[0]) {
      case 0:  // text, in the STRING record that follows
        text_formula_ = true;
        text_row_ = row;
        text_column_ = column;
        break;
      case 1:
        BoolErr(row, column, static_cast<uint8_t>(result[2]), false);
        break;
      case 2:
        BoolErr(row, column, static_cast<uint8_t>(result[2]), true);
        break;
      default:  // 3: an empty text
        AddText(row, column, "");
        break;
    }
  }

  // A text formula whose STRING record is missing reads as empty text.
  void EndTextFormula() {
    if (!text_formula_) return;
    text_formula_ = false;
    AddText(text_row_, text_column_, "");
  }

  void BoolErr(int32_t row, int32_t column, uint8_t value, bool error) {
    Count();
    if (error) {
      data_.AddError(row, column, ErrorName(value));
    } else {
      data_.AddBoolean(row, column, value != 0);
    }
  }

  static double DoubleAt(std::string_view bytes, size_t at) {
    double value = 0;
    std::memcpy(&value, bytes.data() + at, sizeof value);
    return value;
  }

  void AddNumber(int32_t row, int32_t column, double value) {
    // Excel stores no infinity and no NaN.
    if (!std::isfinite(value)) ThrowDamagedWorkbook(name_, "número inválido");
    Count();
    data_.AddNumber(row, column, value);
  }

  void AddText(int32_t row, int32_t column, std::string_view text) {
    Count();
    data_.AddText(row, column, text);
  }

  void AddEmpty(int32_t row, int32_t column) {
    Count();
    data_.AddEmpty(row, column);
  }

  // Cells are counted as they come, repeated places included, so that a
  // stream of records that rewrite the same cells is bounded too.
  void Count() const {
    if (data_.CellCount() >= kMaxSheetCells) TooManyCells();
  }

  const TBiffStream& book_;
  TSheetData& data_;
  const std::string& name_;
  bool text_formula_ = false;
  int32_t text_row_ = 0;
  int32_t text_column_ = 0;
};

}  // namespace

void ReadBiffSheet(const TBiffStream& book, size_t index, TSheetData& data) {
  TSheetReader(book, data).Read(book.Sheets().at(index).offset);
}

}  // namespace app
