// A plain dialog box made by the system from an in-memory template: no
// framework object behind it, the kind of window (like a message box) that
// the skin engine reaches through its handle alone.
#pragma once

#include <windows.h>

namespace gallery {

// Shows the modal dialog (OK, Cancel, a check box, a radio pair, an edit, a
// combo box, a group box); returns IDOK or IDCANCEL.
INT_PTR ShowRawDialog(HWND owner);

}  // namespace gallery
