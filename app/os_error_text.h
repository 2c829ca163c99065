// Portuguese reasons for the operating system's error codes, for messages the
// operator reads ("Não foi possível abrir o arquivo \"x.xlsx\": " + reason).
// The usual causes have a text of their own; any other code falls back to the
// system's own text with its number, as a last resort.
//
//   app::PosixErrorReason(ENOENT)   // "o arquivo não foi encontrado"
//   app::WindowsErrorReason(32)     // "o arquivo está em uso por outro programa"
#pragma once

#include <cstdint>
#include <string>

namespace app {

// An errno value (C library, or a Unix server's code in a Firebird status).
std::string PosixErrorReason(int error);
// A Windows system error code (GetLastError, _doserrno, or a Windows
// server's code in a Firebird status).
std::string WindowsErrorReason(uint32_t error);

}  // namespace app
