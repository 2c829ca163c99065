#include "framework/stdctrls.h"

#include <algorithm>

#include "framework/forms.h"

namespace fw {

// --- TLabel --------------------------------------------------------------------

TLabel::TLabel(TComponent* owner) : TGraphicControl(owner) {
  parent_color_ = true;
}

const TClassInfo& TLabel::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TLabel>("TLabel", TGraphicControl::StaticClassInfo())
          .Enum("Alignment", {"taLeftJustify", "taRightJustify", "taCenter"}, &TLabel::Alignment,
                &TLabel::SetAlignment)
          .Bool("AutoSize", &TLabel::AutoSize, &TLabel::SetAutoSize)
          .Bool("Transparent", &TLabel::Transparent, &TLabel::SetTransparent)
          .Bool("WordWrap", &TLabel::WordWrap, &TLabel::SetWordWrap)
          .Bool("ShowAccelChar", &TLabel::ShowAccelChar, &TLabel::SetShowAccelChar)
          .Build();
  return info;
}

void TLabel::Loaded() {
  TGraphicControl::Loaded();
  AdjustBounds();
}

void TLabel::SetAlignment(TAlignment v) {
  alignment_ = v;
  Invalidate();
}
void TLabel::SetAutoSize(bool v) {
  auto_size_ = v;
  AdjustBounds();
}
void TLabel::SetTransparent(bool v) {
  transparent_ = v;
  Invalidate();
}
void TLabel::SetWordWrap(bool v) {
  word_wrap_ = v;
  AdjustBounds();
}
void TLabel::SetShowAccelChar(bool v) {
  show_accel_char_ = v;
  AdjustBounds();
}

void TLabel::SetTextValue(const std::wstring& text) {
  TGraphicControl::SetTextValue(text);
  AdjustBounds();
}

void TLabel::FontChanged() {
  AdjustBounds();
  Invalidate();
}

UINT TLabel::DrawFlags() const {
  UINT flags = DT_EXPANDTABS;
  if (word_wrap_) flags |= DT_WORDBREAK;
  if (!show_accel_char_) flags |= DT_NOPREFIX;
  return flags | BiDiDrawTextFlags(alignment_, bidi_mode_);
}

void TLabel::AdjustBounds() {
  // A label that sizes itself measures its text with its font; a right
  // aligned one keeps its right edge.
  if (!auto_size_ || IsLoading()) return;
  HDC dc = GetDC(nullptr);
  RECT r{0, 0, word_wrap_ ? width_ : 0, 0};
  {
    TSelectObject font(dc, font_.Handle());
    std::wstring text = text_.empty() ? L" " : text_;
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DrawFlags() | DT_CALCRECT);
  }
  ReleaseDC(nullptr, dc);
  int32_t x = left_;
  if (BiDiAlignment(alignment_, bidi_mode_) == taRightJustify) x += width_ - r.right;
  SetBounds(x, top_, r.right, r.bottom);
}

void TLabel::Paint() {
  HDC dc = canvas_.Handle();
  RECT r = ClientRect();
  if (!transparent_) {
    TGdiHandle<HBRUSH> brush(CreateSolidBrush(ColorToRGB(color_)));
    FillRect(dc, &r, brush.get());
  }
  TSelectObject font(dc, font_.Handle());
  SetBkMode(dc, TRANSPARENT);
  if (enabled_) {
    SetTextColor(dc, ColorToRGB(font_.Color()));
    DrawTextW(dc, text_.c_str(), static_cast<int>(text_.size()), &r, DrawFlags());
  } else {
    RECT shifted = r;
    OffsetRect(&shifted, 1, 1);
    SetTextColor(dc, ColorToRGB(clBtnHighlight));
    DrawTextW(dc, text_.c_str(), static_cast<int>(text_.size()), &shifted, DrawFlags());
    SetTextColor(dc, ColorToRGB(clBtnShadow));
    DrawTextW(dc, text_.c_str(), static_cast<int>(text_.size()), &r, DrawFlags());
  }
}

// --- TCustomEdit ---------------------------------------------------------------------

TCustomEdit::TCustomEdit(TComponent* owner) : TWinControl(owner) {
  color_ = clWindow;
  SetTabStop(true);
}

const TClassInfo& TCustomEdit::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TCustomEdit>("TCustomEdit", TWinControl::StaticClassInfo())
          .Int("MaxLength", &TCustomEdit::MaxLength, &TCustomEdit::SetMaxLength)
          .Bool("ReadOnly", &TCustomEdit::ReadOnly, &TCustomEdit::SetReadOnly)
          .Event<void(TObject*)>("OnChange", &TCustomEdit::OnChange)
          .Build();
  return info;
}

