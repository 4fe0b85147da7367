#!/usr/bin/env bash
# End to end: the user's choices survive a restart of the real program.
#
# Runs a copy of the kestrix binary in an empty folder under Xvfb (no window
# manager: windows land where the program puts them) with two drives C and D
# on folders of its own, then, as a user would: clicks "gbytes", opens
# View > Drives, clears "Drive D", closes the dialog with its button and
# ends the program with the exit button. Checks INIVAL.INI and kespos.ini,
# starts the program again and checks on the screen that row D is hidden and
# the gbytes button is down, and ends it again.
#
# Usage: persistence.sh <kestrix binary>. Exit code 77 (skipped) when a tool
# it needs is missing.
set -uo pipefail

binary=${1:?usage: persistence.sh <kestrix binary>}
here=$(dirname "$0")
# shellcheck source=../support/checks.sh
. "$here/../support/checks.sh"
# shellcheck source=../../scripts/private-display.sh
. "$here/../../scripts/private-display.sh"
require_tools "xvfb, xdotool, x11-utils, imagemagick" Xvfb xdotool xdpyinfo import convert compare timeout

make_work kestrix-e2e
app=""
cleanup() {
  [ -n "$app" ] && kill "$app" 2>/dev/null && wait "$app" 2>/dev/null
  private_display_stop
  finish_work
}
private_display_traps

# --- the program folder and the drives
cp "$binary" "$work/kestrix" || fail "cannot copy $binary"
mkdir -p "$work/drive-c" "$work/drive-d"
echo "some data" >"$work/drive-c/file.txt"
export KESTRIX_DRIVES="C=$work/drive-c@fixed;D=$work/drive-d@fixed"
export QT_QPA_PLATFORM=xcb
unset QT_SCALE_FACTOR QT_FONT_DPI QT_SCREEN_SCALE_FACTORS QT_ENABLE_HIGHDPI_SCALING QT_USE_PHYSICAL_DPI

# --- a private X server on a free display
private_display_start || fail "no private X server"

main_title='Kestrix 4\.0$'

start_program() {
  (cd "$work" && exec ./kestrix) >>"$work/program.log" 2>&1 &
  app=$!
  main=$(find_window "$main_title" 10)
  [ -n "$main" ] || fail "the main window did not appear$(private_display_gone)"
  # The window shows once the opening outline has arrived (ten frames of
  # 50 ms); clicks before that would miss it.
  sleep 0.8
}

# Waits until the main window is the given height (the first activation
# fits it to the rows); prints its geometry as shell assignments.
wait_for_height() {
  local want=$1 height=""
  for _ in $(seq 50); do
    eval "$(xdotool getwindowgeometry --shell "$main")"
    [ "$HEIGHT" = "$want" ] && return 0
    sleep 0.1
  done
  fail "main window height: expected $want, got $HEIGHT"
}

# Whether the program still runs (an ended one that is not yet waited for
# lingers as a zombie).
running() { [ -r "/proc/$app/status" ] && ! grep -q '^State:[[:space:]]*Z' "/proc/$app/status" 2>/dev/null; }

end_program() { # with the exit button (648 + 15, 7 + 15 in the top panel)
  xdotool mousemove --window "$main" 663 $((menu + 22)) click 1
  for _ in $(seq 100); do
    running || break
    sleep 0.1
  done
  running && fail "the program did not end after the exit button"
  wait "$app"
  local rc=$?
  app=""
  check "exit code of the program" 0 "$rc"
}

pointer_away() { xdotool mousemove 1010 5; sleep 0.2; }

shot() { import -window root "$work/$1.png"; }

# crop <shot> <x> <y> <w> <h> <out>: a region of the main window.
crop() { convert "$work/$1.png" -crop "$4x$5+$((X + $2))+$((Y + $3))" +repage "$work/$6.png"; }

same() { [ "$(compare -metric AE "$work/$1.png" "$work/$2.png" null: 2>&1)" = "0" ]; }

pixel() { convert "$work/$1.png" -format "%[hex:u.p{$((X + $2)),$((Y + $3))}]" info:; }

# --- first run: empty folder, both drives shown in megabytes, centred
start_program
# Top panel 44, header 18, two rows, totals and memory 90, status bar 19,
# and the menu bar: its height is what the window has beyond 211.
eval "$(xdotool getwindowgeometry --shell "$main")"
for _ in $(seq 50); do
  [ "$HEIGHT" != 315 ] && break
  sleep 0.1
  eval "$(xdotool getwindowgeometry --shell "$main")"
