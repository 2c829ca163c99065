// Worksheet cells in every form the .xlsx reader meets: the compact form
// spreadsheet programs write is taken by a fast path, everything else by the
// general one. The same cells written compactly and pretty-printed (white
// space between the tags sends every cell down the general path) must read
// the same, also when the sheet is large enough for the inflated XML to be
// cut into chunks in the middle of cells.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "app/controla_excel.h"
#include "app/errors.h"
#include "app/workbook/file_engine.h"
#include "tests/app/app_test_support.h"
#include "tests/app/workbook/utf16_bytes.h"
#include "tests/app/workbook/xlsx_package.h"

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
    // Line ends in text, inline and shared: CR LF and CR read as LF, as XML
    // prescribes; a character reference is not a line end.
    "<c r=\"P{row}\" t=\"inlineStr\"><is><t>um\r\ndois\rtrês&#13;&#10;</t></is></c>",
    R"(<c r="Q{row}" t="s"><v>2</v></c>)",
    // Excel's escapes, inline, shared and in a formula's text result; one
    // cut between two runs of rich text is no escape.
    R"(<c r="R{row}" t="inlineStr"><is><t>a_x000D__x000a_b _x005F_x0000_ _xD83D__xDE00_</t></is></c>)",
    R"(<c r="S{row}" t="s"><v>3</v></c>)",
    R"(<c r="T{row}" t="str"><f>A1</f><v>_x0009_tab</v></c>)",
    R"(<c r="U{row}" t="inlineStr"><is><r><t>_x00</t></r><r><t>41_</t></r></is></c>)",
    R"(<c r="V{row}" t="s"><v>4</v></c>)",
};
const char* const kExpected[] = {"segundo",
                                 "12,5",
                                 "João & Cia",
                                 "True",
                                 "",
                                 "",
                                 "fórmula",
                                 "7",
                                 "45322",
                                 "3",
                                 " a ",
                                 "rico",
                                 "1E15",
                                 "primeiro",
                                 "42",
                                 "um\ndois\ntrês\r\n",
                                 "um\ndois\ntrês\r\n",
                                 "a\r\nb _x0000_ 😀",
                                 "a\r\nb _x0000_ 😀",
                                 "\ttab",
                                 "_x0041_",
                                 "_x0041_"};
constexpr char kSharedStrings[] =
    "<sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
    "<si><t>primeiro</t></si><si><t>segundo</t></si>"
    "<si><t>um\r\ndois\rtrês&#13;&#10;</t></si>"
    "<si><t>a_x000D__x000a_b _x005F_x0000_ _xD83D__xDE00_</t></si>"
    "<si><r><t>_x00</t></r><r><t>41_</t></r></si></sst>";

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

void WriteXlsx(const std::string& path, const std::string& sheet_xml,
               const std::string& shared_xml = kSharedStrings) {
  xlsx_test::WritePackage(path, xlsx_test::Workbook(sheet_xml, shared_xml));
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
      EXPECT_EQ(last_column, 22);
    }
    ASSERT_EQ(read[0].size(), static_cast<size_t>(rows));
    EXPECT_EQ(read[0], read[1]);
    EXPECT_EQ(read[0].front(), expected_row);
    EXPECT_EQ(read[0].back(), expected_row);
  }
}

constexpr char kUtf8Declaration[] = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n";

