#include "skin/window/coverage_report.h"

#include <algorithm>
#include <sstream>
#include <vector>

#include "framework/forms.h"
#include "framework/strings.h"
#include "skin/controls/scroll_overlay.h"
#include "skin/controls/skin_combo_box.h"
#include "skin/controls/skin_manage.h"
#include "skin/data/skin_reader.h"
#include "skin/window/control_discovery.h"
#include "skin/window/discovery_rules.h"
#include "skin/window/win_skin_form.h"

namespace skin::win {

namespace {

std::string ClassOf(HWND wnd) {
  wchar_t name[128] = {};
  GetClassNameW(wnd, name, 128);
  return fw::WideToUtf8(name);
}

std::string TextOf(HWND wnd) {
  wchar_t text[41] = {};
  // The first words of the window's text, on one line.
  SendMessageW(wnd, WM_GETTEXT, 40, reinterpret_cast<LPARAM>(text));
  for (wchar_t& c : text) {
    if (c == L'\r' || c == L'\n' || c == L'\t') c = L' ';
  }
  return fw::WideToUtf8(text);
}

const char* SkinControlName(int type) {
  static const char* const names[] = {
      "xcMainMenu", "xcPopupMenu", "xcMenuItem",    "xcToolbar",     "xcControlbar",
      "xcCombo",    "xcCheckBox",  "xcRadioButton", "xcProgress",    "xcScrollbar",
      "xcEdit",     "xcButton",    "xcBitBtn",      "xcSpeedButton", "xcPanel",
      "xcGroupBox", "xcStatusBar", "xcTab",         "xcSystemMenu",  "xcFastReport"};
  return type >= 0 && type < 20 ? names[type] : "?";
}

// The skinner serving a window, among every controller's skinners, or a
// part of one (a combo box's edit part, an overlay of a scroll bar).
std::string ServedBy(const std::vector<TWinSkinForm*>& forms, HWND wnd) {
  for (const TWinSkinForm* f : forms) {
    for (const TSkinControl* s : f->Skinners) {
      if (s->Handle == wnd) return s->ClassName();
      if (s->Control != nullptr && s->Control->HandleAllocated() &&
          const_cast<fw::TWinControl*>(s->Control)->Handle() == wnd) {
        return s->ClassName();
      }
      if (const auto* combo = dynamic_cast<const TSkinComBox*>(s);
          combo != nullptr && combo->EditHandle == wnd) {
        return "the edit part, hooked by TSkinComBox";
      }
    }
  }
  if (auto* overlay = dynamic_cast<TWScrollbar*>(fw::TWinControl::FindControl(wnd))) {
    return std::string("a scroll-bar overlay of ") +
           (overlay->Manager != nullptr ? overlay->Manager->ClassName() : "a skinner");
  }
  return {};
}

class TReport {
 public:
  TReport() {
    if (TSkinManage* m = TSkinManage::Instance()) forms_ = m->SkinForms();
  }

  void TopLevel(HWND wnd) {
    TWinSkinForm* c = Controller(wnd);
    std::string what;
    if (c != nullptr) {
      what = c->FrameSkinned ? "TWinSkinForm (frame and controls)"
                             : "TWinSkinForm (controls; the frame stays native)";
    } else {
      what = "left alone: " + WindowReason(wnd);
    }
    Line(0, wnd, nullptr, what);
    Children(wnd, 1, c);
  }

  std::string Text() const { return out_.str(); }

 private:
  TWinSkinForm* Controller(HWND wnd) const {
    for (TWinSkinForm* f : forms_) {
      if (f->Handle == wnd) return f;
    }
    return nullptr;
  }

  // The drop-down list of a combo box is a top-level window of its own.
  std::string ComboListReason(HWND list) const {
    for (const TWinSkinForm* f : forms_) {
      for (const TSkinControl* s : f->Skinners) {
        const auto* combo = dynamic_cast<const TSkinComBox*>(s);
        if (combo == nullptr || combo->Handle == nullptr) continue;
        COMBOBOXINFO info{};
        info.cbSize = sizeof(info);
        if (!GetComboBoxInfo(combo->Handle, &info) || info.hwndList != list) continue;
        return combo->ListHandle == list
                   ? "the list of a combo box; its scroll bar is skinned by TSkinComBox"
                   : "the drop-down list of a combo box served by TSkinComBox (the list is the "
                     "system's)";
      }
    }
    return "the list of a combo box that is not skinned";
  }

  std::string WindowReason(HWND wnd) const {
    TSkinManage* m = TSkinManage::Instance();
    if (m == nullptr) return "no skin manager";
    if (!m->Active()) return "skinning is off";
    const std::string cls = ClassOf(wnd);
    if (cls == "#32768") {
      return m->IsPopupSkinned(wnd) ? "a menu window, skinned while it shows"
                                    : "a menu window (not open)";
    }
    if (cls == "ComboLBox") return ComboListReason(wnd);
    if (!IsWindowVisible(wnd)) {
      return "hidden (a top-level window is skinned when it is first activated)";
    }
    if (fw::TForm* form = m->FormOfHandle(wnd); form != nullptr && form->Tag() == 99) {
      return "exempted by the form's Tag 99";
    }
    if (cls == "TApplication" || cls == "TQRStandardPreview" || !m->CanSkinClass(cls)) {
      return "window class " + cls + " excluded";
    }
    RECT r;
    GetWindowRect(wnd, &r);
    if (r.right <= r.left || r.bottom <= r.top) return "no size";
    return "not attached (it was never activated)";
  }

