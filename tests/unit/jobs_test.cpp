// Both ZIP buttons and the Default button: command lines, the destination checks with the folders
// they make, every early end with its message, and how often the destination panel refreshes.
#include "main_window_harness.h"

namespace tessel::testing {
namespace {

// Destination D:\Z (existing, empty), source E:\Photos, label photos, year 2009 typed, month 01;
// a file D:\F. A case's log is its last step's (the click), after the archiver check.
const std::wstring kPrepare =
    L"dir=D:\\Z; file=D:\\F; Form_Load; Dest=D:\\Z; Src=E:\\Photos; Label=photos; Year=2009";
const std::wstring kFound = L"WinZip=1 | Addon=1 | ";

const std::wstring kDocs = L"\"C:\\Users\\Jsmith\\Documents\\*.*\" | Archived | ";
const std::wstring kPhotos =
    L"Archiving | Zip \"D:\\Z\\Photos-200901.zip\" \"E:\\Photos\\\" | Archived | ";

TEST(BackupJobs, CommandLinesEarlyEndsAndRefreshes) {
  const std::wstring cases[][2] = {
      {L"btnBackupUser_Click", L"Archiving | Zip \"D:\\Z\\Jsmith-200901.zip\" " + kDocs + L"D | D"},
      // Only versioning decides the user job's month part; a root keeps its one backslash.
      {L"optNo_Click; Month=05; Dest=D:\\; btnBackupUser_Click",
       L"Archiving | Zip \"D:\\Jsmith-2009.zip\" " + kDocs + L"D=1/1/1 | D=1/1/1"},
      {L"User=jOHN smith; btnBackupUser_Click",
       L"Archiving | Zip \"D:\\Z\\John Smith-200901.zip\" \"C:\\Users\\John "
       L"Smith\\Documents\\*.*\" "
       L"| Archived | D | D"},
      {L"User=; btnBackupUser_Click",
       L"Archiving | Zip \"D:\\Z\\-200901.zip\" \"C:\\Users\\\\Documents\\*.*\" | Archived | D | "
       L"D"},
      {L"btnSpecificBackup_Click", kPhotos + L"D | D"},
      // The month box decides here, not versioning; the separator is always added.
      {L"Dest=D:\\; Src=E:\\; optNo_Click; Month=05; Label=MY-PICS; btnSpecificBackup_Click",
       L"Archiving | Zip \"D:\\\\My-pics-200905.zip\" \"E:\\\" | Archived | D=1/1/1 | D=1/1/1"},
      {L"Src=E:\\Photos\\; Label= ; btnSpecificBackup_Click",
       L"Archiving | Zip \"D:\\Z\\ -200901.zip\" \"E:\\Photos\\\" | Archived | D | D"},
      {L"windir=E:\\W; btnBackupUser_Click",
       L"Archiving | Run \"E:\\Program Files\\WinZip\\wzzip.exe\" -u -p -r "
       L"\"D:\\Z\\Jsmith-200901.zip\" "
       L"\"E:\\Users\\Jsmith\\Documents\\*.*\" | Archived | D | D"},
      // Early ends: each message, and what the panel does after.
      {L"rm=" + std::wstring(kAddonProbePath) + L"; btnBackupUser_Click",
       L"WinZip=1 | Addon=0 | NoAddon"},
      {L"rm=" + std::wstring(kWinZipProbePath) + L"; btnSpecificBackup_Click",
       L"NoWinZip | Addon=1 | " + kPhotos + L"D | D"},
      {L"Label=; btnSpecificBackup_Click", L"Blank | D"},
      {L"Src=; btnSpecificBackup_Click", L"Blank | D"},
      {L"Dest=X:\\N; btnBackupUser_Click", L"Drive(X:\\) | D"},
      {L"Dest=; btnSpecificBackup_Click", L"Drive(:\\) | D"},
      {L"Dest=\\\\server\\share; btnSpecificBackup_Click", L"Drive(\\:\\) | D"},
      {L"Dest=D:\\New; No; btnBackupUser_Click", L"Ask(D:\\New) | D"},
      {L"Dest=D:\\Z\\A\\B; btnSpecificBackup_Click",
       L"Ask(D:\\Z\\A\\B) | +D:\\Z\\A | +D:\\Z\\A\\B | Archiving | Zip "
       L"\"D:\\Z\\A\\B\\Photos-200901.zip\" "
       L"\"E:\\Photos\\\" | Archived | D | D"},
      {L"Dest=D:\\Z\\\\A\\; btnSpecificBackup_Click",
       L"Ask(D:\\Z\\\\A\\) | +D:\\Z\\A | Archiving | Zip \"D:\\Z\\\\A\\\\Photos-200901.zip\" "
       L"\"E:\\Photos\\\" | Archived | D | D"},
      {L"Dest=D:\\F\\Sub; btnBackupUser_Click", L"Ask(D:\\F\\Sub) | NotMade(D:\\F;exists) | D"},
      {L"Dest=D:\\New\\B|d\\C; btnSpecificBackup_Click",
       L"Ask(D:\\New\\B|d\\C) | +D:\\New | NotMade(D:\\New\\B|d;bad name) | D"},
      {L"Dest=D:/New/Sub; btnSpecificBackup_Click",
       L"Ask(D:/New/Sub) | NotMade(D:/New/Sub;Slashes(D:\\New\\Sub)) | D"},
      {L"Dest=D:Backups; btnBackupUser_Click", L"Ask(D:Backups) | NotMade(D:Backups;NoRoot) | D"},
      {L"Dest=Cloud; btnSpecificBackup_Click", L"Ask(Cloud) | NotMade(Cloud;NoRoot) | D"},
      {L"Dest=D:\\\"; btnBackupUser_Click", L"Quote(Destination) | D"},
      {L"User=\"; btnBackupUser_Click", L"Quote(User Login Name) | D"},
      {L"Year=\"; btnBackupUser_Click", L"Quote(Year) | D"},
      {L"Month=\"; btnBackupUser_Click", L"Quote(Month) | D"},
      {L"Src=\"; btnSpecificBackup_Click", L"Quote(Source Path) | D"},
      {L"Label=\"; Dest=D:\\New; btnSpecificBackup_Click", L"Quote(Backup File Label) | D"},
      {L"Year=\"; btnSpecificBackup_Click", L"Quote(Year) | D"},
      {L"Month=\"; btnSpecificBackup_Click", L"Quote(Month) | D"},
      {L"launch=gone; btnSpecificBackup_Click",
       kPhotos + L"NoStart(C:\\Program Files\\WinZip\\wzzip.exe;gone) | D | D"}};
  ExpectLogs(kPrepare, cases, kFound, true);
}

TEST(DefaultButton, StoresWhatARestartShows) {
  const std::wstring end = L"; Clear; btnDefaultDestination_Click; stored?; restart";
  const std::wstring cases[][2] = {
      {L"Dest=X:\\N" + end, L"Drive(X:\\) | stored D:\\Old\r\n | shows D:\\Old"},
      {L"Dest=D:\\New; No" + end, L"Ask(D:\\New) | Tab1 | stored D:\\New\r\n | shows D:\\New"},
      {L"Dest=D:\\New" + end,
       L"Ask(D:\\New) | +D:\\New | Tab1 | stored D:\\New\r\n | shows D:\\New"},
      {L"Dest=D:\\F\\B" + end,
       L"Ask(D:\\F\\B) | NotMade(D:\\F;exists) | Tab1 | stored D:\\F\\B\r\n | shows D:\\F\\B"},
      {L"dir=D:\\\u0410; Dest=D:\\\u0410" + end,
       L"Tab1 | stored \u00ef\u00bb\u00bfD:\\\u00d0\u0090\r\n | shows D:\\\u0410"},
      {L"Dest=D:\\; failWrites" + end,
       L"NotStored(" + kStoredFile + L";disk full) | stored D:\\Old\r\n | shows D:\\Old"},
      {L"Dest=D:\\; rm=C:\\Program Files\\Tessel; file=C:\\Program Files\\Tessel" + end,
       L"Kept(C:\\Program Files\\Tessel\\;A file is in the way: C:\\Program Files\\Tessel) | "
       L"stored  | shows C:\\Backup Zips"}};
  ExpectLogs(L"stored=D:\\Old\r\n; file=D:\\F; Form_Load", cases);
}

}  // namespace
}  // namespace tessel::testing
