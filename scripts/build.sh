#!/usr/bin/env bash
# Configures and builds into build/ (or $KESTRIX_BUILD_DIR). Extra arguments
# go to CMake. $KESTRIX_BUILD_TARGETS (blank-separated) builds only those
# targets; otherwise everything configured is built. ccache is used when
# installed.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${KESTRIX_BUILD_DIR:-$top/build}
launcher=()
if command -v ccache >/dev/null 2>&1; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" "$@" >/dev/null
targets=()
for t in ${KESTRIX_BUILD_TARGETS:-}; do
  targets+=(--target "$t")
done
cmake --build "$build" -j "${KESTRIX_JOBS:-2}" "${targets[@]}"
