// The whole .xls path as the file engine takes it: the compound document,
// the workbook stream's global part and sheet list, and every cell of every
// worksheet as the import reads them, with byte-level mutations. Its sibling
// fuzz_xls_records mutates whole records instead.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/xls_read_all.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::ReadWholeXls(std::string(reinterpret_cast<const char*>(data), size));
  return 0;
}
