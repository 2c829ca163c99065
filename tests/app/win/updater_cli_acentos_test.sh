#!/usr/bin/env bash
# The support staff's undo procedure under Wine for an operator whose Windows
# user name and database folder have accents: updater-cli.exe run over
# ...\Gestão\Gestão.fdb leaves its record in the user's folder
# C:\users\João\AppData\Local\AtualizaEmails\historico, and updater-cli.exe
# undo with the path it printed puts every address back. The arguments
# reach the program in UTF-16, not in the ANSI code page.
#   updater_cli_acentos_test.sh PATH/TO/updater-cli.exe
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)"
CLI="$1"
WORK="$(mktemp -d)"
fail() { echo "FAIL: $*"; exit 1; }
export FIREBIRD_LOCK="$WORK/lock" FIREBIRD_TMP="$WORK/tmp"
mkdir -p "$FIREBIRD_LOCK" "$FIREBIRD_TMP"
source "$ROOT/scripts/wine-env.sh"
winpath() { local p="$1"; printf 'Z:%s' "${p//\//\\}"; }

folder="$WORK/Gestão"
"$ROOT/scripts/make-demo.sh" "$folder" 5 5 >/dev/null
mv "$folder/VORTANA.FDB" "$folder/Gestão.fdb"
DB="$folder/Gestão.fdb"
addresses() {
  printf "SELECT 'n=' || COUNT(*) FROM CLIENTE WHERE EMAIL IS NOT NULL;\n" |
    isql-fb -q -user SYSDBA "$DB" | sed -n 's/^n=\([0-9]*\).*/\1/p'
}
# The operator's profile folder, as Windows names it for the user João: the
# records folder is found through LOCALAPPDATA, which Wine sets from the shell
# folders of the prefix when a session starts. The prefix's own folder is put
# back at the end (the Windows tests run one at a time).
shell_folders='HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer'
# The value of Local AppData under one of the two keys (its text after the type).
value_of() {
  wine reg query "$shell_folders\\$1" /v 'Local AppData' 2>/dev/null |
    sed -n 's/.*Local AppData *REG_[A-Z_]*SZ *//p' | tr -d '\r'
}
# Sets both keys (the second holds the expanded path), then ends the session
# so that the next program starts with the new environment.
local_appdata() {
  wine reg add "$shell_folders\User Shell Folders" /v 'Local AppData' /t REG_EXPAND_SZ /d "$1" /f
  wine reg add "$shell_folders\Shell Folders" /v 'Local AppData' /d "$2" /f
  wineserver -w
} >/dev/null 2>&1
saved_user="$(value_of 'User Shell Folders')"
saved_shell="$(value_of 'Shell Folders')"
[[ -n "$saved_user" && -n "$saved_shell" ]] || fail "the prefix names no Local AppData folder"
restore() {
  local_appdata "$saved_user" "$saved_shell"
  rm -rf "$WORK" "$WINEPREFIX/drive_c/users/João"
}
trap restore EXIT
local_appdata 'C:\users\João\AppData\Local' 'C:\users\João\AppData\Local'

out="$("$ROOT/scripts/wine-run.sh" "$CLI" run --workbook "$(winpath "$folder/Clientes.xlsx")" \
  --rows 5 --database "$(winpath "$DB")" 2>&1)" || fail "the run: $out"
record="$(sed -n 's/^registro: //p' <<<"$out" | tr -d '\r')"
[[ "$record" == 'C:\users\João\AppData\Local\AtualizaEmails\historico\'*_execucao.txt ]] ||
  fail "the record is not in the user's folder: $out"
unix_record="$WINEPREFIX/drive_c/users/João/AppData/Local/AtualizaEmails/historico/${record##*\\}"
[[ -f "$unix_record" ]] || fail "no file at $unix_record"
[[ "$(addresses)" == 5 ]] || fail "the run wrote $(addresses) addresses"
echo "ok: the run over ...\\Gestão\\Gestão.fdb left its record in $record"

out="$("$ROOT/scripts/wine-run.sh" "$CLI" undo --record "$record" --database "$(winpath "$DB")" 2>&1)" ||
  fail "the undo: $out"
[[ "$out" == *"clientes restaurados: 5"* ]] || fail "the undo: $out"
[[ "$(addresses)" == 0 ]] || fail "after the undo $(addresses) addresses are left"
echo "ok: updater-cli undo --record $record put every address back"
