// The two ZIP buttons and their jobs: presence check, validation, destination checks, one
// archiver run, destination metrics.
#include "jobs/backup_jobs.h"

#include "core/main_window.h"
#include "core/text.h"
#include "destination/folder_checks.h"
#include "jobs/presence_check.h"

namespace tessel {

BackupJob UserDocumentsJob(const BackupSettings& s, std::wstring_view drive) {
  BackupJob job;
  job.destinationRoot = DestinationRoot(s.txtDefaultPath);
  std::wstring_view month = s.optYes ? std::wstring_view(s.cmbFileNameMonth.text) : L"";
  std::wstring user = ProperCase(s.txtUsers);
  job.command.program = ArchiverProgramPath(drive);
  job.command.archive = GetArchiveName(s.txtDefaultPath, user, s.cmbFileNameYear.text, month);
  job.command.source = GetUserDocumentsPath(drive, user);
  job.fields = {{L"Destination", s.txtDefaultPath},
                {L"User Login Name", s.txtUsers},
                {L"Year", s.cmbFileNameYear.text},
                {L"Month", month}};
  return job;
}

BackupJob SpecificDirectoryJob(const BackupSettings& s, std::wstring_view drive) {
  BackupJob job;
  job.destinationRoot = DestinationRoot(s.txtDefaultPath);
  job.command.program = ArchiverProgramPath(drive);
  job.command.archive = s.txtDefaultPath + L"\\" + ProperCase(s.txtSpecificBackupFileName) + L"-" +
                        s.cmbFileNameYear.text + s.cmbFileNameMonth.text + L".zip";
  job.command.source = QualifyPath(s.TxtSrc);
  job.fields = {{L"Destination", s.txtDefaultPath},
                {L"Source Path", s.TxtSrc},
                {L"Backup File Label", s.txtSpecificBackupFileName},
                {L"Year", s.cmbFileNameYear.text},
                {L"Month", s.cmbFileNameMonth.text}};
  return job;
}

std::wstring BlankSourceOrLabelMessage() {
  return L"Either the Source Path or Backup File Label is blank.\r\n\r\n"
         L"Please Enter Appropriate Data!";
}

void MainWindow::btnBackupUser_Click() {
  if (!CheckArchiver()) return;
  ZipSpecificUser();
  GetMetricsDestination();
}

void MainWindow::btnSpecificBackup_Click() {
  if (!CheckArchiver()) return;
  ZipUserDefined();
  GetMetricsDestination();
}

void MainWindow::RunArchiver(const ArchiverCommand& command) {
  RunArchiverAndWait(platform_, command, [this](bool running) { shell_.ArchiverRunning(running); });
}

void MainWindow::ZipSpecificUser() {
  BackupJob job = UserDocumentsJob(s_, SystemDriveLetter(platform_.sys));
  if (!RefuseQuotes(platform_, job.fields)) return;
  if (!CheckDriveExists(platform_, job.destinationRoot)) return;
  if (!MakeSureDirectoryTreeExists(platform_, s_.txtDefaultPath)) return;
  RunArchiver(job.command);
  GetMetricsDestination();
}

void MainWindow::ZipUserDefined() {
  if (s_.TxtSrc.empty() || s_.txtSpecificBackupFileName.empty()) {
    platform_.dialogs.ShowMessage(BlankSourceOrLabelMessage(), kAppTitle, Buttons::Ok);
    return;
  }
  BackupJob job = SpecificDirectoryJob(s_, SystemDriveLetter(platform_.sys));
  if (!RefuseQuotes(platform_, job.fields)) return;
  if (!CheckDriveExists(platform_, job.destinationRoot)) return;
  if (!MakeSureDirectoryTreeExists(platform_, s_.txtDefaultPath)) return;
  RunArchiver(job.command);
  GetMetricsDestination();
}

}  // namespace tessel
