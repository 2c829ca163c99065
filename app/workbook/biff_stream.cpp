#include "app/workbook/biff_stream.h"

#include <cstring>
#include <string>

#include "app/errors.h"
#include "app/text_encoding.h"
#include "app/workbook/little_endian.h"
#include "unicode/utf8.h"

namespace app {

namespace {

enum : uint16_t {
  kFormula = 0x0006,
  kEof = 0x000A,
  kContinue = 0x003C,
  kBoundSheet = 0x0085,
  kBoolErr = 0x0205,
  kString = 0x0207,
  kBof = 0x0809,
};

const char* ErrorName(uint8_t code) {
  switch (code) {
    case 0x00:
      return "#NULL!";
    case 0x07:
      return "#DIV/0!";
    case 0x0F:
      return "#VALUE!";
    case 0x17:
      return "#REF!";
    case 0x1D:
      return "#NAME?";
    case 0x24:
      return "#NUM!";
    case 0x2A:
      return "#N/A";
    default:
      return "#ERRO";
  }
}

}  // namespace

TBiffStream::TBiffStream(std::string stream, std::string display_name)
    : stream_(std::move(stream)), display_name_(std::move(display_name)) {
  Record r;
  if (!RecordAt(0, r) || r.type != kBof || r.data.size() < 4) Damaged("início inválido");
  const uint16_t version = ReadU16(r.data, 0);
  if (version != 0x0600 && version != 0x0500) Damaged("versão não suportada");
  biff8_ = version == 0x0600;
  size_t offset = 4 + r.data.size();
  while (RecordAt(offset, r) && r.type != kEof) {
    if (r.type == kBoundSheet) {
      if (r.data.size() < 6) Damaged("lista de abas inválida");
      sheets_.push_back({ReadU32(r.data, 0), static_cast<uint8_t>(r.data[5])});
    }
    offset += 4 + r.data.size();
  }
}

bool TBiffStream::RecordAt(size_t offset, Record& record) const {
  if (offset + 4 > stream_.size()) return false;
  record.type = ReadU16(stream_, offset);
  const uint16_t length = ReadU16(stream_, offset + 2);
  if (offset + 4 + length > stream_.size()) Damaged("registro além do fim");
  record.data = std::string_view(stream_).substr(offset + 4, length);
  return true;
}

std::vector<TBiffCell> TBiffStream::SpecialCells(size_t index) const {
  std::vector<TBiffCell> cells;
  size_t offset = sheets_.at(index).offset;
  Record r;
  if (!RecordAt(offset, r) || r.type != kBof) Damaged("aba sem início");
  offset += 4 + r.data.size();
  // Charts embedded in a worksheet nest their own BOF .. EOF.
  int depth = 1;
  bool string_pending = false;
  while (depth > 0 && RecordAt(offset, r)) {
    const size_t next = offset + 4 + r.data.size();
    if (r.type == kBof) {
      ++depth;
    } else if (r.type == kEof) {
      --depth;
    } else if (depth == 1 && r.type == kString && string_pending) {
      size_t at = offset;
      cells.back().text = StringResult(at);
      string_pending = false;
      offset = at;
      continue;
    } else if (depth == 1 && r.type == kBoolErr && r.data.size() >= 8) {
      TBiffCell c;
      c.row = ReadU16(r.data, 0);
      c.column = ReadU16(r.data, 2);
      const auto value = static_cast<uint8_t>(r.data[6]);
      if (r.data[7] != 0) {
        c.kind = TBiffCell::TKind::Error;
        c.text = ErrorName(value);
      } else {
        c.kind = TBiffCell::TKind::Boolean;
        c.number = value != 0 ? 1 : 0;
      }
      cells.push_back(std::move(c));
      string_pending = false;
    } else if (depth == 1 && r.type == kFormula && r.data.size() >= 14) {
      TBiffCell c;
      c.row = ReadU16(r.data, 0);
      c.column = ReadU16(r.data, 2);
      const std::string_view result = r.data.substr(6, 8);
      string_pending = false;
      if (static_cast<uint8_t>(result[6]) == 0xFF && static_cast<uint8_t>(result[7]) == 0xFF) {
        switch (result[0]) {
          case 0:  // text, in the STRING record that follows
            c.kind = TBiffCell::TKind::Text;
            string_pending = true;
            break;
          case 1:
            c.kind = TBiffCell::TKind::Boolean;
            c.number = result[2] != 0 ? 1 : 0;
            break;
          case 2:
            c.kind = TBiffCell::TKind::Error;
            c.text = ErrorName(static_cast<uint8_t>(result[2]));
            break;
          default:  // 3: an empty text
            c.kind = TBiffCell::TKind::Text;
            break;
        }
      } else {
        c.kind = TBiffCell::TKind::Number;
        std::memcpy(&c.number, result.data(), 8);
      }
      cells.push_back(std::move(c));
    }
    offset = next;
  }
  return cells;
}

std::string TBiffStream::StringResult(size_t& offset) const {
  Record r;
  RecordAt(offset, r);
  offset += 4 + r.data.size();
  std::string text;
  if (r.data.size() < 2) Damaged("texto de fórmula inválido");
  size_t remaining = ReadU16(r.data, 0);
  if (!biff8_) {
    // BIFF5: bytes in the workbook's code page.
    if (2 + remaining > r.data.size()) Damaged("texto de fórmula inválido");
    AppendText(r.data.substr(2, remaining), false, text);
    return text;
  }
  std::string_view data = r.data.substr(2);
  // Each piece starts with its flags: bit 0 set for two bytes a character.
  // A text that does not fit its record goes on in CONTINUE records.
  for (;;) {
    if (data.empty()) Damaged("texto de fórmula inválido");
    const bool wide = (data[0] & 1) != 0;
    data.remove_prefix(1);
    const size_t fits = wide ? data.size() / 2 : data.size();
    const size_t take = remaining < fits ? remaining : fits;
    AppendText(data.substr(0, wide ? take * 2 : take), wide, text);
    remaining -= take;
    if (remaining == 0) return text;
    if (!RecordAt(offset, r) || r.type != kContinue) Damaged("texto de fórmula incompleto");
    offset += 4 + r.data.size();
    data = r.data;
  }
}

void TBiffStream::AppendText(std::string_view bytes, bool wide, std::string& out) const {
  if (!wide) {
    // One byte a character: the low half of UTF-16 in BIFF8; in BIFF5 the
    // workbook's code page, Windows-1252 for the workbooks this program
    // meets.
    if (biff8_) {
      for (char c : bytes)
        unicode::AppendUtf8(static_cast<uint8_t>(c), out);
    } else {
      std::string utf8;
      Win1252ToUtf8(bytes, utf8);
      out += utf8;
    }
    return;
  }
  // UTF-16LE; a lone surrogate becomes U+FFFD.
  std::u16string units(bytes.size() / 2, u'\0');
  for (size_t k = 0; k < units.size(); ++k)
    units[k] = static_cast<char16_t>(ReadU16(bytes, 2 * k));
  unicode::AppendUtf16AsUtf8(units, out);
}

void TBiffStream::Damaged(const std::string& why) const {
  throw EPlanilhaError("A planilha \"" + display_name_ + "\" está danificada (" + why + ").");
}

}  // namespace app
