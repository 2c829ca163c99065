// Undo of a run, or of an undo: puts back, in one transaction, the addresses
// a record says were overwritten, for the clients whose address is still the
// one the record wrote. Those changed since are reported with their current
// address and left alone (or restored too with Forcar); those deleted since
// are reported. The undo leaves a record of its own, so it can be undone.
//
//   app::TIBTransaction tr(db);                  // its lock timeout bounds the wait
//   auto r = app::DesfazExecucao(db, tr, "C:\\...\\2026-12-10_21-20-24_execucao.txt", {});
//   r.Restaurados; r.AlteradosDepois; r.Excluidos; r.Arquivo;
//
// Refused with EHistoricoError, before anything is changed: a record that is
// damaged; one of another database (another creation time, or, when either
// side does not know it, another file path); one already undone: a committed
// undo record that names it, whole (its checksum holds), that put something
// back and was not undone itself, in the record's folder or in the folder the
// undo writes to.
//
// The undo's own record is written and flushed under a pending name before
// the commit and renamed after it, so the name says whether the undo was
// committed. A pending record is evidence of nothing by itself: an undo
// stopped before its commit (a crash, a power cut, a lost connection) left
// one, and the undo can simply be run again. An undo stopped between its
// commit and the rename left one too; the next undo of the same record finds
// every client it lists holding the address it put back, gives it its final
// name and refuses as already undone. Any failure before the commit rolls
// the transaction back and removes the pending record.
//
// Clients the run did not change (the address it wrote was the one already
// there) are never set back, with Forcar neither: a later change of theirs
// is nobody's to undo here.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/atualizacao_em_lotes.h"
#include "app/database/fb_client.h"
#include "app/historico/registro.h"

namespace app {

// The moments of an undo at which a stop leaves a different state on disk.
enum class TEtapaDesfazer {
  edRegistroEscrito,       // the record written under its pending name, not flushed
  edRegistroDescarregado,  // flushed, the transaction not committed
  edConfirmado,            // committed, the record not renamed
};

struct TOpcoesDesfazer {
  bool Forcar = false;  // restore the clients changed since too
  std::string Pasta;    // the undo's own record goes here; empty: beside the record undone
  // Called at each of those moments (tests stop the process there).
  std::function<void(TEtapaDesfazer)> AoChegar;
  // In batches (each batch's addresses read just before its restores), or
  // every client with statements of its own; the same result.
  TEnvio Envio = TEnvio::enLotes;
};

struct TClienteDesfeito {
  int64_t Linha = 0;  // the worksheet row (the last one with the code)
  std::string Codigo;
  std::optional<std::string> Atual;     // the address now (before the undo)
  std::optional<std::string> Gravado;   // what the record wrote
  std::optional<std::string> Anterior;  // what it overwrote
};

struct TResultadoDesfazer {
  TCabecalhoRegistro Desfeito;                    // the header of the record undone
  int64_t Restaurados = 0;                        // clients set back (the forced ones included)
  int64_t JaComoAntes = 0;                        // clients that already had the earlier address
  std::vector<TClienteDesfeito> AlteradosDepois;  // restored only with Forcar
  std::vector<TClienteDesfeito> Excluidos;
  int64_t NaoAlteradosPelaExecucao = 0;  // changed since, but the run had kept their address
  std::string Arquivo;                   // the undo's own record
  // Set when the undo was committed but its record could not be renamed: it
  // keeps its pending name, which the next undo of the same record settles.
  std::string Aviso;
};

TResultadoDesfazer DesfazExecucao(TIBDatabase& database, TIBTransaction& transaction,
                                  const std::string& arquivo, const TOpcoesDesfazer& opcoes);

}  // namespace app
