#include "tests/skin/controls/panel_test_fixture.h"

#include <algorithm>
#include <string>

#include "framework/reader.h"
#include "framework/registry.h"
#include "skin/data/skin_draw.h"
#include "tests/skin/window/skinned_window.h"
#include "tests/support/win/pump.h"

namespace skin_test {

bool TFakeSkinForm::RegisterSkinner(skin::win::TSkinControl* skinner) {
  if (std::find(skinners_.begin(), skinners_.end(), skinner) != skinners_.end()) return true;
  skinners_.push_back(skinner);
  return false;
}

void TFakeSkinForm::UnregisterSkinner(skin::win::TSkinControl* skinner) {
  const auto at = std::find(skinners_.rbegin(), skinners_.rend(), skinner);
  if (at != skinners_.rend()) skinners_.erase(std::next(at).base());
}

void PanelSkinnerTest::SetUp() {
  fw::RegisterFrameworkClasses();
  app_ = std::make_unique<fw::TApplication>();
  app_->Initialize();
  UseSkin("test.skn");
  // The scratch bitmap the status bar and the tab set paint in is shared
  // and lives as long as the program: made before anything is counted.
  skin::win::SizeBuffer(skin::win::ScratchBitmap(), 1, 1);
}

void PanelSkinnerTest::TearDown() {
  test_support::PumpPending();
  app_.reset();
  data_.reset();
  EXPECT_TRUE(controller_.Skinners().empty()) << "skinners left registered";
}

void PanelSkinnerTest::UseSkin(const std::string& file) {
  data_ = skin::win::fixtures::LoadSkin(file);
  ASSERT_FALSE(data_->Data().NotLoaded) << file;
}

fw::TForm* PanelSkinnerTest::CreateForm(const std::string& controls) {
  auto* form = new fw::TForm(app_.get());
  if (app_->MainForm() == nullptr) app_->SetMainForm(form);
  // Each form of a test has a name of its own.
  const std::string name = "Janela" + std::to_string(app_->ComponentCount());
  fw::ReadComponent(*form, "object " + name + R"(: TForm
  Left = 80
  Top = 60
  ClientWidth = 420
  ClientHeight = 300
  Caption = 'Painéis'
)" + controls + "end\n");
  form->Show();
  Settle(form->Handle());
  return form;
}

void PanelSkinnerTest::Settle(HWND wnd) {
  test_support::PumpPending();
  RedrawWindow(wnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  test_support::PumpPending();
}

skin::TBitmap PanelSkinnerTest::Shot(HWND wnd) {
  Settle(GetAncestor(wnd, GA_ROOT));
  return skin::win::fixtures::CaptureWindow(wnd);
}

skin::TBitmap PanelSkinnerTest::ClientShot(HWND wnd) {
  const skin::TBitmap whole = Shot(wnd);
  RECT window;
  RECT client;
  GetWindowRect(wnd, &window);
  GetClientRect(wnd, &client);
  POINT origin{0, 0};
  ClientToScreen(wnd, &origin);
  skin::TBitmap part(client.right, client.bottom, skin::PixelFormat::k32Bit);
  const int x = origin.x - window.left;
  const int y = origin.y - window.top;
  skin::StretchCopy(part, {0, 0, client.right, client.bottom}, whole,
                    {x, y, x + client.right, y + client.bottom});
  return part;
}

skin::TBitmap PanelSkinnerTest::GraphicShot(const fw::TControl& control) {
  const skin::TBitmap parent = ClientShot(control.Parent()->Handle());
  const RECT r = control.BoundsRect();
  skin::TBitmap part(r.right - r.left, r.bottom - r.top, skin::PixelFormat::k32Bit);
  skin::StretchCopy(part, {0, 0, part.Width(), part.Height()}, parent,
                    {r.left, r.top, r.right, r.bottom});
  return part;
}

COLORREF PanelSkinnerTest::Face() const {
  return fw::ColorToRGB(data_->Data().ButtonFaceColour);
}

}  // namespace skin_test
