// The skinned frame under Wine: borders and caption against the skin images,
// the caption text placed by each alignment, the window region cut along
// magenta, the non-client size and hit-test answers, the client size kept
// through attach and detach, a message box widened for its caption.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "framework/dc.h"
#include "framework/forms.h"
#include "framework/reader.h"
#include "framework/registry.h"
#include "skin/data/skin_draw.h"
#include "skin/window/frame_geometry.h"
#include "skin/window/menu_bar.h"
#include "tests/skin/window/skinned_window.h"
#include "tests/support/win/live_counts.h"
#include "tests/support/win/pump.h"

namespace skin::win {
namespace {

using fixtures::AttachController;
using fixtures::CaptureWindow;
using fixtures::FormDescription;
using fixtures::LoadSkin;
using fixtures::SamePixels;

class FrameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fw::RegisterFrameworkClasses();
    app_ = std::make_unique<fw::TApplication>();
    app_->Initialize();
  }
  void TearDown() override { app_.reset(); }

  fw::TForm* NewForm(const std::string& description) {
    auto* form = new fw::TForm(app_.get());
    app_->SetMainForm(form);
    fw::ReadComponent(*form, description);
    form->Show();
    test_support::PumpPending();
    return form;
  }

  std::unique_ptr<fw::TApplication> app_;
};

RECT ClientOf(HWND wnd) {
  RECT r{};
  GetClientRect(wnd, &r);
  return r;
}

// The caption font of the system, as the controller draws with it.
fw::TGdiHandle<HFONT> CaptionFont() {
  NONCLIENTMETRICSW ncm{};
  ncm.cbSize = sizeof(ncm);
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0);
  return fw::TGdiHandle<HFONT>(CreateFontIndirectW(&ncm.lfCaptionFont));
}

int CaptionTextWidth(const std::wstring& text) {
  fw::TGdiHandle<HFONT> font = CaptionFont();
  fw::TClientDC dc(nullptr);
  fw::TSelectObject select(dc.Get(), font.get());
  SIZE size{};
  GetTextExtentPoint32W(dc.Get(), text.c_str(), static_cast<int>(text.size()), &size);
  return size.cx;
}

// The first and last columns a text's ink covers when drawn at x = 0 in the
// caption font.
std::pair<int, int> CaptionInk(const std::wstring& text) {
  fw::TGdiHandle<HFONT> font = CaptionFont();
  fw::TBitmap paper;
  paper.SetSize(CaptionTextWidth(text) + 16, 40);
  HDC dc = paper.Canvas()->Handle();
  fw::TSelectObject select(dc, font.get());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(255, 255, 255));
  RECT r{0, 0, paper.Width(), paper.Height()};
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_SINGLELINE);
  GdiFlush();
  int first = -1;
  int last = -1;
  for (int x = 0; x < paper.Width(); ++x) {
    for (int y = 0; y < paper.Height(); ++y) {
      if ((paper.ScanLine(y)[x] & 0xFFFFFF) != 0) {
        if (first < 0) first = x;
        last = x;
        break;
      }
    }
  }
  return {first, last};
}

// The left edge of the leftmost right-aligned title button the skin
// defines, in a window `width` pixels wide (caption pixels right of it may
// be buttons).
int RightButtonsStart(const skin::TSkinData& data, int width) {
  int start = width;
  for (const auto& b : data.SysButtons) {
    if (b->Align == 1) start = std::min(start, width - b->XCoord);
  }
  return start;
}

// The first column right of the caption text background where no title
// button placed after the text can be.
int CaptionFreeStart(const skin::TSkinData& data, int text_right) {
  int start = text_right;
  for (const auto& b : data.SysButtons) {
    if ((b->Align == 3 || b->Align == 9) && !b->Bitmap.Empty()) {
      const int frames = b->FrameCount > 0 ? b->FrameCount : 1;
      start = std::max(start, text_right + b->XCoord + b->Bitmap.Width() / frames);
    }
  }
  return start;
}

