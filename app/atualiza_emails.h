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
// The statement is prepared once per run and executed per row
// (TModoPreparo::mpUmaVez); mpPorLinha assigns the text again on every row
// (and so prepares it again), for comparison in benchmarks. Both give the
// same result.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

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

enum class TModoPreparo { mpUmaVez, mpPorLinha };

bool AtualizaEmails(TIBDatabase& database, TIBTransaction& transaction, TTabelaTemp& tabela,
                    const TRunFeedback& feedback, TModoPreparo modo = TModoPreparo::mpUmaVez,
                    TRegistroDaExecucao* registro = nullptr);

// Lets errors pass; the caller owns the transaction.
void AtualizaClientes(TIBDatabase& database, TIBTransaction& transaction, TTabelaTemp& tabela,
                      const TRunFeedback& feedback, TModoPreparo modo = TModoPreparo::mpUmaVez);

}  // namespace app
