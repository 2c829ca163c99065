// The scroll-bar overlays under Wine: arrows, track, thumb and the corner
// square by pixels against the skin's images; a disabled bar; a bar shorter
// than two arrows; real clicks on an overlay scrolling the real control,
// with the pressed arrow shown while the button is held; a scroll-bar
// control; overlays following a control that moves, changes size, hides,
// loses or gains its bar, is created again or destroyed; a skin switch
// while overlays exist; the list view's header; nothing left behind.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "framework/listviews.h"
#include "framework/stdctrls.h"
#include "framework/timers.h"
#include "skin/controls/scroll_overlay.h"
#include "skin/controls/scroll_rules.h"
#include "skin/controls/skin_header.h"
#include "skin/controls/skin_scrollbar.h"
#include "skin/data/skin_draw.h"
#include "tests/skin/controls/skin_test_fixture.h"
#include "tests/skin/window/skinned_window.h"
#include "tests/support/win/lambda_hooks.h"
#include "tests/support/win/live_counts.h"
#include "tests/support/win/pump.h"

namespace skin_test {
namespace {

using skin::win::TSkinListView;
using skin::win::TSkinScControl;
using skin::win::TSkinScrollbar;
using skin::win::TSkinScrollbarH;
using skin::win::TWScrollbar;
using skin::win::fixtures::SamePixels;

std::vector<uint8_t> SkinBytes(const char* name) {
  std::ifstream in(std::filesystem::path(PROJECT_BINARY_DIR) / "skins" / name, std::ios::binary);
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)),
                              std::istreambuf_iterator<char>());
}

