#!/usr/bin/env bash
# Builds the Debian package: installs what is missing, builds into build/
# (or $KESTRIX_BUILD_DIR) and runs CPack there. Prints the package's path.
# Install it with: sudo apt-get install ./build/kestrix_*.deb
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${KESTRIX_BUILD_DIR:-$top/build}
"$top/scripts/deps.sh"
"$top/scripts/build.sh" "$@"
cd "$build"
rm -f kestrix_*.deb
cpack -G DEB >cpack.log 2>&1 || { cat cpack.log; exit 1; }
ls "$build"/kestrix_*.deb
