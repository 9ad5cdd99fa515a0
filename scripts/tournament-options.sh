# SPDX-License-Identifier: MIT
# Sourced by the tournament scripts: checks the kaleidomat-cli tournament
# options given after "--", leaving out those the scripts set themselves.
#   check_tournament_options SCRIPT_NAME USAGE_FUNCTION OPTIONS...
check_tournament_options() {
  local name=$1 usage=$2
  shift 2
  [ $# -gt 0 ] || { echo "$name: no tournament options after --" >&2; "$usage"; }
  local arg
  for arg in "$@"; do
    case $arg in
      --csv|--chunk|--resume|--threads|--progress)
        echo "$name: $arg is set by this script, leave it out" >&2; exit 2 ;;
    esac
  done
}
