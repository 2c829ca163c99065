// CsvReader: .csv workbooks, one worksheet named after the file. UTF-8 text
// (with or without a byte-order mark) when the whole file is valid UTF-8,
// else Windows-1252; the separator is found in the first record.
//
//   std::unique_ptr<app::TWorkbookReader> csv = app::OpenCsv(bytes, "C:\\dados\\clientes.csv");
#pragma once

#include <memory>
#include <string>

#include "app/workbook/workbook_reader.h"

namespace app {

// `bytes` is the whole file; `path` names its worksheet and appears in messages.
std::unique_ptr<TWorkbookReader> OpenCsv(const std::string& bytes, const std::string& path);

}  // namespace app
