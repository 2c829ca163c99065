// The Firebird client over real embedded databases created here.
#include "app/database/fb_client.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/errors.h"
#include "tests/app/app_test_support.h"

namespace {

using app_test::Exec;
using app_test::Select;

TEST(FbClient, AMissingLibraryGivesTheInstallMessage) {
  try {
    app::TFbClientLibrary::Load({"libnao_existe_fb.so", "nao_existe_fb.dll"});
    FAIL();
  } catch (const app::EIBClientError& e) {
    EXPECT_STREQ(e.what(),
                 "InterBase library gds32.dll not found in the path. Please install InterBase to "
                 "use this functionality");
  }
}

TEST(FbClient, AFileThatCannotBeAttachedIsToldInPortuguese) {
  APP_REQUIRE_FIREBIRD(lib);
  app_test::TempDir dir("fb-attach");
  const std::string junk = dir.File("junk.fdb");
  std::ofstream(junk) << "not a database";
  const struct {
    std::string path;
    std::string reason;
  } cases[] = {
      {dir.File("missing.fdb"), "o arquivo não foi encontrado."},
      {junk, "o arquivo não é um banco de dados Firebird ou está danificado."},
      {dir.File(""), "é uma pasta, não um arquivo."},
  };
  for (const auto& c : cases) {
    app::TIBDatabase db(lib);
    db.SetDatabaseName(c.path);
    try {
      db.Open();
      ADD_FAILURE() << c.path;
    } catch (const app::EIBError& e) {
      EXPECT_EQ(std::string(e.what()),
                "Não foi possível abrir o banco de dados \"" + c.path + "\": " + c.reason);
      EXPECT_EQ(e.Kind(), app::TIBErrorKind::ekArquivo);
      EXPECT_NE(e.IscCode(), 0);
    }
    EXPECT_FALSE(db.Connected());
  }
}

TEST(FbClient, DatabasePathsWithLettersOutsideAscii) {
  APP_REQUIRE_FIREBIRD(lib);
  app_test::TempDir dir("fb-acentos");
  // The names are UTF-8 (as the program's): joined as text, and made into a
  // file system path from char8_t so that Windows does not read them in the
  // ANSI code page.
  const std::string folder = dir.File("") + "Gestão Ágil";
  auto native = [](const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
  };
  std::filesystem::create_directories(native(folder));
  const std::string path = folder + "/Gestão.fdb";
  {
    app::TIBDatabase db(lib);
    db.SetDatabaseName(path);
    db.CreateDatabase();
    Exec(db, "CREATE TABLE T (A INTEGER)");
  }
  // The file has the name as given, in UTF-8, not a transliteration of it.
  EXPECT_TRUE(std::filesystem::exists(native(path)));
  app::TIBDatabase db(lib);
  db.SetDatabaseName(path);
  db.Open();
  Exec(db, "INSERT INTO T (A) VALUES (7)");
  EXPECT_EQ(Select(db, "SELECT A FROM T")[0][0], "7");
}

TEST(FbClient, TransactionOperationsOnlyActWhenTheyApply) {
  APP_REQUIRE_FIREBIRD(lib);
  app_test::TempDir dir("fb-tr");
  app::TIBDatabase db(lib);
  app::TIBTransaction tr(db);
  // Not connected: the start fails with the dataset message.
  try {
    app::IniciaTransacao(tr);
    FAIL();
  } catch (const app::EDatabaseError& e) {
    EXPECT_STREQ(e.what(), "Cannot perform operation -- DB is not open");
  }
  EXPECT_NO_THROW(app::ConfirmaTransacao(tr));
  EXPECT_NO_THROW(app::CancelaTransacao(tr));
  db.SetDatabaseName(dir.File("t.fdb"));
  db.CreateDatabase();
  app::IniciaTransacao(tr);
  EXPECT_TRUE(tr.InTransaction());
  app::IniciaTransacao(tr);  // already active: nothing
  app::ConfirmaTransacao(tr);
  EXPECT_FALSE(tr.InTransaction());
  app::ConfirmaTransacao(tr);
  app::CancelaTransacao(tr);
  // Reattaching (the same file chosen again) works.
  db.Close();
  db.Open();
  EXPECT_TRUE(db.Connected());
}

TEST(FbClient, NamedParametersBoundFromStrings) {
  APP_REQUIRE_FIREBIRD(lib);
  app_test::TempDir dir("fb-params");
  app::TIBDatabase db(lib);
  db.SetDatabaseName(dir.File("p.fdb"));
  db.CreateDatabase();
  Exec(db, "CREATE TABLE T (A VARCHAR(10), B INTEGER, C VARCHAR(20))");
  app::TIBTransaction tr(db);
  tr.StartTransaction();
  app::TIBSQL q(db, tr);
  // A colon inside a literal or a comment is no parameter; a name used
  // twice is set once.
  q.SetSQL("INSERT INTO T (A, B, C) /* :NOT */ VALUES (:pa, :PB, ':x' || :pa)");
  EXPECT_EQ(q.ParamCount(), 3);
  q.SetParam("PA", "abc");
  q.SetParam("pb", "42");
  q.ExecQuery();
  EXPECT_EQ(q.RowsAffected(), 0);  // an insert is no update
  EXPECT_THROW(q.SetParam("PZ", "1"), app::EDatabaseError);
  q.SetSQL("UPDATE T SET B = B + 1 WHERE A = :A");
  q.SetParam("A", "abc");
  q.ExecQuery();
  EXPECT_EQ(q.RowsAffected(), 1);
  tr.Commit();
  auto rows = Select(db, "SELECT A, B, C FROM T");
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0][0], "abc");
  EXPECT_EQ(rows[0][1], "43");
  EXPECT_EQ(rows[0][2], ":xabc");
}

