# Environment of the project's private Wine prefix; sourced by the scripts.
ROOT="${ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}"
export WINEPREFIX="${PROJECT_WINEPREFIX:-$ROOT/build/wine-prefix}"
export WINEARCH=win64
export WINEDEBUG=-all
# No Mono or Gecko installer dialogs when the prefix is created.
export WINEDLLOVERRIDES="mscoree,mshtml="
# The embedded Firebird engine inside Wine keeps its lock files here.
export FIREBIRD_LOCK="${FIREBIRD_LOCK:-$ROOT/build/firebird-lock}"
export FIREBIRD_TMP="${FIREBIRD_TMP:-$ROOT/build/firebird-tmp}"
mkdir -p "$FIREBIRD_LOCK" "$FIREBIRD_TMP"
