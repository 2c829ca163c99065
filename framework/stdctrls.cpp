#include "framework/stdctrls.h"

#include "framework/forms.h"

namespace fw {

// --- TPanel --------------------------------------------------------------------

TPanel::TPanel(TComponent* owner) : TWinControl(owner) {}

const TClassInfo& TPanel::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TPanel>("TPanel", TWinControl::StaticClassInfo())
          .Enum("BevelOuter", {"bvNone", "bvLowered", "bvRaised", "bvSpace"}, &TPanel::BevelOuter,
                &TPanel::SetBevelOuter)
          .Enum("BevelInner", {"bvNone", "bvLowered", "bvRaised", "bvSpace"}, &TPanel::BevelInner,
                &TPanel::SetBevelInner)
          .Int("BevelWidth", &TPanel::BevelWidth, &TPanel::SetBevelWidth)
          .Enum("Alignment", {"taLeftJustify", "taRightJustify", "taCenter"}, &TPanel::Alignment,
                &TPanel::SetAlignment)
          .Build();
  return info;
}

void TPanel::SetBevelOuter(TBevelCut v) {
  bevel_outer_ = v;
  Invalidate();
}
void TPanel::SetBevelInner(TBevelCut v) {
  bevel_inner_ = v;
  Invalidate();
}
void TPanel::SetBevelWidth(int32_t v) {
  bevel_width_ = v;
  Invalidate();
}
void TPanel::SetAlignment(TAlignment v) {
  alignment_ = v;
  Invalidate();
}

void TPanel::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.ClassName = L"FwPanel";
  p.ClassStyle = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
}

void TPanel::WndProc(TMessage& m) {
  if (m.Msg == CM_TEXTCHANGED) Invalidate();
  TWinControl::WndProc(m);
}

void TPanel::PaintWindow(HDC dc) {
  RECT r = ClientRect();
  auto bevel = [&](TBevelCut cut) {
    if (cut == bvNone) return;
    COLORREF top_left = ColorToRGB(cut == bvLowered ? clBtnShadow : clBtnHighlight);
    COLORREF bottom_right = ColorToRGB(cut == bvLowered ? clBtnHighlight : clBtnShadow);
    for (int i = 0; i < bevel_width_; ++i) {
      if (cut != bvSpace) {
        TGdiHandle<HPEN> tl(CreatePen(PS_SOLID, 1, top_left));
        TGdiHandle<HPEN> br(CreatePen(PS_SOLID, 1, bottom_right));
        {
          TSelectObject sel(dc, tl.get());
          MoveToEx(dc, r.left, r.bottom - 1, nullptr);
          LineTo(dc, r.left, r.top);
          LineTo(dc, r.right - 1, r.top);
        }
        TSelectObject sel(dc, br.get());
        MoveToEx(dc, r.right - 1, r.top, nullptr);
        LineTo(dc, r.right - 1, r.bottom - 1);
        LineTo(dc, r.left - 1, r.bottom - 1);
      }
      InflateRect(&r, -1, -1);
    }
  };
  bevel(bevel_outer_);
  bevel(bevel_inner_);
  std::wstring caption = text_;
  if (!caption.empty()) {
    TSelectObject font(dc, font_.Handle());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColorToRGB(font_.Color()));
    UINT align = alignment_ == taCenter         ? DT_CENTER
                 : alignment_ == taRightJustify ? DT_RIGHT
                                                : DT_LEFT;
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &r,
              align | DT_VCENTER | DT_SINGLELINE | DT_EXPANDTABS);
  }
}

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
  if (alignment_ == taCenter) flags |= DT_CENTER;
  if (alignment_ == taRightJustify) flags |= DT_RIGHT;
  return flags;
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
  if (alignment_ == taRightJustify) x += width_ - r.right;
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

// --- TEdit ---------------------------------------------------------------------

TEdit::TEdit(TComponent* owner) : TWinControl(owner) {
  color_ = clWindow;
  SetTabStop(true);
}

