// List and tree views of the common controls.
//
//   auto* list = new fw::TListView(form);
//   list->SetViewStyle(fw::vsReport);           // columns under a header
//   list->Columns()->Add(L"Código", 80);
//   list->AddItem(L"00000001", {L"ana@example.com"});
//   auto* tree = new fw::TTreeView(form);
//   HTREEITEM root = tree->AddNode(nullptr, L"Clientes");
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "framework/controls.h"

namespace fw {

enum TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };

class TCustomListView;

class TListColumns {
 public:
  explicit TListColumns(TCustomListView& view) : view_(view) {}
  struct TColumn {
    std::wstring Caption;
    int32_t Width;
  };
  int Count() const { return static_cast<int>(columns_.size()); }
  const TColumn& Items(int index) const { return columns_.at(static_cast<size_t>(index)); }
  void Add(const std::wstring& caption, int32_t width);
  void Clear();

 private:
  friend class TCustomListView;
  TCustomListView& view_;
  std::vector<TColumn> columns_;
};

class TCustomListView : public TWinControl {
  FW_CLASS_INFO(TCustomListView)

 public:
  explicit TCustomListView(TComponent* owner);

  TViewStyle ViewStyle() const { return view_style_; }
  void SetViewStyle(TViewStyle v);
  bool RowSelect() const { return row_select_; }
  void SetRowSelect(bool v);
  bool GridLines() const { return grid_lines_; }
  void SetGridLines(bool v);
  bool ShowColumnHeaders() const { return show_headers_; }
  void SetShowColumnHeaders(bool v);
  TListColumns* Columns() { return &columns_; }

  // Items: a caption and the texts of the further columns.
  int ItemCount() const { return static_cast<int>(items_.size()); }
  void AddItem(const std::wstring& caption, const std::vector<std::wstring>& sub_items = {});
  void ClearItems();
  // The header control of the report view (nullptr in other views).
  HWND HeaderHandle();

 protected:
  void CreateParams(TCreateParams& params) override;
  void HandleCreated() override;

 private:
  friend class TListColumns;
  void FillColumns();
  void FillItem(size_t index);
  void UpdateExtendedStyle();

  struct TItem {
    std::wstring Caption;
    std::vector<std::wstring> SubItems;
  };
  TViewStyle view_style_ = vsIcon;
  bool row_select_ = false;
  bool grid_lines_ = false;
  bool show_headers_ = true;
  TListColumns columns_{*this};
  std::vector<TItem> items_;
};

class TListView : public TCustomListView {
  FW_CLASS_INFO(TListView)

 public:
  using TCustomListView::TCustomListView;
};

class TCustomTreeView : public TWinControl {
  FW_CLASS_INFO(TCustomTreeView)

 public:
  explicit TCustomTreeView(TComponent* owner);

  bool ShowLines() const { return show_lines_; }
  void SetShowLines(bool v);
  bool ShowRoot() const { return show_root_; }
  void SetShowRoot(bool v);
  bool ShowButtons() const { return show_buttons_; }
  void SetShowButtons(bool v);

  // Adds a node under `parent` (nullptr: a top node); returns it. The nodes
  // live in the window, which is created for them.
  HTREEITEM AddNode(HTREEITEM parent, const std::wstring& text);
  int NodeCount();
  void ClearNodes();

 protected:
  void CreateParams(TCreateParams& params) override;

 private:
  bool show_lines_ = true;
  bool show_root_ = true;
  bool show_buttons_ = true;
};

class TTreeView : public TCustomTreeView {
  FW_CLASS_INFO(TTreeView)

 public:
  using TCustomTreeView::TCustomTreeView;
};

}  // namespace fw
