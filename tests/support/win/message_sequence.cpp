#include "tests/support/win/message_sequence.h"

#include <algorithm>
#include <cstdio>
#include <sstream>

namespace test_support {

namespace {

// The recorder of this thread (one at a time).
thread_local TMessageRecorder* t_recorder = nullptr;

bool IsNoise(UINT msg) {
  switch (msg) {
    case WM_GETICON:
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH:
    case WM_GETOBJECT:
    case WM_IME_SETCONTEXT:
    case WM_IME_NOTIFY:
    case WM_IME_REQUEST:
    case WM_TIMER:
    case WM_ENTERIDLE:
    case WM_NCHITTEST:
    case WM_SETCURSOR:
    case WM_MOUSEMOVE:
    case WM_NCMOUSEMOVE:
    case 0x0093:  // WM_UAHINITMENU and its kind (theme helpers)
    case 0x0094:
    case 0x0095:
    case 0x0096:
    case WM_DWMNCRENDERINGCHANGED:
      return true;
    default:
      return msg >= 0xC000;  // registered messages of the system's helpers
  }
}

}  // namespace

TMessageRecorder::TMessageRecorder(std::initializer_list<HWND> windows, bool new_windows)
    : windows_(windows), new_windows_(new_windows) {
  t_recorder = this;
  DWORD thread = GetCurrentThreadId();
  call_hook_ = SetWindowsHookExW(WH_CALLWNDPROC, &CallWndProc, nullptr, thread);
  get_hook_ = SetWindowsHookExW(WH_GETMESSAGE, &GetMsgProc, nullptr, thread);
  if (new_windows_) cbt_hook_ = SetWindowsHookExW(WH_CBT, &CbtProc, nullptr, thread);
}

TMessageRecorder::~TMessageRecorder() {
  if (call_hook_ != nullptr) UnhookWindowsHookEx(call_hook_);
  if (get_hook_ != nullptr) UnhookWindowsHookEx(get_hook_);
  if (cbt_hook_ != nullptr) UnhookWindowsHookEx(cbt_hook_);
  if (t_recorder == this) t_recorder = nullptr;
}

void TMessageRecorder::Watch(HWND wnd) {
  if (!Watched(wnd)) windows_.push_back(wnd);
}

bool TMessageRecorder::Watched(HWND wnd) const {
  return std::find(windows_.begin(), windows_.end(), wnd) != windows_.end();
}

void TMessageRecorder::Record(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam, bool posted) {
  if (!Watched(wnd)) return;
  if (keep_only_.empty() ? IsNoise(msg)
                         : std::find(keep_only_.begin(), keep_only_.end(), msg) == keep_only_.end())
    return;
  seen_.push_back(TSeenMessage{wnd, msg, wparam, lparam, posted});
}

LRESULT CALLBACK TMessageRecorder::CallWndProc(int code, WPARAM wparam, LPARAM lparam) {
  if (code == HC_ACTION && t_recorder != nullptr) {
    const auto* cwp = reinterpret_cast<const CWPSTRUCT*>(lparam);
    t_recorder->Record(cwp->hwnd, cwp->message, cwp->wParam, cwp->lParam, false);
  }
  return CallNextHookEx(nullptr, code, wparam, lparam);
}

LRESULT CALLBACK TMessageRecorder::GetMsgProc(int code, WPARAM wparam, LPARAM lparam) {
  if (code == HC_ACTION && wparam == PM_REMOVE && t_recorder != nullptr) {
    const auto* msg = reinterpret_cast<const MSG*>(lparam);
    t_recorder->Record(msg->hwnd, msg->message, msg->wParam, msg->lParam, true);
  }
  return CallNextHookEx(nullptr, code, wparam, lparam);
}

LRESULT CALLBACK TMessageRecorder::CbtProc(int code, WPARAM wparam, LPARAM lparam) {
  if (code == HCBT_CREATEWND && t_recorder != nullptr) {
    t_recorder->Watch(reinterpret_cast<HWND>(wparam));
  }
  return CallNextHookEx(nullptr, code, wparam, lparam);
}

TWindowProcRecorder::TWindowProcRecorder(fw::TControl& control) : control_(control) {
  hook_.Hook(control, fw::TWndMethod::Bind<&TWindowProcRecorder::Handle>(this));
}

void TWindowProcRecorder::Handle(fw::TMessage& m) {
  if (!IsNoise(m.Msg)) {
    auto* w = dynamic_cast<fw::TWinControl*>(&control_);
    HWND wnd = w != nullptr && w->HandleAllocated() ? w->Handle() : nullptr;
    seen_.push_back(TSeenMessage{wnd, m.Msg, m.WParam, m.LParam, false});
  }
  hook_.CallPrevious(m);
}

bool TWindowProcRecorder::SawMessage(UINT msg) const {
  return std::any_of(seen_.begin(), seen_.end(),
                     [msg](const TSeenMessage& s) { return s.Msg == msg; });
}

std::string MessageName(UINT msg) {
  static const std::pair<UINT, const char*> kNames[] = {
      {fw::CM_FOCUSCHANGED, "CM_FOCUSCHANGED"},
      {fw::CM_VISIBLECHANGED, "CM_VISIBLECHANGED"},
      {fw::CM_ENABLEDCHANGED, "CM_ENABLEDCHANGED"},
      {fw::CM_COLORCHANGED, "CM_COLORCHANGED"},
      {fw::CM_FONTCHANGED, "CM_FONTCHANGED"},
      {fw::CM_PARENTCOLORCHANGED, "CM_PARENTCOLORCHANGED"},
      {fw::CM_TEXTCHANGED, "CM_TEXTCHANGED"},
      {fw::CM_MOUSEENTER, "CM_MOUSEENTER"},
      {fw::CM_MOUSELEAVE, "CM_MOUSELEAVE"},
      {fw::CM_ENTER, "CM_ENTER"},
      {fw::CM_EXIT, "CM_EXIT"},
      {fw::CM_RECREATEWND, "CM_RECREATEWND"},
      {fw::CN_COMMAND, "CN_COMMAND"},
      {WM_CREATE, "WM_CREATE"},
      {WM_DESTROY, "WM_DESTROY"},
      {WM_MOVE, "WM_MOVE"},
      {WM_SIZE, "WM_SIZE"},
      {WM_ACTIVATE, "WM_ACTIVATE"},
      {WM_SETFOCUS, "WM_SETFOCUS"},
      {WM_KILLFOCUS, "WM_KILLFOCUS"},
      {WM_ENABLE, "WM_ENABLE"},
      {WM_SETTEXT, "WM_SETTEXT"},
      {WM_PAINT, "WM_PAINT"},
      {WM_CLOSE, "WM_CLOSE"},
      {WM_ERASEBKGND, "WM_ERASEBKGND"},
      {WM_SHOWWINDOW, "WM_SHOWWINDOW"},
      {WM_ACTIVATEAPP, "WM_ACTIVATEAPP"},
      {WM_CANCELMODE, "WM_CANCELMODE"},
      {WM_CHILDACTIVATE, "WM_CHILDACTIVATE"},
      {WM_GETMINMAXINFO, "WM_GETMINMAXINFO"},
      {WM_SETFONT, "WM_SETFONT"},
      {WM_WINDOWPOSCHANGING, "WM_WINDOWPOSCHANGING"},
      {WM_WINDOWPOSCHANGED, "WM_WINDOWPOSCHANGED"},
      {WM_NOTIFY, "WM_NOTIFY"},
      {WM_STYLECHANGING, "WM_STYLECHANGING"},
      {WM_STYLECHANGED, "WM_STYLECHANGED"},
      {WM_NCCREATE, "WM_NCCREATE"},
      {WM_NCDESTROY, "WM_NCDESTROY"},
      {WM_NCCALCSIZE, "WM_NCCALCSIZE"},
      {WM_NCPAINT, "WM_NCPAINT"},
      {WM_NCACTIVATE, "WM_NCACTIVATE"},
      {WM_KEYDOWN, "WM_KEYDOWN"},
      {WM_KEYUP, "WM_KEYUP"},
      {WM_CHAR, "WM_CHAR"},
      {WM_INITDIALOG, "WM_INITDIALOG"},
      {WM_COMMAND, "WM_COMMAND"},
      {WM_SYSCOMMAND, "WM_SYSCOMMAND"},
      {WM_INITMENU, "WM_INITMENU"},
      {WM_INITMENUPOPUP, "WM_INITMENUPOPUP"},
      {WM_MENUSELECT, "WM_MENUSELECT"},
      {WM_UNINITMENUPOPUP, "WM_UNINITMENUPOPUP"},
      {WM_CTLCOLOREDIT, "WM_CTLCOLOREDIT"},
      {WM_CTLCOLORBTN, "WM_CTLCOLORBTN"},
      {WM_CTLCOLORSTATIC, "WM_CTLCOLORSTATIC"},
      {WM_LBUTTONDOWN, "WM_LBUTTONDOWN"},
      {WM_LBUTTONUP, "WM_LBUTTONUP"},
      {WM_PARENTNOTIFY, "WM_PARENTNOTIFY"},
      {WM_ENTERMENULOOP, "WM_ENTERMENULOOP"},
      {WM_EXITMENULOOP, "WM_EXITMENULOOP"},
      {WM_CAPTURECHANGED, "WM_CAPTURECHANGED"},
      {WM_MOUSELEAVE, "WM_MOUSELEAVE"},
      {WM_MEASUREITEM, "WM_MEASUREITEM"},
      {WM_DRAWITEM, "WM_DRAWITEM"},
      {WM_PRINT, "WM_PRINT"},
      {WM_PRINTCLIENT, "WM_PRINTCLIENT"},
      {WM_NULL, "WM_NULL"},
  };
  for (const auto& [value, name] : kNames) {
    if (value == msg) return name;
  }
  char buf[32];
  if (msg >= WM_USER && msg < WM_APP) {
    std::snprintf(buf, sizeof(buf), "WM_USER+%u", msg - WM_USER);
  } else if (msg >= WM_APP && msg < 0xC000) {
    std::snprintf(buf, sizeof(buf), "WM_APP+%u", msg - WM_APP);
  } else {
    std::snprintf(buf, sizeof(buf), "0x%04x", msg);
  }
  return buf;
}

namespace {

bool Matches(const TSeenMessage& seen, const TExpectedMessage& e, HWND first) {
  if (seen.Msg != e.Msg) return false;
  if ((e.Flags & kPosted) != 0 && !seen.Posted) return false;
  if ((e.Flags & kSent) != 0 && seen.Posted) return false;
  if ((e.Flags & kWParam) != 0 && seen.WParam != e.WParam) return false;
  if ((e.Flags & kLParam) != 0 && seen.LParam != e.LParam) return false;
  if ((e.Flags & kAnyWindow) == 0 && first != nullptr && seen.Wnd != first) return false;
  return true;
}

std::string Describe(const TSeenMessage& m) {
  std::ostringstream out;
  out << MessageName(m.Msg) << (m.Posted ? " (posted)" : "") << " wnd=" << m.Wnd
      << " wp=" << m.WParam << " lp=" << m.LParam;
  return out.str();
}

std::string Describe(const TExpectedMessage& e) {
  std::ostringstream out;
  out << MessageName(e.Msg) << ((e.Flags & kPosted) ? " (posted)" : "")
      << ((e.Flags & kOptional) ? " [optional]" : "");
  if (e.Flags & kWParam) out << " wp=" << e.WParam;
  if (e.Flags & kLParam) out << " lp=" << e.LParam;
  return out.str();
}

}  // namespace

::testing::AssertionResult MatchesSequence(const std::vector<TSeenMessage>& seen,
                                           std::span<const TExpectedMessage> expected,
                                           const std::string& context) {
  HWND first = seen.empty() ? nullptr : seen.front().Wnd;
  size_t i = 0;
  size_t j = 0;
  std::string problem;
  while (i < seen.size() && j < expected.size()) {
    if (Matches(seen[i], expected[j], first)) {
      ++i;
      ++j;
    } else if ((expected[j].Flags & kOptional) != 0) {
      ++j;
    } else {
      problem = "expected " + Describe(expected[j]) + ", got " + Describe(seen[i]);
      break;
    }
  }
  if (problem.empty()) {
    while (j < expected.size() && (expected[j].Flags & kOptional) != 0)
      ++j;
    if (j < expected.size()) {
      problem = "missing " + Describe(expected[j]);
    } else if (i < seen.size()) {
      problem = "unexpected " + Describe(seen[i]);
    } else {
      return ::testing::AssertionSuccess();
    }
  }
  std::ostringstream out;
  out << context << ": " << problem << "\n  seen:\n";
  for (const auto& m : seen)
    out << "    " << Describe(m) << "\n";
  out << "  expected:\n";
  for (const auto& e : expected)
    out << "    " << Describe(e) << "\n";
  return ::testing::AssertionFailure() << out.str();
}

}  // namespace test_support
