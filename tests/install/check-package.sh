#!/usr/bin/env bash
# Checks a Debian package against its build folder: the package's files are those of
# `cmake --install` under /usr, Depends is filled in (dpkg-shlibdeps found libmpv and Qt),
# Version is the project's, and the control fields name the section and recommendations.
# Usage: check-package.sh <package.deb> <build folder> <version>
set -euo pipefail
deb=$1 build=$2 version=$3
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

DESTDIR=$tmp/root cmake --install "$build" --prefix /usr >/dev/null
(cd "$tmp/root" && find . -mindepth 1 ! -type d | sed 's|^\./||' | LC_ALL=C sort) >"$tmp/installed"
# dpkg-deb -c lists like tar -tv: the path is the last field, "./usr/bin/plovana".
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { sub(/^\.\//, "", $NF); print $NF }' | LC_ALL=C sort >"$tmp/packaged"
diff -u "$tmp/installed" "$tmp/packaged" || fail "the package's files differ from the install's"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = plovana ] || fail "Package: $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version: $(field Version), not $version"
[ "$(field Section)" = video ] || fail "Section: $(field Section)"
depends=$(field Depends)
for lib in libmpv libqt6widgets6 libc6; do
  grep -q "$lib" <<<"$depends" || fail "Depends lacks $lib: $depends"
done
recommends=$(field Recommends)
for p in fonts-ipafont-gothic qt6-wayland; do
  grep -q "$p" <<<"$recommends" || fail "Recommends lacks $p: $recommends"
done
[ -n "$(field Maintainer)" ] || fail "no Maintainer"
[ -n "$(field Description)" ] || fail "no Description"
echo "package $(basename "$deb"): $(field Depends | tr -d '\n')"
