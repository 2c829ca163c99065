// The addresses of a list of codes, read as a run reads them before it
// writes: the same answer whether the whole table is passed over, the pass
// is given up on a table much larger than the list, or the codes are looked
// up in batches.
#include "app/historico/enderecos_atuais.h"

#include <gtest/gtest.h>

#include "app/errors.h"

#include "tests/app/app_test_support.h"

namespace {

std::string Codigo(int n) {
  std::string code = std::to_string(n);
  code.insert(0, 8 - code.size(), '0');
  return code;
}

TEST(EnderecosAtuais, EveryWayOfReadingGivesTheSameAddresses) {
  APP_REQUIRE_FIREBIRD(lib);
  app_test::TempDir dir("enderecos");
  const std::string path = dir.File("v.fdb");
  app_test::CreateClientes(lib, path, 4000);
  auto db = app_test::Attach(lib, path);
  app_test::Exec(*db, "UPDATE CLIENTE SET EMAIL = NULL WHERE CODCLIENTE LIKE '%7'");
  const struct {
    const char* caso;
    int codigos;  // asked: every `passo`-th client from 1
    int passo;
  } casos[] = {
      {"a few codes: batches", 100, 3},
      {"many codes: one pass over the table", 1300, 3},
      // 600 codes up to client 3595: the pass stops after 2,400 rows.
      {"many codes in a much larger table: the pass is given up", 600, 6},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.caso);
    std::vector<std::string> codigos;
    for (int i = 0; i < c.codigos; ++i)
      codigos.push_back(Codigo(1 + c.passo * i));
    codigos.push_back(codigos.front());  // twice: once in the answer
    codigos.push_back("99999999");
    codigos.push_back("00000002 ");  // trailing blanks compare as without them
    app::TIBTransaction tr(*db);
    tr.StartTransaction();
    const app::TEnderecosAtuais atuais = app::LeEnderecosAtuais(*db, tr, codigos, {});
    tr.Rollback();
    ASSERT_EQ(atuais.size(), static_cast<size_t>(c.codigos) + 1);
    for (int i = 0; i < c.codigos; ++i) {
      const int n = 1 + c.passo * i;
      const auto it = atuais.find(Codigo(n));
      ASSERT_NE(it, atuais.end()) << n;
      EXPECT_EQ(it->second, n % 10 == 7
                                ? std::nullopt
                                : std::optional<std::string>("old" + std::to_string(n) + "@x"))
          << n;
    }
    EXPECT_EQ(atuais.count("99999999"), 0u);
    EXPECT_EQ(atuais.at("00000002"), "old2@x");
  }
}

// A key column compared without case or accents (WIN_PTBR): a worksheet
// code in another form than the client's ("00000abc" for client "00000ABC")
// is updated by the run, so the record could not say which row changed it.
// The lookup refuses with that reason whichever path finds the codes, also
// when both forms are asked in one batch (one of them was taken as no client
// before) or the pass over the table found the client's own form first (the
// reason was two clients of one code before).
TEST(EnderecosAtuais, CodesTheDatabaseTakesForAnotherClientAreRefusedWithThatReason) {
  APP_REQUIRE_FIREBIRD(lib);
  app_test::TempDir dir("colacao");
  const std::string path = dir.File("v.fdb");
  {
    app::TIBDatabase db(lib);
    db.SetDatabaseName(path);
    db.CreateDatabase();
    app_test::Exec(db,
                   "CREATE TABLE CLIENTE (CODCLIENTE VARCHAR(8) CHARACTER SET WIN1252 NOT NULL "
                   "PRIMARY KEY COLLATE WIN_PTBR, EMAIL VARCHAR(60))");
    app_test::Exec(db, "INSERT INTO CLIENTE VALUES ('00000ABC', 'abc@x')");
    app::TIBTransaction tr(db);
    tr.StartTransaction();
    app::TIBSQL q(db, tr);
    q.SetSQL("INSERT INTO CLIENTE (CODCLIENTE) VALUES (:C)");
    for (int i = 1; i <= 600; ++i) {
      q.SetParam("C", Codigo(i));
      q.ExecQuery();
    }
    tr.Commit();
  }
  auto db = app_test::Attach(lib, path);
  const auto numeros = [](int n) {
    std::vector<std::string> codigos;
    for (int i = 1; i <= n; ++i)
      codigos.push_back(Codigo(i));
    return codigos;
  };
  const auto com = [](std::vector<std::string> codigos, std::vector<std::string> mais) {
    codigos.insert(codigos.end(), mais.begin(), mais.end());
    return codigos;
  };
  const struct {
    const char* caso;
    std::vector<std::string> codigos;
    bool recusa;
  } casos[] = {
      {"the client's own form", com(numeros(3), {"00000ABC"}), false},
      {"another form alone", com(numeros(3), {"00000abc"}), true},
      {"both forms in one batch", com(numeros(3), {"00000ABC", "00000abc"}), true},
      {"both forms, after a pass over the table", com(numeros(600), {"00000ABC", "00000abc"}),
       true},
      {"another form, after a pass over the table", com(numeros(600), {"00000abc"}), true},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.caso);
    app::TIBTransaction tr(*db);
    tr.StartTransaction();
    try {
      const app::TEnderecosAtuais atuais = app::LeEnderecosAtuais(*db, tr, c.codigos, {});
      EXPECT_FALSE(c.recusa);
      EXPECT_EQ(atuais.at("00000ABC"), "abc@x");
    } catch (const app::EHistoricoError& e) {
      EXPECT_TRUE(c.recusa) << e.what();
      EXPECT_NE(std::string(e.what()).find("código escrito de outra forma"), std::string::npos)
          << e.what();
    }
    tr.Rollback();
  }
}

}  // namespace
