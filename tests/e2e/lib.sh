# Shared by the end-to-end scripts: the tools, a work folder, a private X
# server, the program started from a copy in the work folder, checks.
# Source it after setting `binary`; it sets `work`, `main` and DISPLAY.

for tool in Xvfb xdotool xdpyinfo import convert compare timeout; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "SKIPPED: $tool is not installed (packages xvfb, xdotool, x11-utils, imagemagick)"
    exit 77
  fi
done

work=$(mktemp -d "${TMPDIR:-/tmp}/kestrix-e2e-XXXXXX")
xvfb=""
app=""
failed=0

cleanup() {
  [ -n "$app" ] && kill "$app" 2>/dev/null && wait "$app" 2>/dev/null
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null && wait "$xvfb" 2>/dev/null
  if [ "$failed" -eq 0 ]; then
    rm -rf "$work"
  else
    echo "Screenshots and files kept in $work"
  fi
}
trap cleanup EXIT

fail() {
  echo "FAILED: $*"
  failed=1
  exit 1
}

check() { # check <what> <expected> <actual>
  if [ "$2" != "$3" ]; then
    failed=1
    echo "FAILED: $1: expected [$2], got [$3]"
  else
    echo "ok: $1"
  fi
}

cp "$binary" "$work/kestrix" || fail "cannot copy $binary"
export QT_QPA_PLATFORM=xcb
unset QT_SCALE_FACTOR QT_FONT_DPI QT_SCREEN_SCALE_FACTORS QT_ENABLE_HIGHDPI_SCALING QT_USE_PHYSICAL_DPI

# --- a private X server on a free display
Xvfb -displayfd 5 -screen 0 1024x768x24 -nolisten tcp 5>"$work/display" >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 50); do
  [ -s "$work/display" ] && break
  sleep 0.1
done
[ -s "$work/display" ] || fail "Xvfb did not start"
export DISPLAY=":$(head -n1 "$work/display")"
for _ in $(seq 50); do
  xdpyinfo >/dev/null 2>&1 && break
  sleep 0.1
done

main_title='Kestrix 4\.0$'

start_program() {
  (cd "$work" && exec ./kestrix) >>"$work/program.log" 2>&1 &
  app=$!
  main=$(timeout 10 xdotool search --sync --onlyvisible --name "$main_title" | head -n1)
  [ -n "$main" ] || fail "the main window did not appear"
}

# Waits for the first activation, which fits the window from its first
# height 315 to its rows, and sets `menu`, the menu bar's height: what the
# window has beyond 152 + 20 per row + the status bar's 19. Prints the
# geometry as shell assignments.
wait_for_first_activation() { # <rows>
  eval "$(xdotool getwindowgeometry --shell "$main")"
  for _ in $(seq 50); do
    [ "$HEIGHT" != 315 ] && break
    sleep 0.1
    eval "$(xdotool getwindowgeometry --shell "$main")"
  done
  menu=$((HEIGHT - 171 - 20 * $1))
}

# Waits until the main window is the given height; prints its geometry as
# shell assignments.
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
