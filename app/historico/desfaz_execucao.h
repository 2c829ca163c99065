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
// side does not know it, another file path); one already undone (an undo
// record that names it, itself not undone, in the record's folder or in the
// folder the undo writes to). Any failure rolls the transaction back and
// removes the undo's record.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/atualizacao_em_lotes.h"
#include "app/database/fb_client.h"
#include "app/historico/registro.h"

namespace app {

struct TOpcoesDesfazer {
  bool Forcar = false;  // restore the clients changed since too
  std::string Pasta;    // the undo's own record goes here; empty: beside the record undone
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
  std::string Arquivo;  // the undo's own record
};

TResultadoDesfazer DesfazExecucao(TIBDatabase& database, TIBTransaction& transaction,
                                  const std::string& arquivo, const TOpcoesDesfazer& opcoes);

}  // namespace app
