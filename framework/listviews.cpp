#include "framework/listviews.h"

namespace fw {

// --- TListColumns ----------------------------------------------------------------

void TListColumns::Add(const std::wstring& caption, int32_t width) {
  columns_.push_back(TColumn{caption, width});
  view_.FillColumns();
}

void TListColumns::Clear() {
  columns_.clear();
  view_.FillColumns();
}

// --- TCustomListView -------------------------------------------------------------

TCustomListView::TCustomListView(TComponent* owner) : TWinControl(owner) {
  color_ = clWindow;
  width_ = 250;
  height_ = 150;
  SetTabStop(true);
}

const TClassInfo& TCustomListView::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TCustomListView>("TCustomListView", TWinControl::StaticClassInfo())
          .Enum("ViewStyle", {"vsIcon", "vsSmallIcon", "vsList", "vsReport"},
                &TCustomListView::ViewStyle, &TCustomListView::SetViewStyle)
          .Bool("RowSelect", &TCustomListView::RowSelect, &TCustomListView::SetRowSelect)
          .Bool("GridLines", &TCustomListView::GridLines, &TCustomListView::SetGridLines)
          .Bool("ShowColumnHeaders", &TCustomListView::ShowColumnHeaders,
                &TCustomListView::SetShowColumnHeaders)
          .Build();
  return info;
}

const TClassInfo& TListView::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TListView>("TListView", TCustomListView::StaticClassInfo()).Build();
  return info;
}

void TCustomListView::SetViewStyle(TViewStyle v) {
  if (v == view_style_) return;
  view_style_ = v;
  RecreateWnd();
}

void TCustomListView::SetRowSelect(bool v) {
  row_select_ = v;
  UpdateExtendedStyle();
}

void TCustomListView::SetGridLines(bool v) {
  grid_lines_ = v;
  UpdateExtendedStyle();
}

void TCustomListView::SetShowColumnHeaders(bool v) {
  if (v == show_headers_) return;
  show_headers_ = v;
  RecreateWnd();
}

void TCustomListView::UpdateExtendedStyle() {
  if (!HandleAllocated()) return;
  DWORD ex = 0;
  if (row_select_) ex |= LVS_EX_FULLROWSELECT;
  if (grid_lines_) ex |= LVS_EX_GRIDLINES;
  SendMessageW(handle_, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES, ex);
}

void TCustomListView::AddItem(const std::wstring& caption,
                              const std::vector<std::wstring>& sub_items) {
  items_.push_back(TItem{caption, sub_items});
  FillItem(items_.size() - 1);
}

void TCustomListView::ClearItems() {
  items_.clear();
  if (HandleAllocated()) SendMessageW(handle_, LVM_DELETEALLITEMS, 0, 0);
}

HWND TCustomListView::HeaderHandle() {
  if (!HandleAllocated() || view_style_ != vsReport) return nullptr;
  return reinterpret_cast<HWND>(SendMessageW(handle_, LVM_GETHEADER, 0, 0));
}

void TCustomListView::FillColumns() {
  if (!HandleAllocated()) return;
  while (SendMessageW(handle_, LVM_DELETECOLUMN, 0, 0) != FALSE) {
  }
  for (size_t i = 0; i < columns_.columns_.size(); ++i) {
    LVCOLUMNW col{};
    col.mask = LVCF_TEXT | LVCF_WIDTH;
    col.cx = columns_.columns_[i].Width;
    col.pszText = columns_.columns_[i].Caption.data();
    SendMessageW(handle_, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&col));
  }
}

void TCustomListView::FillItem(size_t index) {
  if (!HandleAllocated()) return;
  TItem& item = items_[index];
  LVITEMW lv{};
  lv.mask = LVIF_TEXT;
  lv.iItem = static_cast<int>(index);
  lv.pszText = item.Caption.data();
  SendMessageW(handle_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&lv));
  for (size_t s = 0; s < item.SubItems.size(); ++s) {
    LVITEMW sub{};
    sub.iSubItem = static_cast<int>(s + 1);
    sub.pszText = item.SubItems[s].data();
    SendMessageW(handle_, LVM_SETITEMTEXTW, index, reinterpret_cast<LPARAM>(&sub));
  }
}

void TCustomListView::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.ClassName = WC_LISTVIEWW;
  p.SystemClass = true;
  p.ExStyle |= WS_EX_CLIENTEDGE;
  p.Style |= LVS_SHAREIMAGELISTS | LVS_SHOWSELALWAYS;
  switch (view_style_) {
    case vsIcon:
      p.Style |= LVS_ICON;
      break;
    case vsSmallIcon:
      p.Style |= LVS_SMALLICON;
      break;
    case vsList:
      p.Style |= LVS_LIST;
      break;
    case vsReport:
      p.Style |= LVS_REPORT;
      break;
  }
  if (!show_headers_) p.Style |= LVS_NOCOLUMNHEADER;
}

void TCustomListView::HandleCreated() {
  UpdateExtendedStyle();
  FillColumns();
  for (size_t i = 0; i < items_.size(); ++i)
    FillItem(i);
}

// --- TCustomTreeView -------------------------------------------------------------

TCustomTreeView::TCustomTreeView(TComponent* owner) : TWinControl(owner) {
  color_ = clWindow;
  width_ = 121;
  height_ = 97;
  SetTabStop(true);
}

const TClassInfo& TCustomTreeView::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TCustomTreeView>("TCustomTreeView", TWinControl::StaticClassInfo())
          .Bool("ShowLines", &TCustomTreeView::ShowLines, &TCustomTreeView::SetShowLines)
          .Bool("ShowRoot", &TCustomTreeView::ShowRoot, &TCustomTreeView::SetShowRoot)
          .Bool("ShowButtons", &TCustomTreeView::ShowButtons, &TCustomTreeView::SetShowButtons)
          .Build();
  return info;
}

const TClassInfo& TTreeView::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TTreeView>("TTreeView", TCustomTreeView::StaticClassInfo()).Build();
  return info;
}

void TCustomTreeView::SetShowLines(bool v) {
  show_lines_ = v;
  RecreateWnd();
}
void TCustomTreeView::SetShowRoot(bool v) {
  show_root_ = v;
  RecreateWnd();
}
void TCustomTreeView::SetShowButtons(bool v) {
  show_buttons_ = v;
  RecreateWnd();
}

HTREEITEM TCustomTreeView::AddNode(HTREEITEM parent, const std::wstring& text) {
  std::wstring copy = text;
  TVINSERTSTRUCTW ins{};
  ins.hParent = parent != nullptr ? parent : TVI_ROOT;
  ins.hInsertAfter = TVI_LAST;
  ins.item.mask = TVIF_TEXT;
  ins.item.pszText = copy.data();
  return reinterpret_cast<HTREEITEM>(
      SendMessageW(Handle(), TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&ins)));
}

int TCustomTreeView::NodeCount() {
  return static_cast<int>(SendMessageW(Handle(), TVM_GETCOUNT, 0, 0));
}

void TCustomTreeView::ClearNodes() {
  if (HandleAllocated())
    SendMessageW(handle_, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
}

void TCustomTreeView::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.ClassName = WC_TREEVIEWW;
  p.SystemClass = true;
  p.ExStyle |= WS_EX_CLIENTEDGE;
  p.Style |= TVS_SHOWSELALWAYS;
  if (show_lines_) p.Style |= TVS_HASLINES;
  if (show_root_) p.Style |= TVS_LINESATROOT;
  if (show_buttons_) p.Style |= TVS_HASBUTTONS;
}

}  // namespace fw
