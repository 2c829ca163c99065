#include "framework/tabs.h"

#include <commctrl.h>

#include <algorithm>

namespace fw {

// --- TCustomTabControl -----------------------------------------------------------

TCustomTabControl::TCustomTabControl(TComponent* owner) : TWinControl(owner) {
  width_ = 289;
  height_ = 193;
  SetTabStop(true);
}

const TClassInfo& TCustomTabControl::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TCustomTabControl>("TCustomTabControl", TWinControl::StaticClassInfo())
          .Int("TabIndex", &TCustomTabControl::TabIndex, &TCustomTabControl::SetTabIndex)
          .Event<void(TObject*)>("OnChange", &TCustomTabControl::OnChange)
          .Build();
  return info;
}

int32_t TCustomTabControl::TabIndex() const {
  if (handle_ != nullptr) return static_cast<int32_t>(SendMessageW(handle_, TCM_GETCURSEL, 0, 0));
  return tab_index_;
}

void TCustomTabControl::SetTabIndex(int32_t index) {
  tab_index_ = index;
  if (handle_ != nullptr) SendMessageW(handle_, TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
}

RECT TCustomTabControl::DisplayRect() {
  RECT r = ClientRect();
  if (handle_ != nullptr)
    SendMessageW(handle_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
  return r;
}

RECT TCustomTabControl::AlignRect() {
  return DisplayRect();
}

void TCustomTabControl::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.ClassName = WC_TABCONTROLW;
  p.SystemClass = true;
  p.Style |= WS_CLIPCHILDREN | TCS_TABS;
}

void TCustomTabControl::HandleCreated() {
  UpdateTabs();
}

void TCustomTabControl::UpdateTabs() {
  if (handle_ == nullptr) return;
  int32_t index = tab_index_;
  SendMessageW(handle_, TCM_DELETEALLITEMS, 0, 0);
  std::vector<std::wstring> texts = TabTexts();
  for (size_t i = 0; i < texts.size(); ++i) {
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = texts[i].data();
    SendMessageW(handle_, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
  }
  if (index >= static_cast<int32_t>(texts.size())) index = static_cast<int32_t>(texts.size()) - 1;
  tab_index_ = index;
  SendMessageW(handle_, TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
  Realign();
}

void TCustomTabControl::Change() {
  if (OnChange) OnChange(this);
}

void TCustomTabControl::WndProc(TMessage& m) {
  if (m.Msg == CN_NOTIFY) {
    if (reinterpret_cast<NMHDR*>(m.LParam)->code == TCN_SELCHANGE) {
      tab_index_ = TabIndex();
      Change();
    }
    m.Result = 0;
    return;
  }
  if (m.Msg == WM_SIZE) {
    TWinControl::WndProc(m);
    Realign();
    return;
  }
  TWinControl::WndProc(m);
}

// --- TTabControl -----------------------------------------------------------------

TTabControl::TTabControl(TComponent* owner) : TCustomTabControl(owner) {
  tabs_.OnChange = [this] { UpdateTabs(); };
}

const TClassInfo& TTabControl::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TTabControl>("TTabControl", TCustomTabControl::StaticClassInfo())
          .Obj("Tabs", &TTabControl::Tabs)
          .Build();
  return info;
}

std::vector<std::wstring> TTabControl::TabTexts() {
  std::vector<std::wstring> texts;
  for (int i = 0; i < tabs_.Count(); ++i)
    texts.push_back(tabs_.Strings(i));
  return texts;
}

// --- TTabSheet -------------------------------------------------------------------

TTabSheet::TTabSheet(TComponent* owner) : TWinControl(owner) {
  visible_ = false;
}

TTabSheet::~TTabSheet() {
  DestroyComponents();
  SetPageControl(nullptr);
}

const TClassInfo& TTabSheet::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TTabSheet>("TTabSheet", TWinControl::StaticClassInfo())
          .Obj("PageControl", &TTabSheet::PageControlObject, &TTabSheet::SetPageControlObject)
          .Int("PageIndex", &TTabSheet::PageIndex)
          .Bool("TabVisible", &TTabSheet::TabVisible, &TTabSheet::SetTabVisible)
          .Build();
  return info;
}

void TTabSheet::SetParentComponent(TComponent* parent) {
  if (auto* pages = dynamic_cast<TPageControl*>(parent)) {
    SetPageControl(pages);
  } else {
    TWinControl::SetParentComponent(parent);
  }
}

void TTabSheet::SetPageControl(TPageControl* control) {
  if (control == page_control_) return;
  if (page_control_ != nullptr) page_control_->RemovePage(this);
  page_control_ = control;
  SetParent(control);
  if (control != nullptr) control->InsertPage(this);
}

TObject* TTabSheet::PageControlObject() const {
  return page_control_;
}

void TTabSheet::SetPageControlObject(TObject* control) {
  SetPageControl(dynamic_cast<TPageControl*>(control));
}

int32_t TTabSheet::PageIndex() const {
  if (page_control_ == nullptr) return -1;
  for (int i = 0; i < page_control_->PageCount(); ++i) {
    if (page_control_->Pages(i) == this) return i;
  }
  return -1;
}

void TTabSheet::SetTabVisible(bool v) {
  tab_visible_ = v;
  if (page_control_ != nullptr) page_control_->PageChanged();
}

void TTabSheet::SetTextValue(const std::wstring& text) {
  TWinControl::SetTextValue(text);
  if (page_control_ != nullptr) page_control_->PageChanged();
}

void TTabSheet::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.ClassName = L"FwTabSheet";
}

