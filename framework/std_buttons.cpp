#include "framework/std_buttons.h"

#include "framework/buttons.h"
#include "framework/forms.h"

namespace fw {

// --- TButtonControl --------------------------------------------------------------

TButtonControl::TButtonControl(TComponent* owner) : TWinControl(owner) {
  SetTabStop(true);
}

const TClassInfo& TButtonControl::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TButtonControl>("TButtonControl", TWinControl::StaticClassInfo()).Build();
  return info;
}

void TButtonControl::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.ClassName = L"BUTTON";
  p.SystemClass = true;
  p.Style &= ~WS_CLIPCHILDREN;
}

void TButtonControl::WndProc(TMessage& m) {
  if (m.Msg == CM_DIALOGCHAR) {
    if (IsAccel(static_cast<wchar_t>(m.WParam), GetTextValue()) && CanFocus()) {
      SetFocus();
      Click();
      m.Result = 1;
    } else {
      m.Result = 0;
    }
    return;
  }
  TWinControl::WndProc(m);
}

// --- TButton ---------------------------------------------------------------------

TButton::TButton(TComponent* owner) : TButtonControl(owner) {}

const TClassInfo& TButton::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TButton>("TButton", TButtonControl::StaticClassInfo())
          .Bool("Default", &TButton::Default, &TButton::SetDefault)
          .Bool("Cancel", &TButton::Cancel, &TButton::SetCancel)
          .Int("ModalResult", &TButton::ModalResult, &TButton::SetModalResult)
          .Build();
  return info;
}

void TButton::SetDefault(bool v) {
  default_ = v;
  UpdateDefaultStyle();
  Invalidate();
}

void TButton::Click() {
  if (CanFocus() && !Focused() && GetParentForm() != nullptr) SetFocus();
  TWinControl::Click();
}

void TButton::CreateParams(TCreateParams& p) {
  TButtonControl::CreateParams(p);
  p.Style |= default_ ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

bool TButton::IsActive() const {
  if (Focused()) return true;
  if (!default_) return false;
  return dynamic_cast<TButton*>(FindControl(GetFocus())) == nullptr;
}

void TButton::UpdateDefaultStyle() {
  // Only a plain push button shows the default frame through its style; an
  // owner-drawn one draws it itself.
  if (!HandleAllocated()) return;
  LONG style = GetWindowLongW(handle_, GWL_STYLE);
  LONG type = style & BS_TYPEMASK;
  if (type != BS_PUSHBUTTON && type != BS_DEFPUSHBUTTON) return;
  LONG wanted = IsActive() ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
  if (type != wanted) SendMessageW(handle_, BM_SETSTYLE, static_cast<WPARAM>(wanted), TRUE);
}

void TButton::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CN_COMMAND:
      if (HIWORD(m.WParam) == BN_CLICKED) Click();
      return;
    case CM_DIALOGKEY:
      if (((m.WParam == VK_RETURN && IsActive()) || (m.WParam == VK_ESCAPE && cancel_)) &&
          GetKeyState(VK_SHIFT) >= 0 && GetKeyState(VK_CONTROL) >= 0 && CanFocus()) {
        Click();
        m.Result = 1;
        return;
      }
      m.Result = 0;
      return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case CM_FOCUSCHANGED:
      TButtonControl::WndProc(m);
      UpdateDefaultStyle();
      return;
    default:
      break;
  }
  TButtonControl::WndProc(m);
}

// --- TCustomCheckBox -------------------------------------------------------------

// Check boxes and radio buttons show their parent's colour around the box
// and the caption, as they do on dialog boxes.
TCustomCheckBox::TCustomCheckBox(TComponent* owner) : TButtonControl(owner) {
  parent_color_ = true;
}

const TClassInfo& TCustomCheckBox::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TCustomCheckBox>("TCustomCheckBox", TButtonControl::StaticClassInfo())
          .Enum("State", {"cbUnchecked", "cbChecked", "cbGrayed"}, &TCustomCheckBox::State,
                &TCustomCheckBox::SetState)
          .Bool("Checked", &TCustomCheckBox::Checked, &TCustomCheckBox::SetChecked)
          .Bool("AllowGrayed", &TCustomCheckBox::AllowGrayed, &TCustomCheckBox::SetAllowGrayed)
          .Enum("Alignment", {"taLeftJustify", "taRightJustify", "taCenter"},
                &TCustomCheckBox::Alignment, &TCustomCheckBox::SetAlignment)
          .Build();
  return info;
}

TCheckBoxState TCustomCheckBox::State() const {
  return state_;
}

