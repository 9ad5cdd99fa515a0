#!/usr/bin/env bash
# End to end: two running copies of the program exchange a selection through
# the real X clipboard. The first copies a dragged rectangle with Ctrl+C; the
# clipboard then offers the private cell format and a picture; the second
# pastes it with Ctrl+V onto a single selected cell, and copying the pasted
# area back out of the second gives exactly the bytes the first put there.
#
#   clipboard_exchange.sh KALEIDOMAT GRAB_SCREEN OUTPUT_DIR
set -u
program=$(realpath "$1")
grab=$(realpath "$2")
out=$3
format="Chromatessellator CellData"

source "$(dirname "${BASH_SOURCE[0]}")/x_display.sh"
require_tools Xvfb xdotool xclip

mkdir -p "$out"
work=$(mktemp -d)
xvfb_pid=""
pids=()
cleanup() {
  local pid
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*"
  local log
  for log in "$work"/app*.log; do
    [ -s "$log" ] && sed "s/^/  $(basename "$log" .log): /" "$log"
  done
  exit 1
}

# Runs a command every tenth of a second until it succeeds or $1 tenths of a
# second have passed.
wait_for() {
  local tries=$1; shift
  local i
  for ((i = 0; i < tries; i++)); do
    "$@" && return 0
    sleep 0.1
  done
  return 1
}

# The screen is wide enough for the two windows side by side.
start_xvfb "$work" 1100x640x24 || fail "Xvfb did not start"

cd "$work"
window_of() {
  xdotool search --all --onlyvisible --pid "$1" --name '^Kaleidomat$' 2>/dev/null | head -n 1
}
windows=()
for n in 1 2; do
  QT_QPA_PLATFORM=xcb "$program" >"$work/app$n.log" 2>&1 &
  pid=$!
  pids+=("$pid")
  shown() {
    kill -0 "$pid" 2>/dev/null || fail "copy $n ended before showing its window"
    test -n "$(window_of "$pid")"
  }
  wait_for 200 shown || fail "copy $n showed no window named Kaleidomat"
  windows+=("$(window_of "$pid")")
done
first=${windows[0]}
second=${windows[1]}
echo "windows $first $second"
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

# 1. Select a rectangle in the first copy and copy it.
xdotool mousemove "$x1" "$y1" sleep 0.2 windowfocus --sync "$first" || fail "could not focus the first window"
xdotool mousemove $((x1 - 100)) $((y1 - 100)) mousedown 1 \
  mousemove $((x1 - 80)) $((y1 - 80)) mousemove $((x1 - 50)) $((y1 - 50)) \
  mousemove $((x1 - 20)) $((y1 - 20)) sleep 0.2 mouseup 1
sleep 0.2
xdotool key ctrl+c
wait_for 100 offers_cells || fail "Ctrl+C put no '$format' on the clipboard (targets: $(targets | tr '\n' ' '))"
targets | grep -Eqx 'image/(png|bmp)' || fail "the clipboard offers no picture beside the cells"
xclip -selection clipboard -t "$format" -o >"$work/first.bin" || fail "could not read the cell block"
xclip -selection clipboard -t image/png -o >"$out/clipboard_picture.png" 2>/dev/null

# The block: w, h (16-bit little-endian), then 4 bytes per cell.
read -r w h < <(od -An -tu2 -N4 "$work/first.bin")
size=$(stat -c %s "$work/first.bin")
echo "copied a ${w} x ${h} block of $size bytes"
[ "$w" -ge 2 ] && [ "$h" -ge 2 ] && [ "$w" -le 20 ] && [ "$h" -le 20 ] || fail "unexpected block size $w x $h"
[ "$size" -eq $((4 + 4 * w * h)) ] || fail "the block has $size bytes, not $((4 + 4 * w * h))"

# 2. Select one cell in the second copy, near its top-left corner so that the
#    whole block fits, and paste.
xdotool mousemove "$x2" "$y2" sleep 0.2 windowfocus --sync "$second" || fail "could not focus the second window"
xdotool mousemove $((x2 - 180)) $((y2 - 180)) click 1
sleep 0.3
"$grab" "$work/before.png" 2>/dev/null || fail "screenshot failed"
xdotool key ctrl+v
changed() {
  "$grab" "$work/after.png" 2>/dev/null && ! cmp -s "$work/before.png" "$work/after.png"
}
wait_for 100 changed || fail "the second window did not change after Ctrl+V"
cp "$work/after.png" "$out/clipboard_e2e.png"

# 3. The pasted area is now the second copy's selection: copying it gives the
#    same bytes. Take the clipboard away first, so the copy can be told apart.
printf 'plain text' | xclip -selection clipboard
wait_for 50 sh -c "! xclip -selection clipboard -t TARGETS -o 2>/dev/null | grep -qx '$format'" ||
  fail "could not put text on the clipboard"
xdotool key ctrl+c
wait_for 100 offers_cells || fail "Ctrl+C in the second copy put no cells on the clipboard"
xclip -selection clipboard -t "$format" -o >"$work/second.bin" || fail "could not read the second block"
cmp -s "$work/first.bin" "$work/second.bin" ||
  fail "the second copy's pasted cells differ from the first copy's ($(stat -c %s "$work/second.bin") bytes)"

for pid in "${pids[@]}"; do kill -0 "$pid" 2>/dev/null || fail "a copy of the program ended on its own"; done
echo "PASS: a ${w} x ${h} selection went from one running copy to the other; screenshot in $out"
