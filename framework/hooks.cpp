#include "framework/hooks.h"

#include "framework/object.h"

namespace fw {

namespace {

int g_live_hooks = 0;

}  // namespace

void TWindowsHook::Install(int type, HOOKPROC proc) {
  Remove();
  hook_ = SetWindowsHookExW(type, proc, nullptr, GetCurrentThreadId());
  if (hook_ == nullptr) {
    throw Exception("Cannot install the window hook (" + std::to_string(GetLastError()) + ")");
  }
  ++g_live_hooks;
}

void TWindowsHook::Remove() {
  if (hook_ == nullptr) return;
  UnhookWindowsHookEx(hook_);
  hook_ = nullptr;
  --g_live_hooks;
}

int TWindowsHook::LiveCount() {
  return g_live_hooks;
}

}  // namespace fw
