// Drives windows of this process as a user would, from a second thread,
// while the test's main thread handles messages (modal boxes and dialogs
// included). Input is real: SendInput for keys and mouse clicks.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace ui {

// Runs `script` in a driver thread while this thread handles messages with
// `pump` (one pass of pending messages); returns when the script ends.
void RunWithDriver(const std::function<void()>& script, const std::function<void()>& pump);

// Polls `condition` every 20 ms; false after `timeout_ms`.
bool WaitFor(const std::function<bool()>& condition, int timeout_ms = 10000);

void Click(HWND wnd);                  // left click in the window's middle
void Key(WORD vk, WORD modifier = 0);  // press and release, with a held modifier
void Type(const std::wstring& text);   // each character through its key
std::wstring Text(HWND wnd);           // WM_GETTEXT
HWND Focus(DWORD thread);              // the focused window of that thread
// A visible top-level dialog box of `thread` whose title is `title` (or any
// dialog box when title is empty); nullptr when none.
HWND FindDialog(DWORD thread, const std::wstring& title);
// The longest static text of a dialog (a message box's message).
std::wstring DialogMessage(HWND dialog);
std::vector<std::wstring> ComboItems(HWND combo);

}  // namespace ui
