// Whole-file reading for the file engine, with a size bound. Paths are UTF-8
// (converted to the wide form on Windows).
#pragma once

#include <cstdint>
#include <string>

namespace app {

// Reads the file into `out`. Throws EPlanilhaError (Portuguese) when the
// file cannot be opened or read (naming the cause: not found, access denied,
// in use by another program, a folder), or when it is larger than `max_bytes`.
void ReadWholeFile(const std::string& path, std::string& out, uint64_t max_bytes);

// "clientes" for "C:\dados\clientes.csv" or "/tmp/clientes.csv".
std::string FileStem(const std::string& path);
// Lower-case extension with its dot (".csv"), or "".
std::string FileExtension(const std::string& path);

}  // namespace app
