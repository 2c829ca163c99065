// What the .xls fuzz targets do with one input: open it as the file engine
// does and read every cell of every worksheet as the import reads them. Any
// bytes either read or end with EPlanilhaError, never a read out of bounds;
// a workbook never lists more sheets than the reader accepts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "app/errors.h"
#include "app/workbook/xls_reader.h"
#include "app/workbook/xlsx_limits.h"

namespace fuzz {

// Where the bytes read go, so that reading them is not optimised away.
inline volatile size_t g_xls_touched;

inline void ReadWholeXls(const std::string& bytes) {
  try {
    const auto reader = app::OpenXls(bytes, "fuzz.xls");
    if (static_cast<size_t>(reader->SheetCount()) > app::kMaxSheets) __builtin_trap();
    size_t touched = 0;
    for (int32_t s = 1; s <= reader->SheetCount(); ++s) {
      touched += reader->SheetName(s).size();
      const auto sheet = reader->ReadSheet(s);
      // Columns past the 256 of an .xls sheet come only from damaged files:
      // the cells there are read, the empty rest of each row is not walked.
      const int32_t columns = sheet->LastColumn() < 256 ? sheet->LastColumn() : 256;
      sheet->ReadRows(1, sheet->LastRow(), columns,
                      [&](int32_t, std::span<const app::TCellValue> values) {
                        for (const app::TCellValue& v : values) {
                          // Every byte of every text: a view into freed or
                          // foreign memory is caught here.
                          for (char c : v.Text)
                            touched += static_cast<uint8_t>(c);
                        }
                      });
    }
    g_xls_touched = touched;
  } catch (const app::EPlanilhaError&) {
  }
}

}  // namespace fuzz
