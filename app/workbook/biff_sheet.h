// ReadBiffSheet: the cells of one sheet of an .xls workbook stream as
// Excel's Value2 gives them: numbers as stored (NUMBER, RK, MULRK; dates
// and times are such numbers, in whichever date system the workbook uses),
// texts (shared, LABEL, rich-text RSTRING), booleans, errors and the results
// formulas had when the file was saved. Formatted blank cells (BLANK,
// MULBLANK) have no value but belong to the used area, as in Excel; the
// sheet's stored DIMENSIONS are not taken for it (Excel does not either), so
// a sheet that claims 65,536 by 256 cells costs only the cells it holds.
//
//   app::TSheetData data(&biff.SharedStrings());
//   app::ReadBiffSheet(biff, 0, data);
//   data.Finish();
#pragma once

#include <cstddef>

#include "app/workbook/biff_stream.h"
#include "app/workbook/sheet_data.h"

namespace app {

// Adds the cells of sheet `index` (0-based, in workbook order) of `book` to
// `data`, which was made with book.SharedStrings(). Throws EPlanilhaError
// when the sheet's records are damaged.
void ReadBiffSheet(const TBiffStream& book, size_t index, TSheetData& data);

}  // namespace app
