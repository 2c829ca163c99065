// Walks over a control's children that call out (creating windows, telling
// colours, painting, laying out) stay correct when a handler takes a child
// away or adds one on the way: a child that has left is not called again.
#include <gtest/gtest.h>

#include <memory>

#include "framework/forms.h"
#include "framework/panels.h"
#include "framework/stdctrls.h"
#include "tests/support/win/lambda_hooks.h"
#include "tests/support/win/pump.h"

namespace fw {
namespace {

using test_support::TLambdaHook;

class WalksTest : public ::testing::Test {
 protected:
  void SetUp() override {
    app_ = std::make_unique<TApplication>();
    app_->OnException = [this](const std::exception& e) { errors_.push_back(e.what()); };
    form_ = new TForm(app_.get());
    app_->SetMainForm(form_);
    form_->SetClientWidth(300);
    form_->SetClientHeight(200);
    panel_ = new TPanel(form_);
    panel_->SetParent(form_);
    panel_->SetBounds(0, 0, 300, 200);
  }
  void TearDown() override { app_.reset(); }

  std::unique_ptr<TApplication> app_;
  std::vector<std::string> errors_;
  TForm* form_ = nullptr;
  TPanel* panel_ = nullptr;
};

TEST_F(WalksTest, AChildTakenAwayWhileItsParentsWindowIsMadeGetsNoWindow) {
  auto* first = new TEdit(form_);
  first->SetParent(panel_);
  auto* second = new TEdit(form_);
  second->SetParent(panel_);
  auto* last = new TEdit(form_);
  last->SetParent(panel_);
  // While the first edit's window is set up, the last one leaves the panel.
  TLambdaHook meddle(*first, [&](TMessage& m, const TWindowProcHook& self) {
    if (m.Msg == WM_SETFONT && last->Parent() != nullptr) last->SetParent(nullptr);
    self.CallPrevious(m);
  });
  EXPECT_NO_THROW(form_->Show());
  EXPECT_TRUE(second->HandleAllocated());
  EXPECT_EQ(last->Parent(), nullptr);
  EXPECT_FALSE(last->HandleAllocated());
  EXPECT_TRUE(errors_.empty());
}

TEST_F(WalksTest, AChildTakenAwayDuringABroadcastHearsNoMore) {
  auto* first = new TEdit(form_);
  first->SetParent(panel_);
  auto* gone = new TEdit(form_);
  gone->SetParent(panel_);
  form_->Show();
  TLambdaHook meddle(*first, [&](TMessage& m, const TWindowProcHook& self) {
    if (m.Msg == CM_PARENTCOLORCHANGED && gone->Parent() != nullptr) gone->SetParent(nullptr);
    self.CallPrevious(m);
  });
  int told = 0;
  TLambdaHook count(*gone, [&](TMessage& m, const TWindowProcHook& self) {
    if (m.Msg == CM_PARENTCOLORCHANGED) ++told;
    self.CallPrevious(m);
  });
  panel_->SetColor(0x0000FF);
  EXPECT_EQ(told, 0);
}

TEST_F(WalksTest, AGraphicChildTakenAwayWhilePaintingIsNotPainted) {
  auto make = [&](int left) {
    auto* label = new TLabel(form_);
    label->SetParent(panel_);
    label->SetAutoSize(false);
    label->SetBounds(left, 10, 40, 20);
    return label;
  };
  TLabel* first = make(10);
  make(60);
  TLabel* last = make(110);
  form_->Show();
  test_support::PumpPending();
  bool taken = false;
  TLambdaHook meddle(*first, [&](TMessage& m, const TWindowProcHook& self) {
    if (m.Msg == WM_PAINT && !taken) {
      taken = true;
      last->SetParent(nullptr);
    }
    self.CallPrevious(m);
  });
  int last_paints = 0;
  TLambdaHook count(*last, [&](TMessage& m, const TWindowProcHook& self) {
    if (m.Msg == WM_PAINT) ++last_paints;
    self.CallPrevious(m);
  });
  InvalidateRect(panel_->Handle(), nullptr, TRUE);
  UpdateWindow(panel_->Handle());
  EXPECT_TRUE(taken);
  EXPECT_EQ(last_paints, 0);
}

TEST_F(WalksTest, AnAlignedChildTakenAwayDuringALayoutKeepsItsBounds) {
  auto make = [&](TAlign align) {
    auto* p = new TPanel(form_);
    p->SetParent(panel_);
    p->SetBounds(0, 0, 50, 30);
    p->SetAlign(align);
    return p;
  };
  TPanel* top = make(alTop);
  TPanel* gone = make(alTop);
  form_->Show();
  const RECT before = gone->BoundsRect();
  TLambdaHook meddle(*top, [&](TMessage& m, const TWindowProcHook& self) {
    if (m.Msg == WM_WINDOWPOSCHANGED && gone->Parent() != nullptr) gone->SetParent(nullptr);
    self.CallPrevious(m);
  });
  panel_->SetWidth(250);
  EXPECT_EQ(top->Width(), 250);
  EXPECT_EQ(gone->Parent(), nullptr);
  EXPECT_EQ(gone->BoundsRect().right, before.right);
  EXPECT_EQ(gone->BoundsRect().top, before.top);
}

}  // namespace
}  // namespace fw
