#!/usr/bin/env bash
# End to end: the details panel of the real program, and a walk that the
# user leaves.
#
# Runs a copy of the kestrix binary under Xvfb (no window manager) with
# drive C on a small folder of its own and drive D on "/". Clicks "C:" and
# checks that the window grows by the panel's 124 pixels and that the panel
# shows its legend under row C; closes it with its button. Then clicks "D:",
# so that the whole of "/" is walked, and while the status bar's LED shows
# the walk (a small "/" may be walked before the click lands: then this part
# is skipped), ends the program with the exit button: it must end within a
# second.
#
# Usage: details.sh <kestrix binary>. Exit code 77 (skipped) when a tool it
# needs is missing.
set -uo pipefail

binary=${1:?usage: details.sh <kestrix binary>}
source "$(dirname "$0")/lib.sh"

mkdir -p "$work/drive-c/sub"
echo "some data" >"$work/drive-c/file.txt"
echo "more" >"$work/drive-c/sub/inner.txt"
export KESTRIX_DRIVES="C=$work/drive-c@fixed;D=/@fixed"

start_program
wait_for_first_activation 2
[ "$menu" -gt 10 ] && [ "$menu" -lt 40 ] || fail "unexpected window height $HEIGHT"
closed=$HEIGHT
pointer_away
shot start
# The status bar's LED (663, 1 in the bar, 16 x 16), lime while no walk runs.
led_y=$((HEIGHT - 19 + 9))
led_idle=$(pixel start 671 "$led_y")

# --- C: the panel opens under row C (top 62 + 20 below the menu bar)
xdotool mousemove --window "$main" 13 $((menu + 62 + 9)) click 1
wait_for_height $((closed + 124))
echo "ok: C: the window grew by 124"
pointer_away
shot panel-c
panel=$((menu + 82))
# The legend's circles: yellow (552, 80), red (620, 80), black (636, 98).
check "C: legend, files" "FFFF00" "$(pixel panel-c 559 $((panel + 87)))"
check "C: legend, wasted" "FF0000" "$(pixel panel-c 627 $((panel + 87)))"
check "C: legend, free" "000000" "$(pixel panel-c 643 $((panel + 105)))"
# The close button (640, 4, 34 x 34 in the panel).
xdotool mousemove --window "$main" 657 $((panel + 21)) click 1
wait_for_height "$closed"
echo "ok: C: the close button gave the height back"

# --- D: "/" is walked; the program is ended during the walk
xdotool mousemove --window "$main" 13 $((menu + 82 + 9)) click 1
sleep 0.3
shot walking
if [ "$(pixel walking 671 "$led_y")" = "$led_idle" ]; then
  echo "note: the walk of / ended before it could be looked at; the exit during a walk is not tried"
  end_program
else
  echo "ok: D: the walk of / runs (the LED is no longer lime)"
  started=$(date +%s%N)
  xdotool mousemove --window "$main" 663 $((menu + 22)) click 1
  for _ in $(seq 300); do
    running || break
    sleep 0.01
  done
  ended=$(date +%s%N)
  running && fail "the program did not end after the exit button"
  wait "$app"
  rc=$?
  app=""
  check "D: exit code after the exit during the walk" 0 "$rc"
  took=$(((ended - started) / 1000000))
  echo "the program ended $took ms after the exit click"
  [ "$took" -le "$(ms_limit 1000)" ] || fail "the program took $took ms to end during a walk"
fi

[ "$failed" -eq 0 ] || exit 1
echo "PASSED"
