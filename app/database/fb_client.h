// Firebird client: the C API (isc_*) loaded at run time, and the three
// objects the updater uses over it.
//
//   auto lib = app::TFbClientLibrary::Load();   // throws EIBClientError:
//     "InterBase library gds32.dll not found in the path. Please install
//      InterBase to use this functionality"
//   app::TIBDatabase db(lib);                   // user SYSDBA, stored password,
//   db.SetDatabaseName(path); db.Open();        // dialect 1, no prompt
//   app::TIBTransaction tr(db);
//   tr.StartTransaction();                      // "Cannot perform operation --
//                                               //  DB is not open" if detached
//   app::TIBSQL q(db, tr);
//   q.SetSQL("UPDATE T SET A = :PA WHERE B = :PB");
//   q.ParamByName("PA") = "x"; q.ParamByName("PB") = "y";  // or SetParam
//   q.ExecQuery();                              // prepares on first use
//   tr.Commit();
//
// Natively the library is libfbclient.so.2; on Windows gds32.dll, then
// fbclient.dll. Errors of the library throw EIBError: for the causes an
// operator can act on (a row in use by another station, a database without
// the business system's tables, a file that cannot be opened, a full disk) a
// Portuguese text and a kind (app/database/fb_errors.h); otherwise the
// library's own text (the lines of fb_interpret joined with "\n").
//
// Texts: the program's strings are UTF-8. The connection character set is
// WIN1252 (the code page of the business system's data): parameters are
// converted from UTF-8 to Windows-1252 before they are sent, so an accented
// address arrives unchanged in a WIN1252 column and as Windows-1252 bytes in
// a column without character set (NONE). A character that Windows-1252 cannot
// hold throws EIBError (ekCaractere, naming it) instead of being replaced.
//
// A transaction still active when its object is destroyed is rolled back;
// a statement is freed with its object; a database detaches on destruction.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace app {

inline constexpr const char* kFbLibraryMissingMessage =
    "InterBase library gds32.dll not found in the path. Please install InterBase to use this "
    "functionality";
inline constexpr const char* kDbNotOpenMessage = "Cannot perform operation -- DB is not open";
// How long a run waits for a client that another station is changing.
inline constexpr int32_t kLockTimeoutSeconds = 30;

struct TFbApi;  // the resolved entry points (fb_client.cpp)

class TFbClientLibrary {
 public:
  // Loads the first library of `names` that loads and exports the API;
  // the default list is the platform's. Throws EIBClientError.
  static std::shared_ptr<TFbClientLibrary> Load(const std::vector<std::string>& names = {});
  ~TFbClientLibrary();
  TFbClientLibrary(const TFbClientLibrary&) = delete;
  TFbClientLibrary& operator=(const TFbClientLibrary&) = delete;

  const TFbApi& Api() const { return *api_; }
  const std::string& LoadedName() const { return loaded_name_; }

  // Stops the client and, with the embedded engine, the engine's own
  // threads, waiting for them; for the end of a process, when every
  // attachment of every user of the library is closed (it acts on the whole
  // process, not on this object). Nothing happens with a client that has no
  // such call.
  void Shutdown();

 private:
  TFbClientLibrary() = default;
  void* module_ = nullptr;
  std::unique_ptr<TFbApi> api_;
  std::string loaded_name_;
};

class TIBTransaction;

class TIBDatabase {
 public:
  explicit TIBDatabase(std::shared_ptr<TFbClientLibrary> library);
  ~TIBDatabase();
  TIBDatabase(const TIBDatabase&) = delete;
  TIBDatabase& operator=(const TIBDatabase&) = delete;

  // Stored settings: "user_name=SYSDBA", "password=quartzelm", dialect 1.
  void SetDatabaseName(std::string name) { database_name_ = std::move(name); }
  const std::string& DatabaseName() const { return database_name_; }
  void SetParams(std::string user_name, std::string password);
  int SQLDialect() const { return 1; }

  void Open();  // attaches DatabaseName; no-op when connected
  // Creates a new database file at DatabaseName (SQL dialect 1, the stored
  // user and password, default character set `charset`) and stays attached.
  void CreateDatabase(const std::string& charset = "NONE");
  void Close();  // rolls back an active transaction, then detaches
  bool Connected() const { return handle_ != 0; }

  TFbClientLibrary& Library() const { return *library_; }
  // The attachment handle (0 when detached), for the transaction and statements.
  uintptr_t& Handle() { return handle_; }

 private:
  friend class TIBTransaction;
  std::shared_ptr<TFbClientLibrary> library_;
  std::string database_name_;
  std::string user_name_ = "SYSDBA";
  std::string password_ = "quartzelm";
  uintptr_t handle_ = 0;
  std::vector<TIBTransaction*> transactions_;
};

class TIBTransaction {
 public:
  explicit TIBTransaction(TIBDatabase& database);
  ~TIBTransaction();
  TIBTransaction(const TIBTransaction&) = delete;
  TIBTransaction& operator=(const TIBTransaction&) = delete;

