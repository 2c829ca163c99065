// Control discovery: which skinner serves each control of a skinned window.
// A framework form's owned components are walked and decided by the tag, the
// program's OnSkinControl handler, the skin data's class-name mapping
// (Skin3rd) and the built-in table below; a raw window's child windows are
// decided by window class and button style.
#include <algorithm>
#include <string>

#include "framework/buttons.h"
#include "framework/comctrls.h"
#include "framework/gauges.h"
#include "framework/listviews.h"
#include "framework/panels.h"
#include "framework/scrolling.h"
#include "framework/stdctrls.h"
#include "framework/strings.h"
#include "framework/tabs.h"
#include "framework/toolbar.h"
#include "skin/controls/skin_box.h"
#include "skin/controls/skin_button.h"
#include "skin/controls/skin_check_box.h"
#include "skin/controls/skin_combo_box.h"
#include "skin/controls/skin_edit.h"
#include "skin/controls/skin_progress.h"
#include "skin/controls/skin_scrollbar.h"
#include "skin/controls/skin_sizer.h"
#include "skin/controls/skin_status_bar.h"
#include "skin/controls/skin_tab.h"
#include "skin/controls/skin_up_down.h"
#include "skin/data/skin_reader.h"
#include "skin/window/control_discovery.h"
#include "skin/window/discovery_rules.h"
#include "skin/window/win_skin_form.h"