void TCustomEdit::SetMaxLength(int32_t v) {
  max_length_ = v;
  if (HandleAllocated()) SendMessageW(handle_, EM_LIMITTEXT, static_cast<WPARAM>(v), 0);
}

void TCustomEdit::SetReadOnly(bool v) {
  read_only_ = v;
  if (HandleAllocated()) SendMessageW(handle_, EM_SETREADONLY, v ? TRUE : FALSE, 0);
}

void TCustomEdit::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.ClassName = L"EDIT";
  p.SystemClass = true;
  p.Style |= ES_AUTOHSCROLL | ES_LEFT;
  p.Style &= ~(WS_CLIPCHILDREN);
  if (read_only_) p.Style |= ES_READONLY;
  // A flat edit has a single line border; a 3-D one a sunken edge.
  if (Ctl3D()) {
    p.ExStyle |= WS_EX_CLIENTEDGE;
  } else {
    p.Style |= WS_BORDER;
  }
}

void TCustomEdit::HandleCreated() {
  if (max_length_ > 0) SendMessageW(handle_, EM_LIMITTEXT, static_cast<WPARAM>(max_length_), 0);
}

void TCustomEdit::WndProc(TMessage& m) {
  if (m.Msg == CN_COMMAND && HIWORD(m.WParam) == EN_CHANGE) {
    if (OnChange) OnChange(this);
    return;
  }
  TWinControl::WndProc(m);
}

// --- TCustomComboBox -----------------------------------------------------------------

int TComboBoxStrings::Add(const std::wstring& s) {
  items_.push_back(s);
  if (combo_.HandleAllocated()) {
    SendMessageW(combo_.handle_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s.c_str()));
  }
  return static_cast<int>(items_.size()) - 1;
}

void TComboBoxStrings::Delete(int index) {
  if (index < 0 || index >= Count()) throw Exception("List index out of bounds");
  items_.erase(items_.begin() + index);
  if (combo_.HandleAllocated())
    SendMessageW(combo_.handle_, CB_DELETESTRING, static_cast<WPARAM>(index), 0);
}

void TComboBoxStrings::Clear() {
  items_.clear();
  combo_.item_index_ = -1;
  if (combo_.HandleAllocated()) {
    SendMessageW(combo_.handle_, CB_RESETCONTENT, 0, 0);
    SetWindowTextW(combo_.handle_, L"");
  }
}

void TComboBoxStrings::Fill() {
  for (const auto& s : items_) {
    SendMessageW(combo_.handle_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s.c_str()));
  }
}

TCustomComboBox::TCustomComboBox(TComponent* owner) : TWinControl(owner) {
  color_ = clWindow;
  SetTabStop(true);
}

TCustomComboBox::~TCustomComboBox() {
  // Owned components (a skinner of the edit part, say) go first; then the
  // edit part's subclass leaves (a pass-through if a later one lies above).
  DestroyComponents();
  edit_subclass_.Remove();
}

const TClassInfo& TCustomComboBox::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TCustomComboBox>("TCustomComboBox", TWinControl::StaticClassInfo())
          .Obj("Items", &TCustomComboBox::Items)
          .Int("ItemIndex", &TCustomComboBox::ItemIndex, &TCustomComboBox::SetItemIndex)
          .Enum("Style", {"csDropDown", "csSimple", "csDropDownList"}, &TCustomComboBox::Style,
                &TCustomComboBox::SetStyle)
          .Int("ItemHeight", &TCustomComboBox::ItemHeight, &TCustomComboBox::SetItemHeight)
          .Int("DropDownCount", &TCustomComboBox::DropDownCount, &TCustomComboBox::SetDropDownCount)
          .Enum("BevelKind", {"bkNone", "bkTile", "bkSoft", "bkFlat"}, &TCustomComboBox::BevelKind,
                &TCustomComboBox::SetBevelKind)
          .Event<void(TObject*)>("OnChange", &TCustomComboBox::OnChange)
          .Build();
  return info;
}

int32_t TCustomComboBox::ItemIndex() const {
  if (handle_ != nullptr) return static_cast<int32_t>(SendMessageW(handle_, CB_GETCURSEL, 0, 0));
  return item_index_;
}

