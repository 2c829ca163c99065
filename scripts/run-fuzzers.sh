#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ (fuzz preset: clang, ASan + UBSan) and
# runs each one for a fixed number of inputs, starting from generated seeds.
#   scripts/run-fuzzers.sh [RUNS] [BUILD_DIR]     default 500 runs, build/fuzz
#   FUZZ_SECONDS=600 scripts/run-fuzzers.sh       run each for a time instead
# Exits non-zero when a target finds a crash, an overflow, or an input that
# allocates too much (the reproducer is left in the build folder as crash-*,
# oom-* or leak-*). Every target runs with a 256 MB ceiling on single
# allocations; skin_paint, whose images and targets are all small, with 64 MB.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
RUNS="${1:-500}"
BUILD="$(realpath -m "${2:-$ROOT/build/fuzz}")"
TARGETS=(skin_package skin_names lzh quick_ini bmp load_skin skin_paint xls_stream xls_records xml_part)

if [[ ! -f "$BUILD/build.ninja" ]]; then
  cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPROJECT_BUILD_TESTS=OFF -DPROJECT_FUZZ=ON >/dev/null
fi
ninja -C "$BUILD" -j2 fuzz_make_seeds "${TARGETS[@]/#/fuzz_}" >/dev/null

SEEDS="$BUILD/fuzz-seeds"
"$BUILD/fuzz/fuzz_make_seeds" "$SEEDS"
# The .xls reader starts from the workbooks the tests read (real writers'
# files and the hand-made ones), byte-wise and record-wise.
mkdir -p "$SEEDS/xls_stream" "$SEEDS/xls_records"
cp "$ROOT"/tests/fixtures/app/*.xls "$SEEDS/xls_stream/"
cp "$SEEDS"/xls_stream/*.xls "$SEEDS/xls_records/"
# The .xlsx part filter starts from the worksheets and shared strings of the
# real writers' workbooks (the first byte of each chooses the chunk size).
mkdir -p "$SEEDS/xml_part"
python3 - "$SEEDS/xml_part" "$ROOT"/tests/fixtures/app/corpus_*.xlsx \
  "$ROOT"/tests/fixtures/app/xlsxwriter_rich.xlsx <<'PY'
import os, sys, zipfile
for path in sys.argv[2:]:
    with zipfile.ZipFile(path) as z:
        for part in ("xl/worksheets/sheet1.xml", "xl/sharedStrings.xml"):
            if part in z.namelist():
                name = os.path.basename(path)[:-5] + "-" + os.path.basename(part)
                with open(os.path.join(sys.argv[1], name), "wb") as out:
                    out.write(b"\0" + z.read(part))
PY

status=0
for t in "${TARGETS[@]}"; do
  corpus="$BUILD/fuzz-corpus/$t"
  mkdir -p "$corpus"
  if [[ -n "${FUZZ_SECONDS:-}" ]]; then
    limit=(-max_total_time="$FUZZ_SECONDS")
  else
    limit=(-runs="$RUNS")
  fi
  max_len=65536
  options=(-malloc_limit_mb=256)
  case $t in
    # Compressed packages expand up to 480 times: keep those inputs short.
    skin_package) max_len=8192 ;;
    # A few hundred records of a description; its images and targets are small.
    skin_paint) max_len=4096 options=(-malloc_limit_mb=64) ;;
  esac
  echo "fuzz_$t: ${limit[*]}"
  if ! (cd "$BUILD" && "$BUILD/fuzz/fuzz_$t" "${limit[@]}" -max_len=$max_len -rss_limit_mb=2048 \
        "${options[@]}" -timeout=30 -print_final_stats=1 "$corpus" "$SEEDS/$t" \
        >"$BUILD/fuzz_$t.log" 2>&1); then
    echo "fuzz_$t FAILED (see $BUILD/fuzz_$t.log)"
    tail -30 "$BUILD/fuzz_$t.log"
    status=1
  else
    grep -E "stat::number_of_executed_units" "$BUILD/fuzz_$t.log" || true
  fi
done
exit $status
