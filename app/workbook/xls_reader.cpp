// .xls (BIFF5 and BIFF8) workbooks, read with FreeXL and completed from the
// workbook stream itself (TBiffStream): FreeXL lists chart and macro sheets
// as worksheets, reads boolean and error cells alike as 1 or 0 and formula
// cells as empty; the stream tells the sheets' kinds, the booleans from the
// errors and the formulas' saved results. FreeXL gives dates and times as
// text ("2024-01-31", "2024-01-31 12:00:00", "12:00:00"); they are turned
// back into serial numbers, as the spreadsheet itself holds them. The used
// area is the sheet's stored dimensions, which include formatted empty cells.
#include "app/workbook/xls_reader.h"

#include <freexl.h>

#include <charconv>
#include <cstring>
#include <optional>

#include "app/errors.h"
#include "app/workbook/biff_stream.h"
#include "app/workbook/compound_file.h"

namespace app {

namespace {

struct FreeXlHandle {
  const void* handle = nullptr;
  ~FreeXlHandle() {
    if (handle != nullptr) freexl_close(handle);
  }
};

double TimeToFraction(std::string_view text) {
  int h = 0, m = 0, s = 0;
  if (text.size() >= 8) {
    std::from_chars(text.data(), text.data() + 2, h);
    std::from_chars(text.data() + 3, text.data() + 5, m);
    std::from_chars(text.data() + 6, text.data() + 8, s);
  }
  return (h * 3600.0 + m * 60.0 + s) / 86400.0;
}

class XlsReader : public TWorkbookReader {
 public:
  XlsReader(const std::string& bytes, const std::string& path) : path_(path) {
    const int rc = freexl_open(path.c_str(), &xls_.handle);
    if (rc != FREEXL_OK) {
      if (rc == FREEXL_FILE_NOT_FOUND) {
        throw EPlanilhaError("Não foi possível abrir o arquivo \"" + path + "\".");
      }
      if (rc == FREEXL_INSUFFICIENT_MEMORY) {
        throw EPlanilhaError("Memória insuficiente para abrir a planilha \"" + path + "\".");
      }
      throw EPlanilhaError("O arquivo \"" + path +
                           "\" não é uma planilha do Excel válida ou está danificado (código " +
                           std::to_string(rc) + ").");
    }
    unsigned int info = 0;
    if (freexl_get_info(xls_.handle, FREEXL_BIFF_PASSWORD, &info) == FREEXL_OK &&
        info == FREEXL_BIFF_OBFUSCATED) {
      throw EPlanilhaError("A planilha \"" + path +
                           "\" está protegida por senha e não pode ser lida.");
    }
    unsigned int count = 0;
    freexl_get_info(xls_.handle, FREEXL_BIFF_SHEET_COUNT, &count);
    {
      const TCompoundFile document(bytes, path);
      std::string stream;
      if (!document.ReadStream("Workbook", stream) && !document.ReadStream("Book", stream)) {
        throw EPlanilhaError("A planilha \"" + path + "\" está danificada (falta o livro).");
      }
      biff_.emplace(std::move(stream), path);
    }
    if (biff_->Sheets().size() != count) {
      throw EPlanilhaError("A planilha \"" + path + "\" está danificada (lista de abas).");
    }
    for (unsigned int i = 0; i < count; ++i) {
      if (!biff_->Sheets()[i].IsWorksheet()) continue;
      const char* name = nullptr;
      if (freexl_get_worksheet_name(xls_.handle, static_cast<unsigned short>(i), &name) !=
          FREEXL_OK) {
        throw EPlanilhaError("A planilha \"" + path + "\" está danificada (nome de aba ilegível).");
      }
      names_.emplace_back(name ? name : "");
      sheet_index_.push_back(static_cast<unsigned short>(i));
    }
  }

  std::unique_ptr<TSheetData> ReadSheet(int32_t position) override {
    const unsigned short index = sheet_index_[static_cast<size_t>(position - 1)];
    if (freexl_select_active_worksheet(xls_.handle, index) != FREEXL_OK) {
      throw EPlanilhaError("A planilha \"" + path_ + "\" está danificada (aba " +
                           std::to_string(position) + " ilegível).");
    }
    unsigned int rows = 0;
    unsigned short columns = 0;
    freexl_worksheet_dimensions(xls_.handle, &rows, &columns);
    auto data = std::make_unique<TSheetData>();
    FreeXL_CellValue v;
    for (unsigned int r = 0; r < rows; ++r) {
      for (unsigned short c = 0; c < columns; ++c) {
        if (freexl_get_cell_value(xls_.handle, r, c, &v) != FREEXL_OK) {
          throw EPlanilhaError("A planilha \"" + path_ + "\" está danificada (célula ilegível).");
        }
        const auto row = static_cast<int32_t>(r + 1);
        const auto col = static_cast<int32_t>(c + 1);
        switch (v.type) {
          case FREEXL_CELL_INT:
            data->AddNumber(row, col, v.value.int_value);
            break;
          case FREEXL_CELL_DOUBLE:
            data->AddNumber(row, col, v.value.double_value);
            break;
          case FREEXL_CELL_TEXT:
          case FREEXL_CELL_SST_TEXT:
            data->AddText(row, col, v.value.text_value ? v.value.text_value : "");
            break;
          case FREEXL_CELL_DATE:
          case FREEXL_CELL_DATETIME: {
            double serial = 0;
            const std::string_view text = v.value.text_value ? v.value.text_value : "";
            if (IsoDateToSerial(text, serial)) {
              data->AddNumber(row, col, serial);
            } else {
              data->AddText(row, col, text);
            }
            break;
          }
          case FREEXL_CELL_TIME:
            data->AddNumber(row, col, TimeToFraction(v.value.text_value ? v.value.text_value : ""));
            break;
          default:
            break;  // empty: the stored dimensions give the used area
        }
      }
    }
    // What FreeXL left out or misread; a cell added later replaces the one
    // read before at its place.
    for (const TBiffCell& cell : biff_->SpecialCells(index)) {
      const int32_t row = cell.row + 1, col = cell.column + 1;
      switch (cell.kind) {
        case TBiffCell::TKind::Boolean:
          data->AddBoolean(row, col, cell.number != 0);
          break;
        case TBiffCell::TKind::Error:
          data->AddError(row, col, cell.text);
          break;
        case TBiffCell::TKind::Number:
          data->AddNumber(row, col, cell.number);
          break;
        case TBiffCell::TKind::Text:
          data->AddText(row, col, cell.text);
          break;
      }
    }
    data->Finish();
    data->ExtendUsedArea(static_cast<int32_t>(rows), columns);
    return data;
  }

 private:
  std::string path_;
  FreeXlHandle xls_;
  std::optional<TBiffStream> biff_;
  std::vector<unsigned short> sheet_index_;  // FreeXL's index of each worksheet
};

}  // namespace

std::unique_ptr<TWorkbookReader> OpenXls(const std::string& bytes, const std::string& path) {
  return std::make_unique<XlsReader>(bytes, path);
}

}  // namespace app
