#!/usr/bin/env bash
# Prepares the Wine prefix of the GUI tests and the demo (build/wine/gui-prefix unless
# TESSEL_WINEPREFIX says otherwise): Wine's own MS Sans Serif and Marlett fonts where Wine did not
# register them, window frames drawn by Wine (Xvfb has no window manager), and the scratch drive
# T: mapped to build/gui-data.
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

if [ ! -f "$WINEPREFIX/.tessel-gui" ]; then
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  wineserver -w
  touch "$WINEPREFIX/.tessel-gui"
fi

mkdir -p "$root/build/gui-data"
ln -sfn "$root/build/gui-data" "$WINEPREFIX/dosdevices/t:"
