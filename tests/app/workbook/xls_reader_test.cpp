// The .xls reader: the records of BIFF8 and BIFF5 sheets on hand-made
// workbooks (xls_builder.h), the shared-string table across CONTINUE
// records, BIFF5 code pages, the used area, damaged and hostile files, and
// the corpus written by LibreOffice and Gnumeric (tests/fixtures/app).
#include "app/workbook/xls_reader.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>
#include <string>
#include <vector>

#include "app/controla_excel.h"
#include "app/errors.h"
#include "app/workbook/file_engine.h"
#include "tests/app/app_test_support.h"
#include "tests/app/workbook/xls_builder.h"
#include "tests/support/heap_peak.h"

using app::EPlanilhaError;
using app::TDMCotrolaExcel;
using app_test::Fixture;
using xls_test::Blank;
using xls_test::F64;
using xls_test::LabelSst;
using xls_test::Number;
using xls_test::Place;
using xls_test::Record;
using xls_test::Rk;
using xls_test::TBook;
using xls_test::U16;
using xls_test::U32;
using namespace std::string_literals;

namespace {

std::unique_ptr<app::TWorkbookReader> Open(const std::string& file) {
  return app::OpenXls(file, "teste.xls");
}

std::unique_ptr<app::TWorkbookReader> OpenBook(const TBook& book) {
  return Open(xls_test::CompoundFile("Workbook", book.Stream()));
}

// A value as "kind:value": "n:1.5", "t:texto", "b:1", "e:#N/A", "" when empty.
std::string Show(const app::TCellValue& v) {
  switch (v.Kind) {
    case app::TCellKind::ckEmpty:
      return "";
    case app::TCellKind::ckText:
      return "t:" + std::string(v.Text);
    case app::TCellKind::ckNumber: {
      char digits[32];
      const auto res = std::to_chars(digits, digits + sizeof digits, v.Number);
      return "n:" + std::string(digits, res.ptr);
    }
    case app::TCellKind::ckBoolean:
      return v.Number != 0 ? "b:1" : "b:0";
    case app::TCellKind::ckError:
      return "e:" + std::string(v.Text);
  }
  return "?";
}

template <typename F>
std::string ErrorOf(F&& f) {
  try {
    f();
  } catch (const EPlanilhaError& e) {
    return e.what();
  }
  return "(no error)";
}

std::string CellOrError(TDMCotrolaExcel& excel, int32_t column, int32_t row) {
  try {
    return excel.LeCelula(column, row);
  } catch (const EPlanilhaError& e) {
    return std::string("erro: ") + e.what();
  }
}

struct TCell {
  int32_t column, row;
  std::string value;
};

void ExpectCells(const app::TSheetData& sheet, const std::vector<TCell>& cells) {
  for (const TCell& c : cells)
    EXPECT_EQ(Show(sheet.Get(c.column, c.row)), c.value)
        << "column " << c.column << ", row " << c.row;
}

std::string Formula(uint16_t row, uint16_t column, const std::string& result) {
  return Record(0x0006, Place(row, column) + result + U16(0) + U32(0) + U16(0));
}

// A formula result that is no number: its kind, a value byte, 0xFFFF.
std::string Special(uint8_t kind, uint8_t value) {
  return std::string{static_cast<char>(kind), 0, static_cast<char>(value), 0, 0, 0} + "\xFF\xFF";
}

TEST(XlsRecords, EveryKindOfCellInABiff8Sheet) {
  TBook book;
  book.globals = xls_test::TSstWriter(8224).Table({{u"compartilhado"}});
  const std::string cells =
      // Row 1: a NUMBER and the four forms of RK (integer or double, each
      // possibly divided by 100).
      Number(0, 0, 1.5) + Rk(0, 1, 123u << 2 | 2) + Rk(0, 2, 12345u << 2 | 3) +
      Rk(0, 3, static_cast<uint32_t>(-28) | 2) + Rk(0, 4, 0x3FE00000) + Rk(0, 5, 0x3FF00001) +
      // Row 2: MULRK, three numbers side by side.
      Record(0x00BD, U16(1) + U16(0) + U16(15) + U32(1u << 2 | 2) + U16(15) + U32(2u << 2 | 2) +
                         U16(15) + U32(3u << 2 | 2) + U16(2)) +
      // Row 3: shared text, LABEL one byte and two bytes a character, RSTRING.
      LabelSst(2, 0, 0) + Record(0x0204, Place(2, 1) + xls_test::Biff8String(u"rótulo")) +
      Record(0x0204, Place(2, 2) + xls_test::Biff8String(u"текст")) +
      Record(0x00D6, Place(2, 3) + xls_test::Biff8String(u"rico") + U16(2) + U32(0) + U32(0)) +
      // Row 4: BOOLERR, then formula results of each kind; the last text
      // result has no STRING record.
      Record(0x0205, Place(3, 0) + "\x01\x00"s) + Record(0x0205, Place(3, 1) + "\x2A\x01") +
      Formula(3, 2, F64(2.5)) + Formula(3, 3, Special(1, 0)) + Formula(3, 4, Special(2, 0x07)) +
      Formula(3, 5, Special(3, 0)) + Formula(3, 6, Special(0, 0)) + Record(0x0221, "array") +
      Record(0x0207, xls_test::Biff8String(u"resultado")) + Formula(3, 7, Special(0, 0)) +
      // Row 5: a formatted blank cell, the used area's last.
      Blank(4, 9);
  book.sheets.push_back({book.Name("Tudo"), cells});
  const auto reader = OpenBook(book);
  ASSERT_EQ(reader->SheetCount(), 1);
  EXPECT_EQ(reader->SheetName(1), "Tudo");
  const auto sheet = reader->ReadSheet(1);
  ExpectCells(*sheet, {{1, 1, "n:1.5"},    {2, 1, "n:123"},
                       {3, 1, "n:123.45"}, {4, 1, "n:-7"},
                       {5, 1, "n:0.5"},    {6, 1, "n:0.01"},
                       {1, 2, "n:1"},      {2, 2, "n:2"},
                       {3, 2, "n:3"},      {1, 3, "t:compartilhado"},
                       {2, 3, "t:rótulo"}, {3, 3, "t:текст"},
                       {4, 3, "t:rico"},   {1, 4, "b:1"},
                       {2, 4, "e:#N/A"},   {3, 4, "n:2.5"},
                       {4, 4, "b:0"},      {5, 4, "e:#DIV/0!"},
                       {6, 4, "t:"},       {7, 4, "t:resultado"},
                       {8, 4, "t:"},       {10, 5, ""}});
  EXPECT_EQ(sheet->LastRow(), 5);
  EXPECT_EQ(sheet->LastColumn(), 10);
}

TEST(XlsRecords, TextOfABiff5SheetWithRichTextAndAFormulaResult) {
  TBook book;
  book.biff8 = false;
  book.code_page = 1252;
  const std::string cells =
      Record(0x0204, Place(0, 0) + U16(4) + "a\xE7\xE3o") +
      // RSTRING: the text, then a count of formatting runs and the runs.
      Record(0x00D6, Place(0, 1) + U16(3) + "ol\xE1" + "\x02" + U16(0) + U16(1)) +
      Formula(0, 2, Special(0, 0)) + Record(0x0207, U16(7) + "f\xF3rmula") + Number(0, 3, 3);
  book.sheets.push_back({book.Name("Cinco"), cells});
  const auto reader = OpenBook(book);
  ASSERT_EQ(reader->SheetCount(), 1);
  EXPECT_EQ(reader->SheetName(1), "Cinco");
  ExpectCells(*reader->ReadSheet(1),
              {{1, 1, "t:ação"}, {2, 1, "t:olá"}, {3, 1, "t:fórmula"}, {4, 1, "n:3"}});
}

// Excel cuts the shared-string table into records of at most 8,224 bytes;
// a text's characters that go on in the next record follow a new flags byte
// there, and may change width. Every cut reads the same texts, down to
// records of one byte.
TEST(XlsSharedStrings, SameTextsWhereverTheRecordsAreCut) {
  const std::vector<xls_test::TSharedString> strings = {{u"código"},
                                                        {u"日本語 text"},
                                                        {std::u16string(300, u'x')},
                                                        {u"negrito", 3},
                                                        {u"カタカナ", 0, 10},
                                                        {u""},
                                                        {u"ção漢字ção", 2, 5},
                                                        {u"fim"}};
  const std::vector<std::string> expected = {
      "t:código",     "t:日本語 text", "t:" + std::string(300, 'x'),
      "t:negrito",    "t:カタカナ",    "t:",
      "t:ção漢字ção", "t:fim"};
  for (size_t capacity : {8224, 100, 7, 3, 2, 1}) {
    SCOPED_TRACE("records of " + std::to_string(capacity) + " bytes");
    TBook book;
    book.globals = xls_test::TSstWriter(capacity).Table(strings);
    std::string cells;
    for (size_t i = 0; i < strings.size(); ++i)
      cells += LabelSst(static_cast<uint16_t>(i), 0, static_cast<uint32_t>(i));
    book.sheets.push_back({book.Name("Textos"), cells});
    const auto reader = OpenBook(book);
    ASSERT_EQ(reader->SheetCount(), 1);
    const auto sheet = reader->ReadSheet(1);
    for (size_t i = 0; i < expected.size(); ++i)
      EXPECT_EQ(Show(sheet->Get(1, static_cast<int32_t>(i + 1))), expected[i]) << i;
  }
}

// The counts at the table's start are claims: texts are read while records
// last (a claim of four billion reserves nothing) and up to the claim (what
// follows it is not taken for texts).
TEST(XlsSharedStrings, TheClaimedCountIsReadUpToAndNotTrusted) {
  const std::string text = U16(3) + "\0abc"s;
  const std::pair<uint32_t, std::string> cases[] = {
      {0xFFFFFFFF, text},
      {1, text + "\xFF\xFF\x01 trailing bytes"},
  };
  for (const auto& [claimed, data] : cases) {
    TBook book;
    book.globals = Record(0x00FC, U32(claimed) + U32(claimed) + data);
    book.sheets.push_back({book.Name("A"), LabelSst(0, 0, 0)});
    EXPECT_EQ(Show(OpenBook(book)->ReadSheet(1)->Get(1, 1)), "t:abc") << claimed;
  }
}

// The hostile form: the table's bytes cut into one-byte CONTINUE records
// without the flags bytes. Texts come out garbled or the file is refused,
// never a read outside the records.
TEST(XlsSharedStrings, OneByteRecordsWithoutFlagsAreReadSafely) {
  const std::string whole =
      xls_test::TSstWriter(8224).Table({{u"primeiro texto"}, {u"segundo"}, {u"último"}});
  const std::string data = whole.substr(4);
  std::string cut = Record(0x00FC, data.substr(0, 1));
  for (size_t i = 1; i < data.size(); ++i)
    cut += Record(0x003C, data.substr(i, 1));
  TBook book;
  book.globals = cut;
  book.sheets.push_back({book.Name("A"), LabelSst(0, 0, 0) + LabelSst(1, 0, 2)});
  const std::string error = ErrorOf([&] { OpenBook(book)->ReadSheet(1); });
  EXPECT_TRUE(error == "(no error)" || error.find("danificada") != std::string::npos) << error;
}

TEST(XlsCodePages, Biff5TextIsReadInTheWorkbooksCodePage) {
  struct Case {
    int code_page;  // -1: no CODEPAGE record
    std::string bytes;
    std::string text;
  };
  const Case cases[] = {
      {-1, "a\xE7\xE3\x80", "açã€"},
      {1252, "a\xE7\xE3\x80\x81", "açã€\xC2\x81"},
      {10000, "a\x8D\x8B\xDB", "açã€"},  // Mac Roman
      {32768, "a\x8D\x8B\xDB", "açã€"},  // Mac Roman as Mac Excel 5 numbers it
      {1250, "\x9A\xB9", "šą"},
      {1251, "\xC6\xFF", "Жя"},
      {1253, "\xC1\xE1", "Αα"},
      {1254, "\xF0\xFE", "ğş"},
      {1255, "\xE0\xF9", "אש"},
      {1256, "\xC7\xE1", "ال"},
      {1257, "\xE0\xF0", "ąš"},
      {1258, "\xF5\xD0", "ơĐ"},
      {437, "\x87\x82", "çé"},
      {850, "\xC6\xE3", "ãÒ"},
      {860, "\x84\x87", "ãç"},
      {874, "\xA1", "ก"},
      {10029, "\x8B", "č"},
      {932, "a\x82\xA0", "a\xEF\xBF\xBD\xEF\xBF\xBD"},  // no table: the bytes say so
      // Gnumeric's code page 1200: plain ASCII as bytes, other text as UTF-16LE.
      {1200, "abc", "abc"},
      {1200, std::string("M\0a\0\xDF\0", 6), "Maß"},
      {1200, "(\t.\t", "नम"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code_page);
    TBook book;
    book.biff8 = false;
    book.code_page = c.code_page;
    const auto size = static_cast<uint16_t>(c.bytes.size());
    book.sheets.push_back({c.bytes, Record(0x0204, Place(0, 0) + U16(size) + c.bytes)});
    const auto reader = OpenBook(book);
    ASSERT_EQ(reader->SheetCount(), 1);
    EXPECT_EQ(reader->SheetName(1), c.text);
    EXPECT_EQ(Show(reader->ReadSheet(1)->Get(1, 1)), "t:" + c.text);
  }
}

TEST(XlsStreams, TheWorkbookStreamIsFoundInAnyLetterCase) {
  for (const char* name : {"Workbook", "WORKBOOK", "workbook", "Book", "BOOK", "bOOk"}) {
    SCOPED_TRACE(name);
    TBook book;
    book.biff8 = std::string(name).size() == 8;
    book.sheets.push_back({book.Name("Planilha1"), Number(0, 0, 7)});
    const auto reader = Open(xls_test::CompoundFile(name, book.Stream()));
    ASSERT_EQ(reader->SheetCount(), 1);
    EXPECT_EQ(Show(reader->ReadSheet(1)->Get(1, 1)), "n:7");
  }
  // A directory entry whose name length says 0xFFFF: the name still ends at
  // the field's end and its NUL.
  TBook book;
  book.sheets.push_back({book.Name("Planilha1"), Number(0, 0, 7)});
  EXPECT_EQ(Open(xls_test::CompoundFile("Workbook", book.Stream(), 0xFFFF))->SheetCount(), 1);
}

TEST(XlsSheets, ChartSheetsAreNoWorksheetsAndMisplacedSheetsAreFoundInOrder) {
  for (bool wrong_offsets : {false, true}) {
    SCOPED_TRACE(wrong_offsets ? "sheet list pointing off the sheets" : "sheet list right");
    TBook book;
    book.wrong_sheet_offsets = wrong_offsets;
    book.sheets.push_back({book.Name("Um"), Number(0, 0, 1)});
    book.sheets.push_back({book.Name("Grafico"), "", 2});
    book.sheets.push_back({book.Name("Dois"), Number(1, 1, 2)});
    const auto reader = OpenBook(book);
    ASSERT_EQ(reader->SheetCount(), 2);
    EXPECT_EQ(reader->SheetName(1), "Um");
    EXPECT_EQ(reader->SheetName(2), "Dois");
    EXPECT_EQ(Show(reader->ReadSheet(1)->Get(1, 1)), "n:1");
    EXPECT_EQ(Show(reader->ReadSheet(2)->Get(2, 2)), "n:2");
  }
}

// The used area is the cells' (formatted blanks included), whatever the
// stored DIMENSIONS record claims: a claim of every cell of a sheet costs
// nothing, and a formatted blank beyond a stale claim still counts.
TEST(XlsUsedArea, FormattedBlanksCountAndTheStoredDimensionsDoNot) {
  const auto dimensions = [](uint32_t rows, uint16_t columns) {
    return Record(0x0200, U32(0) + U32(rows) + U16(0) + U16(columns) + U16(0));
  };
  const std::string mulblank = Record(0x00BE, U16(8) + U16(1) + std::string(8, '\x0F') + U16(4));
  struct Case {
    const char* what;
    std::string cells;
    int32_t last_row, last_column;
    size_t cells_kept;
  };
  const Case cases[] = {
      {"every cell claimed", dimensions(65536, 256) + Number(0, 0, 1), 1, 1, 1},
      {"blanks beyond the claim", dimensions(1, 1) + Number(0, 0, 1) + mulblank, 9, 5, 3},
      {"claim beyond the cells", dimensions(100, 50) + Number(2, 2, 1), 3, 3, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TBook book;
    book.sheets.push_back({book.Name("A"), c.cells});
    const auto sheet = OpenBook(book)->ReadSheet(1);
    EXPECT_EQ(sheet->LastRow(), c.last_row);
    EXPECT_EQ(sheet->LastColumn(), c.last_column);
    EXPECT_EQ(sheet->CellCount(), c.cells_kept);
  }
}

TEST(XlsBadInput, DamagedAndProtectedFilesAreRefusedWithAMessage) {
  const auto book_with = [](const std::string& globals, const std::string& cells) {
    TBook book;
    book.globals = globals;
    book.sheets.push_back({book.Name("A"), cells});
    return xls_test::CompoundFile("Workbook", book.Stream());
  };
  const std::string bof8 = TBook::Bof(true, 5);
  std::string loop = book_with("", Number(0, 0, 1));
  loop.replace(512 + 4 * 2, 4, U32(2));  // the stream's first sector follows itself
  struct Case {
    const char* what;
    std::string file;
    const char* message;
  };
  const Case cases[] = {
      {"encrypted workbook", book_with(Record(0x002F, U16(1) + std::string(52, '\0')), ""),
       "está protegida por senha"},
      {"encrypted .xlsx package", xls_test::CompoundFile("EncryptedPackage", "x"),
       "está protegida por senha"},
      {"another kind of document", xls_test::CompoundFile("WordDocument", "x"),
       "não é uma planilha do Excel"},
      {"not a compound document", "isto não é uma planilha", "danificada (cabeçalho inválido)"},
      {"Excel 4 stream",
       xls_test::CompoundFile("Workbook",
                              Record(0x0809, U16(0x0400) + U16(5)) + Record(0x000A, "")),
       "danificada (versão não suportada)"},
      {"stream without a start", xls_test::CompoundFile("Workbook", Number(0, 0, 1)),
       "danificada (início inválido)"},
      {"record longer than the stream", book_with("", U16(0x0203) + U16(0xFFFF)),
       "danificada (registro além do fim)"},
      {"sheet list pointing nowhere",
       xls_test::CompoundFile(
           "Workbook", bof8 + Record(0x0085, U32(0xFFFFFF) + "\0\0\x01\0A"s) + Record(0x000A, "")),
       "danificada (aba sem início)"},
      {"shared text that does not exist", book_with("", LabelSst(0, 0, 5)),
       "texto compartilhado (5) que não existe"},
      {"shared text cut short",
       book_with(Record(0x00FC, U32(1) + U32(1) + U16(10) + "\0abc"s), LabelSst(0, 0, 0)),
       "danificada (texto cortado)"},
      {"number that is no number",
       book_with("", Number(0, 0, std::numeric_limits<double>::quiet_NaN())),
       "danificada (número inválido)"},
      {"cells past the last column",
       book_with("", Record(0x00BD, U16(0) + U16(16383) + U16(15) + U32(6) + U16(15) + U32(6) +
                                        U16(16384))),
       "fora dos limites"},
      {"sector chain in a loop", loop, "danificada (cadeia de setores inválida)"},
      // The cells name the first table, whose text the second one would have
      // moved (a read of freed memory before).
      {"two shared-string tables",
       book_with(xls_test::TSstWriter(8224).Table({{u"primeiro"}}) +
                     xls_test::TSstWriter(8224).Table({{std::u16string(4000, u'x')}}),
                 LabelSst(0, 0, 0)),
       "danificada (mais de uma tabela de textos)"},
  };
  for (const Case& c : cases) {
    const std::string error = ErrorOf([&] {
      const auto reader = Open(c.file);
      for (int32_t i = 1; i <= reader->SheetCount(); ++i)
        reader->ReadSheet(i);
    });
    EXPECT_NE(error.find(c.message), std::string::npos) << c.what << ": " << error;
  }
}

// The workbooks of tests/fixtures/app/make_xls_corpus.py read as Excel's
// Value2 gives them, formatted as the controller does: each file's sheet
// "Valores" holds the same values.
TEST(XlsCorpus, WorkbooksOfRealWritersReadAsExcelShowsThem) {
  struct File {
    const char* name;
    std::vector<std::string> sheets;
    // The Latin-only files leave out "€"; they went through OpenDocument,
    // which holds dates as dates, and came back with other serial numbers
    // (each file stores what is expected of it here).
    bool latin;
  };
  const std::vector<std::string> all = {"Valores", "Muitos", "हिन्दी", "Größe"};
  const File files[] = {
      {"libreoffice_97.xls", all, false},
      {"libreoffice_97.xlsx", all, false},
      {"libreoffice_1904.xls", {"Valores"}, false},
      {"gnumeric_97.xls", all, false},
      {"gnumeric_95.xls", all, false},
      {"gnumeric_95_1252.xls", {"Valores", "Größe"}, true},
      {"mac_roman_95.xls", {"Valores", "Größe"}, true},
  };
  for (const File& f : files) {
    SCOPED_TRACE(f.name);
    TDMCotrolaExcel excel(app::CreateFileEngine());
    excel.AbrePlanilha(Fixture(f.name));
    EXPECT_EQ(excel.ListaAbas(), f.sheets);
    excel.LiberaLista();
    excel.SelecionaAba(1);
    const std::pair<int, std::string> values[] = {
        {1, "123"},
        {2, "0,5"},
        {3, f.latin ? "0" : "1"},  // a date: the stored serial, in either date system
        {4, "12345,6789"},
        {5, "1,75"},  // a time of more than a day
        {6, f.latin ? "45322,1234568287" : "45322,123456789"},
        {7, "olá mundo"},  // rich text
        {8, "True"},
        {9, std::string("João <joão@exemplo.com>") + (f.latin ? "" : " €")},
        {11, "ab"},
        {12, "123456789012345"},
        {13, "-2,5"},
        {14, "0,1"},
        {15, "-536870913"},
        {16, f.latin ? "58" : "59"},  // a date before 1 March 1900
        {17, "0,75"},
    };
    for (const auto& [row, text] : values)
      EXPECT_EQ(excel.LeCelula(2, row), text) << "B" << row;
    const std::string error = ErrorOf([&] { excel.LeCelula(2, 10); });
    EXPECT_NE(error.find("#DIV/0!"), std::string::npos) << error;
    // The formatted blank D20 is the last used cell.
    EXPECT_EQ(excel.UltimaLinha(), 20);
    EXPECT_EQ(excel.UltimaColuna(), 4);
    if (f.sheets.size() == 4) {
      excel.SelecionaAba(2);
      EXPECT_EQ(excel.LeCelula(1, 1), "código 1 ção");
      EXPECT_EQ(excel.LeCelula(1, 2), "code 2");
      std::string long_text;
      for (int i = 0; i < 3000; ++i)
        long_text += "ção";
      EXPECT_EQ(excel.LeCelula(1, 76), long_text);  // across CONTINUE records
      EXPECT_EQ(excel.LeCelula(1, 75), "código 75 ção");
      EXPECT_EQ(excel.LeCelula(1, 77), "code 76");
      EXPECT_EQ(excel.LeCelula(1, 151), "code 150");
      EXPECT_EQ(excel.LeCelula(3, 151), "150,5");
      EXPECT_EQ(excel.LeCelula(4, 77), "83,6");
      EXPECT_EQ(excel.UltimaLinha(), 152);  // a row of formatted blanks
      EXPECT_EQ(excel.UltimaColuna(), 4);
      excel.SelecionaAba(3);
      EXPECT_EQ(excel.LeCelula(1, 1), "नमस्ते");
    }
    excel.SelecionaAba(static_cast<int32_t>(f.sheets.size()));
    if (f.sheets.back() == "Größe") {
      EXPECT_EQ(excel.LeCelula(1, 1), "Maß");
    }
  }
}

// The same workbook as .xls and as .xlsx: every cell of every sheet and the
// used areas agree.
TEST(XlsCorpus, XlsAndXlsxOfOneWorkbookReadAlike) {
  TDMCotrolaExcel xls(app::CreateFileEngine());
  TDMCotrolaExcel xlsx(app::CreateFileEngine());
  xls.AbrePlanilha(Fixture("libreoffice_97.xls"));
  xlsx.AbrePlanilha(Fixture("libreoffice_97.xlsx"));
  const auto sheets = static_cast<int32_t>(xls.ListaAbas().size());
  for (int32_t s = 1; s <= sheets; ++s) {
    xls.SelecionaAba(s);
    xlsx.SelecionaAba(s);
    ASSERT_EQ(xls.UltimaLinha(), xlsx.UltimaLinha()) << s;
    ASSERT_EQ(xls.UltimaColuna(), xlsx.UltimaColuna()) << s;
    for (int32_t r = 1; r <= xls.UltimaLinha(); ++r) {
      for (int32_t k = 1; k <= xls.UltimaColuna(); ++k) {
        EXPECT_EQ(CellOrError(xls, k, r), CellOrError(xlsx, k, r))
            << "sheet " << s << ", column " << k << ", row " << r;
      }
    }
  }
}

// As many sheet records as an .xlsx may list sheets, empty names all
// pointing at one sheet; one more is refused before any sheet is listed.
TEST(XlsSheets, TheSheetListIsBoundAsForXlsx) {
  for (const size_t count : {size_t{10'000}, size_t{10'001}}) {
    SCOPED_TRACE(count);
    const std::string bof = TBook::Bof(true, 5);
    const size_t sheet_at = bof.size() + count * 12 + 4;
    std::string stream = bof;
    for (size_t i = 0; i < count; ++i)
      stream += Record(0x0085, U32(static_cast<uint32_t>(sheet_at)) + "\0\0\0\0"s);
    stream += Record(0x000A, "") + TBook::Bof(true, 0x10) + Number(0, 0, 7) + Record(0x000A, "");
    const std::string file = xls_test::CompoundFile("Workbook", stream);
    if (count == 10'000) {
      const auto reader = Open(file);
      EXPECT_EQ(reader->SheetCount(), 10'000);
      EXPECT_EQ(Show(reader->ReadSheet(10'000)->Get(1, 1)), "n:7");
    } else {
      EXPECT_EQ(ErrorOf([&] { Open(file); }),
                "A planilha tem mais de 10000 planilhas em \"teste.xls\", mais do que o leitor "
                "aceita.");
    }
  }
}

// A NUL in the text of a cell would be sent into CLIENTE.EMAIL: whether it
// comes in a LABEL, a shared text or a formula's text, reading the cell names
// the sheet and the cell, as .csv and .xlsx refuse it in the file.
TEST(XlsText, ANulCharacterInACellIsRefusedNamingTheCell) {
  TBook book;
  book.globals = xls_test::TSstWriter(8224).Table({{u"limpo"}, {std::u16string(u"a\0b", 3)}});
  book.sheets.push_back(
      {book.Name("Clientes"),
       LabelSst(0, 0, 0) + LabelSst(0, 1, 1) +
           Record(0x0204, Place(1, 0) + xls_test::Biff8String(std::u16string(u"x\0@y", 4))) +
           Formula(2, 0, Special(0, 0)) +
           Record(0x0207, xls_test::Biff8String(std::u16string(u"\0", 1)))});
  app_test::TempDir dir("nulo");
  const std::string path = dir.File("nulo.xls");
  {
    std::ofstream out(path, std::ios::binary);
    out << xls_test::CompoundFile("Workbook", book.Stream());
  }
  TDMCotrolaExcel excel(app::CreateFileEngine());
  excel.AbrePlanilha(path);
  excel.SelecionaAba(1);
  EXPECT_EQ(CellOrError(excel, 1, 1), "limpo");
  for (const auto& [column, row] : {std::pair{2, 1}, {1, 2}, {1, 3}}) {
    EXPECT_EQ(CellOrError(excel, column, row),
              "erro: A célula " + TDMCotrolaExcel::LetraColuna(column) + std::to_string(row) +
                  " da aba \"Clientes\" contém um caractere nulo e não pode ser lida.");
  }
  // The block read of an import stops at the same cell.
  EXPECT_EQ(ErrorOf([&] { excel.LeLinhas(1, 3, 2, [](int32_t, auto) {}); }),
            "A célula B1 da aba \"Clientes\" contém um caractere nulo e não pode ser lida.");
}

// A sheet of numbers costs the workbook stream and 16 bytes a cell: the
// stream is copied out of the file at its size and the cell table is made at
// the size the records hold, instead of both growing by copies (an .xls of
// numbers took about seven times its size).
TEST(XlsMemory, ASheetOfNumbersCostsItsStreamAndSixteenBytesACell) {
  constexpr uint16_t kRows = 1200, kColumns = 256;
  TBook book;
  std::string cells;
  for (uint16_t row = 0; row < kRows; ++row) {
    std::string mulrk = U16(row) + U16(0);
    for (uint16_t column = 0; column < kColumns; ++column)
      mulrk += U16(15) + U32(uint32_t{row} << 2 | 2);
    cells += Record(0x00BD, mulrk + U16(kColumns - 1));
  }
  book.sheets.push_back({book.Name("Numeros"), cells});
  const std::string stream = book.Stream();
  const std::string file = xls_test::CompoundFile("Workbook", stream);
  test_support::THeapPeak peak;
  const auto reader = Open(file);
  const auto sheet = reader->ReadSheet(1);
  EXPECT_EQ(sheet->LastRow(), kRows);
  EXPECT_EQ(sheet->LastColumn(), kColumns);
  EXPECT_EQ(Show(sheet->Get(kColumns, kRows)), "n:" + std::to_string(kRows - 1));
  if (peak.Available()) {
    // The cell table is rounded up to whole 2 MiB pages on Linux.
    EXPECT_LT(peak.Bytes(), static_cast<int64_t>(stream.size()) + 16 * kRows * kColumns +
                                (2 << 20) + (256 << 10));
  }
}

TEST(FileEngineXls, AnXlsNamedXlsxIsReadAsWhatItIs) {
  app_test::TempDir dir("renomeada");
  const std::string path = dir.File("renomeada.xlsx");
  std::filesystem::copy_file(Fixture("libreoffice_1904.xls"), path);
  TDMCotrolaExcel excel(app::CreateFileEngine());
  excel.AbrePlanilha(path);
  EXPECT_EQ(excel.ListaAbas(), std::vector<std::string>{"Valores"});
  EXPECT_EQ(excel.LeCelula(2, 1), "123");
}

}  // namespace
