# GUI end-to-end tests: the real tessel.exe driven through window messages under Wine and Xvfb, in
# a Wine prefix of their own, at 96 dpi and for the layout once more at 144 dpi; then a screenshot
# of the main window with sample data, build/gui-main-window.png, every step of it checked. Only
# processes of that prefix are stopped afterwards.
(
  export TESSEL_WINEPREFIX="$root/build/wine/gui-prefix"
  source "$root/scripts/wine.sh"
  wine_gui
  gui="$root/build/win/tests/win/gui"
  # Drive V: holds 50,000 files at its root, so that a scan of it takes about a second.
  tree="$root/build/gui-tree"
  [ -d "$tree/folder00001" ] || python3 "$root/bench/scan/make_tree.py" "$tree"
  ln -sfn "$tree" "$WINEPREFIX/dosdevices/v:"
  timeout 600 wine "$gui/tessel_gui_tests.exe" --gtest_color=no --gtest_brief=1

  data="$root/build/gui-data"
  rm -rf "$data/Backups" "$data/Photos"
  mkdir -p "$data/Backups" "$data/Photos/2023"
  head -c 120000 /dev/zero >"$data/Backups/Photos-202401.zip"
  head -c 2500 /dev/zero >"$data/Photos/beach.jpg"
  head -c 7300 /dev/zero >"$data/Photos/2023/hills.jpg"
  driver() { timeout 120 wine "$root/build/win/tools/uidriver/uidriver.exe" "$@"; }
  # The archiver and the stored destination T:\Backups are as the GUI tests left them.
  driver start
  driver type TxtSrc 'T:\Photos'
  driver type txtSpecificBackupFileName 'Holiday photos'
  wine_screenshot "$(driver park-mouse)" "$root/build/gui-main-window.png"
  echo "   screenshot: build/gui-main-window.png"
  driver quit

  wine_gui 144
  timeout 300 wine "$gui/tessel_gui_tests.exe" --gtest_color=no --gtest_brief=1 \
    --gtest_filter='Gui.WindowIsBuiltFromItsTableAndEveryCaptionFits'
)
