// Writes the benchmark workbook: ROWS x 46 columns of client-like data
// (codes in R, addresses in AT, about 4 % empty cells), either with inline
// strings (as streaming writers do) or with a shared-string table (as
// spreadsheet programs save it).
#pragma once

#include <string>

namespace bench {

void WriteBenchWorkbook(const std::string& path, int rows, bool shared_strings);

}  // namespace bench
