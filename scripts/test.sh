#!/usr/bin/env bash
# Sets up, builds and runs every test. CTest's summary closes the output.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
cd build
QT_QPA_PLATFORM=offscreen ctest --output-on-failure --timeout 600 -j2 "$@"
