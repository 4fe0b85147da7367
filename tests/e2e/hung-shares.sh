#!/usr/bin/env bash
# End to end with shares that stop answering, as a dead sshfs or NFS server
# does: 1, 3 and 6 FUSE mounts (bindfs) whose daemons are stopped with
# SIGSTOP, in a mount namespace of this script's own. For each number:
#  - kestrix-drives ends within 1.5 s and prints -1 for every hung share;
#  - started with the shares hung, the window's File menu opens within
#    1.5 s of the start, and within 1.5 s more than the same start takes
#    with the shares answering;
#  - started with them answering, then hung: the refresh (Ctrl+R) and the
#    File menu behind it answer within 1.5 s, and so does a second refresh;
#  - resumed: the next refresh shows them again, and kestrix-drives prints
#    their figures.
# The daemons are resumed and the mounts undone on every way out.
#
# Usage: hung-shares.sh <kestrix binary> <kestrix-drives binary>. Exit code
# 77 (skipped) without root, mount namespaces, FUSE or a tool it needs.
set -uo pipefail

binary=${1:?usage: hung-shares.sh <kestrix> <kestrix-drives>}
drives_tool=${2:?usage: hung-shares.sh <kestrix> <kestrix-drives>}
here=$(cd "$(dirname "$0")" && pwd)

# shellcheck source=../support/checks.sh
. "$here/../support/checks.sh"
# Into a private mount namespace first: nothing mounted here shows outside.
in_mount_namespace "FUSE mounts" "$0" "$@"
# shellcheck source=../../scripts/private-display.sh
. "$here/../../scripts/private-display.sh"
require_tools "bindfs, fuse3, xvfb, xdotool" bindfs fusermount3 mountpoint Xvfb xdotool timeout
[ -c /dev/fuse ] || { echo "SKIPPED: /dev/fuse is missing"; exit 77; }

make_work kestrix-hung
app=""
daemons=()
mounts=()
resume_all() {
  local pid
  for pid in "${daemons[@]}"; do kill -CONT "$pid" 2>/dev/null; done
}
unmount_all() {
  local m pid
  resume_all
  for m in "${mounts[@]}"; do
    fusermount3 -u "$m" 2>/dev/null || umount -l "$m" 2>/dev/null
  done
  for pid in "${daemons[@]}"; do
    kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
  done
  daemons=()
  mounts=()
}
stop_app() {
  [ -n "$app" ] || return 0
  kill "$app" 2>/dev/null && wait "$app" 2>/dev/null
  app=""
}
cleanup() {
  # The daemons first: a helper thread of the program waits on them.
  resume_all
  stop_app
  unmount_all
  private_display_stop
  finish_work
}
private_display_traps

now_ms() { date +%s%3N; }
limit=$(ms_limit 1500) # one wait of about a second, and room for the rest

# mount_shares N: N bindfs mounts of folders holding a file each, their
# daemons in the foreground of a background job (so their pids are known).
mount_shares() {
  local i src mnt pid
  for i in $(seq "$1"); do
    src="$work/src$i"
    mnt="$work/share$i"
    mkdir -p "$src" "$mnt"
    echo "share $i" >"$src/file"
    bindfs -f "$src" "$mnt" 2>>"$work/bindfs.log" &
    pid=$!
    daemons+=("$pid")
    mounts+=("$mnt")
    for _ in $(seq 50); do
      mountpoint -q "$mnt" && break
      sleep 0.1
    done
    mountpoint -q "$mnt" || fail "bindfs did not mount $mnt: $(tail -n2 "$work/bindfs.log")"
  done
}

hang_all() {
  local pid
  for pid in "${daemons[@]}"; do kill -STOP "$pid"; done
}

# The letters: C: a local folder, then D: E: ... the shares.
drive_list() {
  local list="C=$work/local" i=0 letters=DEFGHIJ
  for m in "${mounts[@]}"; do
    list="$list;${letters:$i:1}=$m"
    i=$((i + 1))
  done
  echo "$list"
}

# The number of visible windows of the program: the File menu's popup adds one.
visible_windows() { xdotool search --onlyvisible --pid "$app" 2>/dev/null | wc -l; }

