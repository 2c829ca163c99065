// .xlsx (Office Open XML) worksheets: the package's relationships lead to the
// workbook part, whose <sheets> list gives the worksheets in workbook order
// (chart and dialog sheets are skipped, as they are not worksheets); each
// worksheet part is read as a stream of <row> and <c> elements.
#include "app/workbook/xlsx_reader.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <exception>
#include <optional>
#include <string_view>
#include <thread>
#include <unordered_map>

#include "app/errors.h"
#include "app/workbook/excel_escapes.h"
#include "app/workbook/sheet_xml_scanner.h"
#include "app/workbook/xlsx_limits.h"
#include "app/workbook/xml_part_text.h"
#include "app/workbook/xml_sax.h"
#include "app/workbook/zip_archive.h"

namespace app {

namespace {

struct Relationship {
  std::string id, type, target;
  bool external = false;
};

[[noreturn]] void TooMany(const std::string& part, size_t limit, const std::string& what) {
  throw EPlanilhaError("A planilha tem mais de " + std::to_string(limit) + " " + what + " em \"" +
                       part + "\", mais do que o leitor aceita.");
}

class RelsHandler : public TXmlHandler {
 public:
  explicit RelsHandler(const std::string& part) : part_(part) {}
  std::vector<Relationship> rels;
  void Start(std::string_view name, const char** attrs) override {
    if (name != "Relationship") return;
    if (rels.size() >= kMaxRelationships) TooMany(part_, kMaxRelationships, "relações");
    Relationship r;
    if (const char* v = Attr(attrs, "Id")) r.id = v;
    if (const char* v = Attr(attrs, "Type")) r.type = v;
    if (const char* v = Attr(attrs, "Target")) r.target = v;
    if (const char* v = Attr(attrs, "TargetMode")) r.external = std::strcmp(v, "External") == 0;
    rels.push_back(std::move(r));
  }
  void End(std::string_view) override {}
  void Text(const char*, int) override {}

 private:
  const std::string& part_;
};

struct SheetEntry {
  std::string name, rel_id;
};

class WorkbookHandler : public TXmlHandler {
 public:
  explicit WorkbookHandler(const std::string& part) : part_(part) {}
  std::vector<SheetEntry> sheets;
  void Start(std::string_view name, const char** attrs) override {
    if (name != "sheet") return;
    if (sheets.size() >= kMaxSheets) TooMany(part_, kMaxSheets, "planilhas");
    SheetEntry e;
    if (const char* v = Attr(attrs, "name")) e.name = v;
    if (const char* v = Attr(attrs, "id")) e.rel_id = v;
    sheets.push_back(std::move(e));
  }
  void End(std::string_view) override {}
  void Text(const char*, int) override {}

 private:
  const std::string& part_;
};

// The text of a <t> element from `from` on in `text`, with Excel's escapes
// decoded; an escape of NUL makes the part damaged.
void DecodeEscapesOfText(std::string& text, size_t from, const std::string& part) {
  if (!DecodeExcelEscapes(text, from)) SheetXmlDamaged(part, "caractere nulo (_x0000_) no texto");
}

// Shared strings: the text of every <t> of an <si>, rich-text runs joined,
// phonetic runs (<rPh>) left out.
class SharedStringsHandler : public TXmlHandler {
 public:
  explicit SharedStringsHandler(const std::string& part) : part_(part) {}
  std::string arena;
  std::vector<std::pair<uint32_t, uint32_t>> spans;
  void Start(std::string_view name, const char**) override {
    if (name == "si") {
      start_ = arena.size();
    } else if (name == "t") {
      capture_ = phonetic_ == 0;
      text_start_ = arena.size();
    } else if (name == "rPh") {
      ++phonetic_;
    }
  }
  void End(std::string_view name) override {
    if (name == "si") {
      // Each string costs its span here and its view later, also when it is
      // empty: millions of them are bounded by their count.
      if (spans.size() >= kMaxSharedStrings) TooMany(part_, kMaxSharedStrings, "textos");
      spans.emplace_back(static_cast<uint32_t>(start_),
                         static_cast<uint32_t>(arena.size() - start_));
    } else if (name == "t") {
      if (capture_) DecodeEscapesOfText(arena, text_start_, part_);
      capture_ = false;
    } else if (name == "rPh") {
      --phonetic_;
    }
  }
  void Text(const char* text, int length) override {
    if (capture_) arena.append(text, static_cast<size_t>(length));
  }

