// The update stage of a run: every staged row sets CLIENTE.EMAIL (column
// "46", cut to 60 characters) for the client whose code is column "18"
// zero-filled to 8 characters, all in one transaction.
//
//   bool ok = app::AtualizaEmails(dbVortana, DBTransaction, cdsTabelaTemp, feedback);
//
// AtualizaEmails starts the transaction, runs AtualizaClientes, commits and
// then shows "Atualização concluída com sucesso!" (feedback.Informacao). On
// any error it rolls back, shows "Houve um erro ao realizar a atualização.
// Motivo: " + CR + the error's text (feedback.Erro), clears the phase, status
// and gauge, and returns false; no error leaves it. A staging table without
// column "18" or "46" fails on the first row, saying that the sheet has
// fewer than 46 columns, with the table's "cdsTabelaTemp: Field '18' not
// found" after it. An error the server gives for one row names that row of
// the sheet and its client code ("Na linha 7 da planilha (cliente 00000123):
// ..."; a client in use by another station: "O cliente 00000123 (linha 7 da
// planilha) está em uso por outra estação...").
//
// With a TRegistroDaExecucao, the run leaves a record of what it changed
// (app/historico/registro_execucao.h): the addresses the staged codes have
// are read in the run's transaction before the update, and the record is
// written and flushed after it, before the commit. A record that cannot be
// written fails the run like any other error, so the commit never happens
// without it; a record written for a run that was then rolled back is
// removed. Nothing of this shows in the window's texts.
//
// The rows reach the database in batches (TModoPreparo::mpLotes, the
// default): an EXECUTE BLOCK of kLinhasPorLote rows per round trip to the
// server (app/atualizacao_em_lotes.h), each row still one UPDATE of its own,
// in the order of the sheet; with a record, each batch's old addresses are
// read just before it (TAntesPorLote). What the window shows is the same as
// row by row: the status text, the message pump and the gauge for every row,
// in order, once the row has gone through; a row that fails stops the run
// with the message that names it, the rows before it counted. mpUmaVez
// prepares the statement of one row once and executes it per row, reading
// the record's addresses first; mpPorLinha assigns its text again on every
// row (and so prepares it again). The three give the same result; the last
// two are kept for comparison in tests and benchmarks.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "app/database/fb_client.h"
#include "app/database/tabela_temp.h"
#include "app/envio_cliente.h"
#include "app/errors.h"
#include "app/historico/registro_execucao.h"
#include "app/run_feedback.h"

namespace app {

inline constexpr const char* kSqlAtualizaEmail =
    " UPDATE CLIENTE                               SET EMAIL = :PEMAIL                     "
    "WHERE CLIENTE.CODCLIENTE = :PCODCLIENTE ";
inline constexpr const char* kFaseAtualizacao = "Atualizando Clientes, Aguarde!";
inline constexpr const char* kMensagemSucesso = "Atualização concluída com sucesso!";
inline constexpr const char* kMensagemFalha = "Houve um erro ao realizar a atualização. Motivo: \r";

enum class TModoPreparo { mpLotes, mpUmaVez, mpPorLinha };

bool AtualizaEmails(TIBDatabase& database, TIBTransaction& transaction, TTabelaTemp& tabela,
                    const TRunFeedback& feedback, TModoPreparo modo = TModoPreparo::mpLotes,
                    TRegistroDaExecucao* registro = nullptr);

// Called with the codes of a batch (as sent) before it is written.
using TAntesDoLote = std::function<void(const std::vector<std::string>&)>;

// Lets errors pass; the caller owns the transaction. `antes_do_lote` is
// called in mpLotes only.
void AtualizaClientes(TIBDatabase& database, TIBTransaction& transaction, TTabelaTemp& tabela,
                      const TRunFeedback& feedback, TModoPreparo modo = TModoPreparo::mpLotes,
                      const TAntesDoLote& antes_do_lote = {});

}  // namespace app
