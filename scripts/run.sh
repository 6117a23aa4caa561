#!/usr/bin/env bash
# Builds Tessel for Windows and starts it under Wine in the project's isolated prefix.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/deps.sh"
"$root/scripts/build.sh" win
"$root/scripts/wine-prefix.sh"
source "$root/scripts/wine-env.sh"
if [ -z "${DISPLAY:-}" ]; then source "$root/scripts/xvfb.sh"; fi
exec wine "$root/build/win/src/app/tessel.exe"
