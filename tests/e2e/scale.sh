#!/usr/bin/env bash
# End to end on scaled desktops: the real program under Xvfb (no window
# manager) with QT_SCALE_FACTOR 1, 2 and 1.5, drives C and D on two tmpfs
# mounts of fixed fill (in a mount namespace of this script's own), so that
# every figure of the rows stays the same from one start to the next.
#  - At 2 the window is twice the one-times window in each direction, and
#    its screenshot is the one-times screenshot with every pixel doubled
#    (ImageMagick's -scale 200%, compared with compare -metric AE), except
#    for the memory panel's live readings (the three gauges and the two
#    figures), which /proc/meminfo changes between the starts: 0 pixels may
#    differ. The same with the details panel open under row C.
#  - At 2 and 1.5 the mouse hits what the picture shows: a click on row C's
#    button, at the scaled place, opens the details panel (the window grows
#    by the panel's 124 pixels times the scale), its close button closes it,
#    and the exit button ends the program.
#  - At 1.5 the window is 1.5 times the one-times window (rounded), and its
#    screenshot is close to the one-times screenshot smoothly enlarged
#    (PSNR at least 25 dB; 29 here): text at its one-times size on
#    1.5-times spacing, as Qt alone draws the bitmap fonts, gives under 20.
#
# Usage: scale.sh <kestrix binary>. Exit code 77 (skipped) without root,
# mount namespaces or a tool it needs.
set -uo pipefail

binary=${1:?usage: scale.sh <kestrix binary>}

# Into a private mount namespace first: the tmpfs mounts show nowhere else
# and vanish with it.
# shellcheck source=../support/checks.sh
. "$(dirname "$0")/../support/checks.sh"
in_mount_namespace "tmpfs mounts" "$0" "$@"

e2e_screen=1920x1200
source "$(dirname "$0")/lib.sh"
require_tools "imagemagick" compare convert

for d in c d; do
  mkdir -p "$work/drive-$d"
  mount -t tmpfs -o size=8m tmpfs "$work/drive-$d" || fail "cannot mount a tmpfs on $work/drive-$d"
done
# lib.sh's clean-up, with the mounts undone before the work folder goes.
cleanup() {
  [ -n "$app" ] && kill "$app" 2>/dev/null && wait "$app" 2>/dev/null
  umount "$work/drive-c" "$work/drive-d" 2>/dev/null
  private_display_stop
  finish_work
}
# 2 MB of 8 (25 %, green) and 7.5 MB of 8 (93 %, red).
head -c 2097152 /dev/zero >"$work/drive-c/data"
head -c 7864320 /dev/zero >"$work/drive-d/data"
export KESTRIX_DRIVES="C=$work/drive-c@fixed;D=$work/drive-d@removable"

# Starts the program at a scale and waits for its first activation; sets
# X, Y, WIDTH, HEIGHT (screen pixels) of the window.
start_at() { # <scale>
  rm -f "$work/INIVAL.INI" "$work/kespos.ini" # each start centred, unsaved
  export QT_SCALE_FACTOR=$1
  start_program
  for _ in $(seq 50); do
    eval "$(xdotool getwindowgeometry --shell "$main")"
    # The first activation fits the window from 315 to its two rows.
    [ "$HEIGHT" != "$(awk -v s="$1" 'BEGIN { printf "%d", 315 * s + 0.5 }')" ] && break
    sleep 0.1
  done
  sleep 0.3
  pointer_away
  eval "$(xdotool getwindowgeometry --shell "$main")"
}

# The design pixel (x, y) of the window at scale s, in screen pixels
# (relative to the window).
at() { awk -v s="$1" -v x="$2" -v y="$3" 'BEGIN { printf "%d %d", x * s, y * s }'; }

# Clicks design pixel (x, y) of the window at scale s.
click_at() { # <scale> <x> <y>
  # shellcheck disable=SC2046
  xdotool mousemove --window "$main" $(at "$@") click 1
}

wait_height() { # <screen height>
  for _ in $(seq 50); do
    eval "$(xdotool getwindowgeometry --shell "$main")"
    [ "$HEIGHT" = "$1" ] && return 0
    sleep 0.1
  done
  return 1
}

