#!/usr/bin/env bash
# End to end under a window manager (openbox), as on a desktop: the window
# opens at its saved place, and the drives dialog belongs to the main window,
# asks for no minimise or maximise box, and minimised with its main window
# (the window manager minimises the two together) comes back with it.
#
# Usage: window-manager.sh <kestrix binary>. Exit code 77 (skipped) when a
# tool it needs is missing.
set -uo pipefail

binary=${1:?usage: window-manager.sh <kestrix binary>}
here=$(dirname "$0")
# shellcheck source=../support/checks.sh
. "$here/../support/checks.sh"
# shellcheck source=../../scripts/private-display.sh
. "$here/../../scripts/private-display.sh"
require_tools "xvfb, openbox, xdotool, x11-utils, imagemagick" Xvfb openbox xdotool xprop xwininfo import timeout

app_work kestrix-wm

map_state() { xwininfo -id "$1" 2>/dev/null | sed -n 's/^ *Map State: *//p'; }

wait_map_state() { # wait_map_state <window> <state>
  for _ in $(seq 50); do
    [ "$(map_state "$1")" = "$2" ] && return 0
    sleep 0.1
  done
  return 1
}

# The top-left corner of a window's frame: its place on the screen (as
# xwininfo tells it; xdotool counts the frame's offset twice) less the
# frame's left and top extents.
frame_place() {
  local extents left top X Y
  X=$(xwininfo -id "$1" | sed -n 's/^ *Absolute upper-left X: *//p')
  Y=$(xwininfo -id "$1" | sed -n 's/^ *Absolute upper-left Y: *//p')
  extents=$(xprop -id "$1" _NET_FRAME_EXTENTS | sed -n 's/.*= *//p')
  left=$(cut -d, -f1 <<<"$extents" | tr -d ' ')
  top=$(cut -d, -f3 <<<"$extents" | tr -d ' ')
  echo "$((X - ${left:-0})),$((Y - ${top:-0}))"
}

cp "$binary" "$work/kestrix" || fail "cannot copy $binary"
mkdir -p "$work/drive-c" "$work/drive-d"
export KESTRIX_DRIVES="C=$work/drive-c@fixed;D=$work/drive-d@fixed"
export QT_QPA_PLATFORM=xcb
unset QT_SCALE_FACTOR QT_FONT_DPI QT_SCREEN_SCALE_FACTORS QT_ENABLE_HIGHDPI_SCALING QT_USE_PHYSICAL_DPI
printf '[Dialog_Positions]\nForm11024x768Left=300\nForm11024x768Top=500\n' >"$work/kespos.ini"

private_display_start || fail "no private X server"
private_display_wm || fail "openbox did not start"

(cd "$work" && exec ./kestrix) >"$work/program.log" 2>&1 &
app=$!
main=$(find_window 'Kestrix 4\.0$' 10)
[ -n "$main" ] || fail "the main window did not appear$(private_display_gone)"
wait_for_first_activation 2
# Framed by the window manager, or a frame-less window would pass for one
# whose frame is at the saved place.
for _ in $(seq 100); do
  xprop -id "$main" _NET_FRAME_EXTENTS 2>/dev/null | grep -q '= ' && break
  sleep 0.1
done
xprop -id "$main" _NET_FRAME_EXTENTS 2>/dev/null | grep -q '= ' || fail "the window manager does not frame the window"

[ "$menu" -gt 10 ] && [ "$menu" -lt 40 ] || fail "unexpected window height $HEIGHT"
sleep 0.3
check "the window's frame at its saved place" "300,500" "$(frame_place "$main")"

# View > Drives from the keyboard.
xdotool windowactivate --sync "$main" 2>/dev/null
xdotool key alt+f
sleep 0.3
xdotool key Right
sleep 0.3
xdotool key Return
dialog=$(find_window '^Drives to show$' 5)
[ -n "$dialog" ] || fail "the dialog Drives to show did not appear"
sleep 0.3
import -window root "$work/dialog.png"
check "the dialog belongs to the main window" "$(printf '0x%x' "$main")" \
  "$(xprop -id "$dialog" WM_TRANSIENT_FOR | sed -n 's/.*# *//p')"
# Motif hints: flags, functions, decorations. No minimise (8) or maximise
# (16) among the functions, and no such boxes (32, 64) among the decorations.
read -r _ functions decorations _ <<<"$(xprop -id "$dialog" _MOTIF_WM_HINTS | sed -n 's/.*= *//p' | tr -d ',')"
check "the dialog asks for no minimise or maximise" "0 0" \
  "$(( ${functions:-0x18} & 0x18 )) $(( ${decorations:-0x60} & 0x60 ))"
check "the dialog asks for its close box" 32 "$(( ${functions:-0} & 0x20 ))"

# openbox offers to minimise every window whatever it asks for: minimised,
# the dialog takes the main window along, and both come back together.
# A request sent while the window manager is still taking the dialog in
# can be lost on a busy machine: ask again.
for _ in 1 2 3; do
  xdotool windowminimize "$dialog"
  wait_map_state "$dialog" IsUnMapped && break
done
[ "$(map_state "$dialog")" = IsUnMapped ] || fail "the dialog was not minimised"
check "minimising the dialog minimises the main window too" IsUnMapped "$(map_state "$main")"
xdotool windowactivate "$main" 2>/dev/null
wait_map_state "$main" IsViewable || fail "the main window did not come back"
wait_map_state "$dialog" IsViewable
check "the dialog comes back with the main window" IsViewable "$(map_state "$dialog")"

# Close the dialog with its button (4, 4, 33 x 23), end with the exit button.
sleep 0.5
for _ in $(seq 5); do
  xdotool mousemove --window "$dialog" 20 15 click 1
  for _ in $(seq 20); do
    xdotool search --onlyvisible --name '^Drives to show$' >/dev/null 2>&1 || break 2
    sleep 0.1
  done
done
xdotool search --onlyvisible --name '^Drives to show$' >/dev/null 2>&1 && fail "the dialog did not close"
xdotool mousemove --window "$main" 663 $((menu + 22)) click 1
for _ in $(seq 100); do
  kill -0 "$app" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$app" 2>/dev/null && fail "the program did not end after the exit button"
wait "$app"
app=""
check "kespos.ini keeps the place" $'[Dialog_Positions]\nForm11024x768Left=300\nForm11024x768Top=500' \
  "$(cat "$work/kespos.ini")"

[ "$failed" -eq 0 ] || exit 1
echo "PASSED"
