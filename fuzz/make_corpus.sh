#!/usr/bin/env bash
# Rewrites the seed corpora in fuzz/corpus/<target>/ from a fuzzing build tree.
# Usage: fuzz/make_corpus.sh [BUILD_DIR]   (default build-fuzz)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build-fuzz}"
ninja -C "$build" -j2 pemo_fuzz_seeds >/dev/null
rm -rf "$root/fuzz/corpus/document" "$root/fuzz/corpus/template" "$root/fuzz/corpus/blocklist"
ASAN_OPTIONS=detect_leaks=0 "$build/bin/pemo_fuzz_seeds" "$root/fuzz/corpus"
# The table readers start from the import test fixtures.
for kind in csv xls xlsx database metafile; do
  rm -rf "$root/fuzz/corpus/$kind"
  mkdir -p "$root/fuzz/corpus/$kind"
done
# The csv target takes its first byte as the separator's choice; 0 picks the comma.
for file in "$root"/tests/data/import/*.csv; do
  { printf '\0'; cat "$file"; } >"$root/fuzz/corpus/csv/$(basename "$file")"
done
cp "$root"/tests/data/import/products.xls "$root"/tests/data/import/freexl-overread.xls "$root/fuzz/corpus/xls/"
cp "$root"/tests/data/import/products.xlsx "$root"/tests/data/import/handmade.xlsx "$root/fuzz/corpus/xlsx/"
# The database target starts from the smallest .mdb fixture and a small SQLite file of
# the same kind as the tests build.
cp "$root"/tests/data/odbc/shop.mdb "$root/fuzz/corpus/database/"
/usr/bin/python3 - "$root/fuzz/corpus/database/shop.db" <<'PY'
import sqlite3, sys
db = sqlite3.connect(sys.argv[1])
db.executescript("""
    CREATE TABLE [商品 表] ([名称] TEXT, [Price] MONEY, [Qty] INTEGER, [Made] DATE, [Photo] BLOB);
    INSERT INTO [商品 表] VALUES ('苹果', 18, 3, '1994-11-16', x'ffd8ffe0');
    INSERT INTO [商品 表] VALUES ('Pear', 55.5, NULL, NULL, NULL);
""")
db.commit()
db.close()
PY
# The metafile target takes its first byte as the type: 0 WMF, 1 EMF.
{ printf '\0'; cat "$root"/tests/data/metafiles/inkscape-shapes.wmf; } >"$root/fuzz/corpus/metafile/shapes.wmf"
{ printf '\1'; cat "$root"/tests/data/metafiles/inkscape-shapes.emf; } >"$root/fuzz/corpus/metafile/shapes.emf"
