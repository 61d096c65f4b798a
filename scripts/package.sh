#!/usr/bin/env bash
# Builds the program in Release in ./build-package (without tests and benchmarks) and writes
# the Debian package dist/pemo_<version>_<arch>.deb, which `apt install ./dist/pemo_…deb`
# installs with everything it needs.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh --package
# The compile flags and cache settings of scripts/build.sh, so that the objects a normal
# build made come out of the compiler cache here.
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
cmake -S . -B build-package -G Ninja -DCMAKE_BUILD_TYPE=Release -DPEMO_WERROR=ON \
  -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" -DPEMO_BUILD_TESTS=OFF -DPEMO_BUILD_BENCH=OFF \
  -DCMAKE_EXE_LINKER_FLAGS="-Wl,-z,relro,-z,now" >/dev/null
cmake --build build-package
# A file left by an earlier version must not slip into the package.
rm -rf build-package/_CPack_Packages
(cd build-package && cpack -G DEB >/dev/null)
mkdir -p dist
deb=$(ls -t build-package/pemo_*.deb | head -1)
mv -f "$deb" dist/
echo "dist/$(basename "$deb")"
