#include "app/database/fb_client.h"

#include "app/database/fb_api.h"
#include "app/database/fb_errors.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <stdexcept>

#include "app/errors.h"
#include "app/text_encoding.h"
#include "unicode/utf8.h"

#ifdef _WIN32
// The three kernel32 entry points used to load the client library, declared
// here so that the portable core does not depend on the Windows headers.
extern "C" {
__declspec(dllimport) void* __stdcall LoadLibraryW(const wchar_t* name);
__declspec(dllimport) void* __stdcall GetProcAddress(void* module, const char* name);
__declspec(dllimport) int __stdcall FreeLibrary(void* module);
}
#else
#include <dlfcn.h>
#include <langinfo.h>

#include <clocale>
#endif

namespace app {

// Constants of the parameter blocks and statements, as the header names them.
namespace fb {
constexpr int16_t kSqlText = SQL_TEXT;
constexpr int16_t kSqlVarying = SQL_VARYING;
constexpr int16_t kSqldaVersion1 = SQLDA_VERSION1;
constexpr unsigned short kDsqlClose = DSQL_close;
constexpr unsigned short kDsqlDrop = DSQL_drop;
constexpr char kDpbVersion1 = isc_dpb_version1;
constexpr char kDpbUserName = isc_dpb_user_name;
constexpr char kDpbPassword = isc_dpb_password;
constexpr char kDpbLcCtype = isc_dpb_lc_ctype;
constexpr char kDpbSqlDialect = isc_dpb_sql_dialect;
constexpr char kDpbUtf8Filename = isc_dpb_utf8_filename;
constexpr char kInfoSqlRecords = isc_info_sql_records;
constexpr char kInfoEnd = isc_info_end;
constexpr char kInfoReqUpdateCount = isc_info_req_update_count;
}  // namespace fb

namespace {

#ifndef _WIN32
// The Linux client converts a database file name between UTF-8 and the C
// library's character type (LC_CTYPE) and refuses a name it cannot convert:
// in the "C" locale every letter outside ASCII gives "Invalid connection
// string". The program's names are UTF-8, so the character type is made
// UTF-8 when it is not; numbers and messages (the other categories) stay as
// they are.
void UseUtf8FileNames() {
  const char* codeset = nl_langinfo(CODESET);
  if (codeset != nullptr && std::strcmp(codeset, "UTF-8") == 0) return;
  if (std::setlocale(LC_CTYPE, "") != nullptr) {
    codeset = nl_langinfo(CODESET);
    if (codeset != nullptr && std::strcmp(codeset, "UTF-8") == 0) return;
  }
  std::setlocale(LC_CTYPE, "C.UTF-8");
}
#endif

void* OpenModule(const std::string& name) {
#ifdef _WIN32
  std::wstring wide(name.begin(), name.end());
  return LoadLibraryW(wide.c_str());
#else
  return dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
#endif
}

void* Symbol(void* module, const char* name) {
#ifdef _WIN32
  return GetProcAddress(module, name);
#else
  return dlsym(module, name);
#endif
}

void CloseModule(void* module) {
#ifdef _WIN32
  FreeLibrary(module);
#else
  dlclose(module);
#endif
}

template <typename F>
bool Resolve(void* module, const char* name, F& fn) {
  fn = reinterpret_cast<F>(Symbol(module, name));
  return fn != nullptr;
}

bool Failed(const fb::Status* status) {
  return status[0] == 1 && status[1] != 0;
}

// The library's text for an error status: its lines joined with "\n".
std::string ErrorText(const TFbApi& api, const fb::Status* status) {
  std::string text;
  char line[1024];
  auto add = [&](int32_t n) {
    if (n <= 0) return false;
    if (!text.empty()) text += "\n";
    text += line;
    return true;
  };
  if (api.interpret != nullptr) {
    const fb::Status* p = status;
    while (add(api.interpret(line, sizeof line, &p))) {
    }
  } else if (api.old_interprete != nullptr) {
    // The old entry point takes the vector without const; it only moves the
    // pointer along a copy.
    fb::Status copy[fb::kStatusLength];
    std::copy(status, status + fb::kStatusLength, copy);
    fb::Status* p = copy;
    while (add(api.old_interprete(line, &p))) {
    }
  }
  if (text.empty()) text = "Unknown Firebird error";
  if (!unicode::IsValidUtf8(text)) {
    std::string utf8;
    Win1252ToUtf8(text, utf8);
    return utf8;
  }
  return text;
}

// The error of a failed status: a Portuguese text for the causes the
// operator can act on, the library's own otherwise.
EIBError StatusError(const TFbApi& api, const fb::Status* status, const std::string& database_name,
                     TMomentoDoErro momento) {
  const TIBErrorDescription d =
      DescribeStatus(status, ErrorText(api, status), database_name, momento);
  return {d.message, api.sqlcode ? api.sqlcode(status) : 0, status[1], d.kind};
}

void Check(const TFbApi& api, const fb::Status* status, const std::string& database_name,
           TMomentoDoErro momento = TMomentoDoErro::meComBancoAberto) {
  if (Failed(status)) throw StatusError(api, status, database_name, momento);
}

fb::Handle ToHandle(uintptr_t h) {
#if defined(_LP64) || defined(__LP64__) || defined(_WIN64)
  return static_cast<fb::Handle>(h);
#else
  return reinterpret_cast<fb::Handle>(h);
#endif
}

uintptr_t FromHandle(fb::Handle h) {
#if defined(_LP64) || defined(__LP64__) || defined(_WIN64)
  return static_cast<uintptr_t>(h);
#else
  return reinterpret_cast<uintptr_t>(h);
#endif
}

void AppendDpb(std::string& dpb, char item, std::string_view value) {
  dpb.push_back(item);
  dpb.push_back(static_cast<char>(std::min<size_t>(value.size(), 255)));
  dpb.append(value.substr(0, 255));
}

}  // namespace

// ---- library -----------------------------------------------------------------

std::shared_ptr<TFbClientLibrary> TFbClientLibrary::Load(const std::vector<std::string>& names) {
#ifdef _WIN32
  const std::vector<std::string> defaults = {"gds32.dll", "fbclient.dll"};
#else
  const std::vector<std::string> defaults = {"libfbclient.so.2", "libfbclient.so"};
  UseUtf8FileNames();
#endif
  for (const auto& name : names.empty() ? defaults : names) {
    void* module = OpenModule(name);
    if (module == nullptr) continue;
    auto api = std::make_unique<TFbApi>();
    bool ok = Resolve(module, "isc_attach_database", api->attach_database) &&
              Resolve(module, "isc_detach_database", api->detach_database) &&
              Resolve(module, "isc_start_multiple", api->start_multiple) &&
              Resolve(module, "isc_commit_transaction", api->commit_transaction) &&
              Resolve(module, "isc_rollback_transaction", api->rollback_transaction) &&
              Resolve(module, "isc_dsql_allocate_statement", api->dsql_allocate_statement) &&
              Resolve(module, "isc_dsql_prepare", api->dsql_prepare) &&
              Resolve(module, "isc_dsql_describe_bind", api->dsql_describe_bind) &&
              Resolve(module, "isc_dsql_execute", api->dsql_execute) &&
              Resolve(module, "isc_dsql_execute2", api->dsql_execute2) &&
              Resolve(module, "isc_dsql_free_statement", api->dsql_free_statement) &&
              Resolve(module, "isc_dsql_sql_info", api->dsql_sql_info) &&
              Resolve(module, "isc_dsql_describe", api->dsql_describe) &&
              Resolve(module, "isc_dsql_fetch", api->dsql_fetch) &&
              Resolve(module, "isc_dsql_execute_immediate", api->dsql_execute_immediate) &&
              Resolve(module, "isc_sqlcode", api->sqlcode);
    // fb_interpret is Firebird's; older libraries only have isc_interprete.
    const bool has_fb = Resolve(module, "fb_interpret", api->interpret);
    const bool has_old = Resolve(module, "isc_interprete", api->old_interprete);
    Resolve(module, "fb_shutdown", api->shutdown);
    if (!ok || (!has_fb && !has_old)) {
      CloseModule(module);
      continue;
    }
    std::shared_ptr<TFbClientLibrary> lib(new TFbClientLibrary());
    lib->module_ = module;
    lib->api_ = std::move(api);
    lib->loaded_name_ = name;
    return lib;
  }
  throw EIBClientError(kFbLibraryMissingMessage);
}

void TFbClientLibrary::Shutdown() {
  // A zero timeout waits for the engine's threads to end.
  if (api_ != nullptr && api_->shutdown != nullptr) api_->shutdown(0, fb_shutrsn_app_stopped);
}

TFbClientLibrary::~TFbClientLibrary() {
  if (module_ != nullptr) CloseModule(module_);
}

// ---- database ----------------------------------------------------------------

TIBDatabase::TIBDatabase(std::shared_ptr<TFbClientLibrary> library)
    : library_(std::move(library)) {}

TIBDatabase::~TIBDatabase() {
  try {
    Close();
  } catch (...) {
    // Detaching at the end of the program: nothing left to report to.
  }
}

void TIBDatabase::SetParams(std::string user_name, std::string password) {
  user_name_ = std::move(user_name);
  password_ = std::move(password);
}

void TIBDatabase::Open() {
  if (Connected()) return;
  const TFbApi& api = library_->Api();
  std::string dpb(1, fb::kDpbVersion1);
  AppendDpb(dpb, fb::kDpbUserName, user_name_);
  AppendDpb(dpb, fb::kDpbPassword, password_);
  AppendDpb(dpb, fb::kDpbLcCtype, "WIN1252");
  dpb.append({fb::kDpbSqlDialect, 4, 1, 0, 0, 0});
  const bool ascii = std::all_of(database_name_.begin(), database_name_.end(),
                                 [](char c) { return static_cast<unsigned char>(c) < 0x80; });
  if (!ascii) dpb.append({fb::kDpbUtf8Filename, 0});
  fb::Status status[fb::kStatusLength] = {};
  fb::Handle handle{};
  if (database_name_.size() > 32767) throw EDatabaseError("Database name too long");
  api.attach_database(status, static_cast<short>(database_name_.size()), database_name_.c_str(),
                      &handle, static_cast<short>(dpb.size()), dpb.data());
  Check(api, status, database_name_, TMomentoDoErro::meAoAbrir);
  handle_ = FromHandle(handle);
}

void TIBDatabase::CreateDatabase(const std::string& charset) {
  if (Connected()) throw EDatabaseError("Database is already connected");
  auto quote = [](const std::string& s) {
    std::string out = "'";
    for (char c : s) {
      out.push_back(c);
      if (c == '\'') out.push_back('\'');
    }
    return out + "'";
  };
  const std::string sql = "CREATE DATABASE " + quote(database_name_) + " USER " +
                          quote(user_name_) + " PASSWORD " + quote(password_) +
                          " DEFAULT CHARACTER SET " + charset;
  const TFbApi& api = library_->Api();
  fb::Status status[fb::kStatusLength] = {};
  fb::Handle db{};
  fb::Handle tr{};
  api.dsql_execute_immediate(status, &db, &tr, static_cast<unsigned short>(sql.size()), sql.c_str(),
                             1, nullptr);
  Check(api, status, database_name_, TMomentoDoErro::meAoAbrir);
  handle_ = FromHandle(db);
}

void TIBDatabase::Close() {
  if (!Connected()) return;
  for (TIBTransaction* t : transactions_) {
    if (t->InTransaction()) t->Rollback();
  }
  const TFbApi& api = library_->Api();
  fb::Status status[fb::kStatusLength] = {};
  fb::Handle handle = ToHandle(handle_);
  api.detach_database(status, &handle);
  handle_ = 0;  // a failed detach leaves nothing usable either
  Check(api, status, database_name_);
}

// ---- transaction -------------------------------------------------------------

TIBTransaction::TIBTransaction(TIBDatabase& database) : database_(database) {
  database_.transactions_.push_back(this);
}

TIBTransaction::~TIBTransaction() {
  try {
    if (InTransaction()) Rollback();
  } catch (...) {
    // The attachment is gone; the server drops the transaction with it.
  }
  auto& list = database_.transactions_;
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
}

void TIBTransaction::StartTransaction() {
  if (InTransaction()) throw EDatabaseError("Transaction is active");
  if (!database_.Connected()) throw EDatabaseError(kDbNotOpenMessage);
  const TFbApi& api = database_.Library().Api();
  // The server's default transaction (snapshot, read-write, waiting for a
  // row another transaction has changed), but with the wait bounded: a row
  // held by another station's open transaction would otherwise stop the run
  // for as long as that station keeps it.
  const auto timeout = static_cast<uint32_t>(std::max<int32_t>(lock_timeout_seconds_, 1));
  const char tpb[] = {
      isc_tpb_version3,
      read_only_ ? static_cast<char>(isc_tpb_read) : static_cast<char>(isc_tpb_write),
      isc_tpb_concurrency,
      isc_tpb_wait,
      isc_tpb_lock_timeout,
      4,
      static_cast<char>(timeout & 0xFF),
      static_cast<char>((timeout >> 8) & 0xFF),
      static_cast<char>((timeout >> 16) & 0xFF),
      static_cast<char>((timeout >> 24) & 0xFF)};
  fb::Status status[fb::kStatusLength] = {};
  fb::Handle db = ToHandle(database_.Handle());
  fb::TransactionBlock block{&db, static_cast<ISC_LONG>(sizeof tpb), tpb};
  fb::Handle tr{};
  api.start_multiple(status, &tr, 1, &block);
  Check(api, status, database_.DatabaseName());
  handle_ = FromHandle(tr);
}

void TIBTransaction::Commit() {
  if (!InTransaction()) throw EDatabaseError("Transaction is not active");
  const TFbApi& api = database_.Library().Api();
  fb::Status status[fb::kStatusLength] = {};
  fb::Handle tr = ToHandle(handle_);
  api.commit_transaction(status, &tr);
  Check(api, status, database_.DatabaseName());
  handle_ = 0;
}

void TIBTransaction::Rollback() {
  if (!InTransaction()) throw EDatabaseError("Transaction is not active");
  const TFbApi& api = database_.Library().Api();
  fb::Status status[fb::kStatusLength] = {};
  fb::Handle tr = ToHandle(handle_);
  api.rollback_transaction(status, &tr);
  // Whatever the outcome, the handle is no longer a live transaction.
  handle_ = 0;
  Check(api, status, database_.DatabaseName());
}

void IniciaTransacao(TIBTransaction& transaction) {
  if (!transaction.InTransaction()) transaction.StartTransaction();
}

void ConfirmaTransacao(TIBTransaction& transaction) {
  if (transaction.InTransaction()) transaction.Commit();
}

void CancelaTransacao(TIBTransaction& transaction) {
  if (transaction.InTransaction()) transaction.Rollback();
}

// ---- statement ---------------------------------------------------------------

namespace {

bool IsNameChar(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' ||
         c == '$';
}

std::string Upper(std::string_view s) {
  std::string out(s);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  }
  return out;
}

// Replaces every ":NAME" outside literals, quoted names and comments with
// "?" and lists the names in order.
void ParseParams(std::string_view sql, std::string& out, std::vector<std::string>& names) {
  out.clear();
  names.clear();
  size_t i = 0;
  const size_t n = sql.size();
  while (i < n) {
    const char c = sql[i];
    if (c == '\'' || c == '"') {
      const size_t start = i++;
      while (i < n) {
        if (sql[i] == c) {
          if (i + 1 < n && sql[i + 1] == c) {
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        ++i;
      }
      out.append(sql.substr(start, i - start));
    } else if (c == '-' && i + 1 < n && sql[i + 1] == '-') {
      const size_t start = i;
      while (i < n && sql[i] != '\n')
        ++i;
      out.append(sql.substr(start, i - start));
    } else if (c == '/' && i + 1 < n && sql[i + 1] == '*') {
      const size_t start = i;
      const size_t end = sql.find("*/", i + 2);
      i = end == std::string_view::npos ? n : end + 2;
      out.append(sql.substr(start, i - start));
    } else if (c == ':' && i + 1 < n && IsNameChar(sql[i + 1])) {
      size_t j = i + 1;
      while (j < n && IsNameChar(sql[j]))
        ++j;
      names.push_back(Upper(sql.substr(i + 1, j - i - 1)));
      out.push_back('?');
      i = j;
    } else {
      out.push_back(c);
      ++i;
    }
  }
}

// `value` in the connection's character set, or EIBError (ekCaractere)
// naming the first character it cannot hold: replacing it would store an
// address other than the one in the sheet.
void ToConnectionText(std::string_view key, std::string_view value, std::string& out) {
  if (Utf8ToWin1252(value, out)) return;
  std::string message = "o valor de " + std::string(key) + " ";
  size_t i = 0;
  while (i < value.size()) {
    const size_t start = i;
    char32_t cp = 0;
    std::string one;
    if (!unicode::TryDecodeUtf8(value, i, cp)) {
      message += "não é um texto UTF-8 válido";
      break;
    }
    if (!Utf8ToWin1252(value.substr(start, i - start), one)) {
      char code[16];
      std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(cp));
      message += "tem o caractere \"" + std::string(value.substr(start, i - start)) + "\" (" +
                 code + "), que o banco de dados (WIN1252) não comporta";
      break;
    }
  }
  throw EIBError(message, -104, isc_transliteration_failed, TIBErrorKind::ekCaractere);
}

}  // namespace

std::string TextoDaConexao(std::string_view parametro, std::string_view value) {
  std::string out;
  ToConnectionText(parametro, value, out);
  return out;
}

// Every output column is fetched as nullable text: a text column in its own
// width (the engine fills the whole buffer of each row), any other in up to
// 1,000 bytes.
struct TIBSQL::TSaida {
  std::vector<unsigned char> storage;  // the XSQLDA
  std::vector<std::vector<char>> buffers;
  std::vector<int16_t> widths;
  std::vector<int16_t> nulls;
  int16_t count = 0;

