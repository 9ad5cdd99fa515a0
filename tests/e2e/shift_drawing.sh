#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# End to end: drawing with Shift+drag. On an empty 20 x 20 board a Shift+drag
# from a dead cell jumps right along a row, then down and left along a
# diagonal (xdotool moves the pointer in single jumps, so the cells between
# are the program's to fill in). Ctrl+S saves the board, and kaleidomat-cli
# reads the saved file back: every cell of both lines is live, no other is.
# A dialog fails the test at once.
#
#   shift_drawing.sh KALEIDOMAT GRAB_SCREEN KALEIDOMAT_CLI OUTPUT_DIR
set -u
program=$(realpath "$1")
grab=$(realpath "$2")
cli=$(realpath "$3")
out=$4
test_name=shift_drawing

source "$(dirname "${BASH_SOURCE[0]}")/x_display.sh"
require_tools Xvfb xdotool xprop xwininfo

e2e_begin "$(mktemp -d)" 640x640x24
printf 'x = 1, y = 1, rule = B3/S23:T20,20\nb!\n' >"$work/empty.rle"
"$cli" convert "$work/empty.rle" "$work/board.hxa" >/dev/null || fail "could not make the board file"
"$cli" info "$work/board.hxa" | grep -qx 'board 20 x 20, 0 live cells' || fail "the board file is not empty"

start_program 1 "$work/board.hxa"
focus "$window"
settled drawing_loaded "$window" || fail "the window does not stand still after start-up"

# The board is the 480 x 480 picture right above the 23-pixel status bar, in
# the middle of the window's width; on a 20 x 20 board a cell is 24 pixels.
eval "$(xdotool getwindowgeometry --shell "$window")"
left=$((X + (WIDTH - 480) / 2))
top=$((Y + HEIGHT - 23 - 480))
cell() { echo "$((left + 24 * $1 + 12)) $((top + 24 * $2 + 12))"; }

# Row 5 from column 2 to 15, then the diagonal down to (8, 12).
read -r x0 y0 < <(cell 2 5)
read -r x1 y1 < <(cell 15 5)
read -r x2 y2 < <(cell 8 12)
# The window system merges moves that come faster than the program takes
# them: each jump waits until the screen shows that it has been taken.
xdotool mousemove "$x0" "$y0" keydown shift mousedown 1
settled drawing_pressed || fail "the window does not stand still after the Shift+press"
xdotool mousemove "$x1" "$y1"
changed drawing_pressed drawing_row || fail "the board did not change when the pointer jumped along the row"
xdotool mousemove "$x2" "$y2"
changed drawing_row drawing_diagonal || fail "the board did not change when the pointer jumped along the diagonal"
xdotool mouseup 1 keyup shift mousemove 639 639
settled drawing_drawn "$window" || fail "the window does not stand still after the Shift+drag"

# Saving over the file asks first; with the file moved aside, Ctrl+S writes
# it without a question.
mv "$work/board.hxa" "$work/empty.hxa"
xdotool key ctrl+s
saved() { [ -s "$work/board.hxa" ]; }
wait_for 300 saved || fail "Ctrl+S did not save the board"

expected=$(awk 'BEGIN {
  for (y = 0; y < 20; ++y) { row = ""; for (x = 0; x < 20; ++x) {
    live = (y == 5 && x >= 2 && x <= 15) || (y >= 6 && y <= 12 && x == 20 - y)
    row = row (live ? "O" : ".") }
    print row } }')
# The file may be written in steps: read it until it holds the lines.
holds_lines() {
  "$cli" convert "$work/board.hxa" "$work/saved.cells" >/dev/null 2>&1 &&
    [ "$(grep -v '^!' "$work/saved.cells")" = "$expected" ]
}
wait_for 100 holds_lines || fail "the saved board holds
$(grep -v '^!' "$work/saved.cells" 2>/dev/null), not
$expected"

kill -0 "$pid" 2>/dev/null || fail "the program ended on its own"
echo "PASS: a Shift+drag drew a row and a diagonal without gaps, saved with Ctrl+S; screenshots in $out"
