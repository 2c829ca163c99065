// Real key presses for tests, through SendInput: they reach the window with
// the focus as a user's would, through the thread's input queue.
//
//   test_support::PressKeys({VK_MENU, 'F'});   // Alt+F
#pragma once

#include <windows.h>

#include <initializer_list>

namespace test_support {

// One key going down or up.
void SendKey(WORD vk, bool up);
// Each key of `keys` goes down in order, then up in reverse order.
void PressKeys(std::initializer_list<WORD> keys);

}  // namespace test_support
