// Stored descriptions: the readable text from which a form (or any root
// component) and its components are created. Example:
//
//   object FPrincipal: TFPrincipal
//     Caption = 'Lumeira - Quennor'
//     Font.Style = [fsBold]
//     Color = clBtnHighlight
//     OnCreate = FormCreate
//     object Panel1: TPanel
//       Left = 0
//       Glyph.ResourceName = 'GLYPH'
//       Items.Text = ('first line' 'second line')
//     end
//   end
//
// Values: integers (decimal, or hexadecimal after '$'), texts in single
// quotes ('' is a quote; UTF-8; #nnn adds the character nnn, so
// 'a'#13#10'b' spans lines), identifiers (enumeration values, True/False,
// integer constants such as colour names), sets in brackets and lists of
// texts in parentheses (given to a text property as lines joined by CR LF).
// A dotted name walks through object properties. Events name a published
// method of the root. Nested objects are created through the class registry,
// owned by the root, and given the enclosing object as parent component.
// Everything is read in stored order; Loaded() runs for every component read,
// in that order, once the whole description has been read.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <type_traits>

#include "framework/component.h"

namespace fw {

// A syntax or content error; the message names the line.
class EReadError : public Exception {
 public:
  using Exception::Exception;
};

using TComponentFactory = std::function<TComponent*(TComponent* owner)>;

// The class registry used to create nested objects by class name.
void RegisterComponentClass(const TClassInfo& info, TComponentFactory factory);
template <class T>
void RegisterComponentClass() {
  static_assert(std::is_same_v<typename T::ThisClass, T>,
                "the class lacks FW_CLASS_INFO and would report its parent's name");
  RegisterComponentClass(T::StaticClassInfo(),
                         [](TComponent* owner) -> TComponent* { return new T(owner); });
}
const TClassInfo* FindClassInfo(std::string_view name);

// Integer constants that a description may use by name (colours).
void RegisterIntegerConstant(std::string_view name, int64_t value);
bool FindIntegerConstant(std::string_view name, int64_t& value);

// Reads `text` into `root`: its class name must match the root's class.
void ReadComponent(TComponent& root, std::string_view text);

}  // namespace fw
