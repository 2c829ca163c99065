// TWindowProcHook: puts a handler in front of a control's WindowProc for the
// life of the hook, the way a skinner takes over a control's messages.
//
//   class TMySkinner {
//     fw::TWindowProcHook hook_;
//     void WndProc(fw::TMessage& m) {
//       if (m.Msg == WM_PAINT) { ... }
//       hook_.CallPrevious(m);   // what the control did before
//     }
//    public:
//     explicit TMySkinner(fw::TControl& c) : hook_(c,
//     fw::TWndMethod::Bind<&TMySkinner::WndProc>(this)) {}
//   };
//
// Hooks of several owners stack: each one's previous handler is the
// WindowProc it found. Unhooking (or destroying the hook) restores that
// previous handler only while the hook is still the control's WindowProc;
// when a later hook lies above it, this one stays in the chain as a
// pass-through, so the later hook keeps working and is never cut out. A hook
// may unhook itself, or its owner be destroyed, inside its own handler.
// When the control is destroyed first, its hooks simply end.
#pragma once

#include "framework/wnd_method.h"

namespace fw {

class TControl;
class TWindowProcHook;

// One hook's place in a control's chain; owned by the control, so it can
// outlive the hook as a pass-through.
struct TWindowProcLink {
  TControl* control = nullptr;
  TWindowProcHook* owner = nullptr;  // nullptr once the hook has left
  TWndMethod handler;                // empty: messages pass straight on
  TWndMethod previous;
  int running = 0;
  bool dead = false;  // out of the chain; freed when no call runs

  void Dispatch(TMessage& message);
  TWndMethod Method() { return TWndMethod::Bind<&TWindowProcLink::Dispatch>(this); }
};

class TWindowProcHook {
 public:
  TWindowProcHook() = default;
  TWindowProcHook(TControl& control, TWndMethod handler) { Hook(control, handler); }
  ~TWindowProcHook() { Unhook(); }
  TWindowProcHook(const TWindowProcHook&) = delete;
  TWindowProcHook& operator=(const TWindowProcHook&) = delete;

  // Hooks `control` (a hook already in place is unhooked first).
  void Hook(TControl& control, TWndMethod handler);
  void Unhook();
  bool Hooked() const { return link_ != nullptr; }
  TControl* Control() const;
  // Whether this hook is the control's current WindowProc.
  bool OnTop() const;

  // Calls the WindowProc that was in place before Hook.
  void CallPrevious(TMessage& message) const;
  TWndMethod Previous() const { return previous_; }

 private:
  friend class TControl;
  TWindowProcLink* link_ = nullptr;
  TWndMethod previous_;  // kept after Unhook for a handler that unhooks itself
};

}  // namespace fw
