#include "tools/skin-gallery/coverage_run.h"

#include <filesystem>
#include <fstream>

#include "skin/window/coverage_report.h"
#include "tools/skin-gallery/gallery_form.h"
#include "tools/skin-gallery/raw_dialog.h"

namespace gallery {

namespace {

// Each step waits this long for the windows of the one before to be
// activated and skinned.
constexpr uint32_t kSettle = 700;

constexpr wchar_t kBoxTitle[] = L"Coverage";

}  // namespace

TCoverageRun::TCoverageRun(TGalleryForm& form, std::wstring file)
    : form_(form), file_(std::move(file)) {}

void TCoverageRun::Start() {
  timer_.Start(kSettle, [this] { OpenDialog(); });
}

void TCoverageRun::OpenDialog() {
  // The next step runs inside the dialog's own message loop.
  timer_.Start(kSettle, [this] { OpenMessageBox(); });
  ShowRawDialog(form_.Handle());
  form_.Close();
}

void TCoverageRun::OpenMessageBox() {
  dialog_ = GetActiveWindow();
  timer_.Start(kSettle, [this] { Write(); });
  MessageBoxW(dialog_, L"The coverage report is being written.", kBoxTitle, MB_OK);
  if (dialog_ != nullptr) EndDialog(dialog_, IDCANCEL);
}

void TCoverageRun::Write() {
  timer_.Stop();
  const std::string report = skin::win::CoverageReport();
  std::ofstream out(std::filesystem::path(file_), std::ios::binary);
  out << report;
  written_ = static_cast<bool>(out);
  // The message box is the active window: its OK ends it.
  if (HWND box = GetActiveWindow()) PostMessageW(box, WM_COMMAND, IDOK, 0);
}

}  // namespace gallery
