// What a run, its preview and its undo cost when the database is reached
// through a server, near and far, sent in batches and row by row; and what
// running the same worksheet again costs on a database with forced writes.
// Run on demand with the optimised build (native-release preset), by
// bench/app/latency_bench.sh, which starts the test server:
//   latency_bench latencia [ROWS] [FOLDER]   (default 100,000 rows)
//   latency_bench repeticao [ROWS] [FOLDER]
//   latency_bench lote [ROWS] [FOLDER]
// latencia: ROWS clients and a worksheet of ROWS rows (every client once, in
// a shuffled order): the preview, the run (with its record, as the program
// always runs) and its undo, each on a fresh copy of the database, with the
// embedded engine, through the server, and through a forwarding proxy that
// holds every message 0.5 ms and 20 ms round trip. Row by row is measured
// on the same rows, except at 20 ms where 2,000 rows are timed and the
// figure is given per 100,000 rows. Goals: through the server at no added
// delay, within 2 x the embedded engine; at 20 ms, a 100,000-row run and its
// undo each under 30 s.
// repeticao: the embedded engine and forced writes (every database made
// here has them, as Firebird's default and real Vortana databases): a first
// run, the same worksheet again (every address already as written), a
// third run with other addresses, each in an attachment of its own, right
// after the first and once the other stations' reads have cleaned up what
// the last run left behind; in the worksheet's order, shuffled, and in the
// order opposite to the first run's; batched and row by row, with the page
// writes of each. Goal: a run again at most 2 x the first.
// lote: the choice of the rows per block: ROWS updates (the update alone, no
// record) and ROWS lookups of addresses with blocks of several sizes, with
// the embedded engine, through the server, and at 20 ms round trip.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/atualiza_emails.h"
#include "app/atualizacao_em_lotes.h"
#include "app/database/fb_client.h"
#include "app/envio_cliente.h"
#include "app/historico/desfaz_execucao.h"
#include "app/historico/enderecos_atuais.h"
#include "app/previa_execucao.h"
#include "bench/app/proxy_atraso.h"

