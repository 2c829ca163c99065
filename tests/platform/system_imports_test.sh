#!/usr/bin/env bash
# Every Windows executable of the build must run on a bare Windows: it may
# import only the system's own DLLs (no MinGW runtime, no zlib1.dll...).
#   system_imports_test.sh OBJDUMP BUILD_DIR
set -euo pipefail
OBJDUMP="$1"
BUILD="$2"
allowed='^(kernel32|user32|gdi32|comctl32|comdlg32|msimg32|msvcrt|ole32|oleaut32|advapi32|shell32|shlwapi|uxtheme|ws2_32|version|winmm|bcrypt|crypt32|imm32|api-ms-win-.*)\.dll$'
count=0
bad=0
while IFS= read -r exe; do
  count=$((count + 1))
  while IFS= read -r dll; do
    if ! [[ "${dll,,}" =~ $allowed ]]; then
      echo "FAIL: $exe imports $dll"
      bad=1
    fi
  done < <("$OBJDUMP" -p "$exe" | sed -n 's/^\s*DLL Name: //p')
done < <(find "$BUILD" -name '*.exe' -not -path '*/host-tools/*' -not -path '*/CMakeFiles/*')
echo "$count executables checked"
((count > 0)) && ((bad == 0))
