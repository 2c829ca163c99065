// ControlSkinTest: the fixture of the control skinners' tests under Wine. A
// framework form shown WITHOUT the skin manager (nothing skins it by
// itself), a skin data component loaded from a built skin, and a small
// stand-in for the form controller, so a test creates a control, attaches
// its skinner directly and looks at the pixels.
//
//   TEST_F(ControlSkinTest, X) {
//     auto* edit = Add<fw::TEdit>(10, 10, 120, 19);
//     auto* s = new skin::win::TSkinEdit(edit);
//     s->AttachHandle(edit->Handle(), &Skin(), &Controller(), &Canvas());
//     skin::TBitmap shot = Shot(edit->Handle());      // the window as shown
//   }
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/forms.h"
#include "framework/graphics.h"
#include "skin/controls/skin_control.h"
#include "skin/data/bitmap.h"
#include "skin/data/win/skin_data_component.h"

namespace skin_test {

// The form controller as the skinners see it: a list of skinners and a hot
// button.
class TFakeSkinForm : public skin::win::ISkinForm {
 public:
  bool RegisterSkinner(skin::win::TSkinControl* s) override {
    if (std::find(Skinners.begin(), Skinners.end(), s) != Skinners.end()) return true;
    Skinners.push_back(s);
    return false;
  }
  void UnregisterSkinner(skin::win::TSkinControl* s) override {
    auto it = std::find(Skinners.rbegin(), Skinners.rend(), s);
    if (it != Skinners.rend()) Skinners.erase(std::next(it).base());
  }
  skin::win::TSkinControl* GetHotButton() const override { return hot_; }
  void SetHotButton(skin::win::TSkinControl* b) override { hot_ = b; }
  std::vector<skin::win::TSkinControl*> Skinners;

 private:
  skin::win::TSkinControl* hot_ = nullptr;
};

class ControlSkinTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A control of type T on the form at (x, y), w x h, its window created
  // after `set_up` has set its properties.
  template <class T>
  T* Add(int x, int y, int w, int h, const std::function<void(T&)>& set_up = nullptr) {
    auto* c = new T(form_);
    c->SetBounds(x, y, w, h);
    if (set_up) set_up(*c);
    c->SetParent(form_);
    c->HandleNeeded();
    return c;
  }

  skin::win::TSkinData& Skin() { return *data_; }
  const skin::TSkinData& Elements() { return data_->Data(); }
  TFakeSkinForm& Controller() { return controller_; }
  fw::TCanvas& Canvas() { return canvas_; }
  fw::TForm& Form() { return *form_; }

  // Handles what is waiting and lets every window paint.
  static void Settle();
  // The pixels of a window as shown (children and windows above it in the
  // same top-level window included), after Settle.
  static skin::TBitmap Shot(HWND wnd);
  // The pixels of a rectangle of the screen, as the top-level window shown
  // there drew them.
  static skin::TBitmap ShotOfScreen(const RECT& r);

  std::unique_ptr<fw::TApplication> app_;
  fw::TOwned<skin::win::TSkinData> data_;
  fw::TForm* form_ = nullptr;
  TFakeSkinForm controller_;
  fw::TCanvas canvas_;
};

// Frame `frame` of a strip of `frames` side by side, stretched to w x h and
// drawn with magenta transparent over magenta: what a skinner draws there,
// magenta where the screen keeps what was below (SamePixels skips those).
skin::TBitmap StripFrame(const skin::TPixels& strip, int frames, int frame, int w, int h);
// Frame `frame` of an element nine-sliced to w x h with its margins (tiled
// when `tile`), over magenta.
skin::TBitmap ElementFrame(const skin::TDataSkinObject& e, int frames, int frame, int w, int h,
                           bool tile);
// The pixels of `expected` (at x, y of `shot`) that differ from the shot,
// magenta ones left out; no picture is saved (for "not this frame" checks).
int Mismatches(const skin::TPixels& shot, int x, int y, const skin::TPixels& expected);
// `rect` of a picture.
skin::TBitmap Crop(const skin::TPixels& picture, const RECT& rect);
// The colour of a skin colour value on screen (0x00RRGGBB, as captured).
uint32_t ScreenColour(uint32_t skin_colour);

// Real input: the mouse to a screen point, the left button down or up.
void MouseTo(POINT screen);
void MouseButton(bool down);

}  // namespace skin_test
