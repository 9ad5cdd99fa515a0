#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# End to end: the ancestry tracer in the real window. 表示 › 系譜 ›
# 祖先をたどる is switched on by its access keys, a glider on a 20 x 20 torus
# takes four steps, and a click on one of the glider's cells must show the
# marks: the cell itself white (it shares all three founders with itself)
# and the red, green and blue outlines of its founders' origins. 通常の色 takes the
# marks away again. Screenshots are kept in OUTPUT_DIR.
#
#   lineage_trace.sh KALEIDOMAT GRAB_SCREEN KALEIDOMAT_CLI OUTPUT_DIR
set -u
program=$1
grab=$2
cli=$3
out=$4
test_name=lineage_trace

source "$(dirname "${BASH_SOURCE[0]}")/x_display.sh"
require_tools Xvfb xdotool xprop xwininfo

e2e_begin "$(mktemp -d)" 640x640x24
printf '#N Glider\nx = 3, y = 3, rule = B3/S23:T20,20\nbo$2bo$3o!\n' >"$work/glider.rle"
"$cli" info "$work/glider.rle" | grep -qx 'RLE pattern 3 x 3, 5 live cells, on a 20 x 20 torus' ||
  fail "kaleidomat-cli does not read the pattern as expected"

start_program 1 "$work/glider.rle"
focus "$window"
# A glider's population stands still: stimulation would add a cell.
stimulation_off lineage_trace_stimulation
settled lineage_trace_start "$window" || fail "the window does not stand still after start-up"

# The board is the 480 x 480 picture right above the 23-pixel status bar, in
# the middle of the window's width; on a 20 x 20 board a cell is 24 pixels.
eval "$(xdotool getwindowgeometry --shell "$window")"
left=$((X + (WIDTH - 480) / 2))
top=$((Y + HEIGHT - 23 - 480))
cell() { echo "$((left + 24 * $1 + 12)) $((top + 24 * $2 + 12))"; }
# The colours of the board picture, "RRGGBB COUNT" a line.
board_colours() { "$grab" --colours "$left" "$top" 480 480; }
has_colour() { board_colours | grep -q "^$1 "; }
marks_shown() { has_colour ff3030 && has_colour 30ff30 && has_colour 5078ff; }
any_menu_open() { ! no_menu_open; }
# The 表示 menu and its 系譜 submenu both open.
submenu_open() {
  local n=0 w
  for w in $(windows_of "$pid"); do inspect_window "$w" && [ "$win_kind" = menu ] && n=$((n + 1)); done
  [ "$n" -ge 2 ]
}

marks_shown && fail "the outline colours are on the board before tracing"

# 表示(V) › 系譜(K) › 祖先をたどる(T).
xdotool key alt+v
wait_for 300 any_menu_open || fail "Alt+V did not open the 表示 menu"
xdotool key k
wait_for 300 submenu_open || fail "K did not open the 系譜 submenu"
xdotool key t
wait_for 300 no_menu_open || fail "祖先をたどる(T) did not close the menus"

# Four steps with the lineage on: the glider stands one cell further right and down.
for step in 1 2 3 4; do
  shot lineage_trace_before_step
  xdotool key F8
  changed lineage_trace_before_step lineage_trace_stepped || fail "F8 number $step did not take a step"
done
settled lineage_trace_stepped "$window" || fail "the window does not stand still after the steps"

# The glider's cells were (10, 9), (11, 10), (9, 11), (10, 11), (11, 11);
# (12, 12) is live now. A click traces it.
read -r cx cy < <(cell 12 12)
xdotool mousemove "$cx" "$cy" click 1
wait_for 300 marks_shown || fail "the tracer's outlines did not appear after the click"
[ "$("$grab" --colours "$cx" "$cy" 1 1 | cut -d' ' -f1)" = ffffff ] ||
  fail "the traced cell is not shown white"
shot lineage_trace_marked

# 通常の色(N) takes the marks away.
xdotool key alt+v
wait_for 300 any_menu_open || fail "Alt+V did not open the 表示 menu again"
xdotool key k
wait_for 300 submenu_open || fail "K did not open the 系譜 submenu"
xdotool key n
wait_for 300 no_menu_open || fail "通常の色(N) did not close the menus"
gone() { ! marks_shown; }
wait_for 300 gone || fail "the outlines stay after 通常の色"

rm -f "$out"/lineage_trace_before_step.png "$out"/lineage_trace_stepped.png "$out"/lineage_trace_start.png \
  "$out"/lineage_trace_stimulation_*.png
echo "PASS: the tracer marked the clicked cell and its founders' origins; screenshots in $out"