// --- Borders and caption -----------------------------------------------------------

class FrameImagesTest : public FrameTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(FrameImagesTest, BordersAndCaptionBandShowTheSkinImages) {
  auto data = LoadSkin(GetParam());
  ASSERT_FALSE(data->Data().NotLoaded);
  fw::TForm* form = NewForm(FormDescription());
  TWinSkinForm* c = AttachController(form->Handle(), *data, form);
  const skin::TSkinData& d = data->Data();
  const skin::TFrameBorders b = skin::FrameBordersOf(d);
  EXPECT_EQ(c->BorderTop, b.Top);
  EXPECT_EQ(c->BorderLeft, b.Left);

  for (const bool active : {true, false}) {
    SendMessageW(form->Handle(), WM_NCACTIVATE, active ? TRUE : FALSE, 0);
    test_support::PumpPending();
    const skin::TBitmap shot = CaptureWindow(form->Handle());
    const int w = shot.Width();
    const int h = shot.Height();
    const skin::TFrameLayout l = skin::LayoutFrame(w, h, b, 0);
    const std::string look = std::string(GetParam()) + (active ? " active" : " inactive");
    EXPECT_TRUE(SamePixels(shot, 0, 0,
                           skin::BuildBorderImage(d, skin::kBorderLeft, b.Left, h, active),
                           look + " left"));
    EXPECT_TRUE(SamePixels(shot, l.Right.Left, 0,
                           skin::BuildBorderImage(d, skin::kBorderRight, b.Right, h, active),
                           look + " right"));
    EXPECT_TRUE(SamePixels(
        shot, l.Bottom.Left, l.Bottom.Top,
        skin::BuildBorderImage(d, skin::kBorderBottom, l.Bottom.Width(), b.Bottom, active),
        look + " bottom"));
    // The caption band where neither text nor title buttons are: between
    // the text background and the first right-aligned button.
    const skin::TBitmap top =
        skin::BuildBorderImage(d, skin::kBorderTop, l.Caption.Width(), b.Top, active);
    const int from = CaptionFreeStart(d, c->CaptionTextRect.right);
    const int to = RightButtonsStart(d, w);
    ASSERT_LT(from, to) << look;
    skin::TBitmap free_band(to - from, b.Top);
    for (int y = 0; y < b.Top; ++y)
      for (int x = from; x < to; ++x)
        free_band.SetPixel(x - from, y, top.Pixel(x - b.Left, y));
    EXPECT_TRUE(SamePixels(shot, from, 0, free_band, look + " caption"));
  }
}

INSTANTIATE_TEST_SUITE_P(GeneratedSkins, FrameImagesTest,
                         ::testing::Values("default.skn", "test.skn"), [](const auto& info) {
                           return std::string(info.param) == "default.skn" ? "Default" : "Test";
                         });

// --- Caption text ------------------------------------------------------------------

// Columns of the caption band where the text's ink is: where the window
// differs from the plain top border (the text background switched off),
// the cut-off corners left out.
std::pair<int, int> InkColumns(const skin::TPixels& shot, const skin::TPixels& top, int band_left) {
  int first = -1;
  int last = -1;
  for (int x = 0; x < top.Width(); ++x) {
    for (int y = 0; y < top.Height(); ++y) {
      const uint32_t plain = top.Pixel(x, y);
      if (!skin::IsRegionKeyPixel(plain, skin::TRegionKey{}) &&
          shot.Pixel(band_left + x, y) != plain) {
        if (first < 0) first = band_left + x;
        last = band_left + x;
        break;
      }
    }
  }
  return {first, last};
}

