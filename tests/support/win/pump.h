// Handling the thread's messages in tests until something happens.
#pragma once

#include <windows.h>

#include <functional>

namespace test_support {

// Handles messages until `done` answers true or `timeout_ms` have passed;
// returns what `done` answered last.
inline bool PumpUntil(const std::function<bool()>& done, DWORD timeout_ms = 3000) {
  DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > timeout_ms) return false;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    if (!done()) MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  return true;
}

// Handles every message already waiting.
inline void PumpPending() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

}  // namespace test_support
