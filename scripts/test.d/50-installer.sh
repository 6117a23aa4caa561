# Installer tests under Wine in a fresh prefix of its own: a silent install, the program started
# from the installed path, and a silent uninstall that keeps the stored default destination. Also
# runs alone: bash scripts/test.d/50-installer.sh. The prefix is a copy of the one the test command
# made for this run when there is one (a second instead of a quarter of a minute), else new.
(
  set -euo pipefail
  root="${root:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)}"
  cmake --build "$root/build/win" --target installer uidriver >/dev/null
  version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$root/build/win/CMakeCache.txt")
  export TESSEL_WINEPREFIX="$root/build/wine-installer/prefix"
  rm -rf "$TESSEL_WINEPREFIX"
  source "$root/scripts/wine-env.sh"
  own_xvfb=
  [ -n "${DISPLAY:-}" ] || { source "$root/scripts/xvfb.sh" && own_xvfb=$TESSEL_XVFB_PID; }
  stop() {  # only this prefix's server, and a display only if started here
    timeout 30 wineserver -k 2>/dev/null || true
    [ -z "$own_xvfb" ] || kill "$own_xvfb" 2>/dev/null || true
  }
  trap stop EXIT
  fresh="$root/build/wine/prefix"
  if [ -f "$fresh/system.reg" ] && [ ! -e "$fresh/drive_c/Program Files/Tessel" ]; then
    mkdir -p "$TESSEL_WINEPREFIX"
    cp -a "$fresh/." "$TESSEL_WINEPREFIX/"
  fi
  "$root/scripts/wine-prefix.sh" >/dev/null
  # Shortcuts need no menu entries on this machine.
  export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winemenubuilder.exe=d"

  dir="$WINEPREFIX/drive_c/Program Files/Tessel"
  files=("$dir/tessel.exe" "$dir/uninstall.exe"
    "$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Tessel.lnk")
  key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tessel'
  fail() { echo "   FAIL: $*" >&2; exit 1; }

  echo "   silent install, start from the installed path, silent uninstall"
  timeout 120 wine "$root/build/win/tessel-setup-$version.exe" /S || fail "setup exited $?"
  for f in "${files[@]}"; do [ -e "$f" ] || fail "missing: $f"; done
  cmp -s "$root/build/win/src/app/tessel.exe" "$dir/tessel.exe" || fail "tessel.exe differs"
  timeout 60 wine reg query "$key" /v UninstallString >/dev/null || fail "no uninstall entry"

  driver() { timeout 120 wine "$root/build/win/tests/win/gui/uidriver.exe" "$@"; }
  driver install-archiver
  driver start 'C:\Program Files\Tessel\tessel.exe'
  driver quit

  printf 'D:\\Archive\r\n' >"$dir/DefaultDestinationPath.txt"
  # The uninstaller reruns itself from a temporary copy and returns at once: wait for the copy.
  timeout 60 wine 'C:\Program Files\Tessel\uninstall.exe' /S || fail "uninstall exited $?"
  timeout 60 wineserver -w
  for f in "${files[@]}"; do [ ! -e "$f" ] || fail "still there: $f"; done
  printf 'D:\\Archive\r\n' | cmp -s - "$dir/DefaultDestinationPath.txt" || fail "default lost"
  # The server has saved the registry on leaving.
  ! grep -qF '[Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tessel]' \
    "$WINEPREFIX/system.reg" || fail "uninstall entry still there"

  # A passing run's prefix is no longer needed (some 700 MB); a failing one stays for a look.
  stop
  trap - EXIT
  rm -rf "$TESSEL_WINEPREFIX"
)
