#!/usr/bin/env bash
# Installs what is missing, builds and runs every test (benchmarks excluded).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/deps.sh"
"$top/scripts/build.sh" -DKESTRIX_TESTS=ON "$@"
build=${KESTRIX_BUILD_DIR:-$top/build}
cd "$build"
ctest --output-on-failure -j "${KESTRIX_JOBS:-2}"
