# Shared by the end-to-end scripts: tools, a work folder, a private X server
# and the real program in it. Source it, then call e2e_setup <binary>.
#
# e2e_setup checks the tools (exit 77, skipped, when one is missing), makes
# $work, starts Xvfb on a display it picks itself (-displayfd) and exports
# DISPLAY; the trap removes everything again on every way out (the work
# folder is kept when a check failed).

e2e_tools=(Xvfb xdotool xdpyinfo import convert compare timeout)
work=""
xvfb=""
app=""
failed=0

e2e_cleanup() {
  [ -n "$app" ] && kill "$app" 2>/dev/null && wait "$app" 2>/dev/null
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null && wait "$xvfb" 2>/dev/null
  [ -n "$work" ] || return 0
  if [ "$failed" -eq 0 ]; then
    rm -rf "$work"
  else
    echo "Screenshots and files kept in $work"
  fi
}

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

e2e_setup() { # e2e_setup <kestrix binary>
  binary=${1:?usage: $0 <kestrix binary>}
  for tool in "${e2e_tools[@]}"; do
    if ! command -v "$tool" >/dev/null 2>&1; then
      echo "SKIPPED: $tool is not installed (packages xvfb, xdotool, x11-utils, imagemagick)"
      exit 77
    fi
  done
  work=$(mktemp -d "${TMPDIR:-/tmp}/kestrix-e2e-XXXXXX")
  trap e2e_cleanup EXIT
  export QT_QPA_PLATFORM=xcb
  unset QT_SCALE_FACTOR QT_FONT_DPI QT_SCREEN_SCALE_FACTORS QT_ENABLE_HIGHDPI_SCALING QT_USE_PHYSICAL_DPI
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
}

main_title='Kestrix 4\.0$'

# Whether the program still runs (an ended one that is not yet waited for
# lingers as a zombie).
running() { [ -r "/proc/$app/status" ] && ! grep -q '^State:[[:space:]]*Z' "/proc/$app/status" 2>/dev/null; }

# Starts ./kestrix in the folder $1 (default $work) and waits up to 10 s for
# its main window; sets $main, and $shown_ms, the milliseconds until the
# window was on screen.
start_program() {
  local folder=${1:-$work} started
  started=$(date +%s%N)
  (cd "$folder" && exec ./kestrix) >>"$work/program.log" 2>&1 &
  app=$!
  main=""
  for _ in $(seq 400); do
    main=$(xdotool search --onlyvisible --name "$main_title" 2>/dev/null | head -n1)
    [ -n "$main" ] && break
    running || break
    sleep 0.025
  done
  shown_ms=$((($(date +%s%N) - started) / 1000000))
  [ -n "$main" ] || fail "the main window did not appear"
}

# Waits for the program to end by itself (up to $1 tenths of a second,
# default 100) and checks that it ended with exit code 0.
wait_for_exit() {
  local tenths=${1:-100} rc
  for _ in $(seq "$tenths"); do
    running || break
    sleep 0.1
  done
  running && fail "the program did not end"
  wait "$app"
  rc=$?
  app=""
  check "exit code of the program" 0 "$rc"
}
