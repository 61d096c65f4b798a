#!/usr/bin/env bash
# Builds the Debian package and checks it: every file an installed copy needs is in it,
# its control data names what the program needs at run time, nothing removes users'
# files, lintian finds no error, the desktop files validate, and the program unpacked
# from it exports the sample document through its launcher. .ci/run runs it when
# CI_PACKAGE=1; it writes only into ./build-package, ./dist and a temporary folder.
set -euo pipefail
cd "$(dirname "$0")/../.."
started=$(date +%s)
deb=$(bash scripts/package.sh | tail -1)
echo "built $deb ($(du -k "$deb" | cut -f1) kB) in $(($(date +%s) - started)) s"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
passed=0 failed=0
ok() { passed=$((passed + 1)); }
fail() { echo "FAIL: $*"; failed=$((failed + 1)); }

dpkg-deb --contents "$deb" | awk '{ $1=$2=$3=$4=$5=""; sub(/^ +/, ""); sub(/ -> .*/, ""); print }' \
  | sed 's|^\./|/|; s|/$||' | sort > "$work/contents"
has() { grep -qxF "$1" "$work/contents"; }

# What an installed copy is made of.
while read -r path; do
  [[ -n "$path" ]] || continue
  if has "$path"; then ok; else fail "the package lacks $path"; fi
done <<'EOF'
/usr/bin/pemo
/usr/lib/pemo/pemo
/usr/lib/pemo/pemo-window
/usr/lib/pemo/PemoHelp/index.html
/usr/lib/pemo/样本/促销样本.vxq
/usr/share/applications/cn.pemo.pemo.desktop
/usr/share/metainfo/cn.pemo.pemo.metainfo.xml
/usr/share/mime/packages/pemo.xml
/usr/share/man/man1/pemo.1.gz
/usr/share/doc/pemo/copyright
/usr/share/doc/pemo/changelog.gz
/usr/share/icons/hicolor/scalable/apps/pemo.svg
/usr/share/icons/hicolor/scalable/mimetypes/application-x-pemo-document.svg
/usr/share/icons/hicolor/scalable/mimetypes/application-x-pemo-template.svg
EOF
for size in 16 22 24 32 48 64 128 256; do
  for icon in apps/pemo mimetypes/application-x-pemo-document mimetypes/application-x-pemo-template; do
    path="/usr/share/icons/hicolor/${size}x${size}/$icon.png"
    if has "$path"; then ok; else fail "the package lacks $path"; fi
  done
done

# The whole program folder the build lays out: the help, the sample and the starter
# library it draws (backgrounds with their templates, pictures, textures).
for folder in PemoHelp 样本 底图模板 图库 贴图; do
  count=0
  while IFS= read -r -d '' file; do
    count=$((count + 1))
    has "/usr/lib/pemo/${file#build-package/bin/}" || fail "the package lacks ${file#build-package/bin/}"
  done < <(find "build-package/bin/$folder" -type f -print0)
  if ((count > 0)); then ok; else fail "the build laid out nothing in $folder"; fi
done
for category in 空白底图 节日 促销 生鲜 价签; do
  if grep -q "^/usr/lib/pemo/底图模板/$category/.*-TMPL/.*\.vxt$" "$work/contents"; then ok
  else fail "no template in the category $category"; fi
done

# Control data: computed library dependencies beside the ones loaded at run time; the
# optional helpers only recommended or suggested; no maintainer script that could touch
# the users' documents or working copies on removal.
field() { dpkg-deb --field "$deb" "$1"; }
while IFS='|' read -r name pattern; do
  [[ -n "$name" ]] || continue
  if field "$name" | grep -qE "$pattern"; then ok; else fail "$name does not match $pattern: $(field "$name")"; fi
