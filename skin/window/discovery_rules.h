// The rules of control discovery that need no window: the skin data's
// class-name mapping (Skin3rd), the skinner a raw child window of a dialog
// gets by its class and style, and the frame of a tool-bar button.
//
//   skin::MappedKind({"TcxDBComboBox=combobox"}, "TCXDBCOMBOBOX")   // "combobox"
//   skin::ChooseRawSkinner("button", BS_AUTOCHECKBOX, false)          // kCheckBox
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace skin {

// The kind a Skin3rd line gives `class_name` (letter case ignored): the
// first line that begins with the class name followed at once by "=" gives
// the lower-cased text after its first "=" (at most 50 characters). Empty
// when no line maps the class.
std::string MappedKind(const std::vector<std::string>& skin3rd, const std::string& class_name);

enum class TRawChoice {
  kNone,
  kButton,
  kCheckBox,
  kRadioButton,
  kComboBox,
  kInnerComboBox,  // the combo box inside a ComboBoxEx32
  kSizer,
  kEdit,
};
// The skinner of a raw child window: by its lower-cased window class, its
// style (buttons: the low bits, tested in order) and whether it has a child
// window.
TRawChoice ChooseRawSkinner(const std::string& lower_class, int32_t style, bool has_child);

// Custom-draw states of a tool-bar button (the framework's numbering).
enum : uint32_t {
  kToolSelected = 1,
  kToolGrayed = 2,
  kToolDisabled = 4,
  kToolFocused = 16,
  kToolDefault = 32,
  kToolHot = 64,
};
// The "Buttons" frame a tool-bar button is painted with, or 0 for none:
// selected 2; focused or hot 4; grayed or disabled none; default 1.
int ToolButtonFrame(uint32_t state);

}  // namespace skin
