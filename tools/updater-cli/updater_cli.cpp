// updater-cli: the updater's import and update from the command line, for
// operations, support, tests and benchmarks (the window stays the operator's way).
//
//   updater-cli dump    --workbook F [--sheet K] [--rows N] [--decimal SEP]
//   updater-cli run     --workbook F [--sheet K] --rows N --database D [--records DIR]
//                       [--row-by-row | --reprepare] [--decimal SEP] [--lock-timeout S]
//   updater-cli preview --workbook F [--sheet K] --rows N --database D [--tsv FILE]
//                       [--row-by-row] [--decimal SEP]
//   updater-cli undo    --record FILE --database D [--force] [--records DIR]
//                       [--row-by-row] [--lock-timeout S]
//
// D names the database as the Firebird client takes it: a file of this
// computer ("C:\dados\VORTANA.FDB", reached through the local server when
// one holds it), or a file of a server, "host:path" or "host/port:path"
// ("servidor:C:\dados\VORTANA.FDB", "192.168.0.10/3051:/dados/vortana.fdb").
//
// dump prints "sheet: NAME" per worksheet, then "last-row: R" and
// "last-column: C" of worksheet K (default 1), then rows 1..N (default R) as
// the import stages them, tab-separated, with tab, CR, LF and backslash
// written \t \r \n \\. run imports the same way and writes the addresses in
// one transaction, printing the time of each stage and the record it left
// ("registro: PATH", in DIR or in the user's records folder); on failure it
// prints the reason the window would show and exits with 1. preview reads as
// run does and reports what a run would change, writing nothing (--tsv: the
// row-by-row detail). undo puts back what a run's record says it
// overwrote, for the clients still as the run left them (--force: all),
// and leaves a record of its own. A row count below 1 is a usage error
// (exit 2). --lock-timeout sets how many seconds a run or an undo waits for
// a client another station holds (30). The rows go to the database many per
// round trip; --row-by-row sends each with a statement of its own, and
// --reprepare also prepares that statement again for every row (both for
// comparison).
#include <chrono>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <map>
#include <set>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
// windows.h first: shellapi.h needs its types.
#include <shellapi.h>
#endif

#include "app/atualiza_emails.h"
#include "app/controla_excel.h"
#include "app/database/fb_client.h"
#include "app/errors.h"
#include "app/historico/arquivo_registro.h"
#include "app/historico/desfaz_execucao.h"
#include "app/historico/registro_execucao.h"
#include "app/importa_planilha.h"
#include "app/previa_execucao.h"
#include "app/texto_escapado.h"
#include "app/workbook/file_engine.h"
#include "unicode/utf8.h"

