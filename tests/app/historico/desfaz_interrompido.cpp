// Undoes a run record and kills its own process (SIGKILL: no unwinding, no
// rollback, no flush of anything left) at one moment of the undo, as a crash
// or a power cut would stop it there.
//   desfaz_interrompido DATABASE RECORD DIR MOMENT
// MOMENT: escrito (record written, not flushed), descarregado (flushed, not
// committed), confirmado (committed, record not renamed). Exits 3 when the
// undo ended without reaching the moment, 1 on an error (printed).
#include <csignal>
#include <cstdio>
#include <exception>
#include <string>

#include "app/database/fb_client.h"
#include "app/historico/desfaz_execucao.h"

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: desfaz_interrompido DATABASE RECORD DIR MOMENT\n");
    return 2;
  }
  const std::string momento = argv[4];
  try {
    auto library = app::TFbClientLibrary::Load();
    app::TIBDatabase database(library);
    database.SetDatabaseName(argv[1]);
    database.Open();
    app::TIBTransaction transaction(database);
    app::TOpcoesDesfazer opcoes;
    opcoes.Pasta = argv[3];
    opcoes.AoChegar = [&](app::TEtapaDesfazer etapa) {
      const char* nome = etapa == app::TEtapaDesfazer::edRegistroEscrito        ? "escrito"
                         : etapa == app::TEtapaDesfazer::edRegistroDescarregado ? "descarregado"
                                                                                : "confirmado";
      if (momento == nome) std::raise(SIGKILL);
    };
    app::DesfazExecucao(database, transaction, argv[2], opcoes);
  } catch (const std::exception& e) {
    std::printf("%s\n", e.what());
    return 1;
  }
  return 3;
}
