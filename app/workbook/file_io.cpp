#include "app/workbook/file_io.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "app/errors.h"
#include "app/os_error_text.h"
#include "unicode/utf8.h"

#ifdef _WIN32
#include <stdlib.h>
#include <cwchar>
#endif

namespace app {

namespace {

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

std::filesystem::path NativePath(const std::string& path) {
  // A path made from char8_t keeps letters outside ASCII on Windows too.
  return {std::u8string(path.begin(), path.end())};
}

FilePtr OpenForReading(const std::string& path) {
#ifdef _WIN32
  return FilePtr(_wfopen(unicode::Utf8ToWide(path).c_str(), L"rb"));
#else
  return FilePtr(std::fopen(path.c_str(), "rb"));
#endif
}

// Why the last open failed, in Portuguese. On Windows the C library folds
// several system errors into one errno (a file in use by another program
// and a file without permission are both EACCES); the system's own code,
// which it keeps in _doserrno, tells them apart.
std::string OpenFailureReason(int error) {
#ifdef _WIN32
  if (_doserrno != 0) return WindowsErrorReason(static_cast<uint32_t>(_doserrno));
#endif
  return PosixErrorReason(error);
}

[[noreturn]] void ThrowCannotOpen(const std::string& path, const std::string& reason) {
  throw EPlanilhaError("Não foi possível abrir o arquivo \"" + path + "\": " + reason + ".");
}

}  // namespace

void ReadWholeFile(const std::string& path, std::string& out, uint64_t max_bytes) {
  // A folder opens as a file on some systems and then has a size that means
  // nothing (the largest offset): it is no workbook, whatever it holds.
  std::error_code ec;
  if (std::filesystem::is_directory(NativePath(path), ec))
    ThrowCannotOpen(path, PosixErrorReason(EISDIR));
#ifdef _WIN32
  _doserrno = 0;
#endif
  errno = 0;
  FilePtr f = OpenForReading(path);
  if (!f) ThrowCannotOpen(path, OpenFailureReason(errno));
  out.clear();
  if (std::fseek(f.get(), 0, SEEK_END) == 0) {
    const long size = std::ftell(f.get());
    if (size > 0 && static_cast<uint64_t>(size) > max_bytes) {
      throw EPlanilhaError("O arquivo \"" + path + "\" é maior que o tamanho máximo aceito (" +
                           std::to_string(max_bytes >> 20) + " MB).");
    }
    if (size > 0) out.reserve(static_cast<size_t>(size));
    std::fseek(f.get(), 0, SEEK_SET);
  }
  char buffer[1 << 16];
  for (;;) {
    const size_t n = std::fread(buffer, 1, sizeof buffer, f.get());
    if (n == 0) break;
    if (out.size() + n > max_bytes) {
      throw EPlanilhaError("O arquivo \"" + path + "\" é maior que o tamanho máximo aceito (" +
                           std::to_string(max_bytes >> 20) + " MB).");
    }
    out.append(buffer, n);
  }
  if (std::ferror(f.get())) {
    throw EPlanilhaError("Não foi possível ler o arquivo \"" + path + "\".");
  }
}

std::string FileStem(const std::string& path) {
  size_t slash = path.find_last_of("/\\");
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  size_t dot = name.find_last_of('.');
  if (dot != std::string::npos && dot > 0) name.resize(dot);
  return name;
}

std::string FileExtension(const std::string& path) {
  size_t slash = path.find_last_of("/\\");
  size_t dot = path.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return "";
  std::string ext = path.substr(dot);
  for (char& c : ext) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  }
  return ext;
}

}  // namespace app
