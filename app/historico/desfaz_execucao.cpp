#include "app/historico/desfaz_execucao.h"

#include <algorithm>
#include <unordered_map>

#include "app/atualizacao_em_lotes.h"
#include "app/envio_cliente.h"
#include "app/errors.h"
#include "app/historico/arquivo_registro.h"
#include "app/historico/enderecos_atuais.h"
#include "app/workbook/file_io.h"

namespace app {

namespace {

constexpr const char* kNadaAlterado = " Nada foi alterado.";
constexpr const char* kSqlRestaura =
    "UPDATE CLIENTE SET EMAIL = :PEMAIL WHERE CLIENTE.CODCLIENTE = :PCODCLIENTE";
// How much of each file of a folder is read to find its header.
constexpr size_t kInicioCabecalho = 64 * 1024;

[[noreturn]] void Recusa(const std::string& arquivo, const std::string& motivo) {
  throw EHistoricoError("O registro \"" + arquivo + "\" " + motivo + "." + kNadaAlterado);
}

bool MesmoCaminho(const std::string& a, const std::string& b) {
#ifdef _WIN32
  // Windows names a file in any case, with either slash.
  auto normal = [](char c) {
    if (c == '/') return '\\';
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
  };
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [&](char x, char y) { return normal(x) == normal(y); });
#else
  return a == b;
#endif
}

void ConfereBanco(const std::string& arquivo, const TCabecalhoRegistro& c, const std::string& banco,
                  const std::string& identidade) {
  if (!c.CriacaoBanco.empty() && !identidade.empty()) {
    if (c.CriacaoBanco != identidade) {
      Recusa(arquivo, "é de outro banco de dados: foi feito no banco \"" + c.Banco +
                          "\", criado em " + c.CriacaoBanco + ", e este banco foi criado em " +
                          identidade + " (outro arquivo, ou o mesmo restaurado de uma cópia)");
    }
    return;
  }
  if (!MesmoCaminho(c.Banco, banco)) {
    Recusa(arquivo, "é de outro banco de dados: foi feito no banco \"" + c.Banco + "\", não em \"" +
                        banco + "\"");
  }
}

// An undo record found in a folder, whole (its checksum holds).
struct TDesfazerLido {
  std::string Arquivo;
  bool Pendente = false;
  TRegistro Registro;
};

// The undo records of the folders. Only their headers are read first, so a
// folder of large run records costs little; an undo record is then read
// whole, and one that is damaged is evidence of nothing.
std::vector<TDesfazerLido> DesfazeresDasPastas(const std::vector<std::string>& pastas) {
  std::vector<TDesfazerLido> lidos;
  std::vector<std::string> vistas;
  for (const std::string& pasta : pastas) {
    bool repetida = false;
    for (const std::string& v : vistas)
      repetida = repetida || MesmoCaminho(v, pasta);
    if (repetida) continue;
    vistas.push_back(pasta);
    for (const std::string& arquivo : ArquivosDaPasta(pasta)) {
      const auto c = LeCabecalho(InicioDoArquivo(arquivo, kInicioCabecalho));
      if (!c || c->Tipo != TTipoRegistro::trDesfazer) continue;
      std::string texto;
      try {
        ReadWholeFile(arquivo, texto, uint64_t{1} << 31);
        lidos.push_back({arquivo, Pendente(arquivo), LeRegistro(texto)});
      } catch (const std::exception&) {
        continue;
      }
    }
  }
  return lidos;
}

// The committed undo record that undid record `id` and was not undone
// itself, or null. An undo that put nothing back changed nothing and tells
// nothing either (two undos that raced: the second found the first's work
// done and committed an empty record); undoing again is harmless and looks
// at the clients anew. An undo names a record older than itself, so the
// chain ends.
const TDesfazerLido* DesfeitoPor(const std::string& id, const std::vector<TDesfazerLido>& lidos,
                                 int profundidade = 0) {
  if (profundidade > 1000) return nullptr;
  for (const TDesfazerLido& l : lidos) {
    const TCabecalhoRegistro& c = l.Registro.Cabecalho;
    if (l.Pendente || l.Registro.Linhas.empty() || c.Desfaz != id) continue;
    if (DesfeitoPor(c.Id, lidos, profundidade + 1) == nullptr) return &l;
  }
  return nullptr;
}

// Whether a pending undo record of this record was committed: every client
// it set back holds the address it put there. An undo stopped before its
// commit left them as they were (each row it lists changed its client), so
// this tells the two apart; one that put nothing back is evidence of nothing.
bool PendenteFoiConfirmado(const TRegistro& pendente, const TEnderecosAtuais& atuais) {
  if (pendente.Linhas.empty()) return false;
  for (const TLinhaRegistro& l : pendente.Linhas) {
    const auto it = atuais.find(std::string(ChaveDoCodigo(l.Codigo)));
    if (it == atuais.end() || it->second != l.Depois) return false;
  }
  return true;
}

// What the record did to one client: the first row's address before, the
// last row's address written.
struct TPlano {
  TClienteDesfeito Cliente;
  bool Restaurar = false;
};

std::vector<TPlano> PlanoPorCliente(const TRegistro& r) {
  std::vector<TPlano> planos;
  std::unordered_map<std::string, size_t> indice;
  for (const TLinhaRegistro& l : r.Linhas) {
    if (!l.Encontrado) continue;
    const auto [it, novo] = indice.emplace(std::string(ChaveDoCodigo(l.Codigo)), planos.size());
    if (novo) {
      TPlano& p = planos.emplace_back();
      p.Cliente.Codigo = l.Codigo;
      p.Cliente.Anterior = l.Antes;
    }
    TClienteDesfeito& c = planos[it->second].Cliente;
    c.Linha = l.Linha;
    c.Gravado = l.Depois;
  }
  return planos;
}

EIBError ErroAoRestaurar(const EIBError& e, const std::string& codigo) {
  return ErroDoCliente(e, "O cliente " + codigo, "desfeito",
                       "Ao restaurar o cliente " + codigo + ": " + e.what() + kNadaAlterado);
}

// The undo's own record: one row per client it set back.
std::string GravaRegistroDoDesfazer(const std::string& arquivo, const TCabecalhoRegistro& desfeito,
                                    const std::vector<TPlano>& planos, const std::string& banco,
                                    const std::string& identidade, const std::string& pasta,
                                    const std::function<void(TEtapaDesfazer)>& ao_chegar) {
  const TMomento momento = Agora();
  TCabecalhoRegistro c = CabecalhoNovo(TTipoRegistro::trDesfazer, momento, banco, identidade,
                                       desfeito.Planilha, desfeito.Aba);
  c.Desfaz = desfeito.Id;
  c.DesfazArquivo = arquivo;
  for (const TPlano& p : planos)
    c.Linhas += p.Restaurar ? 1 : 0;
  TTextoRegistro texto(c);
  for (const TPlano& p : planos) {
    if (!p.Restaurar) continue;
    texto.Linha(p.Cliente.Linha, p.Cliente.Codigo, true, Vista(p.Cliente.Atual),
                Vista(p.Cliente.Anterior));
  }
  try {
    return GravaArquivoPendente(pasta, momento.ParaNome + "_desfazer", texto.Conclui(), [&] {
      if (ao_chegar) ao_chegar(TEtapaDesfazer::edRegistroEscrito);
    });
  } catch (const EHistoricoError& e) {
    throw EHistoricoError(std::string(e.what()) + kNadaAlterado);
  }
}

// The clients set back in batches: each batch's current addresses are read
// just before its restores are written (as a run reads its record), so the
// engine cleans each client's old versions together with its update.
template <typename Decide>
void RestauraEmLotes(TIBDatabase& database, TIBTransaction& transaction,
                     std::vector<TPlano>& planos, const Decide& decide,
                     TResultadoDesfazer& resultado) {
  TConsultaEnderecos consulta(database, transaction);
  TAtualizacaoEmLotes lotes(database, transaction, kSqlRestaura);
  std::vector<TPlano*> fila;  // the restores queued, in order
  auto envia = [&] {
    try {
      lotes.Envia([&](size_t) { ++resultado.Restaurados; });
    } catch (const ELinhaRecusada& r) {
      throw ErroAoRestaurar(r.Erro(), fila[r.Posicao()]->Cliente.Codigo);
    }
    fila.clear();
  };
  const auto lote = static_cast<size_t>(kLinhasPorLote);
  TEnderecosAtuais atuais;
  for (size_t inicio = 0; inicio < planos.size(); inicio += lote) {
    const size_t fim = std::min(planos.size(), inicio + lote);
    std::vector<std::string_view> codigos;
    for (size_t i = inicio; i < fim; ++i)
      codigos.push_back(planos[i].Cliente.Codigo);
    atuais.clear();
    consulta.Le(codigos, atuais);
    for (size_t i = inicio; i < fim; ++i) {
      TPlano& p = planos[i];
      decide(p, atuais);
      if (!p.Restaurar) continue;
      const TClienteDesfeito& c = p.Cliente;
      // A value the connection cannot send fails after the restores before it.
      std::string codigo, email;
      try {
        codigo = TextoDaConexao("PCODCLIENTE", c.Codigo);
        if (c.Anterior) email = TextoDaConexao("PEMAIL", *c.Anterior);
      } catch (const EIBError& e) {
        envia();
        throw ErroAoRestaurar(e, c.Codigo);
      }
      lotes.Adiciona(std::move(codigo),
                     c.Anterior ? std::optional<std::string>(std::move(email)) : std::nullopt);
      fila.push_back(&p);
    }
    envia();
  }
}

}  // namespace

