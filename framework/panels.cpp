#include "framework/panels.h"

#include <algorithm>

#include "framework/dc.h"
#include "framework/std_buttons.h"

namespace fw {

// --- TCustomPanel --------------------------------------------------------------------

TCustomPanel::TCustomPanel(TComponent* owner) : TCustomControl(owner) {}

const TClassInfo& TCustomPanel::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TCustomPanel>("TCustomPanel", TCustomControl::StaticClassInfo())
          .Enum("BevelOuter", {"bvNone", "bvLowered", "bvRaised", "bvSpace"},
                &TCustomPanel::BevelOuter, &TCustomPanel::SetBevelOuter)
          .Enum("BevelInner", {"bvNone", "bvLowered", "bvRaised", "bvSpace"},
                &TCustomPanel::BevelInner, &TCustomPanel::SetBevelInner)
          .Int("BevelWidth", &TCustomPanel::BevelWidth, &TCustomPanel::SetBevelWidth)
          .Enum("Alignment", {"taLeftJustify", "taRightJustify", "taCenter"},
                &TCustomPanel::Alignment, &TCustomPanel::SetAlignment)
          .Build();
  return info;
}

void TCustomPanel::SetBevelOuter(TBevelCut v) {
  bevel_outer_ = v;
  Invalidate();
}
void TCustomPanel::SetBevelInner(TBevelCut v) {
  bevel_inner_ = v;
  Invalidate();
}
void TCustomPanel::SetBevelWidth(int32_t v) {
  bevel_width_ = v;
  Invalidate();
}
void TCustomPanel::SetAlignment(TAlignment v) {
  alignment_ = v;
  Invalidate();
}

void TCustomPanel::CreateParams(TCreateParams& p) {
  TCustomControl::CreateParams(p);
  p.ClassName = L"FwPanel";
  p.ClassStyle = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
}

void TCustomPanel::WndProc(TMessage& m) {
  if (m.Msg == CM_TEXTCHANGED) Invalidate();
  TCustomControl::WndProc(m);
}

void TCustomPanel::Paint() {
  HDC dc = canvas_.Handle();
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
    const UINT align = BiDiDrawTextFlags(alignment_, bidi_mode_);
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &r,
              align | DT_VCENTER | DT_SINGLELINE | DT_EXPANDTABS);
  }
}

const TClassInfo& TPanel::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TPanel>("TPanel", TCustomPanel::StaticClassInfo()).Build();
  return info;
}

// --- TCustomGroupBox -------------------------------------------------------------

TCustomGroupBox::TCustomGroupBox(TComponent* owner) : TCustomControl(owner) {
  width_ = 185;
  height_ = 105;
}

const TClassInfo& TCustomGroupBox::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TCustomGroupBox>("TCustomGroupBox", TCustomControl::StaticClassInfo()).Build();
  return info;
}

const TClassInfo& TGroupBox::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TGroupBox>("TGroupBox", TCustomGroupBox::StaticClassInfo()).Build();
  return info;
}

void TCustomGroupBox::CreateParams(TCreateParams& p) {
  TCustomControl::CreateParams(p);
  p.ClassName = L"FwGroupBox";
  p.ClassStyle = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
}

int TCustomGroupBox::CaptionHeight() {
  TClientDC dc(nullptr);
  TSelectObject font(dc.Get(), font_.Handle());
  TEXTMETRICW tm{};
  GetTextMetricsW(dc.Get(), &tm);
  return tm.tmHeight;
}

RECT TCustomGroupBox::AlignRect() {
  RECT r = ClientRect();
  r.top += CaptionHeight();
  InflateRect(&r, -1, -1);
  return r;
}

void TCustomGroupBox::Paint() {
  HDC dc = canvas_.Handle();
  RECT r = ClientRect();
  const int h = CaptionHeight();
  RECT frame{r.left, r.top + h / 2, r.right, r.bottom};
  DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
  if (text_.empty()) return;
  TSelectObject font(dc, font_.Handle());
  RECT tr{8, 0, 8, h};
  DrawTextW(dc, text_.c_str(), static_cast<int>(text_.size()), &tr, DT_CALCRECT | DT_SINGLELINE);
  // The caption interrupts the top edge.
  RECT back{tr.left - 2, 0, tr.right + 2, h};
  TGdiHandle<HBRUSH> brush(CreateSolidBrush(ColorToRGB(color_)));
  FillRect(dc, &back, brush.get());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ColorToRGB(enabled_ ? font_.Color() : clGrayText));
  DrawTextW(dc, text_.c_str(), static_cast<int>(text_.size()), &tr, DT_SINGLELINE);
}

