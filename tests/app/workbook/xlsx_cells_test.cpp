// Worksheet cells in every form the .xlsx reader meets: the compact form
// spreadsheet programs write is taken by a fast path, everything else by the
// general one. The same cells written compactly and pretty-printed (white
// space between the tags sends every cell down the general path) must read
// the same, also when the sheet is large enough for the inflated XML to be
// cut into chunks in the middle of cells.
#include <gtest/gtest.h>
#include <minizip/zip.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "app/controla_excel.h"
#include "app/errors.h"
#include "app/workbook/file_engine.h"
#include "tests/app/app_test_support.h"

namespace {

// One row's cells, compact; {row} stands for the row number.
const char* const kCells[] = {
    R"(<c r="A{row}" t="s"><v>1</v></c>)",                                // shared text
    R"(<c r="B{row}" s="3"><v>12.5</v></c>)",                             // number
    R"(<c r="C{row}" t="inlineStr"><is><t>João &amp; Cia</t></is></c>)",  // inline, entity
    R"(<c r="D{row}" t="b"><v>1</v></c>)",                                // boolean
    R"(<c r="E{row}" s="2"/>)",                                           // formatted, empty
    R"(<c r="F{row}"></c>)",                                              // empty
    R"(<c r="G{row}" t="str"><f>A1</f><v>fórmula</v></c>)",               // formula: cached value
    R"(<c t="n"><v>7</v></c>)",                      // no reference: next column
    R"(<c r='I{row}' t='d'><v>2024-01-31</v></c>)",  // quotes, ISO date
    R"(<x:c r="J{row}"><x:v>3</x:v></x:c>)",         // prefixed
    R"(<c r="K{row}" t="inlineStr"><is><t xml:space="preserve"> a </t></is></c>)",
    R"(<c r="L{row}" t="inlineStr"><is><r><t>ri</t></r><r><t>co</t></r></is></c>)",
    R"(<c r="M{row}" cm="1"><v>1E15</v></c>)",  // unknown attribute
    R"(<c r="N{row}" t="s"><v>0</v></c>)",
    R"(<c r="O{row}"><v>&#52;2</v></c>)",  // character reference
};
const char* const kExpected[] = {"segundo", "12,5",    "João & Cia", "True",     "",
                                 "",        "fórmula", "7",          "45322",    "3",
                                 " a ",     "rico",    "1E15",       "primeiro", "42"};

std::string Replace(std::string s, const std::string& what, const std::string& with) {
  for (size_t at = s.find(what); at != std::string::npos; at = s.find(what, at + with.size()))
    s.replace(at, what.size(), with);
  return s;
}

// Every cell of a row pretty-printed: a line break and indentation between
// all the tags.
std::string Pretty(const std::string& cell) {
  return Replace(Replace(cell, "><", ">\n      <"), "/>", "/>\n");
}

std::string SheetXml(int rows, bool pretty) {
  std::string xml =
      R"(<?xml version="1.0" encoding="UTF-8"?>)"
      R"(<worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" )"
      R"(xmlns:x="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><sheetData>)";
  for (int r = 1; r <= rows; ++r) {
    xml += "<row r=\"" + std::to_string(r) + "\">";
    for (const char* cell : kCells) {
      const std::string c = Replace(cell, "{row}", std::to_string(r));
      xml += pretty ? "\n    " + Pretty(c) : c;
    }
    xml += pretty ? "\n  </row>\n" : "</row>";
  }
  return xml + "</sheetData></worksheet>";
}

void WriteXlsx(const std::string& path, const std::string& sheet_xml) {
  zipFile zip = zipOpen64(path.c_str(), 0);
  ASSERT_NE(zip, nullptr);
  auto entry = [&](const char* name, const std::string& body) {
    zip_fileinfo info{};
    ASSERT_EQ(
        zipOpenNewFileInZip64(zip, name, &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED, 6, 1),
        ZIP_OK);
    ASSERT_EQ(zipWriteInFileInZip(zip, body.data(), static_cast<unsigned>(body.size())), ZIP_OK);
    zipCloseFileInZip(zip);
  };
  const std::string rel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";
  entry("_rels/.rels",
        "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
        "<Relationship Id=\"rId1\" Type=\"" +
            rel + "officeDocument\" Target=\"xl/workbook.xml\"/></Relationships>");
  entry("xl/workbook.xml",
        "<workbook xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
        "xmlns:r=\"" +
            rel.substr(0, rel.size() - 1) +
            "\"><sheets><sheet name=\"Células\" sheetId=\"1\" r:id=\"rId1\"/></sheets></workbook>");
  entry("xl/_rels/workbook.xml.rels",
        "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
        "<Relationship Id=\"rId1\" Type=\"" +
            rel +
            "worksheet\" Target=\"worksheets/sheet1.xml\"/><Relationship Id=\"rId2\" Type=\"" +
            rel + "sharedStrings\" Target=\"sharedStrings.xml\"/></Relationships>");
  entry("xl/sharedStrings.xml",
        "<sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
        "<si><t>primeiro</t></si><si><t>segundo</t></si></sst>");
  entry("xl/worksheets/sheet1.xml", sheet_xml);
  ASSERT_EQ(zipClose(zip, nullptr), ZIP_OK);
}

