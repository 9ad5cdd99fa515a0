#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# End to end: zoom and moving the view. On an empty 20 x 20 board (24 pixels
# a cell) one notch of the wheel over cell (5, 5) zooms in to 32 pixels a
# cell, keeping that cell under the pointer; two Left and one Up arrow move
# the view by an eighth of the picture each, past the board's top-left
# corner, so the picture shows the torus's other side next to it. Two
# Shift+clicks toggle a cell on each side of the seam; grid lines (表示 >
# 格子) show the view's moves on the empty board; Ctrl+S saves and
# kaleidomat-cli reads the two cells back. A dialog fails the test at once.
#
#   zoom_pan.sh KALEIDOMAT GRAB_SCREEN KALEIDOMAT_CLI OUTPUT_DIR
set -u
program=$(realpath "$1")
grab=$(realpath "$2")
cli=$(realpath "$3")
out=$4
test_name=zoom_pan

source "$(dirname "${BASH_SOURCE[0]}")/x_display.sh"
require_tools Xvfb xdotool xprop xwininfo

e2e_begin "$(mktemp -d)" 640x640x24
printf 'x = 1, y = 1, rule = B3/S23:T20,20\nb!\n' >"$work/empty.rle"
"$cli" convert "$work/empty.rle" "$work/board.hxa" >/dev/null || fail "could not make the board file"

start_program 1 "$work/board.hxa"
focus "$window"
settled zoom_loaded "$window" || fail "the window does not stand still after start-up"

# The board is the 480 x 480 picture right above the 23-pixel status bar, in
# the middle of the window's width.
eval "$(xdotool getwindowgeometry --shell "$window")"
left=$((X + (WIDTH - 480) / 2))
top=$((Y + HEIGHT - 23 - 480))

# 表示 > 格子: grid lines between the 24-pixel cells, so that the empty board
# shows where the view is.
menu_edges_view="270 330"  # 表示(V), right of パターン(P)
open_menu alt+v view
xdotool key r
wait_for 300 no_menu_open || fail "格子(R) did not close the 表示 menu"
changed zoom_loaded zoom_grid || fail "格子 drew no grid lines"
settled zoom_grid || fail "the window does not stand still after 格子"

# The wheel over the middle of cell (5, 5), picture pixel 132: 2 sub-cells of
# 64 a pixel from then on, the picture's corner at sub-cell 132 * 1280 / 480
# - 132 * 2 = 88 on both axes.
xdotool mousemove $((left + 132)) $((top + 132)) click 4
changed zoom_grid zoom_wheel || fail "the wheel did not zoom"
xdotool mousemove 639 639
settled zoom_wheel || fail "the window does not stand still after the wheel"

# Each arrow moves the view 60 pixels, 120 sub-cells: the corner goes to
# 88 - 240 = -152 across (1128 on the torus of 1280) and 88 - 120 = -32
# down (1248).
step=zoom_wheel moves=0
for key in Left Left Up; do
  xdotool key "$key"
  changed "$step" "zoom_$key$((++moves))" || fail "the $key key did not move the view"
  step="zoom_$key$moves"
done

# The cell at picture pixel q: (corner + 2 q + 1) / 64 on the torus. At 100
# across (1329: cell 0) and 100 down (1449: cell 2); at 20 (1169: cell 18)
# and 20 (1289: cell 0).
for at in "100 100" "20 20"; do
  read -r qx qy <<<"$at"
  xdotool mousemove $((left + qx)) $((top + qy)) keydown shift click 1 keyup shift
  changed "$step" "zoom_click_$qx" || fail "the Shift+click at $qx, $qy changed nothing"
  step="zoom_click_$qx"
done
xdotool mousemove 639 639

mv "$work/board.hxa" "$work/empty.hxa"
xdotool key ctrl+s
saved() { [ -s "$work/board.hxa" ]; }
wait_for 300 saved || fail "Ctrl+S did not save the board"

expected=$(awk 'BEGIN {
  for (y = 0; y < 20; ++y) { row = ""; for (x = 0; x < 20; ++x) {
    live = (x == 0 && y == 2) || (x == 18 && y == 0)
    row = row (live ? "O" : ".") }
    print row } }')
holds_cells() {
  "$cli" convert "$work/board.hxa" "$work/saved.cells" >/dev/null 2>&1 &&
    [ "$(grep -v '^!' "$work/saved.cells")" = "$expected" ]
}
wait_for 100 holds_cells || fail "the saved board holds
$(grep -v '^!' "$work/saved.cells" 2>/dev/null), not
$expected"

kill -0 "$pid" 2>/dev/null || fail "the program ended on its own"
echo "PASS: the wheel zoomed, the arrow keys moved the view across the torus's edge, Shift+clicks there were saved; screenshots in $out"
