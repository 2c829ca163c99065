// The text of an XML part on its way to the parsers: encodings, line ends
// and forbidden characters, the same wherever the zip's chunks cut it.
#include "app/workbook/xml_part_text.h"

#include <gtest/gtest.h>

#include <string>

#include "app/errors.h"
#include "tests/app/workbook/utf16_bytes.h"

namespace {

using app_test::Utf16Bytes;

// The part fed in chunks of `chunk` bytes; the text given out, or
// "error: " and the message.
std::string Through(const std::string& part, size_t chunk) {
  std::string out;
  try {
    app::TXmlPartText text("xl/x.xml", [&](const char* p, size_t n) { out.append(p, n); });
    for (size_t at = 0; at < part.size(); at += chunk)
      text.Feed(part.data() + at, std::min(chunk, part.size() - at));
    text.Finish();
  } catch (const app::EPlanilhaError& e) {
    return std::string("error: ") + e.what();
  }
  return out;
}

TEST(XmlPartText, GivesCheckedUtf8WithXmlLineEndsWhereverTheChunksAreCut) {
  const std::string doc = "<w>ação 中 😀</w>";
  struct Case {
    const char* what;
    std::string part;
    std::string text;
  };
  const Case kCases[] = {
      {"plain", doc, doc},
      {"byte-order mark", "\xEF\xBB\xBF" + doc, doc},
      {"declaration", "<?xml version=\"1.0\" encoding=\"utf-8\"?>" + doc,
       "<?xml version=\"1.0\" encoding=\"utf-8\"?>" + doc},
      {"UTF-16LE", Utf16Bytes(u"<w>ação 中 😀</w>", true, true), doc},
      {"UTF-16BE", Utf16Bytes(u"<w>ação 中 😀</w>", false, true), doc},
      {"UTF-16 without mark, declared",
       Utf16Bytes(u"<?xml version='1.0' encoding='UTF-16'?><w/>", true, false),
       "<?xml version='1.0' encoding='UTF-16'?><w/>"},
      {"line ends", "<w>a\r\nb\rc\n\r\r\nd\r</w>\r", "<w>a\nb\nc\n\n\nd\n</w>\n"},
      {"UTF-16 line ends", Utf16Bytes(u"<w>a\r\nb\r</w>", true, true), "<w>a\nb\n</w>"},
      {"references stay", "<w>&#13;&#10;</w>", "<w>&#13;&#10;</w>"},
      {"NUL", std::string("<w>a\0b</w>", 9), "error: A planilha está danificada: byte nulo"},
      {"control character", "<w>\x01</w>",
       "error: A planilha está danificada: caractere de controle"},
      {"not UTF-8", "<w>\xC3(</w>", "error: A planilha está danificada: texto que não é UTF-8"},
      {"overlong", "<w>\xC0\xAF</w>", "error: A planilha está danificada: texto que não é UTF-8"},
      {"encoded surrogate", "<w>\xED\xA0\x80</w>",
       "error: A planilha está danificada: texto que não"},
      {"U+FFFE", "<w>\xEF\xBF\xBE</w>", "error: A planilha está danificada: caractere inválido"},
      {"cut at the end", "<w>\xE4\xB8",
       "error: A planilha está danificada: texto UTF-8 incompleto"},
      {"lone surrogate", Utf16Bytes(u"<w>\xD800</w>", true, true),
       "error: A planilha está danificada: texto UTF-16 inválido"},
      {"odd UTF-16", Utf16Bytes(u"<w/>", true, true) + "x",
       "error: A planilha está danificada: texto UTF-16 incompleto"},
      {"other encoding", "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><w>\xE9</w>",
       "error: A planilha usa a codificação de texto \"ISO-8859-1\" em \"xl/x.xml\", que não é "
       "aceita (somente UTF-8 ou UTF-16)."},
      {"declaration against the bytes", "<?xml version=\"1.0\" encoding=\"UTF-16\"?><w/>",
       "error: A planilha está danificada: a declaração diz \"UTF-16\", mas o texto está em UTF-8"},
      {"short", "<w", "<w"},
      {"empty", "", ""},
  };
  for (const Case& c : kCases) {
    for (size_t chunk : {c.part.size() + 1, size_t{1}, size_t{2}, size_t{3}, size_t{5}}) {
      const std::string out = Through(c.part, chunk);
      if (c.text.starts_with("error: ")) {
        EXPECT_TRUE(out.starts_with(c.text)) << c.what << ", chunks of " << chunk << ": " << out;
      } else {
        EXPECT_EQ(out, c.text) << c.what << ", chunks of " << chunk;
      }
    }
  }
}

}  // namespace
