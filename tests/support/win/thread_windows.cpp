#include "tests/support/win/thread_windows.h"

#include <string>
#include <utility>

namespace test_support {

namespace {

BOOL CALLBACK CollectShown(HWND wnd, LPARAM lparam) {
  auto& [class_name, found] =
      *reinterpret_cast<std::pair<const wchar_t*, std::vector<HWND>>*>(lparam);
  wchar_t name[64] = {};
  GetClassNameW(wnd, name, 64);
  if (lstrcmpW(name, class_name) == 0 && IsWindowVisible(wnd)) found.push_back(wnd);
  return TRUE;
}

}  // namespace

std::vector<HWND> ShownThreadWindows(const wchar_t* class_name) {
  std::pair<const wchar_t*, std::vector<HWND>> want{class_name, {}};
  EnumThreadWindows(GetCurrentThreadId(), &CollectShown, reinterpret_cast<LPARAM>(&want));
  return std::move(want.second);
}

HWND ShownThreadWindow(const wchar_t* class_name) {
  const std::vector<HWND> shown = ShownThreadWindows(class_name);
  return shown.empty() ? nullptr : shown.front();
}

}  // namespace test_support
