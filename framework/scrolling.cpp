#include "framework/scrolling.h"

#include <algorithm>

namespace fw {

// --- TControlScrollBar -----------------------------------------------------------

const TClassInfo& TControlScrollBar::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TControlScrollBar>("TControlScrollBar", TPersistent::StaticClassInfo())
          .Int("Range", &TControlScrollBar::Range, &TControlScrollBar::SetRange)
          .Int("Position", &TControlScrollBar::Position, &TControlScrollBar::SetPosition)
          .Int("Increment", &TControlScrollBar::Increment, &TControlScrollBar::SetIncrement)
          .Build();
  return info;
}

void TControlScrollBar::SetRange(int32_t v) {
  range_ = std::max(v, 0);
  owner_.UpdateScrollBars();
}

void TControlScrollBar::SetPosition(int32_t v) {
  RECT client = owner_.ClientRect();
  const int32_t page = bar_ == SB_HORZ ? client.right : client.bottom;
  v = std::clamp(v, 0, std::max(range_ - page, 0));
  if (v == position_) return;
  const int32_t delta = position_ - v;
  position_ = v;
  if (bar_ == SB_HORZ) {
    owner_.ScrollBy(delta, 0);
  } else {
    owner_.ScrollBy(0, delta);
  }
  owner_.UpdateScrollBars();
}

// --- TScrollingWinControl --------------------------------------------------------

TScrollingWinControl::TScrollingWinControl(TComponent* owner) : TWinControl(owner) {}

const TClassInfo& TScrollingWinControl::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TScrollingWinControl>("TScrollingWinControl", TWinControl::StaticClassInfo())
          .Bool("AutoScroll", &TScrollingWinControl::AutoScroll,
                &TScrollingWinControl::SetAutoScroll)
          .Obj("HorzScrollBar", &TScrollingWinControl::HorzScrollBar)
          .Obj("VertScrollBar", &TScrollingWinControl::VertScrollBar)
          .Build();
  return info;
}

void TScrollingWinControl::SetAutoScroll(bool v) {
  if (v == auto_scroll_) return;
  auto_scroll_ = v;
  if (!v) {
    // Back to the unscrolled place, bars gone.
    horz_.SetPosition(0);
    vert_.SetPosition(0);
    horz_.range_ = 0;
    vert_.range_ = 0;
  }
  UpdateScrollBars();
}

void TScrollingWinControl::HandleCreated() {
  TWinControl::HandleCreated();
  UpdateScrollBars();
}

void TScrollingWinControl::ControlBoundsChanged(TControl* /*control*/) {
  UpdateScrollBars();
}

void TScrollingWinControl::AlignControls() {
  TWinControl::AlignControls();
  UpdateScrollBars();
}

void TScrollingWinControl::ScrollBy(int dx, int dy) {
  // The children move one by one: the ranges are counted again afterwards.
  const bool was_updating = updating_;
  updating_ = true;
  struct TLeave {
    bool& flag;
    bool was;
    ~TLeave() { flag = was; }
  } leave{updating_, was_updating};
  for (int i = 0; i < ControlCount(); ++i) {
    TControl* c = Controls(i);
    if (c->Align() != alNone) continue;
    c->SetBounds(c->Left() + dx, c->Top() + dy, c->Width(), c->Height());
  }
  Invalidate();
}

