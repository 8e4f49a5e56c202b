#!/usr/bin/env bash
# `cmake --install` into a temporary DESTDIR under /usr: exactly the files of
# installed-files.txt (no portable marker, no demo clip, no tests), icons of their sizes,
# a desktop entry and a metainfo both validators accept, the project's version in the
# metainfo and in `plovana --version`; then the installed program plays a clip under Xvfb
# with XDG folders of its own, keeps its state in $XDG_DATA_HOME/plovana/ and writes
# nothing into the installed tree.
# Usage: install_test.sh <build folder> <app id> <version> <clip>
set -euo pipefail
build=$1 app_id=$2 version=$3 clip=$4
here=$(cd "$(dirname "$0")" && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

root=$tmp/root
DESTDIR=$root cmake --install "$build" --prefix /usr >"$tmp/install.log" || { cat "$tmp/install.log"; fail "cmake --install"; }

listing() { (cd "$root" && find . -mindepth 1 ! -type d | sed 's|^\./||' | LC_ALL=C sort); }
sed "s/@APP_ID@/$app_id/" "$here/installed-files.txt" | LC_ALL=C sort >"$tmp/expected"
listing >"$tmp/installed"
diff -u "$tmp/expected" "$tmp/installed" || fail "the installed files differ from installed-files.txt"

for size in 16 22 24 32 48 64 128 256; do
  png=$root/usr/share/icons/hicolor/${size}x${size}/apps/plovana.png
  file -b "$png" | grep -q "PNG image data, $size x $size," || fail "$png: $(file -b "$png")"
done

desktop=$root/usr/share/applications/plovana.desktop
metainfo=$root/usr/share/metainfo/$app_id.metainfo.xml
desktop-file-validate "$desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli validate"
grep -q "<release version=\"$version\"" "$metainfo" || fail "the metainfo's release is not $version"
grep -q "<id>$app_id</id>" "$metainfo" || fail "the metainfo's id is not $app_id"

exe=$root/usr/bin/plovana
[ "$("$exe" --version)" = "Plovana $version" ] || fail "--version: $("$exe" --version)"

# The installed program on a clip, with nothing of the user's: the state must land in
# $XDG_DATA_HOME/plovana/.
mkdir -p "$tmp/home" "$tmp/data" "$tmp/config" "$tmp/cache" "$tmp/runtime"
chmod 700 "$tmp/runtime"
status=0
env -u PLOVANA_APPDIR -u DISPLAY -u WAYLAND_DISPLAY \
  HOME="$tmp/home" XDG_DATA_HOME="$tmp/data" XDG_CONFIG_HOME="$tmp/config" \
  XDG_CACHE_HOME="$tmp/cache" XDG_RUNTIME_DIR="$tmp/runtime" \
  QT_QPA_PLATFORM=xcb PLOVANA_EXIT_AFTER_FIRST_FRAME=1 PLOVANA_MIXER=none PLOVANA_MPV_AO=null \
  xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" timeout 60 "$exe" "$clip" \
  >"$tmp/run.log" 2>&1 || status=$?
[ "$status" -eq 0 ] || { cat "$tmp/run.log"; fail "the installed program exited with $status"; }
[ -f "$tmp/data/plovana/config.ini" ] || { ls -R "$tmp/data" "$tmp/home"; fail "no config.ini in \$XDG_DATA_HOME/plovana/"; }
listing >"$tmp/after"
diff -u "$tmp/installed" "$tmp/after" || fail "the program wrote into the installed tree"
echo "install test: passed"
