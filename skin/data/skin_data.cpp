#include "skin/data/skin_data.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include "skin/data/quick_ini.h"
#include "skin/data/skin_reader.h"

namespace skin {

TSkinData::TSkinData(ISkinDataHost* host) : host_(host), skin3rd_(DefaultSkin3rd()) {
  Buttons = std::make_unique<TDataSkinButton>("Buttons");
  const char* border_names[] = {"Left", "Right", "Top", "Bottom"};
  for (int i = 1; i <= 4; i++)
    Borders[i] = std::make_unique<TDataSkinBorder>(border_names[i - 1]);
  Title = std::make_unique<TDataSkinTitle>("Title");
  const TBitmap strip = SkinMenuGlyphs();
  for (int i = 0; i < 4; i++) {
    TBitmap glyph(16, 16);
    for (int y = 0; y < 16; y++) {
      for (int x = 0; x < 16; x++)
        glyph.SetPixel(x, y, strip.Pixel(16 * i + x, y));
    }
    MenuImages.push_back(std::move(glyph));
  }
}

TSkinData::~TSkinData() {
  if (ISkinManager* m = Manager(false)) m->RemoveSkinData(this);
}

ISkinManager* TSkinData::Manager(bool create) const {
  return host_ ? host_->Manager(create) : nullptr;
}

std::string TSkinData::SkinStore() const {
  return DesignMode && SkinStream.Size() > 0 ? "(Good)" : "(none)";
}

void TSkinData::ReadSkinStream(TMemoryStream& in) {
  uint8_t b[4] = {0, 0, 0, 0};
  if (in.Read(b, 4) != 4) throw ESkinPackageError("stored skin is cut short");
  const int32_t n =
      static_cast<int32_t>(b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<uint32_t>(b[3]) << 24));
  if (n > 0) {
    if (in.Size() - std::min(in.Position(), in.Size()) < static_cast<size_t>(n)) {
      throw ESkinPackageError("stored skin is cut short");
    }
    std::vector<uint8_t> bytes(static_cast<size_t>(n));
    in.Read(bytes.data(), bytes.size());
    if (!DesignMode) {
      LoadPackage(std::move(bytes));
      return;
    }
    SkinStream.Clear();
    SkinStream.Write(bytes);
  }
  if (!DesignMode) LoadSkin();
}

bool TSkinData::LoadPackage(std::vector<uint8_t> bytes) {
  // The package of the skin in use comes back when the new one fails.
  std::vector<uint8_t> previous(SkinStream.Bytes().begin(), SkinStream.Bytes().end());
  auto put_back = [&] {
    SkinStream.Clear();
    SkinStream.Write(previous);
  };
  SkinStream.Clear();
  SkinStream.Write(bytes);
  bool loaded = false;
  try {
    loaded = LoadSkin();
  } catch (...) {
    if (!NotLoaded) put_back();
    throw;
  }
  if (!loaded && !NotLoaded) put_back();
  return loaded;
}

void TSkinData::WriteSkinStream(TMemoryStream& out) const {
  const uint32_t n = static_cast<uint32_t>(SkinStream.Size());
  const uint8_t b[4] = {static_cast<uint8_t>(n), static_cast<uint8_t>(n >> 8),
                        static_cast<uint8_t>(n >> 16), static_cast<uint8_t>(n >> 24)};
  out.Write(b, 4);
  if (n > 0) out.Write(SkinStream.Bytes());
}

bool TSkinData::LoadSkin() {
  // A skin that was loaded stays loaded when the new one fails.
  const bool had_skin = !NotLoaded;
  struct TRestore {
    TSkinData& d;
    bool had_skin;
    ~TRestore() {
      if (had_skin) d.NotLoaded = false;
    }
  } restore{*this, had_skin};
  NotLoaded = true;
  if (DesignMode) return false;
  // A component without a stored skin simply stays without one.
  if (SkinStream.Size() == 0) return false;
  TSkinReader reader([this](const std::string& text) {
    if (host_) host_->ShowMessage(text);
  });
  if (!reader.LoadPackage(SkinStream)) return false;
  TMemoryStream description;
  std::string name;
  reader.ExtractEntryContaining(".ini", description, name);
  description.SetPosition(0);
  TQuickIni ini;
  ini.LoadFromStream(&description);
  LoadSkinElements(ini, reader);
  return true;
}

