// A real top-level window with a child control, shown on the X display that
// Wine draws into, painted, and read back pixel by pixel: proves that the
// Windows tests can create, paint and inspect windows.
#include <windows.h>

#include <gtest/gtest.h>

namespace {

constexpr COLORREF kBackground = RGB(30, 120, 200);
constexpr COLORREF kChild = RGB(240, 200, 40);
constexpr int kChildId = 100;

LRESULT CALLBACK SmokeProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  static HBRUSH child_brush = nullptr;
  switch (msg) {
    case WM_CTLCOLORSTATIC:
      if (!child_brush) child_brush = CreateSolidBrush(kChild);
      SetBkColor(reinterpret_cast<HDC>(wp), kChild);
      return reinterpret_cast<LRESULT>(child_brush);
    case WM_NCDESTROY:
      if (child_brush) DeleteObject(child_brush);
      child_brush = nullptr;
      break;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

void PumpMessages() {
  MSG msg;
  for (int i = 0; i < 50; ++i) {
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    Sleep(10);
  }
}

struct WindowClass {
  HBRUSH brush = CreateSolidBrush(kBackground);
  ATOM atom = 0;
  WindowClass() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = SmokeProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = brush;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = L"SmokeTestWindow";
    atom = RegisterClassW(&wc);
  }
  ~WindowClass() {
    UnregisterClassW(L"SmokeTestWindow", GetModuleHandleW(nullptr));
    DeleteObject(brush);
  }
  WindowClass(const WindowClass&) = delete;
  WindowClass& operator=(const WindowClass&) = delete;
};

// Copies the client area of a window into a 32-bit top-down DIB.
struct ClientPixels {
  int width = 0, height = 0;
  std::vector<DWORD> pixels;
  COLORREF at(int x, int y) const {
    const DWORD p = pixels[static_cast<size_t>(y) * width + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
  }
};

ClientPixels ReadClient(HWND hwnd) {
  ClientPixels out;
  RECT rc;
  GetClientRect(hwnd, &rc);
  out.width = rc.right;
  out.height = rc.bottom;
  out.pixels.resize(static_cast<size_t>(out.width) * out.height);
  HDC window_dc = GetDC(hwnd);
  HDC memory_dc = CreateCompatibleDC(window_dc);
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = out.width;
  bi.bmiHeader.biHeight = -out.height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(window_dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory_dc, dib);
  BitBlt(memory_dc, 0, 0, out.width, out.height, window_dc, 0, 0, SRCCOPY);
  GdiFlush();
  memcpy(out.pixels.data(), bits, out.pixels.size() * sizeof(DWORD));
  SelectObject(memory_dc, old);
  DeleteObject(dib);
  DeleteDC(memory_dc);
  ReleaseDC(hwnd, window_dc);
  return out;
}

TEST(GuiSmoke, PaintsTopLevelWindowAndChildControl) {
  WindowClass wc;
  ASSERT_NE(wc.atom, 0);
  HWND hwnd = CreateWindowExW(0, L"SmokeTestWindow", L"Smoke", WS_OVERLAPPEDWINDOW, 50, 50, 320,
                              200, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(hwnd, nullptr);
  HWND child =
      CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 20, 30, 100, 40, hwnd,
                      reinterpret_cast<HMENU>(kChildId), GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(child, nullptr);
  ShowWindow(hwnd, SW_SHOWNORMAL);
  SetForegroundWindow(hwnd);
  UpdateWindow(hwnd);
  PumpMessages();

  const ClientPixels shot = ReadClient(hwnd);
  ASSERT_GT(shot.width, 200);
  ASSERT_GT(shot.height, 100);
  struct Probe {
    int x, y;
    COLORREF expected;
  };
  const Probe probes[] = {
      {5, 5, kBackground},      // parent background
      {200, 150, kBackground},  // beyond the child
      {25, 35, kChild},         // inside the child's top-left corner
      {115, 65, kChild},        // inside the child's bottom-right corner
      {125, 75, kBackground},   // just past the child
  };
  for (const Probe& p : probes) {
    EXPECT_EQ(shot.at(p.x, p.y), p.expected) << "pixel " << p.x << "," << p.y;
  }
  DestroyWindow(hwnd);
}

}  // namespace
