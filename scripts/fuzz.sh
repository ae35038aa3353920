#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a bounded time
# (FUZZ_SECONDS, 60 by default) from its seed corpus. Any sanitizer report
# (AddressSanitizer, UndefinedBehaviorSanitizer, a leak) or a failing input
# fails the run, and the report is printed.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
[ "${FUZZ_SKIP_SETUP:-0}" = 1 ] || bash "$here/scripts/setup.sh" --tests
seconds="${FUZZ_SECONDS:-60}"
build="${FUZZ_BUILD:-$here/build-fuzz}"
targets="${FUZZ_TARGETS:-bank state skin source engine link upgrade datauri journal memory manifest}"
CXX=clang++ cmake -S "$here" -B "$build" -DCXB_FUZZ=ON -DCXB_BUILD_UI=OFF -DCXB_BUILD_TESTS=OFF -DCXB_BUILD_BENCH=OFF >/dev/null
# shellcheck disable=SC2046
cmake --build "$build" -j"$(nproc)" --target $(printf 'fuzz_%s ' $targets)
# The first report ends the run, with its stack.
export UBSAN_OPTIONS="halt_on_error=1:abort_on_error=1:print_stacktrace=1"
export ASAN_OPTIONS="abort_on_error=1:detect_leaks=1"
# Reports that mean a fault even where a sanitizer would let the run go on.
reportPattern='runtime error:|ERROR: AddressSanitizer|ERROR: LeakSanitizer|SUMMARY: (Address|UndefinedBehavior|Leak)Sanitizer|ERROR: libFuzzer|==ERROR'
failed=0
for target in $targets; do
  work="$(mktemp -d)"
  log="$work/.log"
  cp "$here/fuzz/corpus/$target/"* "$work/"
  # The engine's inputs are command sequences: long ones from the start.
  extra=()
  [ "$target" = engine ] && extra=(-len_control=0 -max_len=4096)
  echo "fuzzing $target for ${seconds}s"
  status=0
  (cd "$work" && "$build/fuzz/fuzz_$target" -max_total_time="$seconds" -max_len=20000 -print_final_stats=0 \
      "${extra[@]}" "$work" >"$log" 2>&1) || status=$?
  if [ "$status" -ne 0 ] || grep -Eq "$reportPattern" "$log"; then
    echo "fuzz_$target FAILED (exit status $status):"
    # The report itself, with some of what led there.
    if grep -Eq "$reportPattern" "$log"; then
      first="$(grep -En -m1 "$reportPattern" "$log" | cut -d: -f1)"
      sed -n "$((first > 5 ? first - 5 : 1)),$((first + 60))p" "$log"
    else
      tail -40 "$log"
    fi
    for f in "$work"/crash-* "$work"/leak-* "$work"/timeout-* "$work"/oom-*; do
      [ -e "$f" ] || continue
      keep="$build/failing-$target-$(basename "$f")"
      cp "$f" "$keep"
      echo "failing input kept as $keep"
    done
    failed=1
  else
    tail -2 "$log"
  fi
  rm -rf "$work"
done
exit $failed
