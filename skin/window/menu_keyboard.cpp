#include "skin/window/menu_keyboard.h"

namespace skin {

namespace {

// Upper case of the letters an accelerator may be: ASCII and Latin-1
// (U+00E0 to U+00FE but the division sign; U+00FF has its capital outside
// Latin-1 and stays as it is).
wchar_t FoldCase(wchar_t c) {
  if (c >= L'a' && c <= L'z') return static_cast<wchar_t>(c - 0x20);
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<wchar_t>(c - 0x20);
  return c;
}

bool OnBand(const TMenuBarKey& item) {
  return item.Visible && !item.Caption.empty();
}

}  // namespace

wchar_t AcceleratorOf(const std::wstring& caption) {
  for (size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != L'&') continue;
    if (caption[i + 1] == L'&') {
      ++i;  // "&&" shows one "&"
      continue;
    }
    return caption[i + 1];
  }
  return 0;
}

bool SameAccelerator(wchar_t a, wchar_t b) {
  return a != 0 && FoldCase(a) == FoldCase(b);
}

int FindAccelerator(const std::vector<TMenuBarKey>& items, wchar_t key) {
  for (size_t i = 0; i < items.size(); ++i) {
    const TMenuBarKey& item = items[i];
    if (item.Enabled && item.Visible && SameAccelerator(AcceleratorOf(item.Caption), key)) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

int NextMenuButton(const std::vector<TMenuBarKey>& items, int current, bool forward) {
  const int n = static_cast<int>(items.size());
  if (n == 0) return -1;
  int i = current < 0 || current >= n ? (forward ? n - 1 : 0) : current;
  for (int step = 0; step < n; ++step) {
    i = forward ? (i + 1) % n : (i + n - 1) % n;
    if (OnBand(items[static_cast<size_t>(i)])) return i;
  }
  return current >= 0 && current < n ? current : -1;
}

int DialogCharItem(const std::vector<TMenuBarKey>& items, wchar_t key, TKeyboardState keys) {
  if (!keys.Alt || keys.Ctrl || keys.Shift) return -1;
  return FindAccelerator(items, key);
}

TKeyMenuAnswer KeyMenuRule(const TKeyMenuInput& input, const std::vector<TMenuBarKey>& items) {
  TKeyMenuAnswer answer;
  if (input.MenuLoopActive || (input.Command & 0xFFF0) != kScKeyMenu || input.Captured) {
    return answer;
  }
  if (input.Key == L' ' || input.Key == L'-') return answer;
  if (input.Key == 0) {
    answer.Handled = true;
    return answer;
  }
  answer.Open = FindAccelerator(items, static_cast<wchar_t>(input.Key));
  answer.Handled = answer.Open >= 0;
  return answer;
}

uint32_t MenuArrowKey(uint32_t vk, bool right_to_left) {
  if (!right_to_left) return vk;
  if (vk == kVkLeft) return kVkRight;
  if (vk == kVkRight) return kVkLeft;
  return vk;
}

TArrowAction ArrowKeyRule(uint32_t vk, const TMenuSelection& selection) {
  if (vk == kVkLeft) {
    return !selection.Any || selection.InOpenDropDown ? TArrowAction::kPrevious
                                                      : TArrowAction::kDropDown;
  }
  if (vk == kVkRight) {
    return !selection.Any || !selection.HasChildren ? TArrowAction::kNext : TArrowAction::kDropDown;
  }
  return TArrowAction::kDropDown;
}

}  // namespace skin
