// Run records and undo over real embedded databases: a run leaves a record
// of exactly what it overwrote, an undo puts it back byte for byte (nulls
// included) and only where nobody changed the client since, and whatever
// cannot be recorded or must not be undone changes nothing.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/atualiza_emails.h"
#include "app/errors.h"
#include "app/historico/desfaz_execucao.h"
#include "app/historico/registro.h"
#include "app/workbook/file_io.h"
#include "tests/app/app_test_support.h"

namespace {

using app_test::Exec;
using app_test::Select;
using app_test::Staged;

using TClientes = std::vector<std::vector<std::optional<std::string>>>;

TClientes Clientes(app::TIBDatabase& db) {
  return Select(db, "SELECT CODCLIENTE, EMAIL FROM CLIENTE ORDER BY CODCLIENTE");
}

std::optional<std::string> EmailOf(app::TIBDatabase& db, const std::string& code) {
  auto rows = Select(db, "SELECT EMAIL FROM CLIENTE WHERE CODCLIENTE = '" + code + "'");
  return rows.empty() ? std::optional<std::string>("(sem cliente)") : rows[0][0];
}

std::vector<std::string> Arquivos(const std::string& pasta) {
  std::vector<std::string> out;
  std::error_code ec;
  for (const auto& e : std::filesystem::directory_iterator(pasta, ec))
    out.push_back(e.path().string());
  return out;
}

// A database of `clientes` clients whose addresses are what real tables
// hold besides plain ones: nulls, empty texts, trailing blanks, accents, the
// full 60 characters.
class Historico : public ::testing::Test {
 protected:
  void SetUp() override {
    lib_ = app_test::FirebirdOrSkip();
    if (!lib_) {
      if (app_test::FirebirdRequired()) GTEST_FAIL() << "the Firebird client library is missing";
      GTEST_SKIP() << "the Firebird client library is not installed";
    }
    banco_ = dir_.File("vortana.fdb");
    app_test::CreateClientes(lib_, banco_, 300);
    db_ = app_test::Attach(lib_, banco_);
    Exec(*db_, "UPDATE CLIENTE SET EMAIL = NULL WHERE CODCLIENTE LIKE '%3'");
    Exec(*db_, "UPDATE CLIENTE SET EMAIL = '' WHERE CODCLIENTE LIKE '%4'");
    Exec(*db_, "UPDATE CLIENTE SET EMAIL = 'branco@x  ' WHERE CODCLIENTE LIKE '%5'");
    {
      // Accented text goes as a parameter: the connection converts it.
      app::TIBTransaction tr(*db_);
      tr.StartTransaction();
      app::TIBSQL q(*db_, tr);
      q.SetSQL("UPDATE CLIENTE SET EMAIL = :E WHERE CODCLIENTE LIKE '%6'");
      q.SetParam("E", "joão@ação.com.br");
      q.ExecQuery();
      tr.Commit();
    }
    Exec(*db_,
         "UPDATE CLIENTE SET EMAIL = '" + std::string(60, 'z') + "' WHERE CODCLIENTE LIKE '%7'");
    pasta_ = dir_.File("historico");
  }

  // A run over every client, with what worksheets bring: a header row, codes
  // without their zeros, a code staged twice, codes of no client, empty
  // addresses, addresses equal to the stored ones.
  bool Executa(app::TRegistroDaExecucao& registro, std::string* erro = nullptr) {
    std::vector<std::pair<std::string, std::string>> linhas = {{"CODIGO", "EMAIL"}};
    for (int i = 1; i <= 300; ++i) {
      std::string mail = "novo" + std::to_string(i) + "@x";
      if (i % 10 == 8) mail = "";
      if (i % 10 == 9) mail = "old" + std::to_string(i) + "@x";  // unchanged
      linhas.emplace_back(std::to_string(i), mail);
    }
    linhas.emplace_back("7", "sete-de-novo@x");
    linhas.emplace_back("99999999", "ninguem@x");
    app::TTabelaTemp t = Staged(linhas);
    app::TIBTransaction tr(*db_);
    app::TRunFeedback f;
    f.Erro = [&](const std::string& s) {
      if (erro != nullptr) *erro = s;
    };
    registro.Planilha = "clientes.xlsx";
    registro.Aba = "Plan1";
    return app::AtualizaEmails(*db_, tr, t, f, app::TModoPreparo::mpUmaVez, &registro);
  }

