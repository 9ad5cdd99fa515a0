#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# End to end: the speed ladder. Nine presses of "-" (some on the keypad)
# from 最高速 at start-up give 2 generations a second; after F5 the
# generation panel then changes about twice a second, and never more often
# than the rung allows. The rung is remembered: a second start runs at the
# same pace at once.
#
# The status bar is photographed over and over; every change of it is a new
# generation. A busy machine gives fewer changes, never more, so the check is
# an upper bound (the rung times the time elapsed, plus the generation at F5
# and one for slack) and at least one change. At 最高速 every picture differs
# from the one before.
#
#   speed_ladder.sh KALEIDOMAT GRAB_SCREEN KALEIDOMAT_CLI OUTPUT_DIR
set -u
program=$1
grab=$2
cli=$3
out=$4
test_name=speed_ladder
rate=2

source "$(dirname "${BASH_SOURCE[0]}")/x_display.sh"
require_tools Xvfb xdotool xprop xwininfo

e2e_begin "$(mktemp -d)" 800x600x24
# A 50 x 50 board whose generation panel changes with every step and which
# never dies out (see run_control.sh).
"$cli" random "$work/board.hxa" --size 50 --seed 3 >/dev/null || fail "could not make the board file"

# F5, then pictures of the generation panel (the left 120 pixels of the
# status bar, the window's bottom 23 pixels; the population panel beside it
# may be repainted a moment later, which would count twice), one
# every few milliseconds for 4 s, taken by grab_screen in one go so that even
# 最高速 shows as a change in nearly every picture; the changes are counted
# and the run is stopped with F6.
count_generations() {
  local start elapsed_us counted changes pictures
  inspect_window "$window" || fail "window $window is gone"
  start=$(now_us)
  xdotool key F5
  counted=$("$grab" --changes 4000 "$win_x" "$((win_y + win_height - 23))" 120 23) ||
    fail "$1: the pictures could not be taken"
  elapsed_us=$(($(now_us) - start))
  xdotool key F6
  expect_no_dialog
  read -r changes pictures <<<"$counted"
  local most=$((rate * elapsed_us / 1000000 + 2))
  echo "$1: $changes changes in $pictures pictures of the generation panel in $((elapsed_us / 1000)) ms" \
    "at $rate a second (at most $most)"
  [ "$changes" -ge 1 ] || fail "$1: the run did not move"
  [ "$changes" -le "$most" ] || fail "$1: $changes generations in $((elapsed_us / 1000)) ms, more than $rate a second allow"
}

start_program 1 "$work/board.hxa"
focus "$window"
stimulation_off speed_ladder_stimulation
settled speed_ladder_start || fail "the window does not stand still after start-up"
# 最高速 -> 1,000 -> 500 -> 200 -> 100 -> 50 -> 20 -> 10 -> 5 -> 2 a second.
xdotool key minus minus minus minus minus minus KP_Subtract KP_Subtract KP_Subtract
# Two more and "=" once: the ladder ends at 1, "=" is one rung up.
xdotool key minus minus equal
count_generations "first start"
settled speed_ladder_stopped || fail "the board still changes after F6"
open_menu alt+f file
xdotool key Up Return
ended "$pid" || fail "the program did not end after 終了"
program_pids=()

start_program 2 "$work/board.hxa"
focus "$window"
stimulation_off speed_ladder_stimulation2
settled speed_ladder_start2 || fail "the second window does not stand still after start-up"
count_generations "second start"

rm -f "$out"/speed_ladder_*.png
echo "PASS: the run went at most $rate generations a second after the keys, and again after a restart"
