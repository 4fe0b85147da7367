#!/usr/bin/env bash
# Start to the first painted main window, Kestrix against a minimal Qt 6
# main window (bench_minimal_main_window), timed alike by firstpaint (an X
# Damage watcher: from just before exec to the first grab of the window that
# holds two colours) on an X server of its own, in turn, RUNS times each.
# Prints the medians of "first paint" and "settled" (no more change for
# 300 ms) and their ratios to the minimal program's. Kestrix's window grows
# from an outline first (the zoom animation, about 450 ms), during which it
# is masked away; the script therefore also gives the first paint of the
# window's content with the animation left out (KESTRIX_NO_ZOOM=1 disables it
# for the measurement only).
#
# Usage: bench/StartupVsMinimal.sh [build folder] [RUNS]  (default build, 30)
set -uo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$top/build}" && pwd)
runs=${2:-30}
firstpaint_src=${FIRSTPAINT_SRC:-$top/../shared/bench/firstpaint.c}
[ -f "$firstpaint_src" ] || firstpaint_src=/work/shared/bench/firstpaint.c
# shellcheck source=../scripts/private-display.sh
. "$top/scripts/private-display.sh"

fp="$build/bench/firstpaint"
[ -x "$fp" ] || cc -O2 -o "$fp" "$firstpaint_src" -lX11 -lXdamage -lXfixes || exit 1
kestrix="$build/src/app/kestrix"
[ -x "$kestrix" ] || kestrix=$(find "$build" -name kestrix -type f -perm -u+x | head -n1)
minimal="$build/bench/bench_minimal_main_window"
[ -x "$kestrix" ] && [ -x "$minimal" ] || { echo "build kestrix and bench_minimal_main_window first"; exit 1; }

work=$(mktemp -d /tmp/kestrix-startup-XXXXXX)
cleanup() { private_display_stop; rm -rf "$work"; }
private_display_traps
private_display_start || exit 1
cp "$kestrix" "$work/kestrix"
mkdir -p "$work/c"
export KESTRIX_DRIVES="C=$work/c"
export QT_QPA_PLATFORM=xcb

field() { sed -n "s/.*\"main\":1,[^}]*\"$1\":\([0-9.]*\).*/\1/p"; }
one() { # one <tag> <title> <command...>
  local tag=$1 title=$2
  shift 2
  (cd "$work" && "$fp" -d "$DISPLAY" -m "$title" -s 300 -t 10000 -- "$@") >"$work/out.json" 2>/dev/null
  echo "$(field paint_ms <"$work/out.json") $(field last_change_ms <"$work/out.json")" >>"$work/times-$tag"
}
for i in $(seq "$runs"); do
  one minimal "Minimal" "$minimal"
  one kestrix "Kestrix 4.0" ./kestrix
  KESTRIX_NO_ZOOM=1 one nozoom "Kestrix 4.0" ./kestrix
done
median() { sort -n | awk '{a[NR]=$1} END {if (NR) print (NR % 2 ? a[(NR+1)/2] : (a[NR/2] + a[NR/2+1]) / 2)}'; }
m_first=$(awk '{print $1}' "$work/times-minimal" | median)
m_settled=$(awk '{print $2}' "$work/times-minimal" | median)
echo "load: $(cut -d' ' -f1-3 /proc/loadavg)   runs: $runs each, interleaved"
for tag in minimal kestrix nozoom; do
  first=$(awk '{print $1}' "$work/times-$tag" | median)
  settled=$(awk '{print $2}' "$work/times-$tag" | median)
  awk -v t="$tag" -v f="$first" -v s="$settled" -v mf="$m_first" -v ms="$m_settled" \
    'BEGIN {printf "%-8s first paint %7.1f ms (%.2f x minimal)   settled %7.1f ms (%.2f x minimal)\n", t, f, f / mf, s, s / ms}'
done
