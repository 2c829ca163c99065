// The files of the run records: the folder they live in, a new file per
// record named by date and time, written and flushed to the disk before the
// database commits what it describes.
//
//   std::string pasta = app::PastaHistoricoPadrao();
//   auto momento = app::Agora();
//   std::string arquivo = app::GravaArquivoNovo(pasta, momento.ParaNome + "_execucao", texto);
//   ...commit...; or, when the commit did not happen: app::RemoveArquivo(arquivo);
//
// Paths are UTF-8 (wide on Windows). Failures throw EHistoricoError with a
// Portuguese reason.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "app/historico/registro.h"

namespace app {

// The user's own records folder: on Windows %LOCALAPPDATA%\AtualizaEmails\historico,
// elsewhere $XDG_DATA_HOME (or ~/.local/share)/AtualizaEmails/historico.
// Throws when the environment names no such place.
std::string PastaHistoricoPadrao();

struct TMomento {
  std::string Data;      // local time, "2026-12-10 21:20:24"
  std::string ParaNome;  // the same for a file name, "2026-12-10_21-20-24"
  std::string Id;        // unique: the time with milliseconds and a random part
};
TMomento Agora();

// The header of a new record made now: its id and time, its kind, the
// database it describes (as named, and its creation time), the worksheet.
TCabecalhoRegistro CabecalhoNovo(TTipoRegistro tipo, const TMomento& momento, std::string banco,
                                 std::string criacao_banco, std::string planilha, std::string aba);

// Creates the folder if needed and a file that did not exist,
// `pasta`/`nome`.txt, or `nome`-2.txt, -3... when that name is taken (two
// records in one second); writes `conteudo`, flushes it to the disk
// (fsync / FlushFileBuffers) and returns the file's path.
std::string GravaArquivoNovo(const std::string& pasta, const std::string& nome,
                             const std::string& conteudo);
// A record written before the database commits what it describes, whose
// commit is not known yet, ends so: only the final name (without it) says
// that the change it describes was committed.
inline constexpr std::string_view kSufixoPendente = ".pendente";
bool Pendente(const std::string& arquivo);

// As GravaArquivoNovo, under the pending name `nome`[-n].txt.pendente, with
// n chosen so that neither that name nor the final `nome`[-n].txt exists.
// `antes_da_descarga`, when given, runs once the text is written and before
// it is flushed (tests stop the process there).
std::string GravaArquivoPendente(const std::string& pasta, const std::string& nome,
                                 const std::string& conteudo,
                                 const std::function<void()>& antes_da_descarga = {});
// Gives a pending record its final name, never over an existing file, and
// flushes the folder; returns the final path. A pending record already
// renamed (by another undo that found it committed) is taken as renamed.
// Throws EHistoricoError when it cannot be renamed.
std::string ConfirmaArquivoPendente(const std::string& pendente);

// Writes `conteudo` to `arquivo`, replacing it (no flush: for reports).
void GravaArquivo(const std::string& arquivo, const std::string& conteudo);
// Removes a record whose database change did not happen; false if it could not.
bool RemoveArquivo(const std::string& arquivo);

// The regular files directly in `pasta` (none when it does not exist).
std::vector<std::string> ArquivosDaPasta(const std::string& pasta);
// The folder part of a file's path ("." when it has none).
std::string PastaDoArquivo(const std::string& arquivo);
// Up to `limite` bytes from the start of a file ("" when it cannot be read).
std::string InicioDoArquivo(const std::string& arquivo, size_t limite);

}  // namespace app
