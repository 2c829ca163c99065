// .xls workbooks: the worksheets are the sheets of the workbook stream's own
// list that are worksheets (charts, macro sheets and modules are left out),
// in workbook order; a worksheet's cells are read when it is first used.
#include "app/workbook/xls_reader.h"

#include "app/errors.h"
#include "app/workbook/biff_sheet.h"
#include "app/workbook/biff_stream.h"
#include "app/workbook/compound_file.h"

namespace app {

namespace {

class XlsReader : public TWorkbookReader {
 public:
  XlsReader(std::string stream, const std::string& path) : biff_(std::move(stream), path) {
    for (size_t i = 0; i < biff_.Sheets().size(); ++i) {
      if (!biff_.Sheets()[i].IsWorksheet()) continue;
      names_.push_back(biff_.Sheets()[i].name);
      sheet_index_.push_back(i);
    }
  }

  std::unique_ptr<TSheetData> ReadSheet(int32_t position) override {
    auto data = std::make_unique<TSheetData>(&biff_.SharedStrings());
    ReadBiffSheet(biff_, sheet_index_[static_cast<size_t>(position - 1)], *data);
    data->Finish();
    return data;
  }

 private:
  TBiffStream biff_;
  std::vector<size_t> sheet_index_;  // each worksheet's place in the stream's sheet list
};

}  // namespace

std::unique_ptr<TWorkbookReader> OpenXls(const std::string& bytes, const std::string& path) {
  std::string stream;
  {
    const TCompoundFile document(bytes, path);
    // Excel 97 and later write "Workbook", Excel 5.0 and 95 "Book"; a file
    // saved for both has both, and the newer is read.
    if (!document.ReadStream("Workbook", stream) && !document.ReadStream("Book", stream)) {
      if (document.HasStream("EncryptedPackage")) {
        throw EPlanilhaError("A planilha \"" + path +
                             "\" está protegida por senha e não pode ser lida.");
      }
      throw EPlanilhaError("O arquivo \"" + path +
                           "\" não é uma planilha do Excel: é um documento de outro tipo.");
    }
  }
  return std::make_unique<XlsReader>(std::move(stream), path);
}

}  // namespace app
