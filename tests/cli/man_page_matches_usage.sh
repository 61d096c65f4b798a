#!/bin/sh
# The manual page shows the program's usage text as `--help` prints it, character for
# character, and groff reads it without a warning: first the page the build made from
# the built program, then pages made from usage texts full of characters roff treats
# specially.
#   man_page_matches_usage.sh CMAKE MANPAGE_SCRIPT PROGRAM BUILT_PAGE
set -eu
cmake="$1" script="$2" program="$3" built="$4"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

# The usage text as the page should show it: without "usage: " and the indent under it.
usage_of() { "$1" --help | sed '1s/^usage: //; 2,$s/^       //'; }

# The SYNOPSIS section as a reader sees it, without the section's indent.
synopsis_of() {
  groff -Kutf8 -man -Tutf8 -P-cbou -rLL=250n "$1" 2>/dev/null |
    sed -n '/^SYNOPSIS$/,/^$/p' | sed '1d; $d; s/^       //'
}

check() {  # NAME PROGRAM PAGE
  usage_of "$2" > "$work/expected"
  synopsis_of "$3" > "$work/shown"
  if ! cmp -s "$work/expected" "$work/shown"; then
    echo "FAIL $1: the page shows another usage text"
    diff "$work/expected" "$work/shown" || true
    failures=$((failures + 1))
  fi
  # A plain "-" may be typeset as a hyphen, which a pasted option does not survive.
  if sed -n '/^\.SH SYNOPSIS/,/^\.fi/p' "$3" | grep -qE '(^|[^\\])-'; then
    echo "FAIL $1: a minus sign is not written \\-"
    failures=$((failures + 1))
  fi
  warnings=$(groff -Kutf8 -man -ww -z "$3" 2>&1)
  if [ -n "$warnings" ]; then
    echo "FAIL $1: groff warns: $warnings"
    failures=$((failures + 1))
  fi
}

check "built page" "$program" "$built"

# name | usage text (printf format) a stand-in program prints
while IFS='|' read -r name text; do
  [ -n "$name" ] || continue
  printf '#!/bin/sh\nprintf '"'%s'"'\n' "$text" > "$work/program"
  chmod +x "$work/program"
  "$cmake" -DPROGRAM="$work/program" -DVERSION=1.0 -DOUT="$work/page.1" -P "$script" >/dev/null
  check "$name" "$work/program" "$work/page.1"
done <<'EOF'
leading dot|usage: pemo [FILE]\n.TH NOT A TITLE\n       .B not bold\n
leading quote|usage: pemo [FILE]\n'"'"'br\n       '"'"'sp 3\n
backslashes|usage: pemo a\\b\n       pemo \\fBnot bold\\fR \\(em \\\n
minus signs|usage: pemo --export OUT -x\n       pemo -- -\n
spaces kept|usage: pemo a   b\n            M: one,  two\n
EOF

[ "$failures" -eq 0 ] && echo "man page: every case passed"
exit "$failures"
