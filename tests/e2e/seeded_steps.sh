#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# End to end: a seeded run repeats on the command line. The real program,
# started with --seed and a board file, takes N single steps (F8) and saves
# (Ctrl+S); the file must be byte for byte what kaleidomat-cli step writes
# for the same board, seed and N.
#
# The board file is removed once the window has loaded it, so that 保存 writes
# under the same name without asking whether to overwrite (a question box
# would be a dialog, which fails these tests). The board is a young soup whose
# population changes with every step, so that no repaint of the window in
# between can make auto-stimulation fire; the command line runs with
# --as-window all the same, as the window steps.
#
#   seeded_steps.sh KALEIDOMAT GRAB_SCREEN KALEIDOMAT_CLI OUTPUT_DIR
set -u
program=$1
grab=$2
cli=$3
out=$4
test_name=seeded_steps
steps=20
seed=987654321

source "$(dirname "${BASH_SOURCE[0]}")/x_display.sh"
require_tools Xvfb xdotool xprop xwininfo

e2e_begin "$(mktemp -d)" 800x600x24

"$cli" random "$work/soup.hxa" --size 50 --seed 11 >/dev/null || fail "could not make the board file"
"$cli" step "$work/soup.hxa" "$work/expected.hxa" -n "$steps" --seed "$seed" --as-window >/dev/null ||
  fail "kaleidomat-cli step failed"
cp "$work/soup.hxa" "$work/board.hxa"

start_program 1 --seed "$seed" "$work/board.hxa"
focus "$window"
settled seeded_steps_start || fail "the window does not stand still after start-up"
rm "$work/board.hxa"

for ((i = 0; i < steps; i++)); do xdotool key F8; done
xdotool key ctrl+s
saved() { [ -f "$work/board.hxa" ]; }
wait_for 300 saved || fail "Ctrl+S wrote no file"
settled seeded_steps_saved || fail "the window does not stand still after saving"
cmp "$work/board.hxa" "$work/expected.hxa" || {
  cp "$work/board.hxa" "$out/seeded_steps_window.hxa"
  cp "$work/expected.hxa" "$out/seeded_steps_cli.hxa"
  fail "the window's board after $steps steps differs from kaleidomat-cli step's (both kept in $out)"
}
# Not a board that happened to stand still: the steps changed it.
cmp -s "$work/soup.hxa" "$work/expected.hxa" && fail "the board did not change in $steps steps"

xdotool key alt+f
open_menu_ok() { [ -n "$(menu_popup file)" ]; }
wait_for 300 open_menu_ok || fail "alt+f did not open the file menu"
xdotool key Up Return
ended "$pid" || fail "the program did not end after 終了"
program_pids=()
rm -f "$out"/seeded_steps_*.png
echo "PASS: $steps single steps of a seeded window, saved, equal kaleidomat-cli step"
