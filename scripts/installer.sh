#!/usr/bin/env bash
# Builds the Windows tree and its installer, build/win/tessel-setup-<version>.exe.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/deps.sh"
"$root/scripts/build.sh" win
cmake --build "$root/build/win" --target installer
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$root/build/win/CMakeCache.txt")
ls -l "$root/build/win/tessel-setup-$version.exe"
