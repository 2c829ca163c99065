// XlsReader: .xls workbooks (BIFF5 and BIFF8) read with FreeXL and completed
// from the workbook stream itself (TBiffStream): the kinds of the sheets,
// boolean and error cells, and the results formulas had when saved.
//
//   std::unique_ptr<app::TWorkbookReader> xls = app::OpenXls(bytes, path);
#pragma once

#include <memory>
#include <string>

#include "app/workbook/workbook_reader.h"

namespace app {

// FreeXL reads the file again from `path`; `bytes` (the whole file) gives the rest.
std::unique_ptr<TWorkbookReader> OpenXls(const std::string& bytes, const std::string& path);

}  // namespace app
