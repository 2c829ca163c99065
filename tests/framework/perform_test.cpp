// One way into a control: framework messages performed on a windowed control
// reach a raw subclass of its window and the hooks on its WindowProc, once
// each and in that order; focus moves tell CM_EXIT and CM_ENTER; a form's
// CM_RELEASE is seen before the form goes; a window created again keeps its
// hooks and tells the controls inside it too.
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "framework/forms.h"
#include "framework/panels.h"
#include "framework/stdctrls.h"
#include "tests/support/win/lambda_hooks.h"
#include "tests/support/win/live_counts.h"
#include "tests/support/win/pump.h"

namespace fw {
namespace {

using test_support::TLambdaHook;
using test_support::TLambdaSubclass;

constexpr UINT kCustom = CM_BASE + 0x300;  // a framework message nobody handles

// Writes "raw:<msg>" from a subclass of the window and "hook:<msg>" from a
// hook on WindowProc, for the messages it is told to watch.
class TSpy {
 public:
  TSpy(TWinControl& control, std::vector<UINT> watched)
      : watched_(std::move(watched)),
        hook_(control,
              [this](TMessage& m, const TWindowProcHook& self) {
                Note("hook", m.Msg);
                self.CallPrevious(m);
              }),
        raw_(control.Handle(), [this](TMessage& m, const TSubclass& self) {
          Note("raw", m.Msg);
          self.CallPrevious(m);
        }) {}
  std::vector<std::string> Trail() {
    auto t = std::move(trail_);
    trail_.clear();
    return t;
  }
  TLambdaSubclass& Raw() { return raw_; }

 private:
  void Note(const char* who, UINT msg) {
    for (UINT w : watched_) {
      if (w == msg) trail_.push_back(std::string(who) + ":" + std::to_string(msg - CM_BASE));
    }
  }
  std::vector<UINT> watched_;
  std::vector<std::string> trail_;
  TLambdaHook hook_;
  TLambdaSubclass raw_;
};

std::vector<std::string> Both(UINT msg) {
  std::string n = std::to_string(msg - CM_BASE);
  return {"raw:" + n, "hook:" + n};
}

class PerformTest : public ::testing::Test {
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
    panel_->SetBounds(0, 0, 300, 150);
    edit_ = new TEdit(form_);
    edit_->SetParent(panel_);
    edit_->SetBounds(10, 10, 100, 22);
    other_ = new TEdit(form_);
    other_->SetParent(panel_);
    other_->SetBounds(10, 40, 100, 22);
  }
  void TearDown() override { app_.reset(); }

