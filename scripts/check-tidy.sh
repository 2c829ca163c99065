#!/usr/bin/env bash
# clang-tidy over the project's own C++ sources (not third-party code), with
# the compile commands of the native build. Exits non-zero on any finding.
#   check-tidy.sh [BUILD_DIR]   (default build/native)
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${1:-$ROOT/build/native}"
cd "$ROOT"
[[ -f "$BUILD/compile_commands.json" ]] || { echo "no $BUILD/compile_commands.json" >&2; exit 2; }
mapfile -t files < <(python3 - "$BUILD/compile_commands.json" <<'PY'
import json, sys, os
root = os.getcwd()
seen = set()
for entry in json.load(open(sys.argv[1])):
    f = os.path.normpath(os.path.join(entry["directory"], entry["file"]))
    if not f.startswith(root + "/") or "/build/" in f[len(root):] or not f.endswith(".cpp"):
        continue
    if f not in seen:
        seen.add(f)
        print(f)
PY
)
echo "clang-tidy: ${#files[@]} files"
printf '%s\n' "${files[@]}" |
  xargs -P "$(nproc)" -n 4 clang-tidy -p "$BUILD" --quiet 2>/dev/null >"$BUILD/clang-tidy.log" || {
    grep -E 'warning:|error:' "$BUILD/clang-tidy.log" | sort -u | head -100
    exit 1
  }
echo "clang-tidy: clean"
