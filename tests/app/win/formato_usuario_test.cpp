// The user's decimal separator under the locale Wine runs in: Brazilian
// Portuguese by default (as the operators' Windows), US English in a second
// run of this test. ctest names the locale it starts the run in
// (PROJECT_EXPECTED_LOCALE), so neither run can pass under the other's.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "app/atualiza_emails.h"
#include "app/controla_excel.h"
#include "app/win/motor_planilha.h"
#include "app/workbook/file_engine.h"
#include "framework/strings.h"

namespace {

struct Locale {
  const char* name;       // as GetUserDefaultLocaleName gives it
  const char* separator;  // LOCALE_SDECIMAL
  const char* code;       // the number 0.5 as column 18, zero-filled to 8
};

const Locale kLocales[] = {
    {"pt-BR", ",", "000000,5"},
    {"en-US", ".", "000000.5"},
};

TEST(FormatoDoUsuario, NumbersOfTheSheetFollowTheUsersDecimalSeparator) {
  const char* expected = std::getenv("PROJECT_EXPECTED_LOCALE");
  ASSERT_NE(expected, nullptr) << "run by ctest, which names the locale";
  const Locale* locale = nullptr;
  for (const Locale& l : kLocales) {
    if (std::string(l.name) == expected) locale = &l;
  }
  ASSERT_NE(locale, nullptr) << expected;
  wchar_t name[LOCALE_NAME_MAX_LENGTH] = {};
  ASSERT_GT(GetUserDefaultLocaleName(name, LOCALE_NAME_MAX_LENGTH), 0);
  EXPECT_EQ(fw::WideToUtf8(name), locale->name);

  const app::TFormatoCelula formato = FormatoDoUsuario();
  EXPECT_EQ(formato.DecimalSeparator, locale->separator);
  // A client code stored as the number 0.5 (cell B2 of the fixture), read
  // and zero-filled as a run sends it.
  app::TDMCotrolaExcel excel(app::CreateFileEngine(), formato);
  excel.AbrePlanilha(std::string(PROJECT_SOURCE_DIR) + "/tests/fixtures/app/openpyxl_abas.xlsx");
  excel.ListaAbas();
  excel.LiberaLista();
  excel.SelecionaAba(1);
  EXPECT_EQ(app::CompletaZeros(excel.LeCelula(2, 2), 8), locale->code);
}

}  // namespace