namespace {

int Usage() {
  std::fprintf(stderr,
               "usage: updater-cli dump --workbook F [--sheet K] [--rows N] [--decimal SEP]\n"
               "       updater-cli run --workbook F [--sheet K] --rows N --database D "
               "[--records DIR] [--row-by-row | --reprepare] [--decimal SEP] [--lock-timeout S]\n"
               "       updater-cli preview --workbook F [--sheet K] --rows N --database D "
               "[--tsv FILE] [--row-by-row] [--decimal SEP]\n"
               "       updater-cli undo --record FILE --database D [--force] [--records DIR] "
               "[--row-by-row] [--lock-timeout S]\n"
               "D: a file of this computer, or host:path or host/port:path on a server\n");
  return 2;
}

using TOpcoes = std::map<std::string, std::string>;

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

// The database named by --database, attached; the transaction's lock
// timeout from --lock-timeout. False (after the usage text) on a bad value.
bool Attach(TOpcoes& opts, app::TIBDatabase& database, app::TIBTransaction& transaction) {
  if (opts.count("lock-timeout")) {
    const int32_t seconds = app::StrToInt(opts["lock-timeout"]);
    if (seconds < 1) return false;
    transaction.SetLockTimeout(seconds);
  }
  database.SetDatabaseName(opts["database"]);
  database.Open();
  return true;
}

// The window's boxes break lines with a CR; a terminal wants LF.
std::string ForTerminal(std::string text) {
  for (char& c : text) {
    if (c == '\r') c = '\n';
  }
  return text;
}

int Workbook(const std::string& command, TOpcoes& opts, app::TModoPreparo modo) {
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
        app::EscapaCampo(tabela.Field(k), line);
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
  if (!Attach(opts, database, transaction)) return Usage();

  std::string sheet_name;
  const auto& names = excel.ListaAbas();
  if (sheet >= 1 && static_cast<size_t>(sheet) <= names.size()) sheet_name = names[sheet - 1];
  excel.LiberaLista();
  excel.SelecionaAba(sheet);
  app::TTabelaTemp tabela;
  auto start = std::chrono::steady_clock::now();
  app::ImportaPlanilha(excel, opts["rows"], tabela, {});
  const double import_s = Seconds(std::chrono::steady_clock::now() - start);
  const double cells = static_cast<double>(tabela.RecordCount()) * tabela.FieldCount();
  std::cout << "import: " << tabela.RecordCount() << " rows x " << tabela.FieldCount()
            << " columns in " << Fixed(import_s) << " s (" << Rate(cells, import_s) << " cells/s)"
            << std::endl;

  if (command == "preview") {
    transaction.SetReadOnly(true);
    const app::TPrevia previa = app::PreviaDaExecucao(
        database, transaction, tabela,
        modo == app::TModoPreparo::mpLotes ? app::TEnvio::enLotes : app::TEnvio::enPorLinha);
    if (opts.count("tsv")) app::GravaArquivo(opts["tsv"], app::DetalheDaPrevia(previa));
    std::cout << app::TextoDaPrevia(previa) << std::flush;
    return 0;
  }

  app::TRegistroDaExecucao registro;
  registro.Pasta = opts.count("records") ? opts["records"] : std::string();
  registro.Planilha = opts["workbook"];
  registro.Aba = sheet_name;
  std::string failure;
  app::TRunFeedback feedback;
  feedback.Erro = [&](const std::string& text) { failure = text; };
  start = std::chrono::steady_clock::now();
  const bool ok = app::AtualizaEmails(database, transaction, tabela, feedback, modo, &registro);
  const double update_s = Seconds(std::chrono::steady_clock::now() - start);
  if (!ok) {
    std::cout << ForTerminal(failure) << std::endl;
    return 1;
  }
  std::cout << "update: " << tabela.RecordCount() << " rows in " << Fixed(update_s) << " s ("
            << Rate(static_cast<double>(tabela.RecordCount()), update_s) << " rows/s)" << std::endl;
  std::cout << "registro: " << registro.Arquivo << std::endl;
  std::cout << app::kMensagemSucesso << std::endl;
  return 0;
}

std::string Endereco(const std::optional<std::string>& valor) {
  return valor ? app::Citado(*valor) : "nulo";
}

int Undo(TOpcoes& opts, bool force, bool row_by_row) {
  if (!opts.count("record") || !opts.count("database")) return Usage();
  auto library = app::TFbClientLibrary::Load();
  app::TIBDatabase database(library);
  app::TIBTransaction transaction(database);
  if (!Attach(opts, database, transaction)) return Usage();
  app::TOpcoesDesfazer opcoes;
  opcoes.Forcar = force;
  if (row_by_row) opcoes.Envio = app::TEnvio::enPorLinha;
  opcoes.Pasta = opts.count("records") ? opts["records"] : std::string();
  const app::TResultadoDesfazer r =
      app::DesfazExecucao(database, transaction, opts["record"], opcoes);

  const app::TCabecalhoRegistro& d = r.Desfeito;
  std::cout << "Desfeito o registro \"" << opts["record"] << "\" ("
            << (d.Tipo == app::TTipoRegistro::trDesfazer ? "desfazer" : "execução") << " de "
            << d.Data << ", planilha \"" << d.Planilha << "\", aba \"" << d.Aba << "\").\n";
  std::cout << "clientes restaurados: " << r.Restaurados << "\n";
  std::cout << "clientes que já tinham o endereço anterior: " << r.JaComoAntes << "\n";
  std::cout << "clientes alterados depois da execução ("
            << (force ? "restaurados por --force" : "mantidos; --force os restaura")
            << "): " << r.AlteradosDepois.size() << "\n";
  for (const auto& c : r.AlteradosDepois) {
    std::cout << "  " << app::Escapado(c.Codigo) << " (linha " << c.Linha << "): atual "
              << Endereco(c.Atual) << ", gravado pela execução " << Endereco(c.Gravado)
              << ", anterior " << Endereco(c.Anterior) << "\n";
  }
  std::cout << "clientes que a execução não alterou, alterados depois (mantidos): "
            << r.NaoAlteradosPelaExecucao << "\n";
  std::cout << "clientes excluídos depois da execução: " << r.Excluidos.size() << "\n";
  for (const auto& c : r.Excluidos) {
    std::cout << "  " << app::Escapado(c.Codigo) << " (linha " << c.Linha << "): anterior "
              << Endereco(c.Anterior) << "\n";
  }
  std::cout << "registro: " << r.Arquivo << std::endl;
  if (!r.Aviso.empty()) std::cout << r.Aviso << std::endl;
  return 0;
}

// The options each command takes; every one but --reprepare, --row-by-row
// and --force takes a value.
bool KnownOption(const std::string& command, const std::string& name) {
  static const std::map<std::string, std::set<std::string>> options = {
      {"dump", {"workbook", "sheet", "rows", "decimal"}},
      {"run",
       {"workbook", "sheet", "rows", "database", "records", "reprepare", "row-by-row", "decimal",
        "lock-timeout"}},
      {"preview", {"workbook", "sheet", "rows", "database", "tsv", "row-by-row", "decimal"}},
      {"undo", {"record", "database", "force", "records", "row-by-row", "lock-timeout"}},
  };
  const auto it = options.find(command);
  return it != options.end() && it->second.count(name) != 0;
}

// The command line as UTF-8, which every path of the core is. On Windows the
// C library's argv is in the ANSI code page (a folder "João" would not
// survive it, nor any letter outside that page): the command line is taken
// as the system keeps it, in UTF-16.
std::vector<std::string> Arguments(int argc, char** argv) {
#ifdef _WIN32
  (void)argc;
  (void)argv;
  std::vector<std::string> out;
  int count = 0;
  if (LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count)) {
    for (int i = 0; i < count; ++i)
      out.push_back(unicode::WideToUtf8(wide[i]));
    LocalFree(wide);
  }
  return out;
#else
  return {argv, argv + argc};
#endif
}

}  // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
  // What is printed is UTF-8: a console shows it as such.
  SetConsoleOutputCP(CP_UTF8);
