// TExcelEngine: the spreadsheet engine that drives Microsoft Excel as an
// automation server, late-bound through IDispatch. It attaches to a running
// Excel or starts one on first use, never closes a workbook and never tells
// Excel to quit. Every failure becomes app::EPlanilhaError carrying the
// server's own message (or the system's text for the error code).
#pragma once

#include <windows.h>

#include <oaidl.h>

#include <cstdint>
#include <string>

#include "app/spreadsheet_engine.h"

// Releases a COM interface when it goes.
template <class T>
class TComPtr {
 public:
  TComPtr() = default;
  explicit TComPtr(T* p) : p_(p) {}
  TComPtr(const TComPtr&) = delete;
  TComPtr& operator=(const TComPtr&) = delete;
  TComPtr(TComPtr&& o) noexcept : p_(o.p_) { o.p_ = nullptr; }
  TComPtr& operator=(TComPtr&& o) noexcept {
    if (this != &o) {
      reset();
      p_ = o.p_;
      o.p_ = nullptr;
    }
    return *this;
  }
  ~TComPtr() { reset(); }
  T* get() const { return p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  T** put() {
    reset();
    return &p_;
  }
  void reset() {
    if (p_ != nullptr) p_->Release();
    p_ = nullptr;
  }

 private:
  T* p_ = nullptr;
};

class TExcelEngine : public app::TSpreadsheetEngine {
 public:
  // ReadRows asks Excel for at most this many cells at a time (a whole row
  // at least), so a long worksheet never sits in memory whole.
  static constexpr int32_t kBlockCells = 65536;

  explicit TExcelEngine(int32_t block_cells = kBlockCells);
  ~TExcelEngine() override;

  void Open(const std::string& file_name) override;
  int32_t SheetCount() override;
  void AttachSheet(int32_t position) override;
  std::string CurrentSheetName() override;
  void ActivateCurrentSheet() override;
  int32_t LastRow() override;
  int32_t LastColumn() override;
  app::TCellValue ReadCell(int32_t column, int32_t row) override;
  // Reads Value2 of whole ranges (several rows at a time) instead of cell by
  // cell. A block that takes more than one call is read down to the
  // worksheet's last used row only; the rows below it are handed over empty.
  void ReadRows(int32_t first_row, int32_t last_row, int32_t columns,
                const app::TRowSink& sink) override;

 private:
  IDispatch* Application();
  void RequireWorkbook() const;
  void RequireSheet() const;
  int32_t LastCell(DISPID member);
  // Range(first, last) of the current worksheet; `range_id` is its DISPID.
  TComPtr<IDispatch> RangeOf(DISPID range_id, int32_t first_column, int32_t first_row,
                             int32_t last_column, int32_t last_row);

  TComPtr<IDispatch> excel_;
  TComPtr<IDispatch> workbook_;
  TComPtr<IDispatch> sheet_;
  LCID lcid_ = 0;
  int32_t block_cells_;
  std::string text_;  // the last text cell read (ReadCell's view)
};

// True when Excel is registered as an automation server on this machine.
bool ExcelRegistrado();