# The details panel opens and closes by clicks at the scaled places, and
# the exit button ends the program.
hits_follow() { # <scale> <one-times menu height> <one-times window height>
  local s=$1 menu1=$2 h1=$3 want
  click_at "$s" 13 $((menu1 + 62 + 9))
  want=$(awk -v s="$s" -v h=$((h1 + 124)) 'BEGIN { printf "%d", h * s + 0.5 }')
  wait_height "$want" && echo "ok: at $s a click on C: opens the details panel ($HEIGHT high)" ||
    check "at $s, the height after a click on C:" "$want" "$HEIGHT"
  sleep 0.3
  pointer_away
  shot "panel-$s"
  convert "$work/panel-$s.png" -crop "${WIDTH}x${HEIGHT}+$X+$Y" +repage "$work/panel-$s-window.png"
  click_at "$s" 657 $((menu1 + 62 + 20 + 21))
  want=$(awk -v s="$s" -v h="$h1" 'BEGIN { printf "%d", h * s + 0.5 }')
  wait_height "$want" && echo "ok: at $s the panel's close button closes it" ||
    check "at $s, the height after the panel's close button" "$want" "$HEIGHT"
  click_at "$s" 663 $((menu1 + 22))
  for _ in $(seq 100); do
    running || break
    sleep 0.1
  done
  running && fail "at $s the program did not end after the exit button"
  wait "$app"
  check "at $s, exit code of the program" 0 "$?"
  app=""
}

# Blacks out the memory panel's live readings of a window picture at scale s
# whose one-times height is h1: the gauges (12, 30, 390 x 57 in the bottom
# panel, which ends 19 above the window's bottom) and the two figures (470,
# 46, 141 x 41).
mask_live() { # <picture> <scale> <one-times height>
  local top=$(($3 - 19 - 90))
  convert "$1" -fill black -draw "rectangle $(at "$2" 12 $((top + 30))) $(at "$2" 402 $((top + 87)))" \
    -draw "rectangle $(at "$2" 470 $((top + 46))) $(at "$2" 611 $((top + 87)))" "$1"
}

# --- 1: the one-times picture
start_at 1
check "one-times width" 686 "$WIDTH"
w1=$WIDTH
h1=$HEIGHT
menu1=$((h1 - 171 - 2 * 20))
[ "$menu1" -gt 10 ] && [ "$menu1" -lt 40 ] || fail "unexpected one-times height $h1"
shot one
convert "$work/one.png" -crop "${WIDTH}x${HEIGHT}+$X+$Y" +repage "$work/one-window.png"
hits_follow 1 "$menu1" "$h1"

# --- 2: every pixel doubled
start_at 2
check "window size at 2" "$((2 * w1))x$((2 * h1))" "${WIDTH}x$HEIGHT"
shot two
convert "$work/two.png" -crop "${WIDTH}x${HEIGHT}+$X+$Y" +repage "$work/two-window.png"
convert "$work/one-window.png" -scale 200% "$work/one-doubled.png"
cp "$work/two-window.png" "$work/two-masked.png"
mask_live "$work/one-doubled.png" 2 "$h1"
mask_live "$work/two-masked.png" 2 "$h1"
ae=$(compare -metric AE "$work/one-doubled.png" "$work/two-masked.png" "$work/two-difference.png" 2>&1)
check "pixels of the 2x window that are not the 1x window doubled (AE)" 0 "$ae"
hits_follow 2 "$menu1" "$h1"
# The open details panel too (the walk of C's tmpfs gives the same figures
# every time).
convert "$work/panel-1-window.png" -scale 200% "$work/panel-doubled.png"
mask_live "$work/panel-doubled.png" 2 $((h1 + 124))
mask_live "$work/panel-2-window.png" 2 $((h1 + 124))
ae=$(compare -metric AE "$work/panel-doubled.png" "$work/panel-2-window.png" "$work/panel-difference.png" 2>&1)
check "pixels of the 2x window with the details panel that are not the 1x one doubled (AE)" 0 "$ae"

# --- 1.5: smoothly enlarged, captions whole
start_at 1.5
want=$(awk -v w="$w1" -v h="$h1" 'BEGIN { printf "%dx%d", w * 1.5 + 0.5, h * 1.5 + 0.5 }')
check "window size at 1.5" "$want" "${WIDTH}x$HEIGHT"
shot half
convert "$work/half.png" -crop "${WIDTH}x${HEIGHT}+$X+$Y" +repage "$work/half-window.png"
convert "$work/one-window.png" -resize "${WIDTH}x${HEIGHT}!" "$work/one-enlarged.png"
cp "$work/half-window.png" "$work/half-masked.png"
mask_live "$work/one-enlarged.png" 1.5 "$h1"
mask_live "$work/half-masked.png" 1.5 "$h1"
psnr=$(compare -metric PSNR "$work/one-enlarged.png" "$work/half-masked.png" null: 2>&1)
echo "note: PSNR of the 1.5x window against the 1x window enlarged: $psnr dB"
awk -v p="$psnr" 'BEGIN { exit !(p + 0 >= 25) }' || check "PSNR at 1.5 at least 25 dB" "yes" "$psnr"
hits_follow 1.5 "$menu1" "$h1"

[ "$failed" -eq 0 ] || exit 1
echo "PASSED"