// Every row as its cells' texts joined by '|'.
std::vector<std::string> ReadRows(const std::string& path, int32_t& last_row,
                                  int32_t& last_column) {
  app::TDMCotrolaExcel excel(app::CreateFileEngine());
  excel.AbrePlanilha(path);
  excel.SelecionaAba(1);
  last_row = excel.UltimaLinha();
  last_column = excel.UltimaColuna();
  std::vector<std::string> rows;
  excel.LeLinhas(1, last_row, last_column, [&](int32_t, std::span<const std::string_view> texts) {
    std::string line;
    for (auto t : texts)
      line.append(t).push_back('|');
    rows.push_back(line);
  });
  return rows;
}

TEST(XlsxCells, CompactAndPrettyPrintedCellsReadTheSame) {
  app_test::TempDir dir("xlsx-cells");
  std::string expected_row;
  for (const char* e : kExpected)
    expected_row.append(e).push_back('|');
  // Three rows fit one chunk; 9,000 rows (about 4 MB of XML) are cut into
  // chunks in the middle of cells.
  for (int rows : {3, 9000}) {
    SCOPED_TRACE(rows);
    std::vector<std::string> read[2];
    for (bool pretty : {false, true}) {
      const std::string path = dir.File(std::to_string(rows) + (pretty ? "-p.xlsx" : "-c.xlsx"));
      WriteXlsx(path, SheetXml(rows, pretty));
      int32_t last_row = 0, last_column = 0;
      read[pretty] = ReadRows(path, last_row, last_column);
      EXPECT_EQ(last_row, rows);
      EXPECT_EQ(last_column, 15);
    }
    ASSERT_EQ(read[0].size(), static_cast<size_t>(rows));
    EXPECT_EQ(read[0], read[1]);
    EXPECT_EQ(read[0].front(), expected_row);
    EXPECT_EQ(read[0].back(), expected_row);
  }
}

TEST(XlsxCells, BadCellsAreRefusedOnEitherPath) {
  app_test::TempDir dir("xlsx-bad-cells");
  const std::pair<const char*, const char*> cases[] = {
      {R"(<c r="A1" t="s"><v>9</v></c>)", "texto compartilhado"},
      {R"(<c r="A1" t="s"><v>x</v></c>)", "índice"},
      {R"(<c r="1A"><v>1</v></c>)", "referência de célula"},
      {R"(<c r=""><v>1</v></c>)", "referência de célula"},
      {R"(<c r="XFE1"><v>1</v></c>)", "referência de célula"},
      {R"(<c r="A1"><v>1,5</v></c>)", "número inválido"},
      {R"(<c r="A1" t="d"><v>31/01/2024</v></c>)", "data inválida"},
      {R"(<c r="A1"><v>&bogus;</v></c>)", "entidade"},
      {R"(<c r="A1"><v>1</v></c)", "XML incompleto"},
  };
  for (const auto& [cell, message] : cases) {
    for (bool pretty : {false, true}) {
      SCOPED_TRACE(std::string(cell) + (pretty ? " pretty" : ""));
      const std::string path = dir.File("bad.xlsx");
      std::string xml = SheetXml(0, false);
      xml.insert(xml.find("</sheetData>"),
                 "<row r=\"1\">" + (pretty ? Pretty(cell) : std::string(cell)) + "</row>");
      WriteXlsx(path, xml);
      std::string error = "(no error)";
      try {
        int32_t r = 0, c = 0;
        ReadRows(path, r, c);
      } catch (const app::EPlanilhaError& e) {
        error = e.what();
      }
      EXPECT_NE(error.find(message), std::string::npos) << error;
    }
  }
}

}  // namespace