void TCustomComboBox::SetItemIndex(int32_t index) {
  if (index < -1 || index >= items_.Count()) index = -1;
  item_index_ = index;
  if (handle_ != nullptr) SendMessageW(handle_, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

bool TCustomComboBox::DroppedDown() const {
  return handle_ != nullptr && SendMessageW(handle_, CB_GETDROPPEDSTATE, 0, 0) != 0;
}

void TCustomComboBox::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.ClassName = L"COMBOBOX";
  p.SystemClass = true;
  p.Style &= ~WS_CLIPCHILDREN;
  p.Style |= WS_VSCROLL | CBS_AUTOHSCROLL;
  switch (style_) {
    case csDropDown:
      p.Style |= CBS_DROPDOWN;
      break;
    case csSimple:
      p.Style |= CBS_SIMPLE;
      break;
    case csDropDownList:
      p.Style |= CBS_DROPDOWNLIST;
      break;
  }
  // The window's height includes the drop-down list.
  if (style_ != csSimple) p.Height = height_ + item_height_ * drop_down_count_ + 2;
}

void TCustomComboBox::HandleCreated() {
  items_.Fill();
  if (item_index_ >= 0) SendMessageW(handle_, CB_SETCURSEL, static_cast<WPARAM>(item_index_), 0);
  SendMessageW(handle_, CB_SETITEMHEIGHT, 0, item_height_);
  if (style_ == csDropDown) {
    COMBOBOXINFO info{};
    info.cbSize = sizeof(info);
    if (GetComboBoxInfo(handle_, &info) && info.hwndItem != nullptr && info.hwndItem != handle_) {
      edit_ = info.hwndItem;
    } else {
      edit_ = GetWindow(handle_, GW_CHILD);
    }
    if (edit_ != nullptr) {
      // Keys typed into the edit part are the combo box's keys.
      edit_subclass_.Install(edit_, TWndMethod::Bind<&TCustomComboBox::EditWndProc>(this));
    }
  }
}

void TCustomComboBox::EditWndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      if (DoKeyDown(m)) return;
      break;
    case WM_CHAR:
      if (DoKeyPress(m)) return;
      break;
    case WM_SETFOCUS:
      if (TForm* form = GetParentForm()) form->FocusChanged(this);
      break;
    case WM_NCDESTROY:
      edit_ = nullptr;
      break;
    default:
      break;
  }
  edit_subclass_.CallPrevious(m);
}

bool TCustomComboBox::WantSpecialKey(WORD key) {
  // An open list takes Enter and Escape itself.
  return (key == VK_RETURN || key == VK_ESCAPE) && DroppedDown();
}

void TCustomComboBox::WndProc(TMessage& m) {
  if (m.Msg == CN_COMMAND) {
    WORD code = HIWORD(m.WParam);
    if (code == CBN_SELCHANGE || code == CBN_EDITCHANGE) {
      if (OnChange) OnChange(this);
    }
    return;
  }
  TWinControl::WndProc(m);
}

const TClassInfo& TEdit::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TEdit>("TEdit", TCustomEdit::StaticClassInfo()).Build();
  return info;
}

const TClassInfo& TComboBox::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TComboBox>("TComboBox", TCustomComboBox::StaticClassInfo()).Build();
  return info;
}

// --- TCustomMemo -----------------------------------------------------------------

TCustomMemo::TCustomMemo(TComponent* owner) : TCustomEdit(owner) {
  width_ = 185;
  height_ = 89;
}

const TClassInfo& TCustomMemo::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TCustomMemo>("TCustomMemo", TCustomEdit::StaticClassInfo())
          .Obj("Lines", &TCustomMemo::Lines)
          .Enum("ScrollBars", {"ssNone", "ssHorizontal", "ssVertical", "ssBoth"},
                &TCustomMemo::ScrollBars, &TCustomMemo::SetScrollBars)
          .Bool("WordWrap", &TCustomMemo::WordWrap, &TCustomMemo::SetWordWrap)
          .Build();
  return info;
}

const TClassInfo& TMemo::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TMemo>("TMemo", TCustomMemo::StaticClassInfo()).Build();
  return info;
}

void TCustomMemo::SetScrollBars(TScrollStyle v) {
  if (v == scroll_bars_) return;
  scroll_bars_ = v;
  RecreateWnd();
}

void TCustomMemo::SetWordWrap(bool v) {
  if (v == word_wrap_) return;
  word_wrap_ = v;
  RecreateWnd();
}

