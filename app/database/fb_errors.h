// Firebird's error status vectors turned into what the operator can act on:
// a kind and a Portuguese text for the usual causes (a row in use by another
// station, a database without the business system's tables, a file that
// cannot be opened, a full disk), the library's own text for the rest.
//
//   auto d = app::DescribeStatus(status, library_text, "C:\\dados\\VORTANA.FDB");
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

// `status` is a failed status vector (at most 20 entries, ended by
// isc_arg_end); `database_name` names the file in messages about it, as the
// operator chose it (the vector's own name may be the server's form of it).
TIBErrorDescription DescribeStatus(const intptr_t* status, const std::string& library_text,
                                   const std::string& database_name);

// The error of a row that another transaction holds or changed, for a caller
// that has only the engine's first error code (GDSCODE inside an EXECUTE
// BLOCK): described as the engine's status for such a row (isc_deadlock,
// isc_update_conflict) would be. Nullopt when `isc_code` is no such error.
std::optional<EIBError> ErroDeConflito(intptr_t isc_code);

}  // namespace app
