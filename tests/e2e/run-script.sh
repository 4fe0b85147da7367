#!/usr/bin/env bash
# End to end: the README's run command, scripts/run.sh, without a display.
#
# The build is replaced by a stand-in cmake that notes what it is asked to
# build, and the program by a stand-in that notes the display and runtime
# folder it was given. Checks that the script builds the program and
# kestrix-drives and no test, starts the program on an X server the script
# started itself with a private runtime folder, saves the screenshot, and
# leaves no X server or folder behind: after a normal end and after a
# SIGTERM that arrives before the program is started.
#
# Usage: run-script.sh <source folder>. Exit code 77 (skipped) when a tool
# it needs is missing.
set -uo pipefail

top=${1:?usage: run-script.sh <source folder>}
# shellcheck source=../support/checks.sh
. "$(dirname "$0")/../support/checks.sh"
require_tools "xvfb, x11-utils, imagemagick" Xvfb xdpyinfo import

make_work kestrix-run
runner=""
cleanup() {
  [ -n "$runner" ] && kill "$runner" 2>/dev/null && wait "$runner" 2>/dev/null
  finish_work
}
trap cleanup EXIT

# Whether an X server still answers on the display, or its socket is left.
server_left() { xdpyinfo -display "$1" >/dev/null 2>&1 || [ -e "/tmp/.X11-unix/X${1#:}" ]; }

mkdir -p "$work/bin" "$work/build"
# cmake: notes its arguments, builds nothing.
cat >"$work/bin/cmake" <<EOF
#!/bin/sh
echo "\$*" >>"$work/cmake.log"
EOF
# The program: notes what it was given, then waits to be ended.
cat >"$work/build/kestrix" <<EOF
#!/bin/sh
echo "\$DISPLAY" >"$work/app.display"
echo "\${XDG_RUNTIME_DIR:-}" >"$work/app.runtime"
[ -n "\${XDG_RUNTIME_DIR:-}" ] && stat -c '%a %u' "\$XDG_RUNTIME_DIR" >"$work/app.runtime-mode"
exec sleep 60
EOF
# A window manager that never comes up: the script waits for it.
mkdir -p "$work/wm"
cat >"$work/wm/openbox" <<EOF
#!/bin/sh
echo "\$DISPLAY" >"$work/wm.display"
echo "\${XDG_RUNTIME_DIR:-}" >"$work/wm.runtime"
exec sleep 60
EOF
# Nothing is installed by the test, whatever is missing.
printf '#!/bin/sh\nexit 0\n' >"$work/bin/apt-get"
chmod +x "$work/bin/cmake" "$work/bin/apt-get" "$work/wm/openbox" "$work/build/kestrix"

run() { # run [folder put first on PATH]: starts scripts/run.sh in the background
  env -u DISPLAY -u WAYLAND_DISPLAY -u XDG_RUNTIME_DIR PATH="${1:+$1:}$work/bin:$PATH" \
    KESTRIX_JOBS=2 KESTRIX_BUILD_DIR="$work/build" KESTRIX_SCREENSHOT="$work/shot.png" KESTRIX_SHOT_DELAY=1 \
    "$top/scripts/run.sh" >"$work/run.log" 2>&1 &
  runner=$!
}

# --- a normal run (with openbox if installed)
run
wait "$runner"
rc=$?
runner=""
check "exit code of run.sh" 0 "$rc"
check "what is built" "--build $work/build -j 2 --target kestrix --target kestrix-drives" \
  "$(grep -- '--build' "$work/cmake.log")"
[ -s "$work/shot.png" ] && echo "ok: screenshot saved" || { failed=1; echo "FAILED: no screenshot"; }
display=$(cat "$work/app.display" 2>/dev/null)
case "$display" in
  :[0-9]*) echo "ok: the program ran on display $display" ;;
  *) failed=1; echo "FAILED: the program was given the display [$display]" ;;
esac
check "the program's runtime folder: mode 0700, ours" "700 $(id -u)" "$(cat "$work/app.runtime-mode" 2>/dev/null)"
runtime=$(cat "$work/app.runtime" 2>/dev/null)
[ -n "$runtime" ] && [ ! -e "$runtime" ] && echo "ok: runtime folder removed" || { failed=1; echo "FAILED: runtime folder [$runtime] left"; }
server_left "$display" && { failed=1; echo "FAILED: an X server is left on $display"; } || echo "ok: no X server left on $display"
grep -q "private X server ($display)" "$work/run.log" && echo "ok: run.sh names the display" \
  || { failed=1; echo "FAILED: run.sh says: $(cat "$work/run.log")"; }

# --- a SIGTERM while the script waits for the window manager
rm -f "$work/wm.display" "$work/app.display"
run "$work/wm"
for _ in $(seq 100); do
  [ -s "$work/wm.display" ] && break
  sleep 0.1
done
display=$(cat "$work/wm.display" 2>/dev/null)
[ -n "$display" ] || { failed=1; echo "FAILED: run.sh did not get as far as the window manager"; }
kill -TERM "$runner"
wait "$runner"
runner=""
[ -e "$work/app.display" ] && { failed=1; echo "FAILED: the program was started after all"; }
for _ in $(seq 50); do
  server_left "$display" || break
  sleep 0.1
done
server_left "$display" && { failed=1; echo "FAILED: the X server on $display outlived run.sh"; } \
  || echo "ok: SIGTERM before the program started leaves no X server"
runtime=$(cat "$work/wm.runtime" 2>/dev/null)
if [ -n "$runtime" ] && [ ! -e "$(dirname "$runtime")" ]; then
  echo "ok: the private display's folder is removed"
else
  failed=1
  echo "FAILED: the private display's folder [${runtime%/runtime}] is left"
fi

[ "$failed" -eq 0 ] || exit 1
echo "PASSED"
