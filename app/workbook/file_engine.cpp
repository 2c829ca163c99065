// The file engine: reads .xlsx, .xls and .csv workbooks directly. The kind
// is told by the file's first bytes (zip package, compound document), then
// by its extension (.csv); the worksheet in use is read whole on first
// access and kept until another worksheet is attached.
#include "app/workbook/file_engine.h"

#include <cstring>
#include <new>

#include "app/errors.h"
#include "app/workbook/csv_reader.h"
#include "app/workbook/file_io.h"
#include "app/workbook/xls_reader.h"
#include "app/workbook/xlsx_reader.h"
#include "app/workbook/zip_archive.h"

namespace app {

namespace {

constexpr char kCompoundMagic[] = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1";

class TFileEngine : public TSpreadsheetEngine {
 public:
  void Open(const std::string& file_name) override {
    std::unique_ptr<TWorkbookReader> reader;
    try {
      reader = OpenReader(file_name);
    } catch (const std::bad_alloc&) {
      throw EPlanilhaError("Memória insuficiente para abrir a planilha \"" + file_name + "\".");
    }
    // Only a workbook that opened replaces the previous one.
    sheet_.reset();
    reader_ = std::move(reader);
    position_ = 0;
    loaded_ = 0;
  }

  int32_t SheetCount() override { return Reader().SheetCount(); }

  void AttachSheet(int32_t position) override {
    const int32_t count = Reader().SheetCount();
    if (position < 1 || position > count) {
      throw EPlanilhaError("A planilha de número " + std::to_string(position) +
                           " não existe: a pasta de trabalho tem " + std::to_string(count) +
                           (count == 1 ? " planilha." : " planilhas."));
    }
    position_ = position;
  }

  std::string CurrentSheetName() override { return Reader().SheetName(Current()); }

  int32_t LastRow() override { return Sheet().LastRow(); }
  int32_t LastColumn() override { return Sheet().LastColumn(); }

  TCellValue ReadCell(int32_t column, int32_t row) override {
    const TSheetData& sheet = Sheet();
    if (column < 1 || column > kMaxSheetColumns || row < 1 || row > kMaxSheetRows) {
      throw EPlanilhaError("Referência de célula inválida (coluna " + std::to_string(column) +
                           ", linha " + std::to_string(row) + ").");
    }
    return sheet.Get(column, row);
  }

  void ReadRows(int32_t first_row, int32_t last_row, int32_t columns,
                const TRowSink& sink) override {
    const TSheetData& sheet = Sheet();
    CheckRowBlock(first_row, last_row, columns);
    sheet.ReadRows(first_row, last_row, columns, sink);
  }

  bool TextMayHoldNul() override { return Sheet().TextMayHoldNul(); }
  std::shared_ptr<const std::string> LastingText() override { return Sheet().SharedText(); }

 private:
  static std::unique_ptr<TWorkbookReader> OpenReader(const std::string& file_name) {
    std::string bytes;
    ReadWholeFile(file_name, bytes, kMaxWorkbookFileBytes);
    const std::string ext = FileExtension(file_name);
    if (TZipArchive::LooksLikeZip(bytes)) return OpenXlsx(std::move(bytes), file_name);
    // A compound document is an .xls workbook whatever its name says, or an
    // encrypted (password) .xlsx package: its streams tell.
    if (bytes.size() >= 8 && std::memcmp(bytes.data(), kCompoundMagic, 8) == 0) {
      return OpenXls(bytes, file_name);
    }
    if (ext == ".csv") return OpenCsv(bytes, file_name);
    throw EPlanilhaError("O arquivo \"" + file_name +
                         "\" não é uma planilha que possa ser lida (.xlsx, .xls ou .csv).");
  }

  TWorkbookReader& Reader() {
    if (!reader_) throw EPlanilhaError("Nenhuma planilha foi aberta.");
    return *reader_;
  }

  int32_t Current() {
    Reader();
    if (position_ == 0) throw EPlanilhaError("Nenhuma aba da planilha foi selecionada.");
    return position_;
  }

  const TSheetData& Sheet() {
    const int32_t position = Current();
    if (!sheet_ || loaded_ != position) {
      sheet_.reset();
      try {
        sheet_ = reader_->ReadSheet(position);
      } catch (const std::bad_alloc&) {
        throw EPlanilhaError("Memória insuficiente para ler a planilha \"" +
                             reader_->SheetName(position) + "\".");
      }
      loaded_ = position;
    }
    return *sheet_;
  }

  std::unique_ptr<TWorkbookReader> reader_;
  std::unique_ptr<TSheetData> sheet_;
  int32_t position_ = 0;
  int32_t loaded_ = 0;
};

}  // namespace

std::unique_ptr<TSpreadsheetEngine> CreateFileEngine() {
  return std::make_unique<TFileEngine>();
}

}  // namespace app
