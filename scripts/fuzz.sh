#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a bounded time
# (FUZZ_SECONDS, 60 by default) from its seed corpus.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
bash "$here/scripts/setup.sh" --tests
seconds="${FUZZ_SECONDS:-60}"
build="$here/build-fuzz"
CXX=clang++ cmake -S "$here" -B "$build" -DCXB_FUZZ=ON -DCXB_BUILD_UI=OFF -DCXB_BUILD_TESTS=OFF -DCXB_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target fuzz_bank fuzz_state fuzz_skin fuzz_source fuzz_engine fuzz_link fuzz_upgrade fuzz_journal
failed=0
for target in bank state skin source engine link upgrade journal; do
  work="$(mktemp -d)"
  cp "$here/fuzz/corpus/$target/"* "$work/"
  echo "fuzzing $target for ${seconds}s"
  if ! (cd "$work" && "$build/fuzz/fuzz_$target" -max_total_time="$seconds" -max_len=20000 -print_final_stats=0 "$work" 2>&1 | tail -3); then
    failed=1
  fi
  if ls "$work"/crash-* "$work"/leak-* "$work"/timeout-* >/dev/null 2>&1; then
    echo "fuzz_$target found a failing input:"; ls "$work"/crash-* "$work"/leak-* "$work"/timeout-* 2>/dev/null
    failed=1
  fi
  rm -rf "$work"
done
exit $failed
