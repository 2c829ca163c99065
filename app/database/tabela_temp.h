// TTabelaTemp: the in-memory staging table (cdsTabelaTemp). Text columns
// defined by name, each holding at most Size characters (UTF-8 code points;
// longer values are cut when stored), one row per imported worksheet row.
//
//   app::TTabelaTemp t;                 // named "cdsTabelaTemp"
//   t.Close(); t.ClearFields();
//   t.AddFieldDef("1"); t.AddFieldDef("2");
//   t.CreateDataSet();                 // open, empty
//   t.Append(); t.SetField(0, "abc"); t.SetFieldByName("2", "x"); t.Post();
//   for (t.First(); !t.Eof(); t.Next()) use(t.FieldByName("2"));
//
// A name that is not a column throws EDatabaseError
// "cdsTabelaTemp: Field '46' not found". Reading a column that was never set,
// or reading with no current row, gives "". Rows are stored compactly: the
// text of all rows in large blocks and four bytes per cell for its end offset,
// so an empty cell costs four bytes and no allocation, and a growing table
// never copies the text it holds. Text that stays unchanged while it is held
// (a workbook's shared strings, ShareText) is referred to instead of copied.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/big_buffer.h"

namespace app {

class TTabelaTemp {
 public:
  explicit TTabelaTemp(std::string name = "cdsTabelaTemp");

  const std::string& Name() const { return name_; }

  // Structure.
  void Close();
  void ClearFields();
  void AddFieldDef(std::string name, int32_t size = 100);
  void CreateDataSet();  // closes, builds the columns from the definitions, opens empty
  bool Active() const { return active_; }
  int32_t FieldCount() const { return static_cast<int32_t>(fields_.size()); }
  // Index of a column by name; throws EDatabaseError if there is none.
  int32_t FieldIndex(std::string_view name) const;

  // Writing: Append starts a new row, SetField fills it, Post stores it;
  // Cancel drops the unposted row.
  void Append();
  void SetField(int32_t index, std::string_view value);
  void SetFieldByName(std::string_view name, std::string_view value);
  void Post();
  void Cancel();
  bool Appending() const { return appending_; }
  // Append, SetField of values[k] to column k for each value, and Post, in
  // one step: the row's text is copied in one go (the import's path).
  void AppendRow(std::span<const std::string_view> values);
  // Text that stays unchanged while anyone holds it: the values AppendRow
  // gets from inside it are kept as references (the table holds the text)
  // instead of being copied. Ignored while rows refer to another such text;
  // Close lets it go.
  void ShareText(std::shared_ptr<const std::string> text);
  void ReserveRows(int64_t rows);

  // Reading the current row (the row being appended, while appending).
  std::string_view Field(int32_t index) const;
  std::string FieldByName(std::string_view name) const;

  // Navigation.
  void First();
  void Next();
  bool Eof() const { return eof_; }
  int64_t RecordNo() const { return current_; }  // 0-based, -1 when none
  int64_t RecordCount() const { return row_count_; }

  // Bytes held by the rows (text buffer, offsets, row bases, and the shared
  // text they refer to).
  size_t MemoryUsage() const;

 private:
  struct FieldDef {
    std::string name;
    int32_t size;
  };
  void RequireActive() const;
  // `value` cut to the size of column `index`.
  std::string_view Cut(size_t index, std::string_view value) const;
  // The last text block when it has room for `bytes` more, else a new one.
  TBigString& BlockFor(size_t bytes);
  // Records a posted row whose text starts at `base` and makes it current.
  void RowPosted(uint64_t base);
  std::string_view Stored(int64_t row, int32_t index) const;
  // A row's text must stay below 2 GiB (the top bit of an end marks a
  // reference); throws std::bad_alloc.
  [[noreturn]] static void RowTooLong();

  std::string name_;
  std::vector<FieldDef> defs_;
  std::vector<FieldDef> fields_;
  bool active_ = false;
  bool appending_ = false;
  bool eof_ = true;
  int64_t current_ = -1;
  int64_t row_count_ = 0;
  // Posted rows: the text of every cell back to back in blocks of 4 MiB
  // (filled, never moved); row_base_[r] is the block (high 32 bits) and
  // offset (low 32 bits) of row r's text, cell_end_[r * columns + k] the end
  // of cell k relative to it (low 31 bits). A cell whose top bit is set
  // holds, in place of its text, where its text lies in shared_text_: the
  // offset and the length, four bytes each.
  static constexpr uint32_t kReference = uint32_t{1} << 31;
  std::shared_ptr<const std::string> shared_text_;
  bool refers_ = false;  // some row refers to shared_text_
  std::vector<TBigString> blocks_;
  std::vector<uint64_t> row_base_;
  TBigVector<uint32_t> cell_end_;
  // The row being appended: while its fields come in column order they are
  // written to the last block from row_start_ on, with their ends in
  // pending_end_ (direct_); otherwise they wait in edit_ until Post.
  void LeaveDirect();
  bool direct_ = false;
  int32_t next_field_ = 0;
  size_t row_start_ = 0;
  std::vector<uint32_t> pending_end_;
  std::vector<std::string> edit_;
};

}  // namespace app