TEST_F(FrameTest, CaptionTextPlacedByEachAlignment) {
  const std::wstring caption = L"Atualiza E-mails";
  const struct {
    const char* what;
    int alignment;
    bool right_to_left;
  } cases[] = {
      {"left", 0, false},
      {"centre", 1, false},
      {"right", 2, false},
      {"right to left", 0, true},
  };
  for (const auto& c : cases) {
    auto data = LoadSkin("default.skn");
    skin::TSkinData& d = data->Data();
    // No text background and no title buttons: only the text changes the band.
    d.Title->Bitmap.Clear();
    d.SysButtons.clear();
    d.Title->TextAlignment = c.alignment;
    fw::TForm* form = NewForm(FormDescription());
    if (c.right_to_left) {
      SetWindowLongW(form->Handle(), GWL_EXSTYLE,
                     GetWindowLongW(form->Handle(), GWL_EXSTYLE) | WS_EX_LEFTSCROLLBAR);
    }
    TWinSkinForm* controller = AttachController(form->Handle(), *data, form);
    SendMessageW(form->Handle(), WM_NCACTIVATE, TRUE, 0);
    const skin::TBitmap shot = CaptureWindow(form->Handle());
    const skin::TFrameBorders b = skin::FrameBordersOf(d);
    const int band_width = shot.Width() - b.Left - b.Right;
    const skin::TBitmap top = skin::BuildBorderImage(d, skin::kBorderTop, band_width, b.Top, true);
    const auto [ink_left, ink_right] = InkColumns(shot, top, b.Left);
    ASSERT_GE(ink_left, 0) << c.what << ": no caption text drawn";

    const int text_width = CaptionTextWidth(L"  " + caption + L" ");
    const int back_width = text_width + d.Title->TextBackLeft + d.Title->TextBackRight;
    const int shift = d.Title->Margins.Left;
    const int right_clip = d.Title->Margins.Right;
    int back_left = 0;
    switch (c.right_to_left ? 2 : c.alignment) {
      case 0:
        back_left = b.Left + shift;
        break;
      case 1:
        back_left = b.Left + (band_width - back_width) / 2;
        break;
      default:
        back_left = b.Left + band_width - right_clip - back_width;
        break;
    }
    EXPECT_EQ(controller->CaptionTextRect.left, back_left) << c.what;
    // The text as drawn from the left edge of its rectangle (its width is
    // the text's, so right-aligned text starts there too).
    const int text_left = back_left + d.Title->TextBackLeft;
    const auto [first, last] = CaptionInk(L"  " + caption + L" ");
    EXPECT_NEAR(ink_left, text_left + first, 1) << c.what;
    EXPECT_NEAR(ink_right, text_left + last, 1) << c.what;
    if (::testing::Test::HasFailure()) fixtures::SaveShot(shot, std::string("caption ") + c.what);
    form->Free();
    test_support::PumpPending();
  }
}

// --- Region --------------------------------------------------------------------------

bool InRegion(HWND wnd, int x, int y) {
  fw::TGdiHandle<HRGN> rgn(CreateRectRgn(0, 0, 0, 0));
  if (GetWindowRgn(wnd, rgn.get()) == ERROR) return true;  // no region: the whole window
  return PtInRegion(rgn.get(), x, y) != FALSE;
}

