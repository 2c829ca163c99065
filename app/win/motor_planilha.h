// Choice of the spreadsheet engine on Windows and the user's cell format.
#pragma once

#include <memory>

#include "app/controla_excel.h"
#include "app/spreadsheet_engine.h"

// The Excel automation engine when Excel is registered as an automation
// server, else the file engine.
std::unique_ptr<app::TSpreadsheetEngine> CriaMotorPlanilhaPadrao();

// The decimal separator of the user's default locale; "True"/"False".
app::TFormatoCelula FormatoDoUsuario();
