#!/usr/bin/env bash
# Builds the trainer with its shipped banks and opens it in its runnable folder.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
bash "$here/scripts/setup.sh"
cmake -S "$here" -B "$here/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCXB_BUILD_TESTS=OFF -DCXB_BUILD_BENCH=OFF >/dev/null
cmake --build "$here/build" -j"$(nproc)" --target chixuebao content_banks
cd "$here/build/app"
exec ./chixuebao "$@"