  bool InTransaction() const { return handle_ != 0; }
  // Starts with the server's default behaviour (snapshot, read-write, wait
  // for rows changed by another transaction), the wait bounded by the lock
  // timeout: then the statement fails with EIBError ekRegistroEmUso. Throws
  // EDatabaseError if the database is not connected, EIBError if already
  // active or if the server refuses.
  void StartTransaction();
  // Seconds a statement waits for a row another transaction holds (from the
  // next start on); 30 by default, at least 1.
  void SetLockTimeout(int32_t seconds) { lock_timeout_seconds_ = seconds; }
  int32_t LockTimeout() const { return lock_timeout_seconds_; }
  // A read-only transaction (from the next start on): it changes nothing
  // and holds no row, for reports that only look.
  void SetReadOnly(bool read_only) { read_only_ = read_only; }
  void Commit();
  void Rollback();

  TIBDatabase& Database() const { return database_; }
  uintptr_t& Handle() { return handle_; }

 private:
  friend class TIBDatabase;
  TIBDatabase& database_;
  uintptr_t handle_ = 0;
  int32_t lock_timeout_seconds_ = kLockTimeoutSeconds;
  bool read_only_ = false;
};

// The transaction operations of the main window: each first asks whether the
// transaction is active and does nothing when the call does not apply.
void IniciaTransacao(TIBTransaction& transaction);
void ConfirmaTransacao(TIBTransaction& transaction);
void CancelaTransacao(TIBTransaction& transaction);

// `value` (UTF-8) in the connection's character set, Windows-1252; a
// character it cannot hold throws EIBError (ekCaractere) naming the parameter
// `parametro` and the character, as SetParam would.
std::string TextoDaConexao(std::string_view parametro, std::string_view value);

class TIBSQL {
 public:
  TIBSQL(TIBDatabase& database, TIBTransaction& transaction);
  ~TIBSQL();
  TIBSQL(const TIBSQL&) = delete;
  TIBSQL& operator=(const TIBSQL&) = delete;

  // Assigning the text discards the previous preparation and makes the
  // parameters anew from the ":NAME" markers of the text (outside quotes
  // and comments); their values start empty.
  void SetSQL(std::string_view text);
  // A text whose parameters are "?" markers, named `names` in order (for
  // ParamIndex and the messages of SetParamAt): an EXECUTE BLOCK, in whose
  // body ":NAME" is one of the block's own variables.
  void SetSQLPositional(std::string_view text, std::vector<std::string> names);
  const std::string& SQL() const { return sql_; }
  void Prepare();  // no-op when prepared
  bool Prepared() const { return handle_ != 0; }
  int32_t ParamCount() const { return static_cast<int32_t>(names_.size()); }
  // Sets every parameter called `name` (case-insensitive) to the string;
  // throws EDatabaseError "Parameter '%s' not found" if there is none.
  void SetParam(std::string_view name, std::string_view value);
  // Position of the first parameter called `name` (for SetParamAt), or the
  // same error as SetParam.
  int32_t ParamIndex(std::string_view name) const;
  // Sets the parameter at `index` and every other one with its name.
  void SetParamAt(int32_t index, std::string_view value);
  // Sets them to null instead.
  void SetParamNullAt(int32_t index);
  // Sets the parameter at `index` alone to a value already in the
  // connection's character set (from TextoDaConexao).
  void SetParamConvertedAt(int32_t index, std::string_view connection_text);
  // Runs the statement (preparing it first if needed). Returns no rows.
  void ExecQuery();
  // Runs a statement that returns one row of output parameters (an EXECUTE
  // PROCEDURE, an EXECUTE BLOCK without SUSPEND) in one call, and returns
  // them as SelectAll returns a row.
  std::vector<std::optional<std::string>> ExecQueryReturning();
  // Runs a statement that returns rows and fetches them all, every column
  // as text of up to 1,000 bytes (UTF-8; NULL as std::nullopt).
  std::vector<std::vector<std::optional<std::string>>> SelectAll();
  // The same rows one at a time, without keeping them: `linha` gets each
  // row's values (valid during the call) and returns false to stop there.
  using TLinhaLida = std::function<bool(const std::vector<std::optional<std::string>>&)>;
  void SelectEach(const TLinhaLida& linha);
  // Rows changed by the last ExecQuery.
  int64_t RowsAffected();
  void FreeHandle();

 private:
  void ThrowIfError(const intptr_t* status) const;
  // Points the input XSQLDA at the values and null indicators.
  void BindParams();
  // The described output columns, each bound to a text buffer of its own:
  // described once per preparation.
  struct TSaida;
  TSaida& Saida();
  void DescribeOutput(TSaida& saida);

  TIBDatabase& database_;
  TIBTransaction& transaction_;
  std::string sql_;                  // as assigned
  std::string sql_fb_;               // with "?" in place of ":NAME"
  std::vector<std::string> names_;   // parameter name per position (upper case)
  std::vector<std::string> values_;  // Windows-1252 bytes per position
  std::vector<int16_t> nulls_;       // null indicator per position (-1: null)
  // The next position with the same name, or -1: SetParamAt follows it
  // instead of comparing names (statements with hundreds of parameters).
  std::vector<int32_t> next_same_;
  uintptr_t handle_ = 0;
  std::vector<unsigned char> in_sqlda_;  // XSQLDA storage
  std::unique_ptr<TSaida> saida_;
};

}  // namespace app
