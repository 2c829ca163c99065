// TSkinData as a component of the framework: the skin data component that a
// form's stored description creates. It owns a skin::TSkinData (the loaded
// skin and the settings the skinners consult) and gives it the Windows parts:
// message boxes, the owner form's window, the scroll-arrow metric and, once
// one exists, the skin manager.
//
//   object SkinData1: TSkinData
//     Active = True
//     DisableTag = 99
//     SkinControls = [xcMainMenu, xcPopupMenu, xcEdit, xcButton]
//     SkinFormtype = sfMainform
//     SkinStream.ResourceName = 'SKIN'
//   end
//
// SkinStream names an RCDATA resource of the program holding a skin package
// exactly as skinpack writes it (the .skn bytes). Setting it reads the
// package as a stored SkinStream is read, so the skin loads while the form is
// being read, before Loaded. A missing resource or a damaged package raises
// fw::Exception naming the component, and the form is not created; a package
// of another version shows the version message instead and leaves the
// component without a skin (Loaded then switches Active off), so the program
// runs unskinned.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "framework/component.h"
#include "framework/controls.h"
#include "framework/graphics.h"
#include "framework/imglist.h"
#include "framework/string_list.h"
#include "skin/data/skin_data.h"

namespace skin::win {

class TSkinData;

// The skin manager of the process, as the module that builds it provides it:
// `create` asks for one to be made when none exists. Without a provider the
// component keeps its skin and settings and nothing is skinned.
using TSkinManagerProvider = skin::ISkinManager* (*)(bool create);
void SetSkinManagerProvider(TSkinManagerProvider provider);

// Decides per window class whether a window is skinned.
using TOnFormSkin =
    std::function<void(fw::TObject* sender, const std::wstring& class_name, bool& do_skin)>;
// Lets the program supply its own skinner for a control; `skinned` comes in
// as nullptr.
using TOnSkinControl = std::function<void(
    fw::TComponent* sender, TSkinData* skin_data, fw::TControl* form, fw::TControl* control,
    const std::wstring& control_class, fw::TComponent*& skinned)>;
// A top-level window was created (fired by the manager's window hook).
using TOnWindowCreate =
    std::function<void(TSkinData* sender, HWND wnd, const std::wstring& class_name)>;

// The stored value of SkinStream: the resource its package is read from.
class TSkinStream : public fw::TPersistent {
 public:
  explicit TSkinStream(TSkinData& owner) : owner_(owner) {}
  FW_CLASS_INFO(TSkinStream)

  const std::wstring& ResourceName() const { return resource_; }
  // Finds the RCDATA resource and reads its package into the component.
  void SetResourceName(const std::wstring& name);
  // Bytes of the package the component holds.
  int64_t Size() const;

 private:
  TSkinData& owner_;
  std::wstring resource_;
};

// Skin3rd as the framework's string list: a view of the component's lines.
class TSkin3rdStrings : public fw::TStrings {
 public:
  explicit TSkin3rdStrings(skin::TSkinData& data) : data_(data) {}
  int Count() const override;
  std::wstring Strings(int index) const override;
  int Add(const std::wstring& s) override;
  void Delete(int index) override;
  void Clear() override;

 private:
  skin::TSkinData& data_;
};

class TSkinData : public fw::TComponent {
 public:
  explicit TSkinData(fw::TComponent* owner);
  ~TSkinData() override;
  FW_CLASS_INFO(TSkinData)

  // Published properties (see skin::TSkinData for their meaning).
  bool Active() const { return data_->Active(); }
  void SetActive(bool value);
  int32_t DisableTag() const { return data_->DisableTag; }
  void SetDisableTag(int32_t value) { data_->DisableTag = value; }
  uint32_t SkinControls() const { return data_->SkinControls; }
  void SetSkinControls(uint32_t value) { data_->SkinControls = value; }
  uint32_t Options() const { return data_->Options; }
  void SetOptions(uint32_t value) { data_->Options = static_cast<skin::TSkinOptions>(value); }
  fw::TStrings* Skin3rd() { return &skin3rd_; }
  std::wstring SkinFile() const;
  void SetSkinFile(const std::wstring& file_name);
  std::wstring SkinStore() const;
  void SetSkinStore(const std::wstring& /*value*/) {}
  skin::TSkinFormType SkinFormtype() const { return data_->SkinFormtype; }
  void SetSkinFormtype(skin::TSkinFormType value) { data_->SkinFormtype = value; }
  std::wstring Version() const;
  void SetVersion(const std::wstring& /*value*/) {}
  bool MenuUpdate() const { return data_->MenuUpdate; }
  void SetMenuUpdate(bool value) { data_->MenuUpdate = value; }
  bool MenuMerge() const { return data_->MenuMerge; }
  void SetMenuMerge(bool value) { data_->MenuMerge = value; }
  // The stored package (not published: a description names its resource).
  TSkinStream* SkinStream() { return &skin_stream_; }

  // Reads `size` bytes of skin package as the stored SkinStream is read:
  // the skin loads at once. Errors of the package raise fw::Exception with
  // the component's name.
  void ReadSkinPackage(const void* data, size_t size);

  // The skin and its settings, for the skinners.
  skin::TSkinData& Data() { return *data_; }
  const skin::TSkinData& Data() const { return *data_; }
  // The component that holds `data` (the manager knows skin data by its
  // portable part); nullptr for skin data of no component.
  static TSkinData* FromData(const skin::TSkinData* data);

  // A solid brush of the skin's button-face colour, made after every
  // completed load: a failed load (missing file, wrong version) keeps the
  // brush of the skin before, which windows already skinned still use.
  // nullptr before the first skin.
  HBRUSH ButtonFaceBrush() const { return button_face_brush_.get(); }
  // The owner form's window, or nullptr when the owner is not a form.
  HWND OwnerWindow() const;
  // The four 16 x 16 glyphs of the skinned system menu (restore, maximize,
  // minimize, close), black with white as the mask colour.
  fw::TImageList* MenuImages();

  // Events (OnFormSkin, OnSkinChanged and OnSkinControl are published;
  // OnWindowCreate is set by code).
  TOnFormSkin OnFormSkin;
  fw::TNotifyEvent OnSkinChanged;
  TOnSkinControl OnSkinControl;
  TOnWindowCreate OnWindowCreate;

  // The manager's calls: the OnFormSkin rule (with no handler, the built-in
  // exclusions apply), the event after a start, stop or refresh, and the
  // window-creation event (exceptions it raises are swallowed).
  void MaySkinClass(const std::string& class_name, bool& do_skin);
  void SkinChanged();
  void WindowCreated(HWND wnd, const std::string& class_name);

  void Loaded() override;

 private:
  class THost;

  // Passes the component state (design mode, being read) to the skin data.
  void SyncState();
  // Every completed load comes here.
  void RebuildFromSkin();

  std::unique_ptr<THost> host_;
  std::unique_ptr<skin::TSkinData> data_;
  TSkinStream skin_stream_;
  TSkin3rdStrings skin3rd_;
  fw::TGdiHandle<HBRUSH> button_face_brush_;
  fw::TOwned<fw::TImageList> menu_images_;
};

// Makes TSkinData known to the description reader (once).
void RegisterSkinDataClasses();

}  // namespace skin::win
