#!/usr/bin/env bash
# Wine for this run, never the user's ~/.wine or home: the prefix TESSEL_WINEPREFIX
# (build/wine/prefix unless given) and a private HOME under build/wine, quiet and offline.
#   source scripts/wine.sh   sets that up and, on exit, stops this prefix's programs and the
#                            display started here; the functions below do the rest.
#   scripts/wine.sh PROGRAM  runs a Windows program there (ctest's emulator, the archiver check).
TESSEL_ROOT="${TESSEL_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}"
export WINEPREFIX="${TESSEL_WINEPREFIX:-$TESSEL_ROOT/build/wine/prefix}"
export HOME="$TESSEL_ROOT/build/wine/home"
export WINEDEBUG=-all
# No Mono or Gecko download prompts in a closed network.
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64
mkdir -p "$HOME"
[ "${BASH_SOURCE[0]}" != "$0" ] || exec wine "$@"

# The prefix, ready: a copy of the plain one when that exists and holds no installed Tessel (a
# second instead of a quarter of a minute), else made anew.
wine_prefix() {
  local plain="$TESSEL_ROOT/build/wine/prefix"
  [ ! -f "$WINEPREFIX/system.reg" ] || return 0
  if [ "$WINEPREFIX" != "$plain" ] && [ -f "$plain/system.reg" ] &&
    [ ! -e "$plain/drive_c/Program Files/Tessel" ]; then
    mkdir -p "$WINEPREFIX" && cp -a "$plain/." "$WINEPREFIX/"
  else
    echo "Preparing Wine prefix in $WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    wineboot --init >/dev/null 2>&1 || true
    wineserver -w
  fi
}

# A private Xvfb display for this run, unless the run has one already or TESSEL_KEEP_DISPLAY asks
# for the DISPLAY given. Wine's desktop takes the display it finds when it starts.
wine_display() {
  [ -z "${TESSEL_XVFB_DISPLAY:-}" ] || [ "${DISPLAY:-}" != "$TESSEL_XVFB_DISPLAY" ] || return 0
  [ -z "${TESSEL_KEEP_DISPLAY:-}" ] || [ -z "${DISPLAY:-}" ] || return 0
  local n
  for n in $(seq 90 140); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || break
  done
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  wine_xvfb_pid=$!
  export DISPLAY=":$n" TESSEL_XVFB_DISPLAY=":$n"
  for _ in $(seq 1 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
}

# One Wine server for the rest of the run, its system processes started now: they keep open the
# output of the program that starts them, and would cost the first timing.
wine_server() {
  wineserver -w && wineserver -p && wine cmd /c exit >/dev/null 2>&1 </dev/null
}

# Stops this prefix's programs, and the display if it was started here.
wine_stop() {
  timeout 30 wineserver -k 2>/dev/null || true
  [ -z "${wine_xvfb_pid:-}" ] || kill "$wine_xvfb_pid" 2>/dev/null || true
  wine_xvfb_pid=
}
wine_xvfb_pid=
trap wine_stop EXIT

# The prefix the GUI tests and the demo use: Wine's own MS Sans Serif, Tahoma (the TrueType face
# the forms take under Wine) and Marlett where Wine did not register them, a Chinese face standing
# in for the Japanese one that Windows links Tahoma and Microsoft Sans Serif to first, the screen's
# DPI (the argument, 96 unless given), window frames drawn by Wine (Xvfb has no window manager),
# and the scratch drive T: mapped to build/gui-data.
wine_gui() {
  wine_prefix
  local dir font fonts="$WINEPREFIX/drive_c/windows/Fonts"
  for dir in /usr/share/wine/fonts /usr/lib/wine/fonts /usr/local/share/wine/fonts; do
    [ -f "$dir/sserife.fon" ] || continue
    for font in sserife.fon tahoma.ttf tahomabd.ttf marlett.ttf; do
      [ -f "$dir/$font" ] && [ ! -f "$fonts/$font" ] && cp "$dir/$font" "$fonts/"
    done
    break
  done
  mkdir -p "$TESSEL_ROOT/build/gui-data"
  ln -sfn "$TESSEL_ROOT/build/gui-data" "$WINEPREFIX/dosdevices/t:"
  # One registry import: every Wine start costs a second or more on these machines. Windows' own
  # link table for those faces starts with MS UI Gothic, which Wine lacks: Wine's font replacement
  # puts the Debian CJK face (fonts-wqy-microhei) in its place, and the table is untouched.
  printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Control Panel\\Desktop]\r\n"LogPixels"=dword:%08x\r\n\r\n[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\r\n"Managed"="N"\r\n\r\n[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n"MS UI Gothic"="WenQuanYi Micro Hei"\r\n' \
    "${1:-96}" >"$WINEPREFIX/drive_c/gui-prefix.reg"
  wine reg import 'C:\gui-prefix.reg' >/dev/null 2>&1
}

# Saves a picture of the window whose caption is $1 (as `uidriver park-mouse` prints it) to $2.
wine_screenshot() {
  import -window "$(xwininfo -name "${1%$'\r'}" | awk '/Window id:/ {print $4}')" "$2"
}