void TCustomMemo::CreateParams(TCreateParams& p) {
  TCustomEdit::CreateParams(p);
  p.Style |= ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL;
  // Wrapped lines never scroll sideways.
  if (word_wrap_) p.Style &= ~static_cast<DWORD>(ES_AUTOHSCROLL);
  if (scroll_bars_ == ssHorizontal || scroll_bars_ == ssBoth) p.Style |= WS_HSCROLL;
  if (scroll_bars_ == ssVertical || scroll_bars_ == ssBoth) p.Style |= WS_VSCROLL;
}

bool TCustomMemo::WantSpecialKey(WORD key) {
  // Enter and the arrows belong to the text.
  return key == VK_RETURN || key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN;
}

std::vector<std::wstring> TCustomMemo::TMemoLines::Split() const {
  std::vector<std::wstring> lines;
  std::wstring text = memo_.Text();
  if (text.empty()) return lines;
  size_t start = 0;
  while (true) {
    size_t end = text.find(L"\r\n", start);
    if (end == std::wstring::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

void TCustomMemo::TMemoLines::Join(const std::vector<std::wstring>& lines) {
  std::wstring text;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text += L"\r\n";
    text += lines[i];
  }
  memo_.SetText(text);
}

int TCustomMemo::TMemoLines::Count() const {
  return static_cast<int>(Split().size());
}

std::wstring TCustomMemo::TMemoLines::Strings(int index) const {
  return Split().at(static_cast<size_t>(index));
}

int TCustomMemo::TMemoLines::Add(const std::wstring& s) {
  std::vector<std::wstring> lines = Split();
  lines.push_back(s);
  Join(lines);
  return static_cast<int>(lines.size()) - 1;
}

void TCustomMemo::TMemoLines::Delete(int index) {
  std::vector<std::wstring> lines = Split();
  if (index < 0 || index >= static_cast<int>(lines.size())) {
    throw Exception("List index out of bounds");
  }
  lines.erase(lines.begin() + index);
  Join(lines);
}

void TCustomMemo::TMemoLines::Clear() {
  memo_.SetText(L"");
}

// --- TCustomListBox --------------------------------------------------------------

int TListBoxStrings::Add(const std::wstring& s) {
  items_.push_back(s);
  if (list_.HandleAllocated()) {
    SendMessageW(list_.handle_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s.c_str()));
  }
  return static_cast<int>(items_.size()) - 1;
}

void TListBoxStrings::Delete(int index) {
  if (index < 0 || index >= Count()) throw Exception("List index out of bounds");
  items_.erase(items_.begin() + index);
  if (list_.HandleAllocated()) {
    SendMessageW(list_.handle_, LB_DELETESTRING, static_cast<WPARAM>(index), 0);
  }
}

void TListBoxStrings::Clear() {
  items_.clear();
  list_.item_index_ = -1;
  if (list_.HandleAllocated()) SendMessageW(list_.handle_, LB_RESETCONTENT, 0, 0);
}

void TListBoxStrings::Fill() {
  for (const auto& s : items_)
    SendMessageW(list_.handle_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s.c_str()));
}

TCustomListBox::TCustomListBox(TComponent* owner) : TWinControl(owner) {
  color_ = clWindow;
  width_ = 121;
  height_ = 97;
  SetTabStop(true);
}

const TClassInfo& TCustomListBox::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TCustomListBox>("TCustomListBox", TWinControl::StaticClassInfo())
          .Obj("Items", &TCustomListBox::Items)
          .Int("ItemIndex", &TCustomListBox::ItemIndex, &TCustomListBox::SetItemIndex)
          .Int("ItemHeight", &TCustomListBox::ItemHeight, &TCustomListBox::SetItemHeight)
          .Build();
  return info;
}

const TClassInfo& TListBox::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TListBox>("TListBox", TCustomListBox::StaticClassInfo()).Build();
  return info;
}

int32_t TCustomListBox::ItemIndex() const {
  if (handle_ != nullptr) return static_cast<int32_t>(SendMessageW(handle_, LB_GETCURSEL, 0, 0));
  return item_index_;
}

