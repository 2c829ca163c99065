// Figures of the updater core, run on demand (native-release preset):
//   bench/app/app_import_update_bench [rows] [work folder] [import|update]
// (the third argument runs only that half, e.g. under a profiler; "parse"
// is the import half without xlsx2csv; "staging" stages each workbook's sheet,
// read once, several times over)
// Import: a workbook of ROWS x 46 columns (inline strings and shared
// strings) read into the staging table, beside the inflate-only floor (the
// sheet inflated with the same zip library, nothing parsed) and xlsx2csv.
// Update: ROWS updates in one transaction against an embedded database of
// ROWS clients: prepare once, re-prepare per row, and a bare loop on the C
// API (the floor); the run with its record (goal: under 1.3 x and under 1 s
// more than without), and the preview of the same rows (goal: under 2 x a run).
#include <ibase.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <functional>
#include <string>

#include "app/atualiza_emails.h"
#include "app/controla_excel.h"
#include "app/database/fb_client.h"
#include "app/importa_planilha.h"
#include "app/previa_execucao.h"
#include "app/workbook/file_engine.h"
#include "app/workbook/file_io.h"
#include "app/workbook/zip_archive.h"
#include "bench/app/workbook_writer.h"

namespace {

// Wall time of f; its processor time (all threads) in *cpu when given, which
// stays meaningful when other work shares the machine.
double Time(const std::function<void()>& f, double* cpu = nullptr) {
  const std::clock_t c0 = std::clock();
  const auto start = std::chrono::steady_clock::now();
  f();
  const double wall =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  if (cpu != nullptr) *cpu = static_cast<double>(std::clock() - c0) / CLOCKS_PER_SEC;
  return wall;
}

// Returns the best time of the import.
double BenchImport(const std::string& path, int rows, bool with_xlsx2csv) {
  std::printf("\n%s\n", path.c_str());
  // The floor and the import run in turn several times and the best time of
  // each is reported: on a shared or virtual machine single runs vary by a
  // factor of two, mostly in how fast fresh memory is handed out.
  constexpr int kRounds = 5;
  uint64_t xml_bytes = 0;
  double inflate = 1e9, import = 1e9, reading = 0, inflate_cpu = 0, import_cpu = 0;
  app::TTabelaTemp tabela;
  for (int round = 0; round < kRounds; ++round) {
    // Floor: inflate the sheet, no parsing.
    double cpu = 0;
    uint64_t bytes_seen = 0;
    const double t_inflate = Time(
        [&] {
          std::string bytes;
          app::ReadWholeFile(path, bytes, uint64_t{1} << 32);
          app::TZipArchive zip(std::move(bytes), path);
          zip.Read("xl/worksheets/sheet1.xml", uint64_t{1} << 32,
                   [&](const char*, size_t n) { bytes_seen += n; });
        },
        &cpu);
    if (t_inflate < inflate) {
      inflate = t_inflate;
      inflate_cpu = cpu;
      xml_bytes = bytes_seen;
    }
    // The sheet is read whole on its first use (the import asks for the
    // last column first); the split shows reading apart from staging.
    tabela.Close();
    double t_reading = 0;
    const double t_import = Time(
        [&] {
          app::TDMCotrolaExcel excel(app::CreateFileEngine());
          t_reading = Time([&] {
            excel.AbrePlanilha(path);
            excel.ListaAbas();
            excel.LiberaLista();
            excel.SelecionaAba(1);
            excel.UltimaColuna();
          });
          app::ImportaPlanilha(excel, std::to_string(rows), tabela, {});
        },
        &cpu);
    if (t_import < import) {
      import = t_import;
      import_cpu = cpu;
      reading = t_reading;
    }
  }
  const double cells = static_cast<double>(rows) * 46;
  std::printf("  best of %d runs\n", kRounds);
  std::printf("  inflate only     %7.3f s  (%5.1f M cells/s, %.0f MB of sheet XML; cpu %.3f s)\n",
              inflate, cells / inflate / 1e6, static_cast<double>(xml_bytes) / 1e6, inflate_cpu);
  size_t text = 0;
  for (tabela.First(); !tabela.Eof(); tabela.Next()) {
    for (int k = 0; k < tabela.FieldCount(); ++k)
      text += tabela.Field(k).size();
  }
  std::printf("  import           %7.3f s  (%5.1f M cells/s, %.2f x the floor; cpu %.3f s)\n",
              import, cells / import / 1e6, import / inflate, import_cpu);
  std::printf("    reading sheet  %7.3f s, staging %.3f s\n", reading, import - reading);
  std::printf(
      "  staging memory   %7.1f MB (text %.1f MB + 8 B/cell %.1f MB; limit 2x text + "
      "8 B/cell = %.1f MB)\n",
      tabela.MemoryUsage() / 1e6, text / 1e6, cells * 8 / 1e6, (2.0 * text + 8 * cells) / 1e6);
  if (with_xlsx2csv && std::system("command -v xlsx2csv >/dev/null 2>&1") == 0) {
    const double x = Time([&] {
      const std::string cmd = "xlsx2csv '" + path + "' /dev/null";
      if (std::system(cmd.c_str()) != 0) std::printf("  (xlsx2csv failed)\n");
    });
    std::printf("  xlsx2csv         %7.3f s  (%5.1f M cells/s)\n", x, cells / x / 1e6);
  }
  return import;
}

// Staging alone: the sheet is read once, then staged kRounds times; the best
// time and its processor time.
void BenchStaging(const std::string& path, int rows) {
  constexpr int kRounds = 8;
  app::TDMCotrolaExcel excel(app::CreateFileEngine());
  excel.AbrePlanilha(path);
  excel.SelecionaAba(1);
  excel.UltimaColuna();
  app::TTabelaTemp tabela;
  double best = 1e9, best_cpu = 0;
  for (int round = 0; round < kRounds; ++round) {
    tabela.Close();
    double cpu = 0;
    const double t =
        Time([&] { app::ImportaPlanilha(excel, std::to_string(rows), tabela, {}); }, &cpu);
    if (t < best) {
      best = t;
      best_cpu = cpu;
    }
  }
  std::printf("%s\n  staging alone    %7.3f s  (best of %d; cpu %.3f s; memory %.1f MB)\n",
              path.c_str(), best, kRounds, best_cpu, tabela.MemoryUsage() / 1e6);
}

// The floor of the update: prepare once, bind two text parameters, execute
// per row, directly on the C API.
double BareLoop(const std::string& db_path, const app::TTabelaTemp& staged_in) {
  auto& staged = const_cast<app::TTabelaTemp&>(staged_in);
  ISC_STATUS_ARRAY st;
  isc_db_handle db = 0;
  isc_tr_handle tr = 0;
  isc_stmt_handle stmt = 0;
  std::string dpb = {isc_dpb_version1, isc_dpb_user_name, 6};
  dpb += "SYSDBA";
  dpb += {isc_dpb_password, 9};
  dpb += "quartzelm";
  dpb += {isc_dpb_lc_ctype, 7};
  dpb += "WIN1252";
  if (isc_attach_database(st, 0, db_path.c_str(), &db, static_cast<short>(dpb.size()), dpb.data()))
    return -1;
  const int c18 = staged.FieldIndex("18"), c46 = staged.FieldIndex("46");
  double t = Time([&] {
    isc_start_transaction(st, &tr, 1, &db, 0, nullptr);
    isc_dsql_allocate_statement(st, &db, &stmt);
    const char* sql = "UPDATE CLIENTE SET EMAIL = ? WHERE CLIENTE.CODCLIENTE = ?";
    isc_dsql_prepare(st, &tr, &stmt, 0, sql, 1, nullptr);
    alignas(8) char mem[XSQLDA_LENGTH(2)];
    XSQLDA* in = reinterpret_cast<XSQLDA*>(mem);
    in->version = SQLDA_VERSION1;
    in->sqln = 2;
    isc_dsql_describe_bind(st, &stmt, 1, in);
    for (int i = 0; i < 2; ++i) {
      in->sqlvar[i].sqltype = SQL_TEXT;
      in->sqlvar[i].sqlind = nullptr;
    }
    std::string code;
    for (staged.First(); !staged.Eof(); staged.Next()) {
      code = app::CompletaZeros(staged.Field(c18), 8).substr(0, 8);
      std::string_view mail = staged.Field(c46);
      in->sqlvar[0].sqldata = const_cast<char*>(mail.data());
      in->sqlvar[0].sqllen = static_cast<short>(mail.size());
      in->sqlvar[1].sqldata = code.data();
      in->sqlvar[1].sqllen = static_cast<short>(code.size());
      if (isc_dsql_execute(st, &tr, &stmt, 1, in)) {
        isc_print_status(st);
        break;
      }
    }
    isc_dsql_free_statement(st, &stmt, DSQL_drop);
    isc_commit_transaction(st, &tr);
  });
  isc_detach_database(st, &db);
  return t;
}

// `import_s`: the import of the same rows, when measured (0 otherwise).
void BenchUpdate(const std::string& folder, int rows, double import_s) {
  std::printf("\nupdate of %d clients in one transaction (embedded Firebird)\n", rows);
  auto lib = app::TFbClientLibrary::Load();
  const std::string path = folder + "/template.fdb";
  std::filesystem::remove(path);
  {
    app::TIBDatabase db(lib);
    db.SetDatabaseName(path);
    db.CreateDatabase();
    app::TIBTransaction tr(db);
    tr.StartTransaction();
    app::TIBSQL q(db, tr);
    q.SetSQL(
        "CREATE TABLE CLIENTE (CODCLIENTE VARCHAR(8) NOT NULL PRIMARY KEY, NOME VARCHAR(40), "
        "EMAIL VARCHAR(60))");
    q.ExecQuery();
    tr.Commit();
    tr.StartTransaction();
    q.SetSQL("INSERT INTO CLIENTE (CODCLIENTE, NOME, EMAIL) VALUES (:C, :N, :E)");
    for (int i = 1; i <= rows; ++i) {
      q.SetParam("C", app::CompletaZeros(std::to_string(i), 8));
      q.SetParam("N", "Cliente " + std::to_string(i));
      q.SetParam("E", "antigo" + std::to_string(i) + "@exemplo.com.br");
      q.ExecQuery();
    }
    tr.Commit();
  }
  app::TTabelaTemp staged;
  for (int k = 1; k <= 46; ++k)
    staged.AddFieldDef(std::to_string(k));
  staged.CreateDataSet();
  for (int i = 0; i < rows; ++i) {
    staged.Append();
    staged.SetField(17, std::to_string(1 + (i * 7919) % rows));
    staged.SetField(45, "novo" + std::to_string(i) + "@exemplo.com.br");
    staged.Post();
  }
  // Every variant runs on its own copy of the same database.
  int copies = 0;
  auto fresh_copy = [&] {
    const std::string copy = folder + "/run" + std::to_string(++copies) + ".fdb";
    std::filesystem::remove(copy);
    std::filesystem::copy_file(path, copy);
    return copy;
  };
  auto run = [&](app::TModoPreparo modo, app::TRegistroDaExecucao* registro = nullptr) {
    app::TIBDatabase db(lib);
    db.SetDatabaseName(fresh_copy());
    db.Open();
    app::TIBTransaction tr(db);
    return Time([&] {
      if (!app::AtualizaEmails(db, tr, staged, {}, modo, registro)) std::printf("  (run failed)\n");
    });
  };
  const std::string records = folder + "/registros";
  uintmax_t record_bytes = 0;
  auto recorded = [&] {
    app::TRegistroDaExecucao registro;
    registro.Pasta = records;
    registro.Planilha = "bench.xlsx";
    registro.Aba = "Plan1";
    const double t = run(app::TModoPreparo::mpUmaVez, &registro);
    record_bytes = std::filesystem::file_size(registro.Arquivo);
    std::filesystem::remove(registro.Arquivo);
    return t;
  };
  auto preview = [&] {
    app::TIBDatabase db(lib);
    db.SetDatabaseName(fresh_copy());
    db.Open();
    app::TIBTransaction tr(db);
    tr.SetReadOnly(true);
    return Time([&] { app::PreviaDaExecucao(db, tr, staged); });
  };
  const double bare = BareLoop(fresh_copy(), staged);
  // The run with and without its record, and the preview, in turn; the best
  // of each (single runs on a shared machine vary).
  constexpr int kRounds = 3;
  double once = 1e9, with_record = 1e9, previa = 1e9;
  for (int round = 0; round < kRounds; ++round) {
    once = std::min(once, run(app::TModoPreparo::mpUmaVez));
    with_record = std::min(with_record, recorded());
    previa = std::min(previa, preview());
  }
  const double each = run(app::TModoPreparo::mpPorLinha);
  std::printf("  bare C API loop  %7.3f s  (%8.0f rows/s)\n", bare, rows / bare);
  std::printf("  prepare once     %7.3f s  (%8.0f rows/s, %.2f x the bare loop)\n", once,
              rows / once, once / bare);
  std::printf("  re-prepare       %7.3f s  (%8.0f rows/s, prepare once is %.1f x faster)\n", each,
              rows / each, each / once);
  std::printf("  with its record  %7.3f s  (%.2f x the run without it, %+.3f s; record %.1f MB)\n",
              with_record, with_record / once, with_record - once,
              static_cast<double>(record_bytes) / 1e6);
  std::printf("  preview          %7.3f s  (%.2f x the run; goal under 2 x)\n", previa,
              previa / once);
  if (import_s > 0) {
    // What the operator waits for: the import of the worksheet, then the update.
    std::printf(
        "  whole run (import %.3f s + update): %.3f s, with its record %.3f s (%.2f x); "
        "preview with its import %.3f s (%.2f x)\n",
        import_s, import_s + once, import_s + with_record,
        (import_s + with_record) / (import_s + once), import_s + previa,
        (import_s + previa) / (import_s + once));
  }
}

}  // namespace

