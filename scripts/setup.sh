#!/usr/bin/env bash
# Installs everything the build, the tests and the program need on a Debian 12
# machine, builds the MinGW third-party libraries and prepares the Wine prefix.
# Idempotent: a second run with nothing missing only checks and returns.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${BUILD_DIR:-$ROOT/build}"
export DEBIAN_FRONTEND=noninteractive

PACKAGES=(
  # native toolchain and tests
  build-essential cmake ninja-build pkg-config git
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  clang clang-format clang-tidy libclang-rt-14-dev
  # cross toolchain for the Windows program (posix threads variants)
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
  gcc-mingw-w64-x86-64-posix gcc-mingw-w64-i686-posix
  binutils-mingw-w64-x86-64 binutils-mingw-w64-i686
  libz-mingw-w64-dev
  # running and looking at the Windows program
  wine wine64 wine64-tools libwine-dev fonts-wine fonts-liberation libgnutls30
  xvfb xdotool imagemagick x11-utils
  # Firebird, embedded engine, client library, headers and isql; the server
  # (started by the tests on a port of their own, never as the machine's service)
  firebird3.0-server-core libfbclient2 firebird-dev firebird3.0-utils firebird3.0-server
  # portable core libraries
  zlib1g-dev libpng-dev libstb-dev libminizip-dev libexpat1-dev
  # workbook fixtures and the spreadsheet benchmark
  python3-openpyxl python3-xlwt python3-xlsxwriter xlsx2csv
  # labels of the skin contact sheets (tools/skingen)
  fonts-dejavu-core
  # the operators' locale (pt-BR) and an English one for the program under Wine
  locales
  # source packages for the MinGW builds of third-party libraries
  dpkg-dev
)

# The writers that made the committed workbook fixtures (only needed to make
# them again: PROJECT_FIXTURE_TOOLS=1 scripts/setup.sh).
if [[ "${PROJECT_FIXTURE_TOOLS:-0}" == 1 ]]; then
  PACKAGES+=(libreoffice-calc-nogui gnumeric)
fi

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

source "$ROOT/scripts/apt-sources.sh"

if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}"
  project_enable_sources || true
  project_apt_update
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# The locales Wine runs the program in: the operators' Brazilian Portuguese
# (decimal comma, Portuguese system dialogs) and US English for the test that
# the user's separator is followed. Wine takes its locale from the C library's.
for loc in pt_BR en_US; do
  if ! locale -a 2>/dev/null | grep -qx "$loc.utf8"; then
    echo "setup: generating the $loc.UTF-8 locale"
    localedef -i "$loc" -f UTF-8 "$loc.UTF-8"
  fi
done

# Third-party libraries for the MinGW builds, from Debian's source packages.
"$ROOT/scripts/mingw-deps.sh" "$BUILD/mingw-deps"
