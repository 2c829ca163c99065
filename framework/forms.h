// Forms, the application object and the screen's list of forms.
//
// A form subclass reads its stored description in its constructor:
//
//   TFPrincipal::TFPrincipal(fw::TComponent* owner) : fw::TForm(owner) {
//     ReadDescription(L"TFPRINCIPAL");   // creates the components
//     edtNumLinha = FindChild<fw::TEdit>("edtNumLinha");
//     DoCreate();                        // OnCreate
//   }
//
// Close() asks OnCloseQuery, then OnClose; closing the application's main
// form ends the message loop. Release() frees the form once the message
// being handled is done.
#pragma once

#include <windows.h>

#include <exception>
#include <functional>
#include <string>
#include <vector>

#include "framework/controls.h"
#include "framework/scrolling.h"

namespace fw {

class TMainMenu;

enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum TBorderIcon : uint32_t { biSystemMenu = 1, biMinimize = 2, biMaximize = 4, biHelp = 8 };
enum TPosition {
  poDesigned,
  poDefault,
  poDefaultPosOnly,
  poDefaultSizeOnly,
  poScreenCenter,
  poDesktopCenter,
  poMainFormCenter,
  poOwnerFormCenter
};
enum TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
enum TCloseAction { caNone, caHide, caFree, caMinimize };

using TCloseEvent = std::function<void(TObject* sender, TCloseAction& action)>;
using TCloseQueryEvent = std::function<void(TObject* sender, bool& can_close)>;

// The level every form shares (a form placed inside another is one too).
// Forms do not scroll unless AutoScroll is switched on.
class TCustomForm : public TScrollingWinControl {
  FW_CLASS_INFO(TCustomForm)

 public:
  explicit TCustomForm(TComponent* owner);
};

class TForm : public TCustomForm {
  FW_CLASS_INFO(TForm)

 public:
  explicit TForm(TComponent* owner);
  ~TForm() override;
  // Fires OnDestroy while the whole form (the derived class too) exists.
  void BeforeDestruction() override;

  // A form with a Parent control (or a ParentWindow) is embedded: a child
  // window inside it, without caption or frame; BorderStyle, BorderIcons
  // and Position are then not used, and focus is its outer form's business.
  bool Embedded() const { return parent_ != nullptr || ParentWindow() != nullptr; }

  TFormBorderStyle BorderStyle() const { return border_style_; }
  void SetBorderStyle(TFormBorderStyle v) { border_style_ = v; }
  uint32_t BorderIcons() const { return border_icons_; }
  void SetBorderIcons(uint32_t v) { border_icons_ = v; }
  TPosition Position() const { return position_; }
  void SetPosition(TPosition v) { position_ = v; }
  TFormStyle FormStyle() const { return form_style_; }
  void SetFormStyle(TFormStyle v) { form_style_ = v; }
  bool KeyPreview() const { return key_preview_; }
  void SetKeyPreview(bool v) { key_preview_ = v; }
  TMainMenu* Menu() const { return menu_; }
  void SetMenu(TMainMenu* menu);
  TObject* MenuObject() const;
  void SetMenuObject(TObject* menu);

  RECT ClientRect() const override;
  int32_t ClientWidth() const override { return client_width_; }
  int32_t ClientHeight() const override { return client_height_; }
  void SetClientWidth(int32_t v) override;
  void SetClientHeight(int32_t v) override;

  TWinControl* ActiveControl() const { return active_control_; }
  void SetActiveControl(TWinControl* control);
  TObject* ActiveControlObject() const { return active_control_; }
  void SetActiveControlObject(TObject* control);
  // Moves the focus to the next (or previous) control in tab order.
  void SelectNext(TWinControl* current, bool forward, bool check_tab_stop);
  void SelectFirst();

  void Show();
  void Hide();
  void Close();
  void Release();

  TNotifyEvent OnCreate;
  TNotifyEvent OnShow;
  TNotifyEvent OnDestroy;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;

  // Bookkeeping of the focused control (called by the controls).
  void FocusChanged(TWinControl* control);
  void DefocusControl(TWinControl* control);

 protected:
  // Creates the form's components from the description stored in the
  // program's RCDATA resource `resource_name` (UTF-8 text).
  void ReadDescription(const std::wstring& resource_name);
  // The named component of the form, which must be of class T.
  template <class T>
  T* FindChild(std::string_view name) {
    auto* c = dynamic_cast<T*>(FindComponent(name));
    if (c == nullptr) {
      throw Exception("The description of " + ClassName() + " lacks " + std::string(name));
    }
    return c;
  }
  void DoCreate();
  virtual bool CloseQuery();
  virtual void DoClose(TCloseAction& action);

  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void WndProc(TMessage& message) override;
  void Notification(TComponent* component, TOperation operation) override;
  void UpdateBoundsFromWindow() override;

 private:
  void AdjustSize();
  void DoDestroy();

  TFormBorderStyle border_style_ = bsSizeable;
  uint32_t border_icons_ = biSystemMenu | biMinimize | biMaximize;
  TPosition position_ = poDesigned;
  TFormStyle form_style_ = fsNormal;
  bool key_preview_ = false;
  int32_t client_width_ = 0;
  int32_t client_height_ = 0;
  TWinControl* active_control_ = nullptr;
  TMainMenu* menu_ = nullptr;
  bool destroy_fired_ = false;
};

class TApplication : public TComponent {
 public:
  TApplication();
  ~TApplication() override;
  FW_CLASS_INFO(TApplication)

  // COM for this thread (single-threaded apartment) and the common controls.
  void Initialize();
  template <class T>
  T* CreateForm() {
    T* form = new T(this);  // owned by the application
    if (main_form_ == nullptr) main_form_ = form;
    return form;
  }
  TForm* MainForm() const { return main_form_; }
  void SetMainForm(TForm* form) { main_form_ = form; }

  // Shows the main form and handles messages until it closes.
  void Run();
  // Handles every pending message, then returns.
  void ProcessMessages();
  // Handles one message if one is pending; false when none was.
  bool ProcessMessage();
  // Waits for and handles one message.
  void HandleMessage();
  void Terminate();
  bool Terminated() const { return terminated_; }

  // The default error box: the message, the application's title, a stop
  // icon and one OK button. OnException replaces it.
  void HandleException(const std::exception& e);
  std::function<void(const std::exception&)> OnException;

  const std::wstring& Title() const { return title_; }
  void SetTitle(const std::wstring& title) { title_ = title; }

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  bool IsKeyMsg(MSG& msg);

  TForm* main_form_ = nullptr;
  bool terminated_ = false;
  bool com_initialized_ = false;
  std::wstring title_;
};

// The application object of the running program (nullptr outside one).
TApplication* Application();

class TScreen {
 public:
  int FormCount() const { return static_cast<int>(forms_.size()); }
  TForm* Forms(int index) const { return forms_.at(static_cast<size_t>(index)); }
  // The form whose window is active; nullptr when none of ours is.
  TForm* ActiveForm() const;
  TWinControl* ActiveControl() const;
  int Width() const { return GetSystemMetrics(SM_CXSCREEN); }
  int Height() const { return GetSystemMetrics(SM_CYSCREEN); }

 private:
  friend class TForm;
  std::vector<TForm*> forms_;
};

TScreen& Screen();

}  // namespace fw
