#!/usr/bin/env bash
# End to end: the splash screen is on the screen, painted, under a window
# manager. Runs the splash cases of the app tests on an X server and an
# openbox of their own (the window manager maps a window a round trip or
# more after the program shows it).
#
# Usage: splash.sh <app_tests binary>. Exit code 77 (skipped) when Xvfb or
# openbox is missing.
set -uo pipefail

binary=${1:?usage: splash.sh <app_tests binary>}
here=$(dirname "$0")
# shellcheck source=../support/checks.sh
. "$here/../support/checks.sh"
# shellcheck source=../../scripts/private-display.sh
. "$here/../../scripts/private-display.sh"
require_tools "xvfb, openbox, x11-utils" Xvfb openbox xprop
cleanup() { private_display_stop; }
private_display_traps

private_display_start || { echo "FAILED: no private X server"; exit 1; }
private_display_wm || { echo "FAILED: openbox did not start"; exit 1; }
out=$(KESTRIX_TEST_PLATFORM=xcb "$binary" --gtest_filter='SplashOnScreen.*' 2>&1)
rc=$?
echo "$out"
if [ "$rc" -ne 0 ] || ! grep -q '^\[  PASSED  \] 1 test' <<<"$out" || grep -q '\[  SKIPPED \]' <<<"$out"; then
  echo "FAILED"
  exit 1
fi
echo "PASSED"
