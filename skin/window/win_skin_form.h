// TWinSkinForm: the skin controller of one top-level window. The skin manager
// creates one for every window it skins (a framework form or a raw window:
// a dialog box, a message box); the controller takes over the window's
// non-client area (frame, caption, title-bar buttons, menu bar) through a
// subclass of its window procedure, and puts everything back when it goes:
// window procedure, styles, size, region, menu, colours.
//
//   auto* c = new skin::win::TWinSkinForm(form);   // owned by the form (nullptr: a raw window)
//   c->Handle = wnd;
//   c->AttachForm(data, form);                      // or c->Attach(data) for a raw window
//   PostMessage(wnd, WM_SKINATTACHED, 0, 1000);     // size kept, region built, state 1
//
// Its work is split by subject: the lifecycle and message dispatch
// (win_skin_form.cpp), the frame and caption (frame_painting.cpp), the
// title-bar buttons and the system menu (title_buttons.cpp), owner-drawn menu
// items (menu_items.cpp), MDI frames and children (mdi_support.cpp).
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/controls.h"
#include "framework/forms.h"
#include "framework/graphics.h"
#include "framework/menus.h"
#include "framework/subclass.h"
#include "framework/timers.h"
#include "framework/toolbar.h"
#include "framework/window_proc_hook.h"
#include "skin/controls/skin_control.h"
#include "skin/data/skin_elements.h"
#include "skin/data/win/skin_data_component.h"

namespace skin::win {

// Private messages of the skin engine.
inline constexpr UINT WM_SKINCOLOURS = 0x3401;
inline constexpr UINT WM_SKINREPAINTFRAME = 0x3502;
inline constexpr UINT WM_SKINATTACHED = 0x3503;
inline constexpr UINT WM_SKINQUERY = 0x3504;
inline constexpr UINT WM_SKINBUTTONACTION = 0x3514;

class TWinSkinForm;
class TWinSkinMenu;  // the skinned menu bar

// Lifecycle states of a controller.
enum TSkinFormState : int32_t {
  ssCreated = 0,  // attaching: the frame is not painted yet
  ssReady = 1,
  ssColours = 3,    // re-applying the skin colours
  ssNCDestroy = 4,  // WM_NCDESTROY in progress: nothing is restored
  ssAdjusting = 5,  // adjusting the size after attach
  ssDestroyed = 6,  // the window is gone; the manager frees the controller
};

enum TFrameKind : uint8_t { fkSizeable = 0, fkFixed = 1, fkNone = 2, fkDialog = 3 };
enum TMDIKind : uint8_t { mkNone = 0, mkFrame = 1, mkChild = 2 };
enum TWindowState : uint8_t { wsNormal = 0, wsMaximized = 1, wsMinimized = 2 };
// BorderIcons bits.
enum : uint8_t {
  biMaxBox = 1,
  biMinBox = 2,
  biSysMenu = 8,
  biCaptionRemoved = 16,  // the controller took WS_CAPTION away
};

// A clickable object of the non-client area (a title button, a menu-bar item).
class TNCObject {
 public:
  explicit TNCObject(TWinSkinForm& form) : Form(form) {}
  virtual ~TNCObject() = default;
  TNCObject(const TNCObject&) = delete;
  TNCObject& operator=(const TNCObject&) = delete;

  virtual void MouseDown();
  virtual void MouseUp();
  virtual void MouseEnter();
  virtual void MouseLeave();
  virtual void Paint() {}

  TWinSkinForm& Form;
  RECT Rect{};
  bool Visible = false;
  int32_t MouseState = 1;  // 1 normal, 2 pressed, 3 hot
};

class TWinSysButton : public TNCObject {
 public:
  TWinSysButton(TWinSkinForm& form, TDataSkinSysButton* element)
      : TNCObject(form), Element(element) {}
  void Paint() override;
  TDataSkinSysButton* Element;  // not owned
};

class TWinSkinForm : public fw::TComponent, public ISkinForm {
  FW_CLASS_INFO(TWinSkinForm)

