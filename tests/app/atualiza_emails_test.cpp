// The update run against real embedded databases: results, the single
// transaction and the rollback, checked from a second attachment.
#include "app/atualiza_emails.h"

#include <gtest/gtest.h>

#include "app/errors.h"
#include "app/importa_planilha.h"
#include "app/workbook/file_engine.h"
#include "tests/app/app_test_support.h"

namespace {

using app_test::Exec;
using app_test::Select;

TEST(CompletaZeros, PadsOnTheLeftOnlyWhenShorter) {
  const std::pair<const char*, const char*> cases[] = {
      {"123", "00000123"},      {"", "00000000"},           {"A-7", "00000A-7"},
      {"12345678", "12345678"}, {"123456789", "123456789"}, {"ção", "00000ção"}};
  for (auto [in, out] : cases)
    EXPECT_EQ(app::CompletaZeros(in, 8), out) << in;
  EXPECT_EQ(app::PrimeirosCaracteres(app::CompletaZeros("123456789", 8), 8), "12345678");
}

using app_test::Staged;

struct Outcome {
  std::vector<std::string> info, error, fase, status;
  app::TRunFeedback Feedback() {
    app::TRunFeedback f;
    f.Informacao = [this](const std::string& s) { info.push_back(s); };
    f.Erro = [this](const std::string& s) { error.push_back(s); };
    f.Fase = [this](const std::string& s) { fase.push_back(s); };
    f.Status = [this](const std::string& s) { status.push_back(s); };
    return f;
  }
};

std::string EmailOf(app::TIBDatabase& db, const std::string& code) {
  auto rows = Select(db, "SELECT EMAIL FROM CLIENTE WHERE CODCLIENTE = '" + code + "'");
  if (rows.empty()) return "(no client)";
  return rows[0][0].value_or("(null)");
}

class AtualizaEmails : public ::testing::TestWithParam<app::TModoPreparo> {};

TEST_P(AtualizaEmails, WritesEveryStagedAddressInOneCommittedTransaction) {
  APP_REQUIRE_FIREBIRD(lib);
  app_test::TempDir dir("run");
  const std::string path = dir.File("vortana.fdb");
  app_test::CreateClientes(lib, path, 10);
  app::TIBDatabase db(lib);
  db.SetDatabaseName(path);
  db.Open();
  app::TIBTransaction tr(db);
  const std::string seventy(70, 'm');
  auto t = Staged({{"CODIGO", "EMAIL"},  // a header row matches no client
                   {"1", "um@x"},
                   {"2", seventy},
                   {"3", ""},
                   {"000000004", "quatro@x"},  // nine characters: the first eight
                   {"1", "um-depois@x"},       // the later row wins
                   {"5", "joão@ção.br"}});
  Outcome out;
  EXPECT_TRUE(app::AtualizaEmails(db, tr, t, out.Feedback(), GetParam()));
  EXPECT_FALSE(tr.InTransaction());
  EXPECT_EQ(out.info, std::vector<std::string>{"Atualização concluída com sucesso!"});
  EXPECT_TRUE(out.error.empty());
  EXPECT_EQ(out.fase.front(), "Atualizando Clientes, Aguarde!");
  EXPECT_EQ(out.fase.back(), "");
  EXPECT_EQ(out.status.front(), "Processando Registro 1 de 7");
  EXPECT_EQ(out.status.back(), "");

  app::TIBDatabase check(lib);
  check.SetDatabaseName(path);
  check.Open();
  EXPECT_EQ(EmailOf(check, "00000001"), "um-depois@x");
  EXPECT_EQ(EmailOf(check, "00000002"), std::string(60, 'm'));
  EXPECT_EQ(EmailOf(check, "00000003"), "");  // empty, not null
  EXPECT_EQ(EmailOf(check, "00000000"), "(no client)");
  EXPECT_EQ(EmailOf(check, "00000004"), "old4@x");  // "00000000" was sent, not 00000004
  EXPECT_EQ(EmailOf(check, "00000005"), "joão@ção.br");
  EXPECT_EQ(EmailOf(check, "00000006"), "old6@x");
}

INSTANTIATE_TEST_SUITE_P(Modos, AtualizaEmails,
                         ::testing::Values(app::TModoPreparo::mpUmaVez,
                                           app::TModoPreparo::mpPorLinha));

TEST(AtualizaEmailsFailures, AFailureOnRow500Of1000LeavesTheDatabaseAsItWas) {
  APP_REQUIRE_FIREBIRD(lib);
  app_test::TempDir dir("rollback");
  const std::string path = dir.File("vortana.fdb");
  app_test::CreateClientes(lib, path, 1000);
  app::TIBDatabase db(lib);
  db.SetDatabaseName(path);
  db.Open();
  Exec(db, "CREATE EXCEPTION E_RECUSADO 'cliente 500 recusado'");
  Exec(db,
       "CREATE TRIGGER T_RECUSA FOR CLIENTE BEFORE UPDATE AS BEGIN "
       "IF (NEW.CODCLIENTE = '00000500') THEN EXCEPTION E_RECUSADO; END");
  std::vector<std::pair<std::string, std::string>> rows;
  for (int i = 1; i <= 1000; ++i)
    rows.push_back({std::to_string(i), "new@x"});
  auto t = Staged(rows);
  app::TIBTransaction tr(db);
  Outcome out;
  EXPECT_FALSE(app::AtualizaEmails(db, tr, t, out.Feedback()));
  EXPECT_FALSE(tr.InTransaction());
  ASSERT_EQ(out.error.size(), 1u);
  const std::string prefix = "Houve um erro ao realizar a atualização. Motivo: \r";
  EXPECT_EQ(out.error[0].substr(0, prefix.size()), prefix);
  EXPECT_NE(out.error[0].find("cliente 500 recusado"), std::string::npos) << out.error[0];
  EXPECT_EQ(out.status.back(), "");
  EXPECT_EQ(out.fase.back(), "");

  app::TIBDatabase check(lib);
  check.SetDatabaseName(path);
  check.Open();
  auto changed = Select(check, "SELECT COUNT(*) FROM CLIENTE WHERE EMAIL = 'new@x'");
  EXPECT_EQ(changed[0][0], "0");
  EXPECT_EQ(EmailOf(check, "00000001"), "old1@x");
}

TEST(AtualizaEmailsFailures, ReasonsOfAFailedRun) {
  APP_REQUIRE_FIREBIRD(lib);
  app_test::TempDir dir("reasons");
  const std::string ok_db = dir.File("ok.fdb");
  app_test::CreateClientes(lib, ok_db, 3);
  const std::string short_db = dir.File("curto.fdb");
  app_test::CreateClientes(lib, short_db, 3, "VARCHAR(10)");
  const std::string no_table = dir.File("sem_tabela.fdb");
  {
    app::TIBDatabase db(lib);
    db.SetDatabaseName(no_table);
    db.CreateDatabase();
  }
  const std::string no_column = dir.File("sem_coluna.fdb");
  {
    app::TIBDatabase db(lib);
    db.SetDatabaseName(no_column);
    db.CreateDatabase();
    Exec(db, "CREATE TABLE CLIENTE (CODCLIENTE VARCHAR(8) NOT NULL PRIMARY KEY)");
  }
  struct Case {
    std::string database;  // "" = not attached
    int columns;
    std::string mail;
    std::string reason;
  };
  const Case cases[] = {
      {"", 46, "a@x", "Cannot perform operation -- DB is not open"},
      {ok_db, 3, "a@x", "cdsTabelaTemp: Field '18' not found"},
      {ok_db, 20, "a@x", "cdsTabelaTemp: Field '46' not found"},
      // What a sheet too narrow means, before the table's own text.
      {ok_db, 3, "a@x",
       "A planilha tem menos de 46 colunas (a última usada é a C, coluna 3): a atualização lê o "
       "código do cliente na coluna R (18) e o e-mail na coluna AT (46). (cdsTabelaTemp: Field "
       "'18' not found)"},
      {ok_db, 45, "a@x", "menos de 46 colunas (a última usada é a AS, coluna 45)"},
      // A database of another system: said so, with what is missing.
      {no_table, 46, "a@x",
       "Motivo: \rO banco de dados escolhido não é um banco do Vortana: não existe nele a "
       "tabela CLIENTE."},
      {no_column, 46, "a@x",
       "Motivo: \rO banco de dados escolhido não é um banco do Vortana: não existe nele a "
       "coluna EMAIL."},
      // A value the server refuses: the row and the client, then the library's text.
      {short_db, 46, "endereco-longo-demais@x",
       "Motivo: \rNa linha 1 da planilha (cliente 00000001): "},
      {short_db, 46, "endereco-longo-demais@x", "truncation"},
      // A character WIN1252 cannot hold: the row, the client and the character.
      {ok_db, 46, "jo\xE2\x82\xAC\xE6\x97\xA5@x",  // "jo€日@x": the euro sign is in WIN1252
       "Motivo: \rNa linha 1 da planilha (cliente 00000001): o valor de PEMAIL tem o caractere "
       "\"\xE6\x97\xA5\" (U+65E5), que o banco de dados (WIN1252) não comporta"},
  };
  for (const Case& c : cases) {
    app::TIBDatabase db(lib);
    if (!c.database.empty()) {
      db.SetDatabaseName(c.database);
      db.Open();
    }
    app::TIBTransaction tr(db);
    auto t = Staged({{"1", c.mail}, {"2", c.mail}}, c.columns);
    Outcome out;
    EXPECT_FALSE(app::AtualizaEmails(db, tr, t, out.Feedback())) << c.reason;
    ASSERT_EQ(out.error.size(), 1u) << c.reason;
    EXPECT_NE(out.error[0].find(c.reason), std::string::npos) << out.error[0];
    EXPECT_FALSE(tr.InTransaction());
  }
  app::TIBDatabase check(lib);
  check.SetDatabaseName(short_db);
  check.Open();
  EXPECT_EQ(EmailOf(check, "00000001"), "old1@x");
}

TEST(AtualizaEmailsFailures, AClientHeldByAnotherStationEndsTheRunAfterTheLockTimeout) {
  APP_REQUIRE_FIREBIRD(lib);
  app_test::TempDir dir("lock");
  const std::string path = dir.File("v.fdb");
  app_test::CreateClientes(lib, path, 3);
  // Another station (a second attachment) is changing client 2 and has not
  // committed yet.
  auto station = app_test::Attach(lib, path);
  app::TIBTransaction held(*station);
  held.StartTransaction();
  {
    app::TIBSQL q(*station, held);
    q.SetSQL("UPDATE CLIENTE SET EMAIL = 'outra@estacao' WHERE CODCLIENTE = '00000002'");
    q.ExecQuery();
  }
  auto attached = app_test::Attach(lib, path);
  app::TIBDatabase& db = *attached;
  app::TIBTransaction tr(db);
  EXPECT_EQ(tr.LockTimeout(), app::kLockTimeoutSeconds);
  tr.SetLockTimeout(1);  // the run's 30 seconds, shortened for the test
  auto t = Staged({{"1", "um@x"}, {"2", "dois@x"}, {"3", "tres@x"}});
  Outcome out;
  EXPECT_FALSE(app::AtualizaEmails(db, tr, t, out.Feedback()));
  EXPECT_FALSE(tr.InTransaction());
  ASSERT_EQ(out.error.size(), 1u);
  EXPECT_EQ(out.error[0],
            "Houve um erro ao realizar a atualização. Motivo: \rO cliente 00000002 (linha 2 da "
            "planilha) está em uso por outra estação, que o alterou e ainda não gravou a "
            "alteração. Nada foi gravado; tente de novo quando a outra estação terminar.");
  // Client 1, written before the wait, was rolled back with the rest.
  EXPECT_EQ(EmailOf(db, "00000001"), "old1@x");

  // Once the other station is done, the same run goes through.
  held.Rollback();
  Outcome again;
  EXPECT_TRUE(app::AtualizaEmails(db, tr, t, again.Feedback()));
  EXPECT_EQ(EmailOf(db, "00000002"), "dois@x");
}

TEST(AtualizaEmailsFailures, ARunWithNoRowsCommitsAndSucceeds) {
  APP_REQUIRE_FIREBIRD(lib);
  app_test::TempDir dir("empty");
  const std::string path = dir.File("v.fdb");
  app_test::CreateClientes(lib, path, 1);
  app::TIBDatabase db(lib);
  db.SetDatabaseName(path);
  db.Open();
  app::TIBTransaction tr(db);
  auto t = Staged({});
  Outcome out;
  EXPECT_TRUE(app::AtualizaEmails(db, tr, t, out.Feedback()));
  EXPECT_EQ(out.info.size(), 1u);
}

TEST(AtualizaEmailsFailures, ImportThenUpdateFromARealWorkbook) {
  APP_REQUIRE_FIREBIRD(lib);
  app_test::TempDir dir("workbook");
  const std::string path = dir.File("v.fdb");
  app_test::CreateClientes(lib, path, 200);
  app::TDMCotrolaExcel excel(app::CreateFileEngine());
  excel.AbrePlanilha(app_test::Fixture("clientes.xlsx"));
  excel.ListaAbas();
  excel.LiberaLista();
  excel.SelecionaAba(1);
  app::TTabelaTemp t;
  app::ImportaPlanilha(excel, std::to_string(excel.UltimaLinha()), t, {});
  app::TIBDatabase db(lib);
  db.SetDatabaseName(path);
  db.Open();
  app::TIBTransaction tr(db);
  EXPECT_TRUE(app::AtualizaEmails(db, tr, t, {}));
  EXPECT_EQ(EmailOf(db, "00000123"), "ultimo123@exemplo.com");
  EXPECT_EQ(EmailOf(db, "00000007"), "sete@exemplo.com");
}

}  // namespace