TEST(FbClient, AccentedTextArrivesUnharmedInWin1252AndNoneColumns) {
  APP_REQUIRE_FIREBIRD(lib);
  app_test::TempDir dir("fb-charset");
  const std::string path = dir.File("c.fdb");
  {
    app::TIBDatabase db(lib);
    db.SetDatabaseName(path);
    db.CreateDatabase();
    Exec(db,
         "CREATE TABLE T (W VARCHAR(20) CHARACTER SET WIN1252, N VARCHAR(20) CHARACTER SET "
         "NONE)");
    app::TIBTransaction tr(db);
    tr.StartTransaction();
    app::TIBSQL q(db, tr);
    q.SetSQL("INSERT INTO T (W, N) VALUES (:W, :N)");
    q.SetParam("W", "joão@ção.br");
    q.SetParam("N", "joão@ção.br");
    q.ExecQuery();
    // A character Windows-1252 cannot hold is refused, not replaced.
    EXPECT_THROW(q.SetParam("W", "日本"), app::EIBError);
    // So is text that is not well-formed UTF-8 (overlong, an encoded
    // surrogate, cut short, above U+10FFFF).
    for (const char* bad : {"\xC0\xAF", "\xED\xA0\x80", "jo\xC3", "\xF4\x90\x80\x80"})
      EXPECT_THROW(q.SetParam("N", bad), app::EIBError) << bad;
    tr.Commit();
  }
  // A second attachment reads the bytes stored: Windows-1252 in both.
  app::TIBDatabase db(lib);
  db.SetDatabaseName(path);
  db.Open();
  auto rows = Select(db, "SELECT W, N, OCTET_LENGTH(N), CHAR_LENGTH(W) FROM T");
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0][0], "joão@ção.br");
  EXPECT_EQ(rows[0][1], "joão@ção.br");
  EXPECT_EQ(rows[0][2], "11");  // one byte per character
  EXPECT_EQ(rows[0][3], "11");
}

