// Both ZIP buttons and the Default button: command lines, the destination checks with the folders
// they make, every early end with its message, and how often the destination panel refreshes.
#include "main_window_harness.h"

namespace tessel::testing {
namespace {

constexpr Ctl kDest = Ctl::txtDefaultPath, kSrc = Ctl::TxtSrc, kUsers = Ctl::txtUsers,
              kLabel = Ctl::txtSpecificBackupFileName, kYear = Ctl::cmbFileNameYear,
              kMonth = Ctl::cmbFileNameMonth;
const Step kUser = REACTION(btnBackupUser_Click), kSpecific = REACTION(btnSpecificBackup_Click);
// The archiver check as it passes; a run of the archiver.
const std::wstring kChecked = L"chkWinZip=1 | ChkAddon=1 | ";
std::wstring Zipped(const std::wstring& arguments) {
  return L"archiver running | wzzip -u -p -r " + arguments + L" | archiver ended | ";
}

// Destination D:\Z (existing, empty), source E:\Photos, label photos, year 2009 typed, month 01;
// a file D:\F. A case's log is its click's.
TEST(BackupJobs, CommandLinesEarlyEndsAndRefreshes) {
  const std::vector<Case> cases = {
      {"user",
       {kUser},
       kChecked + Zipped(L"\"D:\\Z\\Jsmith-200901.zip\" \"C:\\Users\\Jsmith\\Documents\\*.*\"") +
           L"destination: empty | destination: empty"},
      // Only versioning decides the user job's month part; a root keeps its one backslash.
      {"user, versioning off, to a root",
       {REACTION(optNo_Click), TypeInList(kMonth, L"05"), Set(kDest, L"D:\\"), kUser},
       kChecked + Zipped(L"\"D:\\Jsmith-2009.zip\" \"C:\\Users\\Jsmith\\Documents\\*.*\"") +
           L"destination: 1 files, 1 folders, 1 bytes | destination: 1 files, 1 folders, 1 "
           L"bytes"},
      {"user name proper-cased",
       {Set(kUsers, L"jOHN smith"), kUser},
       kChecked +
           Zipped(L"\"D:\\Z\\John Smith-200901.zip\" \"C:\\Users\\John Smith\\Documents\\*.*\"") +
           L"destination: empty | destination: empty"},
      {"no user",
       {Set(kUsers, L""), kUser},
       kChecked + Zipped(L"\"D:\\Z\\-200901.zip\" \"C:\\Users\\\\Documents\\*.*\"") +
           L"destination: empty | destination: empty"},
      {"specific",
       {kSpecific},
       kChecked + Zipped(L"\"D:\\Z\\Photos-200901.zip\" \"E:\\Photos\\\"") +
           L"destination: empty | destination: empty"},
      // The month box decides here, not versioning; the separator is always added.
      {"specific, versioning off, to a root",
       {Set(kDest, L"D:\\"), Set(kSrc, L"E:\\"), REACTION(optNo_Click), TypeInList(kMonth, L"05"),
        Set(kLabel, L"MY-PICS"), kSpecific},
       kChecked + Zipped(L"\"D:\\\\My-pics-200905.zip\" \"E:\\\"") +
           L"destination: 1 files, 1 folders, 1 bytes | destination: 1 files, 1 folders, 1 "
           L"bytes"},
      {"a source ending in a backslash, a blank label",
       {Set(kSrc, L"E:\\Photos\\"), Set(kLabel, L" "), kSpecific},
       kChecked + Zipped(L"\"D:\\Z\\ -200901.zip\" \"E:\\Photos\\\"") +
           L"destination: empty | destination: empty"},
      {"Windows on E:",
       {WindowsIn(L"E:\\W"), kUser},
       kChecked + L"archiver running | "
                  L"Run \"E:\\Program Files\\WinZip\\wzzip.exe\" -u -p -r "
                  L"\"D:\\Z\\Jsmith-200901.zip\" "
                  L"\"E:\\Users\\Jsmith\\Documents\\*.*\" | archiver ended | destination: empty | "
                  L"destination: empty"},
      // Early ends: each message, and what the panel does after.
      {"no add-on",
       {Gone(kAddonProbePath), kUser},
       L"chkWinZip=1 | ChkAddon=0 | message no add-on"},
      {"no WinZip",
       {Gone(kWinZipProbePath), kSpecific},
       std::wstring(L"message no WinZip | ChkAddon=1 | ") +
           Zipped(L"\"D:\\Z\\Photos-200901.zip\" \"E:\\Photos\\\"") +
           L"destination: empty | destination: empty"},
      {"no label",
       {Set(kLabel, L""), kSpecific},
       kChecked + L"message blank field | destination: empty"},
      {"no source",
       {Set(kSrc, L""), kSpecific},
       kChecked + L"message blank field | destination: empty"},
      {"no such drive",
       {Set(kDest, L"X:\\N"), kUser},
       kChecked + L"message no such drive (X:\\) | destination: empty"},
      {"no destination",
       {Set(kDest, L""), kSpecific},
       kChecked + L"message no such drive (:\\) | destination: empty"},
      {"a network destination",
       {Set(kDest, L"\\\\server\\share"), kSpecific},
       kChecked + L"message no such drive (\\:\\) | destination: empty"},
      {"a new folder refused",
       {Set(kDest, L"D:\\New"), AnswerNo(), kUser},
       kChecked + L"message create folder? (D:\\New) | destination: empty"},
      {"new folders made",
       {Set(kDest, L"D:\\Z\\A\\B"), kSpecific},
       kChecked + L"message create folder? (D:\\Z\\A\\B) | made D:\\Z\\A | made D:\\Z\\A\\B | " +
           Zipped(L"\"D:\\Z\\A\\B\\Photos-200901.zip\" \"E:\\Photos\\\"") +
           L"destination: empty | destination: empty"},
      {"doubled and trailing backslashes",
       {Set(kDest, L"D:\\Z\\\\A\\"), kSpecific},
       kChecked + L"message create folder? (D:\\Z\\\\A\\) | made D:\\Z\\A | " +
           Zipped(L"\"D:\\Z\\\\A\\\\Photos-200901.zip\" \"E:\\Photos\\\"") +
           L"destination: empty | destination: empty"},
      {"a file in the way",
       {Set(kDest, L"D:\\F\\Sub"), kUser},
       kChecked +
           L"message create folder? (D:\\F\\Sub) | message folder not made (D:\\F, exists) | "
           L"destination: empty"},
      {"a bad name",
       {Set(kDest, L"D:\\New\\B|d\\C"), kSpecific},
       kChecked + L"message create folder? (D:\\New\\B|d\\C) | made D:\\New | "
                  L"message folder not made (D:\\New\\B|d, bad name) | destination: empty"},
      {"slashes",
       {Set(kDest, L"D:/New/Sub"), kSpecific},
       kChecked + L"message create folder? (D:/New/Sub) | "
                  L"message folder not made (D:/New/Sub, slashes (D:\\New\\Sub)) | "
                  L"destination: empty"},
      {"a drive-relative path",
       {Set(kDest, L"D:Backups"), kUser},
       kChecked + L"message create folder? (D:Backups) | "
                  L"message folder not made (D:Backups, not a full path) | destination: empty"},
      {"no drive",
       {Set(kDest, L"Cloud"), kSpecific},
       kChecked + L"message create folder? (Cloud) | message folder not made (Cloud, not a "
                  L"full path) | "
                  L"destination: empty"},
      {"a quote in the destination",
       {Set(kDest, L"D:\\\""), kUser},
       kChecked + L"message quote (Destination) | destination: empty"},
      {"a quote in the user",
       {Set(kUsers, L"\""), kUser},
       kChecked + L"message quote (User Login Name) | destination: empty"},
      {"a quote in the year",
       {TypeInList(kYear, L"\""), kUser},
       kChecked + L"message quote (Year) | destination: empty"},
      {"a quote in the month",
       {TypeInList(kMonth, L"\""), kUser},
       kChecked + L"message quote (Month) | destination: empty"},
      {"a quote in the source",
       {Set(kSrc, L"\""), kSpecific},
       kChecked + L"message quote (Source Path) | destination: empty"},
      {"a quote in the label before the new folder",
       {Set(kLabel, L"\""), Set(kDest, L"D:\\New"), kSpecific},
       kChecked + L"message quote (Backup File Label) | destination: empty"},
      {"a quote in the year, specific",
       {TypeInList(kYear, L"\""), kSpecific},
       kChecked + L"message quote (Year) | destination: empty"},
      {"a quote in the month, specific",
       {TypeInList(kMonth, L"\""), kSpecific},
       kChecked + L"message quote (Month) | destination: empty"},
      {"the archiver not started",
       {Given(L"launch fails",
              [](fake::FakePlatform& f) { f.sys.launchResult = Status::Failed(L"gone"); }),
        kSpecific},
       kChecked + Zipped(L"\"D:\\Z\\Photos-200901.zip\" \"E:\\Photos\\\"") +
           L"message archiver not started (C:\\Program Files\\WinZip\\wzzip.exe, gone) | "
           L"destination: empty | destination: empty"},
  };
  ExpectCases({Folder(L"D:\\Z"), File(L"D:\\F"), REACTION(Form_Load), Set(kDest, L"D:\\Z"),
               Set(kSrc, L"E:\\Photos"), Set(kLabel, L"photos"), TypeInList(kYear, L"2009")},
              cases, true);
}

// The click, then what the settings file holds and what a Reset shows.
const Step kDefaultClicked = {L"btnDefaultDestination_Click, then the file and a Reset read",
                              [](Harness& h) {
                                h.w->btnDefaultDestination_Click();
                                std::string bytes = h.fake.fs.Content(kStoredFile).value_or("");
                                h.Note(L"settings file holds " + h.fake.sys.FromCodePage(bytes));
                                size_t before = h.fake.log.size();
                                h.w->btnReset_Click();
                                h.fake.log.resize(before);
                                h.Note(L"a Reset shows " + h.S().txtDefaultPath);
                              }};

TEST(DefaultButton, StoresWhatARestartShows) {
  const std::vector<Case> cases = {
      {"no such drive",
       {Set(kDest, L"X:\\N"), kDefaultClicked},
       L"message no such drive (X:\\) | settings file holds D:\\Old\r\n | a Reset shows "
       L"D:\\Old"},
      {"a new folder refused",
       {Set(kDest, L"D:\\New"), AnswerNo(), kDefaultClicked},
       L"message create folder? (D:\\New) | focus on 1 | settings file holds D:\\New\r\n | "
       L"a Reset shows D:\\New"},
      {"a new folder",
       {Set(kDest, L"D:\\New"), kDefaultClicked},
       L"message create folder? (D:\\New) | made D:\\New | focus on 1 | "
       L"settings file holds D:\\New\r\n | a Reset shows D:\\New"},
      {"a folder not made",
       {Set(kDest, L"D:\\F\\B"), kDefaultClicked},
       L"message create folder? (D:\\F\\B) | message folder not made (D:\\F, exists) | "
       L"focus on 1 | settings file holds D:\\F\\B\r\n | a Reset shows D:\\F\\B"},
      {"beyond the code page",
       {Folder(L"D:\\\u0410"), Set(kDest, L"D:\\\u0410"), kDefaultClicked},
       L"focus on 1 | settings file holds \xEF\xBB\xBF"
       L"D:\\\xD0\x90\r\n | "
       L"a Reset shows D:\\\x410"},
      {"writes fail",
       {Set(kDest, L"D:\\"),
        Given(L"writes fail", [](fake::FakePlatform& f) { f.fs.failWrites = true; }),
        kDefaultClicked},
       L"message default not stored (C:\\Program Files\\Tessel\\DefaultDestinationPath.txt, d"
       L"isk full) | settings file holds D:\\Old\r\n | a Reset shows D:\\Old"},
      {"a file in the settings folder's way",
       {Set(kDest, L"D:\\"), Gone(L"C:\\Program Files\\Tessel"), File(L"C:\\Program Files\\Tessel"),
        kDefaultClicked},
       L"message stored default kept (C:\\Program Files\\Tessel\\, A file is in the way: C:"
       L"\\Program Files\\Tessel) | settings file holds  | a Reset shows C:\\Backup Zips"},
  };
  ExpectCases({Stored("D:\\Old\r\n"), File(L"D:\\F"), REACTION(Form_Load)}, cases, true);
}

}  // namespace
}  // namespace tessel::testing
