#include "skin/controls/skin_manage.h"

#include <algorithm>
#include <cstdio>

#include "framework/strings.h"
#include "skin/data/win/skin_text.h"
#include "skin/window/popup_menu_window.h"
#include "skin/window/win_skin_form.h"

namespace skin::win {

namespace {

// The manager of the process (the engine's one global object).
std::unique_ptr<TSkinManage>& Global() {
  static std::unique_ptr<TSkinManage> manager;
  return manager;
}

skin::ISkinManager* Provide(bool create) {
  auto& manager = Global();
  if (!manager && create) manager = std::make_unique<TSkinManage>();
  return manager.get();
}

std::string ClassNameA(HWND wnd) {
  char name[100] = {};
  GetClassNameA(wnd, name, sizeof(name));
  return name;
}

std::string Lower(std::string s) {
  for (char& c : s) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return s;
}

bool Has(uint32_t set, TSkinControlType type) {
  return (set & SkinControlBit(type)) != 0;
}

}  // namespace

void UseSkinManager() {
  SetSkinManagerProvider(&Provide);
}

void ShutdownSkinManager() {
  Global().reset();
}

TSkinManage* TSkinManage::Instance() {
  return Global().get();
}

TSkinManage::TSkinManage() = default;

TSkinManage::~TSkinManage() {
  start_state_ = 4;
  timer_.Stop();
  hook_.Remove();
  // Controllers of forms belong to their forms; those of raw windows are
  // the manager's to free. The popup skinners are the manager's too.
  std::vector<TWinSkinForm*> forms = skin_forms_;
  skin_forms_.clear();
  for (TWinSkinForm* form : forms) {
    if (form->Owner() == nullptr) form->Free();
  }
  popup_menus_.clear();
}

// --- Skin data components --------------------------------------------------------

void TSkinManage::AddSkinData(skin::TSkinData* data) {
  skin_datas_.push_back(data);
  if (main_skin_data_ == nullptr && data->SkinFormtype == sfMainform) main_skin_data_ = data;
}

void TSkinManage::RemoveSkinData(skin::TSkinData* data) {
  skin_datas_.erase(std::remove(skin_datas_.begin(), skin_datas_.end(), data), skin_datas_.end());
  // A component that is gone cannot serve later windows.
  if (main_skin_data_ == data) main_skin_data_ = nullptr;
  if (pending_skin_data_ == data) pending_skin_data_ = nullptr;
}

void TSkinManage::Trace(std::string line) {
  // The engine's trace routine writes nothing anywhere; the last lines are
  // kept only for the tests.
  trace_.push_back(std::move(line));
}

void TSkinManage::InstallHook() {
  if (!hook_.Installed()) hook_.Install(WH_CBT, &TSkinManage::CbtProc);
  trace_.clear();
  const auto version = static_cast<uint32_t>(WinVersion());
  char line[80];
  std::snprintf(line, sizeof(line), "Windows Version %x", version);
  Trace(line);
  std::snprintf(line, sizeof(line), "Windows Version %u %u", version & 0xFF, (version >> 8) & 0xFF);
  Trace(line);
  std::snprintf(line, sizeof(line), "ThreadId %lx", GetCurrentThreadId());
  Trace(line);
  std::snprintf(line, sizeof(line), "HookCallback %llx",
                static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(hook_.Handle())));
  Trace(line);
}

// --- The window hook -------------------------------------------------------------

LRESULT CALLBACK TSkinManage::CbtProc(int code, WPARAM wparam, LPARAM lparam) {
  TSkinManage* self = Instance();
  if (self == nullptr) return CallNextHookEx(nullptr, code, wparam, lparam);
  auto* wnd = reinterpret_cast<HWND>(wparam);
  try {
    if (code >= 0 && self->active_) {
      switch (code) {
        case HCBT_CREATEWND: {
          const CREATESTRUCTW* cs = reinterpret_cast<CBT_CREATEWNDW*>(lparam)->lpcs;
          const std::string cls = ClassNameA(wnd);
          if (cls == "ScrollBar" && (cs->style & SBS_SIZEGRIP) != 0) {
            if (TWinSkinForm* form = self->FindSkinForm(cs->hwndParent)) {
              form->SkinChildWindow(wnd);
            }
          }
          if ((cs->style & WS_CHILD) == 0) {
            if (cls == "#32768") self->SkinPopupMenu(wnd);
            if (TSkinData* main = TSkinData::FromData(self->main_skin_data_)) {
              main->WindowCreated(wnd, cls);
            }
          }
          break;
        }
        case HCBT_DESTROYWND:
          self->ReleasePopupMenu(wnd);
          break;
        case HCBT_ACTIVATE:
          if (self->start_state_ == 0) self->start_state_ = 1;
          self->SkinWindowHandle(wnd);
          break;
        default:
          break;
      }
    } else if (code == HCBT_ACTIVATE && self->start_state_ == 0) {
      self->start_state_ = 1;
    }
  } catch (...) {  // NOLINT(bugprone-empty-catch): see below
    // The hook runs inside the system's creation, activation or destruction
    // of a window: an error box opened here would create and activate
    // windows inside the hook. The window is left as it was (unskinned), as
    // a painting error leaves what was drawn.
  }
  return self->hook_.CallNext(code, wparam, lparam);
}

