#include "app/historico/registro.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>
#include <stdexcept>

#include "app/errors.h"
#include "app/texto_escapado.h"

namespace app {

namespace {

constexpr std::string_view kMarca = "AtualizaEmails\tregistro\t";
constexpr std::string_view kVersao = "1";
constexpr std::string_view kColunas = "linha\tcodigo\tcliente\tantes\tdepois";
constexpr std::string_view kFim = "fim\t";
constexpr std::string_view kNulo = "\\N";
constexpr std::string_view kEncontrado = "encontrado";
constexpr std::string_view kInexistente = "inexistente";

std::string_view NomeDoTipo(TTipoRegistro tipo) {
  return tipo == TTipoRegistro::trDesfazer ? "desfazer" : "execucao";
}

void Campo(std::string& out, std::string_view chave, std::string_view valor) {
  out.append(chave);
  out.push_back('\t');
  EscapaCampo(valor, out);
  out.push_back('\n');
}

void Endereco(std::string& out, std::optional<std::string_view> valor) {
  if (valor) {
    EscapaCampo(*valor, out);
  } else {
    out.append(kNulo);
  }
}

uint32_t Crc32(std::string_view texto) {
  uLong crc = crc32(0L, Z_NULL, 0);
  // zlib takes the length in 32 bits: long texts go in pieces.
  constexpr size_t kPedaco = size_t{1} << 30;
  for (size_t i = 0; i < texto.size(); i += kPedaco) {
    const size_t n = std::min(kPedaco, texto.size() - i);
    crc = crc32(crc, reinterpret_cast<const Bytef*>(texto.data() + i), static_cast<uInt>(n));
  }
  return static_cast<uint32_t>(crc);
}

std::string Hex8(uint32_t valor) {
  char buf[9];
  std::snprintf(buf, sizeof buf, "%08x", static_cast<unsigned>(valor));
  return buf;
}

[[noreturn]] void Danificado(const std::string& motivo) {
  throw EHistoricoError(motivo);
}

// Splits `texto` into lines ended by "\n"; the last piece (after the last
// "\n") is returned by Resto().
class TLinhas {
 public:
  explicit TLinhas(std::string_view texto) : texto_(texto) {}
  bool Proxima(std::string_view& linha) {
    const size_t fim = texto_.find('\n', pos_);
    if (fim == std::string_view::npos) return false;
    linha = texto_.substr(pos_, fim - pos_);
    pos_ = fim + 1;
    ++numero_;
    return true;
  }
  int64_t Numero() const { return numero_; }  // of the last line returned, from 1
  size_t Posicao() const { return pos_; }     // where the next line starts

