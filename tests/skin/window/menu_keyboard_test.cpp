#include "skin/window/menu_keyboard.h"

#include <gtest/gtest.h>

namespace skin {
namespace {

// A band of four: "&Arquivo", "&Editar" hidden, "A&juda" disabled,
// "&Édição", and an item without a caption (an owner-drawn entry nobody
// named).
std::vector<TMenuBarKey> Band() {
  return {{L"&Arquivo", true, true},
          {L"&Editar", true, false},
          {L"A&juda", false, true},
          {L"&\u00C9di\u00E7\u00E3o", true, true},
          {L"", true, true}};
}

TEST(MenuKeyboard, AcceleratorOfACaption) {
  const struct {
    const wchar_t* caption;
    wchar_t key;
  } cases[] = {
      {L"&Arquivo", L'A'},   {L"A&juda", L'j'}, {L"Sem marca", 0}, {L"Salvar &&Sair", 0},
      {L"P&&D &Novo", L'N'}, {L"Fim&", 0},      {L"", 0},          {L"&&&Tudo", L'T'},
  };
  for (const auto& c : cases)
    EXPECT_EQ(AcceleratorOf(c.caption), c.key) << c.caption;
  EXPECT_TRUE(SameAccelerator(L'a', L'A'));
  EXPECT_TRUE(SameAccelerator(L'\u00E9', L'\u00C9'));   // é, É
  EXPECT_FALSE(SameAccelerator(L'\u00F7', L'\u00D7'));  // ÷ and × are no pair
  EXPECT_FALSE(SameAccelerator(0, 0));
  EXPECT_FALSE(SameAccelerator(L'a', L'b'));
}

TEST(MenuKeyboard, FindAcceleratorTakesTheFirstEnabledVisibleItem) {
  const auto band = Band();
  const struct {
    wchar_t key;
    int item;
  } cases[] = {
      {L'a', 0},                   // lower case finds "&Arquivo"
      {L'A', 0},      {L'e', -1},  // "&Editar" is hidden
      {L'j', -1},                  // "A&juda" is disabled
      {L'\u00E9', 3},              // é finds "&Édição"
      {L'x', -1},     {0, -1},
  };
  for (const auto& c : cases)
    EXPECT_EQ(FindAccelerator(band, c.key), c.item) << int(c.key);
  // Two items with one letter: the first in order.
  const std::vector<TMenuBarKey> twice = {{L"&Sair"}, {L"&Sobre"}};
  EXPECT_EQ(FindAccelerator(twice, L's'), 0);
}

TEST(MenuKeyboard, NextMenuButtonWrapsAndPassesOverItemsOffTheBand) {
  const auto band = Band();  // on the band: 0, 2 (disabled), 3
  const struct {
    int current;
    bool forward;
    int next;
  } cases[] = {
      {0, true, 2},  // the hidden item is passed over, the disabled one is not
      {2, true, 3},
      {3, true, 0},   // the last wraps to the first (the empty caption is passed
                      // over)
      {0, false, 3},  // the first wraps to the last
      {3, false, 2},
      {2, false, 0},
      {-1, true, 0},  // nothing open yet
      {-1, false, 3},
      {1, true, 2},  // from an item off the band
  };
  for (const auto& c : cases) {
    EXPECT_EQ(NextMenuButton(band, c.current, c.forward), c.next)
        << c.current << (c.forward ? " forward" : " backward");
  }
  // Three plain items: the edge cases of the band's own description.
  const std::vector<TMenuBarKey> three = {{L"&A"}, {L"&B"}, {L"&C"}};
  EXPECT_EQ(NextMenuButton(three, 2, true), 0);
  EXPECT_EQ(NextMenuButton(three, 0, false), 2);
  // Alone on the band: stays; nothing on the band: none.
  const std::vector<TMenuBarKey> alone = {{L"&A"}, {L"&B", true, false}};
  EXPECT_EQ(NextMenuButton(alone, 0, true), 0);
  EXPECT_EQ(NextMenuButton({}, 0, true), -1);
  EXPECT_EQ(NextMenuButton({{L"", true, true}}, -1, true), -1);
}

TEST(MenuKeyboard, OnlyAltAloneOpensAnItemFromACharacter) {
  const auto band = Band();
  const struct {
    TKeyboardState keys;
    wchar_t key;
    int item;
  } cases[] = {
      {{true, false, false}, L'a', 0},   {{true, true, false}, L'a', -1},  // Ctrl+Alt
      {{true, false, true}, L'a', -1},                                     // Shift+Alt
      {{false, false, false}, L'a', -1},  // a plain character goes to the controls
      {{false, true, false}, L'a', -1},  {{true, false, false}, L'j', -1},  // disabled item
      {{true, false, false}, L'z', -1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DialogCharItem(band, c.key, c.keys), c.item)
        << c.keys.Alt << c.keys.Ctrl << c.keys.Shift << " " << int(c.key);
  }
}

TEST(MenuKeyboard, KeyMenuRule) {
  const auto band = Band();
  const struct {
    TKeyMenuInput in;
    bool handled;
    int open;
  } cases[] = {
      {{kScKeyMenu, 0, false, false}, true, -1},      // Alt alone: no native menu mode
      {{kScKeyMenu | 3, 0, false, false}, true, -1},  // the low four bits are the system's
      {{kScKeyMenu, L'a', false, false}, true, 0},    // Alt+accelerator opens its item
      {{kScKeyMenu, L'A', false, false}, true, 0},
      {{kScKeyMenu, L'x', false, false}, false, -1},  // no item: the system beeps
      {{kScKeyMenu, L'j', false, false}, false, -1},  // a disabled item's letter
      {{kScKeyMenu, L' ', false, false}, false, -1},  // Alt+space: the system menu
      {{kScKeyMenu, L'-', false, false}, false, -1},  // Alt+"-": an MDI child's menu
      {{kScKeyMenu, 0, true, false}, false, -1},      // a drop-down is open
      {{kScKeyMenu, L'a', true, false}, false, -1},
      {{kScKeyMenu, 0, false, true}, false, -1},  // the mouse is captured
      {{0xF060 /* SC_CLOSE */, 0, false, false}, false, -1},
      {{0xF020 /* SC_MINIMIZE */, L'a', false, false}, false, -1},
  };
  for (const auto& c : cases) {
    const TKeyMenuAnswer a = KeyMenuRule(c.in, band);
    EXPECT_EQ(a.Handled, c.handled) << std::hex << c.in.Command << " " << c.in.Key;
    EXPECT_EQ(a.Open, c.open) << std::hex << c.in.Command << " " << c.in.Key;
  }
  // A window without a menu band: Alt alone is still answered.
  EXPECT_TRUE(KeyMenuRule({kScKeyMenu, 0, false, false}, {}).Handled);
  EXPECT_FALSE(KeyMenuRule({kScKeyMenu, L'a', false, false}, {}).Handled);
}

TEST(MenuKeyboard, ArrowKeysInAnOpenDropDown) {
  constexpr uint32_t kVkUp = 0x26;
  const struct {
    uint32_t vk;
    TMenuSelection sel;
    TArrowAction action;
  } cases[] = {
      {kVkLeft, {false, false, false}, TArrowAction::kPrevious},  // nothing selected yet
      {kVkLeft, {true, true, false}, TArrowAction::kPrevious},    // at the drop-down's level
      {kVkLeft, {true, true, true}, TArrowAction::kPrevious},
      {kVkLeft, {true, false, false}, TArrowAction::kDropDown},  // closes the nested sub-menu
      {kVkRight, {false, false, false}, TArrowAction::kNext},
      {kVkRight, {true, true, false}, TArrowAction::kNext},
      {kVkRight, {true, false, false}, TArrowAction::kNext},    // a leaf of a nested sub-menu
      {kVkRight, {true, true, true}, TArrowAction::kDropDown},  // opens the sub-menu
      {kVkUp, {true, true, false}, TArrowAction::kDropDown},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ArrowKeyRule(c.vk, c.sel), c.action)
        << c.vk << " " << c.sel.Any << c.sel.InOpenDropDown << c.sel.HasChildren;
  }
  // Right to left the two arrows trade places; other keys stay.
  EXPECT_EQ(MenuArrowKey(kVkLeft, true), kVkRight);
  EXPECT_EQ(MenuArrowKey(kVkRight, true), kVkLeft);
  EXPECT_EQ(MenuArrowKey(kVkUp, true), kVkUp);
  EXPECT_EQ(MenuArrowKey(kVkLeft, false), kVkLeft);
  EXPECT_EQ(ArrowKeyRule(MenuArrowKey(kVkLeft, true), {true, true, false}), TArrowAction::kNext);
}

}  // namespace
}  // namespace skin
