# SPDX-License-Identifier: MIT
# Shared by the end-to-end scripts (sourced): an Xvfb server owned by one
# test from start to finish, bounded waits for observable states, windows
# told apart by what they are (main window, menu pop-up, dialog), and a
# failure report with a picture of the whole screen and every visible window.
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

# Microseconds since the epoch.
now_us() { echo "${EPOCHREALTIME/./}"; }

# wait_for TENTHS COMMAND...: runs COMMAND every tenth of a second until it
# succeeds (0) or TENTHS tenths of a second have passed (1). The bound is
# time, not tries, so that a slow machine does not stretch it. Nothing in
# these tests opens a dialog: one that opens (a message box) fails the test at
# once, before keys meant for the main window or a menu go into it.
wait_for() {
  local deadline=$(($(now_us) + $1 * 100000))
  shift
  while :; do
    expect_no_dialog
    "$@" && return 0
    [ "$(now_us)" -lt "$deadline" ] || break
    sleep 0.1
  done
  expect_no_dialog
  "$@"
}

# ---- what a window is ----------------------------------------------------------

# inspect_window W: reads what X knows of window W into win_x, win_y,
# win_width, win_height, win_map (IsViewable when shown), win_override (yes
# for a window that no window manager handles), win_types (its
# _NET_WM_WINDOW_TYPE list), win_transient (the window it belongs to),
# win_name, win_pid and, from these, win_kind:
#   main     a normal top-level window that belongs to no other window
#   menu     a menu's pop-up: override-redirect and not a tool tip. Qt types
#            a menu's window as a drop-down menu when it first shows it, but
#            a menu shown again may carry _NET_WM_WINDOW_TYPE_NORMAL only.
#   tooltip  a tool tip: override-redirect, typed as one
#   dialog   a message box or other dialog: typed as a dialog, or a managed
#            window that belongs to another (transient for it)
#   other    anything else
# Returns 1 when the window is gone.
inspect_window() {
  local info props line value
  info=$(xwininfo -id "$1" 2>/dev/null) || return 1
  props=$(xprop -id "$1" _NET_WM_WINDOW_TYPE WM_TRANSIENT_FOR _NET_WM_NAME _NET_WM_PID 2>/dev/null) || return 1
  win_x="" win_y="" win_width="" win_height="" win_map="" win_override=""
  win_types="" win_transient="" win_name="" win_pid=""
  while IFS= read -r line; do
    value=${line##*:}
    value=${value// /}
    case $line in
      *"Absolute upper-left X:"*) win_x=$value ;;
      *"Absolute upper-left Y:"*) win_y=$value ;;
      *"Width:"*) win_width=$value ;;
      *"Height:"*) win_height=$value ;;
      *"Map State:"*) win_map=$value ;;
      *"Override Redirect State:"*) win_override=$value ;;
    esac
  done <<<"$info"
  while IFS= read -r line; do
    case $line in
      "_NET_WM_WINDOW_TYPE(ATOM) = "*) win_types=${line#*= } ;;
      "WM_TRANSIENT_FOR(WINDOW): window id # "*) win_transient=${line##*# } ;;
      "_NET_WM_NAME(UTF8_STRING) = "*) win_name=${line#*= \"} win_name=${win_name%\"} ;;
      "_NET_WM_PID(CARDINAL) = "*) win_pid=${line#*= } ;;
    esac
  done <<<"$props"
  if [ "$win_override" = yes ]; then
    case $win_types in
      *_NET_WM_WINDOW_TYPE_TOOLTIP*) win_kind=tooltip ;;
      *) win_kind=menu ;;
    esac
  elif [[ $win_types == _NET_WM_WINDOW_TYPE_DIALOG* || -n $win_transient ]]; then
    win_kind=dialog
  elif [[ $win_types == _NET_WM_WINDOW_TYPE_NORMAL* ]]; then
    win_kind=main
  else
    win_kind=other
  fi
}

