// TSkinManage: the one object of the process that decides which top-level
// windows are skinned. A window hook of the user-interface thread watches
// windows being created, activated and destroyed; the manager attaches a
// skin controller (TWinSkinForm) to every window it skins, a popup skinner
// to every menu window, and carries out what the skin data components ask
// for (start, stop, refresh), deferred by a 250 ms timer once a window has
// been activated.
//
//   skin::win::TSkinManagerScope skinning;  // at program start, around the
//                                           // application: skin data
//                                           // components then reach the manager
//
// The skin data components drive it through the portable ISkinManager
// calls; nothing else in a program needs to call it.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/forms.h"
#include "framework/hooks.h"
#include "framework/timers.h"
#include "skin/data/skin_data.h"
#include "skin/data/win/skin_data_component.h"

namespace skin::win {

class TWinSkinForm;
class TWinSkinPopMenu;

class TSkinManage : public skin::ISkinManager {
 public:
  TSkinManage();
  ~TSkinManage() override;
  TSkinManage(const TSkinManage&) = delete;
  TSkinManage& operator=(const TSkinManage&) = delete;

  // The manager of the process, or nullptr when none was made.
  static TSkinManage* Instance();

  // --- ISkinManager (the skin data components' requests) ---
  void AddSkinData(skin::TSkinData* data) override;
  void RemoveSkinData(skin::TSkinData* data) override;
  void InstallHook() override;
  void ScheduleAction(int action, int delay_ms) override;
  void SkinWindow(void* window) override { SkinWindowHandle(static_cast<HWND>(window)); }
  void ReloadForms() override;
  void SetPendingSkinData(skin::TSkinData* data) override { pending_skin_data_ = data; }
  int StartState() const override { return start_state_; }
  void SetStartState(int state) override { start_state_ = state; }
  void SetActive(bool active) override { active_ = active; }
  void ElementsReplaced(skin::TSkinData* data) override;

  bool Active() const { return active_; }
  bool Forcing() const { return forcing_; }
  int PendingAction() const { return pending_action_; }
  skin::TSkinData* PendingSkinData() const { return pending_skin_data_; }
  skin::TSkinData* MainSkinData() const { return main_skin_data_; }
  const std::vector<TWinSkinForm*>& SkinForms() const { return skin_forms_; }
  const std::vector<skin::TSkinData*>& SkinDatas() const { return skin_datas_; }
  HHOOK HookHandle() const { return hook_.Handle(); }

  // Attaches a controller to a top-level window; true when one was attached.
  bool SkinWindowHandle(HWND window);
  bool SkinFrameworkForm(fw::TForm* form);
  TWinSkinForm* FindSkinForm(HWND window) const;
  void RemoveSkinForm(HWND window);
  void PurgeClosedForms();
  skin::TSkinData* FindSkinData(HWND window) const;
  bool CanSkinClass(const std::string& class_name) const;
  fw::TForm* FormOfHandle(HWND window) const;
  bool IsPlainChild(HWND window) const;
  void DoTimer();

  // Popup menu windows.
  void SkinPopupMenu(HWND window);
  bool ReleasePopupMenu(HWND window);
  bool IsPopupSkinned(HWND window) const;
  // The background of the popup skinner that serves `menu`, or nullptr.
  fw::TBitmap* PopupBitmap(HMENU menu) const;
  // Whether a popup skinner took the right-to-left mark off the entries of
  // `menu` while it shows them (TWinSkinPopMenu::TookRightOrder).
  bool PopupTookRightOrder(HMENU menu) const;
  void MarkPopupsFromMenuBar();
  int MenuSource() const { return menu_source_; }
  void SetMenuSource(int source) { menu_source_ = source; }
  bool MenuBarPopups() const { return menu_bar_popups_; }
  void SetMenuBarPopups(bool v) { menu_bar_popups_ = v; }
  int PopupCount() const { return static_cast<int>(popup_menus_.size()); }

  // MDI.
  bool MDIMaximized() const { return mdi_maximized_; }
  void SetMDIMaximized(bool state);
  void SetMDIClient(HWND client, fw::TForm* form) {
    mdi_client_ = client;
    mdi_form_ = form;
  }
  HWND MDIClient() const { return mdi_client_; }
  fw::TForm* MDIForm() const { return mdi_form_; }

  // The trace lines of the last InstallHook (formatted, then dropped).
  const std::vector<std::string>& TraceLines() const { return trace_; }

 private:
  static LRESULT CALLBACK CbtProc(int code, WPARAM wparam, LPARAM lparam);
  void Trace(std::string line);
  void UnskinAndFree(TWinSkinForm* form);

  fw::TTimerHandle timer_;
  fw::TWindowsHook hook_;
  std::vector<TWinSkinForm*> skin_forms_;
  std::vector<std::unique_ptr<TWinSkinPopMenu>> popup_menus_;
  // Menu windows that were left unskinned and have not gone yet.
  std::vector<HWND> refused_menus_;
  std::vector<skin::TSkinData*> skin_datas_;
  bool active_ = false;
  bool forcing_ = false;
  int start_state_ = 0;
  int menu_source_ = 0;
  bool menu_bar_popups_ = false;
  bool mdi_maximized_ = false;
  HWND mdi_client_ = nullptr;
  fw::TForm* mdi_form_ = nullptr;
  int pending_action_ = 0;
  uint32_t interval_ = 250;
  skin::TSkinData* pending_skin_data_ = nullptr;
  skin::TSkinData* main_skin_data_ = nullptr;
  std::vector<std::string> trace_;
};

// Makes the skin data components of this program reach the manager (made on
// the first request). Call once at start-up; ShutdownSkinManager frees it
// (also done at the end of the program).
void UseSkinManager();
void ShutdownSkinManager();

// UseSkinManager for the life of a program's main: the manager is freed when
// the scope ends, after the application object made inside it.
class TSkinManagerScope {
 public:
  TSkinManagerScope() { UseSkinManager(); }
  ~TSkinManagerScope() { ShutdownSkinManager(); }
  TSkinManagerScope(const TSkinManagerScope&) = delete;
  TSkinManagerScope& operator=(const TSkinManagerScope&) = delete;
};

}  // namespace skin::win