done
menu=$((HEIGHT - 211))
check "first run: window centred with the height 315 (1024/2 - 686/2, 768/2 - 315/2)" "169,227" "$X,$Y"
[ "$menu" -gt 10 ] && [ "$menu" -lt 40 ] || fail "unexpected window height $HEIGHT (menu bar $menu)"
pointer_away
shot megabytes

# gbytes: the fourth unit button (258, 2, 50 x 40)
xdotool mousemove --window "$main" 283 $((menu + 22)) click 1
pointer_away
shot gigabytes
crop megabytes 96 "$menu" 212 44 units-mb
crop gigabytes 96 "$menu" 212 44 units-gb
same units-mb units-gb && fail "the unit buttons look the same after clicking gbytes"
echo "ok: first run: gbytes pressed"
# Row D's gradient starts with 0x414141 on its top line.
check "first run: row D shown" "414141" "$(pixel gigabytes 250 $((menu + 82)))"

# View > Drives from the keyboard: File menu, one menu to the right, first item.
xdotool windowfocus --sync "$main" 2>/dev/null
xdotool key alt+f
sleep 0.3
xdotool key Right
sleep 0.3
xdotool key Return
dialog=$(find_window '^Drives to show$' 5)
[ -n "$dialog" ] || fail "the dialog Drives to show did not appear"
eval "$(xdotool getwindowgeometry --shell "$dialog" | sed 's/^/D_/')"
# Top panel 30 + header 17 + two rows; centred: (1024 - 230) / 2, (768 - 87) / 2.
check "dialog: client area and place" "230x87+397+340" "${D_WIDTH}x${D_HEIGHT}+${D_X}+${D_Y}"
shot dialog
# Clear "Drive D": its caption in the second row (box at 8, 2 in the row).
xdotool mousemove --window "$dialog" 38 77 click 1
wait_for_height $((menu + 191))
# Close with the button at the top (4, 4, 33 x 23).
xdotool mousemove --window "$dialog" 20 15 click 1
for _ in $(seq 50); do
  xdotool search --onlyvisible --name '^Drives to show$' >/dev/null 2>&1 || break
  sleep 0.1
done
xdotool search --onlyvisible --name '^Drives to show$' >/dev/null 2>&1 && fail "the dialog did not close"
end_program

# --- the files of the first run
kespos=$(cat "$work/kespos.ini" 2>/dev/null)
check "kespos.ini" $'[Dialog_Positions]\nForm11024x768Left=169\nForm11024x768Top=227' "$kespos"
ini="$work/INIVAL.INI"
[ -f "$ini" ] || fail "no INIVAL.INI in the program folder"
check "INIVAL.INI: section" "[Form1]" "$(head -n1 "$ini")"
check "INIVAL.INI: one key per menu item and action" 142 "$(grep -c '=' "$ini")"
for entry in dc1=1 dd1=0 de1=1 BView=0 KBView=0 MBView=0 GBView=1 Cs0=1 StayonTop1=0; do
  check "INIVAL.INI: $entry" 1 "$(grep -cx "$entry" "$ini")"
done

# --- restart: the choices are back
start_program
wait_for_height $((menu + 191))
check "restart: window in its saved place" "169,227" "$X,$Y"
pointer_away
shot restarted
crop restarted 96 "$menu" 212 44 units-restarted
if same units-restarted units-gb && ! same units-restarted units-mb; then
  echo "ok: restart: gbytes pressed"
else
  failed=1
  echo "FAILED: restart: the unit buttons do not show gbytes pressed"
fi
# Below row C now lies the totals panel, not row D.
check "restart: row C shown" "414141" "$(pixel restarted 250 $((menu + 62)))"
row_d=$(pixel restarted 250 $((menu + 82)))
[ "$row_d" != "414141" ] && echo "ok: restart: row D hidden" || { failed=1; echo "FAILED: restart: row D shown"; }
end_program

# Qt warns on every start when it finds no runtime folder.
check "no warning about XDG_RUNTIME_DIR in the program's output" 0 "$(grep -c XDG_RUNTIME_DIR "$work/program.log")"

[ "$failed" -eq 0 ] || exit 1
echo
echo "--- INIVAL.INI"
cat "$work/INIVAL.INI"
echo "--- kespos.ini"
cat "$work/kespos.ini"
echo "PASSED"
