#!/usr/bin/env bash
# Sets up, builds and starts the program on the bundled sample document.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
sample="resources/program/样本/促销样本.vxq"
if [[ -f "$sample" ]]; then
  exec build/bin/pemo "$sample" "$@"
fi
exec build/bin/pemo "$@"
