// The tab skinners under Wine: tabs on every side drawn from the skin's
// "Tabs" image (the focused tab's frame 2, the others' frame 1, each turned
// so its outer edge faces away from the page), the page framed with the
// "Border" image, the scroller's up-down skinner, and an old-style tab set
// (a small control of this test publishing what a tab set publishes).
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "framework/comctrls.h"
#include "framework/string_list.h"
#include "skin/controls/skin_tab.h"
#include "skin/controls/skin_up_down.h"
#include "skin/controls/tab_rules.h"
#include "skin/data/skin_draw.h"
#include "tests/skin/controls/panel_test_fixture.h"

namespace skin_test {
namespace {

using skin::win::TSkinTab;
using skin::win::TSkinTab31;

class TabSkinnerTest : public PanelSkinnerTest {
 protected:
  // A raw tab control (no framework object) of `style` with `count` tabs,
  // the second one focused.
  HWND RawTabs(fw::TForm* form, DWORD style, int count, RECT at) {
    HWND wnd =
        CreateWindowExW(0, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | style,
                        at.left, at.top, at.right - at.left, at.bottom - at.top, form->Handle(),
                        nullptr, GetModuleHandleW(nullptr), nullptr);
    for (int i = 0; i < count; ++i) {
      std::wstring text = L"Aba " + std::to_wstring(i + 1);
      TCITEMW item{};
      item.mask = TCIF_TEXT;
      item.pszText = text.data();
      SendMessageW(wnd, TCM_INSERTITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    }
    SendMessageW(wnd, TCM_SETCURSEL, 1, 0);
    return wnd;
  }
  // A pixel of frame `frame` of the skin's tab image, `dy` rows in from
  // its top edge (the tab's outer edge) at its middle.
  uint32_t TabEdge(int frame, int dy) {
    const skin::TDataSkinBorder& e = *Elements().Tabs;
    const skin::TRect r =
        skin::SkinFrameRect(e.Bitmap.Width(), e.Bitmap.Height(), false, e.FrameCount, frame);
    return e.Bitmap.Pixel((r.Left + r.Right) / 2, r.Top + dy);
  }
};

TEST_F(TabSkinnerTest, TabsOnEverySideFaceAwayFromTheirFramedPage) {
  fw::TForm* form = CreateForm("");
  const uint32_t focused = TabEdge(2, 1);
  const uint32_t other = TabEdge(1, 1);
  ASSERT_NE(focused, other) << "the skin's focused tab has its own outer edge";
  const skin::TDataSkinBorder& e = *Elements().Tabs;
  const uint32_t line = e.Bitmap2.Pixel(0, e.Bitmap2.Height() / 2);  // the border's outline

  const struct {
    const char* name;
    DWORD style;
    int side;
  } sides[] = {{"top", 0, skin::kTabsTop},
               {"bottom", TCS_BOTTOM, skin::kTabsBottom},
               {"left", TCS_VERTICAL | TCS_MULTILINE, skin::kTabsLeft},
               {"right", TCS_VERTICAL | TCS_RIGHT | TCS_MULTILINE, skin::kTabsRight}};
  for (const auto& s : sides) {
    SCOPED_TRACE(s.name);
    HWND wnd = RawTabs(form, s.style, 3, RECT{10, 10, 310, 210});
    auto* skinner = new TSkinTab(nullptr);
    skinner->AttachHandle(wnd, &Data(), &Controller(), nullptr);
    EXPECT_EQ(skinner->Orientation, s.side);
    const skin::TBitmap shot = Shot(wnd);
    // The outer edge of a tab, one pixel in, half-way along it.
    const auto outer = [&](int i) {
      RECT r{};
      SendMessageW(wnd, TCM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r));
      switch (s.side) {
        case skin::kTabsBottom:
          return shot.Pixel((r.left + r.right) / 2, r.bottom - 2);
        case skin::kTabsLeft:
          return shot.Pixel(r.left + 1, (r.top + r.bottom) / 2);
        case skin::kTabsRight:
          return shot.Pixel(r.right - 2, (r.top + r.bottom) / 2);
        default:
          return shot.Pixel((r.left + r.right) / 2, r.top + 1);
      }
    };
    EXPECT_EQ(outer(1), focused) << "the focused tab: frame 2";
    EXPECT_EQ(outer(0), other) << "another tab: frame 1";
    EXPECT_EQ(outer(2), other);

    // The page's border on the side away from the tabs.
    RECT display{0, 0, 300, 200};
    SendMessageW(wnd, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
    const skin::TRect page =
        skin::TabPageRect({display.left, display.top, display.right, display.bottom}, s.side);
    const int mid_x = (page.Left + page.Right) / 2;
    const int mid_y = (page.Top + page.Bottom) / 2;
    switch (s.side) {
      case skin::kTabsTop:
        EXPECT_EQ(shot.Pixel(mid_x, page.Bottom - 1), line);
        break;
      case skin::kTabsBottom:
        EXPECT_EQ(shot.Pixel(mid_x, page.Top), line);
        break;
      case skin::kTabsLeft:
        EXPECT_EQ(shot.Pixel(page.Right - 1, mid_y), line);
        break;
      default:
        EXPECT_EQ(shot.Pixel(page.Left, mid_y), line);
        break;
    }
    skinner->Free();
    DestroyWindow(wnd);
  }
}

TEST_F(TabSkinnerTest, TheScrollerOfTabsThatDoNotFitGetsAnUpDownSkinner) {
  fw::TForm* form = CreateForm("");
  const test_support::TLiveCounts before = test_support::Live();
  HWND wnd = RawTabs(form, 0, 12, RECT{10, 10, 170, 110});
  HWND scroller = FindWindowExW(wnd, nullptr, UPDOWN_CLASSW, nullptr);
  ASSERT_NE(scroller, nullptr) << "twelve tabs do not fit in 160 pixels";
  auto* skinner = new TSkinTab(nullptr);
  skinner->AttachHandle(wnd, &Data(), &Controller(), nullptr);
  ASSERT_NE(skinner->UpDown, nullptr);
  EXPECT_EQ(skinner->UpDown->Handle, scroller);
  EXPECT_TRUE(skinner->UpDown->HookedByHandle());
  EXPECT_NE(
      std::find(Controller().Skinners().begin(), Controller().Skinners().end(), skinner->UpDown),
      Controller().Skinners().end());
  Settle(wnd);
  skin::win::TSkinUpDown* up_down = skinner->UpDown;
  skinner->Free();  // frees the scroller's skinner too
  EXPECT_EQ(std::find(Controller().Skinners().begin(), Controller().Skinners().end(), up_down),
            Controller().Skinners().end());
  DestroyWindow(wnd);
  Settle(form->Handle());
  EXPECT_EQ(test_support::Live(), before);
}

// An old-style tab set: tabs in a row along its bottom edge from the first
// visible one, its scroller (an up-down laid left and right) as its first
// component. Its own painting is plain red, so any of it that shows is seen.
class TTabSet : public fw::TCustomControl {
  FW_CLASS_INFO(TTabSet)