void TScrollingWinControl::UpdateScrollBars() {
  if (updating_ || handle_ == nullptr) return;
  updating_ = true;
  struct TLeave {
    bool& flag;
    ~TLeave() { flag = false; }
  } leave{updating_};
  if (auto_scroll_) {
    // The contents reach as far as the farthest unaligned child, counted from
    // the unscrolled origin.
    int32_t right = 0;
    int32_t bottom = 0;
    for (int i = 0; i < ControlCount(); ++i) {
      TControl* c = Controls(i);
      if (!c->Visible() || c->Align() != alNone) continue;
      right = std::max(right, c->Left() + c->Width() + horz_.position_);
      bottom = std::max(bottom, c->Top() + c->Height() + vert_.position_);
    }
    horz_.range_ = right;
    vert_.range_ = bottom;
  }
  RECT client;
  GetClientRect(handle_, &client);
  for (TControlScrollBar* bar : {&horz_, &vert_}) {
    const int32_t page = bar == &horz_ ? client.right : client.bottom;
    const bool show = bar->range_ > page;
    SCROLLINFO si{};
    si.cbSize = sizeof(si);
    si.fMask = SIF_ALL | SIF_DISABLENOSCROLL;
    si.nMin = 0;
    si.nMax = show ? bar->range_ - 1 : 0;
    si.nPage = show ? static_cast<UINT>(page) : 0;
    si.nPos = bar->position_;
    if (show != bar->shown_) ShowScrollBar(handle_, bar->bar_, show ? TRUE : FALSE);
    bar->shown_ = show;
    if (show) SetScrollInfo(handle_, bar->bar_, &si, TRUE);
  }
}

void TScrollingWinControl::ScrollMessage(TControlScrollBar& bar, WPARAM code) {
  RECT client = ClientRect();
  const int32_t page = &bar == &horz_ ? client.right : client.bottom;
  int32_t pos = bar.position_;
  switch (LOWORD(code)) {
    case SB_LINEUP:
      pos -= bar.increment_;
      break;
    case SB_LINEDOWN:
      pos += bar.increment_;
      break;
    case SB_PAGEUP:
      pos -= page;
      break;
    case SB_PAGEDOWN:
      pos += page;
      break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
      SCROLLINFO si{};
      si.cbSize = sizeof(si);
      si.fMask = SIF_TRACKPOS;
      GetScrollInfo(handle_, bar.bar_, &si);
      pos = si.nTrackPos;
      break;
    }
    case SB_TOP:
      pos = 0;
      break;
    case SB_BOTTOM:
      pos = bar.range_;
      break;
    default:
      return;
  }
  bar.SetPosition(pos);
}

void TScrollingWinControl::ScrollInView(TControl* control) {
  if (control == nullptr) return;
  RECT client = ClientRect();
  if (control->Left() < 0) {
    horz_.SetPosition(horz_.position_ + control->Left());
  } else if (control->Left() + control->Width() > client.right) {
    horz_.SetPosition(horz_.position_ + control->Left() + control->Width() - client.right);
  }
  if (control->Top() < 0) {
    vert_.SetPosition(vert_.position_ + control->Top());
  } else if (control->Top() + control->Height() > client.bottom) {
    vert_.SetPosition(vert_.position_ + control->Top() + control->Height() - client.bottom);
  }
}

void TScrollingWinControl::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_HSCROLL:
    case WM_VSCROLL:
      if (m.LParam == 0) {  // the window's own bars, not a scroll-bar control
        ScrollMessage(m.Msg == WM_HSCROLL ? horz_ : vert_, m.WParam);
        m.Result = 0;
        return;
      }
      break;
    case WM_SIZE:
      TWinControl::WndProc(m);
      UpdateScrollBars();
      return;
    default:
      break;
  }
  TWinControl::WndProc(m);
}

// --- TScrollBox ------------------------------------------------------------------

TScrollBox::TScrollBox(TComponent* owner) : TScrollingWinControl(owner) {
  width_ = 185;
  height_ = 41;
}

const TClassInfo& TScrollBox::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TScrollBox>("TScrollBox", TScrollingWinControl::StaticClassInfo())
          .Enum("BorderStyle", {"bsNone", "bsSingle"}, &TScrollBox::BorderSingle,
                &TScrollBox::SetBorderSingle)
          .Build();
  return info;
}

void TScrollBox::SetBorderSingle(bool v) {
  if (v == border_single_) return;
  border_single_ = v;
  RecreateWnd();
}

void TScrollBox::CreateParams(TCreateParams& p) {
  TScrollingWinControl::CreateParams(p);
  p.ClassName = L"FwScrollBox";
  if (border_single_) p.ExStyle |= WS_EX_CLIENTEDGE;
}

}  // namespace fw
