#!/usr/bin/env bash
# Builds the whole test suite with AddressSanitizer and UndefinedBehaviorSanitizer and runs it.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
bash "$here/scripts/setup.sh" --tests
build="$here/build-asan"
cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=Debug -DCXB_SANITIZE=ON -DCXB_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j"$(nproc)"
export QT_QPA_PLATFORM=offscreen
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
# The plain-C++ tests run with leak checking; the window tests without it,
# since Qt and fontconfig keep some memory for the life of the process.
"$build/tests/data_tests"
"$build/tests/engine_tests"
ASAN_OPTIONS="detect_leaks=0" "$build/tests/ui/ui_tests"
