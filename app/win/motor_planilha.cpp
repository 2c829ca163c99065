#include "app/win/motor_planilha.h"

#include <windows.h>

#include "app/win/excel_engine.h"
#include "app/workbook/file_engine.h"
#include "framework/strings.h"

std::unique_ptr<app::TSpreadsheetEngine> CriaMotorPlanilhaPadrao() {
  if (ExcelRegistrado()) return std::make_unique<TExcelEngine>();
  return app::CreateFileEngine();
}

app::TFormatoCelula FormatoDoUsuario() {
  app::TFormatoCelula formato;
  wchar_t buffer[8] = {};
  if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, buffer, 8) > 0) {
    formato.DecimalSeparator = fw::WideToUtf8(buffer);
  }
  return formato;
}