namespace {

double Time(const std::function<void()>& f) {
  const auto start = std::chrono::steady_clock::now();
  f();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

std::string Codigo(int n) {
  std::string code = std::to_string(n);
  code.insert(0, 8 - code.size(), '0');
  return code;
}

void Exec(app::TIBDatabase& db, const std::string& sql) {
  app::TIBTransaction tr(db);
  tr.StartTransaction();
  app::TIBSQL q(db, tr);
  q.SetSQL(sql);
  q.ExecQuery();
  tr.Commit();
}

// A Vortana-like CLIENTE of `clientes` clients without addresses, made with
// the embedded engine (forced writes on, Firebird's default).
// With `prefixo`, each client has the address the worksheets of Planilha give it.
void CriaModelo(const std::shared_ptr<app::TFbClientLibrary>& lib, const std::string& arquivo,
                int clientes, const std::string& prefixo = "") {
  std::filesystem::remove(arquivo);
  app::TIBDatabase db(lib);
  db.SetDatabaseName(arquivo);
  db.CreateDatabase("WIN1252");
  Exec(db,
       "CREATE TABLE CLIENTE (CODCLIENTE VARCHAR(8) NOT NULL PRIMARY KEY, NOME VARCHAR(60), "
       "CIDADE VARCHAR(40), EMAIL VARCHAR(60))");
  app::TIBTransaction tr(db);
  tr.StartTransaction();
  app::TIBSQL q(db, tr);
  q.SetSQL("INSERT INTO CLIENTE (CODCLIENTE, NOME, CIDADE, EMAIL) VALUES (:C, :N, :D, :E)");
  for (int i = 1; i <= clientes; ++i) {
    q.SetParam("C", Codigo(i));
    if (prefixo.empty()) {
      q.SetParamNullAt(q.ParamIndex("E"));
    } else {
      q.SetParam("E", prefixo + std::to_string(i) + "@exemplo.com.br");
    }
    q.SetParam("N", "Cliente " + std::to_string(i));
    q.SetParam("D", i % 2 ? "São Paulo" : "Curitiba");
    q.ExecQuery();
  }
  tr.Commit();
}

// A worksheet of `linhas` rows, clients 1 to `linhas` once each, in their
// order or shuffled (and then the other way round when `invertida`), with
// the addresses `prefixo`<n>@exemplo.com.br.
app::TTabelaTemp Planilha(int linhas, bool embaralhada, const std::string& prefixo,
                          bool invertida = false) {
  app::TTabelaTemp t;
  for (int k = 1; k <= 46; ++k)
    t.AddFieldDef(std::to_string(k));
  t.CreateDataSet();
  for (int linha = 0; linha < linhas; ++linha) {
    const int i = invertida ? linhas - 1 - linha : linha;
    // 7919 is prime, so i -> i * 7919 mod linhas visits every client once.
    const int n =
        embaralhada ? 1 + static_cast<int>((static_cast<int64_t>(i) * 7919) % linhas) : i + 1;
    t.Append();
    t.SetField(17, std::to_string(n));
    t.SetField(45, prefixo + std::to_string(n) + "@exemplo.com.br");
    t.Post();
  }
  return t;
}

// Pages this attachment has written so far.
int64_t PaginasGravadas(app::TIBDatabase& db) {
  app::TIBTransaction tr(db);
  tr.StartTransaction();
  app::TIBSQL q(db, tr);
  q.SetSQL(
      "SELECT CAST(I.MON$PAGE_WRITES AS INTEGER) FROM MON$ATTACHMENTS A JOIN MON$IO_STATS I ON "
      "I.MON$STAT_ID = A.MON$STAT_ID WHERE A.MON$ATTACHMENT_ID = CURRENT_CONNECTION");
  const auto linhas = q.SelectAll();
  tr.Commit();
  return linhas.empty() || !linhas[0][0] ? 0 : std::atoll(linhas[0][0]->c_str());
}

struct TMedida {
  double previa = 0, execucao = 0, desfazer = 0;
};

// The preview, the run with its record and its undo of `t`, on database `nome`.
TMedida Mede(const std::shared_ptr<app::TFbClientLibrary>& lib, const std::string& nome,
             app::TTabelaTemp& t, bool em_lotes, const std::string& pasta) {
  TMedida m;
  app::TIBDatabase db(lib);
  db.SetDatabaseName(nome);
  db.Open();
  const app::TEnvio envio = em_lotes ? app::TEnvio::enLotes : app::TEnvio::enPorLinha;
  {
    app::TIBTransaction tr(db);
    tr.SetReadOnly(true);
    m.previa = Time([&] { app::PreviaDaExecucao(db, tr, t, envio); });
  }
  app::TRegistroDaExecucao registro;
  registro.Pasta = pasta;
  registro.Planilha = "bench.xlsx";
  registro.Aba = "Plan1";
  {
    app::TIBTransaction tr(db);
    std::string erro;
    app::TRunFeedback f;
    f.Erro = [&](const std::string& s) { erro = s; };
    m.execucao = Time([&] {
      app::AtualizaEmails(db, tr, t, f,
                          em_lotes ? app::TModoPreparo::mpLotes : app::TModoPreparo::mpUmaVez,
                          &registro);
    });
    if (!erro.empty()) std::printf("  run failed: %s\n", erro.c_str());
  }
  if (!registro.Arquivo.empty()) {
    app::TIBTransaction tr(db);
    app::TOpcoesDesfazer opcoes;
    opcoes.Envio = envio;
    m.desfazer = Time([&] { app::DesfazExecucao(db, tr, registro.Arquivo, opcoes); });
  }
  return m;
}

int Latencia(const std::shared_ptr<app::TFbClientLibrary>& lib, int linhas,
             const std::string& pasta) {
  const char* servidor = std::getenv("PROJECT_FIREBIRD_SERVER");
  if (servidor == nullptr || std::string(servidor).rfind("localhost/", 0) != 0) {
    std::fprintf(stderr, "latency_bench: PROJECT_FIREBIRD_SERVER=localhost/PORT is needed\n");
    return 2;
  }
  const int porta = std::atoi(servidor + 10);
  const std::string modelo = std::filesystem::absolute(pasta + "/modelo.fdb").string();
  CriaModelo(lib, modelo, linhas);
  app::TTabelaTemp todas = Planilha(linhas, true, "novo");
  constexpr int kLinhasLongeLinhaALinha = 2000;
  app::TTabelaTemp poucas = Planilha(std::min(linhas, kLinhasLongeLinhaALinha), true, "novo");
  int copias = 0;
  auto copia = [&] {
    const std::string arquivo =
        std::filesystem::absolute(pasta + "/caso" + std::to_string(++copias) + ".fdb").string();
    std::filesystem::remove(arquivo);
    std::filesystem::copy_file(modelo, arquivo);
    return arquivo;
  };
  std::printf("%d clients, a worksheet of %d rows in a shuffled order; seconds\n", linhas, linhas);
  std::printf("%-28s %-12s %9s %9s %9s %12s\n", "", "", "preview", "run", "undo", "messages");
  double embutido_execucao = 0, embutido_desfazer = 0, longe_execucao = 0, longe_desfazer = 0;
  const struct {
    const char* nome;
    std::optional<double> atraso;  // none: the embedded engine
  } lugares[] = {{"embedded", std::nullopt},
                 {"server, loopback", 0.0},
                 {"server, 0.5 ms round trip", 0.5},
                 {"server, 20 ms round trip", 20.0}};
  for (const auto& lugar : lugares) {
    for (bool em_lotes : {true, false}) {
      std::optional<bench::TProxyAtraso> proxy;
      if (lugar.atraso && *lugar.atraso > 0) proxy.emplace(porta, *lugar.atraso);
      const std::string arquivo = copia();
      const std::string nome = !lugar.atraso ? arquivo
                               : proxy
                                   ? "localhost/" + std::to_string(proxy->Porta()) + ":" + arquivo
                                   : std::string(servidor) + ":" + arquivo;
      const bool reduzida = !em_lotes && lugar.atraso && *lugar.atraso >= 20;
      app::TTabelaTemp& t = reduzida ? poucas : todas;
      const TMedida m = Mede(lib, nome, t, em_lotes, pasta + "/registros");
      const double escala = reduzida ? static_cast<double>(linhas) / t.RecordCount() : 1.0;
      char mensagens[32] = "";
      if (proxy) std::snprintf(mensagens, sizeof mensagens, "%lld", (long long)proxy->Mensagens());
      std::printf("%-28s %-12s %9.2f %9.2f %9.2f %12s%s\n", lugar.nome,
                  em_lotes ? "batches" : "row by row", m.previa * escala, m.execucao * escala,
                  m.desfazer * escala, mensagens,
                  reduzida ? "  (2,000 rows timed, per 100,000)" : "");
      if (em_lotes && !lugar.atraso) {
        embutido_execucao = m.execucao;
        embutido_desfazer = m.desfazer;
      }
      if (em_lotes && lugar.atraso && *lugar.atraso == 0) {
        std::printf("  goal: within 2 x embedded: run %.2f x, undo %.2f x\n",
                    m.execucao / embutido_execucao, m.desfazer / embutido_desfazer);
      }
      if (em_lotes && lugar.atraso && *lugar.atraso >= 20) {
        longe_execucao = m.execucao;
        longe_desfazer = m.desfazer;
      }
      std::filesystem::remove(arquivo);
    }
  }
  std::printf("  goal at 20 ms: run %.1f s and undo %.1f s, each under 30 s\n", longe_execucao,
              longe_desfazer);
  return 0;
}

// Every client read in a transaction of its own, as the other stations'
// work reads them between two monthly runs: the versions the last run left
// behind are garbage-collected on the way.
void LeTodos(const std::shared_ptr<app::TFbClientLibrary>& lib, const std::string& arquivo) {
  app::TIBDatabase db(lib);
  db.SetDatabaseName(arquivo);
  db.Open();
  app::TIBTransaction tr(db);
  tr.StartTransaction();
  app::TIBSQL q(db, tr);
  q.SetSQL("SELECT COUNT(*) FROM CLIENTE WHERE EMAIL IS NOT NULL");
  q.SelectAll();
  tr.Commit();
}

struct TCusto {
  double segundos = 0;
  int64_t paginas = 0;
};

// A run of `t` with its record on `arquivo`, in an attachment of its own (a
// run is a start of the program); `sql_de_uma_linha` set, that statement
// row by row instead of the run (the alternatives measured beside it).
TCusto Executa(const std::shared_ptr<app::TFbClientLibrary>& lib, const std::string& arquivo,
               app::TTabelaTemp& t, bool em_lotes, const std::string& pasta,
               const char* sql_de_uma_linha = nullptr) {
  app::TIBDatabase db(lib);
  db.SetDatabaseName(arquivo);
  db.Open();
  TCusto c;
  const int64_t antes = PaginasGravadas(db);
  app::TIBTransaction tr(db);
  if (sql_de_uma_linha != nullptr) {
    tr.StartTransaction();
    c.segundos = Time([&] {
      app::TIBSQL q(db, tr);
      q.SetSQL(sql_de_uma_linha);
      for (t.First(); !t.Eof(); t.Next()) {
        q.SetParam("PCODCLIENTE", app::CodigoEnviado(t.Field(17)));
        q.SetParam("PEMAIL", t.Field(45));
        q.ExecQuery();
      }
      tr.Commit();
    });
  } else {
    app::TRegistroDaExecucao registro;
    registro.Pasta = pasta;
    c.segundos = Time([&] {
      app::AtualizaEmails(db, tr, t, {},
                          em_lotes ? app::TModoPreparo::mpLotes : app::TModoPreparo::mpUmaVez,
                          &registro);
    });
  }
  c.paginas = PaginasGravadas(db) - antes;
  return c;
}

int Repeticao(const std::shared_ptr<app::TFbClientLibrary>& lib, int linhas,
              const std::string& pasta) {
  const std::string modelo = std::filesystem::absolute(pasta + "/modelo-r.fdb").string();
  CriaModelo(lib, modelo, linhas);
  std::printf("embedded engine, forced writes, %d clients and rows; seconds (page writes)\n",
              linhas);
  std::printf(
      "first run: the clients had no address; again: the same worksheet right after it; "
      "after reads: the same again once the other stations' reads have cleaned up what the "
      "last run left (a month later); other: other addresses, after reads; in "
      "order/reversed: the first run in order, the others the other way round\n");
  std::printf("%-18s %-11s %16s %16s %16s %16s %9s\n", "order", "", "first run", "again",
              "after reads", "other", "worst/1st");
  const struct {
    const char* nome;
    bool primeira_embaralhada, depois_embaralhada, depois_invertida;
  } ordens[] = {{"in order", false, false, false},
                {"shuffled", true, true, false},
                {"in order/reversed", false, false, true}};
  const std::string arquivo = std::filesystem::absolute(pasta + "/repeticao.fdb").string();
  for (const auto& ordem : ordens) {
    for (bool em_lotes : {true, false}) {
      std::filesystem::remove(arquivo);
      std::filesystem::copy_file(modelo, arquivo);
      app::TTabelaTemp primeira = Planilha(linhas, ordem.primeira_embaralhada, "novo");
      app::TTabelaTemp mesma =
          Planilha(linhas, ordem.depois_embaralhada, "novo", ordem.depois_invertida);
      app::TTabelaTemp outra =
          Planilha(linhas, ordem.depois_embaralhada, "outro", ordem.depois_invertida);
      const std::string registros = pasta + "/registros";
      TCusto c[4];
      c[0] = Executa(lib, arquivo, primeira, em_lotes, registros);
      c[1] = Executa(lib, arquivo, mesma, em_lotes, registros);
      LeTodos(lib, arquivo);
      c[2] = Executa(lib, arquivo, mesma, em_lotes, registros);
      LeTodos(lib, arquivo);
      c[3] = Executa(lib, arquivo, outra, em_lotes, registros);
      double pior = 0;
      for (int k = 1; k < 4; ++k)
        pior = std::max(pior, c[k].segundos);
      std::printf("%-18s %-11s", ordem.nome, em_lotes ? "batches" : "row by row");
      for (const TCusto& k : c)
        std::printf(" %7.2f (%6lld)", k.segundos, (long long)k.paginas);
      std::printf(" %8.2f x\n", pior / c[0].segundos);
    }
  }
  std::printf("  goal: a run again at most 2 x the first\n");
  // What the page writes come from: the first run made every address
  // longer than the record had room for on its page, so the engine split
  // those records (head on its page, the rest on another). An update of a
  // split record stores the old version and the new tail on a page with
  // free space and then frees the old tail; when both land on one page,
  // each must reach the disk before the other, and the engine breaks the
  // cycle by writing the pages at once: with forced writes, synchronous
  // writes per row. Whether they meet depends on the order of this run
  // against the order of the run that split the records (above), not on
  // the addresses being equal. Beside it: the records made whole again (a
  // database restored from a backup holds them whole: written here as
  // inserts of the same clients with their addresses), and the statement
  // that leaves an unchanged address alone (its triggers do not fire).
  {
    std::filesystem::remove(arquivo);
    std::filesystem::copy_file(modelo, arquivo);
    app::TTabelaTemp primeira = Planilha(linhas, false, "novo");
    Executa(lib, arquivo, primeira, true, pasta + "/registros");
    LeTodos(lib, arquivo);
    const TCusto sem_mudar =
        Executa(lib, arquivo, primeira, false, pasta + "/registros",
                "UPDATE CLIENTE SET EMAIL = :PEMAIL WHERE CLIENTE.CODCLIENTE = :PCODCLIENTE "
                "AND CLIENTE.EMAIL IS DISTINCT FROM :PEMAIL");
    std::printf(
        "in order, after reads, unchanged addresses left alone (no update, no trigger): "
        "%.2f s (%lld)\n",
        sem_mudar.segundos, (long long)sem_mudar.paginas);
    const std::string inteiros = std::filesystem::absolute(pasta + "/inteiros.fdb").string();
    CriaModelo(lib, inteiros, linhas, "novo");
    const TCusto inteiro = Executa(lib, inteiros, primeira, true, pasta + "/registros");
    std::printf(
        "in order, records whole (as after a backup and restore), same again: "
        "%.2f s (%lld)\n",
        inteiro.segundos, (long long)inteiro.paginas);
    std::filesystem::remove(inteiros);
  }
  std::filesystem::remove(arquivo);
  return 0;
}

int Lote(const std::shared_ptr<app::TFbClientLibrary>& lib, int linhas, const std::string& pasta) {
  const char* servidor = std::getenv("PROJECT_FIREBIRD_SERVER");
  if (servidor == nullptr || std::string(servidor).rfind("localhost/", 0) != 0) {
    std::fprintf(stderr, "latency_bench: PROJECT_FIREBIRD_SERVER=localhost/PORT is needed\n");
    return 2;
  }
  const int porta = std::atoi(servidor + 10);
  const std::string modelo = std::filesystem::absolute(pasta + "/modelo-l.fdb").string();
  CriaModelo(lib, modelo, linhas);
  const std::string arquivo = std::filesystem::absolute(pasta + "/lote.fdb").string();
  std::filesystem::remove(arquivo);
  std::filesystem::copy_file(modelo, arquivo);
  std::vector<std::string> codigos, emails;
  for (int i = 0; i < linhas; ++i) {
    const int n = 1 + static_cast<int>((static_cast<int64_t>(i) * 7919) % linhas);
    codigos.push_back(Codigo(n));
    emails.push_back("novo" + std::to_string(n) + "@exemplo.com.br");
  }
  std::vector<std::string_view> vistas(codigos.begin(), codigos.end());
  std::printf("%d updates and %d lookups (rows per second; rolled back)\n", linhas, linhas);
  std::printf("%-24s %8s %14s %14s\n", "", "rows", "updates/s", "lookups/s");
  for (double atraso : {-1.0, 0.0, 20.0}) {
    std::optional<bench::TProxyAtraso> proxy;
    if (atraso > 0) proxy.emplace(porta, atraso);
    const std::string nome = atraso < 0 ? arquivo
                             : proxy ? "localhost/" + std::to_string(proxy->Porta()) + ":" + arquivo
                                     : std::string(servidor) + ":" + arquivo;
    app::TIBDatabase db(lib);
    db.SetDatabaseName(nome);
    db.Open();
    for (int n : {1, 16, 64, 128, 250, 400}) {
      // Far away, row by row only on a part of the rows.
      const size_t quantas =
          atraso >= 20 && n < 64 ? static_cast<size_t>(std::min(linhas, 2000)) : codigos.size();
      app::TIBTransaction tr(db);
      tr.StartTransaction();
      double atualiza = 0, consulta_s = 0;
      {
        app::TAtualizacaoEmLotes lotes(db, tr, app::kSqlAtualizaEmail, n);
        atualiza = Time([&] {
          for (size_t i = 0; i < quantas; ++i) {
            lotes.Adiciona(codigos[i], emails[i]);
            if (lotes.Cheio()) lotes.Envia({});
          }
          lotes.Envia({});
        });
      }
      {
        app::TConsultaEnderecos consulta(
            db, tr, n == 1 ? app::TEnvio::enPorLinha : app::TEnvio::enLotes, std::max(n, 8));
        app::TEnderecosAtuais atuais;
        consulta_s = Time([&] {
          consulta.Le(std::vector<std::string_view>(vistas.begin(), vistas.begin() + quantas),
                      atuais);
        });
      }
      tr.Rollback();
      std::printf("%-24s %8d %14.0f %14.0f\n",
                  atraso < 0    ? "embedded"
                  : atraso == 0 ? "server, loopback"
                                : "server, 20 ms",
                  n, quantas / atualiza, quantas / consulta_s);
    }
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string modo = argc > 1 ? argv[1] : "latencia";
  const int linhas = argc > 2 ? std::atoi(argv[2]) : 100000;
  const std::string pasta = argc > 3 ? argv[3] : "bench-latency-data";
  std::filesystem::create_directories(pasta + "/registros");
  const std::string lock = std::filesystem::absolute(pasta).string();
  setenv("FIREBIRD_LOCK", lock.c_str(), 1);
  setenv("FIREBIRD_TMP", lock.c_str(), 1);
  auto lib = app::TFbClientLibrary::Load();
  const int rc = modo == "repeticao" ? Repeticao(lib, linhas, pasta)
                 : modo == "lote"    ? Lote(lib, linhas, pasta)
                                     : Latencia(lib, linhas, pasta);
  lib->Shutdown();
  return rc;
}
