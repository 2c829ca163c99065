#include "tests/app/win/main_window_fixture.h"

#include "tests/app/win/ui_driver.h"
#include "unicode/utf8.h"

namespace app_test {

std::wstring WinePath(const std::string& unix_path) {
  // The Unix path is UTF-8: decoded, not widened byte by byte.
  std::wstring path = L"Z:" + unicode::Utf8ToWide(unix_path);
  for (wchar_t& c : path) {
    if (c == L'/') c = L'\\';
  }
  return path;
}

std::wstring FixtureWinePath(const std::string& name) {
  return WinePath(std::string(PROJECT_SOURCE_DIR) + "/tests/fixtures/app/" + name);
}

void MainWindowTest::TearDown() {
  app_.reset();
  FPrincipal = nullptr;
}

void MainWindowTest::Drive(const std::function<void()>& script) {
  ui::RunWithDriver(script, [this] { app_->ProcessMessages(); });
}

std::pair<std::wstring, std::wstring> MainWindowTest::ReadBox(int timeout_ms) {
  HWND box = nullptr;
  EXPECT_TRUE(
      ui::WaitFor([&] { return (box = ui::FindDialog(thread_, L"")) != nullptr; }, timeout_ms));
  if (box == nullptr) return {};
  Sleep(100);
  std::pair<std::wstring, std::wstring> result{ui::Text(box), ui::DialogMessage(box)};
  ui::Click(GetDlgItem(box, IDOK));
  EXPECT_TRUE(ui::WaitFor([&] { return !IsWindow(box); }));
  return result;
}

void MainWindowTest::ChooseFile(HWND button, const std::wstring& path) {
  ui::Click(button);
  HWND dlg = nullptr;
  ASSERT_TRUE(ui::WaitFor([&] { return (dlg = ui::FindDialog(thread_, L"")) != nullptr; }));
  Sleep(300);
  if (path.empty()) {
    ui::Click(GetDlgItem(dlg, IDCANCEL));
  } else {
    HWND name = GetDlgItem(dlg, 0x47C);  // the file name box (combo box or edit)
    if (name == nullptr) name = GetDlgItem(dlg, 0x480);
    ASSERT_NE(name, nullptr);
    SetWindowTextW(name, path.c_str());
    ui::Click(GetDlgItem(dlg, IDOK));
  }
  ASSERT_TRUE(ui::WaitFor([&] { return !IsWindow(dlg); }));
}

}  // namespace app_test
