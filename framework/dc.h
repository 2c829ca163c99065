// Device contexts, one owner per way of getting one: each releases its DC the
// way it was obtained, on every path out of the scope (exceptions included).
//
//   fw::TPaintDC paint(wnd);             // BeginPaint ... EndPaint
//   fw::TWindowDC frame(wnd);            // GetWindowDC ... ReleaseDC
//   fw::TClientDC client(wnd);           // GetDC ... ReleaseDC (nullptr: the screen)
//   fw::TMemoryDC mem(paint.Get());      // CreateCompatibleDC ... DeleteDC
//   fw::TSavedDC saved(dc);              // SaveDC ... RestoreDC
//
// A DC handed over by someone else (the wParam of WM_PAINT or WM_ERASEBKGND)
// is borrowed: use the raw HDC and leave it as it was found (TSavedDC).
#pragma once

#include <windows.h>

namespace fw {

class TPaintDC {
 public:
  explicit TPaintDC(HWND wnd) : wnd_(wnd), dc_(BeginPaint(wnd, &ps_)) {}
  ~TPaintDC() { EndPaint(wnd_, &ps_); }
  TPaintDC(const TPaintDC&) = delete;
  TPaintDC& operator=(const TPaintDC&) = delete;
  HDC Get() const { return dc_; }
  const PAINTSTRUCT& Info() const { return ps_; }

 private:
  HWND wnd_;
  PAINTSTRUCT ps_{};
  HDC dc_;
};

// GetDC (client area, or the screen for nullptr) or GetWindowDC (whole window).
template <HDC (*Acquire)(HWND)>
class TReleasedDC {
 public:
  explicit TReleasedDC(HWND wnd) : wnd_(wnd), dc_(Acquire(wnd)) {}
  ~TReleasedDC() {
    if (dc_ != nullptr) ReleaseDC(wnd_, dc_);
  }
  TReleasedDC(const TReleasedDC&) = delete;
  TReleasedDC& operator=(const TReleasedDC&) = delete;
  HDC Get() const { return dc_; }

 private:
  HWND wnd_;
  HDC dc_;
};

inline HDC AcquireClientDC(HWND wnd) {
  return GetDC(wnd);
}
inline HDC AcquireWindowDC(HWND wnd) {
  return GetWindowDC(wnd);
}
using TClientDC = TReleasedDC<&AcquireClientDC>;
using TWindowDC = TReleasedDC<&AcquireWindowDC>;

class TMemoryDC {
 public:
  explicit TMemoryDC(HDC compatible = nullptr) : dc_(CreateCompatibleDC(compatible)) {}
  ~TMemoryDC() {
    if (dc_ != nullptr) DeleteDC(dc_);
  }
  TMemoryDC(const TMemoryDC&) = delete;
  TMemoryDC& operator=(const TMemoryDC&) = delete;
  HDC Get() const { return dc_; }

 private:
  HDC dc_;
};

class TSavedDC {
 public:
  explicit TSavedDC(HDC dc) : dc_(dc), saved_(SaveDC(dc)) {}
  ~TSavedDC() {
    if (saved_ != 0) RestoreDC(dc_, saved_);
  }
  TSavedDC(const TSavedDC&) = delete;
  TSavedDC& operator=(const TSavedDC&) = delete;

 private:
  HDC dc_;
  int saved_;
};

}  // namespace fw
