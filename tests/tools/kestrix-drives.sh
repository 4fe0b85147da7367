#!/usr/bin/env bash
# kestrix-drives as a user runs it: its messages carry its own name, and
# folders whose names hold a backslash or a control character print so that
# no two names print alike and every field stays on its line.
#
# Usage: kestrix-drives.sh <kestrix-drives binary>
set -uo pipefail

binary=${1:?usage: kestrix-drives.sh <kestrix-drives binary>}
# shellcheck source=../support/checks.sh
. "$(dirname "$0")/../support/checks.sh"
make_work kestrix-drives
trap finish_work EXIT

tab=$(printf '\t')
# Four characters backslash, 0, 1, 1 in one name; a real tab in the other.
mkdir -p "$work/a\\011b" "$work/a${tab}b" "$work/plain"
export KESTRIX_DRIVES="D=$work/a\\011b;E=$work/a${tab}b;F=$work/plain;Q=nowhere"

"$binary" >"$work/out" 2>"$work/err"
check "exit code" 0 "$?"
# The mount point is the fifth field; the root path the fourth, as it is.
check "D: the mount point as printed" "$work/a\\\\011b" "$(awk -F'\t' '$1 == "D:" {print $5}' "$work/out")"
check "E: a tab is written as \\011" "$work/a\\011b" "$(awk -F'\t' '$1 == "E:" {print $5}' "$work/out")"
check "F: a plain folder as it is" "$work/plain" "$(awk -F'\t' '$1 == "F:" {print $5}' "$work/out")"
check "the root path field" 'D:\' "$(awk -F'\t' '$1 == "D:" {print $4}' "$work/out")"
check "twelve fields on each line" "3" "$(awk -F'\t' 'NF == 12' "$work/out" | wc -l | tr -d ' ')"
check "the message names kestrix-drives" \
  'kestrix-drives: KESTRIX_DRIVES: ignoring "Q=nowhere": the folder must be an absolute path' "$(cat "$work/err")"

KESTRIX_DRIVES="F=$work/plain" "$binary" Z >/dev/null 2>"$work/err"
check "a letter that is not mapped" "1 kestrix-drives: Z: is not mapped" "$? $(cat "$work/err")"

"$binary" --help >"$work/help"
grep -q 'a backslash is written as \\\\' "$work/help" && echo "ok: --help states the backslash rule" \
  || { failed=1; echo "FAILED: --help says nothing of backslashes"; }

[ "$failed" -eq 0 ] || exit 1
echo "PASSED"