void TSkinData::SetSkinFile(const std::string& file_name) {
  skin_file_ = file_name;
  if (DesignMode) {
    NotLoaded = true;
    if (!file_name.empty() && SkinStream.Size() > 0) SkinStream.Clear();
    return;
  }
  // The name is UTF-8: a path made from char8_t keeps letters outside ASCII
  // on Windows too, where a plain narrow name goes through the ANSI code page.
  const std::u8string utf8(file_name.begin(), file_name.end());
  const std::filesystem::path path(utf8);
  std::error_code ec;
  // No file to read: the skin in use (if any) stays.
  if (file_name.empty() || !std::filesystem::is_regular_file(path, ec)) return;
  std::ifstream file(path, std::ios::binary);
  if (!file) return;
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)),
                             std::istreambuf_iterator<char>());
  if (!LoadPackage(std::move(bytes))) return;
  if (SkinFormtype == sfMainform) ApplySkin();
}

void TSkinData::ApplySkin() {
  if (DesignMode || Reading) return;
  if (Manager(false) == nullptr) Loaded();
  ISkinManager* m = Manager(false);
  if (m == nullptr) return;
  m->SetPendingSkinData(this);
  m->ReloadForms();
  if (m->StartState() == 1) m->ScheduleAction(3, 250);
}

void TSkinData::Loaded() {
  if (DesignMode) return;
  ISkinManager* m = Manager(true);
  if (m) m->AddSkinData(this);
  if (SkinFormtype == sfOnlyThisForm || SkinFormtype == sfDialog) {
    if (m) {
      m->SetActive(true);
      m->SetStartState(m->StartState() + 1);
      if (void* owner = host_->OwnerWindow()) m->SkinWindow(owner);
    }
    return;
  }
  if (m) m->InstallHook();
  if (active_) {
    if (NotLoaded) {
      active_ = false;
    } else if (m) {
      m->ScheduleAction(1, 250);
    }
  }
  if (SkinControls & SkinControlBit(xcMainMenu)) {
    SkinControls &= ~SkinControlBit(xcMenuItem);
  } else {
    SkinControls &= ~SkinControlBit(xcSystemMenu);
  }
}

void TSkinData::SetActive(bool value) {
  if (value == active_) return;
  active_ = value;
  if (DesignMode || Reading) return;
  ISkinManager* m = Manager(false);
  if (m == nullptr) return;  // Loaded will act on the stored value
  switch (SkinFormtype) {
    case sfOnlyThisForm:
      m->SetPendingSkinData(this);
      if (value && NotLoaded) return;
      m->ScheduleAction(value ? 1 : 2, 250);
      return;
    case sfDialog:
      return;
    case sfMainform:
      if (value) {
        if (NotLoaded) return;
        m->ScheduleAction(1, 250);
        m->SetStartState(1);
      } else {
        m->ScheduleAction(2, 250);
      }
      m->SetPendingSkinData(this);
      return;
  }
}

void TSkinData::MaySkinClass(const std::string& class_name, bool& do_skin) {
  if (OnFormSkin) {
    OnFormSkin(this, class_name, do_skin);
    return;
  }
  if (class_name == "SysMonthCal32") {
    do_skin = false;
  } else if ((SkinControls & SkinControlBit(xcFastReport)) && class_name.rfind("Tfr", 0) == 0) {
    do_skin = false;
  }
}

void TSkinData::SkinChanged() {
  if (OnSkinChanged) OnSkinChanged(this);
}

