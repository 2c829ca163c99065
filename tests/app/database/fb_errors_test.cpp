// Firebird status vectors turned into the operator's texts, over vectors of
// the shapes the client library returns.
#include "app/database/fb_errors.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <vector>

#include "app/os_error_text.h"

namespace {

using app::TIBErrorKind;

// Argument types and codes of the client library's status vectors.
constexpr intptr_t kGds = 1, kString = 2, kNumber = 4, kUnix = 7, kWin32 = 17;
constexpr intptr_t kIoError = 335544344, kIoOpenErr = 335544734, kIoWriteErr = 335544737,
                   kRandom = 335544382, kDsqlError = 335544569, kSqlErr = 335544436,
                   kRelationErr = 335544580, kFieldErr = 335544578, kDeadlock = 335544336,
                   kUpdateConflict = 335544451, kLockConflict = 335544345, kLockTimeout = 335544510,
                   kBadDbFormat = 335544323, kConnectionLost = 335544721;

intptr_t Text(const char* s) {
  return reinterpret_cast<intptr_t>(s);
}

TEST(FbErrors, UsualCausesGetAKindAndAPortugueseText) {
  const char* file = "/srv/v.fdb";
  const struct {
    const char* what;
    std::vector<intptr_t> status;
    TIBErrorKind kind;
    std::string message;
  } cases[] = {
      {"missing file",
       {kGds, kIoError, kString, Text("open"), kString, Text(file), kGds, kIoOpenErr, kUnix, ENOENT,
        0},
       TIBErrorKind::ekArquivo,
       "Não foi possível abrir o banco de dados \"C:\\V.FDB\": o arquivo não foi encontrado."},
      {"no permission",
       {kGds, kIoError, kString, Text("open"), kString, Text(file), kGds, kIoOpenErr, kUnix, EACCES,
        0},
       TIBErrorKind::ekArquivo,
       "Não foi possível abrir o banco de dados \"C:\\V.FDB\": acesso negado (sem permissão para "
       "ler o arquivo)."},
      {"held by another program (Windows server)",
       {kGds, kIoError, kString, Text("open"), kString, Text(file), kGds, kIoOpenErr, kWin32, 32,
        0},
       TIBErrorKind::ekArquivo,
       "Não foi possível abrir o banco de dados \"C:\\V.FDB\": o arquivo está em uso por outro "
       "programa."},
      {"a folder",
       {kGds, kIoError, kString, Text("read"), kString, Text(file), kGds, 335544736, kUnix, EISDIR,
        0},
       TIBErrorKind::ekArquivo,
       "Não foi possível abrir o banco de dados \"C:\\V.FDB\": é uma pasta, não um arquivo."},
      {"too short to be a database",
       {kGds, kIoError, kString, Text("read"), kString, Text(file), kGds, kRandom, kString,
        Text("File size is less than expected"), 0},
       TIBErrorKind::ekArquivo,
       "Não foi possível abrir o banco de dados \"C:\\V.FDB\": o arquivo não é um banco de dados "
       "Firebird ou está danificado."},
      {"held by a server this client did not reach",
       {kGds, kIoError, kString, Text("lock"), kString, Text(file), kGds, 335545107, 0},
       TIBErrorKind::ekArquivo,
       "Não foi possível abrir o banco de dados \"C:\\V.FDB\": o arquivo está aberto por um "
       "servidor Firebird deste computador, ao qual o cliente Firebird não conseguiu se conectar "
       "(ou por outro programa que o abre sem servidor)."},
      {"not a database",
       {kGds, kBadDbFormat, kString, Text(file), 0},
       TIBErrorKind::ekArquivo,
       "Não foi possível abrir o banco de dados \"C:\\V.FDB\": o arquivo não é um banco de dados "
       "Firebird ou está danificado."},
      {"disk full (Unix server)",
       {kGds, kIoError, kString, Text("write"), kString, Text(file), kGds, kIoWriteErr, kUnix,
        ENOSPC, 0},
       TIBErrorKind::ekDiscoCheio,
       "Não há espaço livre no disco do banco de dados \"C:\\V.FDB\": nada desta operação foi "
       "gravado."},
      {"disk full (Windows server)",
       {kGds, kIoError, kString, Text("write"), kString, Text(file), kGds, kIoWriteErr, kWin32, 112,
        0},
       TIBErrorKind::ekDiscoCheio,
       "Não há espaço livre no disco do banco de dados \"C:\\V.FDB\": nada desta operação foi "
       "gravado."},
      {"table missing",
       {kGds, kDsqlError, kGds, kSqlErr, kNumber, -204, kGds, kRelationErr, kGds, kRandom, kString,
        Text("CLIENTE"), 0},
       TIBErrorKind::ekNaoEVortana,
       "O banco de dados escolhido não é um banco do Vortana: não existe nele a tabela CLIENTE."},
      {"column missing",
       {kGds, kDsqlError, kGds, kSqlErr, kNumber, -206, kGds, kFieldErr, kGds, kRandom, kString,
        Text("CLIENTE.CODCLIENTE"), 0},
       TIBErrorKind::ekNaoEVortana,
       "O banco de dados escolhido não é um banco do Vortana: não existe nele a coluna "
       "CLIENTE.CODCLIENTE."},
  };
  for (const auto& c : cases) {
    const auto d = app::DescribeStatus(c.status.data(), "library text", "C:\\V.FDB",
                                       app::TMomentoDoErro::meAoAbrir);
    EXPECT_EQ(d.kind, c.kind) << c.what;
    EXPECT_EQ(d.message, c.message) << c.what;
  }
  // Without the operator's name for the file, the vector's own.
  const std::vector<intptr_t> missing = {kGds,    kIoError,   kString, Text("open"),
                                         kString, Text(file), kGds,    kIoOpenErr,
                                         kUnix,   ENOENT,     0};
  EXPECT_EQ(
      app::DescribeStatus(missing.data(), "", "", app::TMomentoDoErro::meAoAbrir).message,
      "Não foi possível abrir o banco de dados \"/srv/v.fdb\": o arquivo não foi encontrado.");
}

// Every way the engine reports a row another transaction holds or changed
// is one kind: the vector alone cannot tell whether that transaction still
// holds it (the engine gives "deadlock / update conflicts with concurrent
// update / concurrent transaction number is N" for a wait that ran out and
// for a change committed meanwhile alike); the client asks about
// transaction N, whose number is taken from the vector.
TEST(FbErrors, EveryWayARowHeldByAnotherTransactionIsReportedIsOneKind) {
  const struct {
    std::vector<intptr_t> status;
    int64_t concurrent;
  } held[] = {
      {{kGds, kDeadlock, kGds, kUpdateConflict, kGds, 335544878, kNumber, 5, 0}, 5},
      {{kGds, kDeadlock, kGds, kUpdateConflict, kGds, 335544878, kString, Text("4294967297"), 0},
       4294967297},
      {{kGds, kLockConflict, kGds, kUpdateConflict, 0}, 0},
      {{kGds, kLockTimeout, 0}, 0},
  };
  for (const auto& c : held) {
    const auto d = app::DescribeStatus(c.status.data(), "deadlock", "v.fdb",
                                       app::TMomentoDoErro::meComBancoAberto);
    EXPECT_EQ(d.kind, TIBErrorKind::ekRegistroEmUso) << c.status[1];
    EXPECT_EQ(d.message,
              "o registro está em uso por outra estação, que o alterou e ainda não gravou a "
              "alteração");
    EXPECT_EQ(app::ConcurrentTransaction(c.status.data()), c.concurrent) << c.status[1];
  }
}

// With the database open, a failed read or write is no failure to open it,
// and a lost connection (server stopped, network cable) gets Portuguese
// instead of the engine's English; at attach time the same causes mean the
// database could not be opened.
TEST(FbErrors, ErrorsWithTheDatabaseOpenSayWhatFailed) {
  using app::TMomentoDoErro;
  const char* file = "/srv/v.fdb";
  const struct {
    const char* what;
    std::vector<intptr_t> status;
    TMomentoDoErro momento;
    TIBErrorKind kind;
    std::string message;
  } cases[] = {
      {"a read that failed in the middle of a run",
       {kGds, kIoError, kString, Text("read"), kString, Text(file), kGds, 335544736, kUnix, EIO, 0},
       TMomentoDoErro::meComBancoAberto,
       TIBErrorKind::ekArquivo,
       "Não foi possível ler o banco de dados \"C:\\V.FDB\" durante a operação: " +
           app::PosixErrorReason(EIO) + "."},
      {"a write that failed in the middle of a run",
       {kGds, kIoError, kString, Text("write"), kString, Text(file), kGds, kIoWriteErr, kWin32,
        1117, 0},
       TMomentoDoErro::meComBancoAberto,
       TIBErrorKind::ekArquivo,
       "Não foi possível gravar no banco de dados \"C:\\V.FDB\" durante a operação: " +
           app::WindowsErrorReason(1117) + "."},
      {"a read without a system error",
       {kGds, kIoError, kString, Text("read"), kString, Text(file), 0},
       TMomentoDoErro::meComBancoAberto,
       TIBErrorKind::ekArquivo,
       "Não foi possível ler o banco de dados \"C:\\V.FDB\" durante a operação: o arquivo pode "
       "estar danificado."},
      {"the connection lost during a run",
       {kGds, kConnectionLost, kGds, 335544726, kString, Text("recv"), 0},
       TMomentoDoErro::meComBancoAberto,
       TIBErrorKind::ekConexaoPerdida,
       "A conexão com o banco de dados \"C:\\V.FDB\" foi perdida (o servidor parou ou a rede "
       "caiu). Confira a rede e o servidor e tente de novo."},
      {"the database shut down during a run",
       {kGds, 335544856, 0},
       TMomentoDoErro::meComBancoAberto,
       TIBErrorKind::ekConexaoPerdida,
       "A conexão com o banco de dados \"C:\\V.FDB\" foi perdida (o servidor parou ou a rede "
       "caiu). Confira a rede e o servidor e tente de novo."},
      {"no server when attaching",
       {kGds, kConnectionLost, kGds, 335544722, kString, Text("connect"), 0},
       TMomentoDoErro::meAoAbrir,
       TIBErrorKind::ekArquivo,
       "Não foi possível abrir o banco de dados \"C:\\V.FDB\": o servidor não respondeu "
       "(servidor parado ou rede fora do ar)."},
  };
  for (const auto& c : cases) {
    const auto d = app::DescribeStatus(c.status.data(), "engine text", "C:\\V.FDB", c.momento);
    EXPECT_EQ(d.kind, c.kind) << c.what;
    EXPECT_EQ(d.message, c.message) << c.what;
  }
}

// Inside an EXECUTE BLOCK only the first code of the engine's error is known:
// a row held or changed by another transaction is still told as such.
TEST(FbErrors, TheFirstCodeOfARowConflictGivesTheSameError) {
  for (intptr_t code : {kDeadlock, kUpdateConflict, kLockConflict, kLockTimeout}) {
    const auto e = app::ErroDeConflito(code);
    ASSERT_TRUE(e.has_value()) << code;
    EXPECT_EQ(e->Kind(), TIBErrorKind::ekRegistroEmUso);
    const std::vector<intptr_t> engine = {kGds, kDeadlock, kGds, kUpdateConflict, 0};
    EXPECT_EQ(
        std::string(e->what()),
        app::DescribeStatus(engine.data(), "", "", app::TMomentoDoErro::meComBancoAberto).message);
  }
  EXPECT_FALSE(app::ErroDeConflito(kRelationErr).has_value());
  EXPECT_FALSE(app::ErroDeConflito(0).has_value());
}

TEST(FbErrors, OtherErrorsKeepTheLibrarysTextAndNothingIsReadPastTheVector) {
  const std::vector<intptr_t> other = {kGds, kRandom, kString, Text("arithmetic overflow"), 0};
  const auto d = app::DescribeStatus(other.data(), "arithmetic exception", "v.fdb",
                                     app::TMomentoDoErro::meComBancoAberto);
  EXPECT_EQ(d.kind, TIBErrorKind::ekOutro);
  EXPECT_EQ(d.message, "arithmetic exception");
  // A vector filled to its 20 entries without an end marker.
  std::vector<intptr_t> full(20, 0);
  for (size_t i = 0; i < full.size(); i += 2) {
    full[i] = kGds;
    full[i + 1] = kRandom;
  }
  EXPECT_EQ(
      app::DescribeStatus(full.data(), "x", "v.fdb", app::TMomentoDoErro::meComBancoAberto).kind,
      TIBErrorKind::ekOutro);
}

}  // namespace
