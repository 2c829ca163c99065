#include "app/importa_planilha.h"

#include <algorithm>
#include <limits>
#include <new>
#include <span>

#include "app/errors.h"

namespace app {

std::string TextoProgresso(int64_t row, int64_t count) {
  return "Processando Registro " + std::to_string(row) + " de " + std::to_string(count);
}

int32_t StrToInt(std::string_view text) {
  size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  int64_t value = 0;
  const size_t first_digit = i;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c < '0' || c > '9') break;
    value = value * 10 + (c - '0');
    if (value > static_cast<int64_t>(std::numeric_limits<int32_t>::max()) + 1) break;
  }
  if (negative) value = -value;
  if (i != text.size() || i == first_digit || value > std::numeric_limits<int32_t>::max() ||
      value < std::numeric_limits<int32_t>::min()) {
    throw EConvertError("'" + std::string(text) + "' is not a valid integer value");
  }
  return static_cast<int32_t>(value);
}

namespace {

// Refuses, before anything is touched, an import that would only fill
// memory: a row number past the last row a worksheet can have, or more
// cells than the table takes (a formatted cell far out, say at XFD1048576,
// makes the used area 16,384 columns wide). 64-bit maths: rows x columns
// passes 2^32 on a 32-bit system.
void VerificaTamanho(int32_t rows, int32_t columns) {
  if (rows > kMaxSheetRows) {
    throw EImportacaoRecusada("O número da linha informado (" + std::to_string(rows) +
                              ") é maior que o número máximo de linhas de uma planilha (1048576).");
  }
  const int64_t cells = int64_t{std::max(rows, 0)} * std::max(columns, 0);
  if (cells > kMaxImportCells) {
    throw EImportacaoRecusada(
        "A planilha é grande demais para importar: " + std::to_string(rows) + " linhas x " +
        std::to_string(columns) + " colunas (até a coluna " +
        TDMCotrolaExcel::LetraColuna(columns) + ") são " + std::to_string(cells) +
        " células, mais que as " + std::to_string(kMaxImportCells) +
        " aceitas. Confira o número da linha e apague as células preenchidas ou formatadas "
        "além dos dados.");
  }
}

void Importa(TDMCotrolaExcel& excel, int32_t rows, int32_t columns, TTabelaTemp& tabela,
             const TRunFeedback& feedback) {
  int64_t progress = 0;
  const int64_t maximum = std::max(rows, 0);
  if (feedback.Barra) feedback.Barra(progress, maximum);
  if (feedback.Fase) feedback.Fase(kFaseImportacao);

  tabela.Close();
  tabela.ClearFields();
  for (int32_t k = 1; k <= columns; ++k)
    tabela.AddFieldDef(std::to_string(k), 100);
  tabela.Close();
  tabela.CreateDataSet();
  // Text that outlives the workbook is kept by reference, not copied.
  tabela.ShareText(excel.Engine().LastingText());
  // Rows past the used area are imported too (all empty); reserve only for
  // what is likely to come.
  tabela.ReserveRows(std::min<int64_t>(maximum, std::max(excel.UltimaLinha(), 1)));

  // The rows come from the controller as one block; each is shown, posted
  // and counted as it arrives, so the window stays responsive and an error
  // leaves the rows before it posted.
  excel.LeLinhas(1, rows, columns, [&](int32_t r, std::span<const std::string_view> texts) {
    if (feedback.Status) feedback.Status(TextoProgresso(r, rows));
    if (feedback.ProcessaMensagens) feedback.ProcessaMensagens();
    // Column k of the sheet goes to field "k", which is index k - 1.
    tabela.AppendRow(texts);
    ++progress;
    if (feedback.Barra) feedback.Barra(progress, maximum);
  });
}

}  // namespace

void ImportaPlanilha(TDMCotrolaExcel& excel, std::string_view num_linha, TTabelaTemp& tabela,
                     const TRunFeedback& feedback) {
  const int32_t columns = excel.UltimaColuna();
  const int32_t rows = StrToInt(num_linha);
  VerificaTamanho(rows, columns);
  try {
    Importa(excel, rows, columns, tabela, feedback);
  } catch (const std::bad_alloc&) {
    throw EPlanilhaError("Memória insuficiente para importar a planilha (" + std::to_string(rows) +
                         " linhas x " + std::to_string(columns) + " colunas).");
  }
}

}  // namespace app
