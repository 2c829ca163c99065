// What a run sends for one staged row, and how an error on one client is
// told: the rules the run, its record, the undo and the preview share, so
// that each of them depends on these and none on another.
//
//   std::string codigo = app::CodigoEnviado(tabela.Field(app::ColunaLida(tabela, 18)));
//   std::string_view email = app::EmailEnviado(tabela.Field(app::ColunaLida(tabela, 46)));
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "app/database/fb_client.h"
#include "app/database/tabela_temp.h"
#include "app/errors.h"

namespace app {

// Puts "0" in front of `text` until it has `length` characters; a text
// already that long or longer comes back unchanged.
std::string CompletaZeros(std::string_view text, int32_t length);

// The first `count` characters (UTF-8 code points) of `text`.
std::string_view PrimeirosCaracteres(std::string_view text, int32_t count);

// The client code a staged column "18" is sent as: zero-filled to 8
// characters, then cut to its first 8.
std::string CodigoEnviado(std::string_view coluna18);

// The address a staged column "46" is sent as: its first 60 characters.
std::string_view EmailEnviado(std::string_view coluna46);

// The index of column `coluna` ("18" or "46") of the staging table; a sheet
// too narrow for it throws EDatabaseError saying so.
int32_t ColunaLida(const TTabelaTemp& tabela, int32_t coluna);

// The error of a statement on one client. A client another station holds
// is told as `cliente` ("O cliente 00000123 (linha 7 da planilha)") "está em
// uso por outra estação, ... Nada foi " `feito` ("gravado"), one another
// station changed and committed since the operation began "foi alterado
// por outra estação, que já gravou a alteração, ..."; errors that do not
// depend on the client (the file, the disk, the connection, a database of
// another system) stay as they are; any other becomes `outro`.
EIBError ErroDoCliente(const EIBError& e, const std::string& cliente, std::string_view feito,
                       const std::string& outro);

}  // namespace app
