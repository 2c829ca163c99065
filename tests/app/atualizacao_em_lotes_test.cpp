// Rows sent in batches against rows sent one by one, on the same random
// worksheets (repeated codes, codes of no client, empty and cut values, a
// trigger that refuses one client, a character the connection cannot send, a
// value too long for its column): the run, its preview and its undo must
// leave the same database, the same record and the same messages, show the
// same progress, and make the table's triggers see the same updates, with
// the embedded engine and through the test server.
#include "app/atualizacao_em_lotes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>

#include "app/atualiza_emails.h"
#include "app/historico/arquivo_registro.h"
#include "app/historico/desfaz_execucao.h"
#include "app/historico/registro.h"
#include "app/previa_execucao.h"
#include "app/workbook/file_io.h"
#include "tests/app/app_test_support.h"

namespace {

using app_test::Exec;
using app_test::Select;
using TLinhas = std::vector<std::vector<std::optional<std::string>>>;

constexpr int kClientes = 400;

std::string Codigo(int n) {
  std::string code = std::to_string(n);
  code.insert(0, 8 - code.size(), '0');
  return code;
}

// CLIENTE as a Vortana database has it (its EMAIL of type `email`), with
// kClientes clients, and a log that an AFTER UPDATE trigger fills with what
// it sees of every update, in order. `recusa`, when given, is a client that
// a BEFORE UPDATE trigger refuses with an exception.
void CriaBanco(const std::shared_ptr<app::TFbClientLibrary>& lib, const std::string& nome,
               const std::string& email, const std::string& recusa) {
  app::TIBDatabase db(lib);
  db.SetDatabaseName(nome);
  db.CreateDatabase("WIN1252");
  Exec(db,
       "CREATE TABLE CLIENTE (CODCLIENTE VARCHAR(8) NOT NULL PRIMARY KEY, NOME VARCHAR(40), "
       "EMAIL " +
           email + ")");
  Exec(db, "CREATE TABLE VISTO (N INTEGER, CODIGO VARCHAR(8), ANTES " + email + ", DEPOIS " +
               email + ")");
  Exec(db, "CREATE GENERATOR G_VISTO");
  Exec(db,
       "CREATE TRIGGER T_VISTO FOR CLIENTE AFTER UPDATE AS BEGIN INSERT INTO VISTO VALUES "
       "(GEN_ID(G_VISTO, 1), OLD.CODCLIENTE, OLD.EMAIL, NEW.EMAIL); END");
  if (!recusa.empty()) {
    Exec(db, "CREATE EXCEPTION E_RECUSA 'cliente bloqueado para alteração'");
    Exec(db, "CREATE TRIGGER T_RECUSA FOR CLIENTE BEFORE UPDATE AS BEGIN IF (NEW.CODCLIENTE = '" +
                 recusa + "') THEN EXCEPTION E_RECUSA; END");
  }
  app::TIBTransaction tr(db);
  tr.StartTransaction();
  app::TIBSQL q(db, tr);
  q.SetSQL("INSERT INTO CLIENTE (CODCLIENTE, NOME, EMAIL) VALUES (:C, :N, :E)");
  for (int i = 1; i <= kClientes; ++i) {
    q.SetParam("C", Codigo(i));
    q.SetParam("N", "Cliente " + std::to_string(i));
    if (i % 9 == 0) {
      q.SetParamNullAt(q.ParamIndex("E"));
    } else {
      q.SetParam("E", i % 9 == 1 ? "" : "antigo" + std::to_string(i) + "@x");
    }
    q.ExecQuery();
  }
  tr.Commit();
}

// A worksheet of `linhas` random rows: codes of clients (often repeated, as
// written in sheets: without their zeros), codes of no client, empty codes,
// codes longer than 8 characters; addresses new, equal to the stored ones,
// empty, longer than 60 characters, accented.
std::vector<std::pair<std::string, std::string>> Planilha(std::mt19937& rnd, int linhas) {
  auto entre = [&](int a, int b) { return std::uniform_int_distribution<int>(a, b)(rnd); };
  std::vector<std::pair<std::string, std::string>> out;
  for (int i = 0; i < linhas; ++i) {
    std::string codigo;
    switch (entre(0, 19)) {
      case 0:
        codigo = std::to_string(900000 + entre(0, 999));
        break;  // no such client
      case 1:
        codigo = "";
        break;
      case 2:
        codigo = "0000000" + std::to_string(entre(1, 9));
        break;  // 9 characters: cut
      case 3:
        codigo = "CODIGO";
        break;
      default:
        codigo = std::to_string(entre(1, kClientes / 4) * (entre(0, 1) ? 1 : 4));
        break;
    }
    std::string email;
    switch (entre(0, 9)) {
      case 0:
        email = "";
        break;
      case 1:
        email = "antigo" + codigo + "@x";
        break;  // as stored
      case 2:
        email = std::string(static_cast<size_t>(entre(61, 80)), 'l') + "@x";
        break;
      case 3:
        email = "joão" + std::to_string(i) + "@ação.com.br";
        break;
      default:
        email = "novo" + std::to_string(entre(0, 99999)) + "@x";
        break;
    }
    out.emplace_back(codigo, email);
  }
  return out;
}

// Everything a run shows: phase, status, gauge, pump, boxes, in order.
struct TVisto {
  std::vector<std::string> passos;
  app::TRunFeedback Feedback() {
    app::TRunFeedback f;
    f.Fase = [this](const std::string& s) { passos.push_back("fase " + s); };
    f.Status = [this](const std::string& s) { passos.push_back("status " + s); };
    f.Barra = [this](int64_t p, int64_t m) {
      passos.push_back("barra " + std::to_string(p) + "/" + std::to_string(m));
    };
    f.ProcessaMensagens = [this] { passos.push_back("mensagens"); };
    f.Informacao = [this](const std::string& s) { passos.push_back("informação " + s); };
    f.Erro = [this](const std::string& s) { passos.push_back("erro " + s); };
    return f;
  }
};

// What a record says, less what names the file and the moment.
std::vector<std::string> Conteudo(const std::string& arquivo) {
  std::string texto;
  app::ReadWholeFile(arquivo, texto, uint64_t{1} << 30);
  const app::TRegistro r = app::LeRegistro(texto);
  std::vector<std::string> out = {r.Cabecalho.Planilha, r.Cabecalho.Aba,
                                  std::to_string(r.Cabecalho.Linhas)};
  auto v = [](const std::optional<std::string>& s) { return s ? "'" + *s + "'" : "null"; };
  for (const app::TLinhaRegistro& l : r.Linhas) {
    out.push_back(std::to_string(l.Linha) + " " + l.Codigo + " " +
                  (l.Encontrado ? "encontrado" : "inexistente") + " " + v(l.Antes) + " " +
                  v(l.Depois));
  }
  return out;
}

struct TEstado {
  TLinhas clientes, vistos;
};

TEstado Estado(app::TIBDatabase& db) {
  return {Select(db, "SELECT CODCLIENTE, EMAIL FROM CLIENTE ORDER BY CODCLIENTE"),
          Select(db, "SELECT CODIGO, ANTES, DEPOIS FROM VISTO ORDER BY N")};
}

struct TCaso {
  const char* nome;
  unsigned semente;
  int linhas;
  std::string email;     // the type of CLIENTE.EMAIL
  std::string recusa;    // a client the trigger refuses
  std::string estranho;  // put in the address of the row in the middle
};

class EmLotes : public ::testing::TestWithParam<bool> {
 protected:
  // The name of database `arquivo`: through the test server or by its path.
  // The server of the tests runs on this machine and reads the path as its
  // own: under Wine the test folder is the build's Unix path with
  // backslashes after it, which the server would take as part of a name.
  std::string Nome(const std::string& arquivo) const {
    if (servidor_.empty()) return arquivo;
    std::string caminho = arquivo;
    std::replace(caminho.begin(), caminho.end(), '\\', '/');
    return servidor_ + ":" + caminho;
  }
  std::string servidor_;
};

TEST_P(EmLotes, RunPreviewAndUndoAgreeWithRowByRowOnRandomWorksheets) {
  APP_REQUIRE_FIREBIRD(lib);
  if (GetParam()) {
    APP_REQUIRE_SERVER(prefixo);
    servidor_ = prefixo;
  }
  const TCaso casos[] = {
      {"several full batches and a short one", 1, 3 * app::kLinhasPorLote + 17, "VARCHAR(60)", "",
       ""},
      {"exactly one batch", 2, app::kLinhasPorLote, "VARCHAR(60)", "", ""},
      {"one row", 3, 1, "VARCHAR(60)", "", ""},
      {"no rows", 4, 0, "VARCHAR(60)", "", ""},
      {"a trigger refuses a client", 5, 700, "VARCHAR(60)", Codigo(12), ""},
      {"a character WIN1252 cannot hold", 6, 600, "VARCHAR(60)", "", "日"},
      {"addresses too long for the column", 7, 500, "VARCHAR(30)", "", ""},
      {"a column too wide for a block: every row alone", 8, 300, "VARCHAR(8000) CHARACTER SET UTF8",
       "", ""},
  };

  for (const TCaso& c : casos) {
    SCOPED_TRACE(c.nome);
    app_test::TempDir dir("lotes");
    CriaBanco(lib, Nome(dir.File("modelo.fdb")), c.email, c.recusa);
    const std::string bancos[2] = {dir.File("lotes.fdb"), dir.File("linhas.fdb")};
    for (const std::string& b : bancos)
      std::filesystem::copy_file(dir.File("modelo.fdb"), b);
    std::mt19937 rnd(c.semente);
    auto planilha = Planilha(rnd, c.linhas);
    if (!c.estranho.empty()) planilha[planilha.size() / 2].second += c.estranho;

    struct {
      std::vector<std::string> previa, registro, desfazer;
      TVisto execucao;
      bool ok = false;
      TEstado depois, desfeito;
      std::string desfazer_erro;
    } r[2];
    for (int k = 0; k < 2; ++k) {
      const bool lotes = k == 0;
      const app::TEnvio envio = lotes ? app::TEnvio::enLotes : app::TEnvio::enPorLinha;
      auto db = app_test::Attach(lib, Nome(bancos[k]));
      app::TTabelaTemp t = app_test::Staged(planilha);
      {
        app::TIBTransaction tr(*db);
        tr.SetReadOnly(true);
        r[k].previa = {app::DetalheDaPrevia(app::PreviaDaExecucao(*db, tr, t, envio))};
      }
      app::TRegistroDaExecucao registro;
      registro.Pasta = dir.File(lotes ? "registros-lotes" : "registros-linhas");
      registro.Planilha = "clientes.xlsx";
      registro.Aba = "Plan1";
      {
        app::TIBTransaction tr(*db);
        r[k].ok = app::AtualizaEmails(
            *db, tr, t, r[k].execucao.Feedback(),
            lotes ? app::TModoPreparo::mpLotes : app::TModoPreparo::mpUmaVez, &registro);
      }
      r[k].depois = Estado(*db);
      if (!r[k].ok) continue;
      r[k].registro = Conteudo(registro.Arquivo);
      app::TIBTransaction tr(*db);
      app::TOpcoesDesfazer opcoes;
      opcoes.Envio = envio;
      try {
        const app::TResultadoDesfazer d = app::DesfazExecucao(*db, tr, registro.Arquivo, opcoes);
        r[k].desfazer = Conteudo(d.Arquivo);
        r[k].desfazer.push_back("restaurados " + std::to_string(d.Restaurados) +
                                ", já como antes " + std::to_string(d.JaComoAntes));
      } catch (const std::exception& e) {
        r[k].desfazer_erro = e.what();
      }
      r[k].desfeito = Estado(*db);
    }
    EXPECT_EQ(r[0].previa, r[1].previa);
    EXPECT_EQ(r[0].ok, r[1].ok);
    EXPECT_EQ(r[0].execucao.passos, r[1].execucao.passos);
    EXPECT_EQ(r[0].depois.clientes, r[1].depois.clientes);
    EXPECT_EQ(r[0].depois.vistos, r[1].depois.vistos);
    EXPECT_EQ(r[0].registro, r[1].registro);
    EXPECT_EQ(r[0].desfazer, r[1].desfazer);
    EXPECT_EQ(r[0].desfazer_erro, r[1].desfazer_erro);
    EXPECT_EQ(r[0].desfeito.clientes, r[1].desfeito.clientes);
    EXPECT_EQ(r[0].desfeito.vistos, r[1].desfeito.vistos);
    // The cases meant to fail do, with the row named; the others go through
    // and their undo puts every address back.
    const bool falha = !c.recusa.empty() || !c.estranho.empty() || c.email == "VARCHAR(30)";
    EXPECT_EQ(r[0].ok, !falha);
    if (falha) {
      ASSERT_FALSE(r[0].execucao.passos.empty());
      const auto erro = std::find_if(r[0].execucao.passos.begin(), r[0].execucao.passos.end(),
                                     [](const std::string& s) { return s.rfind("erro ", 0) == 0; });
      ASSERT_NE(erro, r[0].execucao.passos.end());
      EXPECT_NE(erro->find("da planilha"), std::string::npos) << *erro;
    } else {
      EXPECT_TRUE(r[0].desfazer_erro.empty()) << r[0].desfazer_erro;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Lugares, EmLotes, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                           return info.param ? std::string("Servidor") : std::string("Embutido");
                         });

// A row that fails inside a block: the rows before it in the block are
// undone with it and sent again, so each is updated once; when the failing
// row then goes through alone (what stopped it is gone), the rest follow.
TEST(AtualizacaoEmLotes, TheRowsBeforeAFailedRowAreUpdatedOnceAndTheRestFollow) {
  APP_REQUIRE_FIREBIRD(lib);
  app_test::TempDir dir("lotes-falha");
  const std::string banco = dir.File("v.fdb");
  CriaBanco(lib, banco, "VARCHAR(60)", "");
  auto db = app_test::Attach(lib, banco);
  // Refuses client 5 the first time only: a generator does not go back
  // with a rollback.
  Exec(*db, "CREATE GENERATOR G_UMA_VEZ");
  Exec(*db, "CREATE EXCEPTION E_UMA_VEZ 'só desta vez'");
  Exec(*db,
       "CREATE TRIGGER T_UMA_VEZ FOR CLIENTE BEFORE UPDATE AS BEGIN IF (NEW.CODCLIENTE = "
       "'00000005' AND GEN_ID(G_UMA_VEZ, 1) = 1) THEN EXCEPTION E_UMA_VEZ; END");
  app::TIBTransaction tr(*db);
  tr.StartTransaction();
  app::TAtualizacaoEmLotes lotes(*db, tr, app::kSqlAtualizaEmail, 4);
  for (int i = 1; i <= 10; ++i)
    lotes.Adiciona(Codigo(i), "n" + std::to_string(i) + "@x");
  std::vector<size_t> feitas;
  lotes.Envia([&](size_t k) { feitas.push_back(k); });
  EXPECT_EQ(feitas, (std::vector<size_t>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
  EXPECT_EQ(lotes.LinhasPorLote(), 4);
  // Rows 1-4, 6-8 and 9-10 in blocks; 5 alone.
  EXPECT_EQ(lotes.LinhasEmBloco(), 9);
  EXPECT_EQ(lotes.Pendentes(), 0u);
  tr.Commit();
  const TLinhas vistos = Select(*db, "SELECT CODIGO, DEPOIS FROM VISTO ORDER BY N");
  ASSERT_EQ(vistos.size(), 10u);
  for (int i = 1; i <= 10; ++i) {
    EXPECT_EQ(vistos[static_cast<size_t>(i - 1)][0], Codigo(i));
    EXPECT_EQ(vistos[static_cast<size_t>(i - 1)][1], "n" + std::to_string(i) + "@x");
  }
}

// A row that fails for good ends the batch with its position and the error
// the statement of one row gives; the rows before it were reported.
TEST(AtualizacaoEmLotes, ARefusedRowEndsTheBatchWithItsPositionAndItsOwnError) {
  APP_REQUIRE_FIREBIRD(lib);
  app_test::TempDir dir("lotes-recusa");
  const std::string banco = dir.File("v.fdb");
  CriaBanco(lib, banco, "VARCHAR(60)", Codigo(6));
  auto db = app_test::Attach(lib, banco);
  app::TIBTransaction tr(*db);
  tr.StartTransaction();
  app::TAtualizacaoEmLotes lotes(*db, tr, app::kSqlAtualizaEmail, 4);
  for (int i = 1; i <= 10; ++i)
    lotes.Adiciona(Codigo(i), std::nullopt);
  std::vector<size_t> feitas;
  try {
    lotes.Envia([&](size_t k) { feitas.push_back(k); });
    FAIL();
  } catch (const app::ELinhaRecusada& e) {
    EXPECT_EQ(e.Posicao(), 5u);
    EXPECT_NE(std::string(e.Erro().what()).find("cliente bloqueado para alteração"),
              std::string::npos)
        << e.Erro().what();
  }
  EXPECT_EQ(feitas, (std::vector<size_t>{0, 1, 2, 3, 4}));
  EXPECT_EQ(lotes.Pendentes(), 0u);
  // Clients 1 to 5 are null now in this transaction; client 6 is not.
  app::TIBSQL q(*db, tr);
  q.SetSQL("SELECT COUNT(*) FROM CLIENTE WHERE EMAIL IS NULL AND CODCLIENTE <= '00000006'");
  EXPECT_EQ(q.SelectAll()[0][0], "5");
}

}  // namespace
