#!/usr/bin/env bash
# Puts the Windows build of the stand-in archiver where backups launch it:
#   scripts/install-archiver.sh DRIVE_C
# copies build/win/tools/archiver/wzzip.exe to "DRIVE_C/Program Files/WinZip/wzzip.exe" and
# places an empty "winzip32.exe" beside it, which the presence check only looks for. DRIVE_C is
# the Unix folder of a Wine prefix's C: drive, e.g. build/wine/prefix/drive_c.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
if [ $# -ne 1 ] || [ ! -d "$1" ]; then
  echo "usage: $0 DRIVE_C   (an existing folder, such as build/wine/prefix/drive_c)" >&2
  exit 2
fi
exe="$root/build/win/tools/archiver/wzzip.exe"
if [ ! -f "$exe" ]; then
  echo "$exe is missing: run ./scripts/build.sh win first" >&2
  exit 1
fi
target="$1/Program Files/WinZip"
mkdir -p "$target"
cp "$exe" "$target/wzzip.exe"
[ -e "$target/winzip32.exe" ] || : >"$target/winzip32.exe"
echo "Installed $target/wzzip.exe"