class ScrollSkinTest : public ControlSkinTest {
 protected:
  fw::TListBox* AddList(int x, int y, int w, int h, int items) {
    auto* list = Add<fw::TListBox>(x, y, w, h);
    for (int i = 0; i < items; ++i)
      list->Items()->Add(L"Cliente " + std::to_wstring(i + 1));
    return list;
  }
  TSkinScrollbar* SkinScroll(fw::TWinControl* control) {
    auto* s = new TSkinScrollbar(control);
    s->AttachScroll(control, &Skin(), &Controller(), &Canvas());
    return s;
  }
  // A raw list box on the form, skinned the way a dialog's list is.
  HWND RawList(DWORD style, int x, int y, int w, int h, int items) {
    HWND list = CreateWindowExW(WS_EX_CLIENTEDGE, L"LISTBOX", L"",
                                WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOINTEGRALHEIGHT | style,
                                x, y, w, h, form_->Handle(), nullptr, nullptr, nullptr);
    SendMessageW(list, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
    for (int i = 0; i < items; ++i) {
      SendMessageW(list, LB_ADDSTRING, 0,
                   reinterpret_cast<LPARAM>((L"Item " + std::to_wstring(i)).c_str()));
    }
    return list;
  }
  static SCROLLBARINFO BarInfo(HWND wnd, LONG object) {
    SCROLLBARINFO info{};
    info.cbSize = sizeof(info);
    GetScrollBarInfo(wnd, object, &info);
    return info;
  }
  static RECT WindowOf(const TWScrollbar& bar) {
    RECT r{};
    if (bar.HandleAllocated()) GetWindowRect(const_cast<TWScrollbar&>(bar).Handle(), &r);
    return r;
  }
  static bool Shown(const TWScrollbar& bar) {
    return bar.BarVisible && bar.HandleAllocated() &&
           IsWindowVisible(const_cast<TWScrollbar&>(bar).Handle());
  }

  // The arrows of a bar of w x h on screen (`shot` is the bar itself).
  ::testing::AssertionResult ShowsArrows(const skin::TPixels& shot, bool vertical, int first,
                                         int second, const std::string& what) {
    const skin::TScrollBarLayout l = Layout(shot.Width(), shot.Height(), vertical);
    const skin::TPixels& arrows = Elements().Scrollbar->Bitmap;
    const skin::TBitmap a =
        StripFrame(arrows, 23, first, l.FirstArrow.Width(), l.FirstArrow.Height());
    const skin::TBitmap b =
        StripFrame(arrows, 23, second, l.SecondArrow.Width(), l.SecondArrow.Height());
    ::testing::AssertionResult r =
        SamePixels(shot, l.FirstArrow.Left, l.FirstArrow.Top, a, what + " first arrow");
    if (!r) return r;
    return SamePixels(shot, l.SecondArrow.Left, l.SecondArrow.Top, b, what + " second arrow");
  }
  skin::TScrollBarLayout Layout(int w, int h, bool vertical) {
    return skin::ScrollBarLayout({.Width = w,
                                  .Height = h,
                                  .Vertical = vertical,
                                  .ArrowSize = GetSystemMetrics(SM_CXHSCROLL),
                                  .ArrowImageHeight = Elements().Scrollbar->Bitmap.Height()});
  }
  // The track of frame `frame` on screen between the arrows, the thumb's
  // span (along the axis) left out.
  ::testing::AssertionResult ShowsTrack(const skin::TPixels& shot, bool vertical, int frame,
                                        int thumb_start, int thumb_end, const std::string& what) {
    const skin::TScrollBarLayout l = Layout(shot.Width(), shot.Height(), vertical);
    const skin::TDataSkinObject& e = vertical ? *Elements().VertScroll : *Elements().HorzScroll;
    skin::TBitmap track = ElementFrame(e, 4, frame, l.Track.Width(), l.Track.Height(), e.Tile != 0);
    const skin::TRect thumb =
        vertical ? skin::TRect{0, thumb_start - l.Track.Top, l.Cross, thumb_end - l.Track.Top}
                 : skin::TRect{thumb_start - l.Track.Left, 0, thumb_end - l.Track.Left, l.Cross};
    track.FillRect(thumb, skin::kSkinTransparent);
    return SamePixels(shot, l.Track.Left, l.Track.Top, track, what + " track");
  }
  ::testing::AssertionResult ShowsThumb(const skin::TPixels& shot, bool vertical, int frame,
                                        int start, int end, const std::string& what) {
    const skin::TScrollBarLayout l = Layout(shot.Width(), shot.Height(), vertical);
    const skin::TDataSkinObject& e =
        vertical ? *Elements().VertScrollThumb : *Elements().HorzScrollThumb;
    const skin::TRect r = skin::ScrollThumbRect(vertical, l.Cross, start, end);
    // Where the thumb image is magenta the track shows: left out.
    return SamePixels(shot, r.Left, r.Top,
                      ElementFrame(e, e.FrameCount, frame, r.Width(), r.Height(), false),
                      what + " thumb");
  }
};

TEST_F(ScrollSkinTest, OverlayArrowsTrackAndThumbFromTheSkinsImages) {
  fw::TListBox* list = AddList(10, 10, 150, 160, 60);
  TSkinScrollbar* s = SkinScroll(list);
  Settle();
  ASSERT_NE(s->VBar, nullptr);
  ASSERT_NE(s->HBar, nullptr);
  EXPECT_TRUE(Shown(*s->VBar));
  EXPECT_FALSE(Shown(*s->HBar));  // no horizontal bar to cover
  const SCROLLBARINFO info = BarInfo(list->Handle(), OBJID_VSCROLL);
  RECT over = WindowOf(*s->VBar);
  EXPECT_TRUE(EqualRect(&over, &info.rcScrollBar));
  // A child of the list's parent, directly above the list.
  EXPECT_EQ(GetParent(s->VBar->Handle()), form_->Handle());
  EXPECT_EQ(GetWindow(list->Handle(), GW_HWNDPREV), s->VBar->Handle());

  const skin::TBitmap shot = ShotOfScreen(info.rcScrollBar);
  EXPECT_TRUE(ShowsArrows(shot, true, 9, 13, "vertical bar"));
  ASSERT_GT(info.xyThumbBottom, info.xyThumbTop);
  EXPECT_TRUE(ShowsThumb(shot, true, 1, info.xyThumbTop, info.xyThumbBottom, "vertical bar"));
  EXPECT_TRUE(ShowsTrack(shot, true, 1, info.xyThumbTop, info.xyThumbBottom, "vertical bar"));

  // Scrolled by the program: the thumb follows without a click.
  SendMessageW(list->Handle(), LB_SETTOPINDEX, 30, 0);
  Settle();
  const SCROLLBARINFO moved = BarInfo(list->Handle(), OBJID_VSCROLL);
  ASSERT_NE(moved.xyThumbTop, info.xyThumbTop);
  EXPECT_TRUE(ShowsThumb(ShotOfScreen(moved.rcScrollBar), true, 1, moved.xyThumbTop,
                         moved.xyThumbBottom, "scrolled bar"));
}

TEST_F(ScrollSkinTest, BothBarsAndTheCornerSquare) {
  HWND list = RawList(WS_HSCROLL, 10, 10, 150, 120, 40);
  SendMessageW(list, LB_SETHORIZONTALEXTENT, 600, 0);
  auto* s = new TSkinScrollbarH(&Form());
  s->AttachHandle(list, &Skin(), &Controller(), &Canvas());
  Settle();
  ASSERT_TRUE(Shown(*s->VBar));
  ASSERT_TRUE(Shown(*s->HBar));
  const SCROLLBARINFO h = BarInfo(list, OBJID_HSCROLL);
  const SCROLLBARINFO v = BarInfo(list, OBJID_VSCROLL);
  RECT over = WindowOf(*s->HBar);
  EXPECT_TRUE(EqualRect(&over, &h.rcScrollBar));
  const skin::TBitmap hshot = ShotOfScreen(h.rcScrollBar);
  EXPECT_TRUE(ShowsArrows(hshot, false, 1, 5, "horizontal bar"));
  EXPECT_TRUE(ShowsThumb(hshot, false, 1, h.xyThumbTop, h.xyThumbBottom, "horizontal bar"));
  EXPECT_TRUE(ShowsArrows(ShotOfScreen(v.rcScrollBar), true, 9, 13, "vertical bar"));

  // The square that neither overlay covers (the system's bar rectangles
  // may reach one pixel into it).
  const RECT corner{std::max(v.rcScrollBar.left, h.rcScrollBar.right),
                    std::max(h.rcScrollBar.top, v.rcScrollBar.bottom), v.rcScrollBar.right,
                    h.rcScrollBar.bottom};
  ASSERT_GT(corner.right - corner.left, 0);
  ASSERT_GT(corner.bottom - corner.top, 0);
  const skin::TBitmap square = ShotOfScreen(corner);
  const uint32_t face = ScreenColour(Elements().ButtonFaceColour);
  skin::TBitmap expected(square.Width(), square.Height(), skin::PixelFormat::k32Bit);
  expected.Fill(face);
  RECT whole;
  GetWindowRect(list, &whole);
  EXPECT_TRUE(SamePixels(ShotOfScreen(whole), corner.left - whole.left, corner.top - whole.top,
                         expected, "corner square"));
  s->Free();
  DestroyWindow(list);
}

// A bar with nothing to scroll (shown disabled), and one switched off by
// the program: the track's disabled frame 3 and no thumb.
TEST_F(ScrollSkinTest, ADisabledBarShowsTrackFrameThreeAndNoThumb) {
  HWND empty = RawList(LBS_DISABLENOSCROLL, 10, 10, 150, 120, 2);
  HWND off = RawList(0, 200, 10, 150, 120, 60);
  EnableScrollBar(off, SB_VERT, ESB_DISABLE_BOTH);
  for (HWND list : {empty, off}) {
    auto* s = new TSkinScrollbarH(&Form());
    s->AttachHandle(list, &Skin(), &Controller(), &Canvas());
    Settle();
    ASSERT_TRUE(Shown(*s->VBar));
    const SCROLLBARINFO info = BarInfo(list, OBJID_VSCROLL);
    const skin::TBitmap shot = ShotOfScreen(info.rcScrollBar);
    const char* what = list == empty ? "bar with nothing to scroll" : "bar switched off";
    // The whole track in frame 3: no thumb over it.
    EXPECT_TRUE(ShowsTrack(shot, true, 3, 0, 0, what));
    EXPECT_TRUE(ShowsArrows(shot, true, 9, 13, what));
  }
}

TEST_F(ScrollSkinTest, AVerticalBarShorterThanTwoArrows) {
  fw::TListBox* list = AddList(10, 10, 150, 34, 20);
  TSkinScrollbar* s = SkinScroll(list);
  Settle();
  const SCROLLBARINFO info = BarInfo(list->Handle(), OBJID_VSCROLL);
  const int a = GetSystemMetrics(SM_CXHSCROLL);
  const int length = info.rcScrollBar.bottom - info.rcScrollBar.top;
  ASSERT_LT(length, 2 * a);
  ASSERT_TRUE(Shown(*s->VBar));
  const skin::TBitmap shot = ShotOfScreen(info.rcScrollBar);
  // Two arrows of half the bar each: the skin's frames squeezed.
  const skin::TPixels& arrows = Elements().Scrollbar->Bitmap;
  EXPECT_TRUE(SamePixels(shot, 0, 0, StripFrame(arrows, 23, 9, shot.Width(), length / 2),
                         "short bar's up arrow"));
  EXPECT_TRUE(SamePixels(shot, 0, length - length / 2,
                         StripFrame(arrows, 23, 13, shot.Width(), length / 2),
                         "short bar's down arrow"));
}

// A real click on the overlay's down arrow goes to the list as a click on
// its bar: the list scrolls one line, the arrow shows frame 14 while the
// button is held and frame 13 again after SB_ENDSCROLL.
TEST_F(ScrollSkinTest, AClickOnAnOverlayArrowScrollsTheRealControl) {
  fw::TListBox* list = AddList(10, 10, 150, 160, 60);
  std::vector<WORD> codes;
  test_support::TLambdaHook spy(*list, [&](fw::TMessage& m, const fw::TWindowProcHook& h) {
    if (m.Msg == WM_VSCROLL) codes.push_back(LOWORD(m.WParam));
    h.CallPrevious(m);
  });
  TSkinScrollbar* s = SkinScroll(list);
  Settle();
  ASSERT_TRUE(Shown(*s->VBar));
  const SCROLLBARINFO info = BarInfo(list->Handle(), OBJID_VSCROLL);
  const int a = GetSystemMetrics(SM_CXHSCROLL);
  ASSERT_EQ(SendMessageW(list->Handle(), LB_GETTOPINDEX, 0, 0), 0);

  // While the system tracks the press (its own loop runs inside the
  // overlay's click), a timer looks at the arrow and lets the button go.
  skin::TBitmap held;
  bool pressed_while_held = false;
  fw::TTimerHandle timer;
  timer.Start(300, [&] {
    timer.Stop();
    pressed_while_held = s->VBar->Pressed;
    s->VBar->RepaintNow();
    GdiFlush();
    held = ShotOfScreen(info.rcScrollBar);
    MouseButton(false);
  });
  MouseTo(
      POINT{(info.rcScrollBar.left + info.rcScrollBar.right) / 2, info.rcScrollBar.bottom - a / 2});
  MouseButton(true);
  ASSERT_TRUE(test_support::PumpUntil([&] { return !held.Empty() && !s->VBar->Pressed; }, 5000));
  EXPECT_TRUE(pressed_while_held);
  EXPECT_TRUE(ShowsArrows(held, true, 9, 14, "down arrow held"));
  EXPECT_GE(SendMessageW(list->Handle(), LB_GETTOPINDEX, 0, 0), 1);
  ASSERT_FALSE(codes.empty());
  EXPECT_EQ(codes.front(), SB_LINEDOWN);
  EXPECT_EQ(codes.back(), SB_ENDSCROLL);
  EXPECT_EQ(s->VBar->HitPart, skin::kHitEnd);
  EXPECT_TRUE(ShowsArrows(ShotOfScreen(info.rcScrollBar), true, 9, 13, "after the release"));
  MouseTo(POINT{0, 0});
}

// The scroll codes alone: SB_LINEDOWN during a press shows frame 14,
// SB_ENDSCROLL clears it; the first arrow's pressed frame likewise.
TEST_F(ScrollSkinTest, ScrollCodesNameThePressedArrow) {
  fw::TListBox* list = AddList(10, 10, 150, 160, 60);
  TSkinScrollbar* s = SkinScroll(list);
  Settle();
  const SCROLLBARINFO info = BarInfo(list->Handle(), OBJID_VSCROLL);
  s->VBar->Pressed = true;
  const struct {
    WORD code;
    int first, second;
  } steps[] = {{SB_LINEDOWN, 9, 14},
               {SB_ENDSCROLL, 9, 13},
               {SB_LINEUP, 10, 13},
               {SB_PAGEDOWN, 9, 13},
               {SB_ENDSCROLL, 9, 13}};
  for (const auto& step : steps) {
    list->Perform(WM_VSCROLL, MAKEWPARAM(step.code, 0), 0);
    EXPECT_TRUE(ShowsArrows(ShotOfScreen(info.rcScrollBar), true, step.first, step.second,
                            "code " + std::to_string(step.code)));
  }
  s->VBar->Pressed = false;
}

// A real drag of the thumb: while the system tracks it, the thumb is drawn
// pressed (frame 2) under the cursor, moved as far as the cursor moved.
TEST_F(ScrollSkinTest, ADraggedThumbFollowsTheCursor) {
  fw::TListBox* list = AddList(10, 10, 150, 200, 200);
  TSkinScrollbar* s = SkinScroll(list);
  Settle();
  const SCROLLBARINFO info = BarInfo(list->Handle(), OBJID_VSCROLL);
  const int x = (info.rcScrollBar.left + info.rcScrollBar.right) / 2;
  const int y = info.rcScrollBar.top + (info.xyThumbTop + info.xyThumbBottom) / 2;
  constexpr int kTravel = 40;
  skin::TBitmap held;
  int hit_part = -1;
  fw::TTimerHandle timer;
  int ticks = 0;
  timer.Start(150, [&] {
    if (++ticks == 1) {
      MouseTo(POINT{x, y + kTravel});  // the drag
      return;
    }
    timer.Stop();
    hit_part = s->VBar->HitPart;
    s->VBar->RepaintNow();
    held = ShotOfScreen(info.rcScrollBar);
    MouseButton(false);
  });
  MouseTo(POINT{x, y});
  MouseButton(true);
  ASSERT_TRUE(test_support::PumpUntil([&] { return !held.Empty() && !s->VBar->Pressed; }, 5000));
  EXPECT_EQ(hit_part, skin::kHitThumb);
  EXPECT_TRUE(ShowsThumb(held, true, 2, info.xyThumbTop + kTravel, info.xyThumbBottom + kTravel,
                         "dragged thumb"));
  EXPECT_GT(SendMessageW(list->Handle(), LB_GETTOPINDEX, 0, 0), 0);  // the list followed
  MouseTo(POINT{0, 0});
}

TEST_F(ScrollSkinTest, AScrollBarControlHasOneOverlayOverItAll) {
  auto* bar = Add<fw::TScrollBar>(400, 10, 17, 200, [](fw::TScrollBar& b) {
    b.SetKind(fw::sbVertical);  // turns the control a quarter: the size again
    b.SetBounds(400, 10, 17, 200);
    b.SetParams(50, 0, 100);
    b.SetPageSize(10);
  });
  auto* s = new TSkinScControl(bar);
  s->AttachScroll(bar, &Skin(), &Controller(), &Canvas());
  Settle();
  ASSERT_NE(s->Bar, nullptr);
  EXPECT_EQ(s->Bar->Kind, 2);
  EXPECT_EQ(s->Bar->Vertical, 1);
  ASSERT_TRUE(Shown(*s->Bar));
  RECT over = WindowOf(*s->Bar);
  RECT control;
  GetWindowRect(bar->Handle(), &control);
  EXPECT_TRUE(EqualRect(&over, &control));
  // The thumb where the system has it.
  SCROLLBARINFO info{};
  info.cbSize = sizeof(info);
  ASSERT_TRUE(GetScrollBarInfo(bar->Handle(), OBJID_CLIENT, &info));
  EXPECT_EQ(s->Bar->ThumbStart, info.xyThumbTop);
  EXPECT_EQ(s->Bar->ThumbEnd, info.xyThumbBottom);
  const skin::TBitmap shot = ShotOfScreen(control);
  EXPECT_TRUE(ShowsArrows(shot, true, 9, 13, "scroll-bar control"));
  EXPECT_TRUE(ShowsThumb(shot, true, 1, info.xyThumbTop, info.xyThumbBottom, "scroll-bar control"));

  // A real click on its down arrow moves the position by one.
  MouseTo(POINT{control.left + 8, control.bottom - 5});
  ASSERT_EQ(WindowFromPoint(POINT{control.left + 8, control.bottom - 5}), s->Bar->Handle());
  int hit_seen = -1;
  test_support::TLambdaHook spy(*bar, [&](fw::TMessage& m, const fw::TWindowProcHook& h) {
    if (m.Msg == WM_LBUTTONDOWN) hit_seen = s->Bar->HitPart;
    h.CallPrevious(m);
  });
  MouseButton(true);
  MouseButton(false);
  ASSERT_TRUE(test_support::PumpUntil([&] { return bar->Position() == 51; }, 3000))
      << bar->Position();
  EXPECT_EQ(hit_seen, skin::kHitSecondArrow);
  EXPECT_EQ(s->Bar->HitPart, skin::kHitSecondArrow);
  EXPECT_FALSE(s->Bar->Pressed);
  Settle();
  ASSERT_TRUE(GetScrollBarInfo(bar->Handle(), OBJID_CLIENT, &info));
  EXPECT_TRUE(ShowsThumb(ShotOfScreen(control), true, 1, info.xyThumbTop, info.xyThumbBottom,
                         "scroll-bar control after the click"));
  MouseTo(POINT{0, 0});
  // Switched off: no thumb, the track's frame 3.
  bar->SetEnabled(false);
  EXPECT_TRUE(ShowsTrack(Shot(bar->Handle()), true, 3, 0, 0, "disabled scroll-bar control"));
}

TEST_F(ScrollSkinTest, OverlaysFollowTheirControl) {
  fw::TListBox* list = AddList(10, 10, 150, 160, 60);
  TSkinScrollbar* s = SkinScroll(list);
  Settle();
  auto covers = [&] {
    const SCROLLBARINFO info = BarInfo(list->Handle(), OBJID_VSCROLL);
    RECT over = WindowOf(*s->VBar);
    return Shown(*s->VBar) && EqualRect(&over, &info.rcScrollBar);
  };
  ASSERT_TRUE(covers());
  list->SetBounds(60, 40, 150, 160);  // moved
  Settle();
  EXPECT_TRUE(covers()) << "moved";
  list->SetBounds(60, 40, 220, 250);  // larger
  Settle();
  EXPECT_TRUE(covers()) << "resized";
  list->SetVisible(false);
  Settle();
  EXPECT_FALSE(Shown(*s->VBar)) << "hidden";
  list->SetVisible(true);
  Settle();
  EXPECT_TRUE(covers()) << "shown again";
  list->Items()->Clear();  // nothing to scroll: the list takes its bar away
  Settle();
  EXPECT_FALSE(Shown(*s->VBar)) << "bar gone";
  for (int i = 0; i < 60; ++i)
    list->Items()->Add(L"Outra " + std::to_wstring(i));
  Settle();
  EXPECT_TRUE(covers()) << "bar back";

  const int windows = test_support::LiveWindows();
  list->RecreateWnd();
  Settle();
  EXPECT_EQ(s->Status, skin::win::ssnAttached);
  EXPECT_EQ(s->VBar->Target, list->Handle());
  EXPECT_TRUE(covers()) << "created again";
  EXPECT_EQ(test_support::LiveWindows(), windows);
  EXPECT_EQ(GetWindow(list->Handle(), GW_HWNDPREV), s->VBar->Handle());
}

TEST_F(ScrollSkinTest, ARawWindowDestroyedTakesItsOverlaysAlong) {
  const int windows = test_support::LiveWindows();
  const test_support::TLiveCounts before = test_support::Live();
  HWND list = RawList(WS_HSCROLL, 10, 10, 150, 120, 40);
  SendMessageW(list, LB_SETHORIZONTALEXTENT, 600, 0);
  auto* s = new TSkinScrollbarH(&Form());
  s->AttachHandle(list, &Skin(), &Controller(), &Canvas());
  Settle();
  ASSERT_EQ(test_support::LiveWindows(), windows + 3);  // the list and two overlays
  DestroyWindow(list);
  EXPECT_EQ(s->Status, skin::win::ssnDestroyed);
  EXPECT_EQ(s->HBar, nullptr);
  EXPECT_EQ(s->VBar, nullptr);
  EXPECT_EQ(test_support::LiveWindows(), windows);
  s->Free();
  EXPECT_EQ(test_support::Live(), before);

  // The whole parent destroyed at once, overlays and list among its
  // children.
  HWND box = CreateWindowExW(0, L"#32770", L"Caixa", WS_POPUP | WS_VISIBLE, 500, 300, 200, 150,
                             nullptr, nullptr, nullptr, nullptr);
  HWND inner = CreateWindowExW(0, L"LISTBOX", L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL, 5, 5, 120,
                               80, box, nullptr, nullptr, nullptr);
  for (int i = 0; i < 30; ++i)
    SendMessageW(inner, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"x"));
  auto* t = new TSkinScrollbarH(nullptr);
  t->AttachHandle(inner, &Skin(), &Controller(), &Canvas());
  Settle();
  ASSERT_TRUE(Shown(*t->VBar));
  EXPECT_EQ(GetParent(t->VBar->Handle()), box);
  DestroyWindow(box);
  EXPECT_EQ(t->Status, skin::win::ssnDestroyed);
  t->Free();
  Settle();
  EXPECT_EQ(test_support::LiveWindows(), windows);
  EXPECT_EQ(test_support::Live(), before);
}

