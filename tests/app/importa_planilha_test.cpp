// ImportaPlanilha over the file engine and over a scripted engine.
#include "app/importa_planilha.h"

#include <gtest/gtest.h>

#include <map>

#include "app/errors.h"
#include "app/workbook/file_engine.h"
#include "tests/app/app_test_support.h"

namespace {

// An engine with a few cells set by the test; a cell holding "#ERR" is an
// error value.
class ScriptedEngine : public app::TSpreadsheetEngine {
 public:
  std::map<std::pair<int, int>, std::string> cells;  // (column, row)
  int last_row = 1, last_column = 1;
  void Open(const std::string&) override {}
  int32_t SheetCount() override { return 1; }
  void AttachSheet(int32_t) override {}
  std::string CurrentSheetName() override { return "S"; }
  int32_t LastRow() override { return last_row; }
  int32_t LastColumn() override { return last_column; }
  app::TCellValue ReadCell(int32_t column, int32_t row) override {
    app::TCellValue v;
    auto it = cells.find({column, row});
    if (it == cells.end()) return v;
    v.Kind = it->second == "#ERR" ? app::TCellKind::ckError : app::TCellKind::ckText;
    v.Text = it->second;
    return v;
  }
};

using Gauge = std::pair<int64_t, int64_t>;

struct Recorder {
  std::vector<std::string> status, fase;
  std::vector<std::pair<int64_t, int64_t>> gauge;
  int pumps = 0;
  app::TRunFeedback Feedback() {
    app::TRunFeedback f;
    f.Status = [this](const std::string& s) { status.push_back(s); };
    f.Fase = [this](const std::string& s) { fase.push_back(s); };
    f.Barra = [this](int64_t p, int64_t m) { gauge.emplace_back(p, m); };
    f.ProcessaMensagens = [this] { ++pumps; };
    return f;
  }
};

TEST(ImportaPlanilha, CopiesRowsFromRowOneWithProgress) {
  app::TDMCotrolaExcel excel(app::CreateFileEngine());
  excel.AbrePlanilha(app_test::Fixture("clientes.xlsx"));
  excel.SelecionaAba(1);
  app::TTabelaTemp t;
  Recorder rec;
  app::ImportaPlanilha(excel, "7", t, rec.Feedback());
  EXPECT_EQ(t.FieldCount(), 46);
  EXPECT_EQ(t.RecordCount(), 7);  // rows 6 and 7 lie past the used area: empty
  t.First();
  EXPECT_EQ(t.FieldByName("18"), "CODIGO");
  t.Next();
  EXPECT_EQ(t.FieldByName("18"), "123");
  EXPECT_EQ(t.FieldByName("46"), "novo123@exemplo.com");
  t.Next();
  EXPECT_EQ(t.FieldByName("18"), "7");
  t.Next();
  EXPECT_EQ(t.FieldByName("46"), "ágata@exemplo.com");
  t.Next();
  t.Next();
  EXPECT_EQ(t.FieldByName("18"), "");
  EXPECT_EQ(rec.fase, std::vector<std::string>{"Carregando dados do Excel, aguarde!"});
  ASSERT_EQ(rec.status.size(), 7u);
  EXPECT_EQ(rec.status[0], "Processando Registro 1 de 7");
  EXPECT_EQ(rec.status[6], "Processando Registro 7 de 7");
  EXPECT_EQ(rec.pumps, 7);
  EXPECT_EQ(rec.gauge.front(), Gauge(0, 7));
  EXPECT_EQ(rec.gauge.back(), Gauge(7, 7));
}

TEST(ImportaPlanilha, RowNumberZeroBuildsTheColumnsOnly) {
  ScriptedEngine* engine = new ScriptedEngine;
  engine->last_column = 3;
  app::TDMCotrolaExcel excel{std::unique_ptr<app::TSpreadsheetEngine>(engine)};
  app::TTabelaTemp t;
  Recorder rec;
  app::ImportaPlanilha(excel, "0", t, rec.Feedback());
  EXPECT_EQ(t.FieldCount(), 3);
  EXPECT_EQ(t.RecordCount(), 0);
  EXPECT_EQ(rec.pumps, 0);
  EXPECT_EQ(rec.gauge.back(), Gauge(0, 0));
  EXPECT_THROW(t.FieldIndex("18"), app::EDatabaseError);
}

TEST(ImportaPlanilha, BadRowNumbersAndTooManyCellsAreRefusedBeforeTheTableIsTouched) {
  struct Case {
    const char* text;
    int32_t columns;
    const char* message;
    bool refused_by_size;  // EImportacaoRecusada: the window gives its controls back
  };
  const Case kCases[] = {
      {"abc", 2, "'abc' is not a valid integer value", false},
      {"12a", 2, "'12a' is not a valid integer value", false},
      {"", 2, "'' is not a valid integer value", false},
      {"99999999999", 2, "'99999999999' is not a valid integer value", false},
      {"1048577", 2, "1048576", true},
      // A formatted cell at XFD1048576: 2^34 cells, which also wraps to 0 in
      // 32 bits.
      {"1048576", 16384,
       "A planilha é grande demais para importar: 1048576 linhas x 16384 colunas (até a coluna "
       "XFD) são 17179869184 células, mais que as 50000000 aceitas.",
       true},
      {"1048576", 48, "50331648 células", true},
      {"3052", 16384, "50003968 células", true},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.text);
    auto* engine = new ScriptedEngine;
    engine->last_column = 2;
    engine->cells[{1, 1}] = "kept";
    app::TDMCotrolaExcel excel{std::unique_ptr<app::TSpreadsheetEngine>(engine)};
    app::TTabelaTemp t;
    app::ImportaPlanilha(excel, "1", t, {});
    engine->last_column = c.columns;
    Recorder rec;
    try {
      app::ImportaPlanilha(excel, c.text, t, rec.Feedback());
      ADD_FAILURE() << c.text;
    } catch (const app::EImportacaoRecusada& e) {
      EXPECT_TRUE(c.refused_by_size);
      EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
    } catch (const std::exception& e) {
      EXPECT_FALSE(c.refused_by_size);
      EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
    }
    // Neither the previous import nor the progress display was touched.
    ASSERT_EQ(t.RecordCount(), 1);
    ASSERT_EQ(t.FieldCount(), 2);
    t.First();
    EXPECT_EQ(t.FieldByName("1"), "kept");
    EXPECT_TRUE(rec.fase.empty());
    EXPECT_TRUE(rec.gauge.empty());
  }
}

