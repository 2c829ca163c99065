// Updates of CLIENTE.EMAIL by client code sent many rows per round trip to
// the server: one prepared EXECUTE BLOCK whose input parameters are the code
// and the address of up to LinhasPorLote() rows, each row one UPDATE of the
// same form as the statement of one row. Every row is still updated on its
// own, in the order given, so the table's triggers see what the statement of
// one row would make them see.
//
//   app::TAtualizacaoEmLotes lotes(db, tr, app::kSqlAtualizaEmail);
//   lotes.Adiciona(TextoDaConexao("PCODCLIENTE", codigo), TextoDaConexao("PEMAIL", email));
//   if (lotes.Cheio()) lotes.Envia(feita);   // feita(k): the k-th row queued went through
//   lotes.Envia(feita);                      // the rest
//
// A row that fails ends Envia with ELinhaRecusada: its position in the queue
// and the error the statement of one row gives for it (the block stops at
// that row and its earlier rows are undone with it; they are sent again, and
// the failing row alone, to get that error). The rows before it have been
// reported to `feita`, the ones after it are dropped. A block the server
// cannot prepare for its size is tried with fewer rows; one it cannot
// prepare at all makes every row go through the statement of one row.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/database/fb_client.h"
#include "app/errors.h"

namespace app {

// Rows per EXECUTE BLOCK (bench/app/latency_bench.cpp measures the choice).
// Firebird 3 allows a statement 255 contexts of tables, one per UPDATE or
// SELECT of a block, and 64 KB of text and of parameters.
inline constexpr int32_t kLinhasPorLote = 250;

// How the rows of a run, a preview or an undo reach the database: many per
// round trip, or each with a statement of its own (the way kept for
// comparison in tests and benchmarks).
enum class TEnvio { enLotes, enPorLinha };

// The row at `Posicao` of the queue failed with `Erro`.
class ELinhaRecusada : public std::runtime_error {
 public:
  ELinhaRecusada(size_t posicao, const EIBError& erro)
      : std::runtime_error(erro.what()), posicao_(posicao), erro_(erro) {}
  size_t Posicao() const { return posicao_; }
  const EIBError& Erro() const { return erro_; }

 private:
  size_t posicao_;
  EIBError erro_;
};

// The text of the EXECUTE BLOCK for `linhas` rows (for tests and benchmarks).
std::string TextoDoLoteDeAtualizacao(int32_t linhas);

class TAtualizacaoEmLotes {
 public:
  // `sql_de_uma_linha` sets EMAIL from :PEMAIL where CODCLIENTE is
  // :PCODCLIENTE; `linhas_por_lote` 1 sends every row with it alone.
  TAtualizacaoEmLotes(TIBDatabase& database, TIBTransaction& transaction,
                      std::string_view sql_de_uma_linha, int32_t linhas_por_lote = kLinhasPorLote);
  TAtualizacaoEmLotes(const TAtualizacaoEmLotes&) = delete;
  TAtualizacaoEmLotes& operator=(const TAtualizacaoEmLotes&) = delete;

  // Queues a row; both values are in the connection's character set, the
  // address nullopt for NULL.
  void Adiciona(std::string codigo, std::optional<std::string> email);
  size_t Pendentes() const { return fila_.size(); }
  bool Cheio() const { return fila_.size() >= static_cast<size_t>(linhas_por_lote_); }
  // Rows per block, once the block has been prepared (1 when it could not be).
  int32_t LinhasPorLote() const { return linhas_por_lote_; }
  // Rows that went through a block at its first execution.
  int64_t LinhasEmBloco() const { return linhas_em_bloco_; }
  // Sends every queued row, in order, and empties the queue.
  void Envia(const std::function<void(size_t)>& feita);

 private:
  struct TLinha {
    std::string codigo;
    std::optional<std::string> email;
  };
  // Rows [inicio, fim) in one execution of the block: the position of the
  // row that failed in it (the block then changed nothing), or nullopt.
  struct TFalhaNoBloco {
    size_t posicao;
    intptr_t codigo;  // the engine's error code (GDSCODE)
  };
  std::optional<TFalhaNoBloco> ExecutaBloco(size_t inicio, size_t fim);
  // Rows [inicio, fim) through the block, down to the failing row.
  void EnviaIntervalo(size_t inicio, size_t fim, const std::function<void(size_t)>& feita);
  // Row `posicao` alone through the statement of one row.
  void ExecutaUma(size_t posicao);
  bool PreparaBloco();

  TIBDatabase& database_;
  TIBTransaction& transaction_;
  TIBSQL uma_;
  int32_t p_codigo_ = -1, p_email_ = -1;
  TIBSQL bloco_;
  int32_t linhas_por_lote_;
  bool bloco_pronto_ = false;
  int64_t linhas_em_bloco_ = 0;
  std::vector<TLinha> fila_;
};

}  // namespace app
