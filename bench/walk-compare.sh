#!/bin/bash
# The drive walk against its floor, du, ncdu and (when installed) gdu,
# interleaved round by round
# on one folder, warm cache. Prints each walker's median wall time and
# processor time (user + system) and their ratios to the floor's medians.
#
#   bench/walk-compare.sh build/bench/bench_WalkSpeed FOLDER [ROUNDS]
#
# floor and duf1 report the times of the walk alone; du, ncdu and gdu are timed
# from outside (their start-up, a millisecond or two, included). On a shared
# machine the wall clock also holds the time other work took the processor;
# the processor times are steadier.
set -euo pipefail
bench=$1
folder=$2
rounds=${3:-7}
command -v ncdu >/dev/null || { echo "ncdu is not installed" >&2; exit 77; }
walkers="floor duf1 du ncdu"
command -v gdu >/dev/null && walkers+=" gdu"

external() {
    local TIMEFORMAT='%R %U %S'
    { time "$@" >/dev/null 2>&1; } 2>&1 | awk '{ print $1, $2 + $3 }'
}
internal() { "$bench" "$1" "$folder" 2>/dev/null | sed -n 's/.*seconds=\([0-9.]*\) cpu=\([0-9.]*\).*/\1 \2/p'; }

declare -A wall cpu
note() {
    local w=$1 t
    shift
    t=$("$@")
    wall[$w]+="${t% *} "
    cpu[$w]+="${t#* } "
}
run_round() {
    note floor internal floor
    note duf1 internal duf1
    note du external du -sx --apparent-size "$folder"
    note ncdu external ncdu -0 -x -o /dev/null "$folder"
    # gdu on both cores, as it runs by default.
    [[ $walkers == *gdu* ]] && note gdu external gdu -npxs -a "$folder"
    return 0
}

run_round # warms the cache, not counted
wall=() cpu=()
for ((r = 0; r < rounds; r++)); do
    run_round
done

median() { tr ' ' '\n' | grep . | sort -g | awk '{ a[NR] = $1 } END { print (NR % 2) ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2 }'; }
fw=$(echo "${wall[floor]}" | median)
fc=$(echo "${cpu[floor]}" | median)
printf "%-6s %9s %6s %9s %6s\n" walker wall ratio cpu ratio
for w in $walkers; do
    mw=$(echo "${wall[$w]}" | median)
    mc=$(echo "${cpu[$w]}" | median)
    printf "%-6s %9.4f %6.3f %9.4f %6.3f\n" "$w" "$mw" "$(awk "BEGIN { print $mw / $fw }")" "$mc" \
        "$(awk "BEGIN { print $mc / $fc }")"
done
for w in $walkers; do
    echo "$w wall: ${wall[$w]}"
done
"$bench" tree "$folder" 2>/dev/null
"$bench" duf1 "$folder" 2>/dev/null