 private:
  const std::string& part_;
  size_t start_ = 0;
  size_t text_start_ = 0;
  bool capture_ = false;
  int phonetic_ = 0;
};

// "AB12" -> column 28, row 12. False when it is no cell reference.
bool ParseCellRef(std::string_view ref, int32_t& column, int32_t& row) {
  int64_t col = 0, r = 0;
  size_t p = 0;
  for (; p < ref.size() && ((ref[p] >= 'A' && ref[p] <= 'Z') || (ref[p] >= 'a' && ref[p] <= 'z'));
       ++p) {
    col = col * 26 + ((ref[p] & ~0x20) - 'A' + 1);
    if (col > kMaxSheetColumns) return false;
  }
  if (p == 0) return false;
  const size_t digits = p;
  for (; p < ref.size() && ref[p] >= '0' && ref[p] <= '9'; ++p) {
    r = r * 10 + (ref[p] - '0');
    if (r > kMaxSheetRows) return false;
  }
  if (p != ref.size()) return false;
  if (p == digits) {
    row = 0;  // column only: the row comes from the <row> element
  } else if (r == 0) {
    return false;  // "A0": rows count from 1
  } else {
    row = static_cast<int32_t>(r);
  }
  column = static_cast<int32_t>(col);
  return true;
}

bool ParseRowNumber(std::string_view text, int32_t& row) {
  int64_t r = 0;
  size_t p = 0;
  for (; p < text.size() && text[p] >= '0' && text[p] <= '9'; ++p) {
    r = r * 10 + (text[p] - '0');
    if (r > kMaxSheetRows) return false;
  }
  if (p == 0 || p != text.size() || r < 1) return false;
  row = static_cast<int32_t>(r);
  return true;
}

class SheetHandler final : public TSheetXmlHandler {
 public:
  SheetHandler(TSheetData& data, const std::string& part) : data_(data), part_(part) {}

  void Start(std::string_view name, const std::vector<TXmlAttr>& attrs) override {
    // One-letter elements (c, v, t) are nearly all of a sheet's tags.
    if (name.size() == 1) {
      if (name[0] == 'c') {
        StartCell(attrs);
      } else if (in_cell_ && (name[0] == 'v' || (name[0] == 't' && in_inline_ && phonetic_ == 0))) {
        capture_ = true;
        has_value_ = true;
        segment_start_ = value_.size();
      }
    } else if (name == "row") {
      int32_t r = row_ + 1;
      for (const TXmlAttr& a : attrs) {
        if (a.name != "r") continue;
        if (!ParseRowNumber(a.value, r)) {
          Bad("número de linha inválido \"" + std::string(a.value.substr(0, 20)) + "\"");
        }
      }
      row_ = r;
      if (row_ > kMaxSheetRows) Bad("linha além do limite de 1048576");
      column_ = 0;
    } else if (in_cell_) {
      if (name == "is") {
        in_inline_ = true;
      } else if (name == "rPh") {
        ++phonetic_;
      }
    }
  }

  void End(std::string_view name) override {
    if (name == "c") {
      EndCell();
    } else if (in_cell_) {
      if (name == "v" || name == "t") {
        // Excel's escapes are decoded element by element, as each <t> of
        // rich text is a text of its own.
        if (capture_ && IsText()) DecodeEscapesOfText(value_, segment_start_, part_);
        capture_ = false;
      } else if (name == "is") {
        in_inline_ = false;
      } else if (name == "rPh") {
        --phonetic_;
      }
    }
  }

