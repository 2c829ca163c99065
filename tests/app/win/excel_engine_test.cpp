// The Excel automation engine against a stand-in automation server that
// this process registers under the application's class identifier and that
// answers from workbook files.
#include "app/win/excel_engine.h"

#include <gtest/gtest.h>

#include <objbase.h>

#include <algorithm>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

#include "app/controla_excel.h"
#include "app/database/tabela_temp.h"
#include "app/errors.h"
#include "app/importa_planilha.h"
#include "app/workbook/file_engine.h"
#include "tests/app/block_of.h"
#include "tests/app/win/excel_standin.h"

using app_test::BlockOf;

namespace {

std::string Fixture(const char* name) {
  std::string path = "Z:" + std::string(PROJECT_SOURCE_DIR) + "/tests/fixtures/app/" + name;
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path;
}

class ExcelEngineTest : public ::testing::Test {
 protected:
  void SetUp() override { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
  void TearDown() override {
    server_.reset();
    CoUninitialize();
  }
  std::unique_ptr<TExcelStandIn> server_ = std::make_unique<TExcelStandIn>();
};

TEST_F(ExcelEngineTest, WithoutAServerTheClassIsNotRegistered) {
  app::TDMCotrolaExcel excel(std::make_unique<TExcelEngine>());
  try {
    excel.AbrePlanilha(Fixture("xlwt.xls"));
    ADD_FAILURE() << "opened without a server";
  } catch (const app::EPlanilhaError& e) {
    EXPECT_STREQ(e.what(), "Class not registered");
  }
}

TEST_F(ExcelEngineTest, ReadsAWorkbookThroughTheRunningServerAsTheFileEngineDoes) {
  server_->Register(true, true);
  app::TDMCotrolaExcel excel(std::make_unique<TExcelEngine>(), {","});
  app::TDMCotrolaExcel file(app::CreateFileEngine(), {","});
  excel.AbrePlanilha(Fixture("xlwt.xls"));
  file.AbrePlanilha(Fixture("xlwt.xls"));
  TStandInLog& log = server_->Log();
  EXPECT_FALSE(log.display_alerts);
  EXPECT_EQ(log.open_args, 15u);  // the file name and 14 omitted arguments
  EXPECT_EQ(log.lcid, GetUserDefaultLCID());
  EXPECT_EQ(log.calls.front(), L"DisplayAlerts");
  EXPECT_EQ(log.factory_creations, 0);  // attached to the running instance

  EXPECT_EQ(excel.ListaAbas(), (std::vector<std::string>{"Clientes", "Dados", "Resumo"}));
  excel.LiberaLista();
  EXPECT_EQ(excel.UltimaLinha(), 10);  // the last worksheet listed: Resumo
  excel.SelecionaAba(1);
  EXPECT_EQ(log.active_sheet, 1);
  EXPECT_TRUE(log.screen_updating);
  EXPECT_EQ(excel.LeCelula(2, 1), "123");
  EXPECT_EQ(excel.LeCelula(2, 2), "0,5");
  EXPECT_EQ(excel.LeCelula(3, 3), "");

  // Every cell of every worksheet gives the file engine's text.
  for (int32_t k = 1; k <= 3; ++k) {
    excel.SelecionaAba(k);
    file.SelecionaAba(k);
    ASSERT_EQ(excel.UltimaLinha(), file.UltimaLinha()) << k;
    ASSERT_EQ(excel.UltimaColuna(), file.UltimaColuna()) << k;
    for (int32_t row = 1; row <= file.UltimaLinha(); ++row) {
      for (int32_t col = 1; col <= file.UltimaColuna(); ++col) {
        EXPECT_EQ(excel.LeCelula(col, row), file.LeCelula(col, row))
            << k << " " << col << "," << row;
      }
    }
  }
  // The last cell is found through SpecialCells, Activate and ActiveCell.
  auto count = [&](const wchar_t* name) {
    return std::count(log.calls.begin(), log.calls.end(), std::wstring(name));
  };
  EXPECT_GT(count(L"SpecialCells"), 0);
  EXPECT_GT(count(L"ActiveCell"), 0);
  EXPECT_GT(count(L"Value2"), 0);
}

TEST_F(ExcelEngineTest, ServerErrorsCarryTheServersMessageAndKeepTheOpenWorkbook) {
  server_->Register(true, true);
  app::TDMCotrolaExcel excel(std::make_unique<TExcelEngine>(), {","});
  excel.AbrePlanilha(Fixture("xlwt.xls"));
  struct TCase {
    std::function<void()> call;
    std::string prefix;
  } cases[] = {
      {[&] { excel.AbrePlanilha(Fixture("nao_existe.xlsx")); }, "Excel cannot open the file: "},
      {[&] { excel.SelecionaAba(4); }, "Subscript out of range"},
      {[&] { excel.SelecionaAba(0); }, "Subscript out of range"},
  };
  for (const auto& c : cases) {
    try {
      c.call();
      ADD_FAILURE() << "no error for " << c.prefix;
    } catch (const app::EPlanilhaError& e) {
      EXPECT_EQ(std::string(e.what()).substr(0, c.prefix.size()), c.prefix);
    }
  }
  EXPECT_EQ(excel.ListaAbas().size(), 3u);  // the workbook opened first is still current
  excel.LiberaLista();
}

TEST_F(ExcelEngineTest, StartsANewServerWhenNoneIsRunning) {
  server_->Register(false, true);
  app::TDMCotrolaExcel excel(std::make_unique<TExcelEngine>(), {","});
  excel.AbrePlanilha(Fixture("xlwt.xls"));
  EXPECT_EQ(server_->Log().factory_creations, 1);
  EXPECT_EQ(excel.ListaAbas().size(), 3u);
  excel.LiberaLista();
  excel.AbrePlanilha(Fixture("xlwt.xls"));  // the same instance serves later opens
  EXPECT_EQ(server_->Log().factory_creations, 1);
}

TEST_F(ExcelEngineTest, LeLinhasGivesTheFileEnginesRowsInBlocksOfAnySize) {
  // A budget of 1 cell reads a row per call, 7 cells a few rows of a narrow
  // sheet, the default the whole used area of these small sheets at once.
  struct Case {
    const char* fixture;
    int32_t sheet;
    int32_t block_cells;
  } cases[] = {
      {"openpyxl_abas.xlsx", 1, TExcelEngine::kBlockCells},  // #N/A after 14 rows
      {"openpyxl_abas.xlsx", 1, 7},
      {"openpyxl_abas.xlsx", 3, 1},  // a single used cell
      {"openpyxl_abas.xlsx", 4, 5},  // sparse, a formatted cell last
      {"openpyxl_inline.xlsx", 1, 6},
      {"xlsxwriter_rich.xlsx", 1, TExcelEngine::kBlockCells},  // 16384 columns, #DIV/0!
      {"xlsxwriter_rich.xlsx", 1, 1},
      {"xlwt.xls", 1, TExcelEngine::kBlockCells},  // booleans, a date
      {"xlwt.xls", 1, 5},
      {"xlwt.xls", 3, 1},
      {"clientes.xlsx", 1, 100},
      {"ponto_e_virgula.csv", 1, 4},
  };
  server_->Register(true, false);
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.fixture) + " sheet " + std::to_string(c.sheet) + " block " +
                 std::to_string(c.block_cells));
    app::TDMCotrolaExcel excel(std::make_unique<TExcelEngine>(c.block_cells), {","});
    app::TDMCotrolaExcel file(app::CreateFileEngine(), {","});
    excel.AbrePlanilha(Fixture(c.fixture));
    file.AbrePlanilha(Fixture(c.fixture));
    excel.SelecionaAba(c.sheet);
    file.SelecionaAba(c.sheet);
    const int32_t used_rows = file.UltimaLinha();
    const int32_t used_columns = file.UltimaColuna();
    // The used area, with a column and three rows past it; the used area
    // from its second row; a single column; a single cell.
    struct Block {
      int32_t first, last, columns;
    } blocks[] = {
        {1, used_rows + 3, std::min(used_columns + 1, app::kMaxSheetColumns)},
        {2, used_rows, used_columns},
        {1, used_rows, 1},
        {used_rows, used_rows, 1},
    };
    for (const Block& b : blocks) {
      SCOPED_TRACE("rows " + std::to_string(b.first) + ".." + std::to_string(b.last) + " x " +
                   std::to_string(b.columns));
      server_->Log().value2.clear();
      const auto expected = BlockOf(file, b.first, b.last, b.columns);
      EXPECT_EQ(BlockOf(excel, b.first, b.last, b.columns), expected);
      // Each call stays within the budget (a whole row at least) and none
      // reaches below the last used row unless the block fits in one call.
      const int64_t rows_per_call = std::max<int64_t>(c.block_cells / b.columns, 1);
      const int64_t rows = b.last - b.first + 1;
      const int64_t rows_read =
          rows > rows_per_call ? std::min(b.last, used_rows) - b.first + 1 : rows;
      if (expected.second.empty()) {
        EXPECT_EQ(static_cast<int64_t>(server_->Log().value2.size()),
                  (rows_read + rows_per_call - 1) / rows_per_call);
      }
    }
  }
}