 public:
  explicit TWinSkinForm(fw::TComponent* owner);
  ~TWinSkinForm() override;

  int32_t DisableTag() const { return disable_tag_; }
  void SetDisableTag(int32_t v) { disable_tag_ = v; }

  // --- Lifecycle (win_skin_form.cpp) ---
  void AttachForm(TSkinData* data, fw::TForm* form);
  void Attach(TSkinData* data);
  // Skinning switched off while the window lives: everything is put back.
  void Unskin();
  void UnskinOnNCDestroy();
  void UnskinControls();
  void SetNativeCaption(bool on);
  void RefreshFrame();
  void AdjustWindowSize(bool refetch);
  void UpdateWindowState();
  void ApplySkinColours();
  void RepaintWindow(HWND wnd);
  bool Attached() const { return subclass_.Installed(); }

  // Control skinners of this window (control discovery fills the list).
  bool RegisterSkinner(TSkinControl* skinner) override;
  void UnregisterSkinner(TSkinControl* skinner) override;
  TSkinControl* GetHotButton() const override { return HotButton; }
  void SetHotButton(TSkinControl* button) override { HotButton = button; }
  // Takes the hot look off the hot push button (the mouse left it unseen).
  void ResetHotButton();
  // Detaches and frees every skinner (last attached first).
  void ReleaseSkinners();
  // Frees the skinners whose window is gone.
  void PurgeDeadSkinners();
  // --- Control discovery (control_discovery.cpp) ---
  // Skinners for the controls a framework form (or container) owns.
  void SkinChildren(fw::TWinControl* parent);
  void SkinControl(fw::TControl* control, fw::TWinControl* parent);
  // The Skin3rd rule: true when the class is mapped (whether or not a
  // skinner was attached).
  bool SkinByMapping(const std::string& upper_class, fw::TControl* control);
  bool IsControlSkinned(const fw::TControl* control) const;
  // Skinners for the child windows of a raw window, by class and style.
  void SkinChildWindows();
  void SkinChildWindow(HWND wnd);
  TSkinControl* FindSkinnerByHandle(HWND wnd) const;

  // --- Frame and caption (frame_painting.cpp) ---
  void LoadFrameMetrics();
  POINT ToWindowPoint(int screen_x, int screen_y) const;
  void PaintFrame(HDC dc);
  void DrawBorder(int index, const RECT& rect, HDC dc);
  void PaintCaption(HDC dc);
  void DrawCaptionText(fw::TCanvas& canvas, const RECT& rect);
  std::wstring CaptionText() const;
  void UpdateRegion();
  void RemoveRegion();

  // --- Title buttons and system menu (title_buttons.cpp) ---
  void CreateSysButtons();
  void FreeSysButtons();
  void LoadIcon();
  void DrawIcon(HDC dc, int x, int y);
  bool IsButtonVisible(size_t index);
  void LayoutSysButtons();
  void DrawSysButtons(fw::TCanvas& canvas);
  void DrawSysButton(TWinSysButton& button, int32_t state);
  TNCObject* HitTestButtons(POINT p);
  void ButtonClick(int x, int y);
  void ToggleMaximize();
  void Restore();
  void ToggleMinimize();
  void MDIChildCommand(UINT command);
  void BuildSystemMenu();
  void ShowSystemMenu(int x, int y);
  void HoverCheck();

  // --- Owner-drawn menu items (menu_items.cpp) ---
  void SetMenuItemHooks(fw::TMenuItem* item, bool on);
  void SetPopupMenusOwnerDraw(fw::TForm* form, bool on);
  void SetMainMenusOwnerDraw(fw::TForm* form, bool on);
  void MeasureMenuItem(fw::TObject* sender, fw::TCanvas* canvas, int& width, int& height);
  void MeasurePopupItem(fw::TObject* sender, fw::TCanvas* canvas, int& width, int& height);
  void DrawMenuItem(fw::TObject* sender, fw::TCanvas* canvas, RECT rect, bool selected);
  // Takes this controller's handlers off every item of the form's menus.
  void ReleaseMenuHandlers();

