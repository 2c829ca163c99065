// Finding the shown top-level windows of the test's thread by class: an open
// drop-down ("#32768"), a dialog box ("#32770"), a message box.
//
//   if (HWND menu = test_support::ShownThreadWindow(L"#32768")) EndMenu();
#pragma once

#include <windows.h>

#include <vector>

namespace test_support {

// The visible top-level windows of this thread of class `class_name`, in
// z-order (the topmost first).
std::vector<HWND> ShownThreadWindows(const wchar_t* class_name);
// The first of them, or nullptr.
HWND ShownThreadWindow(const wchar_t* class_name);

}  // namespace test_support
