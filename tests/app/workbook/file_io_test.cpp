// Whole-file reading: the Portuguese reasons the operator reads when a
// workbook cannot be opened.
#include "app/workbook/file_io.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <fstream>
#include <string>

#include "app/errors.h"
#include "app/os_error_text.h"
#include "tests/app/app_test_support.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

std::string ReadError(const std::string& path) {
  std::string bytes;
  try {
    app::ReadWholeFile(path, bytes, 1 << 20);
  } catch (const app::EPlanilhaError& e) {
    return e.what();
  }
  return "(no error)";
}

TEST(FileIo, UsualCausesAreToldInPortuguese) {
  app_test::TempDir dir("file-io");
  std::ofstream(dir.File("ok.csv"), std::ios::binary) << "1;2\n";
  const struct {
    std::string path;
    std::string message;
  } cases[] = {
      {dir.File("nao_existe.xlsx"), "Não foi possível abrir o arquivo \"" +
                                        dir.File("nao_existe.xlsx") +
                                        "\": o arquivo não foi encontrado."},
      // A folder chosen as a workbook: no size claim, no open of a folder.
      {dir.File(""), "\": é uma pasta, não um arquivo."},
      {dir.File("pasta.xlsx"), "pasta.xlsx\": é uma pasta, não um arquivo."},
  };
  std::filesystem::create_directories(dir.File("pasta.xlsx"));
  for (const auto& c : cases) {
    const std::string error = ReadError(c.path);
    EXPECT_NE(error.find(c.message), std::string::npos) << c.path << ": " << error;
  }
  std::string bytes;
  app::ReadWholeFile(dir.File("ok.csv"), bytes, 100);
  EXPECT_EQ(bytes, "1;2\n");
}

#ifdef _WIN32
TEST(FileIo, AFileHeldOpenByAnotherProgramIsSaidToBeInUse) {
  app_test::TempDir dir("file-io-lock");
  const std::string path = dir.File("em_uso.xlsx");
  std::ofstream(path) << "x";
  // Another program holding the file with no sharing at all, as Excel holds
  // a workbook it has open.
  HANDLE held = CreateFileW(std::filesystem::path(path).wstring().c_str(), GENERIC_READ, 0, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  const std::string error = ReadError(path);
  CloseHandle(held);
  EXPECT_NE(error.find("\": o arquivo está em uso por outro programa."), std::string::npos)
      << error;
}
#endif

TEST(OsErrorText, SystemCodesHavePortugueseReasonsAndTheRestKeepsTheSystemText) {
  const std::pair<int, const char*> posix[] = {
      {ENOENT, "o arquivo não foi encontrado"},
      {EACCES, "acesso negado (sem permissão para ler o arquivo)"},
      {EBUSY, "o arquivo está em uso por outro programa"},
      {EISDIR, "é uma pasta, não um arquivo"},
      {ENOSPC, "não há espaço livre no disco"},
      {EROFS, "o disco é somente para leitura"},
  };
  for (const auto& [code, text] : posix)
    EXPECT_EQ(app::PosixErrorReason(code), text) << code;
  const std::pair<uint32_t, const char*> windows[] = {
      {2, "o arquivo não foi encontrado"},
      {3, "a pasta do arquivo não foi encontrada"},
      {5, "acesso negado (sem permissão para ler o arquivo)"},
      {32, "o arquivo está em uso por outro programa"},
      {33, "o arquivo está em uso por outro programa"},
      {112, "não há espaço livre no disco"},
      {53, "a pasta de rede não está disponível"},
  };
  for (const auto& [code, text] : windows)
    EXPECT_EQ(app::WindowsErrorReason(code), text) << code;
  // The last resort: the number, and on the C library's side its own text.
  EXPECT_EQ(app::WindowsErrorReason(1234), "erro do sistema 1234");
  EXPECT_EQ(app::PosixErrorReason(EDOM).rfind("erro do sistema " + std::to_string(EDOM) + ": ", 0),
            0u);
}

}  // namespace
