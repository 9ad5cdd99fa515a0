#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Makes the README's pictures from the program itself: the window in
# Japanese and in English (--lang), each with the 表示 (View) menu and its
# 言語 (Language) submenu open, over Gosper's glider gun, on an Xvfb display
# of its own (HOME and XDG folders in a temporary folder: the user's
# settings are neither read nor changed).
#   Usage: scripts/screenshots.sh [BUILD_DIR]    (needs kaleidomat and grab_screen built)
# Writes docs/screenshot-ja.png and docs/screenshot-en.png.
set -u
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
program=$build/bin/kaleidomat
grab=$build/bin/grab_screen
out=$(mktemp -d)
test_name=screenshots
[ -x "$program" ] && [ -x "$grab" ] || { echo "build kaleidomat and grab_screen first" >&2; exit 1; }

source "$root/tests/e2e/x_display.sh"
require_tools Xvfb xdotool xprop xwininfo
e2e_begin "$(mktemp -d)" 760x640x24

# Gosper's glider gun, with its first gliders under way after a few steps.
cat >gun.rle <<'RLE'
#N Gosper glider gun
x = 36, y = 9, rule = B3/S23
24bo$22bobo$12b2o6b2o12b2o$11bo3bo4b2o12b2o$2o8bo5bo3b2o$2o8bo3bob2o4b
obo$10bo5bo7bo$11bo3bo$12b2o!
RLE

menus_open() {
  local w count=0
  for w in $(windows_of "$pid"); do
    inspect_window "$w" && [ "$win_kind" = menu ] && count=$((count + 1))
  done
  [ "$count" -ge "$1" ]
}

for language in ja en; do
  start_program "$language" --seed 1 --lang "$language" "$work/gun.rle"
  focus "$window"
  for _ in 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20; do xdotool key F8; done
  xdotool key alt+v
  wait_for 300 menus_open 1 || fail "the View menu did not open"
  xdotool key l
  wait_for 300 menus_open 2 || fail "the Language submenu did not open"
  sleep 0.5  # the submenu's opening animation, if the style has one
  inspect_window "$window" || fail "the window is gone"
  # The window and, beside it, the submenu.
  "$grab" "$out/shot.png" 0 0 "$((win_x + win_width + 150))" "$((win_y + win_height))" || fail "no picture"
  # Fewer colours keep the picture small; the cells' colours stay.
  if command -v pngquant >/dev/null; then
    pngquant --force --output "$root/docs/screenshot-$language.png" 64 "$out/shot.png"
  else
    cp "$out/shot.png" "$root/docs/screenshot-$language.png"
  fi
  kill "$pid"
  wait "$pid" 2>/dev/null
  echo "docs/screenshot-$language.png"
done
rm -rf "$out"
