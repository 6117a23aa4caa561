#!/usr/bin/env bash
# The one place each build configuration is written:
#   native   build/native: Linux, debug, address and undefined-behaviour sanitizers (unit tests)
#   win      build/win: mingw-w64, release, static (the program, its Wine tests, the installer)
#   release  build/release: Linux, release (benchmarks)
#   fuzz     build/fuzz: clang, the portable code and its fuzz targets with libFuzzer
#   all      native and win
# Usage: scripts/build.sh [CONFIGURATION] [TARGET...]. TESSEL_SOURCE and TESSEL_BUILD name another
# source tree and its build folder (an earlier commit's, for a benchmark).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
what="${1:-all}"
targets=("${@:2}")
source="${TESSEL_SOURCE:-$root}"

build() {
  local dir="${TESSEL_BUILD:-$root/build/$1}" env=() flags=(-DCMAKE_BUILD_TYPE=Release)
  case "$1" in
    native) flags=(-DCMAKE_BUILD_TYPE=Debug -DTESSEL_SANITIZE=ON) ;;
    win) flags+=(-DCMAKE_TOOLCHAIN_FILE="$source/cmake/mingw-w64-x86_64.cmake") ;;
    fuzz) env=(CC=clang CXX=clang++) flags=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DTESSEL_FUZZ=ON) ;;
  esac
  env "${env[@]}" cmake -S "$source" -B "$dir" -G Ninja "${flags[@]}" >/dev/null
  cmake --build "$dir" -j "$(nproc)" ${targets[@]+--target "${targets[@]}"}
}

case "$what" in
  all) build native && build win ;;
  native | win | release | fuzz) build "$what" ;;
  *) echo "usage: $0 [all|native|win|release|fuzz] [TARGET...]" >&2 && exit 2 ;;
esac
