// updater-cli: the updater's import and update from the command line, for
// operations, tests and benchmarks (the window stays the operator's way).
//
//   updater-cli dump --workbook F [--sheet K] [--rows N] [--decimal SEP]
//   updater-cli run  --workbook F [--sheet K] --rows N --database D [--reprepare] [--decimal SEP]
//                    [--lock-timeout S]
//
// dump prints "sheet: NAME" per worksheet, then "last-row: R" and
// "last-column: C" of worksheet K (default 1), then rows 1..N (default R) as
// the import stages them, tab-separated, with tab, CR, LF and backslash
// written \t \r \n \\. run imports the same way and writes the addresses in
// one transaction, printing the time of each stage; on failure it prints
// the reason the window would show and exits with 1. A row count below 1
// is a usage error (exit 2). --lock-timeout sets how many seconds the run
// waits for a client another station holds (30).
#include <chrono>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <map>
#include <set>
#include <string>

#include "app/atualiza_emails.h"
#include "app/controla_excel.h"
#include "app/database/fb_client.h"
#include "app/errors.h"
#include "app/importa_planilha.h"
#include "app/workbook/file_engine.h"

namespace {

int Usage() {
  std::fprintf(stderr,
               "usage: updater-cli dump --workbook F [--sheet K] [--rows N] [--decimal SEP]\n"
               "       updater-cli run --workbook F [--sheet K] --rows N --database D "
               "[--reprepare] [--decimal SEP] [--lock-timeout S]\n");
  return 2;
}

std::string Escaped(std::string_view text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '\t':
        out += "\\t";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\\':
        out += "\\\\";
        break;
      default:
        out.push_back(c);
    }
  }
  return out;
}

double Seconds(std::chrono::steady_clock::duration d) {
  return std::chrono::duration<double>(d).count();
}

std::string Rate(double count, double seconds) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.0f", seconds > 0 ? count / seconds : 0.0);
  return buf;
}

std::string Fixed(double seconds) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.3f", seconds);
  return buf;
}

int Run(const std::string& command, std::map<std::string, std::string>& opts, bool reprepare) {
  if (!opts.count("workbook")) return Usage();
  // A count of no rows would run nothing and report success.
  if (opts.count("rows") && app::StrToInt(opts["rows"]) <= 0) {
    std::fprintf(stderr, "updater-cli: --rows must be 1 or more (given: %s)\n",
                 opts["rows"].c_str());
    return Usage();
  }
  app::TFormatoCelula formato;
  if (opts.count("decimal")) formato.DecimalSeparator = opts["decimal"];
  const int32_t sheet = opts.count("sheet") ? app::StrToInt(opts["sheet"]) : 1;

  app::TDMCotrolaExcel excel(app::CreateFileEngine(), formato);
  excel.AbrePlanilha(opts["workbook"]);
  if (command == "dump") {
    for (const auto& name : excel.ListaAbas())
      std::cout << "sheet: " << name << "\n";
    excel.LiberaLista();
    excel.SelecionaAba(sheet);
    const int32_t last_row = excel.UltimaLinha();
    std::cout << "last-row: " << last_row << "\n";
    std::cout << "last-column: " << excel.UltimaColuna() << "\n";
    app::TTabelaTemp tabela;
    app::ImportaPlanilha(excel, opts.count("rows") ? opts["rows"] : std::to_string(last_row),
                         tabela, {});
    std::string line;
    for (tabela.First(); !tabela.Eof(); tabela.Next()) {
      line.clear();
      for (int32_t k = 0; k < tabela.FieldCount(); ++k) {
        if (k > 0) line.push_back('\t');
        line += Escaped(tabela.Field(k));
      }
      std::cout << line << "\n";
    }
    return 0;
  }

  if (!opts.count("rows") || !opts.count("database")) return Usage();
  // The window attaches when the database is chosen, before any run.
  auto library = app::TFbClientLibrary::Load();
  app::TIBDatabase database(library);
  app::TIBTransaction transaction(database);
  if (opts.count("lock-timeout")) {
    const int32_t seconds = app::StrToInt(opts["lock-timeout"]);
    if (seconds < 1) return Usage();
    transaction.SetLockTimeout(seconds);
  }
  database.SetDatabaseName(opts["database"]);
  database.Open();

  excel.SelecionaAba(sheet);
  app::TTabelaTemp tabela;
  auto start = std::chrono::steady_clock::now();
  app::ImportaPlanilha(excel, opts["rows"], tabela, {});
  const double import_s = Seconds(std::chrono::steady_clock::now() - start);
  const double cells = static_cast<double>(tabela.RecordCount()) * tabela.FieldCount();
  std::cout << "import: " << tabela.RecordCount() << " rows x " << tabela.FieldCount()
            << " columns in " << Fixed(import_s) << " s (" << Rate(cells, import_s) << " cells/s)"
            << std::endl;

  std::string failure;
  app::TRunFeedback feedback;
  feedback.Erro = [&](const std::string& text) { failure = text; };
  start = std::chrono::steady_clock::now();
  const bool ok =
      app::AtualizaEmails(database, transaction, tabela, feedback,
                          reprepare ? app::TModoPreparo::mpPorLinha : app::TModoPreparo::mpUmaVez);
  const double update_s = Seconds(std::chrono::steady_clock::now() - start);
  if (!ok) {
    // The window's box breaks the line with a CR; a terminal wants LF.
    for (char& c : failure) {
      if (c == '\r') c = '\n';
    }
    std::cout << failure << std::endl;
    return 1;
  }
  std::cout << "update: " << tabela.RecordCount() << " rows in " << Fixed(update_s) << " s ("
            << Rate(static_cast<double>(tabela.RecordCount()), update_s) << " rows/s)" << std::endl;
  std::cout << app::kMensagemSucesso << std::endl;
  return 0;
}

// The options each command takes; every one but --reprepare takes a value.
bool KnownOption(const std::string& command, const std::string& name) {
  static const std::set<std::string> dump = {"workbook", "sheet", "rows", "decimal"};
  static const std::set<std::string> run = {"workbook",  "sheet",   "rows",        "database",
                                            "reprepare", "decimal", "lock-timeout"};
  return (command == "dump" ? dump : run).count(name) != 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  const std::string command = argv[1];
  if (command != "dump" && command != "run") return Usage();
  std::map<std::string, std::string> opts;
  bool reprepare = false;
  for (int i = 2; i < argc; ++i) {
    const std::string arg = argv[i];
    const std::string name = arg.rfind("--", 0) == 0 ? arg.substr(2) : std::string();
    // A misspelt option must not fall back to a default silently (a dump of
    // the wrong sheet, a run on the wrong rows): anything unknown is refused.
    if (name.empty() || !KnownOption(command, name)) {
      std::fprintf(stderr, "updater-cli: opção desconhecida: %s\n", arg.c_str());
      return Usage();
    }
    if (name == "reprepare") {
      reprepare = true;
    } else if (i + 1 < argc) {
      opts[name] = argv[++i];
    } else {
      std::fprintf(stderr, "updater-cli: falta o valor de %s\n", arg.c_str());
      return Usage();
    }
  }
  try {
    return Run(command, opts, reprepare);
  } catch (const std::exception& e) {
    std::cout << e.what() << std::endl;
    return 1;
  }
}
