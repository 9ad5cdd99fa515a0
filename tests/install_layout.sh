#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs the build into a temporary DESTDIR and checks what the desktop
# relies on: the layout under the prefix, the desktop entry, the AppStream
# metadata, and the file types, which must know a board or pattern file by its
# signature when its name says nothing.
# Usage: install_layout.sh BUILD_DIR WORK_DIR
set -euo pipefail
build=$1 work=$2
for tool in desktop-file-validate appstreamcli update-mime-database gio; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
fail() { echo "FAIL: $*"; exit 1; }

rm -rf "$work"
mkdir -p "$work"
root="$work/root"
DESTDIR="$root" cmake --install "$build" --prefix /opt/kaleidomat >"$work/install.log"
[ "$(ls "$root")" = opt ] || fail "files installed outside the prefix: $(ls "$root")"
prefix="$root/opt/kaleidomat"
share="$prefix/share"

expected=(bin/kaleidomat bin/kaleidomat-cli
          share/applications/kaleidomat.desktop
          share/metainfo/org.kaleidomat.Kaleidomat.metainfo.xml
          share/mime/packages/kaleidomat.xml
          share/man/man1/kaleidomat.1.gz share/man/man1/kaleidomat-cli.1.gz
          share/icons/hicolor/scalable/apps/kaleidomat.svg)
for size in 16 22 24 32 48 64 128 256; do
  for icon in apps/kaleidomat mimetypes/application-x-kaleidomat-board mimetypes/application-x-kaleidomat-pattern; do
    expected+=("share/icons/hicolor/${size}x${size}/$icon.png")
  done
done
for file in "${expected[@]}"; do
  [ -f "$prefix/$file" ] || fail "$file is not installed"
done
[ -x "$prefix/bin/kaleidomat" ] && [ -x "$prefix/bin/kaleidomat-cli" ] || fail "the programs are not executable"
# No pattern files are shipped beside the program.
! ls "$prefix"/bin/*.hxq >/dev/null 2>&1 || fail "pattern files installed beside the program"

desktop-file-validate "$share/applications/kaleidomat.desktop"
appstreamcli validate --no-net "$share/metainfo/org.kaleidomat.Kaleidomat.metainfo.xml" >"$work/appstream.log" ||
  { cat "$work/appstream.log"; fail "appstreamcli refuses the metadata"; }
update-mime-database "$share/mime"
for type in $(sed -n 's/^MimeType=//p' "$share/applications/kaleidomat.desktop" | tr ';' ' '); do
  grep -qx "$type" "$share/mime/types" || fail "the desktop entry opens $type, which no file type defines"
done

# The installed file types, by extension and by signature alone.
cli="$prefix/bin/kaleidomat-cli"
"$cli" random "$work/board.hxa" --size 10 --seed 1 >/dev/null
"$cli" convert "$work/board.hxa" "$work/pattern.hxq" >/dev/null
cp "$work/board.hxa" "$work/board.bin"
cp "$work/board.hxa" "$work/board-without-extension"
cp "$work/pattern.hxq" "$work/pattern.bin"
type_of() {
  XDG_DATA_DIRS="$share" XDG_DATA_HOME="$work/empty" gio info -a standard::content-type "$1" |
    sed -n 's/^ *standard::content-type: //p'
}
for case in board.hxa:board board.bin:board board-without-extension:board pattern.hxq:pattern pattern.bin:pattern; do
  file=${case%%:*} kind=${case#*:}
  actual=$(type_of "$work/$file")
  [ "$actual" = "application/x-kaleidomat-$kind" ] || fail "$file is taken for '$actual'"
done
# Life patterns as Golly keeps them, by extension and by their first line.
printf '#N Glider\nx = 3, y = 3, rule = B3/S23\nbo$2bo$3o!\n' >"$work/glider.rle"
printf '!Name: Glider\n.O\n' >"$work/glider.cells"
cp "$work/glider.rle" "$work/glider-rle.txt"
for case in glider.rle:rle glider-rle.txt:rle glider.cells:plaintext; do
  file=${case%%:*} kind=${case#*:}
  actual=$(type_of "$work/$file")
  [ "$actual" = "application/x-life-$kind" ] || fail "$file is taken for '$actual'"
done
echo "install layout, desktop entry, metadata and file types: ok"
