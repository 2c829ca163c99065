// Hooks whose handlers are lambdas, for tests: a TWindowProcHook on a
// control and a TSubclass on a raw window.
//
//   TLambdaHook spy(*control, [&](fw::TMessage& m, const fw::TWindowProcHook& h) {
//     seen.push_back(m.Msg);
//     h.CallPrevious(m);
//   });
#pragma once

#include <functional>
#include <utility>

#include "framework/controls.h"
#include "framework/subclass.h"

namespace test_support {

class TLambdaHook {
 public:
  using Fn = std::function<void(fw::TMessage&, const fw::TWindowProcHook&)>;
  TLambdaHook(fw::TControl& control, Fn fn) : fn_(std::move(fn)) {
    hook_.Hook(control, fw::TWndMethod::Bind<&TLambdaHook::Handle>(this));
  }
  fw::TWindowProcHook& Hook() { return hook_; }
  fw::TWndMethod Method() { return fw::TWndMethod::Bind<&TLambdaHook::Handle>(this); }

 private:
  void Handle(fw::TMessage& m) {
    Fn fn = fn_;  // the handler may destroy this object
    fn(m, hook_);
  }
  Fn fn_;
  fw::TWindowProcHook hook_;  // declared last: unhooks before fn_ goes
};

class TLambdaSubclass {
 public:
  using Fn = std::function<void(fw::TMessage&, const fw::TSubclass&)>;
  TLambdaSubclass(HWND wnd, Fn fn) : fn_(std::move(fn)) {
    installed_ = sub_.Install(wnd, fw::TWndMethod::Bind<&TLambdaSubclass::Handle>(this));
  }
  bool Installed() const { return installed_; }
  fw::TSubclass& Sub() { return sub_; }

 private:
  void Handle(fw::TMessage& m) {
    Fn fn = fn_;
    fn(m, sub_);
  }
  Fn fn_;
  fw::TSubclass sub_;
  bool installed_ = false;
};

}  // namespace test_support
