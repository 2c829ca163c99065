#!/usr/bin/env bash
# A Windows program changes an embedded Firebird database through the Wine
# bridge gds32.dll, and the native client sees the change. Then the same
# program, with the bridge pointed at a missing client library, must fail
# with a clear message instead of crashing.
#   bridge_test.sh PATH/TO/bridge_probe.exe
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
PROBE="$(realpath "$1")"
WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT
export FIREBIRD_LOCK="$WORK/lock" FIREBIRD_TMP="$WORK/tmp"
mkdir -p "$FIREBIRD_LOCK" "$FIREBIRD_TMP"
DB="$WORK/vortana.fdb"

isql-fb -q <<SQL
SET SQL DIALECT 1;
CREATE DATABASE '$DB' USER 'SYSDBA' PASSWORD 'masterkey';
CREATE TABLE CLIENTE (CODCLIENTE VARCHAR(8) NOT NULL PRIMARY KEY, NOME VARCHAR(60), EMAIL VARCHAR(60));
INSERT INTO CLIENTE VALUES ('00000007', 'Bruno', 'velho@exemplo.com.br');
INSERT INTO CLIENTE VALUES ('00000008', 'Carla', 'carla@exemplo.com.br');
COMMIT;
SQL

# The database path in Windows form, through Wine's Z: drive.
WINPATH="Z:${DB//\//\\}"
"$ROOT/scripts/wine-run.sh" "$PROBE" "$WINPATH" 00000007 novo@exemplo.com.br

got="$(printf "SELECT CODCLIENTE || '=' || EMAIL FROM CLIENTE ORDER BY 1;\n" |
  isql-fb -q -user SYSDBA "$DB" | grep -E '^[0-9]+=' | tr -d ' ')"
expected=$'00000007=novo@exemplo.com.br\n00000008=carla@exemplo.com.br'
if [[ "$got" != "$expected" ]]; then
  echo "FAIL: database holds:"$'\n'"$got"$'\n'"expected:"$'\n'"$expected"
  exit 1
fi
echo "ok: the native client sees the change made through gds32.dll"

# Paths with backslashes but no drive: a Unix folder joined to the name by a
# Windows program, and a path relative to the current folder. Both must
# reach this database, not a new file named with a backslash.
"$ROOT/scripts/wine-run.sh" "$PROBE" "$WORK\\vortana.fdb" 00000008 mista@exemplo.com.br
(cd "$(dirname "$WORK")" &&
  "$ROOT/scripts/wine-run.sh" "$PROBE" "$(basename "$WORK")\\vortana.fdb" 00000007 rel@exemplo.com.br)
got="$(printf "SELECT CODCLIENTE || '=' || EMAIL FROM CLIENTE ORDER BY 1;\n" |
  isql-fb -q -user SYSDBA "$DB" | grep -E '^[0-9]+=' | tr -d ' ')"
expected=$'00000007=rel@exemplo.com.br\n00000008=mista@exemplo.com.br'
if [[ "$got" != "$expected" ]]; then
  echo "FAIL: paths without a drive: database holds:"$'\n'"$got"
  exit 1
fi
if compgen -G "$(dirname "$WORK")/*\\\\*" >/dev/null || compgen -G "$WORK/*\\\\*" >/dev/null; then
  echo "FAIL: a file named with a backslash was created"
  exit 1
fi
echo "ok: paths with backslashes and no drive reach the same database"

set +e
out="$(GDS32_BRIDGE_CLIENT=/nonexistent/libfbclient.so.2 \
  "$ROOT/scripts/wine-run.sh" "$PROBE" "$WINPATH" 00000007 x@y 2>&1)"
rc=$?
set -e
if [[ $rc -ne 1 || "$out" != *"could not be loaded"* ]]; then
  echo "FAIL: missing client library: exit $rc, output: $out"
  exit 1
fi
echo "ok: a missing client library gives: $out"
