#include "app/historico/registro_execucao.h"

#include "app/envio_cliente.h"
#include "app/errors.h"
#include "app/historico/arquivo_registro.h"
#include "app/historico/registro.h"

namespace app {

namespace {

// The indexes of columns "18" and "46", or false when the sheet lacks one.
bool Colunas(const TTabelaTemp& tabela, int32_t& codigo, int32_t& email) {
  try {
    codigo = tabela.FieldIndex("18");
    email = tabela.FieldIndex("46");
    return true;
  } catch (const EDatabaseError&) {
    return false;
  }
}

}  // namespace

TAntesDaExecucao LeAntesDaExecucao(TIBDatabase& database, TIBTransaction& transaction,
                                   TTabelaTemp& tabela, const std::function<void()>& a_cada_lote,
                                   TEnvio envio) {
  TAntesDaExecucao antes;
  antes.IdentidadeBanco = IdentidadeDoBanco(database, transaction);
  int32_t codigo = -1, email = -1;
  if (!Colunas(tabela, codigo, email)) return antes;
  std::vector<std::string> codigos;
  codigos.reserve(static_cast<size_t>(tabela.RecordCount()));
  for (tabela.First(); !tabela.Eof(); tabela.Next())
    codigos.push_back(CodigoEnviado(tabela.Field(codigo)));
  antes.Enderecos = LeEnderecosAtuais(database, transaction, codigos, a_cada_lote, envio);
  return antes;
}

TAntesPorLote::TAntesPorLote(TIBDatabase& database, TIBTransaction& transaction,
                             TAntesDaExecucao& antes)
    : consulta_(database, transaction), antes_(antes) {
  antes_.IdentidadeBanco = IdentidadeDoBanco(database, transaction);
}

void TAntesPorLote::Le(const std::vector<std::string>& codigos) {
  std::vector<std::string_view> novos;
  for (const std::string& codigo : codigos) {
    if (pedidos_.insert(std::string(ChaveDoCodigo(codigo))).second) novos.push_back(codigo);
  }
  if (!novos.empty()) consulta_.Le(novos, antes_.Enderecos);
}

std::string GravaRegistroDaExecucao(TAntesDaExecucao antes, TTabelaTemp& tabela,
                                    const TRegistroDaExecucao& destino, const std::string& banco) {
  const TMomento momento = Agora();
  TCabecalhoRegistro c = CabecalhoNovo(TTipoRegistro::trExecucao, momento, banco,
                                       antes.IdentidadeBanco, destino.Planilha, destino.Aba);
  c.Linhas = tabela.RecordCount();
  TTextoRegistro texto(c);
  int32_t codigo = -1, email = -1;
  if (c.Linhas > 0 && Colunas(tabela, codigo, email)) {
    // Each row overwrote what the rows before it left: a code staged twice
    // has the first row's address before the run, the second row's the
    // address the first one wrote.
    TEnderecosAtuais& atual = antes.Enderecos;
    int64_t linha = 1;
    for (tabela.First(); !tabela.Eof(); tabela.Next(), ++linha) {
      const std::string enviado = CodigoEnviado(tabela.Field(codigo));
      const std::string_view depois = EmailEnviado(tabela.Field(email));
      const auto it = atual.find(std::string(ChaveDoCodigo(enviado)));
      if (it == atual.end()) {
        texto.Linha(linha, enviado, false, std::nullopt, depois);
        continue;
      }
      texto.Linha(linha, enviado, true, Vista(it->second), depois);
      it->second = std::string(depois);
    }
  }
  try {
    const std::string pasta = destino.Pasta.empty() ? PastaHistoricoPadrao() : destino.Pasta;
    return GravaArquivoNovo(pasta, momento.ParaNome + "_execucao", texto.Conclui());
  } catch (const EHistoricoError& e) {
    throw EHistoricoError(std::string(e.what()) + " Nada foi gravado no banco de dados.");
  }
}

}  // namespace app
