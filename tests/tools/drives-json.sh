#!/usr/bin/env bash
# kestrix-drives --json on folders whose names hold a byte that is not UTF-8,
# a backslash, a quote and a newline: jq must read the output, give back the
# names exactly (the invalid byte as U+FFFD, with the exact bytes in the
# name's hex twin) and the figures as numbers; -v --json adds the mounts
# left out. Usage: drives-json.sh <kestrix-drives binary>. Exit code 77
# (skipped) without jq.
set -uo pipefail
tool=${1:?usage: drives-json.sh <kestrix-drives binary>}
command -v jq >/dev/null || { echo "SKIPPED: jq is not installed"; exit 77; }

work=$(mktemp -d "${TMPDIR:-/tmp}/kestrix-json-XXXXXX")
trap 'rm -rf "$work"' EXIT
odd="$work/a"$'\xff''\"'$'\n''b'
mkdir -p "$work/plain" "$odd"
failed=0
check() { # check <what> <expected> <actual>
  if [ "$2" == "$3" ]; then echo "ok: $1"; else echo "FAILED: $1: expected [$2], got [$3]"; failed=1; fi
}
hex() { printf '%s' "$1" | od -An -tx1 | tr -d ' \n'; }

export KESTRIX_DRIVES="C=$work/plain@fixed;D=$odd@ramdisk;E=@cdrom"
out=$("$tool" --json) || { echo "FAILED: kestrix-drives --json exited with $?"; exit 1; }
echo "$out" | jq -e . >/dev/null || { echo "FAILED: not valid JSON:"; echo "$out"; exit 1; }
check "one object per letter" "C: D: E:" "$(echo "$out" | jq -r '[.[].letter] | join(" ")')"
check "figures are numbers" "number number number" "$(echo "$out" | jq -r '[.[1] | .total, .free, .cluster_size | type] | join(" ")')"
check "a drive that does not answer" "-1 -1 -1" "$(echo "$out" | jq -r '.[2] | "\(.total) \(.free) \(.cluster_size)"')"
check "root keeps its backslash" 'D:\' "$(echo "$out" | jq -r '.[1].root')"
shown="$work/a"$'\xef\xbf\xbd''\"'$'\n''b'
check "the odd name with U+FFFD" "$(hex "$shown")" "$(echo "$out" | jq -j '.[1].mount_point' | od -An -tx1 | tr -d ' \n')"
check "its exact bytes" "$(hex "$odd")" "$(echo "$out" | jq -r '.[1].mount_point_hex')"
check "a UTF-8 name has no hex twin" "null" "$(echo "$out" | jq -r '.[0].mount_point_hex')"
check "the same as the text output" "$("$tool" | cut -f6 | paste -sd' ')" "$(echo "$out" | jq -r '[.[].total] | join(" ")')"
check "one letter asked for" "D:" "$("$tool" --json d | jq -r '.[].letter')"

verbose=$("$tool" -v --json) || { echo "FAILED: kestrix-drives -v --json exited with $?"; exit 1; }
check "-v --json: drives and the mounts left out" "3 array" "$(echo "$verbose" | jq -r '"\(.drives | length) \(.left_out | type)"')"

# A letter that is not mapped: an error, and still JSON.
"$tool" --json Z >"$work/z.json" 2>"$work/z.err"
check "an unmapped letter: exit code 1" 1 "$?"
check "an unmapped letter: an empty array" "[]" "$(jq -c . "$work/z.json")"
[ "$failed" -eq 0 ] && echo PASSED
exit "$failed"