TEST_F(ScrollSkinTest, SkinningOnAndOffLeavesNothingBehind) {
  fw::TListBox* list = AddList(10, 10, 150, 160, 60);
  auto* bar = Add<fw::TScrollBar>(400, 10, 17, 200, [](fw::TScrollBar& b) {
    b.SetKind(fw::sbVertical);
    b.SetBounds(400, 10, 17, 200);
  });
  auto* view =
      Add<fw::TListView>(180, 10, 200, 150, [](fw::TListView& v) { v.SetViewStyle(fw::vsReport); });
  view->Columns()->Add(L"Código", 80);
  view->Columns()->Add(L"E-mail", 150);
  for (int i = 0; i < 40; ++i)
    view->AddItem(std::to_wstring(i), {L"a@b.c"});
  Settle();
  const test_support::TLiveCounts before = test_support::Live();
  const int windows = test_support::LiveWindows();
  for (int round = 0; round < 3; ++round) {
    TSkinScrollbar* a = SkinScroll(list);
    auto* b = new TSkinScControl(bar);
    b->AttachScroll(bar, &Skin(), &Controller(), &Canvas());
    auto* c = new TSkinListView(view);
    c->AttachScroll(view, &Skin(), &Controller(), &Canvas());
    Settle();
    const int shown =
        Shown(*a->VBar) + Shown(*a->HBar) + Shown(*b->Bar) + Shown(*c->VBar) + Shown(*c->HBar);
    EXPECT_GE(shown, 3);
    EXPECT_EQ(test_support::LiveWindows(), windows + shown) << "one window per overlay shown";
    skin::win::TSkinHeader* header = c->Header;
    ASSERT_NE(header, nullptr);
    for (skin::win::TSkinControl* x : std::vector<skin::win::TSkinControl*>{a, b, c, header})
      x->Detach();
    a->Free();
    b->Free();
    c->Free();
    EXPECT_EQ(header->Owner(), view);  // goes with the list view
    header->Free();
    Settle();
    EXPECT_TRUE(Controller().Skinners.empty());
    EXPECT_EQ(test_support::LiveWindows(), windows) << "round " << round;
    EXPECT_EQ(test_support::Live(), before) << "round " << round;
  }
}

