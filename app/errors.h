// Exceptions of the updater core. Every one carries a UTF-8 message meant for
// the operator's error box; the window shows what() as it is.
//
//   EPlanilhaError  the workbook cannot be opened or read (Portuguese texts)
//   EImportacaoRecusada  the import refused its size before touching the
//                   staging table or the progress display (Portuguese)
//   EDatabaseError  a dataset or connection is used in a state that does not
//                   allow it ("cdsTabelaTemp: Field '46' not found",
//                   "Cannot perform operation -- DB is not open")
//   EIBError        the Firebird client library reported an error; the text is
//                   the library's own; SqlCode() and IscCode() for callers
//   EIBClientError  the client library itself could not be loaded
//   EConvertError   a text is not a valid number ("'%s' is not a valid integer value")
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

class EIBError : public EDatabaseError {
 public:
  EIBError(const std::string& message, int32_t sql_code, intptr_t isc_code)
      : EDatabaseError(message), sql_code_(sql_code), isc_code_(isc_code) {}
  int32_t SqlCode() const { return sql_code_; }
  intptr_t IscCode() const { return isc_code_; }

 private:
  int32_t sql_code_;
  intptr_t isc_code_;
};

class EIBClientError : public EDatabaseError {
 public:
  using EDatabaseError::EDatabaseError;
};

class EConvertError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace app
