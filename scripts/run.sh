#!/usr/bin/env bash
# Builds Tessel and shows its main job under Wine, in a prefix of its own with the stand-in
# archiver installed and a sample Documents folder:
#  - with a display (DISPLAY set): starts Tessel in a window, ready to back up;
#  - without one: runs Tessel under a private Xvfb, backs up the sample Documents from the main
#    window, prints where the archive is and what it holds, and saves a screenshot.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/deps.sh"
"$root/scripts/build.sh" win >/dev/null

if [ -n "${DISPLAY:-}" ] && [ -z "${TESSEL_HEADLESS:-}" ]; then
  "$root/scripts/demo-prefix.sh" >/dev/null
  export TESSEL_WINEPREFIX="$root/build/wine/demo-prefix"
  source "$root/scripts/wine-env.sh"
  # Started from C:\, so an emptied field scans the prefix's C: drive, not the Unix root (Z:).
  cd "$WINEPREFIX/drive_c"
  exec wine "$root/build/win/src/app/tessel.exe"
fi

export TESSEL_HEADLESS=1
documents="$("$root/scripts/demo-prefix.sh" | tail -n 1)"
export TESSEL_WINEPREFIX="$root/build/wine/demo-prefix"
source "$root/scripts/wine-env.sh"
source "$root/scripts/xvfb.sh"
finish() {
  wineserver -k 2>/dev/null || true
  if [ -n "${TESSEL_XVFB_PID:-}" ]; then kill "$TESSEL_XVFB_PID" 2>/dev/null || true; fi
}
trap finish EXIT

driver() { timeout 300 wine "$root/build/win/tests/win/gui/uidriver.exe" "$@"; }
user="$(id -un)"
month="$(date +%Y%m)"
archive_dir="$WINEPREFIX/drive_c/Backup Zips"
archive="$archive_dir/${user^}-$month.zip"
rm -f "$archive"

echo "Sample Documents: $documents"
driver start
echo "Backing up the Documents of '$user' from the main window..."
driver click btnBackupUser
# First run: the destination C:\Backup Zips does not exist yet; Tessel asks to create it.
if [ ! -d "$archive_dir" ]; then driver answer yes; fi
for _ in $(seq 1 600); do
  [ -f "$archive" ] && ! pgrep -f 'wzzip\.exe' >/dev/null && break
  sleep 0.5
done
[ -f "$archive" ] || { echo "No archive was made" >&2; exit 1; }
driver park-mouse >/dev/null
sleep 1
window="$(xwininfo -root -tree | awk '/"Tessel - Corvane LLC "/ {print $1; exit}')"
import -window "${window:-root}" "$root/build/demo-main-window.png"
echo "Destination metrics after the backup:"
for box in txtFileCountDestination txtFolderCountDestination txtFolderSizeDestination; do
  driver read "$box"
done
driver quit >/dev/null

echo
echo "Archive: C:\\Backup Zips\\$(basename "$archive")  ($archive)"
unzip -l "$archive"
unzip -tq "$archive"
echo "Screenshot of the main window: build/demo-main-window.png"
