#!/usr/bin/env bash
# Configures and builds the program, its tests and benchmarks in ./build.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
# Paths relative to the checkout let every clone on this machine share the compiler cache.
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
# Optimised and without debug information, which keeps builds on small machines short.
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPEMO_WERROR=ON \
  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -DNDEBUG" >/dev/null
cmake --build build
