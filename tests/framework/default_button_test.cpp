// Only one push button of a form shows the default frame: the focused push
// button, else the default one while no push button has the focus.
#include <gtest/gtest.h>

#include <memory>

#include "framework/buttons.h"
#include "framework/forms.h"
#include "framework/std_buttons.h"
#include "framework/stdctrls.h"
#include "tests/support/win/pump.h"

namespace fw {
namespace {

class DefaultButtonTest : public ::testing::Test {
 protected:
  void SetUp() override {
    app_ = std::make_unique<TApplication>();
    form_ = new TForm(app_.get());
    app_->SetMainForm(form_);
    form_->SetClientWidth(400);
    form_->SetClientHeight(100);
    edit_ = new TEdit(form_);
    edit_->SetParent(form_);
    edit_->SetBounds(10, 10, 100, 22);
  }
  void TearDown() override { app_.reset(); }
  template <class T>
  T* Add(int left, bool is_default) {
    auto* b = new T(form_);
    b->SetParent(form_);
    b->SetBounds(left, 50, 80, 26);
    b->SetDefault(is_default);
    return b;
  }
  static bool ShowsDefault(TButton* b) {
    return (GetWindowLongW(b->Handle(), GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
  }

  std::unique_ptr<TApplication> app_;
  TForm* form_ = nullptr;
  TEdit* edit_ = nullptr;
};

TEST_F(DefaultButtonTest, TheDefaultFrameFollowsTheFocus) {
  TButton* ok = Add<TButton>(10, true);
  TButton* one = Add<TButton>(100, false);
  TButton* two = Add<TButton>(190, false);
  form_->Show();
  struct TStep {
    TWinControl* focus;
    bool ok, one, two;
  } steps[] = {
      {edit_, true, false, false},  // no push button focused: the default one
      {one, false, true, false},    // from the edit to another button
      {two, false, false, true},    // from button to button
      {edit_, true, false, false},  // back to a control that is no push button
      {ok, true, false, false},    {one, false, true, false},  // from the default button to another
      {ok, true, false, false},
  };
  int i = 0;
  for (const auto& s : steps) {
    s.focus->SetFocus();
    ASSERT_EQ(GetFocus(), s.focus->Handle()) << "step " << i;
    EXPECT_EQ(ShowsDefault(ok), s.ok) << "step " << i;
    EXPECT_EQ(ShowsDefault(one), s.one) << "step " << i;
    EXPECT_EQ(ShowsDefault(two), s.two) << "step " << i;
    ++i;
  }
}

TEST_F(DefaultButtonTest, AnOwnerDrawnDefaultButtonIsPaintedAgainAsTheFocusMoves) {
  TBitBtn* ok = Add<TBitBtn>(10, true);
  TButton* other = Add<TButton>(100, false);
  form_->Show();
  edit_->SetFocus();
  test_support::PumpPending();
  RECT r{};
  ASSERT_FALSE(GetUpdateRect(ok->Handle(), &r, FALSE));
  other->SetFocus();  // the glyph button is no longer the one Enter presses
  EXPECT_TRUE(GetUpdateRect(ok->Handle(), &r, FALSE));
  test_support::PumpPending();
  edit_->SetFocus();  // and is again
  EXPECT_TRUE(GetUpdateRect(ok->Handle(), &r, FALSE));
}

}  // namespace
}  // namespace fw
