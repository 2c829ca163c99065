// Helpers shared by the updater core's tests: fixture paths, a private
// folder for the embedded Firebird engine, and databases with a CLIENTE
// table made by the tests themselves.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#endif
#include <filesystem>
#include <memory>
#include <string>

#include "app/database/fb_client.h"
#include "app/database/tabela_temp.h"
#include "app/errors.h"

namespace app_test {

inline std::string Fixture(const std::string& name) {
  return std::string(PROJECT_SOURCE_DIR) + "/tests/fixtures/app/" + name;
}

inline long ProcessId() {
#ifdef _WIN32
  return static_cast<long>(_getpid());
#else
  return static_cast<long>(getpid());
#endif
}

// A fresh folder under the build tree, removed with the object.
class TempDir {
 public:
  explicit TempDir(const std::string& tag) {
    static int counter = 0;
    // The process id too: ctest runs the cases of one fixture as parallel
    // processes, which may share a seed and a tag.
    path_ = std::filesystem::path(PROJECT_BINARY_DIR) / "test-tmp" /
            (tag + "-" + std::to_string(ProcessId()) + "-" +
             std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
             std::to_string(++counter));
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  std::string File(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

inline void SetEnv(const char* name, const std::string& value) {
#ifdef _WIN32
  _putenv_s(name, value.c_str());
#else
  setenv(name, value.c_str(), 1);
#endif
}

// Loads the client library once per test program, with the embedded
// engine's lock and temporary files in a private folder. Null (and the test
// skipped) when the library is not installed. At the end of the program the
// engine is shut down before the library goes: its threads would otherwise
// still run while the process exits (and the leak checker, which stops every
// thread at exit, has crashed on them).
inline std::shared_ptr<app::TFbClientLibrary> FirebirdOrSkip() {
  struct Holder {
    std::shared_ptr<app::TFbClientLibrary> lib;
    ~Holder() {
      if (lib) lib->Shutdown();
    }
  };
  static const Holder holder{[] {
    const auto dir = std::filesystem::path(PROJECT_BINARY_DIR) / "test-tmp" / "firebird";
    std::filesystem::create_directories(dir);
    SetEnv("FIREBIRD_LOCK", dir.string());
    SetEnv("FIREBIRD_TMP", dir.string());
    try {
      return app::TFbClientLibrary::Load();
    } catch (const app::EIBClientError&) {
      return std::shared_ptr<app::TFbClientLibrary>();
    }
  }()};
  return holder.lib;
}

// Whether a missing client library fails the test instead of skipping it:
// ./test.sh sets PROJECT_REQUIRE_FIREBIRD=1, so that a machine without
// Firebird cannot pass the database tests by skipping them all.
inline bool FirebirdRequired() {
  const char* value = std::getenv("PROJECT_REQUIRE_FIREBIRD");
  return value != nullptr && std::string(value) == "1";
}

#define APP_REQUIRE_FIREBIRD(lib)                                                \
  auto lib = ::app_test::FirebirdOrSkip();                                       \
  if (!lib && ::app_test::FirebirdRequired())                                    \
    GTEST_FAIL() << "the Firebird client library is not installed (required by " \
                    "PROJECT_REQUIRE_FIREBIRD=1)";                               \
  if (!lib) GTEST_SKIP() << "the Firebird client library is not installed"

// The Firebird server that ./test.sh starts for the tests
// (scripts/firebird-server.sh), as the prefix of its database names,
// "localhost/PORT" (a database is "localhost/PORT:/path/x.fdb"); "" when
// none is running.
inline std::string TestServer() {
  const char* value = std::getenv("PROJECT_FIREBIRD_SERVER");
  return value == nullptr ? std::string() : std::string(value);
}

// Skips a test that needs the server when none runs, or fails it when
// PROJECT_REQUIRE_FIREBIRD=1 (./test.sh) says one must.
#define APP_REQUIRE_SERVER(prefix)                                                        \
  const std::string prefix = ::app_test::TestServer();                                    \
  if (prefix.empty() && ::app_test::FirebirdRequired())                                   \
    GTEST_FAIL() << "no Firebird server (PROJECT_FIREBIRD_SERVER; ./test.sh starts one)"; \
  if (prefix.empty()) GTEST_SKIP() << "no Firebird server (PROJECT_FIREBIRD_SERVER)"

// A database object attached to the file at `path`.
inline std::unique_ptr<app::TIBDatabase> Attach(const std::shared_ptr<app::TFbClientLibrary>& lib,
                                                const std::string& path) {
  auto db = std::make_unique<app::TIBDatabase>(lib);
  db->SetDatabaseName(path);
  db->Open();
  return db;
}

// Runs one statement in its own transaction.
inline void Exec(app::TIBDatabase& db, const std::string& sql) {
  app::TIBTransaction tr(db);
  tr.StartTransaction();
  app::TIBSQL q(db, tr);
  q.SetSQL(sql);
  q.ExecQuery();
  tr.Commit();
}

inline std::vector<std::vector<std::optional<std::string>>> Select(app::TIBDatabase& db,
                                                                   const std::string& sql) {
  app::TIBTransaction tr(db);
  tr.StartTransaction();
  app::TIBSQL q(db, tr);
  q.SetSQL(sql);
  auto rows = q.SelectAll();
  tr.Commit();
  return rows;
}

// A database with CLIENTE(CODCLIENTE, NOME, EMAIL) and clients 00000001 to
// `clients` (zero-filled codes), each with EMAIL 'old<n>@x'.
inline void CreateClientes(const std::shared_ptr<app::TFbClientLibrary>& lib,
                           const std::string& path, int clients,
                           const std::string& email_type = "VARCHAR(60)") {
  app::TIBDatabase db(lib);
  db.SetDatabaseName(path);
  db.CreateDatabase();
  Exec(db,
       "CREATE TABLE CLIENTE (CODCLIENTE VARCHAR(8) NOT NULL PRIMARY KEY, NOME VARCHAR(40), "
       "EMAIL " +
           email_type + ")");
  app::TIBTransaction tr(db);
  tr.StartTransaction();
  app::TIBSQL q(db, tr);
  q.SetSQL("INSERT INTO CLIENTE (CODCLIENTE, NOME, EMAIL) VALUES (:C, :N, :E)");
  for (int i = 1; i <= clients; ++i) {
    std::string code = std::to_string(i);
    code.insert(0, 8 - code.size(), '0');
    q.SetParam("C", code);
    q.SetParam("N", "Cliente " + std::to_string(i));
    q.SetParam("E", "old" + std::to_string(i) + "@x");
    q.ExecQuery();
  }
  tr.Commit();
}

// A staging table of 46 columns with codes in "18" and addresses in "46".
inline app::TTabelaTemp Staged(const std::vector<std::pair<std::string, std::string>>& rows,
                               int columns = 46) {
  app::TTabelaTemp t;
  for (int k = 1; k <= columns; ++k)
    t.AddFieldDef(std::to_string(k));
  t.CreateDataSet();
  for (const auto& [code, mail] : rows) {
    t.Append();
    if (columns >= 18) t.SetFieldByName("18", code);
    if (columns >= 46) t.SetFieldByName("46", mail);
    t.Post();
  }
  return t;
}

}  // namespace app_test
