#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# End to end: Life patterns from outside the program. A real RLE file (a
# glider on a 20 x 20 torus, as Golly writes one) named on the command line
# opens as a new 20 x 20 board with the glider in the middle and the caption
# naming the file as imported; RLE text that xclip puts on the X clipboard
# pastes onto a selected cell. Both are checked by copying the board's cells
# back out through the clipboard. A dialog fails the test at once.
#
#   life_patterns.sh KALEIDOMAT GRAB_SCREEN KALEIDOMAT_CLI OUTPUT_DIR
set -u
program=$(realpath "$1")
grab=$(realpath "$2")
cli=$(realpath "$3")
out=$4
test_name=life_patterns
format="Chromatessellator CellData"

source "$(dirname "${BASH_SOURCE[0]}")/x_display.sh"
require_tools Xvfb xdotool xclip xprop xwininfo

e2e_begin "$(mktemp -d)" 640x640x24
printf '#N Glider\nx = 3, y = 3, rule = B3/S23:T20,20\nbo$2bo$3o!\n' >"$work/glider.rle"
"$cli" info "$work/glider.rle" | grep -qx 'RLE pattern 3 x 3, 5 live cells, on a 20 x 20 torus' ||
  fail "kaleidomat-cli does not read the pattern as expected"

start_program 1 "$work/glider.rle"
expected="Chromatessellator  - $work/glider.rle (インポート) -"
title_is() { [ "$(xdotool getwindowname "$window")" = "$expected" ]; }
wait_for 300 title_is || fail "the caption reads '$(xdotool getwindowname "$window")', not '$expected'"
settled patterns_imported "$window" || fail "the window does not stand still after start-up"

# The board is the 480 x 480 picture right above the 23-pixel status bar, in
# the middle of the window's width; on a 20 x 20 board a cell is 24 pixels.
eval "$(xdotool getwindowgeometry --shell "$window")"
left=$((X + (WIDTH - 480) / 2))
top=$((Y + HEIGHT - 23 - 480))
cell() { echo "$((left + 24 * $1 + 12)) $((top + 24 * $2 + 12))"; }

targets() { xclip -selection clipboard -t TARGETS -o 2>/dev/null; }
offers_cells() { targets | grep -qx "$format"; }
lost_cells() { ! offers_cells; }
# The live entries of the clipboard's cell block as "w h: i i ...", i being
# the entry's number (column by column, x * h + y).
block() {
  xclip -selection clipboard -t "$format" -o >"$work/block.bin" || fail "could not read the cell block"
  read -r w h < <(od -An -tu2 -N4 "$work/block.bin")
  echo "$w $h:$(od -An -v -tu1 -j4 -w4 "$work/block.bin" | awk '$1 != 0 { printf " %d", NR - 1 }')"
}

# 1. Select the whole board, a drag from the middle of cell (0, 0) to the
#    middle of cell (19, 19) (the window may merge the moves between), and
#    copy it.
focus "$window"
read -r x0 y0 < <(cell 0 0)
read -r x1 y1 < <(cell 10 10)
read -r x19 y19 < <(cell 19 19)
xdotool mousemove "$x0" "$y0" mousedown 1 mousemove "$x1" "$y1" mousemove "$x19" "$y19" mouseup 1 key ctrl+c
wait_for 300 offers_cells || fail "Ctrl+C put no cells on the clipboard"
# The glider's cells (1, 0), (2, 1), (0, 2), (1, 2), (2, 2) from (9, 9).
want="20 20: 191 209 211 230 231"
[ "$(block)" = "$want" ] || fail "the board holds '$(block)', not '$want'"

# 2. RLE text from another program: a 2 x 2 block pasted onto cell (2, 2),
#    then copied back as the selection the paste left.
printf 'x = 2, y = 2, rule = B3/S23\n2o$2o!\n' | xclip -selection clipboard
wait_for 100 lost_cells || fail "could not put text on the clipboard"
read -r x2 y2 < <(cell 2 2)
xdotool mousemove "$x2" "$y2" click 1
settled patterns_selected || fail "the window does not stand still after the click"
xdotool key ctrl+v
changed patterns_selected patterns_pasted || fail "the board did not change after Ctrl+V"
xdotool key ctrl+c
wait_for 300 offers_cells || fail "Ctrl+C after the paste put no cells on the clipboard"
want="2 2: 0 1 2 3"
[ "$(block)" = "$want" ] || fail "the pasted cells are '$(block)', not '$want'"

kill -0 "$pid" 2>/dev/null || fail "the program ended on its own"
rm -f "$out"/patterns_selected.png
echo "PASS: an RLE file opened as a 20 x 20 board and RLE text pasted; screenshots in $out"