int main(int argc, char** argv) {
  const int rows = argc > 1 ? std::atoi(argv[1]) : 100000;
  const std::string folder = argc > 2 ? argv[2] : "bench-app-data";
  std::filesystem::create_directories(folder);
  const std::string lock = std::filesystem::absolute(folder).string();
  setenv("FIREBIRD_LOCK", lock.c_str(), 1);
  setenv("FIREBIRD_TMP", lock.c_str(), 1);
  const std::string only = argc > 3 ? argv[3] : "";
  double import_s = 0;  // of the workbook with shared strings, as Excel writes them
  if (only == "staging") {
    for (bool shared : {false, true}) {
      const std::string path =
          folder + "/bench-" + std::to_string(rows) + (shared ? "-shared.xlsx" : "-inline.xlsx");
      if (!std::filesystem::exists(path)) bench::WriteBenchWorkbook(path, rows, shared);
      BenchStaging(path, rows);
    }
    return 0;
  }
  if (only != "update") {
    const bool with_xlsx2csv = only != "parse";
    for (bool shared : {false, true}) {
      const std::string path =
          folder + "/bench-" + std::to_string(rows) + (shared ? "-shared.xlsx" : "-inline.xlsx");
      if (!std::filesystem::exists(path)) bench::WriteBenchWorkbook(path, rows, shared);
      import_s = BenchImport(path, rows, with_xlsx2csv);
    }
  }
  if (only.empty() || only == "update") BenchUpdate(folder, rows, import_s);
  return 0;
}
