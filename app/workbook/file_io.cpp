#include "app/workbook/file_io.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "app/errors.h"
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

FilePtr OpenForReading(const std::string& path) {
#ifdef _WIN32
  return FilePtr(_wfopen(unicode::Utf8ToWide(path).c_str(), L"rb"));
#else
  return FilePtr(std::fopen(path.c_str(), "rb"));
#endif
}

}  // namespace

void ReadWholeFile(const std::string& path, std::string& out, uint64_t max_bytes) {
  FilePtr f = OpenForReading(path);
  if (!f) {
    throw EPlanilhaError("Não foi possível abrir o arquivo \"" + path +
                         "\": " + std::strerror(errno) + ".");
  }
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
