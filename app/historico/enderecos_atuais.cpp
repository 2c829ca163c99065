#include "app/historico/enderecos_atuais.h"

#include <algorithm>
#include <cstdlib>
#include <initializer_list>
#include <unordered_set>

#include "app/errors.h"
#include "app/text_encoding.h"

namespace app {

namespace {

// Codes per IN list: an IN list is evaluated again for every row it finds,
// so short lists are the fastest (measured: 16 is about twice as fast as
// 256). The block looks each code up on its own and has no such cost.
constexpr int kLote = 16;
// From how many codes a pass over the whole table is tried, and how many
// table rows per code it may read before giving up.
constexpr size_t kMinimoParaVarrer = 512;
constexpr size_t kLinhasPorCodigo = 4;

std::string TextoDoLote() {
  std::string sql = "SELECT CODCLIENTE, EMAIL FROM CLIENTE WHERE CODCLIENTE IN (";
  for (int i = 0; i < kLote; ++i) {
    if (i > 0) sql += ", ";
    sql += ":C" + std::to_string(i);
  }
  return sql + ")";
}

// The lookups of `n` codes in one EXECUTE BLOCK that answers in one round
// trip: for code i, how many clients have it (N<i>) and the code and address
// of the client found (K<i>, E<i>). A position whose code is NULL finds
// nothing, so a shorter batch leaves the last ones NULL.
std::string TextoDoBloco(int32_t n) {
  std::string sql = "EXECUTE BLOCK (";
  auto junta = [&](std::initializer_list<std::string_view> partes) {
    for (std::string_view parte : partes)
      sql += parte;
  };
  for (int32_t i = 0; i < n; ++i)
    junta({i > 0 ? ", C" : "C", std::to_string(i), " TYPE OF COLUMN CLIENTE.CODCLIENTE = ?"});
  sql += ")\nRETURNS (";
  for (int32_t i = 0; i < n; ++i) {
    const std::string k = std::to_string(i);
    junta({i > 0 ? ", K" : "K", k, " TYPE OF COLUMN CLIENTE.CODCLIENTE, E", k,
           " TYPE OF COLUMN CLIENTE.EMAIL, N", k, " INTEGER"});
  }
  sql += ") AS\nBEGIN\n";
  for (int32_t i = 0; i < n; ++i) {
    const std::string k = std::to_string(i);
    junta({"N", k, " = 0; FOR SELECT CODCLIENTE, EMAIL FROM CLIENTE WHERE CODCLIENTE = :C", k,
           " INTO :K", k, ", :E", k, " DO N", k, " = N", k, " + 1;\n"});
  }
  return sql + "SUSPEND;\nEND";
}

// The fewest codes a block is worth preparing for.
constexpr int32_t kMenorLote = 8;

}  // namespace

std::string_view ChaveDoCodigo(std::string_view codigo) {
  const size_t fim = codigo.find_last_not_of(' ');
  return codigo.substr(0, fim == std::string_view::npos ? 0 : fim + 1);
}

bool MesmoEndereco(const std::optional<std::string>& a, const std::optional<std::string>& b) {
  if (!a || !b) return !a && !b;
  return ChaveDoCodigo(*a) == ChaveDoCodigo(*b);
}

TConsultaEnderecos::TConsultaEnderecos(TIBDatabase& database, TIBTransaction& transaction,
                                       TEnvio envio, int32_t codigos_por_consulta)
    : consulta_(database, transaction),
      envio_(envio),
      por_consulta_(std::max<int32_t>(codigos_por_consulta, kMenorLote)) {}

bool TConsultaEnderecos::LeEmBloco(const std::vector<std::string_view>& codigos, size_t inicio,
                                   size_t n, const TGuarda& guarda) {
  if (!preparada_) {
    // A block the server refuses for its size (columns wide enough to pass
    // its limit on a message) is tried with half the codes; below
    // kMenorLote, or for any other reason (a server without blocks, a table
    // without the columns: the IN lists then say so in the server's own
    // words), the IN lists serve.
    for (int32_t m = por_consulta_; m > 1; m = m / 2 >= kMenorLote ? m / 2 : 1) {
      std::vector<std::string> nomes;
      for (int32_t i = 0; i < m; ++i)
        nomes.push_back(std::string(1, 'C').append(std::to_string(i)));
      consulta_.SetSQLPositional(TextoDoBloco(m), std::move(nomes));
      try {
        consulta_.Prepare();
      } catch (const EDatabaseError&) {
        continue;
      }
      por_consulta_ = m;
      preparada_ = true;
      break;
    }
    if (!preparada_) {
      envio_ = TEnvio::enPorLinha;
      return false;
    }
  }
  n = std::min(n, static_cast<size_t>(por_consulta_));
  for (size_t i = 0; i < static_cast<size_t>(por_consulta_); ++i) {
    if (i < n) {
      consulta_.SetParamAt(static_cast<int32_t>(i), codigos[inicio + i]);
    } else {
      consulta_.SetParamNullAt(static_cast<int32_t>(i));
    }
  }
  const auto saida = consulta_.ExecQueryReturning();
  if (saida.size() != 3 * static_cast<size_t>(por_consulta_)) {
    throw EDatabaseError("EXECUTE BLOCK: unexpected output");
  }
  for (size_t i = 0; i < n; ++i) {
    const auto& quantos = saida[3 * i + 2];
    const long encontrados = quantos ? std::strtol(quantos->c_str(), nullptr, 10) : 0;
    if (encontrados == 0 || !saida[3 * i]) continue;
    // Two clients with the code: the second one found makes guarda refuse.
    for (long k = 0; k < std::min(encontrados, 2L); ++k)
      guarda(codigos[inicio + i], *saida[3 * i], saida[3 * i + 1]);
  }
  return true;
}

void TConsultaEnderecos::Le(const std::vector<std::string_view>& codigos, TEnderecosAtuais& atuais,
                            const std::function<void()>& a_cada_lote) {
  // Each code once; codes the connection cannot send are passed over (the
  // update refuses them on their own row).
  std::vector<std::string_view> pedidos;
  std::unordered_set<std::string_view> chaves;
  std::string convertido;
  for (std::string_view codigo : codigos) {
    if (!Utf8ToWin1252(codigo, convertido)) continue;
    if (chaves.insert(ChaveDoCodigo(codigo)).second) pedidos.push_back(codigo);
  }
  // The codes are looked up as the update finds them: a database that
  // compares codes without case or accents answers with the client's own
  // code, and the record could not say what the update changed.
  // `pedido`: the code asked for, when the answer says which it was.
  auto guarda = [&](std::string_view pedido, std::string_view codigo,
                    const std::optional<std::string>& email) {
    const std::string_view chave = ChaveDoCodigo(codigo);
    if (pedido.empty() ? chaves.count(chave) == 0 : ChaveDoCodigo(pedido) != chave) {
      throw EHistoricoError("O banco de dados respondeu pelo cliente \"" + std::string(chave) +
                            "\" a um código escrito de outra forma (maiúsculas, minúsculas ou "
                            "acentos): o registro não poderia dizer com certeza o que foi "
                            "alterado.");
    }
    if (!atuais.emplace(std::string(chave), email).second) {
      throw EHistoricoError("Há mais de um cliente com o código \"" + std::string(chave) +
                            "\" na tabela CLIENTE: o registro guarda um endereço por código.");
    }
  };
  size_t inicio = 0;
  size_t lotes = 0;
  while (inicio < pedidos.size()) {
    if (envio_ == TEnvio::enLotes) {
      const size_t n =
          std::min<size_t>(static_cast<size_t>(por_consulta_), pedidos.size() - inicio);
      if (LeEmBloco(pedidos, inicio, n, guarda)) {
        // The block may have been prepared for fewer codes than asked.
        inicio += std::min(n, static_cast<size_t>(por_consulta_));
        if (a_cada_lote && ++lotes % 4 == 0) a_cada_lote();
        continue;
      }
      consulta_.SetSQL(TextoDoLote());
    } else if (consulta_.SQL().empty()) {
      consulta_.SetSQL(TextoDoLote());
    }
    const size_t n = std::min<size_t>(kLote, pedidos.size() - inicio);
    // A short last batch repeats its last code in the places left.
    for (size_t i = 0; i < static_cast<size_t>(kLote); ++i)
      consulta_.SetParamAt(static_cast<int32_t>(i), pedidos[inicio + std::min(i, n - 1)]);
    consulta_.SelectEach([&](const std::vector<std::optional<std::string>>& linha) {
      if (linha[0]) guarda({}, *linha[0], linha[1]);
      return true;
    });
    inicio += n;
    if (a_cada_lote && ++lotes % 64 == 0) a_cada_lote();
  }
}

TEnderecosAtuais LeEnderecosAtuais(TIBDatabase& database, TIBTransaction& transaction,
                                   const std::vector<std::string>& codigos,
                                   const std::function<void()>& a_cada_lote, TEnvio envio) {
  // Each code once, as the connection would send it.
  std::vector<std::string_view> pedidos;
  std::unordered_set<std::string_view> chaves;
  std::string convertido;
  for (const std::string& codigo : codigos) {
    if (!Utf8ToWin1252(codigo, convertido)) continue;
    if (chaves.insert(ChaveDoCodigo(codigo)).second) pedidos.push_back(codigo);
  }
  TEnderecosAtuais atuais;
  atuais.reserve(pedidos.size());
  if (pedidos.empty()) return atuais;

  // Many codes: one pass over the table costs less than looking each up,
  // unless the table is much larger than the worksheet; the pass stops after
  // kLinhasPorCodigo rows per code and the lookups take over from there.
  if (pedidos.size() >= kMinimoParaVarrer) {
    TIBSQL varre(database, transaction);
    varre.SetSQL("SELECT CODCLIENTE, EMAIL FROM CLIENTE");
    const size_t limite = pedidos.size() * kLinhasPorCodigo;
    size_t lidas = 0;
    varre.SelectEach([&](const std::vector<std::optional<std::string>>& linha) {
      if (++lidas > limite) return false;
      if (linha[0]) {
        const std::string_view chave = ChaveDoCodigo(*linha[0]);
        if (chaves.count(chave) != 0 && !atuais.emplace(std::string(chave), linha[1]).second) {
          throw EHistoricoError("Há mais de um cliente com o código \"" + std::string(chave) +
                                "\" na tabela CLIENTE: o registro guarda um endereço por código.");
        }
      }
      if (lidas % 8192 == 0 && a_cada_lote) a_cada_lote();
      return true;
    });
  }

  // The codes not found as written are looked up as the update finds them.
  // Those still not found are looked up once more, alone among themselves: a
  // database that compares codes without case or accents answers a code
  // with its client's own code, which may be another code of the worksheet
  // ("abc" answered by client "ABC", both in one IN list); asked alone, the
  // answer names no code asked for and the run is refused for that reason,
  // whichever way the codes were sent.
  const auto nao_encontrados = [&](const std::vector<std::string_view>& lista) {
    std::vector<std::string_view> faltam;
    for (std::string_view codigo : lista) {
      if (atuais.count(std::string(ChaveDoCodigo(codigo))) == 0) faltam.push_back(codigo);
    }
    return faltam;
  };
  const std::vector<std::string_view> faltam = nao_encontrados(pedidos);
  if (faltam.empty()) return atuais;
  TConsultaEnderecos consulta(database, transaction, envio);
  consulta.Le(faltam, atuais, a_cada_lote);
  // Nearly always few (codes of no client): they find nothing again.
  const std::vector<std::string_view> ainda = nao_encontrados(faltam);
  if (!ainda.empty())
    TConsultaEnderecos(database, transaction, envio).Le(ainda, atuais, a_cada_lote);
  return atuais;
}

std::string IdentidadeDoBanco(TIBDatabase& database, TIBTransaction& transaction) {
  TIBSQL consulta(database, transaction);
  // The parts one by one: the text of a whole timestamp depends on the
  // server's version and dialect, its parts do not.
  consulta.SetSQL(
      "SELECT EXTRACT(YEAR FROM MON$CREATION_DATE), EXTRACT(MONTH FROM MON$CREATION_DATE), "
      "EXTRACT(DAY FROM MON$CREATION_DATE), EXTRACT(HOUR FROM MON$CREATION_DATE), "
      "EXTRACT(MINUTE FROM MON$CREATION_DATE), EXTRACT(SECOND FROM MON$CREATION_DATE) "
      "FROM MON$DATABASE");
  std::vector<std::vector<std::optional<std::string>>> linhas;
  try {
    linhas = consulta.SelectAll();
  } catch (const EIBError&) {
    return "";  // no monitoring tables: the path alone names the database
  }
  if (linhas.size() != 1 || linhas[0].size() != 6) return "";
  std::string partes[6];
  for (int i = 0; i < 6; ++i) {
    if (!linhas[0][static_cast<size_t>(i)]) return "";
    partes[i] = *linhas[0][static_cast<size_t>(i)];
    // Two digits before the point ("4.6480" seconds is "04.6480").
    const size_t ponto = std::min(partes[i].find('.'), partes[i].size());
    if (i > 0 && ponto < 2) partes[i].insert(0, 2 - ponto, '0');
  }
  return partes[0] + "-" + partes[1] + "-" + partes[2] + " " + partes[3] + ":" + partes[4] + ":" +
         partes[5];
}

}  // namespace app
