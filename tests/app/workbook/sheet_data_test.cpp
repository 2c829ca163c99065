// The cells of a worksheet as the readers hold them: a sheet's memory grows
// with the cells that hold something, cells without a value only widen the
// used area, and cells that arrive out of order are put in order where they
// are, a later one replacing an earlier one at the same place.
#include "app/workbook/sheet_data.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "tests/support/heap_peak.h"

namespace {

std::string Text(const app::TSheetData& sheet, int32_t column, int32_t row) {
  const app::TCellValue v = sheet.Get(column, row);
  if (v.Kind == app::TCellKind::ckEmpty) return "";
  if (v.Kind == app::TCellKind::ckNumber) return std::to_string(static_cast<int64_t>(v.Number));
  return std::string(v.Text);
}

// Millions of formatted blanks (a sheet formatted far beyond its data, or a
// hostile file of empty <c/> elements) cost no entry each.
TEST(SheetData, CellsWithoutAValueWidenTheUsedAreaAndTakeNoMemory) {
  test_support::THeapPeak peak;
  app::TSheetData sheet;
  sheet.AddNumber(2, 3, 7);
  for (int32_t row = 1; row <= 20'000; ++row) {
    for (int32_t column = 1; column <= 100; ++column)
      sheet.AddEmpty(row, column);
  }
  sheet.AddText(5, 1, "texto");
  sheet.Finish();
  EXPECT_EQ(sheet.CellCount(), 2'000'002u);  // the readers' bound counts every cell
  EXPECT_EQ(sheet.LastRow(), 20'000);
  EXPECT_EQ(sheet.LastColumn(), 100);
  EXPECT_EQ(Text(sheet, 3, 2), "7");
  EXPECT_EQ(Text(sheet, 1, 5), "texto");
  EXPECT_EQ(Text(sheet, 100, 20'000), "");
  if (peak.Available()) {
    EXPECT_LT(peak.Bytes(), 1 << 20);  // was 32 MB: 16 bytes per blank
  }
}

// A sheet written bottom row first: the table is sorted in place, without
// the second full copy it took before.
TEST(SheetData, CellsOutOfOrderAreSortedWithoutASecondTable) {
  constexpr int32_t kRows = 500'000;
  app::TSheetData sheet;
  sheet.Reserve(kRows + 1, 0);
  test_support::THeapPeak peak;
  for (int32_t row = kRows; row >= 1; --row)
    sheet.AddNumber(row, 1, row);
  sheet.AddNumber(7, 1, 70);  // the same place again: the later one stays
  sheet.Finish();
  EXPECT_EQ(sheet.LastRow(), kRows);
  EXPECT_EQ(Text(sheet, 1, 1), "1");
  EXPECT_EQ(Text(sheet, 1, 7), "70");
  EXPECT_EQ(Text(sheet, 1, kRows), std::to_string(kRows));
  if (peak.Available()) {
    // The sort's buffer (half the table) and the row index; a second table
    // would add the whole table's 16 bytes a cell.
    EXPECT_LT(peak.Bytes(), int64_t{kRows} * 16);
  }
}

// Whoever reads many cells asks once whether any text holds a NUL instead of
// looking in each cell: a NUL anywhere, in a cell's own text or in any entry
// of the shared strings (used or not), answers yes; text added after the
// question is looked at again.
TEST(SheetData, ANulInAnyTextOrSharedStringIsReported) {
  using namespace std::string_view_literals;
  const std::vector<std::string_view> clean = {"ana"sv, "bruno"sv};
  const std::vector<std::string_view> with_nul = {"ana"sv, "x\0y"sv, "bruno"sv};
  struct Case {
    const char* name;
    const std::vector<std::string_view>* shared;
    std::string_view text;
    bool nul;
  };
  const Case cases[] = {
      {"no texts at all", nullptr, {}, false},
      {"clean text, no shared strings", nullptr, "abc"sv, false},
      {"clean text and shared strings", &clean, "abc"sv, false},
      {"NUL in the cell's own text", &clean, "a\0b"sv, true},
      {"NUL at the end of the cell's text", nullptr, "ab\0"sv, true},
      {"NUL in a shared string", &with_nul, "abc"sv, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    app::TSheetData sheet(c.shared);
    sheet.AddNumber(1, 1, 5);
    if (c.shared != nullptr) sheet.AddShared(1, 2, 0);
    if (!c.text.empty()) sheet.AddText(2, 1, c.text);
    sheet.Finish();
    EXPECT_EQ(sheet.TextMayHoldNul(), c.nul);
  }
  app::TSheetData later(&clean);
  later.AddText(1, 1, "limpo");
  EXPECT_FALSE(later.TextMayHoldNul());
  later.AddText(2, 1, "\0"sv);
  later.Finish();
  EXPECT_TRUE(later.TextMayHoldNul());
}

// The row index, built as cells come while they come in order, agrees with
// a plain model of the sheet (the last cell added at a place wins) for
// cells in order with gaps, cells that stop coming in order after an
// ordered run, and blanks beyond the cells; through Get and through
// ReadRows alike.
TEST(SheetData, EveryOrderOfAddingGivesTheSameCells) {
  struct Add {
    int32_t row, column, value;  // value 0: a cell without a value
  };
  const std::vector<std::vector<Add>> cases = {
      {{1, 1, 11}, {1, 3, 13}, {4, 2, 42}, {9, 5, 95}},
      {{2, 1, 21}, {2, 2, 22}, {3, 1, 31}, {2, 4, 24}, {3, 2, 32}},  // back to row 2
      {{1, 1, 11}, {5, 1, 51}, {5, 1, 52}},                          // the same place again
      {{3, 3, 33}, {1, 1, 0}, {7, 9, 0}},                            // blanks widen the area
      {{1, 2, 12}, {1, 1, 11}},
      {},
  };
  for (size_t i = 0; i < cases.size(); ++i) {
    SCOPED_TRACE("case " + std::to_string(i));
    app::TSheetData sheet;
    std::map<std::pair<int32_t, int32_t>, int32_t> model;
    int32_t last_row = 1, last_column = 1;
    for (const Add& a : cases[i]) {
      if (a.value == 0) {
        sheet.AddEmpty(a.row, a.column);
      } else {
        sheet.AddNumber(a.row, a.column, a.value);
        model[{a.row, a.column}] = a.value;
      }
      last_row = std::max(last_row, a.row);
      last_column = std::max(last_column, a.column);
    }
    sheet.Finish();
    EXPECT_EQ(sheet.LastRow(), last_row);
    EXPECT_EQ(sheet.LastColumn(), last_column);
    auto expected = [&](int32_t row, int32_t column) {
      const auto it = model.find({row, column});
      return it == model.end() ? std::string() : std::to_string(it->second);
    };
    for (int32_t row = 1; row <= last_row + 1; ++row) {
      for (int32_t column = 1; column <= last_column + 1; ++column)
        EXPECT_EQ(Text(sheet, column, row), expected(row, column)) << row << "," << column;
    }
    sheet.ReadRows(1, last_row + 1, last_column, [&](int32_t row, auto values) {
      for (int32_t column = 1; column <= last_column; ++column) {
        const app::TCellValue& v = values[static_cast<size_t>(column) - 1];
        const std::string text = v.Kind == app::TCellKind::ckNumber
                                     ? std::to_string(static_cast<int64_t>(v.Number))
                                     : std::string();
        EXPECT_EQ(text, expected(row, column)) << row << "," << column;
      }
    });
  }
}

}  // namespace