  // --- MDI (mdi_support.cpp) ---
  // An MDI frame's client window gets the controller's procedure in front
  // of its own (new children are skinned, menu changes followed); put back
  // by UnhookMDIClient, or when the client window goes.
  void HookMDIClient();
  void UnhookMDIClient();
  bool MDIClientHooked() const { return client_subclass_.Installed(); }
  // An MDI frame whose active child is maximized.
  bool ActiveChildMaximized() const;
  // The active child's minimize, restore and close buttons, drawn into the
  // menu band's surface `band` (its origin at window point (BorderLeft,
  // BorderTop)) while ActiveChildMaximized holds.
  void PaintMDIButtons(HDC band);

  // --- Fields (in the order the controller's description gives them) ---
  HFONT CaptionFont() const { return caption_font_.get(); }
  fw::TTimer* HoverTimer = nullptr;  // owned (a component of the controller)
  std::wstring CaptionPrefix = L"  ";
  std::wstring CaptionSuffix = L" ";
  std::wstring DialogCaption;
  std::wstring WindowClassName;
  uint8_t SavedMenuUpdate = 0;
  bool FrameSkinned = false;
  RECT ClientRect{};
  DWORD LastSysMenuTick = 0;
  DWORD DoubleClickTime = 0;
  int32_t DialogCaptionWidth = 0;
  HWND OwnerWindow = nullptr;
  HICON Icon = nullptr;
  int32_t IconSize = 0;
  int32_t BorderLeft = 0;
  int32_t BorderTop = 0;
  int32_t BorderRight = 0;
  int32_t BorderBottom = 0;
  RECT WindowRect{};
  RECT CaptionTextRect{};
  RECT NativeFrameSize{};
  int32_t MenuBarHeight = 0;
  int32_t SysButtonCount = 0;
  bool MenuLoopActive = false;
  bool RightToLeft = false;
  bool UnicodeWindow = false;
  bool IsDialogClass = false;
  bool UnskinOnDestroy = false;
  fw::TPopupMenu* SystemMenu = nullptr;  // owned (a component of the controller)
  HWND MDIClient = nullptr;
  HWND PendingMDIChild = nullptr;
  HMENU MainMenuHandle = nullptr;
  HMENU NativeSystemMenu = nullptr;
  HMENU OpenSubmenu = nullptr;
  fw::TControlColour SavedFormColor{};
  LONG WindowStyle = 0;
  int32_t RightButtonsLeft = 0;
  TNCObject* HotObject = nullptr;
  bool HasRegion = false;
  HRGN Region = nullptr;  // owned by the window once set (SetWindowRgn)
  fw::TForm* Form = nullptr;
  HWND Handle = nullptr;
  fw::TCanvas WindowCanvas;
  fw::TCanvas ControlCanvas;
  TSkinData* SkinData = nullptr;
  TWinSkinMenu* MenuBarSkinner = nullptr;
  std::vector<std::unique_ptr<TWinSysButton>> TitleButtons;
  fw::TBitmap IconBitmap;
  fw::TBitmap CaptionBitmap;
  std::vector<TSkinControl*> Skinners;
  int32_t WindowWidth = 0;
  int32_t WindowHeight = 0;
  int32_t RegionWidth = 0;
  int32_t RegionHeight = 0;
  bool Active = true;
  TMDIKind MDIKind = mkNone;
  TFrameKind FrameKind = fkFixed;
  uint8_t BorderIcons = 0;
  TWindowState WindowState = wsNormal;
  int32_t State = ssCreated;
  TSkinControl* HotButton = nullptr;

  // The portable skin data of SkinData (never null while attached).
  skin::TSkinData& Data() const { return SkinData->Data(); }

 protected:
  void Notification(fw::TComponent* component, fw::TOperation operation) override;