// --- Skinning windows ------------------------------------------------------------

fw::TForm* TSkinManage::FormOfHandle(HWND window) const {
  fw::TScreen& screen = fw::Screen();
  for (int i = 0; i < screen.FormCount(); ++i) {
    fw::TForm* form = screen.Forms(i);
    if (form->HandleAllocated() && form->Handle() == window) return form;
  }
  return nullptr;
}

bool TSkinManage::IsPlainChild(HWND window) const {
  if ((GetWindowLongW(window, GWL_STYLE) & WS_CHILD) == 0) return false;
  return Lower(ClassNameA(GetParent(window))) != "mdiclient";
}

bool TSkinManage::CanSkinClass(const std::string& class_name) const {
  TSkinData* main = TSkinData::FromData(main_skin_data_);
  if (main == nullptr) return true;
  bool do_skin = true;
  main->MaySkinClass(class_name, do_skin);
  return do_skin;
}

skin::TSkinData* TSkinManage::FindSkinData(HWND window) const {
  skin::TSkinData* found = nullptr;
  for (skin::TSkinData* data : skin_datas_) {
    if (data->SkinFormtype != sfOnlyThisForm) continue;
    TSkinData* c = TSkinData::FromData(data);
    auto* owner = c != nullptr ? dynamic_cast<fw::TForm*>(c->Owner()) : nullptr;
    if (owner != nullptr && owner->HandleAllocated() && owner->Handle() == window) found = data;
  }
  if (found != nullptr) return found;
  const std::string cls = Lower(ClassNameA(window));
  if (cls == "tmessageform" || cls == "#32770") {
    for (skin::TSkinData* data : skin_datas_) {
      if (data->SkinFormtype == sfDialog) found = data;
    }
    if (found != nullptr) return found;
  }
  for (skin::TSkinData* data : skin_datas_) {
    if (data->SkinFormtype == sfMainform) found = data;
  }
  if (found != nullptr) return found;
  return skin_datas_.empty() ? nullptr : skin_datas_.front();
}

TWinSkinForm* TSkinManage::FindSkinForm(HWND window) const {
  for (TWinSkinForm* form : skin_forms_) {
    if (form->Handle == window) return form;
  }
  return nullptr;
}

void TSkinManage::RemoveSkinForm(HWND window) {
  auto it = std::find_if(skin_forms_.begin(), skin_forms_.end(),
                         [window](const TWinSkinForm* f) { return f->Handle == window; });
  if (it != skin_forms_.end()) skin_forms_.erase(it);
}

void TSkinManage::PurgeClosedForms() {
  for (size_t i = skin_forms_.size(); i-- > 0;) {
    if (i >= skin_forms_.size()) continue;
    TWinSkinForm* form = skin_forms_[i];
    if (form->State == ssDestroyed) {
      skin_forms_.erase(skin_forms_.begin() + static_cast<ptrdiff_t>(i));
      form->Free();
    }
  }
}

bool TSkinManage::SkinWindowHandle(HWND window) {
  if (!active_ || window == nullptr) return false;
  PurgeClosedForms();
  if (SendMessageW(window, WM_SKINQUERY, 0, 0) == 1 || FindSkinForm(window) != nullptr) {
    return false;
  }
  fw::TForm* form = FormOfHandle(window);
  if (!forcing_ && IsPlainChild(window)) return false;
  RECT r;
  GetWindowRect(window, &r);
  if (static_cast<int64_t>(r.right - r.left) * (r.bottom - r.top) == 0) return false;
  if (form != nullptr && form->Tag() == 99) return false;
  const std::string cls = ClassNameA(window);
  if (cls == "TApplication" || cls == "TQRStandardPreview" || !CanSkinClass(cls)) return false;
  skin::TSkinData* data = FindSkinData(window);
  if (data == nullptr || data->NotLoaded) return false;
  TSkinData* component = TSkinData::FromData(data);
  if (component == nullptr) return false;
  auto* controller = new TWinSkinForm(form);
  controller->Handle = window;
  if (form != nullptr) {
    controller->AttachForm(component, form);
  } else {
    controller->Attach(component);
  }
  skin_forms_.push_back(controller);
  PostMessageW(window, WM_SKINATTACHED, 0, 1000);
  return true;
}

