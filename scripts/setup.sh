#!/usr/bin/env bash
# Installs every Debian package the project needs to build, run and test; with --package
# also what building and checking the Debian package needs (scripts/package.sh).
# Safe to run again: when everything is present it returns after one dpkg query.
set -euo pipefail

PACKAGES=(
  build-essential cmake ninja-build ccache pkg-config git clang libclang-rt-14-dev
  qt6-base-dev qt6-base-dev-tools qt6-image-formats-plugins qt6-l10n-tools qt6-translations-l10n
  breeze-icon-theme
  libgl-dev libxkbcommon-dev
  zlib1g-dev libminizip-dev libfreexl-dev libxlsxwriter-dev libwmf-dev libemf2svg-dev qt6-svg-dev
  unixodbc unixodbc-dev libsqliteodbc odbc-mdbtools libsqlite3-dev libcups2-dev
  libzint-dev zbar-tools dmtx-utils
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-noto-cjk fonts-wqy-microhei fonts-wqy-zenhei fonts-arphic-ukai fonts-arphic-uming
  fonts-liberation2 fonts-dejavu-core fontconfig
  fonts-noto-cjk-extra fonts-lxgw-wenkai fonts-smiley-sans fonts-urw-base35 fonts-roboto-unhinted
  xvfb xauth poppler-utils x11-apps xdotool imagemagick
  python3-xlwt python3-openpyxl
  # The catalogue of label products, read at run time for printing onto label sheets.
  glabels-data
  groff-base
)
if [[ "${1:-}" == "--package" ]]; then
  PACKAGES+=(dpkg-dev file lintian appstream desktop-file-utils)
fi

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if ((${#missing[@]} == 0)); then
  exit 0
fi

SUDO=""
if [[ $(id -u) -ne 0 ]]; then SUDO="sudo"; fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
