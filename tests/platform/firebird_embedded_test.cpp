// The embedded Firebird engine, reached through the client library's C API
// loaded at run time: create a dialect-1 database, create and fill a table,
// read it back. Proves the machine's Firebird set-up that the program's
// database layer stands on.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <ibase.h>
#include <stdlib.h>

#include <cstring>
#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;

// isc_start_multiple's transaction existence block: one per database.
struct TransactionBlock {
  isc_db_handle* db;
  long tpb_length;
  const char* tpb;
};

// The few client functions this test calls, looked up by name.
struct Client {
  void* lib = dlopen("libfbclient.so.2", RTLD_NOW | RTLD_LOCAL);
  decltype(&isc_dsql_execute_immediate) execute_immediate = nullptr;
  decltype(&isc_attach_database) attach = nullptr;
  decltype(&isc_detach_database) detach = nullptr;
  decltype(&isc_start_multiple) start_multiple = nullptr;
  decltype(&isc_commit_transaction) commit = nullptr;
  decltype(&isc_dsql_allocate_statement) allocate = nullptr;
  decltype(&isc_dsql_prepare) prepare = nullptr;
  decltype(&isc_dsql_execute) execute = nullptr;
  decltype(&isc_dsql_fetch) fetch = nullptr;
  decltype(&isc_dsql_free_statement) free_statement = nullptr;
  decltype(&fb_interpret) interpret = nullptr;

  Client() {
    if (!lib) return;
    load(execute_immediate, "isc_dsql_execute_immediate");
    load(attach, "isc_attach_database");
    load(detach, "isc_detach_database");
    load(start_multiple, "isc_start_multiple");
    load(commit, "isc_commit_transaction");
    load(allocate, "isc_dsql_allocate_statement");
    load(prepare, "isc_dsql_prepare");
    load(execute, "isc_dsql_execute");
    load(fetch, "isc_dsql_fetch");
    load(free_statement, "isc_dsql_free_statement");
    load(interpret, "fb_interpret");
  }
  Client(const Client&) = delete;
  Client& operator=(const Client&) = delete;
  // The library stays loaded: the engine it starts is not meant to be unloaded.

  template <typename F>
  void load(F& fn, const char* name) {
    fn = reinterpret_cast<F>(dlsym(lib, name));
  }

  std::string message(const ISC_STATUS* status) const {
    std::string text;
    char buffer[512];
    const ISC_STATUS* p = status;
    while (interpret(buffer, sizeof buffer, &p) > 0)
      text += std::string(buffer) + "\n";
    return text;
  }
};

class FirebirdEmbedded : public testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("fbtest-" + std::to_string(getpid()));
    fs::create_directories(dir_ / "lock");
    fs::create_directories(dir_ / "tmp");
    setenv("FIREBIRD_LOCK", (dir_ / "lock").c_str(), 1);
    setenv("FIREBIRD_TMP", (dir_ / "tmp").c_str(), 1);
    ASSERT_NE(client_.lib, nullptr) << dlerror();
    ASSERT_NE(client_.execute_immediate, nullptr);
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
  }

  void check(ISC_STATUS rc, const ISC_STATUS* status, const char* what) {
    ASSERT_EQ(rc, 0) << what << ": " << client_.message(status);
  }

  fs::path dir_;
  Client client_;
};

TEST_F(FirebirdEmbedded, CreatesDialect1DatabaseAndReadsTableBack) {
  ISC_STATUS_ARRAY status{};
  isc_db_handle db = 0;
  isc_tr_handle tr = 0;
  const std::string path = (dir_ / "vortana.fdb").string();
  const std::string create =
      "CREATE DATABASE '" + path + "' USER 'SYSDBA' PASSWORD 'masterkey' PAGE_SIZE 4096";
  check(client_.execute_immediate(status, &db, &tr, 0, create.c_str(), 1, nullptr), status,
        "create database");
  ASSERT_NE(db, 0u);

  auto run = [&](const char* sql) {
    isc_tr_handle t = 0;
    TransactionBlock teb{&db, 0, nullptr};
    check(client_.start_multiple(status, &t, 1, &teb), status, "start");
    check(client_.execute_immediate(status, &db, &t, 0, sql, 1, nullptr), status, sql);
    check(client_.commit(status, &t), status, "commit");
  };
  run("CREATE TABLE CLIENTE (CODCLIENTE VARCHAR(8) NOT NULL PRIMARY KEY, "
      "NOME VARCHAR(60), EMAIL VARCHAR(60))");
  run("INSERT INTO CLIENTE (CODCLIENTE, NOME, EMAIL) VALUES ('00000042', 'Ana', 'ana@x.com.br')");
  run("UPDATE CLIENTE SET EMAIL = 'ana@y.com.br' WHERE CODCLIENTE = '00000042'");

  // Read back through a prepared statement and an output descriptor.
  TransactionBlock teb{&db, 0, nullptr};
  check(client_.start_multiple(status, &tr, 1, &teb), status, "start");
  isc_stmt_handle stmt = 0;
  check(client_.allocate(status, &db, &stmt), status, "allocate");
  alignas(XSQLDA) char da_storage[XSQLDA_LENGTH(2)] = {};
  auto* out = reinterpret_cast<XSQLDA*>(da_storage);
  out->version = SQLDA_VERSION1;
  out->sqln = 2;
  check(client_.prepare(status, &tr, &stmt, 0, "SELECT CODCLIENTE, EMAIL FROM CLIENTE", 1, out),
        status, "prepare");
  ASSERT_EQ(out->sqld, 2);
  char buffers[2][70] = {};
  short nulls[2] = {};
  for (int i = 0; i < 2; ++i) {
    XSQLVAR& var = out->sqlvar[i];
    ASSERT_EQ(var.sqltype & ~1, SQL_VARYING);
    ASSERT_LE(var.sqllen, 68);
    var.sqldata = buffers[i];
    var.sqlind = &nulls[i];
  }
  check(client_.execute(status, &tr, &stmt, 1, nullptr), status, "execute");
  ASSERT_EQ(client_.fetch(status, &stmt, 1, out), 0) << client_.message(status);
  auto text = [&](int i) {
    short length;
    std::memcpy(&length, buffers[i], sizeof length);
    return std::string(buffers[i] + sizeof(short), static_cast<size_t>(length));
  };
  EXPECT_EQ(text(0), "00000042");
  EXPECT_EQ(text(1), "ana@y.com.br");
  EXPECT_EQ(client_.fetch(status, &stmt, 1, out), 100);  // end of the rows
  check(client_.free_statement(status, &stmt, DSQL_drop), status, "free");
  check(client_.commit(status, &tr), status, "commit");
  check(client_.detach(status, &db), status, "detach");

  // The file is a database again after detaching: attach it once more.
  check(client_.attach(status, 0, path.c_str(), &db, 0, nullptr), status, "attach");
  check(client_.detach(status, &db), status, "detach");
}

}  // namespace
