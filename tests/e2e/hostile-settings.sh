#!/usr/bin/env bash
# End to end: the real program with settings files that a careless hand or
# an accident leaves. For each, a copy of kestrix in a folder of its own,
# with drives C and D, starts under Xvfb, shows its window fully on screen,
# is ended with its exit button, ends with exit code 0, and has lost no
# line that was not its own:
#
#   folder    INIVAL.INI is a folder: the layout's choices; at the end the
#             message "Unable to write to ..." (dismissed here with Return);
#             the folder and its file stay as they were.
#   dangling  INIVAL.INI is a link to a file that does not exist yet: the
#             save creates that file; the link stays a link.
#   link      INIVAL.INI is a link to a file elsewhere with choices and
#             foreign lines: they are loaded, the save writes through the
#             link into that file, keeps its foreign lines, the link stays.
#   huge      a 50 MB INIVAL.INI with the window's section last: the window
#             appears within 2 s; the save keeps all 50 MB of foreign lines.
#   garbage   1 MiB of binary garbage as INIVAL.INI and as kespos.ini: the
#             layout's choices; the saves keep the garbage byte for byte and
#             add the window's keys after it.
#
# Usage: hostile-settings.sh <kestrix binary>. Exit code 77 (skipped) when a
# tool it needs is missing.
set -uo pipefail

binary=${1:?usage: hostile-settings.sh <kestrix binary>}
here=$(dirname "$0")
# shellcheck source=../support/checks.sh
. "$here/../support/checks.sh"
# shellcheck source=../../scripts/private-display.sh
. "$here/../../scripts/private-display.sh"
require_tools "xvfb, xdotool, x11-utils, imagemagick, gzip, diffutils" Xvfb xdotool import timeout gzip cmp

app_work kestrix-hostile

export QT_QPA_PLATFORM=xcb
unset QT_SCALE_FACTOR QT_FONT_DPI QT_SCREEN_SCALE_FACTORS QT_ENABLE_HIGHDPI_SCALING QT_USE_PHYSICAL_DPI
private_display_start || fail "no private X server"

main_title='Kestrix 4\.0$'

# Whether the program still runs (an ended one that is not yet waited for
# lingers as a zombie).
running() { [ -r "/proc/$app/status" ] && ! grep -q '^State:[[:space:]]*Z' "/proc/$app/status" 2>/dev/null; }

