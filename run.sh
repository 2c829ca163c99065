#!/usr/bin/env bash
# Builds and starts the program under Wine, doing its own set-up on a Debian
# 12 machine. With no DISPLAY it uses a private Xvfb display, saves a
# screenshot after start-up and prints its path.
#   ./run.sh               start the program and wait until it is closed
#   ./run.sh --screenshot  start it, take the screenshot, close it
set -uo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
cd "$ROOT"
SHOT_ONLY=0
[[ "${1:-}" == "--screenshot" ]] && SHOT_ONLY=1
die() { echo "run.sh: $*" >&2; exit 1; }

./scripts/setup.sh || die "set-up failed"
mkdir -p build/logs
cmake --preset native >build/logs/run-native.log 2>&1 &&
  cmake --build --preset native --target gds32_bridge >>build/logs/run-native.log 2>&1 ||
  { tail -30 build/logs/run-native.log; die "native build failed"; }
# The optimised program, as it ships (the debug build serves the tests).
PRESET=windows-x64-release
cmake --preset "$PRESET" >build/logs/run-windows.log 2>&1 || die "configure failed"
PROGRAM=build/$PRESET/app/win/AtualizaEmails.exe
cmake --build --preset "$PRESET" --target AtualizaEmails >>build/logs/run-windows.log 2>&1 ||
  { grep -E -A12 'error|FAILED' build/logs/run-windows.log | head -80; die "build failed"; }

source scripts/xdisplay.sh
source scripts/wine-env.sh
trap project_stop_display EXIT
PROJECT_PRIVATE_DISPLAY=0
project_start_display || die "no X display"
./scripts/wine-prefix.sh || die "Wine prefix"

# Demo files for a first run: a Vortana database and a workbook beside it.
DEMO="$(./scripts/make-demo.sh "$ROOT/build/demo")" || die "demo files"
winpath() { local p="$1"; echo "Z:${p//\//\\}"; }
echo "run.sh: demo database: $DEMO/VORTANA.FDB (in the program: $(winpath "$DEMO/VORTANA.FDB"))"
echo "run.sh: demo workbook: $DEMO/Clientes.xlsx (in the program: $(winpath "$DEMO/Clientes.xlsx")), 250 rows"
echo "run.sh: starting $PROGRAM on display $DISPLAY"
./scripts/wine-run.sh "$PROGRAM" &
PROGRAM_PID=$!

if ((PROJECT_PRIVATE_DISPLAY || SHOT_ONLY)); then
  sleep "${RUN_SCREENSHOT_DELAY:-6}"
  mkdir -p build/screenshots
  SHOT="$ROOT/build/screenshots/run-$(date +%Y%m%d-%H%M%S).png"
  import -display "$DISPLAY" -window root "$SHOT" && echo "run.sh: screenshot saved to $SHOT"
fi
if ((SHOT_ONLY)); then
  kill "$PROGRAM_PID" 2>/dev/null
  exit 0
fi
if ((PROJECT_PRIVATE_DISPLAY)); then
  echo "run.sh: the program runs on the private display $DISPLAY; press Ctrl+C to stop it"
fi
wait "$PROGRAM_PID"
