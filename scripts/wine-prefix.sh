#!/usr/bin/env bash
# Creates the private Wine prefix on first use and installs the Firebird
# bridge (gds32.dll) into its system32 when the native build has made it.
# Safe to call concurrently: the work is done under a lock.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$ROOT/scripts/wine-env.sh"
mkdir -p "$(dirname "$WINEPREFIX")"
exec 9>"$WINEPREFIX.lock"
flock 9
if [[ ! -f "$WINEPREFIX/system.reg" ]]; then
  echo "wine-prefix: creating $WINEPREFIX"
  DISPLAY= wineboot -i >/dev/null 2>&1 || true
  wineserver -w || true
fi
BRIDGE="${PROJECT_GDS32_BRIDGE:-$ROOT/build/native/bridge/gds32/gds32.dll.so}"
TARGET="$WINEPREFIX/drive_c/windows/system32/gds32.dll"
if [[ -f "$BRIDGE" ]] && ! cmp -s "$BRIDGE" "$TARGET"; then
  cp "$BRIDGE" "$TARGET"
fi
