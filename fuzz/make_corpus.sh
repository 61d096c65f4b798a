#!/usr/bin/env bash
# Rewrites the seed corpora in fuzz/corpus/<target>/ from a fuzzing build tree.
# Usage: fuzz/make_corpus.sh [BUILD_DIR]   (default build-fuzz)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build-fuzz}"
ninja -C "$build" -j2 pemo_fuzz_seeds >/dev/null
rm -rf "$root/fuzz/corpus/document" "$root/fuzz/corpus/template" "$root/fuzz/corpus/blocklist"
ASAN_OPTIONS=detect_leaks=0 "$build/bin/pemo_fuzz_seeds" "$root/fuzz/corpus"
