// The addresses CLIENTE holds now for a list of client codes, read in the
// caller's transaction: a run reads them in its own transaction before it
// writes, so they are exactly what it overwrites. One prepared statement
// reads the codes in batches whatever their number: an EXECUTE BLOCK that
// looks up kLinhasPorLote codes per round trip to the server (or, sent row
// by row, an IN list of 16).
//
//   app::TEnderecosAtuais atuais = app::LeEnderecosAtuais(db, tr, codigos, {});
//   auto it = atuais.find(app::ChaveDoCodigo(codigo));  // end(): no such client
//   const std::optional<std::string>& email = it->second;  // nullopt: null
//
//   app::TConsultaEnderecos consulta(db, tr);   // one statement for many calls
//   consulta.Le(codigos_do_lote, atuais);       // adds what it finds
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "app/atualizacao_em_lotes.h"
#include "app/database/fb_client.h"

namespace app {

using TEnderecosAtuais = std::unordered_map<std::string, std::optional<std::string>>;

// A code as the database compares it: trailing blanks do not count.
std::string_view ChaveDoCodigo(std::string_view codigo);
// Two addresses as the database compares them: trailing blanks do not count
// (a CHAR column gives its values back padded), and null equals only null.
bool MesmoEndereco(const std::optional<std::string>& a, const std::optional<std::string>& b);

// Codes the connection cannot send (a character outside Windows-1252) are
// passed over: the update refuses them on their own row. Throws
// EHistoricoError when the database answers a code with a client of another
// code (a comparison that ignores case or accents) or with two clients: the
// record could not tell what the update changed. `a_cada_lote`, when given,
// runs after each batch (the window's message pump).
TEnderecosAtuais LeEnderecosAtuais(TIBDatabase& database, TIBTransaction& transaction,
                                   const std::vector<std::string>& codigos,
                                   const std::function<void()>& a_cada_lote,
                                   TEnvio envio = TEnvio::enLotes);

// Looks codes up, with the same rules, keeping its prepared statement from
// one call to the next (a run reads each batch's codes just before it
// writes them). Le adds to `atuais` the codes found, and throws as
// LeEnderecosAtuais when a code found is already there.
class TConsultaEnderecos {
 public:
  // `codigos_por_consulta`: codes per block (the benchmark tries several).
  TConsultaEnderecos(TIBDatabase& database, TIBTransaction& transaction,
                     TEnvio envio = TEnvio::enLotes, int32_t codigos_por_consulta = kLinhasPorLote);
  void Le(const std::vector<std::string_view>& codigos, TEnderecosAtuais& atuais,
          const std::function<void()>& a_cada_lote = {});

 private:
  // The codes of one statement, found as they were asked; false when the
  // block cannot be prepared (then the IN lists serve).
  // `guarda(pedido, codigo, email)`: the client `codigo` found for the code
  // `pedido` asked for.
  using TGuarda =
      std::function<void(std::string_view, std::string_view, const std::optional<std::string>&)>;
  bool LeEmBloco(const std::vector<std::string_view>& codigos, size_t inicio, size_t n,
                 const TGuarda& guarda);
  TIBSQL consulta_;
  TEnvio envio_;
  bool preparada_ = false;
  int32_t por_consulta_;
};

// The database's creation time, "2026-12-10 21:24:04.6480": a copy of the
// file keeps it, another database or one restored from a backup has its
// own. "" when the server does not tell it (older servers).
std::string IdentidadeDoBanco(TIBDatabase& database, TIBTransaction& transaction);

}  // namespace app