const TClassInfo& TEdit::StaticClassInfo() {
  static const TClassInfo info = TClassBuilder<TEdit>("TEdit", TWinControl::StaticClassInfo())
                                     .Int("MaxLength", &TEdit::MaxLength, &TEdit::SetMaxLength)
                                     .Bool("ReadOnly", &TEdit::ReadOnly, &TEdit::SetReadOnly)
                                     .Event<void(TObject*)>("OnChange", &TEdit::OnChange)
                                     .Build();
  return info;
}

void TEdit::SetMaxLength(int32_t v) {
  max_length_ = v;
  if (HandleAllocated()) SendMessageW(handle_, EM_LIMITTEXT, static_cast<WPARAM>(v), 0);
}

void TEdit::SetReadOnly(bool v) {
  read_only_ = v;
  if (HandleAllocated()) SendMessageW(handle_, EM_SETREADONLY, v ? TRUE : FALSE, 0);
}

void TEdit::CreateParams(TCreateParams& p) {
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

void TEdit::HandleCreated() {
  if (max_length_ > 0) SendMessageW(handle_, EM_LIMITTEXT, static_cast<WPARAM>(max_length_), 0);
}

void TEdit::WndProc(TMessage& m) {
  if (m.Msg == CN_COMMAND && HIWORD(m.WParam) == EN_CHANGE) {
    if (OnChange) OnChange(this);
    return;
  }
  TWinControl::WndProc(m);
}

// --- TComboBox -----------------------------------------------------------------

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

TComboBox::TComboBox(TComponent* owner) : TWinControl(owner) {
  color_ = clWindow;
  SetTabStop(true);
}

TComboBox::~TComboBox() {
  // Owned components (a skinner of the edit part, say) go first; then the
  // edit part's subclass leaves (a pass-through if a later one lies above).
  DestroyComponents();
  edit_subclass_.Remove();
}

const TClassInfo& TComboBox::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TComboBox>("TComboBox", TWinControl::StaticClassInfo())
          .Obj("Items", &TComboBox::Items)
          .Int("ItemIndex", &TComboBox::ItemIndex, &TComboBox::SetItemIndex)
          .Enum("Style", {"csDropDown", "csSimple", "csDropDownList"}, &TComboBox::Style,
                &TComboBox::SetStyle)
          .Int("ItemHeight", &TComboBox::ItemHeight, &TComboBox::SetItemHeight)
          .Int("DropDownCount", &TComboBox::DropDownCount, &TComboBox::SetDropDownCount)
          .Enum("BevelKind", {"bkNone", "bkTile", "bkSoft", "bkFlat"}, &TComboBox::BevelKind,
                &TComboBox::SetBevelKind)
          .Event<void(TObject*)>("OnChange", &TComboBox::OnChange)
          .Build();
  return info;
}

int32_t TComboBox::ItemIndex() const {
  if (handle_ != nullptr) return static_cast<int32_t>(SendMessageW(handle_, CB_GETCURSEL, 0, 0));
  return item_index_;
}

void TComboBox::SetItemIndex(int32_t index) {
  if (index < -1 || index >= items_.Count()) index = -1;
  item_index_ = index;
  if (handle_ != nullptr) SendMessageW(handle_, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

bool TComboBox::DroppedDown() const {
  return handle_ != nullptr && SendMessageW(handle_, CB_GETDROPPEDSTATE, 0, 0) != 0;
}

void TComboBox::CreateParams(TCreateParams& p) {
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

void TComboBox::HandleCreated() {
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
      edit_subclass_.Install(edit_, TWndMethod::Bind<&TComboBox::EditWndProc>(this));
    }
  }
}

void TComboBox::EditWndProc(TMessage& m) {
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

bool TComboBox::WantSpecialKey(WORD key) {
  // An open list takes Enter and Escape itself.
  return (key == VK_RETURN || key == VK_ESCAPE) && DroppedDown();
}

void TComboBox::WndProc(TMessage& m) {
  if (m.Msg == CN_COMMAND) {
    WORD code = HIWORD(m.WParam);
    if (code == CBN_SELCHANGE || code == CBN_EDITCHANGE) {
      if (OnChange) OnChange(this);
    }
    return;
  }
  TWinControl::WndProc(m);
}

}  // namespace fw
