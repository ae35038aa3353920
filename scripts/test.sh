#!/usr/bin/env bash
# Builds everything and runs every test (the window tests on the offscreen platform).
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
bash "$here/scripts/setup.sh" --tests
build="${CXB_TEST_BUILD:-$here/build-test}"
cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCXB_BUILD_TESTS=ON -DCXB_BUILD_BENCH=ON "$@" >/dev/null
cmake --build "$build" -j"$(nproc)"
export QT_QPA_PLATFORM=offscreen
cd "$build"
ctest --output-on-failure -j"$(nproc)" --timeout 300
