// The staging table: structure, the 100-character limit, navigation and the
// missing-column message, and its memory per cell.
#include "app/database/tabela_temp.h"

#include <gtest/gtest.h>

#include "app/errors.h"

namespace {

app::TTabelaTemp Table(int columns) {
  app::TTabelaTemp t;
  t.Close();
  t.ClearFields();
  for (int k = 1; k <= columns; ++k)
    t.AddFieldDef(std::to_string(k));
  t.CreateDataSet();
  return t;
}

TEST(TabelaTemp, ColumnsByNameAndTheMissingColumnMessage) {
  auto t = Table(3);
  EXPECT_EQ(t.FieldCount(), 3);
  EXPECT_EQ(t.FieldIndex("2"), 1);
  try {
    t.FieldIndex("46");
    FAIL();
  } catch (const app::EDatabaseError& e) {
    EXPECT_STREQ(e.what(), "cdsTabelaTemp: Field '46' not found");
  }
  // An empty table reads every column as "".
  t.First();
  EXPECT_TRUE(t.Eof());
  EXPECT_EQ(t.FieldByName("3"), "");
}

TEST(TabelaTemp, RowsKeepTheirCellsAndNavigationEndsAtEof) {
  auto t = Table(3);
  const char* rows[3][3] = {{"a", "", "c"}, {"", "", ""}, {"x", "yy", "zzz"}};
  for (auto& row : rows) {
    t.Append();
    for (int k = 0; k < 3; ++k) {
      if (*row[k]) t.SetField(k, row[k]);  // unset cells stay empty
    }
    t.Post();
  }
  t.Append();
  t.SetField(0, "dropped");
  t.Cancel();
  EXPECT_EQ(t.RecordCount(), 3);
  int r = 0;
  for (t.First(); !t.Eof(); t.Next(), ++r) {
    for (int k = 0; k < 3; ++k)
      EXPECT_EQ(t.Field(k), rows[r][k]) << r << "," << k;
  }
  EXPECT_EQ(r, 3);
  // Next at the end stays on the last row.
  EXPECT_EQ(t.FieldByName("3"), "zzz");
}

TEST(TabelaTemp, FieldsSetOutOfOrderOrTwiceWhileAppending) {
  auto t = Table(3);
  t.Append();
  t.SetField(2, "c");
  t.SetField(0, "a");  // out of column order
  t.SetField(2, "C2");
  EXPECT_EQ(t.Field(0), "a");
  t.Post();
  t.Append();
  t.SetField(0, "x");
  t.SetField(1, "y");
  EXPECT_EQ(t.Field(1), "y");
  EXPECT_EQ(t.Field(2), "");
  t.SetField(1, "z");  // set again
  t.Post();
  t.Append();
  t.SetField(1, "dropped");
  t.Cancel();
  t.Append();
  t.SetField(1, "m");
  t.Post();
  const char* rows[3][3] = {{"a", "", "C2"}, {"x", "z", ""}, {"", "m", ""}};
  int r = 0;
  for (t.First(); !t.Eof(); t.Next(), ++r) {
    for (int k = 0; k < 3; ++k)
      EXPECT_EQ(t.Field(k), rows[r][k]) << r << "," << k;
  }
  EXPECT_EQ(r, 3);
}

TEST(TabelaTemp, RowsStayWholeAcrossTextBlocks) {
  auto t = Table(2);
  constexpr int kRows = 50000;  // about 10 MB of text: several blocks
  auto value = [](int r, int k) {
    std::string v = std::to_string(r * 2 + k);
    return v + std::string(100 - v.size(), static_cast<char>('a' + (r + k) % 26));
  };
  // Rows are added both ways, field by field and whole.
  for (int r = 0; r < kRows; ++r) {
    if (r % 3 == 0) {
      const std::string v0 = value(r, 0), v1 = value(r, 1);
      const std::string_view row[] = {v0, v1};
      t.AppendRow(row);
      continue;
    }
    t.Append();
    t.SetField(0, value(r, 0));
    t.SetField(1, value(r, 1));
    t.Post();
  }
  int r = 0;
  for (t.First(); !t.Eof(); t.Next(), ++r) {
    ASSERT_EQ(t.Field(0), value(r, 0)) << r;
    ASSERT_EQ(t.Field(1), value(r, 1)) << r;
  }
  EXPECT_EQ(r, kRows);
}

TEST(TabelaTemp, ValuesAreCutToOneHundredCharactersNotBytes) {
  auto t = Table(2);
  t.Append();
  std::string accented;
  for (int i = 0; i < 150; ++i)
    accented += "ã";  // 2 bytes each
  t.SetField(0, std::string(150, 'x'));
  t.SetField(1, accented);
  t.Post();
  const std::string long_x(150, 'x');
  const std::string_view whole[] = {long_x, accented};
  t.AppendRow(whole);
  for (t.First(); !t.Eof(); t.Next()) {
    EXPECT_EQ(t.Field(0), std::string(100, 'x'));
    EXPECT_EQ(t.Field(1).size(), 200u);
    EXPECT_EQ(t.Field(1), accented.substr(0, 200));
  }
  EXPECT_EQ(t.RecordCount(), 2);
}

TEST(TabelaTemp, IllFormedTextIsCutAtTheCharactersItShowsAs) {
  // Each byte of an overlong form shows as one U+FFFD, so 60 such pairs are
  // 120 characters; a sequence cut short shows as one.
  std::string overlong;
  for (int i = 0; i < 60; ++i)
    overlong += "\xC0\xAF";
  const std::string cut = std::string(99, 'x') + "\xE2\x82" + "yz";
  auto t = Table(2);
  const std::string_view row[] = {overlong, cut};
  t.AppendRow(row);
  t.First();
  EXPECT_EQ(t.Field(0), overlong.substr(0, 100));
  EXPECT_EQ(t.Field(1), cut.substr(0, 101));
}

TEST(TabelaTemp, WholeRowsPostTheRowBeingAppendedAndLeaveMissingColumnsEmpty) {
  auto t = Table(3);
  t.Append();
  t.SetField(1, "pending");
  const std::string_view short_row[] = {"a"};
  t.AppendRow(short_row);  // posts the pending row first
  EXPECT_FALSE(t.Appending());
  EXPECT_EQ(t.RecordNo(), 1);
  const std::string_view too_long[] = {"1", "2", "3", "4"};
  EXPECT_THROW(t.AppendRow(too_long), app::EDatabaseError);
  const char* rows[2][3] = {{"", "pending", ""}, {"a", "", ""}};
  int r = 0;
  for (t.First(); !t.Eof(); t.Next(), ++r) {
    for (int k = 0; k < 3; ++k)
      EXPECT_EQ(t.Field(k), rows[r][k]) << r << "," << k;
  }
  EXPECT_EQ(r, 2);
  t.Close();
  EXPECT_THROW(t.AppendRow(short_row), app::EDatabaseError);
}

TEST(TabelaTemp, RebuildingDropsRowsAndColumns) {
  auto t = Table(46);
  t.Append();
  t.SetField(45, "last");
  t.Post();
  t.Close();
  t.ClearFields();
  t.AddFieldDef("1");
  t.CreateDataSet();
  EXPECT_EQ(t.RecordCount(), 0);
  EXPECT_THROW(t.FieldIndex("46"), app::EDatabaseError);
}

TEST(TabelaTemp, MemoryStaysUnderTwiceTheTextPlusEightBytesPerCell) {
  constexpr int kRows = 20000, kCols = 46;
  auto t = Table(kCols);
  t.ReserveRows(kRows);
  size_t text = 0;
  for (int r = 0; r < kRows; ++r) {
    t.Append();
    for (int k = 0; k < kCols; ++k) {
      if ((r * kCols + k) % 25 == 0) continue;  // 4 % empty cells
      const std::string v = "cliente" + std::to_string(r) + "@exemplo" + std::to_string(k);
      text += v.size();
      t.SetField(k, v);
    }
    t.Post();
  }
  const size_t cells = size_t{kRows} * kCols;
  EXPECT_LT(t.MemoryUsage(), 2 * text + 8 * cells);
}

}  // namespace
