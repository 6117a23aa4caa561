#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs them side by side, each for a bounded time.
# Usage: scripts/fuzz.sh [seconds per target, default 10]   (longer runs: scripts/fuzz.sh 600)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
seconds="${1:-10}"
build="$root/build/fuzz"
names=()
for source in "$root"/tests/fuzz/*_fuzz.cpp; do names+=("$(basename "$source" .cpp)"); done
mkdir -p "$build"
"$root/scripts/build.sh" fuzz "${names[@]}" >"$build/build.log" 2>&1 ||
  { tail -30 "$build/build.log"; exit 1; }
mkdir -p "$build/crashes"
pids=()
for name in "${names[@]}"; do
  work="$build/corpus/${name%_fuzz}"
  mkdir -p "$work"
  "$build/tests/fuzz/$name" -max_total_time="$seconds" -max_len=4096 -timeout=10 \
    -rss_limit_mb=2048 -artifact_prefix="$build/crashes/$name-" -print_final_stats=1 \
    "$work" "$root/tests/fuzz/corpus/${name%_fuzz}" >"$build/$name.log" 2>&1 &
  pids+=($!)
done
failed=0
for i in "${!names[@]}"; do
  name="${names[$i]}"
  if wait "${pids[$i]}"; then
    runs=$(grep -m1 -o 'stat::number_of_executed_units: *[0-9]*' "$build/$name.log" | grep -o '[0-9]*$')
    echo "fuzz $name: ${runs:-?} inputs, no failure"
  else
    echo "fuzz $name: FAILED (see $build/$name.log)"
    tail -30 "$build/$name.log"
    failed=1
  fi
done
exit "$failed"
