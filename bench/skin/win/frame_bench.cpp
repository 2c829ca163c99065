// Cost of painting a skinned frame under Wine, run on demand
// (windows-x64-release preset):
//   skin_frame_bench [ROUNDS] [SKIN FILE]
// A form the size of the updater's main window (584 x 279 client, single
// frame), skinned with the default skin: one full PaintFrame (borders,
// caption, text) and one caption repaint, the best of ROUNDS runs each, in
// microseconds, beside the floor (one copy of a window-sized bitmap onto the
// window DC) and the window region's rebuild. The same with a menu band.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "framework/dc.h"
#include "framework/forms.h"
#include "framework/reader.h"
#include "framework/registry.h"
#include "skin/data/win/skin_data_component.h"
#include "skin/window/win_skin_form.h"

namespace {

using skin::win::TWinSkinForm;

double Microseconds(const std::function<void()>& work) {
  LARGE_INTEGER f, a, b;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&a);
  work();
  GdiFlush();  // the drawing GDI still queues counts too
  QueryPerformanceCounter(&b);
  return static_cast<double>(b.QuadPart - a.QuadPart) * 1e6 / static_cast<double>(f.QuadPart);
}

double Best(int rounds, const std::function<void()>& work) {
  double best = 1e30;
  for (int i = 0; i < rounds; ++i)
    best = std::min(best, Microseconds(work));
  return best;
}

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

std::string Description(bool menu) {
  std::string d = R"(object Janela: TForm
  Left = 100
  Top = 80
  BorderStyle = bsSingle
  ClientWidth = 584
  ClientHeight = 279
  Caption = 'Atualiza E-mails'
)";
  if (menu) {
    d += R"(  Menu = MainMenu1
  object MainMenu1: TMainMenu
    object Arquivo: TMenuItem
      Caption = '&Arquivo'
      object Abrir: TMenuItem
        Caption = '&Abrir'
      end
    end
    object Ajuda: TMenuItem
      Caption = 'A&juda'
    end
  end
)";
  }
  return d + "end\n";
}

void Bench(fw::TApplication& app, skin::win::TSkinData& data, bool menu, int rounds) {
  auto* form = new fw::TForm(&app);
  app.SetMainForm(form);
  fw::ReadComponent(*form, Description(menu));
  form->Show();
  Pump();
  auto* c = new TWinSkinForm(form);
  c->Handle = form->Handle();
  c->AttachForm(&data, form);
  PostMessageW(form->Handle(), skin::win::WM_SKINATTACHED, 0, 1000);
  while (c->State != skin::win::ssReady) {
    Pump();
    Sleep(1);
  }
  Pump();

  RECT wr;
  GetWindowRect(form->Handle(), &wr);
  const int w = wr.right - wr.left;
  const int h = wr.bottom - wr.top;
  std::printf("\n%s: window %d x %d, caption band %d pixels\n",
              menu ? "with a menu bar" : "updater's main window", w, h, c->BorderTop);

  fw::TBitmap whole;
  whole.SetSize(w, h);
  const double floor = Best(rounds, [&] {
    fw::TWindowDC dc(form->Handle());
    BitBlt(dc.Get(), 0, 0, w, h, whole.Canvas()->Handle(), 0, 0, SRCCOPY);
  });
  const double frame = Best(rounds, [&] { c->PaintFrame(nullptr); });
  const double caption = Best(rounds, [&] {
    fw::TWindowDC dc(form->Handle());
    c->PaintCaption(dc.Get());
  });
  const double region = Best(rounds, [&] {
    c->RegionWidth = 0;  // forces the rebuild a new size would cause
    c->UpdateRegion();
  });
  std::printf("  %-34s %9.1f us\n", "floor (one window-sized copy)", floor);
  std::printf("  %-34s %9.1f us   (goal: under 2000)\n", "full PaintFrame", frame);
  std::printf("  %-34s %9.1f us\n", "caption repaint (PaintCaption)", caption);
  std::printf("  %-34s %9.1f us\n", "window region rebuild", region);
  std::fflush(stdout);
  form->Free();
  Pump();
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int rounds = argc > 1 ? std::max(1, _wtoi(argv[1])) : 200;
  const std::filesystem::path file =
      argc > 2 ? std::filesystem::path(argv[2]) : std::filesystem::path(SKIN_FRAME_BENCH_SKIN);
  std::ifstream in(file, std::ios::binary);
  const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                   std::istreambuf_iterator<char>());
  if (bytes.empty()) {
    std::fprintf(stderr, "skin_frame_bench: cannot read %s\n", file.string().c_str());
    return 1;
  }
  fw::RegisterFrameworkClasses();
  fw::TApplication app;
  app.Initialize();
  fw::TOwned<skin::win::TSkinData> data(new skin::win::TSkinData(nullptr));
  data->ReadSkinPackage(bytes.data(), bytes.size());
  std::printf("skinned frame paint, best of %d runs, skin %s\n", rounds, file.string().c_str());
  Bench(app, *data, false, rounds);
  Bench(app, *data, true, rounds);
  return 0;
}
