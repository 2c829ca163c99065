// Skinners of containers:
// - TSkinBox: panels, forms inside other forms, navigator bars and other
//   containers: skinned by their colour only (the skin's background while
//   skinned, their own colour back afterwards); their messages are not
//   hooked;
// - TSkinGroupBox: group boxes and radio groups, the frame redrawn as a
//   rounded line in the skin's shadow colour with the caption on the skin's
//   background;
// - TSkinObjImage: controls that take custom check-box glyphs through
//   published properties ("CustomGlyphs", "UseCustomGlyphs"), given a strip
//   built from the skin's check-box image.
#pragma once

#include <windows.h>

#include <cstdint>

#include "skin/controls/skin_control.h"

namespace skin::win {

class TSkinBox : public TSkinControl {
  FW_CLASS_INFO(TSkinBox)

 public:
  using TSkinControl::TSkinControl;

  // Takes the skin colour without hooking the control.
  void Attach(ISkinForm* form, TSkinData* data, bool use_skin_colour, fw::TCanvas* canvas) override;
  void Detach() override;
};

class TSkinGroupBox : public TSkinControl {
  FW_CLASS_INFO(TSkinGroupBox)

 public:
  using TSkinControl::TSkinControl;

 protected:
  void PaintTo(HDC dc, const RECT& rect) override;
};

class TSkinObjImage : public TSkinControl {
  FW_CLASS_INFO(TSkinObjImage)

 public:
  using TSkinControl::TSkinControl;

  void Attach(ISkinForm* form, TSkinData* data, bool use_skin_colour, fw::TCanvas* canvas) override;
  void Detach() override;
  void SkinChanged() override;
  // Builds the glyph strip from the skin's check-box image and hands it to
  // the control (Kind 1).
  void ApplyGlyphs();

  int32_t Kind = 0;  // 1: check-box glyph supplier
};

}  // namespace skin::win