TEST_F(FrameTest, RegionCutsAlongMagentaWithToleranceOne) {
  auto data = LoadSkin("default.skn");
  // Column 0 of the left border (both frames), rows 12 to 16: magenta and
  // near-magenta pixels below the rounded corner.
  skin::TDataSkinBorder& left = *data->Data().Borders[skin::kBorderLeft];
  const int frame_width = left.Bitmap.Width() / left.FrameCount;
  const struct {
    int row;
    uint32_t colour;
    bool inside;
  } pixels[] = {
      {12, skin::MakeColour(255, 1, 255), false},  // green within the tolerance
      {13, skin::MakeColour(254, 0, 255), true},   // red below the key
      {14, skin::MakeColour(255, 0, 255), false},
      {15, skin::MakeColour(255, 2, 255), true},  // green beyond the tolerance
      {16, skin::MakeColour(255, 0, 254), true},
  };
  for (const auto& p : pixels) {
    for (int f = 0; f < left.FrameCount; ++f)
      left.Bitmap.SetPixel(f * frame_width, p.row, p.colour);
  }
  fw::TForm* form = NewForm(FormDescription());
  AttachController(form->Handle(), *data, form);
  HWND wnd = form->Handle();
  RECT wr;
  GetWindowRect(wnd, &wr);
  const int w = wr.right - wr.left;
  const int h = wr.bottom - wr.top;
  for (const auto& p : pixels)
    EXPECT_EQ(InRegion(wnd, 0, p.row), p.inside) << "row " << p.row;
  // The rounded top corners are cut; the square bottom ones (no Trans on
  // the default skin's bottom border) are not.
  EXPECT_FALSE(InRegion(wnd, 0, 0));
  EXPECT_FALSE(InRegion(wnd, w - 1, 0));
  EXPECT_TRUE(InRegion(wnd, w / 2, 0));
  EXPECT_TRUE(InRegion(wnd, 0, h - 1));
  EXPECT_TRUE(InRegion(wnd, w / 2, h / 2));
}

TEST_F(FrameTest, OnlyTheBottomBorderTransparentStillShapesTheBottomEdge) {
  auto data = LoadSkin("test.skn");  // radius 10 at the bottom
  for (int i : {skin::kBorderLeft, skin::kBorderRight, skin::kBorderTop})
    data->Data().Borders[static_cast<size_t>(i)]->Trans = 0;
  fw::TForm* form = NewForm(FormDescription());
  TWinSkinForm* c = AttachController(form->Handle(), *data, form);
  HWND wnd = form->Handle();
  RECT wr;
  GetWindowRect(wnd, &wr);
  const int w = wr.right - wr.left;
  const int h = wr.bottom - wr.top;
  EXPECT_TRUE(InRegion(wnd, 0, 0));  // the sides and top are rectangles
  EXPECT_TRUE(InRegion(wnd, 0, h - 1));
  EXPECT_FALSE(InRegion(wnd, c->BorderLeft, h - 1));  // the bottom image's corner
  EXPECT_FALSE(InRegion(wnd, w - c->BorderRight - 1, h - 1));
  EXPECT_TRUE(InRegion(wnd, w / 2, h - 1));
}

