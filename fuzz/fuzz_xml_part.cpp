// The text of an .xlsx part on its way to the sheet scanner: any bytes give
// the same text and the same scanner events, or the same refusal, whether
// they come whole or cut into chunks (the first byte of the input chooses
// the chunk size); Excel's escapes decode without reading out of bounds.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/errors.h"
#include "app/workbook/excel_escapes.h"
#include "app/workbook/sheet_xml_scanner.h"
#include "app/workbook/xml_part_text.h"

namespace {

class Events : public app::TSheetXmlHandler {
 public:
  std::string log;
  void Start(std::string_view name, const std::vector<app::TXmlAttr>& attrs) override {
    log.append("<").append(name);
    for (const auto& a : attrs)
      log.append(" ").append(a.name).append("=").append(a.value);
    log.append(">");
  }
  void End(std::string_view name) override { log.append("</").append(name).append(">"); }
  void Text(std::string_view text, bool) override {
    std::string decoded(text);
    app::DecodeExcelEscapes(decoded);
    log.append("[").append(decoded).append("]");
  }
};

// The text and events of the part fed in chunks of `chunk` bytes, or the
// refusal's message.
std::string Read(const std::string& part, size_t chunk) {
  Events events;
  std::string text;
  try {
    app::TSheetXmlScanner scanner(events, "xl/x.xml");
    app::TXmlPartText filter("xl/x.xml", [&](const char* p, size_t n) {
      text.append(p, n);
      scanner.Feed(p, n, false);
    });
    for (size_t at = 0; at < part.size(); at += chunk)
      filter.Feed(part.data() + at, std::min(chunk, part.size() - at));
    filter.Finish();
    scanner.Feed("", 0, true);
  } catch (const app::EPlanilhaError& e) {
    return std::string("error: ") + e.what();
  }
  return text + "\n" + events.log;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const size_t chunk = 1 + data[0] % 16;
  const std::string part(reinterpret_cast<const char*>(data) + 1, size - 1);
  // Cut text events may come in other pieces; what they add up to may not
  // differ, so only the refusal or success and the filtered text compare.
  const std::string whole = Read(part, part.size() + 1), cut = Read(part, chunk);
  if (whole.starts_with("error: ") != cut.starts_with("error: ")) std::abort();
  if (!whole.starts_with("error: ") &&
      whole.substr(0, whole.find('\n')) != cut.substr(0, cut.find('\n'))) {
    std::abort();
  }
  return 0;
}