// The skin switched while overlays exist: they paint from the new skin's
// images; a skin without scroll-bar images leaves the system's own bars in
// sight; switching back and forth leaves nothing behind.
TEST_F(ScrollSkinTest, ASkinSwitchWhileOverlaysExistLeavesNothingDangling) {
  fw::TListBox* list = AddList(10, 10, 150, 160, 60);
  TSkinScrollbar* s = SkinScroll(list);
  Settle();
  const SCROLLBARINFO info = BarInfo(list->Handle(), OBJID_VSCROLL);
  auto load = [&](const char* file) {
    // The same component takes the other package: every element is made
    // again, the old ones freed.
    const std::vector<uint8_t> bytes = SkinBytes(file);
    Skin().ReadSkinPackage(bytes.data(), bytes.size());
    s->SkinChanged();
    Settle();
  };
  load("default.skn");
  EXPECT_TRUE(ShowsArrows(ShotOfScreen(info.rcScrollBar), true, 9, 13, "default skin"));
  MouseTo(POINT{info.rcScrollBar.left + 5, info.rcScrollBar.top + 40});
  Settle();
  load("test.skn");
  EXPECT_TRUE(ShowsArrows(ShotOfScreen(info.rcScrollBar), true, 9, 13, "test skin again"));

  Skin().Data().Scrollbar.reset();  // a skin without scroll-bar images
  s->SkinChanged();
  Settle();
  EXPECT_FALSE(Shown(*s->VBar));
  load("test.skn");
  EXPECT_TRUE(Shown(*s->VBar));

  const test_support::TLiveCounts before = test_support::Live();
  const int windows = test_support::LiveWindows();
  for (int i = 0; i < 20; ++i)
    load(i % 2 == 0 ? "default.skn" : "test.skn");
  EXPECT_EQ(test_support::Live(), before);
  EXPECT_EQ(test_support::LiveWindows(), windows);
  MouseTo(POINT{0, 0});
}

