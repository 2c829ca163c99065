// OpenXls: the reader of compound documents behind the file engine. An .xls
// workbook (BIFF5 or BIFF8, its workbook stream named "Workbook" or "Book" in
// any case) is read with the checked readers of app/workbook (TCompoundFile,
// TBiffStream, ReadBiffSheet); an encrypted .xlsx package (also a compound
// document) and any other compound document are refused with a message.
//
//   std::unique_ptr<app::TWorkbookReader> xls = app::OpenXls(bytes, path);
#pragma once

#include <memory>
#include <string>

#include "app/workbook/workbook_reader.h"

namespace app {

// `bytes` is the whole file, `path` names it in messages.
std::unique_ptr<TWorkbookReader> OpenXls(const std::string& bytes, const std::string& path);

}  // namespace app
