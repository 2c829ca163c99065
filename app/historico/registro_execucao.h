// The record of one run: the addresses its staged codes had, read in the
// run's transaction before the update, and the file written from them and
// the staged rows after the update, before the commit.
//
//   auto antes = app::LeAntesDaExecucao(db, tr, tabela, pump);   // before AtualizaClientes
//   ...AtualizaClientes...
//   std::string arquivo = app::GravaRegistroDaExecucao(antes, tabela, destino, db.DatabaseName());
//   ...commit...
//
// A run that sends its rows in batches reads them batch by batch instead
// (TAntesPorLote), just before each batch is written.
#pragma once

#include <functional>
#include <string>
#include <unordered_set>
#include <vector>

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
                                   TTabelaTemp& tabela, const std::function<void()>& a_cada_lote,
                                   TEnvio envio = TEnvio::enLotes);

// The same reading, batch by batch: the database's identity when made, then
// (Le) the addresses of a batch's codes that no earlier batch asked for,
// just before the batch is written. A code's first row comes before any row
// that changes it, so each address read is the one the client had before
// the run, as LeAntesDaExecucao reads it. Read all at once ahead of the
// update, on a database with forced writes whose clients an earlier run
// changed, the update then costs about one synchronous page write per row
// (measured with 20,000 rows: 29,131 page writes; 1,094 with no reading at
// all, about 1,200 with each batch of 100 read just before it is written):
// the reading has the engine clean up every client's old versions at once,
// and the update then places its own versions where those were, which the
// engine's careful order of page writes only allows by writing pages one by
// one. Read just before it is written, each client is cleaned up and
// updated together, as by an update that reads nothing.
class TAntesPorLote {
 public:
  TAntesPorLote(TIBDatabase& database, TIBTransaction& transaction, TAntesDaExecucao& antes);
  // `codigos` as the run sends them.
  void Le(const std::vector<std::string>& codigos);

 private:
  TConsultaEnderecos consulta_;
  TAntesDaExecucao& antes_;
  std::unordered_set<std::string> pedidos_;  // keys of the codes asked for
};

// Writes and flushes the record of the staged rows; returns its file.
// Throws EHistoricoError (the reason, and that nothing was written to the
// database) when it cannot be written.
std::string GravaRegistroDaExecucao(TAntesDaExecucao antes, TTabelaTemp& tabela,
                                    const TRegistroDaExecucao& destino, const std::string& banco);

}  // namespace app
