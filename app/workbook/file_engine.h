// TFileEngine: the spreadsheet engine that reads .xlsx, .xls and .csv files
// itself, with no spreadsheet program. The reader is chosen by the file's
// content (zip package: .xlsx, compound document: .xls) or its extension
// (.csv); the worksheet in use is read whole on first access.
//
//   app::TDMCotrolaExcel excel(app::CreateFileEngine());
#pragma once

#include <memory>

#include "app/spreadsheet_engine.h"

namespace app {

std::unique_ptr<TSpreadsheetEngine> CreateFileEngine();

}  // namespace app