// Whole parts as other writers save them: the worksheet (read by the sheet
// scanner) and the shared strings (read by expat) alike.
TEST(XlsxCells, PartsInUtf16WithAByteOrderMarkOrWindowsLineEndsReadTheSame) {
  app_test::TempDir dir("xlsx-encodings");
  struct Case {
    const char* what;
    std::string (*part)(const std::string& body);
    const char* error;  // nullptr: reads as the plain part
  };
  const Case kCases[] = {
      {"UTF-8 byte-order mark (.NET writers)",
       [](const std::string& body) {
         return "\xEF\xBB\xBF" + std::string(kUtf8Declaration) + body;
       },
       nullptr},
      {"UTF-16LE", [](const std::string& body) { return app_test::Utf8AsUtf16Bytes(body, true); },
       nullptr},
      {"UTF-16BE", [](const std::string& body) { return app_test::Utf8AsUtf16Bytes(body, false); },
       nullptr},
      {"UTF-16 declared",
       [](const std::string& body) {
         return app_test::Utf8AsUtf16Bytes("<?xml version=\"1.0\" encoding=\"UTF-16\"?>" + body,
                                           true);
       },
       nullptr},
      {"CR LF between the tags",
       [](const std::string& body) { return kUtf8Declaration + Replace(body, ">\n", ">\r\n"); },
       nullptr},
      {"ISO-8859-1 declared",
       [](const std::string& body) {
         return "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>" + body;
       },
       "usa a codificação de texto \"ISO-8859-1\""},
      {"UTF-8 declared UTF-16",
       [](const std::string& body) { return "<?xml version=\"1.0\" encoding=\"UTF-16\"?>" + body; },
       "a declaração diz \"UTF-16\", mas o texto está em UTF-8"},
  };
  int32_t last_row = 0, last_column = 0;
  for (bool pretty : {false, true}) {
    // The worksheet without its own declaration.
    std::string sheet = SheetXml(3, pretty);
    sheet.erase(0, sheet.find("?>") + 2);
    const std::string shared = Replace(kSharedStrings, "><", ">\n<");
    WriteXlsx(dir.File("plain.xlsx"), kUtf8Declaration + sheet, kUtf8Declaration + shared);
    const auto plain = ReadRows(dir.File("plain.xlsx"), last_row, last_column);
    ASSERT_EQ(plain.size(), 3u);
    for (const Case& c : kCases) {
      for (bool in_sheet : {true, false}) {
        SCOPED_TRACE(std::string(c.what) + (in_sheet ? " worksheet" : " shared strings") +
                     (pretty ? " pretty" : ""));
        const std::string path = dir.File("other.xlsx");
        WriteXlsx(path, in_sheet ? c.part(sheet) : kUtf8Declaration + sheet,
                  in_sheet ? kUtf8Declaration + shared : c.part(shared));
        if (c.error == nullptr) {
          EXPECT_EQ(ReadRows(path, last_row, last_column), plain);
        } else {
          const std::string error = xlsx_test::OpenError(path);
          EXPECT_NE(error.find(c.error), std::string::npos) << error;
        }
      }
    }
  }
}

// The used area is what Excel's last cell gives: the cells present,
// formatted empty ones included, whatever the stored <dimension> says.
TEST(XlsxCells, UsedAreaIsTheCellsPresentNotTheStoredDimension) {
  app_test::TempDir dir("xlsx-dimension");
  struct Case {
    const char* what;
    const char* sheet_data;
    int32_t last_row, last_column;
  };
  const Case kCases[] = {
      {"formatted empty cell beyond the dimension",
       R"(<dimension ref="A1:B2"/><sheetData><row r="1"><c r="A1"><v>1</v></c></row>)"
       R"(<row r="2"><c r="B2"><v>2</v></c></row><row r="7"><c r="D7" s="1"/></row></sheetData>)",
       7, 4},
      {"dimension wider than the cells",
       R"(<dimension ref="A1:Z99"/><sheetData><row r="1"><c r="A1"><v>1</v></c></row>)"
       R"(<row r="2"><c r="B2"><v>2</v></c></row></sheetData>)",
       2, 2},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.what);
    const std::string path = dir.File("dimensao.xlsx");
    WriteXlsx(path, std::string("<worksheet xmlns=\"") + xlsx_test::kMain + "\">" + c.sheet_data +
                        "</worksheet>");
    int32_t last_row = 0, last_column = 0;
    ReadRows(path, last_row, last_column);
    EXPECT_EQ(last_row, c.last_row);
    EXPECT_EQ(last_column, c.last_column);
  }
}

