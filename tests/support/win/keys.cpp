#include "tests/support/win/keys.h"

#include <iterator>

namespace test_support {

void SendKey(WORD vk, bool up) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
  in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  SendInput(1, &in, sizeof(in));
}

void PressKeys(std::initializer_list<WORD> keys) {
  for (WORD k : keys)
    SendKey(k, false);
  for (auto it = std::rbegin(keys); it != std::rend(keys); ++it)
    SendKey(*it, true);
}

}  // namespace test_support