void TCustomGroupBox::WndProc(TMessage& m) {
  if (m.Msg == CM_TEXTCHANGED || m.Msg == CM_FONTCHANGED) {
    Invalidate();
    Realign();
  }
  TCustomControl::WndProc(m);
}

// --- TCustomRadioGroup -----------------------------------------------------------

TCustomRadioGroup::TCustomRadioGroup(TComponent* owner) : TCustomGroupBox(owner) {
  items_.OnChange = [this] { UpdateButtons(); };
}

const TClassInfo& TCustomRadioGroup::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TCustomRadioGroup>("TCustomRadioGroup", TCustomGroupBox::StaticClassInfo())
          .Obj("Items", &TCustomRadioGroup::Items)
          .Int("ItemIndex", &TCustomRadioGroup::ItemIndex, &TCustomRadioGroup::SetItemIndex)
          .Int("Columns", &TCustomRadioGroup::Columns, &TCustomRadioGroup::SetColumns)
          .Build();
  return info;
}

const TClassInfo& TRadioGroup::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TRadioGroup>("TRadioGroup", TCustomRadioGroup::StaticClassInfo()).Build();
  return info;
}

void TCustomRadioGroup::Loaded() {
  TCustomGroupBox::Loaded();
  UpdateButtons();
}

void TCustomRadioGroup::SetItemIndex(int32_t index) {
  if (index < -1 || index >= items_.Count()) index = -1;
  item_index_ = index;
  if (IsLoading()) return;
  updating_ = true;
  for (size_t i = 0; i < buttons_.size(); ++i)
    buttons_[i]->SetChecked(static_cast<int32_t>(i) == index);
  updating_ = false;
}

void TCustomRadioGroup::SetColumns(int32_t v) {
  columns_ = std::clamp(v, 1, 16);
  ArrangeButtons();
}

void TCustomRadioGroup::UpdateButtons() {
  if (IsLoading() || IsDestroying()) return;
  // One button per item, created or freed to match; the group owns them.
  while (static_cast<int>(buttons_.size()) > items_.Count()) {
    TRadioButton* b = buttons_.back();
    buttons_.pop_back();
    b->Free();
  }
  while (static_cast<int>(buttons_.size()) < items_.Count()) {
    auto* b = new TRadioButton(this);
    b->SetParent(this);
    b->OnClick = [this](TObject* sender) { ButtonClicked(sender); };
    buttons_.push_back(b);
  }
  for (size_t i = 0; i < buttons_.size(); ++i)
    buttons_[i]->SetCaption(items_.Strings(static_cast<int>(i)));
  if (item_index_ >= items_.Count()) item_index_ = -1;
  SetItemIndex(item_index_);
  ArrangeButtons();
}

void TCustomRadioGroup::ArrangeButtons() {
  if (buttons_.empty()) return;
  RECT area = AlignRect();
  const int rows = (static_cast<int>(buttons_.size()) + columns_ - 1) / columns_;
  const int col_width = std::max<int>((area.right - area.left - 8) / columns_, 0);
  const int row_height = std::max<int>((area.bottom - area.top - 4) / std::max(rows, 1), 0);
  for (size_t i = 0; i < buttons_.size(); ++i) {
    const int col = static_cast<int>(i) / rows;
    const int row = static_cast<int>(i) % rows;
    buttons_[i]->SetBounds(area.left + 8 + col * col_width, area.top + row * row_height,
                           std::max(col_width - 4, 0), std::min(row_height, 20));
  }
}

void TCustomRadioGroup::BoundsChanged() {
  TCustomGroupBox::BoundsChanged();
  ArrangeButtons();
}

void TCustomRadioGroup::ButtonClicked(TObject* sender) {
  if (updating_) return;
  auto it = std::find(buttons_.begin(), buttons_.end(), sender);
  if (it == buttons_.end()) return;
  auto index = static_cast<int32_t>(it - buttons_.begin());
  if (static_cast<TRadioButton*>(sender)->Checked() && index != item_index_) {
    item_index_ = index;
    Click();
  }
}

void TCustomRadioGroup::Notification(TComponent* component, TOperation operation) {
  TCustomGroupBox::Notification(component, operation);
  if (operation == TOperation::opRemove) {
    buttons_.erase(std::remove(buttons_.begin(), buttons_.end(), component), buttons_.end());
  }
}

}  // namespace fw
