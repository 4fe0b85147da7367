#!/usr/bin/env bash
# The Debian package on this machine, as a user gets it: installs the .deb
# with apt-get, validates what it installed (desktop entry, AppStream
# metainfo, manual pages, lintian on the package), runs
# /usr/bin/kestrix-drives --json through jq (also on a mount whose name
# holds a byte that is not UTF-8, a backslash, a quote and a newline), then
# starts /usr/bin/kestrix under Xvfb as a user who is not root, changes the
# size unit, ends it, starts it again and finds the choice in that user's
# ~/.config/kestrix/INIVAL.INI; removes the package at the end.
#
# Usage (as root): installed.sh <kestrix_*.deb>. Leaves nothing installed
# that was not there before, except the tools it needs.
set -uo pipefail
deb=$(realpath "${1:?usage: installed.sh <kestrix_*.deb>}")
[ "$(id -u)" -eq 0 ] || { echo "installed.sh must run as root (it installs the package)"; exit 2; }
top=$(cd "$(dirname "$0")/../.." && pwd)
# shellcheck source=../support/checks.sh
. "$top/tests/support/checks.sh"
# shellcheck source=../../scripts/private-display.sh
. "$top/scripts/private-display.sh"
app_id=org.example.kestrix
user=kestrix-check
make_work kestrix-package
chmod 755 "$work"
app=""
made_user=0

cleanup() {
  [ -n "$app" ] && kill "$app" 2>/dev/null && wait "$app" 2>/dev/null
  private_display_stop
  if dpkg-query -W -f='${Status}' kestrix 2>/dev/null | grep -q 'install ok installed'; then
    apt-get remove -y -qq --purge kestrix >/dev/null 2>&1
  fi
  [ "$made_user" -eq 1 ] && userdel -r "$user" >/dev/null 2>&1
  finish_work
}
private_display_traps

must() { # must <what> <command...>: the command's output is shown, its failure counted
  local what=$1; shift
  if "$@" >"$work/out" 2>&1; then echo "ok: $what"; else echo "FAILED: $what"; failed=1; fi
  sed 's/^/    /' "$work/out"
}

echo "== install $deb"
dpkg -r kestrix >/dev/null 2>&1
export DEBIAN_FRONTEND=noninteractive
must "apt-get install ./$(basename "$deb")" apt-get install -y -q --no-install-recommends "$deb"
[ -x /usr/bin/kestrix ] && [ -x /usr/bin/kestrix-drives ] || fail "the programs are not in /usr/bin"
dpkg -L kestrix | sort >"$work/files"
echo "installed files:"; grep -v '/$' "$work/files" | while read -r f; do [ -d "$f" ] || echo "    $f"; done
echo "depends: $(dpkg-query -W -f='${Depends}' kestrix)"

echo "== validators"
must "desktop-file-validate" desktop-file-validate /usr/share/applications/$app_id.desktop
must "appstreamcli validate" appstreamcli validate --no-net --pedantic /usr/share/metainfo/$app_id.metainfo.xml
for page in kestrix kestrix-drives; do
  must "man -l $page.1.gz, without warnings" sh -c \
    "LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l /usr/share/man/man1/$page.1.gz 2>&1 >/dev/null | (! grep .)"
  check "man finds $page(1)" /usr/share/man/man1/$page.1.gz "$(man -w "$page" 2>/dev/null)"
done
for size in 16x16 22x22 24x24 32x32 48x48 64x64 128x128 256x256; do
  [ -f /usr/share/icons/hicolor/$size/apps/kestrix.png ] || { echo "FAILED: no $size icon"; failed=1; }
done
[ -f /usr/share/icons/hicolor/scalable/apps/kestrix.svg ] || { echo "FAILED: no scalable icon"; failed=1; }
[ -d /usr/share/kestrix ] || { echo "FAILED: no /usr/share/kestrix"; failed=1; }

echo "== lintian"
# Tags we accept, each explained in tests/package/lintian-accepted.
accepted=$(grep -v '^#' "$top/tests/package/lintian-accepted" | cut -d' ' -f1 | paste -sd,)
lintian --display-info ${accepted:+--suppress-tags "$accepted"} "$deb" 2>&1 | grep -v 'running with root' >"$work/lintian"
echo "lintian $(lintian --version | cut -d' ' -f2), tags accepted: $accepted"
sed 's/^/    /' "$work/lintian"
if grep -qE '^[EW]: ' "$work/lintian"; then echo "FAILED: lintian errors or warnings"; failed=1; else echo "ok: lintian"; fi

