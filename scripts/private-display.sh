# A private X server for the scripts that show Kestrix without a desktop
# (scripts/run.sh, tests/e2e). Source it, then:
#
#   private_display_start [WIDTHxHEIGHT]   # Xvfb on a free display; exports DISPLAY
#   private_display_wm                     # openbox on it, when installed
#   private_display_stop                   # ends both and removes the folder
#
# Xvfb picks the display itself (-displayfd: the first number no server
# listens on), so that nothing lands on somebody else's server, and the
# display is used only once the listening socket is seen to belong to the
# Xvfb started here. The caller ends everything with private_display_stop,
# from an EXIT trap (private_display_traps sets one up), so that no exit
# path leaves a server behind. XDG_RUNTIME_DIR points at a private folder
# (mode 0700) when it is not set, as Qt wants one.

PRIVATE_DISPLAY_DIR=""
PRIVATE_XVFB_PID=""
PRIVATE_WM_PID=""

# Whether the socket the X server of display $1 listens on belongs to
# process $2 (on Linux, where the sockets of a process can be seen).
private_display_owns() {
  local number=$1 pid=$2 inode
  [ -r /proc/net/unix ] || return 0
  for inode in $(awk -v p="/tmp/.X11-unix/X$number" '($8 == p || $8 == "@" p) && $6 == "01" {print $7}' /proc/net/unix); do
    ls -l "/proc/$pid/fd" 2>/dev/null | grep -q "socket:\[$inode\]" && return 0
  done
  return 1
}

private_display_start() {
  local screen=${1:-1024x768} number="" _
  PRIVATE_DISPLAY_DIR=$(mktemp -d "${TMPDIR:-/tmp}/kestrix-display-XXXXXX") || return 1
  chmod 700 "$PRIVATE_DISPLAY_DIR"
  # -noreset: the server stays as it is when its last client leaves (the
  # program stopped between two starts), rather than starting over.
  Xvfb -displayfd 3 -screen 0 "${screen}x24" -nolisten tcp -noreset 3>"$PRIVATE_DISPLAY_DIR/display" \
    >"$PRIVATE_DISPLAY_DIR/xvfb.log" 2>&1 &
  PRIVATE_XVFB_PID=$!
  # Xvfb writes the number once it accepts connections.
  for _ in $(seq 100); do
    number=$(head -n1 "$PRIVATE_DISPLAY_DIR/display" 2>/dev/null)
    [ -n "$number" ] && break
    kill -0 "$PRIVATE_XVFB_PID" 2>/dev/null || break
    sleep 0.1
  done
  if [ -z "$number" ]; then
    echo "Xvfb did not start: $(tail -n3 "$PRIVATE_DISPLAY_DIR/xvfb.log" 2>/dev/null)" >&2
    return 1
  fi
  if ! private_display_owns "$number" "$PRIVATE_XVFB_PID"; then
    echo "display :$number does not belong to the Xvfb started here" >&2
    return 1
  fi
  export DISPLAY=":$number"
  if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
    mkdir -m 700 "$PRIVATE_DISPLAY_DIR/runtime"
    export XDG_RUNTIME_DIR="$PRIVATE_DISPLAY_DIR/runtime"
  fi
}

# A window manager gives windows their frames and captions, as a desktop would.
private_display_wm() {
  command -v openbox >/dev/null 2>&1 || return 1
  openbox >"$PRIVATE_DISPLAY_DIR/openbox.log" 2>&1 &
  PRIVATE_WM_PID=$!
  # openbox announces itself on the root window once it manages windows;
  # on a busy machine that can take seconds, and a window started before
  # it would be shown without frame for a while.
  local _
  for _ in $(seq 200); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && return 0
    kill -0 "$PRIVATE_WM_PID" 2>/dev/null || return 1
    sleep 0.1
  done
  return 1
}

private_display_stop() {
  local pid
  for pid in "$PRIVATE_WM_PID" "$PRIVATE_XVFB_PID"; do
    [ -n "$pid" ] || continue
    # (A process ended by a signal fails its wait: no reason to stop here.)
    kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null || true
  done
  PRIVATE_WM_PID=""
  PRIVATE_XVFB_PID=""
  if [ -n "$PRIVATE_DISPLAY_DIR" ]; then
    [ "${XDG_RUNTIME_DIR:-}" = "$PRIVATE_DISPLAY_DIR/runtime" ] && unset XDG_RUNTIME_DIR
    rm -rf "$PRIVATE_DISPLAY_DIR"
  fi
  PRIVATE_DISPLAY_DIR=""
}

# Runs `cleanup` (a function of the caller) on every way out: a normal end,
# an error under set -e, and the signals that end a script. The clean-up
# runs to its end whatever fails in it.
private_display_traps() {
  trap 'set +e; cleanup' EXIT
  trap 'exit 129' HUP
  trap 'exit 130' INT
  trap 'exit 143' TERM
}

# A note for failure messages: empty while the private X server runs.
private_display_gone() {
  [ -n "$PRIVATE_XVFB_PID" ] && kill -0 "$PRIVATE_XVFB_PID" 2>/dev/null && return 0
  echo " (the private X server $DISPLAY has ended: killed from outside?)"
}
