// SkinGallery: every kind of window and control the skin engine skins, on
// one form, for skin authors and the engine's tests.
//   SkinGallery.exe [--skin FILE]    start with the package FILE instead of
//                                    the default skin
//                   [--coverage OUT] write the skin engine's coverage report
//                                    (every window, its skinner or why it
//                                    has none) to OUT, with the form, its
//                                    plain dialog and a message box open,
//                                    then end
#include <windows.h>

#include <shellapi.h>

#include <memory>
#include <string>

#include "framework/forms.h"
#include "skin/controls/skin_manage.h"
#include "tools/skin-gallery/coverage_run.h"
#include "tools/skin-gallery/gallery_form.h"

int WINAPI wWinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, PWSTR /*command_line*/,
                    int /*show*/) {
  std::wstring skin_file;
  std::wstring coverage_file;
  int argc = 0;
  if (LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc)) {
    for (int i = 1; i + 1 < argc; ++i) {
      if (std::wstring(argv[i]) == L"--skin") skin_file = argv[i + 1];
      if (std::wstring(argv[i]) == L"--coverage") coverage_file = argv[i + 1];
    }
    LocalFree(argv);
  }
  const skin::win::TSkinManagerScope skinning;
  fw::TApplication application;
  try {
    application.Initialize();
    auto* form = new gallery::TGalleryForm(&application, skin_file);
    application.SetMainForm(form);
    std::unique_ptr<gallery::TCoverageRun> coverage;
    if (!coverage_file.empty()) {
      coverage = std::make_unique<gallery::TCoverageRun>(*form, coverage_file);
      coverage->Start();
    }
    application.Run();
    if (coverage && !coverage->Written()) return 1;
  } catch (const std::exception& e) {
    application.HandleException(e);
    return 1;
  }
  return 0;
}
