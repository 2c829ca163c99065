#include "tests/skin/window/skinned_window.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "framework/dc.h"
#include "framework/graphics.h"
#include "skin/data/bmp_codec.h"
#include "skin/window/frame_geometry.h"
#include "tests/support/win/pump.h"

namespace skin::win::fixtures {

std::string FormDescription(const std::string& extra) {
  return R"(object Janela: TForm
  Left = 120
  Top = 90
  ClientWidth = 584
  ClientHeight = 279
  Caption = 'Atualiza E-mails'
)" + extra +
         "end\n";
}

fw::TOwned<TSkinData> LoadSkin(const std::string& file) {
  const std::filesystem::path path = std::filesystem::path(PROJECT_BINARY_DIR) / "skins" / file;
  std::ifstream in(path, std::ios::binary);
  const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                   std::istreambuf_iterator<char>());
  fw::TOwned<TSkinData> data(new TSkinData(nullptr));
  if (!bytes.empty()) data->ReadSkinPackage(bytes.data(), bytes.size());
  return data;
}

TWinSkinForm* AttachController(HWND wnd, TSkinData& data, fw::TForm* form) {
  auto* controller = new TWinSkinForm(form);
  controller->Handle = wnd;
  if (form != nullptr) {
    controller->AttachForm(&data, form);
  } else {
    controller->Attach(&data);
  }
  PostMessageW(wnd, WM_SKINATTACHED, 0, 1000);
  test_support::PumpUntil([&] { return controller->State == ssReady; });
  test_support::PumpPending();
  return controller;
}

skin::TBitmap CaptureWindow(HWND wnd) {
  RECT wr;
  GetWindowRect(wnd, &wr);
  const int w = wr.right - wr.left;
  const int h = wr.bottom - wr.top;
  fw::TBitmap shot;
  shot.SetSize(w, h);
  {
    fw::TWindowDC dc(wnd);
    BitBlt(shot.Canvas()->Handle(), 0, 0, w, h, dc.Get(), 0, 0, SRCCOPY);
  }
  GdiFlush();
  const skin::TBitmapView view = skin::TBitmapView::WrapDib(
      reinterpret_cast<uint8_t*>(shot.Pixels()), w, h, false, skin::PixelFormat::k32Bit);
  return skin::TBitmap::CopyOf(view);  // a copy of its own
}

std::string SaveShot(const skin::TPixels& shot, const std::string& name) {
  const std::filesystem::path dir = std::filesystem::path(PROJECT_BINARY_DIR) / "test-output";
  std::filesystem::create_directories(dir);
  const std::filesystem::path path = dir / (name + ".bmp");
  const std::vector<uint8_t> bytes = skin::EncodeBmp(skin::TBitmap::CopyOf(shot));
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
  return path.string();
}

::testing::AssertionResult SamePixels(const skin::TPixels& shot, int x, int y,
                                      const skin::TPixels& expected, const std::string& what) {
  int mismatches = 0;
  std::string first;
  for (int ey = 0; ey < expected.Height(); ++ey) {
    for (int ex = 0; ex < expected.Width(); ++ex) {
      const uint32_t want = expected.Pixel(ex, ey);
      if (skin::IsRegionKeyPixel(want, skin::TRegionKey{})) continue;
      const int sx = x + ex;
      const int sy = y + ey;
      const uint32_t got = shot.Contains(sx, sy) ? shot.Pixel(sx, sy) : 0xFFFFFFFFu;
      if (got == want) continue;
      if (mismatches++ == 0) {
        char text[96];
        std::snprintf(text, sizeof(text), "(%d, %d): 0x%06X instead of 0x%06X", sx, sy, got, want);
        first = text;
      }
    }
  }
  if (mismatches == 0) return ::testing::AssertionSuccess();
  std::string name = what;
  for (char& c : name) {
    if (c == ' ' || c == ',' || c == '/') c = '_';
  }
  return ::testing::AssertionFailure() << what << ": " << mismatches << " pixels differ, first at "
                                       << first << "; window saved as " << SaveShot(shot, name);
}

}  // namespace skin::win::fixtures