TEST_F(FrameTest, RegionRebuiltOncePerNewSize) {
  auto data = LoadSkin("default.skn");
  fw::TForm* form = NewForm(FormDescription());
  TWinSkinForm* c = AttachController(form->Handle(), *data, form);
  HWND wnd = form->Handle();
  ASSERT_TRUE(c->HasRegion);
  const HRGN first = c->Region;
  RECT wr;
  GetWindowRect(wnd, &wr);
  SetWindowPos(wnd, nullptr, 0, 0, wr.right - wr.left + 40, wr.bottom - wr.top + 20,
               SWP_NOMOVE | SWP_NOZORDER);
  test_support::PumpPending();
  const HRGN second = c->Region;
  EXPECT_NE(second, first);
  EXPECT_EQ(c->RegionWidth, wr.right - wr.left + 40);
  // The same size again: the region stands.
  const RECT client = ClientOf(wnd);
  SendMessageW(wnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
  EXPECT_EQ(c->Region, second);
  EXPECT_FALSE(InRegion(wnd, wr.right - wr.left + 40 - 1, 0));  // the new top-right corner
}

// --- Non-client size and hit tests ------------------------------------------------

// Plain borders of 4 (sides and bottom) and 24 (caption) pixels, two frames.
void UsePlainBorders(skin::TSkinData& d) {
  const struct {
    int index;
    int w;
    int h;
  } sizes[] = {{skin::kBorderLeft, 8, 40},
               {skin::kBorderRight, 8, 40},
               {skin::kBorderTop, 30, 48},
               {skin::kBorderBottom, 30, 8}};
  for (const auto& s : sizes) {
    skin::TDataSkinBorder& e = *d.Borders[static_cast<size_t>(s.index)];
    e.Bitmap = skin::TBitmap(s.w, s.h);
    e.Bitmap.Fill(skin::MakeColour(60, 70, 80));
    e.FrameCount = 2;
    e.Margins = {};
    e.Trans = 0;
  }
}

TEST_F(FrameTest, NonClientSizeAndHitTestOfTheWorkedExamples) {
  auto data = LoadSkin("default.skn");
  UsePlainBorders(data->Data());
  fw::TForm* form = NewForm(FormDescription(fixtures::kMenuDescription));
  TWinSkinForm* c = AttachController(form->Handle(), *data, form);
  HWND wnd = form->Handle();
  ASSERT_EQ(c->BorderTop, 24);
  const int menu = GetSystemMetrics(SM_CYMENU);
  ASSERT_EQ(c->MenuBarHeight, menu);

  WINDOWPOS pos{wnd, nullptr, 100, 100, 400, 300, 0};
  NCCALCSIZE_PARAMS params{};
  params.rgrc[0] = {100, 100, 500, 400};
  params.rgrc[1] = params.rgrc[0];
  params.rgrc[2] = {104, 143, 496, 396};
  params.lppos = &pos;
  EXPECT_EQ(SendMessageW(wnd, WM_NCCALCSIZE, TRUE, reinterpret_cast<LPARAM>(&params)),
            WVR_VALIDRECTS);
  // With the usual 19-pixel menu: (104, 143, 496, 396).
  EXPECT_EQ(params.rgrc[0].left, 104);
  EXPECT_EQ(params.rgrc[0].top, 124 + menu);
  EXPECT_EQ(params.rgrc[0].right, 496);
  EXPECT_EQ(params.rgrc[0].bottom, 396);
  EXPECT_TRUE(EqualRect(&params.rgrc[1], &params.rgrc[0]));

  RECT wr;
  GetWindowRect(wnd, &wr);
  const int x = (wr.left + wr.right) / 2;
  auto hit = [&](int dy) { return SendMessageW(wnd, WM_NCHITTEST, 0, MAKELPARAM(x, wr.top + dy)); };
  // Two pixels below the top: the native answer stands (a sizing edge here).
  EXPECT_EQ(hit(2), DefWindowProcW(wnd, WM_NCHITTEST, 0, MAKELPARAM(x, wr.top + 2)));
  EXPECT_EQ(hit(10), HTCAPTION);
  EXPECT_EQ(hit(30), HTMENU);
  EXPECT_EQ(hit(24 + menu + 5), HTCLIENT);
}

// --- Client size through attach and detach ----------------------------------------

TEST_F(FrameTest, ClientSizeKeptAfterAttachAndRestoredAfterUnskin) {
  auto data = LoadSkin("default.skn");
  // The scratch bitmap the menu bar paints on lives as long as the program,
  // and the menu images as long as the skin data.
  ScratchBitmap().SetSize(1, 1);
  data->MenuImages()->Handle();
  const struct {
    const char* what;
    std::string description;
    bool menu;
  } cases[] = {
      {"sizeable with a menu", FormDescription(fixtures::kMenuDescription), true},
      {"sizeable", FormDescription(), false},
      {"single", FormDescription("  BorderStyle = bsSingle\n"), false},
      {"dialog", FormDescription("  BorderStyle = bsDialog\n"), false},
  };
  for (const auto& c : cases) {
    fw::TForm* form = NewForm(c.description);
    HWND wnd = form->Handle();
    const test_support::TLiveCounts before = test_support::Live();
    const RECT client = ClientOf(wnd);
    const HMENU menu = GetMenu(wnd);
    const auto proc = GetWindowLongPtrW(wnd, GWLP_WNDPROC);
    const LONG style = GetWindowLongW(wnd, GWL_STYLE);
    TWinSkinForm* controller = AttachController(wnd, *data, form);
    const RECT skinned = ClientOf(wnd);
    EXPECT_TRUE(EqualRect(&client, &skinned))
        << c.what << ": skinned client " << skinned.right << " x " << skinned.bottom
        << " instead of " << client.right << " x " << client.bottom;
    EXPECT_EQ(GetMenu(wnd), nullptr) << c.what;
    EXPECT_EQ(controller->MenuBarSkinner != nullptr, c.menu) << c.what;

    controller->Unskin();
    controller->Free();
    test_support::PumpPending();
    const RECT after = ClientOf(wnd);
    EXPECT_TRUE(EqualRect(&client, &after))
        << c.what << ": unskinned client " << after.right << " x " << after.bottom << " instead of "
        << client.right << " x " << client.bottom;
    EXPECT_EQ(GetMenu(wnd), menu) << c.what;
    EXPECT_EQ(GetWindowLongPtrW(wnd, GWLP_WNDPROC), proc) << c.what;
    EXPECT_EQ(GetWindowLongW(wnd, GWL_STYLE) & WS_CAPTION, style & WS_CAPTION) << c.what;
    EXPECT_FALSE(GetWindowRgn(wnd, fw::TGdiHandle<HRGN>(CreateRectRgn(0, 0, 0, 0)).get()) != ERROR)
        << c.what << ": a region is left";
    EXPECT_EQ(test_support::Live(), before) << c.what;
    form->Free();
    test_support::PumpPending();
  }
}

// A top-level window of no framework class.
HWND NewRawWindow(HMENU menu, int w, int h) {
  static const bool registered = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"SkinFrameRawWindow";
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    return RegisterClassW(&wc) != 0;
  }();
  if (!registered) return nullptr;
  HWND wnd = CreateWindowExW(0, L"SkinFrameRawWindow", L"Janela crua", WS_OVERLAPPEDWINDOW, 200,
                             150, w, h, nullptr, menu, GetModuleHandleW(nullptr), nullptr);
  if (wnd != nullptr) ShowWindow(wnd, SW_SHOW);
  test_support::PumpPending();
  return wnd;
}

