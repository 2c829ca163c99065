#!/usr/bin/env bash
# Runs every test of the project on a Debian 12 machine, doing its own set-up:
# packages, MinGW third-party libraries, the Wine prefix, an X display.
#   1. formatting check and clang-tidy of the project's own files
#   2. builds: native (with AddressSanitizer and UBSan), windows-x64, windows-x86,
#      and the shipped optimised programs (windows-x64-release, windows-x86-release)
#   3. native tests, then Windows tests under Wine (+ short fuzzing runs); a
#      private Firebird server (scripts/firebird-server.sh) serves the tests
#      that reach a database through a server, and is stopped at the end
# Prints each ctest summary; exits non-zero when anything failed.
set -uo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
cd "$ROOT"
START=$SECONDS
JOBS="${JOBS:-$(nproc)}"

step() { printf '\n=== %s (%ds)\n' "$*" $((SECONDS - START)); }
die() { echo "test.sh: $*" >&2; exit 1; }

step "set-up"
./scripts/setup.sh || die "set-up failed"

step "formatting"
format_ok=1
./scripts/check-format.sh || format_ok=0

mkdir -p build/logs
# Configures and builds a preset (all of it, or the targets named).
build_preset() {
  local preset="$1"
  shift
  local targets=()
  (($#)) && targets=(--target "$@")
  cmake --preset "$preset" >"build/logs/$preset.log" 2>&1 || { cat "build/logs/$preset.log"; die "configure $preset failed"; }
  cmake --build --preset "$preset" -j "$JOBS" "${targets[@]}" >>"build/logs/$preset.log" 2>&1 ||
    { grep -E -B2 -A12 'error|FAILED' "build/logs/$preset.log" | head -150; die "build $preset failed"; }
  rm -f "build/logs/$preset.log"
}
for preset in native windows-x64 windows-x86; do
  step "build $preset"
  build_preset "$preset"
done
# The optimised programs that ship (x64 and x86): the program and the
# command-line tool support staff use to preview and undo runs.
for preset in windows-x64-release windows-x86-release; do
  step "build $preset (AtualizaEmails.exe, updater-cli.exe)"
  build_preset "$preset" AtualizaEmails updater-cli
done

step "clang-tidy"
tidy_ok=1
./scripts/check-tidy.sh build/native || tidy_ok=0

source scripts/xdisplay.sh
source scripts/wine-env.sh
SERVER_DIR="$ROOT/build/firebird-server"
stop_services() {
  ./scripts/firebird-server.sh stop "$SERVER_DIR" || true
  project_stop_display
}
trap stop_services EXIT
project_start_display || die "no X display"

# The Firebird server of the tests: its database names are
# $PROJECT_FIREBIRD_SERVER:/path; a client with FIREBIRD=$PROJECT_FIREBIRD_SERVER_ROOT
# reaches it for a plain path that it holds.
step "Firebird server"
PROJECT_FIREBIRD_SERVER="$(./scripts/firebird-server.sh start "$SERVER_DIR")" || die "Firebird server"
export PROJECT_FIREBIRD_SERVER PROJECT_FIREBIRD_SERVER_ROOT="$SERVER_DIR/root"
echo "listening as $PROJECT_FIREBIRD_SERVER"

# The database tests skip when the Firebird client is missing, which is
# fine on a developer's machine; here a missing Firebird is a failure.
export PROJECT_REQUIRE_FIREBIRD=1

failed=0
step "native tests"
ctest --preset native || failed=1

step "Windows tests under Wine (display $DISPLAY)"
./scripts/wine-prefix.sh || die "Wine prefix"
ctest --preset windows-x64 || failed=1

if [[ -x scripts/run-fuzzers.sh ]]; then
  step "fuzzers (short runs)"
  ./scripts/run-fuzzers.sh || failed=1
fi

step "done"
if ((format_ok == 0)); then echo "FAILED: formatting drift"; failed=1; fi
if ((tidy_ok == 0)); then echo "FAILED: clang-tidy findings"; failed=1; fi
if ((failed)); then echo "FAILED: see above"; exit 1; fi
echo "all tests passed in $((SECONDS - START)) s"
