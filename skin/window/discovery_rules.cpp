#include "skin/window/discovery_rules.h"

#include <cctype>

namespace skin {

namespace {

std::string Lower(std::string s) {
  for (char& c : s)
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

}  // namespace

std::string MappedKind(const std::vector<std::string>& skin3rd, const std::string& class_name) {
  const std::string key = Lower(class_name) + "=";
  for (const std::string& line : skin3rd) {
    const std::string lower = Lower(line);
    if (lower.compare(0, key.size(), key) != 0) continue;
    return lower.substr(key.size(), 50);
  }
  return {};
}

TRawChoice ChooseRawSkinner(const std::string& lower_class, int32_t style, bool has_child) {
  if (lower_class == "button") {
    // Owner-drawn buttons and the later kinds (split buttons, command links)
    // draw themselves in ways no skin image describes: left alone.
    if ((style & 0xF) >= 0xB) return TRawChoice::kNone;
    if ((style & 7) == 7) return TRawChoice::kNone;  // a group box
    if ((style & 3) == 3 || (style & 2) != 0 || (style & 5) == 5) return TRawChoice::kCheckBox;
    if ((style & 9) == 9) return TRawChoice::kRadioButton;
    if ((style & 4) != 0) return TRawChoice::kRadioButton;
    return TRawChoice::kButton;
  }
  if (lower_class == "combobox") {
    // A simple combo box shows its list itself: nothing to skin.
    return (style & 3) == 1 ? TRawChoice::kNone : TRawChoice::kComboBox;
  }
  if (lower_class == "comboboxex32") {
    return has_child ? TRawChoice::kInnerComboBox : TRawChoice::kNone;
  }
  if (lower_class == "scrollbar") return TRawChoice::kSizer;
  if (lower_class == "edit") return TRawChoice::kEdit;
  return TRawChoice::kNone;
}

int ToolButtonFrame(uint32_t state) {
  if ((state & kToolSelected) != 0) return 2;
  if ((state & (kToolFocused | kToolHot)) != 0) return 4;
  if ((state & (kToolGrayed | kToolDisabled)) != 0) return 0;
  if ((state & kToolDefault) != 0) return 1;
  return 0;
}

}  // namespace skin