// Any skin, not only ours: elements missing or odd leave the system's look
// or a plain background where the skin has nothing, and never fail.
TEST_F(ScrollSkinTest, SkinsWithoutSomeElementsFallBack) {
  fw::TListBox* list = AddList(10, 10, 150, 160, 60);
  auto* view =
      Add<fw::TListView>(180, 10, 250, 150, [](fw::TListView& v) { v.SetViewStyle(fw::vsReport); });
  view->Columns()->Add(L"Código", 80);
  Settle();
  const skin::TBitmap native_header = Shot(view->HeaderHandle());
  skin::TSkinData& d = Skin().Data();
  d.VertScroll.reset();       // no track image
  d.VertScrollThumb.reset();  // no thumb image
  d.Headerbar.reset();        // no header image
  TSkinScrollbar* s = SkinScroll(list);
  auto* v = new TSkinListView(view);
  v->AttachScroll(view, &Skin(), &Controller(), &Canvas());
  Settle();
  const SCROLLBARINFO info = BarInfo(list->Handle(), OBJID_VSCROLL);
  const skin::TBitmap shot = ShotOfScreen(info.rcScrollBar);
  // The arrows still from the skin; between them the skin's background.
  EXPECT_TRUE(ShowsArrows(shot, true, 9, 13, "bar without track and thumb images"));
  const skin::TScrollBarLayout l = Layout(shot.Width(), shot.Height(), true);
  skin::TBitmap face(l.Track.Width(), l.Track.Height(), skin::PixelFormat::k32Bit);
  face.Fill(ScreenColour(Elements().ButtonFaceColour));
  EXPECT_TRUE(SamePixels(shot, l.Track.Left, l.Track.Top, face, "track without images"));
  // The header keeps its own look.
  EXPECT_TRUE(SamePixels(Shot(view->HeaderHandle()), 0, 0, native_header, "header without image"));

  // A thumb image of one frame and margins wider than the image: drawn, and
  // pressed or not the same frame.
  const fw::TOwned<skin::win::TSkinData> fresh = skin::win::fixtures::LoadSkin("test.skn");
  d.VertScrollThumb = std::make_unique<skin::TDataSkinObject>("VertScrollThumb");
  d.VertScrollThumb->Bitmap = fresh->Data().VertScrollThumb->Bitmap;
  d.VertScrollThumb->FrameCount = 1;
  d.VertScrollThumb->Margins = {400, 400, 400, 400};
  s->VBar->Pressed = true;
  s->VBar->HitPart = skin::kHitThumb;
  s->VBar->DragThumb = info.xyThumbTop;
  GetCursorPos(&s->VBar->DragCursor);
  s->VBar->RepaintNow();
  EXPECT_TRUE(ShowsThumb(ShotOfScreen(info.rcScrollBar), true, 1, info.xyThumbTop,
                         info.xyThumbBottom, "one-frame thumb"));
  s->VBar->Pressed = false;
}

