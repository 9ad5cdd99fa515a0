#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# End to end: a file-size limit fails a write, not the program. A copy runs
# under prlimit --fsize=64, smaller than what it saves when it ends (the size
# and position of its windows in the settings file, beside a speed already
# there). 終了 must end it with status 0 (it used to die by SIGXFSZ), the old
# settings file must be as it was, and no temporary may be left behind.
#
#   size_limit.sh KALEIDOMAT GRAB_SCREEN KALEIDOMAT_CLI OUTPUT_DIR
set -u
program=$1
grab=$2
out=$4
test_name=size_limit

source "$(dirname "${BASH_SOURCE[0]}")/x_display.sh"
require_tools Xvfb xdotool xprop xwininfo prlimit

e2e_begin "$(mktemp -d)" 800x600x24
settings="$XDG_CONFIG_HOME/kaleidomat/kaleidomat.conf"
mkdir -p "$(dirname "$settings")"
printf '[run]\nspeed=20\n' >"$settings"
cp "$settings" "$work/settings.before"
limited="$work/limited"
printf '#!/bin/sh\nexec prlimit --fsize=64 "%s" "$@"\n' "$program" >"$limited"
chmod +x "$limited"
program=$limited

start_program 1
focus "$window"
settled size_limit_loaded "$window" || fail "the window does not stand still after start-up"
open_menu alt+f file
xdotool key Up Return
ended "$pid" || fail "the program did not end after 終了"
program_pids=()
cmp -s "$settings" "$work/settings.before" || fail "the settings file changed against the limit"
leftovers=$(find "$XDG_CONFIG_HOME" "$XDG_STATE_HOME" -name '.kaleidomat-*' 2>/dev/null)
[ -z "$leftovers" ] || fail "temporaries left behind: $leftovers"
rm -f "$out"/size_limit_*.png
echo "PASS: under a file-size limit the program ended normally, its settings file kept and no temporary left"
