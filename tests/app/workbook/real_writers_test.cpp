// One workbook as real programs save it (LibreOffice Calc and Gnumeric,
// tests/fixtures/app/make_workbooks.py, corpus()): each file reads, cell by
// cell, as Excel shows it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/controla_excel.h"
#include "app/workbook/file_engine.h"
#include "tests/app/app_test_support.h"

namespace {

// Rows 1 to 4, columns A to G, as LeCelula gives them with a decimal comma.
std::vector<std::vector<std::string>> Expected(const std::string& literal_escape) {
  return {
      {"código", "nome", "e-mail, principal", "valor", "data", "ativo", "obs"},
      {"00000123", "João da Silva", "joao@exemplo.com.br", "12345,6789", "45322", "True",
       "linha 1\nlinha 2"},
      {"7", "Ágata & Cia <ltda>", "agata@exemplo.com", "0,3", "45322,5208333333", "False",
       "tab\tdepois"},
      {"A-7", literal_escape, "x@y.z", "-2,5", "", "", "ç€😀"},
  };
}

// Rows 1 to 4, columns A to G as expected; then the two columns the update
// reads, and the used area.
void ExpectSheet(app::TDMCotrolaExcel& excel, const std::vector<std::vector<std::string>>& rows,
                 int32_t last_row) {
  for (int32_t row = 1; row <= 4; ++row) {
    for (int32_t column = 1; column <= 7; ++column) {
      EXPECT_EQ(excel.LeCelula(column, row), rows[row - 1][column - 1])
          << app::TDMCotrolaExcel::LetraColuna(column) << row;
    }
  }
  EXPECT_EQ(excel.LeCelula(18, 1), "CODIGO");
  EXPECT_EQ(excel.LeCelula(46, 1), "EMAIL");
  EXPECT_EQ(excel.UltimaLinha(), last_row);
  EXPECT_EQ(excel.UltimaColuna(), 46);
}

TEST(RealWriters, XlsxFromLibreOfficeAndGnumericReadAsExcelShowsThem) {
  struct Case {
    const char* fixture;
    // The source text "literal _x0041_ aqui": LibreOffice saves it escaped
    // (_x005F_x0041_), so Excel shows it as typed; Gnumeric saves it as it
    // is, and Excel reads the escape in it as "A".
    const char* literal_escape;
  };
  const Case kCases[] = {
      {"corpus_libreoffice.xlsx", "literal _x0041_ aqui"},
      {"corpus_gnumeric.xlsx", "literal A aqui"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.fixture);
    app::TDMCotrolaExcel excel(app::CreateFileEngine());
    excel.AbrePlanilha(app_test::Fixture(c.fixture));
    EXPECT_EQ(excel.ListaAbas(), std::vector<std::string>{"Clientes"});
    excel.SelecionaAba(1);
    // A formatted empty cell at D7, below the data: Excel's used range
    // includes it.
    ExpectSheet(excel, Expected(c.literal_escape), 7);
  }
}

// LibreOffice's "Unicode text" (UTF-16 with a byte-order mark, tab-separated,
// as Excel's), saved with a .csv name: the comma in the first row is text.
TEST(RealWriters, UnicodeTextFromLibreOfficeReadsWithTabs) {
  app::TDMCotrolaExcel excel(app::CreateFileEngine());
  excel.AbrePlanilha(app_test::Fixture("corpus_texto_unicode.csv"));
  excel.SelecionaAba(1);
  const std::vector<std::vector<std::string>> expected = {
      {"código", "nome", "e-mail, principal", "valor", "data", "ativo", "obs"},
      {"00000123", "João da Silva", "joao@exemplo.com.br", "12345.6789", "2024-01-31", "TRUE",
       "linha 1\nlinha 2"},
      {"7", "Ágata & Cia <ltda>", "agata@exemplo.com", "0.3", "2024-01-31 12:30:00", "FALSE",
       "tab\tdepois"},
      {"A-7", "literal _x0041_ aqui", "x@y.z", "-2.5", "", "", "ç€😀"},
  };
  ExpectSheet(excel, expected, 4);
}

}  // namespace
