// The built-in table of control discovery: for a framework control, the
// first row whose test matches and whose skin-control member is on names
// the skinner (the controller carries out the row, TWinSkinForm::ApplyRow).
// Kept as data so the choice can be explained without making anything
// (the skin manager's coverage report).
//
//   TDiscoveryChoice c = ChooseRow(*control, skin_data);
//   if (c.Row) ... c.Row->Skinner ...; else ... c.Reason ...
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "framework/controls.h"
#include "skin/data/skin_data.h"

namespace skin::win {

// A row without a skin-control member to test.
inline constexpr int kNoRequirement = -1;

struct TDiscoveryRow {
  int Number;
  const char* What;  // the control test, in words
  std::function<bool(const fw::TControl& control, const std::string& upper_class)> Matches;
  int Requires;         // a TSkinControlType, or kNoRequirement
  bool NeedsTabs;       // the skin must have a "Tabs" element
  const char* Skinner;  // what the row attaches, in words
  // A matching row whose member is off ends the search: the control never
  // reaches the rows below (glyph buttons, the TDCEdit classes).
  bool Final = false;
};

const std::vector<TDiscoveryRow>& DiscoveryTable();

struct TDiscoveryChoice {
  const TDiscoveryRow* Row;  // nullptr: none applies
  std::string Reason;        // why none applies
};
TDiscoveryChoice ChooseRow(const fw::TControl& control, const skin::TSkinData& data);

// A windowed control with WS_HSCROLL or WS_VSCROLL, or whose Tag is 55.
bool HasScrollBars(const fw::TControl& control);

}  // namespace skin::win
