#!/usr/bin/env bash
# Runs every test: native unit tests (with sanitizers), then the Windows build's platform and
# GUI tests under Wine and Xvfb. Installs what it needs on a fresh Debian machine.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

"$root/scripts/deps.sh"
start=$(date +%s)
"$root/scripts/build.sh" all
built=$(date +%s)

echo "== Native unit tests"
ctest --test-dir "$root/build/native" --output-on-failure -j "$(nproc)"

echo "== Windows tests under Wine"
"$root/scripts/wine-prefix.sh"
source "$root/scripts/wine-env.sh"
source "$root/scripts/xvfb.sh"
cleanup() {
  wineserver -k 2>/dev/null || true
  [ -n "${TESSEL_XVFB_PID:-}" ] && kill "$TESSEL_XVFB_PID" 2>/dev/null || true
}
trap cleanup EXIT
ctest --test-dir "$root/build/win" --output-on-failure

done_at=$(date +%s)
echo "Build: $((built - start)) s, tests: $((done_at - built)) s"
