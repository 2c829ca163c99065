#include "app/os_error_text.h"

#include <cerrno>
#include <cstring>

namespace app {

namespace {

constexpr const char* kNaoEncontrado = "o arquivo não foi encontrado";
constexpr const char* kPastaNaoEncontrada = "a pasta do arquivo não foi encontrada";
constexpr const char* kAcessoNegado = "acesso negado (sem permissão para ler o arquivo)";
constexpr const char* kEmUso = "o arquivo está em uso por outro programa";
constexpr const char* kPasta = "é uma pasta, não um arquivo";
constexpr const char* kDiscoCheio = "não há espaço livre no disco";
constexpr const char* kSomenteLeitura = "o disco é somente para leitura";
constexpr const char* kNomeLongo = "o nome do arquivo é longo demais";
constexpr const char* kNomeInvalido = "o nome do arquivo não é válido";
constexpr const char* kMuitosAbertos = "há arquivos abertos demais";
constexpr const char* kLeitura = "erro de leitura ou gravação no disco";
constexpr const char* kSemMemoria = "memória insuficiente";
constexpr const char* kRede = "a pasta de rede não está disponível";

}  // namespace

std::string PosixErrorReason(int error) {
  switch (error) {
    case ENOENT:
      return kNaoEncontrado;
    case ENOTDIR:
      return kPastaNaoEncontrada;
    case EACCES:
    case EPERM:
      return kAcessoNegado;
    case EBUSY:
    case ETXTBSY:
      return kEmUso;
    case EISDIR:
      return kPasta;
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
      return kDiscoCheio;
    case EROFS:
      return kSomenteLeitura;
    case ENAMETOOLONG:
      return kNomeLongo;
    case EINVAL:
      return kNomeInvalido;
    case EMFILE:
    case ENFILE:
      return kMuitosAbertos;
    case EIO:
      return kLeitura;
    case ENOMEM:
      return kSemMemoria;
    default:
      return "erro do sistema " + std::to_string(error) + ": " + std::strerror(error);
  }
}

std::string WindowsErrorReason(uint32_t error) {
  switch (error) {
    case 2:  // ERROR_FILE_NOT_FOUND
      return kNaoEncontrado;
    case 3:   // ERROR_PATH_NOT_FOUND
    case 15:  // ERROR_INVALID_DRIVE
      return kPastaNaoEncontrada;
    case 5:  // ERROR_ACCESS_DENIED
      return kAcessoNegado;
    case 32:  // ERROR_SHARING_VIOLATION
    case 33:  // ERROR_LOCK_VIOLATION
      return kEmUso;
    case 39:   // ERROR_HANDLE_DISK_FULL
    case 112:  // ERROR_DISK_FULL
      return kDiscoCheio;
    case 19:  // ERROR_WRITE_PROTECT
      return kSomenteLeitura;
    case 206:  // ERROR_FILENAME_EXCED_RANGE
      return kNomeLongo;
    case 123:  // ERROR_INVALID_NAME
      return kNomeInvalido;
    case 4:  // ERROR_TOO_MANY_OPEN_FILES
      return kMuitosAbertos;
    case 8:   // ERROR_NOT_ENOUGH_MEMORY
    case 14:  // ERROR_OUTOFMEMORY
      return kSemMemoria;
    case 23:  // ERROR_CRC
    case 30:  // ERROR_READ_FAULT
    case 29:  // ERROR_WRITE_FAULT
      return kLeitura;
    case 53:  // ERROR_BAD_NETPATH
    case 67:  // ERROR_BAD_NET_NAME
      return kRede;
    default:
      return "erro do sistema " + std::to_string(error);
  }
}

}  // namespace app
