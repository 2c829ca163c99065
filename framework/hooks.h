// TWindowsHook: a hook of the calling thread (SetWindowsHookEx), removed in
// the destructor.
//
//   static LRESULT CALLBACK CbtProc(int code, WPARAM wp, LPARAM lp);   // finds its owner
//   fw::TWindowsHook cbt(WH_CBT, &CbtProc);
//   ... in CbtProc: return owner->cbt.CallNext(code, wp, lp);
//
// The hook procedure is a plain function: a hook carries no pointer of its
// own, so the procedure reaches its owner through the owner's own means.
#pragma once

#include <windows.h>

namespace fw {

class TWindowsHook {
 public:
  TWindowsHook() = default;
  // Installs at once; throws Exception when the system refuses.
  TWindowsHook(int type, HOOKPROC proc) { Install(type, proc); }
  ~TWindowsHook() { Remove(); }
  TWindowsHook(const TWindowsHook&) = delete;
  TWindowsHook& operator=(const TWindowsHook&) = delete;

  void Install(int type, HOOKPROC proc);
  void Remove();
  HHOOK Handle() const { return hook_; }
  bool Installed() const { return hook_ != nullptr; }
  LRESULT CallNext(int code, WPARAM wparam, LPARAM lparam) const {
    return CallNextHookEx(hook_, code, wparam, lparam);
  }

  // Hooks installed through this class and not yet removed (leak checks).
  static int LiveCount();

 private:
  HHOOK hook_ = nullptr;
};

}  // namespace fw
