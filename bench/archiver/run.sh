#!/usr/bin/env bash
# Times the stand-in archiver against Info-ZIP's `zip -r -6` on the same data set in one run: a
# first run of each, then an update run after 5% of the files changed; the native build, and the
# Windows build under Wine. Builds an optimised native wzzip of its own (the test build carries
# sanitizers) and the Windows build. Usage: bench/archiver/run.sh [MB, default 300]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
"$root/scripts/build.sh" release wzzip >/dev/null
"$root/scripts/build.sh" win wzzip >/dev/null
source "$root/scripts/wine.sh"
wine_prefix
wine_server
python3 "$root/bench/archiver/bench.py" --wzzip "$root/build/release/tools/archiver/wzzip" \
  --wzzip-exe "$root/build/win/tools/archiver/wzzip.exe" \
  --work "$root/build/bench-archiver" --megabytes "${1:-300}"
