// The addresses of a list of codes, read as a run reads them before it
// writes: the same answer whether the whole table is passed over, the pass
// is given up on a table much larger than the list, or the codes are looked
// up in batches.
#include "app/historico/enderecos_atuais.h"

#include <gtest/gtest.h>

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

}  // namespace
