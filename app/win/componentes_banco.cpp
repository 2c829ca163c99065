#include "app/win/componentes_banco.h"

#include "framework/reader.h"
#include "framework/strings.h"

// --- TIBDatabaseComponente ------------------------------------------------------

TIBDatabaseComponente::TIBDatabaseComponente(fw::TComponent* owner) : fw::TComponent(owner) {
  // The client library is loaded here, so a window that holds a database
  // cannot be created without it.
  banco_ = std::make_unique<app::TIBDatabase>(app::TFbClientLibrary::Load());
  user_name_ = "SYSDBA";
}

TIBDatabaseComponente::~TIBDatabaseComponente() = default;

const fw::TClassInfo& TIBDatabaseComponente::StaticClassInfo() {
  static const fw::TClassInfo info =
      fw::TClassBuilder<TIBDatabaseComponente>("TIBDatabase", fw::TComponent::StaticClassInfo())
          .Str("Params", &TIBDatabaseComponente::Params, &TIBDatabaseComponente::SetParams)
          .Bool("LoginPrompt", &TIBDatabaseComponente::LoginPrompt,
                &TIBDatabaseComponente::SetLoginPrompt)
          .Str("DefaultTransaction", &TIBDatabaseComponente::DefaultTransactionName,
               &TIBDatabaseComponente::SetDefaultTransactionName)
          .Int("IdleTimer", &TIBDatabaseComponente::IdleTimer, &TIBDatabaseComponente::SetIdleTimer)
          .Int("SQLDialect", &TIBDatabaseComponente::SQLDialect,
               &TIBDatabaseComponente::SetSQLDialect)
          .Str("DatabaseName", &TIBDatabaseComponente::DatabaseName,
               &TIBDatabaseComponente::SetDatabaseName)
          .Bool("Connected", &TIBDatabaseComponente::Connected,
                &TIBDatabaseComponente::SetConnected)
          .Build();
  return info;
}

void TIBDatabaseComponente::SetParams(const std::wstring& text) {
  params_ = text;
  std::string user, password;
  size_t start = 0;
  const std::string all = fw::WideToUtf8(text);
  while (start <= all.size()) {
    size_t end = all.find_first_of("\r\n", start);
    if (end == std::string::npos) end = all.size();
    std::string line = all.substr(start, end - start);
    size_t eq = line.find('=');
    if (eq != std::string::npos) {
      std::string key = line.substr(0, eq);
      if (fw::SameText(key, "user_name")) user = line.substr(eq + 1);
      if (fw::SameText(key, "password")) password = line.substr(eq + 1);
    }
    start = end + 1;
  }
  user_name_ = user;
  password_ = password;
  banco_->SetParams(user_name_, password_);
}

void TIBDatabaseComponente::SetSQLDialect(int32_t dialect) {
  if (dialect != banco_->SQLDialect()) {
    throw fw::Exception("dbVortana: SQL dialect " + std::to_string(dialect) + " is not supported");
  }
}

void TIBDatabaseComponente::SetConnected(bool value) {
  if (value) {
    banco_->Open();
  } else {
    banco_->Close();
  }
}

std::wstring TIBDatabaseComponente::DatabaseName() const {
  return fw::Utf8ToWide(banco_->DatabaseName());
}

void TIBDatabaseComponente::SetDatabaseName(const std::wstring& name) {
  banco_->SetDatabaseName(fw::WideToUtf8(name));
}

TIBTransactionComponente* TIBDatabaseComponente::DefaultTransaction() const {
  if (Owner() == nullptr || default_transaction_.empty()) return nullptr;
  return dynamic_cast<TIBTransactionComponente*>(
      Owner()->FindComponent(fw::WideToUtf8(default_transaction_)));
}

// --- TIBTransactionComponente ---------------------------------------------------

TIBTransactionComponente::TIBTransactionComponente(fw::TComponent* owner) : fw::TComponent(owner) {}

TIBTransactionComponente::~TIBTransactionComponente() = default;

const fw::TClassInfo& TIBTransactionComponente::StaticClassInfo() {
  static const fw::TClassInfo info =
      fw::TClassBuilder<TIBTransactionComponente>("TIBTransaction",
                                                  fw::TComponent::StaticClassInfo())
          .Str("DefaultDatabase", &TIBTransactionComponente::DefaultDatabaseName,
               &TIBTransactionComponente::SetDefaultDatabaseName)
          .Bool("Active", &TIBTransactionComponente::Active)
          .Build();
  return info;
}

void TIBTransactionComponente::SetDefaultDatabaseName(const std::wstring& name) {
  auto* banco =
      Owner() == nullptr
          ? nullptr
          : dynamic_cast<TIBDatabaseComponente*>(Owner()->FindComponent(fw::WideToUtf8(name)));
  if (banco == nullptr) {
    throw fw::Exception(Name() + ": no database called '" + fw::WideToUtf8(name) + "'");
  }
  transacao_.reset();  // rolls back what the previous database had active
  if (banco_ != nullptr) RemoveFreeNotification(banco_);
  banco_ = banco;
  FreeNotification(banco_);
  default_database_ = name;
  transacao_ = std::make_unique<app::TIBTransaction>(banco_->Banco());
}

app::TIBTransaction& TIBTransactionComponente::Transacao() {
  if (!transacao_) throw fw::Exception(Name() + ": no database");
  return *transacao_;
}

void TIBTransactionComponente::Notification(fw::TComponent* component, fw::TOperation operation) {
  fw::TComponent::Notification(component, operation);
  if (operation == fw::TOperation::opRemove && component == banco_) {
    transacao_.reset();
    banco_ = nullptr;
    default_database_.clear();
  }
}

void RegistraComponentesBanco() {
  static const bool registrados = [] {
    fw::RegisterComponentClass<TIBDatabaseComponente>();
    fw::RegisterComponentClass<TIBTransactionComponente>();
    return true;
  }();
  (void)registrados;
}
