#!/usr/bin/env bash
# updater-cli against the Firebird server that ./test.sh starts
# (PROJECT_FIREBIRD_SERVER=localhost/PORT, PROJECT_FIREBIRD_SERVER_ROOT), as
# support staff use it on a Vortana site with a server. One case per call:
#   servidor_test.sh PATH/TO/updater-cli CASE
#   nome-do-servidor  preview, run (its record) and undo of a database named
#                     localhost/PORT:/path, each checked through the server
#   duas-estacoes     another station (a second client process) holds a
#                     client: the run stops after its lock timeout with the
#                     Portuguese message and nothing written, and goes
#                     through once that station is done
#   caminho-local     a database the server holds, named by its plain path:
#                     the client library reaches it through the server; one
#                     that cannot reach the server is told so in Portuguese
#   servidor-parado   a server of its own stops (killed, as in a crash or a
#                     power cut) while a run waits on a client: the run ends
#                     with the Portuguese reason, and once the server is back
#                     nothing of the run is in the database and no record
#                     is left
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
CLI="$1"
CASE="$2"
fail() { echo "FAIL: $*"; exit 1; }
if [[ -z "${PROJECT_FIREBIRD_SERVER:-}" || -z "${PROJECT_FIREBIRD_SERVER_ROOT:-}" ]]; then
  if [[ "${PROJECT_REQUIRE_FIREBIRD:-0}" == 1 ]]; then fail "no Firebird server (./test.sh starts one)"; fi
  echo "skipped: no Firebird server (PROJECT_FIREBIRD_SERVER)"
  exit 0
fi
SERVER="$PROJECT_FIREBIRD_SERVER"
PASSWORD="$(sed -n 's/.*std::string password_ = "\(.*\)";.*/\1/p' "$ROOT/app/database/fb_client.h")"
WORK="$(mktemp -d "${TMPDIR:-/tmp}/servidor-XXXXXX")"
HOLDER=""
OWN_SERVER=""
cleanup() {
  if [[ -n "$HOLDER" ]]; then kill "$HOLDER" 2>/dev/null || true; fi
  if [[ -n "$OWN_SERVER" ]]; then "$ROOT/scripts/firebird-server.sh" stop "$OWN_SERVER" >/dev/null 2>&1 || true; fi
  rm -rf "$WORK"
}
trap cleanup EXIT
# The demo database is made by the embedded engine, in a lock folder of its own.
FIREBIRD_LOCK="$WORK/lock" FIREBIRD_TMP="$WORK/lock" "$ROOT/scripts/make-demo.sh" "$WORK/demo" 300 250 >/dev/null
DB="$WORK/demo/VORTANA.FDB"
XLSX="$WORK/demo/Clientes.xlsx"
REMOTE="$SERVER:$DB"

# A statement through the server, as a client on another machine would run it.
sql() { isql-fb -q -user SYSDBA -password "$PASSWORD" "$REMOTE"; }
# Every client as CODE=EMAIL ('-' for null), in code order.
clients() {
  printf "SELECT CODCLIENTE || '=' || COALESCE(EMAIL, '-') FROM CLIENTE ORDER BY CODCLIENTE;\n" |
    sql | grep -E '^[0-9]{8}=' | sed 's/ *$//'
}

# Another station: a client process that changes client 2 and keeps its
# transaction open until told to roll back (through the fifo on fd 7).
hold_client_2() {
  rm -f "$WORK/station" "$WORK/station.out"
  mkfifo "$WORK/station"
  {
    printf "UPDATE CLIENTE SET EMAIL = 'outra@estacao' WHERE CODCLIENTE = '00000002';\n"
    printf "SELECT 'pronto' FROM RDB\$DATABASE;\n"
    cat "$WORK/station"
  } | sql >"$WORK/station.out" 2>&1 &
  HOLDER=$!
  exec 7>"$WORK/station"
  local i
  for i in $(seq 1 300); do
    grep -q pronto "$WORK/station.out" && return 0
    sleep 0.1
  done
  fail "the other station did not start: $(cat "$WORK/station.out")"
}
release_client_2() {
  echo "ROLLBACK;" >&7
  exec 7>&-
  wait "$HOLDER" || true
  HOLDER=""
}

