#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Runs a kaleidomat-cli tournament in slices with GNU parallel, on this
# machine or on several through ssh, and merges the slices into one table.
#
# Usage: scripts/tournament-parallel.sh [OPTIONS] -- TOURNAMENT-OPTIONS...
#   --out DIR            folder for the slices, the job log and the merged
#                        table DIR/tournament.csv (default: tournament-out)
#   --chunks N           slices of the seed range (default: 4 per core here)
#   --jobs N             slices running at once on each machine (default: one
#                        per core, each slice with one thread)
#   --threads T          threads of each slice (default 1)
#   --sshloginfile FILE  run on the machines listed there (GNU parallel's
#                        format); kaleidomat-cli must be on their PATH, the
#                        slices are written in a temporary folder there and
#                        brought back here when done
#   --resume             go on with a sweep that was stopped: slices the job
#                        log lists as done are skipped, failed ones rerun, and
#                        a local slice continues from the rows it holds
#   --cli PATH           the kaleidomat-cli to run (default: the one beside
#                        this script's build/bin, else the one on the PATH)
#   --summary            also prints kaleidomat-cli summarize of the table
#
# Example: scripts/tournament-parallel.sh --out sweep -- --groups 2 \
#            --layout halves --size 64 --generations 5000 --seeds 1-1000
set -euo pipefail

out=tournament-out
chunks=""
jobs=""
threads=1
sshloginfile=""
resume=0
summary=0
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cli=""

usage() { sed -n '/^# Usage:/,/^set -euo/p' "${BASH_SOURCE[0]}" | sed '$d; s/^# \{0,1\}//' >&2; exit 2; }

while [ $# -gt 0 ]; do
  case $1 in
    --out) out=$2; shift 2 ;;
    --chunks) chunks=$2; shift 2 ;;
    --jobs) jobs=$2; shift 2 ;;
    --threads) threads=$2; shift 2 ;;
    --sshloginfile) sshloginfile=$2; shift 2 ;;
    --resume) resume=1; shift ;;
    --cli) cli=$2; shift 2 ;;
    --summary) summary=1; shift ;;
    --) shift; break ;;
    -h|--help) usage ;;
    *) echo "tournament-parallel.sh: unknown option $1" >&2; usage ;;
  esac
done
source "$root/scripts/tournament-options.sh"
check_tournament_options tournament-parallel.sh usage "$@"
command -v parallel >/dev/null || { echo "tournament-parallel.sh: GNU parallel is missing (Debian package parallel)" >&2; exit 1; }

if [ -z "$cli" ]; then
  if [ -n "$sshloginfile" ]; then cli=kaleidomat-cli
  elif [ -x "$root/build/bin/kaleidomat-cli" ]; then cli=$root/build/bin/kaleidomat-cli
  else cli=kaleidomat-cli
  fi
fi
cores=$(nproc)
chunks=${chunks:-$((4 * cores))}
jobs=${jobs:-100%}

mkdir -p "$out"
out=$(cd "$out" && pwd)
if [ $resume = 0 ]; then
  rm -f "$out"/joblog "$out"/chunk-*.csv "$out"/tournament.csv
fi

# Each slice is its own table; --resume lets a slice that was stopped go on.
parallel_options=(--joblog "$out/joblog" --jobs "$jobs" --halt now,fail=1)
[ $resume = 1 ] && parallel_options+=(--resume-failed)
if [ -n "$sshloginfile" ]; then
  # Remote slices run in a temporary folder there and come back when done.
  parallel_options+=(--sshloginfile "$sshloginfile" --workdir ... --return 'chunk-{}.csv' --cleanup)
  slice_csv='chunk-{}.csv'
  cd "$out"
else
  slice_csv="$out/chunk-{}.csv"
fi
# parallel runs each command line through a shell: every word is quoted.
quoted=$(printf ' %q' "$cli" tournament "$@")
parallel "${parallel_options[@]}" \
  "$quoted --chunk {}/$chunks --csv $slice_csv --resume --threads $threads" ::: $(seq 1 "$chunks")

# The slices in order are the seeds in order: one header, then every row.
merged=$(mktemp "$out/.tournament-XXXXXX")
trap 'rm -f "$merged"' EXIT
for i in $(seq 1 "$chunks"); do
  if [ "$i" = 1 ]; then cat "$out/chunk-$i.csv"; else grep -v '^version,' "$out/chunk-$i.csv" || true; fi
done > "$merged"
mv "$merged" "$out/tournament.csv"
trap - EXIT
echo "tournament-parallel.sh: $(grep -vc '^version,' "$out/tournament.csv") rows in $out/tournament.csv" >&2
if [ $summary = 1 ]; then
  # Remote machines had their own kaleidomat-cli; the summary is made here.
  local_cli=$cli
  if [ -n "$sshloginfile" ]; then
    local_cli=kaleidomat-cli
    [ -x "$root/build/bin/kaleidomat-cli" ] && local_cli=$root/build/bin/kaleidomat-cli
  fi
  "$local_cli" summarize "$out/tournament.csv" --svg "$out/summary.svg"
fi
