#include "app/historico/arquivo_registro.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <memory>
#include <random>
#include <system_error>

#include "app/errors.h"
#include "app/os_error_text.h"
#include "unicode/utf8.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <stdlib.h>
#include <sys/stat.h>
#else
#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>
#endif

namespace app {

namespace {

#ifdef _WIN32
constexpr char kSeparador = '\\';
#else
constexpr char kSeparador = '/';
#endif

std::filesystem::path Caminho(const std::string& utf8) {
  // A path made from char8_t keeps letters outside ASCII on Windows too.
  return {std::u8string(utf8.begin(), utf8.end())};
}

std::string Junta(std::string pasta, const std::string& nome) {
  if (!pasta.empty() && pasta.back() != '/' && pasta.back() != kSeparador)
    pasta.push_back(kSeparador);
  return pasta + nome;
}

// Why writing failed, in Portuguese: the usual reasons of the system, with
// the one about permissions said for writing.
std::string MotivoDaGravacao(int erro) {
#ifdef _WIN32
  const auto sistema = static_cast<uint32_t>(_doserrno);
  if (sistema == 5) return "sem permissão para gravar";  // ERROR_ACCESS_DENIED
  if (sistema != 0) return WindowsErrorReason(sistema);
#endif
  if (erro == EACCES || erro == EPERM) return "sem permissão para gravar";
  return PosixErrorReason(erro);
}

std::string MotivoDaGravacao(const std::error_code& ec) {
#ifdef _WIN32
  if (ec.category() == std::system_category()) {
    if (ec.value() == 5) return "sem permissão para gravar";
    return WindowsErrorReason(static_cast<uint32_t>(ec.value()));
  }
#endif
  return MotivoDaGravacao(ec.value());
}

[[noreturn]] void FalhaNaGravacao(const std::string& onde, const std::string& motivo) {
  throw EHistoricoError("Não foi possível gravar o registro em \"" + onde + "\": " + motivo + ".");
}

struct TFechaArquivo {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using TArquivoC = std::unique_ptr<std::FILE, TFechaArquivo>;

// `modo` is "rb" or "wb".
TArquivoC AbreArquivo(const std::string& arquivo, const char* modo) {
  errno = 0;
#ifdef _WIN32
  _doserrno = 0;
  const std::wstring modo_largo(modo, modo + std::char_traits<char>::length(modo));
  return TArquivoC(_wfopen(unicode::Utf8ToWide(arquivo).c_str(), modo_largo.c_str()));
#else
  return TArquivoC(std::fopen(arquivo.c_str(), modo));
#endif
}

// An open file descriptor, closed with its owner.
class TDescritor {
 public:
  explicit TDescritor(int fd) : fd_(fd) {}
  ~TDescritor() { Fecha(); }
  TDescritor(const TDescritor&) = delete;
  TDescritor& operator=(const TDescritor&) = delete;
  int Get() const { return fd_; }
  bool Valido() const { return fd_ >= 0; }
  // Closes now; false when closing reported an error (data not written).
  bool Fecha() {
    if (fd_ < 0) return true;
#ifdef _WIN32
    const int rc = _close(fd_);
#else
    const int rc = ::close(fd_);
#endif
    fd_ = -1;
    return rc == 0;
  }

