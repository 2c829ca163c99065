#include "app/workbook/biff_stream.h"

#include "app/errors.h"
#include "app/workbook/biff_records.h"
#include "app/workbook/little_endian.h"
#include "app/workbook/xlsx_limits.h"

namespace app {

namespace {

constexpr uint16_t kBiff8 = 0x0600;
constexpr uint16_t kBiff5 = 0x0500;  // Excel 5.0 and 95

// Every cell of one BIFF8 sheet (65,536 rows by 256 columns) could hold its
// own text; a table of more distinct texts only costs memory.
constexpr size_t kMaxBiffSharedStrings = size_t{65536} * 256;

}  // namespace

TBiffStream::TBiffStream(std::string stream, std::string display_name)
    : stream_(std::move(stream)), display_name_(std::move(display_name)) {
  TBiffRecord r;
  if (!ReadBiffRecord(stream_, 0, display_name_, r) || r.type != biff::kBof || r.data.size() < 4) {
    ThrowDamagedWorkbook(display_name_, "início inválido");
  }
  const uint16_t version = ReadU16(r.data, 0);
  if (version != kBiff8 && version != kBiff5)
    ThrowDamagedWorkbook(display_name_, "versão não suportada");
  text_.biff8 = version == kBiff8;

  // The global part, up to its EOF. Sheet names are read once the code page
  // is known, whatever the order of the records.
  std::vector<size_t> sheet_records;
  bool sst_read = false;
  size_t globals_end = stream_.size();
  for (size_t at = r.next; ReadBiffRecord(stream_, at, display_name_, r); at = r.next) {
    if (r.type == biff::kEof) {
      globals_end = r.next;
      break;
    }
    switch (r.type) {
      case biff::kFilePass:
        // Everything after it is encrypted.
        throw EPlanilhaError("A planilha \"" + display_name_ +
                             "\" está protegida por senha e não pode ser lida.");
      case biff::kCodePage:
        if (r.data.size() >= 2) text_.code_page = ReadU16(r.data, 0);
        break;
      case biff::kBoundSheet:
        // As many sheets as an .xlsx may list; each costs a place in the
        // window's list.
        if (sheet_records.size() >= kMaxSheets) {
          throw EPlanilhaError("A planilha tem mais de " + std::to_string(kMaxSheets) +
                               " planilhas em \"" + display_name_ +
                               "\", mais do que o leitor aceita.");
        }
        sheet_records.push_back(at);
        break;
      case biff::kSst:
        if (!text_.biff8) break;
        // Excel writes one table. A second one would move the text the
        // first one's views point into; it is refused rather than merged.
        if (sst_read) ThrowDamagedWorkbook(display_name_, "mais de uma tabela de textos");
        sst_read = true;
        ReadSharedStrings(at);
        break;
      default:
        break;
    }
  }
  for (size_t at : sheet_records) {
    TBiffCursor cursor(stream_, at, /*continued=*/false, display_name_);
    TBiffSheet sheet;
    sheet.offset = cursor.U32();
    cursor.U8();  // visible, hidden or very hidden: all are listed
    sheet.type = cursor.U8();
    sheet.name = text_.Read(cursor, /*long_count=*/false);
    sheets_.push_back(std::move(sheet));
  }
  LocateSheets(globals_end);
}

void TBiffStream::ReadSharedStrings(size_t offset) {
  TBiffCursor cursor(stream_, offset, /*continued=*/true, display_name_);
  // The count of distinct texts is a claim: texts are read up to it for as
  // long as the records last, and nothing is reserved for it.
  cursor.U32();  // texts used in the cells
  const uint32_t claimed = cursor.U32();
  std::vector<size_t> ends;
  while (ends.size() < claimed && !cursor.AtEnd()) {
    if (ends.size() >= kMaxBiffSharedStrings) {
      throw EPlanilhaError("A planilha \"" + display_name_ +
                           "\" tem mais textos distintos do que o leitor aceita (" +
                           std::to_string(kMaxBiffSharedStrings) + ").");
    }
    shared_text_ += text_.Read(cursor, /*long_count=*/true);
    ends.push_back(shared_text_.size());
  }
  shared_.reserve(ends.size());
  size_t begin = 0;
  for (size_t end : ends) {
    shared_.push_back(std::string_view(shared_text_).substr(begin, end - begin));
    begin = end;
  }
}

void TBiffStream::LocateSheets(size_t globals_end) {
  const auto starts_sheet = [&](size_t at) {
    return at <= stream_.size() && stream_.size() - at >= 4 && ReadU16(stream_, at) == biff::kBof &&
           stream_.size() - at - 4 >= ReadU16(stream_, at + 2);
  };
  std::vector<size_t> starts;  // each sheet's BOF in stream order, found once needed
  bool scanned = false;
  for (size_t i = 0; i < sheets_.size(); ++i) {
    if (starts_sheet(sheets_[i].offset)) continue;
    if (!scanned) {
      // Sheets follow the global part, each from its BOF to its EOF; charts
      // inside a sheet nest their own BOF .. EOF.
      TBiffRecord r;
      int depth = 0;
      for (size_t at = globals_end; ReadBiffRecord(stream_, at, display_name_, r); at = r.next) {
        if (r.type == biff::kBof) {
          if (depth++ == 0) starts.push_back(at);
        } else if (r.type == biff::kEof && depth > 0) {
          --depth;
        }
      }
      scanned = true;
    }
    if (i >= starts.size()) ThrowDamagedWorkbook(display_name_, "aba sem início");
    sheets_[i].offset = static_cast<uint32_t>(starts[i]);
  }
}

}  // namespace app
