// The spreadsheet controller over the file engine, on workbooks written by
// openpyxl, xlsxwriter and xlwt and on CSV files (tests/fixtures/app).
#include "app/controla_excel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <random>
#include <span>
#include <string>
#include <vector>

#include "app/errors.h"
#include "app/workbook/file_engine.h"
#include "app/workbook/workbook_reader.h"
#include "tests/app/app_test_support.h"
#include "tests/app/block_of.h"

using app::EPlanilhaError;
using app::TDMCotrolaExcel;
using app_test::BlockOf;
using app_test::Fixture;

namespace {

TDMCotrolaExcel Open(const std::string& fixture) {
  TDMCotrolaExcel excel(app::CreateFileEngine());
  excel.AbrePlanilha(Fixture(fixture));
  return excel;
}

std::vector<std::string> Names(TDMCotrolaExcel& excel) {
  std::vector<std::string> names = excel.ListaAbas();
  excel.LiberaLista();
  return names;
}

template <typename F>
std::string ErrorOf(F&& f) {
  try {
    f();
  } catch (const std::exception& e) {
    return e.what();
  }
  return "(no error)";
}

TEST(LetraColuna, NamesColumnsUpToTheLastOne) {
  const std::pair<int, const char*> cases[] = {
      {1, "A"},   {26, "Z"},   {27, "AA"},   {52, "AZ"},   {53, "BA"},   {78, "BZ"},
      {79, "CA"}, {702, "ZZ"}, {703, "AAA"}, {728, "AAZ"}, {729, "ABA"}, {16384, "XFD"}};
  for (auto [n, name] : cases)
    EXPECT_EQ(TDMCotrolaExcel::LetraColuna(n), name) << n;
}

TEST(FormataNumero, GeneralFormWithFifteenDigits) {
  const std::pair<double, const char*> cases[] = {{123, "123"},
                                                  {0.5, "0,5"},
                                                  {1.0 / 3, "0,333333333333333"},
                                                  {0.1 + 0.2, "0,3"},
                                                  {123456789012345, "123456789012345"},
                                                  {1e15, "1E15"},
                                                  {1.5e-5, "1,5E-5"},
                                                  {0.0001, "0,0001"},
                                                  {-2.5, "-2,5"},
                                                  {45322, "45322"},
                                                  {0, "0"},
                                                  {-1e-7, "-1E-7"},
                                                  {1234567.125, "1234567,125"},
                                                  {999999999999999.9, "1E15"},
                                                  {2.5e20, "2,5E20"},
                                                  {-7, "-7"},
                                                  {1e14, "100000000000000"},
                                                  {-999999999999999, "-999999999999999"}};
  for (auto [v, text] : cases)
    EXPECT_EQ(app::FormataNumero(v, ","), text) << v;
  EXPECT_EQ(app::FormataNumero(0.5, "."), "0.5");
}

// Short decimals (at most 15 digits, up to 9 decimal places) are written
// back exactly as typed, whichever way the number is formatted inside.
TEST(FormataNumero, ShortDecimalsComeBackAsTyped) {
  std::mt19937_64 rng(7);
  for (int i = 0; i < 200000; ++i) {
    const int digits = 1 + static_cast<int>(rng() % 15);
    const int decimals = 1 + static_cast<int>(rng() % 9);
    std::string m = std::to_string(rng() % 1'000'000'000'000'000);
    if (static_cast<int>(m.size()) > digits) m.resize(static_cast<size_t>(digits));
    while (static_cast<int>(m.size()) <= decimals)
      m.insert(0, 1, '0');
    std::string text = m.substr(0, m.size() - static_cast<size_t>(decimals)) + "." +
                       m.substr(m.size() - static_cast<size_t>(decimals));
    // Canonical form: no leading zeros, no trailing decimal zeros.
    while (text.size() > 1 && text[0] == '0' && text[1] != '.')
      text.erase(0, 1);
    while (text.back() == '0')
      text.pop_back();
    if (text.back() == '.') text.pop_back();
    if (rng() % 2 == 0) text.insert(0, 1, '-');
    double value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    if (value == 0 || std::abs(value) < 1e-4) continue;  // "0" and the exponent form
    std::string expected = text;
    std::replace(expected.begin(), expected.end(), '.', ',');
    ASSERT_EQ(app::FormataNumero(value, ","), expected) << text;
  }
  // Near misses that need the general rounding.
  EXPECT_EQ(app::FormataNumero(0.1 + 0.7, ","), "0,8");
  EXPECT_EQ(app::FormataNumero(0.123456789012, ","), "0,123456789012");
  EXPECT_EQ(app::FormataNumero(123456.7890123456, ","), "123456,789012346");
}

// A cell's number is the double from_chars gives for its text, whether the
// short-decimal path or the general parser reads it.
TEST(ParseCellNumber, SameDoubleAsTheGeneralParser) {
  const char* cases[] = {"0.1",
                         "-0.5",
                         "123456789012345",
                         "1234567890123456",
                         "1e5",
                         "1.5E-7",
                         " +3",
                         "00012.50",
                         "-0",
                         "1.",
                         ".5",
                         "0.30000000000000004",
                         "9.999999999999999",
                         "2.2250738585072014E-308",
                         "45123",
                         "0.000000001",
                         "999999999999999.9",
                         "-12345.6789"};
  for (const char* text : cases) {
    std::string_view t(text);
    while (!t.empty() && (t[0] == ' ' || t[0] == '+'))
      t.remove_prefix(1);
    double expected = 0;
    const auto res = std::from_chars(t.data(), t.data() + t.size(), expected);
    double value = 1;
    ASSERT_EQ(app::ParseCellNumber(text, value), res.ec == std::errc() && res.ptr == t.end())
        << text;
    if (res.ec == std::errc()) {
      EXPECT_EQ(value, expected) << text;
      EXPECT_EQ(std::signbit(value), std::signbit(expected)) << text;
    }
  }
  std::mt19937_64 rng(11);
  for (int i = 0; i < 200000; ++i) {
    std::string text = std::to_string(rng() % 1'000'000'000'000'000);
    text.resize(1 + rng() % text.size());
    text.insert(rng() % text.size(), ".");  // never last
    if (text[0] == '.') text.insert(0, "0");
    if (rng() % 2 == 0) text.insert(0, "-");
    double expected = 0, value = 1;
    std::from_chars(text.data(), text.data() + text.size(), expected);
    ASSERT_TRUE(app::ParseCellNumber(text, value)) << text;
    ASSERT_EQ(value, expected) << text;
  }
  for (const char* bad : {"", "-", "1.2.3", "abc", "1,5", "--1", "1e"}) {
    double value = 0;
    EXPECT_FALSE(app::ParseCellNumber(bad, value)) << bad;
  }
}

TEST(FileEngineXlsx, ListsWorksheetsInWorkbookOrderSkippingChartSheets) {
  auto excel = Open("openpyxl_abas.xlsx");
  EXPECT_EQ(Names(excel), (std::vector<std::string>{"Clientes", "Dados", "Resumo", "Vazia"}));
  // The last worksheet listed is current: an empty sheet gives 1 and 1.
  EXPECT_EQ(excel.UltimaLinha(), 1);
  EXPECT_EQ(excel.UltimaColuna(), 1);
  excel.SelecionaAba(3);  // Resumo: a formatted empty D7 is the last cell
  EXPECT_EQ(excel.UltimaLinha(), 7);
  EXPECT_EQ(excel.UltimaColuna(), 4);
  EXPECT_EQ(excel.LeCelula(4, 7), "");
  EXPECT_EQ(excel.LeCelula(3, 4), "7");
  EXPECT_EQ(excel.LeCelula(1, 1), "cabeçalho");
  excel.SelecionaAba(2);  // Dados: only A1
  EXPECT_EQ(excel.UltimaLinha(), 1);
  EXPECT_EQ(excel.UltimaColuna(), 1);
}

TEST(FileEngineXlsx, ReadsValuesAsTheControllerGivesThem) {
  auto excel = Open("openpyxl_abas.xlsx");
  excel.SelecionaAba(1);
  const char* expected[] = {"123",
                            "0,5",
                            "0,333333333333333",
                            "0,3",
                            "123456789012345",
                            "1E15",
                            "1,5E-5",
                            "0,0001",
                            "-2,5",
                            "45322",
                            "True",
                            "False",
                            "João da Silva <joão@exemplo.com.br> & cia",
                            ""};
  for (int row = 1; row <= 14; ++row) {
    EXPECT_EQ(excel.LeCelula(2, row), expected[row - 1]) << "B" << row;
  }
  EXPECT_EQ(excel.UltimaLinha(), 15);
  EXPECT_EQ(excel.UltimaColuna(), 2);
  // Past the used area every cell is empty.
  EXPECT_EQ(excel.LeCelula(46, 3000), "");
  // An error value cannot be read.
  const std::string error = ErrorOf([&] { excel.LeCelula(2, 15); });
  EXPECT_NE(error.find("B15"), std::string::npos) << error;
  EXPECT_NE(error.find("#N/A"), std::string::npos) << error;
}

TEST(FileEngineXlsx, SharedStringsRichTextFormulasAndTheLastColumn) {
  auto excel = Open("xlsxwriter_rich.xlsx");
  EXPECT_EQ(Names(excel), std::vector<std::string>{"Rico"});
  EXPECT_EQ(excel.LeCelula(1, 1), "olá mundo");  // three rich-text runs
  EXPECT_EQ(excel.LeCelula(1, 2), "2");          // formula: cached value
  EXPECT_EQ(excel.LeCelula(1, 3), "ab");
  EXPECT_THROW(excel.LeCelula(1, 4), EPlanilhaError);  // =1/0
  EXPECT_EQ(excel.LeCelula(1, 5), "True");
  EXPECT_EQ(excel.LeCelula(46, 3), "email@exemplo.com");
  EXPECT_EQ(excel.LeCelula(18, 10), "00000123");
  EXPECT_EQ(excel.LeCelula(16384, 2), "última coluna");
  EXPECT_EQ(excel.LeCelula(1, 6), std::string(150, 'x'));
  EXPECT_EQ(excel.UltimaLinha(), 10);
  EXPECT_EQ(excel.UltimaColuna(), 16384);
  EXPECT_THROW(excel.LeCelula(16385, 1), EPlanilhaError);
  EXPECT_THROW(excel.LeCelula(1, 0), EPlanilhaError);
}

TEST(FileEngineXlsx, InlineStringsAndSparseCells) {
  auto excel = Open("openpyxl_inline.xlsx");
  EXPECT_EQ(Names(excel), std::vector<std::string>{"Inline"});
  EXPECT_EQ(excel.LeCelula(1, 1), "código");
  EXPECT_EQ(excel.LeCelula(3, 1), "");
  EXPECT_EQ(excel.LeCelula(4, 1), "último");
  EXPECT_EQ(excel.LeCelula(5, 2), "E2");
  EXPECT_EQ(excel.UltimaLinha(), 2);
  EXPECT_EQ(excel.UltimaColuna(), 5);
}

TEST(FileEngineXls, ReadsBiffWorkbooks) {
  auto excel = Open("xlwt.xls");
  EXPECT_EQ(Names(excel), (std::vector<std::string>{"Clientes", "Dados", "Resumo"}));
  EXPECT_EQ(excel.UltimaLinha(), 10);  // Resumo: E10
  EXPECT_EQ(excel.UltimaColuna(), 5);
  excel.SelecionaAba(1);
  EXPECT_EQ(excel.LeCelula(1, 1), "inteiro");
  EXPECT_EQ(excel.LeCelula(2, 1), "123");
  EXPECT_EQ(excel.LeCelula(2, 2), "0,5");
  EXPECT_EQ(excel.LeCelula(2, 3), "-2,5");
  EXPECT_EQ(excel.LeCelula(2, 4), "45322");  // a date: its serial number
  EXPECT_EQ(excel.LeCelula(2, 5), "True");
  EXPECT_EQ(excel.LeCelula(2, 6), "João <joão@exemplo.com>");
  EXPECT_EQ(excel.UltimaLinha(), 7);  // the formatted blank D7
  EXPECT_EQ(excel.UltimaColuna(), 4);
}

TEST(FileEngineXls, BooleansErrorsAndFormulaResultsAsSaved) {
  auto excel = Open("xlwt_formulas.xls");
  // The chart sheet between the two worksheets is no worksheet.
  EXPECT_EQ(Names(excel), (std::vector<std::string>{"Valores", "Fim"}));
  EXPECT_EQ(excel.LeCelula(1, 1), "fim");
  excel.SelecionaAba(1);
  std::string long_text;
  for (int i = 0; i < 3000; ++i)
    long_text += "ção";
  const std::pair<std::pair<int, int>, std::string> cells[] = {
      {{1, 1}, "True"}, {{1, 2}, "False"}, {{2, 1}, "2,5"},     {{2, 2}, "ab"},
      {{2, 3}, "True"}, {{2, 5}, ""},      {{2, 6}, long_text}, {{2, 7}, "preço 10 €"}};
  for (const auto& [at, text] : cells)
    EXPECT_EQ(excel.LeCelula(at.first, at.second), text) << at.first << "," << at.second;
  const std::pair<std::pair<int, int>, const char*> errors[] = {
      {{1, 3}, "#DIV/0!"}, {{1, 4}, "#N/A"}, {{2, 4}, "#DIV/0!"}};
  for (const auto& e : errors) {
    const std::string error = ErrorOf([&] { excel.LeCelula(e.first.first, e.first.second); });
    EXPECT_NE(error.find(e.second), std::string::npos) << error;
  }
  EXPECT_EQ(excel.UltimaLinha(), 7);
  EXPECT_EQ(excel.UltimaColuna(), 2);
}

TEST(FileEngineCsv, OneSheetNamedAfterTheFileWithQuotedFields) {
  auto excel = Open("ponto_e_virgula.csv");
  EXPECT_EQ(Names(excel), std::vector<std::string>{"ponto_e_virgula"});
  EXPECT_EQ(excel.LeCelula(1, 1), "codigo");  // the byte-order mark is not text
  EXPECT_EQ(excel.LeCelula(2, 2), "joão@exemplo.com");
  EXPECT_EQ(excel.LeCelula(3, 2), "com \"aspas\"; e ponto e vírgula");
  EXPECT_EQ(excel.LeCelula(1, 3), "");  // an empty line is an empty row
  EXPECT_EQ(excel.LeCelula(2, 4), "");
  EXPECT_EQ(excel.LeCelula(3, 4), "duas\r\nlinhas");
  EXPECT_EQ(excel.UltimaLinha(), 4);
  EXPECT_EQ(excel.UltimaColuna(), 3);
}

TEST(FileEngineCsv, CommaAndTabSeparatorsAndWindows1252) {
  auto comma = Open("virgula_1252.csv");
  comma.SelecionaAba(1);
  EXPECT_EQ(comma.LeCelula(2, 2), "joão@exemplo.com");
  EXPECT_EQ(comma.UltimaColuna(), 2);
  auto tab = Open("tabulacao.csv");
  tab.SelecionaAba(1);
  EXPECT_EQ(tab.LeCelula(3, 2), "3");
  EXPECT_EQ(tab.UltimaLinha(), 2);
  EXPECT_EQ(tab.UltimaColuna(), 3);
}

TEST(FileEngineCsv, TextThatIsNotWellFormedUtf8IsReadAsWindows1252) {
  // One ill-formed part anywhere makes the whole file Windows-1252, byte for
  // byte, the well-formed "jo\xC3\xA3o" before it included.
  struct Case {
    const char* what;
    std::string bytes;
    std::string text;
  };
  const Case kCases[] = {
      {"overlong", "\xC0\xAF", "\xC3\x80\xC2\xAF"},
      {"encoded surrogate", "\xED\xA0\x80", "\xC3\xAD\xC2\xA0\xE2\x82\xAC"},
      {"cut short", "\xC3", "\xC3\x83"},
      {"above U+10FFFF", "\xF4\x90\x80\x80", "\xC3\xB4\xC2\x90\xE2\x82\xAC\xE2\x82\xAC"},
      {"lead F5", "\xF5\xA1", "\xC3\xB5\xC2\xA1"},
  };
  app_test::TempDir dir("csv-utf8");
  for (const Case& c : kCases) {
    const std::string path = dir.File("ilegivel.csv");
    std::ofstream(path, std::ios::binary) << "jo\xC3\xA3o;" << c.bytes << "\n";
    TDMCotrolaExcel excel(app::CreateFileEngine());
    excel.AbrePlanilha(path);
    excel.SelecionaAba(1);
    EXPECT_EQ(excel.LeCelula(1, 1), "jo\xC3\x83\xC2\xA3o") << c.what;
    EXPECT_EQ(excel.LeCelula(2, 1), c.text) << c.what;
  }
}

TEST(FileEngineBadInput, EveryBadFileGivesAClearErrorAndKeepsThePreviousWorkbook) {
  const std::pair<const char*, const char*> cases[] = {
      {"nao_planilha.xlsx", "não é uma planilha"},
      {"danificada.xlsx", "danificad"},
      {"bomba.xlsx", "tamanho máximo"},
      {"entidades.xlsx", "DTD"},
      {"entidade_externa.xlsx", "DTD"},
      {"protegida.xlsx", "senha"},
      {"nao_existe.xlsx", "Não foi possível abrir"},
  };
  for (auto [file, message] : cases) {
    auto excel = Open("openpyxl_inline.xlsx");
    const std::string error = ErrorOf([&, file = file] {
      excel.AbrePlanilha(Fixture(file));
      // Worksheets are read on first use.
      excel.ListaAbas();
      excel.UltimaLinha();
    });
    EXPECT_NE(error.find(message), std::string::npos) << file << ": " << error;
  }
  // A failed open leaves the workbook opened before.
  auto excel = Open("openpyxl_inline.xlsx");
  EXPECT_THROW(excel.AbrePlanilha(Fixture("nao_planilha.xlsx")), EPlanilhaError);
  EXPECT_EQ(Names(excel), std::vector<std::string>{"Inline"});
  EXPECT_EQ(excel.LeCelula(5, 2), "E2");
}

TEST(FileEngine, OpensFilesWhoseNamesHaveAccents) {
  app_test::TempDir dir("acentos");
  for (const char* name : {"xlwt.xls", "openpyxl_inline.xlsx", "ponto_e_virgula.csv"}) {
    const std::string ext = std::string(name).substr(std::string(name).rfind('.'));
    // The folder is ASCII; the name is appended as UTF-8 bytes.
    std::string target = dir.File("x");
    target.pop_back();
    target += "Área de Trabalho João" + ext;
    std::filesystem::copy_file(std::filesystem::path(Fixture(name)),
                               std::filesystem::path(std::u8string(target.begin(), target.end())));
    TDMCotrolaExcel excel(app::CreateFileEngine());
    excel.AbrePlanilha(target);
    EXPECT_FALSE(Names(excel).empty()) << name;
    if (ext == ".csv") {
      EXPECT_EQ(Names(excel)[0], "Área de Trabalho João");
    }
  }
}

// Damaged copies of real workbooks (bytes changed at random, fixed seed):
// each either reads or fails with EPlanilhaError, never anything worse.
TEST(FileEngineBadInput, DamagedCopiesFailCleanly) {
  app_test::TempDir dir("mutated");
  std::mt19937 rng(2024);
  for (const char* name : {"xlsxwriter_rich.xlsx", "openpyxl_abas.xlsx", "xlwt.xls",
                           "xlwt_formulas.xls", "ponto_e_virgula.csv"}) {
    std::string original;
    {
      std::ifstream in(Fixture(name), std::ios::binary);
      original.assign(std::istreambuf_iterator<char>(in), {});
    }
    const std::string ext = std::string(name).substr(std::string(name).rfind('.'));
    for (int round = 0; round < 60; ++round) {
      std::string bytes = original;
      const int changes = 1 + static_cast<int>(rng() % 8);
      for (int c = 0; c < changes; ++c) {
        bytes[rng() % bytes.size()] = static_cast<char>(rng());
      }
      if (round % 10 == 9) bytes.resize(rng() % bytes.size());
      const std::string path = dir.File("m" + std::to_string(round) + ext);
      std::ofstream(path, std::ios::binary) << bytes;
      try {
        TDMCotrolaExcel excel(app::CreateFileEngine());
        excel.AbrePlanilha(path);
        const int sheets = static_cast<int>(excel.ListaAbas().size());
        for (int s = 1; s <= sheets; ++s) {
          excel.SelecionaAba(s);
          const int rows = std::min(excel.UltimaLinha(), 50);
          const int cols = std::min(excel.UltimaColuna(), 50);
          for (int r = 1; r <= rows; ++r) {
            for (int k = 1; k <= cols; ++k) {
              try {
                excel.LeCelula(k, r);
              } catch (const EPlanilhaError&) {
                // an error cell
              }
            }
          }
        }
      } catch (const EPlanilhaError&) {
        // refused with a message: fine
      }
    }
  }
}

TEST(FileEngineBadInput, PositionsOutsideTheWorkbook) {
  auto excel = Open("openpyxl_abas.xlsx");
  EXPECT_THROW(excel.SelecionaAba(5), EPlanilhaError);
  EXPECT_THROW(excel.SelecionaAba(0), EPlanilhaError);
  TDMCotrolaExcel closed(app::CreateFileEngine());
  EXPECT_THROW(closed.ListaAbas(), EPlanilhaError);
  EXPECT_THROW(closed.UltimaLinha(), EPlanilhaError);
}

// An engine that reads blocks cell by cell (the interface's default), over
// the file engine.
class CellByCellEngine : public app::TSpreadsheetEngine {
 public:
  CellByCellEngine() : inner_(app::CreateFileEngine()) {}
  void Open(const std::string& f) override { inner_->Open(f); }
  int32_t SheetCount() override { return inner_->SheetCount(); }
  void AttachSheet(int32_t p) override { inner_->AttachSheet(p); }
  std::string CurrentSheetName() override { return inner_->CurrentSheetName(); }
  int32_t LastRow() override { return inner_->LastRow(); }
  int32_t LastColumn() override { return inner_->LastColumn(); }
  app::TCellValue ReadCell(int32_t c, int32_t r) override { return inner_->ReadCell(c, r); }

 private:
  std::unique_ptr<app::TSpreadsheetEngine> inner_;
};

TEST(LeLinhas, GivesWhatLeCelulaGivesWithEitherEngine) {
  struct Case {
    const char* fixture;
    int32_t sheet;
  };
  const Case cases[] = {{"openpyxl_abas.xlsx", 1},   {"openpyxl_abas.xlsx", 3},
                        {"openpyxl_inline.xlsx", 1}, {"xlwt.xls", 1},
                        {"ponto_e_virgula.csv", 1},  {"xlsxwriter_rich.xlsx", 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.fixture) + " sheet " + std::to_string(c.sheet));
    TDMCotrolaExcel files(app::CreateFileEngine());
    TDMCotrolaExcel cells(std::make_unique<CellByCellEngine>());
    for (TDMCotrolaExcel* excel : {&files, &cells}) {
      excel->AbrePlanilha(Fixture(c.fixture));
      excel->SelecionaAba(c.sheet);
    }
    // The used area and a row and a column past it; the columns stop at the
    // last one a worksheet has.
    const int32_t last = files.UltimaLinha() + 1;
    const int32_t columns = std::min(files.UltimaColuna() + 1, app::kMaxSheetColumns);
    std::vector<std::string> expected;
    std::string expected_error;
    for (int32_t r = 1; r <= last && expected_error.empty(); ++r) {
      std::string line;
      for (int32_t k = 1; k <= columns && expected_error.empty(); ++k) {
        try {
          line.append(files.LeCelula(k, r)).push_back('|');
        } catch (const EPlanilhaError& e) {
          expected_error = e.what();
        }
      }
      if (expected_error.empty()) expected.push_back(line);
    }
    EXPECT_EQ(BlockOf(files, 1, last, columns), std::make_pair(expected, expected_error));
    EXPECT_EQ(BlockOf(cells, 1, last, columns), std::make_pair(expected, expected_error));
  }
}

TEST(LeLinhas, RangesOutsideAWorksheetAreRefusedAndEmptyRangesGiveNothing) {
  for (bool by_cell : {false, true}) {
    TDMCotrolaExcel excel(
        by_cell ? std::unique_ptr<app::TSpreadsheetEngine>(std::make_unique<CellByCellEngine>())
                : app::CreateFileEngine());
    excel.AbrePlanilha(Fixture("openpyxl_inline.xlsx"));
    excel.SelecionaAba(1);
    EXPECT_EQ(BlockOf(excel, 3, 2, 5).first.size(), 0u);
    EXPECT_EQ(BlockOf(excel, 1, 2, 0).first, (std::vector<std::string>{"", ""}));
    EXPECT_NE(BlockOf(excel, 0, 2, 5).second, "");
    EXPECT_NE(BlockOf(excel, 1, app::kMaxSheetRows + 1, 5).second, "");
    EXPECT_NE(BlockOf(excel, 1, 2, app::kMaxSheetColumns + 1).second, "");
    EXPECT_NE(BlockOf(excel, 1, 2, -1).second, "");
  }
}

}  // namespace
