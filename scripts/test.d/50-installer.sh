# Installer tests under Wine: silent install into a fresh prefix, the program starting from the
# installed path, a reinstall that keeps the stored default, a failed rights change reported, and
# silent uninstalls. Runs in a subshell with a prefix of its own, so other stages' Wine is
# untouched; also runs alone: bash scripts/test.d/50-installer.sh
(
  set -euo pipefail
  root="${root:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)}"
  cmake --build "$root/build/win" --target installer icacls_stand_in >/dev/null
  version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$root/build/win/CMakeCache.txt")
  setup="$root/build/win/tessel-setup-$version.exe"
  [ -f "$setup" ] || { echo "no installer at $setup" >&2; exit 1; }

  export TESSEL_WINEPREFIX="$root/build/wine-installer/prefix"
  rm -rf "$TESSEL_WINEPREFIX"
  mkdir -p "$TESSEL_WINEPREFIX"
  source "$root/scripts/wine-env.sh"
  own_xvfb=
  if [ -z "${DISPLAY:-}" ]; then
    source "$root/scripts/xvfb.sh"
    own_xvfb=$TESSEL_XVFB_PID
  fi
  stop() {  # only this prefix's server, and a display only if started here
    timeout 30 wineserver -k 2>/dev/null || true
    if [ -n "$own_xvfb" ]; then kill "$own_xvfb" 2>/dev/null || true; fi
  }
  trap stop EXIT

  timeout 120 wineboot --init >/dev/null 2>&1 || true
  timeout 60 wineserver -w

  # Wine's icacls changes nothing and reports success; the stand-in logs what setup asks for.
  cp "$root/build/win/installer/icacls_stand_in.exe" \
    "$WINEPREFIX/drive_c/windows/system32/icacls.exe"
  export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;icacls.exe=n"
  export TESSEL_ICACLS_LOG='C:\icacls.log'
  icacls_log="$WINEPREFIX/drive_c/icacls.log"

  dir="$WINEPREFIX/drive_c/Program Files/Tessel"
  settings="$dir/DefaultDestinationPath.txt"
  shortcut="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Tessel.lnk"
  key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tessel'
  failures=0
  fail() { echo "   FAIL: $*" >&2; failures=$((failures + 1)); }

  install() {  # expected exit code
    rm -f "$icacls_log"
    local rc=0
    timeout 60 wine "$setup" /S || rc=$?
    [ "$rc" = "$1" ] || fail "setup /S exited $rc, expected $1"
  }
  uninstall() {
    local rc=0
    # The uninstaller reruns itself from a temporary copy and returns at once: wait for the copy.
    timeout 60 wine 'C:\Program Files\Tessel\uninstall.exe' /S || rc=$?
    timeout 60 wineserver -w || rc=$?
    [ "$rc" = 0 ] || fail "uninstall /S exited $rc"
  }
  reg_value() {  # name -> data of that value in the uninstall entry, empty when missing
    timeout 30 wine reg query "$key" /v "$1" 2>/dev/null | tr -d '\r' |
      awk -F'    ' -v name="$1" '$2 == name { print $4 }'
  }
  expect_files() {  # present|absent path...
    local want=$1 path
    shift
    for path in "$@"; do
      if [ -e "$path" ]; then [ "$want" = present ] || fail "still there: $path"
      else [ "$want" = absent ] || fail "missing: $path"; fi
    done
  }

  echo "   silent install into a fresh prefix"
  install 0
  expect_files present "$dir/tessel.exe" "$dir/uninstall.exe" "$shortcut"
  built="$root/build/win/src/app/tessel.exe"
  cmp -s "$built" "$dir/tessel.exe" || fail "installed tessel.exe differs from the build"
  listing=$(ls "$dir" | tr '\n' ' ')
  [ "$listing" = "tessel.exe uninstall.exe " ] || fail "install folder holds: $listing"
  expected_acl=$(
    cat <<'EOF'
"C:\Program Files\Tessel\tessel.exe" /inheritance:r /grant:r *S-1-5-18:F *S-1-5-32-544:F *S-1-5-32-545:RX
"C:\Program Files\Tessel\uninstall.exe" /inheritance:r /grant:r *S-1-5-18:F *S-1-5-32-544:F *S-1-5-32-545:RX
"C:\Program Files\Tessel" /grant:r *S-1-5-32-545:(OI)(CI)M
EOF
  )
  [ "$(cat "$icacls_log" 2>/dev/null)" = "$expected_acl" ] ||
    fail "rights asked of icacls:"$'\n'"$(cat "$icacls_log" 2>/dev/null)"
  while IFS='|' read -r name expected; do
    got=$(reg_value "$name")
    [ "$got" = "$expected" ] || fail "uninstall entry $name: expected '$expected', got '$got'"
  done <<EOF
DisplayName|Tessel
DisplayVersion|$version
Publisher|Corvane LLC
DisplayIcon|C:\\Program Files\\Tessel\\uninstall.exe,0
UninstallString|"C:\\Program Files\\Tessel\\uninstall.exe"
QuietUninstallString|"C:\\Program Files\\Tessel\\uninstall.exe" /S
EOF
  size=$(reg_value EstimatedSize)
  [[ "$size" =~ ^0x[0-9a-f]+$ ]] && [ $((size)) -gt 0 ] || fail "uninstall entry size: got '$size'"

  echo "   tessel.exe starts from the installed path"
  rc=0
  # A program still running after the wait has started fine; it is stopped with the prefix.
  timeout -s KILL 15 wine 'C:\Program Files\Tessel\tessel.exe' || rc=$?
  [ "$rc" = 0 ] || [ "$rc" = 137 ] || fail "tessel.exe exited $rc"
  timeout 30 wineserver -k 2>/dev/null || true
  # Wine enforces no ACLs: this proves the folder is there and takes new files, no more.
  timeout 30 wine cmd /c echo probe '>' 'C:\Program Files\Tessel\probe.txt' >/dev/null 2>&1 || true
  [ "$(tr -d ' \r\n' <"$dir/probe.txt" 2>/dev/null)" = probe ] || fail "settings folder not written"
  rm -f "$dir/probe.txt"

  echo "   reinstall keeps the stored default and refreshes the program"
  printf 'D:\\Archive\r\n' >"$settings"
  : >"$dir/tessel.exe"
  install 0
  printf 'D:\\Archive\r\n' | cmp -s - "$settings" || fail "stored default changed"
  cmp -s "$built" "$dir/tessel.exe" || fail "reinstall left tessel.exe"

  echo "   a failed rights change fails setup and leaves the folder closed"
  TESSEL_ICACLS_EXIT=5 install 2
  grep -q 'OI' "$icacls_log" 2>/dev/null && fail "folder opened with the programs not locked"

  echo "   silent uninstall keeps the stored default"
  uninstall
  expect_files absent "$dir/tessel.exe" "$dir/uninstall.exe" "$shortcut"
  expect_files present "$settings"
  [ -z "$(reg_value DisplayName)" ] || fail "uninstall entry still registered"

  echo "   silent uninstall without a stored default leaves no folder"
  rm -f "$settings"
  install 0
  uninstall
  expect_files absent "$dir"

  [ "$failures" = 0 ] || { echo "   $failures installer check(s) failed" >&2; exit 1; }
  # A passing run's prefix is no longer needed (some 700 MB); a failing one stays for a look.
  stop
  trap - EXIT
  rm -rf "$TESSEL_WINEPREFIX"
)
