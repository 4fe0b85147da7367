# Shared by the end-to-end scripts that run the main window: the tools, a
# work folder with a copy of the program, a private X server (optionally
# with openbox), the program started and ended as a user would, and checks.
# Source it after setting `binary` (and `e2e_screen`, the screen's size,
# when 1024x768 is too small); it sets `work` and DISPLAY, and
# start_program sets `app` and `main`. A script that wants a window manager
# calls private_display_wm itself.

e2e_here=$(dirname "${BASH_SOURCE[0]}")
# shellcheck source=../support/checks.sh
. "$e2e_here/../support/checks.sh"
# shellcheck source=../../scripts/private-display.sh
. "$e2e_here/../../scripts/private-display.sh"
require_tools "xvfb, xdotool, x11-utils, imagemagick" Xvfb xdotool xdpyinfo import convert compare timeout

app_work kestrix-e2e

cp "$binary" "$work/kestrix" || fail "cannot copy $binary"
export QT_QPA_PLATFORM=xcb
unset QT_SCALE_FACTOR QT_FONT_DPI QT_SCREEN_SCALE_FACTORS QT_ENABLE_HIGHDPI_SCALING QT_USE_PHYSICAL_DPI

# A script may ask for a larger screen (e2e_screen=WIDTHxHEIGHT).
private_display_start "${e2e_screen:-}" || fail "no private X server"

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

# Waits until the main window is the given height; prints its geometry as
# shell assignments.
wait_for_height() {
  local want=$1
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

# Ends the program with the exit button (648 + 15, 7 + 15 in the top panel;
# `menu` is the menu bar's height).
end_program() {
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

pixel() { convert "$work/$1.png" -format "%[hex:u.p{$((X + $2)),$((Y + $3))}]" info:; }
