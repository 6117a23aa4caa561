// Both ZIP buttons and the Default button: command lines, the destination checks with the folders
// they make, every early end with its message, and how often the destination panel refreshes.
#include "main_window_harness.h"

namespace tessel::testing {
namespace {

constexpr Ctl kDest = Ctl::txtDefaultPath, kSrc = Ctl::TxtSrc, kUsers = Ctl::txtUsers,
              kLabel = Ctl::txtSpecificBackupFileName, kYear = Ctl::cmbFileNameYear,
              kMonth = Ctl::cmbFileNameMonth;
const Step kUser = REACTION(btnBackupUser_Click), kSpecific = REACTION(btnSpecificBackup_Click);

// Destination D:\Z (existing, empty), source E:\Photos, label photos, year 2009 typed, month 01;
// a file D:\F. A case's log is its click's.
TEST(BackupJobs, CommandLinesEarlyEndsAndRefreshes) {
  ExpectCases(
      {Folder(L"D:\\Z"), File(L"D:\\F"), REACTION(Form_Load), Set(kDest, L"D:\\Z"),
       Set(kSrc, L"E:\\Photos"), Set(kLabel, L"photos"), TypeInList(kYear, L"2009")},
      {
          {"user",
           {},
           {kUser},
           L"chkWinZip=1 | ChkAddon=1 | archiver running | "
           L"wzzip -u -p -r \"D:\\Z\\Jsmith-200901.zip\" \"C:\\Users\\Jsmith\\Documents\\*.*\" | "
           L"archiver ended | destination: 0 files, 0 folders, 0 bytes | "
           L"destination: 0 files, 0 folders, 0 bytes"},
          // Only versioning decides the user job's month part; a root keeps its one backslash.
          {"user, versioning off, to a root",
           {REACTION(optNo_Click), TypeInList(kMonth, L"05"), Set(kDest, L"D:\\")},
           {kUser},
           L"chkWinZip=1 | ChkAddon=1 | archiver running | "
           L"wzzip -u -p -r \"D:\\Jsmith-2009.zip\" \"C:\\Users\\Jsmith\\Documents\\*.*\" | "
           L"archiver ended | destination: 1 files, 1 folders, 1 bytes | "
           L"destination: 1 files, 1 folders, 1 bytes"},
          {"user name proper-cased",
           {Set(kUsers, L"jOHN smith")},
           {kUser},
           L"chkWinZip=1 | ChkAddon=1 | archiver running | "
           L"wzzip -u -p -r \"D:\\Z\\John Smith-200901.zip\" \"C:\\Users\\John Smith\\Documents"
           L"\\*.*\" | archiver ended | destination: 0 files, 0 folders, 0 bytes | "
           L"destination: 0 files, 0 folders, 0 bytes"},
          {"no user",
           {Set(kUsers, L"")},
           {kUser},
           L"chkWinZip=1 | ChkAddon=1 | archiver running | "
           L"wzzip -u -p -r \"D:\\Z\\-200901.zip\" \"C:\\Users\\\\Documents\\*.*\" | "
           L"archiver ended | destination: 0 files, 0 folders, 0 bytes | "
           L"destination: 0 files, 0 folders, 0 bytes"},
          {"specific",
           {},
           {kSpecific},
           L"chkWinZip=1 | ChkAddon=1 | archiver running | "
           L"wzzip -u -p -r \"D:\\Z\\Photos-200901.zip\" \"E:\\Photos\\\" | archiver ended | "
           L"destination: 0 files, 0 folders, 0 bytes | destination: 0 files, 0 folders, 0 bytes"},
          // The month box decides here, not versioning; the separator is always added.
          {"specific, versioning off, to a root",
           {Set(kDest, L"D:\\"), Set(kSrc, L"E:\\"), REACTION(optNo_Click),
            TypeInList(kMonth, L"05"), Set(kLabel, L"MY-PICS")},
           {kSpecific},
           L"chkWinZip=1 | ChkAddon=1 | archiver running | "
           L"wzzip -u -p -r \"D:\\\\My-pics-200905.zip\" \"E:\\\" | archiver ended | "
           L"destination: 1 files, 1 folders, 1 bytes | destination: 1 files, 1 folders, 1 bytes"},
          {"a source ending in a backslash, a blank label",
           {Set(kSrc, L"E:\\Photos\\"), Set(kLabel, L" ")},
           {kSpecific},
           L"chkWinZip=1 | ChkAddon=1 | archiver running | "
           L"wzzip -u -p -r \"D:\\Z\\ -200901.zip\" \"E:\\Photos\\\" | archiver ended | "
           L"destination: 0 files, 0 folders, 0 bytes | destination: 0 files, 0 folders, 0 bytes"},
          {"Windows on E:",
           {WindowsIn(L"E:\\W")},
           {kUser},
           L"chkWinZip=1 | ChkAddon=1 | archiver running | "
           L"Run \"E:\\Program Files\\WinZip\\wzzip.exe\" -u -p -r \"D:\\Z\\Jsmith-200901.zip\""
           L" \"E:\\Users\\Jsmith\\Documents\\*.*\" | archiver ended | "
           L"destination: 0 files, 0 folders, 0 bytes | destination: 0 files, 0 folders, 0 bytes"},
          // Early ends: each message, and what the panel does after.
          {"no add-on",
           {Gone(kAddonProbePath)},
           {kUser},
           L"chkWinZip=1 | ChkAddon=0 | message no add-on"},
          {"no WinZip",
           {Gone(kWinZipProbePath)},
           {kSpecific},
           L"message no WinZip | ChkAddon=1 | archiver running | "
           L"wzzip -u -p -r \"D:\\Z\\Photos-200901.zip\" \"E:\\Photos\\\" | archiver ended | "
           L"destination: 0 files, 0 folders, 0 bytes | destination: 0 files, 0 folders, 0 bytes"},
          {"no label",
           {Set(kLabel, L"")},
           {kSpecific},
           L"chkWinZip=1 | ChkAddon=1 | message blank field | "
           L"destination: 0 files, 0 folders, 0 bytes"},
          {"no source",
           {Set(kSrc, L"")},
           {kSpecific},
           L"chkWinZip=1 | ChkAddon=1 | message blank field | "
           L"destination: 0 files, 0 folders, 0 bytes"},
          {"no such drive",
           {Set(kDest, L"X:\\N")},
           {kUser},
           L"chkWinZip=1 | ChkAddon=1 | message no such drive (X:\\) | "
           L"destination: 0 files, 0 folders, 0 bytes"},
          {"no destination",
           {Set(kDest, L"")},
           {kSpecific},
           L"chkWinZip=1 | ChkAddon=1 | message no such drive (:\\) | "
           L"destination: 0 files, 0 folders, 0 bytes"},
          {"a network destination",
           {Set(kDest, L"\\\\server\\share")},
           {kSpecific},
           L"chkWinZip=1 | ChkAddon=1 | message no such drive (\\:\\) | "
           L"destination: 0 files, 0 folders, 0 bytes"},
          {"a new folder refused",
           {Set(kDest, L"D:\\New"), AnswerNo()},
           {kUser},
           L"chkWinZip=1 | ChkAddon=1 | message create folder? (D:\\New) | "
           L"destination: 0 files, 0 folders, 0 bytes"},
          {"new folders made",
           {Set(kDest, L"D:\\Z\\A\\B")},
           {kSpecific},
           L"chkWinZip=1 | ChkAddon=1 | message create folder? (D:\\Z\\A\\B) | made D:\\Z\\A | "
           L"made D:\\Z\\A\\B | archiver running | "
           L"wzzip -u -p -r \"D:\\Z\\A\\B\\Photos-200901.zip\" \"E:\\Photos\\\" | "
           L"archiver ended | destination: 0 files, 0 folders, 0 bytes | "
           L"destination: 0 files, 0 folders, 0 bytes"},
          {"doubled and trailing backslashes",
           {Set(kDest, L"D:\\Z\\\\A\\")},
           {kSpecific},
           L"chkWinZip=1 | ChkAddon=1 | message create folder? (D:\\Z\\\\A\\) | made D:\\Z\\A | "
           L"archiver running | "
           L"wzzip -u -p -r \"D:\\Z\\\\A\\\\Photos-200901.zip\" \"E:\\Photos\\\" | "
           L"archiver ended | destination: 0 files, 0 folders, 0 bytes | "
           L"destination: 0 files, 0 folders, 0 bytes"},
          {"a file in the way",
           {Set(kDest, L"D:\\F\\Sub")},
           {kUser},
           L"chkWinZip=1 | ChkAddon=1 | message create folder? (D:\\F\\Sub) | "
           L"message folder not made (D:\\F, exists) | destination: 0 files, 0 folders, 0 bytes"},
          {"a bad name",
           {Set(kDest, L"D:\\New\\B|d\\C")},
           {kSpecific},
           L"chkWinZip=1 | ChkAddon=1 | message create folder? (D:\\New\\B|d\\C) | "
           L"made D:\\New | message folder not made (D:\\New\\B|d, bad name) | "
           L"destination: 0 files, 0 folders, 0 bytes"},
          {"slashes",
           {Set(kDest, L"D:/New/Sub")},
           {kSpecific},
           L"chkWinZip=1 | ChkAddon=1 | message create folder? (D:/New/Sub) | "
           L"message folder not made (D:/New/Sub, slashes (D:\\New\\Sub)) | "
           L"destination: 0 files, 0 folders, 0 bytes"},
          {"a drive-relative path",
           {Set(kDest, L"D:Backups")},
           {kUser},
           L"chkWinZip=1 | ChkAddon=1 | message create folder? (D:Backups) | "
           L"message folder not made (D:Backups, not a full path) | "
           L"destination: 0 files, 0 folders, 0 bytes"},
          {"no drive",
           {Set(kDest, L"Cloud")},
           {kSpecific},
           L"chkWinZip=1 | ChkAddon=1 | message create folder? (Cloud) | "
           L"message folder not made (Cloud, not a full path) | "
           L"destination: 0 files, 0 folders, 0 bytes"},
          {"a quote in the destination",
           {Set(kDest, L"D:\\\"")},
           {kUser},
           L"chkWinZip=1 | ChkAddon=1 | message quote (Destination) | "
           L"destination: 0 files, 0 folders, 0 bytes"},
          {"a quote in the user",
           {Set(kUsers, L"\"")},
           {kUser},
           L"chkWinZip=1 | ChkAddon=1 | message quote (User Login Name) | "
           L"destination: 0 files, 0 folders, 0 bytes"},
          {"a quote in the year",
           {TypeInList(kYear, L"\"")},
           {kUser},
           L"chkWinZip=1 | ChkAddon=1 | message quote (Year) | "
           L"destination: 0 files, 0 folders, 0 bytes"},
          {"a quote in the month",
           {TypeInList(kMonth, L"\"")},
           {kUser},
           L"chkWinZip=1 | ChkAddon=1 | message quote (Month) | "
           L"destination: 0 files, 0 folders, 0 bytes"},
          {"a quote in the source",
           {Set(kSrc, L"\"")},
           {kSpecific},
           L"chkWinZip=1 | ChkAddon=1 | message quote (Source Path) | "
           L"destination: 0 files, 0 folders, 0 bytes"},
          {"a quote in the label before the new folder",
           {Set(kLabel, L"\""), Set(kDest, L"D:\\New")},
           {kSpecific},
           L"chkWinZip=1 | ChkAddon=1 | message quote (Backup File Label) | "
           L"destination: 0 files, 0 folders, 0 bytes"},
          {"a quote in the year, specific",
           {TypeInList(kYear, L"\"")},
           {kSpecific},
           L"chkWinZip=1 | ChkAddon=1 | message quote (Year) | "
           L"destination: 0 files, 0 folders, 0 bytes"},
          {"a quote in the month, specific",
           {TypeInList(kMonth, L"\"")},
           {kSpecific},
           L"chkWinZip=1 | ChkAddon=1 | message quote (Month) | "
           L"destination: 0 files, 0 folders, 0 bytes"},
          {"the archiver not started",
           {Given(L"launch fails",
                  [](fake::FakePlatform& f) { f.sys.launchResult = Status::Failed(L"gone"); })},
           {kSpecific},
           L"chkWinZip=1 | ChkAddon=1 | archiver running | "
           L"wzzip -u -p -r \"D:\\Z\\Photos-200901.zip\" \"E:\\Photos\\\" | archiver ended | "
           L"message archiver not started (C:\\Program Files\\WinZip\\wzzip.exe, gone) | "
           L"destination: 0 files, 0 folders, 0 bytes | destination: 0 files, 0 folders, 0 bytes"},
      });
}

// What the settings file holds after the click, and what a Reset shows.
const Step kStoredThenShown = {L"settings file and a Reset read", [](Harness& h) {
                                 std::string bytes = h.fake.fs.Content(kStoredFile).value_or("");
                                 h.Note(L"settings file holds " + h.fake.sys.FromCodePage(bytes));
                                 size_t before = h.fake.log.size();
                                 h.w->btnReset_Click();
                                 h.fake.log.resize(before);
                                 h.Note(L"a Reset shows " + h.S().txtDefaultPath);
                               }};

TEST(DefaultButton, StoresWhatARestartShows) {
  const Step click = REACTION(btnDefaultDestination_Click);
  ExpectCases(
      {Stored("D:\\Old\r\n"), File(L"D:\\F"), REACTION(Form_Load)},
      {
          {"no such drive",
           {Set(kDest, L"X:\\N")},
           {click, kStoredThenShown},
           L"message no such drive (X:\\) | settings file holds D:\\Old\r\n | a Reset shows "
           L"D:\\Old"},
          {"a new folder refused",
           {Set(kDest, L"D:\\New"), AnswerNo()},
           {click, kStoredThenShown},
           L"message create folder? (D:\\New) | focus on 1 | settings file holds D:\\New\r\n | "
           L"a Reset shows D:\\New"},
          {"a new folder",
           {Set(kDest, L"D:\\New")},
           {click, kStoredThenShown},
           L"message create folder? (D:\\New) | made D:\\New | focus on 1 | "
           L"settings file holds D:\\New\r\n | a Reset shows D:\\New"},
          {"a folder not made",
           {Set(kDest, L"D:\\F\\B")},
           {click, kStoredThenShown},
           L"message create folder? (D:\\F\\B) | message folder not made (D:\\F, exists) | "
           L"focus on 1 | settings file holds D:\\F\\B\r\n | a Reset shows D:\\F\\B"},
          {"beyond the code page",
           {Folder(L"D:\\\u0410"), Set(kDest, L"D:\\\u0410")},
           {click, kStoredThenShown},
           L"focus on 1 | settings file holds \xEF\xBB\xBF"
           L"D:\\\xD0\x90\r\n | "
           L"a Reset shows D:\\\x410"},
          {"writes fail",
           {Set(kDest, L"D:\\"),
            Given(L"writes fail", [](fake::FakePlatform& f) { f.fs.failWrites = true; })},
           {click, kStoredThenShown},
           L"message default not stored (C:\\Program Files\\Tessel\\DefaultDestinationPath.txt,"
           L" disk full) | settings file holds D:\\Old\r\n | a Reset shows D:\\Old"},
          {"a file in the settings folder's way",
           {Set(kDest, L"D:\\"), Gone(L"C:\\Program Files\\Tessel"),
            File(L"C:\\Program Files\\Tessel")},
           {click, kStoredThenShown},
           L"message stored default kept (C:\\Program Files\\Tessel\\, A file is in the way: C:"
           L"\\Program Files\\Tessel) | settings file holds  | a Reset shows C:\\Backup Zips"},
      });
}

}  // namespace
}  // namespace tessel::testing
