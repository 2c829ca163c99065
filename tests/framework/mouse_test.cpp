// The mouse coming onto controls and leaving them (CM_MOUSEENTER,
// CM_MOUSELEAVE) for windowed and graphic controls, with real input too, and
// mouse routing after a lost capture.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/forms.h"
#include "framework/stdctrls.h"
#include "tests/support/win/lambda_hooks.h"
#include "tests/support/win/pump.h"

namespace fw {
namespace {

using test_support::TLambdaHook;

class MouseTest : public ::testing::Test {
 protected:
  void SetUp() override {
    app_ = std::make_unique<TApplication>();
    form_ = new TForm(app_.get());
    app_->SetMainForm(form_);
    form_->SetBounds(100, 100, 0, 0);
    form_->SetClientWidth(300);
    form_->SetClientHeight(200);
    panel_ = new TPanel(form_);
    panel_->SetParent(form_);
    panel_->SetBounds(10, 10, 200, 100);
    left_ = AddLabel(10);
    right_ = AddLabel(80);
  }
  TLabel* AddLabel(int x) {
    auto* label = new TLabel(form_);
    label->SetParent(panel_);
    label->SetAutoSize(false);
    label->SetBounds(x, 10, 50, 30);
    return label;
  }
  // Records "+name" and "-name" for enter and leave.
  std::unique_ptr<TLambdaHook> Watch(TControl* control, const std::string& name) {
    return std::make_unique<TLambdaHook>(*control, [this, name](TMessage& m, const auto& self) {
      if (m.Msg == CM_MOUSEENTER) events_.push_back("+" + name);
      if (m.Msg == CM_MOUSELEAVE) events_.push_back("-" + name);
      self.CallPrevious(m);
    });
  }
  void Move(int x, int y) { SendMessageW(panel_->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(x, y)); }

  std::unique_ptr<TApplication> app_;
  TForm* form_ = nullptr;
  TPanel* panel_ = nullptr;
  TLabel* left_ = nullptr;
  TLabel* right_ = nullptr;
  std::vector<std::string> events_;
};

TEST_F(MouseTest, EnterAndLeaveReachWindowedAndGraphicControls) {
  form_->Show();
  auto p = Watch(panel_, "panel");
  auto l = Watch(left_, "left");
  auto r = Watch(right_, "right");
  Move(5, 5);    // the panel itself
  Move(6, 6);    // still there: nothing new
  Move(20, 20);  // onto the left label
  Move(90, 20);  // onto the right one
  Move(190, 90);
  SendMessageW(panel_->Handle(), WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(events_,
            (std::vector<std::string>{"+panel", "+left", "-left", "+right", "-right", "-panel"}));
  EXPECT_FALSE(panel_->MouseInControl());
}

TEST_F(MouseTest, RealMouseMovesAreTracked) {
  form_->Show();
  test_support::PumpPending();
  auto p = Watch(panel_, "panel");
  RECT r;
  GetWindowRect(panel_->Handle(), &r);
  auto move_to = [](int x, int y) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
    in.mi.dy = y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &in, sizeof(in));
  };
  move_to(r.left + 5, r.top + 5);
  EXPECT_TRUE(test_support::PumpUntil([&] { return panel_->MouseInControl(); }));
  move_to(r.right + 150, r.bottom + 150);
  EXPECT_TRUE(test_support::PumpUntil([&] { return !panel_->MouseInControl(); }));
  EXPECT_EQ(events_, (std::vector<std::string>{"+panel", "-panel"}));
}

TEST_F(MouseTest, ALostCaptureDoesNotLeaveRoutingStuck) {
  form_->Show();
  int left_clicks = 0;
  int right_clicks = 0;
  left_->OnClick = [&](TObject*) { ++left_clicks; };
  right_->OnClick = [&](TObject*) { ++right_clicks; };
  HWND h = panel_->Handle();
  SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));  // press on the left label
  EXPECT_EQ(GetCapture(), h);
  SetCapture(form_->Handle());  // something else takes the mouse
  ReleaseCapture();
  // A click on the right label goes to the right label.
  SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(90, 20));
  SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(90, 20));
  EXPECT_EQ(right_clicks, 1);
  EXPECT_EQ(left_clicks, 0);
}

}  // namespace
}  // namespace fw
