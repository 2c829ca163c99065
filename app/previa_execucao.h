// The preview of a run: what the update would do with the staged rows,
// worked out from the addresses CLIENTE holds now, without writing anything.
//
//   app::TIBTransaction tr(db); tr.SetReadOnly(true);
//   app::TPrevia p = app::PreviaDaExecucao(db, tr, tabela);  // rolled back at the end
//   std::cout << app::TextoDaPrevia(p);                      // the report, in Portuguese
//   app::GravaArquivo(tsv, app::DetalheDaPrevia(p));         // one line per row
//
// Each row is compared with the address it would overwrite, which for a code
// staged twice is the one the earlier row would write: a run keeps the last
// row's. Warnings never stop anything; they point at rows the run sends in
// ways an operator may not expect (an empty code sent as client 00000000, a
// code longer than 8 characters sent cut, an address longer than 60
// characters sent cut), addresses that do not look like e-mail addresses,
// and rows that would make the run fail (a character the database's
// Windows-1252 cannot hold).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/atualizacao_em_lotes.h"
#include "app/database/fb_client.h"
#include "app/database/tabela_temp.h"

namespace app {

enum class TEfeitoPrevisto {
  epAltera,      // a new address
  epMantem,      // the same address
  epEsvazia,     // an empty address where there was one (or null)
  epSemCliente,  // no client has the code: nothing is written
  epFalharia,    // the run would fail on this row
};

struct TLinhaPrevia {
  int64_t Linha = 0;
  std::string CodigoPlanilha;  // column "18" as staged
  std::string Codigo;          // as it would be sent
  bool Encontrado = false;
  std::optional<std::string> Atual;  // the address it would overwrite (nullopt: null)
  std::string Novo;                  // the address it would write
  TEfeitoPrevisto Efeito = TEfeitoPrevisto::epSemCliente;
  bool CodigoVazio = false;
  bool CodigoCortado = false;    // longer than 8 characters
  bool EnderecoCortado = false;  // longer than 60 characters
  std::string EnderecoSuspeito;  // why it does not look like an e-mail address, or ""
};

struct TCodigoNaoEncontrado {
  std::string Codigo;
  std::vector<int64_t> Linhas;
};

struct TCodigoRepetido {
  std::string Codigo;
  std::vector<size_t> Linhas;  // indexes into TPrevia::Detalhe
};

struct TPrevia {
  int64_t Linhas = 0;
  int64_t CodigosEncontrados = 0;  // distinct codes with a client
  int64_t LinhasComCliente = 0;
  std::vector<TCodigoNaoEncontrado> NaoEncontrados;
  int64_t Alteram = 0, Mantem = 0, Esvaziam = 0, Falhariam = 0;
  std::vector<TCodigoRepetido> Repetidos;  // with different addresses
  std::vector<TLinhaPrevia> Detalhe;       // one per staged row
};

// Reads the staged codes' addresses in `transaction` (started here and
// rolled back: nothing is written). The staging table must have columns
// "18" and "46" unless it has no rows (the same message as a run otherwise).
// `envio`: the lookups in batches, or in short IN lists (for comparison).
TPrevia PreviaDaExecucao(TIBDatabase& database, TIBTransaction& transaction, TTabelaTemp& tabela,
                         TEnvio envio = TEnvio::enLotes);

std::string TextoDaPrevia(const TPrevia& previa);
// Tab-separated, escaped like `updater-cli dump`: a header line, then one
// line per row: linha, codigo_planilha, codigo_enviado, cliente, atual
// (\N for null), novo, efeito, avisos.
std::string DetalheDaPrevia(const TPrevia& previa);

}  // namespace app
