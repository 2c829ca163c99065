// CSV files that used to read wrongly and report success: a quote never
// closed, NUL characters, UTF-16 text.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "app/controla_excel.h"
#include "app/errors.h"
#include "app/workbook/file_engine.h"
#include "tests/app/app_test_support.h"
#include "tests/app/workbook/utf16_bytes.h"

namespace {

using app_test::Utf16Bytes;

// The file's rows as its cells joined by '|', or "error: " and the message.
std::string Read(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
  try {
    app::TDMCotrolaExcel excel(app::CreateFileEngine());
    excel.AbrePlanilha(path);
    excel.SelecionaAba(1);
    std::string out;
    excel.LeLinhas(1, excel.UltimaLinha(), excel.UltimaColuna(),
                   [&](int32_t, std::span<const std::string_view> texts) {
                     for (auto t : texts)
                       out.append(t).push_back('|');
                     out.push_back('\n');
                   });
    return out;
  } catch (const app::EPlanilhaError& e) {
    return std::string("error: ") + e.what();
  }
}

TEST(CsvReader, QuotesNeverClosedAndNulCharactersAreRefused) {
  app_test::TempDir dir("csv-refused");
  const std::string path = dir.File("clientes.csv");
  const std::string quote = "error: O arquivo \"" + path + "\" está danificado: as aspas abertas ";
  const std::string nul =
      "error: O arquivo \"" + path + "\" não é um arquivo de texto (contém caracteres nulos).";
  const std::pair<std::string, std::string> kCases[] = {
      // The rest of the file would have been one e-mail, the rows after it lost.
      {"codigo;email\n123;\"a@x.com\n7;b@x.com\n8;c@x.com\n",
       quote + "na linha 2 não se fecham até o fim do arquivo."},
      // Line breaks inside closed quotes count as lines of the file.
      {"\"um\r\ndois\";1\r\n\"tres\n\";2\r\n4;\"x", quote + "na linha 5 não"},
      {"\"", quote + "na linha 1 não"},
      {std::string("123;a@x\0.com\n", 13), nul},
      {std::string("123;jo\xE3o\0\n", 10), nul},  // Windows-1252
      // UTF-16 without a byte-order mark is no text to this reader.
      {std::string("1\0;\0a\0\n\0", 8), nul},
      {Utf16Bytes(std::u16string(u"1\ta\0\n", 5), true), nul},
  };
  for (const auto& [bytes, error] : kCases) {
    EXPECT_TRUE(Read(path, bytes).starts_with(error)) << Read(path, bytes);
  }
}

TEST(CsvReader, Utf16WithAByteOrderMarkIsTabSeparatedUnicodeText) {
  app_test::TempDir dir("csv-utf16");
  const std::string path = dir.File("texto.csv");
  const std::u16string text =
      u"código\te-mail, outro; mais\r\n123\tjoão@exemplo.com\r\n\"a\tb\"\t😀 ç\r\n";
  const std::string rows = "código|e-mail, outro; mais|\n123|joão@exemplo.com|\na\tb|😀 ç|\n";
  EXPECT_EQ(Read(path, Utf16Bytes(text, true)), rows);
  EXPECT_EQ(Read(path, Utf16Bytes(text, false)), rows);
  // An unpaired surrogate and a last odd byte read as U+FFFD.
  EXPECT_EQ(Read(path, Utf16Bytes(u"a\xD800\tb", true) + "x"), "a\uFFFD|b\uFFFD|\n");
}

}  // namespace
