#!/usr/bin/env bash
# Configures and builds into build/ (or $KESTRIX_BUILD_DIR). Extra arguments
# go to CMake.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${KESTRIX_BUILD_DIR:-$top/build}
cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
cmake --build "$build" -j "${KESTRIX_JOBS:-2}"
