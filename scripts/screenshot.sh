#!/usr/bin/env bash
# Takes the README's screenshot of the real window (docs/kestrix.png, or the
# file given): builds Kestrix, mounts four tmpfs drives of known fill in a
# mount namespace of its own, starts a copy of the program from an empty
# folder (so with the default settings) under Xvfb (its own display, with
# the openbox window manager for the frame) and photographs the window
# with its frame.
# Needs root (for the mounts); run it again when the window changes.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${KESTRIX_BUILD_DIR:-$top/build}
out=$(realpath -m "${1:-$top/docs/kestrix.png}")
[ "$(id -u)" -eq 0 ] || { echo "screenshot.sh needs root to mount its drives"; exit 2; }
for tool in Xvfb openbox xdotool import unshare fallocate; do
  command -v "$tool" >/dev/null || { echo "screenshot.sh needs $tool (scripts/deps.sh installs it)"; exit 2; }
done
KESTRIX_BUILD_TARGETS=kestrix "$top/scripts/build.sh" >/dev/null

# shellcheck source=private-display.sh
. "$top/scripts/private-display.sh"
work=$(mktemp -d /tmp/kestrix-shot-XXXXXX)
app=""
cleanup() {
  [ -n "$app" ] && kill "$app" 2>/dev/null && wait "$app" 2>/dev/null
  private_display_stop
  rm -rf "$work"
}
private_display_traps
mkdir -p "$work/program"
cp "$build/kestrix" "$work/program/"
private_display_start 1024x768 || exit 1
private_display_wm || { echo "screenshot.sh needs openbox for the window frame"; exit 2; }

# Name, size in MiB, MiB written, type: 47 %, 71 %, 94 % and a removable 30 %.
drives="System 400 188 fixed
Data 200 142 fixed
Backup 100 94 fixed
USB 64 19 removable"
unshare -m --propagation private bash -c '
  set -e
  map=""
  letter=C
  while read -r name size used type; do
    dir="$1/drives/$name"
    mkdir -p "$dir"
    mount -t tmpfs -o size=${size}m "kestrix-$name" "$dir"
    fallocate -l ${used}MiB "$dir/data"
    map="$map$letter=$dir@$type;"
    letter=$(echo "$letter" | tr C-Y D-Z)
  done <<<"$2"
  cd "$1/program"
  KESTRIX_DRIVES=$map QT_QPA_PLATFORM=xcb exec ./kestrix' sh "$work" "$drives" >"$work/program.log" 2>&1 &
app=$!
main=$(timeout 20 xdotool search --sync --onlyvisible --name 'Kestrix 4\.0$' | head -n1)
[ -n "$main" ] || { cat "$work/program.log"; echo "the window did not appear"; exit 1; }
sleep "${KESTRIX_SHOT_DELAY:-2}"
xdotool mousemove 1020 760
sleep 0.5
mkdir -p "$(dirname "$out")"
import -frame -window "$main" "$out"
echo "saved $out ($(identify -format '%wx%h' "$out"))"
