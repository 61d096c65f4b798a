#!/bin/sh
# Starts an installed copy of the program. The program keeps its working files beside
# itself; an installed copy gets a folder of its own per user, filled from the installed
# files on first use and again after an update (files the user changed are kept). Between
# updates nothing is copied, so what the user deleted from the library stays deleted.
here=$(dirname "$(readlink -f "$0")")
installed="$here/../lib/pemo"
home="${PEMO_HOME:-${XDG_DATA_HOME:-$HOME/.local/share}/pemo}"
mkdir -p "$home"
stamp=$(stat -c %Y "$installed/pemo" 2>/dev/null || echo 0)
if [ "$(cat "$home/.installed" 2>/dev/null)" != "$stamp" ]; then
  cp -Rn "$installed/." "$home/" 2>/dev/null
  rm -f "$home/pemo" "$home/pemo-window"
  echo "$stamp" > "$home/.installed"
fi
PEMO_HOME="$home" exec "$installed/pemo" "$@"