bool TSkinManage::SkinFrameworkForm(fw::TForm* form) {
  if (!form->Visible() || !form->HandleAllocated()) return false;
  if ((GetWindowLongW(form->Handle(), GWL_STYLE) & WS_CHILD) != 0 &&
      form->FormStyle() != fw::fsMDIChild) {
    return false;
  }
  return SkinWindowHandle(form->Handle());
}

// --- Deferred requests -----------------------------------------------------------

void TSkinManage::ScheduleAction(int action, int delay_ms) {
  pending_action_ = action;
  interval_ = static_cast<uint32_t>(std::max(delay_ms, 1));
  if (start_state_ != 0) {
    timer_.Start(interval_, [this] { DoTimer(); });
    return;
  }
  // Nothing was activated yet: nothing to defer.
  if (action == 1) active_ = true;
  if (action == 2) active_ = false;
}

void TSkinManage::ReloadForms() {
  for (TWinSkinForm* form : skin_forms_) {
    if (&form->Data() == pending_skin_data_) form->FreeSysButtons();
  }
}

void TSkinManage::ElementsReplaced(skin::TSkinData* data) {
  // Title buttons point at the elements they draw: they are made again from
  // the new ones before the old ones are freed. Control skinners read the
  // elements at every paint and keep none.
  for (TWinSkinForm* form : skin_forms_) {
    if (&form->Data() != data || form->TitleButtons.empty()) continue;
    form->FreeSysButtons();
    form->CreateSysButtons();
  }
}

void TSkinManage::UnskinAndFree(TWinSkinForm* form) {
  form->Unskin();
  form->RepaintWindow(form->Handle);
  skin_forms_.erase(std::remove(skin_forms_.begin(), skin_forms_.end(), form), skin_forms_.end());
  form->Free();
}

void TSkinManage::DoTimer() {
  skin::TSkinData* data = pending_skin_data_;
  if (data == nullptr) return;
  timer_.Stop();
  fw::TScreen& screen = fw::Screen();
  TSkinData* component = TSkinData::FromData(data);
  if (data->SkinFormtype == sfOnlyThisForm) {
    switch (pending_action_) {
      case 1: {
        active_ = true;
        forcing_ = true;
        auto* owner = component != nullptr ? dynamic_cast<fw::TForm*>(component->Owner()) : nullptr;
        for (int i = screen.FormCount(); i-- > 0;) {
          if (screen.Forms(i) == owner) {
            SkinFrameworkForm(owner);
            break;
          }
        }
        forcing_ = false;
        break;
      }
      case 2:
        active_ = false;
        PurgeClosedForms();
        for (size_t i = skin_forms_.size(); i-- > 0;) {
          if (&skin_forms_[i]->Data() == data) {
            UnskinAndFree(skin_forms_[i]);
            break;
          }
        }
        break;
      case 3:
        PurgeClosedForms();
        for (TWinSkinForm* form : skin_forms_) {
          if (&form->Data() == data) {
            form->FreeSysButtons();
            form->LoadFrameMetrics();
            form->ApplySkinColours();
            break;
          }
        }
        break;
      default:
        break;
    }
  } else {
    switch (pending_action_) {
      case 1: {
        active_ = true;
        forcing_ = true;
        PurgeClosedForms();
        std::vector<fw::TForm*> forms;
        for (int i = 0; i < screen.FormCount(); ++i)
          forms.push_back(screen.Forms(i));
        for (auto it = forms.rbegin(); it != forms.rend(); ++it)
          SkinFrameworkForm(*it);
        forcing_ = false;
        break;
      }
      case 2:
        active_ = false;
        PurgeClosedForms();
        while (!skin_forms_.empty())
          UnskinAndFree(skin_forms_.back());
        break;
      case 3: {
        PurgeClosedForms();
        std::vector<TWinSkinForm*> forms;
        for (TWinSkinForm* form : skin_forms_) {
          if (&form->Data() == data) forms.push_back(form);
        }
        for (TWinSkinForm* form : forms) {
          form->FreeSysButtons();
          form->LoadFrameMetrics();
        }
        for (TWinSkinForm* form : forms)
          form->ApplySkinColours();
        break;
      }
      default:
        break;
    }
  }
  if (component != nullptr) {
    component->SkinChanged();
  } else {
    data->SkinChanged();
  }
  pending_skin_data_ = nullptr;
}

