// The database components of the main window, as its stored description
// creates them: TIBDatabase (dbVortana) and TIBTransaction (DBTransaction),
// components over the Firebird client objects of app/database/fb_client.h.
//
//   object dbVortana: TIBDatabase
//     Params = ('user_name=SYSDBA' 'password=...')
//     LoginPrompt = False
//     DefaultTransaction = 'DBTransaction'
//     SQLDialect = 1
//   end
//   object DBTransaction: TIBTransaction
//     DefaultDatabase = 'dbVortana'
//   end
//
// Creating a TIBDatabase loads the client library; when it cannot be loaded
// the creation throws EIBClientError, and with it the creation of the window
// that describes it. No login dialog exists: the parameters always supply the
// credentials. The transaction is made on its database when DefaultDatabase
// names it (the database must come first in the description).
#pragma once

#include <memory>
#include <string>

#include "app/database/fb_client.h"
#include "framework/component.h"

class TIBTransactionComponente;

class TIBDatabaseComponente : public fw::TComponent {
 public:
  explicit TIBDatabaseComponente(fw::TComponent* owner);
  ~TIBDatabaseComponente() override;
  FW_CLASS_INFO(TIBDatabaseComponente)

  // "user_name=..." and "password=..." lines (CR LF between lines).
  std::wstring Params() const { return params_; }
  void SetParams(const std::wstring& text);
  bool LoginPrompt() const { return login_prompt_; }
  void SetLoginPrompt(bool value) { login_prompt_ = value; }
  std::wstring DefaultTransactionName() const { return default_transaction_; }
  void SetDefaultTransactionName(const std::wstring& name) { default_transaction_ = name; }
  int32_t IdleTimer() const { return idle_timer_; }
  void SetIdleTimer(int32_t ms) { idle_timer_ = ms; }
  // The client objects speak dialect 1 only; another stored value is refused.
  int32_t SQLDialect() const { return banco_->SQLDialect(); }
  void SetSQLDialect(int32_t dialect);
  bool Connected() const { return banco_->Connected(); }
  void SetConnected(bool value);
  std::wstring DatabaseName() const;
  void SetDatabaseName(const std::wstring& name);

  // The user and password taken from Params.
  const std::string& UserName() const { return user_name_; }
  const std::string& Password() const { return password_; }

  app::TIBDatabase& Banco() { return *banco_; }
  // The transaction named by DefaultTransaction, among the owner's components.
  TIBTransactionComponente* DefaultTransaction() const;

 private:
  std::unique_ptr<app::TIBDatabase> banco_;
  std::wstring params_;
  std::string user_name_;
  std::string password_;
  bool login_prompt_ = true;
  std::wstring default_transaction_;
  int32_t idle_timer_ = 0;
};

class TIBTransactionComponente : public fw::TComponent {
 public:
  explicit TIBTransactionComponente(fw::TComponent* owner);
  ~TIBTransactionComponente() override;
  FW_CLASS_INFO(TIBTransactionComponente)

  std::wstring DefaultDatabaseName() const { return default_database_; }
  // Finds the named TIBDatabase among the owner's components and makes the
  // transaction on it; throws fw::Exception when there is none.
  void SetDefaultDatabaseName(const std::wstring& name);
  bool Active() const { return InTransaction(); }
  bool InTransaction() const { return transacao_ && transacao_->InTransaction(); }

  // Throws fw::Exception when no database was given.
  app::TIBTransaction& Transacao();
  TIBDatabaseComponente* DefaultDatabase() const { return banco_; }

 protected:
  void Notification(fw::TComponent* component, fw::TOperation operation) override;

 private:
  std::wstring default_database_;
  TIBDatabaseComponente* banco_ = nullptr;
  std::unique_ptr<app::TIBTransaction> transacao_;
};

// Makes the two classes known to the description reader (once).
void RegistraComponentesBanco();
