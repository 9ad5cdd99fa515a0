#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# scripts/tournament-parallel.sh on this machine: the merged slices are the
# rows of one single-process run of the same seeds, byte for byte after
# sorting (and in fact in the same order); a sweep broken off in the middle
# of a slice goes on with --resume to the same table.
# Usage: tournament_parallel_test.sh KALEIDOMAT-CLI SCRIPT
set -euo pipefail
cli=$1
script=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME=$work XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data XDG_STATE_HOME=$work/state

options=(--seeds 1-10,40-43 --groups 3 --layout stripes --size 16 --density 0.3 --generations 150 --as-window)
"$cli" tournament "${options[@]}" --threads 1 --csv "$work/single.csv"

bash "$script" --cli "$cli" --out "$work/sweep" --chunks 5 --jobs 2 -- "${options[@]}"
same() {
  cmp <(sort "$work/single.csv") <(sort "$work/sweep/tournament.csv")
  cmp "$work/single.csv" "$work/sweep/tournament.csv"
}
same || { echo "FAIL: the merged slices differ from the single run"; exit 1; }

# Break the sweep: slice 3 lost its job log line and was cut inside a row,
# slice 5 never ran.
awk -F'\t' 'NR == 1 || ($1 != 3 && $1 != 5)' "$work/sweep/joblog" > "$work/joblog" && mv "$work/joblog" "$work/sweep/joblog"
size=$(stat -c %s "$work/sweep/chunk-3.csv")
truncate -s $((size - 30)) "$work/sweep/chunk-3.csv"
rm "$work/sweep/chunk-5.csv" "$work/sweep/tournament.csv"
bash "$script" --cli "$cli" --out "$work/sweep" --chunks 5 --jobs 2 --resume -- "${options[@]}"
same || { echo "FAIL: the resumed sweep differs from the single run"; exit 1; }
[ "$(awk -F'\t' 'NR > 1' "$work/sweep/joblog" | wc -l)" = 5 ] || { echo "FAIL: the job log does not list five slices"; exit 1; }
echo "tournament_parallel: the merged and the resumed sweep both equal the single run"
