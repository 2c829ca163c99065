// Excel's escapes in the text of a workbook's XML parts: a character that
// XML cannot carry (a control character) is written _xHHHH_, its UTF-16 code
// unit in four hexadecimal digits, and a literal "_x" that would otherwise
// read as the start of one is written with its underscore escaped, _x005F_
// ("_x005F_x0000_" is the text "_x0000_").
#pragma once

#include <cstddef>
#include <string>

namespace app {

// Decodes the escapes of text[from..] in place (the text only gets shorter).
// Two escapes that form a surrogate pair give one character; a lone
// surrogate gives U+FFFD. False, and the text left half decoded, when an
// escape stands for NUL, which no text holds.
bool DecodeExcelEscapes(std::string& text, size_t from = 0);

}  // namespace app
