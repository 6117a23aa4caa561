// Both backup buttons: the archiver command lines, every early end with its message, and how
// often the destination panel is refreshed afterwards.
#include "jobs/backup_jobs.h"
#include "destination/folder_checks.h"
#include "jobs/archiver_command.h"
#include "main_window_harness.h"

namespace tessel::testing {
namespace {

const std::wstring kProgram = L"\"C:\\Program Files\\WinZip\\wzzip.exe\" -u -p -r \"";

// Loaded with D:\Backup Zips existing, year 2009 and month 05 typed.
void Prepare(Harness& h, const std::wstring& destination = L"D:\\Backup Zips") {
  h.fake.fs.AddFolder(L"D:\\Backup Zips");
  h.w->Form_Load();
  h.w->SetText(Ctl::txtDefaultPath, destination);
  h.w->SetListText(Ctl::cmbFileNameYear, L"2009");
  h.w->SetListText(Ctl::cmbFileNameMonth, L"05");
  h.log.clear();
}

TEST(BackupUser, CommandLines) {
  struct Case {
    std::wstring user, destination;
    bool versioning;
    std::wstring archive, source;
  };
  const Case cases[] = {
      {L"john", L"D:\\Backup Zips", true, L"D:\\Backup Zips\\John-200905.zip", L"John"},
      {L"john", L"D:\\Backup Zips", false, L"D:\\Backup Zips\\John-2009.zip", L"John"},
      {L"john", L"D:\\", false, L"D:\\John-2009.zip", L"John"},
      {L"JOHN", L"D:\\Backup Zips\\", true, L"D:\\Backup Zips\\John-200905.zip", L"John"},
      {L"", L"D:\\Backup Zips", false, L"D:\\Backup Zips\\-2009.zip", L""},
  };
  for (const Case& c : cases) {
    Harness h;
    Prepare(h, c.destination);
    h.w->SetText(Ctl::txtUsers, c.user);
    if (!c.versioning) h.w->optNo_Click();
    h.w->SetListText(Ctl::cmbFileNameMonth, L"05");  // only versioning decides the month part
    h.w->btnBackupUser_Click();
    EXPECT_EQ(h.fake.sys.launches,
              std::vector<std::wstring>{kProgram + c.archive + L"\" \"C:\\Users\\" + c.source +
                                        L"\\Documents\\*.*\""});
  }
}

TEST(SpecificBackup, CommandLines) {
  struct Case {
    std::wstring source, label, destination, month, archive, folder;
  };
  const Case cases[] = {
      {L"E:\\Photos", L"my photos", L"D:\\Backup Zips", L"05",
       L"D:\\Backup Zips\\My Photos-200905.zip", L"E:\\Photos\\"},
      {L"E:\\Photos\\", L"MY-PICS", L"D:\\Backup Zips", L"", L"D:\\Backup Zips\\My-pics-2009.zip",
       L"E:\\Photos\\"},
      {L"E:\\", L"  ", L"D:\\Backup Zips", L"", L"D:\\Backup Zips\\  -2009.zip", L"E:\\"},
      {L"E:\\Photos", L"photos", L"D:\\", L"", L"D:\\\\Photos-2009.zip", L"E:\\Photos\\"},
  };
  for (const Case& c : cases) {
    Harness h;
    Prepare(h, c.destination);
    h.w->SetText(Ctl::TxtSrc, c.source);
    h.w->SetText(Ctl::txtSpecificBackupFileName, c.label);
    h.w->SetListText(Ctl::cmbFileNameMonth, c.month);
    h.w->btnSpecificBackup_Click();
    EXPECT_EQ(h.fake.sys.launches,
              std::vector<std::wstring>{kProgram + c.archive + L"\" \"" + c.folder + L"\""});
  }
}

TEST(BackupJobs, EarlyEndsAndRefreshes) {
  const std::wstring question = MissingFolderQuestion(L"D:\\New");
  struct Case {
    const char* name;
    bool userJob;
    std::function<void(Harness&)> setUp;
    std::vector<std::wstring> messages;
    std::string sequence;  // M(essage), L(aunch), R(efresh of the destination)
  };
  const Case cases[] = {
      {"add-on missing",
       true,
       [](Harness& h) { h.fake.fs.Remove(kAddonProbePath); },
       {MissingAddonMessage()},
       "M"},
      {"winzip missing",
       false,
       [](Harness& h) { h.fake.fs.Remove(kWinZipProbePath); },
       {MissingWinZipMessage()},
       "MLRR"},
      {"run", false, [](Harness&) {}, {}, "LRR"},
      {"empty source",
       false,
       [](Harness& h) { h.w->SetText(Ctl::TxtSrc, L""); },
       {BlankSourceOrLabelMessage()},
       "MR"},
      {"empty label",
       false,
       [](Harness& h) { h.w->SetText(Ctl::txtSpecificBackupFileName, L""); },
       {BlankSourceOrLabelMessage()},
       "MR"},
      {"no drive",
       true,
       [](Harness& h) { h.w->SetText(Ctl::txtDefaultPath, L"X:\\Nowhere"); },
       {MissingDriveMessage(L"X:\\")},
       "MR"},
      {"empty destination",
       false,
       [](Harness& h) { h.w->SetText(Ctl::txtDefaultPath, L""); },
       {MissingDriveMessage(L":\\")},
       "MR"},
      {"folder declined",
       true,
       [](Harness& h) {
         h.w->SetText(Ctl::txtDefaultPath, L"D:\\New");
         h.fake.dialogs.answers = {Answer::No};
       },
       {question},
       "MR"},
      {"folder made",
       false,
       [](Harness& h) { h.w->SetText(Ctl::txtDefaultPath, L"D:\\New"); },
       {question},
       "MLRR"},
      {"folder not made",
       true,
       [](Harness& h) {
         h.fake.fs.AddFile(L"D:\\New", 1);
         h.w->SetText(Ctl::txtDefaultPath, L"D:\\New\\Sub");
       },
       {MissingFolderQuestion(L"D:\\New\\Sub"),
        FolderNotCreatedMessage(L"D:\\New",
                                L"Cannot create a file when that file already exists.")},
       "MMR"},
      {"quote in label",
       false,
       [](Harness& h) {
         h.w->SetText(Ctl::txtDefaultPath, L"D:\\New");
         h.w->SetText(Ctl::txtSpecificBackupFileName, L"a\" -x \"b");
       },
       {QuoteRefusalMessage(L"Backup File Label")},
       "MR"},
      {"quote in user",
       true,
       [](Harness& h) { h.w->SetText(Ctl::txtUsers, L"jo\"e"); },
       {QuoteRefusalMessage(L"User Login Name")},
       "MR"},
      {"archiver cannot start",
       true,
       [](Harness& h) { h.fake.sys.launchResult = Status::Failed(L"Not found."); },
       {L"The archiver could not be started:\r\nC:\\Program Files\\WinZip\\wzzip.exe\r\n\r\n"
        L"Not found."},
       "MRR"},
  };
  for (const Case& c : cases) {
    Harness h;
    Prepare(h);
    h.w->SetText(Ctl::TxtSrc, L"E:\\Photos");
    h.w->SetText(Ctl::txtSpecificBackupFileName, L"photos");
    c.setUp(h);
    h.log.clear();
    c.userJob ? h.w->btnBackupUser_Click() : h.w->btnSpecificBackup_Click();
    SCOPED_TRACE(c.name);
    EXPECT_EQ(h.Messages(), c.messages);
    std::string seq = h.Sequence();
    std::erase_if(seq, [](char k) { return k != 'M' && k != 'L' && k != 'R'; });
    EXPECT_EQ(seq, c.sequence);
    EXPECT_EQ(h.Refreshes(), std::string(std::count(seq.begin(), seq.end(), 'R'), 'D'));
  }
}

}  // namespace
}  // namespace tessel::testing
