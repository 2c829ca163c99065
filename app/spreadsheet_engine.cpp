#include "app/spreadsheet_engine.h"

#include <string>
#include <vector>

#include "app/errors.h"

namespace app {

void CheckRowBlock(int32_t first_row, int32_t last_row, int32_t columns) {
  if (last_row < first_row) return;
  if (first_row < 1 || last_row > kMaxSheetRows || columns < 0 || columns > kMaxSheetColumns) {
    throw EPlanilhaError("Intervalo de células inválido (linhas " + std::to_string(first_row) +
                         " a " + std::to_string(last_row) + ", colunas 1 a " +
                         std::to_string(columns) + ").");
  }
}

void TSpreadsheetEngine::ReadRows(int32_t first_row, int32_t last_row, int32_t columns,
                                  const TRowSink& sink) {
  CheckRowBlock(first_row, last_row, columns);
  // ReadCell's text lives only until the next call, so a row's texts are
  // copied before the next cell is read.
  std::vector<TCellValue> values(static_cast<size_t>(columns));
  std::vector<std::string> texts(static_cast<size_t>(columns));
  for (int32_t row = first_row; row <= last_row; ++row) {
    for (int32_t k = 0; k < columns; ++k) {
      TCellValue& v = values[static_cast<size_t>(k)];
      v = ReadCell(k + 1, row);
      if (!v.Text.empty()) {
        texts[static_cast<size_t>(k)].assign(v.Text);
        v.Text = texts[static_cast<size_t>(k)];
      }
    }
    sink(row, values);
  }
}

}  // namespace app
