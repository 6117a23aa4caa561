#!/usr/bin/env bash
# Prepares the Wine prefix of the GUI tests and the demo (build/wine/gui-prefix unless
# TESSEL_WINEPREFIX says otherwise): Wine's own MS Sans Serif and Marlett fonts where Wine did not
# register them, the screen's DPI (TESSEL_GUI_DPI, 96 unless given), window frames drawn by Wine (Xvfb has no window manager), the scratch drive T:
# mapped to build/gui-data, and a stand-in web browser that records the addresses it is given
# (build/gui-data/browser-calls.txt).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export TESSEL_WINEPREFIX="${TESSEL_WINEPREFIX:-$root/build/wine/gui-prefix}"
source "$root/scripts/wine-env.sh"
"$root/scripts/wine-prefix.sh"

fonts="$WINEPREFIX/drive_c/windows/Fonts"
for dir in /usr/share/wine/fonts /usr/lib/wine/fonts /usr/local/share/wine/fonts; do
  [ -f "$dir/sserife.fon" ] || continue
  for font in sserife.fon ms_sans_serif.ttf marlett.ttf; do
    [ -f "$dir/$font" ] && [ ! -f "$fonts/$font" ] && cp "$dir/$font" "$fonts/"
  done
  break
done

data="$root/build/gui-data"
mkdir -p "$data"
ln -sfn "$data" "$WINEPREFIX/dosdevices/t:"
cat > "$data/record-browser.sh" <<'SCRIPT'
#!/bin/sh
# Stands in for the web browser: records the address and stays a while, as a browser would.
echo "$@" >> "$(dirname "$0")/browser-calls.txt"
sleep 2
SCRIPT
chmod +x "$data/record-browser.sh"

wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "${TESSEL_GUI_DPI:-96}" /f \
  >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\WineBrowser' /v Browsers /d "$data/record-browser.sh" /f \
  >/dev/null 2>&1
wineserver -w
