// The keyboard and navigation rules of the skinned menu bar, apart from the
// window: the accelerator of a caption, which item a key opens, which item
// the arrow keys move to (wrapping at both ends), what an arrow key does
// inside an open drop-down, and how the window answers SC_KEYMENU and an
// Alt+letter offered to the form.
//
//   std::vector<skin::TMenuBarKey> items = {{L"&Arquivo"}, {L"&Editar"}, {L"A&juda"}};
//   int i = skin::FindAccelerator(items, L'j');           // 2
//   int next = skin::NextMenuButton(items, 2, true);      // 0: wraps to the first
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace skin {

// What the rules read of a menu-bar item.
struct TMenuBarKey {
  std::wstring Caption;  // "&" marks the accelerator, "&&" is a plain "&"
  bool Enabled = true;
  bool Visible = true;
};

// The accelerator of a caption: the character after the first single "&";
// 0 when there is none.
wchar_t AcceleratorOf(const std::wstring& caption);

// Whether two characters are the same accelerator: letters compare without
// case (ASCII and the Latin-1 letters, so "&Édição" answers Alt+é).
bool SameAccelerator(wchar_t a, wchar_t b);

// The first item, in order, that is enabled and visible and whose caption
// has `key` as its accelerator; -1 when none.
int FindAccelerator(const std::vector<TMenuBarKey>& items, wchar_t key);

// The item the arrow keys move to from `current`: the next one (`forward`)
// or the previous one, wrapping from the last to the first and back. Items
// that are not on the band (hidden, or with an empty caption) are passed
// over; disabled ones are not. With `current` -1 the first (or last) item
// on the band; `current` itself when no other item is on the band; -1 when
// none is.
int NextMenuButton(const std::vector<TMenuBarKey>& items, int current, bool forward);

// The keyboard state when a form is offered a character: only Alt down
// opens a menu-bar item (Ctrl or Shift with it leaves the character to the
// form's controls).
struct TKeyboardState {
  bool Alt = false;
  bool Ctrl = false;
  bool Shift = false;
};

// The item an Alt+letter offered to the form opens; -1 when the form's
// controls get the character.
int DialogCharItem(const std::vector<TMenuBarKey>& items, wchar_t key, TKeyboardState keys);

// SC_KEYMENU (the system command of Alt alone, Alt+key and Alt+space).
inline constexpr uint32_t kScKeyMenu = 0xF100;
struct TKeyMenuInput {
  uint32_t Command = 0;         // wParam of WM_SYSCOMMAND
  uint32_t Key = 0;             // lParam: 0 for Alt alone, else the character
  bool MenuLoopActive = false;  // a drop-down of the band is open
  bool Captured = false;        // a window of the thread has the mouse capture
};
struct TKeyMenuAnswer {
  bool Handled = false;  // answered 1, not passed on: no native menu mode
  int Open = -1;         // the item whose drop-down opens, or -1
};
// Alt alone, or Alt with an item's accelerator, is answered without the
// native menu mode, which would track a menu the skinned band does not
// show; Alt with an accelerator also opens its item (a window without a
// form to offer the character to reaches its menu this way). Alt+space (the
// system menu), Alt+"-" (an MDI child's system menu), other keys, and every
// key while a drop-down is open or the mouse is captured are passed on.
TKeyMenuAnswer KeyMenuRule(const TKeyMenuInput& input, const std::vector<TMenuBarKey>& items);

// Virtual keys the drop-down rules read.
inline constexpr uint32_t kVkLeft = 0x25;
inline constexpr uint32_t kVkRight = 0x27;

// A right-to-left menu bar runs from right to left: the left arrow moves to
// the next item and opens nested sub-menus (they open to the left), so the
// two keys trade places before anything else reads them.
uint32_t MenuArrowKey(uint32_t vk, bool right_to_left);

// The entry selected in the open drop-down, from WM_MENUSELECT.
struct TMenuSelection {
  bool Any = false;             // something is selected
  bool InOpenDropDown = false;  // the entry belongs to the band's drop-down
                                // itself (not to a nested sub-menu)
  bool HasChildren = false;     // the entry opens a nested sub-menu
};

enum class TArrowAction : uint8_t {
  kDropDown,  // the drop-down handles the key (opens or closes a nested sub-menu)
  kPrevious,  // the band's previous item opens
  kNext,      // the band's next item opens
};
// Left (after MenuArrowKey) closes a nested sub-menu, or, at the drop-down's
// own level, moves to the previous item; right opens the selected entry's
// sub-menu, or, on an entry without one, moves to the next item.
TArrowAction ArrowKeyRule(uint32_t vk, const TMenuSelection& selection);

}  // namespace skin
