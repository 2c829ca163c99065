// The .xls container and record reading: any bytes either give streams,
// sheets and cells or end with EPlanilhaError, never a read out of bounds.
#include <cstddef>
#include <cstdint>
#include <string>

#include "app/errors.h"
#include "app/workbook/biff_stream.h"
#include "app/workbook/compound_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  try {
    const app::TCompoundFile document(bytes, "fuzz.xls");
    std::string stream;
    if (!document.ReadStream("Workbook", stream)) return 0;
    const app::TBiffStream biff(std::move(stream), "fuzz.xls");
    for (size_t i = 0; i < biff.Sheets().size(); ++i)
      biff.SpecialCells(i);
  } catch (const app::EPlanilhaError&) {
  }
  return 0;
}