TEST_F(ScrollSkinTest, AListViewsHeaderIsDrawnFromTheHeaderImage) {
  auto* view =
      Add<fw::TListView>(10, 10, 300, 150, [](fw::TListView& v) { v.SetViewStyle(fw::vsReport); });
  view->Columns()->Add(L"Código", 80);
  view->Columns()->Add(L"E-mail", 150);
  for (int i = 0; i < 40; ++i)
    view->AddItem(std::to_wstring(i), {L"cliente@exemplo.com.br"});
  auto* s = new TSkinListView(view);
  s->AttachScroll(view, &Skin(), &Controller(), &Canvas());
  ASSERT_NE(s->Header, nullptr);
  HWND header = view->HeaderHandle();
  EXPECT_EQ(s->Header->Handle, header);
  EXPECT_TRUE(Shown(*s->VBar));
  const skin::TBitmap shot = Shot(header);
  const skin::TDataSkinObject& e = *Elements().Headerbar;
  // The rows above the text of each item, and of the space after the last,
  // are the image's frame 1 nine-sliced over the item.
  int right = 0;
  const int count = static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0));
  ASSERT_EQ(count, 2);
  auto expect_rows = [&](const RECT& item, const std::string& what) {
    const int w = item.right - item.left;
    const int h = item.bottom - item.top;
    skin::TBitmap image = ElementFrame(e, 5, 1, w, h, e.Tile != 0);
    image.FillRect({0, 3, w, h}, skin::kSkinTransparent);  // where text may be
    EXPECT_TRUE(SamePixels(shot, item.left, item.top, image, what));
  };
  for (int i = 0; i < count; ++i) {
    RECT item{};
    SendMessageW(header, HDM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&item));
    expect_rows(item, "header item " + std::to_string(i));
    right = item.right;
  }
  expect_rows(RECT{right, 0, shot.Width(), shot.Height()}, "space after the last item");

  // The list view created again gets a new header skinner.
  view->RecreateWnd();
  Settle();
  ASSERT_NE(s->Header, nullptr);
  EXPECT_EQ(s->Header->Handle, view->HeaderHandle());
}

}  // namespace
}  // namespace skin_test
