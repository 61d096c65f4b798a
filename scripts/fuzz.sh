#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in ./build-fuzz and runs each for SECONDS
# (default 30: eight targets take about as long as four did at 60), one process at a time. New inputs go to fuzz-corpus/<target>/ (not
# committed); the committed seeds in fuzz/corpus/<target>/ are read first. Crashes
# are written to fuzz-corpus/crashes/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-30}"
# Paths relative to the checkout let every clone on this machine share the compiler cache.
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DPEMO_BUILD_FUZZ=ON \
  -DPEMO_BUILD_TESTS=OFF -DPEMO_BUILD_BENCH=OFF >/dev/null
ninja -C build-fuzz -j2 fuzz_documentreader fuzz_templatereader fuzz_blocklistreader \
  fuzz_csvreader fuzz_xlsreader fuzz_xlsxreader fuzz_databasereader fuzz_metafilereader

mkdir -p fuzz-corpus/crashes
status=0
for pair in documentreader:document templatereader:template blocklistreader:blocklist \
  csvreader:csv xlsreader:xls xlsxreader:xlsx databasereader:database metafilereader:metafile; do
  target="${pair%%:*}"
  seeds="${pair##*:}"
  mkdir -p "fuzz-corpus/$seeds"
  echo "== fuzz_$target for ${seconds}s"
  # A single allocation above 256 MB counts as a fault: no valid small input needs one.
  # libFuzzer writes the job's output to fuzz-0.log in the working folder.
  (cd fuzz-corpus &&
    ASAN_OPTIONS=detect_leaks=1 "../build-fuzz/bin/fuzz_$target" \
      -max_total_time="$seconds" -rss_limit_mb=2048 -malloc_limit_mb=256 -jobs=1 -workers=1 \
      -artifact_prefix=crashes/ -print_final_stats=1 "$seeds" "../fuzz/corpus/$seeds") || status=1
  grep -E "ERROR|SUMMARY" fuzz-corpus/fuzz-0.log || true
done
exit $status
