# Installer tests under Wine in a fresh prefix of its own: setup signed with a throw-away
# certificate, stopping at a file planted in the program folder, a silent install over files of
# the earlier layout, what standard users may write in the installed tree, the installed
# program's imports, setup and uninstall waiting for a running Tessel, and a silent uninstall that
# keeps the stored default destination. Also runs alone: bash scripts/test.d/50-installer.sh.
(
  set -euo pipefail
  root="${root:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)}"
  version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$root/build/win/CMakeCache.txt")
  setup="$root/build/win/tessel-setup-$version.exe"
  sign="$root/build/wine-installer/sign"
  mkdir -p "$sign"
  openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Tessel test signing" \
    -addext extendedKeyUsage=codeSigning -keyout "$sign/key.pem" -out "$sign/cert.pem" 2>/dev/null
  export TESSEL_SIGN_CERT="$sign/cert.pem" TESSEL_SIGN_KEY="$sign/key.pem"
  rm -f "$setup"  # so that it is built, and signed, anew
  cmake --build "$root/build/win" --target installer uidriver >/dev/null
  export TESSEL_WINEPREFIX="$root/build/wine-installer/prefix"
  rm -rf "$TESSEL_WINEPREFIX"
  source "$root/scripts/wine.sh"
  wine_display
  wine_prefix >/dev/null
  # Shortcuts need no menu entries on this machine. Wine's icacls is a stub and Wine enforces no
  # rights: the UI driver in its place records what setup asks for.
  export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winemenubuilder.exe=d;icacls.exe=n"
  system32="$WINEPREFIX/drive_c/windows/system32"
  cp "$root/build/win/tools/uidriver/uidriver.exe" "$system32/icacls.exe"

  dir="$WINEPREFIX/drive_c/Program Files/Tessel"
  menu='ProgramData\Microsoft\Windows\Start Menu\Programs\Tessel.lnk'
  files=("$dir/Program/tessel.exe" "$dir/Program/uninstall.exe" "$WINEPREFIX/drive_c/${menu//\\//}")
  key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tessel'
  fail() { echo "   FAIL: $*" >&2; exit 1; }
  exits() {  # exits CODE PROGRAM ARGS...: fails unless the program ends with CODE
    local code=0 && timeout 120 wine "${@:2}" || code=$?
    [ "$code" = "$1" ] || fail "$2 exited $code"
  }

  echo "   a planted DLL stops setup; silent install over the earlier layout: rights, signatures, imports"
  mkdir -p "$dir/Program"
  touch "$dir/tessel.exe" "$dir/uninstall.exe" "$dir/Program/mpr.dll"
  exits 3 "$setup" /S
  rm "$dir/Program/mpr.dll" || fail "setup removed a file that was not its own"
  exits 0 "$setup" /S
  for f in "${files[@]}"; do [ -e "$f" ] || fail "missing: $f"; done
  for f in tessel.exe uninstall.exe; do [ ! -e "$dir/$f" ] || fail "left from before: $f"; done
  timeout 60 wine reg query "$key" /v UninstallString | grep -qF 'Tessel\Program\uninstall.exe' ||
    fail "the uninstall entry does not name Program\\uninstall.exe"
  python3 "$root/tests/installer/user_writable.py" "$system32/command-lines.log" \
    "$WINEPREFIX/drive_c" 'C:\Program Files\Tessel' "C:\\$menu" || fail "see above"
  for f in "$setup" "${files[@]:0:2}"; do
    osslsigncode verify -CAfile "$sign/cert.pem" -in "$f" >/dev/null || fail "not signed: $f"
  done
  # Known DLLs come from System32 whatever the folder, common controls as the manifest says.
  known="advapi32 clbcatq combase comdlg32 coml2 difxapi gdi32 gdiplus imagehlp imm32 kernel32
    msctf msvcrt normaliz nsi ole32 oleaut32 psapi rpcrt4 sechost setupapi shcore shell32 shlwapi
    user32 wldap32 ws2_32 kernelbase ntdll comctl32"
  header=$(x86_64-w64-mingw32-objdump -p "${files[0]}")
  for dll in $(sed -n 's/^\s*DLL Name: \(.*\)\.dll$/\1/p' <<<"$header" | tr 'A-Z' 'a-z'); do
    grep -qw "$dll" <<<"$known" || fail "imports $dll.dll: Windows looks for it beside the program"
  done
  grep -q TERMINAL_SERVICE_AWARE <<<"$header" || fail "not terminal-server aware"

  echo "   with Tessel running, silent setup and uninstall change nothing and exit with 32"
  driver() { timeout 120 wine "$root/build/win/tools/uidriver/uidriver.exe" "$@"; }
  driver install-archiver
  driver start 'C:\Program Files\Tessel\Program\tessel.exe'
  exits 32 "$setup" /S
  # Run in place to get its exit code: "_?=" takes the rest of the line, blanks and all, unquoted.
  printf '@"%s" /S _?=%s\r\n@exit /b %%errorlevel%%\r\n' 'C:\Program Files\Tessel\Program\uninstall.exe' \
    'C:\Program Files\Tessel\Program' >"$WINEPREFIX/drive_c/uninstall-here.cmd"
  exits 32 cmd /c 'C:\uninstall-here.cmd'
  for f in "${files[@]}"; do [ -e "$f" ] || fail "missing: $f"; done
  driver quit

  echo "   silent uninstall keeping the stored default"
  printf 'D:\\Archive\r\n' >"$dir/DefaultDestinationPath.txt"
  touch "$dir/DefaultDestinationPath.txt.tessel-store"  # left by a store killed half-way
  # The uninstaller reruns itself from a temporary copy and returns at once: wait for the copy.
  timeout 60 wine 'C:\Program Files\Tessel\Program\uninstall.exe' /S || fail "uninstall exited $?"
  timeout 60 wineserver -w
  for f in "${files[@]}" "$dir/Program" "$dir/DefaultDestinationPath.txt.tessel-store"; do [ ! -e "$f" ] || fail "still there: $f"; done
  printf 'D:\\Archive\r\n' | cmp -s - "$dir/DefaultDestinationPath.txt" || fail "default lost"
  # The server has saved the registry on leaving.
  ! grep -qF '[Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tessel]' \
    "$WINEPREFIX/system.reg" || fail "uninstall entry still there"

  # A passing run's prefix is no longer needed (some 700 MB); a failing one stays for a look.
  wine_stop
  rm -rf "$TESSEL_WINEPREFIX"
)
