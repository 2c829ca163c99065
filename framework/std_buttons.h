// Buttons of the BUTTON window class: push buttons, check boxes and radio
// buttons.
//
//   auto* ok = new fw::TButton(form);   ok->SetCaption(L"OK");   ok->SetDefault(true);
//   auto* box = new fw::TCheckBox(form); box->SetChecked(true);
//
// A push button is pressed by Enter when it is the default one (or focused)
// and by Escape when it is the cancel one; only that button shows the
// default frame, as the focus moves. Radio buttons with the same parent
// form a group: checking one unchecks the others.
#pragma once

#include <string>

#include "framework/controls.h"

namespace fw {

// What the BUTTON-class controls share: clicks reported by the control and
// the accelerator of the caption.
class TButtonControl : public TWinControl {
  FW_CLASS_INFO(TButtonControl)

 public:
  explicit TButtonControl(TComponent* owner);

 protected:
  void CreateParams(TCreateParams& params) override;
  void WndProc(TMessage& message) override;
};

class TButton : public TButtonControl {
  FW_CLASS_INFO(TButton)

 public:
  explicit TButton(TComponent* owner);

  bool Default() const { return default_; }
  void SetDefault(bool v);
  bool Cancel() const { return cancel_; }
  void SetCancel(bool v) { cancel_ = v; }
  int32_t ModalResult() const { return modal_result_; }
  void SetModalResult(int32_t v) { modal_result_ = v; }

  void Click() override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void WndProc(TMessage& message) override;
  // The button Enter presses: the focused push button, else the default one
  // while no push button has the focus.
  bool IsActive() const;
  // Shows whether the button is the active one: a plain push button through
  // its style (BS_DEFPUSHBUTTON only for the active button of its form), an
  // owner-drawn one by painting again. Called as the focus moves.
  virtual void UpdateDefaultStyle();

  bool default_ = false;
  bool cancel_ = false;
  int32_t modal_result_ = 0;
};

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };

class TCustomCheckBox : public TButtonControl {
  FW_CLASS_INFO(TCustomCheckBox)

 public:
  explicit TCustomCheckBox(TComponent* owner);

  TCheckBoxState State() const;
  void SetState(TCheckBoxState v);
  bool Checked() const { return State() == cbChecked; }
  void SetChecked(bool v) { SetState(v ? cbChecked : cbUnchecked); }
  bool AllowGrayed() const { return allow_grayed_; }
  void SetAllowGrayed(bool v) { allow_grayed_ = v; }
  // taRightJustify puts the box at the right of its caption.
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment v);

 protected:
  void CreateParams(TCreateParams& params) override;
  void HandleCreated() override;
  void WndProc(TMessage& message) override;
  void Toggle();

 private:
  TCheckBoxState state_ = cbUnchecked;
  bool allow_grayed_ = false;
  TAlignment alignment_ = taRightJustify;
};

class TCheckBox : public TCustomCheckBox {
  FW_CLASS_INFO(TCheckBox)

 public:
  using TCustomCheckBox::TCustomCheckBox;
};

class TRadioButton : public TButtonControl {
  FW_CLASS_INFO(TRadioButton)

 public:
  explicit TRadioButton(TComponent* owner);

  bool Checked() const;
  void SetChecked(bool v);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment v);

 protected:
  void CreateParams(TCreateParams& params) override;
  void HandleCreated() override;
  void WndProc(TMessage& message) override;

 private:
  bool checked_ = false;
  TAlignment alignment_ = taRightJustify;
};

}  // namespace fw
