#include "app/atualiza_emails.h"

#include <algorithm>
#include <optional>

#include "app/atualizacao_em_lotes.h"
#include "app/controla_excel.h"
#include "app/errors.h"
#include "app/historico/arquivo_registro.h"

namespace app {

namespace {

// The error of row `linha` (of the sheet: staged row i is sheet row i) for
// client `cliente`: the status text that showed the row is cleared with the
// failure, so the message itself says where the run stopped.
EIBError ErroNaLinha(const EIBError& e, int64_t linha, std::string_view cliente) {
  const std::string onde = "linha " + std::to_string(linha) + " da planilha";
  return ErroDoCliente(e, "O cliente " + std::string(cliente) + " (" + onde + ")", "gravado",
                       "Na " + onde + " (cliente " + std::string(cliente) + "): " + e.what());
}

void Limpa(const TRunFeedback& feedback) {
  if (feedback.Fase) feedback.Fase("");
  if (feedback.Status) feedback.Status("");
}

}  // namespace

namespace {

// The update stage in batches (TModoPreparo::mpLotes).
void AtualizaEmLotes(TIBDatabase& database, TIBTransaction& transaction, TTabelaTemp& tabela,
                     const TRunFeedback& feedback, const TAntesDoLote& antes_do_lote) {
  if (feedback.Fase) feedback.Fase(kFaseAtualizacao);
  const int64_t total = tabela.RecordCount();
  int64_t progress = 0;
  if (feedback.Barra) feedback.Barra(progress, total);
  TAtualizacaoEmLotes lotes(database, transaction, kSqlAtualizaEmail);
  // The rows queued: their row of the sheet and code as sent.
  std::vector<int64_t> linhas;
  std::vector<std::string> clientes;
  // What the window shows for row `linha` before it is written...
  auto mostra = [&](int64_t linha) {
    if (feedback.Status) feedback.Status(TextoProgresso(linha, total));
    if (feedback.ProcessaMensagens) feedback.ProcessaMensagens();
  };
  // ...and, once it went through, the gauge.
  auto feita = [&](size_t k) {
    mostra(linhas[k]);
    ++progress;
    if (feedback.Barra) feedback.Barra(progress, total);
  };
  auto envia = [&] {
    if (linhas.empty()) return;
    if (antes_do_lote) antes_do_lote(clientes);
    try {
      lotes.Envia(feita);
    } catch (const ELinhaRecusada& r) {
      mostra(linhas[r.Posicao()]);
      throw ErroNaLinha(r.Erro(), linhas[r.Posicao()], clientes[r.Posicao()]);
    }
    linhas.clear();
    clientes.clear();
  };
  tabela.First();
  int32_t codigo = -1, email = -1;
  for (int64_t i = 1; !tabela.Eof(); tabela.Next(), ++i) {
    // A row that cannot be sent (a sheet too narrow, a character the
    // connection cannot hold) fails after the rows queued before it, as it
    // would row by row.
    std::string cliente;
    try {
      if (codigo < 0) codigo = ColunaLida(tabela, 18);
      cliente = CodigoEnviado(tabela.Field(codigo));
      std::string enviado = TextoDaConexao("PCODCLIENTE", cliente);
      if (email < 0) email = ColunaLida(tabela, 46);
      lotes.Adiciona(std::move(enviado),
                     TextoDaConexao("PEMAIL", PrimeirosCaracteres(tabela.Field(email), 60)));
    } catch (const std::exception&) {
      envia();
      mostra(i);
      try {
        throw;
      } catch (const EIBError& e) {
        throw ErroNaLinha(e, i, cliente);
      }
    }
    linhas.push_back(i);
    clientes.push_back(std::move(cliente));
    if (lotes.Cheio()) envia();
  }
  envia();
  Limpa(feedback);
  if (feedback.Barra) feedback.Barra(0, total);
}

}  // namespace

void AtualizaClientes(TIBDatabase& database, TIBTransaction& transaction, TTabelaTemp& tabela,
                      const TRunFeedback& feedback, TModoPreparo modo,
                      const TAntesDoLote& antes_do_lote) {
  if (modo == TModoPreparo::mpLotes) {
    AtualizaEmLotes(database, transaction, tabela, feedback, antes_do_lote);
    return;
  }
  // The statement lives for this stage only and is freed on every way out.
  TIBSQL query(database, transaction);
  if (feedback.Fase) feedback.Fase(kFaseAtualizacao);
  const int64_t total = tabela.RecordCount();
  int64_t progress = 0;
  if (feedback.Barra) feedback.Barra(progress, total);
  tabela.First();
  // Resolving the two columns also reports a sheet too narrow for them on
  // the first row, as reading them by name would.
  int32_t codigo = -1, email = -1;
  int64_t i = 1;
  int32_t p_codigo = -1, p_email = -1;
  if (modo == TModoPreparo::mpUmaVez) {
    query.SetSQL(kSqlAtualizaEmail);
    p_codigo = query.ParamIndex("PCODCLIENTE");
    p_email = query.ParamIndex("PEMAIL");
  }
  while (!tabela.Eof()) {
    if (feedback.Status) feedback.Status(TextoProgresso(i, total));
    if (feedback.ProcessaMensagens) feedback.ProcessaMensagens();
    if (modo == TModoPreparo::mpPorLinha) {
      // The text assigned again: the statement is prepared again and its
      // parameters are made anew.
      query.SetSQL(kSqlAtualizaEmail);
      p_codigo = query.ParamIndex("PCODCLIENTE");
      p_email = query.ParamIndex("PEMAIL");
    }
    if (codigo < 0) codigo = ColunaLida(tabela, 18);
    const std::string cliente = CodigoEnviado(tabela.Field(codigo));
    try {
      query.SetParamAt(p_codigo, cliente);
      if (email < 0) email = ColunaLida(tabela, 46);
      query.SetParamAt(p_email, PrimeirosCaracteres(tabela.Field(email), 60));
      query.ExecQuery();
    } catch (const EIBError& e) {
      throw ErroNaLinha(e, i, cliente);
    }
    tabela.Next();
    ++progress;
    if (feedback.Barra) feedback.Barra(progress, total);
    ++i;
  }
  Limpa(feedback);
  if (feedback.Barra) feedback.Barra(0, total);
}

bool AtualizaEmails(TIBDatabase& database, TIBTransaction& transaction, TTabelaTemp& tabela,
                    const TRunFeedback& feedback, TModoPreparo modo,
                    TRegistroDaExecucao* registro) {
  std::string motivo;
  std::string gravado;  // the record of this run until the commit has happened
  try {
    IniciaTransacao(transaction);
    TAntesDaExecucao antes;
    std::optional<TAntesPorLote> por_lote;
    TAntesDoLote antes_do_lote;
    if (registro != nullptr && modo == TModoPreparo::mpLotes) {
      por_lote.emplace(database, transaction, antes);
      antes_do_lote = [&](const std::vector<std::string>& codigos) { por_lote->Le(codigos); };
    } else if (registro != nullptr) {
      // Row by row, as the reference it is kept for: everything read first,
      // in short IN lists.
      antes = LeAntesDaExecucao(database, transaction, tabela, feedback.ProcessaMensagens,
                                TEnvio::enPorLinha);
    }
    AtualizaClientes(database, transaction, tabela, feedback, modo, antes_do_lote);
    if (registro != nullptr) {
      gravado =
          GravaRegistroDaExecucao(std::move(antes), tabela, *registro, database.DatabaseName());
    }
    ConfirmaTransacao(transaction);
    if (registro != nullptr) registro->Arquivo = std::move(gravado);
    gravado.clear();
    if (feedback.Informacao) feedback.Informacao(kMensagemSucesso);
    return true;
  } catch (const std::exception& e) {
    motivo = e.what();
  } catch (...) {
    motivo = "Erro desconhecido";
  }
  bool desfeita = true;
  try {
    CancelaTransacao(transaction);
  } catch (const std::exception& e) {
    // The rollback's own failure (a lost connection) is told after the first reason.
    motivo += std::string("\n") + e.what();
    desfeita = false;
  }
  // The record of a run that was rolled back describes nothing that
  // happened. When even the rollback failed, whether the commit went through
  // is unknown, and the record stays.
  if (!gravado.empty() && desfeita) RemoveArquivo(gravado);
  if (feedback.Erro) feedback.Erro(std::string(kMensagemFalha) + motivo);
  Limpa(feedback);
  if (feedback.Barra) feedback.Barra(0, tabela.RecordCount());
  return false;
}

}  // namespace app
