#include "app/historico/enderecos_atuais.h"

#include <algorithm>
#include <unordered_set>

#include "app/errors.h"
#include "app/text_encoding.h"

namespace app {

namespace {

// Codes looked up per statement: an IN list is evaluated again for every
// row it finds, so short lists are the fastest (measured: 16 is about twice
// as fast as 256).
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

}  // namespace

std::string_view ChaveDoCodigo(std::string_view codigo) {
  const size_t fim = codigo.find_last_not_of(' ');
  return codigo.substr(0, fim == std::string_view::npos ? 0 : fim + 1);
}

bool MesmoEndereco(const std::optional<std::string>& a, const std::optional<std::string>& b) {
  if (!a || !b) return !a && !b;
  return ChaveDoCodigo(*a) == ChaveDoCodigo(*b);
}

TEnderecosAtuais LeEnderecosAtuais(TIBDatabase& database, TIBTransaction& transaction,
                                   const std::vector<std::string>& codigos,
                                   const std::function<void()>& a_cada_lote) {
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
  auto guarda = [&](std::string_view chave, const std::optional<std::string>& email) {
    if (!atuais.emplace(std::string(chave), email).second) {
      throw EHistoricoError("Há mais de um cliente com o código \"" + std::string(chave) +
                            "\" na tabela CLIENTE: o registro guarda um endereço por código.");
    }
  };

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
        if (chaves.count(chave) != 0) guarda(chave, linha[1]);
      }
      if (lidas % 8192 == 0 && a_cada_lote) a_cada_lote();
      return true;
    });
  }

  // The codes not found as written are looked up as the update finds them,
  // in batches, and those still not found are looked up once more, alone
  // among themselves. A database that compares codes without case or
  // accents answers a code with its client's own code, which may be another
  // code of the worksheet ("abc" answered by client "ABC"): the record could
  // not say which rows the update changed. Either way the answer is a
  // client that no code of its batch names as written, and the run is
  // refused for that reason, whatever path found the codes.
  const auto consulta_lotes = [&](const std::vector<std::string_view>& lista) {
    TIBSQL consulta(database, transaction);
    consulta.SetSQL(TextoDoLote());
    std::unordered_set<std::string_view> do_lote;
    for (size_t inicio = 0; inicio < lista.size(); inicio += kLote) {
      const size_t n = std::min<size_t>(kLote, lista.size() - inicio);
      do_lote.clear();
      // A short last batch repeats its last code in the places left.
      for (size_t i = 0; i < static_cast<size_t>(kLote); ++i) {
        const std::string_view codigo = lista[inicio + std::min(i, n - 1)];
        consulta.SetParamAt(static_cast<int32_t>(i), codigo);
        do_lote.insert(ChaveDoCodigo(codigo));
      }
      consulta.SelectEach([&](const std::vector<std::optional<std::string>>& linha) {
        if (!linha[0]) return true;
        const std::string_view chave = ChaveDoCodigo(*linha[0]);
        if (do_lote.count(chave) == 0) {
          throw EHistoricoError(
              "O banco de dados respondeu pelo cliente \"" + std::string(chave) +
              "\" a um código escrito de outra forma (maiúsculas, minúsculas ou acentos): o "
              "registro não poderia dizer com certeza o que foi alterado.");
        }
        guarda(chave, linha[1]);
        return true;
      });
      if (a_cada_lote && (inicio / kLote) % 64 == 63) a_cada_lote();
    }
  };
  const auto nao_encontrados = [&](const std::vector<std::string_view>& lista) {
    std::vector<std::string_view> faltam;
    for (std::string_view codigo : lista) {
      if (atuais.count(std::string(ChaveDoCodigo(codigo))) == 0) faltam.push_back(codigo);
    }
    return faltam;
  };
  const std::vector<std::string_view> faltam = nao_encontrados(pedidos);
  if (faltam.empty()) return atuais;
  consulta_lotes(faltam);
  // Nearly always few (codes of no client): their batches find nothing,
  // unless the database takes one of them for another client's code.
  const std::vector<std::string_view> ainda = nao_encontrados(faltam);
  if (!ainda.empty()) consulta_lotes(ainda);
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
