// Message sequences, in the manner of Wine's user32 tests: record the
// messages windows of this thread receive, then compare them with a table of
// expected messages in which entries may be optional, and print both lists
// side by side when they differ.
//
//   TMessageRecorder rec({form->Handle()});          // sent and posted, in order
//   form->RecreateWnd();
//   const TExpectedMessage kExpected[] = {
//       {WM_DESTROY, kSent},
//       {WM_NCDESTROY, kSent},
//       {WM_GETMINMAXINFO, kSent | kOptional},
//       {WM_NCCREATE, kSent},
//   };
//   EXPECT_TRUE(MatchesSequence(rec.Seen(), kExpected, "recreate"));
//
// Sent messages are seen through a WH_CALLWNDPROC hook (before the window's
// procedure runs), posted ones through WH_GETMESSAGE. The recorder watches
// the windows given to it, and windows created while it records when asked
// to (their handles are not known beforehand).
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include "framework/controls.h"
#include "framework/window_proc_hook.h"

#include <functional>
#include <initializer_list>
#include <span>
#include <string>
#include <vector>

namespace test_support {

enum TMessageFlags : unsigned {
  kSent = 1,        // arrives through SendMessage (or is sent by the system)
  kPosted = 2,      // arrives through the message queue
  kOptional = 4,    // may be missing
  kWParam = 8,      // wParam must equal the table's
  kLParam = 16,     // lParam must equal the table's
  kAnyWindow = 32,  // may arrive at any watched window (else: the first one)
};

struct TExpectedMessage {
  UINT Msg;
  unsigned Flags;
  WPARAM WParam = 0;
  LPARAM LParam = 0;
};

struct TSeenMessage {
  HWND Wnd;
  UINT Msg;
  WPARAM WParam;
  LPARAM LParam;
  bool Posted;
};

class TMessageRecorder {
 public:
  // Watches `windows` and, with `new_windows`, every window created while
  // recording. Noise (WM_GETICON, IME, hit tests, mouse moves, timers) is
  // dropped unless KeepOnly names it.
  explicit TMessageRecorder(std::initializer_list<HWND> windows, bool new_windows = false);
  ~TMessageRecorder();
  TMessageRecorder(const TMessageRecorder&) = delete;
  TMessageRecorder& operator=(const TMessageRecorder&) = delete;

  void Watch(HWND wnd);
  void Clear() { seen_.clear(); }
  const std::vector<TSeenMessage>& Seen() const { return seen_; }
  // Only messages of these numbers are kept (empty: all but the noise).
  void KeepOnly(std::vector<UINT> messages) { keep_only_ = std::move(messages); }

 private:
  static LRESULT CALLBACK CallWndProc(int code, WPARAM wparam, LPARAM lparam);
  static LRESULT CALLBACK GetMsgProc(int code, WPARAM wparam, LPARAM lparam);
  static LRESULT CALLBACK CbtProc(int code, WPARAM wparam, LPARAM lparam);
  bool Watched(HWND wnd) const;
  void Record(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam, bool posted);

  std::vector<HWND> windows_;
  std::vector<UINT> keep_only_;
  std::vector<TSeenMessage> seen_;
  bool new_windows_;
  HHOOK call_hook_ = nullptr;
  HHOOK get_hook_ = nullptr;
  HHOOK cbt_hook_ = nullptr;
};

// Records the messages that pass a framework control's WindowProc at the
// place the recorder takes in its chain: made before a skinner attaches, it
// sees only what the skinner passes on to the control (Perform'd framework
// messages included, which a window hook may not see). Noise is dropped as
// by TMessageRecorder; messages are recorded as sent to the control's
// window.
//
//   TWindowProcRecorder below(*button);   // before skinning
//   ... skin, click ...
//   EXPECT_TRUE(MatchesSequence(below.Seen(), kPassedOn, "passed on"));
class TWindowProcRecorder {
 public:
  explicit TWindowProcRecorder(fw::TControl& control);
  TWindowProcRecorder(const TWindowProcRecorder&) = delete;
  TWindowProcRecorder& operator=(const TWindowProcRecorder&) = delete;

  void Clear() { seen_.clear(); }
  const std::vector<TSeenMessage>& Seen() const { return seen_; }
  bool SawMessage(UINT msg) const;

 private:
  void Handle(fw::TMessage& m);

  fw::TControl& control_;
  std::vector<TSeenMessage> seen_;
  fw::TWindowProcHook hook_;
};

// Compares what was seen with the table (optional entries may be skipped);
// the failure message lists both sequences with message names.
::testing::AssertionResult MatchesSequence(const std::vector<TSeenMessage>& seen,
                                           std::span<const TExpectedMessage> expected,
                                           const std::string& context);

// "WM_PAINT", "WM_USER+5", or the number in hexadecimal.
std::string MessageName(UINT msg);

}  // namespace test_support
