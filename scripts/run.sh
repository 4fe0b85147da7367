#!/usr/bin/env bash
# Installs what is missing, builds Kestrix (the program and kestrix-drives,
# not the tests) and starts it. Without a display it starts the program on
# an X server of its own (Xvfb, with the openbox window manager when
# installed) for a few seconds and saves a screenshot to
# kestrix-screenshot.png.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=private-display.sh
. "$top/scripts/private-display.sh"

app=""
runtime=""
cleanup() {
  if [ -n "$app" ]; then
    kill "$app" 2>/dev/null && wait "$app" 2>/dev/null || true
  fi
  private_display_stop
  [ -n "$runtime" ] && rm -rf "$runtime"
  return 0
}
private_display_traps

"$top/scripts/deps.sh"
KESTRIX_BUILD_TARGETS="kestrix kestrix-drives" "$top/scripts/build.sh"
build=${KESTRIX_BUILD_DIR:-$top/build}

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1 || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  # A desktop without a runtime folder (su, a container) would have Qt warn.
  if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
    runtime=$(mktemp -d "${TMPDIR:-/tmp}/kestrix-runtime-XXXXXX")
    chmod 700 "$runtime"
    export XDG_RUNTIME_DIR="$runtime"
  fi
  "$build/kestrix" &
  app=$!
  rc=0
  wait "$app" || rc=$?
  app=""
  exit "$rc"
fi

shot=${KESTRIX_SCREENSHOT:-$top/kestrix-screenshot.png}
private_display_start
private_display_wm || true
"$build/kestrix" &
app=$!
sleep "${KESTRIX_SHOT_DELAY:-3}"
if ! kill -0 "$app" 2>/dev/null; then
  rc=0
  wait "$app" || rc=$?
  app=""
  echo "Kestrix ended early (exit code $rc) on the private display $DISPLAY" >&2
  exit 1
fi
import -window root "$shot"
echo "No display: Kestrix ran on a private X server ($DISPLAY); screenshot saved to $shot"
