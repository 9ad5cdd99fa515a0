#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# End to end: the last board survives a killed program. A copy started with a
# board file fills it at random (パターン > ランダム); the board is kept in the
# state folder within a second. The copy is killed (kill -9); a second copy,
# started with the same file, brings the board back through ファイル >
# 前回の盤面を復元 and keeps it in a file of its own: that file must hold the
# very board the first copy kept, and its window must show the board as the
# first copy's showed it (the generation panel aside: a board file does not
# hold the generation). Screenshots are kept in OUTPUT_DIR.
#
#   keep_board.sh KALEIDOMAT GRAB_SCREEN KALEIDOMAT_CLI OUTPUT_DIR
set -u
program=$1
grab=$2
cli=$3
out=$4
test_name=keep_board

source "$(dirname "${BASH_SOURCE[0]}")/x_display.sh"
require_tools Xvfb xdotool xprop xwininfo

e2e_begin "$(mktemp -d)" 800x600x24
kept_folder="$XDG_STATE_HOME/kaleidomat"
"$cli" random "$work/board.hxa" --size 50 --seed 3 >/dev/null || fail "could not make the board file"

# The kept boards in the state folder, one path a line.
kept_boards() { find "$kept_folder" -maxdepth 1 -name 'board-*.hxa' -type f 2>/dev/null; }

# Any menu pop-up of copy `pid` (the pattern menu's left edge is not fixed).
any_menu() { ! no_menu_open; }

# board_shot NAME: a picture of copy `pid`'s window above its status bar.
board_shot() {
  local X Y WIDTH HEIGHT WINDOW SCREEN
  eval "$(xdotool getwindowgeometry --shell "$window")" || fail "window $window is gone"
  "$grab" "$out/$1.png" "$X" "$Y" "$WIDTH" $((HEIGHT - 30)) 2>/dev/null || fail "screenshot $1 failed"
  expect_no_dialog
}

start_program 1 "$work/board.hxa"
focus "$window"
settled keep_board_loaded "$window" || fail "the first window does not stand still after start-up"
xdotool key alt+p
wait_for 300 any_menu || fail "alt+p did not open the パターン menu"
xdotool key r
wait_for 300 no_menu_open || fail "ランダム(R) did not close the パターン menu"
first_kept() { [ "$(kept_boards | wc -l)" -eq 1 ]; }
wait_for 300 first_kept || fail "no board was kept in $kept_folder"
settled keep_board_random_settled "$window" || fail "the first window does not stand still after ランダム"
board_shot keep_board_before
first=$(kept_boards)
cp "$first" "$work/kept.hxa"

kill -9 "$pid"
killed=$pid
gone() { ! kill -0 "$killed" 2>/dev/null || ps -o stat= -p "$killed" | grep -q '^Z'; }
wait_for 300 gone || fail "kill -9 did not end the first copy"
wait "$killed" 2>/dev/null
program_pids=()
cmp -s "$first" "$work/kept.hxa" || fail "the killed copy's board changed"

start_program 2 "$work/board.hxa"
focus "$window"
settled keep_board_second "$window" || fail "the second window does not stand still after start-up"
open_menu alt+f file
xdotool key r
wait_for 300 no_menu_open || fail "前回の盤面を復元(R) did not close the ファイル menu"
# The second copy keeps the restored board in its own file, beside the first.
restored_kept() {
  local f
  for f in $(kept_boards); do
    [ "$f" != "$first" ] && cmp -s "$f" "$work/kept.hxa" && return 0
  done
  return 1
}
wait_for 300 restored_kept || fail "the second copy did not bring back and keep the killed copy's board"
settled keep_board_restored "$window" || fail "the second window does not stand still after restoring"
board_shot keep_board_after
same keep_board_before keep_board_after || fail "the restored board does not look like the killed copy's"

rm -f "$out"/keep_board_*.png
echo "PASS: a killed copy's board was kept, restored by another copy and shown the same"
