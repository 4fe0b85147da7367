#!/usr/bin/env bash
# Shows that the fuzzers find real faults: plants each fault of
# tests/fuzz/planted/ (or the patches named) in the source tree, builds the
# target its first line names in the fuzz build, runs it for
# $KESTRIX_FUZZ_SECONDS (60) from the seed corpus alone, as a fresh CI clone
# would, and takes the fault out again, also when interrupted. Fails when a
# target does not find its fault in time.
#
#   tests/fuzz/check-planted.sh [patch...]
#
# Needs a configured fuzz build (scripts/fuzz.sh makes one); the tree must
# have no changes of its own in the planted files. Not part of CI: each
# patch rebuilds a library.
set -uo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
build=${KESTRIX_FUZZ_BUILD_DIR:-$top/build-fuzz}
seconds=${KESTRIX_FUZZ_SECONDS:-60}
[ -f "$build/build.ninja" ] || { echo "no fuzz build in $build: run scripts/fuzz.sh first"; exit 2; }
if [ $# -eq 0 ]; then
  set -- "$top"/tests/fuzz/planted/*.patch
fi

planted=""
revert() {
  if [ -n "$planted" ]; then
    git -C "$top" apply -R "$planted" || echo "COULD NOT TAKE OUT $planted: revert it by hand"
    planted=""
  fi
}
trap revert EXIT
trap 'exit 130' INT TERM

missed=0
results=()
for patch in "$@"; do
  patch=$(cd "$(dirname "$patch")" && pwd)/$(basename "$patch")
  name=$(basename "$patch" .patch)
  target=$(sed -n '1s/^Target: *//p' "$patch")
  [ -n "$target" ] || { echo "$patch: no Target line"; exit 2; }
  echo "=== $name -> $target"
  git -C "$top" apply --check "$patch" || { echo "$patch does not apply"; exit 2; }
  git -C "$top" apply "$patch" && planted=$patch
  if ! cmake --build "$build" -j "${KESTRIX_JOBS:-2}" --target "$target" >"$build/planted-build.log" 2>&1; then
    tail -n 30 "$build/planted-build.log"
    echo "the planted fault does not build"
    exit 2
  fi
  work=$(mktemp -d "${TMPDIR:-/tmp}/kestrix-planted-XXXXXX")
  started=$(date +%s%N)
  "$top/tests/fuzz/run-fuzz.sh" "$build/tests/fuzz/$target" "$seconds" "$top/tests/fuzz" "$work" >"$work/run.log" 2>&1
  rc=$?
  ms=$((($(date +%s%N) - started) / 1000000))
  revert
  if [ "$rc" -ne 0 ]; then
    # No "#N" line: it failed while replaying the seed corpus.
    units=$(grep -oE '^#[0-9]+' "$work/$target/log" | tail -n1)
    units=${units:+after ${units#\#} inputs}
    why=$(grep -m1 -oE '(==== broken property: .*|ERROR: (AddressSanitizer|LeakSanitizer|libFuzzer): [a-z-]+|runtime error: .*)' \
      "$work/$target/log" | cut -c1-160)
    results+=("found   $name by $target in $((ms / 1000)) s (${units:-on a seed input}): $why")
    rm -rf "$work"
  else
    missed=1
    results+=("MISSED  $name by $target in $seconds s (log in $work)")
  fi
  echo "${results[-1]}"
done
# The fuzz build holds the planted code until rebuilt.
cmake --build "$build" -j "${KESTRIX_JOBS:-2}" --target fuzz_targets >"$build/planted-build.log" 2>&1 ||
  echo "rebuilding the fuzz targets failed: see $build/planted-build.log"
echo
printf '%s\n' "${results[@]}"
exit "$missed"