  fb::XSQLDA* Da() { return reinterpret_cast<fb::XSQLDA*>(storage.data()); }
  // Column `i` of the row last fetched, as UTF-8 (nullopt for NULL).
  void Read(int i, std::optional<std::string>& value) const {
    if (nulls[static_cast<size_t>(i)] < 0) {
      value.reset();
      return;
    }
    const char* data = buffers[static_cast<size_t>(i)].data();
    const auto len = static_cast<uint16_t>(static_cast<unsigned char>(data[0]) |
                                           (static_cast<unsigned char>(data[1]) << 8));
    if (!value) value.emplace();
    const auto width = static_cast<uint16_t>(widths[static_cast<size_t>(i)]);
    Win1252ToUtf8(std::string_view(data + 2, std::min<uint16_t>(len, width)), *value);
  }
};

TIBSQL::TIBSQL(TIBDatabase& database, TIBTransaction& transaction)
    : database_(database), transaction_(transaction) {}

TIBSQL::~TIBSQL() {
  saida_.reset();
  try {
    FreeHandle();
  } catch (...) {
    // Freeing a statement of a lost attachment: the server has dropped it.
  }
}

namespace {

// Whether transaction `numero` is still active, asked in a transaction of its
// own (a fresh look at the monitoring tables); true when the server cannot
// tell, so that a row is then told as in use, the cautious reading.
bool TransacaoAtiva(TIBDatabase& database, int64_t numero) {
  try {
    TIBTransaction consulta(database);
    consulta.SetReadOnly(true);
    consulta.StartTransaction();
    TIBSQL q(database, consulta);
    q.SetSQL("SELECT COUNT(*) FROM MON$TRANSACTIONS WHERE MON$TRANSACTION_ID = " +
             std::to_string(numero));
    const auto linhas = q.SelectAll();
    consulta.Rollback();
    return linhas.size() != 1 || linhas[0].empty() || !linhas[0][0] || *linhas[0][0] != "0";
  } catch (const std::exception&) {
    return true;
  }
}

}  // namespace

void TIBSQL::ThrowIfError(const intptr_t* status) const {
  if (!Failed(status)) return;
  EIBError erro = StatusError(database_.Library().Api(), status, database_.DatabaseName(),
                              TMomentoDoErro::meComBancoAberto);
  // A conflict over a row: the engine says the same whether the other
  // transaction still holds it or committed its change after this one
  // began; the other transaction's state tells.
  if (erro.Kind() == TIBErrorKind::ekRegistroEmUso) {
    const int64_t outra = ConcurrentTransaction(status);
    if (outra > 0 && !TransacaoAtiva(database_, outra)) {
      erro = EIBError(kTextoAlteradoPorOutra, erro.SqlCode(), erro.IscCode(),
                      TIBErrorKind::ekAlteradoPorOutra);
    }
  }
  throw erro;
}

void TIBSQL::FreeHandle() {
  saida_.reset();
  if (handle_ == 0) return;
  fb::Status status[fb::kStatusLength] = {};
  fb::Handle h = ToHandle(handle_);
  handle_ = 0;
  if (database_.Connected()) {
    database_.Library().Api().dsql_free_statement(status, &h, fb::kDsqlDrop);
    ThrowIfError(status);
  }
}

void TIBSQL::SetSQL(std::string_view text) {
  FreeHandle();
  sql_.assign(text);
  ParseParams(sql_, sql_fb_, names_);
  values_.assign(names_.size(), std::string());
  nulls_.assign(names_.size(), 0);
  next_same_.assign(names_.size(), -1);
  for (size_t i = 0; i < names_.size(); ++i) {
    for (size_t j = i + 1; j < names_.size(); ++j) {
      if (names_[j] == names_[i]) {
        next_same_[i] = static_cast<int32_t>(j);
        break;
      }
    }
  }
}

void TIBSQL::SetSQLPositional(std::string_view text, std::vector<std::string> names) {
  FreeHandle();
  sql_.assign(text);
  sql_fb_ = sql_;
  names_ = std::move(names);
  for (std::string& name : names_)
    name = Upper(name);
  values_.assign(names_.size(), std::string());
  nulls_.assign(names_.size(), 0);
  // Each position on its own: SetParamAt sets that one only.
  next_same_.assign(names_.size(), -1);
}

void TIBSQL::Prepare() {
  if (handle_ != 0) return;
  if (!database_.Connected()) throw EDatabaseError(kDbNotOpenMessage);
  if (!transaction_.InTransaction()) throw EDatabaseError("Transaction is not active");
  if (sql_fb_.size() > 65535) throw EDatabaseError("SQL statement too long");
  // The XSQLDA counts its variables in 16 bits.
  if (names_.size() > static_cast<size_t>(INT16_MAX)) {
    throw EDatabaseError("SQL statement has too many parameters");
  }
  const TFbApi& api = database_.Library().Api();
  fb::Status status[fb::kStatusLength] = {};
  fb::Handle db = ToHandle(database_.Handle());
  fb::Handle tr = ToHandle(transaction_.Handle());
  fb::Handle stmt{};
  api.dsql_allocate_statement(status, &db, &stmt);
  ThrowIfError(status);
  handle_ = FromHandle(stmt);
  api.dsql_prepare(status, &tr, &stmt, static_cast<unsigned short>(sql_fb_.size()), sql_fb_.c_str(),
                   static_cast<unsigned short>(database_.SQLDialect()), nullptr);
  handle_ = FromHandle(stmt);
  if (Failed(status)) {
    EIBError error =
        StatusError(api, status, database_.DatabaseName(), TMomentoDoErro::meComBancoAberto);
    FreeHandle();
    throw error;
  }
  const auto n = static_cast<int16_t>(names_.size());
  in_sqlda_.assign(fb::XsqldaLength(n), 0);
  auto* da = reinterpret_cast<fb::XSQLDA*>(in_sqlda_.data());
  da->version = fb::kSqldaVersion1;
  da->sqln = static_cast<int16_t>(n);
  api.dsql_describe_bind(status, &stmt, 1, da);
  ThrowIfError(status);
  if (da->sqld != n) {
    FreeHandle();
    throw EDatabaseError("The statement has " + std::to_string(da->sqld) +
                         " parameters, but its text names " + std::to_string(n));
  }
  // Every parameter is sent as text in the connection's character set and
  // converted by the server to the column's type.
  for (int i = 0; i < n; ++i) {
    fb::XSQLVAR& v = da->sqlvar[i];
    const bool text = (v.sqltype & ~1) == fb::kSqlText || (v.sqltype & ~1) == fb::kSqlVarying;
    // Nullable, so that a parameter can be set to null; its indicator is
    // pointed at when the statement runs.
    v.sqltype = fb::kSqlText + 1;
    if (!text) v.sqlsubtype = 0;
    v.sqlscale = 0;
    v.sqlind = nullptr;
  }
}

void TIBSQL::SetParam(std::string_view name, std::string_view value) {
  const std::string key = Upper(name);
  bool found = false;
  for (size_t i = 0; i < names_.size(); ++i) {
    if (names_[i] != key) continue;
    ToConnectionText(key, value, values_[i]);
    nulls_[i] = 0;
    found = true;
  }
  if (!found) throw EDatabaseError("Parameter '" + std::string(name) + "' not found");
}

int32_t TIBSQL::ParamIndex(std::string_view name) const {
  const std::string key = Upper(name);
  for (size_t i = 0; i < names_.size(); ++i) {
    if (names_[i] == key) return static_cast<int32_t>(i);
  }
  throw EDatabaseError("Parameter '" + std::string(name) + "' not found");
}

void TIBSQL::SetParamAt(int32_t index, std::string_view value) {
  const std::string& key = names_.at(static_cast<size_t>(index));
  for (int32_t i = index; i >= 0; i = next_same_[static_cast<size_t>(i)]) {
    ToConnectionText(key, value, values_[static_cast<size_t>(i)]);
    nulls_[static_cast<size_t>(i)] = 0;
  }
}

void TIBSQL::SetParamNullAt(int32_t index) {
  if (index < 0 || static_cast<size_t>(index) >= names_.size()) {
    throw std::out_of_range("SetParamNullAt: no parameter " + std::to_string(index));
  }
  for (int32_t i = index; i >= 0; i = next_same_[static_cast<size_t>(i)]) {
    values_[static_cast<size_t>(i)].clear();
    nulls_[static_cast<size_t>(i)] = -1;
  }
}

void TIBSQL::SetParamConvertedAt(int32_t index, std::string_view connection_text) {
  const auto i = static_cast<size_t>(index);
  values_.at(i).assign(connection_text);
  nulls_[i] = 0;
}

void TIBSQL::BindParams() {
  auto* da = reinterpret_cast<fb::XSQLDA*>(in_sqlda_.data());
  for (size_t i = 0; i < names_.size(); ++i) {
    fb::XSQLVAR& v = da->sqlvar[i];
    if (values_[i].size() > 32767) throw EDatabaseError("Parameter value too long");
    v.sqldata = values_[i].data();
    v.sqllen = static_cast<int16_t>(values_[i].size());
    v.sqlind = &nulls_[i];
  }
}

void TIBSQL::ExecQuery() {
  Prepare();
  const TFbApi& api = database_.Library().Api();
  auto* da = reinterpret_cast<fb::XSQLDA*>(in_sqlda_.data());
  BindParams();
  fb::Status status[fb::kStatusLength] = {};
  fb::Handle tr = ToHandle(transaction_.Handle());
  fb::Handle stmt = ToHandle(handle_);
  api.dsql_execute(status, &tr, &stmt, 1, names_.empty() ? nullptr : da);
  ThrowIfError(status);
}

TIBSQL::TSaida& TIBSQL::Saida() {
  if (!saida_) {
    saida_ = std::make_unique<TSaida>();
    DescribeOutput(*saida_);
  }
  return *saida_;
}

void TIBSQL::DescribeOutput(TSaida& saida) {
  const TFbApi& api = database_.Library().Api();
  fb::Status status[fb::kStatusLength] = {};
  fb::Handle stmt = ToHandle(handle_);
  saida.storage.assign(fb::XsqldaLength(1), 0);
  saida.Da()->version = fb::kSqldaVersion1;
  saida.Da()->sqln = 1;
  api.dsql_describe(status, &stmt, 1, saida.Da());
  ThrowIfError(status);
  const int16_t n = saida.Da()->sqld;
  if (n > 1) {
    saida.storage.assign(fb::XsqldaLength(n), 0);
    saida.Da()->version = fb::kSqldaVersion1;
    saida.Da()->sqln = static_cast<int16_t>(n);
    api.dsql_describe(status, &stmt, 1, saida.Da());
    ThrowIfError(status);
  }
  constexpr int16_t kWidth = 1000;
  saida.count = n;
  saida.buffers.assign(static_cast<size_t>(n), {});
  saida.widths.assign(static_cast<size_t>(n), 0);
  saida.nulls.assign(static_cast<size_t>(n), 0);
  for (int i = 0; i < n; ++i) {
    fb::XSQLVAR& v = saida.Da()->sqlvar[i];
    const bool text = (v.sqltype & ~1) == fb::kSqlText || (v.sqltype & ~1) == fb::kSqlVarying;
    const int16_t width = text && v.sqllen > 0 && v.sqllen < kWidth ? v.sqllen : kWidth;
    saida.widths[static_cast<size_t>(i)] = width;
    saida.buffers[static_cast<size_t>(i)].assign(static_cast<size_t>(width) + 2, '\0');
    v.sqltype = fb::kSqlVarying + 1;
    v.sqlsubtype = 0;
    v.sqlscale = 0;
    v.sqllen = width;
    v.sqldata = saida.buffers[static_cast<size_t>(i)].data();
    v.sqlind = &saida.nulls[static_cast<size_t>(i)];
  }
}

std::vector<std::optional<std::string>> TIBSQL::ExecQueryReturning() {
  Prepare();
  const TFbApi& api = database_.Library().Api();
  TSaida& saida = Saida();
  auto* in = reinterpret_cast<fb::XSQLDA*>(in_sqlda_.data());
  BindParams();
  fb::Status status[fb::kStatusLength] = {};
  fb::Handle tr = ToHandle(transaction_.Handle());
  fb::Handle stmt = ToHandle(handle_);
  api.dsql_execute2(status, &tr, &stmt, 1, names_.empty() ? nullptr : in, saida.Da());
  ThrowIfError(status);
  std::vector<std::optional<std::string>> row(static_cast<size_t>(saida.count));
  for (int i = 0; i < saida.count; ++i)
    saida.Read(i, row[static_cast<size_t>(i)]);
  return row;
}

void TIBSQL::SelectEach(const TLinhaLida& linha) {
  Prepare();
  const TFbApi& api = database_.Library().Api();
  TSaida& saida = Saida();
  auto* in = reinterpret_cast<fb::XSQLDA*>(in_sqlda_.data());
  BindParams();
  fb::Status status[fb::kStatusLength] = {};
  fb::Handle tr = ToHandle(transaction_.Handle());
  fb::Handle stmt = ToHandle(handle_);
  api.dsql_execute(status, &tr, &stmt, 1, names_.empty() ? nullptr : in);
  ThrowIfError(status);
  // The cursor is closed on every way out (the statement is kept), also
  // when the caller stops early or throws.
  struct TFechaCursor {
    const TFbApi& api;
    fb::Handle& stmt;
    ~TFechaCursor() {
      fb::Status s[fb::kStatusLength] = {};
      api.dsql_free_statement(s, &stmt, fb::kDsqlClose);
    }
  } fecha{api, stmt};
  // One row's values, their strings reused from row to row.
  std::vector<std::optional<std::string>> row(static_cast<size_t>(saida.count));
  for (;;) {
    const fb::Status rc = api.dsql_fetch(status, &stmt, 1, saida.Da());
    if (rc == 100) break;
    ThrowIfError(status);
    for (int i = 0; i < saida.count; ++i)
      saida.Read(i, row[static_cast<size_t>(i)]);
    if (!linha(row)) break;
  }
}

std::vector<std::vector<std::optional<std::string>>> TIBSQL::SelectAll() {
  std::vector<std::vector<std::optional<std::string>>> rows;
  SelectEach([&](const std::vector<std::optional<std::string>>& row) {
    rows.push_back(row);
    return true;
  });
  return rows;
}

int64_t TIBSQL::RowsAffected() {
  if (handle_ == 0) return 0;
  const TFbApi& api = database_.Library().Api();
  fb::Status status[fb::kStatusLength] = {};
  fb::Handle stmt = ToHandle(handle_);
  const char items[] = {fb::kInfoSqlRecords, fb::kInfoEnd};
  char buffer[64] = {};
  api.dsql_sql_info(status, &stmt, sizeof items, items, sizeof buffer, buffer);
  ThrowIfError(status);
  auto le = [](const char* p, int bytes) {
    int64_t v = 0;
    for (int k = bytes - 1; k >= 0; --k)
      v = (v << 8) | static_cast<unsigned char>(p[k]);
    return v;
  };
  if (buffer[0] != fb::kInfoSqlRecords) return 0;
  const int64_t total = le(buffer + 1, 2);
  const char* p = buffer + 3;
  const char* end = p + std::min<int64_t>(total, static_cast<int64_t>(sizeof buffer) - 3);
  while (end - p >= 3 && *p != fb::kInfoEnd) {
    const char item = p[0];
    const int len = static_cast<int>(le(p + 1, 2));
    if (len > end - p - 3) break;  // compared as lengths: no pointer past the buffer
    if (item == fb::kInfoReqUpdateCount) return le(p + 3, len);
    p += 3 + len;
  }
  return 0;
}

}  // namespace app
