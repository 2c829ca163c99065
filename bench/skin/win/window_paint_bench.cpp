// Cost of painting the skinned updater window under Wine, run on demand
// (windows-x64-release preset; the program's own description and skin):
//   skin_window_paint_bench [ROUNDS]
// The best of ROUNDS runs, in microseconds, of: a full repaint of the window
// (frame and every control, painted at once), one glyph button's hover
// repaint (the mouse comes onto it, then leaves it), and one status-bar text
// update as a run makes per row, beside the floor (one copy of a
// window-sized bitmap onto the window DC).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include "app/win/principal.h"
#include "framework/dc.h"
#include "skin/controls/skin_control.h"
#include "skin/controls/skin_manage.h"
#include "skin/data/win/skin_data_component.h"
#include "skin/window/win_skin_form.h"

namespace {

double Microseconds(const std::function<void()>& work) {
  LARGE_INTEGER f, a, b;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&a);
  work();
  GdiFlush();
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

skin::win::TSkinControl* SkinnerOf(const skin::win::TWinSkinForm& c, const fw::TControl* control) {
  for (skin::win::TSkinControl* s : c.Skinners) {
    if (s->Control == control) return s;
  }
  return nullptr;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int rounds = argc > 1 ? std::max(1, _wtoi(argv[1])) : 200;
  const skin::win::TSkinManagerScope skinning;
  fw::TApplication application;
  application.Initialize();
  auto* form = application.CreateForm<TFPrincipal>();
  form->Show();
  SetForegroundWindow(form->Handle());
  skin::win::TWinSkinForm* c = nullptr;
  for (int i = 0; i < 500 && (c == nullptr || c->State != skin::win::ssReady); ++i) {
    Pump();
    Sleep(10);
    c = skin::win::TSkinManage::Instance()->FindSkinForm(form->Handle());
  }
  if (c == nullptr || c->State != skin::win::ssReady) {
    std::fprintf(stderr, "skin_window_paint_bench: the window was not skinned\n");
    return 1;
  }
  Pump();
  skin::win::TSkinControl* button = SkinnerOf(*c, form->btOK);
  if (button == nullptr) {
    std::fprintf(stderr, "skin_window_paint_bench: the run button has no skinner\n");
    return 1;
  }

  RECT wr;
  GetWindowRect(form->Handle(), &wr);
  const int w = wr.right - wr.left;
  const int h = wr.bottom - wr.top;
  std::printf("skinned updater window %d x %d, %zu control skinners, best of %d runs\n", w, h,
              c->Skinners.size(), rounds);
  fw::TBitmap whole;
  whole.SetSize(w, h);
  const double floor = Best(rounds, [&] {
    fw::TWindowDC dc(form->Handle());
    BitBlt(dc.Get(), 0, 0, w, h, whole.Canvas()->Handle(), 0, 0, SRCCOPY);
  });
  const double full = Best(rounds, [&] {
    RedrawWindow(form->Handle(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  });
  bool inside = false;
  const double hover = Best(rounds, [&] {
    inside = !inside;
    fw::TMessage m{inside ? skin::win::CM_MOUSEENTER : skin::win::CM_MOUSELEAVE, 0, 0, 0};
    button->WndProc(m);
    UpdateWindow(form->btOK->Handle());
  });
  int row = 0;
  const double status = Best(rounds, [&] {
    form->stbStatus->SetSimpleText(L"Processando Registro " + std::to_wstring(++row) +
                                   L" de 100000");
    UpdateWindow(form->stbStatus->Handle());
  });
  std::printf("  %-40s %9.1f us\n", "floor (one window-sized copy)", floor);
  std::printf("  %-40s %9.1f us   (goal: under 5000)\n", "full repaint, frame and controls", full);
  std::printf("  %-40s %9.1f us   (goal: under 500)\n", "glyph button hover repaint", hover);
  std::printf("  %-40s %9.1f us\n", "status-bar text of one row", status);
  // The same full repaint with skinning off: the platform's own cost of
  // painting this window and its native controls, for comparison.
  form->SkinData1->SetActive(false);
  skin::win::TSkinManage::Instance()->DoTimer();
  for (int i = 0; i < 50; ++i) {
    Pump();
    Sleep(10);
  }
  const double native = Best(rounds, [&] {
    RedrawWindow(form->Handle(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  });
  std::printf("  %-40s %9.1f us\n", "full repaint, skinning off (native)", native);
  std::fflush(stdout);
  form->Free();
  Pump();
  return 0;
}
