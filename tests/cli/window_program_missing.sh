#!/bin/sh
# Without the window program beside it, the program says so and exits 1: it never starts a
# program of that name from anywhere else (the current folder, the PATH).
set -eu
program="$1"
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
cp "$program" "$root/pemo"
mkdir "$root/elsewhere"
printf '#!/bin/sh\necho started\n' > "$root/elsewhere/pemo-window"
chmod +x "$root/elsewhere/pemo-window"
cd "$root/elsewhere"
status=0
PATH="$root/elsewhere:$PATH" PEMO_HOME="$root" QT_QPA_PLATFORM=offscreen "$root/pemo" \
  > "$root/out" 2> "$root/err" || status=$?
test "$status" -eq 1
grep -q "无法启动窗口程序" "$root/err"
if grep -q started "$root/out"; then exit 1; fi
