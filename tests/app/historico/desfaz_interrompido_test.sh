#!/usr/bin/env bash
# An undo killed at each moment where a stop leaves a different state on
# disk, then looked at from a second attachment and run again:
#   escrito       record written under its pending name, not flushed
#   descarregado  record flushed, transaction not committed
#   confirmado    committed, record not renamed
# Before the commit the database still holds the run's addresses and the
# undo run again puts them back; after it, the undo run again finds the
# interrupted one done, gives its record the final name and refuses as
# already undone, and that record undoes the undo. Two processes share the
# database through the embedded engine's shared mode.
#   desfaz_interrompido_test.sh PATH/TO/updater-cli PATH/TO/desfaz_interrompido
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)"
CLI="$1"
STOP="$2"
WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

source "$ROOT/tests/app/firebird_shared_mode.sh"

for moment in escrito descarregado confirmado; do
  demo="$WORK/demo-$moment"
  records="$WORK/registros-$moment"
  "$ROOT/scripts/make-demo.sh" "$demo" 5 5 >/dev/null
  DB="$demo/VORTANA.FDB"
  # Read by another process: isql is the second attachment.
  addresses() {
    printf "SELECT 'n=' || COUNT(*) FROM CLIENTE WHERE EMAIL IS NOT NULL;\n" |
      isql-fb -q -user SYSDBA "$DB" | sed -n 's/^n=\([0-9]*\).*/\1/p'
  }
  out="$("$CLI" run --workbook "$demo/Clientes.xlsx" --rows 5 --database "$DB" --records "$records")" ||
    fail "$moment: the run: $out"
  record="$(sed -n 's/^registro: //p' <<<"$out")"
  [[ -f "$record" && "$(addresses)" == 5 ]] || fail "$moment: the run left no record or no addresses"

  set +e
  "$STOP" "$DB" "$record" "$records" "$moment" >"$WORK/stop.out" 2>&1
  code=$?
  set -e
  [[ $code -eq 137 ]] || fail "$moment: the undo was not killed (exit $code): $(cat "$WORK/stop.out")"
  pending=("$records"/*_desfazer.txt.pendente)
  [[ -f "${pending[0]}" ]] || fail "$moment: no pending record after the kill"
  compgen -G "$records/*_desfazer.txt" >/dev/null && fail "$moment: a final record before the rename"

  if [[ $moment != confirmado ]]; then
    [[ "$(addresses)" == 5 ]] || fail "$moment: the killed undo changed the database"
    out="$("$CLI" undo --record "$record" --database "$DB" --records "$records")" ||
      fail "$moment: the undo run again: $out"
    [[ "$out" == *"clientes restaurados: 5"* ]] || fail "$moment: $out"
    [[ "$(addresses)" == 0 ]] || fail "$moment: the undo run again left addresses"
    echo "ok: killed at '$moment': nothing changed, the undo run again put every address back"
  else
    [[ "$(addresses)" == 0 ]] || fail "$moment: the committed undo is not in the database"
    set +e
    out="$("$CLI" undo --record "$record" --database "$DB" --records "$records" 2>&1)"
    code=$?
    set -e
    [[ $code -eq 1 && "$out" == *"já foi desfeito"*"cuja gravação tinha sido interrompida"* ]] ||
      fail "$moment: the undo run again (exit $code): $out"
    [[ ! -e "${pending[0]}" ]] || fail "$moment: the pending record kept its name"
    final="${pending[0]%.pendente}"
    [[ -f "$final" ]] || fail "$moment: no record under the final name"
    [[ "$(addresses)" == 0 ]] || fail "$moment: the refused undo changed the database"
    out="$("$CLI" undo --record "$final" --database "$DB" --records "$records")" ||
      fail "$moment: undoing the interrupted undo: $out"
    [[ "$(addresses)" == 5 ]] || fail "$moment: the interrupted undo's record did not undo it"
    echo "ok: killed at '$moment': committed; the undo run again named its record and refused," \
      "and that record undid the undo"
  fi
done
