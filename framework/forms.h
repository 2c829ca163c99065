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
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "framework/controls.h"
#include "framework/scrolling.h"

namespace fw {

class TMainMenu;
class TMenuItem;

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
enum TWindowState { wsNormal, wsMinimized, wsMaximized };
enum TTileMode { tbHorizontal, tbVertical };

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
  // fsMDIForm: the form's client area holds an "MDIClient" window, in which
  // the fsMDIChild forms live (each a window with WS_EX_MDICHILD, created
  // in the client of the application's MDI form). Set before the window
  // exists.
  TFormStyle FormStyle() const { return form_style_; }
  void SetFormStyle(TFormStyle v) { form_style_ = v; }
  bool KeyPreview() const { return key_preview_; }
  void SetKeyPreview(bool v) { key_preview_ = v; }
  // The menu bar. The window shows the menu's handle; an MDI child has no
  // menu bar of its own: while it is the active child its menu is merged
  // into its frame's (TMainMenu::Merge). The form detaches the menu before
  // its window goes, whoever owns the menu.
  TMainMenu* Menu() const { return menu_; }
  void SetMenu(TMainMenu* menu);
  TObject* MenuObject() const;
  void SetMenuObject(TObject* menu);
  // Runs the menu item whose ShortCut the key message (WM_KEYDOWN,
  // WM_SYSKEYDOWN) with the present modifier keys makes: the form's menu,
  // an MDI child's frame menu after it, an MDI frame's active child's menu
  // before it. Called by the focused control before it handles the key.
  bool IsShortCut(const TMessage& key_message);

  // Normal, minimized or maximized; set before the form shows, it is the
  // state it shows in.
  TWindowState WindowState() const;
  void SetWindowState(TWindowState v);

  // MDI frames (fsMDIForm).
  HWND ClientHandle() const { return client_handle_; }
  // The active MDI child; nullptr when none (or not an MDI frame).
  TForm* ActiveMDIChild() const;
  // The MDI children, the active one first (stacking order).
  int MDIChildCount() const;
  TForm* MDIChildren(int index) const;
  // The menu item whose drop-down lists the MDI children.
  TMenuItem* WindowMenu() const { return window_menu_; }
  void SetWindowMenu(TMenuItem* item);
  TObject* WindowMenuObject() const;
  void SetWindowMenuObject(TObject* item);
  TTileMode TileMode() const { return tile_mode_; }
  void SetTileMode(TTileMode v) { tile_mode_ = v; }
  void Tile();
  void Cascade();
  void ArrangeIcons();
  // Activates the next (previous) MDI child.
  void Next();
  void Previous();
  // An MDI child's frame: the MDI form it lives in (nullptr for others).
  TForm* MDIFrame() const;

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
  HWND CreateWindowHandle(const TCreateParams& params) override;
  void DestroyWnd() override;
  void WndProc(TMessage& message) override;
  void DefaultHandler(TMessage& message) override;
  void Notification(TComponent* component, TOperation operation) override;
  void UpdateBoundsFromWindow() override;
  void AlignedRemainder(const RECT& remainder) override;
  void BiDiModeChanged() override;

 private:
  void AdjustSize();
  void DoDestroy();
  // Shows the menu on the window (again, after a change); `tell_client`: an
  // MDI frame's client hears of the menus (WM_MDISETMENU).
  void AttachMenu(bool tell_client);
  // Takes the menu off the window before the window goes.
  void DetachMenu();
  // The menu whose bar shows for this form (an MDI child's: its frame's).
  TMainMenu* MenuBar() const;
  // MDI frames: the MDI client window; the active child's menu merged.
  void CreateClient();
  void MDIChildParams(TCreateParams& params);
  void MergeChildMenu(TForm* child);
  // WM_MDISETMENU to the client with the frame's menu and window menu.
  void TellClientMenus();
  // A frame made again: its children's windows go with the old client, so
  // they are taken down first and made again in the new one, as they were.
  void KeepChildrenForNewClient();
  void RemakeKeptChildren();
  // The menu bar shows `key` as one of its accelerators.
  bool IsMenuAccelerator(wchar_t key) const;
  bool IsMDIChildWindow() const;

  TFormBorderStyle border_style_ = bsSizeable;
  uint32_t border_icons_ = biSystemMenu | biMinimize | biMaximize;
  TPosition position_ = poDesigned;
  TFormStyle form_style_ = fsNormal;
  bool key_preview_ = false;
  int32_t client_width_ = 0;
  int32_t client_height_ = 0;
  TWinControl* active_control_ = nullptr;
  TWinControl* focused_control_ = nullptr;  // the one that last heard CM_ENTER
  TMainMenu* menu_ = nullptr;
  bool destroy_fired_ = false;
  TWindowState window_state_ = wsNormal;
  HWND client_handle_ = nullptr;
  TMenuItem* window_menu_ = nullptr;
  TTileMode tile_mode_ = tbHorizontal;
  // What a window showed (place, state, visibility), kept while it is made
  // again: a form's window is shown by Show, not by its creation.
  struct TKeptWindow {
    WINDOWPLACEMENT Placement{};
    bool Visible = false;
    bool Foreground = false;
  };
  static TKeptWindow KeepWindow(HWND wnd);
  static void ShowAsKept(HWND wnd, TKeptWindow kept);
  std::optional<TKeptWindow> kept_self_;
  // Children waiting for the new client of a frame made again, bottom
  // first.
  std::vector<std::pair<TForm*, TKeptWindow>> kept_children_;
  TForm* kept_active_ = nullptr;
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
  // The font the system draws menus with (SPI_GETNONCLIENTMETRICS), one
  // object for the program, read again when the system's settings change.
  TFont* MenuFont();
  // Reads the system's fonts again (WM_SETTINGCHANGE).
  void SettingsChanged();

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
  std::unique_ptr<TFont> menu_font_;
};

TScreen& Screen();

}  // namespace fw