TEST_F(ExcelEngineTest, LeLinhasAsksForEachBlockByItsCornersAndNotPastTheUsedRows) {
  // Through a server started for the engine (its calls cross a process
  // boundary on a real machine). Two rows of 46 cells per call.
  server_->Register(false, true);
  app::TDMCotrolaExcel excel(std::make_unique<TExcelEngine>(46 * 2), {","});
  app::TDMCotrolaExcel file(app::CreateFileEngine(), {","});
  for (app::TDMCotrolaExcel* e : {&excel, &file}) {
    e->AbrePlanilha(Fixture("clientes.xlsx"));
    e->SelecionaAba(1);
  }
  std::vector<std::wstring>& value2 = server_->Log().value2;
  ASSERT_EQ(file.UltimaLinha(), 5);
  struct Case {
    int32_t first, last, columns;
    std::vector<std::wstring> ranges;
  } cases[] = {
      // Rows 6..9 lie below the last used row: handed over empty, not read.
      {1, 9, 46, {L"A1:AT2", L"A3:AT4", L"A5:AT5"}},
      {4, 5, 46, {L"A4:AT5"}},
      {2, 2, 1, {L"A2"}},
      {1, 3, 18, {L"A1:R3"}},
      {3, 1, 46, {}},  // no rows
      {1, 5, 0, {}},   // rows without columns
      // Wholly below the used rows: read when one call takes it all, else
      // known empty from the last used row.
      {app::kMaxSheetRows - 1, app::kMaxSheetRows, 46, {L"A1048575:AT1048576"}},
      {app::kMaxSheetRows - 2, app::kMaxSheetRows, 46, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.first) + ".." + std::to_string(c.last) + " x " +
                 std::to_string(c.columns));
    value2.clear();
    EXPECT_EQ(BlockOf(excel, c.first, c.last, c.columns),
              BlockOf(file, c.first, c.last, c.columns));
    EXPECT_EQ(value2, c.ranges);
  }
}