 private:
  int fd_;
};

TDescritor CriaExclusivo(const std::string& arquivo) {
#ifdef _WIN32
  _doserrno = 0;
  return TDescritor(_wopen(unicode::Utf8ToWide(arquivo).c_str(),
                           _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT,
                           _S_IREAD | _S_IWRITE));
#else
  return TDescritor(::open(arquivo.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644));
#endif
}

// Writes all of `conteudo`; false (errno set) on failure.
bool EscreveTudo(int fd, const std::string& conteudo) {
  size_t feito = 0;
  while (feito < conteudo.size()) {
    const size_t pedaco = std::min<size_t>(conteudo.size() - feito, size_t{1} << 24);
#ifdef _WIN32
    const int n = _write(fd, conteudo.data() + feito, static_cast<unsigned>(pedaco));
#else
    const ssize_t n = ::write(fd, conteudo.data() + feito, pedaco);
    if (n < 0 && errno == EINTR) continue;
#endif
    if (n <= 0) {
      if (n == 0) errno = EIO;
      return false;
    }
    feito += static_cast<size_t>(n);
  }
  return true;
}

bool DescarregaNoDisco(int fd) {
#ifdef _WIN32
  return _commit(fd) == 0;  // FlushFileBuffers
#else
  return ::fsync(fd) == 0;
#endif
}

// On POSIX systems a new file's name is durable only once its folder is
// flushed too; Windows keeps the name with the file's own flush.
void DescarregaPasta(const std::string& pasta) {
#ifndef _WIN32
  TDescritor dir(::open(pasta.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!dir.Valido()) FalhaNaGravacao(pasta, MotivoDaGravacao(errno));
  // Some file systems cannot flush a folder (EINVAL): their names are then as
  // durable as they can be.
  if (::fsync(dir.Get()) != 0 && errno != EINVAL && errno != ENOTSUP) {
    FalhaNaGravacao(pasta, MotivoDaGravacao(errno));
  }
#else
  (void)pasta;
#endif
}

}  // namespace

std::string PastaHistoricoPadrao() {
#ifdef _WIN32
  const wchar_t* local = _wgetenv(L"LOCALAPPDATA");
  if (local != nullptr && *local != L'\0') {
    return Junta(Junta(unicode::WideToUtf8(local), "AtualizaEmails"), "historico");
  }
  throw EHistoricoError(
      "Não foi possível saber a pasta dos registros: a variável LOCALAPPDATA não está definida.");
#else
  const char* dados = std::getenv("XDG_DATA_HOME");
  if (dados != nullptr && *dados == '/') {
    return Junta(Junta(dados, "AtualizaEmails"), "historico");
  }
  const char* home = std::getenv("HOME");
  if (home != nullptr && *home != '\0') {
    return Junta(Junta(Junta(home, ".local/share"), "AtualizaEmails"), "historico");
  }
  throw EHistoricoError(
      "Não foi possível saber a pasta dos registros: a variável HOME não está definida.");
#endif
}

TMomento Agora() {
  const auto agora = std::chrono::system_clock::now();
  const std::time_t t = std::chrono::system_clock::to_time_t(agora);
  const auto ms =
      std::chrono::duration_cast<std::chrono::milliseconds>(agora.time_since_epoch()).count() %
      1000;
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &t);
#else
  localtime_r(&t, &local);
#endif
  char data[32], nome[32];
  std::strftime(data, sizeof data, "%Y-%m-%d %H:%M:%S", &local);
  std::strftime(nome, sizeof nome, "%Y-%m-%d_%H-%M-%S", &local);
  std::random_device aleatorio;
  char id[64];
  std::snprintf(id, sizeof id, "%s-%03d-%08x", nome, static_cast<int>(ms),
                static_cast<unsigned>(aleatorio()));
  return {data, nome, id};
}

TCabecalhoRegistro CabecalhoNovo(TTipoRegistro tipo, const TMomento& momento, std::string banco,
                                 std::string criacao_banco, std::string planilha, std::string aba) {
  TCabecalhoRegistro c;
  c.Id = momento.Id;
  c.Tipo = tipo;
  c.Data = momento.Data;
  c.Banco = std::move(banco);
  c.CriacaoBanco = std::move(criacao_banco);
  c.Planilha = std::move(planilha);
  c.Aba = std::move(aba);
  return c;
}

namespace {

// Creates `pasta`/`nome`[-n]`sufixo` that did not exist (nor, when
// `livre_tambem` is given, `nome`[-n]`livre_tambem`), writes `conteudo`,
// flushes file and folder; returns the path.
std::string GravaExclusivo(const std::string& pasta, const std::string& nome,
                           const std::string& sufixo, const std::string& livre_tambem,
                           const std::string& conteudo,
                           const std::function<void()>& antes_da_descarga) {
  std::error_code ec;
  std::filesystem::create_directories(Caminho(pasta), ec);
  if (ec) FalhaNaGravacao(pasta, MotivoDaGravacao(ec));
  for (int n = 1; n <= 1000; ++n) {
    std::string base = nome;
    if (n > 1) base.append("-").append(std::to_string(n));
    if (!livre_tambem.empty()) {
      std::error_code existe;
      if (std::filesystem::exists(Caminho(Junta(pasta, base + livre_tambem)), existe) || existe)
        continue;
    }
    const std::string arquivo = Junta(pasta, base + sufixo);
    errno = 0;
    TDescritor fd = CriaExclusivo(arquivo);
    if (!fd.Valido()) {
      if (errno == EEXIST) continue;  // another record of the same second
      FalhaNaGravacao(pasta, MotivoDaGravacao(errno));
    }
    bool escrito = EscreveTudo(fd.Get(), conteudo);
    if (escrito && antes_da_descarga) antes_da_descarga();
    escrito = escrito && DescarregaNoDisco(fd.Get()) && fd.Fecha();
    if (!escrito) {
      const std::string motivo = MotivoDaGravacao(errno);
      fd.Fecha();
      RemoveArquivo(arquivo);
      FalhaNaGravacao(arquivo, motivo);
    }
    DescarregaPasta(pasta);
    return arquivo;
  }
  FalhaNaGravacao(pasta, "há registros demais com o mesmo horário");
}

// Renames without replacing: false with errno EEXIST when `para` exists.
bool RenomeiaSemSubstituir(const std::string& de, const std::string& para) {
#ifdef _WIN32
  // The C library's rename never replaces an existing file on Windows.
  _doserrno = 0;
  return _wrename(unicode::Utf8ToWide(de).c_str(), unicode::Utf8ToWide(para).c_str()) == 0;
#else
  if (::renameat2(AT_FDCWD, de.c_str(), AT_FDCWD, para.c_str(), RENAME_NOREPLACE) == 0) return true;
  if (errno != EINVAL && errno != ENOSYS) return false;
  // A file system without that kind of rename: a second name, then the
  // first one goes (a link never replaces a file either).
  if (::link(de.c_str(), para.c_str()) != 0) return false;
  ::unlink(de.c_str());
  return true;
#endif
}

}  // namespace

std::string GravaArquivoNovo(const std::string& pasta, const std::string& nome,
                             const std::string& conteudo) {
  return GravaExclusivo(pasta, nome, ".txt", "", conteudo, {});
}

bool Pendente(const std::string& arquivo) {
  return arquivo.size() > kSufixoPendente.size() &&
         std::string_view(arquivo).substr(arquivo.size() - kSufixoPendente.size()) ==
             kSufixoPendente;
}

std::string GravaArquivoPendente(const std::string& pasta, const std::string& nome,
                                 const std::string& conteudo,
                                 const std::function<void()>& antes_da_descarga) {
  return GravaExclusivo(pasta, nome, ".txt" + std::string(kSufixoPendente), ".txt", conteudo,
                        antes_da_descarga);
}

std::string ConfirmaArquivoPendente(const std::string& pendente) {
  const std::string final = pendente.substr(0, pendente.size() - kSufixoPendente.size());
  errno = 0;
  if (!RenomeiaSemSubstituir(pendente, final)) {
    const int erro = errno;
    std::error_code ec;
    const bool ainda_pendente = std::filesystem::exists(Caminho(pendente), ec);
    if (!ainda_pendente && std::filesystem::exists(Caminho(final), ec)) return final;
    throw EHistoricoError("Não foi possível dar ao registro \"" + pendente + "\" o nome \"" +
                          final + "\": " + MotivoDaGravacao(erro) + ".");
  }
  DescarregaPasta(PastaDoArquivo(final));
  return final;
}

void GravaArquivo(const std::string& arquivo, const std::string& conteudo) {
  TArquivoC f = AbreArquivo(arquivo, "wb");
  if (!f) {
    throw EHistoricoError("Não foi possível gravar o arquivo \"" + arquivo +
                          "\": " + MotivoDaGravacao(errno) + ".");
  }
  const bool escrito = std::fwrite(conteudo.data(), 1, conteudo.size(), f.get()) == conteudo.size();
  if (!escrito || std::fclose(f.release()) != 0) {
    throw EHistoricoError("Não foi possível gravar o arquivo \"" + arquivo +
                          "\": " + MotivoDaGravacao(errno) + ".");
  }
}

bool RemoveArquivo(const std::string& arquivo) {
  std::error_code ec;
  return std::filesystem::remove(Caminho(arquivo), ec) && !ec;
}

std::vector<std::string> ArquivosDaPasta(const std::string& pasta) {
  std::vector<std::string> out;
  std::error_code ec;
  for (std::filesystem::directory_iterator it(Caminho(pasta), ec), fim; !ec && it != fim;
       it.increment(ec)) {
    std::error_code tipo;
    if (!it->is_regular_file(tipo)) continue;
    const std::u8string nome = it->path().u8string();
    out.emplace_back(nome.begin(), nome.end());
  }
  return out;
}

std::string PastaDoArquivo(const std::string& arquivo) {
#ifdef _WIN32
  const size_t barra = arquivo.find_last_of("/\\");
#else
  const size_t barra = arquivo.find_last_of('/');
#endif
  if (barra == std::string::npos) return ".";
  if (barra == 0) return arquivo.substr(0, 1);
  return arquivo.substr(0, barra);
}

std::string InicioDoArquivo(const std::string& arquivo, size_t limite) {
  TArquivoC f = AbreArquivo(arquivo, "rb");
  if (!f) return {};
  std::string out(limite, '\0');
  out.resize(std::fread(out.data(), 1, limite, f.get()));
  return out;
}

}  // namespace app
