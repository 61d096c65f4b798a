#!/bin/sh
# Starts an installed copy of the program. The program keeps its working files beside
# itself; an installed copy gets a folder of its own per user, filled from the installed
# files on first use (files the user changed are kept).
here=$(dirname "$(readlink -f "$0")")
installed="$here/../lib/pemo"
home="${PEMO_HOME:-${XDG_DATA_HOME:-$HOME/.local/share}/pemo}"
mkdir -p "$home"
cp -Rn "$installed/." "$home/" 2>/dev/null
rm -f "$home/pemo"
PEMO_HOME="$home" exec "$installed/pemo" "$@"
