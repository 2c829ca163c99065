// MDI frames and children under Wine, with plain Win32 MDI windows (an
// "MDIClient" window, children made with WM_MDICREATE, DefFrameProc and
// DefMDIChildProc): a new child skinned at WM_MDIREFRESHMENU, a maximized
// child (by its own button, or made so) giving up its region and caption
// while its buttons show on the frame's menu band, restore, minimize and
// close through those buttons with real clicks, tiling and cascading, the
// menus the children bring, the client's scroll bars, and nothing left
// behind.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/reader.h"
#include "skin/controls/skin_manage.h"
#include "skin/data/skin_draw.h"
#include "skin/window/menu_bar.h"
#include "tests/skin/window/skinned_window.h"
#include "tests/skin/window/skinned_window_fixture.h"
#include "tests/support/win/lambda_hooks.h"
#include "tests/support/win/live_counts.h"
#include "tests/support/win/pump.h"

namespace skin_test {
namespace {

using skin::win::TSkinManage;
using skin::win::TWinSkinForm;
using skin::win::TWinSysButton;
using skin::win::fixtures::CaptureWindow;
using skin::win::fixtures::SamePixels;
using test_support::PumpPending;
using test_support::PumpUntil;

constexpr int kMenuBandButton = 100;  // the visibility code of the band's buttons
constexpr UINT kFirstChildId = 50000;

// The menus a child brings with it (as MDI programs do): set on the frame
// through WM_MDISETMENU when the child is activated, the frame's own set
// back when it is deactivated. Null: the children bring none.
HMENU g_child_menu = nullptr;
HMENU g_frame_menu = nullptr;

HWND ClientOf(HWND frame) {
  return reinterpret_cast<HWND>(GetWindowLongPtrW(frame, GWLP_USERDATA));
}

LRESULT CALLBACK FrameProc(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  return DefFrameProcW(wnd, ClientOf(wnd), msg, wparam, lparam);
}

LRESULT CALLBACK ChildProc(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  if (msg == WM_MDIACTIVATE && g_child_menu != nullptr) {
    HWND client = GetParent(wnd);
    HMENU menu = nullptr;
    if (reinterpret_cast<HWND>(lparam) == wnd) menu = g_child_menu;
    if (reinterpret_cast<HWND>(wparam) == wnd) menu = g_frame_menu;
    if (menu != nullptr) {
      SendMessageW(client, WM_MDISETMENU, reinterpret_cast<WPARAM>(menu), 0);
      DrawMenuBar(GetParent(client));
    }
  }
  return DefMDIChildProcW(wnd, msg, wparam, lparam);
}

void RegisterClasses() {
  static const bool done = [] {
    WNDCLASSW wc{};
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
    wc.lpfnWndProc = FrameProc;
    wc.lpszClassName = L"SkinTestMdiFrame";
    RegisterClassW(&wc);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpfnWndProc = ChildProc;
    wc.lpszClassName = L"SkinTestMdiChild";
    RegisterClassW(&wc);
    return true;
  }();
  (void)done;
}

// A menu of top-level captions, each with one entry.
HMENU MakeMenu(const std::vector<std::wstring>& captions) {
  HMENU bar = CreateMenu();
  UINT id = 100;
  for (const std::wstring& caption : captions) {
    HMENU popup = CreatePopupMenu();
    AppendMenuW(popup, MF_STRING, id++, L"&Item");
    AppendMenuW(bar, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(popup), caption.c_str());
  }
  return bar;
}

std::vector<std::wstring> Captions(const skin::win::TWinSkinMenu& bar) {
  std::vector<std::wstring> captions;
  for (const auto& item : bar.Items)
    captions.push_back(item->Caption);
  return captions;
}

RECT ScreenClientRect(HWND wnd) {
  RECT r;
  GetClientRect(wnd, &r);
  MapWindowPoints(wnd, HWND_DESKTOP, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

bool HasRegion(HWND wnd) {
  const fw::TGdiHandle<HRGN> probe(CreateRectRgn(0, 0, 0, 0));
  return GetWindowRgn(wnd, probe.get()) != ERROR;
}

// Saves a picture for a failed check; its path.
std::string SaveClientShot(const skin::TPixels& shot) {
  return skin::win::fixtures::SaveShot(shot, "mdi_child_client");
}

// Whether the non-magenta pixels of `image` show at (x, y) of `shot`.
bool Shows(const skin::TPixels& shot, int x, int y, const skin::TPixels& image) {
  for (int iy = 0; iy < image.Height(); ++iy)
    for (int ix = 0; ix < image.Width(); ++ix) {
      const uint32_t pixel = image.Pixel(ix, iy);
      if (pixel != skin::kSkinTransparent && shot.Pixel(x + ix, y + iy) != pixel) return false;
    }
  return true;
}

// Real mouse input: the cursor to a screen point, a press and a release.
void MouseTo(POINT screen) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  const int w = GetSystemMetrics(SM_CXSCREEN);
  const int h = GetSystemMetrics(SM_CYSCREEN);
  in.mi.dx = static_cast<LONG>((screen.x * 65536 + 32768) / w);
  in.mi.dy = static_cast<LONG>((screen.y * 65536 + 32768) / h);
  in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &in, sizeof(in));
  PumpUntil(
      [&] {
        POINT p;
        GetCursorPos(&p);
        return p.x == screen.x && p.y == screen.y;
      },
      1000);
}

void MouseButton(bool down) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
  SendInput(1, &in, sizeof(in));
}

class MdiTest : public SkinnedWindowTest {
 protected:
  void TearDown() override {
    g_child_menu = nullptr;
    g_frame_menu = nullptr;
    SkinnedWindowTest::TearDown();
    for (HMENU menu : menus_) {
      if (IsMenu(menu)) DestroyMenu(menu);
    }
    menus_.clear();
  }

