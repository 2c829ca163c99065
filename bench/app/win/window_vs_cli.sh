#!/usr/bin/env bash
# The window's run against `updater-cli run` on the same files: the optimised
# program under Wine (pt-BR), driven like an operator (tests/app/win's session
# driver: time from the click on "Efetuar Atualização" to the box that ends
# the run), and the optimised command-line tool natively (the whole process:
# open, import, update, commit). Each runs on a fresh copy of the database;
# the best of RUNS runs of each is printed with their ratio (goal: the window
# within 1.3 times the command line).
#   bench/app/win/window_vs_cli.sh [ROWS] [RUNS]   (default 100000 rows, 3 runs)
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)"
cd "$ROOT"
ROWS="${1:-100000}"
RUNS="${2:-3}"
JOBS="${JOBS:-2}"
die() { echo "window_vs_cli: $*" >&2; exit 1; }

./scripts/setup.sh >/dev/null || die "set-up failed"
mkdir -p build/logs
log=build/logs/window_vs_cli.log
: >"$log"
build() {  # PRESET TARGET...
  local preset="$1"
  shift
  cmake --preset "$preset" >>"$log" 2>&1 || die "configure $preset failed (see $log)"
  cmake --build --preset "$preset" -j "$JOBS" --target "$@" >>"$log" 2>&1 ||
    die "build $preset failed (see $log)"
}
build native-release updater-cli gds32_bridge
build windows-x64-release AtualizaEmails
build windows-x64 sessao_driver
CLI=build/native-release/tools/updater-cli/updater-cli
PROGRAM=build/windows-x64-release/app/win/AtualizaEmails.exe
DRIVER=build/windows-x64/tests/app/win/sessao_driver.exe
export PROJECT_GDS32_BRIDGE="$ROOT/build/native-release/bridge/gds32/gds32.dll.so"

source scripts/xdisplay.sh
source scripts/wine-env.sh
trap project_stop_display EXIT
project_start_display || die "no X display"
./scripts/wine-prefix.sh || die "Wine prefix"

# The files: ROWS clients, a workbook of ROWS rows (made once, kept).
FILES="build/bench-window/$ROWS"
./scripts/make-demo.sh "$ROOT/$FILES" "$ROWS" "$ROWS" >/dev/null || die "demo files"
WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"; project_stop_display' EXIT
winpath() { local p="$1"; printf 'Z:%s' "${p//\//\\}"; }

best() { sort -g | head -1; }
cli_times=() window_times=()
for run in $(seq 1 "$RUNS"); do
  cp "$FILES/VORTANA.FDB" "$WORK/cli.fdb"
  start=$(date +%s.%N)
  "$CLI" run --workbook "$FILES/Clientes.xlsx" --rows "$ROWS" --database "$WORK/cli.fdb" \
    >"$WORK/cli.out" || { cat "$WORK/cli.out"; die "updater-cli run failed"; }
  end=$(date +%s.%N)
  cli_times+=("$(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.3f", b - a }')")

  cp "$FILES/VORTANA.FDB" "$WORK/janela.fdb"
  ./scripts/wine-run.sh "$DRIVER" "$(winpath "$ROOT/$PROGRAM")" "$(winpath "$WORK/janela.fdb")" \
    "$(winpath "$ROOT/$FILES/Clientes.xlsx")" "$ROWS" sucesso >"$WORK/janela.out" 2>&1 ||
    { cat "$WORK/janela.out"; die "the window's run failed"; }
  # The driver's console output ends its lines with CR LF.
  window_times+=("$(tr -d '\r' <"$WORK/janela.out" | sed -n 's/^tempo do clique à caixa (s): //p')")
  echo "run $run: updater-cli ${cli_times[-1]} s, window ${window_times[-1]} s"
done
cli="$(printf '%s\n' "${cli_times[@]}" | best)"
window="$(printf '%s\n' "${window_times[@]}" | best)"
ratio="$(awk -v w="$window" -v c="$cli" 'BEGIN { printf "%.2f", w / c }')"
printf '%s rows, best of %s runs\n' "$ROWS" "$RUNS"
printf '  updater-cli run (native, whole process)  %8.2f s\n' "$cli"
printf '  window (Wine, click to final box)        %8.2f s\n' "$window"
printf '  window / command line                    %8.2f (goal: at most 1.30)\n' "$ratio"