case "$CASE" in
  nome-do-servidor)
    before="$(clients)"
    out="$("$CLI" preview --workbook "$XLSX" --rows 250 --database "$REMOTE" --tsv "$WORK/previa.tsv")" ||
      fail "preview: $out"
    [[ "$out" == *"linhas que alterariam o endereço: 250"* ]] || fail "preview: $out"
    [[ "$(clients)" == "$before" ]] || fail "the preview changed the database"
    [[ "$(grep -c $'\taltera\t' "$WORK/previa.tsv")" == 250 ]] || fail "preview detail: $(head -3 "$WORK/previa.tsv")"
    echo "ok: preview through the server, nothing written"

    out="$("$CLI" run --workbook "$XLSX" --rows 250 --database "$REMOTE" --records "$WORK/registros")" ||
      fail "run: $out"
    record="$(sed -n 's/^registro: //p' <<<"$out")"
    [[ -f "$record" ]] || fail "the run left no record: $out"
    grep -q "^banco	$REMOTE$" "$record" || fail "the record does not name the server's database: $(head -5 "$record")"
    after="$(clients)"
    expected="$(/usr/bin/python3 - "$XLSX" <<'PY'
import sys
from openpyxl import load_workbook
ws = load_workbook(sys.argv[1], read_only=True).worksheets[0]
emails = {}
for row in ws.iter_rows(min_row=1, max_row=250, values_only=True):
    emails[f"{int(row[17]):08d}"] = (row[45] or "")[:60]
for code in range(1, 301):
    print(f"{code:08d}={emails.get(f'{code:08d}', '-')}")
