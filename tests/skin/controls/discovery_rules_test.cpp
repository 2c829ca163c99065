// Control discovery's rules apart from windows: the Skin3rd mapping, the
// raw child windows of dialogs by class and style, the tool-bar button
// frames.
#include "skin/window/discovery_rules.h"

#include <gtest/gtest.h>

namespace skin {
namespace {

TEST(DiscoveryRules, Skin3rdMapsWholeClassNamesWithoutLetterCase) {
  const std::vector<std::string> lines = {"TFancyEdit=Edit", "TFancyEditPro=combobox",
                                          "TNothing=nil", "TLong=" + std::string(60, 'x')};
  EXPECT_EQ(MappedKind(lines, "TFANCYEDIT"), "edit");
  EXPECT_EQ(MappedKind(lines, "tfancyeditpro"), "combobox");
  EXPECT_EQ(MappedKind(lines, "TFancyEd"), "");          // a prefix of a mapped name
  EXPECT_EQ(MappedKind(lines, "TFancyEditProMax"), "");  // a longer name
  EXPECT_EQ(MappedKind(lines, "TNothing"), "nil");
  EXPECT_EQ(MappedKind(lines, "TLong").size(), 50u);
  // The first line wins.
  EXPECT_EQ(MappedKind({"TA=panel", "TA=edit"}, "TA"), "panel");
}

TEST(DiscoveryRules, RawChildWindowsByClassAndStyle) {
  const struct {
    const char* cls;
    int32_t style;
    bool child;
    TRawChoice choice;
  } cases[] = {
      {"button", 0x0, false, TRawChoice::kButton},           // BS_PUSHBUTTON
      {"button", 0x1, false, TRawChoice::kButton},           // BS_DEFPUSHBUTTON
      {"button", 0x2, false, TRawChoice::kCheckBox},         // BS_CHECKBOX
      {"button", 0x3, false, TRawChoice::kCheckBox},         // BS_AUTOCHECKBOX
      {"button", 0x4, false, TRawChoice::kRadioButton},      // BS_RADIOBUTTON
      {"button", 0x5, false, TRawChoice::kCheckBox},         // BS_3STATE
      {"button", 0x6, false, TRawChoice::kCheckBox},         // BS_AUTO3STATE
      {"button", 0x7, false, TRawChoice::kNone},             // BS_GROUPBOX
      {"button", 0x9, false, TRawChoice::kRadioButton},      // BS_AUTORADIOBUTTON
      {"button", 0xB, false, TRawChoice::kNone},             // BS_OWNERDRAW
      {"button", 0xC, false, TRawChoice::kNone},             // BS_SPLITBUTTON
      {"button", 0x20 | 0x3, false, TRawChoice::kCheckBox},  // BS_LEFTTEXT too
      {"combobox", 0x1, false, TRawChoice::kNone},           // CBS_SIMPLE
      {"combobox", 0x2, false, TRawChoice::kComboBox},       // CBS_DROPDOWN
      {"combobox", 0x3, false, TRawChoice::kComboBox},       // CBS_DROPDOWNLIST
      {"comboboxex32", 0x2, true, TRawChoice::kInnerComboBox},
      {"comboboxex32", 0x2, false, TRawChoice::kNone},
      {"scrollbar", 0x10, false, TRawChoice::kSizer},  // SBS_SIZEGRIP
      {"edit", 0x0, false, TRawChoice::kEdit},
      {"systreeview32", 0x0, false, TRawChoice::kNone},
      {"static", 0x0, false, TRawChoice::kNone},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ChooseRawSkinner(c.cls, c.style, c.child), c.choice) << c.cls << " " << c.style;
  }
}

TEST(DiscoveryRules, ToolButtonFrames) {
  EXPECT_EQ(ToolButtonFrame(kToolSelected | kToolHot), 2);
  EXPECT_EQ(ToolButtonFrame(kToolHot), 4);
  EXPECT_EQ(ToolButtonFrame(kToolFocused | kToolDisabled), 4);
  EXPECT_EQ(ToolButtonFrame(kToolDisabled | kToolDefault), 0);
  EXPECT_EQ(ToolButtonFrame(kToolGrayed), 0);
  EXPECT_EQ(ToolButtonFrame(kToolDefault), 1);
  EXPECT_EQ(ToolButtonFrame(0), 0);
}

}  // namespace
}  // namespace skin
