#!/usr/bin/env bash
# Rewrites the seed corpora in fuzz/corpus/<target>/ from a fuzzing build tree.
# Usage: fuzz/make_corpus.sh [BUILD_DIR]   (default build-fuzz)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build-fuzz}"
ninja -C "$build" -j2 pemo_fuzz_seeds >/dev/null
rm -rf "$root/fuzz/corpus/document" "$root/fuzz/corpus/template" "$root/fuzz/corpus/blocklist"
ASAN_OPTIONS=detect_leaks=0 "$build/bin/pemo_fuzz_seeds" "$root/fuzz/corpus"
# The table readers start from the import test fixtures.
for kind in csv xls xlsx; do
  rm -rf "$root/fuzz/corpus/$kind"
  mkdir -p "$root/fuzz/corpus/$kind"
done
# The csv target takes its first byte as the separator's choice; 0 picks the comma.
for file in "$root"/tests/data/import/*.csv; do
  { printf '\0'; cat "$file"; } >"$root/fuzz/corpus/csv/$(basename "$file")"
done
cp "$root"/tests/data/import/products.xls "$root"/tests/data/import/freexl-overread.xls "$root/fuzz/corpus/xls/"
cp "$root"/tests/data/import/products.xlsx "$root"/tests/data/import/handmade.xlsx "$root/fuzz/corpus/xlsx/"
