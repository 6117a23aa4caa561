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
mkdir -p "$archive_dir"

echo "Sample Documents: $documents"
driver start
echo "Backing up the Documents of '$user' from the main window..."
# The click returns once the program answers again, that is once the archiver has run.
driver click btnBackupUser
[ -f "$archive" ] || { echo "No archive was made" >&2; exit 1; }
driver park-mouse
window="$(xwininfo -name 'Tessel - Corvane LLC ' | awk '/Window id:/ {print $4}')"
import -window "$window" "$root/build/demo-main-window.png"
driver quit

echo
echo "Archive: C:\\Backup Zips\\$(basename "$archive")  ($archive)"
unzip -l "$archive"
unzip -tq "$archive"
echo "Screenshot of the main window: build/demo-main-window.png"
