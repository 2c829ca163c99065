#include "app/database/fb_errors.h"

#include <cstdlib>
#include <string_view>
#include <vector>

#include "app/database/fb_api.h"
#include "app/os_error_text.h"

namespace app {

namespace {

// The parts of a status vector this translation looks at: its error codes in
// order, the string arguments that follow each, and the operating system's
// error code, if any.
struct TStatusParts {
  struct Code {
    ISC_STATUS code;
    std::vector<std::string> strings;
  };
  std::vector<Code> codes;
  bool has_unix = false, has_win32 = false;
  ISC_STATUS os_error = 0;

  bool Has(ISC_STATUS code) const {
    for (const auto& c : codes) {
      if (c.code == code) return true;
    }
    return false;
  }
  // String argument `index` of the first `code`, or "".
  std::string StringOf(ISC_STATUS code, size_t index) const {
    for (const auto& c : codes) {
      if (c.code == code) return index < c.strings.size() ? c.strings[index] : std::string();
    }
    return {};
  }
  // The first string argument of `code`, or of the isc_random code right
  // after it (where the client puts names: "Table unknown" / "CLIENTE").
  std::string NameAfter(ISC_STATUS code) const {
    for (size_t i = 0; i < codes.size(); ++i) {
      if (codes[i].code != code) continue;
      if (!codes[i].strings.empty()) return codes[i].strings[0];
      if (i + 1 < codes.size() && codes[i + 1].code == isc_random &&
          !codes[i + 1].strings.empty()) {
        return codes[i + 1].strings[0];
      }
    }
    return {};
  }
};

TStatusParts Split(const ISC_STATUS* v) {
  TStatusParts parts;
  int i = 0;
  // Each argument takes two entries, a counted string three; the vector has
  // room for 20, so nothing is read past it even when no end marker comes.
  while (i + 1 < ISC_STATUS_LENGTH && v[i] != isc_arg_end) {
    const ISC_STATUS type = v[i];
    const ISC_STATUS value = v[i + 1];
    if (type == isc_arg_gds) {
      parts.codes.push_back({value, {}});
    } else if (type == isc_arg_string || type == isc_arg_interpreted) {
      // NOLINTNEXTLINE(performance-no-int-to-ptr): the vector holds the pointer as an integer
      const auto* text = reinterpret_cast<const char*>(value);
      if (!parts.codes.empty() && text != nullptr) parts.codes.back().strings.emplace_back(text);
    } else if (type == isc_arg_cstring) {
      if (i + 2 >= ISC_STATUS_LENGTH) break;
      // NOLINTNEXTLINE(performance-no-int-to-ptr): as above
      const auto* text = reinterpret_cast<const char*>(v[i + 2]);
      if (!parts.codes.empty() && text != nullptr && value > 0) {
        parts.codes.back().strings.emplace_back(text, static_cast<size_t>(value));
      }
      ++i;
    } else if (type == isc_arg_unix) {
      parts.has_unix = true;
      parts.os_error = value;
    } else if (type == isc_arg_win32) {
      parts.has_win32 = true;
      parts.os_error = value;
    }
    i += 2;
  }
  return parts;
}

bool DiskFull(const TStatusParts& p) {
  if (p.has_unix) return p.os_error == ENOSPC;
  // ERROR_DISK_FULL and ERROR_HANDLE_DISK_FULL
  if (p.has_win32) return p.os_error == 112 || p.os_error == 39;
  return false;
}

std::string OsReason(const TStatusParts& p) {
  if (p.has_unix) return PosixErrorReason(static_cast<int>(p.os_error));
  if (p.has_win32) return WindowsErrorReason(static_cast<uint32_t>(p.os_error));
  return {};
}

constexpr const char* kNaoEVortana = "O banco de dados escolhido não é um banco do Vortana: ";

}  // namespace

int64_t ConcurrentTransaction(const intptr_t* status) {
  for (int i = 0; i + 3 < ISC_STATUS_LENGTH && status[i] != isc_arg_end; i += 2) {
    if (status[i] == isc_arg_gds && status[i + 1] == isc_concurrent_transaction &&
        (status[i + 2] == isc_arg_number || status[i + 2] == isc_arg_string)) {
      if (status[i + 2] == isc_arg_number) return static_cast<int64_t>(status[i + 3]);
      // NOLINTNEXTLINE(performance-no-int-to-ptr): the vector holds the pointer as an integer
      const auto* text = reinterpret_cast<const char*>(status[i + 3]);
      return text != nullptr ? std::strtoll(text, nullptr, 10) : 0;
    }
    // A counted string takes one entry more.
    if (status[i] == isc_arg_cstring) ++i;
  }
  return 0;
}

bool ConexaoPerdida(const TStatusParts& p) {
  for (const ISC_STATUS code :
       {isc_network_error, isc_net_read_err, isc_net_write_err, isc_conn_lost,
        isc_lost_db_connection, isc_att_shutdown, isc_shutdown}) {
    if (p.Has(code)) return true;
  }
  return false;
}

TIBErrorDescription DescribeStatus(const intptr_t* status, const std::string& library_text,
                                   const std::string& database_name, TMomentoDoErro momento) {
  const TStatusParts p = Split(status);
  // The engine says the same whether the other transaction still holds the
  // row (a wait that ran out, or no wait) or committed its change after this
  // one began: the client tells those apart by asking whether that
  // transaction is still active (ConcurrentTransaction below).
  if (p.Has(isc_lock_conflict) || p.Has(isc_deadlock) || p.Has(isc_update_conflict) ||
      p.Has(isc_lock_timeout)) {
    return {TIBErrorKind::ekRegistroEmUso, kTextoRegistroEmUso};
  }
  if (p.Has(isc_dsql_relation_err)) {
    return {TIBErrorKind::ekNaoEVortana, kNaoEVortana + std::string("não existe nele a tabela ") +
                                             p.NameAfter(isc_dsql_relation_err) + "."};
  }
  if (p.Has(isc_dsql_field_err)) {
    return {TIBErrorKind::ekNaoEVortana, kNaoEVortana + std::string("não existe nele a coluna ") +
                                             p.NameAfter(isc_dsql_field_err) + "."};
  }
  // isc_io_error's arguments: the operation ("open", "read"...), then the file.
  const std::string file = database_name.empty() ? p.StringOf(isc_io_error, 1) : database_name;
  if (ConexaoPerdida(p)) {
    if (momento == TMomentoDoErro::meAoAbrir) {
      return {TIBErrorKind::ekArquivo,
              "Não foi possível abrir o banco de dados \"" + file +
                  "\": o servidor não respondeu (servidor parado ou rede fora do ar)."};
    }
    return {TIBErrorKind::ekConexaoPerdida,
            "A conexão com o banco de dados \"" + file +
                "\" foi perdida (o servidor parou ou a rede caiu). Confira a rede e o servidor "
                "e tente de novo."};
  }
  if (p.Has(isc_io_error) && DiskFull(p)) {
    return {TIBErrorKind::ekDiscoCheio, "Não há espaço livre no disco do banco de dados \"" + file +
                                            "\": nada desta operação foi gravado."};
  }
  // A Firebird server of this computer has the file open (a server holds
  // its databases for itself) and the client library did not reach that
  // server: opened directly, the file refuses a second engine.
  if (p.Has(isc_already_opened)) {
    return {TIBErrorKind::ekArquivo,
            "Não foi possível abrir o banco de dados \"" + file +
                "\": o arquivo está aberto por um servidor Firebird deste computador, ao qual o "
                "cliente Firebird não conseguiu se conectar (ou por outro programa que o abre "
                "sem servidor)."};
  }
  if (p.Has(isc_io_error) || p.Has(isc_bad_db_format)) {
    std::string reason = OsReason(p);
    const bool abrindo = momento == TMomentoDoErro::meAoAbrir || p.Has(isc_io_open_err) ||
                         p.StringOf(isc_io_error, 0) == "open";
    // A read that fails without a system error is a file too short or not
    // laid out as a database.
    if (reason.empty()) {
      reason = abrindo ? "o arquivo não é um banco de dados Firebird ou está danificado"
                       : "o arquivo pode estar danificado";
    }
    if (abrindo || p.Has(isc_bad_db_format)) {
      return {TIBErrorKind::ekArquivo,
              "Não foi possível abrir o banco de dados \"" + file + "\": " + reason + "."};
    }
    // With the database open: a read or a write of it failed.
    const bool gravando = p.Has(isc_io_write_err) || p.StringOf(isc_io_error, 0) == "write";
    return {TIBErrorKind::ekArquivo, (gravando ? "Não foi possível gravar no banco de dados \""
                                               : "Não foi possível ler o banco de dados \"") +
                                         file + "\" durante a operação: " + reason + "."};
  }
  return {TIBErrorKind::ekOutro, library_text};
}

std::optional<EIBError> ErroDeConflito(intptr_t isc_code) {
  if (isc_code != isc_deadlock && isc_code != isc_lock_conflict &&
      isc_code != isc_update_conflict && isc_code != isc_lock_timeout) {
    return std::nullopt;
  }
  const ISC_STATUS status[] = {isc_arg_gds, isc_deadlock, isc_arg_gds, isc_update_conflict,
                               isc_arg_end};
  const TIBErrorDescription d = DescribeStatus(status, "", "", TMomentoDoErro::meComBancoAberto);
  // -913: the SQL code of a deadlock or update conflict.
  return EIBError(d.message, -913, isc_code, d.kind);
}

}  // namespace app
