// PanelSkinnerTest: the fixture of the panel, status-bar, progress and tab
// skinners' tests. A framework form from a stored description is shown
// without any skin manager; each test attaches the skinner it tests itself,
// registered with a fake form controller, with a skin data component
// holding one of the built skins.
//
//   fw::TForm* form = CreateForm(R"(object Status1: TStatusBar ... end)");
//   auto* s = new skin::win::TSkinStatusBar(status);
//   s->Attach(&Controller(), &Data(), false, nullptr);
//   skin::TBitmap shot = Shot(status->Handle());
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/controls.h"
#include "framework/forms.h"
#include "skin/controls/skin_control.h"
#include "skin/data/bitmap.h"
#include "skin/data/win/skin_data_component.h"
#include "tests/support/win/live_counts.h"

namespace skin_test {

// The form controller as the skinners see it: a list and a hot button.
class TFakeSkinForm : public skin::win::ISkinForm {
 public:
  bool RegisterSkinner(skin::win::TSkinControl* skinner) override;
  void UnregisterSkinner(skin::win::TSkinControl* skinner) override;
  skin::win::TSkinControl* GetHotButton() const override { return hot_; }
  void SetHotButton(skin::win::TSkinControl* button) override { hot_ = button; }

  const std::vector<skin::win::TSkinControl*>& Skinners() const { return skinners_; }

 private:
  std::vector<skin::win::TSkinControl*> skinners_;
  skin::win::TSkinControl* hot_ = nullptr;
};

class PanelSkinnerTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A form of the description's controls (`controls`: the objects only),
  // 420 x 300 client, shown and painted.
  fw::TForm* CreateForm(const std::string& controls);
  // Loads another of the built skins ("default.skn", "test.skn").
  void UseSkin(const std::string& file);
  // Handles what is pending, then paints every invalid window now.
  static void Settle(HWND wnd);
  // The window as it shows on screen, after Settle.
  static skin::TBitmap Shot(HWND wnd);
  // The client area of a window as it shows on screen.
  static skin::TBitmap ClientShot(HWND wnd);
  // A graphic control as it shows on its parent.
  static skin::TBitmap GraphicShot(const fw::TControl& control);

  skin::win::TSkinData& Data() { return *data_; }
  skin::TSkinData& Elements() { return data_->Data(); }
  TFakeSkinForm& Controller() { return controller_; }
  COLORREF Face() const;

  std::unique_ptr<fw::TApplication> app_;
  fw::TOwned<skin::win::TSkinData> data_;
  TFakeSkinForm controller_;
};

}  // namespace skin_test
