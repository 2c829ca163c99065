// SkinGallery: every kind of window and control the skin engine skins, on
// one form, for skin authors and the engine's tests.
//   SkinGallery.exe [--skin FILE]    start with the package FILE instead of
//                                    the default skin
#include <windows.h>

#include <shellapi.h>

#include <string>

#include "framework/forms.h"
#include "skin/controls/skin_manage.h"
#include "tools/skin-gallery/gallery_form.h"

int WINAPI wWinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, PWSTR /*command_line*/,
                    int /*show*/) {
  std::wstring skin_file;
  int argc = 0;
  if (LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc)) {
    for (int i = 1; i + 1 < argc; ++i) {
      if (std::wstring(argv[i]) == L"--skin") skin_file = argv[i + 1];
    }
    LocalFree(argv);
  }
  const skin::win::TSkinManagerScope skinning;
  fw::TApplication application;
  try {
    application.Initialize();
    auto* form = new gallery::TGalleryForm(&application, skin_file);
    application.SetMainForm(form);
    application.Run();
  } catch (const std::exception& e) {
    application.HandleException(e);
    return 1;
  }
  return 0;
}
