#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# End to end: a board edited, copied and saved with the keyboard alone. On an
# empty 20 x 20 board Tab gives the board the focus and shows the cursor in
# the middle, (9, 9). Space brings cells to life along a row,
# arrows go round the board's edges to two more cells, Shift+arrows select the
# row, Ctrl+C copies it and Ctrl+V lays it at (2, 2), where the cursor's cell
# is the selection. 名前を付けて保存 (Ctrl+Shift+S) opens the save dialog, which
# takes the new file's path from the keyboard; kaleidomat-cli reads the file
# back and every live cell must be where the keys put it. A message box fails
# the test at once.
#
#   keyboard_editing.sh KALEIDOMAT GRAB_SCREEN KALEIDOMAT_CLI OUTPUT_DIR
set -u
program=$(realpath "$1")
grab=$(realpath "$2")
cli=$(realpath "$3")
out=$4
test_name=keyboard_editing

source "$(dirname "${BASH_SOURCE[0]}")/x_display.sh"
require_tools Xvfb xdotool xprop xwininfo

e2e_begin "$(mktemp -d)" 640x640x24
printf 'x = 1, y = 1, rule = B3/S23:T20,20\nb!\n' >"$work/empty.rle"
"$cli" convert "$work/empty.rle" "$work/board.hxa" >/dev/null || fail "could not make the board file"

start_program 1 "$work/board.hxa"
focus "$window"
settled keyboard_loaded || fail "the window does not stand still after start-up"

# keys KEY COUNT...: each KEY pressed COUNT times, one after another.
keys() {
  local list=()
  while [ $# -gt 0 ]; do
    for ((i = 0; i < $2; ++i)); do list+=("$1"); done
    shift 2
  done
  xdotool key --delay 30 "${list[@]}"
}

xdotool key Tab
changed keyboard_loaded keyboard_cursor || fail "Tab showed no cursor on the board"
# (9, 9), (10, 9), (11, 9); then 12 to the left wraps to (19, 9), 10 up to (19, 19).
keys space 1 Right 1 space 1 Right 1 space 1 Left 12 space 1 Up 10 space 1
# Back to (9, 9) round the other edges, the row selected (the cursor ends on
# (11, 9)) and copied, then laid at (2, 2).
keys Down 10 Right 10 shift+Right 2 ctrl+c 1 Up 7 Left 9 ctrl+v 1
settled keyboard_drawn "$window" || fail "the window does not stand still after the keys"

# 名前を付けて保存 always asks for the name: the save dialog, whose file name
# field has the focus, takes the path and Return. Only that dialog may open.
xdotool key ctrl+shift+s
save_dialog=""
dialog_open() {
  local w
  for w in $(windows_of "$pid"); do
    if inspect_window "$w" && [ "$win_kind" = dialog ]; then
      [ "$win_name" = "Kaleidomat" ] && fail "a message box opened instead of the save dialog: $(describe_window)"
      save_dialog=$w
      return 0
    fi
  done
  return 1
}
deadline=$(($(now_us) + 30000000))
until dialog_open; do
  [ "$(now_us)" -lt "$deadline" ] || fail "Ctrl+Shift+S opened no save dialog"
  sleep 0.1
done
# The dialog takes keys once it has the input focus (its text cursor blinks,
# so it never stands still; the shared `settled` refuses any dialog anyway).
dialog_focused() { [ "$(xdotool getwindowfocus -f 2>/dev/null)" = "$save_dialog" ]; }
deadline=$(($(now_us) + 30000000))
until dialog_focused; do
  [ "$(now_us)" -lt "$deadline" ] || fail "the save dialog did not take the keyboard focus"
  sleep 0.1
done
inspect_window "$save_dialog" && "$grab" "$out/keyboard_save_dialog.png" "$win_x" "$win_y" "$win_width" "$win_height"
xdotool type --delay 20 "$work/keyed.hxa"
xdotool key Return
dialog_gone() { ! dialog_open; }
deadline=$(($(now_us) + 30000000))
until dialog_gone; do
  [ "$(now_us)" -lt "$deadline" ] || fail "the save dialog did not close after Return"
  sleep 0.1
done

expected=$(awk 'BEGIN {
  for (y = 0; y < 20; ++y) { row = ""; for (x = 0; x < 20; ++x) {
    live = (y == 9 && (x >= 9 && x <= 11 || x == 19)) || (y == 19 && x == 19) || (y == 2 && x >= 2 && x <= 4)
    row = row (live ? "O" : ".") }
    print row } }')
# The file may be written in steps: read it until it holds the cells.
holds_cells() {
  "$cli" convert "$work/keyed.hxa" "$work/keyed.cells" >/dev/null 2>&1 &&
    [ "$(grep -v '^!' "$work/keyed.cells")" = "$expected" ]
}
wait_for 100 holds_cells || fail "the saved board holds
$(grep -v '^!' "$work/keyed.cells" 2>/dev/null), not
$expected"

kill -0 "$pid" 2>/dev/null || fail "the program ended on its own"
echo "PASS: cells toggled, selected, copied, pasted and saved with the keyboard alone; screenshots in $out"
