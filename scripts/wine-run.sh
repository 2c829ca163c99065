#!/usr/bin/env bash
# Runs a Windows program under Wine in the project's private prefix
# (build/wine-prefix, created on first use). ctest uses it as the emulator of
# the MinGW presets. Needs an X display in DISPLAY (test.sh and run.sh start a
# private Xvfb when there is none).
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$ROOT/scripts/wine-prefix.sh" >/dev/null
source "$ROOT/scripts/wine-env.sh"
if [[ -z "${DISPLAY:-}" ]]; then
  echo "wine-run: no X display (set DISPLAY or use ./test.sh, which starts Xvfb)" >&2
  exit 2
fi
# The operators run Brazilian Windows: Wine takes its locale (decimal comma,
# the system dialogs' language) from the C library's. PROJECT_WINE_LOCALE
# chooses another (a test under English uses en_US.UTF-8).
export LANG="${PROJECT_WINE_LOCALE:-pt_BR.UTF-8}"
export LC_ALL="$LANG"
exec wine "$@"