#endif
  const std::vector<std::string> args = Arguments(argc, argv);
  argc = static_cast<int>(args.size());
  if (argc < 2) return Usage();
  const std::string& command = args[1];
  if (command != "dump" && command != "run" && command != "preview" && command != "undo") {
    return Usage();
  }
  TOpcoes opts;
  bool reprepare = false;
  bool row_by_row = false;
  bool force = false;
  for (int i = 2; i < argc; ++i) {
    const std::string& arg = args[static_cast<size_t>(i)];
    const std::string name = arg.rfind("--", 0) == 0 ? arg.substr(2) : std::string();
    // A misspelt option must not fall back to a default silently (a dump of
    // the wrong sheet, a run on the wrong rows): anything unknown is refused.
    if (name.empty() || !KnownOption(command, name)) {
      std::fprintf(stderr, "updater-cli: opção desconhecida: %s\n", arg.c_str());
      return Usage();
    }
    if (name == "reprepare") {
      reprepare = true;
    } else if (name == "row-by-row") {
      row_by_row = true;
    } else if (name == "force") {
      force = true;
    } else if (i + 1 < argc) {
      opts[name] = args[static_cast<size_t>(++i)];
    } else {
      std::fprintf(stderr, "updater-cli: falta o valor de %s\n", arg.c_str());
      return Usage();
    }
  }
  try {
    const app::TModoPreparo modo = reprepare    ? app::TModoPreparo::mpPorLinha
                                   : row_by_row ? app::TModoPreparo::mpUmaVez
                                                : app::TModoPreparo::mpLotes;
    return command == "undo" ? Undo(opts, force, row_by_row) : Workbook(command, opts, modo);
  } catch (const std::exception& e) {
    std::cout << ForTerminal(e.what()) << std::endl;
    return 1;
  }
}
