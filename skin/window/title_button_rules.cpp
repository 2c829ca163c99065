#include "skin/window/title_button_rules.h"

namespace skin {

namespace {

// The visibility code of the MDI child buttons, which sit on the menu band.
constexpr int kMenuBandCode = 100;

// One visibility code against the window. The two codes of a button read
// the table alike except for 0, 6 and 8, where the first one also asks for a
// system menu (`first`).
bool CodeAllows(int code, const TDataSkinSysButton& button, const TTitleButtonWindow& w,
                bool first) {
  switch (code) {
    case 0:
      return first ? (button.Action != 0 || w.SysMenu) : true;
    case 1:
      return w.Maximized;
    case 2:
      return !w.Maximized;
    case 3:
      return w.Active;
    case 4:
      return !w.Active;
    case 6:
      return w.MaxBox && (!first || w.SysMenu);
    case 7:
      return !w.MaxBox;
    case 8:
      return w.MinBox && (!first || w.SysMenu);
    case 9:
      return !w.MinBox;
    case kMenuBandCode:
      return w.MDIMaximized && w.MenuBarHeight > 0;
    case 200:
      return !w.DialogClass && w.Dialog;
    default:
      return code >= 201 && code <= 2000;
  }
}

}  // namespace

TTitleAction TitleActionOf(int action) {
  switch (action) {
    case 0:
      return TTitleAction::kClose;
    case 1:
    case 22:
      return TTitleAction::kMaximize;
    case 2:
    case 23:
      return TTitleAction::kMinimize;
    case 3:
    case 11:
    case 12:
      return TTitleAction::kSystemMenu;
    case 7:
    case 60:
      return TTitleAction::kMDIMinimize;
    case 8:
    case 61:
      return TTitleAction::kMDIRestore;
    case 9:
    case 62:
      return TTitleAction::kMDIClose;
    default:
      return action < 0 ? TTitleAction::kDecoration : TTitleAction::kUser;
  }
}

bool ShowsWindowIcon(int action) {
  return action == 3 || action == 11;
}

bool TitleButtonVisible(const TDataSkinSysButton& button, const TTitleButtonWindow& window) {
  bool visible = CodeAllows(button.Visibility, button, window, true) &&
                 CodeAllows(button.Visibility1, button, window, false);
  // The action's own conditions come last and win over every code.
  if (button.Action == 1 && !window.MaxBox) visible = false;
  if (button.Action == 2 && !window.MinBox) visible = false;
  if (TitleActionOf(button.Action) == TTitleAction::kSystemMenu && window.Dialog) visible = false;
  return visible;
}

int TitleButtonWidth(const TDataSkinSysButton& button) {
  const int frames = button.FrameCount > 0 ? button.FrameCount : 1;
  return button.Bitmap.Width() / frames;
}

TRect TitleButtonRect(const TDataSkinSysButton& button, const TTitleButtonPlace& place) {
  const int w = TitleButtonWidth(button);
  const int h = button.Bitmap.Height();
  int x = 0;
  int y = 0;
  switch (button.Align) {
    case 0:
      x = button.XCoord;
      y = button.YCoord;
      break;
    case 1:
      x = place.WindowWidth - button.XCoord;
      y = button.YCoord;
      break;
    case 2:
    case 8:
      x = place.CaptionText.Left - w - button.XCoord;
      y = button.YCoord;
      break;
    case 3:
    case 9:
      x = place.CaptionText.Right + button.XCoord;
      y = button.YCoord;
      break;
    case kMenuBandCode:
      y = (place.MenuBarHeight - h) / 2 + place.BorderTop;
      x = place.RightToLeft
              ? button.XCoord + place.BorderLeft + place.MenuBarLeftMargin
              : place.WindowWidth - button.XCoord - place.BorderRight - place.MenuBarLeftMargin;
      break;
    default:
      break;
  }
  return TRect{x, y, x + w, y + h};
}

int CaptionButtonFrame(bool active, int frame_count) {
  return active || frame_count < 4 ? 1 : 4;
}

int MouseStateFrame(const TDataSkinSysButton& button, int mouse_state) {
  return button.Visibility == kMenuBandCode && mouse_state == 3 ? 4 : mouse_state;
}

}  // namespace skin
