#!/bin/bash
# SPDX-License-Identifier: MIT
# Opens every file of Golly's pattern collection with kaleidomat-cli and
# checks it against Golly's own reading.
#
#   scripts/golly-collection.sh [--cli PATH] [FOLDER...]
#
# FOLDER defaults to Debian's /usr/share/golly/Patterns/Life, read
# recursively, every file whatever its format. Each file is loaded by bgolly
# and written back as RLE (bgolly -m 0 -o); a file bgolly reads, whose rule
# is Life (B3/S23) or LifeHistory and whose pattern fits 2048 x 2048 cells is
# one kaleidomat must open ("eligible"). For each file kaleidomat opens, its
# live cells (kaleidomat-cli convert FILE -) must be Golly's, cell for cell
# up to a shift (on an oblong torus, its copies over the square kaleidomat
# runs it on). Prints the counts and the files that fail; exits 1 when a
# pattern differs or fewer than 90 % of the eligible files open, 77 when
# bgolly or the collection is missing (ctest's skip code).
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cli=$root/build/bin/kaleidomat-cli
if [ "${1:-}" = --cli ]; then
    cli=$2
    shift 2
fi
folders=("$@")
[ ${#folders[@]} -gt 0 ] || folders=(/usr/share/golly/Patterns/Life)
command -v bgolly >/dev/null || { echo "skipped: bgolly is not installed" >&2; exit 77; }
for folder in "${folders[@]}"; do
    [ -d "$folder" ] || { echo "skipped: no folder $folder" >&2; exit 77; }
done
[ -x "$cli" ] || { echo "missing: $cli" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The live cells of an RLE text (two states b/o, or more states ".", "A".."X"
# with "p".."y" prefixes; odd states live, as LifeHistory's are), shifted to
# start at 0 0, one "x y" line each, sorted. The first line is the rule.
cells() {
    awk '
        /^#/ { next }
        !header && /^[ \t]*x[ \t]*=/ {
            header = 1
            rule = "B3/S23"
            # The rule runs to the end of the line (a torus "T72,48" has a comma).
            if (match($0, /rule[ \t]*=.*/)) { rule = substr($0, RSTART, RLENGTH); sub(/rule[ \t]*=[ \t]*/, "", rule); gsub(/[ \t\r]/, "", rule) }
            next
        }
        { data = data $0 }
        END {
            print rule
            x = 0; y = 0; n = 0; prefix = 0; count = ""
            len = length(data)
            for (i = 1; i <= len; i++) {
                c = substr(data, i, 1)
                if (c ~ /[0-9]/) { count = count c; continue }
                if (c ~ /[ \t\r]/) continue
                if (c == "!") break
                run = count == "" ? 1 : count + 0
                if (c ~ /[p-y]/ && substr(data, i + 1, 1) ~ /[A-X]/) { prefix = index("pqrstuvwxy", c); continue }
                count = ""
                if (c == "$") { y += run; x = 0; prefix = 0; continue }
                state = 0
                if (c == "o") state = 1
                else if (c ~ /[A-X]/) state = prefix * 24 + index("ABCDEFGHIJKLMNOPQRSTUVWX", c)
                prefix = 0
                if (state % 2 == 1)
                    for (k = 0; k < run; k++) { cx[n] = x + k; cy[n] = y; n++ }
                x += run
            }
            minx = miny = ""
            for (k = 0; k < n; k++) {
                if (minx == "" || cx[k] < minx) minx = cx[k]
                if (miny == "" || cy[k] < miny) miny = cy[k]
            }
            # An oblong torus Tw,h: copies every w columns and h rows over the
            # smallest square both divide, as kaleidomat runs it.
            tw = th = side = 0
            if (match(rule, /:T[0-9]+,[0-9]+$/)) {
                split(substr(rule, RSTART + 2), t, ","); tw = t[1] + 0; th = t[2] + 0
                for (side = tw; tw != th && side % th != 0 && side <= 2048; side += tw) ;
                if (side > 2048) tw = th = 0  # refused by kaleidomat: the cells as Golly has them
            }
            for (k = 0; k < n; k++) {
                if (tw == th) { print (cx[k] - minx) " " (cy[k] - miny) | "sort -n -k2 -k1"; continue }
                for (i = cx[k] - minx; i < side; i += tw)
                    for (j = cy[k] - miny; j < side; j += th) print i " " j | "sort -n -k2 -k1"
            }
        }'
}

files=0 scripts=0 golly_reads=0 eligible=0 opened=0 opened_eligible=0 compared=0 equal=0
failures=()
while IFS= read -r -d '' file; do
    files=$((files + 1))
    name=${file#"${folders[0]}"/}
    # Scripts and archives are run or browsed by Golly, not read as patterns
    # (bgolly reads any file as something).
    case ${file,,} in *.lua | *.py | *.zip) scripts=$((scripts + 1)); continue ;; esac
    # Golly's reading; a file it cannot load is not counted.
    rm -f "$work/golly.rle"
    # QuickLife, bgolly's default, cannot load macrocell files: HashLife can.
    if ! { timeout 60 bgolly -m 0 -q -q -o "$work/golly.rle" "$file" >/dev/null 2>&1 ||
           timeout 60 bgolly -a HashLife -m 0 -q -q -o "$work/golly.rle" "$file" >/dev/null 2>&1; } ||
       [ ! -s "$work/golly.rle" ]; then
        if "$cli" info "$file" >/dev/null 2>&1; then opened=$((opened + 1)); fi
        continue
    fi
    golly_reads=$((golly_reads + 1))
    # bgolly writes the live cells' extent in the header: a pattern larger
    # than 2048 is not read cell by cell (some have millions of cells).
    read -r width height < <(awk '!/^#/ { gsub(/[^0-9,]/, ""); split($0, v, ","); print v[1] + 0, v[2] + 0; exit }' "$work/golly.rle")
    fits=0 rule=
    if [ "$width" -le 2048 ] && [ "$height" -le 2048 ]; then
        cells <"$work/golly.rle" >"$work/golly.cells"
        rule=$(head -1 "$work/golly.cells")
    fi
    base=${rule%%:*}
    if [ "$base" = B3/S23 ] || [ "$base" = LifeHistory ]; then
        fits=1
        eligible=$((eligible + 1))
    fi
    if [ $fits = 0 ]; then
        if "$cli" info "$file" >/dev/null 2>&1; then opened=$((opened + 1)); fi
        continue
    fi
    if ! "$cli" convert "$file" - >"$work/ours.rle" 2>"$work/ours.err"; then
        failures+=("not opened: $name: $(cat "$work/ours.err")")
        continue
    fi
    opened=$((opened + 1))
    opened_eligible=$((opened_eligible + 1))
    cells <"$work/ours.rle" >"$work/ours.cells"
    compared=$((compared + 1))
    if cmp -s <(tail -n +2 "$work/golly.cells") <(tail -n +2 "$work/ours.cells"); then
        equal=$((equal + 1))
    else
        failures+=("differs: $name: Golly $(($(wc -l <"$work/golly.cells") - 1)) live cells, ours $(($(wc -l <"$work/ours.cells") - 1))")
    fi
done < <(find "${folders[@]}" -type f -print0 | sort -z)

for failure in "${failures[@]}"; do echo "$failure"; done
echo "files: $files; scripts and archives: $scripts; Golly reads: $golly_reads; fit 2048 with Life or LifeHistory: $eligible"
echo "kaleidomat opens: $opened in all, $opened_eligible of the $eligible that fit; equal to Golly's reading: $equal of $compared"
status=0
[ "$equal" -eq "$compared" ] || status=1
if [ $((opened_eligible * 10)) -lt $((eligible * 9)) ]; then
    echo "fewer than 90 % of the eligible files open" >&2
    status=1
fi
exit $status
