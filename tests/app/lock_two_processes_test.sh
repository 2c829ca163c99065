#!/usr/bin/env bash
# Two stations as two processes on one database: isql-fb holds client
# 00000002 in a transaction it has not committed, while updater-cli runs over
# a workbook that lists clients 1 to 5. The run must end after its lock
# timeout with the Portuguese message naming the client and the row, leave
# the database unchanged, and go through once the other station is done.
# The embedded engine is put in its shared mode (SuperClassic) through a
# private Firebird root, so that two processes can attach the same file.
#   lock_two_processes_test.sh PATH/TO/updater-cli
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
CLI="$1"
WORK="$(mktemp -d)"
HOLDER=""
cleanup() {
  if [[ -n "$HOLDER" ]]; then kill "$HOLDER" 2>/dev/null || true; fi
  rm -rf "$WORK"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }

source "$ROOT/tests/app/firebird_shared_mode.sh"

"$ROOT/scripts/make-demo.sh" "$WORK/demo" 5 5 >/dev/null
DB="$WORK/demo/VORTANA.FDB"
addresses() {
  printf "SELECT 'n=' || COUNT(*) FROM CLIENTE WHERE EMAIL IS NOT NULL;\n" |
    isql-fb -q -user SYSDBA "$DB" | sed -n 's/^n=\([0-9]*\).*/\1/p'
}

# The other station: changes client 2, says so, and waits with its
# transaction open until it is told to roll back.
mkfifo "$WORK/station"
{
  printf "UPDATE CLIENTE SET EMAIL = 'outra@estacao' WHERE CODCLIENTE = '00000002';\n"
  printf "SELECT 'pronto' FROM RDB\$DATABASE;\n"
  cat "$WORK/station"
} | isql-fb -q -user SYSDBA "$DB" >"$WORK/station.out" 2>&1 &
HOLDER=$!
exec 7>"$WORK/station"
for _ in $(seq 1 600); do
  grep -q pronto "$WORK/station.out" && break
  sleep 0.1
done
grep -q pronto "$WORK/station.out" || fail "the other station did not start: $(cat "$WORK/station.out")"

run() {
  "$CLI" run --workbook "$WORK/demo/Clientes.xlsx" --rows 5 --database "$DB" --lock-timeout 1
}
set +e
out="$(run 2>&1)"
code=$?
set -e
[[ $code -eq 1 ]] || fail "the run held by the other station exited with $code: $out"
expected="O cliente 00000002 (linha 2 da planilha) está em uso por outra estação"
[[ "$out" == *"$expected"* ]] || fail "message: $out"
[[ "$(addresses)" == 0 ]] || fail "the failed run changed the database"
echo "ok: the run stopped on client 00000002 held by the other process, nothing written"

echo "ROLLBACK;" >&7
exec 7>&-
wait "$HOLDER" || true
HOLDER=""
out="$(run 2>&1)" || fail "the run after the other station finished: $out"
[[ "$(addresses)" == 5 ]] || fail "after the second run: $(addresses) addresses"
echo "ok: once the other station was done the same run wrote all five addresses"
