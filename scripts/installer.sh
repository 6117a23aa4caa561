#!/usr/bin/env bash
# Builds the Windows tree and its installer, build/win/tessel-setup-<version>.exe, signed when
# TESSEL_SIGN_CERT and TESSEL_SIGN_KEY name a certificate and its key (see scripts/sign.sh).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/deps.sh"
"$root/scripts/build.sh" win
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$root/build/win/CMakeCache.txt")
# Built anew every time: whether it is signed depends on the environment of this run.
rm -f "$root/build/win/tessel-setup-$version.exe"
cmake --build "$root/build/win" --target installer
ls -l "$root/build/win/tessel-setup-$version.exe"
