// CsvReader: .csv workbooks, one worksheet named after the file. UTF-16 text
// with a byte-order mark (Excel's "Unicode text", tab-separated); else UTF-8
// (with or without a byte-order mark) when the whole file is valid UTF-8,
// else Windows-1252, the separator found in the first record. Refused: a
// file with NUL characters (no text), a quote never closed.
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
