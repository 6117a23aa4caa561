#!/usr/bin/env bash
# Runs every test. Installs what it needs on a fresh Debian machine, builds both trees, then runs
# each stage in scripts/test.d in name order (native unit tests, Windows tests under Wine, ...).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

"$root/scripts/deps.sh"
start=$(date +%s)
"$root/scripts/build.sh" all
built=$(date +%s)

# Wine and a private X display for the stages that need them; stopped again on exit.
source "$root/scripts/wine.sh"
wine_prefix
wine_display

for stage in "$root"/scripts/test.d/*.sh; do
  echo "== $(basename "$stage" .sh)"
  stage_start=$(date +%s)
  source "$stage"
  echo "   ($(($(date +%s) - stage_start)) s)"
done

echo "Build: $((built - start)) s, tests: $(($(date +%s) - built)) s"
