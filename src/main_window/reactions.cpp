// The input fields' reactions: each rebuilds its derived fields from the current state, then
// refreshes its metrics panel or moves the focus on.
#include "main_window/main_window.h"

namespace tessel {

void MainWindow::txtDefaultPath_Change() {
  Write(Ctl::txtExampleFileName, SpecificArchivePath(s_));
  Write(Ctl::txtSpecificUserFileName, UserArchivePath(s_));
  GetMetricsDestination();
}

void MainWindow::txtSpecificBackupFileName_Change() {
  Write(Ctl::txtExampleFileName, SpecificArchivePath(s_));
}

void MainWindow::TxtSrc_Change() {
  Write(Ctl::txtSpecificDirectoryFiles, SpecificDirectoryPattern(s_));
  GetMetricsSpecific();
}

void MainWindow::txtUsers_Change() {
  Write(Ctl::txtSpecificUserFileName, UserArchivePath(s_));
  Write(Ctl::txtSpecificUserFiles,
        UserDocumentsPattern(s_, SystemDriveLetter(platform_.sys), UsersSpelling::USers));
  GetMetricsUser();
}

void MainWindow::cmbFileNameMonth_Click() {
  WriteArchivePathsAndPattern(SystemDriveLetter(platform_.sys), UsersSpelling::Users);
  view_.MoveFocus(1);
}

void MainWindow::cmbFileNameYear_Click() {
  WriteArchivePathsAndPattern(SystemDriveLetter(platform_.sys), UsersSpelling::Users);
  view_.MoveFocus(2);
}

}  // namespace tessel
