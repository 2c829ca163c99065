#include "skin/data/win/skin_data_component.h"

#include <limits>
#include <tuple>
#include <vector>

#include "framework/dialogs.h"
#include "framework/forms.h"
#include "framework/reader.h"
#include "framework/strings.h"

namespace skin::win {

// --- THost ----------------------------------------------------------------------

namespace {

TSkinManagerProvider g_manager_provider = nullptr;

}  // namespace

void SetSkinManagerProvider(TSkinManagerProvider provider) {
  g_manager_provider = provider;
}

// The platform side of the skin data.
class TSkinData::THost : public skin::ISkinDataHost {
 public:
  explicit THost(TSkinData& component) : component_(component) {}

  skin::ISkinManager* Manager(bool create) override {
    return g_manager_provider != nullptr ? g_manager_provider(create) : nullptr;
  }

  void ShowMessage(const std::string& text) override { fw::ShowWarning(fw::Utf8ToWide(text)); }

  void* OwnerWindow() override { return component_.OwnerWindow(); }

  int HorzScrollArrowWidth() override { return GetSystemMetrics(SM_CXHSCROLL); }

  void SkinLoaded() override { component_.RebuildFromSkin(); }

  TSkinData& Component() { return component_; }

 private:
  TSkinData& component_;
};

// --- TSkinStream ----------------------------------------------------------------

const fw::TClassInfo& TSkinStream::StaticClassInfo() {
  static const fw::TClassInfo info =
      fw::TClassBuilder<TSkinStream>("TSkinStream", fw::TPersistent::StaticClassInfo())
          .Str("ResourceName", &TSkinStream::ResourceName, &TSkinStream::SetResourceName)
          .Int("Size", &TSkinStream::Size)
          .Build();
  return info;
}

void TSkinStream::SetResourceName(const std::wstring& name) {
  resource_ = name;
  if (name.empty()) return;
  const void* data = nullptr;
  size_t size = 0;
  try {
    std::tie(data, size) =
        fw::FindResourceData(GetModuleHandleW(nullptr), name, MAKEINTRESOURCEW(10) /* RT_RCDATA */);
  } catch (const std::exception& e) {
    throw fw::Exception(owner_.Name() + ": SkinStream: " + e.what());
  }
  owner_.ReadSkinPackage(data, size);
}

int64_t TSkinStream::Size() const {
  return static_cast<int64_t>(owner_.Data().SkinStream.Size());
}

// --- TSkin3rdStrings ------------------------------------------------------------

int TSkin3rdStrings::Count() const {
  return static_cast<int>(data_.Skin3rd().size());
}

std::wstring TSkin3rdStrings::Strings(int index) const {
  return fw::Utf8ToWide(data_.Skin3rd().at(static_cast<size_t>(index)));
}

int TSkin3rdStrings::Add(const std::wstring& s) {
  std::vector<std::string> lines = data_.Skin3rd();
  lines.push_back(fw::WideToUtf8(s));
  data_.SetSkin3rd(lines);
  return static_cast<int>(lines.size()) - 1;
}

void TSkin3rdStrings::Delete(int index) {
  std::vector<std::string> lines = data_.Skin3rd();
  if (index < 0 || index >= static_cast<int>(lines.size())) {
    throw fw::Exception("List index out of bounds");
  }
  lines.erase(lines.begin() + index);
  data_.SetSkin3rd(lines);
}

void TSkin3rdStrings::Clear() {
  data_.SetSkin3rd({});
}

// --- TSkinData ------------------------------------------------------------------

TSkinData::TSkinData(fw::TComponent* owner)
    : fw::TComponent(owner),
      host_(std::make_unique<THost>(*this)),
      data_(std::make_unique<skin::TSkinData>(host_.get())),
      skin_stream_(*this),
      skin3rd_(*data_) {}

TSkinData::~TSkinData() = default;

const fw::TClassInfo& TSkinData::StaticClassInfo() {
  static const fw::TClassInfo info =
      fw::TClassBuilder<TSkinData>("TSkinData", fw::TComponent::StaticClassInfo())
          .Bool("Active", &TSkinData::Active, &TSkinData::SetActive)
          .Int("DisableTag", &TSkinData::DisableTag, &TSkinData::SetDisableTag)
          .Set("SkinControls",
               {"xcMainMenu", "xcPopupMenu", "xcMenuItem",    "xcToolbar",     "xcControlbar",
                "xcCombo",    "xcCheckBox",  "xcRadioButton", "xcProgress",    "xcScrollbar",
                "xcEdit",     "xcButton",    "xcBitBtn",      "xcSpeedButton", "xcPanel",
                "xcGroupBox", "xcStatusBar", "xcTab",         "xcSystemMenu",  "xcFastReport"},
               &TSkinData::SkinControls, &TSkinData::SetSkinControls)
          .Set("Options", {"xoMDIScrollbar", "xoMenuMerge", "xoNCPaint"}, &TSkinData::Options,
               &TSkinData::SetOptions)
          .Obj("Skin3rd", &TSkinData::Skin3rd)
          .Str("SkinFile", &TSkinData::SkinFile, &TSkinData::SetSkinFile)
          .Str("SkinStore", &TSkinData::SkinStore, &TSkinData::SetSkinStore)
          .Enum("SkinFormtype", {"sfMainform", "sfOnlyThisForm", "sfDialog"},
                &TSkinData::SkinFormtype, &TSkinData::SetSkinFormtype)
          .Str("Version", &TSkinData::Version, &TSkinData::SetVersion)
          .Bool("MenuUpdate", &TSkinData::MenuUpdate, &TSkinData::SetMenuUpdate)
          .Bool("MenuMerge", &TSkinData::MenuMerge, &TSkinData::SetMenuMerge)
          .Obj("SkinStream", &TSkinData::SkinStream)
          .Event<void(fw::TObject*, const std::wstring&, bool&)>("OnFormSkin",
                                                                 &TSkinData::OnFormSkin)
          .Event<void(fw::TObject*)>("OnSkinChanged", &TSkinData::OnSkinChanged)
          .Event<void(fw::TComponent*, TSkinData*, fw::TControl*, fw::TControl*,
                      const std::wstring&, fw::TComponent*&)>("OnSkinControl",
                                                              &TSkinData::OnSkinControl)
          .Build();
  return info;
}

void TSkinData::SyncState() {
  data_->DesignMode = IsDesigning();
  data_->Reading = (ComponentState() & fw::csReading) != 0;
}

void TSkinData::SetActive(bool value) {
  SyncState();
  data_->SetActive(value);
}

std::wstring TSkinData::SkinFile() const {
  return fw::Utf8ToWide(data_->SkinFile());
}

void TSkinData::SetSkinFile(const std::wstring& file_name) {
  SyncState();
  try {
    data_->SetSkinFile(fw::WideToUtf8(file_name));
  } catch (const std::exception& e) {
    throw fw::Exception(Name() + ": SkinFile: " + e.what());
  }
}

std::wstring TSkinData::SkinStore() const {
  return fw::Utf8ToWide(data_->SkinStore());
}

std::wstring TSkinData::Version() const {
  return fw::Utf8ToWide(data_->Version());
}

void TSkinData::ReadSkinPackage(const void* data, size_t size) {
  SyncState();
  if (size > static_cast<size_t>(std::numeric_limits<int32_t>::max())) {
    throw fw::Exception(Name() + ": SkinStream: the skin package is too large");
  }
  // The stored form of the property: a signed 32-bit length, then the package.
  const auto n = static_cast<uint32_t>(size);
  std::vector<uint8_t> stored = {static_cast<uint8_t>(n), static_cast<uint8_t>(n >> 8),
                                 static_cast<uint8_t>(n >> 16), static_cast<uint8_t>(n >> 24)};
  const auto* bytes = static_cast<const uint8_t*>(data);
  if (size > 0) stored.insert(stored.end(), bytes, bytes + size);
  skin::TMemoryStream in(std::move(stored));
  try {
    data_->ReadSkinStream(in);
  } catch (const std::exception& e) {
    throw fw::Exception(Name() + ": SkinStream: " + e.what());
  }
}

void TSkinData::RebuildFromSkin() {
  button_face_brush_.reset(CreateSolidBrush(fw::ColorToRGB(data_->ButtonFaceColour)));
}

TSkinData* TSkinData::FromData(const skin::TSkinData* data) {
  if (data == nullptr) return nullptr;
  auto* host = dynamic_cast<THost*>(data->Host());
  return host != nullptr ? &host->Component() : nullptr;
}

HWND TSkinData::OwnerWindow() const {
  auto* form = dynamic_cast<fw::TForm*>(Owner());
  return form != nullptr ? form->Handle() : nullptr;
}

fw::TImageList* TSkinData::MenuImages() {
  if (!menu_images_) {
    menu_images_.reset(new fw::TImageList(nullptr));
    const auto& glyphs = data_->MenuImages;
    fw::TBitmap strip;
    strip.SetSize(16 * static_cast<int32_t>(glyphs.size()), 16);
    for (size_t i = 0; i < glyphs.size(); ++i) {
      for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
          uint32_t c = glyphs[i].Pixel(x, y);  // 0x00BBGGRR
          strip.ScanLine(y)[16 * i + static_cast<size_t>(x)] =
              0xFF000000u | ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
        }
      }
    }
    menu_images_->AddMasked(strip, fw::clWhite);
  }
  return menu_images_.get();
}

void TSkinData::MaySkinClass(const std::string& class_name, bool& do_skin) {
  if (OnFormSkin) {
    OnFormSkin(this, fw::Utf8ToWide(class_name), do_skin);
    return;
  }
  data_->MaySkinClass(class_name, do_skin);
}

void TSkinData::SkinChanged() {
  data_->SkinChanged();
  if (OnSkinChanged) OnSkinChanged(this);
}

void TSkinData::WindowCreated(HWND wnd, const std::string& class_name) {
  try {
    if (OnWindowCreate) OnWindowCreate(this, wnd, fw::Utf8ToWide(class_name));
    if (data_->OnWindowCreate) data_->OnWindowCreate(data_.get(), wnd, class_name);
  } catch (...) {
    // The user's handler runs inside the window hook: its errors stop here.
  }
}

void TSkinData::Loaded() {
  fw::TComponent::Loaded();
  SyncState();
  data_->Loaded();
}

// --- Registration ---------------------------------------------------------------

void RegisterSkinDataClasses() {
  static const bool done = [] {
    fw::RegisterComponentClass<TSkinData>();
    return true;
  }();
  (void)done;
}

}  // namespace skin::win
