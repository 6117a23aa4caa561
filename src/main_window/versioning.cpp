// Versioning on and off, applying a profile picked in Browse for Users, Reset and Quit.
#include <string>

#include "main_window/main_window.h"

namespace tessel {

void MainWindow::optNo_Click() {
  if (s_.optNo) return;
  SelectOption(false);
  std::wstring drive = SystemDriveLetter(platform_.sys);
  SetListText(Ctl::cmbFileNameMonth, L"");
  SetVisible(Ctl::frmMonth, false);
  SetVisible(Ctl::cmbFileNameMonth, false);
  WriteArchivePathsAndPattern(drive, UsersSpelling::Users);
}

void MainWindow::optYes_Click() {
  if (s_.optYes) return;
  SelectOption(true);
  VersioningOn();
}

void MainWindow::VersioningOn() {
  std::wstring drive = SystemDriveLetter(platform_.sys);
  SetVisible(Ctl::frmMonth, true);
  // Without a leading zero: the list's own entry replaces it once the lists are refilled.
  SetListText(Ctl::cmbFileNameMonth, std::to_wstring(platform_.sys.Today().month));
  SetVisible(Ctl::cmbFileNameMonth, true);
  WriteArchivePathsAndPattern(drive, UsersSpelling::Users);
  RefillListsAndRewriteUserArchive();
}

void MainWindow::RefillListsAndRewriteUserArchive() {
  ClearList(Ctl::cmbFileNameMonth);
  ClearList(Ctl::cmbFileNameYear);
  Form_Load2();
  view_.MoveFocus(2);
  // Written even for an empty user, unlike the reactions' rule.
  Write(Ctl::txtSpecificUserFileName,
        GetArchiveName(s_.txtDefaultPath, s_.txtUsers, s_.cmbFileNameYear.text,
                       s_.cmbFileNameMonth.text));
}

void MainWindow::Reset2() {
  CompletePending();
  // Taken now: switching versioning back on below runs the list refill, which clears the
  // program-wide pick before it could be applied.
  std::wstring pick = SelectedUserName;
  std::wstring drive = SystemDriveLetter(platform_.sys);

  SetVisible(Ctl::frmMonth, true);
  SetListText(Ctl::cmbFileNameMonth, std::to_wstring(platform_.sys.Today().month));
  SetVisible(Ctl::cmbFileNameMonth, true);
  optYes_Click();

  if (!pick.empty()) SetText(Ctl::txtUsers, pick);
  WriteArchivePathsAndPattern(drive, UsersSpelling::Users);
  RefillListsAndRewriteUserArchive();  // its Form_Load2 empties SelectedUserName
}

void MainWindow::btnReset_Click() {
  shell_.CloseBrowseUsers();
  shell_.CloseEula();
  shell_.CloseHelp();
  shell_.ReloadMainWindow();  // destroys this presenter
}

void MainWindow::btnQuit_Click() {
  shell_.CloseBrowseUsers();
  shell_.CloseEula();
  shell_.CloseHelp();
  shell_.Quit();
}

}  // namespace tessel
