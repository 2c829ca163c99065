// The worksheet XML scanner: the same events however the document is cut
// into chunks, and the refusals.
#include "app/workbook/sheet_xml_scanner.h"

#include <gtest/gtest.h>

#include <cstring>

#include "app/errors.h"

namespace {

class Log : public app::TSheetXmlHandler {
 public:
  std::string events;
  void Start(std::string_view name, const std::vector<app::TXmlAttr>& attrs) override {
    Flush();
    events += "<" + std::string(name);
    for (const auto& a : attrs) {
      std::string v;
      app::DecodeXmlText(a.value, v);
      events += " " + std::string(a.name) + "=" + v;
    }
    events += ">";
  }
  void End(std::string_view name) override {
    Flush();
    events += "</" + std::string(name) + ">";
  }
  void Text(std::string_view text, bool cdata) override {
    if (cdata) {
      text_.append(text);
    } else {
      app::DecodeXmlText(text, text_);
    }
  }
  void Flush() {
    if (!text_.empty()) events += "[" + text_ + "]";
    text_.clear();
  }

 private:
  std::string text_;
};

std::string Events(std::string_view doc, size_t cut) {
  Log log;
  app::TSheetXmlScanner scanner(log, "sheet.xml");
  scanner.Feed(doc.data(), cut, false);
  scanner.Feed(doc.data() + cut, doc.size() - cut, true);
  log.Flush();
  return log.events;
}

TEST(SheetXmlScanner, SameEventsWhereverTheChunksAreCut) {
  const std::string doc =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!-- a comment -->"
      "<x:worksheet xmlns:x=\"urn:x\"><x:sheetData><row r=\"1\" spans='1:2'>"
      "<c r=\"A1\" t=\"inlineStr\"><is><t>a &amp; b &lt;&#233;&#x4E2D;&gt;</t></is></c>"
      "<c r=\"B1\" s=\"a>b\"/><c><v><![CDATA[<raw &amp;>]]></v></c><?pi x?></row>"
      "</x:sheetData></x:worksheet>\n";
  const std::string expected =
      "<worksheet x=urn:x><sheetData><row r=1 spans=1:2><c r=A1 t=inlineStr><is><t>"
      "[a & b <é中>]</t></is></c><c r=B1 s=a>b></c><c><v>[<raw &amp;>]</v></c></row>"
      "</sheetData></worksheet>";
  for (size_t cut = 0; cut <= doc.size(); ++cut) {
    ASSERT_EQ(Events(doc, cut), expected) << "cut at " << cut;
  }
}

TEST(SheetXmlScanner, RefusesDtdsUnknownEntitiesAndBrokenDocuments) {
  const std::pair<const char*, const char*> cases[] = {
      {"<!DOCTYPE w [<!ENTITY e \"x\">]><w>&e;</w>", "DTD"},
      {"<w>&e;</w>", "entidade"},
      {"<w>&#0;</w>", "inválido"},
      {"<w>&#xD800;</w>", "inválido"},
      {"<w>&#x110000;</w>", "inválido"},
      {"<w><c></w>", "danificada"},
      {"<w><c>", "incompleto"},
      {"<w a=\"1></w>", "incompleto"},
      {"<w/><w/>", "raiz"},
      {"x<w/>", "raiz"},
      {"<w a=1/>", "aspas"},
      {"", "incompleto"},
      {"<w><c></x></w>", "a marca de fim </x> não corresponde a <c>"},
      {"<x:w><w:c></x:c></x:w>", "a marca de fim </x:c> não corresponde a <w:c>"},
      {"<w></w></w>", "marca de fim sem início"},
  };
  // Nesting: 1,000 levels are read, one more is refused.
  auto nested = [](int levels) {
    std::string doc;
    for (int k = 0; k < levels; ++k)
      doc += "<a>";
    for (int k = 0; k < levels; ++k)
      doc += "</a>";
    return doc;
  };
  const std::string ok = nested(1000), too_deep = nested(1001);
  {
    Log log;
    app::TSheetXmlScanner scanner(log, "sheet.xml");
    EXPECT_NO_THROW(scanner.Feed(ok.data(), ok.size(), true));
  }
  std::vector<std::pair<std::string, const char*>> all(std::begin(cases), std::end(cases));
  all.emplace_back(too_deep, "elementos aninhados em mais de 1000 níveis");
  for (const auto& [doc, message] : all) {
    Log log;
    app::TSheetXmlScanner scanner(log, "sheet.xml");
    try {
      scanner.Feed(doc.data(), doc.size(), true);
      ADD_FAILURE() << doc;
    } catch (const app::EPlanilhaError& e) {
      EXPECT_NE(std::string(e.what()).find(message), std::string::npos) << doc << ": " << e.what();
    }
  }
}

}  // namespace