# One line on the window inspect_window read last.
describe_window() {
  local kind
  case $win_kind in
    main) kind="main window" ;;
    menu) kind="menu pop-up" ;;
    tooltip) kind="tool tip" ;;
    dialog) kind="DIALOG (a message box is titled 'Kaleidomat')" ;;
    *) kind="other window" ;;
  esac
  echo "$kind '$win_name', ${win_width}x${win_height}+${win_x}+${win_y}, pid ${win_pid:-?}" \
    "[type ${win_types:-none}; transient for ${win_transient:-none}; override-redirect $win_override]"
}

# The visible windows of process PID (those that carry its pid), by id.
windows_of() { xdotool search --all --onlyvisible --pid "$1" 2>/dev/null; }

# Fails when a copy of the program shows a dialog: nothing in these tests
# opens one, so it is a message the program did not mean to show in this run
# (such as "全滅しました..." after a board died out).
expect_no_dialog() {
  local pid w
  for pid in "${program_pids[@]}"; do
    for w in $(windows_of "$pid"); do
      if inspect_window "$w" && [ "$win_kind" = dialog ]; then
        fail "a dialog is open, window $w: $(describe_window)"
      fi
    done
  done
}

# The program's main window (not a message box that carries the same title).
main_window_of() {
  local w
  for w in $(windows_of "$1"); do
    if inspect_window "$w" && [ "$win_kind" = main ]; then
      echo "$w"
      return
    fi
  done
}

# Every visible top-level window of the display, bottom to top, with what it
# is, and which copies of the program have ended.
list_windows() {
  local pid w
  for pid in "${program_pids[@]}"; do
    if ! kill -0 "$pid" 2>/dev/null || ps -o stat= -p "$pid" | grep -q '^Z'; then
      wait "$pid" 2>/dev/null
      echo "  pid $pid has ended with status $?"
    fi
  done
  echo "  visible windows, bottom to top:"
  for w in $(xwininfo -root -children 2>/dev/null | sed -n 's/^ *\(0x[0-9a-fA-F]*\) .*/\1/p'); do
    inspect_window "$w" && [ "$win_map" = IsViewable ] && echo "    window $((w)): $(describe_window)"
  done
}

# Reports a failure with a picture of the whole screen, the program's output
# and every visible window, then exits (the EXIT trap tears down). Runs once:
# a check that fails while the report is being made does not start another.
fail() {
  echo "FAIL: $*"
  [ -z "${failing:-}" ] || exit 1
  failing=1
  if [ -n "$xvfb_pid" ]; then
    "$grab" "$out/${test_name}_failure.png" 2>/dev/null && echo "  screen: $out/${test_name}_failure.png"
  fi
  local log
  for log in "$work"/app*.log; do
    [ -s "$log" ] && sed "s/^/  $(basename "$log" .log): /" "$log"
  done
  [ -n "$xvfb_pid" ] && list_windows
  exit 1
}

