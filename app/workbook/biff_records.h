// The record layer of an .xls workbook stream (BIFF5 and BIFF8): each record
// is a 16-bit type, a 16-bit length and that many bytes of data. The types
// the readers use are named here; every read checks the length against the
// stream.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace app {

namespace biff {

enum : uint16_t {
  kFormula = 0x0006,
  kEof = 0x000A,
  kFilePass = 0x002F,
  kContinue = 0x003C,
  kCodePage = 0x0042,
  kBoundSheet = 0x0085,
  kMulRk = 0x00BD,
  kMulBlank = 0x00BE,
  kRString = 0x00D6,
  kSst = 0x00FC,
  kLabelSst = 0x00FD,
  kBlank = 0x0201,
  kNumber = 0x0203,
  kLabel = 0x0204,
  kBoolErr = 0x0205,
  kString = 0x0207,
  kRk = 0x027E,
  kBof = 0x0809,
};

}  // namespace biff

struct TBiffRecord {
  uint16_t type = 0;
  std::string_view data;
  size_t next = 0;  // offset of the record after this one
};

// The record at `offset` of `stream`; false when fewer than 4 bytes are left.
// A record whose length runs past the end throws EPlanilhaError.
bool ReadBiffRecord(std::string_view stream, size_t offset, const std::string& display_name,
                    TBiffRecord& record);

// Throws EPlanilhaError: the workbook named `display_name` is damaged, `why`.
[[noreturn]] void ThrowDamagedWorkbook(const std::string& display_name, const std::string& why);

}  // namespace app
