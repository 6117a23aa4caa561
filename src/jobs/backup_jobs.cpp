// What the two backup jobs hand the archiver.
#include "jobs/backup_jobs.h"

#include "core/naming.h"
#include "core/text.h"
#include "destination/folder_checks.h"

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

}  // namespace tessel
