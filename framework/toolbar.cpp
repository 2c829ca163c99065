#include "framework/toolbar.h"

#include <commctrl.h>

#include <algorithm>

#include "framework/menus.h"

namespace fw {

namespace {

int NextButtonCommand() {
  static int next = 0x7000;
  return next++;
}

}  // namespace

// --- TToolButton -----------------------------------------------------------------

TToolButton::TToolButton(TComponent* owner) : TControl(owner), command_(NextButtonCommand()) {
  width_ = 23;
  height_ = 22;
}

TToolButton::~TToolButton() {
  DestroyComponents();
  SetToolBar(nullptr);
}

const TClassInfo& TToolButton::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TToolButton>("TToolButton", TControl::StaticClassInfo())
          .Int("ImageIndex", &TToolButton::ImageIndex, &TToolButton::SetImageIndex)
          .Enum("Style", {"tbsButton", "tbsCheck", "tbsDropDown", "tbsSeparator", "tbsDivider"},
                &TToolButton::Style, &TToolButton::SetStyle)
          .Bool("Down", &TToolButton::Down, &TToolButton::SetDown)
          .Build();
  return info;
}

void TToolButton::SetParentComponent(TComponent* parent) {
  if (auto* bar = dynamic_cast<TToolBar*>(parent)) SetToolBar(bar);
}

void TToolButton::SetToolBar(TToolBar* bar) {
  if (bar == tool_bar_) return;
  if (tool_bar_ != nullptr) tool_bar_->RemoveButton(this);
  tool_bar_ = bar;
  if (bar != nullptr) bar->InsertButton(this);
}

void TToolButton::SetImageIndex(int32_t v) {
  image_index_ = v;
  if (tool_bar_ != nullptr) tool_bar_->UpdateButtons();
}

void TToolButton::SetStyle(TToolButtonStyle v) {
  style_ = v;
  if (tool_bar_ != nullptr) tool_bar_->UpdateButtons();
}

bool TToolButton::Down() const {
  if (tool_bar_ != nullptr && tool_bar_->HandleAllocated()) {
    return SendMessageW(tool_bar_->Handle(), TB_ISBUTTONCHECKED, static_cast<WPARAM>(command_),
                        0) != FALSE;
  }
  return down_;
}

void TToolButton::SetDown(bool v) {
  down_ = v;
  if (tool_bar_ != nullptr && tool_bar_->HandleAllocated()) {
    SendMessageW(tool_bar_->Handle(), TB_CHECKBUTTON, static_cast<WPARAM>(command_), v);
  }
}

void TToolButton::SetTextValue(const std::wstring& text) {
  TControl::SetTextValue(text);
  if (tool_bar_ != nullptr) tool_bar_->UpdateButtons();
}

RECT TToolButton::ItemRect() const {
  RECT r{};
  if (tool_bar_ != nullptr && tool_bar_->HandleAllocated()) {
    SendMessageW(tool_bar_->Handle(), TB_GETRECT, static_cast<WPARAM>(command_),
                 reinterpret_cast<LPARAM>(&r));
  }
  return r;
}

void TToolButton::Click() {
  if (style_ == tbsCheck) down_ = Down();
  TControl::Click();
  if (menu_item_ != nullptr) menu_item_->Click();
}

// --- TToolBar --------------------------------------------------------------------

TToolBar::TToolBar(TComponent* owner) : TWinControl(owner) {
  height_ = 29;
  align_ = alTop;
}

TToolBar::~TToolBar() {
  DestroyComponents();
  while (!buttons_.empty())
    buttons_.back()->SetToolBar(nullptr);
}

const TClassInfo& TToolBar::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TToolBar>("TToolBar", TWinControl::StaticClassInfo())
          .Bool("Flat", &TToolBar::Flat, &TToolBar::SetFlat)
          .Bool("ShowCaptions", &TToolBar::ShowCaptions, &TToolBar::SetShowCaptions)
          .Obj("Images", &TToolBar::ImagesObject, &TToolBar::SetImagesObject)
          .Obj("Menu", &TToolBar::MenuObject, &TToolBar::SetMenuObject)
          .Build();
  return info;
}

void TToolBar::SetFlat(bool v) {
  if (v == flat_) return;
  flat_ = v;
  RecreateWnd();
}

void TToolBar::SetShowCaptions(bool v) {
  show_captions_ = v;
  UpdateButtons();
}

void TToolBar::SetImages(TImageList* images) {
  if (images_ != nullptr) images_->RemoveFreeNotification(this);
  images_ = images;
  if (images_ != nullptr) images_->FreeNotification(this);
  if (HandleAllocated()) {
    SendMessageW(handle_, TB_SETIMAGELIST, 0,
                 reinterpret_cast<LPARAM>(images_ != nullptr ? images_->Handle() : nullptr));
  }
}

void TToolBar::SetMenu(TMainMenu* menu) {
  if (menu_ != nullptr) menu_->RemoveFreeNotification(this);
  menu_ = menu;
  if (menu_ != nullptr) menu_->FreeNotification(this);
}

TObject* TToolBar::MenuObject() const {
  return menu_;
}

void TToolBar::SetMenuObject(TObject* v) {
  SetMenu(dynamic_cast<TMainMenu*>(v));
}

