// Bounds that follow the window, aligned children laid out again, a window
// created anew, and colours that notify and come back exactly.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "framework/dc.h"
#include "framework/forms.h"
#include "framework/stdctrls.h"
#include "tests/support/win/lambda_hooks.h"
#include "tests/support/win/message_sequence.h"
#include "tests/support/win/pump.h"

namespace fw {
namespace {

class BoundsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    app_ = std::make_unique<TApplication>();
    form_ = new TForm(app_.get());
    app_->SetMainForm(form_);
    form_->SetBounds(100, 100, 0, 0);
    form_->SetClientWidth(300);
    form_->SetClientHeight(200);
  }
  RECT WindowRect() const {
    RECT r;
    GetWindowRect(form_->Handle(), &r);
    return r;
  }
  std::unique_ptr<TApplication> app_;
  TForm* form_ = nullptr;
};

TEST_F(BoundsTest, AWindowMovedOutsideTheFrameworkStaysWhereItWasPut) {
  form_->Show();
  // The user drags the window.
  SetWindowPos(form_->Handle(), nullptr, 320, 210, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  EXPECT_EQ(form_->Left(), 320);
  EXPECT_EQ(form_->Top(), 210);
  // A re-layout through the framework does not move it back.
  form_->SetHeight(form_->Height() + 1);
  form_->SetHeight(form_->Height() - 1);
  EXPECT_EQ(WindowRect().left, 320);
  EXPECT_EQ(WindowRect().top, 210);
}

TEST_F(BoundsTest, AlignedChildrenFollowAResizedForm) {
  auto add = [&](TAlign align, int size) {
    auto* p = new TPanel(form_);
    p->SetParent(form_);
    p->SetBounds(0, 0, size, size);
    p->SetAlign(align);
    return p;
  };
  TPanel* top = add(alTop, 30);
  TPanel* bottom = add(alBottom, 20);
  TPanel* left = add(alLeft, 40);
  TPanel* client = add(alClient, 10);
  form_->Show();
  SetWindowPos(form_->Handle(), nullptr, 0, 0, form_->Width() + 100, form_->Height() + 50,
               SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(form_->ClientWidth(), 400);
  EXPECT_EQ(form_->ClientHeight(), 250);
  struct TCase {
    TPanel* panel;
    RECT expected;
  } cases[] = {
      {top, {0, 0, 400, 30}},
      {bottom, {0, 230, 400, 250}},
      {left, {0, 30, 40, 230}},
      {client, {40, 30, 400, 230}},
  };
  for (const auto& c : cases) {
    RECT r = c.panel->BoundsRect();
    EXPECT_EQ(r.left, c.expected.left);
    EXPECT_EQ(r.top, c.expected.top);
    EXPECT_EQ(r.right, c.expected.right);
    EXPECT_EQ(r.bottom, c.expected.bottom);
    // And the windows are there.
    RECT w;
    GetWindowRect(c.panel->Handle(), &w);
    MapWindowPoints(HWND_DESKTOP, form_->Handle(), reinterpret_cast<POINT*>(&w), 2);
    EXPECT_EQ(w.right - w.left, c.expected.right - c.expected.left);
  }
}

TEST_F(BoundsTest, TheClientSizeIsKeptOverTheFrameTheWindowHasNow) {
  // A frame drawn by someone else: none at all.
  test_support::TLambdaHook frameless(*form_, [](TMessage& m, const TWindowProcHook& self) {
    if (m.Msg == WM_NCCALCSIZE) {
      m.Result = 0;  // the whole window is client area
      return;
    }
    self.CallPrevious(m);
  });
  form_->Show();
  SetWindowPos(form_->Handle(), nullptr, 0, 0, 0, 0,
               SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
  form_->SetClientWidth(250);
  RECT r = WindowRect();
  EXPECT_EQ(r.right - r.left, 250);
  EXPECT_EQ(form_->ClientWidth(), 250);
}

TEST_F(BoundsTest, AClientAreaChangedAtTheSameWindowSizeLaysTheChildrenOutAgain) {
  auto* panel = new TPanel(form_);
  panel->SetParent(form_);
  panel->SetAlign(alClient);
  // A frame drawn by someone else, who changes its width while the window
  // keeps its size (as a skin engine does to a maximized window).
  int frame = 0;
  test_support::TLambdaHook frame_hook(*form_, [&](TMessage& m, const TWindowProcHook& self) {
    if (m.Msg == WM_NCCALCSIZE && m.WParam != 0) {
      auto* p = reinterpret_cast<NCCALCSIZE_PARAMS*>(m.LParam);
      InflateRect(&p->rgrc[0], -frame, -frame);
      m.Result = 0;
      return;
    }
    self.CallPrevious(m);
  });
  form_->Show();
  for (int width : {0, 10, 3}) {
    frame = width;
    SetWindowPos(form_->Handle(), nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    RECT client;
    GetClientRect(form_->Handle(), &client);
    EXPECT_EQ(client.right, WindowRect().right - WindowRect().left - 2 * width);
    EXPECT_EQ(panel->Width(), client.right) << width;
    EXPECT_EQ(panel->Height(), client.bottom) << width;
    EXPECT_EQ(form_->ClientWidth(), client.right) << width;
  }
}

TEST_F(BoundsTest, AnAlignedControlThatChangesItsOwnSizeMovesItsNeighbours) {
  auto add = [&](TAlign align, int size) {
    auto* p = new TPanel(form_);
    p->SetParent(form_);
    p->SetBounds(0, 0, size, size);
    p->SetAlign(align);
    return p;
  };
  TPanel* top = add(alTop, 30);
  TPanel* left = add(alLeft, 40);
  TPanel* client = add(alClient, 10);
  for (bool shown : {false, true}) {
    if (shown) form_->Show();
    top->SetHeight(30);
    left->SetWidth(40);
    EXPECT_EQ(client->Top(), 30);
    top->SetHeight(60);  // taller: pushes the others down
    EXPECT_EQ(top->Height(), 60);
    EXPECT_EQ(top->Width(), 300);
    EXPECT_EQ(left->Top(), 60);
    EXPECT_EQ(client->Top(), 60);
    EXPECT_EQ(client->Height(), 140);
    left->SetWidth(70);  // wider: pushes the client one right
    EXPECT_EQ(client->Left(), 70);
    EXPECT_EQ(client->Width(), 230);
    client->SetHeight(10);  // the client one keeps the rest
    EXPECT_EQ(client->Height(), 140);
  }
  // A window sized by someone else counts too.
  SetWindowPos(top->Handle(), nullptr, 0, 0, 300, 50, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(client->Top(), 50);
}

TEST_F(BoundsTest, RecreatingAWindowKeepsChildrenTextsAndHooksButEndsSubclasses) {
  auto* panel = new TPanel(form_);
  panel->SetParent(form_);
  panel->SetBounds(0, 0, 200, 100);
  auto* edit = new TEdit(form_);
  edit->SetParent(panel);
  edit->SetBounds(5, 5, 100, 20);
  form_->Show();
  SetWindowTextW(edit->Handle(), L"digitado");  // typed by the user
  int hooked = 0;
  test_support::TLambdaHook spy(*edit, [&](TMessage& m, const TWindowProcHook& self) {
    if (m.Msg == WM_APP) ++hooked;
    self.CallPrevious(m);
  });
  test_support::TLambdaSubclass raw(
      edit->Handle(), [](TMessage& m, const TSubclass& self) { self.CallPrevious(m); });
  HWND old_panel = panel->Handle();
  HWND old_edit = edit->Handle();
  panel->RecreateWnd();
  EXPECT_FALSE(IsWindow(old_panel));
  EXPECT_FALSE(IsWindow(old_edit));
  ASSERT_TRUE(IsWindow(edit->Handle()));
  EXPECT_EQ(GetParent(edit->Handle()), panel->Handle());
  EXPECT_EQ(edit->Text(), L"digitado");
  EXPECT_FALSE(raw.Sub().Installed());
  SendMessageW(edit->Handle(), WM_APP, 0, 0);
  EXPECT_EQ(hooked, 1);
}

TEST_F(BoundsTest, RecreatingAWindowDetachesAndAttachesInOrder) {
  auto* panel = new TPanel(form_);
  panel->SetParent(form_);
  auto* edit = new TEdit(form_);
  edit->SetParent(panel);
  form_->Show();
  test_support::TMessageRecorder rec({panel->Handle(), edit->Handle()}, /*new_windows=*/true);
  rec.KeepOnly({WM_DESTROY, WM_NCDESTROY, WM_NCCREATE, WM_CREATE, WM_SETFONT, WM_SHOWWINDOW});
  panel->RecreateWnd();
  using test_support::kAnyWindow;
  using test_support::kOptional;
  using test_support::kSent;
  // The old panel goes with its child (the child's end comes inside the
  // parent's), then the new panel is created and its child after it.
  const test_support::TExpectedMessage kRecreate[] = {
      {WM_SHOWWINDOW, kSent | kOptional},  // hidden as it goes
      {WM_DESTROY, kSent},                 // the panel
      {WM_DESTROY, kSent | kAnyWindow},    // the edit
      {WM_NCDESTROY, kSent | kAnyWindow},  // the edit
      {WM_NCDESTROY, kSent},               // the panel
      {WM_NCCREATE, kSent | kAnyWindow},   // the new panel
      {WM_CREATE, kSent | kAnyWindow},
      {WM_SHOWWINDOW, kSent | kAnyWindow | kOptional},
      {WM_SETFONT, kSent | kAnyWindow},
      {WM_NCCREATE, kSent | kAnyWindow},  // the new edit, after its parent
      {WM_CREATE, kSent | kAnyWindow},
      {WM_SHOWWINDOW, kSent | kAnyWindow | kOptional},
      {WM_SETFONT, kSent | kAnyWindow},
  };
  EXPECT_TRUE(test_support::MatchesSequence(rec.Seen(), kRecreate, "recreate"));
}

TEST_F(BoundsTest, ColoursNotifyAndComeBackWithParentColor) {
  auto* panel = new TPanel(form_);
  panel->SetParent(form_);
  auto* edit = new TEdit(form_);
  edit->SetParent(panel);
  edit->SetParentColor(true);
  form_->Show();
  int color_changes = 0;
  test_support::TLambdaHook spy(*edit, [&](TMessage& m, const TWindowProcHook& self) {
    if (m.Msg == CM_COLORCHANGED) ++color_changes;
    self.CallPrevious(m);
  });
  auto brush_colour = [&] {
    TClientDC dc(nullptr);
    auto brush = reinterpret_cast<HBRUSH>(SendMessageW(panel->Handle(), WM_CTLCOLOREDIT,
                                                       reinterpret_cast<WPARAM>(dc.Get()),
                                                       reinterpret_cast<LPARAM>(edit->Handle())));
    LOGBRUSH lb{};
    GetObjectW(brush, sizeof(lb), &lb);
    return lb.lbColor;
  };
  panel->SetColor(0x0000FF);
  EXPECT_EQ(edit->Color(), 0x0000FFu);
  EXPECT_EQ(brush_colour(), 0x0000FFu);  // the cached brush was dropped
  EXPECT_EQ(color_changes, 1);

  // A skinner paints it in its own colour and puts the saved one back.
  TControlColour saved = edit->SaveColour();
  edit->SetColor(0x00FF00);
  EXPECT_FALSE(edit->ParentColor());
  panel->SetColor(0xFF0000);  // the parent changes meanwhile
  edit->RestoreColour(saved);
  EXPECT_TRUE(edit->ParentColor());
  EXPECT_EQ(edit->Color(), 0xFF0000u);
  EXPECT_EQ(brush_colour(), 0xFF0000u);
}

}  // namespace
}  // namespace fw