# ---- the X server ----------------------------------------------------------------

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
# that reset cannot connect. HOME and the XDG folders point into WORKDIR:
# the program must not see or change the user's settings. Then it makes the
# output folder, works in WORKDIR and rests the pointer in the corner.
e2e_begin() {
  work=$1
  mkdir -p "$out"
  trap e2e_end EXIT
  export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_DATA_HOME="$work/home/.local/share"
  export XDG_CACHE_HOME="$work/home/.cache" XDG_STATE_HOME="$work/home/.local/state" XDG_RUNTIME_DIR="$work/runtime"
  mkdir -p "$HOME" && mkdir -m 700 "$XDG_RUNTIME_DIR"
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
  cd "$work" || fail "cannot enter $work"
  # The pointer rests in the screen's bottom-right corner, away from any
  # window: no menu item under it is highlighted and no tool tip shows.
  local size=${2%x*}
  xdotool mousemove $((${size%x*} - 1)) $((${size#*x} - 1)) || fail "could not move the pointer"
}

# ---- the program -----------------------------------------------------------------

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

# ---- menus -------------------------------------------------------------------------

# A menu's pop-up hangs right below its title in the menu bar (19 pixels
# below the main window's top edge), so its left edge tells which menu it is:
# ファイル(F) opens at the bar's left end (6 pixels in), 実行(E) after it (86
# pixels in), 編集(M) further right (some 140 pixels in). Each name gives the
# range of left edges, in pixels from the main window's.
menu_edges_file="0 40"
menu_edges_exec="40 120"

# menu_popup WHICH: the visible menu pop-up of copy `pid` that hangs below the
# menu bar with its left edge in menu WHICH's range ("" when there is none).
menu_popup() {
  local range min max left top w
  range="menu_edges_$1"
  read -r min max <<<"${!range}"
  inspect_window "$window" || return
  left=$win_x top=$win_y
  for w in $(windows_of "$pid"); do
    if inspect_window "$w" && [ "$win_kind" = menu ] && ((win_y - top >= 10 && win_y - top < 40)) &&
      ((win_x - left >= min && win_x - left < max)); then
      echo "$w"
      return
    fi
  done
}

# Whether copy `pid` shows no menu pop-up at all.
no_menu_open() {
  local w
  for w in $(windows_of "$pid"); do
    inspect_window "$w" && [ "$win_kind" = menu ] && return 1
  done
  return 0
}

# open_menu KEY WHICH: sends KEY (the menu's access key) to copy `pid` and
# waits (up to 30 s) for menu WHICH's pop-up; sets `menu` to its window. A
# dialog or another menu never counts as the menu waited for.
open_menu() {
  xdotool key "$1"
  which_menu=$2
  menu_shown() {
    menu=$(menu_popup "$which_menu")
    [ -n "$menu" ]
  }
  wait_for 300 menu_shown || fail "$1 did not open the $2 menu"
}

# ---- pictures ----------------------------------------------------------------------

# shot NAME [WINDOW]: a picture of the whole screen, or of the rectangle of
# WINDOW, kept as NAME.png. A dialog on the screen fails the test: no picture
# with a message box over the board is taken for the state waited for.
shot() {
  local area=()
  if [ -n "${2:-}" ]; then
    inspect_window "$2" || fail "window $2 is gone"
    area=("$win_x" "$win_y" "$win_width" "$win_height")
  fi
  "$grab" "$out/$1.png" "${area[@]}" 2>/dev/null || fail "screenshot $1 failed"
  expect_no_dialog
}
same() { cmp -s "$out/$1.png" "$out/$2.png"; }

# changed REF NEW: waits (up to 30 s) until the screen differs from picture
# REF; the differing picture is kept as NEW.
changed() {
  changed_ref=$1 changed_new=$2
  differs() { shot "$changed_new" && ! same "$changed_ref" "$changed_new"; }
  wait_for 300 differs
}

# settled NAME [WINDOW]: waits (up to 30 s) until the screen (or WINDOW) has
# stood still over three pictures taken 0.4 s apart; the last picture is kept
# as NAME.
settled() {
  local still=0 deadline=$(($(now_us) + 30000000))
  shot "$1" "${2:-}"
  while [ "$(now_us)" -lt "$deadline" ]; do
    sleep 0.4
    shot "$1_next" "${2:-}"
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

# 変化を促す(A) in the 実行 menu, checked at start-up, unchecked afterwards: the
# menu's pop-up looks different with and without the check mark (both opened
# the same way, so the same item is highlighted), and the board below cannot
# die out any more. The pictures of the pop-up are NAME_checked and
# NAME_unchecked (the first copy's are kept).
stimulation_off() {
  open_menu alt+e exec
  settled "$1_checked" "$menu" || fail "the 実行 menu does not stand still"
  xdotool key a
  wait_for 300 no_menu_open || fail "変化を促す(A) did not close the 実行 menu"
  open_menu alt+e exec
  settled "$1_unchecked" "$menu" || fail "the 実行 menu does not stand still when opened again"
  same "$1_checked" "$1_unchecked" && fail "the check mark of 変化を促す did not change"
  xdotool key Escape
  wait_for 300 no_menu_open || fail "Escape did not close the 実行 menu"
}
