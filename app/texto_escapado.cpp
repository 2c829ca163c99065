#include "app/texto_escapado.h"

namespace app {

void EscapaCampo(std::string_view text, std::string& out) {
  size_t plain = 0;  // start of the run of characters copied as they are
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    const char* escape = nullptr;
    switch (c) {
      case '\t':
        escape = "\\t";
        break;
      case '\r':
        escape = "\\r";
        break;
      case '\n':
        escape = "\\n";
        break;
      case '\\':
        escape = "\\\\";
        break;
      default:
        continue;
    }
    out.append(text.substr(plain, i - plain));
    out.append(escape);
    plain = i + 1;
  }
  out.append(text.substr(plain));
}

std::string Escapado(std::string_view text) {
  std::string out;
  EscapaCampo(text, out);
  return out;
}

std::string Citado(std::string_view text) {
  std::string out = "\"";
  EscapaCampo(text, out);
  return out.append("\"");
}

bool DesescapaCampo(std::string_view field, std::string& out) {
  out.clear();
  out.reserve(field.size());
  for (size_t i = 0; i < field.size(); ++i) {
    const char c = field[i];
    if (c != '\\') {
      out.push_back(c);
      continue;
    }
    if (++i == field.size()) return false;
    switch (field[i]) {
      case 't':
        out.push_back('\t');
        break;
      case 'r':
        out.push_back('\r');
        break;
      case 'n':
        out.push_back('\n');
        break;
      case '\\':
        out.push_back('\\');
        break;
      default:
        return false;
    }
  }
  return true;
}

}  // namespace app