  app::TResultadoDesfazer Desfaz(const std::string& arquivo, bool forcar = false) {
    app::TIBTransaction tr(*db_);
    app::TOpcoesDesfazer opcoes;
    opcoes.Forcar = forcar;
    return app::DesfazExecucao(*db_, tr, arquivo, opcoes);
  }

  app_test::TempDir dir_{"historico"};
  std::shared_ptr<app::TFbClientLibrary> lib_;
  std::string banco_;
  std::unique_ptr<app::TIBDatabase> db_;
  std::string pasta_;
};

TEST_F(Historico, ARunThenItsUndoLeaveEveryAddressByteIdentical) {
  const TClientes antes = Clientes(*db_);
  app::TRegistroDaExecucao registro;
  registro.Pasta = pasta_;
  ASSERT_TRUE(Executa(registro));
  ASSERT_TRUE(std::filesystem::exists(registro.Arquivo));
  EXPECT_EQ(Arquivos(pasta_).size(), 1u);
  const TClientes depois = Clientes(*db_);
  ASSERT_NE(depois, antes);
  EXPECT_EQ(EmailOf(*db_, "00000007"), "sete-de-novo@x");

  // The record: every staged row, what it overwrote and what it wrote.
  std::string texto;
  app::ReadWholeFile(registro.Arquivo, texto, 1 << 24);
  const app::TRegistro r = app::LeRegistro(texto);
  EXPECT_EQ(r.Cabecalho.Banco, banco_);
  EXPECT_EQ(r.Cabecalho.Planilha, "clientes.xlsx");
  EXPECT_EQ(r.Cabecalho.Aba, "Plan1");
  EXPECT_EQ(r.Cabecalho.Linhas, 303);
  EXPECT_FALSE(r.Cabecalho.CriacaoBanco.empty());
  ASSERT_EQ(r.Linhas.size(), 303u);
  EXPECT_FALSE(r.Linhas[0].Encontrado);  // the header row
  EXPECT_EQ(r.Linhas[3].Codigo, "00000003");
  EXPECT_EQ(r.Linhas[3].Antes, std::nullopt);
  EXPECT_EQ(r.Linhas[4].Antes, std::optional<std::string>(""));
  EXPECT_EQ(r.Linhas[5].Antes, std::optional<std::string>("branco@x  "));
  EXPECT_EQ(r.Linhas[6].Antes, std::optional<std::string>("joão@ação.com.br"));
  // Client 7 staged twice: the second row overwrote what the first wrote.
  EXPECT_EQ(r.Linhas[301].Linha, 302);
  EXPECT_EQ(r.Linhas[301].Antes, std::optional<std::string>("novo7@x"));
  EXPECT_FALSE(r.Linhas[302].Encontrado);

  const app::TResultadoDesfazer u = Desfaz(registro.Arquivo);
  EXPECT_EQ(Clientes(*db_), antes);
  EXPECT_TRUE(u.AlteradosDepois.empty());
  EXPECT_TRUE(u.Excluidos.empty());
  EXPECT_EQ(u.Restaurados + u.JaComoAntes, 300);
  EXPECT_EQ(u.JaComoAntes, 30);  // the rows that wrote the address already there
  ASSERT_TRUE(std::filesystem::exists(u.Arquivo));

  // Undone once is enough; the undo itself can be undone.
  try {
    Desfaz(registro.Arquivo);
    ADD_FAILURE() << "undone twice";
  } catch (const app::EHistoricoError& e) {
    EXPECT_NE(std::string(e.what()).find("já foi desfeito"), std::string::npos) << e.what();
    EXPECT_NE(std::string(e.what()).find("Nada foi alterado."), std::string::npos) << e.what();
  }
  EXPECT_EQ(Clientes(*db_), antes);
  Desfaz(u.Arquivo);
  EXPECT_EQ(Clientes(*db_), depois);
  // With the undo undone, the run can be undone again.
  Desfaz(registro.Arquivo);
  EXPECT_EQ(Clientes(*db_), antes);
}

TEST_F(Historico, ClientsChangedOrDeletedSinceTheRunAreReportedAndKeptUnlessForced) {
  const TClientes antes = Clientes(*db_);
  for (const bool forcar : {false, true}) {
    SCOPED_TRACE(forcar ? "forced" : "not forced");
    app::TRegistroDaExecucao registro;
    registro.Pasta = pasta_;
    ASSERT_TRUE(Executa(registro));
    Exec(*db_, "UPDATE CLIENTE SET EMAIL = 'mudou@depois' WHERE CODCLIENTE = '00000001'");
    Exec(*db_, "UPDATE CLIENTE SET EMAIL = NULL WHERE CODCLIENTE = '00000002'");
    // Trailing blanks do not make an address another (a CHAR column pads).
    Exec(*db_, "UPDATE CLIENTE SET EMAIL = 'novo11@x   ' WHERE CODCLIENTE = '00000011'");
    Exec(*db_, "DELETE FROM CLIENTE WHERE CODCLIENTE = '00000012'");
    // The run kept client 9's address (it wrote the one already there): a
    // later change of it is no change of the run's, forced or not.
    Exec(*db_, "UPDATE CLIENTE SET EMAIL = 'editado@depois' WHERE CODCLIENTE = '00000009'");

    const app::TResultadoDesfazer u = Desfaz(registro.Arquivo, forcar);
    EXPECT_EQ(EmailOf(*db_, "00000009"), "editado@depois");
    EXPECT_EQ(u.NaoAlteradosPelaExecucao, 1);
    ASSERT_EQ(u.AlteradosDepois.size(), 2u);
    EXPECT_EQ(u.AlteradosDepois[0].Codigo, "00000001");
    EXPECT_EQ(u.AlteradosDepois[0].Linha, 2);
    EXPECT_EQ(u.AlteradosDepois[0].Atual, std::optional<std::string>("mudou@depois"));
    EXPECT_EQ(u.AlteradosDepois[0].Gravado, std::optional<std::string>("novo1@x"));
    EXPECT_EQ(u.AlteradosDepois[1].Atual, std::nullopt);
    ASSERT_EQ(u.Excluidos.size(), 1u);
    EXPECT_EQ(u.Excluidos[0].Codigo, "00000012");
    EXPECT_EQ(EmailOf(*db_, "00000001"), forcar ? "old1@x" : "mudou@depois");
    EXPECT_EQ(EmailOf(*db_, "00000002"),
              forcar ? std::optional<std::string>("old2@x") : std::nullopt);
    EXPECT_EQ(EmailOf(*db_, "00000011"), "old11@x");
    EXPECT_EQ(EmailOf(*db_, "00000003"), std::nullopt);
    // Put the deleted client back for the next round.
    Exec(*db_, "INSERT INTO CLIENTE (CODCLIENTE, EMAIL) VALUES ('00000012', 'old12@x')");
    Exec(*db_, "UPDATE CLIENTE SET EMAIL = 'old1@x' WHERE CODCLIENTE = '00000001'");
    Exec(*db_, "UPDATE CLIENTE SET EMAIL = 'old2@x' WHERE CODCLIENTE = '00000002'");
    Exec(*db_, "UPDATE CLIENTE SET EMAIL = 'old9@x' WHERE CODCLIENTE = '00000009'");
  }
}

TEST_F(Historico, ARunWhoseRecordCannotBeWrittenCommitsNothing) {
  const TClientes antes = Clientes(*db_);
  // A file where the records folder should be.
  std::ofstream(dir_.File("ocupado")) << "x";
  app::TRegistroDaExecucao registro;
  registro.Pasta = dir_.File("ocupado");
  std::string erro;
  EXPECT_FALSE(Executa(registro, &erro));
  EXPECT_NE(erro.find("Não foi possível gravar o registro em"), std::string::npos) << erro;
  EXPECT_NE(erro.find("Nada foi gravado no banco de dados."), std::string::npos) << erro;
  EXPECT_TRUE(registro.Arquivo.empty());
  // Seen from another attachment too: nothing was committed.
  auto outra = app_test::Attach(lib_, banco_);
  EXPECT_EQ(Clientes(*outra), antes);
}

TEST_F(Historico, RecordsThatMustNotBeUndoneAreRefusedAndChangeNothing) {
  app::TRegistroDaExecucao registro;
  registro.Pasta = pasta_;
  ASSERT_TRUE(Executa(registro));
  const TClientes depois = Clientes(*db_);
  std::string texto;
  app::ReadWholeFile(registro.Arquivo, texto, 1 << 24);

  const std::string danificado = dir_.File("danificado.txt");
  std::ofstream(danificado, std::ios::binary) << texto.substr(0, texto.size() - 40);
  const std::string alterado = dir_.File("alterado.txt");
  std::string t = texto;
  t[t.find("novo5@x")] = 'N';
  std::ofstream(alterado, std::ios::binary) << t;
  const std::string planilha = dir_.File("planilha.csv");
  std::ofstream(planilha) << "1;2;3\n";
  // The same record against another database (made later: another creation
  // time), at the path of the first.
  const std::string outro_banco = dir_.File("outro.fdb");
  app_test::CreateClientes(lib_, outro_banco, 10);
  auto outro = app_test::Attach(lib_, outro_banco);

  const struct {
    const char* caso;
    app::TIBDatabase* banco;
    std::string arquivo;
    const char* motivo;
  } casos[] = {
      {"cut short", db_.get(), danificado, "está danificado: o arquivo está incompleto"},
      {"edited", db_.get(), alterado, "está danificado: a soma de verificação não confere"},
      {"not a record", db_.get(), planilha, "está danificado"},
      {"another database", outro.get(), registro.Arquivo, "é de outro banco de dados"},
  };
  for (const auto& c : casos) {
    app::TIBTransaction tr(*c.banco);
    try {
      app::DesfazExecucao(*c.banco, tr, c.arquivo, {});
      ADD_FAILURE() << c.caso;
    } catch (const app::EHistoricoError& e) {
      const std::string what = e.what();
      EXPECT_NE(what.find(c.motivo), std::string::npos) << c.caso << ": " << what;
      EXPECT_NE(what.find("Nada foi alterado."), std::string::npos) << c.caso << ": " << what;
    }
    EXPECT_FALSE(tr.InTransaction()) << c.caso;
  }
  EXPECT_EQ(Clientes(*db_), depois);
  EXPECT_EQ(Arquivos(pasta_).size(), 1u);  // no undo record was left
  try {
    Desfaz(dir_.File("nao-existe.txt"));
    ADD_FAILURE() << "a missing record";
  } catch (const std::exception& e) {
    EXPECT_NE(std::string(e.what()).find("nao-existe.txt"), std::string::npos) << e.what();
  }
}

TEST_F(Historico, AnUndoWaitsForAClientAnotherStationHoldsThenFailsCleanly) {
  app::TRegistroDaExecucao registro;
  registro.Pasta = pasta_;
  ASSERT_TRUE(Executa(registro));
  const TClientes depois = Clientes(*db_);
  auto estacao = app_test::Attach(lib_, banco_);
  app::TIBTransaction segura(*estacao);
  segura.StartTransaction();
  {
    app::TIBSQL q(*estacao, segura);
    q.SetSQL("UPDATE CLIENTE SET NOME = 'em uso' WHERE CODCLIENTE = '00000020'");
    q.ExecQuery();
  }
  {
    app::TIBTransaction tr(*db_);
    tr.SetLockTimeout(1);  // the usual 30 seconds, shortened for the test
    try {
      app::DesfazExecucao(*db_, tr, registro.Arquivo, {});
      ADD_FAILURE() << "the undo went through a held client";
    } catch (const app::EIBError& e) {
      EXPECT_EQ(e.Kind(), app::TIBErrorKind::ekRegistroEmUso);
      EXPECT_NE(std::string(e.what()).find("O cliente 00000020 está em uso por outra estação"),
                std::string::npos)
          << e.what();
    }
    EXPECT_FALSE(tr.InTransaction());
  }
  EXPECT_EQ(Clientes(*db_), depois);
  EXPECT_EQ(Arquivos(pasta_).size(), 1u);
  segura.Rollback();
  Desfaz(registro.Arquivo);
  EXPECT_NE(Clientes(*db_), depois);
}

}  // namespace
