// The leak counters see handles that no framework wrapper owns: windows,
// menus, regions and image lists made with the plain system calls.
#include "tests/support/win/live_counts.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <functional>
#include <string>

namespace test_support {
namespace {

HWND RawWindow() {
  return CreateWindowExW(0, L"STATIC", L"raw", WS_OVERLAPPEDWINDOW, 0, 0, 100, 80, nullptr, nullptr,
                         GetModuleHandleW(nullptr), nullptr);
}

TEST(LiveCounts, HandlesMadeWithPlainSystemCallsAreCountedUntilTheyGo) {
  struct TCase {
    const char* what;
    std::function<void()> leave;  // makes one and leaves it
    std::function<void()> clean;  // frees what leave made
    int TLiveCounts::*counter;
  };
  HWND window = nullptr;
  HMENU menu = nullptr;
  HRGN region = nullptr;
  HIMAGELIST list = nullptr;
  TCase cases[] = {
      {"window", [&] { window = RawWindow(); }, [&] { DestroyWindow(window); },
       &TLiveCounts::windows},
      {"child window",
       [&] {
         window = RawWindow();
         CreateWindowExW(0, L"BUTTON", L"b", WS_CHILD, 0, 0, 10, 10, window, nullptr, nullptr,
                         nullptr);
       },
       [&] { DestroyWindow(window); }, &TLiveCounts::windows},
      {"menu", [&] { menu = CreatePopupMenu(); }, [&] { DestroyMenu(menu); }, &TLiveCounts::menus},
      {"region", [&] { region = CreateRectRgn(0, 0, 5, 5); }, [&] { DeleteObject(region); },
       &TLiveCounts::regions},
      {"image list", [&] { list = ImageList_Create(16, 16, ILC_COLOR32, 1, 1); },
       [&] { ImageList_Destroy(list); }, &TLiveCounts::image_lists},
  };
  for (const auto& c : cases) {
    const TLiveCounts before = Live();
    c.leave();
    const TLiveCounts during = Live();
    EXPECT_NE(during, before) << c.what;
    EXPECT_GT(during.*c.counter, before.*c.counter) << c.what;
    c.clean();
    EXPECT_EQ(Live(), before) << c.what;
  }
}

TEST(LiveCounts, WhatAWindowTakesOverGoesWithIt) {
  const TLiveCounts before = Live();
  HWND window = RawWindow();
  HMENU bar = CreateMenu();
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(CreatePopupMenu()), L"&Arquivo");
  SetMenu(window, bar);
  SetWindowRgn(window, CreateRectRgn(0, 0, 50, 50), FALSE);
  EXPECT_EQ(Live().menus, before.menus + 2);
  DestroyWindow(window);  // its menu bar, the submenu and its region go with it
  EXPECT_EQ(Live(), before);
}

}  // namespace
}  // namespace test_support