  std::unique_ptr<TApplication> app_;
  std::vector<std::string> errors_;
  TForm* form_ = nullptr;
  TPanel* panel_ = nullptr;
  TEdit* edit_ = nullptr;
  TEdit* other_ = nullptr;
};

TEST_F(PerformTest, ControlMessagesReachRawSubclassesThenHooksOnce) {
  form_->Show();
  // A system class (the edit) and a framework class (the panel).
  for (TWinControl* control : std::initializer_list<TWinControl*>{edit_, panel_}) {
    TSpy spy(*control, {CM_MOUSEENTER, CM_MOUSELEAVE, CM_ENABLEDCHANGED, CM_TEXTCHANGED});
    control->Perform(CM_MOUSEENTER);
    EXPECT_TRUE(control->MouseInControl());
    control->Perform(CM_MOUSELEAVE);
    EXPECT_FALSE(control->MouseInControl());
    control->SetEnabled(false);
    control->SetEnabled(true);
    control->SetText(L"novo");
    std::vector<std::string> expected;
    for (UINT msg :
         {CM_MOUSEENTER, CM_MOUSELEAVE, CM_ENABLEDCHANGED, CM_ENABLEDCHANGED, CM_TEXTCHANGED}) {
      for (auto& s : Both(msg))
        expected.push_back(s);
    }
    EXPECT_EQ(spy.Trail(), expected) << control->ClassName();
  }
  // The result of the handler comes back through the window.
  TLambdaHook answer(*edit_, [](TMessage& m, const TWindowProcHook& self) {
    if (m.Msg == kCustom) {
      m.Result = static_cast<LRESULT>(m.WParam + m.LParam);
      return;
    }
    self.CallPrevious(m);
  });
  EXPECT_EQ(edit_->Perform(kCustom, 40, 2), 42);
  EXPECT_TRUE(errors_.empty());
}

TEST_F(PerformTest, FocusMovesTellExitAndEnterThroughBothRoutes) {
  form_->Show();
  std::vector<std::string> events;
  edit_->OnEnter = [&](TObject*) { events.push_back("enter edit"); };
  edit_->OnExit = [&](TObject*) { events.push_back("exit edit"); };
  other_->OnEnter = [&](TObject*) { events.push_back("enter other"); };
  edit_->SetFocus();
  ASSERT_EQ(GetFocus(), edit_->Handle());
  events.clear();
  TSpy edit_spy(*edit_, {CM_ENTER, CM_EXIT});
  TSpy other_spy(*other_, {CM_ENTER, CM_EXIT});
  other_->SetFocus();
  ASSERT_EQ(GetFocus(), other_->Handle());
  EXPECT_EQ(edit_spy.Trail(), Both(CM_EXIT));
  EXPECT_EQ(other_spy.Trail(), Both(CM_ENTER));
  EXPECT_EQ(events, (std::vector<std::string>{"exit edit", "enter other"}));
  EXPECT_EQ(form_->ActiveControl(), other_);
  // Focus that comes back to the same control tells nothing.
  SetFocus(form_->Handle());
  test_support::PumpPending();
  EXPECT_EQ(GetFocus(), other_->Handle());
  EXPECT_TRUE(edit_spy.Trail().empty());
  EXPECT_TRUE(other_spy.Trail().empty());
}

TEST_F(PerformTest, AnExceptionInWindowProcReachesTheCallerOfPerform) {
  form_->Show();
  const test_support::TLiveCounts before = test_support::Live();
  bool raw_went_on = false;
  {
    TLambdaSubclass raw(edit_->Handle(), [&](TMessage& m, const TSubclass& self) {
      self.CallPrevious(m);
      if (m.Msg == kCustom) raw_went_on = true;
    });
    TLambdaHook thrower(*edit_, [](TMessage& m, const TWindowProcHook& self) {
      if (m.Msg == kCustom) throw std::runtime_error("falhou");
      self.CallPrevious(m);
    });
    EXPECT_THROW(edit_->Perform(kCustom), std::runtime_error);
    // Nested: the outer Perform's caller sees the inner one's error.
    TLambdaHook outer(*panel_, [&](TMessage& m, const TWindowProcHook& self) {
      if (m.Msg == kCustom) edit_->Perform(kCustom);
      self.CallPrevious(m);
    });
    EXPECT_THROW(panel_->Perform(kCustom), std::runtime_error);
  }
  EXPECT_TRUE(raw_went_on);      // the subclass saw the message come back
  EXPECT_TRUE(errors_.empty());  // no error box on the way
  EXPECT_EQ(test_support::Live(), before);
}

TEST_F(PerformTest, BeforeTheWindowAndWhileItGoesMessagesGoStraightToWindowProc) {
  // No window yet: the hook alone.
  int hooked = 0;
  TLambdaHook hook(*edit_, [&](TMessage& m, const TWindowProcHook& self) {
    if (m.Msg == kCustom) ++hooked;
    if (m.Msg == WM_DESTROY) edit_->Perform(kCustom);
    self.CallPrevious(m);
  });
  edit_->Perform(kCustom);
  EXPECT_EQ(hooked, 1);
  EXPECT_FALSE(edit_->HandleAllocated());
  form_->Show();
  int raw_seen = 0;
  TLambdaSubclass raw(edit_->Handle(), [&](TMessage& m, const TSubclass& self) {
    if (m.Msg == kCustom) ++raw_seen;
    self.CallPrevious(m);
  });
  edit_->Perform(kCustom);
  EXPECT_EQ(hooked, 2);
  EXPECT_EQ(raw_seen, 1);
  // Performed from WM_DESTROY: the window is going, the message goes round it.
  edit_->SetParent(nullptr);
  EXPECT_EQ(hooked, 3);
  EXPECT_EQ(raw_seen, 1);
  EXPECT_FALSE(raw.Sub().Installed());
}

TEST_F(PerformTest, AReleasedFormIsSeenReleasingBeforeItGoes) {
  auto* dialog = new TForm(app_.get());
  dialog->Show();
  bool seen_whole = false;
  bool destroyed = false;
  dialog->OnDestroy = [&](TObject*) { destroyed = true; };
  auto* hook = new TLambdaHook(*dialog, [&](TMessage& m, const TWindowProcHook& self) {
    if (m.Msg == CM_RELEASE) seen_whole = !destroyed && !dialog->IsDestroying();
    self.CallPrevious(m);
  });
  dialog->Release();
  EXPECT_TRUE(test_support::PumpUntil([&] { return destroyed; }));
  EXPECT_TRUE(seen_whole);
  delete hook;  // its control went first: it simply ended
}

TEST_F(PerformTest, ARecreatedWindowKeepsHooksAndTellsTheControlsInsideIt) {
  form_->Show();
  edit_->SetFocus();
  const test_support::TLiveCounts before = test_support::Live();
  struct TSeen {
    bool ncdestroy_while_recreating = false;
    int recreated = 0;
  };
  auto watch = [](TWinControl& c, TSeen& seen) {
    return std::make_unique<TLambdaHook>(c, [&c, &seen](TMessage& m, const TWindowProcHook& self) {
      if (m.Msg == WM_NCDESTROY) seen.ncdestroy_while_recreating = c.Recreating();
      if (m.Msg == CM_RECREATEWND) ++seen.recreated;
      self.CallPrevious(m);
    });
  };
  TSeen panel_seen;
  TSeen edit_seen;
  auto panel_hook = watch(*panel_, panel_seen);
  auto edit_hook = watch(*edit_, edit_seen);
  bool raw_ended_with_window = false;
  {
    HWND old_edit = edit_->Handle();
    TLambdaSubclass raw(old_edit, [&](TMessage& m, const TSubclass& self) {
      self.CallPrevious(m);
      if (m.Msg == WM_NCDESTROY) raw_ended_with_window = true;
    });
    panel_->RecreateWnd();
    EXPECT_FALSE(raw.Sub().Installed());
    EXPECT_FALSE(IsWindow(old_edit));
  }
  EXPECT_TRUE(raw_ended_with_window);
  for (const TSeen* seen : {&panel_seen, &edit_seen}) {
    EXPECT_TRUE(seen->ncdestroy_while_recreating);
    EXPECT_EQ(seen->recreated, 1);
  }
  EXPECT_FALSE(panel_->Recreating());
  EXPECT_FALSE(edit_->Recreating());
  // The focus is back where it was, and the hooks go on working.
  EXPECT_EQ(GetFocus(), edit_->Handle());
  edit_->Perform(CM_RECREATEWND);
  EXPECT_EQ(edit_seen.recreated, 2);
  panel_hook.reset();
  edit_hook.reset();
  EXPECT_EQ(test_support::Live(), before);
}

}  // namespace
}  // namespace fw
