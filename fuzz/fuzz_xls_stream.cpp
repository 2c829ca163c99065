// The whole .xls path as the file engine takes it: the compound document,
// the workbook stream's global part and sheet list, and every cell of every
// worksheet as the import reads them. Any bytes either read or end with
// EPlanilhaError, never a read out of bounds, within bounded memory.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "app/errors.h"
#include "app/workbook/xls_reader.h"

// Where the bytes read go, so that reading them is not optimised away.
static volatile size_t g_touched;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  try {
    const auto reader = app::OpenXls(bytes, "fuzz.xls");
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
                          if (!v.Text.empty()) touched += static_cast<uint8_t>(v.Text.back());
                        }
                      });
    }
    g_touched = touched;
  } catch (const app::EPlanilhaError&) {
  }
  return 0;
}
