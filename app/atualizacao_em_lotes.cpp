#include "app/atualizacao_em_lotes.h"

#include <algorithm>
#include <charconv>

#include "app/database/fb_errors.h"

namespace app {

namespace {

// The fewest rows a block is worth preparing for.
constexpr int32_t kMenorLote = 8;

// "C12": built by appending (GCC 12 warns falsely of overlapping copies in
// "C" + std::to_string(12) in the optimised builds).
std::string NomeDoParametro(char letra, int32_t i) {
  std::string nome(1, letra);
  nome += std::to_string(i);
  return nome;
}

// An integer output parameter (its text), or `padrao` when NULL.
int64_t Inteiro(const std::optional<std::string>& texto, int64_t padrao) {
  if (!texto) return padrao;
  int64_t valor = padrao;
  std::from_chars(texto->data(), texto->data() + texto->size(), valor);
  return valor;
}

// Sets C and E from parameters C<i> and E<i> of row I, for I in [de, ate):
// a tree of comparisons, so that finding a row's parameters costs a few
// comparisons whatever the size of the block.
void Escolhe(int32_t de, int32_t ate, std::string& sql) {
  if (ate - de == 1) {
    const std::string n = std::to_string(de);
    sql += "C = :C" + n + "; E = :E" + n + ";";
    return;
  }
  const int32_t meio = de + (ate - de) / 2;
  sql += "IF (I < ";
  sql += std::to_string(meio);
  sql += ") THEN BEGIN ";
  Escolhe(de, meio, sql);
  sql += " END ELSE BEGIN ";
  Escolhe(meio, ate, sql);
  sql += " END";
}

// A block updates its first Q rows, one UPDATE each in the order given,
// with one UPDATE statement in a loop (a statement may use only 255
// contexts of tables, and each UPDATE takes two). The loop runs inside an
// inner BEGIN ... END guarded by a handler: when a row fails, the engine
// undoes everything the inner block did and the handler says which row it
// was (FALHOU, counted from 0) and the engine's code (CODIGO); FALHOU is -1
// when every row went through. The parameters and variables take the types
// of the columns they go to, so that a value is converted and checked as
// the statement of one row would do it.
std::string TextoDoBloco(int32_t linhas) {
  std::string sql = "EXECUTE BLOCK (";
  for (int32_t i = 0; i < linhas; ++i) {
    const std::string n = std::to_string(i);
    for (std::string_view parte : {"C", n.c_str(), " TYPE OF COLUMN CLIENTE.CODCLIENTE = ?, E",
                                   n.c_str(), " TYPE OF COLUMN CLIENTE.EMAIL = ?, "})
      sql += parte;
  }
  sql +=
      "Q INTEGER = ?)\nRETURNS (FALHOU INTEGER, CODIGO INTEGER) AS\n"
      "DECLARE I INTEGER = 0;\nDECLARE C TYPE OF COLUMN CLIENTE.CODCLIENTE;\n"
      "DECLARE E TYPE OF COLUMN CLIENTE.EMAIL;\nBEGIN\nFALHOU = -1;\nCODIGO = 0;\nBEGIN\n"
      "BEGIN\nWHILE (I < Q) DO\nBEGIN\n";
  Escolhe(0, linhas, sql);
  sql +=
      "\nUPDATE CLIENTE SET EMAIL = :E WHERE CLIENTE.CODCLIENTE = :C;\nI = I + 1;\nEND\nEND\n"
      "WHEN ANY DO BEGIN FALHOU = I; CODIGO = GDSCODE; END\nEND\nSUSPEND;\nEND";
  return sql;
}

}  // namespace

std::string TextoDoLoteDeAtualizacao(int32_t linhas) {
  return TextoDoBloco(linhas);
}

TAtualizacaoEmLotes::TAtualizacaoEmLotes(TIBDatabase& database, TIBTransaction& transaction,
                                         std::string_view sql_de_uma_linha, int32_t linhas_por_lote)
    : database_(database),
      transaction_(transaction),
      uma_(database, transaction),
      bloco_(database, transaction),
      linhas_por_lote_(std::max<int32_t>(linhas_por_lote, 1)) {
  uma_.SetSQL(sql_de_uma_linha);
  p_codigo_ = uma_.ParamIndex("PCODCLIENTE");
  p_email_ = uma_.ParamIndex("PEMAIL");
  fila_.reserve(static_cast<size_t>(linhas_por_lote_));
}

void TAtualizacaoEmLotes::Adiciona(std::string codigo, std::optional<std::string> email) {
  fila_.push_back({std::move(codigo), std::move(email)});
}

bool TAtualizacaoEmLotes::PreparaBloco() {
  if (bloco_pronto_) return true;
  if (linhas_por_lote_ == 1) return false;
  // The statement of one row first: a database without the table or the
  // columns is refused with the server's own words for it.
  uma_.Prepare();
  // A block the server refuses for its size (columns wide enough to pass
  // its limit on a message) is tried with half the rows, down to
  // kMenorLote; below that, or for any other reason, every row alone.
  for (int32_t n = linhas_por_lote_; n > 1; n = n / 2 >= kMenorLote ? n / 2 : 1) {
    std::vector<std::string> nomes;
    nomes.reserve(static_cast<size_t>(n) * 2 + 1);
    for (int32_t i = 0; i < n; ++i) {
      nomes.push_back(NomeDoParametro('C', i));
      nomes.push_back(NomeDoParametro('E', i));
    }
    nomes.push_back("Q");
    bloco_.SetSQLPositional(TextoDoBloco(n), std::move(nomes));
    try {
      bloco_.Prepare();
    } catch (const EDatabaseError&) {
      continue;
    }
    linhas_por_lote_ = n;
    bloco_pronto_ = true;
    return true;
  }
  linhas_por_lote_ = 1;
  return false;
}

std::optional<TAtualizacaoEmLotes::TFalhaNoBloco> TAtualizacaoEmLotes::ExecutaBloco(size_t inicio,
                                                                                    size_t fim) {
  const auto n = static_cast<size_t>(linhas_por_lote_);
  for (size_t i = 0; i < n; ++i) {
    const auto codigo = static_cast<int32_t>(2 * i);
    const auto email = codigo + 1;
    if (inicio + i < fim) {
      const TLinha& l = fila_[inicio + i];
      bloco_.SetParamConvertedAt(codigo, l.codigo);
      if (l.email) {
        bloco_.SetParamConvertedAt(email, *l.email);
      } else {
        bloco_.SetParamNullAt(email);
      }
    } else {
      bloco_.SetParamNullAt(codigo);
      bloco_.SetParamNullAt(email);
    }
  }
  bloco_.SetParamAt(static_cast<int32_t>(2 * n), std::to_string(fim - inicio));
  const auto saida = bloco_.ExecQueryReturning();
  if (saida.size() != 2) throw EDatabaseError("EXECUTE BLOCK: unexpected output");
  const int64_t falhou = Inteiro(saida[0], -1);
  if (falhou < 0) return std::nullopt;
  if (inicio + static_cast<size_t>(falhou) >= fim) {
    throw EIBError("EXECUTE BLOCK: a failure outside the rows sent", 0, 0);
  }
  return TFalhaNoBloco{inicio + static_cast<size_t>(falhou),
                       static_cast<intptr_t>(Inteiro(saida[1], 0))};
}

void TAtualizacaoEmLotes::ExecutaUma(size_t posicao) {
  const TLinha& l = fila_[posicao];
  try {
    uma_.SetParamConvertedAt(p_codigo_, l.codigo);
    if (l.email) {
      uma_.SetParamConvertedAt(p_email_, *l.email);
    } else {
      uma_.SetParamNullAt(p_email_);
    }
    uma_.ExecQuery();
  } catch (const EIBError& e) {
    throw ELinhaRecusada(posicao, e);
  }
}

void TAtualizacaoEmLotes::EnviaIntervalo(size_t inicio, size_t fim,
                                         const std::function<void(size_t)>& feita) {
  while (inicio < fim) {
    std::optional<TFalhaNoBloco> falha;
    try {
      falha = ExecutaBloco(inicio, fim);
    } catch (const EIBError&) {
      // An error outside the block's handler (a value its parameter cannot
      // take, a lost connection): the rows one by one find the row and
      // give its own error.
      for (; inicio < fim; ++inicio) {
        ExecutaUma(inicio);
        if (feita) feita(inicio);
      }
      return;
    }
    if (!falha) {
      linhas_em_bloco_ += static_cast<int64_t>(fim - inicio);
      for (; inicio < fim; ++inicio) {
        if (feita) feita(inicio);
      }
      return;
    }
    // The rows before the failing one went through and were undone with
    // the block: again, without it.
    EnviaIntervalo(inicio, falha->posicao, feita);
    // A row held or changed by another station: the block already waited
    // for it as long as the transaction allows, and the engine's error says
    // no more than its code.
    if (auto conflito = ErroDeConflito(falha->codigo)) {
      throw ELinhaRecusada(falha->posicao, *conflito);
    }
    // Any other error: the row alone gives the engine's whole error (or
    // goes through, when what stopped it is gone).
    ExecutaUma(falha->posicao);
    if (feita) feita(falha->posicao);
    inicio = falha->posicao + 1;
  }
}

void TAtualizacaoEmLotes::Envia(const std::function<void(size_t)>& feita) {
  struct TEsvazia {
    std::vector<TLinha>& fila;
    ~TEsvazia() { fila.clear(); }
  } esvazia{fila_};
  if (fila_.empty()) return;
  bool em_lotes = false;
  try {
    em_lotes = PreparaBloco();
  } catch (const EIBError& e) {
    // The statement of one row cannot be prepared: the error of the first row.
    throw ELinhaRecusada(0, e);
  }
  if (!em_lotes) {
    for (size_t i = 0; i < fila_.size(); ++i) {
      ExecutaUma(i);
      if (feita) feita(i);
    }
    return;
  }
  for (size_t inicio = 0; inicio < fila_.size(); inicio += static_cast<size_t>(linhas_por_lote_)) {
    EnviaIntervalo(inicio, std::min(fila_.size(), inicio + static_cast<size_t>(linhas_por_lote_)),
                   feita);
  }
}

}  // namespace app
