#include "tests/app/win/main_window_fixture.h"

#include "tests/app/win/ui_driver.h"

namespace app_test {

std::wstring WinePath(const std::string& unix_path) {
  std::wstring path = L"Z:";
  for (char c : unix_path)
    path.push_back(c == '/' ? L'\\' : static_cast<wchar_t>(c));
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
