// The import from a real .xlsx file: what the staging table holds against
// what the reader gives. Native only: the workbooks are written with the
// minizip writer, which the MinGW build of minizip lacks.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/controla_excel.h"
#include "app/database/tabela_temp.h"
#include "app/importa_planilha.h"
#include "app/workbook/file_engine.h"
#include "tests/app/app_test_support.h"
#include "tests/app/workbook/xlsx_package.h"

namespace {

// The workbook's shared strings are kept by the staging table, not copied:
// every cell reads as the worksheet shows it (strings long and short, one
// cut to 100 characters, numbers, inline text) after the workbook is closed,
// and after a second import from another workbook.
TEST(ImportaPlanilha, SharedStringsReadTheSameAfterTheWorkbookIsClosed) {
  app_test::TempDir dir("importa-compartilhados");
  constexpr int kRows = 2000;
  auto write = [&](const std::string& path, const std::string& tag) {
    std::string shared = std::string("<sst xmlns=\"") + xlsx_test::kMain + "\">";
    for (int i = 0; i < kRows; ++i)
      shared.append("<si><t>")
          .append(tag)
          .append(std::to_string(i))
          .append("@exemplo.com.br</t></si>");
    shared.append("<si><t>curto</t></si><si><t>").append(130, 'x').append("</t></si></sst>");
    std::string sheet = std::string("<worksheet xmlns=\"") + xlsx_test::kMain + "\"><sheetData>";
    for (int r = 1; r <= kRows; ++r) {
      const std::string n = std::to_string(r);
      sheet.append("<row r=\"").append(n).append("\"><c r=\"A").append(n).append("\" t=\"s\"><v>");
      sheet.append(std::to_string((r * 7) % kRows)).append("</v></c><c r=\"B").append(n);
      sheet.append("\" t=\"s\"><v>").append(std::to_string(kRows + r % 2)).append("</v></c>");
      sheet.append("<c r=\"C").append(n).append("\"><v>").append(n).append("</v></c>");
      sheet.append("<c r=\"D").append(n).append("\" t=\"inlineStr\"><is><t>").append(tag);
      sheet.append(n).append("</t></is></c></row>");
    }
    sheet += "</sheetData></worksheet>";
    xlsx_test::WritePackage(path, xlsx_test::Workbook(sheet, shared));
  };
  app::TTabelaTemp t;
  for (const std::string tag : {"primeiro", "segundo"}) {
    SCOPED_TRACE(tag);
    const std::string path = dir.File(tag + ".xlsx");
    write(path, tag);
    std::vector<std::string> expected;
    {
      app::TDMCotrolaExcel excel(app::CreateFileEngine());
      excel.AbrePlanilha(path);
      excel.SelecionaAba(1);
      for (int r = 1; r <= kRows; ++r) {
        // The table cuts at 100 characters (all ASCII here).
        for (int k = 1; k <= 4; ++k)
          expected.push_back(excel.LeCelula(k, r).substr(0, 100));
      }
      app::ImportaPlanilha(excel, std::to_string(kRows), t, {});
    }
    ASSERT_EQ(t.RecordCount(), kRows);
    EXPECT_EQ(expected[1], std::string(100, 'x'));
    size_t at = 0;
    for (t.First(); !t.Eof(); t.Next()) {
      for (int k = 0; k < 4; ++k, ++at)
        ASSERT_EQ(t.Field(k), expected[at]) << t.RecordNo() << "," << k;
    }
  }
}

}  // namespace
