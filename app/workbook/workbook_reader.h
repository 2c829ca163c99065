// TWorkbookReader: what the readers of the three workbook file kinds behind
// the file engine have in common (OpenXlsx, OpenXls and OpenCsv make them).
// Each one opens a file, names its worksheets in workbook order and reads one
// worksheet's cells into a TSheetData. Errors throw EPlanilhaError with a
// Portuguese message.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/workbook/sheet_data.h"

namespace app {

// Bounds that keep a hostile file from exhausting memory.
inline constexpr uint64_t kMaxWorkbookFileBytes = uint64_t{1} << 30;  // 1 GiB on disk
inline constexpr uint64_t kMaxXmlPartBytes = uint64_t{1} << 30;       // 1 GiB inflated per part
inline constexpr uint64_t kMaxSheetCells = 50'000'000;

class TWorkbookReader {
 public:
  virtual ~TWorkbookReader() = default;
  int32_t SheetCount() const { return static_cast<int32_t>(names_.size()); }
  const std::string& SheetName(int32_t position) const {
    return names_[static_cast<size_t>(position - 1)];
  }
  virtual std::unique_ptr<TSheetData> ReadSheet(int32_t position) = 0;

 protected:
  std::vector<std::string> names_;
};

// Days since 1899-12-30 plus the fraction of the day ("2024-01-31" is
// 45322, "2024-01-31T12:00:00" 45322.5); false if the text is no ISO date.
bool IsoDateToSerial(std::string_view text, double& serial);

// The number of a worksheet's number cell from its text ("12.5", "-3",
// "1.5E-7"; leading spaces and '+' are skipped): the double nearest to it,
// as std::from_chars gives it. False when the text is no number, or no
// finite one ("nan", "inf").
bool ParseCellNumber(std::string_view text, double& value);

}  // namespace app
