#!/usr/bin/env bash
# Runs one fuzz target for a while from its seed corpus, as the ctest label
# "fuzz" does: run-fuzz.sh <target binary> <seconds> <tests/fuzz folder>
# <work folder> [more libFuzzer flags]. New inputs go to
# <work>/<target>/corpus, never into the repository; a crash, leak, timeout
# or broken property leaves its input in <work>/<target>/ and fails.
set -uo pipefail
binary=${1:?usage: run-fuzz.sh <target> <seconds> <tests/fuzz> <work> [flags]}
seconds=${2:?}
source_dir=${3:?}
work_root=${4:?}
shift 4
name=$(basename "$binary")
work="$work_root/$name"
mkdir -p "$work/corpus"
rm -f "$work"/crash-* "$work"/leak-* "$work"/timeout-* "$work"/oom-*

flags=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=8192
       -print_final_stats=1 -artifact_prefix="$work/")
[ -f "$source_dir/$name.dict" ] && flags+=(-dict="$source_dir/$name.dict")
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}"
# Leaks inside system libraries that live as long as the process.
export LSAN_OPTIONS="${LSAN_OPTIONS:-suppressions=$source_dir/../../.ci/lsan.supp:print_suppressions=0}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
export QT_QPA_PLATFORM=offscreen

"$binary" "${flags[@]}" "$@" "$work/corpus" "$source_dir/corpus/$name" >"$work/log" 2>&1
rc=$?
found=$(ls "$work"/crash-* "$work"/leak-* "$work"/timeout-* "$work"/oom-* 2>/dev/null)
if [ "$rc" -ne 0 ] || [ -n "$found" ]; then
  tail -n 80 "$work/log"
  echo "FAILED: $name (exit $rc); input kept: ${found:-none}"
  echo "Reproduce: $binary ${found:-<input>}"
  exit 1
fi
grep -E '^(#[0-9]+.*DONE|stat::)' "$work/log" | head -n 12
echo "PASSED: $name, $seconds s, corpus $(ls "$work/corpus" | wc -l) inputs"
