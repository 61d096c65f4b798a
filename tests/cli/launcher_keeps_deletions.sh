#!/bin/sh
# The launcher of an installed copy fills the user's folder on first use and after an
# update only: a library file the user deleted stays deleted until then.
set -eu
launcher="$1"
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
mkdir -p "$root/bin" "$root/lib/pemo/底图模板/节日"
cp "$launcher" "$root/bin/pemo"
printf '#!/bin/sh\n' > "$root/lib/pemo/pemo"
cp "$root/lib/pemo/pemo" "$root/lib/pemo/pemo-window"
chmod +x "$root/bin/pemo" "$root/lib/pemo/pemo"
touch "$root/lib/pemo/底图模板/节日/红色.jpg"
home="$root/home"
PEMO_HOME="$home" "$root/bin/pemo"
test -f "$home/底图模板/节日/红色.jpg"
test ! -e "$home/pemo"
test ! -e "$home/pemo-window"
rm "$home/底图模板/节日/红色.jpg"
PEMO_HOME="$home" "$root/bin/pemo"
test ! -e "$home/底图模板/节日/红色.jpg"
touch -d "+1 minute" "$root/lib/pemo/pemo"
PEMO_HOME="$home" "$root/bin/pemo"
test -f "$home/底图模板/节日/红色.jpg"
