// Cost of the main window's per-row progress display under Wine: the status
// text, the message pump and the gauge, as the import and the update call
// them once per row, timed apart and together.
//   feedback_bench [ROWS]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include "app/run_feedback.h"
#include "app/win/principal.h"

namespace {

class TFPrincipalBench : public TFPrincipal {
 public:
  using TFPrincipal::Feedback;
  using TFPrincipal::TFPrincipal;
};

double Seconds(const std::function<void()>& work) {
  LARGE_INTEGER f, a, b;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&a);
  work();
  QueryPerformanceCounter(&b);
  return static_cast<double>(b.QuadPart - a.QuadPart) / static_cast<double>(f.QuadPart);
}

void Print(const char* what, double seconds, int rows) {
  std::printf("%-28s %8.3f s  %8.1f us/row\n", what, seconds, seconds * 1e6 / rows);
  std::fflush(stdout);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int rows = argc > 1 ? _wtoi(argv[1]) : 2000;
  fw::TApplication application;
  application.Initialize();
  auto* form = application.CreateForm<TFPrincipalBench>();
  FPrincipal = form;
  form->Show();
  application.ProcessMessages();
  app::TRunFeedback f = form->Feedback();

  Print("status text", Seconds([&] {
          for (int r = 1; r <= rows; ++r)
            f.Status(app::TextoProgresso(r, rows));
        }),
        rows);
  Print("message pump (idle)", Seconds([&] {
          for (int r = 1; r <= rows; ++r)
            f.ProcessaMensagens();
        }),
        rows);
  Print("GetQueueStatus", Seconds([&] {
          for (int r = 1; r <= rows; ++r)
            GetQueueStatus(QS_ALLINPUT);
        }),
        rows);
  Print("PeekMessage (empty)", Seconds([&] {
          MSG m;
          for (int r = 1; r <= rows; ++r)
            PeekMessageW(&m, nullptr, 0, 0, PM_NOREMOVE);
        }),
        rows);
  Print("GetTickCount64", Seconds([&] {
          for (int r = 1; r <= rows; ++r)
            GetTickCount64();
        }),
        rows);
  Print("gauge", Seconds([&] {
          for (int r = 1; r <= rows; ++r)
            f.Barra(r, rows);
        }),
        rows);
  Print("gauge + pump", Seconds([&] {
          for (int r = 1; r <= rows; ++r) {
            f.Barra(r, rows);
            f.ProcessaMensagens();
          }
        }),
        rows);
  Print("status + pump + gauge", Seconds([&] {
          for (int r = 1; r <= rows; ++r) {
            f.Status(app::TextoProgresso(r, rows));
            f.ProcessaMensagens();
            f.Barra(r, rows);
          }
        }),
        rows);
  form->Close();
  application.ProcessMessages();
  return 0;
}
