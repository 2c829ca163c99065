// The rules of the title-bar buttons, apart from the window they sit on: what
// a button's action does, whether its two visibility codes show it for a
// window in a given state, where its image goes, and which frame of the image
// is painted.
//
//   skin::TTitleButtonWindow w{.SysMenu = true, .MaxBox = true, .Maximized = false};
//   if (skin::TitleButtonVisible(*data.SysButtons[0], w))
//     rect = skin::TitleButtonRect(*data.SysButtons[0], place);   // window coordinates
#pragma once

#include "skin/data/bitmap.h"
#include "skin/data/skin_elements.h"

namespace skin {

// What clicking a title button does.
enum class TTitleAction {
  kClose,        // 0
  kMaximize,     // 1, 22: maximize or restore
  kMinimize,     // 2, 23: minimize or restore
  kSystemMenu,   // 3, 11, 12
  kMDIMinimize,  // 7, 60: the active MDI child
  kMDIRestore,   // 8, 61
  kMDIClose,     // 9, 62
  kUser,         // any other value >= 0: the window is told the action number
  kDecoration,   // negative: drawn, never hit
};
TTitleAction TitleActionOf(int action);

// Buttons of actions 3 and 11 show the window's icon instead of an image.
bool ShowsWindowIcon(int action);

// The state of the window the visibility codes look at.
struct TTitleButtonWindow {
  bool SysMenu = false;       // a system menu (WS_SYSMENU or a menu handle)
  bool MaxBox = false;        // WS_MAXIMIZEBOX
  bool MinBox = false;        // WS_MINIMIZEBOX
  bool Maximized = false;     // the window is maximized
  bool Active = true;         // the window is active
  bool Dialog = false;        // a dialog frame
  bool DialogClass = false;   // a dialog box or message box window class
  bool MDIMaximized = false;  // an MDI frame whose active child is maximized
  int MenuBarHeight = 0;      // 0 without a skinned menu bar
};

// Whether a button is shown: both its Visibility and its Visibility1 code
// must allow it, then a maximize button needs WS_MAXIMIZEBOX, a minimize
// button WS_MINIMIZEBOX, and a dialog frame shows no system-menu button.
bool TitleButtonVisible(const TDataSkinSysButton& button, const TTitleButtonWindow& window);

// What a button's place depends on besides the button.
struct TTitleButtonPlace {
  int WindowWidth = 0;
  TRect CaptionText;  // where the caption text was drawn (window coordinates)
  int BorderLeft = 0;
  int BorderTop = 0;
  int BorderRight = 0;
  int MenuBarHeight = 0;
  bool RightToLeft = false;
  int MenuBarLeftMargin = 0;  // left margin of the skin's menu bar image, 0 without one
};

// The size of one frame of the button's image (frames side by side; a frame
// count below 1 counts as 1).
int TitleButtonWidth(const TDataSkinSysButton& button);

// The button's rectangle in window coordinates, by its Align: from the
// window's left or right edge, left or right of the caption text, or
// centred in the menu band (the MDI child buttons). Other values: the origin.
TRect TitleButtonRect(const TDataSkinSysButton& button, const TTitleButtonPlace& place);

// The frame a button is drawn with when the caption band is painted: 1, or
// 4 (the inactive look) for an inactive window when the image has 4 frames.
int CaptionButtonFrame(bool active, int frame_count);
// The frame drawn for a mouse state (1 normal, 2 pressed, 3 hot): the state
// itself, except that a menu-band button uses frame 4 when hot.
int MouseStateFrame(const TDataSkinSysButton& button, int mouse_state);

}  // namespace skin
