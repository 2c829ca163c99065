#!/usr/bin/env bash
# An operator's sessions with the real updater under Wine, checked from the
# native side with isql-fb:
#   1. a run over the demo database and workbook: every client listed in the
#      workbook gets the address of its row, the others keep none; the run
#      leaves its record in the user's records folder, and updater-cli undo
#      with that record puts the database back as it was;
#   2. a run that fails on one row (a trigger raises): the failure box names
#      the reason and the database is exactly as before;
#   3. the program started without its client library: the library message,
#      no window, a failing exit code;
#   4. with the Firebird server of ./test.sh (PROJECT_FIREBIRD_SERVER): a
#      database file that the server holds, chosen by its plain path in the
#      window: the client library (through the bridge) reaches it through
#      the server, and the run goes through.
#   sessao_test.sh PATH/TO/sessao_driver.exe PATH/TO/AtualizaEmails.exe PATH/TO/updater-cli.exe
# E2E_SHOTS=DIR keeps screenshots of the screen taken during the sessions.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)"
DRIVER="$1"
PROGRAM="$2"
CLI="$3"
WORK="$(mktemp -d)"
SHOOTER=""
STATION=""
cleanup() {
  [[ -n "$SHOOTER" ]] && kill "$SHOOTER" 2>/dev/null || true
  [[ -n "$STATION" ]] && kill "$STATION" 2>/dev/null || true
  rm -rf "$WORK"
}
trap cleanup EXIT
export FIREBIRD_LOCK="$WORK/lock" FIREBIRD_TMP="$WORK/tmp"
mkdir -p "$FIREBIRD_LOCK" "$FIREBIRD_TMP"
source "$ROOT/scripts/wine-env.sh"  # WINEPREFIX: the records folder is inside it

winpath() { local p="$1"; printf 'Z:%s' "${p//\//\\}"; }
program_win="$(winpath "$(realpath "$PROGRAM")")"

# Every client as CODE=EMAIL (EMAIL '-' when null), in code order.
clients() {
  printf "SELECT CODCLIENTE || '=' || COALESCE(EMAIL, '-') FROM CLIENTE ORDER BY CODCLIENTE;\n" |
    isql-fb -q -user SYSDBA -ch UTF8 "$1" | grep -E '^[0-9]{8}=' | sed 's/ *$//'
}

if [[ -n "${E2E_SHOTS:-}" ]]; then
  mkdir -p "$E2E_SHOTS"
  (i=0; while true; do import -window root "$E2E_SHOTS/shot-$(printf %04d $i).png" 2>/dev/null
     i=$((i + 1)); sleep 0.3; done) &
  SHOOTER=$!
fi

status=0

# --- 1. A successful run --------------------------------------------------------
"$ROOT/scripts/make-demo.sh" "$WORK/ok" >/dev/null
DB="$WORK/ok/VORTANA.FDB"
XLSX="$WORK/ok/Clientes.xlsx"
ROWS=250
before_run="$(clients "$DB")"
touch "$WORK/antes-da-execucao"
"$ROOT/scripts/wine-run.sh" "$DRIVER" "$program_win" "$(winpath "$DB")" "$(winpath "$XLSX")" \
  "$ROWS" sucesso || status=1
got="$(clients "$DB")"
expected="$(/usr/bin/python3 - "$XLSX" "$ROWS" <<'PY'
import sys
from openpyxl import load_workbook
ws = load_workbook(sys.argv[1], read_only=True).worksheets[0]
emails = {}
for row in ws.iter_rows(min_row=1, max_row=int(sys.argv[2]), values_only=True):
    emails[f"{int(row[17]):08d}"] = (row[45] or "")[:60]
for code in range(1, 301):
    key = f"{code:08d}"
    print(f"{key}={emails.get(key, '-')}")
PY
)"
if [[ "$got" != "$expected" ]]; then
  echo "FAIL: after the run the database holds:"
  diff <(echo "$expected") <(echo "$got") | head -20
  status=1
else
  echo "ok: every client of the workbook has its address, the others none"
fi
# The run's record, in the Windows user's records folder of the prefix.
record="$(find "$WINEPREFIX"/drive_c/users/*/AppData/Local/AtualizaEmails/historico \
  -name '*_execucao*.txt' -newer "$WORK/antes-da-execucao" 2>/dev/null | head -1)"
if [[ -z "$record" ]] || ! grep -q "^linhas	$ROWS$" "$record"; then
  echo "FAIL: the run left no record of its $ROWS rows"
  status=1
