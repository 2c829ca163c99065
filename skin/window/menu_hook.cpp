// The message-filter hook that runs while a drop-down of a menu band is
// open: the arrow keys and the mouse move on to the neighbouring drop-down
// as on a native menu bar, and the first entry of a drop-down is selected
// when it opens.
//
// Moving on ends the current drop-down's loop (EndMenu) and remembers the
// item; OpenMenu opens it once TrackPopupMenu has returned, through a click
// posted to the window. A click posted while the loop runs would be handled
// inside that loop, where no second drop-down can open.
#include "skin/window/menu_hook.h"

#include <algorithm>
#include <vector>

#include "skin/window/menu_keyboard.h"

namespace skin::win {

namespace {

BOOL CALLBACK FindMenuWindow(HWND wnd, LPARAM found) {
  wchar_t name[8] = {};
  GetClassNameW(wnd, name, 8);
  if (lstrcmpW(name, L"#32768") == 0 && IsWindowVisible(wnd)) {
    *reinterpret_cast<HWND*>(found) = wnd;
    return FALSE;
  }
  return TRUE;
}

// The window of the open drop-down (menus open in the thread that tracks them).
HWND OpenMenuWindow() {
  HWND found = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), &FindMenuWindow, reinterpret_cast<LPARAM>(&found));
  return found;
}

BOOL CALLBACK CollectMenus(HWND wnd, LPARAM menus) {
  wchar_t name[8] = {};
  GetClassNameW(wnd, name, 8);
  if (lstrcmpW(name, L"#32768") == 0 && IsWindowVisible(wnd)) {
    reinterpret_cast<std::vector<HMENU>*>(menus)->push_back(
        reinterpret_cast<HMENU>(SendMessageW(wnd, MN_GETHMENU, 0, 0)));
  }
  return TRUE;
}

// The entry selected at the deepest level of the open menus, read from the
// menus themselves: from the drop-down, down through every selected entry
// whose sub-menu shows.
skin::TMenuSelection LiveSelection(HMENU drop_down) {
  std::vector<HMENU> shown;
  EnumThreadWindows(GetCurrentThreadId(), &CollectMenus, reinterpret_cast<LPARAM>(&shown));
  skin::TMenuSelection selection;
  HMENU menu = drop_down;
  for (int depth = 0; depth < 32 && menu != nullptr; ++depth) {
    HMENU sub = nullptr;
    bool found = false;
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count && !found; ++i) {
      MENUITEMINFOW mii{};
      mii.cbSize = sizeof(mii);
      mii.fMask = MIIM_STATE | MIIM_SUBMENU;
      if (GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &mii) &&
          (mii.fState & MFS_HILITE) != 0) {
        found = true;
        sub = mii.hSubMenu;
      }
    }
    if (!found) break;
    selection.Any = true;
    selection.InOpenDropDown = menu == drop_down;
    selection.HasChildren = sub != nullptr;
    menu = std::find(shown.begin(), shown.end(), sub) != shown.end() ? sub : nullptr;
  }
  return selection;
}

// The item the message moves to, or -1.
int32_t TargetOf(TMenuLoopState& loop, MSG& msg) {
  TWinSkinMenu& bar = *loop.Bar;
  switch (msg.message) {
    case WM_KEYDOWN:
      switch (msg.wParam) {
        case VK_RETURN:
        case VK_ESCAPE:
          loop.KeyNavigating = false;
          return -1;
        case VK_LEFT:
        case VK_RIGHT: {
          loop.Selection = LiveSelection(bar.Form.OpenSubmenu);
          const skin::TArrowAction action =
              skin::ArrowKeyRule(static_cast<uint32_t>(msg.wParam), loop.Selection);
          if (action == skin::TArrowAction::kDropDown) return -1;
          TMenuBtn* next = bar.NextMenuButton(action == skin::TArrowAction::kNext);
          return next != nullptr ? next->Index : -1;
        }
        default:
          return -1;
      }
    case WM_SYSKEYDOWN:
      // Alt closes the drop-down.
      if (msg.wParam == VK_MENU) bar.Form.MenuLoopActive = false;
      return -1;
    case WM_MOUSEMOVE: {
      if (msg.pt.x == loop.LastPoint.x && msg.pt.y == loop.LastPoint.y) return -1;
      loop.LastPoint = msg.pt;
      TMenuBtn* hit = bar.HitTest(bar.Form.ToWindowPoint(msg.pt.x, msg.pt.y));
      return hit != nullptr ? hit->Index : -1;
    }
    default:
      return -1;
  }
}

}  // namespace

