#!/usr/bin/env bash
# Prepares the demo's Wine prefix (build/wine/demo-prefix): the prefix of the GUI tests' kind, the
# stand-in archiver at C:\Program Files\WinZip\wzzip.exe with a placeholder winzip32.exe, and a
# small sample Documents folder for the prefix's user. The samples are rewritten on every run;
# archives made by earlier runs stay.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export TESSEL_WINEPREFIX="$root/build/wine/demo-prefix"
"$root/scripts/gui-prefix.sh"
source "$root/scripts/wine-env.sh"

# The demo opens the vendor link in a real browser where there is one.
wine reg delete 'HKCU\Software\Wine\WineBrowser' /v Browsers /f >/dev/null 2>&1 || true
# With a real display, let its window manager frame the window.
if [ -z "${TESSEL_HEADLESS:-}" ]; then
  wine reg delete 'HKCU\Software\Wine\X11 Driver' /v Managed /f >/dev/null 2>&1 || true
fi
wineserver -w

"$root/scripts/install-archiver.sh" "$WINEPREFIX/drive_c" >/dev/null

# Wine links Documents to the (private) HOME; the demo gives the user a real folder instead.
documents="$WINEPREFIX/drive_c/users/$(id -un)/Documents"
[ -L "$documents" ] && rm "$documents"
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
echo "$documents"
