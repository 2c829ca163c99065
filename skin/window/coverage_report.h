// The coverage report of the skin engine: every window of the process, and
// every graphic control of its framework windows, with what skins it or why
// nothing does. For developers who want to know which parts of their
// program the engine left alone.
//
//   std::string text = skin::win::CoverageReport();   // UTF-8, one line each
//
// A line reads, indented by depth:
//   Button "OK" (Button1 TButton): TSkinButton
//   Edit "" (Edit1 TEdit): left alone: Skin3rd maps TEdit to nil
#pragma once

#include <string>

#include "framework/controls.h"

namespace skin::win {

class TWinSkinForm;

std::string CoverageReport();

// Why the controller attached no skinner to `control` (empty when one
// serves it).
std::string ExplainControl(const TWinSkinForm& controller, const fw::TControl& control);

}  // namespace skin::win
