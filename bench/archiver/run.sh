#!/usr/bin/env bash
# Times the stand-in archiver against Info-ZIP's `zip -r -6` on the same data set in one run: a
# first run of each, then an update run after 5% of the files changed. Builds an optimised wzzip
# of its own (the test build carries sanitizers). Usage: bench/archiver/run.sh [MB, default 300]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
build="$root/build/release"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target wzzip >/dev/null
exec python3 "$root/bench/archiver/bench.py" --wzzip "$build/tools/archiver/wzzip" \
  --work "$root/build/bench-archiver" --megabytes "${1:-300}"
