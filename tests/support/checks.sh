# Sourced by the test scripts (tests/e2e, tests/tools): the tools a script
# needs, a work folder, and the checks that note a failure and go on or stop.
#
#   require_tools "<packages>" TOOL...   # exit 77 (skipped) when one is missing
#   make_work NAME                       # sets work to a new folder
#   check WHAT EXPECTED ACTUAL           # "ok: WHAT" or "FAILED: ..."; goes on
#   fail WHAT                            # "FAILED: WHAT"; ends the script
#   finish_work                          # removes the folder, or keeps it on failure
#   in_mount_namespace WHAT "$0" "$@"  # the script again, in a mount namespace
#                                        # of its own; exit 77 when it cannot be
#   app_work NAME                        # make_work, and on every way out the
#                                        # program $app ended, the private X
#                                        # server stopped, finish_work
#
# `failed` is 1 once anything failed; a script ends with
#   [ "$failed" -eq 0 ] || exit 1

failed=0
work=""

require_tools() {
  local packages=$1 tool
  shift
  for tool in "$@"; do
    if ! command -v "$tool" >/dev/null 2>&1; then
      echo "SKIPPED: $tool is not installed (packages $packages)"
      exit 77
    fi
  done
}

make_work() {
  work=$(mktemp -d "${TMPDIR:-/tmp}/$1-XXXXXX") && [ -d "$work" ] || { echo "FAILED: no work folder"; exit 1; }
}

check() { # check <what> <expected> <actual>
  if [ "$2" != "$3" ]; then
    failed=1
    echo "FAILED: $1: expected [$2], got [$3]"
  else
    echo "ok: $1"
  fi
}

# Runs the script again in a private mount namespace (once: the second run
# goes on), so that what it mounts shows nowhere else and vanishes with it.
# WHAT names the mounts, for the message when root or namespaces are missing.
in_mount_namespace() {
  local what=$1
  shift
  [ -n "${KESTRIX_MOUNT_NS:-}" ] && return 0
  if [ "$(id -u)" -ne 0 ]; then
    echo "SKIPPED: needs root for a private mount namespace and $what"
    exit 77
  fi
  if ! unshare -m --propagation private true 2>/dev/null; then
    echo "SKIPPED: mount namespaces are not available (unshare -m failed)"
    exit 77
  fi
  export KESTRIX_MOUNT_NS=1
  exec unshare -m --propagation private "$@"
}

# For scripts that run the program on a private X server: they source
# scripts/private-display.sh too, and start the program into $app.
app_work() {
  make_work "$1"
  app=""
  cleanup() {
    [ -n "$app" ] && kill "$app" 2>/dev/null && wait "$app" 2>/dev/null
    private_display_stop
    finish_work
  }
  private_display_traps
}

# Waits for the first activation, which fits the window from its first
# height 315 to its rows, and sets `menu`, the menu bar's height: what the
# window has beyond 152 + 20 per row + the status bar's 19. The window's
# geometry is left in X, Y, WIDTH and HEIGHT. Needs `main`.
wait_for_first_activation() { # <rows>
  eval "$(xdotool getwindowgeometry --shell "$main")"
  for _ in $(seq 50); do
    [ "$HEIGHT" != 315 ] && break
    sleep 0.1
    eval "$(xdotool getwindowgeometry --shell "$main")"
  done
  menu=$((HEIGHT - 171 - 20 * $1))
}

# ms_limit <ms>: a time limit of the plain build, stretched by
# KESTRIX_E2E_TIME_SCALE for builds that run slower (the sanitizer build).
ms_limit() {
  echo $(($1 * ${KESTRIX_E2E_TIME_SCALE:-1}))
}

fail() {
  echo "FAILED: $*"
  failed=1
  exit 1
}

finish_work() {
  [ -n "$work" ] || return 0
  if [ "$failed" -eq 0 ]; then
    rm -rf "$work"
  else
    echo "Screenshots and files kept in $work"
  fi
}

# The first visible window whose name matches a pattern, waiting up to
# $2 seconds (default 10); empty when none appears. (xdotool's own --sync
# gives up when a window vanishes while it looks, as a splash screen does.)
find_window() {
  local pattern=$1 tries=$(( ${2:-10} * 10 )) id _
  for _ in $(seq "$tries"); do
    id=$(xdotool search --onlyvisible --name "$pattern" 2>/dev/null | head -n1)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}
