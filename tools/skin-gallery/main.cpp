// SkinGallery: every kind of window and control the skin engine skins, on
// one form, for skin authors and the engine's tests.
//   SkinGallery.exe [--skin FILE]    start with the package FILE instead of
//                                    the default skin
//                   [--mdi]          start as an MDI frame with three
//                                    cascaded children
//                   [--rtl]          the form laid out right to left (its
//                                    menu bar and controls)
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
#include "tools/skin-gallery/gallery_mdi.h"

int WINAPI wWinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, PWSTR /*command_line*/,
                    int /*show*/) {
  std::wstring skin_file;
  std::wstring coverage_file;
  bool mdi = false;
  bool rtl = false;
  int argc = 0;
  if (LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc)) {
    for (int i = 1; i < argc; ++i) {
      const std::wstring arg = argv[i];
      if (arg == L"--mdi") mdi = true;
      if (arg == L"--rtl") rtl = true;
      if (i + 1 == argc) continue;
      if (arg == L"--skin") skin_file = argv[i + 1];
      if (arg == L"--coverage") coverage_file = argv[i + 1];
    }
    LocalFree(argv);
  }
  const skin::win::TSkinManagerScope skinning;
  fw::TApplication application;
  try {
    application.Initialize();
    if (mdi) {
      auto* frame = new gallery::TGalleryMDIForm(&application, skin_file);
      if (rtl) frame->SetBiDiMode(fw::bdRightToLeft);
      application.SetMainForm(frame);
      frame->Show();
      for (int i = 0; i < 3; ++i)
        frame->NewChild();
      frame->Cascade();
      application.Run();
      return 0;
    }
    auto* form = new gallery::TGalleryForm(&application, skin_file);
    if (rtl) form->SetBiDiMode(fw::bdRightToLeft);
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
