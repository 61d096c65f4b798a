#!/bin/bash
# Writes the metafile test fixtures into this folder: shapes.svg saved as a WMF and as
# an EMF by Inkscape (1.x, run from the command line). The build machines have no
# Inkscape, so the files it writes are kept next to this script; run it again only to
# refresh them.
#
#     bash tests/data/metafiles/make_fixtures.sh
#
# shapes.svg, 100 × 60 px on a transparent page:
#   a red circle centred at (25, 30) with radius 20,
#   a blue square from (50, 10) to (90, 50),
#   on the square a green frame from (60, 20) to (80, 40) with a hole from (65, 25)
#   to (75, 35), through which the blue shows.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
command -v inkscape >/dev/null || { echo "inkscape is needed to write these files" >&2; exit 1; }
cat >"$here/shapes.svg" <<'SVG'
<svg xmlns="http://www.w3.org/2000/svg" width="100" height="60" viewBox="0 0 100 60">
  <circle cx="25" cy="30" r="20" fill="#ff0000"/>
  <rect x="50" y="10" width="40" height="40" fill="#0000ff"/>
  <path d="M60 20H80V40H60Z M65 25V35H75V25Z" fill="#00ff00" fill-rule="evenodd"/>
</svg>
SVG
for type in wmf emf; do
    inkscape "$here/shapes.svg" --export-type="$type" --export-filename="$here/inkscape-shapes.$type"
done
