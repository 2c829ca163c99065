#!/usr/bin/env bash
# Creates, when missing, a demo Vortana database (embedded Firebird, dialect 1,
# table CLIENTE with a few hundred clients) and a demo workbook beside it.
#   make-demo.sh [DIR [CLIENTS ROWS]]   (default build/demo, 300 clients, 250 rows)
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
DIR="${1:-$ROOT/build/demo}"
CLIENTS="${2:-300}"
ROWS="${3:-250}"
mkdir -p "$DIR"
export FIREBIRD_LOCK="${FIREBIRD_LOCK:-$ROOT/build/firebird-lock}"
export FIREBIRD_TMP="${FIREBIRD_TMP:-$ROOT/build/firebird-tmp}"
mkdir -p "$FIREBIRD_LOCK" "$FIREBIRD_TMP"

if [[ ! -f "$DIR/VORTANA.FDB" ]]; then
  {
    echo "SET SQL DIALECT 1;"
    echo "CREATE DATABASE '$DIR/VORTANA.FDB' USER 'SYSDBA' PASSWORD 'masterkey' DEFAULT CHARACTER SET WIN1252;"
    echo "CREATE TABLE CLIENTE (CODCLIENTE VARCHAR(8) NOT NULL PRIMARY KEY, NOME VARCHAR(60), EMAIL VARCHAR(60));"
    for i in $(seq 1 $CLIENTS); do
      printf "INSERT INTO CLIENTE VALUES ('%08d', 'Cliente %d', NULL);\n" "$i" "$i"
    done
    echo "COMMIT;"
  } | isql-fb -q >/dev/null
fi
if [[ ! -f "$DIR/Clientes.xlsx" ]]; then
  /usr/bin/python3 "$ROOT/scripts/make-demo.py" "$DIR/Clientes.xlsx" "$ROWS"
fi
echo "$DIR"
