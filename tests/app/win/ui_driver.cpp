#include "tests/app/win/ui_driver.h"

#include <atomic>
#include <thread>

#include "tests/support/win/keys.h"

namespace ui {

void RunWithDriver(const std::function<void()>& script, const std::function<void()>& pump) {
  std::atomic<bool> done{false};
  std::thread driver([&] {
    script();
    done = true;
  });
  while (!done) {
    pump();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
  }
  driver.join();
  pump();
}

bool WaitFor(const std::function<bool()>& condition, int timeout_ms) {
  for (int waited = 0; waited < timeout_ms; waited += 20) {
    if (condition()) return true;
    Sleep(20);
  }
  return condition();
}

using test_support::SendKey;

void Click(HWND wnd) {
  RECT r{};
  GetWindowRect(wnd, &r);
  int x = (r.left + r.right) / 2;
  int y = (r.top + r.bottom) / 2;
  int sw = GetSystemMetrics(SM_CXSCREEN);
  int sh = GetSystemMetrics(SM_CYSCREEN);
  INPUT in[3] = {};
  for (auto& i : in) {
    i.type = INPUT_MOUSE;
    i.mi.dx = MulDiv(x, 65535, sw - 1);
    i.mi.dy = MulDiv(y, 65535, sh - 1);
  }
  in[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  in[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_ABSOLUTE;
  in[2].mi.dwFlags = MOUSEEVENTF_LEFTUP | MOUSEEVENTF_ABSOLUTE;
  SendInput(3, in, sizeof(INPUT));
  Sleep(150);
}

void Key(WORD vk, WORD modifier) {
  if (modifier != 0) SendKey(modifier, false);
  SendKey(vk, false);
  SendKey(vk, true);
  if (modifier != 0) SendKey(modifier, true);
  Sleep(100);
}

void Type(const std::wstring& text) {
  for (wchar_t c : text) {
    SHORT scan = VkKeyScanW(c);
    WORD vk = LOBYTE(scan);
    bool shift = (HIBYTE(scan) & 1) != 0;
    if (shift) SendKey(VK_SHIFT, false);
    SendKey(vk, false);
    SendKey(vk, true);
    if (shift) SendKey(VK_SHIFT, true);
    Sleep(40);
  }
  Sleep(100);
}

std::wstring Text(HWND wnd) {
  wchar_t buffer[1024] = {};
  SendMessageW(wnd, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(buffer));
  return buffer;
}

HWND Focus(DWORD thread) {
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  if (!GetGUIThreadInfo(thread, &info)) return nullptr;
  return info.hwndFocus;
}

namespace {

struct TFind {
  DWORD thread;
  const std::wstring* title;
  HWND found;
};

BOOL CALLBACK FindProc(HWND wnd, LPARAM lparam) {
  auto* f = reinterpret_cast<TFind*>(lparam);
  wchar_t cls[64] = {};
  GetClassNameW(wnd, cls, 64);
  if (lstrcmpW(cls, L"#32770") != 0 || !IsWindowVisible(wnd)) return TRUE;
  if (GetWindowThreadProcessId(wnd, nullptr) != f->thread) return TRUE;
  if (!f->title->empty() && Text(wnd) != *f->title) return TRUE;
  f->found = wnd;
  return FALSE;
}

struct TStatics {
  std::wstring longest;
};

BOOL CALLBACK StaticProc(HWND wnd, LPARAM lparam) {
  auto* s = reinterpret_cast<TStatics*>(lparam);
  wchar_t cls[64] = {};
  GetClassNameW(wnd, cls, 64);
  if (lstrcmpiW(cls, L"Static") == 0) {
    std::wstring t = Text(wnd);
    if (t.size() > s->longest.size()) s->longest = t;
  }
  return TRUE;
}

}  // namespace

HWND FindDialog(DWORD thread, const std::wstring& title) {
  TFind f{thread, &title, nullptr};
  EnumWindows(FindProc, reinterpret_cast<LPARAM>(&f));
  return f.found;
}

std::wstring DialogMessage(HWND dialog) {
  TStatics s;
  EnumChildWindows(dialog, StaticProc, reinterpret_cast<LPARAM>(&s));
  return s.longest;
}

std::vector<std::wstring> ComboItems(HWND combo) {
  std::vector<std::wstring> items;
  auto n = SendMessageW(combo, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < n; ++i) {
    wchar_t buffer[256] = {};
    SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(buffer));
    items.emplace_back(buffer);
  }
  return items;
}

}  // namespace ui