else
  "$ROOT/scripts/wine-run.sh" "$CLI" undo --record "$(winpath "$record")" \
    --database "$(winpath "$DB")" --records "$(winpath "$WORK/desfazer")" >"$WORK/undo.txt" || true
  if [[ "$(clients "$DB")" != "$before_run" ]]; then
    echo "FAIL: the undo of the run's record did not put the database back:"
    cat "$WORK/undo.txt"
    status=1
  else
    echo "ok: the run left its record, and its undo put every address back"
  fi
fi

# --- 2. A run that fails on row 125 ---------------------------------------------
"$ROOT/scripts/make-demo.sh" "$WORK/falha" >/dev/null
DB="$WORK/falha/VORTANA.FDB"
isql-fb -q -user SYSDBA "$DB" <<'SQL' >/dev/null
UPDATE CLIENTE SET EMAIL = 'antigo' || CODCLIENTE || '@exemplo.com.br' WHERE CODCLIENTE < '00000200';
COMMIT;
SET TERM ^ ;
CREATE EXCEPTION CLIENTE_BLOQUEADO 'Cliente 00000125 bloqueado para alteração'^
CREATE TRIGGER CLIENTE_BLOQUEIO FOR CLIENTE BEFORE UPDATE AS
BEGIN
  IF (NEW.CODCLIENTE = '00000125') THEN EXCEPTION CLIENTE_BLOQUEADO;
END^
SET TERM ; ^
COMMIT;
SQL
before="$(clients "$DB")"
"$ROOT/scripts/wine-run.sh" "$DRIVER" "$program_win" "$(winpath "$DB")" \
  "$(winpath "$WORK/falha/Clientes.xlsx")" 250 falha "CLIENTE_BLOQUEADO" || status=1
after="$(clients "$DB")"
if [[ "$before" != "$after" || -z "$before" ]]; then
  echo "FAIL: the failed run changed the database"
  diff <(echo "$before") <(echo "$after") | head -20
  status=1
else
  echo "ok: the failed run left the database as it was"
fi

# --- 3. No client library -------------------------------------------------------
# A copy of the program beside files named gds32.dll and fbclient.dll that are
# no libraries: the program's folder is searched first, so neither name loads.
mkdir -p "$WORK/semcliente"
cp "$PROGRAM" "$WORK/semcliente/AtualizaEmails.exe"
echo "not a library" >"$WORK/semcliente/gds32.dll"
echo "not a library" >"$WORK/semcliente/fbclient.dll"
"$ROOT/scripts/wine-run.sh" "$DRIVER" "$(winpath "$WORK/semcliente/AtualizaEmails.exe")" - - - \
  semcliente || status=1

# --- 4. A database the server holds, by its plain path ----------------------------
if [[ -n "${PROJECT_FIREBIRD_SERVER:-}" && -n "${PROJECT_FIREBIRD_SERVER_ROOT:-}" ]]; then
  "$ROOT/scripts/make-demo.sh" "$WORK/servidor" >/dev/null
  DB="$WORK/servidor/VORTANA.FDB"
  password="$(sed -n 's/.*std::string password_ = "\(.*\)";.*/\1/p' "$ROOT/app/database/fb_client.h")"
  remote() {
    isql-fb -q -user SYSDBA -password "$password" "$PROJECT_FIREBIRD_SERVER:$DB"
  }
  # A station attached through the server keeps the file open in it.
  mkfifo "$WORK/estacao"
  { printf "SELECT 'pronto' FROM RDB\$DATABASE;\n"; cat "$WORK/estacao"; } | remote >"$WORK/estacao.out" 2>&1 &
  STATION=$!
  exec 8>"$WORK/estacao"
  for _ in $(seq 1 300); do grep -q pronto "$WORK/estacao.out" && break; sleep 0.1; done
  FIREBIRD="$PROJECT_FIREBIRD_SERVER_ROOT" "$ROOT/scripts/wine-run.sh" "$DRIVER" "$program_win" \
    "$(winpath "$DB")" "$(winpath "$WORK/servidor/Clientes.xlsx")" 250 sucesso || status=1
  exec 8>&-
  wait "$STATION" || true
  STATION=""
  n="$(printf "SELECT 'n=' || COUNT(*) FROM CLIENTE WHERE EMAIL IS NOT NULL;\n" | remote |
    sed -n 's/^n=\([0-9]*\).*/\1/p')"
  if [[ "$n" != 250 ]]; then
    echo "FAIL: the run on the database the server holds wrote $n addresses, not 250"
    status=1
  else
    echo "ok: the window reached the database the server holds, by its plain path, through the server"
  fi
elif [[ "${PROJECT_REQUIRE_FIREBIRD:-0}" == 1 ]]; then
  echo "FAIL: no Firebird server (./test.sh starts one)"
  status=1
fi

exit $status
