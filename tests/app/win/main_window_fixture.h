// MainWindowTest: the fixture of the main window's tests. Each test makes a
// fresh application object and its main window (TFPrincipal or a class
// derived from it) as the program does; the driver-side helpers answer the
// boxes and file dialogs the window opens, with real input (ui_driver.h).
//
//   class PrincipalBancoTest : public app_test::MainWindowTest {
//     void SetUp() override { form_ = CreateMainWindow<TFPrincipal>(); }
//   };
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>

#include "app/win/principal.h"
#include "framework/forms.h"

namespace app_test {

// The name Wine gives a path of the Linux file system ("Z:\work\x.xlsx").
std::wstring WinePath(const std::string& unix_path);
// A file of tests/fixtures/app by that name.
std::wstring FixtureWinePath(const std::string& name);

class MainWindowTest : public ::testing::Test {
 protected:
  // Makes the application and its main window, which becomes FPrincipal;
  // `show` shows it and handles the messages that follow.
  template <class Form = TFPrincipal>
  Form* CreateMainWindow(bool show = true) {
    app_ = std::make_unique<fw::TApplication>();
    app_->Initialize();
    Form* form = app_->CreateForm<Form>();
    FPrincipal = form;
    thread_ = GetCurrentThreadId();
    if (show) {
      form->Show();
      app_->ProcessMessages();
    }
    return form;
  }
  void TearDown() override;

  // Runs `script` in a driver thread while this thread handles messages.
  void Drive(const std::function<void()>& script);

  // Driver side: the box now open (title, message), answered with OK.
  std::pair<std::wstring, std::wstring> ReadBox(int timeout_ms = 10000);
  // Driver side: clicks `button` and names `path` in the file dialog it
  // opens (empty: cancels the dialog).
  void ChooseFile(HWND button, const std::wstring& path);

  std::unique_ptr<fw::TApplication> app_;
  DWORD thread_ = 0;  // the window's thread
};

}  // namespace app_test
