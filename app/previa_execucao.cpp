#include "app/previa_execucao.h"

#include <unordered_map>

#include "app/envio_cliente.h"
#include "app/historico/enderecos_atuais.h"
#include "app/text_encoding.h"
#include "app/texto_escapado.h"
#include "unicode/utf8.h"

namespace app {

namespace {

// Why an address does not look like one, or "".
std::string Suspeita(std::string_view endereco) {
  size_t arrobas = 0;
  bool espaco = false;
  for (char c : endereco) {
    arrobas += c == '@' ? 1 : 0;
    espaco = espaco || c == ' ' || c == '\t' || c == '\r' || c == '\n';
  }
  std::string motivo;
  auto junta = [&](const char* m) { motivo += (motivo.empty() ? "" : ", ") + std::string(m); };
  if (arrobas == 0) junta("sem @");
  if (arrobas > 1) junta("com mais de um @");
  if (espaco) junta("com espaços");
  return motivo;
}

TEfeitoPrevisto Efeito(const std::optional<std::string>& atual, const std::string& novo) {
  if (MesmoEndereco(atual, novo)) return TEfeitoPrevisto::epMantem;
  return novo.empty() ? TEfeitoPrevisto::epEsvazia : TEfeitoPrevisto::epAltera;
}

const char* NomeDoEfeito(TEfeitoPrevisto e) {
  switch (e) {
    case TEfeitoPrevisto::epAltera:
      return "altera";
    case TEfeitoPrevisto::epMantem:
      return "mantem";
    case TEfeitoPrevisto::epEsvazia:
      return "esvazia";
    case TEfeitoPrevisto::epSemCliente:
      return "sem-cliente";
    case TEfeitoPrevisto::epFalharia:
      return "falharia";
  }
  return "";
}

std::string ListaDeLinhas(const std::vector<int64_t>& linhas) {
  std::string out = linhas.size() == 1 ? "linha " : "linhas ";
  for (size_t i = 0; i < linhas.size(); ++i)
    out += (i > 0 ? ", " : "") + std::to_string(linhas[i]);
  return out;
}

}  // namespace

TPrevia PreviaDaExecucao(TIBDatabase& database, TIBTransaction& transaction, TTabelaTemp& tabela,
                         TEnvio envio) {
  TPrevia p;
  p.Linhas = tabela.RecordCount();
  if (p.Linhas == 0) return p;
  const int32_t col_codigo = ColunaLida(tabela, 18);
  const int32_t col_email = ColunaLida(tabela, 46);
  p.Detalhe.reserve(static_cast<size_t>(p.Linhas));
  std::vector<std::string> codigos;
  codigos.reserve(static_cast<size_t>(p.Linhas));
  int64_t linha = 1;
  for (tabela.First(); !tabela.Eof(); tabela.Next(), ++linha) {
    TLinhaPrevia& l = p.Detalhe.emplace_back();
    l.Linha = linha;
    l.CodigoPlanilha = tabela.Field(col_codigo);
    l.Codigo = CodigoEnviado(l.CodigoPlanilha);
    const std::string_view email = tabela.Field(col_email);
    l.Novo = EmailEnviado(email);
    l.CodigoVazio = l.CodigoPlanilha.empty();
    l.CodigoCortado = unicode::CountUtf8Characters(l.CodigoPlanilha) > 8;
    l.EnderecoCortado = l.Novo.size() < email.size();
    codigos.push_back(l.Codigo);
  }

  TEnderecosAtuais atual;
  IniciaTransacao(transaction);
  try {
    atual = LeEnderecosAtuais(database, transaction, codigos, {}, envio);
    CancelaTransacao(transaction);
  } catch (...) {
    CancelaTransacao(transaction);
    throw;
  }

  std::unordered_map<std::string, size_t> grupos;  // code -> index into `membros`
  std::vector<std::vector<size_t>> membros;
  std::unordered_map<std::string, size_t> nao_encontrados;  // code -> index into NaoEncontrados
  std::string convertido;
  for (size_t i = 0; i < p.Detalhe.size(); ++i) {
    TLinhaPrevia& l = p.Detalhe[i];
    const std::string chave(ChaveDoCodigo(l.Codigo));
    const auto [g, novo_grupo] = grupos.emplace(chave, membros.size());
    if (novo_grupo) membros.emplace_back();
    membros[g->second].push_back(i);
    if (!Utf8ToWin1252(l.Codigo, convertido) || !Utf8ToWin1252(l.Novo, convertido)) {
      l.Efeito = TEfeitoPrevisto::epFalharia;
      ++p.Falhariam;
      continue;
    }
    const auto it = atual.find(chave);
    if (it == atual.end()) {
      const auto [n, novo] = nao_encontrados.emplace(chave, p.NaoEncontrados.size());
      if (novo) p.NaoEncontrados.push_back({l.Codigo, {}});
      p.NaoEncontrados[n->second].Linhas.push_back(l.Linha);
      continue;
    }
    l.Encontrado = true;
    ++p.LinhasComCliente;
    l.Atual = it->second;
    l.Efeito = Efeito(l.Atual, l.Novo);
    if (!l.Novo.empty()) l.EnderecoSuspeito = Suspeita(l.Novo);
    // The rows after this one overwrite what it writes.
    it->second = l.Novo;
    p.Alteram += l.Efeito == TEfeitoPrevisto::epAltera ? 1 : 0;
    p.Mantem += l.Efeito == TEfeitoPrevisto::epMantem ? 1 : 0;
    p.Esvaziam += l.Efeito == TEfeitoPrevisto::epEsvazia ? 1 : 0;
  }
  p.CodigosEncontrados = static_cast<int64_t>(atual.size());
  for (const auto& rows : membros) {
    if (rows.size() < 2) continue;
    bool diferentes = false;
    for (size_t k : rows)
      diferentes = diferentes || p.Detalhe[k].Novo != p.Detalhe[rows[0]].Novo;
    if (diferentes) p.Repetidos.push_back({p.Detalhe[rows[0]].Codigo, rows});
  }
  return p;
}

std::string TextoDaPrevia(const TPrevia& p) {
  std::string out;
  auto linha = [&](const std::string& texto) { out += texto + "\n"; };
  auto contagem = [&](const std::string& rotulo, int64_t n) {
    linha(rotulo + ": " + std::to_string(n));
  };
  linha("Prévia da atualização (nada foi gravado)");
  contagem("linhas lidas", p.Linhas);
  linha("códigos encontrados em CLIENTE: " + std::to_string(p.CodigosEncontrados) + " (em " +
        std::to_string(p.LinhasComCliente) + " linhas)");
  contagem("códigos não encontrados", static_cast<int64_t>(p.NaoEncontrados.size()));
  for (const auto& n : p.NaoEncontrados)
    linha("  " + Escapado(n.Codigo) + ": " + ListaDeLinhas(n.Linhas));
  contagem("linhas que alterariam o endereço", p.Alteram);
  contagem("linhas que manteriam o endereço", p.Mantem);
  contagem("linhas que deixariam o endereço vazio", p.Esvaziam);
  contagem("códigos repetidos com endereços diferentes (vale a última linha)",
           static_cast<int64_t>(p.Repetidos.size()));
  for (const auto& r : p.Repetidos) {
    std::string texto = "  " + Escapado(r.Codigo) + ":";
    for (size_t i = 0; i < r.Linhas.size(); ++i) {
      const TLinhaPrevia& l = p.Detalhe[r.Linhas[i]];
      texto += (i > 0 ? "," : "") + std::string(" linha ") + std::to_string(l.Linha) + " " +
               Citado(l.Novo);
    }
    linha(texto);
  }

  // The row lists of the warnings, each with its own test and text.
  struct TAviso {
    const char* rotulo;
    bool (*vale)(const TLinhaPrevia&);
    std::string (*descreve)(const TLinhaPrevia&);
  };
  const TAviso avisos[] = {
      {"endereços que não parecem de e-mail (aviso)",
       [](const TLinhaPrevia& l) { return !l.EnderecoSuspeito.empty(); },
       [](const TLinhaPrevia& l) { return Citado(l.Novo) + " " + l.EnderecoSuspeito; }},
      {"endereços com mais de 60 caracteres (enviados cortados aos 60 primeiros)",
       [](const TLinhaPrevia& l) { return l.EnderecoCortado; },
       [](const TLinhaPrevia& l) { return "enviado " + Citado(l.Novo); }},
      {"linhas com o código vazio (enviadas como cliente 00000000)",
       [](const TLinhaPrevia& l) { return l.CodigoVazio; },
       [](const TLinhaPrevia& l) {
         return std::string(l.Novo.empty() ? "endereço vazio" : "endereço " + Citado(l.Novo)) +
                (l.Encontrado ? ", o cliente 00000000 existe" : "");
       }},
      {"códigos com mais de 8 caracteres (enviados cortados aos 8 primeiros)",
       [](const TLinhaPrevia& l) { return l.CodigoCortado; },
       [](const TLinhaPrevia& l) {
         return Citado(l.CodigoPlanilha) + " enviado como " + Escapado(l.Codigo);
       }},
      {"linhas que fariam a atualização falhar (caractere que o banco não comporta)",
       [](const TLinhaPrevia& l) { return l.Efeito == TEfeitoPrevisto::epFalharia; },
       [](const TLinhaPrevia& l) {
         return "código " + Citado(l.Codigo) + ", endereço " + Citado(l.Novo);
       }},
  };
  for (const TAviso& a : avisos) {
    std::vector<const TLinhaPrevia*> linhas;
    for (const TLinhaPrevia& l : p.Detalhe) {
      if (a.vale(l)) linhas.push_back(&l);
    }
    contagem(a.rotulo, static_cast<int64_t>(linhas.size()));
    for (const TLinhaPrevia* l : linhas) {
      linha("  linha " + std::to_string(l->Linha) + " (cliente " + Escapado(l->Codigo) +
            "): " + a.descreve(*l));
    }
  }
  return out;
}

std::string DetalheDaPrevia(const TPrevia& p) {
  std::string out =
      "linha\tcodigo_planilha\tcodigo_enviado\tcliente\tatual\tnovo\tefeito\tavisos\n";
  for (const TLinhaPrevia& l : p.Detalhe) {
    out += std::to_string(l.Linha);
    out += '\t';
    EscapaCampo(l.CodigoPlanilha, out);
    out += '\t';
    EscapaCampo(l.Codigo, out);
    out += l.Encontrado ? "\tencontrado\t" : "\tinexistente\t";
    if (!l.Encontrado) {
      // no address: nothing would be overwritten
    } else if (l.Atual) {
      EscapaCampo(*l.Atual, out);
    } else {
      out += "\\N";
    }
    out += '\t';
    EscapaCampo(l.Novo, out);
    out += '\t';
    out += NomeDoEfeito(l.Efeito);
    out += '\t';
    std::string avisos;
    auto aviso = [&](bool vale, const std::string& nome) {
      if (vale) avisos += (avisos.empty() ? "" : ",") + nome;
    };
    aviso(l.CodigoVazio, "codigo-vazio");
    aviso(l.CodigoCortado, "codigo-cortado");
    aviso(l.EnderecoCortado, "endereco-cortado");
    aviso(!l.EnderecoSuspeito.empty(), "endereco-suspeito");
    EscapaCampo(avisos, out);
    out += '\n';
  }
  return out;
}

}  // namespace app