  // A cell as spreadsheet programs write nearly all of them, taken whole
  // in one step: <c ...attributes...> followed by <v>value</v></c>, by
  // <is><t>text</t></is></c>, by </c>, or <c .../>. Anything else (formulas,
  // rich text, white space between the tags, a cell cut by the end of the
  // chunk) returns 0 and goes through the callbacks above, with the same
  // result.
  size_t TakeElement(const char* p, size_t n) {
    if (n < 4 || p[1] != 'c' || (p[2] != ' ' && p[2] != '>' && p[2] != '/')) return 0;
    std::optional<std::string_view> ref;
    std::string_view type;
    size_t k = 2;
    for (;;) {
      while (k < n && p[k] == ' ')
        ++k;
      if (k >= n) return 0;
      if (p[k] == '>' || p[k] == '/') break;
      const size_t name_begin = k;
      while (k < n && ((p[k] >= 'a' && p[k] <= 'z') || (p[k] >= 'A' && p[k] <= 'Z')))
        ++k;
      if (k + 1 >= n || k == name_begin || p[k] != '=' || (p[k + 1] != '"' && p[k + 1] != '\''))
        return 0;
      const std::string_view name(p + name_begin, k - name_begin);
      const void* close = std::memchr(p + k + 2, p[k + 1], n - k - 2);
      if (close == nullptr) return 0;
      const size_t value_end = static_cast<size_t>(static_cast<const char*>(close) - p);
      const std::string_view value(p + k + 2, value_end - k - 2);
      if (name == "r") {
        ref = value;
      } else if (name == "t") {
        type = value;
      }
      k = value_end + 1;
    }
    const std::string_view rest(p + k, n - k);
    if (rest.starts_with("/>")) {
      BeginCell(ref, type);
      FinishCell(false, {});
      return k + 2;
    }
    // p[k] is '>'.
    std::string_view open, close;
    if (rest.starts_with("></c>")) {
      BeginCell(ref, type);
      FinishCell(false, {});
      return k + 5;
    } else if (rest.starts_with("><v>")) {
      open = "><v>";
      close = "</v></c>";
    } else if (rest.starts_with("><is><t>")) {
      open = "><is><t>";
      close = "</t></is></c>";
    } else {
      return 0;
    }
    const size_t text_begin = k + open.size();
    const void* lt = std::memchr(p + text_begin, '<', n - text_begin);
    if (lt == nullptr) return 0;
    const size_t text_end = static_cast<size_t>(static_cast<const char*>(lt) - p);
    if (!std::string_view(p + text_end, n - text_end).starts_with(close)) return 0;
    std::string_view text(p + text_begin, text_end - text_begin);
    BeginCell(ref, type);
    if (text.find('&') != std::string_view::npos) {
      value_.clear();
      DecodeXmlText(text, value_);
      text = value_;
    }
    if (IsText() && text.find("_x") != std::string_view::npos) {
      if (text.data() != value_.data()) value_.assign(text);
      DecodeEscapesOfText(value_, 0, part_);
      text = value_;
    }
    FinishCell(true, text);
    return text_end + close.size();
  }

  void Text(std::string_view text, bool cdata) override {
    if (!capture_) return;
    if (cdata || text.find('&') == std::string_view::npos) {
      value_.append(text);
    } else {
      DecodeXmlText(text, value_);
    }
  }

 private:
  // Text cells: inline strings and the text results of formulas.
  bool IsText() const { return type_ == 'i' || type_ == 'f'; }

  [[noreturn]] void Bad(const std::string& why) {
    throw EPlanilhaError("A planilha está danificada: " + why + " em \"" + part_ + "\".");
  }