// --- TPageControl ----------------------------------------------------------------

TPageControl::TPageControl(TComponent* owner) : TCustomTabControl(owner) {}

TPageControl::~TPageControl() {
  DestroyComponents();
  // Sheets owned elsewhere leave the control before it goes.
  while (!pages_.empty())
    pages_.back()->SetPageControl(nullptr);
}

const TClassInfo& TPageControl::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TPageControl>("TPageControl", TCustomTabControl::StaticClassInfo())
          .Obj("ActivePage", &TPageControl::ActivePageObject, &TPageControl::SetActivePageObject)
          .Build();
  return info;
}

std::vector<TTabSheet*> TPageControl::VisiblePages() const {
  std::vector<TTabSheet*> list;
  for (TTabSheet* p : pages_) {
    if (p->TabVisible()) list.push_back(p);
  }
  return list;
}

std::vector<std::wstring> TPageControl::TabTexts() {
  std::vector<std::wstring> texts;
  for (TTabSheet* p : VisiblePages())
    texts.push_back(p->Caption());
  return texts;
}

void TPageControl::InsertPage(TTabSheet* page) {
  pages_.push_back(page);
  if (active_ == nullptr) active_ = page;
  PageChanged();
}

void TPageControl::RemovePage(TTabSheet* page) {
  pages_.erase(std::remove(pages_.begin(), pages_.end(), page), pages_.end());
  if (active_ == page) active_ = pages_.empty() ? nullptr : pages_.front();
  if (!IsDestroying()) PageChanged();
}

void TPageControl::SetActivePage(TTabSheet* page) {
  if (page != nullptr && page->PageControl() != this) return;
  active_ = page;
  PageChanged();
}

void TPageControl::PageChanged() {
  std::vector<TTabSheet*> visible = VisiblePages();
  auto it = std::find(visible.begin(), visible.end(), active_);
  UpdateTabs();
  SetTabIndex(it == visible.end() ? -1 : static_cast<int32_t>(it - visible.begin()));
  for (TTabSheet* p : pages_)
    p->SetVisible(p == active_);
  Realign();
}

void TPageControl::Change() {
  std::vector<TTabSheet*> visible = VisiblePages();
  int32_t index = TabIndex();
  if (index >= 0 && index < static_cast<int32_t>(visible.size())) {
    active_ = visible[static_cast<size_t>(index)];
    for (TTabSheet* p : pages_)
      p->SetVisible(p == active_);
  }
  TCustomTabControl::Change();
}

void TPageControl::AlignControls() {
  TCustomTabControl::AlignControls();
  RECT r = DisplayRect();
  for (TTabSheet* p : pages_)
    p->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

}  // namespace fw
