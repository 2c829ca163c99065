// The edit, combo-box and up-down skinners under Wine: the two-colour border
// of edits (disabled ones included, borderless ones left alone), the combo
// box's parts (the edit part of a drop-down hooked, the list's scroll bar of
// a drop-down list skinned) and its frames by pixels against the skin's
// composite image (pressed from the edit part until the button is released),
// the up-down halves against the skin's up-down images, and nothing left
// behind.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/comctrls.h"
#include "framework/stdctrls.h"
#include "framework/subclass.h"
#include "framework/timers.h"
#include "skin/controls/button_rules.h"
#include "skin/controls/edit_rules.h"
#include "skin/controls/scroll_overlay.h"
#include "skin/controls/skin_combo_box.h"
#include "skin/controls/skin_edit.h"
#include "skin/controls/skin_scrollbar.h"
#include "skin/controls/skin_up_down.h"
#include "skin/data/skin_draw.h"
#include "tests/skin/controls/skin_test_fixture.h"
#include "tests/skin/window/skinned_window.h"
#include "tests/support/win/live_counts.h"
#include "tests/support/win/pump.h"

namespace skin_test {
namespace {

using skin::win::TSkinComBox;
using skin::win::TSkinEdit;
using skin::win::TSkinUpDown;
using skin::win::fixtures::SamePixels;

class EditSkinTest : public ControlSkinTest {
 protected:
  TSkinEdit* SkinEdit(fw::TWinControl* edit) {
    auto* s = new TSkinEdit(edit);
    s->AttachHandle(edit->Handle(), &Skin(), &Controller(), &Canvas());
    return s;
  }
  TSkinComBox* SkinCombo(fw::TComboBox* combo) {
    auto* s = new TSkinComBox(combo);
    s->Attach(&Controller(), &Skin(), false, &Canvas());
    return s;
  }
  fw::TComboBox* AddCombo(fw::TComboBoxStyle style, int x, int y, int items) {
    auto* combo = new fw::TComboBox(form_);
    combo->SetStyle(style);
    combo->SetBounds(x, y, 140, 21);
    combo->SetParent(form_);
    for (int i = 0; i < items; ++i)
      combo->Items()->Add(L"Planilha " + std::to_wstring(i + 1));
    combo->HandleNeeded();
    return combo;
  }
  // Whether the shot of a combo box shows frame `frame` of the composite.
  ::testing::AssertionResult ShowsComboFrame(const skin::TPixels& shot, int frame,
                                             const std::string& what) {
    const skin::TDataSkinBorder& e = *Elements().ComboButton;
    const skin::TBitmap expected =
        ElementFrame(e, e.FrameCount, frame, shot.Width(), shot.Height(), false);
    return SamePixels(shot, 0, 0, expected, what);
  }
  int ComboFrameMismatches(const skin::TPixels& shot, int frame) {
    const skin::TDataSkinBorder& e = *Elements().ComboButton;
    return Mismatches(shot, 0, 0,
                      ElementFrame(e, e.FrameCount, frame, shot.Width(), shot.Height(), false));
  }
};

// Frame `frame` of an up-down image stretched over a half of w x h with its
// glyph centred, as the skin draws it.
skin::TBitmap UpDownHalf(const skin::TDataSkinBorder& e, int frame, int w, int h) {
  skin::TBitmap image = StripFrame(e.Bitmap, 8, frame, w, h);
  const skin::TRect g =
      skin::UpDownGlyphPlace({0, 0, w, h}, e.Bitmap2.Width() / 8, e.Bitmap2.Height());
  skin::DrawSkinFrameStretched(image, g, e.Bitmap2, true, 8, frame);
  return image;
}

// The outer ring of a window in the shadow colour, the next one white.
void ExpectTwoColourBorder(const skin::TPixels& shot, uint32_t shadow, const std::string& what) {
  const int w = shot.Width();
  const int h = shot.Height();
  for (const auto& [x, y] :
       {std::pair{0, 0}, {w / 2, 0}, {w - 1, h / 2}, {w / 2, h - 1}, {0, h - 1}})
    EXPECT_EQ(shot.Pixel(x, y), shadow) << what << " outer at " << x << "," << y;
  for (const auto& [x, y] :
       {std::pair{1, 1}, {w / 2, 1}, {w - 2, h / 2}, {w / 2, h - 2}, {1, h - 2}})
    EXPECT_EQ(shot.Pixel(x, y), 0xFFFFFFu) << what << " inner at " << x << "," << y;
}

TEST_F(EditSkinTest, EditsWithABorderGetTheTwoColourBorderEnabledOrNot) {
  const uint32_t shadow = ScreenColour(Elements().ButtonShadowColour);
  ASSERT_NE(shadow, 0xFFFFFFu);
  // As the updater's path boxes: flat (Ctl3D off), disabled.
  auto* disabled = Add<fw::TEdit>(10, 10, 200, 19, [](fw::TEdit& e) {
    e.SetCtl3D(false);
    e.SetEnabled(false);
    e.SetText(L"C:\\Vortana\\VORTANA.FDB");
  });
  auto* flat = Add<fw::TEdit>(10, 40, 75, 19, [](fw::TEdit& e) { e.SetCtl3D(false); });
  auto* sunken = Add<fw::TEdit>(10, 70, 120, 21);  // WS_EX_CLIENTEDGE
  const skin::TBitmap before = Shot(sunken->Handle());
  SkinEdit(disabled);
  SkinEdit(flat);
  SkinEdit(sunken);
  ExpectTwoColourBorder(Shot(disabled->Handle()), shadow, "disabled flat edit");
  ExpectTwoColourBorder(Shot(flat->Handle()), shadow, "flat edit");
  const skin::TBitmap after = Shot(sunken->Handle());
  ExpectTwoColourBorder(after, shadow, "sunken edit");
  // Inside the two rings the sunken edit keeps its own look.
  EXPECT_EQ(after.Pixel(2, 2), before.Pixel(2, 2));

  // The border survives a repaint of the frame alone.
  SetWindowPos(flat->Handle(), nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
  ExpectTwoColourBorder(Shot(flat->Handle()), shadow, "flat edit after a frame change");
}

TEST_F(EditSkinTest, AnEditWithoutABorderIsLeftAlone) {
  // A raw edit without border, attached by handle as a dialog's edit is.
  HWND edit = CreateWindowExW(0, L"EDIT", L"sem borda", WS_CHILD | WS_VISIBLE, 10, 100, 120, 19,
                              form_->Handle(), nullptr, nullptr, nullptr);
  const skin::TBitmap before = Shot(edit);
  auto* s = new TSkinEdit(&Form());
  s->AttachHandle(edit, &Skin(), &Controller(), &Canvas());
  const skin::TBitmap after = Shot(edit);
  EXPECT_TRUE(SamePixels(after, 0, 0, before, "borderless edit"));
  s->Free();
  DestroyWindow(edit);
}

TEST_F(EditSkinTest, AnUpDownInsideAnEditIsFoundAndSkinnedOnePixelIn) {
  auto* edit = Add<fw::TEdit>(10, 130, 100, 24);
  HWND spin = CreateWindowExW(0, UPDOWN_CLASSW, L"", WS_CHILD | WS_VISIBLE, 80, 0, 16, 20,
                              edit->Handle(), nullptr, nullptr, nullptr);
  ASSERT_NE(spin, nullptr);
  TSkinEdit* s = SkinEdit(edit);
  Settle();
  ASSERT_NE(s->UpDown, nullptr);
  EXPECT_TRUE(s->UpDown->Embedded);
  EXPECT_EQ(s->UpDown->Handle, spin);
  EXPECT_EQ(s->UpDown->Owner(), edit);  // goes with the edit
  // The first half is drawn one pixel in: frame 1 of the vertical image
  // over the rows 1 to 9 (a client of 16 x 20 less one pixel each side).
  const skin::TDataSkinBorder& e = *Elements().UpDownVert;
  const skin::TBitmap shot = Shot(spin);
  const skin::TUpDownLayout l = skin::UpDownLayout(16, 20, true, false);
  EXPECT_TRUE(SamePixels(shot, l.First.Left, l.First.Top,
                         UpDownHalf(e, 1, l.First.Width(), l.First.Height()),
                         "embedded up-down's first half"));
  // The up-down's skinner going first leaves the edit's skinner knowing it.
  s->UpDown->Free();
  EXPECT_EQ(s->UpDown, nullptr);
}

// A 17-pixel-high vertical up-down: the top half 8 rows of frame 1, the
// bottom half 9 rows of frame 5, each with its glyph; pressing the bottom
// half shows frame 6 there until the button is released (real input).
TEST_F(EditSkinTest, UpDownHalvesFromTheSkinsImages) {
  auto* up_down = Add<fw::TUpDown>(300, 20, 16, 17);
  auto* s = new TSkinUpDown(up_down);
  s->Attach(&Controller(), &Skin(), false, &Canvas());
  const skin::TDataSkinBorder& e = *Elements().UpDownVert;
  auto half = [&](int frame, int h) { return UpDownHalf(e, frame, 16, h); };
  MouseTo(POINT{0, 0});
  skin::TBitmap shot = Shot(up_down->Handle());
  EXPECT_TRUE(SamePixels(shot, 0, 0, half(1, 8), "top half, frame 1"));
  EXPECT_TRUE(SamePixels(shot, 0, 8, half(5, 9), "bottom half, frame 5"));

  RECT r;
  GetWindowRect(up_down->Handle(), &r);
  MouseTo(POINT{r.left + 8, r.top + 13});
  MouseButton(true);
  test_support::PumpUntil([&] { return (s->MouseState & skin::win::kMousePressed) != 0; });
  shot = Shot(up_down->Handle());
  EXPECT_TRUE(SamePixels(shot, 0, 8, half(6, 9), "bottom half pressed, frame 6"));
  EXPECT_TRUE(SamePixels(shot, 0, 0, half(1, 8), "top half while the bottom is pressed"));
  MouseButton(false);
  test_support::PumpUntil([&] { return (s->MouseState & skin::win::kMousePressed) == 0; });
  shot = Shot(up_down->Handle());
  EXPECT_GT(Mismatches(shot, 0, 8, half(6, 9)), 0) << "still pressed after the release";
  MouseTo(POINT{0, 0});

  // Disabled: both halves frame 3 and 7.
  up_down->SetEnabled(false);
  shot = Shot(up_down->Handle());
  EXPECT_TRUE(SamePixels(shot, 0, 0, half(3, 8), "disabled top half"));
  EXPECT_TRUE(SamePixels(shot, 0, 8, half(7, 9), "disabled bottom half"));
}

TEST_F(EditSkinTest, AWideUpDownWithoutTheHorizontalStyleIsStillVertical) {
  HWND wide = CreateWindowExW(0, UPDOWN_CLASSW, L"", WS_CHILD | WS_VISIBLE, 300, 60, 40, 17,
                              form_->Handle(), nullptr, nullptr, nullptr);
  MoveWindow(wide, 300, 60, 40, 17, TRUE);  // the control takes a width of its own at first
  RECT r;
  GetClientRect(wide, &r);
  ASSERT_EQ(r.right, 40);
  auto* s = new TSkinUpDown(&Form());
  s->AttachHandle(wide, &Skin(), &Controller(), &Canvas());
  MouseTo(POINT{0, 0});
  const skin::TBitmap shot = Shot(wide);
  const skin::TDataSkinBorder& v = *Elements().UpDownVert;
  EXPECT_TRUE(SamePixels(shot, 0, 0, UpDownHalf(v, 1, 40, 8), "wide up-down, top"));
  EXPECT_TRUE(SamePixels(shot, 0, 8, UpDownHalf(v, 5, 40, 9), "wide up-down, bottom"));
  // Told to lay out left and right (a tab set's scroller): the horizontal
  // image, left half first.
  s->Horizontal = 1;
  InvalidateRect(wide, nullptr, TRUE);
  const skin::TBitmap turned = Shot(wide);
  const skin::TDataSkinBorder& h = *Elements().UpDownHorz;
  EXPECT_TRUE(SamePixels(turned, 0, 0, UpDownHalf(h, 1, 20, 17), "left half"));
  EXPECT_TRUE(SamePixels(turned, 20, 0, UpDownHalf(h, 5, 20, 17), "right half"));
  s->Free();
  DestroyWindow(wide);
}

TEST_F(EditSkinTest, WithoutUpDownImagesTheClassicFormIsDrawn) {
  Skin().Data().UpDownVert.reset();  // a skin without the element
  auto* up_down = Add<fw::TUpDown>(340, 20, 16, 24);
  auto* s = new TSkinUpDown(up_down);
  s->Attach(&Controller(), &Skin(), false, &Canvas());
  MouseTo(POINT{0, 0});
  const skin::TBitmap shot = Shot(up_down->Handle());
  const uint32_t dark = ScreenColour(Elements().ButtonDkShadowColour);
  const uint32_t face = ScreenColour(Elements().ButtonFaceColour);
  EXPECT_EQ(shot.Pixel(0, 0), dark);   // the top half's outline
  EXPECT_EQ(shot.Pixel(0, 12), dark);  // the bottom half's outline
  EXPECT_EQ(shot.Pixel(2, 2), face);   // the top half's face
  EXPECT_EQ(shot.Pixel(8, 4), dark);   // the up arrow's tip: centre (8, 6) less 2
  EXPECT_EQ(shot.Pixel(2, 21), face);
}

// The printing form (WM_PRINT) draws the same two lines into the DC given,
// for an edit whose border is wider than one pixel.
TEST_F(EditSkinTest, PrintingAnEditDrawsItsBorderIntoTheDcGiven) {
  auto* sunken = Add<fw::TEdit>(10, 10, 120, 21);
  SkinEdit(sunken);
  fw::TBitmap page;
  page.SetSize(120, 21);
  // The frame only: this system's edit leaves the DC clipped to its client
  // area after printing that.
  SendMessageW(sunken->Handle(), WM_PRINT, reinterpret_cast<WPARAM>(page.Canvas()->Handle()),
               PRF_NONCLIENT);
  GdiFlush();
  const skin::TBitmapView view = skin::TBitmapView::WrapDib(
      reinterpret_cast<uint8_t*>(page.Pixels()), 120, 21, false, skin::PixelFormat::k32Bit);
  ExpectTwoColourBorder(view, ScreenColour(Elements().ButtonShadowColour), "printed edit");
}

// A skin whose button image is not the composite (its Style 1): the
// classic form, framed by the DC's brush and the shadow colour, the image
// stretched into the right-most thumb width.
TEST_F(EditSkinTest, TheClassicComboFormForASkinWithoutTheComposite) {
  Skin().Data().ComboButton->Style = 1;
  fw::TComboBox* combo = AddCombo(fw::csDropDownList, 10, 220, 5);
  Add<fw::TEdit>(300, 220, 60, 21)->SetFocus();
  SkinCombo(combo);
  MouseTo(POINT{0, 0});
  const skin::TBitmap shot = Shot(combo->Handle());
  const int w = shot.Width();
  const int h = shot.Height();
  EXPECT_EQ(shot.Pixel(0, 0), ScreenColour(Elements().ButtonShadowColour));
  EXPECT_EQ(shot.Pixel(w - 1, h / 2), ScreenColour(Elements().ButtonShadowColour));
  EXPECT_EQ(shot.Pixel(1, 1), 0xFFFFFFu);  // the window DC's own (white) brush
  const int thumb = GetSystemMetrics(SM_CYVTHUMB);
  const skin::TDataSkinBorder& e = *Elements().ComboButton;
  EXPECT_TRUE(SamePixels(shot, w - 2 - thumb, 2, StripFrame(e.Bitmap, 4, 1, thumb, h - 4),
                         "classic combo button"));
}

TEST_F(EditSkinTest, DropDownHooksItsEditPartDropDownListSkinsItsListsScrollBar) {
  fw::TComboBox* drop_down = AddCombo(fw::csDropDown, 10, 180, 30);
  fw::TComboBox* drop_list = AddCombo(fw::csDropDownList, 170, 180, 30);
  TSkinComBox* a = SkinCombo(drop_down);
  TSkinComBox* b = SkinCombo(drop_list);

  EXPECT_EQ(a->ComboStyle & 3, static_cast<uint32_t>(CBS_DROPDOWN));
  ASSERT_NE(a->EditHandle, nullptr);
  EXPECT_EQ(a->EditHandle, GetTopWindow(drop_down->Handle()));
  EXPECT_EQ(a->EditHandle, drop_down->EditHandle());
  EXPECT_EQ(a->ListScrollbar, nullptr);
  EXPECT_EQ(a->ListHandle, nullptr);

  EXPECT_EQ(b->ComboStyle & 3, static_cast<uint32_t>(CBS_DROPDOWNLIST));
  EXPECT_EQ(b->EditHandle, nullptr);
  ASSERT_NE(b->ListScrollbar, nullptr);
  COMBOBOXINFO info{};
  info.cbSize = sizeof(info);
  ASSERT_TRUE(GetComboBoxInfo(drop_list->Handle(), &info));
  EXPECT_EQ(b->ListHandle, info.hwndList);
  EXPECT_EQ(b->ListScrollbar->Handle, info.hwndList);
  EXPECT_TRUE(b->ListScrollbar->HookedByHandle());

  // The edit hook goes with Detach; the list's skinner with the combo's.
  const int subclasses = fw::TSubclass::LiveCount();
  a->Detach();
  EXPECT_EQ(a->EditHandle, nullptr);
  EXPECT_EQ(fw::TSubclass::LiveCount(), subclasses - 1);
}

TEST_F(EditSkinTest, ComboFramesFromTheCompositeImage) {
  fw::TComboBox* combo = AddCombo(fw::csDropDown, 10, 220, 5);
  auto* other = Add<fw::TEdit>(300, 220, 60, 21);  // takes the focus
  other->SetFocus();
  TSkinComBox* s = SkinCombo(combo);
  MouseTo(POINT{0, 0});
  ASSERT_EQ(Elements().ComboButton->Style, 2);
  EXPECT_TRUE(ShowsComboFrame(Shot(combo->Handle()), 1, "combo at rest"));
  EXPECT_GT(ComboFrameMismatches(Shot(combo->Handle()), 2), 0);  // the frames differ
  combo->SetEnabled(false);
  EXPECT_TRUE(ShowsComboFrame(Shot(combo->Handle()), 3, "disabled combo"));
  combo->SetEnabled(true);
  s->MouseState = 0;
  Settle();

  // A press in the edit part (real input) shows the pressed frame until the
  // button is released.
  RECT edit;
  GetWindowRect(s->EditHandle, &edit);
  MouseTo(POINT{edit.left + 10, (edit.top + edit.bottom) / 2});
  MouseButton(true);
  test_support::PumpUntil([&] { return (s->MouseState & skin::win::kMousePressed) != 0; });
  EXPECT_TRUE(ShowsComboFrame(Shot(combo->Handle()), 2, "combo pressed in its edit part"));
  MouseButton(false);
  test_support::PumpUntil([&] { return (s->MouseState & skin::win::kMousePressed) == 0; });
  const skin::TBitmap released = Shot(combo->Handle());
  EXPECT_GT(ComboFrameMismatches(released, 2), 0) << "still pressed after the release";
  const int expected = skin::ComboFrame(
      {.Enabled = true, .Focused = GetFocus() == combo->Handle(), .MouseState = s->MouseState});
  EXPECT_TRUE(ShowsComboFrame(released, expected, "combo after the release"));
  MouseTo(POINT{0, 0});
}

TEST_F(EditSkinTest, ADroppedListGetsItsOverlayAsAChildOfTheListsParent) {
  fw::TComboBox* combo = AddCombo(fw::csDropDownList, 10, 260, 30);
  TSkinComBox* s = SkinCombo(combo);
  ASSERT_NE(s->ListScrollbar, nullptr);
  skin::win::TWScrollbar* bar = s->ListScrollbar->VBar;
  ASSERT_NE(bar, nullptr);
  EXPECT_FALSE(bar->BarVisible);  // the list is not shown
  SendMessageW(combo->Handle(), CB_SHOWDROPDOWN, TRUE, 0);
  Settle();
  ASSERT_TRUE(IsWindowVisible(s->ListHandle));
  ASSERT_TRUE(bar->BarVisible);
  ASSERT_TRUE(bar->HandleAllocated());
  EXPECT_TRUE(IsWindowVisible(bar->Handle()));
  EXPECT_EQ(GetAncestor(bar->Handle(), GA_PARENT), GetAncestor(s->ListHandle, GA_PARENT));
  // Above the list (which the system keeps above other windows while it is
  // dropped down).
  EXPECT_EQ(GetWindow(s->ListHandle, GW_HWNDPREV), bar->Handle());
  SCROLLBARINFO info{};
  info.cbSize = sizeof(info);
  ASSERT_TRUE(GetScrollBarInfo(s->ListHandle, OBJID_VSCROLL, &info));
  RECT over;
  GetWindowRect(bar->Handle(), &over);
  EXPECT_TRUE(EqualRect(&over, &info.rcScrollBar));
  // The up arrow on the overlay is the skin's frame 9.
  const skin::TBitmap shot = Shot(bar->Handle());
  const int a = GetSystemMetrics(SM_CXHSCROLL);
  EXPECT_TRUE(SamePixels(shot, 0, 0,
                         StripFrame(Elements().Scrollbar->Bitmap, 23, 9, shot.Width(), a),
                         "dropped list's up arrow"));

  // A real click on its down arrow: the dropped list holds the mouse and
  // hands the click to its own bar; the overlay shows it pressed meanwhile
  // and the list scrolls.
  skin::TBitmap held;
  fw::TTimerHandle timer;
  timer.Start(300, [&] {
    timer.Stop();
    bar->RepaintNow();
    held = Shot(bar->Handle());
    MouseButton(false);
  });
  MouseTo(POINT{(over.left + over.right) / 2, over.bottom - a / 2});
  MouseButton(true);
  ASSERT_TRUE(test_support::PumpUntil([&] { return !held.Empty() && !bar->Pressed; }, 5000));
  EXPECT_TRUE(SamePixels(held, 0, held.Height() - a,
                         StripFrame(Elements().Scrollbar->Bitmap, 23, 14, held.Width(), a),
                         "dropped list's down arrow held"));
  EXPECT_GE(SendMessageW(s->ListHandle, LB_GETTOPINDEX, 0, 0), 1);
  MouseTo(POINT{0, 0});

  SendMessageW(combo->Handle(), CB_SHOWDROPDOWN, FALSE, 0);
  Settle();
  EXPECT_FALSE(bar->BarVisible);
  EXPECT_FALSE(IsWindowVisible(bar->Handle()));
}

TEST_F(EditSkinTest, SkinningOnAndOffLeavesNothingBehind) {
  fw::TComboBox* drop_down = AddCombo(fw::csDropDown, 10, 180, 30);
  fw::TComboBox* drop_list = AddCombo(fw::csDropDownList, 170, 180, 30);
  auto* edit = Add<fw::TEdit>(10, 10, 200, 19);
  auto* up_down = Add<fw::TUpDown>(300, 20, 16, 17);
  // Whatever the system makes on a first drop-down is made before counting.
  SendMessageW(drop_list->Handle(), CB_SHOWDROPDOWN, TRUE, 0);
  Settle();
  SendMessageW(drop_list->Handle(), CB_SHOWDROPDOWN, FALSE, 0);
  Settle();
  const test_support::TLiveCounts before = test_support::Live();
  const int windows = test_support::LiveWindows();
  for (int round = 0; round < 3; ++round) {
    TSkinComBox* a = SkinCombo(drop_down);
    TSkinComBox* b = SkinCombo(drop_list);
    TSkinEdit* e = SkinEdit(edit);
    auto* u = new TSkinUpDown(up_down);
    u->Attach(&Controller(), &Skin(), false, &Canvas());
    SendMessageW(drop_list->Handle(), CB_SHOWDROPDOWN, TRUE, 0);
    Settle();
    SendMessageW(drop_list->Handle(), CB_SHOWDROPDOWN, FALSE, 0);
    // The controller's way: detach, then free.
    for (skin::win::TSkinControl* c : std::vector<skin::win::TSkinControl*>{a, b, e, u})
      c->Detach();
    a->Free();
    b->Free();
    e->Free();
    u->Free();
    Settle();
    EXPECT_TRUE(Controller().Skinners.empty());
    EXPECT_EQ(test_support::Live(), before) << "round " << round;
    EXPECT_EQ(test_support::LiveWindows(), windows) << "round " << round;
  }
}

TEST_F(EditSkinTest, ARecreatedComboIsHookedAgain) {
  fw::TComboBox* combo = AddCombo(fw::csDropDownList, 10, 180, 30);
  const int windows = test_support::LiveWindows();
  TSkinComBox* s = SkinCombo(combo);
  SendMessageW(combo->Handle(), CB_SHOWDROPDOWN, TRUE, 0);  // the list's overlay is made
  Settle();
  SendMessageW(combo->Handle(), CB_SHOWDROPDOWN, FALSE, 0);
  ASSERT_EQ(test_support::LiveWindows(), windows + 1);
  combo->RecreateWnd();
  Settle();
  EXPECT_EQ(s->Status, skin::win::ssnAttached);
  EXPECT_EQ(s->Handle, combo->Handle());
  ASSERT_NE(s->ListScrollbar, nullptr);
  COMBOBOXINFO info{};
  info.cbSize = sizeof(info);
  ASSERT_TRUE(GetComboBoxInfo(combo->Handle(), &info));
  EXPECT_EQ(s->ListHandle, info.hwndList);
  EXPECT_EQ(s->ListScrollbar->Handle, info.hwndList);
  EXPECT_EQ(test_support::LiveWindows(), windows);  // nothing left of the old list's overlays
  // Now a drop-down: its edit part is hooked instead.
  combo->SetStyle(fw::csDropDown);
  combo->RecreateWnd();
  Settle();
  EXPECT_EQ(s->ListScrollbar, nullptr);
  EXPECT_EQ(s->EditHandle, combo->EditHandle());
}

// The updater's fields as its window holds them: the two path boxes (flat,
// disabled), the row-number box (flat) and the worksheet chooser (a flat
// drop-down combo box).
TEST_F(EditSkinTest, TheUpdatersFieldsLookSkinned) {
  auto flat = [](bool enabled) {
    return [enabled](fw::TEdit& e) {
      e.SetCtl3D(false);
      e.SetEnabled(enabled);
    };
  };
  auto* vortana = Add<fw::TEdit>(5, 20, 516, 19, flat(false));
  vortana->SetText(L"C:\\Vortana\\Dados\\VORTANA.FDB");
  auto* origem = Add<fw::TEdit>(5, 60, 405, 19, flat(false));
  origem->SetText(L"C:\\Planilhas\\Clientes.xlsx");
  auto* linha = Add<fw::TEdit>(266, 84, 75, 19, flat(true));
  linha->SetText(L"250");
  auto* planilha = new fw::TComboBox(form_);
  planilha->SetBounds(415, 60, 105, 21);
  planilha->SetBevelKind(fw::bkFlat);
  planilha->SetCtl3D(false);
  planilha->SetParent(form_);
  planilha->Items()->Add(L"Clientes");
  planilha->Items()->Add(L"Planilha2");
  planilha->SetItemIndex(0);
  for (fw::TEdit* e : {vortana, origem, linha})
    SkinEdit(e);
  TSkinComBox* combo = SkinCombo(planilha);
  linha->SetFocus();
  MouseTo(POINT{0, 0});
  Settle();

  const uint32_t shadow = ScreenColour(Elements().ButtonShadowColour);
  ExpectTwoColourBorder(Shot(vortana->Handle()), shadow, "edtCaminhoVortana");
  ExpectTwoColourBorder(Shot(origem->Handle()), shadow, "edtCaminhoOrigem");
  ExpectTwoColourBorder(Shot(linha->Handle()), shadow, "edtNumLinha");
  EXPECT_NE(combo->EditHandle, nullptr);
  EXPECT_TRUE(ShowsComboFrame(Shot(planilha->Handle()), 1, "MostraPlanilha"));
}

}  // namespace
}  // namespace skin_test
