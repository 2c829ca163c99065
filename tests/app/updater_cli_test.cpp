// updater-cli as a program: its output and exit codes.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
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
      {"preview" + workbook + " --rows 5 --database x.fdb --reprepare",
       "opção desconhecida: --reprepare"},
      {"preview" + workbook + " --rows 5 --database x.fdb --records d",
       "opção desconhecida: --records"},
      {"undo" + workbook + " --database x.fdb", "opção desconhecida: --workbook"},
      {"undo --record r.txt --database x.fdb --forca", "opção desconhecida: --forca"},
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

// The line "registro: PATH" of the tool's output.
std::string RecordOf(const std::string& out) {
  const size_t at = out.find("registro: ");
  if (at == std::string::npos) return "";
  return out.substr(at + 10, out.find('\n', at) - at - 10);
}

TEST(UpdaterCli, PreviewWritesNothingRunLeavesARecordAndUndoPutsItBack) {
  APP_REQUIRE_FIREBIRD(lib);
  app_test::TempDir dir("cli-historico");
  const std::string db = dir.File("v.fdb");
  app_test::CreateClientes(lib, db, 200);
  const std::string args =
      " --workbook " + app_test::Fixture("clientes.xlsx") + " --rows 5 --database " + db;
  auto email = [&](const std::string& code) {
    auto attached = app_test::Attach(lib, db);
    return app_test::Select(*attached,
                            "SELECT EMAIL FROM CLIENTE WHERE CODCLIENTE = '" + code + "'")[0][0]
        .value_or("(null)");
  };

  auto r = Cli("preview" + args + " --tsv " + dir.File("previa.tsv"));
  EXPECT_EQ(r.code, 0) << r.out;
  for (const char* line : {
           "linhas lidas: 5\n",
           "códigos não encontrados: 2\n  00CODIGO: linha 1\n  00000A-7: linha 4\n",
           "linhas que alterariam o endereço: 3\n",
           "  00000123: linha 2 \"novo123@exemplo.com\", linha 5 \"ultimo123@exemplo.com\"\n",
       }) {
    EXPECT_NE(r.out.find(line), std::string::npos) << line << "\n" << r.out;
  }
  std::ifstream tsv(dir.File("previa.tsv"));
  std::string first;
  std::getline(tsv, first);
  EXPECT_EQ(first, "linha\tcodigo_planilha\tcodigo_enviado\tcliente\tatual\tnovo\tefeito\tavisos");
  EXPECT_EQ(email("00000123"), "old123@x");

  r = Cli("run" + args + " --records " + dir.File("registros"));
  EXPECT_EQ(r.code, 0) << r.out;
  const std::string record = RecordOf(r.out);
  EXPECT_EQ(record.rfind(dir.File("registros") + "/", 0), 0u) << r.out;
  EXPECT_TRUE(std::filesystem::exists(record)) << r.out;
  EXPECT_EQ(email("00000123"), "ultimo123@exemplo.com");
  // Without --records the record goes to the user's folder.
  r = Cli("run" + args, "XDG_DATA_HOME=" + dir.File("usuario"));
  EXPECT_EQ(r.code, 0) << r.out;
  const std::string second = RecordOf(r.out);
  EXPECT_EQ(second.rfind(dir.File("usuario") + "/AtualizaEmails/historico/", 0), 0u) << r.out;

  // The second run wrote what the first had: its undo finds nothing to put back.
  r = Cli("undo --record " + second + " --database " + db + " --records " + dir.File("registros"));
  EXPECT_EQ(r.code, 0) << r.out;
  EXPECT_NE(r.out.find("clientes restaurados: 0\n"), std::string::npos) << r.out;
  r = Cli("undo --record " + record + " --database " + db);
  EXPECT_EQ(r.code, 0) << r.out;
  EXPECT_NE(r.out.find("clientes restaurados: 2\n"), std::string::npos) << r.out;
  EXPECT_TRUE(std::filesystem::exists(RecordOf(r.out))) << r.out;
  EXPECT_EQ(email("00000123"), "old123@x");
  EXPECT_EQ(email("00000007"), "old7@x");
  r = Cli("undo --record " + record + " --database " + db);
  EXPECT_EQ(r.code, 1) << r.out;
  EXPECT_NE(r.out.find("já foi desfeito"), std::string::npos) << r.out;
  EXPECT_EQ(Cli("undo --record " + record).code, 2);
}

}  // namespace