# Opens the File menu and waits until its popup shows; prints the time at
# which it did (ms since the epoch), nothing when it did not within 10 s.
menu_opens_at() {
  local before
  before=$(visible_windows)
  xdotool key --window "$main" alt+f 2>/dev/null
  for _ in $(seq 1000); do
    if [ "$(visible_windows)" -gt "$before" ]; then
      now_ms
      xdotool key Escape 2>/dev/null
      # Wait for the popup to go, so the next count starts from the window alone.
      for _ in $(seq 50); do
        [ "$(visible_windows)" -le "$before" ] && break
        sleep 0.02
      done
      return 0
    fi
    sleep 0.01
  done
  return 1
}

# start_app: launches the program; sets main and start (ms) and waits for
# its window; prints nothing.
start_app() {
  start=$(now_ms)
  (cd "$work" && exec ./kestrix) >>"$work/program.log" 2>&1 &
  app=$!
  main=$(find_window 'Kestrix 4\.0$' 15)
  [ -n "$main" ] || fail "the main window did not appear$(private_display_gone)"
}

# The fields of one letter in kestrix-drives' output: total and free bytes.
figures_of() { awk -F'\t' -v l="$1:" '$1 == l {print $6 " " $7}' "$2"; }

cp "$binary" "$work/kestrix" || fail "cannot copy $binary"
mkdir -p "$work/local"
export QT_QPA_PLATFORM=xcb
unset QT_SCALE_FACTOR QT_FONT_DPI QT_SCREEN_SCALE_FACTORS QT_ENABLE_HIGHDPI_SCALING QT_USE_PHYSICAL_DPI
private_display_start || fail "no private X server"

for n in 1 3 6; do
  echo "--- $n hung share(s)"
  mount_shares "$n"
  export KESTRIX_DRIVES
  KESTRIX_DRIVES=$(drive_list)

  # The same start with the shares answering, as the measure to compare with.
  start_app
  opened=$(menu_opens_at) || fail "the File menu did not open ($n shares answering)"
  alive=$((opened - start))
  stop_app

  hang_all
  t0=$(now_ms)
  timeout 10 "$drives_tool" >"$work/drives-hung.txt" 2>&1
  took=$(($(now_ms) - t0))
  echo "kestrix-drives with $n hung: ${took} ms"
  check "kestrix-drives ends within 1.5 s with $n hung" yes "$([ "$took" -lt "$limit" ] && echo yes || echo "no (${took} ms)")"
  check "the hung shares read -1 ($n)" "$n" "$(awk -F'\t' '$6 == "-1" && $7 == "-1"' "$work/drives-hung.txt" | wc -l)"
  check "the local drive still answers ($n hung)" yes "$(figures_of C "$work/drives-hung.txt" | awk '$1 > 0 {print "yes"}')"

  start_app
  opened=$(menu_opens_at) || fail "the File menu did not open ($n shares hung from the start)"
  hung=$((opened - start))
  echo "start to the File menu: ${alive} ms answering, ${hung} ms hung"
  check "the window answers within 1.5 s more with $n hung from the start" yes \
    "$([ $((hung - alive)) -lt "$limit" ] && echo yes || echo "no (${hung} ms against ${alive} ms)")"
  # The one wait runs while the window is built: within 1.5 s of the start.
  check "the window answers within 1.5 s of a start with $n hung" yes \
    "$([ "$hung" -lt "$limit" ] && echo yes || echo "no (${hung} ms)")"
  stop_app

  # Hanging while the window is up: the refresh after it, and one more.
  resume_all
  start_app
  menu_opens_at >/dev/null || fail "the File menu did not open ($n shares answering)"
  hang_all
  for which in first second; do
    t0=$(now_ms)
    xdotool key --window "$main" ctrl+r 2>/dev/null
    opened=$(menu_opens_at) || fail "the File menu did not open after the $which refresh ($n hung)"
    echo "the $which refresh after $n hung, to the File menu: $((opened - t0)) ms"
    check "the $which refresh with $n hung answers within 1.5 s" yes \
      "$([ $((opened - t0)) -lt "$limit" ] && echo yes || echo "no ($((opened - t0)) ms)")"
  done

  # Back again: shown at the next refresh, and by kestrix-drives.
  resume_all
  sleep 0.2
  xdotool key --window "$main" ctrl+r 2>/dev/null
  menu_opens_at >/dev/null || fail "the File menu did not open once the shares answer again ($n)"
  timeout 10 "$drives_tool" >"$work/drives-back.txt" 2>&1
  check "the shares answer again in kestrix-drives ($n)" 0 \
    "$(awk -F'\t' 'NR > 1 && $6 == "-1"' "$work/drives-back.txt" | wc -l)"
  stop_app
  unmount_all
done

[ "$failed" -eq 0 ] || exit 1
