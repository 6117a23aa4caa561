// The Default button that stores the destination, and the two Browse buttons that fill the
// destination and the source from the shell's folder picker.
#include "core/text.h"
#include "destination/default_destination.h"
#include "destination/folder_checks.h"
#include "main_window/main_window.h"

namespace tessel {

void MainWindow::btnDefaultDestination_Click() {
  if (!CheckDriveExists(platform_, DestinationRoot(s_.txtDefaultPath))) return;
  // The answer does not matter: the destination is stored even when the folder is not made.
  MakeSureDirectoryTreeExists(platform_, s_.txtDefaultPath);
  if (StoreDefaultDestination(platform_, s_.txtDefaultPath)) view_.MoveFocus(1);
}

void MainWindow::btnBrowseDefault_Click() {
  if (std::optional<std::wstring> pick = platform_.dialogs.BrowseForFolder()) {
    SetText(Ctl::txtDefaultPath, TrimNull(*pick));
  }
  GetMetricsDestination();
}

void MainWindow::btnBrowseSpecific_Click() {
  if (std::optional<std::wstring> pick = platform_.dialogs.BrowseForFolder()) {
    SetText(Ctl::TxtSrc, TrimNull(*pick));
  }
}

}  // namespace tessel
