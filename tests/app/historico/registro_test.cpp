// The run record's text: what goes in comes back (nulls apart from empty
// texts, every character a field can hold), and a record that was cut,
// edited or is of an unknown version is refused with its reason.
#include "app/historico/registro.h"

#include <gtest/gtest.h>

#include <zlib.h>

#include <cstdio>

#include "app/errors.h"
#include "tests/support/heap_peak.h"

namespace {

app::TCabecalhoRegistro Cabecalho(int64_t linhas) {
  app::TCabecalhoRegistro c;
  c.Id = "2026-12-10_21-20-24-123-0badcafe";
  c.Data = "2026-12-10 21:20:24";
  c.Banco = "C:\\Vortana\\Gestão.fdb";
  c.CriacaoBanco = "2026-1-5 10:02:03.1234";
  c.Planilha = "C:\\Planilhas\\clientes\tnovos.xlsx";
  c.Aba = "Plan1";
  c.Linhas = linhas;
  return c;
}

std::string Exemplo() {
  app::TTextoRegistro t(Cabecalho(4));
  t.Linha(2, "00000001", true, std::nullopt, "");
  t.Linha(3, "00000002", true, "", "novo@x");
  t.Linha(5, "0000000\\", true, "duas\r\nlinhas\tcom\\barra", std::nullopt);
  t.Linha(7, "00000099", false, "ignorado", "nao@existe");
  return t.Conclui();
}

TEST(Registro, WhatIsWrittenIsReadBackWithNullsApartFromEmptyTexts) {
  const app::TRegistro r = app::LeRegistro(Exemplo());
  EXPECT_EQ(r.Cabecalho.Id, Cabecalho(4).Id);
  EXPECT_EQ(r.Cabecalho.Tipo, app::TTipoRegistro::trExecucao);
  EXPECT_EQ(r.Cabecalho.Banco, "C:\\Vortana\\Gestão.fdb");
  EXPECT_EQ(r.Cabecalho.CriacaoBanco, "2026-1-5 10:02:03.1234");
  EXPECT_EQ(r.Cabecalho.Planilha, "C:\\Planilhas\\clientes\tnovos.xlsx");
  EXPECT_EQ(r.Cabecalho.Linhas, 4);
  ASSERT_EQ(r.Linhas.size(), 4u);
  EXPECT_EQ(r.Linhas[0].Linha, 2);
  EXPECT_EQ(r.Linhas[0].Antes, std::nullopt);
  EXPECT_EQ(r.Linhas[0].Depois, std::optional<std::string>(""));
  EXPECT_EQ(r.Linhas[1].Antes, std::optional<std::string>(""));
  EXPECT_EQ(r.Linhas[2].Codigo, "0000000\\");
  EXPECT_EQ(r.Linhas[2].Antes, std::optional<std::string>("duas\r\nlinhas\tcom\\barra"));
  EXPECT_EQ(r.Linhas[2].Depois, std::nullopt);
  // A code with no client: nothing was overwritten, whatever was passed.
  EXPECT_FALSE(r.Linhas[3].Encontrado);
  EXPECT_EQ(r.Linhas[3].Antes, std::nullopt);
  // The header alone is enough to tell a record (undo scans folders with it).
  const std::string texto = Exemplo();
  const auto cabecalho = app::LeCabecalho(texto.substr(0, texto.find("linha\tcodigo") + 40));
  ASSERT_TRUE(cabecalho.has_value());
  EXPECT_EQ(cabecalho->Id, Cabecalho(4).Id);
  EXPECT_FALSE(app::LeCabecalho("linha\tcodigo\n").has_value());
}

TEST(Registro, AnUndoRecordNamesTheRecordItUndid) {
  app::TCabecalhoRegistro c = Cabecalho(0);
  c.Tipo = app::TTipoRegistro::trDesfazer;
  c.Desfaz = "outro-id";
  c.DesfazArquivo = "/tmp/x.txt";
  const app::TRegistro r = app::LeRegistro(app::TTextoRegistro(c).Conclui());
  EXPECT_EQ(r.Cabecalho.Tipo, app::TTipoRegistro::trDesfazer);
  EXPECT_EQ(r.Cabecalho.Desfaz, "outro-id");
  EXPECT_EQ(r.Cabecalho.DesfazArquivo, "/tmp/x.txt");
  EXPECT_TRUE(r.Linhas.empty());
}

// A body sealed with its end line, as the writer does: what is then
// checked is the content itself.
std::string Selado(const std::string& corpo) {
  const uLong crc = crc32(crc32(0L, Z_NULL, 0), reinterpret_cast<const Bytef*>(corpo.data()),
                          static_cast<uInt>(corpo.size()));
  char fim[32];
  std::snprintf(fim, sizeof fim, "fim\t%08lx\n", crc);
  return corpo + fim;
}

TEST(Registro, DamagedRecordsAreRefusedWithTheirReason) {
  const std::string bom = Exemplo();
  auto corpo = [](const std::string& t) { return t.substr(0, t.rfind("fim\t")); };
  auto trocado = [&](const std::string& de, const std::string& para) {
    std::string t = bom;
    const size_t pos = t.find(de);
    EXPECT_NE(pos, std::string::npos) << de;
    return t.replace(pos, de.size(), para);
  };
  const struct {
    const char* caso;
    std::string texto;
    const char* motivo;
  } casos[] = {
      {"empty", "", "incompleto"},
      {"cut short", bom.substr(0, bom.size() / 2), "incompleto"},
      {"end line lost", bom.substr(0, bom.rfind("fim\t")), "incompleto"},
      {"one byte changed", trocado("novo@x", "novo@y"), "soma de verificação"},
      {"a row removed", trocado("3\t00000002\tencontrado\t\tnovo@x\n", ""), "soma de verificação"},
      {"not a record", "linha\tcodigo\n" + bom.substr(bom.rfind("fim\t")), "soma de verificação"},
      // Sealed again after the change: the content is what is refused.
      {"unknown version", Selado(corpo(trocado("registro\t1\n", "registro\t2\n"))), "versão 2"},
      {"fewer rows than the header says", Selado(corpo(trocado("linhas\t4\n", "linhas\t5\n"))),
       "tem 4 linhas, mas o cabeçalho diz 5"},
      {"no row count", Selado(corpo(trocado("linhas\t4\n", ""))), "faltam no cabeçalho"},
      {"a row with a column lost", Selado(corpo(trocado("\tencontrado\t\tnovo@x", "\tnovo@x"))),
       "colunas em vez de 5"},
      {"an unknown escape", Selado(corpo(trocado("novo@x", "novo\\x"))), "escape inválido"},
      {"found neither yes nor no", Selado(corpo(trocado("inexistente", "talvez"))), "encontrado"},
      {"not a record at all", Selado("linha\tcodigo\n"), "não é um registro"},
  };
  for (const auto& c : casos) {
    try {
      app::LeRegistro(c.texto);
      ADD_FAILURE() << c.caso;
    } catch (const app::EHistoricoError& e) {
      EXPECT_NE(std::string(e.what()).find(c.motivo), std::string::npos)
          << c.caso << ": " << e.what();
    }
  }
}

// A record sealed with a valid checksum may still claim anything: memory
// goes to the lines the text holds, and a line is measured before it is kept.
TEST(Registro, MemoryFollowsTheTextNotWhatTheRecordClaims) {
  const std::string bom = Exemplo();
  std::string corpo = bom.substr(0, bom.rfind("fim\t"));
  const std::string claimed =
      Selado(std::string(corpo).replace(corpo.find("linhas\t4\n"), 9, "linhas\t2147483647\n"));
  const std::string wide = Selado(corpo + "9\t" + std::string(1'000'000, '\t') + "\n");
  const struct {
    const char* caso;
    const std::string& texto;
    const char* motivo;
  } casos[] = {
      {"two billion rows claimed", claimed, "tem 4 linhas, mas o cabeçalho diz 2147483647"},
      {"a line of a million tabs", wide, "tem 1000002 colunas em vez de 5"},
  };
  for (const auto& c : casos) {
    test_support::THeapPeak peak;
    try {
      app::LeRegistro(c.texto);
      ADD_FAILURE() << c.caso;
    } catch (const app::EHistoricoError& e) {
      EXPECT_NE(std::string(e.what()).find(c.motivo), std::string::npos)
          << c.caso << ": " << e.what();
    }
    if (peak.Available()) {
      EXPECT_LT(peak.Bytes(), 1 << 20) << c.caso;
    }
  }
}

}  // namespace