  void Children(HWND parent, int depth, TWinSkinForm* c) {
    if (auto* w = fw::TWinControl::FindControl(parent);
        w != nullptr && w->HandleAllocated() && w->Handle() == parent) {
      // Graphic controls have no window: listed under their parent.
      for (int i = 0; i < w->ControlCount(); ++i) {
        fw::TControl* g = w->Controls(i);
        if (dynamic_cast<fw::TWinControl*>(g) != nullptr) continue;
        Line(depth, nullptr, g, Graphic(c, *g));
      }
    }
    for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
      Line(depth, child, nullptr, Child(c, parent, child));
      Children(child, depth + 1, c);
    }
  }

  std::string Graphic(const TWinSkinForm* c, const fw::TControl& g) const {
    for (const TWinSkinForm* f : forms_) {
      for (const TSkinControl* s : f->Skinners) {
        if (s->GraphicControl == &g) return s->ClassName();
      }
    }
    if (c == nullptr) return "left alone: its window is not skinned";
    return "left alone: " + ExplainControl(*c, g);
  }

  std::string Child(const TWinSkinForm* c, HWND parent, HWND child) const {
    const std::string served = ServedBy(forms_, child);
    if (!served.empty()) return served;
    if (c == nullptr) return "left alone: its window is not skinned";
    fw::TWinControl* control = fw::TWinControl::FindControl(child);
    if (control != nullptr && control->HandleAllocated() && control->Handle() == child) {
      return "left alone: " + ExplainControl(*c, *control);
    }
    if (control != nullptr || fw::TWinControl::FindControl(parent) != nullptr) {
      return "left alone: a part of the control it belongs to, drawn by it";
    }
    const std::string cls = skin::AsciiLower(ClassOf(child));
    if (skin::ChooseRawSkinner(cls, GetWindowLongW(child, GWL_STYLE),
                               GetWindow(child, GW_CHILD) != nullptr) == skin::TRawChoice::kNone) {
      return "left alone: no skinner for raw windows of class " + ClassOf(child) +
             " with this style";
    }
    return "left alone: not attached (created after its window was skinned)";
  }

  void Line(int depth, HWND wnd, const fw::TControl* g, const std::string& what) {
    out_ << std::string(static_cast<size_t>(depth) * 2, ' ');
    if (wnd != nullptr) {
      out_ << ClassOf(wnd) << " \"" << TextOf(wnd) << "\"";
      if (fw::TWinControl* c = fw::TWinControl::FindControl(wnd);
          c != nullptr && c->HandleAllocated() && c->Handle() == wnd) {
        out_ << " (" << (c->Name().empty() ? "?" : c->Name()) << " " << c->ClassName() << ")";
      }
    } else if (g != nullptr) {
      out_ << "(graphic) \"" << fw::WideToUtf8(g->Caption()) << "\" ("
           << (g->Name().empty() ? "?" : g->Name()) << " " << g->ClassName() << ")";
    }
    out_ << ": " << what << "\n";
  }

  std::vector<TWinSkinForm*> forms_;
  std::ostringstream out_;
};

}  // namespace

std::string ExplainControl(const TWinSkinForm& c, const fw::TControl& control) {
  if (c.SkinData == nullptr) return "no skin data";
  const skin::TSkinData& data = c.Data();
  if (control.Tag() % 100 == data.DisableTag) {
    return "exempted by its Tag " + std::to_string(control.Tag());
  }
  if (c.SkinData->OnSkinControl) return "refused by OnSkinControl (it returned no skinner)";
  const std::string upper = skin::AsciiUpper(control.ClassName());
  const std::string kind = skin::MappedKind(data.Skin3rd(), upper);
  if (kind == "nil") return "Skin3rd maps " + control.ClassName() + " to nil";
  if (!kind.empty()) {
    return "Skin3rd maps " + control.ClassName() + " to " + kind +
           ", whose skin-control member is off or which attached nothing to it";
  }
  if (upper == "TDBCOMBOBOXEH" || upper == "TQRPREVIEW" || upper == "TFRDESIGNERPAGE" ||
      upper == "TFRPBOX") {
    return "class " + control.ClassName() + " is never skinned";
  }
  const TDiscoveryChoice choice = ChooseRow(control, data);
  if (choice.Row == nullptr) {
    if (choice.Reason.find("switched off") != std::string::npos) return choice.Reason;
    return choice.Reason + " (" + control.ClassName() + ")";
  }
  const TDiscoveryRow& row = *choice.Row;
  if (row.Number == 5 || row.Number == 31) return "a container: its controls are skinned";
  if (row.Number == 2) return "its menu items are drawn from the skin; no skinner";
  std::string why = "row " + std::to_string(row.Number) + " (" + row.What + ") gives " +
                    row.Skinner + ", not attached";
  if (row.Requires != kNoRequirement)
    why += std::string(" (needs ") + SkinControlName(row.Requires) + ")";
  return why + ": created after its window was skinned";
}

namespace {

// EnumWindows: the top-level windows of this process, into a vector.
BOOL CALLBACK CollectOwnWindow(HWND wnd, LPARAM list) {
  DWORD process = 0;
  GetWindowThreadProcessId(wnd, &process);
  if (process == GetCurrentProcessId()) reinterpret_cast<std::vector<HWND>*>(list)->push_back(wnd);
  return TRUE;
}

}  // namespace

std::string CoverageReport() {
  TReport report;
  std::vector<HWND> tops;
  EnumWindows(CollectOwnWindow, reinterpret_cast<LPARAM>(&tops));
  for (HWND wnd : tops)
    report.TopLevel(wnd);
  return report.Text();
}

}  // namespace skin::win