TEST(FbClient, ServerErrorsCarryTheLibrarysText) {
  APP_REQUIRE_FIREBIRD(lib);
  app_test::TempDir dir("fb-errors");
  app::TIBDatabase db(lib);
  db.SetDatabaseName(dir.File("e.fdb"));
  db.CreateDatabase();
  app::TIBTransaction tr(db);
  tr.StartTransaction();
  app::TIBSQL q(db, tr);
  q.SetSQL("UPDATE NAO_EXISTE SET X = :X");
  try {
    q.ExecQuery();
    FAIL();
  } catch (const app::EIBError& e) {
    EXPECT_NE(std::string(e.what()).find("NAO_EXISTE"), std::string::npos) << e.what();
    EXPECT_EQ(e.SqlCode(), -204);
  }
  EXPECT_FALSE(q.Prepared());
}

TEST(FbClient, AnActiveTransactionIsRolledBackWhenDestroyedOrDetached) {
  APP_REQUIRE_FIREBIRD(lib);
  app_test::TempDir dir("fb-rollback");
  app::TIBDatabase db(lib);
  db.SetDatabaseName(dir.File("r.fdb"));
  db.CreateDatabase();
  Exec(db, "CREATE TABLE T (A INTEGER)");
  Exec(db, "INSERT INTO T (A) VALUES (1)");
  auto insert_two = [&](app::TIBTransaction& tr) {
    tr.StartTransaction();
    app::TIBSQL q(db, tr);
    q.SetSQL("INSERT INTO T (A) VALUES (2)");
    q.ExecQuery();
    EXPECT_EQ(app_test::Select(db, "SELECT COUNT(*) FROM T")[0][0], "1");  // not yet visible
  };
  {
    app::TIBTransaction tr(db);
    insert_two(tr);
  }  // destroyed while active
  EXPECT_EQ(Select(db, "SELECT COUNT(*) FROM T")[0][0], "1");
  {
    app::TIBTransaction tr(db);
    insert_two(tr);
    db.Close();  // detaching rolls the transaction back first
    EXPECT_FALSE(tr.InTransaction());
  }
  db.Open();
  EXPECT_EQ(Select(db, "SELECT COUNT(*) FROM T")[0][0], "1");
}

// Two stations on one database, with the real engine: a client the other
// station changed and has not committed is "in use" (after the wait runs
// out); one it changed and committed after this transaction began has been
// saved, and is told so. The engine's vector is the same for both.
TEST(FbClient, ARowStillHeldAndARowAlreadyChangedByAnotherStationAreToldApart) {
  APP_REQUIRE_FIREBIRD(lib);
  app_test::TempDir dir("conflito");
  const std::string path = dir.File("v.fdb");
  app_test::CreateClientes(lib, path, 5);
  auto db = app_test::Attach(lib, path);
  auto estacao = app_test::Attach(lib, path);
  const auto atualiza = [&](app::TIBTransaction& tr, const std::string& codigo) {
    app::TIBSQL q(*db, tr);
    q.SetSQL("UPDATE CLIENTE SET EMAIL = 'nosso@x' WHERE CODCLIENTE = '" + codigo + "'");
    q.ExecQuery();
  };
  for (const bool gravou : {false, true}) {
    SCOPED_TRACE(gravou ? "committed" : "held");
    app::TIBTransaction nossa(*db);
    nossa.SetLockTimeout(1);
    nossa.StartTransaction();
    app::TIBTransaction outra(*estacao);
    outra.StartTransaction();
    {
      app::TIBSQL q(*estacao, outra);
      q.SetSQL("UPDATE CLIENTE SET EMAIL = 'outra@x' WHERE CODCLIENTE = '00000002'");
      q.ExecQuery();
    }
    if (gravou) outra.Commit();
    try {
      atualiza(nossa, "00000002");
      ADD_FAILURE() << "no conflict";
    } catch (const app::EIBError& e) {
      EXPECT_EQ(e.Kind(), gravou ? app::TIBErrorKind::ekAlteradoPorOutra
                                 : app::TIBErrorKind::ekRegistroEmUso);
      EXPECT_EQ(std::string(e.what()),
                gravou ? "o registro foi alterado por outra estação, que já gravou a alteração, "
                         "depois do início desta operação"
                       : "o registro está em uso por outra estação, que o alterou e ainda não "
                         "gravou a alteração");
    }
    nossa.Rollback();
    if (!gravou) outra.Rollback();
  }
}

}  // namespace
