// Both backup buttons: the archiver command lines, every early end with its message, and how
// often the destination panel is refreshed afterwards.
#include "jobs/backup_jobs.h"
#include "destination/folder_checks.h"
#include "jobs/archiver_command.h"
#include "main_window_harness.h"

namespace tessel::testing {
namespace {

// Loaded with D:\Backup Zips existing; year 2009 and month 05 typed; source E:\Photos, label
// photos.
void Prepare(Harness& h, const std::wstring& destination = L"D:\\Backup Zips") {
  h.fake.fs.AddFolder(L"D:\\Backup Zips");
  h.w->Form_Load();
  h.w->SetText(Ctl::txtDefaultPath, destination);
  h.w->SetText(Ctl::TxtSrc, L"E:\\Photos");
  h.w->SetText(Ctl::txtSpecificBackupFileName, L"photos");
  h.w->SetListText(Ctl::cmbFileNameYear, L"2009");
}

TEST(BackupJobs, CommandLines) {
  struct Case {
    bool userJob, versioning;
    std::wstring destination, name, source, month, archive, quotedSource;
  };
  // clang-format off
  const Case cases[] = {
    {true, true, L"D:\\Backup Zips", L"john", L"", L"05", L"D:\\Backup Zips\\John-200905.zip",
     L"C:\\Users\\John\\Documents\\*.*"},
    // Only versioning decides the user job's month part.
    {true, false, L"D:\\", L"JOHN", L"", L"05", L"D:\\John-2009.zip", L"C:\\Users\\John\\Documents\\*.*"},
    {true, true, L"D:\\Backup Zips", L"", L"", L"",
     L"D:\\Backup Zips\\-2009.zip", L"C:\\Users\\\\Documents\\*.*"},
    {false, true, L"D:\\Backup Zips", L"my photos", L"E:\\Photos", L"05",
     L"D:\\Backup Zips\\My Photos-200905.zip", L"E:\\Photos\\"},
    // The specific job reads the month box and always adds the separator.
    {false, false, L"D:\\", L"MY-PICS", L"E:\\", L"05", L"D:\\\\My-pics-200905.zip", L"E:\\"},
    {false, true, L"D:\\Backup Zips", L"  ", L"E:\\Photos\\", L"",
     L"D:\\Backup Zips\\  -2009.zip", L"E:\\Photos\\"},
  };
  // clang-format on
  for (const Case& c : cases) {
    Harness h;
    Prepare(h, c.destination);
    if (!c.versioning) h.w->optNo_Click();
    h.w->SetListText(Ctl::cmbFileNameMonth, c.month);
    if (c.userJob) {
      h.w->SetText(Ctl::txtUsers, c.name);
      h.w->btnBackupUser_Click();
    } else {
      h.w->SetText(Ctl::TxtSrc, c.source);
      h.w->SetText(Ctl::txtSpecificBackupFileName, c.name);
      h.w->btnSpecificBackup_Click();
    }
    EXPECT_EQ(h.fake.sys.launches,
              std::vector<std::wstring>{L"\"C:\\Program Files\\WinZip\\wzzip.exe\" -u -p -r \"" +
                                        c.archive + L"\" \"" + c.quotedSource + L"\""});
  }
}

TEST(BackupJobs, EarlyEndsAndRefreshes) {
  using Msgs = std::vector<std::wstring>;
  auto setUp = [](const wchar_t* destination, const wchar_t* label, const wchar_t* user) {
    return [=](Harness& h) {
      if (destination) h.w->SetText(Ctl::txtDefaultPath, destination);
      if (label) h.w->SetText(Ctl::txtSpecificBackupFileName, label);
      if (user) h.w->SetText(Ctl::txtUsers, user);
    };
  };
  auto then = [](auto first, auto second) {
    return [=](Harness& h) {
      first(h);
      second(h);
    };
  };
  const auto none = setUp(nullptr, nullptr, nullptr);
  const auto toNew = setUp(L"D:\\New", nullptr, nullptr);
  const std::wstring notMade = L"Cannot create a file when that file already exists.";
  struct Case {
    const char* name;
    bool userJob;
    std::function<void(Harness&)> setUp;
    Msgs messages;
    std::string sequence;  // M(essage), L(aunch), R(efresh of the destination)
  };
  // clang-format off
  const Case cases[] = {
    {"add-on missing", true, [](Harness& h) { h.fake.fs.Remove(kAddonProbePath); },
     {MissingAddonMessage()}, "M"},
    {"winzip missing", false, [](Harness& h) { h.fake.fs.Remove(kWinZipProbePath); },
     {MissingWinZipMessage()}, "MLRR"},
    {"run", true, none, {}, "LRR"},
    {"empty label", false, setUp(nullptr, L"", nullptr), {BlankSourceOrLabelMessage()}, "MR"},
    {"no drive", true, setUp(L"X:\\Nowhere", nullptr, nullptr), {MissingDriveMessage(L"X:\\")}, "MR"},
    {"empty destination", false, setUp(L"", nullptr, nullptr), {MissingDriveMessage(L":\\")}, "MR"},
    {"folder declined", true, then(toNew, [](Harness& h) { h.fake.dialogs.answers = {Answer::No}; }),
     {MissingFolderQuestion(L"D:\\New")}, "MR"},
    {"folder made", false, toNew, {MissingFolderQuestion(L"D:\\New")}, "MLRR"},
    {"folder not made", true, then([](Harness& h) { h.fake.fs.AddFile(L"D:\\New", 1); },
                                  setUp(L"D:\\New\\Sub", nullptr, nullptr)),
     {MissingFolderQuestion(L"D:\\New\\Sub"), FolderNotCreatedMessage(L"D:\\New", notMade)}, "MMR"},
    {"quote refused before the folder question", false, then(toNew, setUp(nullptr, L"a\" -x \"b", nullptr)),
     {QuoteRefusalMessage(L"Backup File Label")}, "MR"},
    {"quote in user", true, setUp(nullptr, nullptr, L"jo\"e"),
     {QuoteRefusalMessage(L"User Login Name")}, "MR"},
    {"archiver cannot start", true, [](Harness& h) { h.fake.sys.launchResult = Status::Failed(L"Gone."); },
     {L"The archiver could not be started:\r\nC:\\Program Files\\WinZip\\wzzip.exe\r\n\r\nGone."}, "MRR"},
  };
  // clang-format on
  for (const Case& c : cases) {
    Harness h;
    Prepare(h);
    c.setUp(h);
    h.Clear();
    c.userJob ? h.w->btnBackupUser_Click() : h.w->btnSpecificBackup_Click();
    EXPECT_EQ(h.messages, c.messages) << c.name;
    EXPECT_EQ(h.sequence, c.sequence) << c.name;
    EXPECT_EQ(h.refreshes.find_first_not_of('D'), std::string::npos) << c.name;
  }
}

}  // namespace
}  // namespace tessel::testing
