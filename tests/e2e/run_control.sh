#!/usr/bin/env bash
# End to end: the real program on an X display of its own. It must show its
# window, run on F5, stop on F6, take one step on F8 and end with status 0
# through the File menu's "終了", and end the same way in the middle of a
# run. Screenshots are kept in OUTPUT_DIR.
#
#   run_control.sh KALEIDOMAT GRAB_SCREEN OUTPUT_DIR
set -u
program=$1
grab=$2
out=$3

source "$(dirname "${BASH_SOURCE[0]}")/x_display.sh"
require_tools Xvfb xdotool

mkdir -p "$out"
work=$(mktemp -d)
xvfb_pid=""
app_pid=""
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*"
  [ -f "$work/app.log" ] && sed 's/^/  program: /' "$work/app.log"
  exit 1
}

start_xvfb "$work" 800x600x24 || fail "Xvfb did not start"

cd "$work"

# Starts the program and focuses its window ($app_pid, $window).
start_program() {
  QT_QPA_PLATFORM=xcb "$program" >"$work/app.log" 2>&1 &
  app_pid=$!
  window=""
  for _ in $(seq 200); do
    window=$(xdotool search --all --onlyvisible --pid "$app_pid" --name '^Kaleidomat$' 2>/dev/null | head -n 1)
    [ -n "$window" ] && break
    kill -0 "$app_pid" 2>/dev/null || fail "the program ended before showing its window"
    sleep 0.1
  done
  [ -n "$window" ] || fail "no window named Kaleidomat appeared"
  echo "window $window"
  xdotool windowfocus --sync "$window" || fail "could not focus the window"
  sleep 0.5
}

# "終了": the File menu by its access key, then its last item.
exit_through_menu() {
  xdotool key alt+f
  sleep 0.5
  [ -n "${1:-}" ] && shot "$1"
  xdotool key Up Return
  for _ in $(seq 100); do
    kill -0 "$app_pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$app_pid" 2>/dev/null && fail "the program did not end after 終了"
  wait "$app_pid"
  local status=$?
  app_pid=""
  [ "$status" -eq 0 ] || fail "the program ended with status $status"
}

shot() { "$grab" "$out/$1.png" 2>/dev/null || fail "screenshot $1 failed"; }
same() { cmp -s "$out/$1.png" "$out/$2.png"; }

# Waits (up to 20 s) until two screenshots half a second apart are equal;
# the last one is kept as run_control_$1.
settled() {
  shot "run_control_$1"
  for _ in $(seq 40); do
    sleep 0.5
    shot run_control_next
    if same "run_control_$1" run_control_next; then return 0; fi
    mv "$out/run_control_next.png" "$out/run_control_$1.png"
  done
  return 1
}

# Waits (up to 20 s) until the screen differs from run_control_$1; keeps the
# new picture as $2.
changed() {
  for _ in $(seq 40); do
    sleep 0.5
    shot "$2"
    same "run_control_$1" "$2" || return 0
  done
  return 1
}

start_program
shot run_control_start
xdotool key F5
sleep 0.5; shot run_control_running1
sleep 0.5; shot run_control_running2
same run_control_running1 run_control_running2 && fail "the board does not change after F5"

xdotool key F6
# The screen stands still once the stop has been handled; a loaded machine
# may take a while to get there.
settled stopped || fail "the board still changes after F6"

xdotool key F8
changed stopped kaleidomat_e2e || fail "F8 did not take a step"
settled stepped || fail "the board goes on changing after F8"
cp "$out/run_control_stepped.png" "$out/kaleidomat_e2e.png"

exit_through_menu kaleidomat_e2e_menu

# Ending in the middle of a continuous run ends the run and the program.
start_program
xdotool key F5
sleep 1
exit_through_menu

rm -f "$out"/run_control_*.png
echo "PASS: started, ran, stopped, stepped and ended through the menu, also during a run; screenshots in $out"
