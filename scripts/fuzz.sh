#!/usr/bin/env bash
# Builds the fuzz targets with clang into build-fuzz/ (or
# $KESTRIX_FUZZ_BUILD_DIR) and runs each for $KESTRIX_FUZZ_SECONDS (60)
# seconds, two at a time, from its seed corpus; fails on any crash, leak,
# timeout or broken property. Extra arguments go to CMake.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/deps.sh" clang libclang-rt-14-dev
build=${KESTRIX_FUZZ_BUILD_DIR:-$top/build-fuzz}
cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DKESTRIX_TESTS=OFF -DKESTRIX_FUZZ=ON \
  -DKESTRIX_FUZZ_SECONDS="${KESTRIX_FUZZ_SECONDS:-60}" "$@" >/dev/null
cmake --build "$build" -j "${KESTRIX_JOBS:-2}" --target fuzz_targets
cd "$build"
ctest -L fuzz --output-on-failure -j "${KESTRIX_JOBS:-2}"