std::vector<std::string> TSkinData::DefaultSkin3rd() {
  std::vector<std::string> lines = {"TAdvPanelGroup=embedscrollbar", "TComboboxex=combobox",
                                    "TRxSpeedButton=speedbutton", "TControlBar=Panel"};
  auto add = [&](const char* kind, std::initializer_list<const char*> classes) {
    for (const char* c : classes)
      lines.push_back(std::string(c) + "=" + kind);
  };
  add("combobox", {"TcxDBLookupComboBox",    "TcxDBComboBox",          "TcxDBDateEdit",
                   "TcxDBImageComboBox",     "TcxDBCalcEdit",          "TcxDBBlobEdit",
                   "TcxDBPopupEdit",         "TcxDBFontNameComboBox",  "TcxDBShellComboBox",
                   "TRxLookupEdit",          "TRxDBLookupCombo",       "TRzDateTimeEdit",
                   "TRzColorEdit",           "TRzDateTimePicker",      "TRzDBDateTimeEdit",
                   "TRzDbColorEdit",         "TRzDBDateTimePicker",    "TLMDListCombobox",
                   "TLMDCheckListCombobox",  "TLMDHeaderListCombobox", "TLMDImageCombobox",
                   "TLMDColorCombobox",      "TLMDFontCombobox",       "TLMDFontSizeCombobox",
                   "TLMDFontSizeCombobox",   "TLMDPrinterCombobox",    "TLMDDriveCombobox",
                   "TLMDCalculatorComboBox", "TLMDTrackBarComboBox",   "TLMDCalendarComboBox",
                   "TLMDTreeComboBox",       "TDBLookupCombobox",      "TWWDBCombobox",
                   "TWWDBCombobox",          "TWWDBLookupCombo",       "TWWKeyCombo",
                   "TWWTempKeyCombo",        "TWWDBDateTimePicker"});
  add("panel", {"TTBDock", "TTBToolbar", "TLMDCalculator", "TLMDGROUPBOX", "TLMDSIMPLEPANEL",
                "TLMDDBCalendar", "TLMDButtonPanel", "TLMDLMDCalculator", "TLMDHeaderPanel",
                "TLMDTechnicalLine", "TLMDLMDClock", "TLMDTrackbar"});
  add("nil", {"TAdvPageControl"});
  add("radiogroup", {"TRzRadioGroup", "TRzDBRadioGroup", "TLMDRADIOGROUP", "TLMDDBRADIOGROUP",
                     "TWWRADIOGROUP", "TcxDBRadioGroup", "TcxRadioGroup"});
  add("checkbox", {"TRzCheckBox", "TDBCheckboxEh", "TDBCheckboxEh", "TLMDCHECKBOX",
                   "TLMDDBCHECKBOX", "TcxDBCheckBox", "TcxCheckBox"});
  add("CheckGroup", {"TRzCheckGroup"});
  add("checkgroup", {"TLMDCheckGroup", "TLMDDBCheckGroup"});
  add("radiobutton", {"TRzRadioButton", "TRzDBRadioButton", "TLMDRadiobutton"});
  add("scrollbar", {"TImageEnMView", "TImageEnView", "TAdvMemo", "TDBAdvMemo"});
  add("bitbtn", {"TRzBitbtn", "TRzMenuButton", "TcxButton"});
  add("button", {"TRzButton"});
  add("groupbox", {"TLMDGroupBox"});
  add("edit", {"TRzButtonEdit",     "TLMDCalculatorEdit", "TLMDEDIT",           "TLMDMASKEDIT",
               "TLMDBROWSEEDIT",    "TLMDEXTSPINEDIT",    "TLMDCALENDAREDIT",   "TLMDFILEOPENEDIT",
               "TLMDFILESAVEEDIT",  "TLMDCOLOREDIT",      "TLMDDBEDIT",         "TLMDDBMASKEDIT",
               "TLMDDBEXTSPINEDIT", "TLMDDBSPINEDIT",     "TLMDDBEDITDBLookup", "TLMDEDITDBLookup",
               "TWWDBEDIT",         "TOVCPICTUREFIELD",   "TOVCDBPICTUREFIELD", "TOVCSLIDEREDIT",
               "TOVCDBSLIDEREDIT",  "TOVCSIMPLEFIELD",    "TOVCDBSIMPLEFIELD",  "TO32DBFLEXEDIT",
               "TOVCNUMERICFIELD"});
  add("Edit", {"TOVCDBNUMERICFIELD"});
  return lines;
}

