#!/usr/bin/env bash
# Keystroke benchmark: what typing ahead and a backup feel like, for this program and the earlier
# one (the last before refreshes waited for input to pause: BASELINE, a1234da unless given, built
# once from git), the two taking turns. Under Wine and Xvfb, keys_bench.exe types M:\Archive\2026
# into the destination field with real keys, one every 100 ms, over a drive M: whose root holds
# about 50,000 files in 5,000 folders, and then runs a seven-second backup.
# Usage: scripts/bench-keys.sh [ROUNDS]   (default 3)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
rounds="${1:-3}"
baseline="${BASELINE:-a1234da}"
typed='M:\Archive\2026'

"$root/scripts/build.sh" win >/dev/null
earlier="$root/build/bench/earlier-$baseline"
if [ ! -f "$earlier/build/src/app/tessel.exe" ]; then
  echo "Building the program as of $baseline in $earlier"
  rm -rf "$earlier" && mkdir -p "$earlier/src"
  git -C "$root" archive "$baseline" | tar -x -C "$earlier/src"
  TESSEL_SOURCE="$earlier/src" TESSEL_BUILD="$earlier/build" "$root/scripts/build.sh" win tessel \
    >/dev/null
fi

# The GUI tests' prefix set-up (fonts, 96 dpi, windows framed by Wine), in a prefix of its own,
# with the display up first: Wine's desktop takes the display it finds when it starts.
export TESSEL_WINEPREFIX="$root/build/wine/keys-prefix"
source "$root/scripts/wine.sh"
wine_display
wine_gui

work="$root/build/bench"
drive="$work/keys-drive"
mkdir -p "$work"
stamp="$(sha1sum "$root/bench/scan/make_tree.py" | cut -c1-40)"
if [ ! -d "$drive/Archive/2026" ] || [ "$(cat "$drive.stamp" 2>/dev/null)" != "$stamp" ]; then
  echo "Generating drive M: in $drive"
  python3 "$root/bench/scan/make_tree.py" "$drive"
  # The folder typed: 300 files, 2 KiB to 2 MiB.
  mkdir -p "$drive/Archive/2026"
  for i in $(seq 0 299); do truncate -s $((2048 << (i % 11))) "$drive/Archive/2026/scan$i.tif"; done
  echo "$stamp" >"$drive.stamp"
fi
ln -sfn "$drive" "$WINEPREFIX/dosdevices/m:"

winpath() { printf 'Z:%s' "$1" | tr / '\\'; }
bench="$root/build/win/bench/keys/keys_bench.exe"
rm -f "$work"/keys.*.out
cd "$work"
for ((round = 1; round <= rounds; round++)); do
  echo "Round $round of $rounds"
  for who in ours earlier; do
    exe="$root/build/win/src/app/tessel.exe"
    [ "$who" = earlier ] && exe="$earlier/build/src/app/tessel.exe"
    timeout 300 wine "$bench" "$(winpath "$exe")" "$typed" | tr -d '\r' >>"$work/keys.$who.out"
  done
done
python3 "$root/bench/keys/report.py" "$work/keys.ours.out" "$work/keys.earlier.out" "$baseline" \
  "$rounds"
