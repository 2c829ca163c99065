// Helpers of the window skinning tests: a generated skin loaded into a skin
// data component, a controller attached to a window the way the skin manager
// attaches it, the window's pixels as it shows them, and pixel comparisons
// that save the picture when they fail.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "framework/component.h"
#include "framework/forms.h"
#include "skin/data/bitmap.h"
#include "skin/data/win/skin_data_component.h"
#include "skin/window/win_skin_form.h"

namespace skin::win::fixtures {

// A skin data component holding build/<preset>/skins/<file>.
fw::TOwned<TSkinData> LoadSkin(const std::string& file);

// Attaches a controller to `wnd` (a framework form when `form` is set; then
// the form owns it) and waits until the attach completed: the size adjusted,
// the region built, the frame painted.
TWinSkinForm* AttachController(HWND wnd, TSkinData& data, fw::TForm* form);

// The whole window as it shows on screen.
skin::TBitmap CaptureWindow(HWND wnd);

// The pixels of `expected` (placed at x, y of `shot`) that differ from the
// shot, magenta ones (outside the window region) left out. On a mismatch the
// shot is saved as a BMP named after `what` and the message says where.
::testing::AssertionResult SamePixels(const skin::TBitmap& shot, int x, int y,
                                      const skin::TBitmap& expected, const std::string& what);

// Saves a picture in the build tree; returns the path.
std::string SaveShot(const skin::TBitmap& shot, const std::string& name);

}  // namespace skin::win::fixtures