std::vector<std::pair<std::string, const TDataSkinObject*>> SkinSlots(const TSkinData& d) {
  std::vector<std::pair<std::string, const TDataSkinObject*>> s;
  for (int i = 1; i <= 4; i++)
    s.emplace_back("Borders[" + std::to_string(i) + "]", d.Borders[i].get());
  s.emplace_back("Title", d.Title.get());
  for (size_t i = 0; i < d.SysButtons.size(); i++) {
    s.emplace_back("SysButtons[" + std::to_string(i) + "]", d.SysButtons[i].get());
  }
  s.emplace_back("Buttons", d.Buttons.get());
  s.emplace_back("Progress", d.Progress.get());
  s.emplace_back("MenuBar", d.MenuBar.get());
  s.emplace_back("GroupBoxEdge", d.GroupBoxEdge.get());
  s.emplace_back("GroupBox", d.GroupBox.get());
  s.emplace_back("Toolbars", d.Toolbars.get());
  s.emplace_back("Tabs", d.Tabs.get());
  s.emplace_back("StatusBarEdges", d.StatusBarEdges.get());
  s.emplace_back("ComboButton", d.ComboButton.get());
  s.emplace_back("SunkEdge", d.SunkEdge.get());
  s.emplace_back("ExtraImages", d.ExtraImages.get());
  s.emplace_back("Headerbar", d.Headerbar.get());
  s.emplace_back("MenuItem", d.MenuItem.get());
  s.emplace_back("MenuBackground", d.MenuBackground.get());
  s.emplace_back("Scrollbar", d.Scrollbar.get());
  s.emplace_back("HorzScroll", d.HorzScroll.get());
  s.emplace_back("VertScroll", d.VertScroll.get());
  s.emplace_back("HorzScrollThumb", d.HorzScrollThumb.get());
  s.emplace_back("VertScrollThumb", d.VertScrollThumb.get());
  s.emplace_back("TrackbarThumbHorz", d.TrackbarThumbHorz.get());
  s.emplace_back("TrackbarThumbVert", d.TrackbarThumbVert.get());
  s.emplace_back("TrackbarThumbLeft", d.TrackbarThumbLeft.get());
  s.emplace_back("TrackbarThumbRight", d.TrackbarThumbRight.get());
  s.emplace_back("TrackbarThumbUp", d.TrackbarThumbUp.get());
  s.emplace_back("TrackbarThumbDown", d.TrackbarThumbDown.get());
  s.emplace_back("UpDownHorz", d.UpDownHorz.get());
  s.emplace_back("UpDownVert", d.UpDownVert.get());
  return s;
}

TBitmap TSkinData::SkinMenuGlyphs() {
  // Four 16 x 16 cells, black on white: restore, maximize, minimize, close.
  TBitmap b(64, 16);
  b.Fill(0xFFFFFF);
  auto outline = [&](int cell, int l, int t, int r, int bt) {  // inclusive corners
    const int x0 = 16 * cell;
    for (int x = l; x <= r; x++) {
      b.SetPixel(x0 + x, t, 0);
      b.SetPixel(x0 + x, t + 1, 0);  // double top edge, like a caption
      b.SetPixel(x0 + x, bt, 0);
    }
    for (int y = t; y <= bt; y++) {
      b.SetPixel(x0 + l, y, 0);
      b.SetPixel(x0 + r, y, 0);
    }
  };
  // Restore: a back window whose lower-left part the front window covers.
  outline(0, 5, 2, 13, 9);
  b.FillRect({16 * 0 + 3, 6, 16 * 0 + 11, 14}, 0xFFFFFF);
  outline(0, 2, 6, 10, 13);
  // Maximize: one window outline.
  outline(1, 2, 2, 13, 13);
  // Minimize: a short bar two pixels high.
  b.FillRect({32 + 4, 11, 32 + 11, 13}, 0);
  // Close: a diagonal cross, two pixels wide.
  for (int i = 0; i < 8; i++) {
    for (int d = 0; d < 2; d++) {
      b.SetPixel(48 + 4 + i + d, 4 + i, 0);
      b.SetPixel(48 + 11 - i - d, 4 + i, 0);
    }
  }
  return b;
}

}  // namespace skin