  // A shown (not yet skinned) MDI frame with a menu and its client window.
  HWND CreateFrame(HMENU menu) {
    RegisterClasses();
    menus_.push_back(menu);
    HWND frame = CreateWindowExW(0, L"SkinTestMdiFrame", L"Quadro MDI",
                                 WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 40, 40, 640, 480, nullptr,
                                 menu, GetModuleHandleW(nullptr), nullptr);
    CLIENTCREATESTRUCT ccs{};
    ccs.idFirstChild = kFirstChildId;
    HWND client = CreateWindowExW(WS_EX_CLIENTEDGE, L"MDIClient", nullptr,
                                  WS_CHILD | WS_CLIPCHILDREN | WS_VSCROLL | WS_HSCROLL | WS_VISIBLE,
                                  0, 0, 0, 0, frame, nullptr, GetModuleHandleW(nullptr), &ccs);
    SetWindowLongPtrW(frame, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(client));
    windows_.push_back(frame);
    ShowWindow(frame, SW_SHOWNA);
    return frame;
  }

  // A new child of a skinned frame, created with WM_MDICREATE (not skinned
  // yet).
  static HWND CreateChild(TWinSkinForm* frame, const wchar_t* title, int x = 10, int y = 10,
                          DWORD style = WS_OVERLAPPEDWINDOW) {
    MDICREATESTRUCTW mcs{};
    mcs.szClass = L"SkinTestMdiChild";
    mcs.szTitle = title;
    mcs.hOwner = GetModuleHandleW(nullptr);
    mcs.x = x;
    mcs.y = y;
    mcs.cx = 260;
    mcs.cy = 180;
    mcs.style = style;
    return reinterpret_cast<HWND>(
        SendMessageW(frame->MDIClient, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
  }

  // A skinned frame's new child, created and skinned as an MDI program
  // does it: WM_MDICREATE, then WM_MDIREFRESHMENU.
  static HWND NewChild(TWinSkinForm* frame, const wchar_t* title, int x = 10, int y = 10) {
    HWND child = CreateChild(frame, title, x, y);
    SendMessageW(frame->MDIClient, WM_MDIREFRESHMENU, 0, 0);
    WaitReady(child);
    return child;
  }

  // Waits until the child's controller finished attaching; the controller.
  static TWinSkinForm* WaitReady(HWND child) {
    TWinSkinForm* c = nullptr;
    PumpUntil([&] {
      c = TSkinManage::Instance()->FindSkinForm(child);
      return c != nullptr && c->State == skin::win::ssReady;
    });
    PumpPending();
    return c;
  }

  static TWinSkinForm* ControllerOf(HWND wnd) { return TSkinManage::Instance()->FindSkinForm(wnd); }
  static bool Flag() { return TSkinManage::Instance()->MDIMaximized(); }
  static HWND Active(const TWinSkinForm* frame) {
    return reinterpret_cast<HWND>(SendMessageW(frame->MDIClient, WM_MDIGETACTIVE, 0, 0));
  }

  // The menu band's buttons of the frame (minimize, restore, close).
  static std::vector<TWinSysButton*> BandButtons(TWinSkinForm* frame) {
    std::vector<TWinSysButton*> buttons;
    for (const auto& b : frame->TitleButtons) {
      if (b->Element->Visibility == kMenuBandButton) buttons.push_back(b.get());
    }
    return buttons;
  }
  static TWinSysButton* BandButton(TWinSkinForm* frame, int action) {
    for (TWinSysButton* b : BandButtons(frame)) {
      if (b->Element->Action == action) return b;
    }
    return nullptr;
  }

  // Frame `frame` (1-based) of a button's image, as it is drawn.
  static skin::TBitmap ButtonFrame(const skin::TDataSkinSysButton& element, int frame) {
    const int w = element.Bitmap.Width() / element.FrameCount;
    skin::TBitmap image(w, element.Bitmap.Height());
    for (int y = 0; y < image.Height(); ++y)
      for (int x = 0; x < w; ++x)
        image.SetPixel(x, y, element.Bitmap.Pixel(w * (frame - 1) + x, y));
    return image;
  }

  // A real click in the middle of a band button of the frame.
  void ClickBandButton(TWinSkinForm* frame, int action) {
    TWinSysButton* button = BandButton(frame, action);
    ASSERT_NE(button, nullptr) << action;
    ASSERT_TRUE(button->Visible) << action;
    RECT wr;
    GetWindowRect(frame->Handle, &wr);
    const POINT centre = Centre(button->Rect);
    MouseTo(POINT{wr.left + centre.x, wr.top + centre.y});
    MouseButton(true);
    MouseButton(false);
  }

  // A skinned frame with the standard menu.
  TWinSkinForm* SkinnedFrame() {
    HWND frame = CreateFrame(MakeMenu({L"&Arquivo", L"&Janela"}));
    return Skin(frame);
  }

  std::vector<HMENU> menus_;
};

TEST_F(MdiTest, FrameHooksItsClientAndANewChildIsSkinnedAtRefreshMenu) {
  HWND wnd = CreateFrame(MakeMenu({L"&Arquivo", L"&Janela"}));
  HWND client = ClientOf(wnd);
  const auto client_proc = GetWindowLongPtrW(client, GWLP_WNDPROC);
  TWinSkinForm* frame = Skin(wnd);
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(frame->MDIKind, skin::win::mkFrame);
  EXPECT_EQ(frame->MDIClient, client);
  EXPECT_TRUE(frame->MDIClientHooked());
  EXPECT_NE(GetWindowLongPtrW(client, GWLP_WNDPROC), client_proc);
  EXPECT_EQ(TSkinManage::Instance()->MDIClient(), client);
  ASSERT_NE(frame->MenuBarSkinner, nullptr);
  EXPECT_EQ(Captions(*frame->MenuBarSkinner), (std::vector<std::wstring>{L"&Arquivo", L"&Janela"}));
  ASSERT_TRUE(Data().Data().MenuUpdate);

  // Created: pending, the menu updates off, not skinned yet.
  HWND child = CreateChild(frame, L"Filho 1");
  ASSERT_NE(child, nullptr);
  EXPECT_EQ(frame->PendingMDIChild, child);
  EXPECT_FALSE(Data().Data().MenuUpdate);
  PumpPending();
  EXPECT_EQ(ControllerOf(child), nullptr);

  // Refreshed: skinned as an MDI child, with a skinned frame and region;
  // the frame is asked to repaint its own.
  SendMessageW(client, WM_MDIREFRESHMENU, 0, 0);
  EXPECT_EQ(frame->PendingMDIChild, nullptr);
  MSG posted{};
  EXPECT_TRUE(PeekMessageW(&posted, wnd, skin::win::WM_SKINREPAINTFRAME,
                           skin::win::WM_SKINREPAINTFRAME, PM_NOREMOVE));
  TWinSkinForm* c = WaitReady(child);
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(c->MDIKind, skin::win::mkChild);
  EXPECT_EQ(c->MenuBarSkinner, nullptr);
  EXPECT_TRUE(c->HasRegion);
  EXPECT_TRUE(HasRegion(child));
  EXPECT_EQ(GetWindowLongW(child, GWL_STYLE) & (WS_SYSMENU | WS_MAXIMIZEBOX), 0);
  EXPECT_FALSE(Flag());
  // Its whole client in the skin's face colour: nothing the native frame
  // showed before is left in it.
  const skin::TBitmap shot = CaptureWindow(wnd);
  RECT inner = ScreenClientRect(child);
  RECT wr;
  GetWindowRect(wnd, &wr);
  OffsetRect(&inner, -wr.left, -wr.top);
  const uint32_t face = fw::ColorToRGB(Data().Data().ButtonFaceColour);
  int off_colour = 0;
  for (int y = inner.top; y < inner.bottom; ++y)
    for (int x = inner.left; x < inner.right; ++x)
      off_colour += shot.Pixel(x, y) != face ? 1 : 0;
  EXPECT_EQ(off_colour, 0) << SaveClientShot(shot);

  // A later WM_MDIREFRESHMENU skins nothing more.
  SendMessageW(client, WM_MDIREFRESHMENU, 0, 0);
  PumpPending();
  EXPECT_EQ(ControllerOf(child), c);

  // Skinning off: the client has its own procedure again, the frame its menu.
  frame->Unskin();
  EXPECT_FALSE(frame->MDIClientHooked());
  EXPECT_EQ(GetWindowLongPtrW(client, GWLP_WNDPROC), client_proc);
  EXPECT_NE(GetMenu(wnd), nullptr);
}

TEST_F(MdiTest, MaximizedChildGivesUpRegionAndCaptionAndItsButtonsShowOnTheBand) {
  TWinSkinForm* frame = SkinnedFrame();
  ASSERT_NE(frame, nullptr);
  const std::vector<TWinSysButton*> buttons = BandButtons(frame);
  ASSERT_EQ(buttons.size(), 3u);
  for (TWinSysButton* b : buttons)
    ASSERT_FALSE(b->Element->Bitmap.Empty());
  HWND other = NewChild(frame, L"Filho 1");
  HWND child = NewChild(frame, L"Filho 2", 40, 40);
  TWinSkinForm* c = ControllerOf(child);
  ASSERT_NE(c, nullptr);
  ASSERT_TRUE(c->HasRegion);
  const skin::TBitmap before = CaptureWindow(frame->Handle);

  SendMessageW(frame->MDIClient, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(child), 0);
  PumpUntil([&] { return Flag(); }, 1000);
  PumpPending();
  EXPECT_TRUE(Flag());
  EXPECT_TRUE(frame->ActiveChildMaximized());
  // The child: no region, its native caption styles back, its caption and
  // borders outside the MDI client (its client fills the client's).
  for (HWND wnd : {child, other}) {
    TWinSkinForm* cc = ControllerOf(wnd);
    EXPECT_FALSE(cc->HasRegion);
    EXPECT_FALSE(HasRegion(wnd));
    EXPECT_EQ(GetWindowLongW(wnd, GWL_STYLE) & (WS_SYSMENU | WS_MAXIMIZEBOX | WS_MINIMIZEBOX),
              WS_SYSMENU | WS_MAXIMIZEBOX | WS_MINIMIZEBOX);
  }
  const RECT mdi = ScreenClientRect(frame->MDIClient);
  const RECT inner = ScreenClientRect(child);
  EXPECT_TRUE(EqualRect(&mdi, &inner))
      << "child client " << inner.left << "," << inner.top << " " << inner.right << ","
      << inner.bottom << " MDI client " << mdi.left << "," << mdi.top << " " << mdi.right << ","
      << mdi.bottom;

  // The band shows the three buttons, frame 1 of each image, at their
  // places; before the maximize the band had nothing there.
  const skin::TBitmap shot = CaptureWindow(frame->Handle);
  for (TWinSysButton* b : buttons) {
    ASSERT_TRUE(b->Visible);
    EXPECT_GE(b->Rect.top, frame->BorderTop);
    EXPECT_LE(b->Rect.bottom, frame->BorderTop + frame->MenuBarHeight);
    const skin::TBitmap image = ButtonFrame(*b->Element, 1);
    EXPECT_TRUE(SamePixels(shot, b->Rect.left, b->Rect.top, image,
                           "mdi band button " + std::to_string(b->Element->Action)));
    EXPECT_FALSE(Shows(before, b->Rect.left, b->Rect.top, image));
  }
  // Hot: frame 4 of the image under a hot button.
  TWinSysButton* restore = BandButton(frame, 8);
  ASSERT_NE(restore, nullptr);
  restore->MouseEnter();
  EXPECT_TRUE(SamePixels(CaptureWindow(frame->Handle), restore->Rect.left, restore->Rect.top,
                         ButtonFrame(*restore->Element, 4), "mdi restore hot"));
  restore->MouseLeave();
}

TEST_F(MdiTest, ChildSetsTheFlagWhenItsOwnButtonMaximizesItOrItIsSkinnedMaximized) {
  TWinSkinForm* frame = SkinnedFrame();
  ASSERT_NE(frame, nullptr);
  // The child's own maximize button (a real click): the flag is set before
  // the window is told to maximize.
  HWND child = CreateChild(frame, L"Filho 1");
  bool flag_at_maximize = false;
  int maximize_commands = 0;
  test_support::TLambdaSubclass spy(child, [&](fw::TMessage& m, const fw::TSubclass& sub) {
    if (m.Msg == WM_SYSCOMMAND && (m.WParam & 0xFFF0) == SC_MAXIMIZE) {
      ++maximize_commands;
      flag_at_maximize = Flag();
    }
    sub.CallPrevious(m);
  });
  SendMessageW(frame->MDIClient, WM_MDIREFRESHMENU, 0, 0);
  TWinSkinForm* c = WaitReady(child);
  ASSERT_NE(c, nullptr);
  const TWinSysButton* maximize = nullptr;
  for (const auto& b : c->TitleButtons) {
    if (b->Element->Action == 1 && b->Visible) maximize = b.get();
  }
  ASSERT_NE(maximize, nullptr);
  RECT wr;
  GetWindowRect(child, &wr);
  const POINT centre = Centre(maximize->Rect);
  MouseTo(POINT{wr.left + centre.x, wr.top + centre.y});
  MouseButton(true);
  MouseButton(false);
  ASSERT_TRUE(PumpUntil([&] { return IsZoomed(child) != FALSE; }, 2000));
  PumpPending();
  EXPECT_EQ(maximize_commands, 1);
  EXPECT_TRUE(flag_at_maximize);
  EXPECT_TRUE(Flag());
  EXPECT_FALSE(HasRegion(child));
  SendMessageW(frame->MDIClient, WM_MDIDESTROY, reinterpret_cast<WPARAM>(child), 0);
  ASSERT_FALSE(Flag());

  // A child made maximized: skinned so, with the flag set and no region.
  HWND maximized = CreateChild(frame, L"Filho 2", 10, 10, WS_OVERLAPPEDWINDOW | WS_MAXIMIZE);
  ASSERT_TRUE(IsZoomed(maximized));
  SendMessageW(frame->MDIClient, WM_MDIREFRESHMENU, 0, 0);
  ASSERT_NE(WaitReady(maximized), nullptr);
  EXPECT_TRUE(Flag());
  EXPECT_FALSE(HasRegion(maximized));
  EXPECT_NE(GetWindowLongW(maximized, GWL_STYLE) & WS_SYSMENU, 0);
  const RECT mdi = ScreenClientRect(frame->MDIClient);
  const RECT inner = ScreenClientRect(maximized);
  EXPECT_TRUE(EqualRect(&mdi, &inner));
}

TEST_F(MdiTest, BandButtonsRestoreMinimizeAndCloseTheActiveChild) {
  TWinSkinForm* frame = SkinnedFrame();
  ASSERT_NE(frame, nullptr);
  HWND child = NewChild(frame, L"Filho 1");
  TWinSkinForm* c = ControllerOf(child);
  ASSERT_NE(c, nullptr);
  const RECT normal = [&] {
    RECT r;
    GetWindowRect(child, &r);
    return r;
  }();

  struct Step {
    int action;
    const char* what;
  };
  // Restore, then minimize, then close, each from a maximized child.
  for (const Step step : {Step{8, "restore"}, Step{7, "minimize"}, Step{9, "close"}}) {
    SCOPED_TRACE(step.what);
    SendMessageW(frame->MDIClient, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(child), 0);
    ASSERT_TRUE(PumpUntil([&] { return Flag(); }, 1000));
    PumpPending();
    ClickBandButton(frame, step.action);
    ASSERT_TRUE(PumpUntil([&] { return !Flag(); }, 2000));
    PumpPending();
    EXPECT_FALSE(frame->ActiveChildMaximized());
    switch (step.action) {
      case 8: {
        EXPECT_FALSE(IsZoomed(child));
        EXPECT_FALSE(IsIconic(child));
        RECT r;
        GetWindowRect(child, &r);
        EXPECT_TRUE(EqualRect(&r, &normal));
        // Its skinned frame back: a region, the caption styles off again.
        EXPECT_EQ(c->WindowState, skin::win::wsNormal);
        EXPECT_TRUE(HasRegion(child));
        EXPECT_EQ(GetWindowLongW(child, GWL_STYLE) & (WS_SYSMENU | WS_MAXIMIZEBOX), 0);
        break;
      }
      case 7:
        EXPECT_TRUE(IsIconic(child));
        EXPECT_NE(GetWindowLongW(child, GWL_STYLE) & WS_SYSMENU, 0);
        break;
      default:
        EXPECT_FALSE(IsWindow(child));
        break;
    }
    // The band's buttons went with the maximized child.
    const skin::TBitmap shot = CaptureWindow(frame->Handle);
    for (TWinSysButton* b : BandButtons(frame)) {
      EXPECT_FALSE(Shows(shot, b->Rect.left, b->Rect.top, ButtonFrame(*b->Element, 1)));
    }
  }
}

TEST_F(MdiTest, TileAndCascadeClearTheMaximizedFlag) {
  TWinSkinForm* frame = SkinnedFrame();
  ASSERT_NE(frame, nullptr);
  std::vector<HWND> children;
  for (int i = 0; i < 3; ++i) {
    children.push_back(
        NewChild(frame, (L"Filho " + std::to_wstring(i + 1)).c_str(), 10 + 30 * i, 10 + 30 * i));
  }
  for (const UINT arrange : {WM_MDITILE, WM_MDICASCADE}) {
    SCOPED_TRACE(arrange == WM_MDITILE ? "tile" : "cascade");
    SendMessageW(frame->MDIClient, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(children[1]), 0);
    ASSERT_TRUE(PumpUntil([&] { return Flag(); }, 1000));
    SendMessageW(frame->MDIClient, arrange, 0, 0);
    EXPECT_FALSE(Flag());
    PumpPending();
    // Every child has its skinned frame back.
    for (HWND child : children) {
      EXPECT_FALSE(IsZoomed(child));
      EXPECT_EQ(ControllerOf(child)->WindowState, skin::win::wsNormal);
      EXPECT_TRUE(HasRegion(child));
      EXPECT_EQ(GetWindowLongW(child, GWL_STYLE) & (WS_SYSMENU | WS_MAXIMIZEBOX), 0);
    }
    EXPECT_FALSE(Flag());
  }
}

TEST_F(MdiTest, BandFollowsTheChildsMenuAndClosingTheLastChildRestoresTheFramesMenu) {
  HMENU frame_menu = MakeMenu({L"&Arquivo", L"&Janela"});
  HMENU child_menu = MakeMenu({L"&Arquivo", L"&Editar", L"&Janela"});
  menus_.push_back(child_menu);
  g_frame_menu = frame_menu;
  g_child_menu = child_menu;
  TWinSkinForm* frame = Skin(CreateFrame(frame_menu));
  ASSERT_NE(frame, nullptr);
  ASSERT_NE(frame->MenuBarSkinner, nullptr);
  const std::vector<std::wstring> frame_items{L"&Arquivo", L"&Janela"};
  const std::vector<std::wstring> child_items{L"&Arquivo", L"&Editar", L"&Janela"};

  HWND first = NewChild(frame, L"Filho 1");
  EXPECT_EQ(Captions(*frame->MenuBarSkinner), child_items);
  EXPECT_EQ(frame->MenuBarSkinner->MenuHandle, child_menu);
  EXPECT_EQ(GetMenu(frame->Handle), nullptr);
  HWND second = NewChild(frame, L"Filho 2", 40, 40);
  EXPECT_EQ(Captions(*frame->MenuBarSkinner), child_items);
  EXPECT_FALSE(Data().Data().MenuUpdate);

  // One child closed: another is active, the child's menu stays.
  SendMessageW(frame->MDIClient, WM_MDIDESTROY, reinterpret_cast<WPARAM>(second), 0);
  EXPECT_EQ(Active(frame), first);
  EXPECT_EQ(Captions(*frame->MenuBarSkinner), child_items);
  EXPECT_FALSE(Data().Data().MenuUpdate);
  // The last one closed (maximized): the frame's own menu on the band, the
  // menu updates as they were, nothing maximized.
  SendMessageW(frame->MDIClient, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(first), 0);
  ASSERT_TRUE(PumpUntil([&] { return Flag(); }, 1000));
  SendMessageW(frame->MDIClient, WM_MDIDESTROY, reinterpret_cast<WPARAM>(first), 0);
  EXPECT_EQ(Active(frame), nullptr);
  EXPECT_FALSE(Flag());
  EXPECT_TRUE(Data().Data().MenuUpdate);
  EXPECT_EQ(Captions(*frame->MenuBarSkinner), frame_items);
  EXPECT_EQ(frame->MenuBarSkinner->MenuHandle, frame_menu);
  EXPECT_EQ(GetMenu(frame->Handle), nullptr);
  PumpPending();
  // Painted: the band's items where the frame's items are.
  const skin::win::TMenuBtn& janela = *frame->MenuBarSkinner->Items[1];
  EXPECT_EQ(janela.Rect.left, frame->MenuBarSkinner->Items[0]->Rect.right);
}

TEST_F(MdiTest, ClosingTheLastChildGivesAFrameworkFrameItsOwnMenuBack) {
  // A framework form with a main menu and an MDI client; its children bring
  // a menu of their own and never set the form's back. The client is made
  // before the form shows (and is skinned).
  auto* form = new fw::TForm(app_.get());
  app_->SetMainForm(form);
  fw::ReadComponent(*form,
                    skin::win::fixtures::FormDescription(skin::win::fixtures::kMenuDescription));
  RegisterClasses();
  CLIENTCREATESTRUCT ccs{};
  ccs.idFirstChild = kFirstChildId;
  RECT area;
  GetClientRect(form->Handle(), &area);
  HWND client = CreateWindowExW(0, L"MDIClient", nullptr, WS_CHILD | WS_CLIPCHILDREN | WS_VISIBLE,
                                0, 0, area.right, area.bottom, form->Handle(), nullptr,
                                GetModuleHandleW(nullptr), &ccs);
  form->Show();
  ASSERT_NE(client, nullptr);
  TWinSkinForm* frame = Skin(form->Handle());
  ASSERT_NE(frame, nullptr);
  ASSERT_EQ(frame->MDIKind, skin::win::mkFrame);
  EXPECT_EQ(TSkinManage::Instance()->MDIForm(), form);
  ASSERT_NE(frame->MenuBarSkinner, nullptr);
  const std::vector<std::wstring> own{L"&Arquivo", L"&Editar", L"A&juda"};
  EXPECT_EQ(Captions(*frame->MenuBarSkinner), own);

  HMENU child_menu = MakeMenu({L"&Documento", L"&Janela"});
  menus_.push_back(child_menu);
  g_child_menu = child_menu;
  const std::vector<std::wstring> childs{L"&Documento", L"&Janela"};
  HWND first = NewChild(frame, L"Filho 1");
  HWND second = NewChild(frame, L"Filho 2", 40, 40);
  EXPECT_EQ(Captions(*frame->MenuBarSkinner), childs);
  EXPECT_FALSE(Data().Data().MenuUpdate);
  SendMessageW(client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(second), 0);
  EXPECT_EQ(Captions(*frame->MenuBarSkinner), childs);
  EXPECT_FALSE(Data().Data().MenuUpdate);

  SendMessageW(client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(first), 0);
  EXPECT_EQ(Captions(*frame->MenuBarSkinner), own);
  EXPECT_EQ(frame->MenuBarSkinner->Menu, form->Menu());
  EXPECT_TRUE(Data().Data().MenuUpdate);
  EXPECT_EQ(GetMenu(form->Handle()), nullptr);

  // The form gone, the children's controllers can no longer reach it.
  form->Free();
  PumpPending();
  EXPECT_EQ(TSkinManage::Instance()->MDIForm(), nullptr);
  EXPECT_EQ(TSkinManage::Instance()->MDIClient(), nullptr);
}

TEST_F(MdiTest, ClientShowsNoScrollBarsUnlessTheSkinAllowsThem) {
  for (const bool allowed : {false, true}) {
    SCOPED_TRACE(allowed ? "xoMDIScrollbar" : "no xoMDIScrollbar");
    Data().Data().Options = allowed ? static_cast<skin::TSkinOptions>(1u << skin::xoMDIScrollbar)
                                    : skin::TSkinOptions{0};
    TWinSkinForm* frame = SkinnedFrame();
    ASSERT_NE(frame, nullptr);
    // A child partly outside the client: the client wants scroll bars.
    NewChild(frame, L"Filho 1", 500, 380);
    ShowScrollBar(frame->MDIClient, SB_BOTH, TRUE);
    PumpPending();
    const LONG style = GetWindowLongW(frame->MDIClient, GWL_STYLE);
    if (allowed) {
      EXPECT_NE(style & (WS_HSCROLL | WS_VSCROLL), 0);
    } else {
      EXPECT_EQ(style & (WS_HSCROLL | WS_VSCROLL), 0);
      // Its client is the whole of it, less its edge.
      RECT window;
      GetWindowRect(frame->MDIClient, &window);
      const RECT client = ScreenClientRect(frame->MDIClient);
      EXPECT_EQ((window.right - window.left) - (client.right - client.left),
                2 * GetSystemMetrics(SM_CXEDGE));
    }
    DestroyWindow(frame->Handle);
    PumpPending();
  }
}

TEST_F(MdiTest, FrameClosedWithAMaximizedChildLeavesNothingBehind) {
  // Once, so that every lazily made object of the framework exists.
  {
    TWinSkinForm* frame = SkinnedFrame();
    ASSERT_NE(frame, nullptr);
    NewChild(frame, L"Filho");
    DestroyWindow(frame->Handle);
    PumpPending();
    TSkinManage::Instance()->PurgeClosedForms();
  }
  const test_support::TLiveCounts before = test_support::Live();
  HMENU menu = MakeMenu({L"&Arquivo", L"&Janela"});
  HWND wnd = CreateFrame(menu);
  TWinSkinForm* frame = Skin(wnd);
  ASSERT_NE(frame, nullptr);
  HWND client = frame->MDIClient;
  std::vector<HWND> children;
  for (int i = 0; i < 3; ++i)
    children.push_back(NewChild(frame, L"Filho", 10 + 30 * i, 10));
  SendMessageW(client, WM_MDICASCADE, 0, 0);
  SendMessageW(client, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(children[2]), 0);
  ASSERT_TRUE(PumpUntil([&] { return Flag(); }, 1000));
  SendMessageW(client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(children[0]), 0);
  SendMessageW(client, WM_MDITILE, 0, 0);
  SendMessageW(client, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(children[1]), 0);
  ASSERT_TRUE(PumpUntil([&] { return Flag(); }, 1000));
  PumpPending();

  DestroyWindow(wnd);
  PumpPending();
  // The flag and the manager's frame went with the client.
  EXPECT_FALSE(Flag());
  EXPECT_EQ(TSkinManage::Instance()->MDIClient(), nullptr);
  EXPECT_EQ(TSkinManage::Instance()->MDIForm(), nullptr);
  TSkinManage::Instance()->PurgeClosedForms();
  EXPECT_TRUE(TSkinManage::Instance()->SkinForms().empty());
  if (IsMenu(menu)) DestroyMenu(menu);
  EXPECT_EQ(test_support::Live(), before);
}

}  // namespace
}  // namespace skin_test
