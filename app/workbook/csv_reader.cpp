// .csv workbooks: one worksheet named after the file without its extension.
// The text is UTF-16 when it starts with a UTF-16 byte-order mark (Excel's
// "Unicode text", whose separator is always the tab), else UTF-8 (with or
// without a byte-order mark) when it is valid UTF-8, else Windows-1252. A
// file holding NUL characters is no text and is refused. The separator is
// the first of ";", "," and tab that occurs in the first record outside
// quotes (";" when none does, so a file without separators is one column).
// Fields follow RFC 4180: a field that starts with a quote runs to the
// closing quote, "" inside it is one quote and line breaks inside it belong
// to the field; a quote that is never closed is refused, naming its line.
// Every record is a row (an empty line is an empty row); an empty field is
// an empty cell.
#include "app/workbook/csv_reader.h"

#include <string_view>

#include "app/errors.h"
#include "app/text_encoding.h"
#include "app/workbook/file_io.h"
#include "unicode/utf8.h"

namespace app {

namespace {

char DetectSeparator(std::string_view text) {
  size_t semicolons = 0, commas = 0, tabs = 0;
  bool quoted = false;
  for (char c : text) {
    if (c == '"') {
      quoted = !quoted;
    } else if (!quoted) {
      if (c == '\n' || c == '\r') break;
      semicolons += c == ';';
      commas += c == ',';
      tabs += c == '\t';
    }
  }
  if (semicolons > 0) return ';';
  if (commas > 0) return ',';
  if (tabs > 0) return '\t';
  return ';';
}

// UTF-16 text after its byte-order mark, as UTF-8 (an unpaired surrogate
// or a last odd byte gives U+FFFD).
void Utf16ToUtf8(std::string_view bytes, bool little_endian, std::string& out) {
  std::u16string units(bytes.size() / 2, u'\0');
  for (size_t k = 0; k < units.size(); ++k) {
    const auto first = static_cast<unsigned char>(bytes[2 * k]);
    const auto second = static_cast<unsigned char>(bytes[2 * k + 1]);
    units[k] = static_cast<char16_t>(little_endian ? first | (second << 8) : (first << 8) | second);
  }
  out.clear();
  out.reserve(bytes.size());
  unicode::AppendUtf16AsUtf8(units, out);
  if (bytes.size() % 2 != 0) unicode::AppendUtf8(unicode::kReplacementCharacter, out);
}

class CsvReader : public TWorkbookReader {
 public:
  CsvReader(const std::string& bytes, const std::string& path) : path_(path) {
    names_.push_back(FileStem(path));
    std::string_view view(bytes);
    if (view.starts_with("\xFF\xFE") || view.starts_with("\xFE\xFF")) {
      Utf16ToUtf8(view.substr(2), view[0] == '\xFF', text_);
      unicode_text_ = true;
    } else {
      if (view.starts_with("\xEF\xBB\xBF")) view.remove_prefix(3);
      if (unicode::IsValidUtf8(view)) {
        text_.assign(view);
      } else {
        Win1252ToUtf8(view, text_);
      }
    }
    // A NUL would reach the database inside a field: a file that holds one
    // (UTF-16 read as bytes, a binary file renamed .csv) is no text.
    if (text_.find('\0') != std::string::npos) {
      throw EPlanilhaError("O arquivo \"" + path +
                           "\" não é um arquivo de texto (contém caracteres nulos).");
    }
  }

  std::unique_ptr<TSheetData> ReadSheet(int32_t) override {
    auto data = std::make_unique<TSheetData>();
    const std::string_view text(text_);
    const char separator = unicode_text_ ? '\t' : DetectSeparator(text);
    int64_t row = 1;
    // The line of the file being read (records may span lines).
    int64_t line = 1;
    int64_t column = 1;
    std::string field;
    size_t i = 0;
    const size_t n = text.size();
    auto store = [&] {
      if (field.empty()) return;
      if (row > kMaxSheetRows || column > kMaxSheetColumns) {
        throw EPlanilhaError("O arquivo \"" + path_ + "\" passa do tamanho de uma planilha (" +
                             std::to_string(kMaxSheetRows) + " linhas, " +
                             std::to_string(kMaxSheetColumns) + " colunas).");
      }
      if (data->CellCount() >= kMaxSheetCells) {
        throw EPlanilhaError("A planilha excede o número máximo de células aceito (" +
                             std::to_string(kMaxSheetCells) + ").");
      }
      data->AddText(static_cast<int32_t>(row), static_cast<int32_t>(column), field);
    };
    while (i < n) {
      field.clear();
      if (text[i] == '"') {
        const int64_t opened = line;
        ++i;
        for (;;) {
          if (i >= n) {
            // The rest of the file would be one field and the rows after it
            // lost.
            throw EPlanilhaError("O arquivo \"" + path_ + "\" está danificado: as aspas abertas " +
                                 "na linha " + std::to_string(opened) +
                                 " não se fecham até o fim do arquivo.");
          }
          if (text[i] == '"') {
            if (i + 1 < n && text[i + 1] == '"') {
              field.push_back('"');
              i += 2;
              continue;
            }
            ++i;
            break;
          }
          if (text[i] == '\n' || (text[i] == '\r' && (i + 1 >= n || text[i + 1] != '\n'))) ++line;
          field.push_back(text[i++]);
        }
        // Text after the closing quote, up to the separator, is kept as it is.
        while (i < n && text[i] != separator && text[i] != '\n' && text[i] != '\r') {
          field.push_back(text[i++]);
        }
      } else {
        const size_t start = i;
        while (i < n && text[i] != separator && text[i] != '\n' && text[i] != '\r')
          ++i;
        field.assign(text.substr(start, i - start));
      }
      store();
      if (i >= n) break;
      if (text[i] == separator) {
        ++i;
        ++column;
        if (i >= n) break;
        continue;
      }
      // End of the record: CRLF, LF or CR.
      if (text[i] == '\r' && i + 1 < n && text[i + 1] == '\n') ++i;
      ++i;
      ++row;
      ++line;
      column = 1;
    }
    data->Finish();
    return data;
  }

 private:
  std::string path_;
  std::string text_;
  bool unicode_text_ = false;
};

}  // namespace

std::unique_ptr<TWorkbookReader> OpenCsv(const std::string& bytes, const std::string& path) {
  return std::make_unique<CsvReader>(bytes, path);
}

}  // namespace app