 private:
  // The subclassed window procedure, in its three phases.
  void WndProc(fw::TMessage& m);
  bool Phase1(fw::TMessage& m);
  bool Phase2(fw::TMessage& m);
  void Phase3(fw::TMessage& m);
  void PassOn(fw::TMessage& m) const { subclass_.CallPrevious(m); }
  // The framework form's WindowProc hook.
  void FormWindowProc(fw::TMessage& m);
  void SizeHandler(fw::TMessage& m);
  void SysCommandHandler(fw::TMessage& m);
  // CM_MENUCHANGED: the band reads the menu again.
  void MenuChanged(fw::TMessage& m);
  // CM_DIALOGCHAR through the form's WindowProc: the menu band's accelerators first.
  void DialogChar(fw::TMessage& m);
  void SysCommandRelay(fw::TMessage& m);
  void DetectMDI();
  void MDIClientWndProc(fw::TMessage& m);
  // The menu bar reads the frame's own menu again and the band is repainted.
  void RereadFrameMenu();
  // A menu the program set on the window (SetMenu) after the band read its
  // menu: the band reads and shows it, and the window keeps none. The menu
  // it replaced stays the program's, as SetMenu leaves it.
  void AdoptWindowMenu();
  // The menu bar reads `menu` (the handle it keeps when 0): from the handle
  // with MenuMerge, else from the framework menu, or the handle of a raw
  // window.
  void ReadWindowMenu(HMENU menu);
  // An MDI child restored or minimized: the manager's MDI-maximized flag is
  // cleared when its client no longer has a maximized active child.
  void ClearMDIMaximizedWhenNone();
  void SystemMenuClick(fw::TObject* sender);

  // Frame messages (frame_painting.cpp).
  void NCCalcSize(fw::TMessage& m);
  void NCHitTest(fw::TMessage& m);
  void NCPaint(fw::TMessage& m);
  void NCActivate(fw::TMessage& m);
  // Non-client mouse messages (title_buttons.cpp); true when handled.
  bool NCMouseMove(fw::TMessage& m);
  bool NCLButtonDown(fw::TMessage& m);
  bool NCLButtonUp(fw::TMessage& m);
  bool NCLButtonDblClk(fw::TMessage& m);
  bool NCRButtonDown(fw::TMessage& m);
  // Owner-drawn menu messages (menu_items.cpp); true when handled.
  bool MeasureItem(fw::TMessage& m);
  bool DrawItem(fw::TMessage& m);

  // Control discovery (control_discovery.cpp).
  void ApplyRow(int row, fw::TControl* control);
  template <class T>
  T* AttachSkinner(fw::TControl* control, bool use_skin_colour);
  template <class T>
  T* AttachSkinnerByHandle(fw::TWinControl* control);
  template <class T>
  T* AttachScrollSkinner(fw::TWinControl* control);
  template <class T>
  T* AttachGraphicSkinner(fw::TControl* control);
  void AttachProgress(fw::TControl* control);
  void SkinToolBar(fw::TToolBar* bar);
  // The painter of tool-bar buttons installed on bars that had none.
  void PaintToolButton(fw::TToolBar* bar, fw::TToolButton* button, uint32_t state,
                       bool& default_draw);
  void ReleaseToolBars();
  std::vector<fw::TToolBar*> painted_bars_;  // bars given the painter

  int32_t disable_tag_ = 0;
  // The menu items' handlers reach the controller through this, only while
  // it lives.
  std::shared_ptr<TWinSkinForm*> life_ = std::make_shared<TWinSkinForm*>(this);
  fw::TGdiHandle<HFONT> caption_font_;
  fw::TSubclass subclass_;         // the window's procedure
  fw::TWindowProcHook form_hook_;  // the framework form's WindowProc
  fw::TSubclass client_subclass_;  // the MDI client's procedure
};

// The controller whose owner-draw handler this is, while it lives; nullptr
// for a handler of anyone else or of a controller that is gone.
TWinSkinForm* MenuHandlerOwner(const fw::TMenuDrawItemEvent& handler);
TWinSkinForm* MenuHandlerOwner(const fw::TMenuMeasureItemEvent& handler);

}  // namespace skin::win
