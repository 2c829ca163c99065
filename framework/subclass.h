// TSubclass: replaces a window's procedure (GWLP_WNDPROC) with a handler
// object for the life of the TSubclass, and puts the previous procedure back
// when it goes.
//
//   class TEditHook {
//     fw::TSubclass sub_;
//     void WndProc(fw::TMessage& m) {
//       if (m.Msg == WM_PAINT) { ...; return; }
//       sub_.CallPrevious(m);         // everything else goes on down the chain
//     }
//    public:
//     explicit TEditHook(HWND edit) { sub_.Install(edit,
//     fw::TWndMethod::Bind<&TEditHook::WndProc>(this)); }
//   };
//
// Rules that make chains of subclasses safe:
// - Each installed TSubclass has a window procedure of its own (one of a
//   fixed pool of procedures), so several may be stacked on one window, with
//   windows of other code in between, and each one knows where it is.
// - Remove() restores the previous procedure only while this one is still on
//   top. When another procedure was installed above it, it stays in the chain
//   as a pass-through (messages go straight to its previous procedure) until
//   the window is destroyed, so the later subclass is never cut out.
// - Wide or ANSI is chosen once per window, at Install, from
//   IsWindowUnicode: the procedure is set and the previous one called with
//   the same character set, so text messages are never translated twice.
// - Every exception is caught at the window procedure's boundary and handed
//   to the application's error handler (HandleCallbackException).
// - The TSubclass (or the object holding it) may be destroyed inside its own
//   handler: the bookkeeping lives apart from it until the call returns.
// - WM_NCDESTROY goes to the handler, then the subclass ends by itself.
//
// All of this runs in the thread that owns the windows (the user-interface
// thread); the pool is shared by the whole process.
#pragma once

#include <windows.h>

#include "framework/wnd_method.h"

namespace fw {

struct TSubclassRecord;

class TSubclass {
 public:
  // Windows that can be subclassed at the same time in the process.
  static constexpr int kCapacity = 4096;

  TSubclass() = default;
  ~TSubclass() { Remove(); }
  TSubclass(const TSubclass&) = delete;
  TSubclass& operator=(const TSubclass&) = delete;

  // Installs `handler` as the window procedure of `wnd`; false (nothing
  // changed) when the window does not exist, this object is already
  // installed, or the pool is exhausted.
  bool Install(HWND wnd, TWndMethod handler);
  // Takes the handler out (see the rules above); nothing when not installed.
  void Remove();

  bool Installed() const { return record_ != nullptr; }
  HWND Handle() const;
  // The character set chosen at Install.
  bool Unicode() const;
  // Whether this subclass's procedure is the window's current procedure.
  bool OnTop() const;
  // This subclass's own window procedure (what GetWindowLongPtr shows while
  // it is on top); nullptr when not installed.
  WNDPROC Procedure() const;

  // Passes the message to the procedure that was in place before Install;
  // sets message.Result. Nothing (Result 0) when not installed.
  void CallPrevious(TMessage& message) const;
  LRESULT CallPrevious(UINT msg, WPARAM wparam, LPARAM lparam) const;

  // Procedures of the pool in use, pass-throughs included (leak checks).
  static int LiveCount();

 private:
  TSubclassRecord* record_ = nullptr;
  // Kept after Remove, so a handler that removes itself can still pass the
  // message it is handling on.
  HWND wnd_ = nullptr;
  WNDPROC previous_ = nullptr;
  bool unicode_ = true;
};

// Reports the exception being handled (call it inside a catch block) to the
// application's error handler; swallows it when there is no application.
// Never throws.
void HandleCallbackException() noexcept;

}  // namespace fw
