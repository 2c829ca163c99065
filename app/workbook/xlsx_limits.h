// Bounds on what an .xlsx package may hold, so that a small hostile file
// cannot make the reader take unbounded memory or time (a 1.5 MB package can
// inflate to a gigabyte of XML). Each lies far beyond what spreadsheet
// programs write; passing one is refused with a Portuguese message.
#pragma once

#include <cstddef>
#include <cstdint>

namespace app {

// Nesting of XML elements in any part: real parts stay below twenty levels.
inline constexpr long kMaxXmlDepth = 1000;
// Length of an element name in a worksheet part (real names have at most a
// dozen characters).
inline constexpr size_t kMaxXmlNameBytes = 1000;
// Sheets a workbook lists (the .xls reader counts its sheet records by the
// same bound). Excel's own bound is memory; ten thousand is more than any
// workbook made by hand or by a report writer holds.
inline constexpr size_t kMaxSheets = 10'000;
// Relationships of one part: one per worksheet, plus the workbook's few
// other parts (styles, theme, shared strings, external links...).
inline constexpr size_t kMaxRelationships = 100'000;
// Entries of the zip package: a handful per worksheet.
inline constexpr size_t kMaxZipEntries = 100'000;
// Distinct texts of the shared-string table: sixteen times the rows of a
// full worksheet (each costs about 24 bytes beside its text).
inline constexpr size_t kMaxSharedStrings = size_t{16} << 20;
// Inflated sizes of the small parts (the worksheets and the shared strings
// may take kMaxXmlPartBytes).
inline constexpr uint64_t kMaxRelsPartBytes = uint64_t{64} << 20;
inline constexpr uint64_t kMaxWorkbookPartBytes = uint64_t{256} << 20;

}  // namespace app
