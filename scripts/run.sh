#!/usr/bin/env bash
# Builds Tessel and shows its main job under Wine, in a prefix of its own (build/wine/demo-prefix)
# with the stand-in archiver installed and a sample Documents folder:
#  - with a display (DISPLAY set): starts Tessel in a window, ready to back up;
#  - without one (or with TESSEL_HEADLESS set): runs Tessel under a private Xvfb, backs up the
#    sample Documents from the main window, prints where the archive is and what it holds, and
#    saves a screenshot.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/deps.sh"
"$root/scripts/build.sh" win >/dev/null

headless=
[ -n "${DISPLAY:-}" ] && [ -z "${TESSEL_HEADLESS:-}" ] || headless=1
export TESSEL_WINEPREFIX="$root/build/wine/demo-prefix"
source "$root/scripts/wine.sh"
[ -z "$headless" ] || wine_display

# The prefix of the GUI tests' kind. The demo opens the vendor link in a real browser where there
# is one, and lets a real display's window manager frame the window.
wine_gui
wine reg delete 'HKCU\Software\Wine\WineBrowser' /v Browsers /f >/dev/null 2>&1 || true
if [ -z "$headless" ]; then
  wine reg delete 'HKCU\Software\Wine\X11 Driver' /v Managed /f >/dev/null 2>&1 || true
fi
wineserver -w
"$root/scripts/install-archiver.sh" "$WINEPREFIX/drive_c" >/dev/null

# Wine links Documents to the (private) HOME; the demo gives the user a real folder instead. The
# samples are rewritten on every run; archives made by earlier runs stay.
user="$(id -un)"
documents="$WINEPREFIX/drive_c/users/$user/Documents"
rm -rf "$documents"
mkdir -p "$documents/Letters" "$documents/Photos/2026" "$documents/Budget"
for i in 1 2 3; do
  printf 'Dear reader,\r\n\r\nThis is letter %d of the Tessel demo.\r\n' "$i" \
    >"$documents/Letters/letter-$i.txt"
done
seq 1 20000 | sed 's/^/row /' >"$documents/Budget/household.csv"
head -c 300000 /dev/urandom >"$documents/Photos/2026/beach.jpg"
head -c 120000 /dev/urandom >"$documents/Photos/2026/hills.jpg"
printf 'Notes kept in Documents.\r\n' >"$documents/notes.txt"

if [ -z "$headless" ]; then
  # Started from C:\, so an emptied field scans the prefix's C: drive, not the Unix root (Z:).
  cd "$WINEPREFIX/drive_c"
  exec wine "$root/build/win/src/app/tessel.exe"
fi

driver() { timeout 300 wine "$root/build/win/tools/uidriver/uidriver.exe" "$@"; }
archive_dir="$WINEPREFIX/drive_c/Backup Zips"
archive="$archive_dir/${user^}-$(date +%Y%m).zip"
rm -f "$archive"
mkdir -p "$archive_dir"

echo "Sample Documents: $documents"
driver start
echo "Backing up the Documents of '$user' from the main window..."
# The click returns once the program answers again, that is once the archiver has run.
driver click btnBackupUser
[ -f "$archive" ] || { echo "No archive was made" >&2; exit 1; }
caption="$(driver park-mouse)"
wine_screenshot "$caption" "$root/build/demo-main-window.png"
driver quit

echo
echo "Archive: C:\\Backup Zips\\$(basename "$archive")  ($archive)"
unzip -l "$archive"
unzip -tq "$archive"
echo "Screenshot of the main window: build/demo-main-window.png"