TEST_F(FrameTest, RawWindowWithANativeMenuKeepsItsClientSize) {
  HMENU bar = CreateMenu();
  HMENU file = CreatePopupMenu();
  AppendMenuW(file, MF_STRING, 101, L"&Abrir");
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"&Arquivo");
  AppendMenuW(bar, MF_STRING | MF_GRAYED, 102, L"A&juda");
  HWND wnd = NewRawWindow(bar, 400, 260);
  ASSERT_NE(wnd, nullptr);
  const RECT client = ClientOf(wnd);

  auto data = LoadSkin("default.skn");
  fw::TOwned<TWinSkinForm> controller(AttachController(wnd, *data, nullptr));
  const RECT skinned = ClientOf(wnd);
  EXPECT_TRUE(EqualRect(&client, &skinned));
  ASSERT_NE(controller->MenuBarSkinner, nullptr);
  EXPECT_EQ(GetMenu(wnd), nullptr);
  const auto& items = controller->MenuBarSkinner->Items;
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(items[0]->Caption, L"&Arquivo");
  EXPECT_EQ(items[0]->SubMenu, file);
  EXPECT_TRUE(items[0]->Enabled);
  EXPECT_EQ(items[1]->Command, 102u);
  EXPECT_FALSE(items[1]->Enabled);

  controller->Unskin();
  test_support::PumpPending();
  const RECT unskinned = ClientOf(wnd);
  EXPECT_TRUE(EqualRect(&client, &unskinned));
  EXPECT_EQ(GetMenu(wnd), bar);
  controller.reset();
  DestroyWindow(wnd);
}

