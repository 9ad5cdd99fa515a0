#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# End to end: the real program on an X display of its own, started with a
# board file. It must show its window, run on F5, stop on F6, take one step
# on F8 and end with status 0 through the File menu's "終了", and end the same
# way in the middle of a run. Screenshots are kept in OUTPUT_DIR.
#
# 変化を促す is on at start-up: it brings a cell to life beside a board that
# stands still or blinks, which can break its still lifes, and a stimulated
# 50 x 50 board can die out within seconds; the run then stops on the message
# "全滅しました...", whose box would take the keys meant for the menus. Each
# copy switches it off first through its item in the 実行 menu and checks that
# the item's check mark went. Any dialog that opens all the same fails the
# test at once (x_display.sh), and keys go to a menu only once its own pop-up
# is on the screen.
#
#   run_control.sh KALEIDOMAT GRAB_SCREEN KALEIDOMAT_CLI OUTPUT_DIR
set -u
program=$1
grab=$2
cli=$3
out=$4
test_name=run_control

source "$(dirname "${BASH_SOURCE[0]}")/x_display.sh"
require_tools Xvfb xdotool xprop xwininfo

e2e_begin "$(mktemp -d)" 800x600x24

# A 50 x 50 board that settles into still lifes and oscillators (81 cells
# from generation 1000 on) and, left to the rule alone, never dies out; the
# generation panel changes with every step.
"$cli" random "$work/board.hxa" --size 50 --seed 3 >/dev/null || fail "could not make the board file"

# "終了": the File menu by its access key, once its pop-up (not a dialog, not
# another menu) is on the screen, then its last item; the program must be
# gone with status 0.
exit_through_menu() {
  open_menu alt+f file
  [ -n "${1:-}" ] && shot "$1"
  xdotool key Up Return
  ended "$pid" || fail "the program did not end after 終了"
  program_pids=()
}

start_program 1 "$work/board.hxa"
focus "$window"
stimulation_off kaleidomat_e2e_stimulation
settled run_control_start || fail "the window does not stand still after start-up"

xdotool key F5
changed run_control_start run_control_running || fail "the board does not change after F5"

xdotool key F6
# The screen stands still once the stop has been handled.
settled run_control_stopped || fail "the board still changes after F6"

xdotool key F8
changed run_control_stopped kaleidomat_e2e || fail "F8 did not take a step"
settled run_control_stepped || fail "the board goes on changing after F8"
cp "$out/run_control_stepped.png" "$out/kaleidomat_e2e.png"

exit_through_menu kaleidomat_e2e_menu

# Ending in the middle of a continuous run ends the run and the program.
start_program 2 "$work/board.hxa"
focus "$window"
stimulation_off run_control_stimulation2
settled run_control_start2 || fail "the second window does not stand still after start-up"
xdotool key F5
changed run_control_start2 run_control_running2 || fail "the second copy does not run after F5"
exit_through_menu

rm -f "$out"/run_control_*.png
echo "PASS: started, ran, stopped, stepped and ended through the menu, also during a run; screenshots in $out"
