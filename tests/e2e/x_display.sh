# Shared by the end-to-end scripts (sourced): the X tools they need, and an
# Xvfb server of their own.

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

# start_xvfb WORKDIR GEOMETRY: starts Xvfb on a display number it chooses
# itself (written to descriptor 3 once it accepts connections), sets
# xvfb_pid and exports DISPLAY. Returns 1 when it does not start.
start_xvfb() {
  mkfifo "$1/displayfd"
  Xvfb -displayfd 3 -screen 0 "$2" -nolisten tcp 3>"$1/displayfd" 2>"$1/xvfb.log" &
  xvfb_pid=$!
  local display=""
  read -r -t 20 display <"$1/displayfd" || true
  if [ -z "$display" ]; then
    cat "$1/xvfb.log"
    return 1
  fi
  export DISPLAY=":$display"
  echo "display $DISPLAY"
}