# Starts ./kestrix in the folder $1 and waits up to 10 s for its main
# window; sets $main, and $shown_ms, the milliseconds until the window was
# on screen.
start_program() {
  local folder=$1 started
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
  [ "$folder" = "$work/huge" ] || [ "$shown_ms" -ge "$small_ms" ] || small_ms=$shown_ms
  [ -n "$main" ] || fail "the main window did not appear$(private_display_gone)"
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

mkdir -p "$work/drive-c" "$work/drive-d"
export KESTRIX_DRIVES="C=$work/drive-c@fixed;D=$work/drive-d@fixed"
# A sanitizer build starts several times slower; its budget is wider.
limit_ms=2000
small_ms=999999 # the fastest start with a small settings file
if ldd "$binary" 2>/dev/null | grep -q libasan; then
  limit_ms=10000
fi

# The lines of a settings file that the window writes: its keys with 0 or 1.
own_line='^[A-Za-z]+[0-9]*=[01]$'

# A program folder of its own for case $1.
folder_for() {
  local f="$work/$1"
  mkdir -p "$f"
  cp "$binary" "$f/kestrix" || fail "cannot copy $binary"
  echo "$f"
}

# Starts the program in folder $1, checks the window is fully on screen,
# and ends it with the exit button; $2 is the number of rows shown.
run_case() {
  local folder=$1 rows=$2
  start_program "$folder"
  # The first activation fits the window to its rows: then the menu bar is
  # what the height has beyond the panels (top 44, header 18, rows of 20,
  # totals and memory 90, status bar 19).
  local want=$((171 + 20 * rows)) menu=""
  for _ in $(seq 50); do
    eval "$(xdotool getwindowgeometry --shell "$main")"
    menu=$((HEIGHT - want))
    [ "$menu" -gt 10 ] && [ "$menu" -lt 40 ] && break
    sleep 0.1
  done
  [ "$menu" -gt 10 ] && [ "$menu" -lt 40 ] || fail "window height $HEIGHT for $rows rows"
  if [ "$X" -ge 0 ] && [ "$Y" -ge 0 ] && [ $((X + WIDTH)) -le 1024 ] && [ $((Y + HEIGHT)) -le 768 ]; then
    echo "ok: the window is on screen (${WIDTH}x${HEIGHT}+$X+$Y, $rows rows, shown after $shown_ms ms)"
  else
    fail "the window is not fully on screen: ${WIDTH}x${HEIGHT}+$X+$Y"
  fi
  xdotool mousemove --window "$main" 663 $((menu + 22)) click 1
}

echo "--- folder"
f=$(folder_for folder)
mkdir "$f/INIVAL.INI"
echo "mine" >"$f/INIVAL.INI/keep.txt"
run_case "$f" 2
box=""
for _ in $(seq 100); do
  box=$(xdotool search --onlyvisible --name '^Kestrix$' 2>/dev/null | head -n1)
  [ -n "$box" ] && break
  running || break
  sleep 0.1
done
[ -n "$box" ] || fail "no message about the settings that cannot be written"
import -window root "$work/folder-message.png"
echo "ok: a message box appears at the end"
# Return to the box, again while the program runs: a window of that name
# found first may be one that is going (the closing outline), and a key
# sent to it is lost.
for _ in $(seq 20); do
  running || break
  for id in $(xdotool search --onlyvisible --name '^Kestrix$' 2>/dev/null); do
    xdotool windowfocus "$id" 2>/dev/null
    xdotool key --window "$id" Return 2>/dev/null
  done
  sleep 0.5
done
wait_for_exit
check "the folder stays a folder with its file" "mine" "$(cat "$f/INIVAL.INI/keep.txt" 2>/dev/null)"
check "nothing else in it" "keep.txt" "$(ls -A "$f/INIVAL.INI")"
check "kespos.ini is written as always" "[Dialog_Positions]" "$(head -n1 "$f/kespos.ini" 2>/dev/null)"

echo "--- dangling"
f=$(folder_for dangling)
mkdir "$work/dangling-target"
ln -s ../dangling-target/INIVAL.INI "$f/INIVAL.INI"
run_case "$f" 2
wait_for_exit
check "the link stays a link to the same name" "../dangling-target/INIVAL.INI" "$(readlink "$f/INIVAL.INI")"
check "the file it names is created with the window's keys" 142 "$(grep -cE "$own_line" "$work/dangling-target/INIVAL.INI" 2>/dev/null)"
check "no other file beside the program" "INIVAL.INI kespos.ini kestrix" "$(ls -A "$f" | tr '\n' ' ' | sed 's/ $//')"

echo "--- link"
f=$(folder_for link)
mkdir "$work/link-target"
target="$work/link-target/settings.ini"
printf '; my own notes\r\n[Elsewhere]\r\nkey=value\r\n[Form1]\r\ndd1=0\r\nGBView=1\r\nMBView=0\r\nmine=keep me\r\n' >"$target"
cp "$target" "$work/link-before.ini"
ln -s "$target" "$f/INIVAL.INI"
run_case "$f" 1
wait_for_exit
check "the link stays a link to the same file" "$target" "$(readlink "$f/INIVAL.INI")"
check "the choices were loaded and saved back (D hidden, gbytes)" "dd1=0 GBView=1 MBView=0" \
  "$(tr -d '\r' <"$target" | grep -xE 'dd1=0|GBView=1|MBView=0' | tr '\n' ' ' | sed 's/ $//')"
check "the foreign lines stay" "$(grep -vE "$own_line" <(tr -d '\r' <"$work/link-before.ini"))" \
  "$(grep -vE "$own_line" <(tr -d '\r' <"$target"))"
check "the window's keys are written" 142 "$(tr -d '\r' <"$target" | grep -cE "$own_line")"

echo "--- huge"
f=$(folder_for huge)
{
  printf '; 50 MB of foreign sections, then the window'"'"'s\n'
  line="SomeForeignKey=a foreign value that takes some room in the line"
  block=$(for i in $(seq 100); do echo "$line$i"; done)
  for s in $(seq 7600); do
    echo "[Foreign$s]"
    echo "$block"
  done
  printf '[Form1]\nForeign=kept in the window'"'"'s section\ndd1=0\nGBView=1\nMBView=0\n'
} >"$f/INIVAL.INI"
cp "$f/INIVAL.INI" "$work/huge-before.ini"
echo "file of $(($(stat -c %s "$f/INIVAL.INI") / 1000000)) MB"
# What is timed is the program, not the write-back of the 100 MB just made.
sync
run_case "$f" 1
# The file's own cost is the time beyond a start with a small file (the
# fastest of the cases before): a start reads it in four load passes of
# some 20 ms each, where a read per key (142 keys) would add seconds. The
# 2 s bound itself is judged only where a small file starts well within
# it, since a loaded machine slows every start alike.
extra=$((shown_ms - small_ms))
if [ "$extra" -gt 1000 ]; then
  failed=1
  echo "FAILED: the 50 MB file adds $extra ms to the start ($shown_ms against $small_ms ms)"
elif [ "$shown_ms" -le "$limit_ms" ]; then
  echo "ok: the window appeared within $limit_ms ms ($shown_ms ms; $small_ms ms with a small file)"
elif [ "$small_ms" -le $((limit_ms - 500)) ]; then
  failed=1
  echo "FAILED: the window appeared after $shown_ms ms, more than $limit_ms"
else
  echo "ok: the file adds $extra ms; the machine is loaded (a small file starts in $small_ms ms), so the $limit_ms ms bound is not judged"
fi
wait_for_exit 300
if cmp -s <(grep -vE "$own_line" "$work/huge-before.ini") <(grep -vE "$own_line" "$f/INIVAL.INI"); then
  echo "ok: all foreign lines stay"
else
  failed=1
  echo "FAILED: foreign lines of the huge file changed"
fi
check "the choices were loaded and saved back" "dd1=0 GBView=1 MBView=0" \
  "$(tail -n 200 "$f/INIVAL.INI" | grep -xE 'dd1=0|GBView=1|MBView=0' | tr '\n' ' ' | sed 's/ $//')"
check "the window's keys are written" 142 "$(grep -cE "$own_line" "$f/INIVAL.INI")"

echo "--- garbage"
f=$(folder_for garbage)
gzip -c -n -9 <"$binary" | head -c 1048576 >"$work/garbage.bin"
cp "$work/garbage.bin" "$f/INIVAL.INI"
cp "$work/garbage.bin" "$f/kespos.ini"
run_case "$f" 2
wait_for_exit
size=$(stat -c %s "$work/garbage.bin")
for file in INIVAL.INI kespos.ini; do
  if cmp -s -n "$size" "$work/garbage.bin" "$f/$file"; then
    echo "ok: $file keeps the garbage byte for byte"
  else
    failed=1
    echo "FAILED: $file lost garbage bytes"
  fi
done
check "the window's keys follow the garbage" 142 "$(tail -c +$((size + 1)) "$f/INIVAL.INI" | grep -cE "$own_line")"
check "the position follows the garbage" 2 "$(tail -c +$((size + 1)) "$f/kespos.ini" | grep -cE '^Form11024x768(Left|Top)=[0-9]+$')"

[ "$failed" -eq 0 ] || exit 1
echo "PASSED"
