#!/usr/bin/env bash
# Builds the program and every test with AddressSanitizer and UndefinedBehaviorSanitizer
# (gcc, -O1) in ./build-sanitize and runs the whole suite there; any finding fails it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
flags="-O1 -g0 -fno-omit-frame-pointer -fsanitize=address,undefined -fno-sanitize-recover=all"
cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Sanitize -DPEMO_WERROR=ON \
  -DPEMO_BUILD_BENCH=OFF -DCMAKE_CXX_FLAGS_SANITIZE="$flags" \
  -DCMAKE_EXE_LINKER_FLAGS_SANITIZE="-fsanitize=address,undefined" >/dev/null
cmake --build build-sanitize
cd build-sanitize
# Qt keeps some allocations until exit by design; leaks are not what this run is for.
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
QT_QPA_PLATFORM=offscreen ctest --output-on-failure --timeout 900 -j2 "$@"
