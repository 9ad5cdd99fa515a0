#!/bin/bash
# SPDX-License-Identifier: MIT
# The 200 x 200 step side by side with Golly's QuickLife on the same torus.
#
#   scripts/compare-golly.sh [ROUNDS]     (after a build; needs bgolly, from scripts/test.sh)
#
# Each round times whole runs of 1, 300, 1,300 and 20,000 generations of one
# soup (seeded at 20 %) with both programs, taken in turn, in CPU time. Start-up
# and file input cancel in the differences: generations 1-300 (dense) and
# 1,300-20,000 (settled). Prints every round and the medians.
set -euo pipefail
rounds=${1:-7}
root=$(cd "$(dirname "$0")/.." && pwd)
cli=$root/build/bin/kaleidomat-cli
for tool in "$cli" bgolly; do
    command -v "$tool" >/dev/null || { echo "missing: $tool" >&2; exit 1; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$cli" random "$work/soup.hxa" --size 200 --seed 20240601 >/dev/null
"$cli" convert "$work/soup.hxa" "$work/soup.rle" >/dev/null
# User and system CPU time of one command in milliseconds, the mean of five
# runs (the shell reports whole milliseconds).
cpu_ms() {
    local TIMEFORMAT='%3U %3S' t
    t=$( { time for _ in 1 2 3 4 5; do "$@" >/dev/null 2>&1; done; } 2>&1 )
    awk '{ printf "%.3f", ($1 + $2) * 1000 / 5 }' <<<"$t"
}
for ((round = 1; round <= rounds; round++)); do
    line=""
    for n in 1 300 1300 20000; do
        ours=$(cpu_ms "$cli" step "$work/soup.hxa" "$work/out.hxa" -n "$n" --seed 1)
        golly=$(cpu_ms bgolly -a QuickLife -r B3/S23:T200,200 -m "$n" -q -q "$work/soup.rle")
        line="$line $ours $golly"
    done
    echo "$line"
done | awk '
    function median(a, n,   i, j, t) {
        for (i = 1; i <= n; i++) for (j = i + 1; j <= n; j++) if (a[j] < a[i]) { t = a[i]; a[i] = a[j]; a[j] = t }
        return n % 2 ? a[(n + 1) / 2] : (a[n / 2] + a[n / 2 + 1]) / 2
    }
    {
        n++
        od[n] = ($3 - $1) / 299 * 1000; gd[n] = ($4 - $2) / 299 * 1000
        os[n] = ($7 - $5) / 18700 * 1000; gs[n] = ($8 - $6) / 18700 * 1000
        rd[n] = gd[n] / od[n]; rs[n] = gs[n] / os[n]
        printf "round %d: dense %.1f us vs Golly %.1f us (%.2fx), settled %.1f us vs Golly %.1f us (%.2fx)\n",
               n, od[n], gd[n], rd[n], os[n], gs[n], rs[n]
    }
    END {
        printf "median: dense %.1f us vs Golly %.1f us (%.2fx), settled %.1f us vs Golly %.1f us (%.2fx)\n",
               median(od, n), median(gd, n), median(rd, n), median(os, n), median(gs, n), median(rs, n)
    }'