void TToolBar::Notification(TComponent* component, TOperation operation) {
  TWinControl::Notification(component, operation);
  if (operation != TOperation::opRemove) return;
  if (component == images_) images_ = nullptr;
  if (component == menu_) menu_ = nullptr;
}

void TToolBar::InsertButton(TToolButton* button) {
  buttons_.push_back(button);
  UpdateButtons();
}

void TToolBar::RemoveButton(TToolButton* button) {
  buttons_.erase(std::remove(buttons_.begin(), buttons_.end(), button), buttons_.end());
  if (!IsDestroying()) UpdateButtons();
}

void TToolBar::UpdateButtons() {
  if (!HandleAllocated()) return;
  while (SendMessageW(handle_, TB_DELETEBUTTON, 0, 0) != FALSE) {
  }
  for (TToolButton* b : buttons_) {
    std::wstring caption = b->Caption();
    TBBUTTON tb{};
    tb.idCommand = b->Command();
    tb.iBitmap = b->ImageIndex() >= 0 ? b->ImageIndex() : I_IMAGENONE;
    tb.fsState = static_cast<BYTE>(b->Enabled() ? TBSTATE_ENABLED : 0);
    if (b->down_) tb.fsState |= TBSTATE_CHECKED;
    switch (b->Style()) {
      case tbsCheck:
        tb.fsStyle = BTNS_CHECK;
        break;
      case tbsDropDown:
        tb.fsStyle = BTNS_DROPDOWN;
        break;
      case tbsSeparator:
      case tbsDivider:
        tb.fsStyle = BTNS_SEP;
        break;
      default:
        tb.fsStyle = BTNS_BUTTON;
        break;
    }
    if (show_captions_ && !caption.empty()) {
      tb.iString = reinterpret_cast<INT_PTR>(caption.c_str());
      tb.fsStyle |= BTNS_SHOWTEXT;
    }
    SendMessageW(handle_, TB_ADDBUTTONSW, 1, reinterpret_cast<LPARAM>(&tb));
  }
  SendMessageW(handle_, TB_AUTOSIZE, 0, 0);
}

void TToolBar::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.ClassName = TOOLBARCLASSNAMEW;
  p.SystemClass = true;
  // The framework places the bar; the control must not move itself.
  p.Style |= CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER | TBSTYLE_TOOLTIPS;
  if (flat_) p.Style |= TBSTYLE_FLAT;
}

void TToolBar::HandleCreated() {
  SendMessageW(handle_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  SendMessageW(handle_, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_MIXEDBUTTONS);
  if (images_ != nullptr) {
    SendMessageW(handle_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images_->Handle()));
  }
  UpdateButtons();
}

LRESULT TToolBar::CustomDraw(NMTBCUSTOMDRAW& cd) {
  if (cd.nmcd.dwDrawStage == CDDS_PREPAINT) {
    return OnCustomDrawButton ? CDRF_NOTIFYITEMDRAW : CDRF_DODEFAULT;
  }
  if (cd.nmcd.dwDrawStage != CDDS_ITEMPREPAINT || !OnCustomDrawButton) return CDRF_DODEFAULT;
  auto it = std::find_if(buttons_.begin(), buttons_.end(), [&](const TToolButton* b) {
    return static_cast<DWORD_PTR>(b->Command()) == cd.nmcd.dwItemSpec;
  });
  if (it == buttons_.end()) return CDRF_DODEFAULT;
  const UINT s = cd.nmcd.uItemState;
  TCustomDrawState state = 0;
  if (s & CDIS_SELECTED) state |= cdsSelected;
  if (s & CDIS_GRAYED) state |= cdsGrayed;
  if (s & CDIS_DISABLED) state |= cdsDisabled;
  if (s & CDIS_CHECKED) state |= cdsChecked;
  if (s & CDIS_FOCUS) state |= cdsFocused;
  if (s & CDIS_DEFAULT) state |= cdsDefault;
  if (s & CDIS_HOT) state |= cdsHot;
  if (s & CDIS_MARKED) state |= cdsMarked;
  if (s & CDIS_INDETERMINATE) state |= cdsIndeterminate;
  bool default_draw = true;
  struct TRelease {
    TCanvas& canvas;
    ~TRelease() { canvas.SetHandle(nullptr); }
  } release{canvas_};
  canvas_.SetHandle(cd.nmcd.hdc);
  canvas_.Font()->Assign(font_);
  OnCustomDrawButton(this, *it, state, default_draw);
  return default_draw ? CDRF_DODEFAULT : CDRF_SKIPDEFAULT;
}

void TToolBar::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CN_COMMAND: {
      const int id = LOWORD(m.WParam);
      for (TToolButton* b : buttons_) {
        if (b->Command() == id) {
          b->Click();
          break;
        }
      }
      m.Result = 0;
      return;
    }
    case CN_NOTIFY: {
      auto* hdr = reinterpret_cast<NMHDR*>(m.LParam);
      if (hdr->code == NM_CUSTOMDRAW) {
        m.Result = CustomDraw(*reinterpret_cast<NMTBCUSTOMDRAW*>(m.LParam));
        return;
      }
      m.Result = 0;
      return;
    }
    default:
      break;
  }
  TWinControl::WndProc(m);
}

}  // namespace fw
