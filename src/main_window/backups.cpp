// The two ZIP buttons: presence check, validation, destination checks, one archiver run,
// destination metrics.
#include "core/app_title.h"
#include "destination/folder_checks.h"
#include "jobs/backup_jobs.h"
#include "main_window/main_window.h"

namespace tessel {

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

void MainWindow::ZipSpecificUser() {
  Run(UserDocumentsJob(s_, SystemDriveLetter(platform_.sys)));
}

void MainWindow::ZipUserDefined() {
  if (s_.TxtSrc.empty() || s_.txtSpecificBackupFileName.empty()) {
    platform_.dialogs.ShowMessage(BlankSourceOrLabelMessage(), kAppTitle, Buttons::Ok);
    return;
  }
  Run(SpecificDirectoryJob(s_, SystemDriveLetter(platform_.sys)));
}

void MainWindow::Run(const BackupJob& job) {
  if (!RefuseQuotes(platform_, job.fields)) return;
  if (!CheckDriveExists(platform_, job.destinationRoot)) return;
  if (!MakeSureDirectoryTreeExists(platform_, s_.txtDefaultPath)) return;
  RunArchiverAndWait(platform_, job.command,
                     [this](bool running) { shell_.ArchiverRunning(running); });
  GetMetricsDestination();
}

}  // namespace tessel
