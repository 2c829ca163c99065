#include "tools/skin-gallery/gallery_skin.h"

#include <filesystem>

#include "framework/strings.h"

namespace gallery {

skin::win::TSkinData* CreateGallerySkin(fw::TForm* owner, const std::wstring& skin_file) {
  // As a stored description would read it: Active, then the skin, then
  // Loaded, which hands the component to the skin manager.
  auto* data = new skin::win::TSkinData(owner);
  data->SetName("SkinData1");
  data->SetComponentState(fw::csLoading | fw::csReading);
  data->SetActive(true);
  try {
    if (skin_file.empty()) {
      data->SkinStream()->SetResourceName(L"SKIN");
    } else if (!std::filesystem::is_regular_file(std::filesystem::path(skin_file))) {
      throw fw::Exception("Cannot open the skin file " + fw::WideToUtf8(skin_file) +
                          "; running unskinned.");
    } else {
      data->SetSkinFile(skin_file);
    }
  } catch (const std::exception& e) {
    if (fw::TApplication* app = fw::Application()) app->HandleException(e);
  }
  data->ClearComponentState(fw::csReading);
  data->Loaded();  // no usable skin: Active goes off
  return data;
}

std::wstring ProgramFolder() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  return std::filesystem::path(path).parent_path().wstring();
}

}  // namespace gallery
