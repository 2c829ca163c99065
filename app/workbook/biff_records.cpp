#include "app/workbook/biff_records.h"

#include "app/errors.h"
#include "app/workbook/little_endian.h"

namespace app {

bool ReadBiffRecord(std::string_view stream, size_t offset, const std::string& display_name,
                    TBiffRecord& record) {
  if (offset > stream.size() || stream.size() - offset < 4) return false;
  record.type = ReadU16(stream, offset);
  const uint16_t length = ReadU16(stream, offset + 2);
  if (stream.size() - offset - 4 < length) {
    ThrowDamagedWorkbook(display_name, "registro além do fim");
  }
  record.data = stream.substr(offset + 4, length);
  record.next = offset + 4 + length;
  return true;
}

void ThrowDamagedWorkbook(const std::string& display_name, const std::string& why) {
  throw EPlanilhaError("A planilha \"" + display_name + "\" está danificada (" + why + ").");
}

}  // namespace app
