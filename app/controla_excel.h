// TDMCotrolaExcel: the spreadsheet controller. The only part of the updater
// that reads workbooks; it runs over a TSpreadsheetEngine (file engine or
// Excel automation) and gives the operations the window and the import use.
//
//   app::TDMCotrolaExcel excel(app::CreateFileEngine(), {","});
//   excel.AbrePlanilha("C:\\dados\\clientes.xlsx");
//   for (auto& nome : excel.ListaAbas()) ...;  // current sheet: the last one
//   excel.LiberaLista();
//   excel.SelecionaAba(2);
//   int32_t c = excel.UltimaColuna();
//   std::string v = excel.LeCelula(46, 3);      // cell AT3 as text
//
// LeCelula's text: empty cell ""; text unchanged; numbers in the shortest
// general form with at most 15 significant digits, the given decimal
// separator, no thousands separator, exponent form ("1E15", "1,5E-5") only
// outside 1E-4 <= |x| < 1E15 (dates give their serial day number); booleans
// the given words ("True"/"False"). An error cell (#N/A...) and a text
// holding a NUL character throw EPlanilhaError naming the cell. Errors of the engine propagate
// unchanged.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/spreadsheet_engine.h"

namespace app {

struct TFormatoCelula {
  std::string DecimalSeparator = ",";
  std::string TrueText = "True";
  std::string FalseText = "False";
};

class TDMCotrolaExcel {
 public:
  explicit TDMCotrolaExcel(std::unique_ptr<TSpreadsheetEngine> engine, TFormatoCelula formato = {});

  void AbrePlanilha(const std::string& file_name);
  // The names of all worksheets in workbook order; the list stays owned by
  // the controller until LiberaLista.
  const std::vector<std::string>& ListaAbas();
  void LiberaLista();
  void SelecionaAba(int32_t position);
  int32_t UltimaLinha();
  int32_t UltimaColuna();
  std::string LeCelula(int32_t column, int32_t row);
  // Same text as LeCelula, written into `out` (its capacity is reused).
  void LeCelulaInto(int32_t column, int32_t row, std::string& out);
  // Same text as LeCelula as a view: into the engine's text (valid until the
  // next call on the controller) or into `scratch` for converted values.
  std::string_view LeCelulaView(int32_t column, int32_t row, std::string& scratch);

  // The texts LeCelula gives for columns 1..columns of rows first..last,
  // read from the engine as a block and handed over a row at a time:
  // sink(row, texts), the views valid during the call. An error cell throws
  // as LeCelula does once the rows before it have been handed over.
  using TLinhaSink = std::function<void(int32_t row, std::span<const std::string_view> texts)>;
  void LeLinhas(int32_t first_row, int32_t last_row, int32_t columns, const TLinhaSink& sink);

  static std::string LetraColuna(int32_t column);

  TSpreadsheetEngine& Engine() { return *engine_; }
  const TFormatoCelula& Formato() const { return formato_; }

 private:
  std::unique_ptr<TSpreadsheetEngine> engine_;
  TFormatoCelula formato_;
  // A cell's text as LeCelula gives it: a view of the engine's text or of
  // the words, or, for a number, of its text appended to `numeros`; an
  // error cell throws.
  // `check_nul` false skips looking for a NUL in text the engine says
  // holds none.
  std::string_view Texto(const TCellValue& value, int32_t column, int32_t row, std::string& numeros,
                         bool check_nul = true) const;

  std::unique_ptr<std::vector<std::string>> lista_nomes_;
  // LeLinhas' buffers, kept between rows and calls.
  std::string numeros_;
  std::vector<std::string_view> textos_;
  std::vector<uint32_t> fim_numero_;
};

// Number to text as LeCelula gives it (15 significant digits, general form).
void FormataNumero(double value, std::string_view decimal_separator, std::string& out);
std::string FormataNumero(double value, std::string_view decimal_separator);
// The same text, appended to `out`.
void AcrescentaNumero(double value, std::string_view decimal_separator, std::string& out);

}  // namespace app