TMenuLoopState& MenuLoop() {
  static TMenuLoopState state;
  return state;
}

const TMenuLoopState& MenuLoopState() {
  return MenuLoop();
}

void ForgetMenuLoopBar(const TWinSkinMenu* bar) {
  TMenuLoopState& loop = MenuLoop();
  if (loop.Bar != bar) return;
  loop.Bar = nullptr;
  loop.SwitchTo = -1;
  // The drop-down's loop ends with the window; EndMenu makes sure of it.
  if (loop.HookHandle != nullptr) EndMenu();
}

void TWinSkinMenu::InstallMenuHook() {
  TMenuLoopState& loop = MenuLoop();
  loop.KeyNavigating = false;
  loop.DownPosted = false;
  loop.SwitchTo = -1;
  loop.Selection = {};
  GetCursorPos(&loop.LastPoint);
  if (loop.HookHandle == nullptr) {
    loop.HookHandle =
        SetWindowsHookExW(WH_MSGFILTER, &TWinSkinMenu::MenuHookProc, nullptr, GetCurrentThreadId());
  }
}

void TWinSkinMenu::RemoveMenuHook() {
  TMenuLoopState& loop = MenuLoop();
  if (loop.HookHandle != nullptr) UnhookWindowsHookEx(loop.HookHandle);
  loop.HookHandle = nullptr;
  loop.Bar = nullptr;
  loop.Selection = {};
  loop.CurrentIndex = -1;
  loop.DownPosted = false;
  loop.SwitchTo = -1;
}

LRESULT CALLBACK TWinSkinMenu::MenuHookProc(int code, WPARAM wparam, LPARAM lparam) {
  TMenuLoopState& loop = MenuLoop();
  auto* msg = reinterpret_cast<MSG*>(lparam);
  // A right-to-left band swaps the arrow keys before anyone reads them.
  if (code == MSGF_MENU && msg != nullptr && loop.Bar != nullptr && loop.Bar->RightToLeft &&
      msg->message == WM_KEYDOWN) {
    msg->wParam = skin::MenuArrowKey(static_cast<uint32_t>(msg->wParam), true);
  }
  const LRESULT result = CallNextHookEx(loop.HookHandle, code, wparam, lparam);
  if (result != 0 || code != MSGF_MENU || msg == nullptr || loop.Bar == nullptr) return result;
  try {
    if (!loop.DownPosted) {
      // A drop-down opens with its first entry selected.
      loop.DownPosted = true;
      if (HWND menu = OpenMenuWindow()) PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
    }
    const int32_t target = TargetOf(loop, *msg);
    if (target < 0 || target == loop.CurrentIndex || loop.SwitchTo >= 0) return 0;
    loop.KeyNavigating = true;
    loop.SwitchTo = target;
    EndMenu();
    return 1;      // the key or move is spent on the switch
  } catch (...) {  // NOLINT(bugprone-empty-catch): a hook callback shows no error box
    // An error inside the menu's loop leaves the drop-down as it is.
  }
  return 0;
}

void TWinSkinMenu::MenuSelect(WPARAM wparam, LPARAM lparam) {
  TMenuLoopState& loop = MenuLoop();
  if (loop.Bar != this) return;
  const UINT flags = HIWORD(wparam);
  auto* menu = reinterpret_cast<HMENU>(lparam);
  if (flags == 0xFFFF && menu == nullptr) {
    // The drop-down closed.
    if (!loop.KeyNavigating) Form.MenuLoopActive = false;
    return;
  }
  // An entry was selected: whatever moved on before is over. (The arrow
  // keys read the selection from the menus themselves: closing a nested
  // sub-menu from the keyboard selects its parent entry without a word.)
  loop.KeyNavigating = false;
}

}  // namespace skin::win
