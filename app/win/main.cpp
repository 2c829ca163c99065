// AtualizaEmails: brings client e-mail addresses from a workbook into the
// Vortana database.
#include <windows.h>

#include "app/win/principal.h"
#include "skin/controls/skin_manage.h"

int WINAPI wWinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, PWSTR /*command_line*/,
                    int /*show*/) {
  // The main window's SkinData1 hands itself to the skin manager, which skins
  // the window when it is first activated (and every window of the program
  // after it: message boxes, dialogs, menus).
  const skin::win::TSkinManagerScope skinning;
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