 private:
  std::string_view texto_;
  size_t pos_ = 0;
  int64_t numero_ = 0;
};

// The five fields of a row line (views into it); false, with `contadas`
// set, when the line has another number of fields. Nothing is kept of a
// line that has more.
constexpr size_t kCamposDaLinha = 5;
bool Campos(std::string_view linha, std::array<std::string_view, kCamposDaLinha>& campos,
            size_t& contadas) {
  size_t inicio = 0;
  contadas = 0;
  for (;;) {
    const size_t tab = linha.find('\t', inicio);
    const std::string_view campo =
        linha.substr(inicio, tab == std::string_view::npos ? tab : tab - inicio);
    if (contadas < kCamposDaLinha) campos[contadas] = campo;
    ++contadas;
    if (tab == std::string_view::npos) return contadas == kCamposDaLinha;
    inicio = tab + 1;
  }
}

bool Inteiro(std::string_view texto, int64_t& valor) {
  if (texto.empty()) return false;
  const auto [fim, erro] = std::from_chars(texto.data(), texto.data() + texto.size(), valor);
  return erro == std::errc() && fim == texto.data() + texto.size() && valor >= 0;
}

std::string NaLinha(int64_t numero) {
  return "a linha " + std::to_string(numero) + " do arquivo ";
}

// The header lines up to and including the column line. Returns false when
// the text is not a record at all; throws for a record with a bad header.
bool LeCabecalhoDe(TLinhas& linhas, TCabecalhoRegistro& c) {
  std::string_view linha;
  if (!linhas.Proxima(linha) || linha.substr(0, kMarca.size()) != kMarca) return false;
  if (linha.substr(kMarca.size()) != kVersao) {
    Danificado("é da versão " + std::string(linha.substr(kMarca.size())) +
               " do formato, que este programa não conhece");
  }
  bool tem_id = false, tem_tipo = false, tem_banco = false, tem_linhas = false;
  std::string valor;
  for (;;) {
    if (!linhas.Proxima(linha)) Danificado("o cabeçalho está incompleto");
    if (linha == kColunas) break;
    const size_t tab = linha.find('\t');
    if (tab == std::string_view::npos || !DesescapaCampo(linha.substr(tab + 1), valor)) {
      Danificado(NaLinha(linhas.Numero()) + "não é uma linha de cabeçalho válida");
    }
    const std::string_view chave = linha.substr(0, tab);
    if (chave == "id") {
      c.Id = valor;
      tem_id = !valor.empty();
    } else if (chave == "tipo") {
      if (valor != "execucao" && valor != "desfazer")
        Danificado("o tipo \"" + valor + "\" não existe");
      c.Tipo = valor == "desfazer" ? TTipoRegistro::trDesfazer : TTipoRegistro::trExecucao;
      tem_tipo = true;
    } else if (chave == "data") {
      c.Data = valor;
    } else if (chave == "banco") {
      c.Banco = valor;
      tem_banco = true;
    } else if (chave == "criacao-banco") {
      c.CriacaoBanco = valor;
    } else if (chave == "planilha") {
      c.Planilha = valor;
    } else if (chave == "aba") {
      c.Aba = valor;
    } else if (chave == "desfaz") {
      c.Desfaz = valor;
    } else if (chave == "desfaz-arquivo") {
      c.DesfazArquivo = valor;
    } else if (chave == "linhas") {
      if (!Inteiro(valor, c.Linhas))
        Danificado("o número de linhas \"" + valor + "\" não é válido");
      tem_linhas = true;
    }
    // Keys this version does not know are passed over.
  }
  if (!tem_id || !tem_tipo || !tem_banco || !tem_linhas) {
    Danificado("faltam no cabeçalho o identificador, o tipo, o banco ou o número de linhas");
  }
  if (c.Tipo == TTipoRegistro::trDesfazer && c.Desfaz.empty()) {
    Danificado("o cabeçalho não diz que registro foi desfeito");
  }
  return true;
}

std::optional<std::string> EnderecoLido(std::string_view campo, int64_t numero) {
  if (campo == kNulo) return std::nullopt;
  std::string valor;
  if (!DesescapaCampo(campo, valor)) Danificado(NaLinha(numero) + "tem um escape inválido");
  return valor;
}

}  // namespace

TTextoRegistro::TTextoRegistro(const TCabecalhoRegistro& c) : esperadas_(c.Linhas) {
  // About 60 bytes a row: reserved once for the whole text.
  texto_.reserve(512 + static_cast<size_t>(std::max<int64_t>(c.Linhas, 0)) * 64);
  texto_.append(kMarca);
  texto_.append(kVersao);
  texto_.push_back('\n');
  Campo(texto_, "id", c.Id);
  Campo(texto_, "tipo", NomeDoTipo(c.Tipo));
  Campo(texto_, "data", c.Data);
  Campo(texto_, "banco", c.Banco);
  Campo(texto_, "criacao-banco", c.CriacaoBanco);
  Campo(texto_, "planilha", c.Planilha);
  Campo(texto_, "aba", c.Aba);
  if (c.Tipo == TTipoRegistro::trDesfazer) {
    Campo(texto_, "desfaz", c.Desfaz);
    Campo(texto_, "desfaz-arquivo", c.DesfazArquivo);
  }
  Campo(texto_, "linhas", std::to_string(c.Linhas));
  texto_.append(kColunas);
  texto_.push_back('\n');
}

void TTextoRegistro::Linha(int64_t linha, std::string_view codigo, bool encontrado,
                           std::optional<std::string_view> antes,
                           std::optional<std::string_view> depois) {
  char numero[24];
  const auto r = std::to_chars(numero, numero + sizeof numero, linha);
  texto_.append(numero, r.ptr);
  texto_.push_back('\t');
  EscapaCampo(codigo, texto_);
  texto_.push_back('\t');
  texto_.append(encontrado ? kEncontrado : kInexistente);
  texto_.push_back('\t');
  Endereco(texto_, encontrado ? antes : std::nullopt);
  texto_.push_back('\t');
  Endereco(texto_, depois);
  texto_.push_back('\n');
  ++escritas_;
}

std::string TTextoRegistro::Conclui() {
  if (escritas_ != esperadas_) {
    throw std::logic_error("run record: " + std::to_string(escritas_) +
                           " rows written, header says " + std::to_string(esperadas_));
  }
  const uint32_t crc = Crc32(texto_);
  texto_.append(kFim);
  texto_.append(Hex8(crc));
  texto_.push_back('\n');
  return std::move(texto_);
}

TRegistro LeRegistro(std::string_view texto) {
  // The end line first: a record cut short, or changed anywhere, stops here.
  if (texto.empty() || texto.back() != '\n') Danificado("o arquivo está incompleto");
  const size_t ultima = texto.rfind('\n', texto.size() - 2);
  const size_t inicio_fim = ultima == std::string_view::npos ? 0 : ultima + 1;
  const std::string_view fim = texto.substr(inicio_fim, texto.size() - 1 - inicio_fim);
  if (fim.substr(0, kFim.size()) != kFim) {
    Danificado("o arquivo está incompleto (falta a linha final de controle)");
  }
  const std::string_view corpo = texto.substr(0, inicio_fim);
  if (fim.substr(kFim.size()) != Hex8(Crc32(corpo))) {
    Danificado("a soma de verificação não confere: o arquivo foi alterado ou danificado");
  }
  TRegistro r;
  TLinhas linhas(corpo);
  if (!LeCabecalhoDe(linhas, r.Cabecalho)) Danificado("o arquivo não é um registro de execução");
  // The header's count is a claim: room only for the lines the text holds.
  const auto restantes = static_cast<int64_t>(
      std::count(corpo.begin() + static_cast<std::ptrdiff_t>(linhas.Posicao()), corpo.end(), '\n'));
  r.Linhas.reserve(static_cast<size_t>(std::min(r.Cabecalho.Linhas, restantes)));
  std::string_view linha;
  std::array<std::string_view, kCamposDaLinha> campos;
  while (linhas.Proxima(linha)) {
    const int64_t n = linhas.Numero();
    size_t contadas = 0;
    if (!Campos(linha, campos, contadas)) {
      Danificado(NaLinha(n) + "tem " + std::to_string(contadas) + " colunas em vez de 5");
    }
    TLinhaRegistro& l = r.Linhas.emplace_back();
    if (!Inteiro(campos[0], l.Linha)) Danificado(NaLinha(n) + "não começa por um número de linha");
    if (!DesescapaCampo(campos[1], l.Codigo)) Danificado(NaLinha(n) + "tem um escape inválido");
    if (campos[2] != kEncontrado && campos[2] != kInexistente) {
      Danificado(NaLinha(n) + "não diz se o cliente foi encontrado");
    }
    l.Encontrado = campos[2] == kEncontrado;
    l.Antes = EnderecoLido(campos[3], n);
    l.Depois = EnderecoLido(campos[4], n);
  }
  if (static_cast<int64_t>(r.Linhas.size()) != r.Cabecalho.Linhas) {
    Danificado("tem " + std::to_string(r.Linhas.size()) + " linhas, mas o cabeçalho diz " +
               std::to_string(r.Cabecalho.Linhas));
  }
  return r;
}

std::optional<TCabecalhoRegistro> LeCabecalho(std::string_view inicio) {
  TCabecalhoRegistro c;
  TLinhas linhas(inicio);
  try {
    if (!LeCabecalhoDe(linhas, c)) return std::nullopt;
  } catch (const EHistoricoError&) {
    return std::nullopt;
  }
  return c;
}

}  // namespace app