  void StartCell(const std::vector<TXmlAttr>& attrs) {
    std::optional<std::string_view> ref;
    std::string_view type;
    for (const TXmlAttr& a : attrs) {
      if (a.name == "r") {
        ref = a.value;
      } else if (a.name == "t") {
        type = a.value;
      }
    }
    BeginCell(ref, type);
    in_cell_ = true;
    has_value_ = false;
    in_inline_ = false;
    phonetic_ = 0;
    value_.clear();
  }

  // The cell's place (from its reference, else next to the previous cell)
  // and type; no reference when the cell has none, an empty type likewise.
  void BeginCell(std::optional<std::string_view> ref, std::string_view type) {
    int32_t column = column_ + 1;
    int32_t row = row_ < 1 ? 1 : row_;
    if (ref) {
      int32_t c = 0, r = 0;
      if (!ParseCellRef(*ref, c, r)) {
        Bad("referência de célula inválida \"" + std::string(ref->substr(0, 20)) + "\"");
      }
      column = c;
      if (r != 0) row = r;
    }
    type_ = type.empty()          ? 'n'
            : type == "s"         ? 's'
            : type == "str"       ? 'f'
            : type == "inlineStr" ? 'i'
            : type == "b"         ? 'b'
            : type == "e"         ? 'e'
            : type == "d"         ? 'd'
                                  : 'n';
    if (column > kMaxSheetColumns) Bad("coluna além do limite de 16384");
    cell_row_ = row;
    column_ = column;
  }

  void EndCell() {
    in_cell_ = false;
    capture_ = false;
    FinishCell(has_value_, value_);
  }

  void FinishCell(bool has_value, std::string_view value) {
    if (data_.CellCount() >= kMaxSheetCells) {
      throw EPlanilhaError("A planilha excede o número máximo de células aceito (" +
                           std::to_string(kMaxSheetCells) + ").");
    }
    const int32_t r = cell_row_, c = column_;
    if (!has_value) {
      data_.AddEmpty(r, c);
      return;
    }
    switch (type_) {
      case 's': {
        uint32_t index = 0;
        auto res = std::from_chars(value.data(), value.data() + value.size(), index);
        if (res.ec != std::errc() || res.ptr != value.data() + value.size()) {
          Bad("índice de texto compartilhado inválido \"" + std::string(value) + "\"");
        }
        data_.AddShared(r, c, index);
        return;
      }
      case 'f':
      case 'i':
        data_.AddText(r, c, value);
        return;
      case 'b':
        data_.AddBoolean(r, c, value == "1" || value == "true");
        return;
      case 'e':
        data_.AddError(r, c, value);
        return;
      case 'd': {
        double serial = 0;
        if (!IsoDateToSerial(value, serial)) Bad("data inválida \"" + std::string(value) + "\"");
        data_.AddNumber(r, c, serial);
        return;
      }
      default: {
        if (value.empty()) {
          data_.AddEmpty(r, c);
          return;
        }
        double number = 0;
        if (!ParseCellNumber(value, number)) Bad("número inválido \"" + std::string(value) + "\"");
        data_.AddNumber(r, c, number);
        return;
      }
    }
  }

