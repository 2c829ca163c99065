// A run record: what one run (or one undo) changed in CLIENTE.EMAIL, as the
// text of its file (UTF-8, tab-separated, fields escaped as texto_escapado.h
// says; the format is described in docs/run-records.md).
//
//   app::TTextoRegistro texto(cabecalho);             // cabecalho.Linhas rows follow
//   texto.Linha(7, "00000123", true, "antigo@x", "novo@x");
//   std::string conteudo = texto.Conclui();           // the end line and its checksum
//   app::TRegistro r = app::LeRegistro(conteudo);     // EHistoricoError when damaged
//
// A null address is written \N, which no escaped text can be, so a null and
// an empty address stay apart. The last line holds a CRC-32 of everything
// before it: a record cut short or changed by hand is refused as damaged.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace app {

enum class TTipoRegistro { trExecucao, trDesfazer };

struct TCabecalhoRegistro {
  std::string Id;  // unique: the undo of this record names it
  TTipoRegistro Tipo = TTipoRegistro::trExecucao;
  std::string Data;           // local time the record was written, "2026-12-10 21:20:24"
  std::string Banco;          // the database file as it was named for the run
  std::string CriacaoBanco;   // the database's creation time (its identity); "" when unknown
  std::string Planilha;       // the workbook
  std::string Aba;            // its worksheet
  std::string Desfaz;         // an undo's: the Id of the record it undid
  std::string DesfazArquivo;  // and that record's file
  int64_t Linhas = 0;         // rows of the record
};

// One staged row of a run (or one client of an undo).
struct TLinhaRegistro {
  int64_t Linha = 0;                  // the worksheet's row
  std::string Codigo;                 // the client code sent
  bool Encontrado = false;            // a client with that code existed (else nothing was changed)
  std::optional<std::string> Antes;   // the address it overwrote (nullopt: null)
  std::optional<std::string> Depois;  // the address it wrote (nullopt: null)
};

struct TRegistro {
  TCabecalhoRegistro Cabecalho;
  std::vector<TLinhaRegistro> Linhas;
};

// Builds a record's text: the header, then exactly cabecalho.Linhas rows.
class TTextoRegistro {
 public:
  explicit TTextoRegistro(const TCabecalhoRegistro& cabecalho);
  // For a client that was not found, `antes` is ignored.
  void Linha(int64_t linha, std::string_view codigo, bool encontrado,
             std::optional<std::string_view> antes, std::optional<std::string_view> depois);
  // The whole text; throws std::logic_error when the rows given are not as
  // many as the header says.
  std::string Conclui();

 private:
  std::string texto_;
  int64_t esperadas_;
  int64_t escritas_ = 0;
};

// The record in `texto`; EHistoricoError with the reason (in Portuguese,
// without the file's name) when it is damaged or of an unknown version.
TRegistro LeRegistro(std::string_view texto);
// The header at the start of a file (the rest may be missing and is not
// checked); nullopt when the text does not start as a record does.
std::optional<TCabecalhoRegistro> LeCabecalho(std::string_view inicio);

// The optional form of an address held as std::optional<std::string>.
inline std::optional<std::string_view> Vista(const std::optional<std::string>& valor) {
  if (!valor) return std::nullopt;
  return std::string_view(*valor);
}

}  // namespace app
