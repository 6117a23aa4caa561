#!/usr/bin/env bash
# Times the stand-in archiver against Info-ZIP's `zip -r -6` on the same data set in one run: a
# first run of each, then an update run after 5% of the files changed; the native build, and the
# Windows build under Wine. Builds an optimised native wzzip of its own (the test build carries
# sanitizers) and the Windows build. Usage: bench/archiver/run.sh [MB, default 300]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
build="$root/build/release"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target wzzip >/dev/null
cmake -S "$root" -B "$root/build/win" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" >/dev/null
cmake --build "$root/build/win" --target wzzip >/dev/null
"$root/scripts/wine-prefix.sh"
source "$root/scripts/wine-env.sh"
# One Wine server for the whole run, its system processes started before any timing.
wineserver -w && wineserver -p && "$root/scripts/wine-run" cmd /c exit >/dev/null 2>&1 </dev/null
trap 'wineserver -k' EXIT
python3 "$root/bench/archiver/bench.py" --wzzip "$build/tools/archiver/wzzip" \
  --wzzip-exe "$root/build/win/tools/archiver/wzzip.exe" \
  --work "$root/build/bench-archiver" --megabytes "${1:-300}"
