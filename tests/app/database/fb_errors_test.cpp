// Firebird status vectors turned into the operator's texts, over vectors of
// the shapes the client library returns.
#include "app/database/fb_errors.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <vector>

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
    const auto d = app::DescribeStatus(c.status.data(), "library text", "C:\\V.FDB");
    EXPECT_EQ(d.kind, c.kind) << c.what;
    EXPECT_EQ(d.message, c.message) << c.what;
  }
  // Without the operator's name for the file, the vector's own.
  const std::vector<intptr_t> missing = {kGds,    kIoError,   kString, Text("open"),
                                         kString, Text(file), kGds,    kIoOpenErr,
                                         kUnix,   ENOENT,     0};
  EXPECT_EQ(
      app::DescribeStatus(missing.data(), "", "").message,
      "Não foi possível abrir o banco de dados \"/srv/v.fdb\": o arquivo não foi encontrado.");
}

TEST(FbErrors, EveryWayARowHeldByAnotherTransactionIsReportedIsOneKind) {
  const std::vector<std::vector<intptr_t>> held = {
      {kGds, kDeadlock, kGds, kUpdateConflict, kGds, 335544878, kString, Text("5"), 0},
      {kGds, kLockConflict, kGds, kUpdateConflict, 0},
      {kGds, kLockTimeout, 0},
  };
  for (const auto& status : held) {
    const auto d = app::DescribeStatus(status.data(), "deadlock", "v.fdb");
    EXPECT_EQ(d.kind, TIBErrorKind::ekRegistroEmUso) << status[1];
    EXPECT_EQ(d.message,
              "o registro está em uso por outra estação, que o alterou e ainda não gravou a "
              "alteração");
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
    EXPECT_EQ(std::string(e->what()), app::DescribeStatus(engine.data(), "", "").message);
  }
  EXPECT_FALSE(app::ErroDeConflito(kRelationErr).has_value());
  EXPECT_FALSE(app::ErroDeConflito(0).has_value());
}

TEST(FbErrors, OtherErrorsKeepTheLibrarysTextAndNothingIsReadPastTheVector) {
  const std::vector<intptr_t> lost = {kGds, kConnectionLost, 0};
  const auto d = app::DescribeStatus(lost.data(), "connection lost to database", "v.fdb");
  EXPECT_EQ(d.kind, TIBErrorKind::ekOutro);
  EXPECT_EQ(d.message, "connection lost to database");
  // A vector filled to its 20 entries without an end marker.
  std::vector<intptr_t> full(20, 0);
  for (size_t i = 0; i < full.size(); i += 2) {
    full[i] = kGds;
    full[i + 1] = kConnectionLost;
  }
  EXPECT_EQ(app::DescribeStatus(full.data(), "x", "v.fdb").kind, TIBErrorKind::ekOutro);
}

}  // namespace
