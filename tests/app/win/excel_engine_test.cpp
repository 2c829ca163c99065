// The Excel automation engine against a stand-in automation server that
// this process registers under the application's class identifier and that
// answers from workbook files.
#include "app/win/excel_engine.h"

#include <gtest/gtest.h>

#include <objbase.h>

#include <memory>
#include <string>
#include <vector>

#include "app/controla_excel.h"
#include "app/errors.h"
#include "tests/app/win/excel_standin.h"

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

TEST(ExcelColumnLetters, FollowTheSpreadsheetNames) {
  struct {
    int32_t column;
    const char* letters;
  } cases[] = {{1, "A"},   {26, "Z"},  {27, "AA"},  {52, "AZ"},   {53, "BA"},
               {78, "BZ"}, {79, "CA"}, {702, "ZZ"}, {703, "AAA"}, {16384, "XFD"}};
  for (const auto& c : cases)
    EXPECT_EQ(TExcelEngine::ColumnLetters(c.column), c.letters);
}

}  // namespace
