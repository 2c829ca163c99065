// Exceptions of the updater core. Every one carries a UTF-8 message meant for
// the operator's error box; the window shows what() as it is.
//
//   EPlanilhaError  the workbook cannot be opened or read (Portuguese texts)
//   EImportacaoRecusada  the import refused its size before touching the
//                   staging table or the progress display (Portuguese)
//   EDatabaseError  a dataset or connection is used in a state that does not
//                   allow it ("cdsTabelaTemp: Field '46' not found",
//                   "Cannot perform operation -- DB is not open")
//   EIBError        the Firebird client library reported an error: a Portuguese
//                   text for the causes an operator can act on (Kind()), the
//                   library's own otherwise; SqlCode() and IscCode() for callers
//   EIBClientError  the client library itself could not be loaded
//   EConvertError   a text is not a valid number ("'%s' is not a valid integer value")
//   EHistoricoError a run record cannot be written, or one given to undo is
//                   damaged, of another database or already undone (Portuguese)
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace app {

class EPlanilhaError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Nothing of the run has happened yet, so the window gives the operator
// its controls back.
class EImportacaoRecusada : public EPlanilhaError {
 public:
  using EPlanilhaError::EPlanilhaError;
};

class EDatabaseError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// What a Firebird error means for the operator (app/database/fb_errors.h).
enum class TIBErrorKind {
  ekOutro,             // anything else: the library's own text
  ekRegistroEmUso,     // a row held by another station's open transaction
  ekAlteradoPorOutra,  // a row another station changed and committed after this transaction began
  ekConexaoPerdida,    // the connection to the server was lost (server stopped, network down)
  ekNaoEVortana,       // a table or column the program needs is missing
  ekArquivo,           // the database file cannot be opened or read
  ekDiscoCheio,        // the disk of the database is full
  ekCaractere,         // a value has a character the connection's WIN1252 cannot hold
};

class EIBError : public EDatabaseError {
 public:
  EIBError(const std::string& message, int32_t sql_code, intptr_t isc_code,
           TIBErrorKind kind = TIBErrorKind::ekOutro)
      : EDatabaseError(message), sql_code_(sql_code), isc_code_(isc_code), kind_(kind) {}
  int32_t SqlCode() const { return sql_code_; }
  intptr_t IscCode() const { return isc_code_; }
  TIBErrorKind Kind() const { return kind_; }

 private:
  int32_t sql_code_;
  intptr_t isc_code_;
  TIBErrorKind kind_;
};

class EIBClientError : public EDatabaseError {
 public:
  using EDatabaseError::EDatabaseError;
};

class EConvertError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class EHistoricoError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace app
