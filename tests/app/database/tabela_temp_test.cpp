// The staging table: structure, the 100-character limit, navigation and the
// missing-column message, its memory per cell, and values kept as references
// into shared text.
#include "app/database/tabela_temp.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

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

// Whole rows are written value by value in pieces of a few sizes: every
// length up to past the largest piece reads back byte for byte.
TEST(TabelaTemp, WholeRowsKeepValuesOfEveryLength) {
  constexpr int kCols = 70;
  auto t = Table(kCols);
  std::vector<std::string> values;
  for (int k = 0; k < kCols; ++k) {
    std::string v;
    for (int i = 0; i < k; ++i)
      v.push_back(static_cast<char>('!' + (k * 7 + i) % 90));
    values.push_back(v);
  }
  const std::vector<std::string_view> row(values.begin(), values.end());
  for (int r = 0; r < 3; ++r)
    t.AppendRow(row);
  for (t.First(); !t.Eof(); t.Next()) {
    for (int k = 0; k < kCols; ++k)
      EXPECT_EQ(t.Field(k), values[static_cast<size_t>(k)]) << t.RecordNo() << "," << k;
  }
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

// Values taken from inside a shared text read back the same whatever they
// are kept as (a reference, a copy, a cut copy), also once the one who gave
// the text has let it go; a second text is ignored while rows refer to the
// first, and Close lets the text go.
TEST(TabelaTemp, ValuesFromASharedTextReadBackAsTheyWere) {
  std::string accented;
  for (int i = 0; i < 150; ++i)
    accented += "ã";
  // Long enough to be referred to, as short as a reference or shorter,
  // empty, too long for the column (cut, so copied), and text from
  // elsewhere.
  auto text = std::make_shared<std::string>("cliente1@exemplo.com.br" + std::string("12345678") +
                                            "abc" + accented);
  const std::string_view all = *text;
  const std::string elsewhere = "rua das flores, 123";
  const std::string_view row[] = {all.substr(0, 23), all.substr(23, 8), all.substr(31, 3),
                                  all.substr(31, 0), all.substr(34),    elsewhere,
                                  all.substr(1, 22)};
  const std::vector<std::string> expected = {
      "cliente1@exemplo.com.br", "12345678", "abc", "", accented.substr(0, 200), elsewhere,
      "liente1@exemplo.com.br"};
  auto t = Table(8);
  t.ShareText(text);
  t.Append();
  t.SetField(1, all.substr(0, 23));  // set field by field: always copied
  t.Post();
  for (int r = 0; r < 3; ++r)
    t.AppendRow(row);
  // Another text while rows refer to the first: ignored, so rows keep
  // reading the first and new values from the second are copied.
  auto other = std::make_shared<std::string>("outro texto compartilhado");
  t.ShareText(other);
  const std::string_view from_other[] = {*other};
  t.AppendRow(from_other);
  const size_t memory = t.MemoryUsage();
  EXPECT_GE(memory, text->capacity());  // the text held counts
  text.reset();
  other.reset();  // the table holds what it refers to
  t.First();
  EXPECT_EQ(t.Field(1), "cliente1@exemplo.com.br");
  for (int r = 0; r < 3; ++r) {
    t.Next();
    for (int k = 0; k < 8; ++k)
      EXPECT_EQ(t.Field(k), k < 7 ? expected[static_cast<size_t>(k)] : "") << r << "," << k;
  }
  t.Next();
  EXPECT_EQ(t.Field(0), "outro texto compartilhado");
  EXPECT_EQ(t.RecordCount(), 5);
  // Once closed the table refers to nothing: a new text is taken.
  t.Close();
  t.CreateDataSet();
  auto fresh = std::make_shared<std::string>("um texto novo e longo");
  t.ShareText(fresh);
  const std::string_view again[] = {*fresh};
  t.AppendRow(again);
  fresh.reset();
  t.First();
  EXPECT_EQ(t.Field(0), "um texto novo e longo");
}

}  // namespace