done <<'EOF'
Depends|libqt6widgets6 \(>=
Depends|libodbc2
Depends|libsqlite3-0
Depends|libfreexl1
Depends|libwmf-0.2-7
Depends|libemf2svg1
Depends|libzint2.11
Depends|libcups2
Depends|libxlsxwriter4
Depends|fonts-noto-cjk,
Depends|breeze-icon-theme
Depends|qt6-image-formats-plugins
Depends|qt6-translations-l10n
Recommends|odbc-mdbtools
Recommends|libsqliteodbc
Recommends|glabels-data
Suggests|zbar-tools
EOF
dpkg-deb --control "$deb" "$work/control"
for script in preinst postinst prerm postrm; do
  if [[ -e "$work/control/$script" ]]; then fail "the package has a $script script"; else ok; fi
done

# Checks of the files themselves, unpacked.
dpkg-deb --extract "$deb" "$work/root"
if appstreamcli validate --no-net "$work/root/usr/share/metainfo/cn.pemo.pemo.metainfo.xml"; then ok
else fail "appstreamcli refuses the metainfo file"; fi
if desktop-file-validate "$work/root/usr/share/applications/cn.pemo.pemo.desktop"; then ok
else fail "desktop-file-validate refuses the desktop entry"; fi
warnings=$(LC_ALL=C.UTF-8 MANROFFSEQ='' man --warnings -E UTF-8 -l -Tutf8 -Z \
  "$work/root/usr/share/man/man1/pemo.1.gz" 2>&1 >/dev/null)
if [[ -z "$warnings" ]]; then ok; else fail "the manual page warns: $warnings"; fi

echo "lintian:"
if lintian --fail-on error --tag-display-limit 0 "$deb"; then ok; else fail "lintian reports an error"; fi

# The unpacked copy runs through its launcher, which fills a user folder of its own.
home="$work/home"
version=$(PEMO_HOME="$home" "$work/root/usr/bin/pemo" --version)
if [[ "$version" == *" $(field Version)" ]]; then ok; else fail "--version said: $version"; fi
if PEMO_HOME="$home" QT_QPA_PLATFORM=offscreen "$work/root/usr/bin/pemo" --export "$work/sample.pdf" \
  "$home/样本/促销样本.vxq" && [[ "$(head -c 5 "$work/sample.pdf")" == "%PDF-" ]]; then ok
else fail "the unpacked program did not export the sample document to PDF"; fi
if [[ -d "$home/底图模板" && ! -e "$home/pemo" && ! -e "$home/pemo-window" ]]; then ok
else fail "the launcher did not fill the user's folder"; fi
# Without a command the program starts its window: the window program beside it takes the
# process over (the launcher and the program execute, never fork) and runs until closed.
PEMO_HOME="$home" QT_QPA_PLATFORM=offscreen "$work/root/usr/bin/pemo" >/dev/null 2>&1 &
window=$!
sleep 5
if [[ "$(readlink "/proc/$window/exe")" == */usr/lib/pemo/pemo-window ]]; then ok
else fail "the unpacked program did not start its window"; fi
kill "$window" 2>/dev/null || true
wait "$window" 2>/dev/null || true

# Installed without its recommendations, on a machine without the label catalogue (a folder
# of its own stands for the missing one), a label-sheet job says how to get the catalogue.
# The package goes again afterwards.
if [[ $(id -u) -eq 0 ]] && command -v apt-get >/dev/null; then
  if DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "$(realpath "$deb")" >/dev/null; then
    ok
    said=$(PEMO_HOME="$work/installed" PEMO_LABEL_TEMPLATES="$work/no-catalogue" QT_QPA_PLATFORM=offscreen \
      /usr/bin/pemo --export "$work/labels.pdf" "$home/样本/促销样本.vxq" --mode labels --label "Avery L7160" 2>&1 || true)
    if [[ "$said" == *"没有安装标签纸目录"*"glabels-data"* ]]; then ok
    else fail "without the catalogue a label job said: $said"; fi
    DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq pemo >/dev/null || fail "the package did not go again"
  else
    fail "the package did not install without its recommendations"
  fi
else
  echo "skipped the installation (needs root and apt-get)"
fi

echo "$passed passed, $failed failed"
((failed == 0))