  TSheetData& data_;
  const std::string& part_;
  int32_t row_ = 0;
  int32_t column_ = 0;
  int32_t cell_row_ = 0;
  char type_ = 'n';
  bool in_cell_ = false;
  bool in_inline_ = false;
  bool capture_ = false;
  bool has_value_ = false;
  int phonetic_ = 0;
  std::string value_;
  size_t segment_start_ = 0;  // where the text of the open <v> or <t> starts in value_
};

// Target of a relationship, as a zip entry name: relative targets are
// resolved against the folder of the part that owns the relationships.
std::string ResolveTarget(const std::string& base_folder, const std::string& target) {
  std::string path = !target.empty() && target[0] == '/' ? target.substr(1) : base_folder + target;
  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= path.size()) {
    size_t slash = path.find('/', start);
    if (slash == std::string::npos) slash = path.size();
    std::string piece = path.substr(start, slash - start);
    if (piece == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!piece.empty() && piece != ".") {
      parts.push_back(piece);
    }
    start = slash + 1;
  }
  std::string out;
  for (const auto& p : parts) {
    if (!out.empty()) out.push_back('/');
    out += p;
  }
  return out;
}

bool EndsWith(const std::string& s, std::string_view tail) {
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

// Reads a part through TXmlPartText into `feed(data, size, final)`, at most
// `limit` bytes once inflated.
template <class Feed>
void ReadPartText(TZipArchive& zip, const std::string& name, uint64_t limit, bool threaded,
                  Feed&& feed) {
  TXmlPartText text(name, [&](const char* data, size_t size) { feed(data, size, false); });
  zip.Read(
      name, limit,
      [&](const char* data, size_t size) {
        if (data != nullptr) {
          text.Feed(data, size);
        } else {
          text.Finish();
          feed("", 0, true);
        }
      },
      threaded);
}

// Shared strings read in a thread of their own (through a reading position
// of their own in the package) while the calling thread goes on; Wait gives
// the strings or throws what reading them threw.
class SharedStringsLoad {
 public:
  SharedStringsLoad(TZipArchive& zip, const std::string& part)
      : handler_(part), thread_([this, &zip, &part] {
          try {
            TXmlSax sax(handler_, part);
            TXmlPartText text(part,
                              [&](const char* data, size_t size) { sax.Feed(data, size, false); });
            zip.ReadApart(part, kMaxXmlPartBytes, [&](const char* data, size_t size) {
              if (data != nullptr) {
                text.Feed(data, size);
              } else {
                text.Finish();
                sax.Feed("", 0, true);
              }
            });
          } catch (...) {
            error_ = std::current_exception();
          }
        }) {}
  ~SharedStringsLoad() {
    if (thread_.joinable()) thread_.join();
  }
  SharedStringsLoad(const SharedStringsLoad&) = delete;
  SharedStringsLoad& operator=(const SharedStringsLoad&) = delete;

  SharedStringsHandler& Wait() {
    if (thread_.joinable()) thread_.join();
    if (error_) std::rethrow_exception(error_);
    return handler_;
  }

 private:
  SharedStringsHandler handler_;
  std::exception_ptr error_;
  std::thread thread_;  // last: it starts once the members it uses exist
};

void ParsePart(TZipArchive& zip, const std::string& name, uint64_t limit, TXmlHandler& handler) {
  TXmlSax sax(handler, name);
  ReadPartText(zip, name, limit, false,
               [&](const char* data, size_t size, bool final) { sax.Feed(data, size, final); });
}

std::vector<Relationship> ReadRels(TZipArchive& zip, const std::string& part) {
  RelsHandler h(part);
  if (zip.Has(part)) ParsePart(zip, part, kMaxRelsPartBytes, h);
  return std::move(h.rels);
}

// Worksheet XML deflates about 5 to 15 times (repetitive tags); sheets of
// empty cells more, and those grow as they are read instead.
constexpr uint64_t kPlausibleSheetRatio = 16;

class XlsxReader : public TWorkbookReader {
 public:
  XlsxReader(std::string bytes, const std::string& path) : zip_(std::move(bytes), path) {
    // The workbook part, from the package relationships.
    std::string workbook = "xl/workbook.xml";
    for (const auto& r : ReadRels(zip_, "_rels/.rels")) {
      if (EndsWith(r.type, "/officeDocument") && !r.external) {
        workbook = ResolveTarget("", r.target);
        break;
      }
    }
    if (!zip_.Has(workbook)) {
      throw EPlanilhaError("O arquivo \"" + path +
                           "\" não é uma planilha do Excel (falta a parte do livro).");
    }
    const size_t slash = workbook.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : workbook.substr(0, slash + 1);
    const std::string rels_part = folder + "_rels/" + workbook.substr(folder.size()) + ".rels";
    // The workbook's worksheets by relationship id (the first of an id counts).
    std::unordered_map<std::string, std::string> worksheets;
    for (const auto& r : ReadRels(zip_, rels_part)) {
      if (r.external) continue;
      if (EndsWith(r.type, "/worksheet")) {
        worksheets.emplace(r.id, ResolveTarget(folder, r.target));
      } else if (EndsWith(r.type, "/sharedStrings")) {
        shared_part_ = ResolveTarget(folder, r.target);
      }
    }

    WorkbookHandler wb(workbook);
    ParsePart(zip_, workbook, kMaxWorkbookPartBytes, wb);
    for (const auto& sheet : wb.sheets) {
      const auto it = worksheets.find(sheet.rel_id);
      if (it == worksheets.end()) continue;  // a chart or dialog sheet
      names_.push_back(sheet.name);
      parts_.push_back(it->second);
    }
  }

  std::unique_ptr<TSheetData> ReadSheet(int32_t position) override {
    auto data = std::make_unique<TSheetData>(&shared_);
    data->SetSharedText(shared_arena_);
    // The workbook's shared strings, on the first sheet read, are read in a
    // second thread while this one reads the sheet; until they are whole
    // the sheet takes its cells' indexes unchecked.
    std::optional<SharedStringsLoad> loading;
    if (!shared_loaded_) {
      if (!shared_part_.empty() && zip_.Has(shared_part_)) {
        loading.emplace(zip_, shared_part_);
        data->ExpectSharedLater();
      } else {
        shared_loaded_ = true;
      }
    }
    // Errors come out as if the strings had been read first: theirs, then
    // a cell before the sheet's own error that refers to a string the table
    // does not hold.
    auto shared_whole = [&] {
      if (!loading) return;
      InstallSharedStrings(loading->Wait());
      loading.reset();
      data->CheckSharedIndexes();
      data->SetSharedText(shared_arena_);
    };
    const std::string& part = parts_[static_cast<size_t>(position - 1)];
    // A cell takes at least about 30 bytes of XML; capacity that stays
    // unused is never touched. The size the package claims for the part is
    // believed only as far as its compressed bytes can hold it at the ratio
    // of real worksheets: a few kilobytes claiming a gigabyte reserve little
    // and grow with what they really hold.
    const uint64_t xml = std::min({zip_.InflatedSize(part), kMaxXmlPartBytes,
                                   zip_.CompressedSize(part) * kPlausibleSheetRatio});
    data->Reserve(static_cast<size_t>(std::min<uint64_t>(xml / 30, kMaxSheetCells)),
                  static_cast<size_t>(xml / 4));
    SheetHandler handler(*data, part);
    TBasicSheetXmlScanner<SheetHandler> scanner(handler, part);
    // Inflating runs ahead in a second thread while this one scans.
    try {
      ReadPartText(
          zip_, part, kMaxXmlPartBytes, /*threaded=*/true,
          [&](const char* chunk, size_t size, bool final) { scanner.Feed(chunk, size, final); });
    } catch (...) {
      shared_whole();
      throw;
    }
    shared_whole();
    data->Finish();
    return data;
  }

 private:
  void InstallSharedStrings(SharedStringsHandler& h) {
    // Held shared: a staging table may keep views into the strings after
    // the workbook is closed.
    shared_arena_ = std::make_shared<const std::string>(std::move(h.arena));
    shared_.reserve(h.spans.size());
    for (const auto& [offset, length] : h.spans) {
      shared_.push_back(std::string_view(*shared_arena_).substr(offset, length));
    }
    shared_loaded_ = true;
  }

  TZipArchive zip_;
  std::vector<std::string> parts_;
  std::string shared_part_;
  bool shared_loaded_ = false;
  std::shared_ptr<const std::string> shared_arena_;
  std::vector<std::string_view> shared_;
};

}  // namespace

std::unique_ptr<TWorkbookReader> OpenXlsx(std::string bytes, const std::string& path) {
  return std::make_unique<XlsxReader>(std::move(bytes), path);
}

}  // namespace app
