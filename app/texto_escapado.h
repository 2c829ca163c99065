// Text fields in tab-separated lines: tab, CR, LF and backslash written as
// \t \r \n \\, everything else as it is. `updater-cli dump` prints the staged
// cells this way and the run records store their fields this way, so a field
// never splits a line or a column.
//
//   app::EscapaCampo("duas\nlinhas", out);      // out += "duas\\nlinhas"
//   if (!app::DesescapaCampo(campo, texto)) ...  // a lone or unknown escape
#pragma once

#include <string>
#include <string_view>

namespace app {

// Appends `text` escaped to `out`.
void EscapaCampo(std::string_view text, std::string& out);
std::string Escapado(std::string_view text);
// The escaped text between double quotes, as reports show a value.
std::string Citado(std::string_view text);
// The text of an escaped field into `out` (replacing it); false when the field
// has a backslash that starts none of the four escapes.
bool DesescapaCampo(std::string_view field, std::string& out);

}  // namespace app
