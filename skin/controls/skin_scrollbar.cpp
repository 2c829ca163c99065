#include "skin/controls/skin_scrollbar.h"

#include <memory>

#include "skin/controls/scroll_overlay.h"
#include "skin/controls/scroll_rules.h"
#include "skin/controls/skin_header.h"

namespace skin::win {

namespace {

constexpr int kKindHorizontal = 0;
constexpr int kKindVertical = 1;
constexpr int kKindControl = 2;

// Messages after which a window's bars cannot have moved or changed: asked
// often (mouse moves, hit tests), so the overlays are not checked after
// them.
bool LeavesBarsAlone(UINT msg) {
  switch (msg) {
    case WM_NCHITTEST:
    case WM_SETCURSOR:
    case WM_MOUSEMOVE:
    case WM_NCMOUSEMOVE:
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH:
    case WM_GETDLGCODE:
    case WM_GETFONT:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSTATIC:
    case WM_DESTROY:
    case WM_NCDESTROY:
      return true;
    default:
      return false;
  }
}

RECT ScreenRectOf(const TWScrollbar& bar) {
  RECT r = bar.BarRect;
  MapWindowPoints(bar.Target, nullptr, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

void InvalidateBar(TWScrollbar* bar) {
  if (bar != nullptr && bar->BarVisible && bar->HandleAllocated()) bar->Invalidate();
}

}  // namespace

// --- TSkinScrollbar --------------------------------------------------------------

const fw::TClassInfo& TSkinScrollbar::StaticClassInfo() {
  static const fw::TClassInfo info =
      fw::TClassBuilder<TSkinScrollbar>("TSkinScrollbar", TSkinControl::StaticClassInfo()).Build();
  return info;
}

TSkinScrollbar::~TSkinScrollbar() {
  FreeBars();
}

void TSkinScrollbar::AttachScroll(fw::TWinControl* control, TSkinData* data, ISkinForm* form,
                                  fw::TCanvas* canvas) {
  if (Attached || control == nullptr) return;
  Bind(*control, data, form, canvas);
  if (SkinForm != nullptr) SkinForm->RegisterSkinner(this);
  RefreshState();
  CreateBars();
  HookWindowProc(*control);
  Attached = true;
  Status = ssnAttached;
}

void TSkinScrollbar::CreateBars() {
  FreeBars();
  HBar = new TWScrollbar(this);
  VBar = new TWScrollbar(this);
  if (Control != nullptr) {
    HBar->AttachControl(Control, kKindHorizontal);
    VBar->AttachControl(Control, kKindVertical);
  } else {
    HBar->AttachHandle(Handle, kKindHorizontal);
    VBar->AttachHandle(Handle, kKindVertical);
  }
}

void TSkinScrollbar::FreeBars() {
  for (TWScrollbar** bar : {&HBar, &VBar}) {
    if (*bar != nullptr) {
      TWScrollbar* b = *bar;
      *bar = nullptr;
      b->Free();
    }
  }
}

void TSkinScrollbar::Notification(fw::TComponent* component, fw::TOperation operation) {
  TSkinControl::Notification(component, operation);
  // The overlays are owned: freed first when the skinner is (the owned
  // components go before the owner's destructor runs).
  if (operation != fw::TOperation::opRemove) return;
  if (component == HBar) HBar = nullptr;
  if (component == VBar) VBar = nullptr;
}

void TSkinScrollbar::Detach() {
  TSkinControl::Detach();
  // Also when the window is gone: the overlays are windows of the parent
  // and would stay over nothing.
  FreeBars();
}

void TSkinScrollbar::SkinChanged() {
  TSkinControl::SkinChanged();
  // A skin without scroll-bar images hides the overlays, one with them
  // shows them again.
  UpdateBars(false);
  InvalidateBar(HBar);
  InvalidateBar(VBar);
}

void TSkinScrollbar::WindowRecreated() {
  if (Control != nullptr) {
    if (HBar != nullptr) HBar->AttachControl(Control, kKindHorizontal);
    if (VBar != nullptr) VBar->AttachControl(Control, kKindVertical);
  }
}

void TSkinScrollbar::UpdateBars(bool repaint_changed) {
  if (updating_) return;
  updating_ = true;
  for (TWScrollbar* bar : {HBar, VBar}) {
    if (bar == nullptr) continue;
    if (repaint_changed) {
      bar->Sync();
    } else {
      bar->Update();
    }
  }
  updating_ = false;
}

bool TSkinScrollbar::BeforeMessage(fw::TMessage& m) {
  switch (m.Msg) {
    case WM_NCLBUTTONDOWN: {
      // A press on a bar that did not come through its overlay (the list of
      // a dropped combo box hands its own clicks on): shown pressed while
      // the system tracks it.
      TWScrollbar* bar = m.WParam == HTVSCROLL ? VBar : m.WParam == HTHSCROLL ? HBar : nullptr;
      if (bar == nullptr || bar->Pressed) return TSkinControl::BeforeMessage(m);
      const std::weak_ptr<char> alive = bar->life_;
      bar->BeginPress();
      CallOldProc(m);
      if (!alive.expired()) bar->EndPress();
      return false;
    }
    default:
      return TSkinControl::BeforeMessage(m);
  }
}

void TSkinScrollbar::AfterMessage(fw::TMessage& m) {
  switch (m.Msg) {
    case WM_SIZE:
    case WM_NCPAINT:
      if (Control != nullptr && Control->HandleAllocated()) Handle = Control->Handle();
      UpdateBars(false);
      Repaint();
      return;
    case WM_HSCROLL:
    case WM_VSCROLL: {
      // The window's own bar says which part the system is acting on (a
      // scroll-bar control child reports with its handle in lParam).
      TWScrollbar* bar = m.Msg == WM_VSCROLL ? VBar : HBar;
      if (m.LParam == 0 && bar != nullptr) {
        bar->HitPart = LOWORD(m.WParam);
        bar->RepaintNow();
      }
      return;
    }
    default:
      TSkinControl::AfterMessage(m);
      // Scrolling by keys, the wheel or the program, a moved or hidden
      // window, a bar shown or taken away: the overlays follow.
      if (!LeavesBarsAlone(m.Msg) && Status == ssnAttached) UpdateBars(true);
      return;
  }
}

void TSkinScrollbar::PaintTo(HDC dc, const RECT& /*rect*/) {
  InvalidateBar(HBar);
  InvalidateBar(VBar);
  if (HBar == nullptr || VBar == nullptr || !HBar->BarVisible || !VBar->BarVisible) return;
  // The square between the two bars in the background colour.
  const RECT v = ScreenRectOf(*VBar);
  const RECT h = ScreenRectOf(*HBar);
  const skin::TRect corner =
      skin::ScrollCorner({v.left, v.top, v.right, v.bottom}, {h.left, h.top, h.right, h.bottom});
  RECT r{corner.Left, corner.Top, corner.Right, corner.Bottom};
  OffsetRect(&r, -WindowRect.left, -WindowRect.top);
  FillSkinColour(dc, r);
}

// --- TSkinScrollbarH -------------------------------------------------------------

const fw::TClassInfo& TSkinScrollbarH::StaticClassInfo() {
  static const fw::TClassInfo info =
      fw::TClassBuilder<TSkinScrollbarH>("TSkinScrollbarH", TSkinScrollbar::StaticClassInfo())
          .Build();
  return info;
}

void TSkinScrollbarH::AttachHandle(HWND wnd, TSkinData* data, ISkinForm* form,
                                   fw::TCanvas* canvas) {
  TSkinControl::AttachHandle(wnd, data, form, canvas);
  CreateBars();
}

// --- TSkinListView ---------------------------------------------------------------

const fw::TClassInfo& TSkinListView::StaticClassInfo() {
  static const fw::TClassInfo info =
      fw::TClassBuilder<TSkinListView>("TSkinListView", TSkinScrollbar::StaticClassInfo()).Build();
  return info;
}

TSkinListView::~TSkinListView() {
  if (Header != nullptr) Header->RemoveFreeNotification(this);
}

void TSkinListView::AttachScroll(fw::TWinControl* control, TSkinData* data, ISkinForm* form,
                                 fw::TCanvas* canvas) {
  const bool first = !Attached;
  TSkinScrollbar::AttachScroll(control, data, form, canvas);
  if (first && Attached) AttachHeader();
}

void TSkinListView::AttachHeader() {
  auto header = reinterpret_cast<HWND>(SendMessageW(Handle, LVM_GETHEADER, 0, 0));
  if (header == nullptr) return;
  // Owned by the list view, so it goes with it; this skinner is told when
  // it is freed first.
  auto* skinner = new TSkinHeader(Owner());
  skinner->FreeNotification(this);
  Header = skinner;
  skinner->AttachHandle(header, SkinData, SkinForm, Canvas);
}

void TSkinListView::WindowRecreated() {
  TSkinScrollbar::WindowRecreated();
  // The header went with the old window.
  if (Header != nullptr) {
    TSkinHeader* old = Header;
    Header = nullptr;
    old->RemoveFreeNotification(this);
    old->Free();
  }
  AttachHeader();
}

void TSkinListView::Notification(fw::TComponent* component, fw::TOperation operation) {
  TSkinScrollbar::Notification(component, operation);
  if (operation == fw::TOperation::opRemove && component == Header) Header = nullptr;
}

// --- TSkinScControl --------------------------------------------------------------

const fw::TClassInfo& TSkinScControl::StaticClassInfo() {
  static const fw::TClassInfo info =
      fw::TClassBuilder<TSkinScControl>("TSkinScControl", TSkinControl::StaticClassInfo()).Build();
  return info;
}

TSkinScControl::~TSkinScControl() {
  FreeBar();
}

void TSkinScControl::AttachScroll(fw::TWinControl* control, TSkinData* data, ISkinForm* form,
                                  fw::TCanvas* canvas) {
  if (Attached || control == nullptr) return;
  Bind(*control, data, form, canvas);
  if (SkinForm != nullptr) SkinForm->RegisterSkinner(this);
  RefreshState();
  Bar = new TWScrollbar(this);
  Bar->AttachControl(control, kKindControl);
  HookWindowProc(*control);
  Attached = true;
  Status = ssnAttached;
}

void TSkinScControl::FreeBar() {
  if (Bar == nullptr) return;
  TWScrollbar* b = Bar;
  Bar = nullptr;
  b->Free();
}

void TSkinScControl::Notification(fw::TComponent* component, fw::TOperation operation) {
  TSkinControl::Notification(component, operation);
  if (operation == fw::TOperation::opRemove && component == Bar) Bar = nullptr;
}

void TSkinScControl::Detach() {
  TSkinControl::Detach();
  FreeBar();
}

void TSkinScControl::SkinChanged() {
  TSkinControl::SkinChanged();
  if (Bar != nullptr) {
    Bar->Update();
    InvalidateBar(Bar);
  }
}

void TSkinScControl::WindowRecreated() {
  if (Bar != nullptr && Control != nullptr) Bar->AttachControl(Control, kKindControl);
}

void TSkinScControl::AfterMessage(fw::TMessage& m) {
  switch (m.Msg) {
    case WM_NCPAINT:
    case WM_SIZE:
    case WM_WINDOWPOSCHANGED:
      if (Control != nullptr && Control->HandleAllocated()) Handle = Control->Handle();
      if (Bar != nullptr) Bar->Update();
      TSkinControl::AfterMessage(m);
      return;
    case SBM_SETSCROLLINFO:
    case SBM_SETPOS:
    case SBM_SETRANGE:
    case SBM_SETRANGEREDRAW:
    case SBM_ENABLE_ARROWS:
    case WM_ENABLE:
    case CM_ENABLEDCHANGED:
      if (Bar != nullptr) {
        Bar->Update();
        Bar->RepaintNow();
      }
      TSkinControl::AfterMessage(m);
      return;
    default:
      TSkinControl::AfterMessage(m);
      return;
  }
}

void TSkinScControl::PaintTo(HDC /*dc*/, const RECT& /*rect*/) {
  InvalidateBar(Bar);
}

}  // namespace skin::win
