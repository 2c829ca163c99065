#include "app/workbook/sheet_xml_scanner.h"

#include <cstdint>
#include <cstring>

#include "app/errors.h"
#include "unicode/utf8.h"

namespace app {

void DecodeXmlText(std::string_view raw, std::string& out) {
  size_t i = 0;
  while (i < raw.size()) {
    const size_t amp = raw.find('&', i);
    if (amp == std::string_view::npos) {
      out.append(raw.substr(i));
      return;
    }
    out.append(raw.substr(i, amp - i));
    const size_t semi = raw.find(';', amp);
    if (semi == std::string_view::npos || semi - amp > 12) {
      throw EPlanilhaError("A planilha está danificada: referência XML malformada.");
    }
    const std::string_view ref = raw.substr(amp + 1, semi - amp - 1);
    if (ref == "lt") {
      out.push_back('<');
    } else if (ref == "gt") {
      out.push_back('>');
    } else if (ref == "amp") {
      out.push_back('&');
    } else if (ref == "quot") {
      out.push_back('"');
    } else if (ref == "apos") {
      out.push_back('\'');
    } else if (ref.size() >= 2 && ref[0] == '#') {
      uint32_t cp = 0;
      const bool hex = ref[1] == 'x';
      size_t k = hex ? 2 : 1;
      if (k >= ref.size())
        throw EPlanilhaError("A planilha está danificada: referência XML malformada.");
      for (; k < ref.size(); ++k) {
        const char c = ref[k];
        uint32_t d;
        if (c >= '0' && c <= '9') {
          d = static_cast<uint32_t>(c - '0');
        } else if (hex && c >= 'a' && c <= 'f') {
          d = static_cast<uint32_t>(c - 'a' + 10);
        } else if (hex && c >= 'A' && c <= 'F') {
          d = static_cast<uint32_t>(c - 'A' + 10);
        } else {
          throw EPlanilhaError("A planilha está danificada: referência XML malformada.");
        }
        cp = cp * (hex ? 16 : 10) + d;
        if (cp > 0x10FFFF) break;
      }
      if (cp == 0 || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        throw EPlanilhaError("A planilha está danificada: caractere XML inválido.");
      }
      unicode::AppendUtf8(cp, out);
    } else {
      throw EPlanilhaError("A planilha usa a entidade XML \"" + std::string(ref.substr(0, 40)) +
                           "\", que não é aceita.");
    }
    i = semi + 1;
  }
}

void SheetXmlDamaged(const std::string& part, const std::string& why) {
  throw EPlanilhaError("A planilha está danificada: " + why + " em \"" + part + "\".");
}

void SheetXmlRefusesDtd(const std::string& part) {
  throw EPlanilhaError("A planilha contém uma declaração de tipo de documento (DTD) em \"" + part +
                       "\", o que não é aceito.");
}

template class TBasicSheetXmlScanner<TSheetXmlHandler>;

}  // namespace app
