#!/usr/bin/env bash
# Compiles Kestrix's help (help/kestrix.html with its contents and index)
# into help/kestrix4.chm with chmcmd, the HTML help compiler of Debian's
# fp-utils. The compiled file is kept in the repository, so that building
# Kestrix does not need fp-utils; run this after changing the help.
set -euo pipefail
cd "$(dirname "$0")/../help"
if ! command -v chmcmd >/dev/null; then
  echo "chmcmd is missing: apt-get install fp-utils" >&2
  exit 1
fi
chmcmd kestrix4.hhp >/dev/null
echo "help/kestrix4.chm: $(stat -c %s kestrix4.chm) bytes"
