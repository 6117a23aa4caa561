// The two Browse buttons that fill the destination and the source from the shell's folder picker.
#include "core/main_window.h"
#include "core/text.h"

namespace tessel {

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
