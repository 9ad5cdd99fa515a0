#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the Debian package from a finished build, checks its name, its
# computed dependencies and its contents, and runs lintian on it: errors fail,
# warnings are shown.
# Usage: package_deb.sh BUILD_DIR WORK_DIR
set -euo pipefail
build=$1 work=$2
for tool in cpack dpkg-deb dpkg-shlibdeps lintian; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
fail() { echo "FAIL: $*"; exit 1; }

rm -rf "$work"
mkdir -p "$work"
(cd "$build" && cpack -G DEB -B "$work") >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log"; fail "cpack"; }
version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$build/CPackConfig.cmake")
deb="$work/kaleidomat_${version}_$(dpkg --print-architecture).deb"
[ -f "$deb" ] || fail "no $deb: $(ls "$work")"

depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for library in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6; do
  tr ',' '\n' <<<"$depends" | sed 's/^ *//; s/ .*//' | grep -qxF "$library" || fail "Depends lacks $library"
done
dpkg-deb -c "$deb" >"$work/contents"
grep -q ' \./usr/bin/kaleidomat$' "$work/contents" || fail "the package has no /usr/bin/kaleidomat"

lintian --fail-on error --display-info "$deb"
