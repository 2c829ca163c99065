// Where controls live and draw: a windowed control placed on a raw window, a
// graphic control painted at once outside WM_PAINT, and a form embedded in
// another form's control.
#include <gtest/gtest.h>

#include <memory>

#include "framework/dc.h"
#include "framework/forms.h"
#include "framework/panels.h"
#include "framework/stdctrls.h"
#include "tests/support/win/live_counts.h"
#include "tests/support/win/pump.h"

namespace fw {
namespace {

class PlacementTest : public ::testing::Test {
 protected:
  void SetUp() override {
    app_ = std::make_unique<TApplication>();
    app_->OnException = [this](const std::exception& e) { errors_.push_back(e.what()); };
  }
  void TearDown() override { app_.reset(); }

  static HWND RawWindow(const wchar_t* title) {
    return CreateWindowExW(0, L"STATIC", title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 300, 200,
                           nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  }
  // The control's window rectangle in its parent window's client area.
  static RECT PlaceIn(HWND wnd, HWND parent) {
    RECT r;
    GetWindowRect(wnd, &r);
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
  }
  // The colour (0xRRGGBB) of a pixel of a window's client area on screen.
  static uint32_t ScreenPixel(HWND wnd, int x, int y) {
    TBitmap shot;
    shot.SetSize(1, 1);
    TClientDC dc(wnd);
    BitBlt(shot.Canvas()->Handle(), 0, 0, 1, 1, dc.Get(), x, y, SRCCOPY);
    GdiFlush();
    return shot.Pixels()[0] & 0xFFFFFFu;
  }

  std::unique_ptr<TApplication> app_;
  std::vector<std::string> errors_;
};

TEST_F(PlacementTest, AControlOnARawWindowLivesInItsClientAreaAndGoesWithIt) {
  const test_support::TLiveCounts before = test_support::Live();
  HWND raw = RawWindow(L"dialogo");
  HWND other = RawWindow(L"lista");
  ASSERT_NE(raw, nullptr);
  {
    TOwned<TCustomControl> overlay(new TCustomControl(nullptr));
    overlay->SetParentWindow(raw);
    overlay->SetBounds(10, 20, 30, 40);
    HWND h = overlay->Handle();
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(GetParent(h), raw);
    EXPECT_NE(GetWindowLongW(h, GWL_STYLE) & WS_CHILD, 0);
    RECT r = PlaceIn(h, raw);
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.top, 20);
    EXPECT_EQ(r.right, 40);
    EXPECT_EQ(r.bottom, 60);
    // Moved through the framework and by someone else.
    overlay->SetBounds(15, 25, 30, 40);
    EXPECT_EQ(PlaceIn(h, raw).left, 15);
    SetWindowPos(h, nullptr, 5, 6, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(overlay->Left(), 5);
    EXPECT_EQ(overlay->Top(), 6);
    // To another raw window: the same window moves there.
    overlay->SetParentWindow(other);
    EXPECT_EQ(overlay->Handle(), h);
    EXPECT_EQ(GetParent(h), other);
    // The raw window goes: so does the control's window, not the control.
    DestroyWindow(other);
    EXPECT_FALSE(IsWindow(h));
    EXPECT_FALSE(overlay->HandleAllocated());
    EXPECT_EQ(overlay->Width(), 30);
    // Back on the first one, with a new window.
    overlay->SetParentWindow(raw);
    EXPECT_EQ(GetParent(overlay->Handle()), raw);
  }
  DestroyWindow(raw);
  EXPECT_EQ(test_support::Live(), before);
  EXPECT_TRUE(errors_.empty());
}

TEST_F(PlacementTest, AParentControlWinsOverARawParentWindow) {
  HWND raw = RawWindow(L"dialogo");
  auto* form = new TForm(app_.get());
  form->SetClientWidth(200);
  form->SetClientHeight(100);
  auto* control = new TCustomControl(form);
  control->SetParentWindow(raw);
  control->SetBounds(1, 2, 30, 20);
  EXPECT_EQ(GetParent(control->Handle()), raw);
  control->SetParent(form);
  EXPECT_EQ(GetParent(control->Handle()), form->Handle());
  form->Free();
  DestroyWindow(raw);
}

TEST_F(PlacementTest, AGraphicControlPaintsAtOnceOnItsPlaceInTheParent) {
  auto* form = new TForm(app_.get());
  form->SetClientWidth(120);
  form->SetClientHeight(80);
  form->SetColor(0xFFFFFF);
  auto* button = new TGraphicControl(form);
  button->SetParent(form);
  button->SetBounds(20, 10, 40, 30);
  {
    // No window yet: nothing to draw on.
    TControlDC dc = button->PaintDC();
    EXPECT_EQ(dc.Get(), nullptr);
    EXPECT_EQ(button->Canvas()->Handle(), nullptr);
  }
  form->Show();
  test_support::PumpPending();
  {
    TControlDC dc = button->PaintDC();
    ASSERT_NE(dc.Get(), nullptr);
    EXPECT_EQ(button->Canvas()->Handle(), dc.Get());
    // Larger than the control: clipped to it.
    button->Canvas()->Brush()->SetColor(0x0000FF);  // red
    button->Canvas()->FillRect(RECT{-20, -20, 200, 200});
    GdiFlush();
  }
  EXPECT_EQ(button->Canvas()->Handle(), nullptr);
  HWND wnd = form->Handle();
  EXPECT_EQ(ScreenPixel(wnd, 20, 10), 0xFF0000u);  // the control's top-left
  EXPECT_EQ(ScreenPixel(wnd, 59, 39), 0xFF0000u);  // its bottom-right
  EXPECT_EQ(ScreenPixel(wnd, 19, 10), 0xFFFFFFu);  // left of it
  EXPECT_EQ(ScreenPixel(wnd, 60, 39), 0xFFFFFFu);  // right of it
  EXPECT_EQ(ScreenPixel(wnd, 30, 40), 0xFFFFFFu);  // below it
  // A hidden control has nothing to draw on.
  button->SetVisible(false);
  TControlDC hidden = button->PaintDC();
  EXPECT_EQ(hidden.Get(), nullptr);
}

TEST_F(PlacementTest, AFormEmbeddedInAPanelIsAChildWindowInsideIt) {
  const test_support::TLiveCounts before = test_support::Live();
  auto* outer = new TForm(app_.get());
  app_->SetMainForm(outer);
  outer->SetClientWidth(300);
  outer->SetClientHeight(200);
  auto* panel = new TPanel(outer);
  panel->SetParent(outer);
  panel->SetBounds(10, 10, 250, 150);
  outer->Show();
  for (bool freed_alone : {true, false}) {
    auto* inner = new TForm(app_.get());
    inner->SetBorderStyle(bsSizeable);
    inner->SetCaption(L"embutido");
    auto* edit = new TEdit(inner);
    edit->SetParent(inner);
    edit->SetBounds(5, 5, 80, 22);
    inner->SetParent(panel);
    inner->SetBounds(20, 30, 120, 90);
    inner->Show();
    HWND h = inner->Handle();
    EXPECT_EQ(GetParent(h), panel->Handle());
    const LONG style = GetWindowLongW(h, GWL_STYLE);
    EXPECT_NE(style & WS_CHILD, 0);
    EXPECT_EQ(style & (WS_CAPTION | WS_THICKFRAME | WS_POPUP), 0);
    EXPECT_TRUE(IsWindowVisible(h));
    RECT r = PlaceIn(h, panel->Handle());
    EXPECT_EQ(r.left, 20);
    EXPECT_EQ(r.top, 30);
    EXPECT_EQ(r.right - r.left, 120);
    EXPECT_EQ(inner->ClientWidth(), 120);
    EXPECT_EQ(GetParent(edit->Handle()), h);
    // Its controls take the focus inside the outer form.
    edit->SetFocus();
    EXPECT_EQ(GetFocus(), edit->Handle());
    EXPECT_EQ(outer->ActiveControl(), edit);
    if (freed_alone) {
      inner->Free();
      EXPECT_EQ(panel->ControlCount(), 0);
    }
  }
  outer->Free();  // frees the one left in the panel
  test_support::PumpPending();
  EXPECT_EQ(test_support::Live(), before);
  EXPECT_TRUE(errors_.empty());
}

}  // namespace
}  // namespace fw