void TCustomListBox::SetItemIndex(int32_t index) {
  if (index < -1 || index >= items_.Count()) index = -1;
  item_index_ = index;
  if (handle_ != nullptr) SendMessageW(handle_, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void TCustomListBox::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.ClassName = L"LISTBOX";
  p.SystemClass = true;
  p.Style &= ~WS_CLIPCHILDREN;
  p.Style |= LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | LBS_HASSTRINGS;
  p.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomListBox::HandleCreated() {
  items_.Fill();
  if (item_index_ >= 0) SendMessageW(handle_, LB_SETCURSEL, static_cast<WPARAM>(item_index_), 0);
}

void TCustomListBox::WndProc(TMessage& m) {
  if (m.Msg == CN_COMMAND) {
    if (HIWORD(m.WParam) == LBN_SELCHANGE) {
      item_index_ = ItemIndex();
      Click();
    }
    return;
  }
  if (m.Msg == WM_DESTROY && !IsDestroying()) item_index_ = ItemIndex();
  TWinControl::WndProc(m);
}

// --- TScrollBar ------------------------------------------------------------------

TScrollBar::TScrollBar(TComponent* owner) : TWinControl(owner) {
  width_ = 121;
  height_ = GetSystemMetrics(SM_CYHSCROLL);
  SetTabStop(true);
}

const TClassInfo& TScrollBar::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TScrollBar>("TScrollBar", TWinControl::StaticClassInfo())
          .Enum("Kind", {"sbHorizontal", "sbVertical"}, &TScrollBar::Kind, &TScrollBar::SetKind)
          .Int("Min", &TScrollBar::Min, &TScrollBar::SetMin)
          .Int("Max", &TScrollBar::Max, &TScrollBar::SetMax)
          .Int("Position", &TScrollBar::Position, &TScrollBar::SetPosition)
          .Int("PageSize", &TScrollBar::PageSize, &TScrollBar::SetPageSize)
          .Int("SmallChange", &TScrollBar::SmallChange, &TScrollBar::SetSmallChange)
          .Int("LargeChange", &TScrollBar::LargeChange, &TScrollBar::SetLargeChange)
          .Event<void(TObject*)>("OnChange", &TScrollBar::OnChange)
          .Build();
  return info;
}

void TScrollBar::SetKind(TScrollBarKind v) {
  if (v == kind_) return;
  kind_ = v;
  if (!IsLoading()) SetBounds(left_, top_, height_, width_);  // turned a quarter
  RecreateWnd();
}

void TScrollBar::SetPageSize(int32_t v) {
  page_size_ = std::max(v, 0);
  UpdateInfo();
}

void TScrollBar::SetParams(int32_t position, int32_t min, int32_t max) {
  if (max < min) max = min;
  position = std::clamp(position, min, max);
  bool moved = position != position_;
  min_ = min;
  max_ = max;
  position_ = position;
  UpdateInfo();
  if (moved && !IsLoading() && OnChange) OnChange(this);
}

void TScrollBar::UpdateInfo() {
  if (!HandleAllocated()) return;
  SCROLLINFO si{};
  si.cbSize = sizeof(si);
  si.fMask = SIF_ALL;
  si.nMin = min_;
  si.nMax = max_;
  si.nPage = static_cast<UINT>(page_size_);
  si.nPos = position_;
  SetScrollInfo(handle_, SB_CTL, &si, TRUE);
}

void TScrollBar::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.ClassName = L"SCROLLBAR";
  p.SystemClass = true;
  p.Style &= ~WS_CLIPCHILDREN;
  p.Style |= kind_ == sbVertical ? SBS_VERT : SBS_HORZ;
}

void TScrollBar::HandleCreated() {
  UpdateInfo();
}

void TScrollBar::WndProc(TMessage& m) {
  if (m.Msg == CN_HSCROLL || m.Msg == CN_VSCROLL) {
    int32_t pos = position_;
    switch (LOWORD(m.WParam)) {
      case SB_LINELEFT:
        pos -= small_change_;
        break;
      case SB_LINERIGHT:
        pos += small_change_;
        break;
      case SB_PAGELEFT:
        pos -= large_change_;
        break;
      case SB_PAGERIGHT:
        pos += large_change_;
        break;
      case SB_THUMBTRACK:
      case SB_THUMBPOSITION: {
        SCROLLINFO si{};
        si.cbSize = sizeof(si);
        si.fMask = SIF_TRACKPOS;
        GetScrollInfo(handle_, SB_CTL, &si);
        pos = si.nTrackPos;
        break;
      }
      case SB_LEFT:
        pos = min_;
        break;
      case SB_RIGHT:
        pos = max_;
        break;
      default:
        break;
    }
    SetPosition(pos);
    m.Result = 0;
    return;
  }
  TWinControl::WndProc(m);
}

}  // namespace fw
