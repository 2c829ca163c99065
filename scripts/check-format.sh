#!/usr/bin/env bash
# Fails when a C or C++ file of the project is not formatted as .clang-format says.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$ROOT"
mapfile -t files < <(git ls-files -- \
  '*.cpp' '*.h' '*.c' '*.hpp' ':!:build/*')
if ((${#files[@]} == 0)); then exit 0; fi
if ! clang-format --dry-run -Werror "${files[@]}" 2>/tmp/format-drift.$$; then
  echo "Formatting drift (run clang-format -i on these files):"
  grep -oE '^[^:]+:[0-9]+' /tmp/format-drift.$$ | cut -d: -f1 | sort -u | sed 's/^/  /'
  rm -f /tmp/format-drift.$$
  exit 1
fi
rm -f /tmp/format-drift.$$
echo "format: ${#files[@]} files clean"
