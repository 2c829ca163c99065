#include "app/envio_cliente.h"

#include <algorithm>

#include "app/controla_excel.h"
#include "app/errors.h"
#include "unicode/utf8.h"

namespace app {

std::string_view PrimeirosCaracteres(std::string_view text, int32_t count) {
  return text.substr(0, unicode::Utf8PrefixBytes(text, static_cast<size_t>(std::max(count, 0))));
}

std::string CompletaZeros(std::string_view text, int32_t length) {
  // Length in characters, as the operator sees the code.
  const auto chars = static_cast<int64_t>(unicode::CountUtf8Characters(text));
  std::string out;
  const int64_t d = static_cast<int64_t>(length) - chars;
  if (d > 0) out.assign(static_cast<size_t>(d), '0');
  out.append(text);
  return out;
}

std::string CodigoEnviado(std::string_view coluna18) {
  std::string codigo = CompletaZeros(coluna18, 8);
  codigo.resize(PrimeirosCaracteres(codigo, 8).size());
  return codigo;
}

std::string_view EmailEnviado(std::string_view coluna46) {
  return PrimeirosCaracteres(coluna46, 60);
}

// A sheet narrower than 46 columns has no column 18 or 46: the staging
// table's own text is kept at the end, after what it means to the operator.
int32_t ColunaLida(const TTabelaTemp& tabela, int32_t coluna) {
  try {
    return tabela.FieldIndex(std::to_string(coluna));
  } catch (const EDatabaseError& e) {
    const int32_t ultima = tabela.FieldCount();
    const std::string usada = ultima > 0
                                  ? " (a última usada é a " + TDMCotrolaExcel::LetraColuna(ultima) +
                                        ", coluna " + std::to_string(ultima) + ")"
                                  : "";
    throw EDatabaseError("A planilha tem menos de 46 colunas" + usada +
                         ": a atualização lê o código do cliente na coluna R (18) e o e-mail na "
                         "coluna AT (46). (" +
                         e.what() + ")");
  }
}

EIBError ErroDoCliente(const EIBError& e, const std::string& cliente, std::string_view feito,
                       const std::string& outro) {
  std::string texto;
  switch (e.Kind()) {
    case TIBErrorKind::ekRegistroEmUso:
      texto = cliente + " está em uso por outra estação, que o alterou e ainda não gravou a " +
              "alteração. Nada foi " + std::string(feito) +
              "; tente de novo quando a outra estação terminar.";
      break;
    case TIBErrorKind::ekAlteradoPorOutra:
      texto = cliente + " foi alterado por outra estação, que já gravou a alteração, depois do " +
              "início desta operação. Nada foi " + std::string(feito) +
              "; tente de novo, agora com a alteração da outra estação à vista.";
      break;
    case TIBErrorKind::ekNaoEVortana:
    case TIBErrorKind::ekArquivo:
    case TIBErrorKind::ekDiscoCheio:
    case TIBErrorKind::ekConexaoPerdida:
      return e;
    case TIBErrorKind::ekCaractere:
    case TIBErrorKind::ekOutro:
      texto = outro;
      break;
  }
  return {texto, e.SqlCode(), e.IscCode(), e.Kind()};
}

}  // namespace app
