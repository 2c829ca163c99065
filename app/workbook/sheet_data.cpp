#include "app/workbook/sheet_data.h"

#include <algorithm>
#include <cstring>

#include "app/errors.h"

namespace app {

namespace {

void ConfereLugar(int32_t row, int32_t column) {
  if (row < 1 || row > kMaxSheetRows || column < 1 || column > kMaxSheetColumns) {
    throw EPlanilhaError("A planilha tem uma célula fora dos limites de uma planilha (linha " +
                         std::to_string(row) + ", coluna " + std::to_string(column) + ").");
  }
}

}  // namespace

TSheetData::Cell& TSheetData::Push(int32_t row, int32_t column, Kind kind) {
  ConfereLugar(row, column);
  ++added_;
  if (!cells_.empty()) {
    const Cell& back = cells_.back();
    if (static_cast<uint32_t>(row) < back.row ||
        (static_cast<uint32_t>(row) == back.row && column <= back.column)) {
      sorted_ = false;
    }
  }
  // While the cells come in order (as files hold them), the row index is
  // built as they come, which spares Finish two passes over the table.
  if (sorted_) {
    for (size_t r = row_start_.size(); r <= static_cast<size_t>(row); ++r)
      row_start_.push_back(static_cast<uint32_t>(cells_.size()));
  }
  max_cell_column_ = std::max(max_cell_column_, column);
  Cell& c = cells_.emplace_back();
  c.row = static_cast<uint32_t>(row);
  c.column = static_cast<uint16_t>(column);
  c.kind = kind;
  c.unused = 0;
  c.number = 0;
  return c;
}

uint32_t TSheetData::Store(std::string_view text) {
  nul_ = TNul::kUnknown;
  if (text_.size() + text.size() > UINT32_MAX) {
    throw EPlanilhaError("A planilha tem mais texto do que o leitor aceita (4 GB).");
  }
  const auto offset = static_cast<uint32_t>(text_.size());
  text_.append(text);
  return offset;
}

void TSheetData::Reserve(size_t cells, size_t text_bytes) {
  cells_.reserve(cells);
  text_.reserve(text_bytes);
}

void TSheetData::AddEmpty(int32_t row, int32_t column) {
  // A cell without a value reads as no cell at all: only the used area it
  // widens is kept, so that a sheet of millions of them costs nothing.
  ConfereLugar(row, column);
  ++added_;
  empty_last_row_ = std::max(empty_last_row_, row);
  empty_last_column_ = std::max(empty_last_column_, column);
}

void TSheetData::AddNumber(int32_t row, int32_t column, double value) {
  Push(row, column, kNumber).number = value;
}

void TSheetData::AddBoolean(int32_t row, int32_t column, bool value) {
  Push(row, column, kBoolean).number = value ? 1 : 0;
}

void TSheetData::AddText(int32_t row, int32_t column, std::string_view text) {
  const uint32_t offset = Store(text);
  Cell& c = Push(row, column, kText);
  c.text.offset = offset;
  c.text.length = static_cast<uint32_t>(text.size());
}

void TSheetData::AddError(int32_t row, int32_t column, std::string_view text) {
  const uint32_t offset = Store(text);
  Cell& c = Push(row, column, kError);
  c.text.offset = offset;
  c.text.length = static_cast<uint32_t>(text.size());
}

void TSheetData::NoSuchShared(uint32_t index) {
  throw EPlanilhaError("A planilha está danificada: referência a um texto compartilhado (" +
                       std::to_string(index) + ") que não existe.");
}

void TSheetData::AddShared(int32_t row, int32_t column, uint32_t index) {
  if (!shared_later_ && (shared_ == nullptr || index >= shared_->size())) NoSuchShared(index);
  Push(row, column, kShared).shared = index;
}

void TSheetData::CheckSharedIndexes() {
  shared_later_ = false;
  const size_t size = shared_ == nullptr ? 0 : shared_->size();
  for (const Cell& c : cells_) {
    if (c.kind == kShared && c.shared >= size) NoSuchShared(c.shared);
  }
}

void TSheetData::Finish() {
  // The index built while adding holds rows 0..last and lacks only its end.
  if (sorted_ && !cells_.empty() && row_start_.size() == size_t{cells_.back().row} + 1) {
    row_start_.push_back(static_cast<uint32_t>(cells_.size()));
    last_row_ = std::max(static_cast<int32_t>(cells_.back().row), empty_last_row_);
    last_column_ = std::max(max_cell_column_, empty_last_column_);
    return;
  }
  if (!sorted_) {
    // A later cell replaces an earlier one at the same place.
    std::stable_sort(cells_.begin(), cells_.end(), [](const Cell& a, const Cell& b) {
      return a.row != b.row ? a.row < b.row : a.column < b.column;
    });
    // Repeated places taken out where they are, without a second table.
    size_t kept = 0;
    for (size_t i = 0; i < cells_.size(); ++i) {
      if (kept > 0 && cells_[kept - 1].row == cells_[i].row &&
          cells_[kept - 1].column == cells_[i].column) {
        cells_[kept - 1] = cells_[i];
      } else {
        cells_[kept++] = cells_[i];
      }
    }
    cells_.resize(kept);
    sorted_ = true;
  }
  int32_t last_cell_row = 1;
  last_column_ = 1;
  for (const Cell& c : cells_)
    last_column_ = std::max<int32_t>(last_column_, c.column);
  if (!cells_.empty()) last_cell_row = static_cast<int32_t>(cells_.back().row);
  row_start_.assign(static_cast<size_t>(last_cell_row) + 2, 0);
  // Count per row, then prefix sums.
  for (const Cell& c : cells_)
    ++row_start_[c.row + 1];
  for (size_t r = 1; r < row_start_.size(); ++r)
    row_start_[r] += row_start_[r - 1];
  last_row_ = std::max(last_cell_row, empty_last_row_);
  last_column_ = std::max(last_column_, empty_last_column_);
}

void TSheetData::ExtendUsedArea(int32_t last_row, int32_t last_column) {
  if (last_row > last_row_) last_row_ = std::min(last_row, kMaxSheetRows);
  if (last_column > last_column_) last_column_ = std::min(last_column, kMaxSheetColumns);
}

TCellValue TSheetData::Get(int32_t column, int32_t row) const {
  TCellValue v;
  if (row < 1 || static_cast<size_t>(row) + 1 >= row_start_.size() || column < 1) return v;
  auto begin = cells_.begin() + row_start_[static_cast<size_t>(row)];
  auto end = cells_.begin() + row_start_[static_cast<size_t>(row) + 1];
  if (begin == end) return v;
  // Dense rows: the cell is usually at its own position.
  auto it = begin;
  if (column - 1 < end - begin && begin[column - 1].column == column) {
    it = begin + (column - 1);
  } else {
    it = std::lower_bound(begin, end, column,
                          [](const Cell& c, int32_t col) { return c.column < col; });
    if (it == end || it->column != column) return v;
  }
  return Value(*it);
}

TCellValue TSheetData::Value(const Cell& cell) const {
  TCellValue v;
  switch (cell.kind) {
    case kEmpty:
      break;
    case kNumber:
      v.Kind = TCellKind::ckNumber;
      v.Number = cell.number;
      break;
    case kBoolean:
      v.Kind = TCellKind::ckBoolean;
      v.Number = cell.number;
      break;
    case kText:
      v.Kind = TCellKind::ckText;
      v.Text = std::string_view(text_.data() + cell.text.offset, cell.text.length);
      break;
    case kError:
      v.Kind = TCellKind::ckError;
      v.Text = std::string_view(text_.data() + cell.text.offset, cell.text.length);
      break;
    case kShared:
      v.Kind = TCellKind::ckText;
      v.Text = (*shared_)[cell.shared];
      break;
  }
  return v;
}

bool TSheetData::TextMayHoldNul() const {
  if (nul_ == TNul::kUnknown) {
    // One pass over the text of the cells and over the shared strings,
    // instead of one look per cell read (a shared string may be read by
    // thousands of cells).
    bool some = std::memchr(text_.data(), '\0', text_.size()) != nullptr;
    if (shared_ != nullptr) {
      for (size_t i = 0; i < shared_->size() && !some; ++i) {
        const std::string_view s = (*shared_)[i];
        some = std::memchr(s.data(), '\0', s.size()) != nullptr;
      }
    }
    nul_ = some ? TNul::kSome : TNul::kNone;
  }
  return nul_ == TNul::kSome;
}

void TSheetData::ReadRows(int32_t first_row, int32_t last_row, int32_t columns,
                          const TRowSink& sink) const {
  std::vector<TCellValue> values(static_cast<size_t>(columns));
  for (int32_t row = first_row; row <= last_row; ++row) {
    const bool has_cells = static_cast<size_t>(row) + 1 < row_start_.size();
    const Cell* begin = has_cells ? cells_.data() + row_start_[static_cast<size_t>(row)] : nullptr;
    const Cell* end =
        has_cells ? cells_.data() + row_start_[static_cast<size_t>(row) + 1] : nullptr;
    for (const Cell* c = begin; c != end && c->column <= columns; ++c)
      values[c->column - 1u] = Value(*c);
    sink(row, values);
    // Only the places this row filled need emptying again.
    for (const Cell* c = begin; c != end && c->column <= columns; ++c)
      values[c->column - 1u] = TCellValue();
  }
}

}  // namespace app
