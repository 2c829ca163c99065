// updater-cli as a program: its output and exit codes.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "tests/app/app_test_support.h"

namespace {

struct Result {
  int code;
  std::string out;
};

// Runs the tool with `args`, after the environment assignments in `env`.
Result Cli(const std::string& args, const std::string& env = "") {
  const std::string command = env + " " + std::string(PROJECT_BINARY_DIR) +
                              "/tools/updater-cli/updater-cli " + args + " 2>&1";
  Result r{-1, ""};
  FILE* p = popen(command.c_str(), "r");
  if (p == nullptr) return r;
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, p)) > 0)
    r.out.append(buf, n);
  const int status = pclose(p);
  r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return r;
}

TEST(UpdaterCli, DumpPrintsSheetsUsedAreaAndEscapedRows) {
  auto r =
      Cli("dump --workbook " + app_test::Fixture("openpyxl_abas.xlsx") + " --sheet 3 --rows 2");
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.out,
            "sheet: Clientes\nsheet: Dados\nsheet: Resumo\nsheet: Vazia\n"
            "last-row: 7\nlast-column: 4\ncabeçalho\t\t\t\n\t\t\t\n");
  r = Cli("dump --workbook " + app_test::Fixture("ponto_e_virgula.csv"));
  EXPECT_EQ(r.code, 0);
  EXPECT_NE(r.out.find("\n7\t\tduas\\r\\nlinhas\n"), std::string::npos) << r.out;
  r = Cli("dump --workbook " + app_test::Fixture("openpyxl_abas.xlsx") + " --rows 2 --decimal .");
  EXPECT_NE(r.out.find("meio\t0.5\n"), std::string::npos) << r.out;
}

TEST(UpdaterCli, UnknownOrIncompleteOptionsAreRefusedWithUsage) {
  const std::string workbook = " --workbook " + app_test::Fixture("openpyxl_abas.xlsx");
  const struct {
    std::string args;
    std::string told;  // the complaint before the usage text
  } cases[] = {
      {"dump" + workbook + " --sheets 2", "opção desconhecida: --sheets"},
      {"dump" + workbook + " --Sheet 2", "opção desconhecida: --Sheet"},
      {"dump" + workbook + " --reprepare", "opção desconhecida: --reprepare"},  // run only
      {"dump" + workbook + " --database x.fdb", "opção desconhecida: --database"},
      {"run" + workbook + " --rows 5 --databse x.fdb", "opção desconhecida: --databse"},
      {"dump" + workbook + " 2", "opção desconhecida: 2"},
      {"dump" + workbook + " -sheet 2", "opção desconhecida: -sheet"},
      {"dump --workbook", "falta o valor de --workbook"},
      {"list" + workbook, ""},
  };
  for (const auto& c : cases) {
    const auto r = Cli(c.args);
    EXPECT_EQ(r.code, 2) << c.args << "\n" << r.out;
    EXPECT_NE(r.out.find(c.told), std::string::npos) << c.args << "\n" << r.out;
    EXPECT_NE(r.out.find("usage: updater-cli dump"), std::string::npos) << c.args;
    EXPECT_EQ(r.out.find("sheet: "), std::string::npos) << c.args;  // nothing was dumped
  }
}

TEST(UpdaterCli, RunImportsUpdatesAndReportsFailures) {
  APP_REQUIRE_FIREBIRD(lib);
  app_test::TempDir dir("cli");
  const std::string db = dir.File("v.fdb");
  app_test::CreateClientes(lib, db, 200);
  const std::string workbook = " --workbook " + app_test::Fixture("clientes.xlsx");
  auto r = Cli("run" + workbook + " --rows 5 --database " + db);
  EXPECT_EQ(r.code, 0) << r.out;
  EXPECT_NE(r.out.find("import: 5 rows x 46 columns in "), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("update: 5 rows in "), std::string::npos) << r.out;
  r = Cli("run" + workbook + " --rows 5 --reprepare --database " + db);
  EXPECT_EQ(r.code, 0) << r.out;
  // A database without CLIENTE: the window's failure text, exit code 1.
  {
    app::TIBDatabase empty(lib);
    empty.SetDatabaseName(dir.File("vazio.fdb"));
    empty.CreateDatabase();
  }
  r = Cli("run" + workbook + " --rows 5 --database " + dir.File("vazio.fdb"));
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.out.find("Houve um erro ao realizar a atualização. Motivo: \n"), std::string::npos)
      << r.out;
  // Row counts below 1 would run nothing and report success.
  auto refused = [&](const std::string& rows) {
    auto refusal = Cli("run" + workbook + " --rows " + rows + " --database " + db);
    EXPECT_EQ(refusal.code, 2) << rows;
    EXPECT_NE(refusal.out.find("--rows must be 1 or more (given: " + rows + ")"), std::string::npos)
        << refusal.out;
    EXPECT_EQ(Cli("dump" + workbook + " --rows " + rows).code, 2) << rows;
  };
  refused("0");
  refused("-3");
  r = Cli("run" + workbook + " --rows x1 --database " + db);
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.out.find("'x1' is not a valid integer value"), std::string::npos) << r.out;
  r = Cli("run" + workbook + " --rows 5 --database " + dir.File("nao_existe.fdb"));
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.out.find("Não foi possível abrir o banco de dados \"" + dir.File("nao_existe.fdb") +
                       "\": o arquivo não foi encontrado."),
            std::string::npos)
      << r.out;
  // A database whose name has letters outside ASCII, whatever the locale the
  // tool is started in.
  const std::string accented = dir.File("Gestão.fdb");
  app_test::CreateClientes(lib, accented, 10);
  const std::string run_accented = "run" + workbook + " --rows 5 --database " + accented;
  for (const std::string locale : {"LC_ALL=C", "LC_ALL=C.UTF-8"}) {
    r = Cli(run_accented, locale);
    EXPECT_EQ(r.code, 0) << locale << ": " << r.out;
  }
}

}  // namespace
