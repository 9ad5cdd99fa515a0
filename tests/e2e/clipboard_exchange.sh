#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# End to end: two running copies of the program exchange a selection through
# the real X clipboard. Both start with the same board file. The first copies
# a dragged rectangle with Ctrl+C; the clipboard then offers the private cell
# format, a picture and RLE text; the second pastes it with Ctrl+V onto a single
# selected cell, and copying the pasted area back out of the second gives
# exactly the bytes the first put there. Nothing here opens a dialog or runs
# the board; a dialog that opens all the same (the refusal of foreign data on
# a paste, say) fails the test at once rather than take the keys that follow.
#
#   clipboard_exchange.sh KALEIDOMAT GRAB_SCREEN KALEIDOMAT_CLI OUTPUT_DIR
set -u
program=$(realpath "$1")
grab=$(realpath "$2")
cli=$(realpath "$3")
out=$4
test_name=clipboard_exchange
format="Chromatessellator CellData"

source "$(dirname "${BASH_SOURCE[0]}")/x_display.sh"
require_tools Xvfb xdotool xclip xprop xwininfo

# The screen is wide enough for the two windows side by side.
e2e_begin "$(mktemp -d)" 1100x640x24
"$cli" random "$work/board.hxa" --size 50 --seed 3 >/dev/null || fail "could not make the board file"

start_program 1 "$work/board.hxa"
first=$window
start_program 2 "$work/board.hxa"
second=$window
[ "$first" != "$second" ] || fail "both copies report the same window"

# Without a window manager both windows open at (0, 0): move the second aside.
xdotool windowmove --sync "$second" 560 0 || fail "could not move the second window"

# The middle of a window lies on its board (the board fills the window
# between the toolbar and the status bar).
centre() {
  local X Y WIDTH HEIGHT
  eval "$(xdotool getwindowgeometry --shell "$1")"
  echo "$((X + WIDTH / 2)) $((Y + HEIGHT / 2))"
}
read -r x1 y1 < <(centre "$first")
read -r x2 y2 < <(centre "$second")

targets() { xclip -selection clipboard -t TARGETS -o 2>/dev/null; }
offers_cells() { targets | grep -qx "$format"; }

# 1. Select a rectangle in the first copy and copy it. X delivers the pointer
#    and key events in order, so the copy sees the finished selection.
focus "$first"
xdotool mousemove $((x1 - 100)) $((y1 - 100)) mousedown 1 \
  mousemove $((x1 - 80)) $((y1 - 80)) mousemove $((x1 - 50)) $((y1 - 50)) \
  mousemove $((x1 - 20)) $((y1 - 20)) mouseup 1 key ctrl+c
wait_for 300 offers_cells || fail "Ctrl+C put no '$format' on the clipboard (targets: $(targets | tr '\n' ' '))"
targets | grep -Eqx 'image/(png|bmp)' || fail "the clipboard offers no picture beside the cells"
xclip -selection clipboard -t "$format" -o >"$work/first.bin" || fail "could not read the cell block"
xclip -selection clipboard -t image/png -o >"$out/clipboard_picture.png" 2>/dev/null

# The block: w, h (16-bit little-endian), then 4 bytes per cell.
read -r w h < <(od -An -tu2 -N4 "$work/first.bin")
size=$(stat -c %s "$work/first.bin")
echo "copied a ${w} x ${h} block of $size bytes"
[ "$w" -ge 2 ] && [ "$h" -ge 2 ] && [ "$w" -le 20 ] && [ "$h" -le 20 ] || fail "unexpected block size $w x $h"
[ "$size" -eq $((4 + 4 * w * h)) ] || fail "the block has $size bytes, not $((4 + 4 * w * h))"
rle=$(xclip -selection clipboard -t UTF8_STRING -o 2>/dev/null | head -n 1)
[ "$rle" = "x = $w, y = $h, rule = B3/S23" ] || fail "the clipboard's RLE text begins '$rle'"

# 2. Select one cell in the second copy, near its top-left corner so that the
#    whole block fits (its focus rectangle shows the selection), and paste.
focus "$second"
shot clipboard_before_click
xdotool mousemove $((x2 - 180)) $((y2 - 180)) click 1
changed clipboard_before_click clipboard_selected || fail "clicking the second board selected nothing"
settled clipboard_selected || fail "the second window does not stand still after the click"
xdotool key ctrl+v
changed clipboard_selected clipboard_e2e || fail "the second window did not change after Ctrl+V"

# 3. The pasted area is now the second copy's selection: copying it gives the
#    same bytes. Take the clipboard away first, so the copy can be told apart.
printf 'plain text' | xclip -selection clipboard
lost_cells() { ! offers_cells; }
wait_for 100 lost_cells || fail "could not put text on the clipboard"
xdotool key ctrl+c
wait_for 300 offers_cells || fail "Ctrl+C in the second copy put no cells on the clipboard"
xclip -selection clipboard -t "$format" -o >"$work/second.bin" || fail "could not read the second block"
cmp -s "$work/first.bin" "$work/second.bin" ||
  fail "the second copy's pasted cells differ from the first copy's ($(stat -c %s "$work/second.bin") bytes)"

for pid in "${program_pids[@]}"; do kill -0 "$pid" 2>/dev/null || fail "a copy of the program ended on its own"; done
rm -f "$out"/clipboard_before_click.png "$out"/clipboard_selected.png
echo "PASS: a ${w} x ${h} selection went from one running copy to the other; screenshot in $out"