TEST_F(FrameTest, ARawWindowDestroyedWhileSkinnedTakesItsMenuWithIt) {
  HMENU bar = CreateMenu();
  AppendMenuW(bar, MF_STRING, 101, L"&Sair");
  HWND wnd = NewRawWindow(bar, 300, 200);
  ASSERT_NE(wnd, nullptr);
  auto data = LoadSkin("default.skn");
  fw::TOwned<TWinSkinForm> controller(AttachController(wnd, *data, nullptr));
  ASSERT_EQ(GetMenu(wnd), nullptr);
  DestroyWindow(wnd);
  EXPECT_EQ(controller->State, ssDestroyed);
  EXPECT_FALSE(IsMenu(bar));
}

// --- A message box widened for its caption ----------------------------------------

struct TBoxProbe {
  std::wstring caption;
  TSkinData* data = nullptr;
  HWND box = nullptr;
  TWinSkinForm* controller = nullptr;
  int width_before = 0;
  int client_width = 0;
  std::vector<std::pair<HWND, POINT>> children_before;
  int width_after = 0;
  std::vector<std::pair<HWND, POINT>> children_after;
  bool done = false;
};
TBoxProbe* g_probe = nullptr;

std::vector<std::pair<HWND, POINT>> ChildPositions(HWND box) {
  std::vector<std::pair<HWND, POINT>> list;
  for (HWND child = GetWindow(box, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(HWND_DESKTOP, box, reinterpret_cast<POINT*>(&r), 2);
    list.push_back({child, {r.left, r.top}});
  }
  return list;
}

void CALLBACK ProbeBox(HWND, UINT, UINT_PTR timer, DWORD) {
  TBoxProbe& p = *g_probe;
  if (p.box == nullptr) {
    HWND box = FindWindowW(L"#32770", p.caption.c_str());
    if (box == nullptr || !IsWindowVisible(box)) return;
    p.box = box;
    RECT wr;
    GetWindowRect(box, &wr);
    p.width_before = wr.right - wr.left;
    p.client_width = ClientOf(box).right;
    p.children_before = ChildPositions(box);
    p.controller = new TWinSkinForm(nullptr);
    p.controller->Handle = box;
    p.controller->Attach(p.data);
    PostMessageW(box, WM_SKINATTACHED, 0, 1000);
    return;
  }
  if (p.controller->State != ssReady) return;
  RECT wr;
  GetWindowRect(p.box, &wr);
  p.width_after = wr.right - wr.left;
  p.children_after = ChildPositions(p.box);
  p.done = true;
  KillTimer(nullptr, timer);
  PostMessageW(p.box, WM_COMMAND, IDOK, 0);
}

TEST_F(FrameTest, MessageBoxWidenedForItsCaption) {
  auto data = LoadSkin("default.skn");
  TBoxProbe probe;
  probe.caption = L"Uma legenda bem mais longa que o texto desta caixa";
  probe.data = data.get();
  g_probe = &probe;
  const UINT_PTR timer = SetTimer(nullptr, 0, 30, &ProbeBox);
  MessageBoxW(nullptr, L"Ok", probe.caption.c_str(), MB_OK);
  KillTimer(nullptr, timer);
  g_probe = nullptr;
  ASSERT_TRUE(probe.done);
  fw::TOwned<TWinSkinForm> controller(probe.controller);
  EXPECT_EQ(controller->FrameKind, fkDialog);

  const skin::TSkinData& d = data->Data();
  const int width = probe.client_width + controller->BorderLeft + controller->BorderRight;
  const int needed =
      d.Title->Margins.Left + CaptionTextWidth(probe.caption) + d.Title->Margins.Right;
  ASSERT_LT(width, needed) << "the caption must be wider than the box for this test";
  EXPECT_EQ(probe.width_after, needed);
  ASSERT_EQ(probe.children_after.size(), probe.children_before.size());
  for (size_t i = 0; i < probe.children_before.size(); ++i) {
    EXPECT_EQ(probe.children_after[i].second.x,
              probe.children_before[i].second.x + (needed - width) / 2)
        << "child " << i;
    EXPECT_EQ(probe.children_after[i].second.y, probe.children_before[i].second.y) << "child " << i;
  }
}

}  // namespace
}  // namespace skin::win
