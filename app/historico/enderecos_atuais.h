// The addresses CLIENTE holds now for a list of client codes, read in the
// caller's transaction: a run reads them in its own transaction before it
// writes, so they are exactly what it overwrites. One prepared statement
// reads the codes in batches (an IN list of 256 parameters), whatever their
// number.
//
//   app::TEnderecosAtuais atuais = app::LeEnderecosAtuais(db, tr, codigos, {});
//   auto it = atuais.find(app::ChaveDoCodigo(codigo));  // end(): no such client
//   const std::optional<std::string>& email = it->second;  // nullopt: null
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

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
                                   const std::function<void()>& a_cada_lote);

// The database's creation time, "2026-12-10 21:24:04.6480": a copy of the
// file keeps it, another database or one restored from a backup has its
// own. "" when the server does not tell it (older servers).
std::string IdentidadeDoBanco(TIBDatabase& database, TIBTransaction& transaction);

}  // namespace app