void TCustomCheckBox::SetState(TCheckBoxState v) {
  if (v == state_) return;
  state_ = v;
  if (HandleAllocated()) SendMessageW(handle_, BM_SETCHECK, static_cast<WPARAM>(v), 0);
  if (!IsLoading()) Click();
}

void TCustomCheckBox::SetAlignment(TAlignment v) {
  if (v == alignment_) return;
  alignment_ = v;
  RecreateWnd();
}

void TCustomCheckBox::CreateParams(TCreateParams& p) {
  TButtonControl::CreateParams(p);
  // The framework keeps the state (three states when gray is allowed).
  p.Style |= BS_3STATE;
  // Right to left the box changes sides: text on its left by default.
  if ((alignment_ == taLeftJustify) != UseRightToLeftAlignment()) p.Style |= BS_LEFTTEXT;
}

void TCustomCheckBox::HandleCreated() {
  SendMessageW(handle_, BM_SETCHECK, static_cast<WPARAM>(state_), 0);
}

void TCustomCheckBox::Toggle() {
  switch (state_) {
    case cbUnchecked:
      SetState(allow_grayed_ ? cbGrayed : cbChecked);
      break;
    case cbChecked:
      SetState(cbUnchecked);
      break;
    case cbGrayed:
      SetState(cbChecked);
      break;
  }
}

void TCustomCheckBox::WndProc(TMessage& m) {
  if (m.Msg == CN_COMMAND) {
    if (HIWORD(m.WParam) == BN_CLICKED) Toggle();
    return;
  }
  if (m.Msg == CM_DIALOGCHAR) {
    if (IsAccel(static_cast<wchar_t>(m.WParam), GetTextValue()) && CanFocus()) {
      SetFocus();
      Toggle();
      m.Result = 1;
    } else {
      m.Result = 0;
    }
    return;
  }
  TButtonControl::WndProc(m);
}

const TClassInfo& TCheckBox::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TCheckBox>("TCheckBox", TCustomCheckBox::StaticClassInfo()).Build();
  return info;
}

// --- TRadioButton ----------------------------------------------------------------

TRadioButton::TRadioButton(TComponent* owner) : TButtonControl(owner) {
  parent_color_ = true;
}

const TClassInfo& TRadioButton::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TRadioButton>("TRadioButton", TButtonControl::StaticClassInfo())
          .Bool("Checked", &TRadioButton::Checked, &TRadioButton::SetChecked)
          .Enum("Alignment", {"taLeftJustify", "taRightJustify", "taCenter"},
                &TRadioButton::Alignment, &TRadioButton::SetAlignment)
          .Build();
  return info;
}

bool TRadioButton::Checked() const {
  return checked_;
}

void TRadioButton::SetChecked(bool v) {
  if (v == checked_) return;
  checked_ = v;
  if (HandleAllocated()) SendMessageW(handle_, BM_SETCHECK, v ? BST_CHECKED : BST_UNCHECKED, 0);
  if (v) {
    // The others of the group (the same parent) are unchecked.
    if (parent_ != nullptr) {
      for (int i = 0; i < parent_->ControlCount(); ++i) {
        auto* other = dynamic_cast<TRadioButton*>(parent_->Controls(i));
        if (other != nullptr && other != this) other->SetChecked(false);
      }
    }
    if (!IsLoading()) Click();
  }
}

void TRadioButton::SetAlignment(TAlignment v) {
  if (v == alignment_) return;
  alignment_ = v;
  RecreateWnd();
}

void TRadioButton::CreateParams(TCreateParams& p) {
  TButtonControl::CreateParams(p);
  p.Style |= BS_RADIOBUTTON;
  if ((alignment_ == taLeftJustify) != UseRightToLeftAlignment()) p.Style |= BS_LEFTTEXT;
}

void TRadioButton::HandleCreated() {
  SendMessageW(handle_, BM_SETCHECK, checked_ ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TRadioButton::WndProc(TMessage& m) {
  if (m.Msg == CN_COMMAND) {
    if (HIWORD(m.WParam) == BN_CLICKED || HIWORD(m.WParam) == BN_DOUBLECLICKED) SetChecked(true);
    return;
  }
  if (m.Msg == CM_DIALOGCHAR) {
    if (IsAccel(static_cast<wchar_t>(m.WParam), GetTextValue()) && CanFocus()) {
      SetFocus();
      SetChecked(true);
      m.Result = 1;
    } else {
      m.Result = 0;
    }
    return;
  }
  TButtonControl::WndProc(m);
}

}  // namespace fw
