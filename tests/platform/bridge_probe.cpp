// Windows program driven by bridge_test.sh: loads gds32.dll, attaches the
// database given on the command line and sets one client's e-mail through a
// parameterised UPDATE in a transaction, then commits.
//   bridge_probe DATABASE CODE EMAIL
// Exit status 0 on success; 1 with the client library's message on failure.
#include <windows.h>

#include <ibase.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

struct Api {
  decltype(&isc_attach_database) attach;
  decltype(&isc_detach_database) detach;
  decltype(&isc_start_transaction) start;
  decltype(&isc_commit_transaction) commit;
  decltype(&isc_rollback_transaction) rollback;
  decltype(&isc_dsql_allocate_statement) allocate;
  decltype(&isc_dsql_prepare) prepare;
  decltype(&isc_dsql_describe_bind) describe_bind;
  decltype(&isc_dsql_execute) execute;
  decltype(&isc_dsql_free_statement) free_statement;
  decltype(&fb_interpret) interpret;
};

template <typename F>
bool Load(HMODULE lib, F& fn, const char* name) {
  fn = reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(lib, name)));
  if (!fn) std::fprintf(stderr, "gds32.dll has no %s\n", name);
  return fn != nullptr;
}

int Fail(const Api& api, const ISC_STATUS* status, const char* what) {
  std::fprintf(stderr, "%s failed:", what);
  char buffer[512];
  const ISC_STATUS* p = status;
  while (api.interpret(buffer, sizeof buffer, &p) > 0)
    std::fprintf(stderr, " %s", buffer);
  std::fprintf(stderr, "\n");
  return 1;
}

// Points a parameter at a string, as a CHAR of its length.
void BindText(XSQLVAR& var, const std::string& text, short& null_flag) {
  var.sqltype = SQL_TEXT | 1;
  var.sqllen = static_cast<ISC_SHORT>(text.size());
  var.sqldata = const_cast<char*>(text.data());
  null_flag = 0;
  var.sqlind = &null_flag;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: bridge_probe DATABASE CODE EMAIL\n");
    return 2;
  }
  HMODULE lib = LoadLibraryW(L"gds32.dll");
  if (!lib) {
    std::fprintf(stderr, "gds32.dll not found (error %lu)\n", GetLastError());
    return 1;
  }
  Api api{};
  if (!(Load(lib, api.attach, "isc_attach_database") &&
        Load(lib, api.detach, "isc_detach_database") &&
        Load(lib, api.start, "isc_start_transaction") &&
        Load(lib, api.commit, "isc_commit_transaction") &&
        Load(lib, api.rollback, "isc_rollback_transaction") &&
        Load(lib, api.allocate, "isc_dsql_allocate_statement") &&
        Load(lib, api.prepare, "isc_dsql_prepare") &&
        Load(lib, api.describe_bind, "isc_dsql_describe_bind") &&
        Load(lib, api.execute, "isc_dsql_execute") &&
        Load(lib, api.free_statement, "isc_dsql_free_statement") &&
        Load(lib, api.interpret, "fb_interpret"))) {
    return 1;
  }

  ISC_STATUS_ARRAY status{};
  isc_db_handle db = 0;
  const char dpb[] = {isc_dpb_version1,
                      isc_dpb_user_name,
                      6,
                      'S',
                      'Y',
                      'S',
                      'D',
                      'B',
                      'A',
                      isc_dpb_sql_dialect,
                      1,
                      1};
  if (api.attach(status, 0, argv[1], &db, sizeof dpb, dpb)) return Fail(api, status, "attach");

  isc_tr_handle tr = 0;
  if (api.start(status, &tr, 1, &db, 0, nullptr)) return Fail(api, status, "start transaction");
  isc_stmt_handle stmt = 0;
  if (api.allocate(status, &db, &stmt)) return Fail(api, status, "allocate");
  const char* sql = "UPDATE CLIENTE SET EMAIL = ? WHERE CODCLIENTE = ?";
  if (api.prepare(status, &tr, &stmt, 0, sql, 1, nullptr)) return Fail(api, status, "prepare");

  alignas(XSQLDA) char storage[XSQLDA_LENGTH(2)] = {};
  auto* in = reinterpret_cast<XSQLDA*>(storage);
  in->version = SQLDA_VERSION1;
  in->sqln = 2;
  if (api.describe_bind(status, &stmt, 1, in)) return Fail(api, status, "describe bind");
  if (in->sqld != 2) {
    std::fprintf(stderr, "expected 2 parameters, got %d\n", in->sqld);
    return 1;
  }
  const std::string email = argv[3], code = argv[2];
  short nulls[2];
  BindText(in->sqlvar[0], email, nulls[0]);
  BindText(in->sqlvar[1], code, nulls[1]);
  if (api.execute(status, &tr, &stmt, 1, in)) {
    Fail(api, status, "execute");
    api.rollback(status, &tr);
    return 1;
  }
  if (api.free_statement(status, &stmt, DSQL_drop)) return Fail(api, status, "free");
  if (api.commit(status, &tr)) return Fail(api, status, "commit");
  if (api.detach(status, &db)) return Fail(api, status, "detach");
  std::printf("updated %s\n", code.c_str());
  return 0;
}
