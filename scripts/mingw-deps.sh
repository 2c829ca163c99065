#!/usr/bin/env bash
# Builds the third-party libraries of the Windows program for both MinGW
# triples from Debian's source packages (apt-get source), as static
# libraries, into OUT/<triple>/{include,lib}. What was built is cached under
# OUT and rebuilt only when the recipe or the package version changes.
#
# Adding a library: one "build_cmake SRCPKG SUBDIR -Doption..." or
# "build_custom SRCPKG function" line at the end of this file.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
OUT="${1:-$ROOT/build/mingw-deps}"
SRC="$OUT/src"
TRIPLES=(x86_64-w64-mingw32 i686-w64-mingw32)
mkdir -p "$SRC"
source "$ROOT/scripts/apt-sources.sh"
RECIPE_HASH="$(sha256sum "${BASH_SOURCE[0]}" | cut -c1-16)"

# Unpacks the source package once; prints the unpacked folder.
fetch_source() {
  local pkg="$1" version dir
  version="$(apt-cache showsrc "$pkg" 2>/dev/null | sed -n 's/^Version: //p' | head -1)"
  if [[ -z "$version" ]]; then
    if project_enable_sources; then :; fi
    project_apt_update >&2
    version="$(apt-cache showsrc "$pkg" | sed -n 's/^Version: //p' | head -1)"
  fi
  [[ -n "$version" ]] || { echo "mingw-deps: no source package $pkg" >&2; return 1; }
  dir="$SRC/$pkg-$version"
  if [[ ! -f "$dir/.unpacked" ]]; then
    rm -rf "$dir" "$SRC/$pkg.tmp"
    mkdir -p "$SRC/$pkg.tmp"
    (cd "$SRC/$pkg.tmp" && apt-get source -qq "$pkg=$version" >/dev/null 2>&1 ||
      apt-get source -qq "$pkg" >/dev/null)
    local unpacked
    unpacked="$(find "$SRC/$pkg.tmp" -mindepth 1 -maxdepth 1 -type d | head -1)"
    mv "$unpacked" "$dir"
    rm -rf "$SRC/$pkg.tmp"
    touch "$dir/.unpacked"
  fi
  echo "$dir"
}

stamp_ok() { [[ -f "$1" && "$(cat "$1")" == "$2" ]]; }

# build_cmake SRCPKG SUBDIR [cmake options...]: a CMake project in SUBDIR of
# the unpacked source.
build_cmake() {
  local pkg="$1" sub="$2"
  shift 2
  local dir
  dir="$(fetch_source "$pkg")"
  for triple in "${TRIPLES[@]}"; do
    local prefix="$OUT/$triple" stamp="$OUT/$triple/.stamp-$pkg"
    local key="$(basename "$dir") $RECIPE_HASH"
    stamp_ok "$stamp" "$key" && continue
    echo "mingw-deps: building $pkg for $triple"
    local bdir="$OUT/build/$triple/$pkg"
    rm -rf "$bdir"
    mkdir -p "$(dirname "$bdir")"
    cmake -S "$dir/$sub" -B "$bdir" -G Ninja -Wno-dev \
      -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/toolchains/mingw-deps-$triple.cmake" \
      -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
      -DCMAKE_PREFIX_PATH="$prefix" -DBUILD_SHARED_LIBS=OFF "$@" >"$bdir.log" 2>&1 ||
      { cat "$bdir.log" >&2; return 1; }
    cmake --build "$bdir" >>"$bdir.log" 2>&1 && cmake --install "$bdir" >>"$bdir.log" 2>&1 ||
      { tail -40 "$bdir.log" >&2; return 1; }
    echo "$key" >"$stamp"
  done
}

# build_custom SRCPKG FUNCTION: FUNCTION SRCDIR TRIPLE PREFIX does the build.
build_custom() {
  local pkg="$1" fn="$2" dir
  dir="$(fetch_source "$pkg")"
  for triple in "${TRIPLES[@]}"; do
    local prefix="$OUT/$triple" stamp="$OUT/$triple/.stamp-$pkg"
    local key="$(basename "$dir") $RECIPE_HASH"
    stamp_ok "$stamp" "$key" && continue
    echo "mingw-deps: building $pkg for $triple"
    mkdir -p "$prefix/include" "$prefix/lib" "$OUT/build/$triple"
    local log="$OUT/build/$triple/$pkg.log"
    "$fn" "$dir" "$triple" "$prefix" >"$log" 2>&1 || { tail -40 "$log" >&2; return 1; }
    echo "$key" >"$stamp"
  done
}

for triple in "${TRIPLES[@]}"; do
  mkdir -p "$OUT/$triple/include" "$OUT/$triple/lib"
done

# --- libraries ---------------------------------------------------------------
# PNG decoding of the main window's logo (zlib comes from libz-mingw-w64-dev).
build_cmake libpng1.6 . -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF \
  -DSKIP_INSTALL_PROGRAMS=ON -DSKIP_INSTALL_FILES=ON
# Spreadsheet reading (app/): minizip from zlib's contrib folder (zlib itself
# comes from libz-mingw-w64-dev) and expat. Expat goes without DTD support:
# the workbook reader refuses documents that have a DTD.
build_minizip() {
  local src="$1" triple="$2" prefix="$3" tmp
  tmp="$(mktemp -d)"
  for f in ioapi unzip; do
    "$triple-gcc-posix" -O2 -c "$src/contrib/minizip/$f.c" -o "$tmp/$f.o" || return 1
  done
  "$triple-ar" rcs "$prefix/lib/libminizip.a" "$tmp/ioapi.o" "$tmp/unzip.o" || return 1
  mkdir -p "$prefix/include/minizip"
  cp "$src/contrib/minizip/ioapi.h" "$src/contrib/minizip/unzip.h" "$prefix/include/minizip/"
  rm -rf "$tmp"
}
build_custom zlib build_minizip
build_cmake expat expat -DEXPAT_BUILD_TOOLS=OFF -DEXPAT_BUILD_EXAMPLES=OFF -DEXPAT_BUILD_TESTS=OFF \
  -DEXPAT_BUILD_DOCS=OFF -DEXPAT_BUILD_FUZZERS=OFF -DEXPAT_SHARED_LIBS=OFF -DEXPAT_DTD=OFF
