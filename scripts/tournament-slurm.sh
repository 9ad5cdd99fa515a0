#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Runs a kaleidomat-cli tournament on a Slurm cluster: a job array whose task
# i of N runs slice i/N of the seeds into its own table, then a job that
# starts when every task has succeeded and summarizes them all.
#
# Usage: scripts/tournament-slurm.sh [OPTIONS] -- TOURNAMENT-OPTIONS...
#   --out DIR        folder on a file system every node sees: the tasks'
#                    tables DIR/chunk-I.csv, their logs, DIR/summary.txt and
#                    DIR/summary.svg (default: tournament-out)
#   --tasks N        tasks of the array, one slice each (default 16)
#   --threads T      threads (and CPUs asked for) per task (default 1)
#   --cli PATH       the kaleidomat-cli the nodes run (default: the one
#                    beside this script's build/bin, else the one on the PATH)
#   --sbatch OPTION  one more option for both sbatch calls (for example
#                    --sbatch --partition=long); may be repeated
#   --wait           returns only when the summary is written
# Submitting again with the same --out continues: every task resumes its
# table, so only the rows still missing are run.
#
# Example: scripts/tournament-slurm.sh --out /shared/sweep --tasks 100 -- \
#            --groups 2 --layout halves --size 64 --generations 5000 --seeds 1-100000
set -euo pipefail

script=$(readlink -f "${BASH_SOURCE[0]}")

# What the array's tasks and the summary job run (the same script, on a node).
if [ "${1:-}" = --run-task ]; then
  out=$2 cli=$3 threads=$4
  shift 5  # and the "--"
  # The task's place in the array, from 1, whatever the array's first index.
  i=$((SLURM_ARRAY_TASK_ID - ${SLURM_ARRAY_TASK_MIN:-1} + 1))
  exec "$cli" tournament "$@" --chunk "$i/$SLURM_ARRAY_TASK_COUNT" --csv "$out/chunk-$SLURM_ARRAY_TASK_ID.csv" \
    --resume --threads "$threads"
fi
if [ "${1:-}" = --run-summary ]; then
  out=$2 cli=$3
  "$cli" summarize "$out"/chunk-*.csv --svg "$out/summary.svg" > "$out/summary.tmp"
  exec mv "$out/summary.tmp" "$out/summary.txt"
fi

out=tournament-out
tasks=16
threads=1
cli=""
wait=0
sbatch_options=()
usage() { sed -n '/^# Usage:/,/^set -euo/p' "$script" | sed '$d; s/^# \{0,1\}//' >&2; exit 2; }
while [ $# -gt 0 ]; do
  case $1 in
    --out) out=$2; shift 2 ;;
    --tasks) tasks=$2; shift 2 ;;
    --threads) threads=$2; shift 2 ;;
    --cli) cli=$2; shift 2 ;;
    --sbatch) sbatch_options+=("$2"); shift 2 ;;
    --wait) wait=1; shift ;;
    --) shift; break ;;
    -h|--help) usage ;;
    *) echo "tournament-slurm.sh: unknown option $1" >&2; usage ;;
  esac
done
source "$(dirname "$script")/tournament-options.sh"
check_tournament_options tournament-slurm.sh usage "$@"
command -v sbatch >/dev/null || { echo "tournament-slurm.sh: sbatch is missing (Debian package slurm-client)" >&2; exit 1; }
if [ -z "$cli" ]; then
  root=$(dirname "$(dirname "$script")")
  cli=kaleidomat-cli
  [ -x "$root/build/bin/kaleidomat-cli" ] && cli=$root/build/bin/kaleidomat-cli
fi
cli=$(command -v "$cli")
# The options are checked here, before anything is queued.
"$cli" tournament "$@" --generations 0 --chunk 1/1000000 > /dev/null

mkdir -p "$out"
out=$(cd "$out" && pwd)
rm -f "$out/summary.txt"
array=$(sbatch --parsable "${sbatch_options[@]}" --job-name=kaleidomat-tournament --array="1-$tasks" \
  --cpus-per-task="$threads" --output="$out/task-%a.log" \
  "$script" --run-task "$out" "$cli" "$threads" -- "$@")
array=${array%%;*}
summary_options=(--parsable "${sbatch_options[@]}" --job-name=kaleidomat-summary --dependency="afterok:$array"
                 --kill-on-invalid-dep=yes --output="$out/summary.log")
[ $wait = 1 ] && summary_options+=(--wait)
summary=$(sbatch "${summary_options[@]}" "$script" --run-summary "$out" "$cli")
echo "tournament-slurm.sh: array job $array ($tasks tasks), summary job ${summary%%;*}; results in $out" >&2
if [ $wait = 1 ]; then
  [ -f "$out/summary.txt" ] || { echo "tournament-slurm.sh: no summary was written; see $out/*.log" >&2; exit 1; }
  cat "$out/summary.txt"
fi