TResultadoDesfazer DesfazExecucao(TIBDatabase& database, TIBTransaction& transaction,
                                  const std::string& arquivo, const TOpcoesDesfazer& opcoes) {
  std::string texto;
  ReadWholeFile(arquivo, texto, uint64_t{1} << 31);
  TRegistro registro;
  try {
    registro = LeRegistro(texto);
  } catch (const EHistoricoError& e) {
    Recusa(arquivo, std::string("está danificado: ") + e.what());
  }
  texto = std::string();
  TResultadoDesfazer resultado;
  resultado.Desfeito = registro.Cabecalho;
  const std::string pasta = opcoes.Pasta.empty() ? PastaDoArquivo(arquivo) : opcoes.Pasta;
  const auto lidos = DesfazeresDasPastas({PastaDoArquivo(arquivo), pasta});
  if (const TDesfazerLido* u = DesfeitoPor(registro.Cabecalho.Id, lidos)) {
    Recusa(arquivo, "já foi desfeito em " + u->Registro.Cabecalho.Data + " (registro \"" +
                        u->Arquivo + "\")");
  }

  std::string gravado;  // the undo's pending record until the commit has happened
  try {
    IniciaTransacao(transaction);
    const std::string identidade = IdentidadeDoBanco(database, transaction);
    ConfereBanco(arquivo, registro.Cabecalho, database.DatabaseName(), identidade);

    std::vector<TPlano> planos = PlanoPorCliente(registro);
    const auto le_atuais = [&](TEnvio envio) {
      std::vector<std::string> codigos;
      codigos.reserve(planos.size());
      for (const TPlano& p : planos)
        codigos.push_back(p.Cliente.Codigo);
      return LeEnderecosAtuais(database, transaction, codigos, {}, envio);
    };

    // An undo of this record that stopped after its commit, before its record
    // got its final name: it is done. Only such a leftover needs every
    // client's address before the restores.
    const bool ha_pendente = std::any_of(lidos.begin(), lidos.end(), [&](const TDesfazerLido& l) {
      return l.Pendente && l.Registro.Cabecalho.Desfaz == registro.Cabecalho.Id;
    });
    if (ha_pendente) {
      const TEnderecosAtuais atuais = le_atuais(opcoes.Envio);
      for (const TDesfazerLido& l : lidos) {
        if (!l.Pendente || l.Registro.Cabecalho.Desfaz != registro.Cabecalho.Id) continue;
        if (!PendenteFoiConfirmado(l.Registro, atuais)) continue;
        const std::string final = ConfirmaArquivoPendente(l.Arquivo);
        Recusa(arquivo, "já foi desfeito em " + l.Registro.Cabecalho.Data + " (registro \"" +
                            final + "\", cuja gravação tinha sido interrompida)");
      }
    }

    // Whether client `p` is set back, from its address now.
    auto decide = [&](TPlano& p, const TEnderecosAtuais& atuais) {
      TClienteDesfeito& c = p.Cliente;
      const auto it = atuais.find(std::string(ChaveDoCodigo(c.Codigo)));
      if (it == atuais.end()) {
        resultado.Excluidos.push_back(c);
        return;
      }
      c.Atual = it->second;
      // Exactly as before (a VARCHAR keeps trailing blanks): nothing to put back.
      if (c.Atual == c.Anterior) {
        ++resultado.JaComoAntes;
        return;
      }
      // The run wrote the address the client already had: whatever changed
      // it since is no change of the run's.
      if (c.Anterior == c.Gravado) {
        ++resultado.NaoAlteradosPelaExecucao;
        return;
      }
      // Changed since the run, as the database compares addresses.
      if (!MesmoEndereco(c.Atual, c.Gravado)) {
        resultado.AlteradosDepois.push_back(c);
        if (!opcoes.Forcar) return;
      }
      p.Restaurar = true;
    };
    if (opcoes.Envio == TEnvio::enPorLinha) {
      const TEnderecosAtuais atuais = le_atuais(TEnvio::enPorLinha);
      TIBSQL restaura(database, transaction);
      restaura.SetSQL(kSqlRestaura);
      const int32_t p_email = restaura.ParamIndex("PEMAIL");
      const int32_t p_codigo = restaura.ParamIndex("PCODCLIENTE");
      for (TPlano& p : planos) {
        decide(p, atuais);
        if (!p.Restaurar) continue;
        const TClienteDesfeito& c = p.Cliente;
        try {
          restaura.SetParamAt(p_codigo, c.Codigo);
          if (c.Anterior) {
            restaura.SetParamAt(p_email, *c.Anterior);
          } else {
            restaura.SetParamNullAt(p_email);
          }
          restaura.ExecQuery();
        } catch (const EIBError& e) {
          throw ErroAoRestaurar(e, c.Codigo);
        }
        ++resultado.Restaurados;
      }
    } else {
      RestauraEmLotes(database, transaction, planos, decide, resultado);
    }
    gravado = GravaRegistroDoDesfazer(arquivo, registro.Cabecalho, planos, database.DatabaseName(),
                                      identidade, pasta, opcoes.AoChegar);
    if (opcoes.AoChegar) opcoes.AoChegar(TEtapaDesfazer::edRegistroDescarregado);
    ConfirmaTransacao(transaction);
  } catch (...) {
    bool desfeita = true;
    try {
      CancelaTransacao(transaction);
    } catch (const std::exception&) {
      desfeita = false;  // the first error is the one told
    }
    // As for a run: the record of a rollback goes, unless the outcome is
    // unknown (it then keeps its pending name: evidence of nothing).
    if (!gravado.empty() && desfeita) RemoveArquivo(gravado);
    throw;
  }
  if (opcoes.AoChegar) opcoes.AoChegar(TEtapaDesfazer::edConfirmado);
  try {
    resultado.Arquivo = ConfirmaArquivoPendente(gravado);
  } catch (const EHistoricoError& e) {
    // The undo is done: only the name of its record is not.
    resultado.Arquivo = gravado;
    resultado.Aviso = std::string(e.what()) +
                      " O desfazer foi gravado no banco de dados; o próximo desfazer deste "
                      "registro dará ao arquivo o nome definitivo.";
  }
  return resultado;
}

}  // namespace app
