#include "tests/skin/controls/skin_test_fixture.h"

#include <cstdio>

#include "framework/dc.h"
#include "framework/registry.h"
#include "skin/data/skin_draw.h"
#include "tests/skin/window/skinned_window.h"
#include "tests/support/win/pump.h"

namespace skin_test {

void ControlSkinTest::SetUp() {
  fw::RegisterFrameworkClasses();
  app_ = std::make_unique<fw::TApplication>();
  app_->Initialize();
  data_ = skin::win::fixtures::LoadSkin("test.skn");
  ASSERT_FALSE(data_->Data().NotLoaded);
  form_ = new fw::TForm(app_.get());
  app_->SetMainForm(form_);
  form_->SetCaption(L"Controles");
  form_->SetBounds(40, 40, 0, 0);
  form_->SetClientWidth(560);
  form_->SetClientHeight(360);
  form_->Show();
  SetForegroundWindow(form_->Handle());
  Settle();
}

void ControlSkinTest::TearDown() {
  app_.reset();
  data_.reset();
  test_support::PumpPending();
}

void ControlSkinTest::Settle() {
  // Two rounds: a paint may invalidate what is painted next (an overlay
  // after its control).
  for (int i = 0; i < 3; ++i) {
    test_support::PumpPending();
    RedrawWindow(nullptr, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    Sleep(10);
  }
  test_support::PumpPending();
  GdiFlush();
}

skin::TBitmap ControlSkinTest::ShotOfScreen(const RECT& r) {
  // Read from the window surface of the top-level window shown there (the
  // pixels the windows drew, children included), not from the screen,
  // which the system updates from those surfaces a little later.
  const POINT centre{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  HWND root = GetAncestor(WindowFromPoint(centre), GA_ROOT);
  RECT at{};
  GetWindowRect(root, &at);
  const int w = r.right - r.left;
  const int h = r.bottom - r.top;
  fw::TBitmap shot;
  shot.SetSize(w, h);
  {
    const fw::TWindowDC dc(root);
    BitBlt(shot.Canvas()->Handle(), 0, 0, w, h, dc.Get(), r.left - at.left, r.top - at.top,
           SRCCOPY);
  }
  GdiFlush();
  const skin::TBitmapView view = skin::TBitmapView::WrapDib(
      reinterpret_cast<uint8_t*>(shot.Pixels()), w, h, false, skin::PixelFormat::k32Bit);
  return skin::TBitmap::CopyOf(view);
}

skin::TBitmap ControlSkinTest::Shot(HWND wnd) {
  Settle();
  RECT r;
  GetWindowRect(wnd, &r);
  return ShotOfScreen(r);
}

skin::TBitmap StripFrame(const skin::TPixels& strip, int frames, int frame, int w, int h) {
  skin::TBitmap image(w, h, skin::PixelFormat::k32Bit);
  image.Fill(skin::kSkinTransparent);
  skin::DrawSkinFrameStretched(image, {0, 0, w, h}, strip, true, frames, frame);
  return image;
}

skin::TBitmap ElementFrame(const skin::TDataSkinObject& e, int frames, int frame, int w, int h,
                           bool tile) {
  skin::TBitmap image(w, h, skin::PixelFormat::k32Bit);
  image.Fill(skin::kSkinTransparent);
  skin::DrawSkinElement(image, {0, 0, w, h}, e.Bitmap, false, tile, e.Trans == 1, frames, frame,
                        e.Margins);
  return image;
}

int Mismatches(const skin::TPixels& shot, int x, int y, const skin::TPixels& expected) {
  int n = 0;
  for (int ey = 0; ey < expected.Height(); ++ey) {
    for (int ex = 0; ex < expected.Width(); ++ex) {
      const uint32_t want = expected.Pixel(ex, ey);
      if (want == skin::kSkinTransparent) continue;
      const bool inside = shot.Contains(x + ex, y + ey);
      if (!inside || shot.Pixel(x + ex, y + ey) != want) ++n;
    }
  }
  return n;
}

skin::TBitmap Crop(const skin::TPixels& picture, const RECT& rect) {
  const int w = rect.right - rect.left;
  const int h = rect.bottom - rect.top;
  skin::TBitmap copy(w, h, skin::PixelFormat::k32Bit);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      if (picture.Contains(rect.left + x, rect.top + y)) {
        copy.SetPixel(x, y, picture.Pixel(rect.left + x, rect.top + y));
      }
    }
  }
  return copy;
}

uint32_t ScreenColour(uint32_t skin_colour) {
  return fw::ColorToRGB(static_cast<fw::TColor>(skin_colour));
}

void MouseTo(POINT screen) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  const int w = GetSystemMetrics(SM_CXSCREEN);
  const int h = GetSystemMetrics(SM_CYSCREEN);
  // The centre of the pixel in the 0..65535 scale.
  in.mi.dx = static_cast<LONG>((screen.x * 65536 + 32768) / w);
  in.mi.dy = static_cast<LONG>((screen.y * 65536 + 32768) / h);
  in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &in, sizeof(in));
  test_support::PumpUntil(
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

}  // namespace skin_test
