// Both ZIP buttons and the Default button: command lines, the destination checks with the folders
// they make, every early end with its message, and how often the destination panel refreshes.
#include "main_window_harness.h"

namespace tessel::testing {
namespace {

using Step = std::function<void(Harness&)>;

Step Set(Ctl field, std::wstring text) {
  return [=](Harness& h) { h.w->SetText(field, text); };
}
Step Type(Ctl list, std::wstring text) {
  return [=](Harness& h) { h.w->SetListText(list, text); };
}
Step Steps(std::vector<Step> steps) {
  return [=](Harness& h) {
    for (const Step& s : steps) {
      if (s) s(h);
    }
  };
}
const Step kNo = [](Harness& h) { h.fake.dialogs.answers = {Answer::No}; };
const Step kOff = [](Harness& h) { h.w->optNo_Click(); };

struct JobCase {
  bool user;  // btnBackupUser, else btnSpecificBackup
  Step setUp;
  std::wstring log;  // after the archiver check's "WinZip=1 | Addon=1 | "
};

// Destination D:\Z (existing), source E:\Photos, label photos, year 2009 typed, month 01.
void RunJobs(const std::vector<JobCase>& cases) {
  for (const JobCase& c : cases) {
    Harness h;
    h.fake.fs.AddFolder(L"D:\\Z");
    h.fake.fs.AddFile(L"D:\\F", 1);
    h.w->Form_Load();
    Steps({Set(Ctl::txtDefaultPath, L"D:\\Z"), Set(Ctl::TxtSrc, L"E:\\Photos"),
           Set(Ctl::txtSpecificBackupFileName, L"photos"), Type(Ctl::cmbFileNameYear, L"2009"),
           c.setUp})(h);
    h.Clear();
    c.user ? h.w->btnBackupUser_Click() : h.w->btnSpecificBackup_Click();
    std::wstring log = h.Log();
    if (log.starts_with(L"WinZip=1 | Addon=1 | ")) log.erase(0, 21);
    EXPECT_EQ(log, c.log) << (c.user ? "user job" : "directory job");
  }
}

const std::wstring kDocs = L"\"C:\\Users\\Jsmith\\Documents\\*.*\" | D | D";

TEST(BackupJobs, CommandLines) {
  RunJobs({
      {true, nullptr, L"Zip \"D:\\Z\\Jsmith-200901.zip\" " + kDocs},
      {true, Steps({kOff, Type(Ctl::cmbFileNameMonth, L"05"), Set(Ctl::txtDefaultPath, L"D:\\")}),
       L"Zip \"D:\\Jsmith-2009.zip\" \"C:\\Users\\Jsmith\\Documents\\*.*\" | D=1/1/1 | D=1/1/1"},
      {true, Set(Ctl::txtUsers, L"jOHN smith"),
       L"Zip \"D:\\Z\\John Smith-200901.zip\" \"C:\\Users\\John Smith\\Documents\\*.*\" | D | D"},
      {true, Set(Ctl::txtUsers, L""),
       L"Zip \"D:\\Z\\-200901.zip\" \"C:\\Users\\\\Documents\\*.*\" | D | D"},
      {false, nullptr, L"Zip \"D:\\Z\\Photos-200901.zip\" \"E:\\Photos\\\" | D | D"},
      // The month box decides here, not versioning; the separator is always added.
      {false,
       Steps({Set(Ctl::txtDefaultPath, L"D:\\"), Set(Ctl::TxtSrc, L"E:\\"), kOff,
              Type(Ctl::cmbFileNameMonth, L"05"), Set(Ctl::txtSpecificBackupFileName, L"MY-PICS")}),
       L"Zip \"D:\\\\My-pics-200905.zip\" \"E:\\\" | D=1/1/1 | D=1/1/1"},
      {false, Steps({Set(Ctl::TxtSrc, L"E:\\Photos\\"), Set(Ctl::txtSpecificBackupFileName, L" ")}),
       L"Zip \"D:\\Z\\ -200901.zip\" \"E:\\Photos\\\" | D | D"},
      {true, [](Harness& h) { h.fake.sys.windowsDirectory = L"E:\\W"; },
       L"Run \"E:\\Program Files\\WinZip\\wzzip.exe\" -u -p -r \"D:\\Z\\Jsmith-200901.zip\" "
       L"\"E:\\Users\\Jsmith\\Documents\\*.*\" | D | D"},
  });
}

TEST(BackupJobs, EarlyEndsAndRefreshes) {
  const std::wstring zip = L"Zip \"D:\\Z\\Photos-200901.zip\" \"E:\\Photos\\\" | D | D";
  auto into = [](std::wstring destination) { return Set(Ctl::txtDefaultPath, destination); };
  auto quote = [](Ctl field) {
    bool list = field == Ctl::cmbFileNameYear || field == Ctl::cmbFileNameMonth;
    return [=](Harness& h) { list ? h.w->SetListText(field, L"0\"") : h.w->SetText(field, L"\""); };
  };
  RunJobs({
      {true, [](Harness& h) { h.fake.fs.Remove(kAddonProbePath); },
       L"WinZip=1 | Addon=0 | NoAddon"},
      {false, [](Harness& h) { h.fake.fs.Remove(kWinZipProbePath); },
       L"NoWinZip | Addon=1 | " + zip},
      {false, Set(Ctl::txtSpecificBackupFileName, L""), L"Blank | D"},
      {false, Set(Ctl::TxtSrc, L""), L"Blank | D"},
      {true, into(L"X:\\N"), L"Drive(X:\\) | D"},
      {false, into(L""), L"Drive(:\\) | D"},
      {false, into(L"\\\\server\\share"), L"Drive(\\:\\) | D"},
      {true, Steps({into(L"D:\\New"), kNo}), L"Ask(D:\\New) | D"},
      {false, into(L"D:\\Z\\A\\B"),
       L"Ask(D:\\Z\\A\\B) | +D:\\Z\\A | +D:\\Z\\A\\B | Zip \"D:\\Z\\A\\B\\Photos-200901.zip\" "
       L"\"E:\\Photos\\\" | D | D"},
      {false, into(L"D:\\Z\\\\A\\"),
       L"Ask(D:\\Z\\\\A\\) | +D:\\Z\\A | " + zip.substr(0, 9) +
           L"\\\\A\\\\Photos-200901.zip\" \"E:\\Photos\\\" | D | D"},
      {true, into(L"D:\\F\\Sub"), L"Ask(D:\\F\\Sub) | NotMade(D:\\F;exists) | D"},
      {false, into(L"D:\\New\\B|d\\C"),
       L"Ask(D:\\New\\B|d\\C) | +D:\\New | NotMade(D:\\New\\B|d;bad name) | D"},
      {false, into(L"D:/New/Sub"),
       L"Ask(D:/New/Sub) | NotMade(D:/New/Sub;Slashes(D:\\New\\Sub)) | D"},
      {true, into(L"D:Backups"), L"Ask(D:Backups) | NotMade(D:Backups;NoRoot) | D"},
      {false, into(L"Cloud"), L"Ask(Cloud) | NotMade(Cloud;NoRoot) | D"},
      {true, quote(Ctl::txtDefaultPath), L"Quote(Destination) | D"},
      {true, quote(Ctl::txtUsers), L"Quote(User Login Name) | D"},
      {true, quote(Ctl::cmbFileNameYear), L"Quote(Year) | D"},
      {true, quote(Ctl::cmbFileNameMonth), L"Quote(Month) | D"},
      {false, quote(Ctl::TxtSrc), L"Quote(Source Path) | D"},
      {false, Steps({quote(Ctl::txtSpecificBackupFileName), into(L"D:\\New")}),
       L"Quote(Backup File Label) | D"},
      {false, quote(Ctl::cmbFileNameYear), L"Quote(Year) | D"},
      {false, quote(Ctl::cmbFileNameMonth), L"Quote(Month) | D"},
      {false, [](Harness& h) { h.fake.sys.launchResult = Status::Failed(L"gone"); },
       L"Zip \"D:\\Z\\Photos-200901.zip\" \"E:\\Photos\\\" | NoStart(C:\\Program "
       L"Files\\WinZip\\wzzip.exe;gone) | D | D"},
  });
}

TEST(DefaultButton, StoresWhatARestartShows) {
  struct Case {
    std::wstring destination;
    Step setUp;
    std::wstring log;
    std::string stored;
    std::wstring restart;  // what the next start shows
  };
  const Case cases[] = {
      {L"X:\\N", nullptr, L"Drive(X:\\)", "D:\\Old\r\n", L"D:\\Old"},
      {L"D:\\New", kNo, L"Ask(D:\\New) | Tab1", "D:\\New\r\n", L"D:\\New"},
      {L"D:\\New", nullptr, L"Ask(D:\\New) | +D:\\New | Tab1", "D:\\New\r\n", L"D:\\New"},
      {L"D:\\F\\B", nullptr, L"Ask(D:\\F\\B) | NotMade(D:\\F;exists) | Tab1", "D:\\F\\B\r\n",
       L"D:\\F\\B"},
      {L"D:\\\u0410", [](Harness& h) { h.fake.fs.AddFolder(L"D:\\\u0410"); }, L"Tab1",
       "\xEF\xBB\xBF"
       "D:\\\xD0\x90\r\n",
       L"D:\\\u0410"},
      {L"D:\\", [](Harness& h) { h.fake.fs.failWrites = true; },
       L"NotStored(" + kStoredFile + L";disk full)", "D:\\Old\r\n", L"D:\\Old"},
      {L"D:\\",
       [](Harness& h) {
         h.fake.fs.Remove(L"C:\\Program Files\\Tessel");
         h.fake.fs.AddFile(L"C:\\Program Files\\Tessel", 1);
       },
       L"Kept(C:\\Program Files\\Tessel\\;a file is in the way: C:\\Program Files\\Tessel)", "",
       L"C:\\Backup Zips"},
  };
  for (const Case& c : cases) {
    Harness h;
    h.fake.fs.AddTextFile(kStoredFile, "D:\\Old\r\n");
    h.fake.fs.AddFile(L"D:\\F", 1);
    h.w->Form_Load();
    h.w->SetText(Ctl::txtDefaultPath, c.destination);
    if (c.setUp) c.setUp(h);
    h.Clear();
    h.w->btnDefaultDestination_Click();
    EXPECT_EQ(h.Log(), c.log) << c.destination;
    EXPECT_EQ(h.fake.fs.Content(kStoredFile).value_or(""), c.stored) << c.destination;
    h.fake.fs.failWrites = false;
    h.w->btnReset_Click();
    EXPECT_EQ(h.S().txtDefaultPath, c.restart) << c.destination;
  }
}

}  // namespace
}  // namespace tessel::testing
