// SkinnedWindowTest: the fixture of the window skinners' tests. Each test
// gets a fresh application, a fresh skin manager and a skin data component
// of kind sfMainform holding one of the built skins, active: every window
// the test activates is skinned by the manager's hook, as in the program.
//
//   class TitleButtonsTest : public skin_test::SkinnedWindowTest {};
//   TEST_F(TitleButtonsTest, X) {
//     HWND wnd = CreateRawWindow(WS_OVERLAPPEDWINDOW);
//     skin::win::TWinSkinForm* c = Skin(wnd);      // activated, attached, state 1
//     skin::TBitmap shot = fixtures::CaptureWindow(wnd);   // skinned_window.h
//   }
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/forms.h"
#include "framework/graphics.h"
#include "framework/timers.h"
#include "skin/data/bitmap.h"
#include "skin/data/win/skin_data_component.h"
#include "skin/window/skin_surface.h"
#include "skin/window/win_skin_form.h"

namespace skin_test {

class SkinnedWindowTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The package the component loads ("test.skn" unless a test says
  // otherwise before SetUp).
  std::string skin_file_ = "test.skn";

  // A top-level raw window (no framework object) of the test's own class,
  // shown but not activated; destroyed after the test.
  HWND CreateRawWindow(DWORD style, DWORD ex_style = 0, int width = 420, int height = 300);
  // A framework form from a stored description, shown; freed with the
  // application.
  fw::TForm* CreateForm(const std::string& description);
  // Activates the window and waits until its controller is attached and
  // ready; the controller.
  skin::win::TWinSkinForm* Skin(HWND wnd);

  skin::win::TSkinData& Data() { return *data_; }

  std::unique_ptr<fw::TApplication> app_;
  fw::TOwned<skin::win::TSkinData> data_;
  std::vector<HWND> windows_;
};

// A copy of `rect` of a picture.
skin::TBitmap Crop(const skin::TPixels& picture, const RECT& rect);

// The screen point of `p`, in the window coordinates of the skinned frame
// (the inverse of the controller's ToWindowPoint).
POINT ScreenPoint(const skin::win::TWinSkinForm& c, POINT p);
// Sends a non-client mouse message as the system would, at ScreenPoint(p).
LRESULT SendNCMouse(const skin::win::TWinSkinForm& c, UINT msg, WPARAM hit, POINT p);
// The centre of a rectangle.
POINT Centre(const RECT& r);
// Takes the first posted message `msg` of `wnd` off the queue (without
// handling it); false when none is there.
bool TakePosted(HWND wnd, UINT msg, MSG* out = nullptr);

// Closes the menu a test opens, from inside the menu's own loop, once its
// window shows; `OnOpen` sees the window first.
class TMenuCloser {
 public:
  TMenuCloser();
  int Seen() const { return seen_; }
  std::function<void(HWND menu)> OnOpen;

 private:
  int seen_ = 0;
  fw::TTimerHandle timer_;
};

using skin::win::ViewOf;

}  // namespace skin_test