PY
)"
    [[ "$after" == "$expected" ]] || fail "after the run: $(diff <(echo "$expected") <(echo "$after") | head)"
    echo "ok: run through the server, its record names localhost/PORT:path"

    out="$("$CLI" undo --record "$record" --database "$REMOTE")" || fail "undo: $out"
    [[ "$out" == *"clientes restaurados: 250"* ]] || fail "undo: $out"
    [[ "$(clients)" == "$before" ]] || fail "the undo did not put the database back"
    echo "ok: undo through the server put every address back"
    ;;

  duas-estacoes)
    hold_client_2
    set +e
    out="$("$CLI" run --workbook "$XLSX" --rows 5 --database "$REMOTE" --records "$WORK/registros" \
      --lock-timeout 1 2>&1)"
    code=$?
    set -e
    [[ $code -eq 1 ]] || fail "the run held by the other station exited with $code: $out"
    [[ "$out" == *"O cliente 00000002 (linha 2 da planilha) está em uso por outra estação"* ]] ||
      fail "message: $out"
    [[ "$(clients | grep -c -v -- '=-$' || true)" == 0 ]] || fail "the failed run changed the database"
    [[ ! -d "$WORK/registros" || -z "$(ls -A "$WORK/registros")" ]] || fail "the failed run left a record"
    echo "ok: the run stopped on client 00000002 held by another station, nothing written"
    release_client_2
    out="$("$CLI" run --workbook "$XLSX" --rows 5 --database "$REMOTE" --records "$WORK/registros")" ||
      fail "the run after the other station finished: $out"
    [[ "$(clients | grep -c -v -- '=-$')" == 5 ]] || fail "after the second run: $(clients | head)"
    echo "ok: once the other station was done the same run wrote the five addresses"
    ;;

  caminho-local)
    # The server holds the file while a station is attached through it.
    hold_client_2
    set +e
    out="$(env -u FIREBIRD "$CLI" run --workbook "$XLSX" --rows 5 --database "$DB" \
      --records "$WORK/registros" 2>&1)"
    code=$?
    set -e
    # A client that does not know the server's port opens the file itself,
    # which the server holds: told in Portuguese, not in the engine's words.
    [[ $code -eq 1 ]] || fail "a client that cannot reach the server exited with $code: $out"
    [[ "$out" == *"está aberto por um servidor Firebird deste computador"* ]] || fail "message: $out"
    [[ "$out" != *"engine instance"* && "$out" != *"I/O error"* ]] || fail "English text: $out"
    echo "ok: a client that cannot reach the server is told so in Portuguese"
    release_client_2
    hold_client_2
    set +e
    out="$(FIREBIRD="$PROJECT_FIREBIRD_SERVER_ROOT" "$CLI" run --workbook "$XLSX" --rows 5 \
      --database "$DB" --records "$WORK/registros" --lock-timeout 1 2>&1)"
    code=$?
    set -e
    # Through the server: the other station's client is seen as held.
    [[ $code -eq 1 && "$out" == *"O cliente 00000002 (linha 2 da planilha) está em uso"* ]] ||
      fail "the run by plain path did not go through the server ($code): $out"
    release_client_2
    out="$(FIREBIRD="$PROJECT_FIREBIRD_SERVER_ROOT" "$CLI" run --workbook "$XLSX" --rows 5 \
      --database "$DB" --records "$WORK/registros")" || fail "run by plain path: $out"
    [[ "$(clients | grep -c -v -- '=-$')" == 5 ]] || fail "after the run by plain path: $(clients | head)"
    echo "ok: a database the server holds, named by its plain path, is reached through the server"
    ;;

  servidor-parado)
    # A server of its own: the one of ./test.sh serves the other tests.
    OWN_SERVER="$WORK/servidor"
    REMOTE="$("$ROOT/scripts/firebird-server.sh" start "$OWN_SERVER"):$DB"
    hold_client_2
    # The run updates client 1, then waits for client 2.
    "$CLI" run --workbook "$XLSX" --rows 5 --database "$REMOTE" --records "$WORK/registros" \
      --lock-timeout 60 >"$WORK/run.out" 2>&1 &
    run=$!
    waiting=""
    for _ in $(seq 1 100); do
      waiting="$(printf "SELECT COUNT(*) FROM MON\$STATEMENTS WHERE MON\$STATE = 1 AND MON\$SQL_TEXT CONTAINING 'CLIENTE' AND MON\$SQL_TEXT NOT CONTAINING 'MON\$';\n" |
        sql 2>/dev/null | tr -dc '0-9')"
      [[ "${waiting:-0}" -ge 1 ]] && break
      sleep 0.1
    done
    [[ "${waiting:-0}" -ge 1 ]] || fail "the run never reached the database"
    sleep 0.5
    "$ROOT/scripts/firebird-server.sh" kill "$OWN_SERVER"
    set +e
    wait "$run"
    code=$?
    set -e
    out="$(cat "$WORK/run.out")"
    kill "$HOLDER" 2>/dev/null || true
    exec 7>&-
    wait "$HOLDER" 2>/dev/null || true
    HOLDER=""
    [[ $code -eq 1 ]] || fail "the run whose server stopped exited with $code: $out"
    [[ "$out" == *"foi perdida (o servidor parou ou a rede caiu)"* ]] || fail "message: $out"
    [[ "$out" != *"connection shutdown"* && "$out" != *"Error "* ]] || fail "English text: $out"
    echo "ok: the run whose server stopped ends with the Portuguese reason"
    REMOTE="$("$ROOT/scripts/firebird-server.sh" start "$OWN_SERVER"):$DB"
    [[ "$(clients | grep -c -v -- '=-$' || true)" == 0 ]] || fail "the stopped run left addresses: $(clients | head)"
    [[ ! -d "$WORK/registros" || -z "$(ls -A "$WORK/registros")" ]] || fail "the stopped run left a record"
    echo "ok: once the server is back nothing of the run is in the database, and no record is left"
    ;;

  *)
    fail "unknown case $CASE"
    ;;
esac
