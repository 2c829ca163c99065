// .xlsx packages built to hurt the reader: each is refused with a clear
// Portuguese message, at its bound, before it can take unbounded memory or
// time; a package just within the bounds still reads.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/workbook/workbook_reader.h"
#include "app/workbook/xlsx_limits.h"
#include "tests/app/app_test_support.h"
#include "tests/app/workbook/xlsx_package.h"
#include "tests/support/heap_peak.h"

namespace {

using xlsx_test::Part;
using xlsx_test::TPart;

std::string Sheet() {
  return std::string("<worksheet xmlns=\"") + xlsx_test::kMain +
         "\"><sheetData><row r=\"1\"><c r=\"A1\" "
         "t=\"s\"><v>0</v></c></row></sheetData></worksheet>";
}

std::string Shared() {
  return std::string("<sst xmlns=\"") + xlsx_test::kMain + "\"><si><t>a</t></si></sst>";
}

std::string Repeat(const std::string& piece, size_t count) {
  std::string out;
  out.reserve(piece.size() * count);
  for (size_t k = 0; k < count; ++k)
    out += piece;
  return out;
}

std::string Nested(const std::string& name, size_t levels) {
  return Repeat("<" + name + ">", levels) + Repeat("</" + name + ">", levels);
}

// n more sheets, all worksheets of the same part.
std::string Sheets(size_t n) {
  return Repeat("<sheet name=\"a\" sheetId=\"1\" r:id=\"rId1\"/>", n);
}

std::string Relationships(size_t n) {
  const std::string rel = xlsx_test::kRel;
  return Repeat("<Relationship Id=\"rId9\" Type=\"" + rel + "styles\" Target=\"styles.xml\"/>", n) +
         "<Relationship Id=\"rId1\" Type=\"" + rel +
         "worksheet\" Target=\"worksheets/sheet1.xml\"/><Relationship Id=\"rId2\" Type=\"" + rel +
         "sharedStrings\" Target=\"sharedStrings.xml\"/>";
}

// A raw entry that claims `claimed` bytes once inflated.
TPart Claiming(const std::string& name, const std::string& body, uint64_t claimed) {
  return {name, body, true, 0, claimed};
}

// Empty stored entries until the package has `count`.
void AddEmptyEntries(std::vector<TPart>& parts, size_t count) {
  for (size_t k = parts.size(); k < count; ++k)
    parts.push_back({"p/" + std::to_string(k), "", true, 0, 0});
}

struct Case {
  const char* what;
  std::function<void(std::vector<TPart>&)> change;
  const char* error;  // "" : reads
};

TEST(XlsxPackage, HostilePackagesAreRefusedAtTheirBounds) {
  const Case kCases[] = {
      // The zip package.
      {"a second sheet in other letter case",
       [](auto& parts) {
         parts.push_back({"XL/WORKSHEETS/SHEET1.XML", Sheet()});
       },
       "parte repetida no pacote (XL/WORKSHEETS/SHEET1.XML)"},
      {"a bzip2 entry",
       [](auto& parts) {
         parts.push_back({"xl/styles.xml", "BZh9", true, 12, 4});
       },
       "método de compressão não aceito (12) (xl/styles.xml)"},
      {"100,000 entries", [](auto& parts) { AddEmptyEntries(parts, app::kMaxZipEntries); }, ""},
      {"100,001 entries", [](auto& parts) { AddEmptyEntries(parts, app::kMaxZipEntries + 1); },
       "mais de 100000 partes no pacote zip"},
      // Counts in the parts.
      {"10,000 sheets",
       [](auto& parts) {
         Part(parts, "xl/workbook.xml").body = xlsx_test::WorkbookXml(Sheets(app::kMaxSheets));
       },
       ""},
      {"10,001 sheets",
       [](auto& parts) {
         Part(parts, "xl/workbook.xml").body = xlsx_test::WorkbookXml(Sheets(app::kMaxSheets + 1));
       },
       "A planilha tem mais de 10000 planilhas em \"xl/workbook.xml\""},
      {"100,001 relationships",
       [](auto& parts) {
         Part(parts, "xl/_rels/workbook.xml.rels").body =
             xlsx_test::RelsXml(Relationships(app::kMaxRelationships - 1));
       },
       "A planilha tem mais de 100000 relações em \"xl/_rels/workbook.xml.rels\""},
      {"a workbook part 1,000 levels deep",
       [](auto& parts) {
         Part(parts, "xl/workbook.xml").body = xlsx_test::WorkbookXml(
             "<sheet name=\"a\" sheetId=\"1\" r:id=\"rId1\"/>" + Nested("a", 998));
       },
       ""},
      {"a workbook part 1,001 levels deep",
       [](auto& parts) {
         Part(parts, "xl/workbook.xml").body = xlsx_test::WorkbookXml(Nested("a", 999));
       },
       "elementos aninhados em mais de 1000 níveis em \"xl/workbook.xml\""},
      {"a worksheet 1,001 levels deep",
       [](auto& parts) {
         Part(parts, "xl/worksheets/sheet1.xml").body = std::string("<worksheet xmlns=\"") +
                                                        xlsx_test::kMain + "\">" +
                                                        Nested("a", 1000) + "</worksheet>";
       },
       "elementos aninhados em mais de 1000 níveis em \"xl/worksheets/sheet1.xml\""},
      {"16,777,217 shared strings",
       [](auto& parts) {
         Part(parts, "xl/sharedStrings.xml").body =
             std::string("<sst xmlns=\"") + xlsx_test::kMain + "\">" +
             Repeat("<si/>", app::kMaxSharedStrings + 1) + "</sst>";
       },
       "A planilha tem mais de 16777216 textos em \"xl/sharedStrings.xml\""},
      // Inflated sizes of every part, as the package claims them.
      {"relationships of 65 MB",
       [](auto& parts) {
         Part(parts, "_rels/.rels") = Claiming("_rels/.rels", "", app::kMaxRelsPartBytes + 1);
       },
       "_rels/.rels ocuparia 64 MB descompactado (limite 64 MB)"},
      {"a workbook part of 257 MB",
       [](auto& parts) {
         Part(parts, "xl/workbook.xml") =
             Claiming("xl/workbook.xml", "", app::kMaxWorkbookPartBytes + (1 << 20));
       },
       "xl/workbook.xml ocuparia 257 MB descompactado (limite 256 MB)"},
      {"shared strings of 1025 MB",
       [](auto& parts) {
         Part(parts, "xl/sharedStrings.xml") =
             Claiming("xl/sharedStrings.xml", "", app::kMaxXmlPartBytes + (1 << 20));
       },
       "xl/sharedStrings.xml ocuparia 1025 MB descompactado (limite 1024 MB)"},
  };
  app_test::TempDir dir("xlsx-package");
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.what);
    auto parts = xlsx_test::Workbook(Sheet(), Shared());
    c.change(parts);
    const std::string path = dir.File("hostil.xlsx");
    xlsx_test::WritePackage(path, parts);
    const std::string error = xlsx_test::OpenError(path);
    if (*c.error == '\0') {
      EXPECT_EQ(error, "");
    } else {
      EXPECT_NE(error.find(c.error), std::string::npos) << error;
    }
  }
}

// A package of a few kilobytes whose worksheet claims nearly the gigabyte a
// part may inflate to: the reader gives memory to what the part holds (it
// used to reserve some 840 MB from the claim, which 32-bit Windows could not
// give: "Memória insuficiente" on a harmless file).
TEST(XlsxPackage, ASheetGetsMemoryForWhatItHoldsNotForWhatItClaims) {
  app_test::TempDir dir("reivindica");
  const std::string path = dir.File("reivindica.xlsx");
  auto parts = xlsx_test::Workbook(Sheet(), Shared());
  Part(parts, "xl/worksheets/sheet1.xml") =
      Claiming("xl/worksheets/sheet1.xml", Sheet(), app::kMaxXmlPartBytes - (1 << 20));
  xlsx_test::WritePackage(path, parts);
  test_support::THeapPeak peak;
  const std::string error = xlsx_test::OpenError(path);
  EXPECT_EQ(error.find("Memória"), std::string::npos) << error;
  if (peak.Available()) {
    EXPECT_LT(peak.Bytes(), 16 << 20);
  }
}

}  // namespace
