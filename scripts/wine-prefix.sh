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
# Wine draws window frames and captions itself (as Windows does), instead of
# leaving them to an X window manager, which a bare Xvfb display does not have.
if [[ ! -f "$WINEPREFIX/.project-settings-1" ]]; then
  DISPLAY= wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1
  DISPLAY= wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  wineserver -w || true
  touch "$WINEPREFIX/.project-settings-1"
fi
# Wine's own fonts (Marlett for the caption buttons, MS Sans Serif...), in case
# this Wine does not find them in its data folder.
for font in /usr/share/wine/fonts/*.ttf /usr/share/wine/fonts/sserife.fon; do
  [[ -f "$font" && ! -f "$WINEPREFIX/drive_c/windows/Fonts/$(basename "$font")" ]] &&
    cp "$font" "$WINEPREFIX/drive_c/windows/Fonts/"
done
BRIDGE="${PROJECT_GDS32_BRIDGE:-$ROOT/build/native/bridge/gds32/gds32.dll.so}"
TARGET="$WINEPREFIX/drive_c/windows/system32/gds32.dll"
if [[ -f "$BRIDGE" ]] && ! cmp -s "$BRIDGE" "$TARGET"; then
  cp "$BRIDGE" "$TARGET"
fi