TEST(XlsxCells, BadCellsAreRefusedOnEitherPath) {
  app_test::TempDir dir("xlsx-bad-cells");
  const std::pair<std::string, const char*> cases[] = {
      {R"(<c r="A1" t="s"><v>9</v></c>)", "texto compartilhado"},
      {R"(<c r="A1" t="s"><v>x</v></c>)", "índice"},
      {R"(<c r="1A"><v>1</v></c>)", "referência de célula"},
      {R"(<c r=""><v>1</v></c>)", "referência de célula"},
      {R"(<c r="XFE1"><v>1</v></c>)", "referência de célula"},
      {R"(<c r="A1"><v>1,5</v></c>)", "número inválido"},
      {R"(<c r="A1" t="d"><v>31/01/2024</v></c>)", "data inválida"},
      {R"(<c r="A1"><v>&bogus;</v></c>)", "entidade"},
      {R"(<c r="A1"><v>1</v></c)", "marca de fim"},
      {R"(<c r="A0"><v>1</v></c>)", "referência de célula inválida \"A0\""},
      {R"(<c r="A1"><v>1</v></x>)", "a marca de fim </x> não corresponde a <c>"},
      {R"(<c r="A1"><v>nan</v></c>)", "número inválido \"nan\""},
      {R"(<c r="A1"><v>inf</v></c>)", "número inválido"},
      {R"(<c r="A1"><v>-Infinity</v></c>)", "número inválido"},
      {std::string(R"(<c r="A1" t="inlineStr"><is><t>a)") + '\0' + "b</t></is></c>", "byte nulo"},
      {R"(<c r="A1" t="inlineStr"><is><t>a_x0000_b</t></is></c>)", "caractere nulo (_x0000_)"},
      {"<c r=\"A1\" t=\"inlineStr\"><is><t>\x1B</t></is></c>", "caractere de controle"},
      {"<c r=\"A1\" t=\"inlineStr\"><is><t>jo\xE3o</t></is></c>", "não é UTF-8 válido"},
  };
  for (const auto& [cell, message] : cases) {
    for (bool pretty : {false, true}) {
      SCOPED_TRACE(std::string(cell) + (pretty ? " pretty" : ""));
      const std::string path = dir.File("bad.xlsx");
      std::string xml = SheetXml(0, false);
      xml.insert(xml.find("</sheetData>"),
                 "<row r=\"1\">" + (pretty ? Pretty(cell) : cell) + "</row>");
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

// The shared strings are read beside the first sheet, yet a workbook damaged
// in several places reports what a reader going part by part meets first:
// the shared strings' own damage, then a cell that refers to a string the
// table does not hold before the sheet's own damage, else the sheet's. A
// workbook whose shared strings fail keeps failing the same way.
TEST(XlsxCells, ErrorsComeInReadingOrderWithTheSharedStringsFirst) {
  app_test::TempDir dir("xlsx-error-order");
  const std::string good_shared = std::string("<sst xmlns=\"") + xlsx_test::kMain +
                                  "\"><si><t>um</t></si><si><t>dois</t></si></sst>";
  const std::string bad_shared =
      std::string("<sst xmlns=\"") + xlsx_test::kMain + "\"><si><t>um</t></si><si><t>dois";
  const std::string bad_index = R"(<c r="A1" t="s"><v>7</v></c>)";
  const std::string bad_number = R"(<c r="A1"><v>1,5</v></c>)";
  auto two_rows = [](const std::string& first, const std::string& second) {
    return "<row r=\"1\">" + first + "</row><row r=\"2\">" +
           Replace(Replace(second, "A1", "B2"), "<v>7</v>", "<v>8</v>") + "</row>";
  };
  struct Case {
    const char* what;
    std::string shared, rows, message;
  };
  const Case cases[] = {
      {"damaged shared strings and damaged sheet", bad_shared, two_rows(bad_number, bad_index),
       "xl/sharedStrings.xml"},
      {"missing string, then a bad number", good_shared, two_rows(bad_index, bad_number),
       "referência a um texto compartilhado (7) que não existe"},
      {"bad number, then a missing string", good_shared, two_rows(bad_number, bad_index),
       "número inválido \"1,5\""},
      {"only a missing string, far down", good_shared,
       two_rows(R"(<c r="A1" t="s"><v>1</v></c>)", bad_index),
       "referência a um texto compartilhado (8) que não existe"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string path = dir.File("ordem.xlsx");
    xlsx_test::WritePackage(
        path, xlsx_test::Workbook(std::string("<worksheet xmlns=\"") + xlsx_test::kMain +
                                      "\"><sheetData>" + c.rows + "</sheetData></worksheet>",
                                  c.shared));
    const std::string error = xlsx_test::OpenError(path);
    EXPECT_NE(error.find(c.message), std::string::npos) << error;
  }
  // Asked again, the same workbook fails again with the shared strings'
  // error, and a good sheet beside good strings reads whole.
  const std::string path = dir.File("de-novo.xlsx");
  xlsx_test::WritePackage(path, xlsx_test::Workbook(SheetXml(3, false), bad_shared));
  app::TDMCotrolaExcel excel(app::CreateFileEngine());
  excel.AbrePlanilha(path);
  excel.SelecionaAba(1);
  for (int attempt = 0; attempt < 2; ++attempt) {
    std::string error = "(no error)";
    try {
      excel.UltimaLinha();
    } catch (const app::EPlanilhaError& e) {
      error = e.what();
    }
    EXPECT_NE(error.find("xl/sharedStrings.xml"), std::string::npos) << error;
  }
  int32_t last_row = 0, last_column = 0;
  WriteXlsx(path, SheetXml(3, false));
  EXPECT_EQ(ReadRows(path, last_row, last_column).size(), 3u);
}

}  // namespace