TEST(ImportaPlanilha, AStrayFormattedCellFarOutIsRefusedBeforeAnythingIsStaged) {
  // Three rows of data and a formatted cell at XFD1048576 (openpyxl).
  app::TDMCotrolaExcel excel(app::CreateFileEngine());
  excel.AbrePlanilha(app_test::Fixture("celula_distante.xlsx"));
  excel.SelecionaAba(1);
  EXPECT_EQ(excel.UltimaLinha(), 1048576);
  EXPECT_EQ(excel.UltimaColuna(), 16384);
  app::TTabelaTemp t;
  Recorder rec;
  EXPECT_THROW(app::ImportaPlanilha(excel, std::to_string(excel.UltimaLinha()), t, rec.Feedback()),
               app::EImportacaoRecusada);
  EXPECT_FALSE(t.Active());
  EXPECT_TRUE(rec.status.empty());
}

TEST(ImportaPlanilha, AnErrorCellStopsTheImportKeepingTheRowsBefore) {
  auto* engine = new ScriptedEngine;
  engine->last_column = 2;
  engine->last_row = 5;
  engine->cells[{1, 1}] = "r1";
  engine->cells[{1, 3}] = "r3";
  engine->cells[{2, 3}] = "#ERR";
  app::TDMCotrolaExcel excel{std::unique_ptr<app::TSpreadsheetEngine>(engine)};
  app::TTabelaTemp t;
  EXPECT_THROW(app::ImportaPlanilha(excel, "5", t, {}), app::EPlanilhaError);
  EXPECT_EQ(t.RecordCount(), 2);  // row 3 was being read: not posted
  EXPECT_FALSE(t.Appending());
}

TEST(ImportaPlanilha, ASecondRunHasOnlyTheSecondSheetsColumnsAndRows) {
  app::TDMCotrolaExcel excel(app::CreateFileEngine());
  excel.AbrePlanilha(app_test::Fixture("openpyxl_abas.xlsx"));
  excel.SelecionaAba(1);
  app::TTabelaTemp t;
  app::ImportaPlanilha(excel, "3", t, {});
  excel.SelecionaAba(3);
  app::ImportaPlanilha(excel, "2", t, {});
  EXPECT_EQ(t.FieldCount(), 4);
  EXPECT_EQ(t.RecordCount(), 2);
  t.First();
  EXPECT_EQ(t.FieldByName("1"), "cabeçalho");
}

}  // namespace
