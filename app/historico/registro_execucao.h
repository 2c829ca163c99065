// The record of one run: the addresses its staged codes had, read in the
// run's transaction before the update, and the file written from them and
// the staged rows after the update, before the commit.
//
//   auto antes = app::LeAntesDaExecucao(db, tr, tabela, pump);   // before AtualizaClientes
//   ...AtualizaClientes...
//   std::string arquivo = app::GravaRegistroDaExecucao(antes, tabela, destino, db.DatabaseName());
//   ...commit...
#pragma once

#include <functional>
#include <string>

#include "app/database/fb_client.h"
#include "app/database/tabela_temp.h"
#include "app/historico/enderecos_atuais.h"

namespace app {

// Where a run's record goes and what its header names beside the run itself.
struct TRegistroDaExecucao {
  std::string Pasta;     // the records folder; empty: the user's own (PastaHistoricoPadrao)
  std::string Planilha;  // the workbook
  std::string Aba;       // the worksheet
  std::string Arquivo;   // set by a successful run: the record it left
};

struct TAntesDaExecucao {
  TEnderecosAtuais Enderecos;
  std::string IdentidadeBanco;
};

// Nothing is read when the staging table has no column "18" or "46": the
// update then fails on its first row.
TAntesDaExecucao LeAntesDaExecucao(TIBDatabase& database, TIBTransaction& transaction,
                                   TTabelaTemp& tabela, const std::function<void()>& a_cada_lote);

// Writes and flushes the record of the staged rows; returns its file.
// Throws EHistoricoError (the reason, and that nothing was written to the
// database) when it cannot be written.
std::string GravaRegistroDaExecucao(TAntesDaExecucao antes, TTabelaTemp& tabela,
                                    const TRegistroDaExecucao& destino, const std::string& banco);

}  // namespace app