namespace skin::win {

namespace {

bool Has(uint32_t set, TSkinControlType type) {
  return (set & SkinControlBit(type)) != 0;
}

std::string WindowClassLower(HWND wnd) {
  wchar_t name[101] = {};
  GetClassNameW(wnd, name, 101);
  return skin::AsciiLower(fw::WideToUtf8(name));
}

template <class T>
bool Is(const fw::TControl& c) {
  return dynamic_cast<const T*>(&c) != nullptr;
}

// Controls made to hold other controls: their owned components are walked
// too (controls placed on them are mostly owned by the form, which the
// form's own walk reaches).
bool IsContainer(const fw::TControl& c) {
  const auto* w = dynamic_cast<const fw::TWinControl*>(&c);
  return w != nullptr && w->IsContainer();
}

}  // namespace

// --- The decision --------------------------------------------------------------

const std::vector<TDiscoveryRow>& DiscoveryTable() {
  using R = TDiscoveryRow;
  auto name_is = [](std::initializer_list<const char*> names) {
    return [names = std::vector<std::string>(names.begin(), names.end())](
               const fw::TControl&, const std::string& upper) {
      return std::find(names.begin(), names.end(), upper) != names.end();
    };
  };
  static const std::vector<TDiscoveryRow> table = {
      R{1, "a tab or page control",
        [](const fw::TControl& c, const std::string&) { return Is<fw::TCustomTabControl>(c); },
        xcTab, true, "TSkinTab", false},
      R{2, "a control that carries its own menu item tree",
        [](const fw::TControl& c, const std::string&) {
          return dynamic_cast<fw::TMenuItem*>(fw::GetObjectProp(&c, "Items")) != nullptr;
        },
        xcMainMenu, false, "menu item hooks"},
      R{3, "class TTabSet", name_is({"TTABSET"}), xcTab, true, "TSkinTab31"},
      R{4, "class TTabbedNotebook", name_is({"TTABBEDNOTEBOOK"}), xcTab, true, "TSkinTab"},
      R{5, "class TMVCPanel", name_is({"TMVCPANEL"}), kNoRequirement, false, "its children"},
      R{6, "a check box",
        [](const fw::TControl& c, const std::string&) { return Is<fw::TCustomCheckBox>(c); },
        xcCheckBox, false, "TSkinCheckBox"},
      R{7, "class TTrackBar", name_is({"TTRACKBAR"}), xcButton, false, "TSkinTrackBar"},
      R{8, "class TUpDown or TSpinButton", name_is({"TUPDOWN", "TSPINBUTTON"}), xcButton, false,
        "TSkinUpDown"},
      R{9, "a radio group",
        [](const fw::TControl& c, const std::string&) { return Is<fw::TCustomRadioGroup>(c); },
        xcRadioButton, false, "TSkinGroupBox"},
      R{10, "class TDBNavigator", name_is({"TDBNAVIGATOR"}), xcPanel, false, "TSkinBox"},
      R{11, "class TRzDBCheckBox", name_is({"TRZDBCHECKBOX"}), xcCheckBox, false, "TSkinObjImage"},
      R{12, "a group box",
        [](const fw::TControl& c, const std::string&) { return Is<fw::TCustomGroupBox>(c); },
        xcPanel, false, "TSkinGroupBox"},
      R{13, "a radio button",
        [](const fw::TControl& c, const std::string&) { return Is<fw::TRadioButton>(c); },
        xcRadioButton, false, "TSkinRadioButton"},
      R{14, "a tool bar",
        [](const fw::TControl& c, const std::string&) { return Is<fw::TToolBar>(c); }, xcToolbar,
        false, "TSkinBox"},
      R{15, "a status bar",
        [](const fw::TControl& c, const std::string&) { return Is<fw::TCustomStatusBar>(c); },
        xcStatusBar, false, "TSkinStatusBar"},
      // The framework's gauge, a graphic control that shows progress as a
      // bar, counts as one too.
      R{16, "a progress bar or gauge",
        [](const fw::TControl& c, const std::string&) {
          return Is<fw::TProgressBar>(c) || Is<fw::TGauge>(c);
        },
        xcProgress, false, "TSkinProgress"},
      R{17, "a scroll-bar control",
        [](const fw::TControl& c, const std::string&) { return Is<fw::TScrollBar>(c); },
        xcScrollbar, false, "TSkinScControl"},
      R{18, "a combo box",
        [](const fw::TControl& c, const std::string&) { return Is<fw::TCustomComboBox>(c); },
        xcCombo, false, "TSkinComBox"},
      R{19, "class TDateTimePicker", name_is({"TDATETIMEPICKER"}), xcEdit, false,
        "TSkinEdit or TSkinComBox"},
      R{20, "a rich edit or memo of another library",
        name_is({"TRICHEDIT", "TWWDBRICHEDIT", "TDXDBMEMO"}), xcScrollbar, false, "TSkinScrollbar"},
      R{21, "a glyph button",
        [](const fw::TControl& c, const std::string&) { return Is<fw::TBitBtn>(c); }, xcBitBtn,
        false, "TSkinBitButton", /*final=*/true},
      R{22, "a speed button",
        [](const fw::TControl& c, const std::string&) { return Is<fw::TSpeedButton>(c); },
        xcSpeedButton, false, "TSkinSpeedButton"},
      R{23, "a panel",
        [](const fw::TControl& c, const std::string&) { return Is<fw::TCustomPanel>(c); }, xcPanel,
        false, "TSkinBox"},
      R{24, "a tree list or grid of another library",
        name_is({"TDXTREELIST", "TDXDBTREELIST", "TDXDBGRID"}), xcScrollbar, false,
        "TSkinScrollbar"},
      R{25, "a list view",
        [](const fw::TControl& c, const std::string&) { return Is<fw::TCustomListView>(c); },
        xcScrollbar, false, "TSkinListView"},
      R{26, "a list or tree control with scroll bars",
        [](const fw::TControl& c, const std::string&) {
          return Is<fw::TCustomListBox>(c) || Is<fw::TCustomTreeView>(c);
        },
        xcScrollbar, false, "TSkinScrollbar"},
      R{27, "a control with scroll bars (or Tag 55)",
        [](const fw::TControl& c, const std::string&) { return HasScrollBars(c); }, xcScrollbar,
        false, "TSkinScrollbar"},
      R{28, "a push button",
        [](const fw::TControl& c, const std::string&) { return Is<fw::TButton>(c); }, xcButton,
        false, "TSkinButton"},
      R{29, "an edit",
        [](const fw::TControl& c, const std::string&) { return Is<fw::TCustomEdit>(c); }, xcEdit,
        false, "TSkinEdit"},
      R{30, "class TDCEdit or TDCDBEdit", name_is({"TDCEDIT", "TDCDBEDIT"}), kNoRequirement, false,
        "TSkinComBox or TSkinEdit", /*final=*/true},
      R{31, "a container", [](const fw::TControl& c, const std::string&) { return IsContainer(c); },
        kNoRequirement, false, "its children"},
      R{32, "a form inside another control",
        [](const fw::TControl& c,
           const std::string&) { return Is<fw::TCustomForm>(c) && c.Parent() != nullptr; },
        kNoRequirement, false, "TSkinBox"},
  };
  return table;
}

bool HasScrollBars(const fw::TControl& control) {
  const auto* w = dynamic_cast<const fw::TWinControl*>(&control);
  if (w == nullptr) return false;
  if (control.Tag() == 55) return true;
  if (!w->HandleAllocated()) return false;
  const LONG style = GetWindowLongW(const_cast<fw::TWinControl*>(w)->Handle(), GWL_STYLE);
  return (style & (WS_HSCROLL | WS_VSCROLL)) != 0;
}

bool RowAvailable(const TDiscoveryRow& row, const skin::TSkinData& data) {
  if (row.Requires != kNoRequirement &&
      !Has(data.SkinControls, static_cast<TSkinControlType>(row.Requires))) {
    return false;
  }
  if (row.NeedsTabs && data.Tabs == nullptr) return false;
  return true;
}

TDiscoveryChoice ChooseRow(const fw::TControl& control, const skin::TSkinData& data) {
  const std::string upper = skin::AsciiUpper(control.ClassName());
  for (const TDiscoveryRow& row : DiscoveryTable()) {
    if (!row.Matches(control, upper)) continue;
    if (RowAvailable(row, data)) return TDiscoveryChoice{&row, ""};
    if (row.Final) {
      return TDiscoveryChoice{nullptr, "row " + std::to_string(row.Number) + " (" + row.What +
                                           ") is switched off by SkinControls"};
    }
  }
  return TDiscoveryChoice{nullptr, "no row of the built-in table matches"};
}

// --- The controller's side -------------------------------------------------------

namespace {

bool Drawable(const skin::TDataSkinObject* e) {
  return e != nullptr && !e->Bitmap.Empty();
}

}  // namespace

template <class T>
T* TWinSkinForm::AttachSkinner(fw::TControl* control, bool use_skin_colour) {
  auto* skinner = new T(control);
  skinner->Attach(this, SkinData, use_skin_colour, &ControlCanvas);
  return skinner;
}

template <class T>
T* TWinSkinForm::AttachGraphicSkinner(fw::TControl* control) {
  auto* skinner = new T(control);
  skinner->AttachGraphic(this, SkinData, &ControlCanvas);
  return skinner;
}

// A progress bar has a window; a gauge is a graphic control.
void TWinSkinForm::AttachProgress(fw::TControl* control) {
  if (dynamic_cast<fw::TWinControl*>(control) != nullptr) {
    AttachSkinner<TSkinProgress>(control, false);
  } else {
    AttachGraphicSkinner<TSkinProgress>(control);
  }
}

template <class T>
T* TWinSkinForm::AttachSkinnerByHandle(fw::TWinControl* control) {
  auto* skinner = new T(control);
  skinner->AttachHandle(control->Handle(), SkinData, this, &ControlCanvas);
  return skinner;
}

template <class T>
T* TWinSkinForm::AttachScrollSkinner(fw::TWinControl* control) {
  auto* skinner = new T(control);
  skinner->AttachScroll(control, SkinData, this, &ControlCanvas);
  return skinner;
}

void TWinSkinForm::SkinChildren(fw::TWinControl* parent) {
  PurgeDeadSkinners();
  if (parent == nullptr || SkinData == nullptr) return;
  // Skinners made during the walk join the components of the controls they
  // serve, not of `parent`; the walk is by index and re-checks the count.
  for (int i = 0; i < parent->ComponentCount(); ++i) {
    if (auto* control = dynamic_cast<fw::TControl*>(parent->Components(i))) {
      SkinControl(control, parent);
    }
  }
}

bool TWinSkinForm::IsControlSkinned(const fw::TControl* control) const {
  const auto* windowed = dynamic_cast<const fw::TWinControl*>(control);
  for (const TSkinControl* s : Skinners) {
    if (s->Control != nullptr || s->GraphicControl != nullptr) {
      if (s->Control == control || s->GraphicControl == control) return true;
      continue;
    }
    if (windowed == nullptr) continue;
    if (!windowed->HandleAllocated()) {
      // A handle-only skinner met before the control has a window: only a
      // print preview counts as skinned already.
      const std::string name = Form != nullptr ? skin::AsciiLower(Form->Name()) : std::string();
      const std::string plain = Form != nullptr ? Form->Name() : std::string();
      return name.find("preview") != std::string::npos || plain == "TQRStandardPreview" ||
             plain == "TppPrintPreview" || plain == "TdxfmStdPreview";
    }
    if (const_cast<fw::TWinControl*>(windowed)->Handle() == s->Handle) return true;
  }
  return false;
}

void TWinSkinForm::SkinControl(fw::TControl* control, fw::TWinControl* parent) {
  const skin::TSkinData& data = Data();
  if (control->Tag() % 100 == data.DisableTag || IsControlSkinned(control)) return;
  auto* windowed = dynamic_cast<fw::TWinControl*>(control);
  if (windowed != nullptr && !windowed->HandleAllocated()) {
    try {
      windowed->HandleNeeded();
    } catch (const std::exception&) {
      return;  // a control that cannot have a window stays as it is
    }
  }
  const std::string class_name = control->ClassName();
  const std::string upper = skin::AsciiUpper(class_name);
  if (SkinData->OnSkinControl) {
    fw::TComponent* made = nullptr;
    SkinData->OnSkinControl(this, SkinData, parent, control, fw::Utf8ToWide(upper), made);
    if (auto* skinner = dynamic_cast<TSkinControl*>(made)) {
      if (!RegisterSkinner(skinner)) {
        skinner->Attach(this, SkinData, skinner->UseSkinColour, &ControlCanvas);
      }
      if (auto* panel = dynamic_cast<fw::TCustomPanel*>(control)) SkinChildren(panel);
    }
    return;
  }
  if (SkinByMapping(upper, control)) return;
  if (upper == "TDBCOMBOBOXEH" || upper == "TQRPREVIEW" || upper == "TFRDESIGNERPAGE" ||
      upper == "TFRPBOX") {
    return;
  }
  const TDiscoveryChoice choice = ChooseRow(*control, data);
  if (choice.Row != nullptr) ApplyRow(choice.Row->Number, control);
}

void TWinSkinForm::ApplyRow(int row, fw::TControl* control) {
  const skin::TSkinData& data = Data();
  auto* windowed = dynamic_cast<fw::TWinControl*>(control);
  switch (row) {
    case 1:
    case 4:
      if (windowed != nullptr) AttachSkinnerByHandle<TSkinTab>(windowed);
      return;
    case 2:
      if (auto* items = dynamic_cast<fw::TMenuItem*>(fw::GetObjectProp(control, "Items"))) {
        SetMenuItemHooks(items, true);
      }
      return;
    case 3:
      AttachSkinner<TSkinTab31>(control, false);
      return;
    case 5:
    case 31:
      if (windowed != nullptr) SkinChildren(windowed);
      return;
    case 6:
      AttachSkinner<TSkinCheckBox>(control, false);
      return;
    case 7:
      AttachSkinner<TSkinTrackBar>(control, false);
      return;
    case 8:
      AttachSkinner<TSkinUpDown>(control, false);
      return;
    case 9: {
      for (int i = 0; windowed != nullptr && i < windowed->ControlCount(); ++i) {
        fw::TControl* child = windowed->Controls(i);
        if (!IsControlSkinned(child) && dynamic_cast<fw::TWinControl*>(child) != nullptr) {
          AttachSkinner<TSkinRadioButton>(child, false);
        }
      }
      AttachSkinner<TSkinGroupBox>(control, true);
      return;
    }
    case 10:
      fw::SetPropByName(control, "Flat", "True");
      AttachSkinner<TSkinBox>(control, true);
      return;
    case 11: {
      auto* image = new TSkinObjImage(control);
      image->Kind = 1;
      image->Attach(this, SkinData, true, &ControlCanvas);
      return;
    }
    case 12:
      AttachSkinner<TSkinGroupBox>(control, true);
      if (windowed != nullptr) SkinChildren(windowed);
      return;
    case 13:
      AttachSkinner<TSkinRadioButton>(control, false);
      return;
    case 14:
      SkinToolBar(dynamic_cast<fw::TToolBar*>(control));
      return;
    case 15:
      // The skinned status bar draws no size grip of its own; the window's
      // frame does the sizing.
      fw::SetPropByName(control, "SizeGrip", "False");
      AttachSkinner<TSkinStatusBar>(control, false);
      return;
    case 16:
      AttachProgress(control);
      return;
    case 17:
      if (windowed != nullptr) AttachScrollSkinner<TSkinScControl>(windowed);
      return;
    case 18:
      AttachSkinner<TSkinComBox>(control, false);
      return;
    case 19:
      if (fw::GetIntProp(control, "ShowCheckbox") != 0 || fw::GetIntProp(control, "Kind") != 0) {
        AttachSkinner<TSkinEdit>(control, false);
      } else {
        AttachSkinner<TSkinComBox>(control, false);
      }
      return;
    case 20:
    case 24:
    case 26:
    case 27:
      if (windowed != nullptr) AttachScrollSkinner<TSkinScrollbar>(windowed);
      return;
    case 21:
      AttachSkinner<TSkinBitButton>(control, false);
      return;
    case 22: {
      AttachGraphicSkinner<TSkinSpeedButton>(control);
      return;
    }
    case 23:
      AttachSkinner<TSkinBox>(control, true);
      if (windowed != nullptr) SkinChildren(windowed);
      return;
    case 25:
      if (windowed != nullptr) AttachScrollSkinner<TSkinListView>(windowed);
      return;
    case 28:
      AttachSkinner<TSkinButton>(control, false);
      return;
    case 29:
      if (windowed != nullptr) AttachSkinnerByHandle<TSkinEdit>(windowed);
      return;
    case 30: {
      const int64_t buttons = fw::GetIntProp(control, "NumButtons");
      if (buttons == 1 && Has(data.SkinControls, xcCombo)) {
        AttachSkinner<TSkinComBox>(control, false);
      } else if (buttons == 0 && Has(data.SkinControls, xcEdit) && windowed != nullptr) {
        AttachSkinnerByHandle<TSkinEdit>(windowed);
      }
      return;
    }
    case 32:
      AttachSkinner<TSkinBox>(control, true);
      if (windowed != nullptr) SkinChildren(windowed);
      return;
    default:
      return;
  }
}

bool TWinSkinForm::SkinByMapping(const std::string& upper_class, fw::TControl* control) {
  const skin::TSkinData& data = Data();
  const std::string kind = skin::MappedKind(data.Skin3rd(), upper_class);
  if (kind.empty()) return false;
  if (kind == "nil") return true;
  const uint32_t set = data.SkinControls;
  auto* windowed = dynamic_cast<fw::TWinControl*>(control);
  auto children = [&](auto attach) {
    for (int i = 0; windowed != nullptr && i < windowed->ControlCount(); ++i) {
      attach(windowed->Controls(i));
    }
  };
  if (kind == "combobox") {
    if (Has(set, xcCombo)) AttachSkinner<TSkinComBox>(control, false);
  } else if (kind == "edit") {
    if (Has(set, xcEdit) && windowed != nullptr) AttachSkinnerByHandle<TSkinEdit>(windowed);
  } else if (kind == "radiobutton") {
    if (Has(set, xcRadioButton)) AttachSkinner<TSkinRadioButton>(control, false);
  } else if (kind == "panel") {
    if (Has(set, xcPanel)) {
      fw::SetPropByName(control, "Transparent", "True");
      AttachSkinner<TSkinBox>(control, true);
    }
  } else if (kind == "trackbar") {
    if (Has(set, xcButton)) {
      fw::SetPropByName(control, "Transparent", "True");
      AttachSkinner<TSkinTrackBar>(control, false);
    }
  } else if (kind == "button") {
    if (Has(set, xcButton)) AttachSkinner<TSkinButton>(control, false);
  } else if (kind == "bitbtn") {
    if (Has(set, xcButton)) AttachSkinner<TSkinBitButton>(control, false);
  } else if (kind == "speedbutton") {
    if (Has(set, xcSpeedButton)) {
      AttachGraphicSkinner<TSkinSpeedButton>(control);
    }
  } else if (kind == "tab") {
    if (Has(set, xcTab) && data.Tabs != nullptr && windowed != nullptr) {
      AttachSkinnerByHandle<TSkinTab>(windowed);
    }
  } else if (kind == "progress") {
    if (Has(set, xcProgress)) AttachProgress(control);
  } else if (kind == "scrollbar") {
    if (Has(set, xcScrollbar) && windowed != nullptr) {
      AttachScrollSkinner<TSkinScrollbar>(windowed);
      SkinChildren(windowed);
    }
  } else if (kind == "embedscrollbar") {
    if (Has(set, xcScrollbar)) {
      children([&](fw::TControl* child) {
        if (auto* bar = dynamic_cast<fw::TScrollBar*>(child))
          AttachScrollSkinner<TSkinScControl>(bar);
      });
    }
  } else if (kind == "groupbox") {
    if (Has(set, xcGroupBox)) AttachSkinner<TSkinGroupBox>(control, true);
  } else if (kind == "radiogroup") {
    if (Has(set, xcGroupBox)) {
      if (Has(set, xcRadioButton)) {
        children([&](fw::TControl* child) {
          if (dynamic_cast<fw::TWinControl*>(child) != nullptr && !IsControlSkinned(child)) {
            AttachSkinner<TSkinRadioButton>(child, false);
          }
        });
      }
      AttachSkinner<TSkinGroupBox>(control, true);
    }
  } else if (kind == "checkgroup") {
    if (Has(set, xcPanel)) {
      if (Has(set, xcRadioButton)) {
        children([&](fw::TControl* child) {
          if (dynamic_cast<fw::TWinControl*>(child) != nullptr && !IsControlSkinned(child)) {
            AttachSkinner<TSkinCheckBox>(child, false);
          }
        });
      }
      if (Has(set, xcGroupBox)) AttachSkinner<TSkinGroupBox>(control, true);
    }
  } else if (kind == "checkbox") {
    if (Has(set, xcCheckBox)) AttachSkinner<TSkinCheckBox>(control, false);
  }
  return true;
}

void TWinSkinForm::SkinToolBar(fw::TToolBar* bar) {
  if (bar == nullptr) return;
  bar->SetFlat(true);
  if (!bar->OnCustomDrawButton) {
    bar->OnCustomDrawButton = [this](fw::TToolBar* sender, fw::TToolButton* button,
                                     fw::TCustomDrawState state, bool& default_draw) {
      PaintToolButton(sender, button, state, default_draw);
    };
    painted_bars_.push_back(bar);
    bar->FreeNotification(this);
  }
  AttachSkinner<TSkinBox>(bar, true);
  if (fw::TMainMenu* menu = bar->Menu()) SetMenuItemHooks(menu->Items(), true);
}

void TWinSkinForm::PaintToolButton(fw::TToolBar* bar, fw::TToolButton* button,
                                   fw::TCustomDrawState state, bool& /*default_draw*/) {
  if (State != ssReady || SkinData == nullptr || button == nullptr) return;
  const skin::TSkinData& data = Data();
  const skin::TDataSkinButton* e = data.Buttons.get();
  if (!Drawable(e)) return;
  const int frame = skin::ToolButtonFrame(state);
  if (frame == 0) return;
  fw::TCanvas* canvas = bar->Canvas();
  if (frame == 1 && e->HasNormalColour2) canvas->Font()->SetColor(e->NormalColour2);
  if (frame == 4 && e->HasMouseOverColour2) canvas->Font()->SetColor(e->MouseOverColour2);
  if (frame == 2 && e->HasPressedColour2) canvas->Font()->SetColor(e->PressedColour2);
  RECT r = button->BoundsRect();
  InflateRect(&r, -1, -1);
  DrawElement(canvas->Handle(), r, 5, frame, e);
}

void TWinSkinForm::ReleaseToolBars() {
  for (fw::TToolBar* bar : painted_bars_) {
    bar->OnCustomDrawButton = nullptr;
    bar->RemoveFreeNotification(this);
  }
  painted_bars_.clear();
}

// --- Raw windows -------------------------------------------------------------------

void TWinSkinForm::SkinChildWindows() {
  for (HWND child = GetTopWindow(Handle); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    if ((GetWindowLongW(child, GWL_STYLE) & WS_CHILD) != 0) SkinChildWindow(child);
  }
}

void TWinSkinForm::SkinChildWindow(HWND wnd) {
  if (wnd == nullptr || FindSkinnerByHandle(wnd) != nullptr || SkinData == nullptr) return;
  const std::string cls = WindowClassLower(wnd);
  const LONG style = GetWindowLongW(wnd, GWL_STYLE);
  HWND first_child = GetTopWindow(wnd);
  auto attach = [this](TSkinControl* skinner, HWND target) {
    skinner->AttachHandle(target, SkinData, this, &ControlCanvas);
  };
  switch (skin::ChooseRawSkinner(cls, style, first_child != nullptr)) {
    case skin::TRawChoice::kButton:
      attach(new TSkinButton(this), wnd);
      break;
    case skin::TRawChoice::kCheckBox:
      attach(new TSkinCheckBox(this), wnd);
      break;
    case skin::TRawChoice::kRadioButton:
      attach(new TSkinRadioButton(this), wnd);
      break;
    case skin::TRawChoice::kComboBox:
      attach(new TSkinComBox(this), wnd);
      break;
    case skin::TRawChoice::kInnerComboBox:
      if (FindSkinnerByHandle(first_child) == nullptr) attach(new TSkinComBox(this), first_child);
      break;
    case skin::TRawChoice::kSizer:
      attach(new TSkinSizer(this), wnd);
      break;
    case skin::TRawChoice::kEdit:
      attach(new TSkinEdit(this), wnd);
      break;
    case skin::TRawChoice::kNone:
      break;
  }
}

TSkinControl* TWinSkinForm::FindSkinnerByHandle(HWND wnd) const {
  for (TSkinControl* s : Skinners) {
    if (s->Handle == wnd) return s;
  }
  return nullptr;
}

// --- Releasing ---------------------------------------------------------------------

void TWinSkinForm::ReleaseSkinners() {
  ReleaseToolBars();
  HotButton = nullptr;
  // Last attached first. A skinner that owns others (a combo box's list
  // skinner) frees them with itself; each leaves the list as it goes.
  while (!Skinners.empty()) {
    TSkinControl* skinner = Skinners.back();
    if (skinner->Status != ssnDestroyed) skinner->Detach();
    skinner->Free();
    if (!Skinners.empty() && Skinners.back() == skinner) Skinners.pop_back();
  }
}

void TWinSkinForm::PurgeDeadSkinners() {
  for (size_t i = Skinners.size(); i-- > 0;) {
    if (i >= Skinners.size()) continue;
    TSkinControl* skinner = Skinners[i];
    if (skinner->Status != ssnDestroyed) continue;
    skinner->Free();
    if (i < Skinners.size() && Skinners[i] == skinner) {
      Skinners.erase(Skinners.begin() + static_cast<ptrdiff_t>(i));
    }
  }
}

void TWinSkinForm::ResetHotButton() {
  TSkinControl* hot = HotButton;
  HotButton = nullptr;
  if (hot == nullptr) return;
  fw::TMessage leave{CM_MOUSELEAVE, 0, 0, 0};
  hot->WndProc(leave);
}

}  // namespace skin::win
