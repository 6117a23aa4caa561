# GUI end-to-end tests: the real tessel.exe driven through window messages under Wine and Xvfb,
# in a Wine prefix of their own; then a screenshot of the main window with sample data,
# build/gui-main-window.png. Only processes of that prefix are stopped afterwards.
(
  export TESSEL_WINEPREFIX="$root/build/wine/gui-prefix"
  "$root/scripts/gui-prefix.sh"
  source "$root/scripts/wine-env.sh"
  gui="$root/build/win/tests/win/gui"
  stop_gui() { wineserver -k 2>/dev/null || true; }
  trap stop_gui EXIT

  timeout 900 wine "$gui/tessel_gui_tests.exe" --gtest_color=no

  # The screenshot: sample data, typed fields, the pointer out of the way.
  data="$root/build/gui-data"
  rm -rf "$data/Backups" "$data/Photos"
  mkdir -p "$data/Backups" "$data/Photos/2023"
  head -c 120000 /dev/zero > "$data/Backups/Photos-202401.zip"
  head -c 2500 /dev/zero > "$data/Photos/beach.jpg"
  head -c 7300 /dev/zero > "$data/Photos/2023/hills.jpg"
  driver() { timeout 120 wine "$gui/uidriver.exe" "$@"; }
  driver install-archiver
  driver store-destination 'T:\Backups'
  # The screenshot is an artefact for people to look at, not a check: a step that fails here is
  # reported and the stage goes on (the suite above has already passed or failed on its own).
  if driver start && driver type TxtSrc 'T:\Photos' >/dev/null &&
      driver type txtSpecificBackupFileName 'Holiday photos' >/dev/null && driver park-mouse; then
    window="$(xwininfo -root -tree | awk '/"Tessel - Corvane LLC "/ {print $1; exit}')"
    import -window "${window:-root}" "$root/build/gui-main-window.png"
    echo "   screenshot: build/gui-main-window.png"
  else
    echo "   warning: driving the window for the screenshot failed (exit $?); no screenshot"
  fi
  driver quit || wineserver -k

  # The layout once more on a high-DPI screen.
  TESSEL_GUI_DPI=144 "$root/scripts/gui-prefix.sh"
  timeout 300 wine "$gui/tessel_gui_tests.exe" --gtest_color=no \
    --gtest_filter='Gui.WindowIsLaidOutFromItsTableAtTheScreensDpi'
  "$root/scripts/gui-prefix.sh"
)