 public:
  explicit TTabSet(fw::TComponent* owner) : fw::TCustomControl(owner) {
    scroller_ = new fw::TUpDown(this);
    scroller_->SetOrientation(fw::udHorizontal);
    scroller_->SetParent(this);
  }
  fw::TStrings* Tabs() { return &tabs_; }
  int32_t TabIndex() const { return tab_index_; }
  void SetTabIndex(int32_t v) { tab_index_ = v; }
  int32_t FirstIndex() const { return first_index_; }
  void SetFirstIndex(int32_t v) { first_index_ = v; }
  int32_t StartMargin() const { return start_margin_; }
  void SetStartMargin(int32_t v) { start_margin_ = v; }
  int32_t EndMargin() const { return end_margin_; }
  void SetEndMargin(int32_t v) { end_margin_ = v; }
  fw::TUpDown* Scroller() const { return scroller_; }

 protected:
  void Paint() override {
    const fw::TGdiHandle<HBRUSH> red(CreateSolidBrush(RGB(255, 0, 0)));
    RECT r = ClientRect();
    FillRect(canvas_.Handle(), &r, red.get());
  }

 private:
  fw::TStringList tabs_;
  fw::TUpDown* scroller_ = nullptr;
  int32_t tab_index_ = 0;
  int32_t first_index_ = 0;
  int32_t start_margin_ = 5;
  int32_t end_margin_ = 0;
};

const fw::TClassInfo& TTabSet::StaticClassInfo() {
  static const fw::TClassInfo info =
      fw::TClassBuilder<TTabSet>("TTabSet", fw::TCustomControl::StaticClassInfo())
          .Obj("Tabs", &TTabSet::Tabs)
          .Int("TabIndex", &TTabSet::TabIndex, &TTabSet::SetTabIndex)
          .Int("FirstIndex", &TTabSet::FirstIndex, &TTabSet::SetFirstIndex)
          .Int("StartMargin", &TTabSet::StartMargin, &TTabSet::SetStartMargin)
          .Int("EndMargin", &TTabSet::EndMargin, &TTabSet::SetEndMargin)
          .Build();
  return info;
}

TEST_F(TabSkinnerTest, OldStyleTabSetHangsItsTabsFromTheFirstVisibleOne) {
  fw::TForm* form = CreateForm("");
  auto* set = new TTabSet(form);
  set->SetParent(form);
  set->SetBounds(10, 150, 300, 24);
  set->Tabs()->SetText(L"Um\nDois\nTrês\nQuatro\nCinco\nSeis\nSete\nOito\nNove\nDez");
  set->SetTabIndex(2);
  set->SetFirstIndex(1);
  set->Scroller()->SetBounds(279, 2, 20, 20);
  Settle(form->Handle());
  auto* skinner = new TSkinTab31(set);
  skinner->Attach(&Controller(), &Data(), false, nullptr);
  ASSERT_NE(skinner->UpDown, nullptr);
  EXPECT_EQ(skinner->ScrollerControl, set->Scroller());
  EXPECT_EQ(skinner->UpDown->Horizontal, 1);
  EXPECT_EQ(skinner->UpDown->Handle, set->Scroller()->Handle());

  const skin::TBitmap shot = Shot(set->Handle());
  // The row as the set's font measures its texts, from tab 1 on, the
  // scroller's room kept free at the end.
  skin::TTabSetInput in;
  in.Width = 300;
  in.StartMargin = 5;
  in.FirstIndex = 1;
  in.ScrollerVisible = true;
  {
    HDC dc = GetDC(set->Handle());
    const fw::TSelectObject font(dc, set->Font()->Handle());
    for (int i = 0; i < set->Tabs()->Count(); ++i) {
      const std::wstring text = set->Tabs()->Strings(i);
      SIZE size{};
      GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
      in.TextWidths.push_back(size.cx);
    }
    ReleaseDC(set->Handle(), dc);
  }
  const std::vector<skin::TTabSetTab> row = skin::TabSetLayout(in);
  ASSERT_GE(row.size(), 3u);
  ASSERT_LT(row.size(), 9u);
  EXPECT_EQ(row.front().Index, 1);
  // Hanging tabs: the outer edge is the bottom (the image upside down).
  for (const skin::TTabSetTab& tab : row) {
    const uint32_t edge = shot.Pixel((tab.Left + tab.Right) / 2, 24 - 2);
    EXPECT_EQ(edge, TabEdge(tab.Index == 2 ? 2 : 1, 1)) << "tab " << tab.Index;
  }
  // Past the last tab that fits, the skin's background; the set's own red
  // never shows.
  ASSERT_LE(row.back().Right, 279);
  if (row.back().Right < 278) {
    EXPECT_EQ(shot.Pixel(row.back().Right + 1, 12), Face());
  }
  int red = 0;
  for (int y = 0; y < 24; ++y) {
    for (int x = 0; x < 279; ++x)
      red += shot.Pixel(x, y) == 0x0000FF ? 1 : 0;
  }
  EXPECT_EQ(red, 0);
  skinner->Free();
}

}  // namespace
}  // namespace skin_test