echo "== /usr/bin/kestrix-drives --json | jq ."
must "kestrix-drives --json | jq ." sh -c '/usr/bin/kestrix-drives --json | jq -e .'
must "kestrix-drives -v --json | jq ." sh -c '/usr/bin/kestrix-drives -v --json | jq -e ".drives, .left_out | length"'
# A real mount with the names that break careless JSON, in a mount namespace
# of its own so that nothing else on the machine sees it.
if command -v unshare >/dev/null && unshare -m true 2>/dev/null; then
  odd="$work/odd"$'\xff''\"'$'\n''name'
  mkdir -p "$odd"
  unshare -m --propagation private sh -c 'mount -t tmpfs -o size=8m kestrix-odd "$1" && /usr/bin/kestrix-drives --json' \
    sh "$odd" >"$work/odd.json"
  hex=$(printf '%s' "$odd" | od -An -tx1 | tr -d ' \n')
  check "an odd mount name: valid JSON with its exact bytes" "$hex" \
    "$(jq -r --arg h "$hex" '.[] | select(.mount_point_hex == $h) | .mount_point_hex' "$work/odd.json")"
else
  echo "skipped: the odd mount name (no mount namespace here)"
fi

echo "== /usr/bin/kestrix as a user who is not root"
if ! id "$user" >/dev/null 2>&1; then
  useradd -m -s /bin/sh "$user" || fail "cannot make the user $user"
  made_user=1
fi
home=$(getent passwd "$user" | cut -d: -f6)
rm -rf "$home/.config/kestrix"
runtime="$work/runtime"
mkdir -m 700 "$runtime" && chown "$user:" "$runtime"
as_user() { runuser -u "$user" -- env -i HOME="$home" PATH=/usr/bin:/bin USER="$user" XDG_RUNTIME_DIR="$runtime" "$@"; }
mkdir -p "$work/drive-c" "$work/drive-d"
drives="C=$work/drive-c@fixed;D=$work/drive-d@fixed"
# The X server is root's; without an authorisation file any local client,
# the user's program included, may use it.
private_display_start || fail "no private X server"

running() { [ -r "/proc/$app/status" ] && ! grep -q '^State:[[:space:]]*Z' "/proc/$app/status" 2>/dev/null; }
start_program() {
  as_user DISPLAY="$DISPLAY" QT_QPA_PLATFORM=xcb KESTRIX_DRIVES="$drives" /usr/bin/kestrix >>"$work/program.log" 2>&1 &
  app=$!
  main=$(find_window 'Kestrix 4\.0$' 20)
  [ -n "$main" ] || { cat "$work/program.log"; fail "the main window did not appear$(private_display_gone)"; }
  # The window shows once its opening outline has arrived; and the first
  # activation fits it to its two rows: 211 high plus the menu bar.
  sleep 0.8
  wait_for_first_activation 2
}
end_program() { # the exit button, 648 + 15, 7 + 15 in the top panel
  xdotool mousemove --window "$main" 663 $((menu + 22)) click 1
  for _ in $(seq 100); do running || break; sleep 0.1; done
  running && fail "the program did not end after the exit button"
  wait "$app"
  check "exit code" 0 "$?"
  app=""
}

start_program
# gbytes: the fourth unit button (258, 2, 50 x 40)
xdotool mousemove --window "$main" 283 $((menu + 22)) click 1
sleep 0.3
end_program
ini="$home/.config/kestrix/INIVAL.INI"
check "first run: gigabytes in ~/.config/kestrix/INIVAL.INI" "GBView=1" "$(grep -x 'GBView=[01]' "$ini" 2>/dev/null)"
check "first run: the folder and files are the user's" "$user $user $user" \
  "$(stat -c %U "$home/.config/kestrix" "$ini" "$home/.config/kestrix/kespos.ini" 2>/dev/null | paste -sd' ')"
check "nothing beside the executable" "" "$(ls /usr/bin | grep -i -e '^inival' -e '^kespos')"
start_program
end_program
check "after a restart: still gigabytes" "GBView=1 MBView=0" "$(grep -x -e 'GBView=[01]' -e 'MBView=[01]' "$ini" | sort | paste -sd' ')"
check "after a restart: the window's place" "[Dialog_Positions]" "$(head -n1 "$home/.config/kestrix/kespos.ini")"
[ -s "$work/program.log" ] && { echo "program output:"; sed 's/^/    /' "$work/program.log"; }
private_display_stop

echo "== remove"
must "apt-get remove kestrix" apt-get remove -y -q --purge kestrix
check "the programs are gone" "" "$(ls /usr/bin/kestrix /usr/bin/kestrix-drives 2>/dev/null)"
check "the user's settings stay" "yes" "$([ -f "$ini" ] && echo yes)"

[ "$failed" -eq 0 ] || { echo "package check FAILED"; exit 1; }
echo "package check PASSED"
