#!/usr/bin/env bash
# Prepares the Wine prefix of the GUI tests and the demo (build/wine/gui-prefix unless
# TESSEL_WINEPREFIX says otherwise): Wine's own MS Sans Serif, Tahoma (the TrueType face the forms
# take under Wine) and Marlett fonts where Wine did not register them, a Chinese face standing in
# for the Japanese one that Windows links Tahoma and Microsoft Sans Serif to first, the screen's
# DPI (TESSEL_GUI_DPI, 96 unless given), window frames drawn by Wine (Xvfb has no window manager),
# and the scratch drive T: mapped to build/gui-data.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export TESSEL_WINEPREFIX="${TESSEL_WINEPREFIX:-$root/build/wine/gui-prefix}"
source "$root/scripts/wine-env.sh"
# A copy of the plain prefix the test command made is ready in a second, a new one in a quarter of
# a minute.
plain="$root/build/wine/prefix"
if [ ! -f "$WINEPREFIX/system.reg" ] && [ -f "$plain/system.reg" ] && [ "$WINEPREFIX" != "$plain" ]; then
  mkdir -p "$WINEPREFIX"
  cp -a "$plain/." "$WINEPREFIX/"
fi
"$root/scripts/wine-prefix.sh"

fonts="$WINEPREFIX/drive_c/windows/Fonts"
for dir in /usr/share/wine/fonts /usr/lib/wine/fonts /usr/local/share/wine/fonts; do
  [ -f "$dir/sserife.fon" ] || continue
  for font in sserife.fon tahoma.ttf tahomabd.ttf marlett.ttf; do
    [ -f "$dir/$font" ] && [ ! -f "$fonts/$font" ] && cp "$dir/$font" "$fonts/"
  done
  break
done

data="$root/build/gui-data"
mkdir -p "$data"
ln -sfn "$data" "$WINEPREFIX/dosdevices/t:"

# One registry import: every Wine start costs a second or more on these machines.
# Windows' own link table for those faces starts with MS UI Gothic, which Wine lacks: Wine's font
# replacement puts the Debian CJK face (fonts-wqy-microhei) in its place, and the table is untouched.
printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Control Panel\\Desktop]\r\n"LogPixels"=dword:%08x\r\n\r\n[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\r\n"Managed"="N"\r\n\r\n[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n"MS UI Gothic"="WenQuanYi Micro Hei"\r\n' \
  "${TESSEL_GUI_DPI:-96}" >"$WINEPREFIX/drive_c/gui-prefix.reg"
wine reg import 'C:\gui-prefix.reg' >/dev/null 2>&1
