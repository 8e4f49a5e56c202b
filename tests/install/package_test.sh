#!/usr/bin/env bash
# The Debian package of this build folder, made by the CPack step of scripts/package into a
# temporary folder, checked by check-package.sh. Skipped (77) without dpkg-deb.
# Usage: package_test.sh <build folder> <version>
set -euo pipefail
build=$1 version=$2
here=$(cd "$(dirname "$0")" && pwd)
for tool in dpkg-deb dpkg-shlibdeps; do
  command -v "$tool" >/dev/null || { echo "$tool is missing: no package test"; exit 77; }
done
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cpack --config "$build/CPackConfig.cmake" -G DEB -B "$tmp" >"$tmp/cpack.log" 2>&1 \
  || { cat "$tmp/cpack.log"; echo "FAIL: cpack" >&2; exit 1; }
"$here/check-package.sh" "$tmp"/plovana_*.deb "$build" "$version"