// --- Popup menus -----------------------------------------------------------------

bool TSkinManage::IsPopupSkinned(HWND window) const {
  return std::any_of(popup_menus_.begin(), popup_menus_.end(),
                     [window](const auto& p) { return p->Handle == window; });
}

void TSkinManage::SkinPopupMenu(HWND window) {
  if (!active_) return;
  if (SendMessageW(window, WM_SKINQUERY, 0, 0) == 1 || IsPopupSkinned(window)) return;
  // A menu window left unskinned is remembered: when it goes, what the
  // source said ends with it, as it does when a skinned one goes (a system
  // menu refused must not make the next context menu count as one).
  auto refuse = [this, window] {
    std::erase_if(refused_menus_, [](HWND w) { return !IsWindow(w); });
    refused_menus_.push_back(window);
  };
  skin::TSkinData* data = FindSkinData(window);
  TSkinData* component = data != nullptr && !data->NotLoaded ? TSkinData::FromData(data) : nullptr;
  if (component == nullptr) {
    refuse();
    return;
  }
  const uint32_t controls = data->SkinControls;
  bool allowed = false;
  switch (menu_source_) {
    case 0:
      allowed = Has(controls, xcPopupMenu);
      break;
    case 1:
      allowed = Has(controls, xcMainMenu) || Has(controls, xcMenuItem);
      break;
    case 2:
      allowed = Has(controls, xcSystemMenu);
      break;
    default:
      break;
  }
  if (!allowed) {
    refuse();
    return;
  }
  auto popup = std::make_unique<TWinSkinPopMenu>();
  popup->Attach(window, component, nullptr);
  popup->FromMenuBar = menu_bar_popups_;
  popup_menus_.push_back(std::move(popup));
}

bool TSkinManage::ReleasePopupMenu(HWND window) {
  auto it = std::find_if(popup_menus_.begin(), popup_menus_.end(),
                         [window](const auto& p) { return p->Handle == window; });
  if (it == popup_menus_.end()) {
    auto refused = std::find(refused_menus_.begin(), refused_menus_.end(), window);
    if (refused == refused_menus_.end()) return false;
    refused_menus_.erase(refused);
    if (popup_menus_.empty()) {
      menu_bar_popups_ = false;
      menu_source_ = 0;
    }
    return false;
  }
  (*it)->Detach();
  if (PendingPopup() == it->get()) PendingPopup() = nullptr;
  popup_menus_.erase(it);
  if (popup_menus_.empty()) {
    menu_bar_popups_ = false;
    menu_source_ = 0;
  }
  return true;
}

fw::TBitmap* TSkinManage::PopupBitmap(HMENU menu) const {
  for (const auto& p : popup_menus_) {
    if (p->Menu == menu) return &p->Background;
  }
  return nullptr;
}

bool TSkinManage::PopupTookRightOrder(HMENU menu) const {
  return std::any_of(popup_menus_.begin(), popup_menus_.end(),
                     [menu](const auto& p) { return p->TookRightOrder(menu); });
}

void TSkinManage::MarkPopupsFromMenuBar() {
  for (const auto& p : popup_menus_)
    p->FromMenuBar = true;
}

// --- MDI -------------------------------------------------------------------------

void TSkinManage::SetMDIMaximized(bool state) {
  if (state == mdi_maximized_) return;
  mdi_maximized_ = state;
  for (TWinSkinForm* form : skin_forms_) {
    // A child whose window is gone waits only to be freed.
    if (form->MDIKind != mkChild || form->State == ssDestroyed) continue;
    if (state) {
      if (form->HasRegion) form->RemoveRegion();
      form->SetNativeCaption(true);
    } else if (form->WindowState == wsMinimized) {
      form->SetNativeCaption(true);
    } else {
      form->WindowState = wsNormal;
      form->UpdateRegion();
      form->SetNativeCaption(false);
      if (!form->HasRegion) form->RefreshFrame();
    }
  }
}

}  // namespace skin::win
