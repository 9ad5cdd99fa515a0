#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# End to end: a board opened in one session is reopened in the next from
# ファイル › 最近使ったファイル. The first copy opens yesterday's board from
# the command line and ends with 終了; the second starts with today's (which
# leads the list now), opens the list by its access keys (Alt+F, J) and takes
# the second entry (2); the caption then names yesterday's board. A dialog
# fails the test at once.
#
#   recent_files.sh KALEIDOMAT GRAB_SCREEN KALEIDOMAT_CLI OUTPUT_DIR
set -u
program=$(realpath "$1")
grab=$(realpath "$2")
cli=$(realpath "$3")
out=$4
test_name=recent_files

source "$(dirname "${BASH_SOURCE[0]}")/x_display.sh"
require_tools Xvfb xdotool xprop xwininfo

e2e_begin "$(mktemp -d)" 640x640x24
"$cli" random "$work/yesterday.hxa" --size 30 --seed 7 >/dev/null || fail "kaleidomat-cli could not write the board"
"$cli" random "$work/today.hxa" --size 40 --seed 8 >/dev/null || fail "kaleidomat-cli could not write the board"
expected="Chromatessellator  - $work/yesterday.hxa -"
title_is() { [ "$(xdotool getwindowname "$window")" = "$expected" ]; }

start_program 1 "$work/yesterday.hxa"
wait_for 300 title_is || fail "the first copy's caption reads '$(xdotool getwindowname "$window")'"
focus "$window"
open_menu alt+f file
xdotool key Up Return
ended "$pid" || fail "the program did not end after 終了"
program_pids=()

start_program 2 "$work/today.hxa"
settled recent_start || fail "the second window does not stand still after start-up"
focus "$window"
title_is && fail "the second copy opened yesterday's board by itself"
open_menu alt+f file
xdotool key j
sleep 0.5
shot recent_menu
xdotool key 2
wait_for 300 title_is || fail "the caption reads '$(xdotool getwindowname "$window")' after choosing the recent file"
expect_no_dialog

kill -0 "$pid" 2>/dev/null || fail "the program ended on its own"
rm -f "$out"/recent_start.png
echo "PASS: yesterday's board reopened from the recent list; screenshots in $out"
