# Shared by the end-to-end scripts (sourced): an Xvfb server owned by one
# test from start to finish, bounded waits for observable states, and a
# failure report with a picture of the whole screen.
#
# The sourcing script sets `out` (where pictures are kept) and `test_name`,
# and calls e2e_begin WORKDIR GEOMETRY before anything else.

xvfb_pid=""
program_pids=()

# Exits with 77 (ctest's "skipped") when one of the tools is missing.
require_tools() {
  local tool
  for tool in "$@"; do
    if ! command -v "$tool" >/dev/null; then
      echo "SKIP: $tool is not installed"
      exit 77
    fi
  done
}

# wait_for TENTHS COMMAND...: runs COMMAND every tenth of a second until it
# succeeds (0) or TENTHS tenths of a second have passed (1).
wait_for() {
  local tries=$1 i
  shift
  for ((i = 0; i < tries; i++)); do
    "$@" && return 0
    sleep 0.1
  done
  "$@"
}

# The program's windows that are mapped now, one per line: id, geometry, name.
list_windows() {
  local pid w
  for pid in "${program_pids[@]}"; do
    if ! kill -0 "$pid" 2>/dev/null || ps -o stat= -p "$pid" | grep -q '^Z'; then
      wait "$pid" 2>/dev/null
      echo "  pid $pid has ended with status $?"
      continue
    fi
    for w in $(xdotool search --all --onlyvisible --pid "$pid" 2>/dev/null); do
      echo "  pid $pid window $w $(xdotool getwindowgeometry "$w" 2>/dev/null | sed -n 's/ *Geometry: //p')" \
        "'$(xdotool getwindowname "$w" 2>/dev/null)'"
    done
  done
}

# Reports a failure with the program's output, its visible windows and a
# picture of the whole screen, then exits (the EXIT trap tears down).
fail() {
  echo "FAIL: $*"
  local log
  for log in "$work"/app*.log; do
    [ -s "$log" ] && sed "s/^/  $(basename "$log" .log): /" "$log"
  done
  if [ -n "$xvfb_pid" ]; then
    echo "  visible windows:"
    list_windows
    "$grab" "$out/${test_name}_failure.png" 2>/dev/null && echo "  screen: $out/${test_name}_failure.png"
  fi
  exit 1
}

# Ends every copy of the program still running and the X server, and waits
# until they are gone, so that nothing of this test outlives it.
e2e_end() {
  local pid
  for pid in "${program_pids[@]}"; do kill "$pid" 2>/dev/null; done
  for pid in "${program_pids[@]}"; do wait "$pid" 2>/dev/null; done
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null
    wait "$xvfb_pid" 2>/dev/null
  fi
  rm -rf "$work"
}

# e2e_begin WORKDIR GEOMETRY: starts Xvfb on a display number it chooses
# itself among the free ones (written to descriptor 3 once it accepts
# connections) and exports DISPLAY. -noreset keeps the server as it is when
# its last client disconnects; otherwise a program started in the moment of
# that reset cannot connect.
e2e_begin() {
  work=$1
  trap e2e_end EXIT
  mkfifo "$work/displayfd"
  Xvfb -displayfd 3 -noreset -screen 0 "$2" -nolisten tcp 3>"$work/displayfd" 2>"$work/xvfb.log" &
  xvfb_pid=$!
  local display=""
  read -r -t 30 display <"$work/displayfd" || true
  if [ -z "$display" ]; then
    cat "$work/xvfb.log"
    xvfb_pid=""
    fail "Xvfb did not start"
  fi
  export DISPLAY=":$display"
  echo "display $DISPLAY"
}

# The program's main window, found by its caption: "Kaleidomat", or the
# caption that names the open board file.
main_window_of() {
  xdotool search --all --onlyvisible --pid "$1" --name '^Kaleidomat$|^Chromatessellator  - ' 2>/dev/null | head -n 1
}

# A visible window of the program other than WINDOW: an open menu or dialog.
other_window_of() {
  xdotool search --all --onlyvisible --pid "$1" 2>/dev/null | grep -vx "$2" | head -n 1
}

# start_program N ARGS...: starts a copy of the program with its output in
# app$N.log, waits (up to 30 s) for its main window and focuses it. Sets
# `pid` and `window`.
start_program() {
  local n=$1
  shift
  QT_QPA_PLATFORM=xcb "$program" "$@" >"$work/app$n.log" 2>&1 &
  pid=$!
  program_pids+=("$pid")
  shown() {
    kill -0 "$pid" 2>/dev/null || fail "copy $n ended before showing its window"
    window=$(main_window_of "$pid")
    [ -n "$window" ]
  }
  wait_for 300 shown || fail "copy $n showed no window"
  echo "copy $n: pid $pid, window $window"
}

focus() { xdotool windowfocus --sync "$1" || fail "could not focus window $1"; }

# Process gone within 30 s; its exit status must be 0.
ended() {
  local p=$1 status
  gone() { ! kill -0 "$p" 2>/dev/null || ps -o stat= -p "$p" | grep -q '^Z'; }
  wait_for 300 gone || return 1
  wait "$p"
  status=$?
  [ "$status" -eq 0 ] || fail "the program ended with status $status"
}

shot() { "$grab" "$out/$1.png" 2>/dev/null || fail "screenshot $1 failed"; }
same() { cmp -s "$out/$1.png" "$out/$2.png"; }

# changed REF NEW: waits (up to 30 s) until the screen differs from picture
# REF; the differing picture is kept as NEW.
changed() {
  changed_ref=$1 changed_new=$2
  differs() { shot "$changed_new" && ! same "$changed_ref" "$changed_new"; }
  wait_for 300 differs
}

# settled NAME: waits (up to 30 s) until the screen has stood still over three
# pictures taken 0.4 s apart; the last picture is kept as NAME.
settled() {
  local still=0 i
  shot "$1"
  for ((i = 0; i < 75; i++)); do
    sleep 0.4
    shot "$1_next"
    if same "$1" "$1_next"; then
      still=$((still + 1))
      [ "$still" -ge 2 ] && { rm -f "$out/$1_next.png"; return 0; }
    else
      still=0
      mv "$out/$1_next.png" "$out/$1.png"
    fi
  done
  return 1
}