TEST_F(ExcelEngineTest, LeLinhasErrorsKeepTheRowsGivenAndTheServersMessage) {
  server_->Register(true, false);
  app::TDMCotrolaExcel excel(std::make_unique<TExcelEngine>(46 * 2), {","});
  excel.AbrePlanilha(Fixture("clientes.xlsx"));
  // No worksheet chosen yet.
  EXPECT_EQ(BlockOf(excel, 1, 2, 46).second, "Nenhuma aba selecionada");
  excel.SelecionaAba(1);
  // A block outside the worksheet is refused before asking the server.
  server_->Log().value2.clear();
  for (auto [first, last, columns] : {std::tuple{0, 2, 46},
                                      {1, app::kMaxSheetRows + 1, 46},
                                      {1, 2, app::kMaxSheetColumns + 1},
                                      {1, 2, -1}}) {
    EXPECT_EQ(BlockOf(excel, first, last, columns).second.substr(0, 22), "Intervalo de células ");
  }
  EXPECT_TRUE(server_->Log().value2.empty());
  // The server fails the second call: the first call's rows stay given.
  server_->Log().fail_value2_at = 2;
  const auto [rows, error] = BlockOf(excel, 1, 5, 46);
  EXPECT_EQ(rows.size(), 2u);
  EXPECT_EQ(error, "The server is busy reading A3:AT4");
}

TEST_F(ExcelEngineTest, ImportaPlanilhaReadsTheUsedRowsInOneCall) {
  server_->Register(true, false);
  app::TDMCotrolaExcel excel(std::make_unique<TExcelEngine>(), {","});
  app::TDMCotrolaExcel file(app::CreateFileEngine(), {","});
  for (app::TDMCotrolaExcel* e : {&excel, &file}) {
    e->AbrePlanilha(Fixture("clientes.xlsx"));
    e->SelecionaAba(1);
  }
  std::vector<std::wstring>& value2 = server_->Log().value2;
  struct Case {
    const char* rows;
    std::vector<std::wstring> ranges;
  } cases[] = {
      {"3", {L"A1:AT3"}},
      // More rows than one call takes: only the 5 used ones are read.
      {"100000", {L"A1:AT5"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.rows);
    value2.clear();
    const auto calls = server_->Log().calls.size();
    app::TTabelaTemp by_excel, by_file;
    app::ImportaPlanilha(excel, c.rows, by_excel, {});
    app::ImportaPlanilha(file, c.rows, by_file, {});
    EXPECT_EQ(value2, c.ranges);
    // A handful of calls besides: the last used cell, found twice.
    EXPECT_LT(server_->Log().calls.size() - calls, 20u);
    ASSERT_EQ(by_excel.RecordCount(), by_file.RecordCount());
    ASSERT_EQ(by_excel.FieldCount(), 46);
    by_excel.First();
    by_file.First();
    for (int64_t r = 0; r < std::min<int64_t>(by_file.RecordCount(), 8); ++r) {
      for (int32_t k = 0; k < 46; ++k)
        EXPECT_EQ(by_excel.Field(k), by_file.Field(k)) << r << " " << k;
      by_excel.Next();
      by_file.Next();
    }
  }
}

}  // namespace
