// Firebird's error status vectors turned into what the operator can act on:
// a kind and a Portuguese text for the usual causes (a row in use by another
// station or changed by one since this transaction began, a database without
// the business system's tables, a file that cannot be opened, read or
// written, a full disk, a lost connection), the library's own text for the
// rest.
//
//   auto d = app::DescribeStatus(status, library_text, "C:\\dados\\VORTANA.FDB",
//                                app::TMomentoDoErro::meComBancoAberto);
//   throw app::EIBError(d.message, sqlcode, status[1], d.kind);
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "app/errors.h"

namespace app {

struct TIBErrorDescription {
  TIBErrorKind kind;
  std::string message;
};

inline constexpr const char* kTextoRegistroEmUso =
    "o registro está em uso por outra estação, que o alterou e ainda não gravou a alteração";
inline constexpr const char* kTextoAlteradoPorOutra =
    "o registro foi alterado por outra estação, que já gravou a alteração, depois do início desta "
    "operação";

// The number of the other transaction in a conflict over a row ("concurrent
// transaction number is 5"), or 0 when the vector names none.
int64_t ConcurrentTransaction(const intptr_t* status);

// When the failed call was made: attaching the database (an error of the
// file means it could not be opened) or with the database open (the same
// error is one of reading or writing it).
enum class TMomentoDoErro { meAoAbrir, meComBancoAberto };

// `status` is a failed status vector (at most 20 entries, ended by
// isc_arg_end); `database_name` names the file in messages about it, as the
// operator chose it (the vector's own name may be the server's form of it).
TIBErrorDescription DescribeStatus(const intptr_t* status, const std::string& library_text,
                                   const std::string& database_name, TMomentoDoErro momento);

// The error of a row that another transaction holds or changed, for a caller
// that has only the engine's first error code (GDSCODE inside an EXECUTE
// BLOCK): described as the engine's status for such a row (isc_deadlock,
// isc_update_conflict) would be. Nullopt when `isc_code` is no such error.
std::optional<EIBError> ErroDeConflito(intptr_t isc_code);

}  // namespace app
