// XlsxReader: .xlsx workbooks (Office Open XML) read from the zip package in
// memory. The package's relationships lead to the workbook part and its list
// of worksheets; the shared strings go through the general XML parser, the
// worksheets through the sheet scanner, every part first through
// TXmlPartText, so both read text alike (Excel's _xHHHH_ escapes decoded in
// cell text). Counts and sizes are bounded by xlsx_limits.h.
//
//   std::unique_ptr<app::TWorkbookReader> xlsx = app::OpenXlsx(std::move(bytes), path);
#pragma once

#include <memory>
#include <string>

#include "app/workbook/workbook_reader.h"

namespace app {

// `bytes` is the whole file; `path` names it in messages.
std::unique_ptr<TWorkbookReader> OpenXlsx(std::string bytes, const std::string& path);

}  // namespace app
