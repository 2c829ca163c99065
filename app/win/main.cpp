// AtualizaEmails: brings client e-mail addresses from a workbook into the
// Vortana database.
#include <windows.h>

#include "app/win/principal.h"

int WINAPI wWinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, PWSTR /*command_line*/,
                    int /*show*/) {
  fw::TApplication application;
  try {
    application.Initialize();
    FPrincipal = application.CreateForm<TFPrincipal>();
    application.Run();
  } catch (const std::exception& e) {
    application.HandleException(e);
    return 1;
  }
  return 0;
}
